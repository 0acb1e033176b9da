#pragma once
// The Sorvex search-parameter sheet: "sorvex.params" of the Sorvex results folder on four pages
// (Basic Parameters, Advanced Parameters, Amino Acid Modifications, SORVEX Queue). Start Search
// checks the results folder and the database, writes the file and hands the run to the
// launcher, directly or through the queue.

#include "SearchPropertySheet.h"

namespace zar {

class CSorvexGeneralPage;
class CSorvexModificationPage;
class CSorvexParameterPage;
class CSorvexQueuePage;

class CSorvexPropertySheet : public CSearchPropertySheet {
    Q_OBJECT
  public:
    static constexpr int kHelpContext = 8744;

    // caption comes from the launcher; prompt null: the Invalid Parameters dialog asks.
    CSorvexPropertySheet(const QString& caption, QWidget* owner, CSearchLauncher* launcher,
                         InvalidParamsPrompt* prompt = nullptr);

    CSorvexGeneralPage* GeneralPage() const { return general_; }
    CSorvexParameterPage* ParameterPage() const { return parameter_; }
    CSorvexModificationPage* ModificationPage() const { return modification_; }
    CSorvexQueuePage* QueuePage() const { return queue_; }

    bool IsQueueSelected() const { return Model().queue.runChoice == 1; }
    // "High", "Normal" or "Low" through the queue; empty for a direct run.
    QString GetQueuePriority() const { return Model().queue.PriorityText(); }

  protected:
    bool CheckBeforeSave() override;
    QString NeitherMessage() const override;
    void OnInvalidDatabase() override;
    void StartQueueProgram() override;
    unsigned StopMessage() const override;
    int HelpContext() const override { return kHelpContext; }
    void WriteOptionSummary() override;

  private:
    CSorvexGeneralPage* general_;
    CSorvexParameterPage* parameter_;
    CSorvexModificationPage* modification_;
    CSorvexQueuePage* queue_;
};

}  // namespace zar
