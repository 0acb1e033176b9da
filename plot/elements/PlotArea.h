#pragma once
// The body of a plot: the X axis along the bottom, a Y axis at the left and one row per trace,
// stacked or, in the depth view, offset along a slanted depth axis. Every size is a multiple of
// the graph font's character cell. While drawing it gives each trace its rectangles, lends all
// traces one occupancy profile and one occupied-rectangle list, and leaves hit regions behind.

#include "Axis.h"
#include "PlotFont.h"
#include "GraphElement.h"
#include "PlotRegion.h"
#include "Trace.h"
#include "TraceCombiner.h"
#include "ZoomFactorLabel.h"

#include <QPolygon>

#include <array>
#include <vector>

namespace zar::plot {

// Value kinds that traces give their regions.
inline constexpr int kValueKindPosition = 0;
inline constexpr int kValueKindIntensity = 1;

class CPlotArea : public CGraphElement {
  public:
    // What one drawing laid out (kept for the graphs and for tests).
    struct Layout {
        int L = 0, R = 0, T = 0, B = 0;  // margins in pixels
        int Yw = 0, Ax = 0;              // left axis width and its line's x
        int Bl = 0, Dt = 0, Db = 0;      // bottom limit, data top, data bottom
        int Dl = 0, Dr = 0;              // data left and right
        double s = 0.0;                  // step between rows
        int P = 0, H = 0, O = 0;         // row pitch, row data height, total offset
        int S = 0;                       // total depth shift
        double q = 0.0;                  // depth shift per trace
        int Hw = 0;                      // heading column width
        int Ra = 0;                      // room kept for the depth axis
        bool xAxisShown = false, yAxisShown = false, headingShown = false;
        bool valid = false;
    };
    struct RowInfo {
        int traceIndex;
        int dataSet;
        ElementRect data;
        ElementRect label;
        double yStart, yEnd;
        bool yLabelEnd;
    };

    CPlotArea(std::vector<CTrace*> traces, PlotRegionList* regions, CZoomFactorLabel* magnification,
              PlotFont* font);

    void SetTraces(std::vector<CTrace*> traces) { traces_ = std::move(traces); }
    void SetRegions(PlotRegionList* regions) { regions_ = regions; }
    // Draws the traces' data through a combiner: mode 0 all at once, mode 1 in groups of as many
    // traces as fit in groupHeight pixels of rows; any other mode draws nothing.
    void SetCombiner(TraceCombiner* combiner, int mode, int groupHeight) {
        combiner_ = combiner;
        combinerMode_ = mode;
        combinerGroupHeight_ = groupHeight;
    }
    // The number of traces per group for a row step (at least 1; 0 for a negative step).
    static int CombinerGroupSize(int groupHeight, double step);
    void SetMargins(double bottom, double left, double top, double right);
    // A segmented trace shows each of its data sets over that set's own X extent.
    void SetVisibleXRange(double xStart, double xEnd);
    double GetMaxValue() const;
    // The largest maximum intensity of one trace's data sets.
    static double TraceMaxValue(CTrace& trace);
    // Segments share the data width equally; each leaves 2.5 characters free at its right.
    static void GetSegmentWidth(int dataLeft, int dataRight, int count, int charWidth,
                                int& segmentWidth, int& drawnWidth);

    // The slanted depth axis of heading mode 1 (the graph's; not owned; null = none).
    void SetDepthAxis(CAxis* axis) { depthAxis_ = axis; }
    CAxis* DepthAxis() const { return depthAxis_; }
    double m_dDepthAxisWidth = 0.0;  // characters kept at the right for the depth axis
    int m_nDepthRegionYKind = kNoValueMapping;
    bool m_bDepthAxisOverFullRow = false;
    bool m_bDepthWalls = false;
    COLORREF m_wallColor = 0xFFFFFF;

