#include "XpressWorker.h"

#include <algorithm>
#include <unordered_map>

namespace zar {

void ApplyXpressResult(const XpressJobResult& result, std::vector<SearchHitRecord>& records) {
    std::unordered_map<int, size_t> byIndex;
    byIndex.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) byIndex.emplace(records[i].recordIndex, i);
    const int count = std::min(result.processed, static_cast<int>(result.hits.size()));
    for (int i = 0; i < count; ++i) {
        const SearchHitRecord& hit = result.hits[static_cast<size_t>(i)];
        const auto found = byIndex.find(hit.recordIndex);
        if (found != byIndex.end()) CopyXpressBlock(hit, records[found->second]);
    }
}

int ApplyXpressResult(const XpressJobResult& result, CSearchResults& results) {
    int written = 0;
    const int count = std::min(result.processed, static_cast<int>(result.hits.size()));
    for (int i = 0; i < count; ++i) {
        const SearchHitRecord& hit = result.hits[static_cast<size_t>(i)];
        SearchHitRecord* record = results.FindHit(hit.hitNumber());
        // Results read again while the worker ran hold other hits under the same numbers.
        if (record && record->fileInformation == hit.fileInformation &&
            record->peptide == hit.peptide) {
            CopyXpressBlock(hit, *record);
            ++written;
        }
    }
    return written;
}

XpressJob MakeRatioPassJob(const CSearchResults& results, const XpressSettings& settings,
                           QObject* target) {
    XpressJob job;
    job.kind = XpressJobKind::kRatioPass;
    job.rawFilePath = results.GetRawFilePath();
    job.settings = settings;
    job.target = target;
    job.hits.reserve(static_cast<size_t>(std::max(results.GetHitCount(), 0)));
    for (int i = 0; i < results.GetHitCount(); ++i) {
        if (const SearchHitRecord* hit = results.GetHit(i)) job.hits.push_back(*hit);
    }
    return job;
}

CXpressWorker::~CXpressWorker() {
    Cancel();
    Wait();
}

void CXpressWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

bool CXpressWorker::Start(XpressJob job) {
    if (busy_.load()) return false;
    Wait();  // the previous job has ended; collect its thread
    cancel_.store(false);
    progress_.store(0);
    busy_.store(true);
    thread_ = std::thread([this, job = std::move(job)]() mutable {
        XpressJobResult result = Run(job, cancel_, progress_);
        // Free before the message arrives, so that its handler may start the next job.
        busy_.store(false);
        if (job.target)
            PostMessage(job.target, job.message, job.wParam, job.lParam, std::move(result));
    });
    return true;
}

XpressJobResult CXpressWorker::Run(const XpressJob& job, const std::atomic<bool>& cancel,
                                   std::atomic<int>& progress) {
    XpressJobResult result;
    result.kind = job.kind;
    result.hits = job.hits;

    CXpressQuant engine(job.settings.massDifference, job.settings.residue, job.settings.scanWindow);
    if (!engine.OpenRawFile(job.rawFilePath)) return result;
    engine.SetMassTolerance(job.settings.tolerance);
    result.opened = true;
    result.firstScan = engine.GetFirstScan();
    result.lastScan = engine.GetLastScan();

    const int count = static_cast<int>(result.hits.size());
    if (job.kind != XpressJobKind::kRatioPass) {
        if (count > 0 && !cancel.load()) {
            SearchHitRecord& hit = result.hits.front();
            if (job.kind == XpressJobKind::kPeptide)
                engine.QuantifyPeptide(hit);
            else
                engine.QuantifyInRanges(hit);
            result.processed = 1;
            if (engine.GetScanCount() > 0) {
                const auto from = engine.LightTrace().begin() + engine.GetFirstScan();
                result.lightTrace.assign(from, engine.LightTrace().end());
                const auto heavyFrom = engine.HeavyTrace().begin() + engine.GetFirstScan();
                result.heavyTrace.assign(heavyFrom, engine.HeavyTrace().end());
            }
        }
        result.cancelled = cancel.load() && result.processed == 0 && count > 0;
        result.finished = !result.cancelled;
        progress.store(100);
        return result;
    }

    for (int i = 0; i < count; ++i) {
        if (cancel.load()) {
            result.cancelled = true;
            return result;
        }
        engine.QuantifyHit(result.hits[static_cast<size_t>(i)]);
        result.processed = i + 1;
        progress.store(static_cast<int>(100LL * i / count));
        if (job.onHit) job.onHit(i + 1, count);
    }
    result.finished = true;
    progress.store(100);
    return result;
}

}  // namespace zar
