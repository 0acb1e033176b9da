#pragma once
// Searching an ascending peak list: the bisection and the linear interpolation that the
// Zarmass engines use to read a spectrum's intensity at any m/z.

#include "ZarmassTypes.h"

#include <span>
#include <vector>

namespace zar {

// Index of the first peak within [lo, hi] whose mass is at least x, or hi when none is.
// The bounds are clamped to the list, so the result is always a valid index; -1 for an
// empty list.
int FindPeakIndex(std::span<const PeakRecord> peaks, int lo, int hi, double x);

// Intensity at x, linear between the peaks idx - 1 and idx (idx from FindPeakIndex). Before
// the first peak it is the first peak's intensity, past the last the last one's; two peaks of
// equal mass give the intensity of peak idx. 0.0 for an empty list or an invalid index.
double InterpolateIntensity(std::span<const PeakRecord> peaks, int idx, double x);

// Intensity at x anywhere in the list.
double IntensityAt(std::span<const PeakRecord> peaks, double x);

// A copy of the peaks fit for bisection: points with a non-finite mass or intensity are left
// out, and the rest put in ascending order of mass when they are not already.
std::vector<PeakRecord> CopyAscendingPeaks(std::span<const PeakRecord> peaks);

// Index of the most intense peak (the first of equals); -1 for an empty list.
int BasePeakIndex(std::span<const PeakRecord> peaks);

}  // namespace zar
