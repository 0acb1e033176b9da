#pragma once
// The in-silico digest of one protein sequence: pieces between cleavage sites, peptides that
// span several pieces, disulfide-linked pairs, with their masses and highest charges.

#include "PepmapOptions.h"
#include "PepmapPeptide.h"
#include "PepmapProgress.h"
#include "PepmapRules.h"

#include "document/AminoAcidMasses.h"

#include <QString>

#include <vector>

namespace zar {

// Residue masses of both kinds with their hydrogen and hydroxyl terms.
struct PepmapMassTables {
    ResidueMassTable average = ZeroResidueMasses();
    ResidueMassTable mono = ZeroResidueMasses();
    double averageH = 0.0;
    double averageOH = 0.0;
    double monoH = 0.0;
    double monoOH = 0.0;

    // Zeroed tables filled with the residue masses of the letters.
    static PepmapMassTables Standard();
    // Characters outside the table (codes 256 and above) weigh nothing.
    double residue(QChar c, bool monoisotopic) const {
        const char16_t code = c.unicode();
        if (code >= 256) return 0.0;
        return monoisotopic ? mono[code] : average[code];
    }
    double hydrogen(bool monoisotopic) const { return monoisotopic ? monoH : averageH; }
};

struct PepmapDigestInput {
    QString sequence;
    PepmapRule rule;
    PepmapOptions options;
    PepmapMassTables masses = PepmapMassTables::Standard();
    // One entry per residue of the sequence, 1 marking a cysteine named as a bond partner;
    // used only when markersSet.
    std::vector<int> bondMarkers;
    bool markersSet = false;
};

enum class PepmapDigestStatus {
    kDone,
    kEmptySequence,  // the list was left as it was
    kNoMemory,       // the list is empty
    kCancelled,      // the rows made so far stay
};

// Digests the sequence into *rows (replaced, unless the sequence is empty), reporting
// "Performing enzyme digest ..." and progress 0 to 100. Fragment numbers count every piece,
// also those the limits drop.
PepmapDigestStatus DigestSequence(const PepmapDigestInput& input, PepmapPeptideList* rows,
                                  const PepmapCancelFlag& cancel, PepmapProgress& progress);

// Masses, highest charge and cysteines of the residues row.start..row.end of the sequence.
// With bond markers, each cysteine counts as bonded (marked) or free.
void ComputePeptideMasses(const QString& sequence, const PepmapMassTables& masses,
                          const std::vector<int>* bondMarkers, CPepmapPeptide& row);

}  // namespace zar
