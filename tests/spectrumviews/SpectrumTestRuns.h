#pragma once
// Runs written for the spectrum engine tests: small mzML files made on the spot.

#include "rawfile/RunFileWriter.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace spectrumtest {

using Peaks = std::vector<std::pair<double, double>>;  // m/z, intensity

inline const char* kFullScanFilter = "FTMS + p ESI Full ms [300.00-2000.00]";
inline const char* kMSMSFilter = "ITMS + c ESI d Full ms2 500.00@cid35.00 [100.00-2000.00]";

// Writes scans 1..count; fullScan(n) tells a full-MS scan from an MS/MS one and peaks(n) gives
// the scan's peaks (sorted here).
inline bool WriteRun(const QString& path, int count, const std::function<bool(int)>& fullScan,
                     const std::function<Peaks(int)>& peaks) {
    QString error;
    return zar::WriteRunFile(
        path, count,
        [&](int index) {
            zar::RunSpectrum s;
            s.scanNumber = index + 1;
            s.retentionTime = 0.05 * (index + 1);
            const bool full = fullScan(s.scanNumber);
            s.msLevel = full ? 1 : 2;
            s.filterString = QString::fromLatin1(full ? kFullScanFilter : kMSMSFilter);
            if (!full) s.precursors.push_back(zar::RunPrecursor{500.0, 2});
            Peaks list = peaks(s.scanNumber);
            std::sort(list.begin(), list.end());
            for (const auto& [mz, intensity] : list) {
                s.mz.push_back(mz);
                s.intensity.push_back(intensity);
            }
            return s;
        },
        error);
}

}  // namespace spectrumtest
