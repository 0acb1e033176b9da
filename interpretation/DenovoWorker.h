#pragma once
// Runs a de novo load (preparation, ion types, sequencing, ranking) on a worker thread. The
// worker sequences its own engine and posts the finished engine to the receiver, which takes
// it over (the document keeps it); a cancelled run posts nothing.

#include "DenovoEngine.h"
#include "document/ZarMessages.h"

#include <QObject>

#include <atomic>
#include <thread>
#include <vector>

namespace zar {

// Payload of kMsgDenovoSpectraLoaded (wParam 0, lParam 0), posted when a load has finished.
struct DenovoResult {
    CDenovoEngine engine;  // loaded, sequenced and ranked
    int candidateCount = 0;
};

class CDenovoWorker {
  public:
    CDenovoWorker() = default;
    ~CDenovoWorker();
    CDenovoWorker(const CDenovoWorker&) = delete;
    CDenovoWorker& operator=(const CDenovoWorker&) = delete;

    // Starts a load of the scans; a run still going is cancelled and joined first.
    void Start(QObject* receiver, std::vector<DenovoScan> scans, const DenovoParams& params,
               std::vector<DenovoResidue> residues = DenovoStandardResidues(),
               long long workBudget = CDenovoEngine::kDefaultWorkBudget);
    // Asks the running load to stop at its next step.
    void Cancel();
    // Waits for the running load to end.
    void Wait();
    bool IsRunning() const { return running_.load(); }

  private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
};

}  // namespace zar
