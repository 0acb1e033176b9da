#pragma once
// The main window: holds one view (layout) at a time and switches by view type, carries the
// menus, tool bar and status bar, and receives every message that workers, child programs,
// modeless windows and grids post to the user interface.

#include "FrameCommands.h"
#include "InfoBarTarget.h"
#include "ZarmassSheetTarget.h"
#include "ZarDocFrame.h"
#include "ZarViewWidget.h"
#include "document/HitNumber.h"
#include "messages/Messages.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;
class QToolBar;

namespace zar {

class CDisplayOutFileDlg;
class CZarDoc;

class CMainFrame : public QMainWindow, public CZarDocFrame {
    Q_OBJECT
public:
    static constexpr int kMaxViewType = 11;
    static constexpr int kRecentFiles = 15;

    explicit CMainFrame(CZarDoc* doc);
    ~CMainFrame() override;
    static CMainFrame* GetMainFrame();

    // Views and layouts.
    bool OnChooseView(int type, bool force);
    bool ReplaceView(const QString& className);
    void SwitchToView(const QString& className);
    int CurrentViewType() const;
    CZarViewWidget* CurrentView() const { return currentView_; }
    CZarViewWidget* ActiveView() const { return activeView_; }
    // The pane that holds a widget becomes the active view (a click or the keyboard focus).
    void ActivateViewOf(QWidget* widget);
    // The hint a view type sends after a switch; -1 for types that cannot be shown.
    static int HintForViewType(int type);
    static QString ViewClassForType(int type);
    // Whether the view type can be shown whole: every view class of its layout is provided.
    static bool CanShowViewType(int type);

    // CZarDocFrame
    void ResetView() override;
    bool ShowPlotLayout() override;
    void ResetInfoBar() override;
    // Opens a run in place of the open one (File > Open, a recent file, a dropped file). What was
    // worked out on the run that goes goes with it: running work stops and its result, even one
    // on its way, is dropped, and the deconvolution and de novo engines start empty. False when
    // the run did not open (the open one stays as it was).
    bool OpenRun(const QString& path);
    void SetFrameTitle(const QString& title) override;
    void SetMSnTimeRange(double start, double end) override;
    void MSnListChanged() override;
    void AddToRecentFileList(const QString& path) override;
    bool ShowResultsWindow(const SelectedResult& result) override;
    QObject* MessageTarget() override { return this; }

    // Commands.
    QAction* Action(int id) const { return actions_.value(id); }
    void UpdateCommandUI();
    void RunCommand(int id);
    // The result the results-window command (the tool bar's) names.
    SelectedResult ResultsWindowRequest() const;
    bool OpenSequenceFile(const QString& path);
    bool SaveSequenceFile(const QString& path);
    QStringList RecentFiles() const;

    // The Info Bar, when there is one.
    void SetInfoBar(CInfoBarTarget* bar) { infoBar_ = bar; }
    CInfoBarTarget* GetInfoBar() const { return infoBar_; }
    // The modeless deconvolution sheet, null while it is closed. The sheet hands itself over
    // when it is made and takes itself back when it goes.
    CZarmassSheetTarget* GetZarmassSheet() const { return zarmassSheet_; }
    void SetZarmassSheet(CZarmassSheetTarget* sheet) { zarmassSheet_ = sheet; }
    // Closes a held sheet (which deletes it; a sheet without a window is deleted here) and
    // forgets it.
    void ReleaseZarmassSheet();
    // Shows a search-engine output file of a results folder in the one Display '.out' File
    // dialog, made on first use.
    void ShowOutFileDialog(const QString& folder, const QString& fileName);
    CDisplayOutFileDlg* OutFileDialog() const;
    // The modeless dialog of a running result load; while it lives the Open Results commands
    // are disabled. Message 0x40A1 deletes it.
    void SetResultsStatusDialog(QWidget* dialog);
    bool IsLoadingResults() const { return !statusDialog_.isNull(); }
    // Who shows the results window (the document asks through the frame).
    void SetResultsWindowHandler(std::function<bool(const SelectedResult&)> handler) { resultsWindow_ = std::move(handler); }

    // What the search subsystem tells the enabling rules: whether a search is being set up (a
    // parameter sheet or the Dta dialog is shown) and whether the Sorvex launcher reaches the
    // queue.
    void SetSearchState(std::function<bool()> busy, std::function<bool()> queueUsable);

    MessageMap& Messages() { return messages_; }
    int SummaryCellColumn() const { return summaryCell_.first; }
    HitNumber SummaryCellHit() const { return summaryCell_.second; }

    // The window's size and place are kept in the settings when it closes and taken again when
    // the next one is made; false when the settings hold none (or none that fits a screen).
    bool RestorePlacement();
    void SavePlacement() const;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // A file dropped on the window is opened as File > Open would.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void mapMessages();
    void typeOrHint(int type, int hint);
    bool commandEnabled(int id) const;
    int entryCount() const;
    void openRecent(const QString& path);
    void rebuildRecentMenu();

    CZarDoc* doc_;
    CZarViewWidget* currentView_ = nullptr;
    QPointer<CZarViewWidget> activeView_;
    QMetaObject::Connection focusWatch_;
    QHash<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    MessageMap messages_;
    CInfoBarTarget* infoBar_ = nullptr;
    CZarmassSheetTarget* zarmassSheet_ = nullptr;
    QPointer<QWidget> statusDialog_;
    bool resultsLoaded_ = false;  // the running load has posted its success
    QPointer<CDisplayOutFileDlg> outFileDlg_;
    std::function<bool(const SelectedResult&)> resultsWindow_;
    std::function<bool()> searchBusy_;
    std::function<bool()> queueUsable_;
    std::pair<int, HitNumber> summaryCell_{0, HitNumber()};  // column, hit
    std::pair<int, HitNumber> selectionB_{0, HitNumber()};  // column, hit
};

}  // namespace zar
