#include "DtaCreateDialog.h"

#include "RunFileReader.h"

#include "app/RangeTakers.h"
#include "app/ZarApp.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/Settings.h"
#include "document/TextHelpers.h"
#include "ipc/NotifyClient.h"
#include "rawfile/VRawfile.h"
#include "search/DtaListFile.h"
#include "search/OutsideProgram.h"
#include "spectrumviews/RawFileMessages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

namespace {

constexpr double kFallbackLowMass = 700.0;
constexpr double kFallbackHighMass = 3500.0;
constexpr int kFallbackRangeLastScan = 1000;
constexpr double kMassEditLimit = 10000.0;
constexpr int kActionCount = 4;

template <class T>
T* Named(T* widget, int id, CControlTable& table) {
    table.AddControl(id, widget);
    return widget;
}

}  // namespace

CDtaCreateDialog::CDtaCreateDialog(QWidget* owner, bool webActions)
    : CDialogBase(kTemplateId, owner),
      massRangeEdit_(Named(new CDoubleRangeEditCtrl(this), kMassRangeId, *this)),
      scanLimitsEdit_(Named(new CIntRangeEditCtrl(this), kScanLimitsId, *this)),
      precursorToleranceEdit_(Named(new CDoubleEditCtrl(this), kPrecursorToleranceId, *this)),
      thresholdEdit_(Named(new CDoubleEditCtrl(this), kThresholdId, *this)),
      groupScanEdit_(Named(new CIntEditCtrl(this), kGroupScanId, *this)),
      minGroupCountEdit_(Named(new CIntEditCtrl(this), kMinGroupCountId, *this)),
      minIonCountEdit_(Named(new CIntEditCtrl(this), kMinIonCountId, *this)),
      chargeStateEdit_(Named(new CIntEditCtrl(this), kChargeStateId, *this)),
      directoryEdit_(Named(new QLineEdit(this), kDirectoryId, *this)),
      actions_(new QButtonGroup(this)),
      trackBox_(Named(new QCheckBox(QStringLiteral("&Track"), this), kTrackId, *this)),
      removeDtaBox_(Named(new QCheckBox(QStringLiteral("Remove any existing *.dta files"), this),
                          kRemoveDtaId, *this)),
      owner_(owner),
      webActions_(webActions),
      threshold_(GetDtaThreshold()),
      groupScan_(GetDtaGroupScan()),
      minIonCount_(GetDtaMinIonCount()),
      minGroupCount_(GetDtaMinGroupCount()),
      precursorTolerance_(GetDtaPrecursorTolerance()),
      resultsDirectory_(GetSorvexResultsDirectory()) {
    setObjectName(QStringLiteral("DtaCreateDialog"));
    setModal(false);
    picker_ = [](QWidget* parent, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, QString(),
                                                 QFileDialog::ShowDirsOnly);
    };

    auto* layout = new QVBoxLayout(this);
    auto* directoryRow = new QHBoxLayout;
    auto* browse = Named(new QPushButton(QStringLiteral("..."), this), kBrowseId, *this);
    browse->setFixedWidth(32);
    connect(browse, &QPushButton::clicked, this, &CDtaCreateDialog::OnBrowse);
    auto* directoryLabel = new QLabel(QStringLiteral("&Directory:"), this);
    directoryLabel->setBuddy(directoryEdit_);
    directoryRow->addWidget(directoryLabel);
    directoryRow->addWidget(directoryEdit_, 1);
    directoryRow->addWidget(browse);
    layout->addLayout(directoryRow);

    auto* ranges = new QGroupBox(QStringLiteral("Ranges"), this);
    auto* rangeForm = new QFormLayout(ranges);
    rangeForm->addRow(QStringLiteral("Scan &Limits:"), scanLimitsEdit_);
    rangeForm->addRow(QStringLiteral("Precursor Mass &Range:"), massRangeEdit_);
    rangeForm->addRow(QString(), trackBox_);
    layout->addWidget(ranges);

    auto* values = new QGroupBox(QStringLiteral("Tolerance && Limits"), this);
    auto* form = new QFormLayout(values);
    form->addRow(QStringLiteral("&Precursor Mass:"), precursorToleranceEdit_);
    form->addRow(QStringLiteral("T&hreshold:"), thresholdEdit_);
    form->addRow(QStringLiteral("&Group Scan:"), groupScanEdit_);
    form->addRow(QStringLiteral("Minimum Group &Count:"), minGroupCountEdit_);
    form->addRow(QStringLiteral("Minimum &Ion Count:"), minIonCountEdit_);
    form->addRow(QStringLiteral("&Use Charge State:"), chargeStateEdit_);
    layout->addWidget(values);

    auto* actionBox = new QGroupBox(QStringLiteral("Action"), this);
    auto* actionLayout = new QVBoxLayout(actionBox);
    const char* const actionTexts[kActionCount] = {"Create Dta files &only", "&Wisplet Ions",
                                                   "&View Dta", "Run &SORVEX"};
    for (int i = 0; i < kActionCount; ++i) {
        auto* radio = Named(new QRadioButton(QString::fromLatin1(actionTexts[i]), actionBox),
                            kFirstActionId + i, *this);
        actions_->addButton(radio, i);
        actionLayout->addWidget(radio);
    }
    layout->addWidget(actionBox);
    layout->addWidget(removeDtaBox_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* defaults = Named(new QPushButton(QStringLiteral("&Defaults"), this), kDefaultsId, *this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* help = Named(new QPushButton(QStringLiteral("&Help"), this), kHelpId, *this);
    for (QPushButton* b : {ok, defaults, close, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(defaults, &QPushButton::clicked, this, &CDtaCreateDialog::OnDefaults);
    connect(close, &QPushButton::clicked, this, [this] { hide(); });
    connect(help, &QPushButton::clicked, this, &CDtaCreateDialog::OnHelp);

    RegisterTimeRangeTaker(this,
                           [this](double start, double end) { SetScanRangeFromTimes(start, end); });
}

CDtaCreateDialog::~CDtaCreateDialog() = default;

bool CDtaCreateDialog::Create() {
    EnsureInitialized();
    return true;
}

bool CDtaCreateDialog::OnInitDialog() {
    setWindowTitle(QStringLiteral("TurboSORVEX Dta"));
    precursorToleranceEdit_->Initialize(precursorTolerance_, 0.0, 25.0);
    thresholdEdit_->Initialize(threshold_, 0.0, 1e20, 11, 0);
    groupScanEdit_->Initialize(groupScan_, 0, 1000);
    minGroupCountEdit_->Initialize(minGroupCount_, 0, 1000);
    minIonCountEdit_->Initialize(minIonCount_, 0, 1000);
    chargeStateEdit_->Initialize(chargeState_, 0, 6);
    // The local web program of the search engine is not provided: its pages stay greyed.
    for (int i = 0; i < kActionCount; ++i) actions_->button(i)->setEnabled(webActions_ && i == 0);
    directoryEdit_->setText(resultsDirectory_);
    if (ReadRawFileInfo())
        RefreshControls();
    else
        UpdateData(false);
    return true;
}

void CDtaCreateDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Double(dx, precursorToleranceEdit_, precursorTolerance_);
    DDX_Double(dx, thresholdEdit_, threshold_);
    DDX_Int(dx, groupScanEdit_, groupScan_);
    DDX_Int(dx, minGroupCountEdit_, minGroupCount_);
    DDX_Int(dx, minIonCountEdit_, minIonCount_);
    DDX_Int(dx, chargeStateEdit_, chargeState_);
    DDX_Radio(dx, actions_, action_);
    DDX_Check(dx, trackBox_, track_);
    DDX_Check(dx, removeDtaBox_, removeDta_);
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        if (haveScanRange_) scanLimitsEdit_->SetRange(scanRangeFirst_, scanRangeLast_);
        if (haveMassRange_) massRangeEdit_->SetRange(massRangeLow_, massRangeHigh_);
        return;
    }
    if (scanLimitsEdit_->text().trimmed().isEmpty()) {
        haveScanRange_ = false;
    } else if (scanLimitsEdit_->GetRange(scanRangeFirst_, scanRangeLast_)) {
        haveScanRange_ = true;
    } else {
        dx.Fail(scanLimitsEdit_,
                RangeMessage(scanLimitsEdit_->Lower(), scanLimitsEdit_->Upper()));
        return;
    }
    if (massRangeEdit_->text().trimmed().isEmpty()) {
        haveMassRange_ = false;
    } else if (massRangeEdit_->GetRange(massRangeLow_, massRangeHigh_)) {
        haveMassRange_ = true;
    } else {
        dx.Fail(massRangeEdit_,
                RangeMessage(massRangeEdit_->Lower(), massRangeEdit_->Upper()));
    }
}

void CDtaCreateDialog::RefreshControls() {
    UpdateData(false);
    directoryEdit_->setText(resultsDirectory_);
}

void CDtaCreateDialog::SetRawFile(const QString& path, bool read) {
    rawFile_ = path;
    if (read && ReadRawFileInfo()) RefreshControls();
}

bool CDtaCreateDialog::ReadRawFileInfo() {
    if (rawFile_.isEmpty()) return false;
    VRawfile* reader = RunFileReader(rawFile_, ownReader_);
    if (!reader) {
        rawFile_.clear();
        ZarMessageBox(QString::fromLatin1(kRawFileOpenFailedText), MB_OK);
        return false;
    }
    if (!reader->setCurrentController(0, 1)) {
        rawFile_.clear();
        ZarMessageBox(QString::fromLatin1(kRawFileNoMSDataText), MB_OK);
        return false;
    }
    double low = kFallbackLowMass;
    double high = kFallbackHighMass;
    int first = 1;
    int last = 100;
    if (reader->numSpectra() > 0) {
        low = reader->lowMass();
        high = reader->highMass();
        first = reader->firstScan();
        last = reader->lastScan();
    }
    lowMass_ = lowMassLimit_ = RoundTo001(low);
    highMass_ = highMassLimit_ = RoundTo001(high);
    firstScan_ = first;
    lastScan_ = last;
    haveScanRange_ = true;
    scanRangeFirst_ = first;
    scanRangeLast_ = last;
    haveMassRange_ = true;
    massRangeLow_ = lowMass_;
    massRangeHigh_ = highMass_;
    scanLimitsEdit_->Initialize(first, last, first, last);
    massRangeEdit_->Initialize(lowMass_, highMass_, 0.0, kMassEditLimit);
    return true;
}

void CDtaCreateDialog::SetScanFromTime(double time) {
    int scan = 1;
    VRawfile* reader = RunFileReader(rawFile_, ownReader_);
    if (!reader || !reader->retentionTimeToScan(time, scan)) scan = 1;
    SetScanRangeIfTracking(scan, scan);
}

void CDtaCreateDialog::SetScanRangeFromTimes(double start, double end) {
    int first = 1;
    int last = kFallbackRangeLastScan;
    VRawfile* reader = RunFileReader(rawFile_, ownReader_);
    // The .dta files are made of the MS/MS scans of the range.
    if (!reader || !reader->scanRangeForTimes(start, end, 2, first, last)) {
        first = 1;
        last = kFallbackRangeLastScan;
    }
    SetScanRangeIfTracking(first, last);
}

void CDtaCreateDialog::SetScanRangeIfTracking(int first, int last) {
    if (!trackBox_->isChecked()) return;
    firstScan_ = first;
    lastScan_ = last;
    haveScanRange_ = true;
    scanRangeFirst_ = first;
    scanRangeLast_ = last < 1 ? first : last;
    scanLimitsEdit_->SetRange(scanRangeFirst_, scanRangeLast_);
}

void CDtaCreateDialog::OnDefaults() {
    precursorTolerance_ = kDefaultPrecursorTolerance;
    threshold_ = kDefaultThreshold;
    groupScan_ = kDefaultGroupScan;
    minIonCount_ = kDefaultMinIonCount;
    minGroupCount_ = kDefaultMinGroupCount;
    lowMass_ = 300.0;
    highMass_ = 4000.0;
    firstScan_ = 1;
    lastScan_ = 100;
    rawFile_.clear();
    resultsDirectory_ = GetSorvexResultsDirectory();
    RefreshControls();
}

void CDtaCreateDialog::OnBrowse() {
    const QString folder =
        picker_ ? picker_(this, QStringLiteral("Select Output Directory")) : QString();
    if (folder.isEmpty()) return;
    resultsDirectory_ = folder;
    directoryEdit_->setText(folder);
}

void CDtaCreateDialog::OnHelp() {
    ShowContextHelp(this, kTemplateId);
}

DtaCreateOptions CDtaCreateDialog::Options() const {
    DtaCreateOptions o;
    o.firstScan = haveScanRange_ ? scanRangeFirst_ : firstScan_;
    o.lastScan = haveScanRange_ ? scanRangeLast_ : lastScan_;
    o.threshold = threshold_;
    o.chargeState = chargeState_;
    o.precursorTolerance = precursorTolerance_;
    o.groupScan = groupScan_;
    o.minIonCount = minIonCount_;
    o.minGroupCount = minGroupCount_;
    o.lowMass = haveMassRange_ ? massRangeLow_ : lowMass_;
    o.highMass = haveMassRange_ ? massRangeHigh_ : highMass_;
    return o;
}

bool CDtaCreateDialog::CheckDirectory(const QString& directory) {
    if (directory.isEmpty()) {
        ZarMessageBox(QStringLiteral("No valid directory name provided"), MB_OK);
        return false;
    }
    if (directory.contains(QLatin1Char(' '))) {
        ZarMessageBox(QStringLiteral("Cannot use directories\n\n%1\n\nwith a space in the name.\n")
                          .arg(directory),
                      MB_OK);
        return false;
    }
    const QString folder = PortablePath(directory);
    if (QFileInfo(folder).isDir()) return true;
    if (ZarMessageBox(
            QStringLiteral(
                "The directory name supplied\n\n%1\n\ndoes not exist. Do you want to create it?")
                .arg(directory),
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (QDir().mkpath(folder)) return true;
    ZarMessageBox(QStringLiteral("Unable to create the directory"), MB_OK);
    return false;
}

void CDtaCreateDialog::OnOK() {
    if (!UpdateData(true)) return;
    hide();
    SetDtaGroupScan(groupScan_);
    SetDtaMinGroupCount(minGroupCount_);
    SetDtaMinIonCount(minIonCount_);
    SetDtaPrecursorTolerance(precursorTolerance_);
    SetDtaThreshold(threshold_);
    const QString directory = directoryEdit_->text();
    if (!CheckDirectory(directory)) return;
    // The dialog comes back in the folder it extracted to, shown again or made anew, and the
    // search sheet opens there too: its .dta files are what will be searched next.
    resultsDirectory_ = directory;
    SetSorvexResultsDirectory(directory);
    if (rawFile_.isEmpty()) {
        ZarMessageBox(QStringLiteral("No valid analysis file name provided"), MB_OK);
        return;
    }
    if (rawFile_.contains(QLatin1Char(' '))) {
        ZarMessageBox(
            QStringLiteral("Cannot use files\n\n%1\n\nwith a space in the name.\n").arg(rawFile_),
            MB_OK);
        return;
    }
    StartExtraction(PortablePath(directory));
}

void CDtaCreateDialog::StartExtraction(const QString& directory) {
    if (removeDta_) {
        const QStringList failed = RemoveFiles(directory, QStringLiteral("*.dta"));
        if (!failed.isEmpty()) ZarMessageBox(RemovalFailureText(directory, failed), MB_OK);
    }
    ProgramStart start;
    start.program = ResolveOutsideProgram(ExtractionProgramFolder(), GetDravelMSnProgram());
    start.arguments = SplitOptionText(extractOptions_);
    start.arguments << QStringLiteral("-D") + directory;
    start.arguments += Options().Arguments();
    start.arguments << rawFile_;
    // Nothing waits for this program: it is given no way to report to the main window.
    start.environment = QProcessEnvironment::systemEnvironment();
    start.environment.remove(QString::fromLatin1(kNotifyVariable));
    QString failure;
    if (!COutsideProgram::StartDetached(start, &failure)) ZarMessageBox(failure, MB_OK);
}

}  // namespace zar
