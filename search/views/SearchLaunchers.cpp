#include "SearchLaunchers.h"

#include "DtaCreateDialog.h"
#include "MassmapLauncher.h"
#include "SorvexLauncher.h"

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/RegisteredMessages.h"
#include "app/ZarViewWidget.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/MassmapResults.h"
#include "document/ZarMessages.h"
#include "gui/Shell.h"
#include "hub/ZarDoc.h"
#include "resultviews/RegisterResultViews.h"
#include "resultviews/ResultsStatusDlg.h"
#include "search/SorvexQueueClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QSysInfo>
#include <QUrl>

namespace zar {

namespace {

CSearchLaunchers*& Instance() {
    static CSearchLaunchers* instance = nullptr;
    return instance;
}

}  // namespace

CSearchLaunchers::CSearchLaunchers(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    Instance() = this;
    MapMessages();
    // Closing the main window while a search runs asks first.
    frame.installEventFilter(this);
}

bool CSearchLaunchers::IsSearchRunning() const {
    const auto running = [](const CSearchLauncherBase* l) {
        return l && (l->IsExtracting() || l->IsSearching());
    };
    return running(sorvex_.get()) || running(massmap_.get());
}

bool CSearchLaunchers::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &frame_ || event->type() != QEvent::Close || !IsSearchRunning())
        return QObject::eventFilter(watched, event);
    if (ZarMessageBox(QString::fromLatin1(kSearchRunningOnExitText),
                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
        // The search goes on and so does the program.
        event->ignore();
        return true;
    }
    // The outside programs are asked to end and clean up before the window goes.
    for (CSearchLauncherBase* l : {static_cast<CSearchLauncherBase*>(sorvex_.get()),
                                   static_cast<CSearchLauncherBase*>(massmap_.get())})
        if (l && (l->IsExtracting() || l->IsSearching())) l->TerminateDtaProcess();
    return QObject::eventFilter(watched, event);
}

CSearchLaunchers::~CSearchLaunchers() {
    sorvex_.reset();
    massmap_.reset();
    delete dta_.data();
    if (Instance() == this) Instance() = nullptr;
}

CSearchLaunchers* CSearchLaunchers::Of(const CMainFrame& frame) {
    CSearchLaunchers* launchers = Instance();
    return launchers && &launchers->frame_ == &frame ? launchers : nullptr;
}

QObject* CSearchLaunchers::DtaListWindow() const {
    return dynamic_cast<QObject*>(frame_.GetInfoBar());
}

bool CSearchLaunchers::IsSearchBusy() const {
    return (sorvex_ && sorvex_->IsMonitorVisible()) || (massmap_ && massmap_->IsMonitorVisible()) ||
           (dta_ && dta_->isVisible());
}

bool CSearchLaunchers::IsQueueUsable() const {
    return sorvex_ && sorvex_->HasSearchDaemon();
}

template <class One, class Range>
void CSearchLaunchers::ApplyScanRule(One one, Range range) const {
    CZarDoc* doc = CZarDoc::GetDoc();
    CZarViewWidget* active = frame_.ActiveView();
    if (!doc || !active) return;
    if (QLatin1String(active->ViewClassName()) == QLatin1String("CSpecView")) {
        one(doc->GetCurrentRetentionTime());
        return;
    }
    double low = 0.0;
    double high = 0.0;
    doc->GetSelectedRange(low, high);
    if (low > 0.0) range(low, high);
}

void CSearchLaunchers::StartSorvexSearch() {
    if (IsSearchBusy()) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return;
    if (!sorvex_) sorvex_ = std::make_unique<CSorvexLauncher>(&frame_, DtaListWindow());
    if (CInfoBarTarget* bar = frame_.GetInfoBar()) bar->ShowPage(100);
    if (doc->GetEnzymeTable()) sorvex_->SetEnzymeTable(&doc->GetEnzymeTable()->GetRecords());
    if (!sorvex_->ResultsDirectoryExists()) {
        EndSorvexLauncher();
        return;
    }
    if (!sorvex_->Start(doc->GetRawFilePath())) {
        sorvex_.reset();
        frame_.UpdateCommandUI();
        return;
    }
    CSorvexLauncher* launcher = sorvex_.get();
    ApplyScanRule([launcher](double t) { launcher->SetScanFromTime(t); },
                  [launcher](double a, double b) { launcher->SetScanRangeFromTimes(a, b); });
    frame_.UpdateCommandUI();
}

void CSearchLaunchers::StartPeptideMapping() {
    if (IsSearchBusy()) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return;
    if (!massmap_) massmap_ = std::make_unique<CMassmapLauncher>(&frame_, DtaListWindow());
    if (CInfoBarTarget* bar = frame_.GetInfoBar()) bar->ShowPage(100);
    if (doc->GetEnzymeTable()) massmap_->SetEnzymeTable(&doc->GetEnzymeTable()->GetRecords());
    if (!massmap_->Start(doc->GetRawFilePath())) {
        massmap_.reset();
        frame_.UpdateCommandUI();
        return;
    }
    CMassmapLauncher* launcher = massmap_.get();
    ApplyScanRule([launcher](double t) { launcher->SetScanFromTime(t); },
                  [launcher](double a, double b) { launcher->SetScanRangeFromTimes(a, b); });
    frame_.UpdateCommandUI();
}

