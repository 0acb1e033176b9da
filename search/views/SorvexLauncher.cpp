#include "SorvexLauncher.h"

#include "SearchProgressDlg.h"
#include "SorvexPropertySheet.h"

#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/Settings.h"
#include "document/ZarMessages.h"
#include "search/SorvexQueueJob.h"

#include <QDir>

namespace zar {

namespace {

CSearchLauncherBase::Traits SorvexTraits() {
    CSearchLauncherBase::Traits t;
    t.searchName = "Sorvex";
    t.caption = QStringLiteral("TurboSORVEX Search Parameters");
    t.extractionProgram = GetDravelMSnProgram();
    t.extractionOptions = SplitOptionText(GetDravelMSnOptions());
    t.searchProgram = GetSorvexProgram();
    t.searchOptions = SplitOptionText(GetSorvexOptions());
    t.listName = "SorvexList";
    t.reshowMessage = kMsgSorvexReshowSheet;
    t.endMessage = kMsgSorvexLauncherEnded;
    t.checkMsMs = true;
    return t;
}

}  // namespace

CSorvexLauncher::CSorvexLauncher(QWidget* owner, QObject* dtaListWindow)
    : CSearchLauncherBase(SorvexTraits(), GetSorvexResultsDirectory(), owner, dtaListWindow) {
    // Without the flag, or without the daemon, searches run directly; nothing is said.
    if (IsSorvexQueueEnabled()) daemon_ = CSorvexDaemonDriver::Create();
}

CSorvexLauncher::~CSorvexLauncher() = default;

CSorvexPropertySheet* CSorvexLauncher::SorvexSheet() const {
    return static_cast<CSorvexPropertySheet*>(Sheet());
}

CSearchPropertySheet* CSorvexLauncher::MakeSheet(InvalidParamsPrompt* prompt) {
    return new CSorvexPropertySheet(LauncherTraits().caption, Owner(), this, prompt);
}

QString CSorvexLauncher::RunDirectory() const {
    if (CSearchPropertySheet* sheet = Sheet()) return PortablePath(sheet->GetResultsDirectory());
    return ResultsDirectory();
}

QStringList CSorvexLauncher::ExtractionLeadArguments() const {
    return {QStringLiteral("-D") + RunDirectory()};
}

bool CSorvexLauncher::HandOver(const QString& directory, const ProgramStart& search) {
    CSorvexPropertySheet* sheet = SorvexSheet();
    if (!sheet || !sheet->IsQueueSelected()) return false;
    // The queue was asked for but cannot be reached: nothing starts here.
    if (!daemon_) return true;
    const QStringList command = QStringList{search.program} + search.arguments;
    const QStringList noList = QStringList{search.program} + LauncherTraits().searchOptions;
    QString error;
    const HRESULT hr = daemon_->Submit(RawFilePath(), PortablePath(sheet->GetDatabasePath()),
                                       directory, QDir::currentPath(), CommandListText(command),
                                       CommandListText(noList), sheet->GetQueuePriority(), &error);
    if (FAILED(hr)) {
        ZarMessageBox(
            QStringLiteral("Unable to hand the search to the SORVEX Queue:\n%1").arg(error), MB_OK);
        sheet->SetSearchRunning(false);
        return true;
    }
    if (CSearchProgressDlg* dialog = ProgressDialog()) dialog->FileDone(-1);
    FinishRun();
    return true;
}

}  // namespace zar
