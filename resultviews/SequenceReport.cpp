#include "SequenceReport.h"

#include "core/Numbers.h"

#include <QRegularExpression>

#include <algorithm>

namespace zar {
namespace {

void AddSequence(std::vector<ReportLine>& lines, const std::string& sequence,
                 const std::vector<bool>& bold, int perLine) {
    perLine = std::max(1, perLine);
    for (std::size_t at = 0; at < sequence.size(); at += static_cast<std::size_t>(perLine)) {
        const std::size_t n = std::min(sequence.size() - at, static_cast<std::size_t>(perLine));
        ReportLine line;
        line.residues = true;
        line.text = QString::fromLatin1(sequence.data() + at, static_cast<qsizetype>(n));
        line.bold.assign(bold.begin() + static_cast<std::ptrdiff_t>(at),
                         bold.begin() + static_cast<std::ptrdiff_t>(at + n));
        lines.push_back(std::move(line));
    }
}

void AddText(std::vector<ReportLine>& lines, const QString& text) {
    lines.push_back({text, false, {}});
}

// One row of the printed peptide table: fixed columns for a fixed-width font.
QString TableRow(const QString& peptide, const QString& mass, const QString& massPercent,
                 const QString& position, const QString& residuePercent, int peptideWidth) {
    return peptide.leftJustified(peptideWidth) + mass.rightJustified(12) +
           massPercent.rightJustified(10) + QStringLiteral("  ") + position.leftJustified(14) +
           residuePercent.rightJustified(8);
}

}  // namespace

std::vector<bool> ResiduesInPositions(int length, const QStringList& positions) {
    std::vector<bool> inside(static_cast<std::size_t>(std::max(0, length)), false);
    static const QRegularExpression range(QStringLiteral("^\\s*(\\d+)\\s*-\\s*(\\d+)"));
    for (const QString& position : positions) {
        const QRegularExpressionMatch m = range.match(position);
        if (!m.hasMatch()) continue;
        const int first = std::max(1, m.captured(1).toInt());
        const int last = std::min(length, m.captured(2).toInt());
        for (int i = first; i <= last; ++i) inside[static_cast<std::size_t>(i - 1)] = true;
    }
    return inside;
}

std::vector<ReportLine> CoverageReportLines(const CoverageReport& r, int residuesPerLine) {
    std::vector<ReportLine> lines;
    AddText(lines, QStringLiteral("Reference: ") + r.reference);
    for (const QString& text : r.statics) AddText(lines, text);
    AddText(lines, QString());
    AddText(lines, QStringLiteral("Protein:"));
    QStringList positions;
    for (const CoveragePeptideRow& row : r.peptides) positions << row.position;
    AddSequence(lines, r.sequence,
                ResiduesInPositions(static_cast<int>(r.sequence.size()), positions),
                residuesPerLine);
    AddText(lines, QString());
    AddText(lines, QStringLiteral("Protein Coverage:"));
    int width = 10;
    for (const CoveragePeptideRow& row : r.peptides)
        width = std::max(width, static_cast<int>(row.peptide.size()) + 2);
    AddText(lines,
            TableRow(QStringLiteral("Sequence"), QStringLiteral("Mass"), QStringLiteral("% Mass"),
                     QStringLiteral("AA"), QStringLiteral("% AA"), width));
    for (const CoveragePeptideRow& row : r.peptides)
        AddText(lines, TableRow(row.peptide, QCFormat("%.2lf", row.mass),
                                QCFormat("%.2lf", row.percentOfMass), row.position,
                                QCFormat("%.2lf", row.percentOfLength), width));
    AddText(lines,
            TableRow(QStringLiteral("Totals:"), QCFormat("%.2lf", r.coveredMass),
                     QCFormat("%.2lf", r.coveredMassPercent), QCFormat("%.0f", r.coveredResidues),
                     QCFormat("%.2lf", r.coveredResiduePercent), width));
    return lines;
}

std::vector<ReportLine> RetrieveReportLines(const RetrieveReport& r, int residuesPerLine) {
    std::vector<ReportLine> lines;
    AddText(lines, QStringLiteral("Peptide: ") + r.peptide);
    AddText(lines, QStringLiteral("Reference: ") + r.reference);
    for (const QString& text : r.statics) AddText(lines, text);
    AddText(lines, QStringLiteral("Protein:"));
    std::vector<bool> bold(r.sequence.size(), false);
    const std::string peptide = r.peptide.toUpper().toStdString();
    const std::size_t at = peptide.empty() ? std::string::npos : r.sequence.find(peptide);
    if (at != std::string::npos)
        std::fill(bold.begin() + static_cast<std::ptrdiff_t>(at),
                  bold.begin() + static_cast<std::ptrdiff_t>(at + peptide.size()), true);
    AddSequence(lines, r.sequence, bold, residuesPerLine);
    return lines;
}

}  // namespace zar
