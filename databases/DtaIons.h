#pragma once
// The a, b and y fragment ions of a hit's peptide for one charge, marked present where the
// prepared ".dta" spectrum has a peak, with their labels for the spectrum plot.

#include "databases/DtaSpectrum.h"
#include "databases/SequenceMasses.h"

#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace zar {

// Residues of a peptide taken for the ions; longer peptides are cut.
constexpr int kMaxIonResidues = 200;
// Differential modification marks after a residue: first, second, third.
constexpr std::array<char, 3> kDifferentialMarks = {'*', '#', '@'};
// Ion-series flags of a hit.
constexpr int kIonSeriesA = 1;
constexpr int kIonSeriesB = 2;
constexpr int kIonSeriesY = 4;
// Mass differences of the a and y ions used by the ion table.
constexpr double kAIonOffset = 27.0;
constexpr double kYIonOffset = 19.0;

struct PeptideModifications {
    std::array<double, 3> differential{};  // the third is never read from a text
    double nTerminal = 0.0;
    double cTerminal = 0.0;
};

// Reads the modification text of a search: static residue masses into the table ("G=" ...),
// "+Nterm-pep=" and "+Cterm-pep=", and up to two differential masses in parentheses.
void ParseModifications(const QString& text, SequenceMassTable& masses,
                        PeptideModifications& modifications);

// What the static residue modifications of a search's text add to each residue's mass (the text
// gives the modified residue's mass in the search's mass type): (letter, mass added).
std::vector<std::pair<char, double>> StaticResidueShifts(const QString& text, bool monoisotopic);

// A peptide as the hit lines write it, "K.PEPTIDE.R", without its flanking residues.
QString StripFlankingResidues(const QString& text);

struct ModifiedResidue {
    char residue = 0;
    int modification = 0;  // 0 none, 1 to 3 the differential modification
};
// The residues of a peptide text such as "K.PEP*TIDE.R": flanking residues dropped, marks
// bound to the residue before them, other characters ignored.
std::vector<ModifiedResidue> ParseIonPeptide(const QString& text);

struct IonLabel {
    double low = 0.0;
    double mz = 0.0;
    double high = 0.0;
    int style = 0;  // 3 present, 0 absent
    QString text;   // "b2-3": charge first, ion number second
    int reserved0 = 0;
    int reserved1 = 1;
};

struct DtaIonRow {
    int number = 0;   // from the N-terminus, from 1
    QString residue;  // " P*", " E "
    bool hasA = false, hasB = false, hasY = false;
    double a = 0.0, b = 0.0, y = 0.0;
    bool aPresent = false, bPresent = false, yPresent = false;
    int fromCTerminus = 0;
};

struct DtaIonTable {
    std::vector<double> cumulative;  // residue masses summed from the N-terminus
    double totalResidueMass = 0.0;
    std::vector<DtaIonRow> rows;
    std::vector<IonLabel> labels;
};

// ionSeries: kIonSeriesA | kIonSeriesB | kIonSeriesY. The spectrum must be prepared.
DtaIonTable CalculateDtaIons(const QString& peptide, int charge, int ionSeries,
                             const SequenceMassTable& masses,
                             const PeptideModifications& modifications,
                             const CDtaSpectrum& spectrum);

}  // namespace zar