    // Switches read before each drawing.
    bool m_bShowXAxis = true;
    bool m_bShowYAxis = true;
    int m_nHeadingMode = 0;
    double m_dHeadingWidth = 0.0;
    double m_dYLabelWidth = 3.1;
    bool m_bYLabelWidthFixed = false;
    QString m_xTitle;
    std::array<QString, 8> m_yTitles;
    bool m_bSingleYTitle = true;
    bool m_bAbsoluteMode = true;
    bool m_bDepthView = false;
    double m_dRowAngle = 30.0;
    double m_dColumnAngle = 0.0;
    bool m_bCommonRange = false;
    bool m_bRowSeparator = true;
    bool m_bEqualRows = false;
    bool m_bTraceOrder = true;      // 1: the first trace in the bottom row
    double m_dHeadingShare = 50.0;  // percent of the width an automatic heading column may take
    QString m_breakCharacters;      // where heading titles may be wrapped
    int m_nLinesPerTrace = 1;

    // One trace's block of the heading column in the last drawing.
    struct HeadingBlockOut {
        int traceIndex;
        int top;
        QStringList lines;
    };
    const std::vector<HeadingBlockOut>& LastHeadingBlocks() const { return headingBlocks_; }

    void DrawImpl(PlotDC& dc) override;

    // One X axis span of the last drawing (one per segment of a segmented first trace).
    struct AxisSpan {
        int x1, x2;
        double start, end;
    };
    const std::vector<AxisSpan>& LastXAxes() const { return xAxes_; }
    // The depth axis's end points in the last drawing (both null when none was drawn).
    QPoint LastDepthAxisStart() const { return depthFrom_; }
    QPoint LastDepthAxisEnd() const { return depthTo_; }
    // The side wall and the back wall of the last drawing (empty when none were drawn).
    const QPolygon& LastSideWall() const { return sideWall_; }
    const QPolygon& LastBackWall() const { return backWall_; }

    const Layout& LastLayout() const { return layout_; }
    const std::vector<RowInfo>& LastRows() const { return rows_; }
    CAxis& XAxis() { return xAxis_; }
    CAxis& YAxis() { return yAxis_; }
    int LongestYLabel() const { return longestYLabel_; }

    static double SnapToInteger(double value);

  private:
    void layoutLeftAxis(Layout& l) const;
    bool layoutRows(Layout& l, int h) const;
    bool layoutColumns(Layout& l, int w, int h) const;
    void drawTraces(PlotDC& dc, const Layout& l, bool measuring, CLabelOccupancyMap& profile,
                    COccupiedRectList& rects);
    void drawHeadingColumn(PlotDC& dc, int left, int width, int dataBottom);
    void drawXAxis(PlotDC& dc, const Layout& l);
    void drawDepthAxis(PlotDC& dc, const Layout& l);
    void draw3DWalls(PlotDC& dc, int x, int y, int height, int dx, int dy, int x1, int x2);
    void drawMagnification(PlotDC& dc, const Layout& l);
    bool segmentedFirst() const { return !traces_.empty() && traces_[0]->GetSegmentedFlag(); }
    // What a row needs of its trace's data sets: their Y extremes and largest maximum.
    struct TraceRecord {
        double yMin, yMax, maxValue;
        TraceScaling last;  // the scaling of the last data set
    };
    void rowYRange(const TraceRecord& r, double Ymin, double Ymax, double M, double& a, double& b,
                   bool& labelEnd) const;

    std::vector<CTrace*> traces_;
    TraceCombiner* combiner_ = nullptr;
    int combinerMode_ = 0;
    int combinerGroupHeight_ = 0;
    PlotRegionList* regions_;
    CZoomFactorLabel* magnification_;
    PlotFont* font_;
    CAxis xAxis_;
    CAxis yAxis_;
    double marginLeft_ = 0, marginBottom_ = 0, marginTop_ = 0, marginRight_ = 0;
    double xStart_ = 0.0, xEnd_ = 1.0;
    Layout layout_;
    std::vector<RowInfo> rows_;
    int longestYLabel_ = 0;
    std::vector<HeadingBlockOut> headingBlocks_;
    CAxis* depthAxis_ = nullptr;
    std::vector<AxisSpan> xAxes_;
    QPoint depthFrom_, depthTo_;
    QPolygon sideWall_, backWall_;
};

}  // namespace zar::plot
