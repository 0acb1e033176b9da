#include "SequenceCalcDlg.h"

#include "ZarApp.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "com/ComError.h"
#include "core/Log.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

LPCWSTR Wide(const QString& text) {
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

// A failing control call ends the step and is logged; the dialog stays usable.
template <class F>
void Guarded(const char* what, F&& step) {
    try {
        step();
    } catch (const CComError& e) {
        LogLine(QStringLiteral("Sequence Calculator: %1 failed: %2")
                    .arg(QLatin1String(what), QString::fromLocal8Bit(e.what())));
    }
}

}  // namespace

CSequenceCalcDlg::CSequenceCalcDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("Sequence Calculator"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Sequence:"), this), 0, 0);
    sequenceEdit_ = new QLineEdit(this);
    sequenceEdit_->setMaxLength(kMaxSequence);
    top->addWidget(sequenceEdit_, 0, 1, 1, 3);
    weight_ = new QLabel(QStringLiteral("Weight:"), this);
    length_ = new QLabel(QStringLiteral("Length:"), this);
    averageMass_ = new QLabel(QStringLiteral("Average Mass:"), this);
    top->addWidget(weight_, 1, 1);
    top->addWidget(length_, 1, 2);
    top->addWidget(averageMass_, 1, 3);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(2, 1);
    top->setColumnStretch(3, 1);

    auto* ions = new QGroupBox(QStringLiteral("Ions:"), this);
    auto* ionRow = new QHBoxLayout(ions);
    checkA_ = new QCheckBox(QStringLiteral("&A"), ions);
    checkB_ = new QCheckBox(QStringLiteral("&B"), ions);
    checkY_ = new QCheckBox(QStringLiteral("&Y"), ions);
    ionRow->addWidget(checkA_);
    ionRow->addWidget(checkB_);
    ionRow->addWidget(checkY_);
    auto* mass = new QGroupBox(QStringLiteral("Mass type:"), this);
    auto* massRow = new QHBoxLayout(mass);
    auto* average = new QRadioButton(QStringLiteral("A&verage"), mass);
    auto* mono = new QRadioButton(QStringLiteral("&Monoisotopic"), mass);
    massRow->addWidget(average);
    massRow->addWidget(mono);
    massGroup_ = new QButtonGroup(this);
    massGroup_->addButton(average, 0);
    massGroup_->addButton(mono, 1);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* update =
        buttons->addButton(QStringLiteral("&Update"), QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    update->setDefault(true);
    connect(update, &QPushButton::clicked, this, &CSequenceCalcDlg::OnUpdate);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });

    auto* choices = new QHBoxLayout;
    choices->addWidget(ions);
    choices->addWidget(mass);
    choices->addStretch(1);
    auto* upper = new QHBoxLayout;
    auto* fields = new QVBoxLayout;
    fields->addLayout(top);
    fields->addLayout(choices);
    upper->addLayout(fields, 1);
    upper->addWidget(buttons);
    layout->addLayout(upper);

    plotArea_ = new QWidget(this);
    plotArea_->setMinimumSize(kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
    plotArea_->setLayout(new QVBoxLayout);
    plotArea_->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plotArea_, 1);

    AddControl(kSequenceId, sequenceEdit_);
    AddControl(kWeightId, weight_);
    AddControl(kLengthId, length_);
    AddControl(kAverageMassId, averageMass_);
    AddControl(kShowAId, checkA_);
    AddControl(kShowBId, checkB_);
    AddControl(kShowYId, checkY_);
    AddControl(kAverageId, average);
    AddControl(kMonoisotopicId, mono);
    AddControl(1, update);
    AddControl(2, close);
    AddControl(9, help);
    SetToolTipText(1, QStringLiteral("Accept changes"));
    display_.style = CVXSpecDisplay::kStick;
}

CSequenceCalcDlg::~CSequenceCalcDlg() {
    if (control_) control_->Destroy();
}

void CSequenceCalcDlg::Create(QWidget*) {
    EnsureInitialized();
}

bool CSequenceCalcDlg::OnInitDialog() {
    if (!controlCreated_) {
        auto control = std::make_unique<CSpec>();
        if (control->Create(plotArea_, QRect(0, 0, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop),
                            0)) {
            Guarded("setting up the plot", [&] {
                control->Call(&ISpec::Initialize);
                control->Call(&ISpec::put_NoDataText,
                              Wide(QStringLiteral("No spectral data available")));
            });
            plotArea_->layout()->addWidget(control.get());
            control->RedrawControl();
            control_ = std::move(control);
        }
        controlCreated_ = true;
    }
    sequence_.clear();
    UpdateData(false);
    return true;
}

void CSequenceCalcDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Radio(dx, massGroup_, massType_);
    DDX_Text(dx, sequenceEdit_, sequence_, kMaxSequence);
    DDX_Check(dx, checkA_, showA_);
    DDX_Check(dx, checkB_, showB_);
    DDX_Check(dx, checkY_, showY_);
}

