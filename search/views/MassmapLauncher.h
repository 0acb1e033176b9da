#pragma once
// The peptide-mapping launcher: the Sorvex launcher's twin with the sheet "Peptide Mapping",
// the extraction program dravel_ms and the search program massmap, both always in the peptide
// results folder of the settings as they were when the launcher was made; no queue, no
// MS/MS check.

#include "SearchLauncherBase.h"

namespace zar {

class CMassmapPropertySheet;

class CMassmapLauncher : public CSearchLauncherBase {
    Q_OBJECT
  public:
    CMassmapLauncher(QWidget* owner, QObject* dtaListWindow);

    void OnDravelMSProgress(WPARAM wParam, LPARAM lParam) { OnExtractionProgress(wParam, lParam); }
    void OnMassmapProgress(WPARAM wParam, LPARAM lParam) { OnSearchProgress(wParam, lParam); }

  protected:
    CSearchPropertySheet* MakeSheet(InvalidParamsPrompt* prompt) override;
    QString RunDirectory() const override { return ResultsDirectory(); }
    QStringList ExtractionLeadArguments() const override { return {}; }
};

}  // namespace zar
