#pragma once
// The Massmap search-parameter sheet: "massmap.params" of the peptide-mapping results folder
// on two pages (Basic Parameters, Advanced Parameters with the modification grids). It is the
// Sorvex sheet without results-folder check, queue or option summary.

#include "SearchPropertySheet.h"

namespace zar {

class CMassmapAdvancedPage;
class CMassmapBasicPage;

class CMassmapPropertySheet : public CSearchPropertySheet {
    Q_OBJECT
  public:
    static constexpr int kHelpContext = 9149;

    CMassmapPropertySheet(const QString& caption, QWidget* owner, CSearchLauncher* launcher,
                          InvalidParamsPrompt* prompt = nullptr);

    CMassmapBasicPage* BasicParametersPage() const { return basic_; }
    CMassmapAdvancedPage* AdvancedPage() const { return advanced_; }

    void EnableDefaultsButton(bool enable);
    void EnableStartButton(bool enable);

  protected:
    QString NeitherMessage() const override;
    void OnInvalidDatabase() override;
    unsigned StopMessage() const override;
    int HelpContext() const override { return kHelpContext; }

  private:
    CMassmapBasicPage* basic_;
    CMassmapAdvancedPage* advanced_;
};

}  // namespace zar
