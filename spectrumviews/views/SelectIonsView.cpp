#include "SelectIonsView.h"

#include "IonGridSink.h"
#include "PaneSupport.h"
#include "app/ZarApp.h"
#include "app/grids/ClipboardWnd.h"
#include "app/grids/DisplayGrids.h"
#include "app/grids/ExcelExport.h"
#include "controls/DialogBase.h"
#include "core/MessageBox.h"
#include "databases/DtaIons.h"
#include "document/MassmapResults.h"
#include "document/SearchResults.h"
#include "document/SorvexResults.h"
#include "document/TextHelpers.h"
#include "document/hub/ZarDoc.h"
#include "gui/PrintJob.h"
#include "spectrumviews/PepmatchData.h"

#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

namespace {

// What a search's static modifications add to the peptide termini ("+Nterm-pep=", "+Cterm-pep=").
TerminalMassShifts TerminalShiftsOf(const QString& modificationText) {
    SequenceMassTable unused = SequenceMassTable::For(true);
    PeptideModifications modifications;
    ParseModifications(modificationText, unused, modifications);
    return {modifications.nTerminal, modifications.cTerminal};
}

CSearchResults* ResultSetOfKind(CZarDoc* doc, int kind) {
    if (!doc) return nullptr;
    switch (kind) {
        case 1:
            return doc->GetSorvexResults();
        case 2:
            return doc->GetMassmapResults();
        default:
            return nullptr;
    }
}

}  // namespace

CSelectIonsView::CSelectIonsView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent),
      controls_(std::make_unique<CControlTable>()),
      sequenceEdit_(new QLineEdit(this)),
      massTypeGroup_(new QButtonGroup(this)),
      grid_(new CIonListGrid(this)) {
    setObjectName(QStringLiteral("CSelectIonsView"));
    grid_->setObjectName(QStringLiteral("SelectIonsGrid"));
    controls_->AddControl(kSequenceId, sequenceEdit_);
    controls_->AddControl(kGridId, grid_);
    auto* sequenceLabel = new QLabel(QStringLiteral("Sequence:"), this);
    sequenceLabel->setBuddy(sequenceEdit_);

    auto* massBox = new QGroupBox(QStringLiteral("Mass type"), this);
    auto* massLayout = new QVBoxLayout(massBox);
    const char* massTexts[] = {"&Average", "&Monoisotopic"};
    for (int k = 0; k < 2; ++k) {
        auto* b = new QRadioButton(QString::fromLatin1(massTexts[k]), massBox);
        massTypeGroup_->addButton(b, k);
        controls_->AddControl(9010 + k, b);
        massLayout->addWidget(b);
    }
    auto* seriesBox = new QGroupBox(QStringLiteral("Ion series"), this);
    auto* seriesGrid = new QGridLayout(seriesBox);
    boxes_.Create(this, *controls_, seriesGrid, nullptr);
    auto* update = new QPushButton(QStringLiteral("&Update"), this);
    update->setObjectName(QStringLiteral("Button%1").arg(kUpdateId));
    controls_->AddControl(kUpdateId, update);
    connect(update, &QPushButton::clicked, this, &CSelectIonsView::OnUpdateIons);
    connect(sequenceEdit_, &QLineEdit::returnPressed, this, &CSelectIonsView::OnUpdateIons);

    auto* top = new QHBoxLayout;
    top->addWidget(sequenceLabel);
    top->addWidget(sequenceEdit_, 1);
    top->addWidget(update);
    auto* choices = new QHBoxLayout;
    choices->addWidget(massBox);
    choices->addWidget(seriesBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(choices);
    layout->addWidget(grid_, 1);
    UpdateData(false);
}

CSelectIonsView::~CSelectIonsView() = default;

QWidget* CSelectIonsView::Control(int id) const {
    return controls_->GetDlgItem(id);
}

bool CSelectIonsView::UpdateData(bool save) {
    if (save) {
        sequence = sequenceEdit_->text().trimmed();
        if (massTypeGroup_->checkedButton()) massType = massTypeGroup_->checkedId();
        boxes_.Save(series);
    } else {
        sequenceEdit_->setText(sequence);
        if (QAbstractButton* b = massTypeGroup_->button(massType)) b->setChecked(true);
        boxes_.Load(series);
    }
    return true;
}

void CSelectIonsView::OnInitialUpdate() {
    if (setUp_) return;
    SetUpIonGridColumns(*grid_);
    SetIonGridPrintMargins(*grid_);
    GrowGrid(rowCapacity_);
    setUp_ = true;
}

void CSelectIonsView::GrowGrid(int rows) {
    rowCapacity_ = rows;
    grid_->SetRowCount(rows);
    grid_->SetColWidth(kIonGridResidueColumn, kResidueColumnWidth);
    const int massWidth = IonMassColumnWidth(*grid_, kIonColumnWidth);
    for (int c = kIonGridMHColumn; c <= kIonGridColumnCount; ++c) grid_->SetColWidth(c, massWidth);
}

void CSelectIonsView::Display(const SelectedResult& item) {
    ShowSequenceIons(item.kind, item.hit);
}

void CSelectIonsView::ShowSequenceIons(int kind, HitNumber number) {
    CSearchResults* set = ResultSetOfKind(CZarDoc::GetDoc(), kind);
    if (!set) return;
    hit_ = number;
    sequence.clear();
    const SearchHitRecord* hit = set->FindHit(number);
    if (hit && !hit->peptide.isEmpty()) sequence = ExtractPeptideSequence(hit->peptide);
    if (sequence.isEmpty()) return;
    SetTitle(QStringLiteral("Sequence Ions - ") + sequence);
    massType = hit->monoisotopicPrecursor != 0 ? 1 : 0;
    staticShifts_ = StaticResidueShifts(set->Parameters().modificationText, massType != 0);
    terminalShifts_ = TerminalShiftsOf(set->Parameters().modificationText);
    UpdateData(false);
    OnInitialUpdate();
    if (sequence.size() > rowCapacity_) GrowGrid(static_cast<int>(sequence.size()));
    writeResidues();
    // The hit's ions are shown at once, in the series and mass type the form shows.
    calculateIons();
}

void CSelectIonsView::writeResidues() {
    // The table shows this peptide alone: the ions of the one before go.
    CIonGridSink sink(*grid_);
    grid_->LockUpdate(true);
    sink.clearCells(1, 1, grid_->GetRowCount(), grid_->GetColCount());
    for (int i = 1; i <= static_cast<int>(sequence.size()) && i <= grid_->GetRowCount(); ++i)
        sink.setTextCell(i, kIonGridResidueColumn,
                         QStringLiteral(" ") + sequence[i - 1] + QStringLiteral(" "));
    grid_->LockUpdate(false);
    grid_->Redraw();
}

void CSelectIonsView::OnUpdateIons() {
    UpdateData(true);
    if (sequence.isEmpty()) {
        ZarMessageBox(QStringLiteral("Please enter a sequence"));
        return;
    }
    calculateIons();
}

bool CSelectIonsView::calculateIons() {
    CZarDoc* doc = CZarDoc::GetDoc();
    CPepmatchData* engine = doc ? doc->GetPepmatchData() : nullptr;
    if (!engine || sequence.isEmpty()) return false;
    OnInitialUpdate();
    // A sequence longer than the table makes room for all of its residues.
    if (sequence.size() > rowCapacity_) GrowGrid(static_cast<int>(sequence.size()));
    PepmatchOptions selection;
    selection.monoisotopic = massType;
    selection.series = series;
    CIonGridSink sink(*grid_);
    engine->SetTargetGrid(&sink);
    grid_->LockUpdate(true);
    engine->CalculateSequenceIons(sequence, selection, staticShifts_, terminalShifts_);
    grid_->LockUpdate(false);
    engine->SetTargetGrid(nullptr);
    grid_->Redraw();
    return true;
}

void CSelectIonsView::OnSelectAll() {
    UpdateData(true);
    series = AllSeriesFlags();
    UpdateData(false);
}

void CSelectIonsView::OnSelectDefault() {
    UpdateData(true);
    series = DefaultSeriesFlags();
    UpdateData(false);
}

void CSelectIonsView::OnSelectNone() {
    UpdateData(true);
    series.fill(0);
    UpdateData(false);
}

void CSelectIonsView::OnExportExcel() {
    CZarDoc* doc = CZarDoc::GetDoc();
    CClipboardWnd guard(nullptr);
    ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(), QStringLiteral("SelectIons.xlt"),
                  QStringLiteral("SelectIons"));
}

