#include "ProteinTableView.h"

#include "ConsensusFilter.h"
#include "ResultTableMenu.h"
#include "ResultsStatusDlg.h"
#include "TableFit.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/UpdateHints.h"
#include "grids/ClipboardWnd.h"
#include "grids/ExcelExport.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace zar {

const QColor CProteinTableView::kProteinRowColour(235, 235, 235);

namespace {

constexpr int kGrowBy = 5;
const QColor kWhite(255, 255, 255);

}  // namespace

CProteinTableView::CProteinTableView(CMassmapGrid* grid, long layoutHint, long sortedHint,
                                     QWidget* parent)
    : CZarViewWidget(parent), grid_(grid), layoutHint_(layoutHint), sortedHint_(sortedHint) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(2, 2, 2, 2);
    grid_->setParent(this);
    box->addWidget(grid_);
    // The Sequence column takes the width the grid has to spare, known only once it is laid out.
    grid_->viewport()->installEventFilter(this);
}

void CProteinTableView::OnInitialUpdate() {
    const ResultsDisplayOptions o = DocumentOptions();
    if (!initialised_) {
        grid_->SetGridOwner(this);
        grid_->SetRowCount(rows_);
        grid_->SetColCount(static_cast<int>(TableLayout(o).columns.size()));
        grid_->SetPrintMargins(kResultTablePrintMargins);
        grid_->SetStyleRange(CGXRange::table(), CGXStyle().setReadOnly(true));
        initialised_ = true;
    }
    SetupTable(rows_, TableLayout(o));
    grid_->SetValueRange(1, 1, ScanTitle(o.showTimes != 0));
}

void CProteinTableView::OnUpdate(CZarView*, int hint) {
    if (hint == kHintRefillResults || hint == kHintRefillResultsAgain || hint == layoutHint_ ||
        hint == sortedHint_)
        FillTable();
    else if (hint == kHintRedrawResults)
        grid_->Redraw();
}

CSearchResults* CProteinTableView::ReadySet() const {
    CSearchResults* set = DocumentSet();
    if (!set || set->GetCapacity() <= 0 || CResultsStatusDlg::IsLoading(set)) return nullptr;
    return set;
}

bool CProteinTableView::GetRowInfo(int row, ConsensusRowEntry& entry) const {
    entry = ConsensusRowEntry();
    if (!ReadySet()) return false;
    const int index = row - kFirstDataRow;
    if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
    entry = entries_[static_cast<size_t>(index)];
    return true;
}

const SearchHitRecord* CProteinTableView::HitOf(const CConsensusRow& match) const {
    const CSearchResults* set = ReadySet();
    return set ? set->FindHit(match.hitNumber) : nullptr;
}

void CProteinTableView::SetCountCell(int row, int col, int count) {
    if (count > 0)
        grid_->SetValueRange(row, col, static_cast<double>(count));
    else
        grid_->SetValueRange(row, col, QString());
}

void CProteinTableView::WriteTitles(const Layout& layout) {
    const int last = static_cast<int>(layout.columns.size());
    for (int c = 1; c <= last; ++c) {
        const Column& column = layout.columns[static_cast<size_t>(c - 1)];
        grid_->SetValueRange(0, c, QString());
        grid_->SetValueRange(1, c, QString::fromLatin1(column.title));
        grid_->SetColWidth(c, column.width);
    }
    grid_->SetValueRange(0, 1, QStringLiteral("Reference"));
    grid_->SetValueRange(0, kSequenceColumn, QStringLiteral("Entries"));
    grid_->SetValueRange(0, kScoreColumn, QStringLiteral("Score"));
    grid_->SetValueRange(0, kHitsColumn, QStringLiteral("Hits"));
    grid_->SetCoveredCellsRowCol(0, 1, 0, 3);
    grid_->SetCoveredCellsRowCol(0, kHitsColumn, 0, last);
    // The match titles read as titles: bold on the header's colour, never a protein row.
    grid_->SetValueRange(1, 0, QStringLiteral(" "));  // no row number beside the titles
    grid_->SetStyleRange(CGXRange::cells(1, 1, 1, last),
                         CGXStyle()
                             .setBold(true)
                             .setInterior(grid_->palette().color(QPalette::Button))
                             .setValueType(GridValueType::Text)
                             .setAlignment(Qt::AlignCenter));
}

void CProteinTableView::SetupTable(int count, const Layout& layout) {
    if (count <= 0) return;
    layout_ = layout;
    const int columns = static_cast<int>(layout.columns.size());
    rows_ = std::max(count, kMinTableRows);
    grid_->LockUpdate(true);
    grid_->SetRowCount(rows_);
    grid_->SetColCount(columns);
    grid_->ClearCoveredCells();
    grid_->ClearCells(CGXRange::cells(kFirstDataRow, 0, rows_, columns));
    AddRowStyles(kFirstDataRow, rows_);
    WriteTitles(layout);
    grid_->LockUpdate(false);
    FitColumns();
}

