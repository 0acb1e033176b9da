#pragma once
// The worker thread of a Pepmap run. It runs on copies (a PepmapRunRequest and a spectrum source
// of its own) and reports only by posted messages to the window that shows its progress: status
// text, progress, messages for the user and, at the end, kMsgPepmapChanged carrying the new list
// (a PepmapRunResultPtr), which the window's user-interface thread swaps into the engine before
// it passes kMsgPepmapChanged on, without a payload, to the main window.

#include "PepmapEngine.h"
#include "PepmapMatcher.h"
#include "PepmapRun.h"

#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace zar {

// Posted to the progress window: the status text (payload QString).
constexpr unsigned kPepmapStatusTextMessage = 0x000C;
// Posted to the progress window: the progress position 0-100 in wParam.
constexpr unsigned kPepmapProgressMessage = WM_USER + 2;
// Posted to the progress window: a message for the user (payload QString).
unsigned PepmapMessageBoxMessage();

using PepmapRunResultPtr = std::shared_ptr<PepmapRunResult>;

class CPepmapWorker {
  public:
    CPepmapWorker(PepmapRunRequest request, std::unique_ptr<PepmapSpectrumSource> source,
                  QObject* progressWindow);
    // Cancels the run and waits for the thread, so it never outlives its progress window.
    ~CPepmapWorker();
    CPepmapWorker(const CPepmapWorker&) = delete;
    CPepmapWorker& operator=(const CPepmapWorker&) = delete;

    void Start();
    // The run stops at its next check and posts nothing more but what is already queued.
    void Cancel() { cancel_ = true; }
    void Wait();
    bool IsFinished() const { return finished_; }
    bool IsCancelled() const { return cancel_; }

  private:
    void run();

    PepmapRunRequest request_;
    std::unique_ptr<PepmapSpectrumSource> source_;
    QObject* window_;
    PepmapCancelFlag cancel_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

struct PepmapStatusCallbacks {
    std::function<void(const QString&)> setStatusText;
    std::function<void(int)> setProgress;
};

// Makes a progress window's message map handle its worker's messages on the user-interface
// thread: status and progress go to the callbacks, messages to the message box, and a finished
// run's list into the engine, after which kMsgPepmapChanged goes to mainWindow.
void RoutePepmapWorkerMessages(MessageMap& map, CPepmapEngine& engine, QObject* mainWindow,
                               PepmapStatusCallbacks callbacks);

}  // namespace zar
