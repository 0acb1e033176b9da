#include "SearchLauncherBase.h"

#include "RunFileReader.h"
#include "SearchProgressDlg.h"
#include "SearchPropertySheet.h"

#include "app/RangeTakers.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/Settings.h"
#include "document/TextHelpers.h"
#include "document/ZarMessages.h"
#include "ipc/NotifyServer.h"
#include "rawfile/VRawfile.h"
#include "spectrumviews/RawFileMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>
#include <cerrno>

namespace zar {

namespace {

constexpr double kFallbackLowMass = 700.0;
constexpr double kFallbackHighMass = 3500.0;
constexpr int kFallbackFirstScan = 1;
constexpr int kFallbackLastScan = 100;
constexpr int kFallbackRangeLastScan = 1000;

void Beep() {
    QApplication::beep();
}

}  // namespace

CSearchLauncherBase::CSearchLauncherBase(Traits traits, const QString& resultsDirectory,
                                         QWidget* owner, QObject* dtaListWindow)
    : traits_(std::move(traits)),
      owner_(owner),
      dtaListWindow_(dtaListWindow),
      child_(new COutsideProgram(this)),
      resultsDirectory_(PortablePath(resultsDirectory)) {
    // The folder is checked, never made the program's own.
    if (resultsDirectory_.isEmpty() || !QFileInfo(resultsDirectory_).isDir()) {
        ZarMessageBox(
            QStringLiteral(
                "Directory %1 does not exist. \nCheck ResultsDirectory registry entry\n and "
                "to see if directory exists.")
                .arg(resultsDirectory),
            MB_OK);
        resultsDirectoryExists_ = false;
    }
    RegisterTimeRangeTaker(this,
                           [this](double start, double end) { SetScanRangeFromTimes(start, end); });
}

CSearchLauncherBase::~CSearchLauncherBase() {
    CloseChildRun();
    if (!tallyToken_.isEmpty()) CNotifyServer::Instance().CloseRun(tallyToken_);
    delete sheet_.data();
    delete progressDialog_.data();
    listFile_.Discard();
    // child_ is a child object: a program still running is ended with it.
}

QString CSearchLauncherBase::ProgramInFolder(const QString& folder, const QString& setting) const {
    return ResolveOutsideProgram(folder, setting);
}

void CSearchLauncherBase::PostToOwner(unsigned message, WPARAM wParam, LPARAM lParam,
                                      std::any payload) {
    if (owner_) PostMessage(owner_, message, wParam, lParam, std::move(payload));
}

QString CSearchLauncherBase::OpenChildRun() {
    CloseChildRun();
    childToken_ =
        CNotifyServer::Instance().OpenRun(owner_ ? static_cast<QObject*>(owner_.data()) : this);
    return childToken_;
}

void CSearchLauncherBase::CloseChildRun() {
    if (!childToken_.isEmpty()) CNotifyServer::Instance().CloseRun(childToken_);
    childToken_.clear();
}

bool CSearchLauncherBase::IsOwnChildMessage(const Message& message) const {
    const auto* origin = message.payloadAs<NotifyOrigin>();
    if (!origin || origin->token.isEmpty()) return false;
    return origin->token == childToken_ || origin->token == tallyToken_;
}

// ---- the raw file ----

VRawfile* CSearchLauncherBase::Reader() {
    return RunFileReader(rawFile_, ownReader_);
}

bool CSearchLauncherBase::ReadRunInfo(VRawfile& reader, double& low, double& high, int& first,
                                      int& last) const {
    if (!reader.isOpen() || reader.numSpectra() <= 0) return false;
    low = reader.lowMass();
    high = reader.highMass();
    first = reader.firstScan();
    last = reader.lastScan();
    return true;
}

bool CSearchLauncherBase::HasMsMsData(VRawfile& reader, int first, int last) const {
    bool result = false;
    return reader.hasMSMS(first, last, result) && result;
}

bool CSearchLauncherBase::Start(const QString& rawFile) {
    rawFile_ = rawFile;
    if (rawFile_.isEmpty()) return true;
    if (rawFile_.contains(QLatin1Char(' '))) {
        ZarMessageBox(
            QStringLiteral("Cannot run %1 on files with a space in filename.\n Name of file = %2\n")
                .arg(QLatin1String(traits_.searchName), rawFile_),
            MB_OK);
        return false;
    }
    VRawfile* reader = Reader();
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
    int first = kFallbackFirstScan;
    int last = kFallbackLastScan;
    if (!ReadRunInfo(*reader, low, high, first, last)) {
        low = kFallbackLowMass;
        high = kFallbackHighMass;
        first = kFallbackFirstScan;
        last = kFallbackLastScan;
    }
    firstScan_ = first;
    lastScan_ = last;
    if (traits_.checkMsMs && !HasMsMsData(*reader, first, last)) {
        ZarMessageBox(
            QStringLiteral(
                "Unable to run Sorvex Search. No MS/MSdata\navailable in scan range selected "
                "in file\n%1\n")
                .arg(rawFile_),
            MB_OK);
        return false;
    }
    delete sheet_.data();
    sheet_ = MakeSheet(prompt_);
    if (enzymeRecords_) sheet_->SetEnzymeTable(*enzymeRecords_);
    sheet_->SetScanLimits(first, last, first, last);
    sheet_->SetScanRange(first, last);
    sheet_->SetFastaMassRange(low, high, RoundTo001(low), RoundTo001(high));
    sheet_->Create();
    return true;
}

void CSearchLauncherBase::SetScanFromTime(double time) {
    if (!sheet_) return;
    int scan = 1;
    VRawfile* reader = Reader();
    if (!reader || !reader->retentionTimeToScan(time, scan)) scan = 1;
    sheet_->TrackScanRange(scan, scan);
}

void CSearchLauncherBase::SetScanRangeFromTimes(double start, double end) {
    if (!sheet_) return;
    int first = 1;
    int last = kFallbackRangeLastScan;
    VRawfile* reader = Reader();
    // The .dta files are made of the MS/MS scans of the range.
    if (!reader || !reader->scanRangeForTimes(start, end, 2, first, last)) {
        first = 1;
        last = kFallbackRangeLastScan;
    }
    sheet_->TrackScanRange(first, last);
}

void CSearchLauncherBase::SetScanRange(int first, int last) {
    if (sheet_) sheet_->SetScanRange(first, last);
}

bool CSearchLauncherBase::IsMonitorVisible() const {
    return sheet_ && sheet_->isVisible();
}

void CSearchLauncherBase::ReshowSheet() {
    if (!sheet_) return;
    sheet_->show();
    sheet_->raise();
    VRawfile* reader = Reader();
    if (!reader || !reader->setCurrentController(0, 1)) {
        rawFile_.clear();
        sheet_->Button(CSearchPropertySheet::kStartId)->setEnabled(false);
        ZarMessageBox(QString::fromLatin1(kRawFileNoMSDataText), MB_OK);
        return;
    }
    RecheckRawFile(*reader);
}

void CSearchLauncherBase::RecheckRawFile(VRawfile& reader) {
    if (!reader.setCurrentController(0, 1)) {
        rawFile_.clear();
        sheet_->EnableScanLimits(false);
        ZarMessageBox(QString::fromLatin1(kRawFileNoMSDataText), MB_OK);
        return;
    }
    double low = 0.0;
    double high = 0.0;
    int first = 0;
    int last = 0;
    if (!ReadRunInfo(reader, low, high, first, last)) return;
    // The sheet takes the scans only for a range it can search.
    if (traits_.checkMsMs && !HasMsMsData(reader, first, last)) return;
    sheet_->SetScanLimits(first, last, first, last);
    sheet_->SetFastaMassRange(low, high, RoundTo001(low), RoundTo001(high));
    sheet_->EnableScanLimits(true);
}

// ---- the run steps ----

void CSearchLauncherBase::DeleteOldResultFiles() {
    if (!sheet_) return;
    const QString folder = RunDirectory();
    QStringList failed;
    if (sheet_->IsDtaGenerationChecked() && sheet_->IsRemoveDtaChecked())
        failed += RemoveFiles(folder, QStringLiteral("*.dta"));
    if (sheet_->IsDtaSearchChecked() && sheet_->IsRemoveOutChecked())
        failed += RemoveFiles(folder, QStringLiteral("*.out"));
    if (failed.isEmpty()) return;
    // Old files left in place would be searched and read with the new ones.
    ZarMessageBox(RemovalFailureText(folder, failed), MB_OK);
}

void CSearchLauncherBase::StartDatabaseTally() {
    if (dbTallyDone_ || !sheet_) return;
    dbTallyDone_ = true;
    ProgramStart start;
    start.program = ProgramInFolder(SearchProgramFolder(), QStringLiteral("dbtally.exe"));
    start.arguments = {PortablePath(sheet_->GetDatabasePath())};
    if (!tallyToken_.isEmpty()) CNotifyServer::Instance().CloseRun(tallyToken_);
    tallyToken_ =
        CNotifyServer::Instance().OpenRun(owner_ ? static_cast<QObject*>(owner_.data()) : this);
    start.environment = CNotifyServer::Instance().Environment(tallyToken_);
    QString failure;
    if (!COutsideProgram::StartDetached(start, &failure)) ZarMessageBox(failure, MB_OK);
}

bool CSearchLauncherBase::OpenListFile() {
    listPath_ = JoinPath(resultsDirectory_, QString::fromLatin1(traits_.listName));
    if (listFile_.Open(listPath_)) return true;
    listPath_.clear();
    ZarMessageBox(
        QStringLiteral(" Cannot open file needed for %1 Search \nprocessing. Unable to continue\n")
            .arg(QLatin1String(traits_.searchName)),
        MB_OK);
    return false;
}

void CSearchLauncherBase::RemoveListFile() {
    listFile_.Discard();
    if (!listPath_.isEmpty()) QFile::remove(listPath_);
    listPath_.clear();
}

void CSearchLauncherBase::BackToIdle() {
    extracting_ = false;
    searching_ = false;
    CloseChildRun();
    pipe_.Close();
    RemoveListFile();
    if (sheet_) sheet_->SetSearchRunning(false);
}

void CSearchLauncherBase::StartDtaGeneration() {
    if (ListWindowExists()) PostToOwner(kMsgDtaListClear);
    ProgramStart start;
    start.program = ProgramInFolder(ExtractionProgramFolder(), traits_.extractionProgram);
    start.arguments = traits_.extractionOptions + ExtractionLeadArguments();
    if (sheet_) start.arguments += SplitOptionText(sheet_->BuildExtractionOptions());
    start.arguments << rawFile_;
    if (rawFile_.isEmpty()) {
        ZarMessageBox(QStringLiteral("No Raw File.\n Cannot run %1 Search.\n")
                          .arg(QLatin1String(traits_.searchName)),
                      MB_OK);
        if (sheet_) sheet_->SetSearchRunning(false);
        return;
    }
    StartDatabaseTally();
    if (!OpenListFile()) {
        BackToIdle();
        return;
    }
    dtaCount_ = 0;
    searchedDirectory_ = RunDirectory();
    if (!pipe_.Open()) {
        ZarMessageBox(QStringLiteral("CreateProcess error %1").arg(errno), MB_OK);
        BackToIdle();
        return;
    }
    start.standardErrorFd = pipe_.WriteEnd();
    start.environment = CNotifyServer::Instance().Environment(OpenChildRun());
    QString failure;
    const bool started = child_->Start(start, &failure);
    pipe_.CloseWriteEnd();
    if (!started) {
        ZarMessageBox(failure, MB_OK);
        // Nothing runs: the sheet can start again at once.
        BackToIdle();
        return;
    }
    extracting_ = true;
}

QString CSearchLauncherBase::ListExistingDtaFiles() {
    if (ListWindowExists()) PostToOwner(kMsgDtaListClear);
    if (rawFile_.isEmpty()) {
        ZarMessageBox(QStringLiteral("No Raw File.\n Cannot run %1 Search.\n")
                          .arg(QLatin1String(traits_.searchName)),
                      MB_OK);
        if (sheet_) sheet_->SetSearchRunning(false);
        return QString();
    }
    StartDatabaseTally();
    if (!OpenListFile()) {
        BackToIdle();
        return QString();
    }
    // The folder that is searched is the one listed.
    searchedDirectory_ = RunDirectory();
    dtaCount_ = 0;
    for (const QString& name : ExistingDtaFiles(searchedDirectory_)) {
        listFile_.AddName(name);
        if (ListWindowExists()) PostToOwner(kMsgDtaFileName, 0, dtaCount_ + 1, name);
        ++dtaCount_;
    }
    if (!listFile_.Close()) {
        ZarMessageBox(
            QStringLiteral(
                " Cannot open file needed for %1 Search \nprocessing. Unable to continue\n")
                .arg(QLatin1String(traits_.searchName)),
            MB_OK);
        BackToIdle();
        return QString();
    }
    return listPath_;
}

CSearchProgressDlg* CSearchLauncherBase::EnsureProgressDialog(bool searchPhase) {
    if (progressDialog_) return progressDialog_;
    auto* dialog = new CSearchProgressDlg(owner_, traits_.reshowMessage == kMsgMassmapReshowSheet);
    if (!dialog->Create()) {
        delete dialog;
        return nullptr;
    }
    progressDialog_ = dialog;
    dialog->SetDtaRange(100);
    if (searchPhase) {
        dialog->SetDatabaseScale(100);
        dialog->SetFileCount(std::max(dtaCount_, 1));
    }
    dialog->show();
    return dialog;
}

void CSearchLauncherBase::ReadPipeMessage(long long length) {
    const CExtractionPipe::ReadResult read = pipe_.Read(length);
    switch (read.status) {
        case CExtractionPipe::Status::Empty:
            ZarMessageBox(QStringLiteral("No message in pipe."), MB_OK);
            return;
        case CExtractionPipe::Status::Failed:
            Beep();
            ZarMessageBox(QStringLiteral("ReadFile error %1").arg(read.error), MB_OK);
            return;
        case CExtractionPipe::Status::Message:
            break;
        default:
            return;
    }
    if (!read.text.startsWith(QLatin1Char('$'))) return;
    QString buffer = read.text;
    buffer[0] = QLatin1Char(' ');
    const QString name = buffer.mid(1);
    listFile_.AddName(name);
    if (progressDialog_) progressDialog_->SetDtaName(buffer);
    if (ListWindowExists()) PostToOwner(kMsgDtaFileName, 0, dtaCount_ + 1, buffer);
    ++dtaCount_;
}

void CSearchLauncherBase::OnExtractionProgress(WPARAM wParam, LPARAM lParam) {
    const int count = std::max(lastScan_ - firstScan_, 1);
    CSearchProgressDlg* dialog = EnsureProgressDialog(false);
    if (wParam != 0) {
        if (dialog) dialog->SetDtaProgress(static_cast<int>((lParam - firstScan_) * 100 / count));
        return;
    }
    if (lParam != 0) {
        ReadPipeMessage(lParam);
        return;
    }
    // The extraction ended.
    if (dialog) {
        dialog->SetDatabaseScale(100);
        dialog->SetFileCount(std::max(dtaCount_, 1));
    }
    const bool listWritten = listFile_.Close();
    pipe_.Close();
    CloseChildRun();
    child_->Release();
    extracting_ = false;
    if (!listWritten) {
        ZarMessageBox(
            QStringLiteral(
                " Cannot open file needed for %1 Search \nprocessing. Unable to continue\n")
                .arg(QLatin1String(traits_.searchName)),
            MB_OK);
        dtaCount_ = 0;
    }
    if (sheet_ && sheet_->IsDtaSearchChecked()) {
        RunSearch(listPath_);
        return;
    }
    if (dialog) dialog->FileDone(-1);
    FinishRun();
}

void CSearchLauncherBase::RunSearch(const QString& listPath) {
    if (dtaCount_ == 0) {
        ZarMessageBox(QStringLiteral("No dta files were generated."), MB_OK);
        PostToOwner(traits_.reshowMessage);
        return;
    }
    filesSearched_ = 0;
    const QString directory = RunDirectory();
    searchedDirectory_ = directory;
    ProgramStart start;
    start.program = ProgramInFolder(SearchProgramFolder(), traits_.searchProgram);
    start.arguments = traits_.searchOptions;
    if (listPath.size() > 1) start.arguments << QStringLiteral("-R") + listPath;
    start.workingDirectory = directory;
    if (sheet_ && !sheet_->SaveParamFile(false)) {
        EndStep(false);
        return;
    }
    if (HandOver(directory, start)) return;
    start.environment = CNotifyServer::Instance().Environment(OpenChildRun());
    QString failure;
    if (!child_->Start(start, &failure)) {
        CloseChildRun();
        ZarMessageBox(failure, MB_OK);
        return;
    }
    extracting_ = false;
    searching_ = true;
    if (sheet_) sheet_->SetSearchRunning(true);
}

void CSearchLauncherBase::OnSearchProgress(WPARAM wParam, LPARAM lParam) {
    const int code = static_cast<int>(lParam & 0xFFFF);
    CSearchProgressDlg* dialog = EnsureProgressDialog(true);
    const int low = static_cast<int>(wParam & 0xFFFF);
    const int high = static_cast<int>((wParam >> 16) & 0xFFFF);
    switch (code) {
        case 2:
            if (dialog) {
                dialog->SetSearchFile(low - 1);
                dialog->SetDatabaseProgress(high);
            }
            break;
        case 3:
            if (dialog) dialog->FileDone(high);
            PostToOwner(kMsgDtaSearchTime, static_cast<WPARAM>(high), filesSearched_ + 1);
            ++filesSearched_;
            break;
        case 0:
            if (dialog) dialog->FileDone(-1);
            CloseChildRun();
            child_->Release();
            FinishRun();
            break;
        default:
            break;
    }
}

void CSearchLauncherBase::OnDatabaseSize(WPARAM wParam, LPARAM lParam) {
    if (sheet_) sheet_->SetDatabaseSize(static_cast<int>(lParam));
    if (wParam == 0 && progressDialog_) {
        progressDialog_->SetDatabaseScale(100);
        progressDialog_->SetFileCount(std::max(dtaCount_, 1));
    }
}

void CSearchLauncherBase::FinishRun() {
    extracting_ = false;
    searching_ = false;
    RemoveListFile();
    if (sheet_) sheet_->deleteLater();
    sheet_ = nullptr;
    if (progressDialog_) progressDialog_->deleteLater();
    progressDialog_ = nullptr;
}

void CSearchLauncherBase::TerminateDtaProcess() {
    if (!child_->Terminate())
        ZarMessageBox(QStringLiteral("Couldn't terminate Veltrix_DTA!"), MB_OK);
    BackToIdle();
    if (sheet_) sheet_->Button(CSearchPropertySheet::kStartId)->setEnabled(true);
    if (progressDialog_) progressDialog_->deleteLater();
    progressDialog_ = nullptr;
}

void CSearchLauncherBase::EndStep(bool post) {
    // The sheet may be the caller: it goes once control is back in the event loop.
    if (sheet_) {
        sheet_->hide();
        sheet_->deleteLater();
    }
    sheet_ = nullptr;
    RemoveListFile();
    if (post) PostToOwner(traits_.endMessage);
}

}  // namespace zar
