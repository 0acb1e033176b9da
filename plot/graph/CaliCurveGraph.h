#pragma once
// The calibration-curve graph: the fitted curve with the calibration points included in and
// excluded from the fit, a two-line heading, axis titles and a marker pair at a calculated
// amount; it finds the calibration points under the mouse.

#include "GraphDrawing.h"

#include <vector>

namespace zar::plot {

inline constexpr std::int32_t kAmountMarkerGroup = 10;

class CCaliCurveGraph : public CGraphDrawing {
  public:
    CCaliCurveGraph();

    // 0 curve, 1 included, 2 excluded; the points stay the caller's while shown.
    void SetTraceData(int traceId, const TracePoint* points, std::size_t count);
    void SetLeftAxisWidth(double value);
    void SetXRange(double start, double end);
    void SetYRange(double start, double end);
    void SetCalculatedAmountMarker(bool show, double x, double y);
    // The heading lines and titles of the next drawing.
    void SetTexts(const QString& line1, const QString& line2, const QString& xTitle,
                  const QString& yTitle);

    // A calibration point under a pixel: its trace (0 included, 1 excluded), data and index.
    struct Hit {
        int trace = 0;
        double position = 0.0, intensity = 0.0;
        std::size_t index = 0;
    };
    bool FirstHit(const PlotDC& dc, int x, int y, Hit& hit);
    // Goes on from the last hit: further in its trace, then from the start of the excluded one.
    bool NextHit(const PlotDC& dc, int x, int y, Hit& hit);

    bool FixedLeftWidth() const { return PlotAreaConst().m_bYLabelWidthFixed; }
    double LeftWidth() const { return PlotAreaConst().m_dYLabelWidth; }
    CTraceKind3& Included() { return included_; }
    CTraceKind3& Excluded() { return excluded_; }

    void DrawImpl(PlotDC& dc) override;

  private:
    const CPlotArea& PlotAreaConst() const { return *plotArea_; }
    bool search(const PlotDC& dc, int x, int y, int trace, std::size_t from, Hit& hit);

    CChroTrace curve_;
    CTraceKind3 included_;
    CTraceKind3 excluded_;
    QString line1_, line2_;
};

}  // namespace zar::plot
