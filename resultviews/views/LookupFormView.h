#pragma once
// Base of the results window's views that look proteins up in the result's database (BLAST,
// retrieve, protein coverage): each look-up runs behind its own Database Status dialog, a
// request that comes while one runs waits and the newest of them runs when it ends, and the
// view answers the web look-ups, the sequence copy and printing of its context menu.

#include "databases/views/DatabaseStatusDlg.h"
#include "resultviews/ResultsFormView.h"

#include <QPointer>

#include <any>
#include <functional>

class QMenu;
class QPrinter;

namespace zar {

class CSearchResults;
struct SearchHitRecord;

// The hit a result names in its set, and the reference and the peptide's letters it asks about:
// the result's own, else its hit's. A protein row names no hit: the hit whose files serve its
// protein's look-ups stands for it, with the protein's reference and the peptide that hit gave
// the protein. Null when there is no such hit.
const SearchHitRecord* TargetOfResult(const CSearchResults& set, const SelectedResult& item,
                                      QString* reference = nullptr, QString* peptide = nullptr);

class CLookupFormView : public CResultsFormView, public CDatabaseLookupView {
    Q_OBJECT
  public:
    // Commands of the views' context menu (menu 9240) and printing.
    static constexpr int kCmdExportSequence = 9231;
    static constexpr int kCmdNcbiBlast = 9235;
    static constexpr int kCmdSwissProtAccession = 9236;
    static constexpr int kCmdSwissProtDescription = 9237;
    static constexpr int kCmdSwissProtFullText = 9239;
    static constexpr int kCmdPrint = 57607;
    static constexpr int kCmdPrintDirect = 57608;

    CLookupFormView(CResultsWindow* owner, QWidget* parent);
    // A look-up still running is stopped and its dialog deleted.
    ~CLookupFormView() override;

    // CDatabaseLookupView
    int GetResultKind() const override { return kind_; }
    QObject* GetResultsWindow() const override;
    int GetReadingFrame() const override;
    WPARAM GetLookupOwner() const override;
    void SetSearching(bool searching) override { searching_ = searching; }

    // The look-up's end (0x40B6): its result, then the dialog goes.
    void TakeSearchResult(std::any& result) override;
    void DeleteSearch() override;

    // The context menu's commands and printing.
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void OnNcbiBlast();
    void OnSwissProtAccession();
    void OnSwissProtDescription();
    void OnSwissProtFullText();
    void OnExportSequence();
    // Asks for a printer and prints the view's report.
    void OnFilePrint();
    // The report on a printer; returns the pages printed.
    virtual int PrintReport(QPrinter& printer) = 0;
    // The first submenu of menu 9240 (and printing), commands to this view.
    void FillContextMenu(QMenu& menu);

    bool IsSearching() const { return searching_; }
    CDatabaseStatusDlg* StatusDialog() const { return statusDialog_; }
    bool HasPendingRequest() const { return static_cast<bool>(pending_); }
    // For checks: waits until no look-up runs or waits (false on time-out).
    bool WaitUntilIdle(int milliseconds);

  protected:
    // What the web look-ups and the copy send.
    virtual QString BlastSequence() const = 0;
    virtual QString SwissProtText() const = 0;
    virtual QString ClipboardSequence() const = 0;
    // The look-up's result, when it is still wanted.
    virtual void OnSearchResult(std::any& result) = 0;

    // A look-up of the view runs or waits to be deleted: the new request waits (the newest
    // replaces an older one) and runs once the running one has ended; true when it waits.
    bool DeferWhileSearching(std::function<void()> request);
    // Whether records the look-up sends on its way are still for what the view shows.
    bool WantsSearchRecords() const { return statusDialog_ && !pending_; }
    // Creates the status dialog and starts the look-up; false (dialog gone) when none started.
    bool StartLookup(int searchKind);

    bool event(QEvent* e) override;

    int kind_ = 0;

  private:
    QPointer<CDatabaseStatusDlg> statusDialog_;
    bool searching_ = false;
    std::function<void()> pending_;
};

}  // namespace zar
