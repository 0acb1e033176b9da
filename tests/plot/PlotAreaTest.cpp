#include "EngineTestSupport.h"
#include "plot/elements/DragTracker.h"
#include "plot/elements/PlotArea.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar::plot;
using plottest::Canvas;

namespace {

struct Plot {
    explicit Plot(int count) {
        font.height = -14;  // 10 x 14 pixel characters
        for (int t = 0; t < count; ++t) {
            auto trace = std::make_unique<CChroTrace>();
            points.emplace_back();
            for (int i = 0; i <= 100; ++i) {
                TracePoint p;
                p.position = i;
                p.intensity = (t + 1) * 10.0 * std::exp(-(i - 50.0) * (i - 50.0) / 50.0);
                points.back().push_back(p);
            }
            trace->SetPoints(points.back().data(), points.back().size());
            TraceScaling s;
            s.yMin = 0;
            s.yMax = (t + 1) * 10.0;
            trace->SetScaling(s);
            trace->m_bPositionLabels = false;
            traces.push_back(std::move(trace));
        }
        std::vector<CTrace*> raw;
        for (auto& t : traces) raw.push_back(t.get());
        area = std::make_unique<CPlotArea>(raw, &regions, &magnification, &font);
        area->SetVisibleXRange(0, 100);
    }
    PlotFont font;
    std::vector<std::vector<TracePoint>> points;
    std::vector<std::unique_ptr<CChroTrace>> traces;
    PlotRegionList regions;
    CZoomFactorLabel magnification;
    std::unique_ptr<CPlotArea> area;
};

}  // namespace

TEST(PlotAreaTest, NoTracesDrawsNothingAndLeavesNoStaleRegions) {
    Plot plot(0);
    plot.regions.Add(
        PlotRegion(0, 1, {10, 10, 50, 50}, {10, 10, 50, 50}, 0, 1, 0, 1, 0, 0, 1, nullptr, 0));
    plot.regions.Add(PlotRegion(0, 1, {500, 500, 550, 550}, {500, 500, 550, 550}, 0, 1, 0, 1, 0, 0,
                                1, nullptr, 0));
    plot.area->SetRect(0, 0, 300, 200);
    Canvas c(600, 600);
    plot.area->Draw(*c.dc);
    EXPECT_EQ(plot.regions.size(), 1u);  // only the one outside the plot stays
    EXPECT_FALSE(plot.area->LastLayout().valid);
}

TEST(PlotAreaTest, StackedRowsRegionsAndRoundTrips) {
    Plot plot(3);
    plot.area->SetRect(0, 0, 400, 300);
    Canvas c(420, 320);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    EXPECT_TRUE(l.xAxisShown);
    EXPECT_EQ(l.Bl, 300 - 2 * 14);
    EXPECT_EQ(l.P, (l.Bl - l.Dt) / 3);
    // The first trace is in the bottom row.
    const auto& rows = plot.area->LastRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].traceIndex, 0);
    EXPECT_GT(rows[0].data.top, rows[1].data.top);
    // Three regions that do not overlap, each mapping pixels back to its trace's values.
    ASSERT_EQ(plot.regions.size(), 3u);
    for (const CPlotArea::RowInfo& row : rows) {
        const int midY = (row.data.top + row.data.bottom) / 2;
        const PlotRegion* r = plot.regions.Find(row.data.left + 10, midY);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->traceId(), row.traceIndex);
        for (double v : {0.0, 12.5, 50.0, 99.0}) {
            const int px = r->XToScreen(v);
            EXPECT_NEAR(r->ScreenToX(px, midY), v, 100.0 / (row.data.right - row.data.left));
        }
    }
    // The automatic Y label width follows the longest label of the measuring pass.
    EXPECT_DOUBLE_EQ(plot.area->m_dYLabelWidth, plot.area->LongestYLabel() + 0.1);
}

TEST(PlotAreaTest, LowPlotsGiveUpTopMarginThenTheXAxis) {
    Plot plot(1);
    plot.area->SetMargins(1.0, 0.0, 2.0, 0.0);
    plot.area->SetRect(0, 0, 400, 60);  // a few text lines high
    Canvas c(420, 80);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    EXPECT_LE(l.T, 7);
    EXPECT_TRUE(l.xAxisShown);
    Plot lower(1);
    lower.area->SetMargins(1.0, 0.0, 2.0, 0.0);
    lower.area->SetRect(0, 0, 400, 30);
    lower.area->Draw(*c.dc);
    EXPECT_FALSE(lower.area->LastLayout().xAxisShown);
    EXPECT_EQ(lower.area->LastLayout().T, 0);
}

