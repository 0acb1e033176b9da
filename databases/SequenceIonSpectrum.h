#pragma once
// The theoretical fragment spectrum that the sequence calculator draws for a peptide: for each
// residue the ions of the series asked for: the b ion (the singly protonated N-terminal mass of
// the residues up to it, the tallest peak, with a companion 1.0 below it), the a ion and the y
// ion; with the peptide's [M+H]+ weight, length and mass per residue.

#include <QString>

#include <vector>

namespace zar {

struct SequenceIonChoice {
    bool monoisotopic = false;
    bool a = false;
    bool b = true;
    bool y = true;
};

struct SequenceIonPeak {
    double mz = 0.0;
    double intensity = 0.0;
};

// Peak heights: the b ion, its companion, and every a and y ion.
constexpr double kSequenceLadderIntensity = 50.0;
constexpr double kSequenceCompanionIntensity = 25.0;
constexpr double kSequenceIonIntensity = 10.0;
// The companion's distance below the ladder peak, and the margin round the drawn peaks.
constexpr double kSequenceCompanionOffset = 1.0;
constexpr double kSequencePlotMargin = 10.0;

struct SequenceIonSpectrum {
    int length = 0;
    // Residues + water + proton.
    double weight = 0.0;
    // The residue masses shared out over the residues.
    double residueAverage = 0.0;
    // Ascending m/z (peaks of equal m/z keep the order they were made in).
    std::vector<SequenceIonPeak> peaks;
    double xMin = 0.0;  // the peaks' m/z range widened by the margin
    double xMax = 0.0;
    double baseMz = 0.0;  // the first of the highest peaks
    double baseIntensity = 0.0;
    double intensitySum = 0.0;
};

// Characters without a residue mass (J, U, characters beyond the table) weigh nothing but count
// in the length and make peaks. An empty sequence gives an empty spectrum of length 0; no series
// chosen gives the texts without peaks.
SequenceIonSpectrum BuildSequenceIonSpectrum(const QString& sequence,
                                             const SequenceIonChoice& choice);

}  // namespace zar
