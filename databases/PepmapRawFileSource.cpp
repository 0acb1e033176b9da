#include "PepmapRawFileSource.h"

#include <algorithm>
#include <vector>

namespace zar {

namespace {

// Opens the run (unless the reader holds it) on its mass spectrometer; its scan range.
PepmapSpectrumSource::OpenResult OpenRun(VRawfile& raw, const QString& path, int* first,
                                         int* last) {
    using OpenResult = PepmapSpectrumSource::OpenResult;
    const bool held = raw.isOpen() && !path.isEmpty() && raw.fileName() == path;
    if (!held && !raw.open(path)) return OpenResult::kOpenFailed;
    if (!raw.setCurrentController(0, 1)) return OpenResult::kNoMsData;
    *first = raw.firstScan();
    *last = raw.lastScan();
    if (*first < 1 || *last < *first) return OpenResult::kNoMsData;
    return OpenResult::kOpened;
}

}  // namespace

PepmapSpectrumSource::OpenResult PepmapRawFileSource::open(const QString& path) {
    first_ = 0;
    last_ = -1;
    int first = 0, last = -1;
    const OpenResult result = OpenRun(raw_, path, &first, &last);
    if (result != OpenResult::kOpened) return result;
    first_ = first;
    last_ = last;
    return result;
}

PepmapSpectrumSource::OpenResult ReadPepmapRunSummary(VRawfile& raw, const QString& path,
                                                      PepmapRunSummary* summary) {
    int first = 0, last = -1;
    const auto result = OpenRun(raw, path, &first, &last);
    if (result != PepmapSpectrumSource::OpenResult::kOpened) return result;
    summary->firstScan = first;
    summary->lastScan = last;
    summary->tic = 0.0;
    RawScanHeader header;
    for (int scan = first; scan <= last; ++scan)
        if (raw.scanHeader(scan, header)) summary->tic = std::max(summary->tic, header.totalIonCurrent);
    return result;
}

bool PepmapRawFileSource::readScan(int scanNumber, PepmapScan* scan) {
    scan->peaks.clear();
    scan->retentionTime = 0.0;
    double time = 0.0;
    if (!raw_.scanToRetentionTime(scanNumber, time)) return raw_.isOpen();
    std::vector<CVXDataPeak> peaks;
    if (!raw_.spectrum(scanNumber, peaks)) return false;
    scan->retentionTime = time;
    scan->peaks.reserve(peaks.size());
    for (const CVXDataPeak& p : peaks) scan->peaks.push_back({p.dPosition, p.dIntensity});
    return true;
}

}  // namespace zar
