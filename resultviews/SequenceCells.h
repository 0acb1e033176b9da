#pragma once
// A protein sequence as the sequence grids of the retrieve and protein coverage views show it:
// ten residues to a cell, a hundred to a row, each cell a rich text of its residues in black,
// or in red where the peptides cover them or the looked-up peptide lies.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace zar {

constexpr int kResiduesPerCell = 10;
constexpr int kSequenceGridColumns = 10;
constexpr int kResiduesPerGridRow = kResiduesPerCell * kSequenceGridColumns;
constexpr int kSequenceColumnWidth = 78;

// Font Courier New at 9 points; colour 0 black, colour 1 red.
extern const char* const kSequenceCellHeader;

struct SequenceCell {
    int row = 0;  // grid numbering: data from 1
    int col = 0;
    QString text;
};

// The grid cell of residue i (0-based).
inline int SequenceCellRow(int i) {
    return i / kResiduesPerGridRow + 1;
}
inline int SequenceCellColumn(int i) {
    return (i % kResiduesPerGridRow) / kResiduesPerCell + 1;
}
// Rows a sequence takes.
inline int SequenceGridRows(int length) {
    return length / kResiduesPerGridRow + 1;
}
// The column titles "1-10" to "91-100".
QString SequenceColumnTitle(int col);

// Every cell of the sequence, all residues black.
std::vector<SequenceCell> PlainSequenceCells(const std::string& sequence);
// Every cell of the sequence, residue i red where covered[i] is set.
std::vector<SequenceCell> CoverageSequenceCells(const std::string& sequence,
                                                const std::vector<std::uint16_t>& covered);
// The cells from the one that holds residue `first` (1-based) to the one after the one that
// holds `last`, the residues first..last red; nothing for a position outside the sequence.
std::vector<SequenceCell> PeptideSequenceCells(const std::string& sequence, int first, int last);

}  // namespace zar
