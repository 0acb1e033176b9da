#pragma once
// The spectrum graph: one spectrum made of one or more segments (runs of peaks with their own mass
// range) drawn as a spectrum trace, under a two-line heading that names the raw file, the scan,
// the retention time, averaging, smoothing, the normalisation level and the scan filter.

#include "GraphDrawing.h"
#include "GraphHandler.h"
#include "ScanFilter.h"

#include <memory>
#include <optional>
#include <vector>

namespace zar::plot {

struct SpecPeakRecord {
    double position = 0.0;
    double intensity = 0.0;
    std::int32_t scanNumber = 0;
};

struct SpecScanSummary {
    std::int32_t scanNumber = 0;
    bool centroid = false;
    double retentionTime = 0.0;
    double tic = 0.0;
    double basePeakIntensity = 0.0;
    double basePeakMass = 0.0;
    double lowMass = 0.0;
    double highMass = 0.0;
};

// The spectrum as the Spec control keeps it. The scan summary belongs to the segment data and is
// replaced by every new set of segments, so it is only ever reached through here.
class CSpecSegmentData {
  public:
    void Clear();
    // Clears and makes `count` empty segments (range 0, 0) with a fresh zero-filled summary.
    void Reset(int count);
    void SetSegment(int index, std::vector<SpecPeakRecord> peaks);
    void SetRange(int index, double low, double high);
    int SegmentCount() const { return static_cast<int>(segments_.size()); }
    const std::vector<SpecPeakRecord>& Peaks(int index) const { return segments_.at(index).peaks; }
    std::pair<double, double> Range(int index) const { return segments_.at(index).range; }
    // Counts every change of the peaks and ranges, so a reader can keep what it derived from them.
    std::uint64_t Generation() const { return generation_; }
    SpecScanSummary* ScanSummary() { return summary_.get(); }
    const SpecScanSummary* ScanSummary() const { return summary_.get(); }

  private:
    struct Segment {
        std::vector<SpecPeakRecord> peaks;
        std::pair<double, double> range{0.0, 0.0};
    };
    std::vector<Segment> segments_;
    std::unique_ptr<SpecScanSummary> summary_;
    std::uint64_t generation_ = 0;
};

// What the heading shows of the spectrum.
struct CSpecHeaderInfo {
    std::int32_t firstScan = 0, lastScan = 0;
    double rtStart = 1.0, rtEnd = 1.0, rtOffset = 0.0;
    bool averaged = false;
    std::int32_t scansAveraged = 0;
    bool subtracted = false;
    std::int32_t scansSubtracted = 0;
    bool background1 = false, background2 = false;
    double bkg1Start = 0, bkg1End = 0, bkg2Start = 0, bkg2End = 0;
    bool filterValid = true;
    CScanFilter filter;
    QString fileName;
    bool forcedHeading = false;
    QString extraText;
    QString headingText;

    // False (and nothing changes) when the filter equals the one held.
    bool SetFilter(const CScanFilter* newFilter);
};

inline constexpr COLORREF kHeadingTagColor = 0x02000000;
inline constexpr COLORREF kHeadingValueColor = 0x02960000;
inline constexpr COLORREF kHeadingFilterColor = 0x020000C8;
// Smoothing type letters of the headings.
QString SmoothingLetters(int type);

class CSpecGraph : public CGraphDrawing {
  public:
    CSpecGraph();

    CGraphHandler& Handler() { return handler_; }
    CSpecHeaderInfo& Header() { return header_; }

    bool m_bDataValid = false;
    // Plot style (`VXPlot_SpecPlotStyle`; 0 until set) and label settings of SetStyle.
    int m_nPlotStyle = 0;
    bool m_bShowLabels = true;
    double m_dLabelThreshold = 0.0;
    bool m_bOffsetLabels = false;
    double m_dLabelOffset = 0.0;
    bool m_bRotateLabels = false;
    // Smoothing shown in the heading.
    bool m_bSmooth = false;
    int m_nSmoothType = 0;
    int m_nSmoothPoints = 7;

    // The segments and filter of the next drawing (the control's, kept by pointer while shown).
    void SetData(const CSpecSegmentData* data, const CScanFilter* filter);
    void SetYAxisScaleType(ZAR_PLOTLib::VXPlot_YAxisScaleType type);
    // Annotated peaks: copies the records and labels each apex; none removes the labels.
    void SetPeakInfo(const ZAR_PLOTLib::VXPlot_PeakInfo* records, int count);
    void SetPeakInfoColors(const std::uint32_t* colors, int count);

    // The graphic heading into the heading block; the plain text for a trace name.
    void ComposeHeading(double normalisationLevel);
    QString HeadingText(double normalisationLevel) const;
    const CHeadingBlock& Heading() const { return heading_; }
    const CSpecTrace& Trace() const { return trace_; }

    void DrawImpl(PlotDC& dc) override;

  private:
    int dataSetCount() const;
    QString scanText() const;
    bool isRange() const;

    CGraphHandler handler_;
    CSpecHeaderInfo header_;
    CSpecTrace trace_;
    std::vector<std::vector<TracePoint>> points_;  // one array per segment
    const CSpecSegmentData* data_ = nullptr;
    std::uint64_t pointsGeneration_ = ~std::uint64_t{0};
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> peakInfo_;
    std::vector<std::uint32_t> peakInfoColors_;
};

}  // namespace zar::plot
