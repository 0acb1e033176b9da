#include "ProteinTableFilter.h"

#include "ConsensusFilter.h"

#include <algorithm>

namespace zar {
namespace {

template <class F>
void ForEachRow(CProteinRecord& protein, F f) {
    for (auto& group : protein.rowsByRank)
        for (auto& row : group) f(*row);
}

void ShowEverything(ProteinArray& proteins) {
    for (auto& protein : proteins) {
        protein->valid = 1;
        ForEachRow(*protein, [](CConsensusRow& row) { row.kept = 1; });
    }
}

bool HasKeptRow(const CProteinRecord& protein) {
    for (int rank = 1; rank <= kConsensusRanks; ++rank)
        if (protein.keptRows(rank) > 0) return true;
    return false;
}

// Filter mode 1: the first N proteins in their current order with every row, no others.
void KeepFirstProteins(ProteinArray& proteins, int limit) {
    const int count = static_cast<int>(proteins.size());
    const int n = limit < 1 ? count : std::min(limit, count);
    for (int i = 0; i < count; ++i) {
        CProteinRecord& protein = *proteins[static_cast<size_t>(i)];
        protein.valid = i < n ? 1 : 0;
        if (i < n) ForEachRow(protein, [](CConsensusRow& row) { row.kept = 1; });
    }
}

// The kept rows of a protein, rank 1 first and in reading order within a rank. A protein may
// hold several rows of one hit, so the rows are gathered per protein, never into a block sized
// by the hits.
std::vector<const CConsensusRow*> KeptRows(const CProteinRecord& protein) {
    std::vector<const CConsensusRow*> rows;
    for (const auto& group : protein.rowsByRank)
        for (const auto& row : group)
            if (row->kept) rows.push_back(row.get());
    return rows;
}

// The row's hit as the set holds it now: rows name their hit by number, whatever the order.
int ShownFlagOfHit(const CSearchResults& set, const CConsensusRow& row) {
    const SearchHitRecord* hit = set.FindHit(row.hitNumber);
    return hit && hit->shown == 1 ? 1 : 0;
}

bool MassmapRowPasses(const CConsensusRow& row, const ResultsDisplayOptions& o) {
    const double t = o.singleThreshold;
    switch (o.thresholdKind) {
        case 3:
            return row.preliminaryScore >= t;
        case 5: {
            const int percent = PercentIonsMatched(row.ionsMatched, row.ionsTotal);
            return percent >= 0 && static_cast<double>(percent) >= t;
        }
        case 6:
            return true;
        default:
            return false;
    }
}

void AddEntry(ProteinTableSelection& selection, int index, std::vector<const CConsensusRow*> rows) {
    selection.rows += 1 + static_cast<int>(rows.size());
    selection.proteins.push_back({index, std::move(rows)});
}

}  // namespace

ProteinTableSelection SelectMassmapRows(CSearchResults& set, const ResultsDisplayOptions& o,
                                        const ScanToTime& scanToTime) {
    ProteinTableSelection selection;
    ProteinArray& proteins = set.GetProteins();
    if (set.GetCapacity() <= 0 || proteins.empty()) return selection;

    ShowEverything(proteins);
    // The consensus threshold judges each protein by the score of all its rows, computed here,
    // not by whatever score an earlier fill left.
    const bool consensusThreshold = o.filterMode == 2 && o.thresholdKind == 6;
    if (consensusThreshold) set.GroupProteins(false, false);

    switch (o.filterMode) {
        case 2:
            for (auto& protein : proteins) {
                protein->valid = !(consensusThreshold && protein->score < o.singleThreshold);
                if (!protein->valid) continue;
                ForEachRow(*protein, [&](CConsensusRow& row) {
                    row.kept = MassmapRowPasses(row, o) ? 1 : 0;
                });
            }
            break;
        case 4:
        case 5:
            for (auto& protein : proteins) {
                ForEachRow(*protein, [&](CConsensusRow& row) {
                    row.kept = ShownFlagOfHit(set, row);
                    if (o.filterMode != 5) return;
                    const SearchHitRecord* hit = set.FindHit(row.hitNumber);
                    const ScanName name = ParseScanName(hit ? hit->fileInformation : QString());
                    // A name without a scan range keeps the hit's flag.
                    if (name.hasScans())
                        row.kept = InRetentionRange(name.firstScan, name.lastScan, o, scanToTime);
                });
            }
            break;
        default:
            break;
    }

    set.GroupProteins(false, false);

    if (o.filterMode == 1) {
        KeepFirstProteins(proteins, o.consensusRowLimit);
    } else if (o.filterMode != 0) {
        for (auto& protein : proteins)
            if (protein->valid && !HasKeptRow(*protein)) protein->valid = 0;
    }

    for (size_t i = 0; i < proteins.size(); ++i) {
        const CProteinRecord& protein = *proteins[i];
        if (!protein.valid || protein.reference.isEmpty()) continue;
        std::vector<const CConsensusRow*> rows = KeptRows(protein);
        if (rows.empty()) continue;
        if (o.sortKey > 0 && rows.size() > 1) CSearchResults::SortConsensusRows(rows, o.sortKey);
        AddEntry(selection, static_cast<int>(i), std::move(rows));
    }
    return selection;
}

ProteinTableSelection SelectMultiConsensusRows(CSearchResults& set,
                                               const ResultsDisplayOptions& o) {
    ProteinTableSelection selection;
    ProteinArray& proteins = set.GetProteins();
    if (set.GetCapacity() <= 0 || proteins.empty()) return selection;

    ShowEverything(proteins);
    if (o.filterMode != 0 && o.filterMode != 1) {
        for (auto& protein : proteins) {
            ForEachRow(*protein, [&](CConsensusRow& row) {
                switch (o.filterMode) {
                    case 2:
                        // Kind 0 keeps the rows of the proteins whose reference holds the text.
                        row.kept = ConsensusEntryPassesSingle(row, *protein, o) ? 1 : 0;
                        break;
                    case 3:
                        row.kept = ConsensusEntryPassesMultiple(row, o) ? 1 : 0;
                        break;
                    default:
                        row.kept = 0;
                        break;
                }
            });
            if (!HasKeptRow(*protein)) protein->valid = 0;
        }
    }

    set.GroupProteins(o.scoreMethod != 0, o.singleScore != 0);
    if (o.filterMode == 1) KeepFirstProteins(proteins, o.consensusRowLimit);

    const bool byScore = o.filterMode == 2 && o.thresholdKind == 6;
    const bool bySummedScore = o.filterMode == 2 && o.thresholdKind == 7;
    for (size_t i = 0; i < proteins.size(); ++i) {
        const CProteinRecord& protein = *proteins[i];
        if (!protein.valid || protein.reference.isEmpty()) continue;
        bool listed = false;
        if (byScore)
            listed = protein.score >= o.singleThreshold;
        else if (bySummedScore)
            listed = protein.summedCombinedScore >= o.singleThreshold;
        else
            listed = protein.score >= kMinListedProteinScore ||
                     protein.summedCombinedScore >= kMinListedProteinScore;
        if (!listed) continue;
        std::vector<const CConsensusRow*> rows = KeptRows(protein);
        if (rows.empty()) continue;
        if (rows.size() > 1) CSearchResults::SortConsensusRows(rows, o.sortKey);
        AddEntry(selection, static_cast<int>(i), std::move(rows));
    }
    return selection;
}

}  // namespace zar