void CProteinTableView::AddRowStyles(int from, int to) {
    const int columns = static_cast<int>(layout_.columns.size());
    grid_->SetStyleRange(CGXRange::cells(from, 0, to, columns),
                         CGXStyle().setInterior(kWhite).setBold(false));
    for (int c = 1; c <= columns; ++c) {
        const Column& column = layout_.columns[static_cast<size_t>(c - 1)];
        CGXStyle style;
        style.setValueType(column.numeric ? GridValueType::Number : GridValueType::Text)
            .setAlignment((column.numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (column.decimals >= 0)
            style.setFormat(GridNumberFormat::Fixed, column.decimals);
        else
            style.setFormat(GridNumberFormat::General, 0);
        grid_->SetStyleRange(CGXRange::cells(from, c, to, c), style);
    }
}

void CProteinTableView::AddRows(int n) {
    const int first = grid_->GetRowCount() + 1;
    grid_->InsertRows(first, n);
    rows_ = grid_->GetRowCount();
    AddRowStyles(first, rows_);
}

void CProteinTableView::WriteProteinRow(int r, int ordinal, const CProteinRecord& protein,
                                        double score, int scoreDecimals) {
    const int last = static_cast<int>(layout_.columns.size());
    const CGXStyle text =
        CGXStyle().setValueType(GridValueType::Text).setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->SetStyleRange(CGXRange::cells(r, 1, r, last),
                         CGXStyle().setInterior(kProteinRowColour).setBold(true));
    grid_->SetValueRange(r, 0, QCFormat("#%d", ordinal));
    grid_->SetCoveredCellsRowCol(r, 1, r, 3);
    grid_->SetStyleRange(CGXRange::cell(r, 1), text);
    grid_->SetValueRange(r, 1, protein.reference);
    grid_->SetStyleRange(CGXRange::cell(r, kSequenceColumn), text);
    grid_->SetValueRange(r, kSequenceColumn, ConsensusEntriesText(protein));
    grid_->SetStyleRange(CGXRange::cell(r, kScoreColumn),
                         CGXStyle()
                             .setValueType(GridValueType::Number)
                             .setFormat(GridNumberFormat::Fixed, scoreDecimals)
                             .setAlignment(Qt::AlignRight | Qt::AlignVCenter));
    grid_->SetValueRange(r, kScoreColumn, score);
    grid_->SetCoveredCellsRowCol(r, kHitsColumn, r, last);
    grid_->SetStyleRange(CGXRange::cell(r, kHitsColumn), text);
    grid_->SetValueRange(r, kHitsColumn, ConsensusHitsText(protein));
}

void CProteinTableView::ClearTable() {
    grid_->ClearCells(CGXRange::cells(1, 0, grid_->GetRowCount(), grid_->GetColCount()));
    // Cleared rows must not open the results they no longer show.
    entries_.clear();
}

void CProteinTableView::FillTable() {
    CSearchResults* set = ReadySet();
    if (!set) return;
    ResultsDisplayOptions o = DocumentOptions();
    const Layout layout = TableLayout(o);
    const ProteinTableSelection selection = Select(*set, o);
    SetupTable(selection.rows, layout);
    grid_->SetValueRange(1, 1, ScanTitle(o.showTimes != 0));
    if (selection.rows <= 0) {
        ClearTable();
        return;
    }
    o.summaryRowLimit = selection.rows;
    DocumentOptions() = o;

    entries_.clear();
    entries_.reserve(static_cast<size_t>(selection.rows));
    grid_->LockUpdate(true);
    int r = 1;
    int ordinal = 0;
    for (const ProteinTableEntry& entry : selection.proteins) {
        const CProteinRecord& protein = *set->GetProteins()[static_cast<size_t>(entry.protein)];
        ++r;
        entries_.push_back(ConsensusRowEntry::Protein(entry.protein));
        if (r >= rows_) AddRows(kGrowBy);
        WriteProteinRow(r, ++ordinal, protein, ProteinScore(protein, o), layout.scoreDecimals);
        for (const CConsensusRow* match : entry.matches) {
            ++r;
            entries_.push_back(ConsensusRowEntry::Match(match->hitNumber));
            if (r >= rows_) AddRows(kGrowBy);
            grid_->SetValueRange(r, 0, QCFormat("%d", match->hitNumber.value()));
            WriteMatchRow(r, *match, o);
        }
    }
    grid_->LockUpdate(false);
    WidenScoreColumn(selection, *set, o, layout.scoreDecimals);
    grid_->Redraw();
}

void CProteinTableView::WidenScoreColumn(const ProteinTableSelection& selection,
                                         const CSearchResults& set, const ResultsDisplayOptions& o,
                                         int decimals) {
    // Summed scores run to millions: the bold protein scores must not be cut.
    QFont bold = grid_->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const ProteinTableEntry& entry : selection.proteins) {
        const double score =
            ProteinScore(*set.GetProteins()[static_cast<size_t>(entry.protein)], o);
        widest = std::max(widest, metrics.horizontalAdvance(QString::number(score, 'f', decimals)));
    }
    constexpr int kPadding = 12;
    if (widest + kPadding <= grid_->GetColWidth(kScoreColumn)) return;
    grid_->SetColWidth(kScoreColumn, widest + kPadding);
    FitColumns();
}

int CProteinTableView::OnExportExcel(QString* outputPath) {
    CZarDoc* doc = GetDocument();
    CClipboardWnd guard(nullptr);
    return ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(), ExportTemplate(),
                         ExportReport(), outputPath);
}

bool CProteinTableView::event(QEvent* e) {
    if (IsContextMenuRequest(e)) {
        if (ReadySet())
            ShowResultTableMenu(
                this, [this] { OnDisplayOptions(); }, [this] { OnExportExcel(); });
        return true;
    }
    return CZarViewWidget::event(e);
}

bool CProteinTableView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) FitColumns();
    return CZarViewWidget::eventFilter(watched, e);
}

void CProteinTableView::resizeEvent(QResizeEvent* e) {
    CZarViewWidget::resizeEvent(e);
    FitColumns();
}

void CProteinTableView::FitColumns() {
    if (!initialised_ || layout_.columns.empty()) return;
    SpreadSpareWidth(*grid_, {{kSequenceColumn, layout_.sequenceMinimum}});
}

}  // namespace zar
