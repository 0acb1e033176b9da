#pragma once
// Runs the FASTA index build or a FASTA selection on a worker thread for its dialog. The worker
// posts its status text, progress, message-list lines and its result (owned copies) to the
// dialog and stops between entries when cancelled; destroying it cancels and joins it.

#include "databases/DatabaseMessages.h"
#include "databases/FastaIndexBuilder.h"
#include "databases/FastaSelection.h"

#include <atomic>
#include <thread>

namespace zar {

class CDatabaseToolWorker {
  public:
    explicit CDatabaseToolWorker(QObject* statusTarget);
    ~CDatabaseToolWorker();
    CDatabaseToolWorker(const CDatabaseToolWorker&) = delete;
    CDatabaseToolWorker& operator=(const CDatabaseToolWorker&) = delete;

    // Indexes the FASTA file into its ".idx"; ends with a FastaIndexBuildResult.
    bool startIndexBuild(const QString& fastaPath, bool nucleotide, bool monoisotopic);
    // Runs the selection; ends with a SelectResult.
    bool startSelection(const SelectRequest& request);

    void cancel() { cancel_ = true; }
    bool isBusy() const { return busy_; }
    void wait();

  private:
    bool begin();
    WorkProgress progress();

    QObject* target_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> busy_{false};
    std::thread thread_;
};

}  // namespace zar
