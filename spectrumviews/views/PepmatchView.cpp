#include "PepmatchView.h"

#include "IonGridSink.h"
#include "PaneSupport.h"
#include "PepmatchOptionsDlg.h"
#include "app/MainFrame.h"
#include "app/grids/ClipboardWnd.h"
#include "app/grids/DisplayGrids.h"
#include "app/grids/ExcelExport.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/UpdateHints.h"
#include "document/hub/ZarDoc.h"
#include "rawfile/VRawfile.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace zar {

namespace {

constexpr int kGridLeft = 6;  // the grid's left offset, kept as its right and bottom margins

QPushButton* MakeButton(QWidget* parent, CControlTable& table, int id, const char* text,
                        const char* prompt) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QStringLiteral("Button%1").arg(id));
    table.AddControl(id, b);
    table.SetToolTipText(id, QString::fromLatin1(prompt));
    b->setStatusTip(QString::fromLatin1(prompt));
    return b;
}

}  // namespace

PepmatchOptions DefaultPepmatchOptions() {
    PepmatchOptions o;
    o.labelColor = CPepmatchOptionsDlg::kDefaultLabelColor;
    o.threshold = CPepmatchOptionsDlg::kDefaultThreshold;
    o.append = 0;
    o.monoisotopic = 0;
    o.series = DefaultSeriesFlags();
    return o;
}

CPepmatchView::CPepmatchView(QWidget* parent)
    : CZarViewWidget(parent), grid_(new CIonListGrid(this)), options_(DefaultPepmatchOptions()) {
    setObjectName(QStringLiteral("CPepmatchView"));
    grid_->setObjectName(QStringLiteral("SelectIonsGrid"));
    AddControl(kGridId, grid_);
    QPushButton* sequence = MakeButton(this, *this, kSequenceId, "&Sequence...",
                                       "Enter the sequence to be used by Pepmatch");
    QPushButton* options =
        MakeButton(this, *this, kOptionsId, "&Options...",
                   "Select the options to be used during the Pepmatch calculation");
    QPushButton* update = MakeButton(this, *this, kUpdateId, "&Update",
                                     "Perform the Pepmatch calculation using the current options");
    connect(sequence, &QPushButton::clicked, this, &CPepmatchView::OnSequence);
    connect(options, &QPushButton::clicked, this, &CPepmatchView::OnOptions);
    connect(update, &QPushButton::clicked, this, &CPepmatchView::CalculatePepmatch);
    // The buttons stand in a row at the top; the grid fills the rest (FitGrid).
    int x = kGridLeft;
    for (QPushButton* b : {sequence, options, update}) {
        b->adjustSize();
        b->move(x, kGridLeft);
        x += b->width() + kGridLeft;
    }
    grid_->move(kGridLeft, kGridLeft + sequence->height() + kGridLeft);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { this->update(); });
    if (CZarDoc* doc = GetDocument()) sequence_ = doc->GetSequence();
}

CPepmatchView::~CPepmatchView() {
    optionsDlg_.reset();
    editor_.reset();
}

QPushButton* CPepmatchView::Button(int id) const {
    return qobject_cast<QPushButton*>(GetDlgItem(id));
}

CGXGridWnd* CPepmatchView::PrintableGrid() const {
    return grid_;
}

void CPepmatchView::OnInitialUpdate() {
    if (gridReady_) return;
    SetUpIonGridColumns(*grid_);
    grid_->SetColWidth(0, kRowHeaderWidth);
    grid_->SetColWidth(1, kResidueColumnWidth);
    const int massWidth = IonMassColumnWidth(*grid_, kIonColumnWidth);
    for (int c = 2; c <= kIonGridColumnCount; ++c) grid_->SetColWidth(c, massWidth);
    SetIonGridPrintMargins(*grid_);
    SetGridRows(rowCount_);
    gridReady_ = true;
    FitGrid(width(), height());
    FillSelectIonsGrid();
}

void CPepmatchView::OnUpdate(CZarView*, int hint) {
    busy_ = true;
    switch (hint) {
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintPepmatchLayout:
            grid_->Redraw();
            break;
        case kHintPepmapSequence:
            FillSelectIonsGrid();
            break;
        default:
            break;
    }
    busy_ = false;
}

void CPepmatchView::EnableButtons(bool enable) {
    if (QPushButton* b = Button(kOptionsId)) b->setEnabled(enable);
    if (QPushButton* b = Button(kUpdateId)) b->setEnabled(enable);
}

void CPepmatchView::EnableOptionsButton(bool enable) {
    if (QPushButton* b = Button(kOptionsId)) b->setEnabled(enable);
}

