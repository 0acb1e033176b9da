#include "EngineTestSupport.h"
#include "plot/elements/Axis.h"
#include "plot/elements/HeadingBlock.h"
#include "plot/elements/LabelOccupancyMap.h"
#include "plot/elements/MarkerList.h"
#include "plot/elements/PlotRegion.h"
#include "plot/elements/TextLabel.h"
#include "plot/elements/ZoomFactorLabel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar::plot;
using plottest::Canvas;

TEST(LabelOccupancyTest, ProfileSpansAndClearance) {
    CLabelOccupancyMap map(10, 20, 100);
    EXPECT_EQ(map.GetClearance(0, 5), 99);  // the span misses the range
    map.RaiseColumn(12, 50);
    map.RaiseColumn(12, 70);  // lower than stored: no change
    EXPECT_EQ(map.ValueAt(12), 50);
    EXPECT_TRUE(map.IsBlocked(11, 13, 50));  // equal counts as blocked
    EXPECT_FALSE(map.IsBlocked(11, 13, 49));
    EXPECT_EQ(map.GetClearance(5, 12), 49);
    map.RaiseSpan(0, 11, 30);
    EXPECT_EQ(map.ValueAt(10), 30);
    EXPECT_EQ(map.ValueAt(12), 50);
    const int* before = map.data();
    map.Reset(30, 40, 90);  // same width, shifted: reused and refilled
    EXPECT_EQ(map.data(), before);
    EXPECT_EQ(map.ValueAt(30), 90);
    map.Reset(5, 2, 10);
    EXPECT_EQ(map.Last(), 5);
}

TEST(LabelOccupancyTest, RectanglesThatTouchDoNotOverlap) {
    COccupiedRectList list;
    list.Add(0, 10, 0, 10);
    EXPECT_FALSE(list.Overlaps(10, 20, 0, 10));
    EXPECT_TRUE(list.Overlaps(9, 20, 5, 6));
    int top = 77;
    EXPECT_FALSE(list.GetLowestTopOver(10, 20, top));
    EXPECT_EQ(top, 77);
    list.Add(5, 15, -4, 2);
    EXPECT_TRUE(list.GetLowestTopOver(0, 8, top));
    EXPECT_EQ(top, -4);
}

TEST(ZoomFactorLabelTest, AddMergeSplitAndFactors) {
    CZoomFactorLabel z;
    z.AddRange(10, 100, 200);
    z.AddRange(10, 200, 300);
    ASSERT_EQ(z.Ranges().size(), 1u);
    EXPECT_EQ(z.Ranges().front().start, 100);
    EXPECT_EQ(z.Ranges().front().end, 300);
    z.AddRange(5, 150, 160);
    ASSERT_EQ(z.Ranges().size(), 3u);
    z.Rewind();
    EXPECT_EQ(z.GetFactorAt(120), 10.0);
    EXPECT_EQ(z.GetFactorAt(155), 5.0);
    EXPECT_EQ(z.GetFactorAt(400), 1.0);
    EXPECT_EQ(z.FactorAt(155), 5.0);  // independent of the cursor
    EXPECT_EQ(z.FactorAt(50), 1.0);
    z.RemoveRange(100, 300);
    EXPECT_FALSE(z.HasRanges());
    EXPECT_EQ(CZoomFactorLabel::LabelFor(2.5), QStringLiteral("x2.5"));
    EXPECT_EQ(CZoomFactorLabel::LabelFor(10.0), QStringLiteral("x10"));
}

namespace {
PlotFont FontOfHeight(int h) {
    PlotFont f;
    f.height = -h;
    return f;
}
}  // namespace

TEST(AxisTest, VerticalAxisStepsMinorTicksAndLabelOffset) {
    Canvas c(200, 400);
    PlotFont font = FontOfHeight(16);
    font.CreateFontForDC(*c.dc);
    CAxis::Settings s;
    CAxis axis(50, 350, 50, 50, 0.0, 100.0, s, &font);
    axis.Draw(*c.dc);
    EXPECT_DOUBLE_EQ(axis.ChosenStep(), 10.0);
    int minor = 0, major = 0;
    for (const CAxis::Tick& t : axis.Ticks()) {
        if (t.label.isEmpty()) {
            ++minor;
            EXPECT_EQ(t.length, 6);
            EXPECT_GT(std::fmod(t.value + 0.01, 10.0), 0.1);  // never on a major tick
        } else {
            ++major;
            EXPECT_EQ(t.label, QString::number(static_cast<int>(t.value)));
        }
    }
    EXPECT_EQ(major, 11);
    EXPECT_EQ(minor, 40);  // every 2 between the tens
    EXPECT_EQ(axis.LongestLabel(), 3);
}

