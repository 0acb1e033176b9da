// Segmented spectrum traces, the depth axis with its walls and hit regions, and the scan filter
// that hit regions and the tracking cursor hand back.
#include "EngineTestSupport.h"
#include "plot/elements/PlotArea.h"
#include "plot/elements/TrackingCursor.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar::plot;
using plottest::Canvas;

namespace {

std::vector<TracePoint> Peaks(double from, double to, double height) {
    std::vector<TracePoint> points;
    for (double x = from; x <= to; x += 5.0) {
        TracePoint p;
        p.position = x;
        p.intensity = height * (0.5 + 0.5 * std::sin(x));
        points.push_back(p);
    }
    return points;
}

TraceScaling Scaling(double yMax) {
    TraceScaling s;
    s.yMin = 0.0;
    s.yMax = yMax;
    return s;
}

// A spectrum of three segments, 100-200, 300-400 and 600-700.
struct SegmentedPlot {
    SegmentedPlot() {
        font.height = -12;  // 8 x 12 pixel characters
        segments = {Peaks(100, 200, 50), Peaks(300, 400, 80), Peaks(600, 700, 20)};
        trace.SetPoints(segments[0].data(), segments[0].size());
        trace.SetXExtent(100, 200);
        trace.AddDataSet(segments[1].data(), segments[1].size(), 300, 400);
        trace.AddDataSet(segments[2].data(), segments[2].size(), 600, 700);
        trace.m_bSegmented = true;
        trace.m_bPositionLabels = false;
        for (int j = 0; j < 3; ++j) trace.GetDataSet(j)->SetScaling(Scaling(100));
        area = std::make_unique<CPlotArea>(std::vector<CTrace*>{&trace}, &regions, &magnification,
                                           &font);
        area->m_bShowYAxis = false;
        area->SetVisibleXRange(0, 1000);
        // Data columns 0 .. 299: 300 pixels.
        area->SetRect(0, 0, 299, 200);
    }
    PlotFont font;
    std::vector<std::vector<TracePoint>> segments;
    CSpecTrace trace;
    PlotRegionList regions;
    CZoomFactorLabel magnification;
    std::unique_ptr<CPlotArea> area;
};

// Four chromatograms one behind the other along a slanted depth axis.
struct DepthPlot {
    DepthPlot() {
        font.height = -14;
        for (int t = 0; t < 4; ++t) {
            points.push_back(Peaks(0, 100, 10.0 * (t + 1)));
            auto trace = std::make_unique<CChroTrace>();
            trace->SetPoints(points.back().data(), points.back().size());
            trace->SetScaling(Scaling(10.0 * (t + 1)));
            trace->m_bPositionLabels = false;
            trace->m_lineColor = RGBRef(0, 0, 160);
            traces.push_back(std::move(trace));
        }
        std::vector<CTrace*> raw;
        for (auto& t : traces) raw.push_back(t.get());
        area = std::make_unique<CPlotArea>(raw, &regions, &magnification, &font);
        area->SetVisibleXRange(0, 100);
        area->m_bDepthView = true;
        area->m_dRowAngle = 30.0;
        area->m_dColumnAngle = 20.0;
        area->m_nHeadingMode = 1;
        area->m_dHeadingWidth = 6.0;
        area->m_dDepthAxisWidth = 2.0;
        area->m_nDepthRegionYKind = 2;
        depthAxis.SetRange(1.0, 4.0, false);
        area->SetDepthAxis(&depthAxis);
        area->SetRect(0, 0, 600, 400);
    }
    static CAxis::Settings DepthSettings() {
        CAxis::Settings s;
        s.maxDecimals = 0;
        s.labelsLeft = false;
        s.labelWidthAllowance = 1.0;
        s.verticalSpacingAllowance = 0.5;
        return s;
    }
    PlotFont font;
    std::vector<std::vector<TracePoint>> points;
    std::vector<std::unique_ptr<CChroTrace>> traces;
    PlotRegionList regions;
    CZoomFactorLabel magnification;
    CAxis depthAxis{0, 0, 0, 0, 1.0, 4.0, DepthSettings(), &font};
    std::unique_ptr<CPlotArea> area;
};

}  // namespace

