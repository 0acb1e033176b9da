#include "PepmapRawFileSource.h"

#include <vector>

namespace zar {

PepmapSpectrumSource::OpenResult PepmapRawFileSource::open(const QString& path) {
    first_ = 0;
    last_ = -1;
    if (!raw_.open(path)) return OpenResult::kOpenFailed;
    if (!raw_.setCurrentController(0, 1)) return OpenResult::kNoMsData;
    const int first = raw_.firstScan();
    const int last = raw_.lastScan();
    if (first < 1 || last < first) return OpenResult::kNoMsData;
    first_ = first;
    last_ = last;
    return OpenResult::kOpened;
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
