#include "ZarmassPageBase.h"

#include "ZarmassPropertySheet.h"

#include "ZarDoc.h"
#include "controls/ColorLabel.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/TextHelpers.h"
#include "document/hub/PlotRange.h"
#include "grid/GridWnd.h"
#include "grids/ZarmassCalcGrid.h"
#include "interpretation/ZarmassDeconvolution.h"
#include "interpretation/ZarmassScanReader.h"
#include "rawfile/VRawfile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

constexpr unsigned kEditWidth = 13;
constexpr unsigned kEditDecimals = 2;
constexpr int kGridColumnWidth = 110;

const QString kAdductUnreadable = QStringLiteral(
    "The adduct ion mass value could not\nbe determined, therefore 1.0 will be\nused during the "
    "calculation.");
const QString kSelectACell = QStringLiteral("Please select one of the cells in the grid");

}  // namespace

QStringList ZarmassAdductEntries() {
    return {QStringLiteral("+ Proton   ( +1.008)"),   QStringLiteral("-  Proton   (  -1.008)"),
            QStringLiteral("+ Ammonium  ( +17.030)"), QStringLiteral("-  Ammonium  (  -17.030)"),
            QStringLiteral("+ Sodium  ( +22.990)"),   QStringLiteral("-  Sodium  (  -22.990)"),
            QStringLiteral("+ Potassium ( +39.098)"), QStringLiteral("-  Potassium (  -39.098)")};
}

bool ParseAdductText(const QString& text, double& adduct) {
    qsizetype digit = -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isDigit()) {
            digit = i;
            break;
        }
    if (digit < 0) return false;
    const qsizetype start = digit > 0 && text[digit - 1] == QLatin1Char('-') ? digit - 1 : digit;
    qsizetype end = digit;
    while (end < text.size() && (text[end].isDigit() || text[end] == QLatin1Char('.'))) ++end;
    bool ok = false;
    // Read as a single-precision number, as the entries were always read.
    const float value = text.mid(start, end - start).toFloat(&ok);
    if (!ok) return false;
    adduct = value;
    return true;
}

QString AverageMwText(const CZarmassDeconvolution& engine) {
    if (!engine.HasMW()) return QStringLiteral("Avg MW:");
    return QCFormat("Avg MW: %.2lf +/- %.2lf", engine.GetAverageMW(), engine.GetStdDev());
}

std::uintptr_t IonRowMz(double mz) {
    return static_cast<std::uintptr_t>(std::llround(RoundTo001(mz) * 100.0));
}

ZarmassWaitCursor::ZarmassWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

ZarmassWaitCursor::~ZarmassWaitCursor() {
    QApplication::restoreOverrideCursor();
}

