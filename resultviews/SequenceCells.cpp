#include "SequenceCells.h"

#include <algorithm>

namespace zar {

const char* const kSequenceCellHeader =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fdecor Courier New;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\f0\\fs18";

namespace {

// Cells made one residue at a time: each residue in black or red, a cell written after every
// tenth residue and after the last.
class CellWriter {
  public:
    void add(int i, char residue, bool red) {
        if (text_.isEmpty()) first_ = i;
        text_ += QLatin1String(red ? "\\cf1" : "\\cf0");
        text_ += QLatin1Char(residue);
        if ((i + 1) % kResiduesPerCell == 0) flush();
    }
    std::vector<SequenceCell> finish() {
        flush();
        return std::move(cells_);
    }

  private:
    void flush() {
        if (text_.isEmpty()) return;
        cells_.push_back({SequenceCellRow(first_), SequenceCellColumn(first_),
                          QLatin1String(kSequenceCellHeader) + text_ + QLatin1Char('}')});
        text_.clear();
    }
    std::vector<SequenceCell> cells_;
    QString text_;
    int first_ = 0;
};

}  // namespace

QString SequenceColumnTitle(int col) {
    return QStringLiteral("%1-%2")
        .arg((col - 1) * kResiduesPerCell + 1)
        .arg(col * kResiduesPerCell);
}

std::vector<SequenceCell> PlainSequenceCells(const std::string& sequence) {
    std::vector<SequenceCell> cells;
    const int length = static_cast<int>(sequence.size());
    for (int k = 0; k < length; k += kResiduesPerCell) {
        const std::string residues = sequence.substr(static_cast<std::size_t>(k), kResiduesPerCell);
        cells.push_back(
            {SequenceCellRow(k), SequenceCellColumn(k),
             QLatin1String(kSequenceCellHeader) + QLatin1String("\\cf0") +
                 QLatin1String(residues.data(), static_cast<qsizetype>(residues.size())) +
                 QLatin1Char('}')});
    }
    return cells;
}

std::vector<SequenceCell> CoverageSequenceCells(const std::string& sequence,
                                                const std::vector<std::uint16_t>& covered) {
    CellWriter writer;
    for (std::size_t i = 0; i < sequence.size(); ++i)
        writer.add(static_cast<int>(i), sequence[i], i < covered.size() && covered[i] != 0);
    return writer.finish();
}

std::vector<SequenceCell> PeptideSequenceCells(const std::string& sequence, int first, int last) {
    const int length = static_cast<int>(sequence.size());
    if (first < 1 || last < first || first > length) return {};
    const int start = (first - 1) / kResiduesPerCell * kResiduesPerCell;
    const int stop =
        std::min(length, start + kResiduesPerCell * ((last - first) / kResiduesPerCell + 2));
    CellWriter writer;
    for (int i = start; i < stop; ++i)
        writer.add(i, sequence[static_cast<std::size_t>(i)], i + 1 >= first && i + 1 <= last);
    return writer.finish();
}

}  // namespace zar