TEST(SpecTraceDataSetTest, DataSetsAreCountedAndBounded) {
    std::vector<TracePoint> a = Peaks(100, 200, 10), b = Peaks(300, 400, 10);
    CSpecTrace trace;
    trace.SetPoints(a.data(), a.size());
    EXPECT_EQ(trace.GetDataSetCount(), 1);
    trace.m_bSegmented = true;
    EXPECT_FALSE(trace.GetSegmentedFlag());  // one data set is no segmentation
    CSpecAddedTrace& added = trace.AddDataSet(b.data(), b.size(), 290, 410);
    EXPECT_EQ(trace.GetDataSetCount(), 2);
    EXPECT_TRUE(trace.GetSegmentedFlag());
    EXPECT_EQ(trace.GetDataSet(0), &trace);
    EXPECT_EQ(trace.GetDataSet(1), &added);
    EXPECT_EQ(trace.GetDataSet(2), nullptr);
    EXPECT_EQ(trace.GetDataSet(-1), nullptr);
    // A given segment range is the extent; without one the points give it.
    EXPECT_DOUBLE_EQ(added.GetFirstX(), 290);
    EXPECT_DOUBLE_EQ(added.GetLastX(), 410);
    EXPECT_DOUBLE_EQ(trace.GetFirstX(), 100);
    EXPECT_DOUBLE_EQ(trace.GetLastX(), 200);
    CSpecTrace empty;
    EXPECT_DOUBLE_EQ(empty.GetFirstX(), 0.0);
    trace.ClearAddedDataSets();
    EXPECT_EQ(trace.GetDataSetCount(), 1);
}

TEST(SpecTraceDataSetTest, EveryDataSetIsDrawnInTheTracesStyle) {
    std::vector<TracePoint> a(1), b(1);
    a[0].position = 20;
    a[0].intensity = 1.0;
    b[0].position = 80;
    b[0].intensity = 1.0;
    CSpecTrace trace;
    trace.SetPoints(a.data(), a.size());
    trace.AddDataSet(b.data(), b.size());
    trace.m_bPositionLabels = false;
    for (int j = 0; j < 2; ++j) {
        CTrace* set = trace.GetDataSet(j);
        set->SetRect({0, 0, 100, 100});
        set->SetRange(0, 100);
        set->SetScaling(Scaling(1.0));
    }
    trace.m_nStyle = 1;
    trace.m_stickColors[0] = RGBRef(200, 0, 0);
    Canvas c(110, 110);
    trace.Draw(*c.dc);
    const QImage& img = c.finish();
    EXPECT_EQ(qRed(img.pixel(20, 50)), 200);
    EXPECT_EQ(qRed(img.pixel(80, 50)), 200);  // the added set, in the trace's stick colour
}

TEST(PlotAreaSegmentTest, ThreeSegmentsShareTheWidthWithTheirOwnAxesAndRegions) {
    SegmentedPlot plot;
    Canvas c(320, 220);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    ASSERT_EQ(l.Dr - l.Dl + 1, 300);
    int Sw = 0, Sd = 0;
    CPlotArea::GetSegmentWidth(l.Dl, l.Dr, 3, 8, Sw, Sd);
    EXPECT_EQ(Sw, 100);
    EXPECT_EQ(Sd, 80);
    // Each segment shows its own range and has its own X axis.
    const auto& axes = plot.area->LastXAxes();
    ASSERT_EQ(axes.size(), 3u);
    const double extents[3][2] = {{100, 200}, {300, 400}, {600, 700}};
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(axes[j].x1, l.Dl + j * 100);
        EXPECT_EQ(axes[j].x2, l.Dl + j * 100 + 80);
        EXPECT_DOUBLE_EQ(axes[j].start, extents[j][0]);
        EXPECT_DOUBLE_EQ(axes[j].end, extents[j][1]);
        EXPECT_DOUBLE_EQ(plot.trace.GetDataSet(j)->RangeStart(), extents[j][0]);
        EXPECT_EQ(plot.trace.GetDataSet(j)->Rect().left, l.Dl + j * 100);
    }
    // Three regions; the three pixel columns between neighbours belong to none, the outer ones
    // reach the plot's edges.
    ASSERT_EQ(plot.regions.size(), 3u);
    const int midY = 60;
    for (int j = 0; j < 3; ++j) {
        const PlotRegion* r = plot.regions.Find(l.Dl + j * 100 + 40, midY);
        ASSERT_NE(r, nullptr);
        EXPECT_NEAR(r->ScreenToX(l.Dl + j * 100 + 40, midY), extents[j][0] + 50, 1.3);
        for (double v : {extents[j][0], extents[j][0] + 33.3, extents[j][1] - 1})
            EXPECT_NEAR(r->ScreenToX(r->XToScreen(v), midY), v, 100.0 / 80);
    }
    EXPECT_NE(plot.regions.Find(0, midY), nullptr);
    EXPECT_NE(plot.regions.Find(299, midY), nullptr);
    for (int x = 89; x <= 91; ++x) EXPECT_EQ(plot.regions.Find(x, midY), nullptr) << x;
    EXPECT_NE(plot.regions.Find(88, midY), nullptr);
    EXPECT_NE(plot.regions.Find(92, midY), nullptr);
    // Data is drawn inside each segment and nowhere between them.
    QImage& img = c.finish();
    img.save(QStringLiteral("/tmp/graph2-segments.png"));
    for (int j = 0; j < 3; ++j) {
        bool ink = false;
        for (int x = j * 100 + 1; x < j * 100 + 80 && !ink; ++x)
            for (int y = 0; y < l.Db - 2 && !ink; ++y) ink = qGray(img.pixel(x, y)) < 128;
        EXPECT_TRUE(ink) << "segment " << j;
    }
    for (int y = 0; y < l.Db - 2; ++y) EXPECT_EQ(img.pixel(90, y), qRgb(255, 255, 255));
}

