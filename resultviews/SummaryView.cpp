#include "SummaryView.h"

#include "ResultTableMenu.h"
#include "ResultsPropertySheet.h"
#include "ResultsStatusDlg.h"
#include "SummaryFilter.h"
#include "TableFit.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/SorvexResults.h"
#include "document/TextHelpers.h"
#include "document/UpdateHints.h"
#include "grids/ClipboardWnd.h"
#include "grids/ExcelExport.h"
#include "spectrumviews/XpressQuant.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace zar {
namespace {

struct ColumnInfo {
    const char* title;
    int width;
};

const ColumnInfo kFullColumns[kSummaryFullColumns] = {
    {"Scan(s)", 100},  {"m/z", 70},   {"Charge", 55},   {"Sequence", 130}, {"Reference", 130},
    {"Database", 100}, {"XCorr", 60}, {"Delta Cn", 60}, {"Sp", 60},        {"RSp", 50},
    {"Ions", 60},      {"Count", 50}, {"MW", 80},       {"XPRESS", 80}};
const ColumnInfo kScoreOnlyColumns[kSummaryScoreOnlyColumns] = {
    {"Scan(s)", 100},   {"m/z", 70},       {"Charge", 55}, {"Sequence", 130},
    {"Reference", 130}, {"Database", 100}, {"Score", 60},  {"Ions", 60},
    {"Count", 50},      {"MW", 80},        {"XPRESS", 80}};

constexpr int kSequenceColumn = 4;
constexpr int kReferenceColumn = 5;
constexpr int kTextColumnWidth = 130;
const QColor kXpressBrush(255, 255, 200);

}  // namespace

CSummaryView::CSummaryView(QWidget* parent) : CZarViewWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    grid_ = new CSummaryGrid(this);
    grid_->setObjectName(QStringLiteral("SummaryGrid"));
    layout->addWidget(grid_);
    // The columns follow the grid's visible width, which is known only once it is laid out.
    grid_->viewport()->installEventFilter(this);
}

CSorvexResults* CSummaryView::ReadySet() const {
    CZarDoc* doc = GetDocument();
    CSorvexResults* set = doc ? doc->GetSorvexResults() : nullptr;
    if (!set || set->GetCapacity() <= 0) return nullptr;
    // A set that is being read is left alone until its load has ended.
    if (CResultsStatusDlg::IsLoading(set)) return nullptr;
    return set;
}

void CSummaryView::OnInitialUpdate() {
    if (!initialised_) {
        grid_->SetGridOwner(this);
        grid_->SetRowCount(50);
        grid_->SetColCount(kSummaryFullColumns);
        grid_->SetPrintMargins(kResultTablePrintMargins);
        initialised_ = true;
    }
    FitColumns();
    SetupTable(rows_, kSummaryFullColumns);
}

void CSummaryView::OnUpdate(CZarView*, int hint) {
    switch (hint) {
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintSummaryLayout:
        case kHintSummarySorted:
            FillTable();
            grid_->Redraw();
            break;
        case kHintRedrawResults:
            grid_->Redraw();
            break;
        case kHintXpressColumn:
        case kHintSummaryCell:  // one entry's XPRESS ratio changed: its cell is rewritten with the column
            RefreshXpressColumn();
            grid_->Redraw();
            break;
        default:
            break;
    }
}

HitNumber CSummaryView::GetRowHit(int row) const {
    if (!ReadySet()) return HitNumber();  // nothing to open while the set is being read
    if (row < 1 || row > static_cast<int>(rowMap_.size())) return HitNumber();
    return rowMap_[static_cast<size_t>(row - 1)];
}

QString CSummaryView::GetHitSequence(HitNumber hit) const {
    const CSorvexResults* set = ReadySet();
    const SearchHitRecord* record = set ? set->FindHit(hit) : nullptr;
    return record ? record->peptide : QString();
}