void CPepmatchView::SetGridRows(int length) {
    rowCount_ = std::max(length, kMinimumRows);
    grid_->SetRowCount(rowCount_);
}

void CPepmatchView::FillSelectIonsGrid() {
    CZarDoc* doc = GetDocument();
    sequence_ = doc ? doc->GetSequence() : QString();
    EnableButtons(!sequence_.isEmpty());
    // An options dialog open over the view keeps the Options button for itself.
    if (optionsDlg_ && optionsDlg_->isVisible()) EnableOptionsButton(false);
    SetGridRows(static_cast<int>(sequence_.size()));
    CIonGridSink sink(*grid_);
    grid_->LockUpdate(true);
    sink.clearCells(1, 1, grid_->GetRowCount(), grid_->GetColCount());
    if (!sequence_.isEmpty()) {
        // The residues and their "M + H": the same values the engine writes after Update.
        const FragmentMassModel model(options_.monoisotopic != 0);
        IonSlotMask none{};
        const FragmentIonTable table = ComputeFragmentIons(sequence_, model, none);
        for (int i = 1; i <= table.residueCount; ++i) {
            sink.setTextCell(i, kIonGridResidueColumn,
                             QStringLiteral(" ") + sequence_[i - 1] + QStringLiteral(" "));
            sink.setNumberCell(i, kIonGridMHColumn,
                               QCFormat("%.13g", table.mh[static_cast<std::size_t>(i - 1)]), false,
                               0);
        }
    }
    grid_->LockUpdate(false);
    grid_->Redraw();
}

void CPepmatchView::CalculatePepmatch() {
    if (sequence_.isEmpty()) {
        ZarMessageBox(QStringLiteral("Please enter a sequence"));
        return;
    }
    sequence_ = sequence_.toUpper();
    CZarDoc* doc = GetDocument();
    if (doc) doc->SetSequence(sequence_);
    // An option the dialog refuses is told there; nothing is calculated with the one before.
    if (optionsDlg_ && !optionsDlg_->GetOptions(&options_)) return;
    CPepmatchData* engine = doc ? doc->GetPepmatchData() : nullptr;
    if (!engine) return;
    SetGridRows(static_cast<int>(sequence_.size()));
    if (!engine->OpenRawFile(doc->GetRawFilePath(), doc->GetRawFile())) return;
    // With no scan picked the ions are calculated and matched against nothing.
    if (!engine->SetScanFromRetentionTime(doc->GetCurrentRetentionTime()))
        engine->SetCurrentScan(0);
    CIonGridSink sink(*grid_);
    engine->SetTargetGrid(&sink);
    if (CMainFrame* frame = CMainFrame::GetMainFrame()) engine->SetNotifyTarget(frame);
    grid_->LockUpdate(true);
    engine->PerformPepmatch(sequence_, options_);
    grid_->LockUpdate(false);
    engine->SetTargetGrid(nullptr);
    grid_->Redraw();
}

void CPepmatchView::OnOptions() {
    if (!optionsDlg_) {
        optionsDlg_ = std::make_unique<CPepmatchOptionsDlg>(this, CMainFrame::GetMainFrame());
        optionsDlg_->Create(this);
    }
    optionsDlg_->SetOptions(options_);
    optionsDlg_->show();
    optionsDlg_->raise();
    EnableOptionsButton(false);
}

void CPepmatchView::OnSequence() {
    if (!editor_) {
        editor_ = std::make_unique<CSequenceEditorDlg>(this, SequenceEditorMode::kPepmatch,
                                                       CMainFrame::GetMainFrame());
        editor_->Create(this);
    }
    editor_->UpdateLengthWeight(sequence_);
    editor_->show();
    editor_->raise();
}

void CPepmatchView::updateSelectionInDialog() {
    // A calculation takes the open dialog's series: it shows the new selection.
    if (optionsDlg_) optionsDlg_->SetOptions(options_);
}

void CPepmatchView::OnSelectIonsAll() {
    if (optionsDlg_ && !optionsDlg_->GetOptions(&options_)) return;
    options_.series = AllSeriesFlags();
    updateSelectionInDialog();
}

void CPepmatchView::OnSelectIonsDefault() {
    if (optionsDlg_ && !optionsDlg_->GetOptions(&options_)) return;
    options_.series = DefaultSeriesFlags();
    updateSelectionInDialog();
}

void CPepmatchView::OnSelectIonsNone() {
    if (optionsDlg_ && !optionsDlg_->GetOptions(&options_)) return;
    options_.series.fill(0);
    updateSelectionInDialog();
}

