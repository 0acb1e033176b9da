#include "PlotRange.h"

#include "core/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zar {
namespace {

// Shared y zoom of spectra and traces: `minFraction` is the smallest share of the full range shown.
bool zoomInY(int& zoomed, double& yStart, double& yEnd, const PlotRange& full, double factor, double minFraction,
             bool spectrum) {
    if (full.span() <= 0.0 || factor <= 0.0) return false;
    const double lower = zoomed ? yStart : full.low;
    double fraction = ((zoomed ? yEnd : full.high) - lower) / full.span();
    if (spectrum ? (fraction >= 0.099 && fraction <= 0.101) : fraction <= minFraction) return false;
    fraction /= factor;
    yStart = lower;
    yEnd = lower + std::max(fraction, minFraction) * full.span();
    zoomed = 1;
    return true;
}

bool zoomOutY(int& zoomed, double& yStart, double& yEnd, const PlotRange& full, double factor) {
    if (full.span() < 0.01) return false;
    const double lower = zoomed ? yStart : full.low;
    const double fraction = ((zoomed ? yEnd : full.high) - lower) / full.span();
    const double end = lower + fraction * full.span() * factor;
    if (end >= full.high && lower == 0.0) {
        zoomed = 0;
        return true;
    }
    yStart = lower;
    yEnd = std::min(end, full.high);
    zoomed = 1;
    return true;
}

bool zoomInX(int& zoomed, double& start, double& end, const PlotRange& full, double factor) {
    if (factor <= 0.0) return false;
    if (!zoomed) {
        start = full.low;
        end = full.high;
    }
    const double d = (end - start) / (2.0 * factor);
    start += d;
    end -= d;
    zoomed = 1;
    return true;
}

bool zoomOutX(int& zoomed, double& start, double& end, const PlotRange& full, double factor, double tolerance) {
    if (factor <= 0.0) return false;
    if (!zoomed) return false;
    const double d = (end - start) / factor;
    start -= d;
    end += d;
    const bool atLow = start <= full.low + tolerance;
    const bool atHigh = end >= full.high - tolerance;
    if (atLow) start = full.low;
    if (atHigh) end = full.high;
    if (atLow && atHigh) zoomed = 0;
    return true;
}

}  // namespace

namespace {

bool ZoomToEnds(int& zoomed, double& low, double& high, double a, double b) {
    if (a == b) return false;
    zoomed = 1;
    low = std::min(a, b);
    high = std::max(a, b);
    return true;
}

}  // namespace

ZoomBoxChange ZoomSpectrumToBox(CVXSpecDisplay& d, double startMass, double startIntensity,
                                double endMass, double endIntensity) {
    ZoomBoxChange change;
    change.x = ZoomToEnds(d.xZoomed, d.xStart, d.xEnd, startMass, endMass);
    change.y = ZoomToEnds(d.yZoomed, d.yStart, d.yEnd, startIntensity, endIntensity);
    return change;
}

ZoomBoxChange ZoomTraceToBox(CVXChroDisplay& d, double startTime, double startIntensity,
                             double endTime, double endIntensity) {
    ZoomBoxChange change;
    change.x = ZoomToEnds(d.xZoomed, d.xStart, d.xEnd, startTime, endTime);
    change.y = ZoomToEnds(d.yZoomed, d.yLow, d.yHigh, startIntensity, endIntensity);
    return change;
}

bool ZoomInSpectrumYRange(CVXSpecDisplay& d, const PlotRange& full, double f) {
    return zoomInY(d.yZoomed, d.yStart, d.yEnd, full, f, 0.1, true);
}
bool ZoomOutSpectrumYRange(CVXSpecDisplay& d, const PlotRange& full, double f) {
    return zoomOutY(d.yZoomed, d.yStart, d.yEnd, full, f);
}
bool ZoomInSpectrumXRange(CVXSpecDisplay& d, const PlotRange& full, double f) {
    return zoomInX(d.xZoomed, d.xStart, d.xEnd, full, f);
}
bool ZoomOutSpectrumXRange(CVXSpecDisplay& d, const PlotRange& full, double f) {
    return zoomOutX(d.xZoomed, d.xStart, d.xEnd, full, f, 0.0);
}
bool ZoomInTraceYRange(CVXChroDisplay& d, const PlotRange& full, double f) {
    return zoomInY(d.yZoomed, d.yLow, d.yHigh, full, f, 0.001, false);
}
bool ZoomOutTraceYRange(CVXChroDisplay& d, const PlotRange& full, double f) {
    return zoomOutY(d.yZoomed, d.yLow, d.yHigh, full, f);
}
bool ZoomInTraceXRange(CVXChroDisplay& d, const PlotRange& full, double f) {
    return zoomInX(d.xZoomed, d.xStart, d.xEnd, full, f);
}
bool ZoomOutTraceXRange(CVXChroDisplay& d, const PlotRange& full, double f) {
    return zoomOutX(d.xZoomed, d.xStart, d.xEnd, full, f, 1e-5);
}

bool ScrollTraceXRangeLeft(CVXChroDisplay& d, const PlotRange& full, double f) {
    if (!d.xZoomed || d.xStart <= full.low || f <= 0.0) return false;
    const double span = d.xEnd - d.xStart;
    const double step = span / (2.0 * f);
    d.xStart -= step;
    d.xEnd -= step;
    if (d.xStart < full.low) {
        d.xStart = full.low;
        d.xEnd = full.low + span;
    }
    return true;
}