TEST(PlotAreaSegmentTest, ZeroSegmentsDoNotDivideByZero) {
    int Sw = -1, Sd = -1;
    CPlotArea::GetSegmentWidth(0, 299, 0, 8, Sw, Sd);
    EXPECT_EQ(Sw, 300);
    EXPECT_EQ(Sd, 280);
}

TEST(PlotAreaDepthTest, DepthAxisClimbsAlongTheRowsAndMapsHeightsToIt) {
    DepthPlot plot;
    Canvas c(620, 420);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    const int w = plot.font.measuredWidth;
    EXPECT_EQ(l.Hw, 6 * w);
    EXPECT_EQ(l.Ra, 2 * w);
    ASSERT_GT(l.S, 0);
    EXPECT_EQ(l.S, static_cast<int>(std::tan(20.0 * 3.1415926535 / 180) * l.O));
    EXPECT_EQ(l.Dr, 600 - l.S - l.Hw - l.Ra - l.R);
    const int Hl = 600 - l.Hw;
    EXPECT_EQ(plot.area->LastDepthAxisStart(), QPoint(Hl - l.S, l.Db));
    EXPECT_EQ(plot.area->LastDepthAxisEnd(), QPoint(Hl, l.Db - l.O));
    // Only the front row leaves a region: heights map onto the depth axis, X leans with it.
    ASSERT_EQ(plot.regions.size(), 1u);
    const PlotRegion& r = plot.regions.regions().front();
    EXPECT_EQ(r.traceId(), 0);
    EXPECT_EQ(r.dataRect().bottom, l.Db - l.B);
    EXPECT_EQ(r.dataRect().top, l.Db - l.B - l.O);
    EXPECT_DOUBLE_EQ(r.slantAngle(), 20.0);
    int yKind = 0;
    EXPECT_DOUBLE_EQ(r.ScreenToY(r.dataRect().top, &yKind), 4.0);
    EXPECT_EQ(yKind, 2);
    EXPECT_DOUBLE_EQ(r.ScreenToY(r.dataRect().bottom), 1.0);
    // At the top of the region a point maps to the X of the point moved back along the slant.
    const int x = (r.dataRect().left + r.dataRect().right) / 2;
    const int height = r.dataRect().bottom - r.dataRect().top;
    const int shift = static_cast<int>(std::tan(20.0 * 3.1415926535 / 180) * height);
    EXPECT_DOUBLE_EQ(r.ScreenToX(x + shift, r.dataRect().top), r.ScreenToX(x, r.dataRect().bottom));
    // Over the full row the axis and the region reach one row height higher.
    plot.area->m_bDepthAxisOverFullRow = true;
    plot.regions.Reset();
    plot.area->Draw(*c.dc);
    EXPECT_EQ(plot.area->LastDepthAxisEnd(), QPoint(Hl, l.Db - l.O - l.H));
    ASSERT_EQ(plot.regions.size(), 1u);
    EXPECT_EQ(plot.regions.regions().front().dataRect().top, l.Db - l.B - l.O - l.H);
    c.finish().save(QStringLiteral("/tmp/graph2-depth-axis.png"));
}