void CPepmatchView::OnExportExcel() {
    CZarDoc* doc = GetDocument();
    CClipboardWnd guard(nullptr);
    ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(), QStringLiteral("Pepmatch.xlt"),
                  QStringLiteral("Pepmatch"));
}

bool CPepmatchView::IsCommandEnabled(int id) const {
    switch (id) {
        case ID_SELECT_IONS_ALL:
        case ID_SELECT_IONS_NONE:
        case ID_SELECT_IONS_DEFAULT:
        case ID_EXPORT_EXCEL:
            return true;
        // No XML layout of the table is defined.
        case ID_EXPORT_XML:
        default:
            return false;
    }
}

void CPepmatchView::OnCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    switch (id) {
        case ID_SELECT_IONS_ALL:
            OnSelectIonsAll();
            break;
        case ID_SELECT_IONS_NONE:
            OnSelectIonsNone();
            break;
        case ID_SELECT_IONS_DEFAULT:
            OnSelectIonsDefault();
            break;
        case ID_EXPORT_EXCEL:
            OnExportExcel();
            break;
        default:
            break;
    }
}

std::unique_ptr<QMenu> CPepmatchView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int id) { OnCommand(id); };
    QMenu* select = menu->addMenu(QStringLiteral("&Select Ions"));
    AddCommandItem(select, ID_SELECT_IONS_ALL, "&All", run);
    AddCommandItem(select, ID_SELECT_IONS_NONE, "&None", run);
    AddCommandItem(select, ID_SELECT_IONS_DEFAULT, "&Default", run);
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    AddCommandItem(exportMenu, ID_EXPORT_EXCEL, "&Excel", run);
    AddCommandItem(exportMenu, ID_EXPORT_XML, "Export to XML", run);
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsCommandEnabled(id)); });
    return menu;
}

bool CPepmatchView::event(QEvent* e) {
    // A right click on the table.
    if (IsGridContextMenu(e)) {
        BuildContextMenu()->exec(QCursor::pos());
        return true;
    }
    return CZarViewWidget::event(e);
}

void CPepmatchView::contextMenuEvent(QContextMenuEvent* event) {
    if (FollowsGridRightClick(event, grid_)) return;
    BuildContextMenu()->exec(event->globalPos());
}

void CPepmatchView::resizeEvent(QResizeEvent* event) {
    CZarViewWidget::resizeEvent(event);
    FitGrid(width(), height());
}

void CPepmatchView::FitGrid(int cx, int cy) {
    if (!gridReady_) return;
    const QPoint topLeft = grid_->pos();
    if (cy < topLeft.y()) return;
    const int left = topLeft.x();
    grid_->resize(std::max(0, cx - 2 * left), std::max(0, cy - left - topLeft.y()));
    grid_->LockUpdate(true);
    FitGridColumns();
    grid_->LockUpdate(false);
    grid_->Redraw();
}

int CPepmatchView::GridClientWidth() const {
    // A grid not yet shown keeps the viewport it was made with until it is laid out: at the
    // first fit its cells' width comes from the grid's own size.
    if (grid_->isVisible()) return grid_->viewport()->width();
    int width = grid_->width() - 2 * grid_->frameWidth() - grid_->GetColWidth(0);
    const int rowsHeight = grid_->horizontalHeader()->sizeHint().height() +
                           grid_->GetRowCount() * grid_->verticalHeader()->defaultSectionSize();
    if (grid_->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
        rowsHeight > grid_->height() - 2 * grid_->frameWidth())
        width -= grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    return width;
}

void CPepmatchView::FitGridColumns() {
    const int columns = grid_->GetColCount();
    // The row headers stand beside the cells' area whatever their width.
    int sum = 0;
    for (int c = 1; c <= columns; ++c) sum += grid_->GetColWidth(c);
    const int free = GridClientWidth() - (sum + 1);
    const int ionColumns = columns - kIonGridMHColumn;  // 16
    if (ionColumns <= 0) return;
    const int share = free / ionColumns;
    const int residue = grid_->GetColWidth(kIonGridResidueColumn);
    if (residue + share < kRowHeaderWidth)
        grid_->SetColWidth(kIonGridResidueColumn, kRowHeaderWidth);
    else
        grid_->SetColWidth(kIonGridResidueColumn, residue + free - ionColumns * share);
    for (int c = kIonGridFirstIonColumn; c <= columns; ++c)
        grid_->SetColWidth(c, std::max(kNarrowestIonColumn, grid_->GetColWidth(c) + share));
}

}  // namespace zar
