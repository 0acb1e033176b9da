#include "PepmapOptionsDlg.h"

#include "PepmapView.h"

#include "MainFrame.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "databases/PepmapEngine.h"
#include "databases/PepmapRawFileSource.h"
#include "document/EnzymeTable.h"
#include "document/UpdateHints.h"
#include "grids/PepmapOptionsGrid.h"
#include "rawfile/VRawfile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zar {
namespace {

// The engine's sort mode of each item of "Sort by:".
constexpr int kSortModeOfItem[] = {kPepmapSortPosition, kPepmapSortLength, kPepmapSortMass,
                                   kPepmapSortScan};
const char* const kLimitNames[CPepmapOptionsDlg::kLimitRows] = {"Length", "Mass", "Site proximity",
                                                                "Undigested sites"};
const QColor kDisabledCells(200, 200, 200);

int ItemOfSortMode(int mode) {
    const auto at = std::find(std::begin(kSortModeOfItem), std::end(kSortModeOfItem), mode);
    return at == std::end(kSortModeOfItem) ? 0 : static_cast<int>(at - std::begin(kSortModeOfItem));
}

QPointer<CPepmapOptionsDlg>& OpenDialog() {
    static QPointer<CPepmapOptionsDlg> dialog;
    return dialog;
}

CPepmapEngine* Engine() {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetPepmapEngine() : nullptr;
}

void SayNoEngine() {
    ZarMessageBox(QStringLiteral("Unable to access the Pepmap class information."),
                  MB_OK | MB_ICONEXCLAMATION);
}

// Whole numbers of a limit, as the grid shows them.
int WholePart(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), -2147483647.0, 2147483647.0));
}

}  // namespace