void CSummaryView::SortByColumn(int col) {
    CZarDoc* doc = GetDocument();
    CSorvexResults* set = ReadySet();
    if (!doc || !set) return;
    ResultsDisplayOptions o = doc->SummaryOptions();
    const int key = SummaryColumnToSortKey(col, o.singleScore != 0);
    if (key < 0) return;
    o.sortKey = key;
    set->SortHits(key);
    doc->SummaryOptions() = o;
    doc->UpdateAllViews(nullptr, kHintSummarySorted);
}

void CSummaryView::SetupTable(int kept, int columns) {
    if (kept <= 0) return;
    rows_ = std::max(kept, kMinTableRows);
    columns_ = columns;
    grid_->LockUpdate(true);
    grid_->SetRowCount(rows_);
    grid_->SetColCount(columns_);
    grid_->ClearCells(CGXRange::table());
    grid_->SetStyleRange(CGXRange::table(), CGXStyle().setReadOnly(true));
    const ColumnInfo* info = columns == kSummaryFullColumns ? kFullColumns : kScoreOnlyColumns;
    for (int c = 1; c <= columns_; ++c) {
        grid_->SetValueRange(0, c, QString::fromLatin1(info[c - 1].title));
        grid_->SetColWidth(c, info[c - 1].width);
        const bool text = c == 4 || c == 5 || c == 6;
        grid_->SetStyleRange(
            CGXRange::cells(1, c, rows_, c),
            CGXStyle()
                .setValueType(text ? GridValueType::Text : GridValueType::Number)
                .setAlignment((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
    }
    // Masses to readable decimals; the cell keeps the full number.
    grid_->SetStyleRange(CGXRange::cells(1, 2, rows_, 2),
                         CGXStyle().setFormat(GridNumberFormat::Fixed, 3));
    grid_->SetStyleRange(CGXRange::cells(1, columns_ - 1, rows_, columns_ - 1),
                         CGXStyle().setFormat(GridNumberFormat::Fixed, 1));
    grid_->SetStyleRange(CGXRange::cells(1, columns_, rows_, columns_),
                         CGXStyle().setInterior(kXpressBrush));
    for (int r = 1; r <= rows_; ++r) grid_->SetValueRange(r, 0, QString());
    grid_->LockUpdate(false);
    FitColumns();
}

void CSummaryView::WriteRow(int r, const SearchHitRecord& hit, bool singleScore, bool showTimes) {
    CZarDoc* doc = GetDocument();
    const ScanToTime toTime = [doc](int scan) {
        return doc ? doc->ScanToRetentionTime(scan) : 0.0;
    };
    const ScanName name = ParseScanName(hit.fileInformation);
    grid_->SetValueRange(r, 0, QCFormat("%d", hit.hitNumber().value()));
    grid_->SetValueRange(r, 1, ScanCellText(hit, showTimes, toTime));
    grid_->SetValueRange(r, 2, hit.hitMass);
    grid_->SetValueRange(r, 3, static_cast<double>(name.charge));
    grid_->SetValueRange(r, 4, hit.peptide);
    grid_->SetValueRange(r, 5, hit.reference);
    grid_->SetValueRange(r, 6, hit.databaseFile);
    int c = 7;
    if (singleScore) {
        grid_->SetValueRange(r, c++, hit.combinedScore);
    } else {
        grid_->SetValueRange(r, c++, hit.correlation);
        grid_->SetValueRange(r, c++, hit.deltaCorrelation);
        grid_->SetValueRange(r, c++, hit.preliminaryScore);
        grid_->SetValueRange(r, c++, static_cast<double>(hit.preliminaryRank));
    }
    grid_->SetValueRange(r, c++, QCFormat("%d/%d", hit.ionsMatched, hit.ionsTotal));
    if (hit.furtherReferences > 0)
        grid_->SetValueRange(r, c++, static_cast<double>(hit.furtherReferences));
    else
        grid_->SetValueRange(r, c++, QString());
    if (hit.proteinMass > 0)
        grid_->SetValueRange(r, c++, hit.proteinMass);
    else
        grid_->SetValueRange(r, c++, QStringLiteral("N/A"));
    grid_->SetValueRange(r, c, XpressRatioText(hit.quantitationRatio));
}

void CSummaryView::FillTable() {
    CZarDoc* doc = GetDocument();
    CSorvexResults* set = ReadySet();
    if (!doc || !set) return;
    ResultsDisplayOptions o = doc->SummaryOptions();
    const ScanToTime toTime = [doc](int scan) { return doc->ScanToRetentionTime(scan); };
    const int kept = ApplySummaryFilter(*set, o, toTime);
    SetupTable(kept, o.singleScore ? kSummaryScoreOnlyColumns : kSummaryFullColumns);
    grid_->SetValueRange(0, 1, o.showTimes ? QStringLiteral("Time(s)") : QStringLiteral("Scan(s)"));
    if (kept == 0) {
        // The row headers go too: they name the hits of the rows.
        grid_->ClearCells(CGXRange::cells(1, 0, grid_->GetRowCount(), grid_->GetColCount()));
        // Cleared rows must not open the results they no longer show.
        rowMap_.clear();
        return;
    }
    o.summaryRowLimit = kept;
    doc->SummaryOptions() = o;

    rowMap_.assign(static_cast<size_t>(kept), HitNumber());
    grid_->LockUpdate(true);
    int row = 0;
    for (int i = 0; i < set->GetHitCount() && row < kept; ++i) {
        const SearchHitRecord& hit = *set->GetHit(i);
        if (hit.shown != 1) continue;
        rowMap_[static_cast<size_t>(row)] = hit.hitNumber();
        WriteRow(++row, hit, o.singleScore != 0, o.showTimes != 0);
    }
    grid_->LockUpdate(false);
}

void CSummaryView::RefreshXpressColumn() {
    CZarDoc* doc = GetDocument();
    CSorvexResults* set = ReadySet();
    if (!doc || !set) return;
    const int column =
        doc->SummaryOptions().singleScore ? kSummaryScoreOnlyColumns : kSummaryFullColumns;
    grid_->SetStyleRange(CGXRange::cells(1, column, rows_, column),
                         CGXStyle().setInterior(kXpressBrush));
    for (int r = 1; r <= static_cast<int>(rowMap_.size()); ++r) {
        const SearchHitRecord* hit = set->FindHit(rowMap_[static_cast<size_t>(r - 1)]);
        if (hit && hit->shown == 1)
            grid_->SetValueRange(r, column, XpressRatioText(hit->quantitationRatio));
    }
}

void CSummaryView::OnDisplayOptions() {
    RunSummaryOptionsSheet(this, true);
}

int CSummaryView::OnExportExcel(QString* outputPath) {
    CZarDoc* doc = GetDocument();
    CClipboardWnd guard(nullptr);
    return ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(),
                         QStringLiteral("SorvexSummary.xlt"), QStringLiteral("SorvexSummaryReport"),
                         outputPath);
}

void CSummaryView::OnExportSequence() {
    CZarDoc* doc = GetDocument();
    const CSorvexResults* set = ReadySet();
    if (!doc || !set) return;
    const SearchHitRecord* hit = set->FindHit(doc->GetSorvexSelectedHit());
    if (!hit) return;
    const QString peptide = ExtractPeptideSequence(hit->peptide);
    CClipboardWnd clipboard(this);
    CopyStringToClipboard(this, peptide);
}

bool CSummaryView::event(QEvent* e) {
    if (IsContextMenuRequest(e)) {
        if (ReadySet())
            ShowResultTableMenu(
                this, [this] { OnDisplayOptions(); }, [this] { OnExportExcel(); },
                [this] { OnExportSequence(); });
        return true;
    }
    return CZarViewWidget::event(e);
}

bool CSummaryView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) FitColumns();
    return CZarViewWidget::eventFilter(watched, e);
}

void CSummaryView::resizeEvent(QResizeEvent* e) {
    CZarViewWidget::resizeEvent(e);
    FitColumns();
}

void CSummaryView::FitColumns() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_,
                     {{kSequenceColumn, kTextColumnWidth}, {kReferenceColumn, kTextColumnWidth}});
}

}  // namespace zar
