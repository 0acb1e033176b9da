#include "PlotFeeding.h"

#include "document/hub/PlotRange.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

int ChooseZoomSegment(const std::vector<CVX_MassRange>& segments, double start, double end) {
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const double low = segments[i].low;
        const double high = segments[i].high;
        const bool inside = start >= low && end <= high;
        const bool lowEdge = start < low && end > low;
        const bool highEdge = start < high && end > high;
        if (inside || lowEdge || highEdge) return static_cast<int>(i);
    }
    return -1;
}

int PeaksBeforeSegment(const std::vector<int>& sizes, int segment) {
    int before = 0;
    for (int i = 0; i < segment && i < static_cast<int>(sizes.size()); ++i) before += sizes[i];
    return before;
}

VXPlot_PeakInfo MakePeakInfo(double low, double mz, double high, int pen, int charge,
                             const QString& text) {
    VXPlot_PeakInfo info{};
    info.left.dMass = low;
    info.apex.dMass = mz;
    info.right.dMass = high;
    info.iPenIndex = pen;
    info.iChargeState = charge;
    info.bShowCharge = 0;
    info.bShowColor = 1;
    info.bShowText = 1;
    // The record's text ends with a terminator.
    const QString shown = text.left(static_cast<int>(std::size(info.cLabelText)) - 1);
    for (int i = 0; i < shown.size(); ++i)
        info.cLabelText[i] = static_cast<std::int16_t>(shown[i].unicode());
    return info;
}

void MatchPeakInfoApexes(std::vector<VXPlot_PeakInfo>& infos,
                         const std::vector<CVXDataPeak>& peaks) {
    std::size_t w = 0;
    double bestMass = 0.0;
    double bestIntensity = 0.0;
    auto close = [&] {
        if (bestMass > 0.0) {
            infos[w].apex.dMass = bestMass;
            infos[w].apex.dIntensity = bestIntensity;
        }
        bestMass = 0.0;
        bestIntensity = 0.0;
        ++w;
    };
    for (const CVXDataPeak& p : peaks) {
        // A peak past the window closes it and is then tried against the next windows: a
        // window without a peak must not swallow the peak of the window after it.
        while (w < infos.size() && p.dPosition > infos[w].right.dMass) close();
        if (w >= infos.size()) break;
        if (p.dPosition < infos[w].left.dMass) {
            bestMass = 0.0;
            bestIntensity = 0.0;
        } else if (p.dIntensity > bestIntensity) {
            bestMass = p.dPosition;
            bestIntensity = p.dIntensity;
        }
    }
    if (w < infos.size()) close();
}

std::vector<VXPlot_PeakInfo> ZarmassPeakInfos(std::span<const CPeakLabel> labels,
                                              const std::vector<CVXDataPeak>& peaks) {
    std::vector<VXPlot_PeakInfo> infos;
    // Only the labels the engine holds are read: the list may be empty, and no more are shown
    // than the control takes.
    const std::size_t examined =
        std::min(labels.size(), static_cast<std::size_t>(kMaxZarmassPeakInfos));
    for (std::size_t i = 0; i < examined; ++i) {
        const CPeakLabel& label = labels[i];
        if (!(label.apex.mass > 0.0)) continue;
        VXPlot_PeakInfo info{};
        info.left = {label.left.mass, label.left.intensity, 0.0};
        info.apex = {label.apex.mass, label.apex.intensity, 0.0};
        info.right = {label.right.mass, label.right.intensity, 0.0};
        info.iPenIndex = label.penIndex;
        info.iChargeState = label.chargeState;
        info.bShowCharge = label.showCharge;
        info.bShowColor = label.showColor;
        info.bShowText = label.showText;
        const QString text = label.text.left(kZarmassLabelTextLength - 1);
        for (qsizetype k = 0; k < text.size(); ++k)
            info.cLabelText[k] = static_cast<std::int16_t>(text[k].unicode());
        infos.push_back(info);
    }
    MatchPeakInfoApexes(infos, peaks);
    return infos;
}

void FillPlotFilter(const CVXFilter& f, VXPlot_Filter& r) {
    r.bIsComplete = f.isComplete;
    r.eScanData = static_cast<VXPlot_ScanData>(f.scanData);
    r.ePolarity = static_cast<VXPlot_Polarity>(f.polarity);
    r.eMSOrder = static_cast<VXPlot_MSOrder>(f.msOrder);
    r.eDependent = static_cast<VXPlot_Dep>(f.dependent);
    r.eWideband = static_cast<VXPlot_Wideband>(f.wideband);
    r.eSourceCID = static_cast<VXPlot_SourceCID>(f.sourceCID);
    r.eScanType = static_cast<VXPlot_ScanType>(f.scanType);
    r.eTurboScan = static_cast<VXPlot_TurboScan>(f.turboScan);
    r.eIonizationMode = static_cast<VXPlot_IonizationMode>(f.ionizationMode);
    r.eCorona = static_cast<VXPlot_Corona>(f.corona);
    r.eDetector = static_cast<VXPlot_Detector>(f.detector);
    r.dDetectorValue = f.detectorValue;
    r.eSourceCIDType = static_cast<VXPlot_SourceCIDType>(f.sourceCIDType);
    r.nlScanTypeIndex = f.scanTypeIndex;
    const int ranges = std::min<int>(static_cast<int>(f.massRanges.size()), kMaxFilterMassRanges);
    r.nNumMassRanges = ranges;
    for (int i = 0; i < ranges; ++i)
        r.arrMassRanges[i] = {f.massRanges[i].low, f.massRanges[i].high};
    const int precursors =
        std::min<int>(static_cast<int>(f.precursors.size()), kMaxFilterPrecursors);
    r.nNumPrecursorMasses = precursors;
    for (int i = 0; i < precursors; ++i) {
        r.arrPrecursorMasses[i] = f.precursors[i].mass;
        r.arrPrecursorEnergies[i] = f.precursors[i].energy;
        r.arrPrecursorEnergiesValid[i] = f.precursors[i].energyValid ? 1 : 0;
    }
    const int energies = std::min<int>(static_cast<int>(f.sourceEnergies.size()),
                                       kMaxFilterSourceFragmentationEnergies);
    r.nNumSourceFragmentationEnergies = energies;
    for (int i = 0; i < energies; ++i) {
        r.arrSourceFragmentationEnergies[i] = f.sourceEnergies[i].energy;
        r.arrSourceFragmentationEnergiesValid[i] = f.sourceEnergies[i].valid ? 1 : 0;
    }
}

