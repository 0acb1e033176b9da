#include "ZarmassPeakSearch.h"

#include <algorithm>
#include <cmath>

namespace zar {

int FindPeakIndex(std::span<const PeakRecord> peaks, int lo, int hi, double x) {
    const int n = static_cast<int>(peaks.size());
    if (n == 0) return -1;
    hi = std::clamp(hi, 0, n - 1);
    lo = std::clamp(lo, 0, hi);
    // Invariant: every peak before lo is below x; peak hi is the answer when none is at or
    // above x.
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (peaks[mid].mass < x)
            lo = mid + 1;
        else
            hi = mid;
    }
    return hi;
}

double InterpolateIntensity(std::span<const PeakRecord> peaks, int idx, double x) {
    const int n = static_cast<int>(peaks.size());
    if (idx < 0 || idx >= n) return 0.0;
    const PeakRecord& right = peaks[idx];
    if (idx == 0 || x >= right.mass) return right.intensity;
    const PeakRecord& left = peaks[idx - 1];
    if (x <= left.mass) return left.intensity;
    const double span = right.mass - left.mass;
    if (!(span > 0.0)) return right.intensity;
    return ((x - left.mass) / span) * right.intensity + ((right.mass - x) / span) * left.intensity;
}

double IntensityAt(std::span<const PeakRecord> peaks, double x) {
    const int n = static_cast<int>(peaks.size());
    return InterpolateIntensity(peaks, FindPeakIndex(peaks, 0, n - 1, x), x);
}

std::vector<PeakRecord> CopyAscendingPeaks(std::span<const PeakRecord> peaks) {
    std::vector<PeakRecord> out;
    out.reserve(peaks.size());
    for (const PeakRecord& p : peaks)
        if (std::isfinite(p.mass) && std::isfinite(p.intensity)) out.push_back(p);
    const auto byMass = [](const PeakRecord& a, const PeakRecord& b) { return a.mass < b.mass; };
    if (!std::is_sorted(out.begin(), out.end(), byMass))
        std::stable_sort(out.begin(), out.end(), byMass);
    return out;
}

int BasePeakIndex(std::span<const PeakRecord> peaks) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(peaks.size()); ++i)
        if (best < 0 || peaks[i].intensity > peaks[best].intensity) best = i;
    return best;
}

}  // namespace zar