TEST(PlotAreaTest, DepthViewRows) {
    Plot plot(4);
    plot.area->m_bDepthView = true;
    plot.area->m_dRowAngle = 30.0;
    plot.area->m_dColumnAngle = 20.0;
    plot.area->SetRect(0, 0, 500, 400);
    Canvas c(520, 420);
    plot.area->Draw(*c.dc);
    const CPlotArea::Layout& l = plot.area->LastLayout();
    ASSERT_TRUE(l.valid);
    const int U = l.Bl - l.Dt - l.T - l.B;
    EXPECT_NEAR(l.H, U / 2.0, 1.0);
    EXPECT_NEAR(l.s, U / 6.0, 1.0);
    EXPECT_GT(l.S, 0);                   // rows shift right along the depth axis
    EXPECT_EQ(plot.regions.size(), 1u);  // overlapping rows: only the front row is hit-tested
}

TEST(PlotAreaTest, SnapToInteger) {
    EXPECT_EQ(CPlotArea::SnapToInteger(2.00000001), 2.0);
    EXPECT_EQ(CPlotArea::SnapToInteger(99.99999999), 100.0);
    EXPECT_EQ(CPlotArea::SnapToInteger(-2.00000001), -2.00000001);
    EXPECT_EQ(CPlotArea::SnapToInteger(1e-9), 1e-9);
}

TEST(DragTrackerTest, ClickErasesAndDragIsClampedToTheRegion) {
    const PlotRegion region(0, 1, {20, 20, 120, 120}, {20, 20, 120, 120}, 0, 100, 0, 1, 0, 0, 1,
                            nullptr, 0);
    Canvas c(200, 200);
    c.dc->FillRect(0, 0, 100, 200, RGBRef(30, 120, 200));
    DragTracker tracker;
    tracker.Begin(*c.dc, region, {50, 50}, kDragBox);
    tracker.Move(*c.dc, {90, 80});
    tracker.Move(*c.dc, {300, 300});  // outside: the corner stays on the region's edge
    QPoint start, end;
    EXPECT_EQ(tracker.End(*c.dc, start, end), kDragBox);
    EXPECT_EQ(start, QPoint(50, 50));
    EXPECT_EQ(end, QPoint(120, 120));
    EXPECT_EQ(tracker.End(*c.dc, start, end), 0);
    QImage& img = c.finish();
    // Everything drawn was erased again.
    Canvas ref(200, 200);
    ref.dc->FillRect(0, 0, 100, 200, RGBRef(30, 120, 200));
    EXPECT_EQ(img, ref.finish());
}

TEST(PlotAreaTest, HeadingColumnNamesTheTracesFromTheTopRow) {
    Plot plot(2);
    plot.traces[0]->SetTitle(QStringLiteral("TIC"));
    plot.traces[1]->SetTitle(QStringLiteral("m/z 500.0-600.0 + TIC"));
    for (auto& t : plot.traces) {
        TraceScaling s = t->Scaling();
        s.normalisationValue = 123456;
        t->SetScaling(s);
    }
    plot.area->m_nHeadingMode = 2;
    plot.area->m_dHeadingWidth = 12.0;  // "NL:" and its value share a line
    plot.area->m_breakCharacters = QStringLiteral(" +-");
    plot.area->SetRect(0, 0, 500, 400);
    Canvas c(520, 420);
    plot.area->Draw(*c.dc);
    const auto& blocks = plot.area->LastHeadingBlocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].traceIndex, 1);  // the top row holds the last trace
    EXPECT_EQ(blocks[0].lines.front(), QStringLiteral("NL: 1.23E5"));
    EXPECT_GT(blocks[0].lines.size(), 2);  // the long title is wrapped
    EXPECT_LT(blocks[0].top, blocks[1].top);
    EXPECT_EQ(plot.area->LastLayout().Hw, 120);

    Plot narrow(1);
    narrow.area->m_nHeadingMode = 2;
    narrow.area->m_dHeadingWidth = 10.0;  // below "NL:" + 8: two lines
    narrow.area->SetRect(0, 0, 500, 400);
    narrow.area->Draw(*c.dc);
    ASSERT_EQ(narrow.area->LastHeadingBlocks().size(), 1u);
    EXPECT_EQ(narrow.area->LastHeadingBlocks()[0].lines.mid(0, 2),
              (QStringList{QStringLiteral("NL:"), QStringLiteral("0")}));
}

TEST(PlotAreaTest, AutomaticHeadingWidthOrNoColumn) {
    Plot plot(2);
    plot.traces[0]->SetTitle(QString(40, QLatin1Char('x')));
    plot.area->m_nHeadingMode = 3;
    plot.area->SetRect(0, 0, 600, 560);  // 40 lines of 14 pixels
    Canvas c(620, 580);
    plot.area->Draw(*c.dc);
    EXPECT_TRUE(plot.area->LastLayout().headingShown);
    EXPECT_DOUBLE_EQ(plot.area->m_dHeadingWidth, 7.0);
    Plot crowded(8);
    crowded.area->m_nHeadingMode = 3;
    crowded.area->SetRect(0, 0, 600, 100);
    crowded.area->Draw(*c.dc);
    EXPECT_FALSE(crowded.area->LastLayout().headingShown);
    EXPECT_EQ(crowded.area->LastLayout().Hw, 0);
}
