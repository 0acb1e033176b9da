#pragma once
// Runs XPRESS quantitation on a thread of its own: the ratio pass over every hit of a result
// set, or one hit for the ICAT pane. The worker quantifies copies of the hits with its own
// engine and reader and posts the results as an owned copy; the user-interface thread writes
// them into the result set, so no record is written while a table reads it.

#include "XpressQuant.h"

#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace zar {

enum class XpressJobKind {
    kRatioPass,  // QuantifyHit for every hit
    kPeptide,    // the traces of the first hit (QuantifyPeptide)
    kInRanges,   // the first hit within the scans its sides carry (QuantifyInRanges)
};

struct XpressJob {
    XpressJobKind kind = XpressJobKind::kRatioPass;
    QString rawFilePath;
    XpressSettings settings;
    std::vector<SearchHitRecord> hits;
    // Where the result goes, and with which message. The target must outlive the worker: its
    // owner cancels and waits before either goes.
    QObject* target = nullptr;
    unsigned message = kMsgXpressUpdated;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // Called on the worker's thread after each hit (for a status text that polls, or a test).
    std::function<void(int processed, int count)> onHit;
};

// The payload of the worker's message.
struct XpressJobResult {
    XpressJobKind kind = XpressJobKind::kRatioPass;
    bool opened = false;    // the run could be read
    bool finished = false;  // every hit was processed
    bool cancelled = false;
    int processed = 0;  // hits quantified before the end
    // The hits as quantified; only the first `processed` carry new XPRESS blocks.
    std::vector<SearchHitRecord> hits;
    // For one hit: the run's scan range and both raw traces over it (entry 0 = first scan).
    int firstScan = 0;
    int lastScan = 0;
    std::vector<double> lightTrace;
    std::vector<double> heavyTrace;
};

// Writes the XPRESS blocks of a result into the records with the same record index.
void ApplyXpressResult(const XpressJobResult& result, std::vector<SearchHitRecord>& records);
// The same into a loaded result set (user-interface thread), by hit number, where the record
// still names the quantified spectrum and peptide; the number of records written.
int ApplyXpressResult(const XpressJobResult& result, CSearchResults& results);

// The ratio pass over a loaded result set: copies of its hits, its run and the settings.
XpressJob MakeRatioPassJob(const CSearchResults& results, const XpressSettings& settings,
                           QObject* target);

class CXpressWorker {
  public:
    CXpressWorker() = default;
    // Cancels a running job and waits for it.
    ~CXpressWorker();
    CXpressWorker(const CXpressWorker&) = delete;
    CXpressWorker& operator=(const CXpressWorker&) = delete;

    // Starts a job; false while the previous one still runs (one at a time).
    bool Start(XpressJob job);
    void Cancel() { cancel_.store(true); }
    // Waits for the running job, if any.
    void Wait();
    bool IsBusy() const { return busy_.load(); }
    // 0..100 of the running (or last) job.
    int Progress() const { return progress_.load(); }

    // The job as the worker runs it; callable on any thread (the tests call it directly).
    static XpressJobResult Run(const XpressJob& job, const std::atomic<bool>& cancel,
                               std::atomic<int>& progress);

  private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> busy_{false};
    std::atomic<int> progress_{0};
};

}  // namespace zar