void CSelectIonsView::print() {
    grid_->PrintWithDialog(ProgramPrinter(), this,
                           Title().isEmpty() ? QStringLiteral("Select Ions") : Title());
}

bool CSelectIonsView::IsCommandEnabled(int id) const {
    switch (id) {
        case ID_SELECT_ALL:
        case ID_SELECT_NONE:
        case ID_SELECT_DEFAULT:
        case ID_EXPORT_EXCEL:
        case kPrintCommand:
            return true;
        // No XML layout of the table is defined: these answer nothing.
        case ID_EXPORT_XML:
        case ID_EXPORT_XML_OTHER:
        default:
            return false;
    }
}

void CSelectIonsView::OnCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    switch (id) {
        case ID_SELECT_ALL:
            OnSelectAll();
            break;
        case ID_SELECT_NONE:
            OnSelectNone();
            break;
        case ID_SELECT_DEFAULT:
            OnSelectDefault();
            break;
        case ID_EXPORT_EXCEL:
            OnExportExcel();
            break;
        case kPrintCommand:
            print();
            break;
        default:
            break;
    }
}

std::unique_ptr<QMenu> CSelectIonsView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int id) { OnCommand(id); };
    QMenu* select = menu->addMenu(QStringLiteral("&Select Ions"));
    AddCommandItem(select, ID_SELECT_ALL, "&All", run);
    AddCommandItem(select, ID_SELECT_NONE, "&None", run);
    AddCommandItem(select, ID_SELECT_DEFAULT, "&Default", run);
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    AddCommandItem(exportMenu, ID_EXPORT_EXCEL, "&Excel", run);
    AddCommandItem(exportMenu, ID_EXPORT_XML, "Export to XML", run);
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsCommandEnabled(id)); });
    return menu;
}

bool CSelectIonsView::event(QEvent* e) {
    // A right click on the table.
    if (IsGridContextMenu(e)) {
        BuildContextMenu()->exec(QCursor::pos());
        return true;
    }
    return CResultsFormView::event(e);
}

void CSelectIonsView::contextMenuEvent(QContextMenuEvent* event) {
    if (FollowsGridRightClick(event, grid_)) return;
    BuildContextMenu()->exec(event->globalPos());
}

}  // namespace zar
