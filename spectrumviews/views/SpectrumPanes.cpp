#include "SpectrumPanes.h"

#include "PaneSupport.h"
#include "PlotFeeding.h"
#include "ViewCommands.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "document/UpdateHints.h"
#include "document/hub/PlotRange.h"
#include "document/hub/ZarDoc.h"

#include <algorithm>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

int SelectDisplaySegment(const CVXSpec& spectrum, CVXSpecDisplay& display) {
    const int segments = static_cast<int>(spectrum.segmentSizes.size());
    int selected = -1;
    if (display.xZoomed) {
        selected = ChooseZoomSegment(spectrum.massRanges, display.xStart, display.xEnd);
        if (selected < 0 || selected >= segments) {
            selected = -1;
            display.xZoomed = 0;
        }
    }
    display.selectedSegment = selected;
    return selected;
}

void SendSpectrumPeakInfos(CSpec& c, const std::vector<VXPlot_PeakInfo>& infos,
                           const std::uint32_t* colours, int colourCount) {
    if (infos.empty()) {
        c.Call(&ISpec::SetPeakInfo, static_cast<VXPlot_PeakInfo*>(nullptr), 0);
        c.Call(&ISpec::SetPeakInfoColors, static_cast<std::uint32_t*>(nullptr), 0);
        return;
    }
    // The control copies what it is given.
    std::vector<VXPlot_PeakInfo> copy = infos;
    std::vector<std::uint32_t> palette(colours, colours + std::max(colourCount, 0));
    c.Call(&ISpec::SetPeakInfo, copy.data(), static_cast<std::int32_t>(copy.size()));
    c.Call(&ISpec::SetPeakInfoColors, palette.empty() ? nullptr : palette.data(),
           static_cast<std::int32_t>(palette.size()));
}

void SendSpectrumPeaks(CSpec& c, const CVXSpec& spectrum, int selected) {
    std::vector<VXPlot_MassRange> ranges;
    for (const CVX_MassRange& r : spectrum.massRanges) ranges.push_back({r.low, r.high});
    std::vector<std::int32_t> sizes(spectrum.segmentSizes.begin(), spectrum.segmentSizes.end());
    if (selected < 0 || selected >= static_cast<int>(sizes.size()) ||
        selected >= static_cast<int>(ranges.size())) {
        std::vector<VXPlot_DataPeak> peaks = PlotPeaks(spectrum.peaks.data(), spectrum.peaks.size());
        c.Call(&ISpec::SetPeakData, sizes.empty() ? nullptr : sizes.data(),
               ranges.empty() ? nullptr : ranges.data(), static_cast<std::int32_t>(ranges.size()),
               peaks.empty() ? nullptr : peaks.data(), static_cast<std::int32_t>(peaks.size()));
        return;
    }
    const int before = std::min(PeaksBeforeSegment(spectrum.segmentSizes, selected),
                                static_cast<int>(spectrum.peaks.size()));
    const int count = std::max(0, static_cast<int>(spectrum.peaks.size()) - before);
    std::vector<VXPlot_DataPeak> peaks =
        PlotPeaks(spectrum.peaks.data() + before, static_cast<std::size_t>(count));
    c.Call(&ISpec::SetPeakData, &sizes[static_cast<std::size_t>(selected)],
           &ranges[static_cast<std::size_t>(selected)], 1, peaks.empty() ? nullptr : peaks.data(),
           static_cast<std::int32_t>(peaks.size()));
}

void SendSpectrumHeader(CSpec& c, const CVXSpec& spectrum, const QString& rawFilePath,
                        SpectrumFilterPass filterPass) {
    c.Call(&ISpec::put_FileName, WideText(rawFilePath));
    VXPlot_SpectrumHeader header;
    static_assert(sizeof(header) == sizeof(spectrum.header.data));
    std::memcpy(&header, &spectrum.header.data, sizeof(header));
    c.Call(&ISpec::SetScanHeader, &header, spectrum.segmentSizes.empty() ? 1 : 0);
    if (filterPass == SpectrumFilterPass::Record) {
        VXPlot_Filter filter;
        c.Call(&ISpec::InitializeFilter, &filter);
        FillPlotFilter(spectrum.filter, filter);
        c.Call(&ISpec::put_Filter, &filter);
    } else if (filterPass == SpectrumFilterPass::Null) {
        c.Call(&ISpec::put_Filter, static_cast<VXPlot_Filter*>(nullptr));
    }
}

void SendSpectrumStyle(CSpec& c, const CVXSpec& spectrum, const CVXSpecDisplay& d,
                       int detectorType) {
    VXPlot_SpecStyle style{};
    int kind = d.style;
    if (kind == CVXSpecDisplay::kAutomatic) {
        if (detectorType == kVXMSDevice)
            kind = spectrum.header.data.bIsCentroid ? CVXSpecDisplay::kStick
                                                    : CVXSpecDisplay::kProfile;
        else if (detectorType == kVXPDADevice)
            kind = CVXSpecDisplay::kProfile;
        else
            kind = CVXSpecDisplay::kStick;
    }
    style.eStyle = static_cast<VXPlot_SpecPlotStyle>(kind);
    style.bShowLabels = d.showLabels;
    style.dLabelThreshold = d.labelThreshold;
    style.bOffsetLabels = d.offsetLabels;
    style.fLabelOffset = d.labelOffset;
    style.bRotateLabels = d.rotateLabels;
    c.Call(&ISpec::SetStyle, &style);
}

void SendSpectrumXLimits(CSpec& c, const CVXSpec& spectrum, const CVXSpecDisplay& d) {
    if (d.xZoomed)
        c.Call(&ISpec::SetXAxisLimits, d.xStart, d.xEnd);
    else
        c.Call(&ISpec::SetXAxisLimits, spectrum.header.data.dLowMass,
               spectrum.header.data.dHighMass);
}