TEST(AxisTest, StepsForATableOfRangesAndSizes) {
    struct Case {
        int x1, y1, x2, y2;
        double start, end;
        double step;
    };
    const Case cases[] = {
        {0, 100, 600, 100, 0, 100, 20},      // horizontal, 600 px: 10 labels do not fit
        {0, 100, 600, 100, 400, 2000, 500},  // m/z range
        {0, 100, 600, 100, 0, 1, 0.1},      {0, 100, 600, 100, 0, 1e6, 200000},
        {0, 300, 0, 0, 0, 100, 10},                                         // vertical, 300 px
        {0, 600, 0, 0, 0, 100, 5},          {0, 100, 600, 100, 10, 10, 0},  // empty span: line only
    };
    for (const Case& k : cases) {
        Canvas c(700, 700);
        PlotFont font = FontOfHeight(16);
        font.CreateFontForDC(*c.dc);
        CAxis axis(k.x1, k.y1, k.x2, k.y2, k.start, k.end, CAxis::Settings{}, &font);
        axis.Draw(*c.dc);
        EXPECT_DOUBLE_EQ(axis.ChosenStep(), k.step) << k.start << ".." << k.end;
    }
    EXPECT_EQ(CAxis::StepTable()[0], 1e-10);
    EXPECT_EQ(CAxis::StepTable()[30], 1.0);
    EXPECT_EQ(CAxis::StepTable()[75], 1e15);
    EXPECT_EQ(CAxis::StepTable()[76], 0.0);
}

TEST(AxisTest, NarrowAxisDrawsTicksWithoutLabelsAndLabelsTheEnd) {
    Canvas c(300, 100);
    PlotFont font = FontOfHeight(16);
    font.CreateFontForDC(*c.dc);
    CAxis narrow(10, 50, 30, 50, 0, 1000, CAxis::Settings{}, &font);
    narrow.Draw(*c.dc);
    for (const CAxis::Tick& t : narrow.Ticks()) EXPECT_TRUE(t.label.isEmpty());

    CAxis::Settings s;
    s.labelTheEnd = true;
    CAxis ended(0, 50, 290, 50, 0, 97, s, &font);
    ended.Draw(*c.dc);
    bool endLabelled = false;
    for (const CAxis::Tick& t : ended.Ticks()) {
        if (t.value == 97 && t.label == QStringLiteral("97")) endLabelled = true;
        if (!t.label.isEmpty() && t.value != 97) {
            EXPECT_LT(t.value, 80);  // too near the end: left out
        }
    }
    EXPECT_TRUE(endLabelled);
}

TEST(PlotRegionTest, ValuePixelValueRoundTrips) {
    const PlotRegion r(0, 1, {0, 0, 500, 300}, {50, 20, 450, 280}, 400.0, 2000.0, 0.0, 1e6, 0.0, 0,
                       1.0, nullptr, 3);
    for (double v : {400.0, 523.25, 1000.0, 1999.0}) {
        const int px = r.XToScreen(v);
        EXPECT_NEAR(r.ScreenToX(px, 100), v, (2000.0 - 400.0) / 400.0) << v;
    }
    for (double v : {0.0, 12345.0, 999999.0}) {
        const int py = r.YToScreen(v);
        EXPECT_NEAR(r.ScreenToY(py), v, 1e6 / 260.0) << v;
    }
    EXPECT_EQ(r.ScreenToX(10, 100), 400.0);  // left of the data: the start
    EXPECT_EQ(r.ScreenToY(500), 0.0);
    const PlotRegion flat(0, 1, {0, 0, 10, 10}, {0, 0, 10, 10}, 5.0, 5.0, 1.0, 1.0, 0.0, 0, 1.0,
                          nullptr, 0);
    EXPECT_EQ(flat.XToScreen(7.0), 0);  // equal ends: no division
    EXPECT_EQ(flat.YToScreen(7.0), 0);
}

TEST(PlotRegionTest, SlantedRegionShiftsXByHeight) {
    const PlotRegion r(0, 1, {0, 0, 500, 300}, {100, 100, 300, 200}, 0.0, 200.0, 0.0, 1.0, 45.0, 0,
                       1.0, nullptr, 0);
    // At the data top the point is shifted left by tan(45) * 100 pixels.
    EXPECT_NEAR(r.ScreenToX(300, 100), 100.0, 1.0);
}

