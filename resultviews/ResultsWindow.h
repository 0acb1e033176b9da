#pragma once
// The popup "TurboSORVEX Results" window: shows one selected result in one of its form views at
// a time (BLAST, retrieve, display ions, show output, coverage, search parameters, select ions,
// XPRESS), with a tool bar of view commands and two combos: the reading frame of nucleotide
// look-ups and the output files of a consensus entry. Closing hides it.

#include "document/SelectedResult.h"
#include "messages/Messages.h"

#include <QMainWindow>

#include <array>
#include <vector>

class QAction;
class QComboBox;
class QStackedWidget;

namespace zar {

class CResultsFormView;
class CShowOutView;

class CResultsWindow : public QMainWindow {
    Q_OBJECT
  public:
    // View slots, in creation order.
    enum Slot {
        kSlotBlast,
        kSlotRetrieve,
        kSlotDisplayIons,
        kSlotShowOut,
        kSlotCoverage,
        kSlotSearchInfo,
        kSlotSelectIons,
        kSlotXpress,
        kSlotCount
    };
    static constexpr int kReadingFrameComboId = 9324;
    static constexpr int kOutputFileComboId = 9325;
    static constexpr int kHelpCommand = 57670;
    static constexpr int kHelpContext = 9339;

    explicit CResultsWindow(QWidget* parent = nullptr);
    ~CResultsWindow() override;

    void DisplayResult(const SelectedResult& item);
    void ShowView(int type);
    void SelectView(int type);
    // Tool-bar commands 9316 to 9323.
    void OnViewCommand(int command);

    void ResetToolBarCombo();
    // The output files of a consensus entry, named by their hits.
    void FillToolBarCombo(const std::vector<HitNumber>& hits, HitNumber selected);
    // The shown view's title becomes name; the window then carries it.
    void SetTitle(const QString& name);
    // Carries the shown view's title, or "TurboSORVEX Results - " and the view's name.
    void UpdateTitle();
    // Moves and, when it must, shrinks the window so that it lies inside the screen's available
    // area (the screen of the main window).
    void KeepInsideScreen();
    void OnReadingFrameChanged(int index);
    void OnOutputFileChanged(int index);
    // Printing (57607) and zoom (9211 to 9217): answered by the shown view.
    void OnViewPaneCommand(int command);
    // Enables the tool bar's commands as the shown view's state allows.
    void UpdateCommandUI() { updateCommands(); }

    int ShownType() const { return shownType_; }
    int CurrentKind() const { return currentKind_; }
    const SelectedResult& StoredResult() const { return stored_; }
    int ReadingFrame() const { return readingFrame_; }
    CResultsFormView* View(Slot slot) const { return views_[slot]; }
    CResultsFormView* ViewOfType(int type) const;
    CShowOutView* ShowOut() const;
    QComboBox* ReadingFrameCombo() const { return readingFrames_; }
    QComboBox* OutputFileCombo() const { return outputFiles_; }
    QAction* Action(int command) const;

    // Reading-frame names of the "Reading frames" profile section: each piece before a ';'.
    static QStringList ReadingFrameNames(const QString& factorList);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void createToolBar();
    void fillReadingFrames();
    void mapMessages();
    void updateCommands();
    bool shownViewAnswers(int command) const;

    QStackedWidget* stack_;
    QWidget* emptyPane_;
    std::array<CResultsFormView*, kSlotCount> views_{};
    QComboBox* readingFrames_ = nullptr;
    QComboBox* outputFiles_ = nullptr;
    QWidget* zoomButton_ = nullptr;
    std::vector<std::pair<int, QAction*>> actions_;
    MessageMap messages_;
    int currentKind_ = 0;
    int shownType_ = 0;
    int readingFrame_ = 1;
    SelectedResult stored_;
    int readingFrameEnable_ = 0;
    int outputFileEnable_ = 0;
    bool placed_ = false;
    QString text_;  // buffer of the retrieve and coverage views
};

}  // namespace zar
