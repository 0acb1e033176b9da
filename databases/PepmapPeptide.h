#pragma once
// One row of the Pepmap digest: a peptide of the protein (or two joined by a disulfide bond)
// with its masses and the best match found for it in the run.

#include "PepmapOptions.h"

#include <QString>

#include <vector>

namespace zar {

enum PepmapDigestKind : int {
    kPepmapLinkedPeptide = 0,  // two pieces (or one bonded to itself) joined by a disulfide bond
    kPepmapCompletePeptide = 1,
    kPepmapIncompletePeptide = 2,
};

class CPepmapPeptide {
  public:
    // "%d" of the fragment, "%d-%d" of the first and last fragment, or the two labels of a
    // linked pair joined by "." (".." for a peptide bonded to itself).
    QString label;
    int disulfideKind = 0;
    int digestKind = 0;
    double averageMass = 0.0;  // neutral: H + OH + residues
    double monoMass = 0.0;
    double matchedIntensity = 0.0;
    double matchedTime = 0.0;
    int serial = 0;
    int firstFragment = 0;  // 1-based number of the first piece between cleavage sites
    int lastFragment = 0;   // last piece (incomplete), the second peptide's first piece (linked)
    int start = 0;          // 0-based, first residue
    int secondStart = 0;
    int end = 0;  // 0-based, last residue (inclusive)
    int secondEnd = 0;
    int matchedScan = 0;  // 0 when unmatched
    int maxCharge = 0;
    int cysteines = 0;
    int bondedCysteines = 0;
    int freeCysteines = 0;

    bool isLinked() const { return digestKind == kPepmapLinkedPeptide; }
    bool isMatched() const { return matchedScan > 0; }
    // The neutral mass of the kind the options select.
    double mass(bool monoisotopic) const { return monoisotopic ? monoMass : averageMass; }
};

using PepmapPeptideList = std::vector<CPepmapPeptide>;

// Sorts the rows by the key (an unknown key keeps the order); descending reverses every key.
void SortPepmapPeptides(PepmapPeptideList& rows, int mode, bool descending, bool monoisotopic);

}  // namespace zar
