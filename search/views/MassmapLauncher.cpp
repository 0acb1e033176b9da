#include "MassmapLauncher.h"

#include "MassmapPropertySheet.h"

#include "core/Paths.h"
#include "document/Settings.h"
#include "document/ZarMessages.h"

namespace zar {

namespace {

CSearchLauncherBase::Traits MassmapTraits(const QString& resultsDirectory) {
    CSearchLauncherBase::Traits t;
    t.searchName = "Massmap";
    t.caption = QStringLiteral("Peptide Mapping");
    t.extractionProgram = GetDravelMSProgram();
    // The .dta folder is fixed when the launcher is made.
    t.extractionOptions = SplitOptionText(GetDravelMSOptions());
    t.extractionOptions << QStringLiteral("-D") + PortablePath(resultsDirectory);
    t.searchProgram = GetMassmapProgram();
    t.searchOptions = SplitOptionText(GetMassmapOptions());
    t.listName = "MassmapList";
    t.reshowMessage = kMsgMassmapReshowSheet;
    t.endMessage = kMsgMassmapLauncherEnded;
    t.checkMsMs = false;
    return t;
}

}  // namespace

CMassmapLauncher::CMassmapLauncher(QWidget* owner, QObject* dtaListWindow)
    : CSearchLauncherBase(MassmapTraits(GetPeptideResultsDirectory()), GetPeptideResultsDirectory(),
                          owner, dtaListWindow) {}

CSearchPropertySheet* CMassmapLauncher::MakeSheet(InvalidParamsPrompt* prompt) {
    return new CMassmapPropertySheet(LauncherTraits().caption, Owner(), this, prompt);
}

}  // namespace zar
