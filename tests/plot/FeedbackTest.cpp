#include "EngineTestSupport.h"
#include "plot/elements/DragTracker.h"
#include "plot/elements/FrameBox.h"
#include "plot/elements/PlotArea.h"
#include "plot/elements/TraceCombiner.h"
#include "plot/elements/TrackingCursor.h"

#include <gtest/gtest.h>

using namespace zar::plot;
using plottest::Canvas;

TEST(TrackingCursorTest, FollowsTheMouseAndErasesItself) {
    PlotRegionList regions;
    regions.Add(PlotRegion(0, 1, {20, 20, 180, 180}, {20, 20, 180, 180}, 0, 100, 0, 50, 0, 1, 1,
                           nullptr, 0));
    Canvas c(200, 200);
    c.dc->FillRect(0, 0, 200, 100, RGBRef(10, 200, 10));
    Canvas ref(200, 200);
    ref.dc->FillRect(0, 0, 200, 100, RGBRef(10, 200, 10));
    TrackingCursor cursor;
    TrackingCursor::Values v;
    EXPECT_TRUE(cursor.Track(*c.dc, regions, {100, 100}, &v));
    EXPECT_NEAR(v.x, 50.0, 1.0);
    EXPECT_NEAR(v.y, 25.0, 1.0);
    EXPECT_NE(cursor.DiagonalStart(), cursor.DiagonalEnd());  // trace index 1: a diagonal
    EXPECT_TRUE(cursor.Track(*c.dc, regions, {60, 150}, &v));
    // Out of every region: the cursor is erased and stays so.
    EXPECT_FALSE(cursor.Track(*c.dc, regions, {5, 5}, &v));
    EXPECT_EQ(c.finish(), ref.finish());
}

TEST(TrackingCursorTest, SlantedCursorLeansAndFlatRangesHaveNoDiagonal) {
    PlotRegionList regions;
    regions.Add(PlotRegion(0, 1, {0, 0, 300, 300}, {50, 100, 250, 200}, 0, 100, 5, 5, 45.0, 1, 1,
                           nullptr, 0));
    Canvas c(300, 300);
    TrackingCursor cursor;
    ASSERT_TRUE(cursor.Track(*c.dc, regions, {150, 150}, nullptr));
    // Its foot is on the data bottom, shifted left by tan(45) x the height above it.
    EXPECT_EQ(cursor.VerticalBottom().y(), 200);
    EXPECT_NEAR(cursor.VerticalBottom().x(), 100, 1);
    EXPECT_EQ(cursor.VerticalTop().y(), 100);
    EXPECT_NEAR(cursor.VerticalTop().x(), 200, 1);
    EXPECT_EQ(cursor.DiagonalStart(), cursor.DiagonalEnd());  // equal Y ends: no slope
}

TEST(FrameBoxTest, LaysOutTheInnerElementAndDrawsItsBorder) {
    struct Inner : CGraphElement {
        void DrawImpl(PlotDC&) override { ++draws; }
        int draws = 0;
    } inner;
    CFrameBox box(3, &inner);
    box.SetRect(10, 10, 100, 60);
    box.m_bShown = true;
    box.m_color = RGBRef(255, 0, 0);
    Canvas c(120, 80);
    box.Draw(*c.dc);
    EXPECT_EQ(inner.Rect().left, 13);
    EXPECT_EQ(inner.Rect().bottom, 57);
    EXPECT_EQ(inner.draws, 1);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(10, 30), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(12, 30), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(13, 30), qRgb(255, 255, 255));
}

namespace {
std::vector<TracePoint> Points(std::initializer_list<std::pair<double, double>> values) {
    std::vector<TracePoint> out;
    for (auto [x, y] : values) {
        TracePoint p;
        p.position = x;
        p.intensity = y;
        out.push_back(p);
    }
    return out;
}
}  // namespace