void CSequenceCalcDlg::OnUpdate() {
    if (!UpdateData(true)) return;
    if (sequence_.isEmpty()) {
        // The mass per residue and the plot keep what they show.
        weight_->clear();
        length_->clear();
        return;
    }
    SequenceIonChoice choice;
    choice.monoisotopic = massType_ == 1;
    choice.a = showA_ != 0;
    choice.b = showB_ != 0;
    choice.y = showY_ != 0;
    ions_ = BuildSequenceIonSpectrum(sequence_, choice);
    weight_->setText(QStringLiteral("Weight: %1").arg(ions_.weight, 0, 'f', 2));
    length_->setText(QStringLiteral("Length: %1").arg(ions_.length));
    averageMass_->setText(QStringLiteral("Average mass: %1").arg(ions_.residueAverage, 0, 'f', 2));
    showPeaks();
}

void CSequenceCalcDlg::showPeaks() {
    spectrum_.Empty();
    if (ions_.peaks.empty()) {
        // No series chosen: the plot says it has nothing to show rather than keep the last one.
        if (control_ && control_->Interface())
            Guarded("clearing the spectrum", [&] { control_->Call(&ISpec::put_DataValid, 0); });
        if (control_) control_->RedrawControl();
        return;
    }
    CVXSpectrumHeaderData& h = spectrum_.header.data;
    h.nScanNumber = 1;
    h.dRT = 1.0;
    h.dTIC = ions_.intensitySum;
    h.dMinPeakIntensity = 0.0;
    h.dMinPeakMass = 0.0;
    h.dBasePeakIntensity = ions_.baseIntensity;
    h.dBasePeakMass = ions_.baseMz;
    h.dLowMass = ions_.xMin;
    h.dHighMass = ions_.xMax;
    *spectrum_.GetMassRange(0) = CVX_MassRange{ions_.xMin, ions_.xMax};
    spectrum_.segmentSizes = {static_cast<int>(ions_.peaks.size())};
    for (const SequenceIonPeak& p : ions_.peaks)
        spectrum_.peaks.push_back({p.mz, p.intensity, 0.0f, 0});
    if (!control_ || !control_->Interface()) return;

    Guarded("drawing the spectrum", [&] {
        CSpec& c = *control_;
        std::vector<VXPlot_DataPeak> peaks;
        peaks.reserve(ions_.peaks.size());
        for (const SequenceIonPeak& p : ions_.peaks) peaks.push_back({p.mz, p.intensity, 0.0f, 0});
        std::int32_t size = static_cast<std::int32_t>(peaks.size());
        VXPlot_MassRange range{ions_.xMin, ions_.xMax};
        c.Call(&ISpec::SetPeakData, &size, &range, 1, peaks.data(), size);
        const QString none;
        c.Call(&ISpec::put_FileName, Wide(none));
        VXPlot_SpectrumHeader header;
        static_assert(sizeof(header) == sizeof(spectrum_.header.data));
        std::memcpy(&header, &spectrum_.header.data, sizeof(header));
        c.Call(&ISpec::SetScanHeader, &header, 0);
        VXPlot_SpecStyle style{};
        style.eStyle = static_cast<VXPlot_SpecPlotStyle>(CVXSpecDisplay::kStick);
        style.bShowLabels = display_.showLabels;
        style.dLabelThreshold = display_.labelThreshold;
        style.bOffsetLabels = display_.offsetLabels;
        style.fLabelOffset = display_.labelOffset;
        style.bRotateLabels = display_.rotateLabels;
        c.Call(&ISpec::SetStyle, &style);
        const QString x = QStringLiteral("m/z");
        const QString y = QStringLiteral("Abundance");
        c.Call(&ISpec::SetAxisLabels, Wide(x), Wide(y), Wide(y), static_cast<LPCWSTR>(nullptr),
               static_cast<LPCWSTR>(nullptr));
        c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(0));
        c.Call(&ISpec::SetForcedHeading, 1);
        c.Call(&ISpec::SetHeading, Wide(none));
        applyAxisLimits();
        c.Call(&ISpec::put_DataValid, 1);
        c.Call(&ISpec::put_EnableManualZoom, 0);
    });
    control_->RedrawControl();
}

void CSequenceCalcDlg::applyAxisLimits() {
    CSpec& c = *control_;
    if (display_.xZoomed)
        c.Call(&ISpec::SetXAxisLimits, display_.xStart, display_.xEnd);
    else
        c.Call(&ISpec::SetXAxisLimits, ions_.xMin, ions_.xMax);
    c.Call(&ISpec::SetYAxisLimits, ions_.baseIntensity, 0.0, ions_.baseIntensity, 0.0, 100.0);
}

}  // namespace zar