TEST(PlotRegionTest, RubberBandToValues) {
    PlotRegionList list;
    list.Add(PlotRegion(0, 1, {0, 0, 100, 100}, {0, 0, 100, 100}, 0.0, 100.0, 0.0, 10.0, 0.0, 0,
                        2.0, nullptr, 7));
    PlotRegionList::Values v;
    ASSERT_TRUE(list.PointsToValues({80, 10}, {20, 90}, v, true, true, true, true));
    EXPECT_DOUBLE_EQ(v.xStart, 20.0);
    EXPECT_DOUBLE_EQ(v.xEnd, 80.0);
    EXPECT_DOUBLE_EQ(v.yStart, 2.0);  // scaled by 2
    EXPECT_DOUBLE_EQ(v.yEnd, 18.0);
    EXPECT_EQ(v.traceId, 7);
    EXPECT_FALSE(list.PointsToValues({50, 50}, {150, 50}, v, true, false, true, true));
    ASSERT_TRUE(list.PointsToValues({50, 50}, {150, 50}, v, true, false, true, false));
    EXPECT_DOUBLE_EQ(v.xEnd, 100.0);  // the start's region, at its edge
    // A region drawn over an existing one replaces it; one that only touches stays.
    list.Add(
        PlotRegion(0, 1, {100, 0, 200, 100}, {100, 0, 200, 100}, 0, 1, 0, 1, 0, 0, 1, nullptr, 1));
    EXPECT_EQ(list.size(), 2u);
    list.Add(
        PlotRegion(0, 1, {50, 50, 150, 60}, {50, 50, 150, 60}, 0, 1, 0, 1, 0, 0, 1, nullptr, 2));
    EXPECT_EQ(list.size(), 1u);
}

TEST(MarkerListTest, VisibilityAndPercentScale) {
    double si = 10, ei = 20;
    EXPECT_TRUE(MarkerIsVisible(50, 100, si, ei, 100, 200, 0, 100, nullptr));  // end == start
    si = 10, ei = 20;
    EXPECT_FALSE(MarkerIsVisible(201, 300, si, ei, 100, 200, 0, 100, nullptr));
    si = 150, ei = 160;
    EXPECT_FALSE(MarkerIsVisible(120, 130, si, ei, 100, 200, 0, 100, nullptr));

    // A percent marker of 50 on a trace whose y maximum is 2000 lies at 1000.
    Canvas c(200, 200);
    CMarkerList list;
    MarkerNode m;
    m.intensityScale = ZAR_PLOTLib::VXPlot_MarkerScale_Percent;
    m.startIntensity = m.endIntensity = 50;
    m.startPosition = 0;
    m.endPosition = 100;
    m.behind = true;
    list.Add(m);
    MarkerScales s;
    s.yMin = 0;
    s.yMax = 2000;
    s.bottom = 180;
    s.yScale = -160.0 / 2000;
    s.xStart = 0;
    s.xEnd = 100;
    s.xScale = 1.5;
    s.left = 20;
    list.Draw(*c.dc, false, s, nullptr, 0);  // front pass: a behind marker is not drawn
    EXPECT_TRUE(plottest::InkBounds(c.finish()).isNull());
    Canvas d(200, 200);
    list.Draw(*d.dc, true, s, nullptr, 0);
    const QRect ink = plottest::InkBounds(d.finish());
    EXPECT_EQ(ink.top(), 180 - 80);  // intensity 1000 of 2000 over 160 pixels
    EXPECT_EQ(ink.height(), 1);
}

TEST(TextLabelTest, PriorityOrderAndCollisions) {
    PlotFont font = FontOfHeight(10);
    CTextLabel layer(false, 0, false, 0.4, &font);
    TextLabelNode a;
    a.lines = {QStringLiteral("low")};
    a.priority = 1;
    a.x = 100;
    a.y = 100;
    TextLabelNode b = a;
    b.lines = {QStringLiteral("high")};
    b.priority = 5;
    TextLabelNode b2 = b;
    b2.lines = {QStringLiteral("newer")};
    layer.AddLabel(a);
    layer.AddLabel(b);
    layer.AddLabel(b2);
    ASSERT_EQ(layer.labels().size(), 3u);
    EXPECT_EQ(layer.labels().front().lines.front(), QStringLiteral("newer"));
    EXPECT_EQ(layer.labels().back().lines.front(), QStringLiteral("low"));

    Canvas c(300, 300);
    COccupiedRectList rects;
    layer.SetRect({0, 0, 299, 299});
    layer.SetCollision(nullptr, &rects, false, true);
    layer.Draw(*c.dc);
    // Same anchor, offset 0: only the first in priority order is placed.
    ASSERT_EQ(layer.Placed().size(), 1u);
    EXPECT_EQ(layer.Placed().front().lines.front(), QStringLiteral("newer"));
    EXPECT_EQ(layer.GetLongestLine(), 5);
}