CZarmassPageBase::CZarmassPageBase(int templateId, const QString& title,
                                   CZarmassPropertySheet* sheet, int colourSampleId)
    : CPropertyPageBase(templateId, title),
      sheet_(sheet),
      original_(new CDoubleRangeEditCtrl(this)),
      track_(new QCheckBox(QStringLiteral("Trac&k"), this)),
      adduct_(new QComboBox(this)),
      width_(new CDoubleEditCtrl(this)),
      labelMode_(new QButtonGroup(this)),
      colourSample_(new CColorLabel(QStringLiteral("Label color"), this)),
      colorButton_(new QPushButton(QStringLiteral("Co&lor..."), this)),
      resetColorButton_(new QPushButton(QStringLiteral("&Reset Color"), this)),
      grid_(new CZarmassCalcGrid(this)) {
    original_->Initialize(inputLow_, inputHigh_, kEditLower, kEditUpper, kEditDecimals);
    original_->setMaxLength(2 * kEditWidth + 1);
    width_->Initialize(widthMmu_, 0.0, 100000.0, kEditWidth, kEditDecimals);
    adduct_->addItems(ZarmassAdductEntries());
    auto* overwrite = new QRadioButton(QStringLiteral("O&verwrite"), this);
    auto* append = new QRadioButton(QStringLiteral("A&ppend"), this);
    labelMode_->addButton(overwrite, 0);
    labelMode_->addButton(append, 1);
    grid_->setObjectName(QStringLiteral("ComponentGrid"));
    AddControl(IDC_ZARMASS_ORIGINAL, original_);
    AddControl(IDC_ZARMASS_TRACK, track_);
    AddControl(IDC_ZARMASS_ADDUCT, adduct_);
    AddControl(IDC_ZARMASS_WIDTH, width_);
    AddControl(IDC_ZARMASS_OVERWRITE, overwrite);
    AddControl(IDC_ZARMASS_APPEND, append);
    AddControl(colourSampleId, colourSample_);
    AddControl(IDC_ZARMASS_COLOR, colorButton_);
    AddControl(IDC_ZARMASS_RESET_COLOR, resetColorButton_);
    AddControl(IDC_ZARMASS_GRID, grid_);
    connect(colorButton_, &QPushButton::clicked, this, [this] { OnColor(); });
    connect(resetColorButton_, &QPushButton::clicked, this, [this] { OnResetColor(); });
    messages_.on(WM_CONTEXTMENU, [this](const Message& m) {
        const auto packed = static_cast<unsigned>(m.lParam);
        OnContextMenu(QPoint(static_cast<std::int16_t>(packed & 0xFFFF),
                             static_cast<std::int16_t>((packed >> 16) & 0xFFFF)));
        return 0;
    });
    SetColour(colour_);
}

bool CZarmassPageBase::OnInitDialog() {
    if (gridReady_) return true;
    gridReady_ = true;
    grid_->SetGridOwner(sheet_);
    grid_->SetRowCount(kGridRows);
    grid_->SetColCount(1);
    grid_->SetValueRange(0, 1, QStringLiteral("Mass (u)"));
    grid_->SetColWidth(1, kGridColumnWidth);
    grid_->horizontalHeader()->setStretchLastSection(true);
    adduct_->setCurrentIndex(0);
    return true;
}

void CZarmassPageBase::DoDataExchange(CDataExchange& dx) {
    // The range is shown as the spectrum and the tracking give it; it is only read here.
    if (dx.IsSaving()) ExchangeRange(dx, original_, inputLow_, inputHigh_, mzLow_, mzHigh_);
    DDX_Double(dx, width_, widthMmu_);
    DDX_Radio(dx, labelMode_, mode_);
    DDX_Check(dx, track_, trackOn_);
}

bool CZarmassPageBase::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return CPropertyPageBase::event(e);
}

void CZarmassPageBase::AddFormRow(QGridLayout* layout, int row, const QString& label,
                                  QWidget* field, QWidget* extra) {
    auto* text = new QLabel(label, this);
    text->setBuddy(field);
    layout->addWidget(text, row, 0);
    layout->addWidget(field, row, 1);
    if (extra) layout->addWidget(extra, row, 2);
}

QLayout* CZarmassPageBase::MakeLabelRow() {
    auto* row = new QHBoxLayout;
    for (QAbstractButton* b : labelMode_->buttons()) row->addWidget(b);
    row->addSpacing(12);
    row->addWidget(colourSample_);
    row->addWidget(colorButton_);
    row->addWidget(resetColorButton_);
    row->addStretch(1);
    return row;
}

QPushButton* CZarmassPageBase::MakeButton(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    AddControl(id, button);
    return button;
}

// ---- grid -------------------------------------------------------------------------------

int CZarmassPageBase::CountValues() const {
    int count = 0;
    for (int r = 1; r <= grid_->GetRowCount(); ++r)
        if (!grid_->GetValueRowCol(r, 1).trimmed().isEmpty()) ++count;
    return count;
}

std::vector<double> CZarmassPageBase::GridMasses() const {
    std::vector<double> masses;
    for (int r = 1; r <= grid_->GetRowCount(); ++r) {
        double value = 0.0;
        const QString text = grid_->GetValueRowCol(r, 1).trimmed();
        if (!text.isEmpty() && ReadGridNumber(text, value)) masses.push_back(value);
    }
    return masses;
}