CPepmapOptionsDlg::CPepmapOptionsDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("Pepmap Options"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // Left: the digest.
    auto* digest = new QVBoxLayout;
    auto* enzymeForm = new QFormLayout;
    enzymeList_ = new QComboBox(this);
    enzymeForm->addRow(QStringLiteral("&Enzyme:"), enzymeList_);
    digest->addLayout(enzymeForm);
    completeDigestBox_ = new QCheckBox(QStringLiteral("Complete &digest"), this);
    incompleteDigestBox_ = new QCheckBox(QStringLiteral("&Incomplete digest"), this);
    digest->addWidget(completeDigestBox_);
    digest->addWidget(incompleteDigestBox_);
    auto* disulfides = new QGroupBox(QStringLiteral("Disulfides"), this);
    auto* disulfideColumn = new QVBoxLayout(disulfides);
    disulfideGroup_ = new QButtonGroup(this);
    const char* const modes[] = {"&No disulfides", "&Reduced disulfides", "&Specific disulfides",
                                 "All disul&fides"};
    for (int mode = 0; mode < 4; ++mode) {
        auto* radio = new QRadioButton(QString::fromLatin1(modes[mode]), disulfides);
        disulfideGroup_->addButton(radio, mode);
        disulfideColumn->addWidget(radio);
        AddControl(kNoDisulfidesId + mode, radio);
    }
    digest->addWidget(disulfides);
    limitFragmentsBox_ = new QCheckBox(QStringLiteral("&Limit fragments"), this);
    digest->addWidget(limitFragmentsBox_);
    grid_ = new CPepmapOptionsGrid(this);
    grid_->setObjectName(QStringLiteral("DigestFragmentsGrid"));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    digest->addWidget(grid_);
    digest->addStretch(1);
    columns->addLayout(digest, 1);

    // Right: display and matching.
    auto* right = new QVBoxLayout;
    auto* display = new QGroupBox(QStringLiteral("Display"), this);
    auto* displayColumn = new QVBoxLayout(display);
    showNeighboursBox_ = new QCheckBox(QStringLiteral("Display neig&hboring amino acids"), display);
    showTimesBox_ = new QCheckBox(QStringLiteral("Dis&play retention times"), display);
    monoisotopicBox_ = new QCheckBox(QStringLiteral("&Use monoisotopic masses"), display);
    displayColumn->addWidget(showNeighboursBox_);
    displayColumn->addWidget(showTimesBox_);
    displayColumn->addWidget(monoisotopicBox_);
    auto* sortForm = new QFormLayout;
    sortBy_ = new QComboBox(display);
    sortBy_->addItems({QStringLiteral("Position"), QStringLiteral("Length"), QStringLiteral("Mass"),
                       QStringLiteral("Scan/RT")});
    displayOrder_ = new QComboBox(display);
    displayOrder_->addItems({QStringLiteral("Ascending"), QStringLiteral("Descending")});
    sortForm->addRow(QStringLiteral("Sort &by:"), sortBy_);
    sortForm->addRow(QStringLiteral("&Order:"), displayOrder_);
    displayColumn->addLayout(sortForm);
    right->addWidget(display);

    auto* matching = new QGroupBox(QStringLiteral("Pepmap"), this);
    auto* matchForm = new QFormLayout(matching);
    auto* limitsRow = new QHBoxLayout;
    scanLimits_ = new CIntRangeEditCtrl(matching);
    scanLimits_->SetLimits(0, 2147483647);
    scanLimits_->setMinimumWidth(
        scanLimits_->fontMetrics().horizontalAdvance(QStringLiteral("000000-000000")) + 12);
    trackBox_ = new QCheckBox(QStringLiteral("Trac&k"), matching);
    limitsRow->addWidget(scanLimits_, 1);
    limitsRow->addWidget(trackBox_);
    matchForm->addRow(QStringLiteral("Scan li&mits:"), limitsRow);
    scanWidthEdit_ = new CIntEditCtrl(matching);
    matchForm->addRow(QStringLiteral("Scan &width:"), scanWidthEdit_);
    thresholdEdit_ = new CDoubleEditCtrl(matching);
    matchForm->addRow(QStringLiteral("&Threshold (% of TIC):"), thresholdEdit_);
    labelMode_ = new QComboBox(matching);
    labelMode_->addItems(
        {QStringLiteral("None"), QStringLiteral("Overwrite"), QStringLiteral("Append")});
    matchForm->addRow(QStringLiteral("L&abels:"), labelMode_);
    right->addWidget(matching);
    right->addStretch(1);
    columns->addLayout(right, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    QPushButton* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(apply, &QPushButton::clicked, this, &CPepmapOptionsDlg::OnApply);
    connect(close, &QPushButton::clicked, this, &CPepmapOptionsDlg::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });
    connect(limitFragmentsBox_, &QCheckBox::clicked, this, &CPepmapOptionsDlg::OnLimitFragments);

    AddControl(kEnzymeId, enzymeList_);
    AddControl(kCompleteDigestId, completeDigestBox_);
    AddControl(kIncompleteDigestId, incompleteDigestBox_);
    AddControl(kShowNeighboursId, showNeighboursBox_);
    AddControl(kShowTimesId, showTimesBox_);
    AddControl(kMonoisotopicId, monoisotopicBox_);
    AddControl(kLimitFragmentsId, limitFragmentsBox_);
    AddControl(kGridId, grid_);
    AddControl(kSortById, sortBy_);
    AddControl(kDisplayOrderId, displayOrder_);
    AddControl(kScanLimitsId, scanLimits_);
    AddControl(kTrackId, trackBox_);
    AddControl(kScanWidthId, scanWidthEdit_);
    AddControl(kThresholdId, thresholdEdit_);
    AddControl(kLabelModeId, labelMode_);
    AddControl(1, ok);
    AddControl(kApplyId, apply);
    AddControl(2, close);
    AddControl(9, help);
    SetToolTipText(kEnzymeId,
                   QStringLiteral("Select the enzyme that will be used to digest the sequence"));
    SetToolTipText(
        kThresholdId,
        QStringLiteral("Enter the minimum threshold to consider for the Pepmap calculation"));
    SetToolTipText(kLabelModeId,
                   QStringLiteral("Select the labeling mode (none, overwrite, append)"));

    // The trace view's zoomed range reaches the dialog through the engine while it is open.
    if (CPepmapEngine* engine = Engine())
        engine->SetScanRangeListener(
            [this](double start, double end) { SetScanRangeFromTimes(start, end); });
}

CPepmapOptionsDlg::~CPepmapOptionsDlg() {
    if (CPepmapEngine* engine = Engine()) engine->SetScanRangeListener({});
}

CPepmapOptionsDlg* CPepmapOptionsDlg::Current() {
    return OpenDialog().data();
}

