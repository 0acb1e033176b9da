#pragma once
// What the two protein tables with match rows keep of their result set: the peptide-mapping
// table and the multiple-file consensus table. Each marks the rows and proteins of the set
// under its options, rescores and orders the proteins, and returns the proteins that get a row
// with the match rows shown under each, in row order. Plain computation over the set; the views
// only fill their grids.

#include "SummaryFilter.h"
#include "document/ResultsDisplayOptions.h"
#include "document/SearchResults.h"

#include <vector>

namespace zar {

// One protein row and the match rows below it.
struct ProteinTableEntry {
    int protein = 0;                            // index in the set's protein array
    std::vector<const CConsensusRow*> matches;  // kept rows, in the order they are shown
};

struct ProteinTableSelection {
    std::vector<ProteinTableEntry> proteins;
    int rows = 0;  // table rows: one per protein and one per match
};

// Smallest protein score the multiple-file consensus table lists.
constexpr double kMinListedProteinScore = 0.0001;

// The peptide-mapping table. Filter modes 0, 1, 2 (kinds 3 Sp, 5 percent ions, 6 consensus:
// proteins whose score over all their rows is below the threshold are hidden), 4 (the hits'
// selection flags) and 5 (the chromatographic range); mode 3 filters nothing. A protein's
// matches stay in rank order under sort key 0 and are sorted by any other key.
ProteinTableSelection SelectMassmapRows(CSearchResults& set, const ResultsDisplayOptions& options,
                                        const ScanToTime& scanToTime);

// The multiple-file consensus table. Filter modes 0, 1, 2 (kinds 0 to 7; 6 and 7 threshold the
// protein's score and summed combined score) and 3; modes 4 and 5 keep nothing. A protein's
// matches are sorted by the sort key.
ProteinTableSelection SelectMultiConsensusRows(CSearchResults& set,
                                               const ResultsDisplayOptions& options);

}  // namespace zar