TEST(TraceCombinerTest, OneBandShowsTheLargestRelativeValue) {
    const auto a = Points({{2, 10}, {5, 2}});
    const auto b = Points({{2, 4}, {5, 20}});
    const auto c3 = Points({{8, 5}});
    std::vector<CSpecTrace> traces(3);
    const std::vector<TracePoint>* data[] = {&a, &b, &c3};
    for (int i = 0; i < 3; ++i) {
        traces[i].SetPoints(data[i]->data(), data[i]->size());
        traces[i].SetRange(0, 10);
        TraceScaling s;
        s.yMax = 20;
        traces[i].SetScaling(s);
        traces[i].SetRect(0, 10 + 30 * i, 100, 35 + 30 * i);
    }
    TraceCombiner combiner;
    Canvas c(120, 120);
    combiner.Draw(*c.dc, {&traces[0], &traces[1], &traces[2]});
    const auto& buffer = combiner.LastBuffer();
    ASSERT_GE(buffer.size(), 9u);
    EXPECT_DOUBLE_EQ(buffer[2], 0.5);  // 10 of 20 beats 4 of 20
    EXPECT_DOUBLE_EQ(buffer[5], 1.0);
    EXPECT_DOUBLE_EQ(buffer[8], 0.25);
    EXPECT_DOUBLE_EQ(buffer[3], 0.0);
    // The last trace now spans the union of the rows.
    EXPECT_EQ(traces[2].Rect().top, 10);
    EXPECT_EQ(traces[2].Rect().bottom, 95);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(55, 50), ToQColor(0x02000000).rgb());
    EXPECT_EQ(img.pixel(35, 50), ToQColor(0x02C8C8C8).rgb());
    EXPECT_EQ(CPlotArea::CombinerGroupSize(100, 0.0), 1);  // no division by a zero step
    EXPECT_EQ(CPlotArea::CombinerGroupSize(100, 30.0), 3);
    EXPECT_EQ(CPlotArea::CombinerGroupSize(100, -1.0), 0);
}

TEST(TraceTest, PeakAreaUnderAMarkedBaselineIsShaded) {
    std::vector<TracePoint> points;
    for (int i = 0; i <= 100; ++i) {
        TracePoint p;
        p.position = i;
        p.intensity = 5 + 80 * std::exp(-(i - 50.0) * (i - 50.0) / 40.0);
        points.push_back(p);
    }
    CChroTrace trace;
    trace.SetPoints(points.data(), points.size());
    trace.SetRange(0, 100);
    TraceScaling s;
    s.yMax = 100;
    trace.SetScaling(s);
    trace.SetRect(0, 0, 200, 100);
    trace.m_bPositionLabels = false;
    CMarkerList markers;
    MarkerNode baseline;
    baseline.startPosition = 40;
    baseline.endPosition = 60;
    baseline.startIntensity = baseline.endIntensity = 5;
    baseline.symbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_Box;
    markers.Add(baseline);
    trace.SetMarkerLists(&markers, nullptr);
    Canvas c(220, 120);
    trace.Draw(*c.dc);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(100, 60), ToQColor(0x02C0C0C0).rgb());  // under the peak
    EXPECT_EQ(img.pixel(40, 60), qRgb(255, 255, 255));          // outside the marked range
}

TEST(DragTrackerTest, KeepsItsOwnCopyOfTheRegion) {
    Canvas c(200, 200);
    DragTracker tracker;
    {
        PlotRegionList regions;
        regions.Add(PlotRegion(0, 1, {20, 20, 120, 120}, {20, 20, 120, 120}, 0, 100, 0, 1, 0, 0, 1,
                               nullptr, 0));
        tracker.Begin(*c.dc, *regions.Find(50, 50), {50, 50}, kDragBox);
        regions.Reset();  // a repaint refills the list during the drag
    }
    tracker.Move(*c.dc, {500, 10});
    QPoint start, end;
    tracker.End(*c.dc, start, end);
    EXPECT_EQ(end, QPoint(120, 20));
}

TEST(TextLabelTest, MagnifiedPositionsDoNotDependOnLabelOrder) {
    CZoomFactorLabel zoom;
    zoom.AddRange(10, 100, 200);
    PlotFont font;
    CTextLabel layer(false, 0, false, 0.4, &font);
    // Priority order puts the label at 150 after the one at 300.
    for (auto [x, priority] : {std::pair{300.0, 9.0}, std::pair{150.0, 1.0}}) {
        TextLabelNode n;
        n.lines = {QStringLiteral("a")};
        n.dataX = x;
        n.dataY = 1.0;
        n.priority = priority;
        layer.AddLabel(n);
    }
    layer.MapPositions(-1.0, 0.0, 100, 1.0, 0.0, 0, &zoom);
    EXPECT_EQ(layer.labels().front().y, 99);  // at 300: not magnified
    EXPECT_EQ(layer.labels().back().y, 90);   // at 150: ten-fold
}

TEST(ZoomFactorLabelTest, EmptyAxisRangeDrawsNothing) {
    CZoomFactorLabel zoom;
    zoom.AddRange(2.5, 1, 2);
    PlotFont font;
    zoom.SetFont(&font);
    zoom.SetAxisRange(5.0, 5.0);
    zoom.SetRect(0, 0, 100, 100);
    Canvas c(120, 120);
    zoom.Draw(*c.dc);
    EXPECT_TRUE(plottest::InkBounds(c.finish()).isNull());
}
