#pragma once
// Zooming and scrolling the shown range of spectra and traces, visible ranges, trace and ion
// codes, scan-filter tests, a compact number format and the smoothing transform of the
// deconvolution pages.

#include "fileio/VXChro.h"
#include "fileio/VXFilter.h"
#include "fileio/VXSpectrum.h"
#include "fileio/VXTypes.h"

#include <QString>

#include <vector>

namespace zar {

// The full data range of a plot.
struct PlotRange {
    double low = 0.0;
    double high = 0.0;
    double span() const { return high - low; }
};

bool ZoomInSpectrumYRange(CVXSpecDisplay& d, const PlotRange& full, double factor);
bool ZoomOutSpectrumYRange(CVXSpecDisplay& d, const PlotRange& full, double factor);
bool ZoomInSpectrumXRange(CVXSpecDisplay& d, const PlotRange& full, double factor);
bool ZoomOutSpectrumXRange(CVXSpecDisplay& d, const PlotRange& full, double factor);
bool ZoomInTraceYRange(CVXChroDisplay& d, const PlotRange& full, double factor);
bool ZoomOutTraceYRange(CVXChroDisplay& d, const PlotRange& full, double factor);
bool ZoomInTraceXRange(CVXChroDisplay& d, const PlotRange& full, double factor);
bool ZoomOutTraceXRange(CVXChroDisplay& d, const PlotRange& full, double factor);
bool ScrollTraceXRangeLeft(CVXChroDisplay& d, const PlotRange& full, double factor);
bool ScrollTraceXRangeRight(CVXChroDisplay& d, const PlotRange& full, double factor);

// A box dragged over a plot zooms each axis whose two ends differ to those ends, given in either
// order. Says which axes changed.
struct ZoomBoxChange {
    bool x = false;
    bool y = false;
};
ZoomBoxChange ZoomSpectrumToBox(CVXSpecDisplay& d, double startMass, double startIntensity,
                                double endMass, double endIntensity);
ZoomBoxChange ZoomTraceToBox(CVXChroDisplay& d, double startTime, double startIntensity,
                             double endTime, double endIntensity);

// What part of the full range is shown: absolute ends and per cent of the full range.
struct VisibleRange {
    double span = 0.0;
    double start = 0.0;
    double end = 1.0;
    double startPercent = 0.0;
    double endPercent = 100.0;
};
VisibleRange ComputeVisibleRange(bool zoomed, double shownStart, double shownEnd, const PlotRange& full);

// Trace codes by group and index; false (output untouched) for an unknown pair.
bool IonTypeLookup(int group, int index, int& code);
int IonCodeToSeries(int code);
void SplitVersion(unsigned word, int& major, int& minor);

bool IsScanFilterInRange(const QString& text);
// Parses "[ text ]" as a filter and gives its mass ranges; false (ranges emptied) when it is none.
bool DescribeScanFilter(const QString& text, std::vector<CVX_MassRange>& ranges);

// "0" for 0.0, else "%9.2E" with the exponent shortened ("1.23E2", "1.23E-2", "1.23").
QString FormatCompactNumber(double value);

// The widths the deconvolution pages smooth over: a kernel wider than a spectrum's peaks only
// flattens them, and a width past any spectrum asks memory for nothing.
constexpr int kMinSmoothingPoints = 3;
constexpr int kMaxSmoothingPoints = 99;

// Smooths a peak list with an odd-length kernel.
class CSpectrumTransform {
public:
    // A moving-average kernel of the given odd width (1 leaves the points as they are).
    void SetMovingAverage(int width);
    void SetKernel(std::vector<double> coefficients);
    // The kernel of a smoothing type of the deconvolution pages over an odd number of points:
    // 0 boxcar (moving average), 1 Gaussian, 2 Orvo (cosine-weighted), 3 Savitsky-Golay
    // (quadratic). False, and not set up, for another type or a width outside
    // kMinSmoothingPoints..kMaxSmoothingPoints.
    bool SetSmoothing(int type, int points);
    bool IsSetUp() const { return !kernel_.empty(); }
    // The smoothed points; the first and last half-width points keep their intensities,
    // negative results become 0.
    std::vector<CVXDataPeak> Apply(const std::vector<CVXDataPeak>& points) const;

private:
    std::vector<double> kernel_;
};

}  // namespace zar
