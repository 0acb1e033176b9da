#pragma once
// The recalculation of every hit's XPRESS ratio in the loaded search-engine results: a worker
// quantifies copies of the hits while the main window's status bar shows its progress and a
// Cancel button; the ratios are written into the results on the user-interface thread when it
// ends. The program runs one recalculation at a time.

#include "spectrumviews/XpressWorker.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zar {

class CZarDoc;
class MessageReceiver;

class CXpressRecalculation : public QWidget {
    Q_OBJECT
  public:
    // How often the status bar follows the worker's progress.
    static constexpr int kProgressIntervalMs = 100;
    // How long the status bar says that the pass ended.
    static constexpr int kFinishedMessageMs = 5000;

    // The recalculation kept in the status bar of frame, made on first use.
    static CXpressRecalculation& Of(QMainWindow& frame);
    // Whether a recalculation runs anywhere in the program.
    static bool IsRunning();
    // Whether a pass over the document's results may start now; when not, the user is told why
    // (one runs already, or the results are being read).
    static bool CanStart(const CZarDoc& doc);

    ~CXpressRecalculation() override;

    // Starts the pass over the document's search-engine results with the document's XPRESS
    // settings; false (the user told why) when it cannot start.
    bool Start(CZarDoc& doc);
    void Cancel();
    bool IsBusy() const { return busy_; }

    // For checks: waits until the pass ended and its result was taken (false on time-out).
    bool WaitUntilIdle(int milliseconds);
    // For checks: called on the worker's thread after each hit of every later pass; false
    // cancels the pass. An empty function removes it.
    using HitObserver = std::function<bool(int processed, int count)>;
    static void SetHitObserver(HitObserver observer);
    QLabel* Text() const { return text_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    explicit CXpressRecalculation(QMainWindow& frame);
    void takeResult(const XpressJobResult& result);
    void showProgress();

    QMainWindow& frame_;
    QLabel* text_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTimer* timer_;
    MessageReceiver* receiver_;
    bool busy_ = false;
    // Cancelled and joined before the widgets it reports to go.
    CXpressWorker worker_;
};

}  // namespace zar
