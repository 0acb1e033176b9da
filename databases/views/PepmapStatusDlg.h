#pragma once
// The modeless "Pepmap Status" window of one Pepmap run: it starts the run (digest, matching
// and sort of the document's sequence against its run) on a worker thread, shows the worker's
// status text and progress and offers Cancel. A finished run's list goes into the engine and
// the main window is told (0x40B5); a cancelled run leaves the engine's list as it was. The
// Pepmap view owns the window; deleting it cancels the run and waits for the worker.

#include "messages/Messages.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zar {

class CPepmapWorker;

class CPepmapStatusDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9140;
    static constexpr int kStatusId = 9141;
    static constexpr int kProgressId = 9142;

    explicit CPepmapStatusDlg(QWidget* parent);
    ~CPepmapStatusDlg() override;

    // Shows the window and starts the run, once. Without a Pepmap engine nothing runs.
    void Create();
    bool IsCancelled() const { return cancelled_; }
    // The run has started and its worker has returned (its messages may still be queued).
    bool IsRunFinished() const;
    bool IsRunning() const { return worker_ && !IsRunFinished(); }

    QLabel* StatusText() const { return status_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void reject() override;  // Cancel

  protected:
    bool event(QEvent* e) override;

  private:
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    MessageMap messages_;
    std::unique_ptr<CPepmapWorker> worker_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace zar