void CZarmassPageBase::recount() {
    valueCount_ = CountValues();
}

void CZarmassPageBase::SetSelectedMass(double mass) {
    OnInitDialog();
    grid_->SetValueRange(nextRow_, 1, RoundTo001(mass));
    nextRow_ = std::min(nextRow_ + 1, kGridRows);
    recount();
    EnableCalculation(valueCount_);
}

void CZarmassPageBase::SetCappedValue(int n) {
    nextRow_ = std::clamp(n, 1, kGridRows);
}

void CZarmassPageBase::ClearMassGrid() {
    grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
    nextRow_ = 1;
    valueCount_ = 0;
}

void CZarmassPageBase::OnClearAll() {
    ClearMassGrid();
    EnableCalculation(0);
}

void CZarmassPageBase::OnDelete() {
    recount();
    if (valueCount_ == 0) return;
    int row = 0, col = 0;
    if (!grid_->GetCurrentCell(row, col) || row < 1) {
        ZarMessageBox(kSelectACell);
        return;
    }
    // The values below the current row move up one row.
    const int rows = grid_->GetRowCount();
    for (int r = row; r < rows; ++r) {
        const QString below = grid_->GetValueRowCol(r + 1, 1);
        double number = 0.0;
        if (below.trimmed().isEmpty())
            grid_->ClearCells(CGXRange::cells(r, 1, r, 1));
        else if (ReadGridNumber(below, number))
            grid_->SetValueRange(r, 1, number);
        else
            grid_->SetValueRange(r, 1, below);
    }
    grid_->ClearCells(CGXRange::cells(rows, 1, rows, 1));
    nextRow_ = std::max(1, nextRow_ - 1);
    recount();
    EnableCalculation(valueCount_);
}

void CZarmassPageBase::OnRefresh() {
    recount();
    if (valueCount_ == 0) return;
    const std::vector<double> masses = GridMasses();
    grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
    int row = 1;
    for (double m : masses) {
        if (row > grid_->GetRowCount()) break;
        grid_->SetValueRange(row++, 1, QCFormat("%.13g", RoundTo001(m)));
    }
    recount();
    EnableCalculation(valueCount_);
}

void CZarmassPageBase::OnContextMenu(const QPoint& global) {
    QMenu menu(this);
    const bool any = CountValues() > 0;
    menu.addAction(QStringLiteral("&Clear All"), this, [this] { OnClearAll(); })->setEnabled(any);
    menu.addAction(QStringLiteral("&Delete"), this, [this] { OnDelete(); })->setEnabled(any);
    menu.addAction(QStringLiteral("&Refresh"), this, [this] { OnRefresh(); })->setEnabled(any);
    menu.exec(global);
}

// ---- ranges -----------------------------------------------------------------------------

void CZarmassPageBase::SetTrackedMassRange(double low, double high) {
    if (!track_->isChecked()) return;
    inputLow_ = RoundTo001(std::min(low, high));
    inputHigh_ = RoundTo001(std::max(low, high));
    original_->Initialize(inputLow_, inputHigh_, kEditLower, kEditUpper, kEditDecimals);
}

void CZarmassPageBase::SetSpectrumRanges(double low1, double high1, double low2, double high2) {
    secondLow_ = RoundTo001(low1);
    secondHigh_ = RoundTo001(high1);
    inputLow_ = RoundTo001(low2);
    inputHigh_ = RoundTo001(high2);
    original_->Initialize(secondLow_, secondHigh_, kEditLower, kEditUpper, kEditDecimals);
}

void CZarmassPageBase::ExchangeRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit,
                                     double storedLow, double storedHigh, double& low,
                                     double& high) {
    if (dx.Failed()) return;
    if (edit->text().trimmed().isEmpty()) {
        low = storedLow;
        high = storedHigh;
        return;
    }
    DDX_DoubleRange(dx, edit, low, high);
}