void CSearchLaunchers::ShowSorvexDta() {
    if (IsSearchBusy() && !(dta_ && dta_->isVisible())) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!dta_) {
        dta_ = new CDtaCreateDialog(&frame_, true);
        dta_->Create();
    }
    dta_->SetRawFile(doc ? doc->GetRawFilePath() : QString(), true);
    CDtaCreateDialog* dialog = dta_.data();
    ApplyScanRule([dialog](double t) { dialog->SetScanFromTime(t); },
                  [dialog](double a, double b) { dialog->SetScanRangeFromTimes(a, b); });
    dta_->show();
    dta_->raise();
    frame_.UpdateCommandUI();
}

void CSearchLaunchers::EndSorvexLauncher() {
    if (!sorvex_) return;
    if (sorvex_->HasRunState()) sorvex_->EndStep(false);
    sorvex_.reset();
    frame_.UpdateCommandUI();
}

void CSearchLaunchers::EndMassmapLauncher() {
    if (!massmap_) return;
    if (massmap_->HasRunState()) massmap_->EndStep(false);
    massmap_.reset();
    frame_.UpdateCommandUI();
}

void CSearchLaunchers::MapMessages() {
    MessageMap& m = frame_.Messages();
    m.on(kMsgSorvexReshowSheet, [this](const Message&) {
        if (sorvex_) {
            sorvex_->ReshowSheet();
            sorvex_->TerminateDtaProcess();
        }
        return 0;
    });
    m.on(kMsgMassmapReshowSheet, [this](const Message&) {
        if (massmap_) {
            massmap_->ReshowSheet();
            massmap_->TerminateDtaProcess();
        }
        return 0;
    });
    m.on(kMsgSorvexLauncherEnded, [this](const Message&) {
        EndSorvexLauncher();
        return 0;
    });
    m.on(kMsgMassmapLauncherEnded, [this](const Message&) {
        EndMassmapLauncher();
        return 0;
    });
    // Registered messages: only what a launcher's own child posted reaches the launcher.
    const RegisteredMessages& r = ProgramMessages();
    m.on(r.databaseSize, [this](const Message& msg) {
        if (sorvex_ && sorvex_->IsOwnChildMessage(msg))
            sorvex_->OnDatabaseSize(msg.wParam, msg.lParam);
        if (massmap_ && massmap_->IsOwnChildMessage(msg))
            massmap_->OnDatabaseSize(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(r.dravelMSnProgress, [this](const Message& msg) {
        if (sorvex_ && sorvex_->IsExtracting() && sorvex_->IsOwnChildMessage(msg))
            sorvex_->OnDravelMSnProgress(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(r.dravelMSProgress, [this](const Message& msg) {
        if (massmap_ && massmap_->IsOwnChildMessage(msg))
            massmap_->OnDravelMSProgress(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(r.sorvexProgress, [this](const Message& msg) {
        if (!sorvex_ || !sorvex_->IsSearching() || !sorvex_->IsOwnChildMessage(msg)) return 0;
        if ((msg.lParam & 0xFFFF) == 0) OpenSorvexResults(frame_, sorvex_->SearchedDirectory());
        sorvex_->OnSorvexProgress(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(r.massmapProgress, [this](const Message& msg) {
        if (!massmap_ || !massmap_->IsSearching() || !massmap_->IsOwnChildMessage(msg)) return 0;
        if ((msg.lParam & 0xFFFF) == 0) OpenMassmapResults(frame_, massmap_->SearchedDirectory());
        massmap_->OnMassmapProgress(msg.wParam, msg.lParam);
        return 0;
    });
}

void RegisterSearchLaunchers(CMainFrame& frame) {
    auto* launchers = new CSearchLaunchers(frame);
    EnsureSorvexDaemonRegistered(QDir(QCoreApplication::applicationDirPath())
                                     .filePath(QString::fromLatin1(kSorvexDaemonLibrary)));
    RegisterFrameCommand(ID_ACTION_SORVEX_SEARCH, [](CMainFrame& f) {
        if (CSearchLaunchers* l = CSearchLaunchers::Of(f)) l->StartSorvexSearch();
    });
    RegisterFrameCommand(ID_ACTION_PEPTIDE_MAPPING, [](CMainFrame& f) {
        if (CSearchLaunchers* l = CSearchLaunchers::Of(f)) l->StartPeptideMapping();
    });
    RegisterFrameCommand(ID_ACTION_SORVEX_DTA, [](CMainFrame& f) {
        if (CSearchLaunchers* l = CSearchLaunchers::Of(f)) l->ShowSorvexDta();
    });
    RegisterFrameCommand(ID_TOOLS_SORVEX_QUEUE, [](CMainFrame&) {
        QString failure;
        if (!StartSorvexQueueProgram(&failure)) ZarMessageBox(failure, MB_OK);
    });
    // The engine's web pages on this computer; a browser tells when nothing serves them.
    RegisterFrameCommand(ID_TOOLS_SORVEX_BROWSER, [](CMainFrame& f) {
        const QString name = QSysInfo::machineHostName();
        if (name.isEmpty()) {
            ZarMessageBox(QStringLiteral("Unable to determine the computer name"), MB_OK);
            return;
        }
        QUrl url;
        url.setScheme(QStringLiteral("http"));
        url.setHost(name);
        url.setPath(QStringLiteral("/brisolt.html"));
        OpenUrlWithShell(url, &f);
    });
    QPointer<CSearchLaunchers> guarded(launchers);
    frame.SetSearchState([guarded] { return guarded && guarded->IsSearchBusy(); },
                         [guarded] { return guarded && guarded->IsQueueUsable(); });
}

}  // namespace zar
