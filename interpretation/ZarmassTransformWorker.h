#pragma once
// Runs a parent-ion transform on its own thread. It reports to its owner only by posted
// messages: kMsgZarmassProgress (1, per cent) while it runs, (1, 100) when it finished and
// (0, 0) when it ended, then kMsgZarmassTransformDone or kMsgZarmassSelectedDone carrying the
// ZarmassTransformResult as an owned copy (marked cancelled when it was stopped).

#include "ZarmassTransform.h"

#include <QObject>

#include <atomic>
#include <thread>

namespace zar {

class CZarmassTransformWorker {
  public:
    // The owner receives the messages; it must outlive this object.
    explicit CZarmassTransformWorker(QObject* owner);
    // Stops a running transform and waits for it.
    ~CZarmassTransformWorker();
    CZarmassTransformWorker(const CZarmassTransformWorker&) = delete;
    CZarmassTransformWorker& operator=(const CZarmassTransformWorker&) = delete;

    // Starts the job; false while another one still runs.
    bool Start(ZarmassTransformJob job);
    // Asks the running transform to stop; it ends at its next look at the flag.
    void Cancel();
    // Waits until the thread has ended (all its messages are posted by then).
    void Wait();
    bool IsRunning() const { return running_.load(); }

  private:
    void Run(const ZarmassTransformJob& job);

    QObject* owner_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
};

}  // namespace zar