TEST(PlotAreaDepthTest, WallsStandBehindTheRows) {
    DepthPlot plot;
    plot.area->m_bDepthWalls = true;
    plot.area->m_wallColor = RGBRef(0xC0, 0xE0, 0xFF);
    Canvas c(620, 420);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    const int y = l.Db - l.B;
    const QPolygon side = plot.area->LastSideWall();
    ASSERT_EQ(side.size(), 4);
    EXPECT_EQ(side[0], QPoint(l.Ax, y));
    EXPECT_EQ(side[1], QPoint(l.Ax, y - l.H));
    EXPECT_EQ(side[2], QPoint(l.Ax + l.S, y - l.H - l.O));
    EXPECT_EQ(side[3], QPoint(l.Ax + l.S, y - l.O));
    const QPolygon back = plot.area->LastBackWall();
    ASSERT_EQ(back.size(), 4);
    EXPECT_EQ(back[0], QPoint(l.Dl + l.S, y - l.H - l.O));
    // The back wall fills the back row's frame in the wall colour (data is drawn over it).
    const QImage& img = c.finish();
    img.save(QStringLiteral("/tmp/graph2-depth-walls.png"));
    const QRgb inside = img.pixel(l.Dl + l.S + 3, y - l.H - l.O + 3);
    EXPECT_EQ(qRed(inside), 0xC0);
    EXPECT_EQ(qGreen(inside), 0xE0);
    EXPECT_EQ(qBlue(inside), 0xFF);
    // Without a depth shift there are no walls.
    DepthPlot flat;
    flat.area->m_bDepthWalls = true;
    flat.area->m_dColumnAngle = 0.0;
    Canvas c2(620, 420);
    flat.area->Draw(*c2.dc);
    EXPECT_TRUE(flat.area->LastSideWall().isEmpty());
}

TEST(PlotAreaDepthTest, FlatDepthViewOverlaysTheRowsWithOneAxisAndRegion) {
    DepthPlot plot;
    plot.area->SetDepthAxis(nullptr);
    plot.area->m_nHeadingMode = 0;
    plot.area->m_dRowAngle = 0.0;
    plot.area->m_dColumnAngle = 0.0;
    Canvas c(620, 420);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    EXPECT_EQ(l.O, 0);
    EXPECT_EQ(l.S, 0);
    const auto& rows = plot.area->LastRows();
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) EXPECT_EQ(row.data.top, rows[0].data.top);
    EXPECT_EQ(plot.regions.size(), 1u);
    EXPECT_TRUE(plot.area->LastDepthAxisStart().isNull());
}

TEST(PlotAreaDepthTest, RegionsCarryTheTracesFilterAndIndexToTheCursor) {
    DepthPlot plot;
    plot.area->SetDepthAxis(nullptr);
    plot.area->m_bDepthView = false;
    plot.area->m_nHeadingMode = 0;
    CScanFilter filter;
    filter.ResizeMassRanges(1);
    filter.SetMassRange(0, 400.0, 1600.0);
    plot.traces[0]->SetScanFilter(&filter);
    plot.traces[0]->m_nRegionIndex = 3;
    Canvas c(620, 420);
    plot.area->Draw(*c.dc);
    const auto& rows = plot.area->LastRows();
    ASSERT_EQ(rows.size(), 4u);
    const ElementRect& front = rows[0].data;
    const ElementRect& second = rows[1].data;
    const QPoint inFront((front.left + front.right) / 2, (front.top + front.bottom) / 2);
    const QPoint inSecond((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    const PlotRegion* r = plot.regions.Find(inFront.x(), inFront.y());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->traceIndex(), 3);
    EXPECT_TRUE(r->flags() & PlotRegion::kHasFilter);

    TrackingCursor cursor;
    TrackingCursor::Values values;
    cursor.Track(*c.dc, plot.regions, inFront, &values);
    EXPECT_TRUE(values.filterFound);
    ASSERT_TRUE(values.filter.has_value());
    EXPECT_TRUE(values.filter->Equals(filter));
    // A region without a filter clears what an earlier one returned.
    cursor.Track(*c.dc, plot.regions, inSecond, &values);
    EXPECT_FALSE(values.filterFound);
    EXPECT_FALSE(values.filter.has_value());
    // The rows' regions do not overlap and stretch over the plot's width.
    EXPECT_EQ(plot.regions.size(), 4u);
    EXPECT_NE(plot.regions.Find(1, inFront.y()), nullptr);
}

TEST(PlotAreaDepthTest, EqualRowsTileWithoutGaps) {
    DepthPlot plot;
    plot.area->SetDepthAxis(nullptr);
    plot.area->m_bDepthView = false;
    plot.area->m_nHeadingMode = 0;
    plot.area->m_bEqualRows = true;
    plot.area->SetMargins(0.5, 0.0, 0.5, 0.0);
    Canvas c(620, 420);
    plot.area->Draw(*c.dc);
    const auto& rows = plot.area->LastRows();
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t k = 1; k < rows.size(); ++k)
        EXPECT_EQ(rows[k].data.bottom, rows[k - 1].data.top - 1) << k;
    EXPECT_EQ(plot.regions.size(), 4u);  // the rows' regions do not overlap
}
