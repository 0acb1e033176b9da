#pragma once
// The Sorvex search launcher: the sheet "TurboSORVEX Search Parameters" for the current raw
// file, the extraction program dravel_msn into the sheet's results folder and the search
// program sorvex27, run directly or, when the sheet chooses the queue and the search daemon
// is there (registry flag SorvexQueueEnabled), handed to the daemon.

#include "SearchLauncherBase.h"

#include "search/SorvexDaemon.h"

namespace zar {

class CSorvexPropertySheet;

class CSorvexLauncher : public CSearchLauncherBase {
    Q_OBJECT
  public:
    // owner: the main window; dtaListWindow: the window of the .dta list (0x40B1 and 0x40B2 are
    // posted only while it exists).
    CSorvexLauncher(QWidget* owner, QObject* dtaListWindow);
    ~CSorvexLauncher() override;

    void OnDravelMSnProgress(WPARAM wParam, LPARAM lParam) { OnExtractionProgress(wParam, lParam); }
    void OnSorvexProgress(WPARAM wParam, LPARAM lParam) { OnSearchProgress(wParam, lParam); }

    bool HasSearchDaemon() const override { return static_cast<bool>(daemon_); }
    CSorvexPropertySheet* SorvexSheet() const;

  protected:
    CSearchPropertySheet* MakeSheet(InvalidParamsPrompt* prompt) override;
    QString RunDirectory() const override;
    QStringList ExtractionLeadArguments() const override;
    bool HandOver(const QString& directory, const ProgramStart& search) override;

  private:
    std::unique_ptr<CSorvexDaemonDriver> daemon_;
};

}  // namespace zar