bool ScrollTraceXRangeRight(CVXChroDisplay& d, const PlotRange& full, double f) {
    if (!d.xZoomed || d.xEnd >= full.high || f <= 0.0) return false;
    const double span = d.xEnd - d.xStart;
    const double step = span / (2.0 * f);
    d.xStart += step;
    d.xEnd += step;
    if (d.xEnd > full.high) {
        d.xEnd = full.high;
        d.xStart = full.high - span;
    }
    return true;
}

VisibleRange ComputeVisibleRange(bool zoomed, double shownStart, double shownEnd, const PlotRange& full) {
    VisibleRange v;
    v.span = full.span();
    if (!zoomed) {
        v.start = full.low;
        v.end = full.high;
        return v;
    }
    v.start = shownStart;
    v.end = shownEnd;
    // A run of one point has no span: the whole of it is shown.
    if (full.span() > 0.0) {
        v.startPercent = (shownStart - full.low) / full.span() * 100.0;
        v.endPercent = (shownEnd - full.low) / full.span() * 100.0;
    }
    return v;
}

bool IonTypeLookup(int group, int index, int& code) {
    static const int bases[] = {0, 11, 41, 21, 31};
    if (group < 0 || group > 4 || index < 0 || index > 3) return false;
    if (group == 3 && index > 2) return false;
    code = bases[group] + index;
    return true;
}

int IonCodeToSeries(int code) {
    switch (code) {
        case 1: case 12: case 22: case 32: case 42: return 1;
        case 2: case 13: case 23: case 33: case 43: return 2;
        case 3: case 14: case 34: case 44: return 3;
        default: return 0;
    }
}

void SplitVersion(unsigned word, int& major, int& minor) {
    major = static_cast<int>((word >> 24) & 0xFF);
    minor = static_cast<int>((word >> 16) & 0xFF);
}

bool IsScanFilterInRange(const QString& text) { return CVX_FilterStruct(9, 2, 2).FilterInRng(text) != 0; }

bool DescribeScanFilter(const QString& text, std::vector<CVX_MassRange>& ranges) {
    CVX_FilterStruct filter(9, 2, 2);
    ranges.clear();
    if (!filter.FilterInRng(QStringLiteral("[ %1 ]").arg(text))) return false;
    for (int i = 0; i < filter.GetMassRangeCount(); ++i) {
        double low = 0, high = 0;
        if (filter.GetMassRangeN(i, low, high)) ranges.push_back({low, high});
    }
    return true;
}

QString FormatCompactNumber(double value) {
    if (value == 0.0) return QStringLiteral("0");
    const QString s = QCFormat("%9.2E", value).trimmed();
    const qsizetype e = s.indexOf(QLatin1Char('E'));
    if (e < 0) return s;
    QString exponent = s.mid(e + 1);
    QString sign;
    if (exponent.startsWith(QLatin1Char('+')) || exponent.startsWith(QLatin1Char('-'))) {
        if (exponent.startsWith(QLatin1Char('-'))) sign = QStringLiteral("-");
        exponent.remove(0, 1);
    }
    while (exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
    return exponent.isEmpty() ? s.left(e) : s.left(e) + QLatin1Char('E') + sign + exponent;
}

void CSpectrumTransform::SetMovingAverage(int width) {
    if (width < 1) width = 1;
    if (width % 2 == 0) ++width;
    kernel_.assign(static_cast<std::size_t>(width), 1.0 / width);
}

void CSpectrumTransform::SetKernel(std::vector<double> coefficients) {
    if (coefficients.size() % 2 == 0) coefficients.clear();  // a kernel has a centre
    kernel_ = std::move(coefficients);
}

bool CSpectrumTransform::SetSmoothing(int type, int points) {
    kernel_.clear();
    if (points < kMinSmoothingPoints || points > kMaxSmoothingPoints) return false;
    if (points % 2 == 0) ++points;
    const int half = points / 2;
    std::vector<double> k(static_cast<std::size_t>(points), 0.0);
    switch (type) {
        case 0:
            std::fill(k.begin(), k.end(), 1.0);
            break;
        case 1: {
            // The outermost points lie two standard deviations from the centre.
            const double sigma = std::max(0.5, half / 2.0);
            for (int i = -half; i <= half; ++i)
                k[i + half] = std::exp(-0.5 * (i / sigma) * (i / sigma));
            break;
        }
        case 2:
            for (int i = -half; i <= half; ++i)
                k[i + half] = 1.0 + std::cos(std::numbers::pi * i / (half + 1));
            break;
        case 3: {
            // Least-squares quadratic over the window: its value at the centre.
            const double m = half;
            const double norm = (2 * m + 1) * (4 * m * m + 4 * m - 3);
            for (int i = -half; i <= half; ++i)
                k[i + half] = (3 * (3 * m * m + 3 * m - 1) - 15.0 * i * i) / norm;
            kernel_ = std::move(k);
            return true;
        }
        default:
            return false;
    }
    double sum = 0.0;
    for (double c : k) sum += c;
    for (double& c : k) c /= sum;
    kernel_ = std::move(k);
    return true;
}

std::vector<CVXDataPeak> CSpectrumTransform::Apply(const std::vector<CVXDataPeak>& points) const {
    if (points.empty() || kernel_.empty()) return points;
    std::vector<CVXDataPeak> out = points;
    const int n = static_cast<int>(points.size());
    const int half = static_cast<int>(kernel_.size() / 2);
    for (int i = half; i < n - half; ++i) {
        double sum = 0.0;
        for (int k = 0; k < static_cast<int>(kernel_.size()); ++k) sum += kernel_[k] * points[i - half + k].dIntensity;
        out[i].dIntensity = std::max(0.0, sum);
    }
    return out;
}

}  // namespace zar
