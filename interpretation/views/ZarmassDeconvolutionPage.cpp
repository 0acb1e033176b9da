#include "ZarmassDeconvolutionPage.h"

#include "SelectPeaksDlg.h"
#include "ZarmassPropertySheet.h"

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "interpretation/ZarmassScanReader.h"
#include "interpretation/ZarmassTransform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace zar {

namespace {

constexpr double kMassSteps[] = {0.1, 0.25, 1.0, 10.0};

const QString kNoPeaksInLimits =
    QStringLiteral("No peak of the spectrum lies within the m/z limits of the original spectrum.");

CZarmassTransform* DocumentTransform() {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetZarmassTransform() : nullptr;
}

}  // namespace

CZarmassDeconvolutionPage::CZarmassDeconvolutionPage(CZarmassPropertySheet* sheet)
    : CZarmassPageBase(kTemplateId, QStringLiteral("Deconvolution"), sheet,
                       IDC_ZARMASS_DECONV_COLOUR),
      deconvoluted_(new CDoubleRangeEditCtrl(this)),
      step_(new QButtonGroup(this)),
      deconvolute_(MakeButton(IDC_ZARMASS_DECONVOLUTE, QStringLiteral("&Deconvolute"))),
      average_(MakeButton(IDC_ZARMASS_AVERAGE, QStringLiteral("&Average"))),
      convolute_(MakeButton(IDC_ZARMASS_CONVOLUTE, QStringLiteral("&Convolute"))),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Cance&l"), this)),
      receiver_(new MessageReceiver(this)),
      worker_(receiver_) {
    deconvoluted_->Initialize(massLow_, massHigh_, kEditLower, kEditUpper, 2);
    AddControl(IDC_ZARMASS_DECONVOLUTED, deconvoluted_);
    const struct {
        int id;
        const char* text;
    } steps[] = {{IDC_ZARMASS_STEP_01, "0&.1"},
                 {IDC_ZARMASS_STEP_025, "0.&25"},
                 {IDC_ZARMASS_STEP_1, "&1"},
                 {IDC_ZARMASS_STEP_10, "1&0"}};
    auto* stepRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(steps[i].text), this);
        step_->addButton(radio, i);
        AddControl(steps[i].id, radio);
        stepRow->addWidget(radio);
    }
    stepRow->addStretch(1);
    auto* stepBox = new QWidget(this);
    stepBox->setLayout(stepRow);
    stepRow->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    AddFormRow(form, 0, QStringLiteral("&Original spectrum:"), OriginalEdit(), TrackBox());
    AddFormRow(form, 1, QStringLiteral("Deconvolu&ted spectrum:"), deconvoluted_);
    AddFormRow(form, 2, QStringLiteral("Adduct &ion mass (u):"), AdductCombo());
    AddFormRow(form, 3, QStringLiteral("Mass step size (u):"), stepBox);
    AddFormRow(form, 4, QStringLiteral("&Width (mmu):"), WidthEdit());
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    layout->addLayout(MakeLabelRow());
    auto* lower = new QHBoxLayout;
    lower->addWidget(Grid(), 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(deconvolute_);
    buttons->addWidget(average_);
    buttons->addWidget(convolute_);
    buttons->addStretch(1);
    lower->addLayout(buttons);
    layout->addLayout(lower, 1);
    auto* run = new QHBoxLayout;
    progress_->setRange(0, 100);
    progress_->setObjectName(QStringLiteral("TransformProgress"));
    run->addWidget(progress_, 1);
    run->addWidget(cancel_);
    layout->addLayout(run);
    progress_->hide();
    cancel_->hide();

    connect(deconvolute_, &QPushButton::clicked, this, [this] { OnDeconvolute(); });
    connect(average_, &QPushButton::clicked, this, [this] { OnAverage(); });
    connect(convolute_, &QPushButton::clicked, this, [this] { OnConvolute(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { OnCancelTransform(); });
    MessageMap& m = receiver_->messageMap();
    m.on(kMsgZarmassProgress, [this](const Message& msg) {
        onProgress(msg);
        return 0;
    });
    m.on(kMsgZarmassTransformDone, [this](const Message& msg) {
        onTransformDone(msg);
        return 0;
    });
    m.on(kMsgZarmassSelectedDone, [this](const Message& msg) {
        onSelectedDone(msg);
        return 0;
    });
    m.on(kMsgZarmassNoPeaksInRange, [](const Message&) {
        ZarMessageBox(kNoPeaksInLimits);
        return 0;
    });
    // Average and Convolute work on a transform: none has run yet.
    average_->setEnabled(false);
    convolute_->setEnabled(false);
}

CZarmassDeconvolutionPage::~CZarmassDeconvolutionPage() {
    worker_.Cancel();
    worker_.Wait();
}

bool CZarmassDeconvolutionPage::OnInitDialog() {
    CZarmassPageBase::OnInitDialog();
    return true;
}

void CZarmassDeconvolutionPage::DoDataExchange(CDataExchange& dx) {
    CZarmassPageBase::DoDataExchange(dx);
    if (dx.IsSaving()) ExchangeRange(dx, deconvoluted_, massLow_, massHigh_, deconvLow_, deconvHigh_);
    DDX_Radio(dx, step_, stepIndex_);
}

void CZarmassDeconvolutionPage::SetSelectedMass(double mass) {
    CZarmassPageBase::SetSelectedMass(mass);
    if (selectPeaks_) selectPeaks_->EnableOK(ValueCount() > 0);
}

void CZarmassDeconvolutionPage::EnableCalculation(int n) {
    if (selectPeaks_) selectPeaks_->EnableOK(n != 0);
    // Average and Convolute work on the listed masses: with none they have nothing to do. They
    // come back with the first mass once a transform was accepted.
    if (IsTransformRunning()) return;
    const CZarmassTransform* engine = DocumentTransform();
    const bool ready = n > 0 && engine && engine->IsTransformDone();
    average_->setEnabled(ready);
    convolute_->setEnabled(ready);
}

void CZarmassDeconvolutionPage::EnableButtons(bool enable) {
    deconvolute_->setEnabled(enable);
    average_->setEnabled(enable);
    convolute_->setEnabled(enable);
}

bool CZarmassDeconvolutionPage::FillParams(ZarmassParams& params) {
    if (!ReadParams(params)) return false;
    params.massLow = deconvLow_;
    params.massHigh = deconvHigh_;
    params.massStep = stepIndex_ >= 0 && stepIndex_ < 4 ? kMassSteps[stepIndex_] : 1.0;
    return true;
}

// ---- the transform ----------------------------------------------------------------------

void CZarmassDeconvolutionPage::OnDeconvolute() {
    if (IsTransformRunning()) return;
    ZarmassWaitCursor wait;
    // Every field is checked before anything is read or transformed.
    ZarmassParams params;
    if (!FillParams(params) || !Sheet()->ApplySmoothingSettings()) return;
    ZarmassSpectrum spectrum;
    std::vector<PeakRecord> peaks;
    if (!ReadCurrentSpectrum(true, spectrum, peaks)) return;
    // The engine's spectrum and result stay until the new transform has finished.
    staged_ = std::make_unique<CZarmassTransform>(receiver_);
    if (!staged_->PrepareTransform(params, peaks, spectrum.scan)) {
        staged_.reset();
        return;
    }
    calculationsBefore_ = average_->isEnabled();
    startJob(staged_->MakeTransformJob());
}

void CZarmassDeconvolutionPage::StartSelectedTransform() {
    CZarmassTransform* engine = DocumentTransform();
    if (IsTransformRunning() || !engine) return;
    ZarmassParams params;
    if (!FillParams(params)) return;
    const std::optional<ZarmassTransformJob> job = engine->MakeSelectedJob(params);
    if (!job) return;
    calculationsBefore_ = average_->isEnabled();
    startJob(*job);
}

void CZarmassDeconvolutionPage::startJob(const ZarmassTransformJob& job) {
    if (!worker_.Start(job)) return;
    running_ = true;
    EnableButtons(false);
    progress_->setValue(0);
    progress_->show();
    cancel_->setEnabled(true);
    cancel_->show();
}

void CZarmassDeconvolutionPage::OnCancelTransform() {
    if (!IsTransformRunning()) return;
    worker_.Cancel();
    cancel_->setEnabled(false);
}

void CZarmassDeconvolutionPage::DropRunningTransform() {
    // The peak choice and the calculations work on the replaced run's transform, which is gone.
    if (selectPeaks_) selectPeaks_->hide();
    calculationsBefore_ = false;
    average_->setEnabled(false);
    convolute_->setEnabled(false);
    if (!IsTransformRunning()) return;
    dropResult_ = true;
    worker_.Cancel();
    worker_.Wait();
    staged_.reset();
}

void CZarmassDeconvolutionPage::onProgress(const Message& m) {
    if (m.wParam == 1) progress_->setValue(std::clamp(static_cast<int>(m.lParam), 0, 100));
}

void CZarmassDeconvolutionPage::endRun() {
    worker_.Wait();
    running_ = false;
    progress_->hide();
    cancel_->hide();
    deconvolute_->setEnabled(true);
    average_->setEnabled(calculationsBefore_);
    convolute_->setEnabled(calculationsBefore_);
}

void CZarmassDeconvolutionPage::onTransformDone(const Message& m) {
    endRun();
    if (std::exchange(dropResult_, false)) return;
    const auto* result = m.payloadAs<ZarmassTransformResult>();
    CZarmassTransform* engine = DocumentTransform();
    const bool taken = result && engine && staged_ && engine->AdoptTransform(*staged_, *result);
    staged_.reset();
    if (!taken) return;
    engine->SetTransformDone(false);
    // Average and Convolute wait for the Select Peak(s) dialog's OK.
    average_->setEnabled(false);
    convolute_->setEnabled(false);
    PostToOwner(kMsgZarmassUpdated, 1, 1);
    Sheet()->SetMwText(QStringLiteral("Avg MW:"));
    showSelectPeaks();
}

void CZarmassDeconvolutionPage::onSelectedDone(const Message& m) {
    endRun();
    if (std::exchange(dropResult_, false)) return;
    const auto* result = m.payloadAs<ZarmassTransformResult>();
    CZarmassTransform* engine = DocumentTransform();
    if (!result || !engine || !engine->AcceptTransform(*result)) return;
    engine->SetTransformDone(true);
    Sheet()->EnableDeconvolutionButtons();
    PostToOwner(kMsgZarmassUpdated, 1, 1);
}

void CZarmassDeconvolutionPage::showSelectPeaks() {
    if (!selectPeaks_) {
        selectPeaks_ = new CSelectPeaksDlg(Sheet());
        selectPeaks_->EnsureInitialized();
    }
    selectPeaks_->EnableOK(CountValues() > 0);
    selectPeaks_->show();
    selectPeaks_->raise();
}

// ---- calculations on the picked masses --------------------------------------------------

void CZarmassDeconvolutionPage::OnAverage() {
    CZarmassTransform* engine = DocumentTransform();
    if (!engine || IsTransformRunning()) return;
    ZarmassParams params;
    if (!FillParams(params)) return;
    ZarmassWaitCursor wait;
    EnableButtons(false);
    engine->SetTransformDone(true);
    engine->SetComponentColour(Colour(), AppendChosen());
    engine->SetInputFromTransform(params);
    engine->CalculateFromSelectedMass();
    PostToOwner(kMsgZarmassUpdated, 1, 1);
    PostToOwner(kMsgZarmassClear);
    // A failed fit shows no weight, not the last good one.
    Sheet()->SetMwText(AverageMwText(*engine));
    if (engine->HasMW()) ReportLabels(*engine);
    EnableButtons(true);
}

void CZarmassDeconvolutionPage::OnConvolute() {
    CZarmassTransform* engine = DocumentTransform();
    if (!engine || IsTransformRunning()) return;
    ZarmassParams params;
    if (!FillParams(params)) return;
    ZarmassWaitCursor wait;
    EnableButtons(false);
    engine->SetTransformDone(true);
    engine->SetComponentColour(Colour(), AppendChosen());
    engine->SetInputFromTransform(params);
    engine->IdentifyFromSelectedMass();
    PostToOwner(kMsgZarmassUpdated, 1, 0);
    PostToOwner(kMsgZarmassClear);
    Sheet()->SetMwText(params.count > 0 ? QCFormat("Avg MW: %.2lf", params.mz[0])
                                        : QStringLiteral("Avg MW:"));
    EnableButtons(true);
}

}  // namespace zar