CPepmapOptionsDlg* CPepmapOptionsDlg::ShowOptionsDialog(CPepmapView* view) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CPepmapEngine* engine = doc ? doc->GetPepmapEngine() : nullptr;
    if (!engine) return nullptr;
    QPointer<CPepmapOptionsDlg>& dialog = OpenDialog();
    if (!dialog) dialog = new CPepmapOptionsDlg(CMainFrame::GetMainFrame());
    dialog->SetView(view);
    dialog->EnsureInitialized();
    dialog->enableViewButtons(false);
    if (CEnzymeTable* table = doc->GetEnzymeTable()) engine->BuildEnzymeRules(table->GetRecords());
    PepmapOptions options;
    engine->GetOptions(options);
    dialog->SetOptions(options);
    if (CEnzymeTable* table = doc->GetEnzymeTable())
        dialog->SetEnzymeRecords(table->GetRecords().data());
    // Specific bonds need the pairing made in the Disulfide Bonds dialog.
    if (QWidget* specific = dialog->GetDlgItem(kNoDisulfidesId + kPepmapSpecificDisulfides))
        specific->setEnabled(engine->HasBondMarkers());
    dialog->show();
    dialog->raise();
    return dialog;
}

bool CPepmapOptionsDlg::OnInitDialog() {
    if (!gridReady_) {
        grid_->SetRowCount(kLimitRows);
        grid_->SetColCount(2);
        grid_->SetValueRange(0, 1, QStringLiteral("Min"));
        grid_->SetValueRange(0, 2, QStringLiteral("Max"));
        for (int row = 1; row <= kLimitRows; ++row)
            grid_->SetValueRange(row, 0, QString::fromLatin1(kLimitNames[row - 1]));
        grid_->SetColWidth(0, 110);
        grid_->SetColWidth(1, 70);
        grid_->SetColWidth(2, 70);
        // The four limits fit without scrolling.
        grid_->setFixedSize(110 + 2 * 70 + 2 * grid_->frameWidth() + 2,
                            grid_->horizontalHeader()->sizeHint().height() +
                                kLimitRows * grid_->verticalHeader()->defaultSectionSize() +
                                2 * grid_->frameWidth() + 2);
        grid_->SetStyleRange(CGXRange::cells(1, 1, kLimitRows, 2),
                             CGXStyle().setValueType(GridValueType::Number));
        gridReady_ = true;
    }
    thresholdEdit_->Initialize(threshold_, 0.0, 100.0, 11, 2);
    scanWidthEdit_->Initialize(scanWidth_, 0, 100);
    if (records_) SetEnzymeRecords(records_);
    CheckRawFile();
    fillLimitsGrid();
    styleLimitsGrid();
    UpdateData(false);
    return true;
}

void CPepmapOptionsDlg::showEvent(QShowEvent* event) {
    CDialogBase::showEvent(event);
    if (placed_) return;
    placed_ = true;
    // First showing: beside the main window's right edge, as far as the screen allows.
    QWidget* parent = parentWidget();
    const QScreen* screen = parent ? parent->screen() : this->screen();
    if (!parent || !screen) return;
    const QRect area = screen->availableGeometry();
    const QRect owner = parent->frameGeometry();
    const QSize size = frameGeometry().size();
    move(std::min(area.right() - size.width(), owner.right()),
         std::min(area.bottom() - size.height(), owner.top()));
}

void CPepmapOptionsDlg::SetOptions(const PepmapOptions& o) {
    threshold_ = o.threshold;
    disulfideMode_ = o.disulfideMode;
    labelItem_ = o.labelMode;
    orderItem_ = o.descending ? 1 : 0;
    sortItem_ = ItemOfSortMode(o.sortMode);
    scanWidth_ = o.scanWidth;
    completeDigest_ = o.completeDigest;
    incompleteDigest_ = o.incompleteDigest;
    limitFragments_ = o.limitFragments;
    showNeighbours_ = o.showNeighbours;
    enzyme_ = o.enzyme;
    showTimes_ = o.showTimes;
    monoisotopic_ = o.monoisotopic;
    massMin_ = o.massMin;
    massMax_ = o.massMax;
    lengthMin_ = WholePart(o.lengthMin);
    lengthMax_ = WholePart(o.lengthMax);
    siteProximityMin_ = WholePart(o.siteProximityMin);
    siteProximityMax_ = WholePart(o.siteProximityMax);
    undigestedMin_ = WholePart(o.undigestedSitesMin);
    undigestedMax_ = WholePart(o.undigestedSitesMax);
    if (!gridReady_) return;
    fillLimitsGrid();
    styleLimitsGrid();
    UpdateData(false);
}