// ---- values -----------------------------------------------------------------------------

double CZarmassPageBase::ReadAdduct() {
    double adduct = 1.0;
    if (ParseAdductText(adduct_->currentText(), adduct)) return adduct;
    ZarMessageBox(kAdductUnreadable);
    adduct_->setCurrentIndex(0);
    return 1.0;
}

void CZarmassPageBase::ReadMasses(ZarmassParams& params) const {
    std::vector<double> masses = GridMasses();
    if (masses.size() > static_cast<std::size_t>(kZarmassMaxParamValues))
        masses.resize(kZarmassMaxParamValues);
    std::sort(masses.begin(), masses.end());
    params.count = static_cast<int>(masses.size());
    std::copy(masses.begin(), masses.end(), params.mz.begin());
}

bool CZarmassPageBase::ReadParams(ZarmassParams& params) {
    if (!UpdateData(true)) return false;
    params.mzLow = mzLow_;
    params.mzHigh = mzHigh_;
    params.adduct = ReadAdduct();
    ReadMasses(params);
    params.peakWidth = widthMmu_ * 0.001;
    params.overwriteLabels = mode_ == 0 ? 1 : 0;
    return true;
}

bool CZarmassPageBase::AppendChosen() const {
    return labelMode_->checkedId() == 1;
}

void CZarmassPageBase::SetColour(std::uint32_t colour) {
    colour_ = colour & 0xFFFFFF;
    colourSample_->SetTextColor(colour_);
}

void CZarmassPageBase::OnColor() {
    const QColor chosen = QColorDialog::getColor(ColorFromColorref(colour_), this);
    if (!chosen.isValid()) return;
    SetColour(static_cast<std::uint32_t>(chosen.red()) |
              (static_cast<std::uint32_t>(chosen.green()) << 8) |
              (static_cast<std::uint32_t>(chosen.blue()) << 16));
}

void CZarmassPageBase::OnResetColor() {
    SetColour(kDefaultColour);
}

// ---- the run and the main window --------------------------------------------------------

bool CZarmassPageBase::ReadCurrentSpectrum(bool allowRange, ZarmassSpectrum& spectrum,
                                           std::vector<PeakRecord>& peaks) {
    peaks.clear();
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* run = doc ? doc->GetRawFile() : nullptr;
    int first = 0, last = 0;
    if (doc && allowRange) doc->GetSelection(first, last);
    const bool ok = run && (first == 0 && last == 0
                                ? ReadZarmassScan(*run, doc->GetCurrentRetentionTime(), spectrum)
                                : ReadZarmassAverage(*run, first, last, spectrum));
    if (!ok) {
        ZarMessageBox(QString::fromLatin1(kZarmassReadFailedText));
        return false;
    }
    const SmoothingRecord& smoothing = doc->GetSmoothing();
    if (smoothing.IsOn()) {
        CSpectrumTransform transform;
        if (transform.SetSmoothing(smoothing.type, smoothing.points))
            spectrum.peaks = transform.Apply(spectrum.peaks);
    }
    peaks = ToPeakRecords(spectrum.peaks);
    return true;
}

void CZarmassPageBase::PostToOwner(unsigned message, WPARAM wParam, LPARAM lParam) {
    PostMessage(sheet_ ? sheet_->OwnerWindow() : nullptr, message, wParam, lParam);
}

void CZarmassPageBase::ReportLabels(const CZarmassDeconvolution& engine) {
    int row = 0;
    for (const CPeakLabel& label : engine.GetIdentifiedPeaks()) {
        if (!(label.apex.mass > 0.0)) continue;
        ++row;
        PostToOwner(kMsgZarmassInfo, IonRowMz(label.apex.mass), row);
        PostToOwner(kMsgZarmassResults, static_cast<WPARAM>(static_cast<LPARAM>(label.chargeState)),
                    row);
    }
}

}  // namespace zar