namespace {

YAxisLimits LimitsOf(bool zoomed, double shownLow, double shownHigh, const PlotRange& full,
                     double normalization) {
    const VisibleRange v = ComputeVisibleRange(zoomed, shownLow, shownHigh, full);
    YAxisLimits y;
    y.normalization = normalization;
    y.absoluteMin = v.start;
    y.absoluteMax = v.end;
    y.relativeMin = v.startPercent;
    y.relativeMax = v.endPercent;
    return y;
}

}  // namespace

YAxisLimits SpectrumYLimits(const CVXSpec& s, const CVXSpecDisplay& d) {
    const PlotRange full{0.0, s.header.data.dBasePeakIntensity};
    return LimitsOf(d.yZoomed != 0, d.yStart, d.yEnd, full, s.header.data.dBasePeakIntensity);
}

YAxisLimits TraceYLimits(const CVXChro& c, const CVXChroDisplay& d) {
    const PlotRange full{0.0, c.dataIntensityHigh};
    return LimitsOf(d.yZoomed != 0, d.yLow, d.yHigh, full, c.dataIntensityHigh);
}

int PickPeak(const std::vector<CVXDataPeak>& peaks, double m) {
    const int n = static_cast<int>(peaks.size());
    if (n == 0) return -1;
    int lo = 0;
    int hi = n - 1;
    int mid = (n - 1) / 2;
    for (;;) {
        const double at = peaks[mid].dPosition;
        if (at > m) {
            hi = mid;
            mid = lo + (mid - lo) / 2;
        } else if (at < m) {
            lo = mid;
            mid = mid + (hi - mid) / 2;
        } else {
            lo = hi = mid;
            break;
        }
        if (hi - lo <= 1) break;
        if (peaks[lo].dPosition >= m - 3.0 && peaks[hi].dPosition <= m + 3.0) break;
    }
    int best = lo;
    for (int i = lo + 1; i <= hi; ++i)
        if (peaks[i].dIntensity > peaks[best].dIntensity) best = i;
    return best;
}

int PickSpectrumPeak(const CVXSpec& spectrum, double m) {
    const std::vector<CVXDataPeak>& points = spectrum.peaks;
    // Points closer than this on average trace peak shapes, whatever the scan's flag says.
    constexpr double kProfileSpacing = 0.05;
    const bool profile =
        !spectrum.header.data.bIsCentroid ||
        (points.size() > 1 && (points.back().dPosition - points.front().dPosition) /
                                      static_cast<double>(points.size() - 1) <
                                  kProfileSpacing);
    if (!profile) return PickPeak(points, m);
    int i = NearestPointIndex(points, m);
    if (i < 0) return -1;
    const int last = static_cast<int>(points.size()) - 1;
    const auto at = [&](int k) { return points[static_cast<std::size_t>(k)].dIntensity; };
    for (;;) {
        const bool up = i > 0 && at(i - 1) > at(i);
        const bool down = i < last && at(i + 1) > at(i);
        if (up && down)
            i = at(i - 1) >= at(i + 1) ? i - 1 : i + 1;
        else if (up)
            --i;
        else if (down)
            ++i;
        else
            return i;
    }
}

int NearestPointIndex(const std::vector<CVXDataPeak>& points, double time) {
    if (points.empty()) return -1;
    auto it = std::lower_bound(points.begin(), points.end(), time,
                               [](const CVXDataPeak& p, double t) { return p.dPosition < t; });
    if (it == points.begin()) return 0;
    if (it == points.end()) return static_cast<int>(points.size()) - 1;
    const auto before = it - 1;
    // A tie goes to the earlier point.
    return static_cast<int>((time - before->dPosition <= it->dPosition - time ? before : it) -
                            points.begin());
}

std::vector<ZAR_PLOTLib::VXPlot_DataPeak> PlotPeaks(const CVXDataPeak* first, std::size_t count) {
    static_assert(sizeof(ZAR_PLOTLib::VXPlot_DataPeak) == sizeof(CVXDataPeak));
    std::vector<ZAR_PLOTLib::VXPlot_DataPeak> out(count);
    if (count) std::memcpy(out.data(), first, count * sizeof(CVXDataPeak));
    return out;
}

}  // namespace zar