TEST(TextLabelTest, MovedSidewaysWithALeaderWhenAllowed) {
    PlotFont font = FontOfHeight(10);
    CTextLabel layer(false, 40, false, 0.4, &font);
    for (int i = 0; i < 2; ++i) {
        TextLabelNode n;
        n.lines = {QStringLiteral("%1").arg(i)};
        n.priority = 10 - i;
        n.x = 150 + 8 * i;  // overlapping boxes; the second's leader can pass the first
        n.y = 150;
        layer.AddLabel(n);
    }
    Canvas c(300, 300);
    CLabelOccupancyMap profile(0, 299, 299);
    COccupiedRectList rects;
    layer.SetRect({0, 0, 299, 299});
    layer.SetCollision(&profile, &rects, true, true);
    layer.Draw(*c.dc);
    ASSERT_EQ(layer.Placed().size(), 2u);
    EXPECT_FALSE(layer.Placed()[0].leader);
    EXPECT_TRUE(layer.Placed()[1].leader);
    EXPECT_NE(layer.Placed()[1].box.left, layer.Placed()[0].box.left);
}

// The Annotate dialog's "Above position": a label centred on a peak's apex, among other peaks.
// It stands just above the apex it marks (neither left out because the peak itself is under it,
// nor pushed off by the peaks beside it); one above the graph clears the data under its box.
TEST(TextLabelTest, ALabelAtItsPositionStandsJustAboveTheMarkedPeak) {
    struct Case {
        const char* name;
        bool aboveGraph;
        int expectedBottom;  // -1: anything above the highest data under the box
    };
    const Case cases[] = {{"above position", false, 119}, {"above graph", true, -1}};
    for (const Case& k : cases) {
        PlotFont font = FontOfHeight(10);
        CTextLabel layer(false, 0, false, 0.4, &font);
        TextLabelNode n;
        n.lines = {QStringLiteral("998.13")};
        n.x = 150;
        n.y = 120;  // the apex of the peak at column 150
        n.yAnchor = 1;
        n.aboveGraph = k.aboveGraph;
        layer.AddLabel(n);
        Canvas c(300, 300);
        CLabelOccupancyMap profile(0, 299, 299);
        profile.RaiseSpan(140, 160, 200);  // the peak's flanks
        profile.RaiseColumn(150, 120);     // its apex
        profile.RaiseColumn(156, 60);      // a taller neighbour under the label's box
        COccupiedRectList rects;
        layer.SetRect({0, 0, 299, 299});
        layer.SetCollision(&profile, &rects, true, true);
        layer.SetKeepInside(true);
        layer.Draw(*c.dc);
        ASSERT_EQ(layer.Placed().size(), 1u) << k.name << ": the label is drawn";
        const ElementRect box = layer.Placed().front().box;
        if (k.expectedBottom >= 0)
            EXPECT_EQ(box.bottom, k.expectedBottom) << k.name;
        else
            EXPECT_LT(box.bottom, 60) << k.name;
        EXPECT_LT(box.left, 150) << k.name;
        EXPECT_GT(box.right, 150) << k.name;
    }
}

TEST(TextLabelTest, FitIntoBounds) {
    const ElementRect bounds{0, 0, 99, 99};
    int l = 90, r = 110, t = 10, b = 20;
    ASSERT_TRUE(CTextLabel::FitIntoBounds(bounds, l, r, t, b));
    EXPECT_EQ(r, 99);
    EXPECT_EQ(l, 79);
    l = 0, r = 10, t = 0, b = 200;
    EXPECT_FALSE(CTextLabel::FitIntoBounds(bounds, l, r, t, b));
}

