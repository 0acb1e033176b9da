#pragma once
// The modeless "TurboSORVEX Results Status" dialog: loads one result set on a worker thread,
// shows the worker's status text and progress, and offers Cancel. The worker posts the success
// message (0x4097, 0x4098 or 0x40B8) and then, always last, 0x40A1 to the owner, which deletes
// the dialog.

#include "messages/Messages.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zar {

class CSearchResults;
class CSorvexResults;
class CMassmapResults;
class CMultiConsensusResults;

class CResultsStatusDlg : public QDialog {
    Q_OBJECT
  public:
    CResultsStatusDlg(CSorvexResults* set, QObject* owner, QWidget* parent = nullptr);
    CResultsStatusDlg(CMassmapResults* set, QObject* owner, QWidget* parent = nullptr);
    CResultsStatusDlg(CMultiConsensusResults* set, QObject* owner, QWidget* parent = nullptr);
    // Cancels the worker and waits for it: the set is never read by a thread without a window.
    // A worker stuck in the system (a file that never answers) is waited for kStuckWorkerWaitMs
    // at most and then left to end on its own, reporting to no one: closing the program never
    // hangs on it.
    ~CResultsStatusDlg() override;
    static constexpr int kStuckWorkerWaitMs = 2000;

    // The folder of the search-engine job; empty reads the set's own folder.
    void SetResultsFolder(const QString& folder) { resultsFolder_ = folder; }
    QString GetResultsFolder() const { return resultsFolder_; }

    // Shows the window and starts the worker (once).
    void Create();
    bool IsCancelled() const { return worker_->cancelled.load(); }
    // The job has returned (its success message, if any, is posted).
    bool IsJobDone() const { return worker_->done.load(); }

    QLabel* StatusText() const { return status_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Whether a live dialog is still loading the set: views leave such a set alone.
    static bool IsLoading(const CSearchResults* set);

  public slots:
    void reject() override;  // Cancel

  protected:
    bool event(QEvent* e) override;

  private:
    enum class Job { Sorvex, Massmap, Consensus };
    CResultsStatusDlg(Job job, CSearchResults* set, QObject* owner, QWidget* parent);

    // What the worker shares with its window. The worker holds it, not the window, so that a
    // worker left behind never reaches a window or owner that has gone: it posts only to the
    // receivers still named here (under the lock).
    struct WorkerState {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> done{false};
        std::mutex lock;
        std::condition_variable ended;
        bool returned = false;  // the thread has nothing left to do
        QObject* window = nullptr;
        QObject* owner = nullptr;
        void post(bool toWindow, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0,
                  const QString* text = nullptr);
    };
    static void Run(const std::shared_ptr<WorkerState>& state, Job job, CSearchResults* set,
                    const QString& folder);

    Job job_;
    CSearchResults* set_;
    // The owner outlives the dialog (the frame deletes the dialog before it goes), so the worker
    // may post to it.
    QObject* owner_;
    QString resultsFolder_;
    std::shared_ptr<WorkerState> worker_;
    std::thread thread_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* cancel_;
    MessageMap messages_;
};

// The document's set of a result-set kind (1, 2, 3), unless a live dialog is still loading it;
// null otherwise.
CSearchResults* ReadyResultsOfKind(int kind);

}  // namespace zar