void CPepmapOptionsDlg::SetEnzymeRecords(const EnzymeRecord* records) {
    records_ = records;
    if (!gridReady_ || !records_) return;
    enzymeList_->clear();
    for (int k = 1; k < kEnzymeSlotCount; ++k)
        if (!records_[k].name.isEmpty()) enzymeList_->addItem(records_[k].name);
    if (enzyme_ >= 0 && enzyme_ < enzymeList_->count()) enzymeList_->setCurrentIndex(enzyme_);
}

void CPepmapOptionsDlg::SetScanRange(int first, int last) {
    if (!trackBox_->isChecked()) return;
    firstScan_ = first;
    lastScan_ = last < 1 ? first : last;
    hasScanLimits_ = true;
    scanLimits_->SetRange(firstScan_, lastScan_);
}

void CPepmapOptionsDlg::SetScanRangeFromTimes(double startTime, double endTime) {
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* raw = doc ? doc->GetRawFile() : nullptr;
    // Peptides are matched in the full scans of the range.
    int first = 0;
    int last = 0;
    if (!raw || !raw->isOpen() || !raw->scanRangeForTimes(startTime, endTime, 1, first, last))
        return;
    SetScanRange(first, last);
}

bool CPepmapOptionsDlg::CheckRawFile() {
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* raw = doc ? doc->GetRawFile() : nullptr;
    PepmapRunSummary summary;
    const auto result = raw ? ReadPepmapRunSummary(*raw, doc->GetRawFilePath(), &summary)
                            : PepmapSpectrumSource::OpenResult::kOpenFailed;
    PepmapMessageBoxProgress boxes;
    if (ShowPepmapOpenFailure(result, boxes)) return false;
    firstScan_ = summary.firstScan;
    lastScan_ = summary.lastScan;
    hasScanLimits_ = true;
    tic_ = summary.tic;
    return true;
}

void CPepmapOptionsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Check(dx, completeDigestBox_, completeDigest_);
    DDX_Check(dx, incompleteDigestBox_, incompleteDigest_);
    DDX_Radio(dx, disulfideGroup_, disulfideMode_);
    DDX_Check(dx, showNeighboursBox_, showNeighbours_);
    DDX_Check(dx, showTimesBox_, showTimes_);
    DDX_Check(dx, monoisotopicBox_, monoisotopic_);
    DDX_Check(dx, limitFragmentsBox_, limitFragments_);
    DDX_Check(dx, trackBox_, track_);
    DDX_Int(dx, scanWidthEdit_, scanWidth_);
    DDX_Double(dx, thresholdEdit_, threshold_);
    if (!dx.IsSaving()) {
        if (enzyme_ >= 0 && enzyme_ < enzymeList_->count()) enzymeList_->setCurrentIndex(enzyme_);
        sortBy_->setCurrentIndex(std::clamp(sortItem_, 0, 3));
        displayOrder_->setCurrentIndex(std::clamp(orderItem_, 0, 1));
        labelMode_->setCurrentIndex(std::clamp(labelItem_, 0, 2));
        if (hasScanLimits_)
            scanLimits_->SetRange(firstScan_, lastScan_);
        else
            scanLimits_->clear();
        return;
    }
    if (dx.Failed()) return;
    if (enzymeList_->currentIndex() >= 0) enzyme_ = enzymeList_->currentIndex();
    sortItem_ = std::max(sortBy_->currentIndex(), 0);
    orderItem_ = std::max(displayOrder_->currentIndex(), 0);
    labelItem_ = std::max(labelMode_->currentIndex(), 0);
    if (scanLimits_->text().trimmed().isEmpty()) {
        hasScanLimits_ = false;
    } else if (scanLimits_->GetRange(firstScan_, lastScan_)) {
        hasScanLimits_ = true;
    } else {
        dx.Fail(scanLimits_,
                QStringLiteral(
                    "Please enter the scan limits as first-last, the first not above the last."));
    }
}

void CPepmapOptionsDlg::fillLimitsGrid() {
    if (!gridReady_) return;
    const double values[kLimitRows][2] = {{double(lengthMin_), double(lengthMax_)},
                                          {massMin_, massMax_},
                                          {double(siteProximityMin_), double(siteProximityMax_)},
                                          {double(undigestedMin_), double(undigestedMax_)}};
    for (int row = 1; row <= kLimitRows; ++row)
        for (int col = 1; col <= 2; ++col) grid_->SetValueRange(row, col, values[row - 1][col - 1]);
}

