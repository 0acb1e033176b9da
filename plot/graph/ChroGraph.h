#pragma once
// The chromatogram graph: one chromatogram trace with its integrated peaks (baselines and label
// lines), markers, user labels, a one-line heading with the time range and smoothing, and a
// trace title built from the trace description.

#include "GraphDrawing.h"
#include "GraphHandler.h"
#include "ScanFilter.h"

#include <vector>

namespace zar::plot {

// One integrated peak as the graph keeps it.
struct ChroPeakEntry {
    ZAR_PLOTLib::VXPlot_ChroPeak peak{};
};
// The user peaks (first) and the automatic peaks (second).
struct ChroPeakListPair {
    std::vector<ZAR_PLOTLib::VXPlot_ChroPeak> user;
    std::vector<ZAR_PLOTLib::VXPlot_ChroPeak> automatic;
};

// The detector name of a trace type ("" for unnamed types from -1 to 103, else "invalid").
QString DetectorName(int traceType);
// The lines of one peak's label; `manual` picks the tags of user peaks ("MA:", "MH:").
struct ChroLabelSwitches {
    bool retentionTime = true;
    int decimals = 2;
    bool scanNumber = false;
    bool basePeak = false;
    bool peakNumber = false;
    bool area = true;
    bool signalToNoise = false;
    bool height = false;
    bool flags = false;
};
QStringList PeakLabelLines(const ZAR_PLOTLib::VXPlot_ChroPeak& peak, bool manual,
                           const ChroLabelSwitches& on, std::int32_t apexScan,
                           double noiseThreshold);

inline constexpr int kBaselineMarkerId = 0;

class CChroGraph : public CGraphDrawing {
  public:
    CChroGraph();

    CGraphHandler& Handler() { return handler_; }
    CChroTrace& Trace() { return trace_; }

    // The trace's points (the control's; kept by pointer while shown) and description.
    void SetTrace(const TracePoint* points, std::size_t count);
    void SetTraceInfo(const ZAR_PLOTLib::VXPlot_ChroInfo* info,
                      const std::vector<ZAR_PLOTLib::VXPlot_MassRange>& ranges,
                      const CScanFilter* filter);
    void SetPeaks(const ZAR_PLOTLib::VXPlot_ChroPeak* peaks, int count);
    const ChroPeakListPair& Peaks() const { return peaks_; }
    void SetStyle(ZAR_PLOTLib::VXPlot_ChroStyle style);
    QString ComposeTitle(const QString& suffix) const;
    // The no-data text with its one argument (a "%s" shows the detector label); all else literal.
    QString NoDataText() const;

    // The baseline end under a pixel: 1 or 2, with the baseline's ends; 0 when none.
    int HitTestBaseline(const PlotDC& dc, int x, int y, double& x1, double& y1, double& x2,
                        double& y2) const;

    QString m_noDataText;
    QString m_detectorLabel;
    QString m_headingTitle;
    QString m_fileName;  // follows the composed title
    bool m_bForcedHeading = false;
    bool m_bSmooth = false;
    int m_nSmoothType = 0;
    int m_nSmoothPoints = 7;
    ChroLabelSwitches m_labels;
    double m_dLabelThreshold = 0.0;  // percent of the shown maximum
    bool m_bRotatedLabels = false;
    bool m_bBoxedLabels = false;
    bool m_bDifferenceLabels = false;
    double m_dLabelOffset = 2.0;  // characters a peak label may move sideways
    // The host's labelling: the switches and threshold it names; the switches it does not name
    // (rotated, boxed and difference labels) and the label offset go back to off.
    void SetLabelling(const ChroLabelSwitches& labels, double threshold);
    // The six show flags and the side widths (characters).
    bool m_bShowTextAtRight = true, m_bShowTextAtLeft = true, m_bShowAxisAtLeft = true,
         m_bShowXAxis = true, m_bShowXAxisLabel = true, m_bShowHeaderText = true;
    double m_dLeftWidth = 0.0, m_dRightWidth = 0.0;
    // Where the titles of the heading column at the right may be wrapped.
    static constexpr const char* kHeadingBreakCharacters = " +-";

    const CHeadingBlock& Heading() const { return heading_; }
    void DrawImpl(PlotDC& dc) override;

  private:
    void addPeakMarkers();
    double headroom() const;

    CGraphHandler handler_;
    CChroTrace trace_;
    ChroPeakListPair peaks_;
    ZAR_PLOTLib::VXPlot_ChroInfo info_{};
    bool hasInfo_ = false;
    std::vector<ZAR_PLOTLib::VXPlot_MassRange> ranges_;
    CScanFilter filter_;
    bool hasFilter_ = false;
};

}  // namespace zar::plot