void SendSpectrumYLimits(CSpec& c, const CVXSpec& spectrum, const CVXSpecDisplay& d) {
    const YAxisLimits y = SpectrumYLimits(spectrum, d);
    c.Call(&ISpec::SetYAxisLimits, y.normalization, y.absoluteMin, y.absoluteMax, y.relativeMin,
           y.relativeMax);
}

void SendSpectrumAxes(CSpec& c, const CVXSpec& spectrum, const CVXSpecDisplay& d,
                      const SpectrumAxisTitles& titles) {
    c.Call(&ISpec::SetAxisLabels, WideText(titles.x), WideText(titles.yAbsolute),
           WideText(titles.yRelative), static_cast<LPCWSTR>(nullptr),
           static_cast<LPCWSTR>(nullptr));
    c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(d.yAxisScaleType));
    SendSpectrumXLimits(c, spectrum, d);
    SendSpectrumYLimits(c, spectrum, d);
}

int ApplySpectrumZoomCommand(int id, CVXSpecDisplay& d, const CVXSpec& spectrum, double factor) {
    const PlotRange yFull{spectrum.header.data.dMinPeakIntensity,
                          spectrum.header.data.dBasePeakIntensity};
    const PlotRange xFull{spectrum.header.data.dLowMass, spectrum.header.data.dHighMass};
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
            return ZoomInSpectrumYRange(d, yFull, factor) ? kZoomChangedY : kZoomChangedNothing;
        case ID_PLOT_ZOOM_OUT_Y:
            return ZoomOutSpectrumYRange(d, yFull, factor) ? kZoomChangedY : kZoomChangedNothing;
        case ID_PLOT_NORMALIZE:
            d.yZoomed = 0;
            return kZoomChangedY;
        case ID_PLOT_ZOOM_IN_X:
            return ZoomInSpectrumXRange(d, xFull, factor) ? kZoomChangedX | kZoomChangedY
                                                          : kZoomChangedNothing;
        case ID_PLOT_ZOOM_OUT_X:
            return ZoomOutSpectrumXRange(d, xFull, factor) ? kZoomChangedX | kZoomChangedY
                                                           : kZoomChangedNothing;
        case ID_PLOT_DISPLAY_ALL:
            d.xZoomed = 0;
            return kZoomChangedX | kZoomChangedY;
        case ID_PLOT_RESET_SCALING:
            d.xZoomed = 0;
            d.yZoomed = 0;
            return kZoomChangedX | kZoomChangedY;
        default:
            return kZoomChangedNothing;
    }
}

int PercentScrollTarget(PercentScroll step, int position, int page, int minimum, int maximum) {
    switch (step) {
        case PercentScroll::LineBack:
            return std::max(0, (position / 10) * 10 - 10);
        case PercentScroll::LineForward:
            return std::min(100 - page, (position / 10 + 1) * 10);
        case PercentScroll::PageBack:
            return std::max(minimum, position - page);
        case PercentScroll::PageForward:
            return std::min(maximum, position + page);
    }
    return position;
}

namespace {

CVXUserResult* CurrentUserResult(CZarDoc* doc) {
    CVXResults* r = doc ? doc->GetCurrentResults() : nullptr;
    return r ? r->GetCurrentUserResult() : nullptr;
}

// The point of the current trace a step goes to; -1 when the step does not move.
int ScanStepTarget(const CVXUserResult& u, bool previous) {
    const double t = u.currentScanPosition;
    const int last = static_cast<int>(u.chro.points.size()) - 1;
    if (last < 0) return -1;
    if (t < 0.0) return previous ? -1 : 0;
    const int i = NearestPointIndex(u.chro.points, t);
    if (i < 0) return -1;
    if (previous) return i > 0 ? i - 1 : -1;
    return i < last ? i + 1 : -1;
}

bool StepToScan(CZarDoc* doc, bool previous) {
    CVXUserResult* u = CurrentUserResult(doc);
    const int target = u ? ScanStepTarget(*u, previous) : -1;
    if (target < 0) return false;
    u->currentScanPosition = u->chro.points[static_cast<std::size_t>(target)].dPosition;
    doc->UpdateAllViews(nullptr, kHintScanRange);
    return true;
}

bool CanStepToScan(CZarDoc* doc, bool previous) {
    const CVXUserResult* u = CurrentUserResult(doc);
    return u && ScanStepTarget(*u, previous) >= 0;
}

}  // namespace

bool StepToPreviousScan(CZarDoc* doc) {
    return StepToScan(doc, true);
}

bool StepToNextScan(CZarDoc* doc) {
    return StepToScan(doc, false);
}

bool CanStepToPreviousScan(CZarDoc* doc) {
    return CanStepToScan(doc, true);
}

bool CanStepToNextScan(CZarDoc* doc) {
    return CanStepToScan(doc, false);
}

bool IsScanStepCommand(int id) {
    return id == ID_PLOT_PREVIOUS_SCAN || id == ID_PLOT_NEXT_SCAN;
}

bool IsScanStepEnabled(int id, CZarDoc* doc, bool dataShown, bool hasControl) {
    if (id == ID_PLOT_PREVIOUS_SCAN) return dataShown && CanStepToPreviousScan(doc);
    if (id == ID_PLOT_NEXT_SCAN) return hasControl && CanStepToNextScan(doc);
    return false;
}

bool RunScanStepCommand(int id, CZarDoc* doc) {
    if (id == ID_PLOT_PREVIOUS_SCAN) {
        StepToPreviousScan(doc);
        return true;
    }
    if (id == ID_PLOT_NEXT_SCAN) {
        StepToNextScan(doc);
        return true;
    }
    return false;
}

}  // namespace zar