TEST(HeadingTest, ProportionalFontForTheWorkedExample) {
    Canvas c(600, 400);
    PlotFont font;
    CProporPitchFont sizer(60, 20, 50, 12, 0.084, 0.133, &font);
    sizer.SetRect(0, 0, 600, 400);
    EXPECT_EQ(sizer.ChooseFontHeight(*c.dc), 12);
    // A minimum below one pixel cannot make the width test divide by zero.
    CProporPitchFont tiny(60, 20, 50, 12, 0.0, 0.0, &font);
    tiny.SetRect(0, 0, 10, 2);
    EXPECT_GE(tiny.ChooseFontHeight(*c.dc), 1);
}

TEST(HeadingTest, ItemsPlacedCentredRightAlignedAndShortened) {
    Canvas c(400, 100);
    PlotFont font = FontOfHeight(14);  // 10 pixels a character
    font.CreateFontForDC(*c.dc);
    CHeadingBlock block(30, 3, &font);
    block.SetRect(0, 0, 299, 59);
    block.AddItem(QStringLiteral("right"), kRightAligned, 0, 0, false);
    block.AddItem(QStringLiteral("mid"), -5.0, 1, 0, false);
    block.AddItem(QStringLiteral("A thirty character long item!!"), 5, 2, 0, true);
    block.AddItem(QStringLiteral("short"), 28, 2, 0, true);  // too short to shorten: left out
    block.AddFollowingItem(QStringLiteral("x"), 1, 0, false);
    block.Draw(*c.dc);
    const auto& w = block.LastWritten();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].x + 50, 299);
    EXPECT_EQ(w[1].x, (0 + 299 - 30) / 2);
    EXPECT_TRUE(w[2].text.endsWith(QStringLiteral(" ...")));
    EXPECT_LE(w[2].text.size(), 25 + 4);
    EXPECT_LE(w[2].x + w[2].text.size() * 10 - 1, 299 - kHeadingBitmapWidth);
}

#include "plot/elements/HeadingColumn.h"

TEST(HeadingColumnTest, AutomaticWidthForTheWorkedExample) {
    // Two traces, 40 text lines, mode 2, longest title 40 characters, 10 x 10 pixel characters.
    const HeadingFit fit = FitHeadingColumn(200, 400, 10, 10, 2, 2, 40, 50.0, 0.0);
    EXPECT_EQ(fit.linesPerTrace, 10);
    EXPECT_DOUBLE_EQ(fit.widthChars, 7.0);
    EXPECT_TRUE(fit.fits);  // 6.2 <= half of 20 characters
    EXPECT_FALSE(FitHeadingColumn(100, 400, 10, 10, 2, 2, 40, 50.0, 0.0).fits);  // 6.2 > 5
    const HeadingFit low = FitHeadingColumn(200, 30, 10, 10, 4, 2, 40, 50.0, 3.0);
    EXPECT_FALSE(low.fits);
    EXPECT_LT(low.linesPerTrace, 1);
    EXPECT_TRUE(FitHeadingColumn(200, 400, 0, 0, 0, 2, 0, 50.0, 0.0).fits);  // no traces
}

TEST(HeadingColumnTest, NlSplitsBelowElevenCharactersAndFontShrinks) {
    bool split = false;
    EXPECT_DOUBLE_EQ(HeadingFontScale(20, 2, 2, 10, 3, split), 1.0);
    EXPECT_TRUE(split);
    HeadingFontScale(20, 2, 2, 12, 3, split);
    EXPECT_FALSE(split);
    // Many traces in a low plot: 0.6 at the lowest, then limited to per / lines.
    EXPECT_DOUBLE_EQ(HeadingFontScale(2.0, 10, 2, 20, 3, split), 2.0 / 11);
    EXPECT_NEAR(HeadingFontScale(3.0, 3, 3, 20, 3, split), 0.9, 1e-9);
    EXPECT_DOUBLE_EQ(HeadingFontScale(5.0, 0, 3, 20, 3, split), 1.0);  // no division by zero
}

TEST(HeadingColumnTest, TitlesWrapAtBreakCharacters) {
    auto measure = [](const QString& s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(
        WrapHeadingTitle(QStringLiteral("m/z 500-600 + TIC"), QStringLiteral(" +-"), 80, measure),
        (QStringList{QStringLiteral("m/z "), QStringLiteral("500-600 "), QStringLiteral("+ TIC")}));
    EXPECT_EQ(WrapHeadingTitle(QStringLiteral("ABCDEFG"), QStringLiteral(" +-"), 30, measure),
              (QStringList{QStringLiteral("ABC"), QStringLiteral("DEF"), QStringLiteral("G")}));
    EXPECT_TRUE(WrapHeadingTitle(QStringLiteral("ABC"), QString(), 5, measure).isEmpty());
}
