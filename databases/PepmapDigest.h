#pragma once
// The in-silico digest of one protein sequence: pieces between cleavage sites, peptides that
// span several pieces, disulfide-linked pairs, with their masses and highest charges.

#include "PepmapOptions.h"
#include "PepmapPeptide.h"
#include "PepmapProgress.h"
#include "PepmapRules.h"

#include <QString>

#include <vector>

namespace zar {

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

// The rows a digest of the input makes, counted from its cleavage sites without making them
// (a mass limit within rounding of a peptide's mass may count that peptide wrongly).
struct PepmapDigestEstimate {
    long long complete = 0;
    long long incomplete = 0;
    long long linked = 0;
    long long total() const { return complete + incomplete + linked; }
};
PepmapDigestEstimate EstimatePepmapDigest(const PepmapDigestInput& input);

// A digest of more rows than this is worth a question before it runs: an incomplete digest or
// the disulfide pairs of a long protein grow with the square of its sites, and matching every
// row against every scan takes minutes.
constexpr long long kPepmapLargeDigestRows = 50000;
// The bound on undigested sites that the question offers.
constexpr int kPepmapOfferedUndigestedSites = 2;

// Digests the sequence into *rows (replaced, unless the sequence is empty), reporting
// "Performing enzyme digest ..." and progress 0 to 100. Fragment numbers count every piece,
// also those the limits drop.
PepmapDigestStatus DigestSequence(const PepmapDigestInput& input, PepmapPeptideList* rows,
                                  const PepmapCancelFlag& cancel, PepmapProgress& progress);

// The cysteines of the residues start..end that the bond markers name as bond partners; the
// others of the stretch are free.
int CountBondedCysteines(const QString& sequence, const std::vector<int>& markers, int start,
                         int end);

}  // namespace zar
