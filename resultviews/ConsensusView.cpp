#include "ConsensusView.h"

#include "ConsensusFilter.h"
#include "ResultTableMenu.h"
#include "ResultsPropertySheet.h"
#include "ResultsStatusDlg.h"
#include "SummaryFilter.h"
#include "TableFit.h"
#include "ZarDoc.h"
#include "document/SorvexResults.h"
#include "document/UpdateHints.h"
#include "grids/ClipboardWnd.h"
#include "grids/ExcelExport.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace zar {
namespace {

constexpr int kColumns = 4;
constexpr int kReferenceWidth = 365;
constexpr int kEntriesWidth = 300;

}  // namespace

CConsensusView::CConsensusView(QWidget* parent) : CZarViewWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    grid_ = new CConsensusGrid(this);
    grid_->setObjectName(QStringLiteral("ConsensusGrid"));
    layout->addWidget(grid_);
    // The columns follow the grid's visible width, which is known only once it is laid out.
    grid_->viewport()->installEventFilter(this);
}

void CConsensusView::OnInitialUpdate() {
    if (!initialised_) {
        grid_->SetGridOwner(this);
        grid_->SetRowCount(rows_);
        grid_->SetColCount(kColumns);
        grid_->SetPrintMargins(kResultTablePrintMargins);
        const std::pair<const char*, int> titles[kColumns] = {{"Reference", kReferenceWidth},
                                                              {"Score", 80},
                                                              {"Hits", 120},
                                                              {"Entries", kEntriesWidth}};
        for (int c = 1; c <= kColumns; ++c) {
            grid_->SetValueRange(0, c, QString::fromLatin1(titles[c - 1].first));
            grid_->SetColWidth(c, titles[c - 1].second);
        }
        grid_->SetStyleRange(CGXRange::table(), CGXStyle().setReadOnly(true));
        initialised_ = true;
    }
    FitColumns();
}

void CConsensusView::OnUpdate(CZarView*, int hint) {
    switch (hint) {
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintSummaryLayout:
            FillTable();
            grid_->Redraw();
            break;
        case kHintRedrawResults:
            grid_->Redraw();
            break;
        default:
            break;
    }
}

bool CConsensusView::GetRowEntry(int row, ConsensusRowEntry& entry) const {
    CZarDoc* doc = GetDocument();
    if (!doc || CResultsStatusDlg::IsLoading(doc->GetSorvexResults())) return false;
    if (row < 1 || row > static_cast<int>(entries_.size())) return false;
    entry = entries_[static_cast<size_t>(row - 1)];
    return true;
}

void CConsensusView::ClearTable() {
    grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
    // Cleared rows must not open the proteins they no longer show.
    entries_.clear();
}

void CConsensusView::SetupRows(int kept, bool singleScore) {
    if (kept <= 0) return;
    rows_ = std::max(kept, kMinTableRows);
    grid_->LockUpdate(true);
    grid_->SetRowCount(rows_);
    grid_->ClearCells(CGXRange::cells(1, 1, rows_, kColumns));
    const CGXStyle text =
        CGXStyle().setValueType(GridValueType::Text).setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->SetStyleRange(CGXRange::cells(1, 1, kept, 1), text);
    grid_->SetStyleRange(CGXRange::cells(1, 3, kept, 4), text);
    // Rankings are whole points; summed scores need their decimals.
    grid_->SetStyleRange(CGXRange::cells(1, 2, kept, 2),
                         CGXStyle()
                             .setValueType(GridValueType::Number)
                             .setFormat(GridNumberFormat::Fixed, singleScore ? 3 : 2)
                             .setAlignment(Qt::AlignRight | Qt::AlignVCenter));
    grid_->LockUpdate(false);
}

void CConsensusView::FillTable() {
    CZarDoc* doc = GetDocument();
    CSorvexResults* set = doc ? doc->GetSorvexResults() : nullptr;
    if (set && CResultsStatusDlg::IsLoading(set)) return;
    if (!doc || !set || set->GetCapacity() <= 0 || set->GetProteins().empty()) {
        ClearTable();
        return;
    }
    ResultsDisplayOptions o = doc->SummaryOptions();
    const ConsensusSelection selection = ApplyConsensusFilter(*set, o);
    SetupRows(selection.kept, o.singleScore != 0);
    if (selection.rows.empty()) {
        ClearTable();
        return;
    }
    entries_.clear();
    o.consensusRowLimit = selection.kept;
    doc->SummaryOptions() = o;

    grid_->LockUpdate(true);
    int row = 0;
    for (int index : selection.rows) {
        const CProteinRecord& protein = *set->GetProteins()[static_cast<size_t>(index)];
        entries_.push_back(ConsensusRowEntry::Protein(index));
        ++row;
        grid_->SetValueRange(row, 1, protein.reference);
        grid_->SetValueRange(row, 2, o.singleScore ? protein.summedCombinedScore : protein.score);
        grid_->SetValueRange(row, 3, ConsensusHitsText(protein));
        grid_->SetValueRange(row, 4, ConsensusEntriesText(protein));
    }
    grid_->LockUpdate(false);
}

void CConsensusView::OnDisplayOptions() {
    RunSummaryOptionsSheet(this, false);
}

int CConsensusView::OnExportExcel(QString* outputPath) {
    CZarDoc* doc = GetDocument();
    CClipboardWnd guard(nullptr);
    return ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(),
                         QStringLiteral("SorvexConsensus.xlt"),
                         QStringLiteral("SorvexConsensusReport"), outputPath);
}

bool CConsensusView::event(QEvent* e) {
    if (IsContextMenuRequest(e)) {
        CZarDoc* doc = GetDocument();
        const CSorvexResults* set = doc ? doc->GetSorvexResults() : nullptr;
        if (set && set->GetCapacity() > 0 && !CResultsStatusDlg::IsLoading(set))
            ShowResultTableMenu(
                this, [this] { OnDisplayOptions(); }, [this] { OnExportExcel(); });
        return true;
    }
    return CZarViewWidget::event(e);
}

bool CConsensusView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) FitColumns();
    return CZarViewWidget::eventFilter(watched, e);
}

void CConsensusView::resizeEvent(QResizeEvent* e) {
    CZarViewWidget::resizeEvent(e);
    FitColumns();
}

void CConsensusView::FitColumns() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_, {{1, kReferenceWidth}, {4, kEntriesWidth}});
}

}  // namespace zar
