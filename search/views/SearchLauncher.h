#pragma once
// What a search-parameter sheet asks of the launcher that owns it. The Sorvex and Massmap
// launchers implement it; the sheet never owns its launcher.

#include <QString>

namespace zar {

class CSearchLauncher {
  public:
    virtual ~CSearchLauncher() = default;

    // Ends the current step; the launcher then destroys the sheet, never inside this call
    // (the sheet is still on the stack). post: the main frame is told that the step ended.
    virtual void EndStep(bool post) = 0;

    // The run steps of Start Search, in this order: old files go, then either the extraction
    // starts, or the .dta files already present are listed and searched.
    virtual void DeleteOldResultFiles() = 0;
    virtual void StartDtaGeneration() = 0;
    // Path of the list file of the .dta files present; empty when none was made.
    virtual QString ListExistingDtaFiles() = 0;
    virtual void RunSearch(const QString& listPath) = 0;

    // A scan range typed on the basic page.
    virtual void SetScanRange(int first, int last) = 0;
    // Whether searches can be handed to the search daemon (the queue).
    virtual bool HasSearchDaemon() const = 0;
    // The raw file of the run the sheet sets up.
    virtual QString RawFilePath() const = 0;
    // The database was recorded before: its proteins are counted again on the next run.
    virtual void ClearDatabaseTallyDone() = 0;
};

}  // namespace zar
