#pragma once
// What the Sorvex and the Massmap parameter sheets share. A sheet is a modeless window owned by
// its launcher: it reads its parameter file when it is made (restoring an unusable one through
// the Invalid Parameters dialog), shows the values on its pages, writes them back with Save or
// when a search starts, and hands the run to the launcher. Values live in one
// SearchParamsModel; the pages and the modification grids show and edit it.

#include "SearchPageBase.h"

#include "search/SearchParamsModel.h"

#include "document/EnzymeTable.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <memory>

class QPushButton;
class QTabWidget;

namespace zar {

class CModificationGrids;
class CSearchBasicPage;
class CSearchLauncher;

class CSearchPropertySheet : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kSaveId = 8590;
    static constexpr int kStartId = 8701;
    static constexpr int kDefaultsId = 12321;
    static constexpr int kCloseId = 2;
    static constexpr int kHelpId = 8548;

    ~CSearchPropertySheet() override;

    SearchKind Kind() const { return model_.Kind(); }
    SearchParamsModel& Model() { return model_; }
    const SearchParamsModel& Model() const { return model_; }
    CSearchLauncher* Launcher() const { return launcher_; }
    // How reading the parameter file went when the sheet was made.
    const SearchParamsModel::ReadResult& ReadResult() const { return readResult_; }

    // Makes the modeless window and shows it with the basic page active.
    void Create();
    // The window's set-up (values into the pages, buttons, place beside the owner); runs once,
    // on Create or the first showing.
    void EnsureSetUp();

    int GetPageCount() const;
    CSearchPageBase* GetPage(int index) const;
    int GetActiveIndex() const;
    void SetActivePage(int index);
    QPushButton* Button(int id) const { return buttons_.value(id, nullptr); }
    CSearchBasicPage* BasicPage() const { return basic_; }
    CModificationGrids* Grids() const { return grids_; }

    // What the launcher asks and sets while a run is set up or running.
    void SetEnzymeTable(const CEnzymeTable::Records& records);
    QString GetDatabasePath() const { return model_.ResolvedDatabasePath(); }
    QString GetResultsDirectory() const { return model_.basic.resultsDirectory; }
    bool IsDtaGenerationChecked() const { return model_.basic.performGeneration; }
    bool IsDtaSearchChecked() const { return model_.basic.performSearch; }
    bool IsRemoveDtaChecked() const { return model_.basic.removeDta; }
    bool IsRemoveOutChecked() const { return model_.basic.removeOut; }
    // The option text of the extraction program (Sorvex also writes the option summary).
    QString BuildExtractionOptions();
    const QString& ExtractionOptions() const { return options_; }
    // Writes the parameter file; starting marks the search running first. False when a page
    // holds a value out of range, an entry is missing (the restore procedure has run) or the
    // file could not be written.
    bool SaveParamFile(bool starting);
    SearchParamsModel::SaveFailure LastSaveFailure() const { return lastSaveFailure_; }
    void SetSearchRunning(bool running);
    bool IsSearchRunning() const { return running_; }
    // The results folder of the last search started.
    QString StartedResultsDirectory() const { return startedResults_; }
    void SetScanLimits(int first, int last, int low, int high);
    void SetScanRange(int first, int last);
    void EnableScanLimits(bool enable);
    // The trace view's range; Start Search is possible only for a raw file whose path has no
    // blank.
    void TrackScanRange(int first, int last);
    void SetIndexedMassRange(double low, double high, double boundLow, double boundHigh);
    void SetFastaMassRange(double low, double high, double boundLow, double boundHigh);
    void SetFastaMassRangeAndRefresh(double low, double lowBound, double high, double highBound);
    void SetDatabaseSize(int count);
    void SetDifferentialModification(int index, const QString& residues, double mass);
    void SetStaticModification(int index, double mass);

    // What the pages share.
    void SetModified(bool changed);
    SearchEnableFlags EnableFlags() const;
    void ApplyEnableFlags();
    // Every page and the grids into the values; false (that page made active) when a page
    // holds a value out of range. Quiet takes what is valid and says nothing.
    bool CommitAll(bool quiet = false);
    void RefreshAll();
    bool IsAtDefaults();

    // The buttons.
    void OnSave();
    void OnStartSearch();
    void OnStopSearch();
    void OnDefaults();
    void OnClose();
    void OnHelp();

  protected:
    // prompt answers the restore procedure's question; null: the Invalid Parameters dialog.
    CSearchPropertySheet(SearchKind kind, const QString& caption, QWidget* owner,
                         CSearchLauncher* launcher, InvalidParamsPrompt* prompt);
    void AddPage(CSearchPageBase* page);
    void SetParts(CSearchBasicPage* basic, CModificationGrids* grids);
    // Reads the parameter file (after the pages exist).
    void Initialize();

    // What differs between the sheets.
    // The Save button's check before anything is written; false stops.
    virtual bool CheckBeforeSave() { return true; }
    virtual QString NeitherMessage() const = 0;
    // Start Search found the database unusable: says so.
    virtual void OnInvalidDatabase() = 0;
    virtual void StartQueueProgram() {}
    virtual unsigned StopMessage() const = 0;
    virtual int HelpContext() const = 0;
    virtual void WriteOptionSummary() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void PlaceBesideOwner();
    QPushButton* MakeButton(int id, const QString& text);
    InvalidParamsPrompt& Prompt();

    SearchParamsModel model_;
    QPointer<QWidget> owner_;
    CSearchLauncher* launcher_;
    InvalidParamsPrompt* prompt_;
    std::unique_ptr<InvalidParamsPrompt> ownPrompt_;
    SearchParamsModel::ReadResult readResult_;
    QTabWidget* tabs_;
    QHash<int, QPushButton*> buttons_;
    CSearchBasicPage* basic_ = nullptr;
    CModificationGrids* grids_ = nullptr;
    QString options_;
    QString startedResults_;
    SearchParamsModel::SaveFailure lastSaveFailure_ = SearchParamsModel::SaveFailure::None;
    bool running_ = false;
    bool setUp_ = false;
    bool shownOnce_ = false;
};

}  // namespace zar
