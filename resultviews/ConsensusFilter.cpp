#include "ConsensusFilter.h"

#include "SummaryFilter.h"
#include "core/Numbers.h"

namespace zar {

bool ConsensusEntryPassesSingle(const CConsensusRow& row, const CProteinRecord& protein,
                                const ResultsDisplayOptions& o) {
    const double t = o.singleThreshold;
    switch (o.thresholdKind) {
        // An entry has no reference of its own: it stands under its protein's.
        case 0:
            return o.referenceText.isEmpty() ||
                   protein.reference.contains(o.referenceText, Qt::CaseSensitive);
        case 1:
            return row.correlation >= t;
        case 2:
            return row.deltaCorrelation >= t;
        case 3:
            return row.preliminaryScore >= t;
        case 4:
            return static_cast<double>(row.rank) >= t;
        case 5: {
            const int percent = PercentIonsMatched(row.ionsMatched, row.ionsTotal);
            return percent >= 0 && static_cast<double>(percent) >= t;
        }
        case 6:
        case 7:
            return true;
        default:
            return false;
    }
}

bool ConsensusEntryPassesMultiple(const CConsensusRow& row, const ResultsDisplayOptions& o) {
    int met = 0;
    if (row.correlation >= o.xcorrMin) ++met;
    if (row.deltaCorrelation >= o.deltaCnMin) ++met;
    if (row.preliminaryScore >= o.spMin) ++met;
    if (static_cast<double>(row.rank) <= o.rspMax) ++met;
    const int percent = PercentIonsMatched(row.ionsMatched, row.ionsTotal);
    if (percent >= 0 && static_cast<double>(percent) >= o.ionsPercentMin) ++met;
    return met >= o.criteriaNeeded;
}

namespace {

bool HasKeptEntry(const CProteinRecord& protein) {
    for (const auto& rows : protein.rowsByRank)
        for (const auto& row : rows)
            if (row->kept) return true;
    return false;
}

}  // namespace

ConsensusSelection ApplyConsensusFilter(CSearchResults& set, const ResultsDisplayOptions& o) {
    ConsensusSelection selection;
    ProteinArray& proteins = set.GetProteins();
    if (set.GetCapacity() <= 0 || proteins.empty()) return selection;

    // Every mode starts from all proteins: a protein that an earlier protein threshold hid
    // would otherwise never come back in the modes that follow the summary filter.
    for (auto& protein : proteins) {
        protein->valid = 1;
        for (auto& group : protein->rowsByRank) {
            for (auto& row : group) {
                switch (o.filterMode) {
                    case 0:
                        row->kept = 1;
                        break;
                    case 2:
                        row->kept = ConsensusEntryPassesSingle(*row, *protein, o) ? 1 : 0;
                        break;
                    case 3:
                        row->kept = ConsensusEntryPassesMultiple(*row, o) ? 1 : 0;
                        break;
                    default: {
                        const SearchHitRecord* hit = set.FindHit(row->hitNumber);
                        row->kept = hit && hit->shown == 1 ? 1 : 0;
                        break;
                    }
                }
            }
        }
    }

    set.GroupProteins(o.scoreMethod != 0, o.singleScore != 0);

    if (o.filterMode == 2 && (o.thresholdKind == 6 || o.thresholdKind == 7)) {
        for (auto& protein : proteins) {
            const double score =
                o.thresholdKind == 6 ? protein->score : protein->summedCombinedScore;
            if (!(score >= o.singleThreshold)) protein->valid = 0;
        }
    }

    const int count = static_cast<int>(proteins.size());
    int limit = count;
    if (o.filterMode == 1) {
        limit = o.consensusRowLimit > 0 ? std::min(o.consensusRowLimit, count) : count;
    } else {
        for (auto& protein : proteins)
            if (protein->valid && !HasKeptEntry(*protein)) protein->valid = 0;
    }
    std::vector<int>& rows = selection.rows;
    for (int i = 0; i < count && static_cast<int>(rows.size()) < limit; ++i) {
        const CProteinRecord& protein = *proteins[static_cast<size_t>(i)];
        if (protein.valid && !protein.reference.isEmpty()) rows.push_back(i);
    }
    selection.kept = o.filterMode == 1 ? limit : static_cast<int>(rows.size());
    return selection;
}

QString ConsensusHitsText(const CProteinRecord& protein) {
    const auto& g = protein.rowsByRank;
    return QCFormat("%d %d %d %d %d", static_cast<int>(g[0].size()), static_cast<int>(g[1].size()),
                    static_cast<int>(g[2].size()), static_cast<int>(g[3].size()),
                    static_cast<int>(g[4].size()));
}

QString ConsensusEntriesText(const CProteinRecord& protein) {
    QString text;
    for (int r = 0; r < kConsensusRanks; ++r) {
        for (const auto& row : protein.rowsByRank[static_cast<size_t>(r)])
            if (row->kept) text += QCFormat("%d ", row->hitNumber.value());
        if (r < kConsensusRanks - 1) text += QStringLiteral(": ");
    }
    return text;
}

}  // namespace zar
