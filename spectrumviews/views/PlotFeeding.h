#pragma once
// What the spectrum and trace panes compute before they hand data to a plotting control: the
// segment a zoom window falls in, peak windows matched to their most intense peaks, the scan
// filter as the control's record, the visible Y limits, and the peak a click picks.

#include "fileio/VXChro.h"
#include "fileio/VXSpectrum.h"
#include "interpretation/ZarmassTypes.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <span>
#include <vector>

namespace zar {

// Y limits as the controls take them.
struct YAxisLimits {
    double normalization = 0.0;
    double absoluteMin = 0.0;
    double absoluteMax = 0.0;
    double relativeMin = 0.0;
    double relativeMax = 100.0;
};

// The first segment whose mass range the zoom window overlaps (inside it, or straddling one of
// its edges); -1 when none does.
int ChooseZoomSegment(const std::vector<CVX_MassRange>& segments, double start, double end);

// Peaks before segment i (the sum of the sizes of the segments before it).
int PeaksBeforeSegment(const std::vector<int>& sizes, int segment);

// A marked peak window as the controls take it: its ends and apex m/z, its pen, the charge and
// a shown label text (cut to the record's room).
ZAR_PLOTLib::VXPlot_PeakInfo MakePeakInfo(double low, double mz, double high, int pen, int charge,
                                          const QString& text);

// One pass over the peaks (ascending mass) against windows sorted by apex mass: each window's
// apex becomes its most intense peak (the first of equal ones); windows without a peak keep
// their apex mass with intensity 0. A peak that closes a window is still tried against the
// windows after it.
void MatchPeakInfoApexes(std::vector<ZAR_PLOTLib::VXPlot_PeakInfo>& infos,
                         const std::vector<CVXDataPeak>& peaks);

// Most ion labels of a deconvolution engine that a spectrum shows.
constexpr int kMaxZarmassPeakInfos = 100;

// Ion labels of a deconvolution engine as the control's peak infos: the labels with an apex
// mass above 0 among the first kMaxZarmassPeakInfos, each apex moved onto the most intense peak
// of its window in the spectrum shown.
std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> ZarmassPeakInfos(std::span<const CPeakLabel> labels,
                                                           const std::vector<CVXDataPeak>& peaks);

// Peaks (or trace points) as the controls' data records, which have the same layout.
std::vector<ZAR_PLOTLib::VXPlot_DataPeak> PlotPeaks(const CVXDataPeak* first, std::size_t count);

// The scan filter as the controls' record (fields beyond the record's room are dropped).
void FillPlotFilter(const CVXFilter& filter, ZAR_PLOTLib::VXPlot_Filter& record);

// Y limits of a spectrum as shown by the display record.
YAxisLimits SpectrumYLimits(const CVXSpec& spectrum, const CVXSpecDisplay& display);
// Y limits of a trace as shown by its display record.
YAxisLimits TraceYLimits(const CVXChro& chro, const CVXChroDisplay& display);

// The peak a click at mass m picks: the bracket of a bisection narrowed to at most two peaks or
// to peaks within 3.0 of m, then its most intense peak (first of equal ones); -1 without peaks.
int PickPeak(const std::vector<CVXDataPeak>& peaks, double m);
// The peak a click at mass m picks in a spectrum: PickPeak for a centroid scan; in a profile
// scan (or one whose points lie closer than 0.05 on average), whose points trace the peaks'
// shapes, the apex of the peak under the click (from the
// point nearest m uphill to the top), so that a click on a peak never takes a neighbour's point.
int PickSpectrumPeak(const CVXSpec& spectrum, double m);

// Index of the point of a trace nearest a time (ties to the earlier point); -1 without points.
int NearestPointIndex(const std::vector<CVXDataPeak>& points, double time);

}  // namespace zar
