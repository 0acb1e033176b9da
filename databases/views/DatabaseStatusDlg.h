#pragma once
// The modeless "Database Status" dialog of one database look-up of a result view (BLAST,
// retrieve or protein coverage): starts the look-up worker for the view, shows its status text
// and progress, and offers Cancel, which closes the window and stops the look-up at its next
// entry. The look-up posts its results and its end (0x40B6, with the view) to the results
// window, on which the view deletes the dialog. Deleting the dialog stops and joins the worker.

#include "DatabaseLookupView.h"

#include "controls/DialogBase.h"
#include "databases/DatabaseLookupWorker.h"
#include "messages/Messages.h"

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zar {

class CSearchResults;
struct SearchHitRecord;

class CDatabaseStatusDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9146;
    static constexpr int kStatusTextId = 9147;
    static constexpr int kProgressId = 9148;
    // Search kinds of StartSearch.
    static constexpr int kSearchBySequence = 1;
    static constexpr int kSearchBySequencePosition = 2;
    static constexpr int kSearchByReference = 3;

    explicit CDatabaseStatusDlg(QWidget* parent);
    ~CDatabaseStatusDlg() override;

    // The view that asks; it must outlive the dialog.
    void SetRequest(CDatabaseLookupView* view) { request_ = view; }
    CDatabaseLookupView* GetRequest() const { return request_; }
    // Shows the window.
    void Create();
    // Starts the look-up of the kind for the request view; false when none started (a kind,
    // set, hit or protein that does not exist), in which case the view's busy flag is clear again
    // and no end message follows.
    bool StartSearch(int kind);
    int GetSearchKind() const { return searchKind_; }
    bool IsCancelled() const { return cancelled_; }
    // The look-up's worker still runs.
    bool IsBusy() const { return worker_ && worker_->isBusy(); }
    // Waits for the look-up's worker to end.
    void Wait();

    QLabel* StatusText() const { return status_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void reject() override;  // Cancel

  protected:
    bool OnInitDialog() override;
    bool event(QEvent* e) override;

  private:
    // Each reads the view's request on this thread and starts the worker; false when there is
    // nothing to look up.
    bool SearchBySequenceThreadProc(CDatabaseLookupView* view);
    bool SearchThreadProc(CDatabaseLookupView* view);
    bool SearchByReferenceThreadProc(CDatabaseLookupView* view);
    // The look-up reads the files of the hit's own search.
    bool startWorker(CDatabaseLookupView* view, CDatabaseLookupWorker::Kind kind,
                     const CSearchResults& results, const SearchHitRecord& hit,
                     const DatabaseLookupRequest& request);
    CSearchResults* resultsOf(const CDatabaseLookupView* view) const;
    // The view's hit, with the busy flag set; null (the flag clear again) when there is none.
    const SearchHitRecord* hitOf(CDatabaseLookupView* view, const CSearchResults*& results) const;

    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    CDatabaseLookupView* request_ = nullptr;
    int searchKind_ = 0;
    bool cancelled_ = false;
    std::unique_ptr<CDatabaseLookupWorker> worker_;
    MessageMap messages_;
};

}  // namespace zar
