#include "MassmapView.h"

#include "ResultsPropertySheet.h"
#include "SummaryFilter.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/MassmapResults.h"
#include "document/UpdateHints.h"

namespace zar {

int MassmapTitleToSortKey(int row, int col) {
    if (row == 0) return col >= 1 && col <= 3 ? kSortReference : -1;
    switch (col) {
        case 1:
            return kSortFileInformation;
        case 2:
            return kSortHitMass;
        case 4:
            return kSortPeptide;
        case 5:
            return kSortPreliminaryScore;
        case 6:
            return kSortIonsRatio;
        default:
            return -1;
    }
}

CMassmapView::CMassmapView(QWidget* parent)
    : CProteinTableView(new CMassmapGrid, kHintMassmapLayout, kHintMassmapSorted, parent) {
    Grid()->setObjectName(QStringLiteral("MassmapGrid"));
}

CSearchResults* CMassmapView::DocumentSet() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetMassmapResults() : nullptr;
}

ResultsDisplayOptions& CMassmapView::DocumentOptions() const {
    static ResultsDisplayOptions none;
    CZarDoc* doc = GetDocument();
    return doc ? doc->MassmapOptions() : none;
}

ProteinTableSelection CMassmapView::Select(CSearchResults& set, const ResultsDisplayOptions& o) {
    CZarDoc* doc = GetDocument();
    return SelectMassmapRows(
        set, o, [doc](int scan) { return doc ? doc->ScanToRetentionTime(scan) : 0.0; });
}

CProteinTableView::Layout CMassmapView::TableLayout(const ResultsDisplayOptions&) const {
    return {{{"Scan(s)", 140, false, -1},
             {"m/z", 90, true, 3},
             {"Charge", 90, true, -1},
             {"Sequence", 250, false, -1},
             {"Score", 90, true, 1},
             {"Ions", 90, true, -1},
             {"Count", 90, true, -1}},
            250,
            1};
}

QString CMassmapView::ScanTitle(bool showTimes) const {
    return showTimes ? QStringLiteral("Time(s)") : QStringLiteral("Scan(s)");
}

double CMassmapView::ProteinScore(const CProteinRecord& protein,
                                  const ResultsDisplayOptions&) const {
    return protein.score;
}

void CMassmapView::WriteMatchRow(int r, const CConsensusRow& match,
                                 const ResultsDisplayOptions& o) {
    CMassmapGrid& grid = *Grid();
    if (match.firstScan > 0 && match.lastScan > 0) {
        CZarDoc* doc = GetDocument();
        grid.SetValueRange(
            r, 1, ScanRangeText(match.firstScan, match.lastScan, o.showTimes != 0, [doc](int scan) {
                return doc ? doc->ScanToRetentionTime(scan) : 0.0;
            }));
    } else {
        const SearchHitRecord* hit = HitOf(match);
        grid.SetValueRange(r, 1, hit ? hit->fileInformation : QString());
    }
    grid.SetValueRange(r, 2, match.hitMass);
    grid.SetValueRange(r, 3, static_cast<double>(match.charge));
    grid.SetValueRange(r, 4, match.peptide);
    grid.SetValueRange(r, 5, match.preliminaryScore);
    grid.SetValueRange(r, 6, QCFormat("%d/%d", match.ionsMatched, match.ionsTotal));
    SetCountCell(r, 7, match.furtherReferences);
}

void CMassmapView::SortByColumn(int row, int col) {
    CZarDoc* doc = GetDocument();
    const int key = MassmapTitleToSortKey(row, col);
    if (!doc || key < 0 || !ReadySet()) return;
    doc->MassmapOptions().sortKey = key;
    doc->UpdateAllViews(nullptr, kHintMassmapSorted);
}

void CMassmapView::OnDisplayOptions() {
    RunMassmapOptionsSheet(this);
}

}  // namespace zar
