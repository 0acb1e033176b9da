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
    // The mean over the full scans (the peptides' own spectra); a run without any, all scans.
    double fullSum = 0.0, allSum = 0.0;
    long long fullScans = 0, allScans = 0;
    RawScanHeader header;
    for (int scan = first; scan <= last; ++scan) {
        if (!raw.scanHeader(scan, header)) continue;
        allSum += header.totalIonCurrent;
        ++allScans;
        if (header.msLevel <= 1) {
            fullSum += header.totalIonCurrent;
            ++fullScans;
        }
    }
    summary->tic = fullScans > 0  ? fullSum / static_cast<double>(fullScans)
                   : allScans > 0 ? allSum / static_cast<double>(allScans)
                                  : 0.0;
    return result;
}

bool PepmapRawFileSource::readScan(int scanNumber, PepmapScan* scan) {
    scan->peaks.clear();
    scan->retentionTime = 0.0;
    scan->msLevel = 1;
    RawScanHeader header;
    if (!raw_.scanHeader(scanNumber, header)) return raw_.isOpen();
    const double time = header.retentionTime;
    if (header.msLevel > 1) {
        // The peaks of an MS/MS scan take no part: they are not read.
        scan->msLevel = header.msLevel;
        scan->retentionTime = time;
        return true;
    }
    std::vector<CVXDataPeak> peaks;
    if (!raw_.spectrum(scanNumber, peaks)) return false;
    scan->retentionTime = time;
    scan->peaks.reserve(peaks.size());
    for (const CVXDataPeak& p : peaks) scan->peaks.push_back({p.dPosition, p.dIntensity});
    return true;
}

}  // namespace zar
