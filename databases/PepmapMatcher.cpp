#include "PepmapMatcher.h"

#include <algorithm>
#include <new>

namespace zar {

PepmapScanList::PepmapScanList(int firstScanNumber, std::vector<PepmapScan> scans)
    : first_(firstScanNumber), scans_(std::move(scans)) {
    for (PepmapScan& s : scans_)
        std::stable_sort(s.peaks.begin(), s.peaks.end(),
                         [](const PepmapPeak& a, const PepmapPeak& b) { return a.mz < b.mz; });
}

PepmapSpectrumSource::OpenResult PepmapScanList::open(const QString& /*path*/) {
    return scans_.empty() ? OpenResult::kNoMsData : OpenResult::kOpened;
}

bool PepmapScanList::readScan(int scanNumber, PepmapScan* scan) {
    const long long index = static_cast<long long>(scanNumber) - first_;
    if (index < 0 || index >= static_cast<long long>(scans_.size())) return false;
    *scan = scans_[static_cast<size_t>(index)];
    return true;
}

bool ShowPepmapOpenFailure(PepmapSpectrumSource::OpenResult result, PepmapProgress& progress) {
    switch (result) {
        case PepmapSpectrumSource::OpenResult::kOpened:
            return false;
        case PepmapSpectrumSource::OpenResult::kOpenFailed:
            progress.showMessage(QStringLiteral(
                "Error - failed to open raw file.\nThe raw file may be a newer revision or "
                "damaged."));
            return true;
        case PepmapSpectrumSource::OpenResult::kNoMsData:
            break;
    }
    progress.showMessage(QStringLiteral(
        "Error - this raw file does not contain any MS data.\n\nRaw files used within Zarvik "
        "Browser must contain MS/MS data."));
    return true;
}

bool OpenPepmapSource(PepmapSpectrumSource& source, const QString& path, PepmapProgress& progress) {
    return !ShowPepmapOpenFailure(source.open(path), progress);
}

double SumMatchedIntensity(const PepmapPeak* peaks, std::size_t count, double mass, int maxCharge,
                           double proton, double floor, double tolerance) {
    if (!peaks || count == 0) return 0.0;
    double sum = 0.0;
    // Peaks [0, available) lie below every window looked at so far; the m/z falls as the
    // charge rises, so each charge only looks below the window of the charge before.
    std::size_t available = count;
    for (int z = 1; z <= maxCharge && available > 0; ++z) {
        const double mz = (z * proton + mass) / z;
        const double low = mz - tolerance;
        const double high = mz + tolerance;
        const PepmapPeak* first = std::partition_point(
            peaks, peaks + available, [low](const PepmapPeak& p) { return p.mz < low; });
        const std::size_t lo = static_cast<std::size_t>(first - peaks);
        for (std::size_t k = lo; k < available && peaks[k].mz <= high; ++k)
            if (peaks[k].intensity > floor) sum += peaks[k].intensity;
        available = lo;
    }
    return sum;
}

PepmapMatchSettings PepmapMatchSettings::From(const PepmapOptions& options, double proton) {
    PepmapMatchSettings s;
    s.firstScan = options.firstScan;
    s.lastScan = options.lastScan;
    s.scanWidth = options.scanWidth;
    s.threshold = options.threshold;
    s.tic = options.tic;
    s.monoisotopic = options.monoisotopic != 0;
    s.proton = proton;
    return s;
}

void ClampPepmapScanRange(int fileFirst, int fileLast, int* first, int* last) {
    *first = std::max(*first, fileFirst);
    *last = std::min(*last, fileLast);
}

PepmapMatchStatus MatchSpectra(PepmapSpectrumSource& source, int first, int last,
                               const PepmapMatchSettings& settings,
                               std::vector<PepmapMatchEntry>& entries,
                               const PepmapCancelFlag& cancel, PepmapProgress& progress) {
    const double floor = settings.tic * 0.005;
    const long long n = static_cast<long long>(last) - first + 1;
    PepmapScan scan;
    for (long long s = first; s <= last; ++s) {
        if (!source.readScan(static_cast<int>(s), &scan)) {
            progress.showMessage(QStringLiteral("Failed to read spectrum from raw file."));
            return PepmapMatchStatus::kReadFailed;
        }
        const double t = scan.retentionTime;
        for (PepmapMatchEntry& e : entries) {
            const double sum =
                SumMatchedIntensity(scan.peaks.data(), scan.peaks.size(), e.mass, e.maxCharge,
                                    settings.proton, floor, settings.tolerance);
            if (sum > 0) {
                ++e.runLength;
                if (sum > e.runIntensity) {
                    e.runIntensity = sum;
                    e.runTime = t;
                    e.runScan = static_cast<int>(s);
                }
            } else {
                e.runIntensity = 0.0;
                e.runLength = 0;
            }
            if (e.runLength >= settings.scanWidth && e.runIntensity > e.bestIntensity) {
                e.bestIntensity = e.runIntensity;
                e.bestTime = e.runTime;
                e.bestScan = e.runScan;
            }
        }
        if (cancel) return PepmapMatchStatus::kCancelled;
        if (n > 0 && (s - n) % 10 == 0)
            progress.setProgress(static_cast<int>((s - first) * 100.0 / static_cast<double>(n)));
    }
    return PepmapMatchStatus::kDone;
}

PepmapMatchStatus RunPepmapMatching(const QString& sequence, PepmapPeptideList& rows,
                                    PepmapSpectrumSource& source,
                                    const PepmapMatchSettings& settings,
                                    const PepmapCancelFlag& cancel, PepmapProgress& progress) {
    if (cancel) return PepmapMatchStatus::kCancelled;
    if (sequence.isEmpty()) {
        progress.showMessage(QStringLiteral("Please enter a sequence"));
        return PepmapMatchStatus::kNoSequence;
    }
    if (rows.empty()) {
        progress.showMessage(QStringLiteral("No digest information is available"));
        return PepmapMatchStatus::kNoDigest;
    }
    progress.setStatusText(QStringLiteral("Performing pepmap ..."));
    progress.setProgress(0);
    std::vector<PepmapMatchEntry> entries;
    try {
        entries.resize(rows.size());
    } catch (const std::bad_alloc&) {
        progress.showMessage(QStringLiteral("Unable to allocate the required memory"));
        return PepmapMatchStatus::kDone;
    }
    for (size_t k = 0; k < rows.size(); ++k) {
        entries[k].mass = rows.mass(rows[k], settings.monoisotopic);
        entries[k].maxCharge = rows[k].maxCharge;
    }
    int first = settings.firstScan;
    int last = settings.lastScan;
    ClampPepmapScanRange(source.firstScan(), source.lastScan(), &first, &last);
    const PepmapMatchStatus status =
        MatchSpectra(source, first, last, settings, entries, cancel, progress);
    if (status == PepmapMatchStatus::kCancelled) return status;
    const double level = settings.threshold * settings.tic * 0.01;
    for (size_t k = 0; k < rows.size(); ++k) {
        const PepmapMatchEntry& e = entries[k];
        CPepmapPeptide& row = rows[k];
        if (e.bestIntensity <= level) {
            row.matchedIntensity = 0.0;
            row.matchedTime = 0.0;
            row.matchedScan = 0;
        } else {
            row.matchedIntensity = e.bestIntensity;
            row.matchedTime = e.bestTime;
            row.matchedScan = e.bestScan;
        }
    }
    progress.setStatusText(QStringLiteral("Pepmap finished"));
    progress.setProgress(100);
    return status;
}

}  // namespace zar