void CPepmapOptionsDlg::styleLimitsGrid() {
    if (!gridReady_) return;
    const bool on = limitFragmentsBox_->isChecked();
    grid_->setEnabled(on);
    grid_->SetStyleRange(CGXRange::cells(1, 1, kLimitRows, 2),
                         CGXStyle().setInterior(on ? QColor(Qt::white) : kDisabledCells));
    grid_->Redraw();
}

void CPepmapOptionsDlg::OnLimitFragments() {
    limitFragments_ = limitFragmentsBox_->isChecked() ? 1 : 0;
    styleLimitsGrid();
}

bool CPepmapOptionsDlg::ReadOptions(PepmapOptions* o) {
    if (!UpdateData(true)) return false;
    CPepmapEngine* engine = Engine();
    *o = engine ? engine->Options() : PepmapOptions();
    o->labelMode = labelItem_;
    o->descending = orderItem_;
    o->sortMode = kSortModeOfItem[std::clamp(sortItem_, 0, 3)];
    o->disulfideMode = disulfideMode_;
    o->threshold = threshold_;
    o->tic = tic_;
    o->enzyme = enzyme_;
    // Without scan limits the engine keeps its own.
    if (hasScanLimits_) {
        o->firstScan = firstScan_;
        o->lastScan = lastScan_;
    }
    o->scanWidth = scanWidth_;
    o->completeDigest = completeDigest_;
    o->incompleteDigest = incompleteDigest_;
    o->showNeighbours = showNeighbours_;
    o->showTimes = showTimes_;
    o->limitFragments = limitFragments_;
    o->monoisotopic = monoisotopic_;
    if (limitFragments_) {
        double cell[kLimitRows][2] = {};
        for (int row = 1; row <= kLimitRows; ++row)
            for (int col = 1; col <= 2; ++col) {
                double value = 0.0;
                if (ParseDouble(grid_->GetValueRowCol(row, col).trimmed(), value) &&
                    std::isfinite(value))
                    cell[row - 1][col - 1] = value;
            }
        o->lengthMin = cell[0][0];
        o->lengthMax = cell[0][1];
        o->massMin = cell[1][0];
        o->massMax = cell[1][1];
        o->siteProximityMin = cell[2][0];
        o->siteProximityMax = cell[2][1];
        o->undigestedSitesMin = cell[3][0];
        o->undigestedSitesMax = cell[3][1];
        WidenUnsetLimits(*o);
    } else {
        o->lengthMin = 0.0;
        o->lengthMax = kPepmapWideLength;
        o->massMin = 0.0;
        o->massMax = kPepmapWideMass;
        o->siteProximityMin = 0.0;
        o->siteProximityMax = kPepmapWideSites;
        o->undigestedSitesMin = 0.0;
        o->undigestedSitesMax = kPepmapWideSites;
    }
    return true;
}

void CPepmapOptionsDlg::apply() {
    CZarDoc* doc = CZarDoc::GetDoc();
    CPepmapEngine* engine = doc ? doc->GetPepmapEngine() : nullptr;
    if (!engine) {
        SayNoEngine();
        return;
    }
    PepmapOptions options;
    if (!ReadOptions(&options)) return;
    engine->SetOptions(options);
    SetOptions(options);
    // The table and the trace's labels follow: sort, columns, masses, labels.
    engine->SortPeptides(kPepmapSortStored);
    doc->UpdateAllViews(nullptr, kHintPepmapPeptides);
}

void CPepmapOptionsDlg::OnApply() {
    apply();
}

void CPepmapOptionsDlg::OnOK() {
    if (Engine()) {
        PepmapOptions check;
        if (!ReadOptions(&check)) return;  // the value out of range is shown; the dialog stays
    }
    apply();
    closeDialog();
}

void CPepmapOptionsDlg::reject() {
    if (!Engine()) SayNoEngine();
    closeDialog();
}

void CPepmapOptionsDlg::closeDialog() {
    enableViewButtons(true);
    if (OpenDialog() == this) OpenDialog().clear();
    hide();
    deleteLater();
}

void CPepmapOptionsDlg::enableViewButtons(bool enable) {
    if (view_) view_->SetOptionsDialogOpen(!enable);
}

}  // namespace zar
