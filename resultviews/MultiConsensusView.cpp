#include "MultiConsensusView.h"

#include "ResultsPropertySheet.h"
#include "SummaryFilter.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/MultiConsensusResults.h"
#include "document/TextHelpers.h"
#include "document/UpdateHints.h"

namespace zar {
namespace {

// Wide enough for a mass with four decimals in full, as the cells hold it.
constexpr int kMassWidth = 80;

}  // namespace

int MultiConsensusTitleToSortKey(int row, int col, bool singleScore) {
    if (row == 0) return col >= 1 && col <= 3 ? kSortReference : -1;
    switch (col) {
        case 1:
            return kSortFileInformation;
        case 2:
            return kSortHitMass;
        case 4:
            return kSortPeptide;
        case 5:
            return kSortCorrelation;
        case 6:
            return singleScore ? kSortIonsRatio : kSortDeltaCorrelation;
        case 7:
            return singleScore ? kSortFurtherReferences : kSortPreliminaryScore;
        case 8:
            return singleScore ? -1 : kSortPreliminaryRank;
        case 9:
            return singleScore ? -1 : kSortIonsRatio;
        case 10:
            return kSortFurtherReferences;
        default:
            return -1;
    }
}

CMultiConsensusView::CMultiConsensusView(QWidget* parent)
    : CProteinTableView(new CMultiConsensusGrid, kHintMultiConsensusLayout,
                        kHintMultiConsensusSorted, parent) {
    Grid()->setObjectName(QStringLiteral("MultiConsensusGrid"));
}

CSearchResults* CMultiConsensusView::DocumentSet() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetMultiConsensusResults() : nullptr;
}

ResultsDisplayOptions& CMultiConsensusView::DocumentOptions() const {
    static ResultsDisplayOptions none;
    CZarDoc* doc = GetDocument();
    return doc ? doc->MultiConsensusOptions() : none;
}

ProteinTableSelection CMultiConsensusView::Select(CSearchResults& set,
                                                  const ResultsDisplayOptions& o) {
    return SelectMultiConsensusRows(set, o);
}

CProteinTableView::Layout CMultiConsensusView::TableLayout(const ResultsDisplayOptions& o) const {
    if (o.singleScore) {
        return {{{"File, Scan(s)", 165, false, -1},
                 {"m/z", kMassWidth, true, -1},
                 {"Charge", 60, true, -1},
                 {"Sequence", 190, false, -1},
                 {"Score", 65, true, 0},
                 {"Ions", 65, true, -1},
                 {"Count", 60, true, 0}},
                190,
                0};
    }
    return {{{"File, Scan(s)", 165, false, -1},
             {"m/z", kMassWidth, true, -1},
             {"Charge", 60, true, -1},
             {"Sequence", 190, false, -1},
             {"XCorr", 65, true, -1},
             {"Delta Cn", 65, true, -1},
             {"Sp", 65, true, -1},
             {"RSp", 60, true, 0},
             {"Ions", 65, true, -1},
             {"Count", 60, true, 0}},
            190,
            1};
}

QString CMultiConsensusView::ScanTitle(bool showTimes) const {
    return showTimes ? QStringLiteral("File, Time(s)") : QStringLiteral("File, Scan(s)");
}

double CMultiConsensusView::ProteinScore(const CProteinRecord& protein,
                                         const ResultsDisplayOptions& o) const {
    return o.singleScore ? protein.summedCombinedScore : protein.score;
}

void CMultiConsensusView::WriteMatchRow(int r, const CConsensusRow& match,
                                        const ResultsDisplayOptions& o) {
    CMassmapGrid& grid = *Grid();
    const SearchHitRecord* hit = HitOf(match);
    const QString name = hit ? hit->fileInformation : QString();
    if (match.firstScan > 0 && match.lastScan > 0) {
        CZarDoc* doc = GetDocument();
        const QString scans =
            ScanRangeText(match.firstScan, match.lastScan, o.showTimes != 0,
                          [doc](int scan) { return doc ? doc->ScanToRetentionTime(scan) : 0.0; });
        grid.SetValueRange(r, 1, StripAtDot(name).trimmed() + QStringLiteral(", ") + scans);
    } else {
        grid.SetValueRange(r, 1, name);
    }
    grid.SetValueRange(r, 2, match.hitMass);
    grid.SetValueRange(r, 3, static_cast<double>(match.charge));
    grid.SetValueRange(r, 4, match.peptide);
    int c = 5;
    if (o.singleScore) {
        grid.SetValueRange(r, c++, match.combinedScore);
    } else {
        grid.SetValueRange(r, c++, match.correlation);
        grid.SetValueRange(r, c++, match.deltaCorrelation);
        grid.SetValueRange(r, c++, match.preliminaryScore);
        grid.SetValueRange(r, c++, static_cast<double>(match.rank));
    }
    grid.SetValueRange(r, c++, QCFormat("%d/%d", match.ionsMatched, match.ionsTotal));
    SetCountCell(r, c, match.furtherReferences);
}

void CMultiConsensusView::SortByColumn(int row, int col) {
    CZarDoc* doc = GetDocument();
    if (!doc || !ReadySet()) return;
    ResultsDisplayOptions& o = doc->MultiConsensusOptions();
    const int key = MultiConsensusTitleToSortKey(row, col, o.singleScore != 0);
    if (key < 0) return;
    o.sortKey = key;
    doc->UpdateAllViews(nullptr, kHintMultiConsensusSorted);
}

void CMultiConsensusView::OnDisplayOptions() {
    RunMultiConsensusOptionsSheet(this);
}

}  // namespace zar
