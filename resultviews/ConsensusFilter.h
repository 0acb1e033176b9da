#pragma once
// What the consensus table keeps of a search-engine result set: the peptide entries each
// protein keeps under the summary options, the protein scores over them, and the proteins that
// get a row. Plain computation over the set; the view only fills its grid.

#include "document/ResultsDisplayOptions.h"
#include "document/SearchResults.h"

#include <QString>

#include <vector>

namespace zar {

struct ConsensusSelection {
    std::vector<int> rows;  // protein indexes, in row order
    int kept = 0;           // rows the table is set up for (in mode 1 the limit itself)
};

// Marks the entries and proteins, scores and orders the proteins, and returns the proteins that
// get a row. Reads the hits' shown flags (the summary filter's) in the filter modes 1, 4 and 5.
// Nothing happens for a set without hits or proteins.
ConsensusSelection ApplyConsensusFilter(CSearchResults& set, const ResultsDisplayOptions& options);

// Whether an entry passes the single threshold of the options (kind 0: its protein's reference
// holds the reference text) and the multiple thresholds.
bool ConsensusEntryPassesSingle(const CConsensusRow& row, const CProteinRecord& protein,
                                const ResultsDisplayOptions& options);
bool ConsensusEntryPassesMultiple(const CConsensusRow& row, const ResultsDisplayOptions& options);

// "Hits" column: the sizes of the five entry groups, every entry counted.
QString ConsensusHitsText(const CProteinRecord& protein);
// "Entries" column: the hit numbers of the kept entries, group by group, ": " between groups.
QString ConsensusEntriesText(const CProteinRecord& protein);

}  // namespace zar
