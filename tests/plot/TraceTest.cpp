#include "EngineTestSupport.h"
#include "plot/elements/Trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace zar::plot;
using plottest::Canvas;

namespace {

TracePoint P(double x, double y, std::uint32_t flags = 0) {
    TracePoint p;
    p.position = x;
    p.intensity = y;
    p.flags = flags;
    return p;
}

// A trace over a 100 x 100 data rectangle at (10, 10), x 0..100, y 0..100.
template <class T>
void PrepareTrace(T& trace, const std::vector<TracePoint>& points, PlotFont* font) {
    trace.SetPoints(points.data(), points.size());
    trace.SetRange(0.0, 100.0);
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 100;
    trace.SetScaling(s);
    trace.SetRect(10, 10, 110, 110);
    trace.SetLabelRect({0, 0, 120, 111});
    trace.SetFont(font);
    trace.m_bPositionLabels = false;
}

}  // namespace

TEST(TraceTest, ProfileReducesColumnsToTheirExtremes) {
    std::vector<TracePoint> points;
    for (int i = 0; i < 100000; ++i) {
        const double x = i * 0.001;
        points.push_back(P(x, 50 + 40 * std::sin(x * 0.3) * std::cos(i * 0.7)));
    }
    PlotFont font;
    CChroTrace trace;
    PrepareTrace(trace, points, &font);
    CLabelOccupancyMap profile;
    COccupiedRectList rects;
    trace.SetCollision(&profile, &rects);
    Canvas c(130, 130);
    font.CreateFontForDC(*c.dc);
    trace.Draw(*c.dc);
    // Every column's profile value is the pixel of the highest intensity of that column (or of
    // the line joining it to the previous column's top).
    for (int col = 1; col < 99; ++col) {
        double hi = 0;
        for (const TracePoint& p : points)
            if (static_cast<int>(p.position) == col) hi = std::max(hi, p.intensity);
        const int expected = static_cast<int>(hi * -1.0) + 110;
        EXPECT_LE(profile.ValueAt(10 + col), expected) << col;
    }
    EXPECT_LT(profile.ValueAt(60), 110);
}

TEST(TraceTest, EndOfRangeIsInTheProfileAndOutOfTheSticks) {
    const std::vector<TracePoint> points = {P(100.0, 50), P(100.0, 80)};
    PlotFont font;
    CChroTrace profile;
    PrepareTrace(profile, points, &font);
    Canvas a(130, 130);
    profile.DrawProfile(*a.dc, 0);
    EXPECT_FALSE(plottest::InkBounds(a.finish()).isNull());
    CChroTrace sticks;
    PrepareTrace(sticks, points, &font);
    Canvas b(130, 130);
    sticks.DrawSticks(*b.dc, 0, 0, 0, 0);
    EXPECT_TRUE(plottest::InkBounds(b.finish()).isNull());
}

TEST(TraceTest, SticksSkipZeroIntensityButLetItJoinAColumn) {
    // Column 20 opened by a non-zero point, joined by a zero one; column 40 only zeros.
    const std::vector<TracePoint> points = {P(20.1, 30), P(20.5, 0), P(40.2, 0), P(40.6, 0)};
    PlotFont font;
    CSpecTrace trace;
    PrepareTrace(trace, points, &font);
    CLabelOccupancyMap profile;
    trace.SetCollision(&profile, nullptr);
    Canvas c(130, 130);
    trace.Draw(*c.dc);
    EXPECT_EQ(profile.ValueAt(30), 110 - 30);
    EXPECT_EQ(profile.ValueAt(50), 110);  // nothing drawn
    QImage& img = c.finish();
    EXPECT_NE(img.pixel(30, 100), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(50, 100), qRgb(255, 255, 255));
}

TEST(TraceTest, SticksWithoutALentProfileStillLabelPeaks) {
    const std::vector<TracePoint> points = {P(20, 30), P(60, 90)};
    PlotFont font;
    font.height = -8;
    CSpecTrace trace;
    PrepareTrace(trace, points, &font);
    trace.m_bPositionLabels = true;
    Canvas c(130, 130);
    font.CreateFontForDC(*c.dc);
    trace.Draw(*c.dc);
    ASSERT_EQ(trace.LastCandidates().size(), 2u);
    EXPECT_FALSE(trace.LastPeakLabels().empty());
}

TEST(TraceTest, FlagPensAndTags) {
    const std::vector<TracePoint> points = {P(30, 80, kFlagSecond | kFlagThird),
                                            P(60, 80, kFlagThird)};
    PlotFont font;
    font.height = -8;
    CSpecTrace trace;
    PrepareTrace(trace, points, &font);
    trace.m_bFlagTags = true;
    Canvas c(130, 130);
    font.CreateFontForDC(*c.dc);
    trace.Draw(*c.dc);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(40, 100), ToQColor(trace.m_stickColors[2]).rgb());  // second flag wins
    EXPECT_EQ(img.pixel(70, 100), ToQColor(trace.m_stickColors[3]).rgb());
}

TEST(TraceTest, PlateauIsLabelledAtItsFirstColumn) {
    const std::vector<TracePoint> points = {P(10, 10), P(20, 60), P(30, 60), P(40, 60), P(50, 5)};
    PlotFont font;
    font.height = -8;
    CChroTrace trace;
    PrepareTrace(trace, points, &font);
    trace.m_bPositionLabels = true;
    Canvas c(130, 130);
    font.CreateFontForDC(*c.dc);
    trace.Draw(*c.dc);
    ASSERT_EQ(trace.LastCandidates().size(), 1u);
    EXPECT_EQ(trace.LastCandidates()[0].position, 20.0);
}

TEST(TraceTest, InfiniteLabelValuesDoNotHang) {
    const std::vector<TracePoint> points = {P(10, 10), P(20, 60), P(30, 5)};
    std::vector<TracePoint> odd = points;
    PlotFont font;
    font.height = -8;
    CChroTrace trace;
    PrepareTrace(trace, odd, &font);
    trace.m_bPositionLabels = true;
    trace.m_bDifferenceLabels = true;
    trace.m_nDifferenceMode = 2;
    trace.m_dReferencePosition = -std::numeric_limits<double>::infinity();
    Canvas c(130, 130);
    font.CreateFontForDC(*c.dc);
    trace.Draw(*c.dc);  // the difference is infinite: the width estimate is bounded
    EXPECT_EQ(trace.LastCandidates().size(), 1u);
}

TEST(TraceTest, SinglePointChromatogramIsAStick) {
    const std::vector<TracePoint> points = {P(50, 50)};
    PlotFont font;
    CChroTrace trace;
    PrepareTrace(trace, points, &font);
    Canvas c(130, 130);
    trace.Draw(*c.dc);
    const QRect ink = plottest::InkBounds(c.finish());
    EXPECT_EQ(ink, QRect(QPoint(60, 60), QPoint(60, 110)));
}

TEST(TraceTest, IntensityExtremes) {
    const std::vector<TracePoint> points = {P(10, 5), P(20, 50), P(150, 500)};
    CChroTrace trace;
    trace.SetPoints(points.data(), points.size());
    trace.SetRange(0, 100);
    EXPECT_EQ(trace.GetMaxIntensity(), 50.0);
    TraceScaling all;
    all.normalisationMode = 1;
    trace.SetScaling(all);
    EXPECT_EQ(trace.GetMaxIntensity(), 500.0);
    EXPECT_EQ(trace.GetMinIntensity(), 5.0);
    trace.SetRange(150, 150);
    EXPECT_EQ(trace.GetMinIntensity(), 1e50);  // nothing before the end
    EXPECT_EQ(CTrace::FindFirstPointAtOrAfter(points.data(), points.size(), 15)->position, 20.0);
    EXPECT_EQ(CTrace::FindFirstPointAtOrAfter(points.data(), points.size(), 151), nullptr);
    EXPECT_EQ(trace.FindNearestPoint(14)->position, 10.0);
    EXPECT_EQ(trace.FindNearestPoint(16)->position, 20.0);
}

TEST(TraceTest, ShadeColoursAndDegenerateScale) {
    CSpecTrace trace;
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 200;
    trace.SetScaling(s);
    EXPECT_EQ(trace.ShadeColor(0), 0x02C8C8C8u);
    EXPECT_EQ(trace.ShadeColor(100), 0x02646464u);
    EXPECT_EQ(trace.ShadeColor(500), 0x02000000u);

    const std::vector<TracePoint> points = {P(10, 5), P(20, 50)};
    PlotFont font;
    CSpecTrace flat;
    PrepareTrace(flat, points, &font);
    TraceScaling zero;
    zero.yMin = zero.yMax = 3.0;  // no intensity span: one empty band, no division
    flat.SetScaling(zero);
    flat.m_nStyle = 2;
    Canvas c(130, 130);
    flat.Draw(*c.dc);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(10, 10), ToQColor(0x02C8C8C8).rgb());
    EXPECT_EQ(img.pixel(110, 110), ToQColor(0x02C8C8C8).rgb());
    EXPECT_EQ(img.pixel(111, 111), qRgb(255, 255, 255));
}

TEST(TraceTest, PeakInfoRangesColourTheirPeaks) {
    ZAR_PLOTLib::VXPlot_PeakInfo info[2]{};
    info[0].apex.dMass = 50.0;  // no edges: the default window of 10 around the apex
    info[0].iPenIndex = 2;
    info[1].apex.dMass = 0.0;  // ends the valid records
    info[1].iPenIndex = 1;
    CPeakInfoPens pens(std::array<COLORREF, kPeakInfoPens>{});
    pens.Init(info, 2, 0.0);
    EXPECT_EQ(pens.ValidCount(), 1);
    EXPECT_DOUBLE_EQ(info[0].left.dMass, 45.0);
    EXPECT_DOUBLE_EQ(info[0].right.dMass, 55.0);

    const std::vector<TracePoint> points = {P(30, 80), P(50, 80), P(70, 80)};
    PlotFont font;
    CSpecTrace trace;
    PrepareTrace(trace, points, &font);
    info[0].left.dMass = info[0].right.dMass = 0.0;
    trace.SetPeakInfo(info, 2);
    Canvas c(130, 130);
    trace.Draw(*c.dc);
    QImage& img = c.finish();
    EXPECT_EQ(img.pixel(40, 100), ToQColor(trace.m_stickColors[0]).rgb());
    EXPECT_EQ(img.pixel(60, 100), ToQColor(0x0000FF).rgb());  // pen 2 of the colour table
    EXPECT_EQ(img.pixel(80, 100), ToQColor(trace.m_stickColors[0]).rgb());
    EXPECT_FALSE(trace.SetPeakInfoColour(16, 0));
    EXPECT_TRUE(trace.SetPeakInfoColour(15, 0x123456));
}

TEST(TraceTest, SymbolTraceDrawsAndHitsItsPoints) {
    const std::vector<TracePoint> points = {P(20, 20), P(50, 50), P(100, 90), P(150, 10)};
    PlotFont font;
    CTraceKind3 symbols;
    PrepareTrace(symbols, points, &font);
    symbols.m_nSymbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_Box;
    Canvas c(130, 130);
    symbols.Draw(*c.dc);
    double position = 0, intensity = 0;
    std::size_t index = 0;
    ASSERT_TRUE(symbols.HitTestPoint(*c.dc, 62, 58, 0, 100, position, intensity, index));
    EXPECT_EQ(position, 50.0);
    EXPECT_EQ(index, 1u);
    index = 0;
    EXPECT_FALSE(symbols.HitTestPoint(*c.dc, 90, 10, 0, 100, position, intensity, index));
    index = 9;  // beyond the points: nothing is found
    EXPECT_FALSE(symbols.HitTestPoint(*c.dc, 62, 58, 0, 100, position, intensity, index));
    const QRect ink = plottest::InkBounds(c.finish());
    EXPECT_LE(ink.right(), 114);  // the point at 150 is outside the range and not drawn
    EXPECT_GE(ink.left(), 26);
}

namespace {

// A noisy profile of n points over x 0..100.
std::vector<TracePoint> NoisyProfile(int n, double phase) {
    std::vector<TracePoint> points;
    for (int i = 0; i < n; ++i) {
        const double x = 100.0 * i / n;
        points.push_back(P(x, 50 + 40 * std::sin(x * 0.2 + phase) * std::cos(i * 0.37)));
    }
    return points;
}

// What a trace that has never drawn draws for the same points, range and rectangle.
QImage FreshProfile(const CChroTrace& shown, PlotFont& font) {
    CChroTrace fresh;
    fresh.SetPoints(shown.Points(), shown.PointCount());
    fresh.SetRange(shown.RangeStart(), shown.RangeEnd());
    fresh.SetScaling(shown.Scaling());
    fresh.SetRect(shown.Rect().left, shown.Rect().top, shown.Rect().right, shown.Rect().bottom);
    fresh.SetFont(&font);
    fresh.m_bPositionLabels = false;
    Canvas c(130, 130);
    fresh.Draw(*c.dc);
    return c.finish();
}

QImage Redraw(CChroTrace& trace) {
    Canvas c(130, 130);
    trace.Draw(*c.dc);
    return c.finish();
}

}  // namespace

// A profile keeps its columns between drawings; whatever changes (the points, even in the same
// array, the range, the size or the scale) it draws what a fresh trace draws.
TEST(TraceTest, RedrawAfterAChangeMatchesAFreshDrawing) {
    struct Case {
        const char* change;
        std::function<void(CChroTrace&, std::vector<TracePoint>&)> apply;
    };
    const std::vector<Case> cases = {
        {"nothing", [](CChroTrace&, std::vector<TracePoint>&) {}},
        {"other points in the same array",
         [](CChroTrace& t, std::vector<TracePoint>& points) {
             const auto other = NoisyProfile(static_cast<int>(points.size()), 1.3);
             std::copy(other.begin(), other.end(), points.begin());
             t.SetPoints(points.data(), points.size());
         }},
        {"fewer points",
         [](CChroTrace& t, std::vector<TracePoint>& points) { t.SetPoints(points.data(), points.size() / 2); }},
        {"zoom in", [](CChroTrace& t, std::vector<TracePoint>&) { t.SetRange(20.0, 45.0); }},
        {"zoom past the last point", [](CChroTrace& t, std::vector<TracePoint>&) { t.SetRange(50.0, 150.0); }},
        {"narrower", [](CChroTrace& t, std::vector<TracePoint>&) { t.SetRect(10, 10, 70, 110); }},
        {"moved", [](CChroTrace& t, std::vector<TracePoint>&) { t.SetRect(20, 5, 120, 100); }},
        {"intensity scale",
         [](CChroTrace& t, std::vector<TracePoint>&) {
             TraceScaling s = t.Scaling();
             s.yMax = 60;
             t.SetScaling(s);
         }},
    };
    for (const Case& c : cases) {
        std::vector<TracePoint> points = NoisyProfile(20000, 0.0);
        PlotFont font;
        CChroTrace trace;
        PrepareTrace(trace, points, &font);
        const QImage before = Redraw(trace);
        EXPECT_EQ(Redraw(trace), before) << c.change << ": a second drawing at the same zoom";
        c.apply(trace, points);
        EXPECT_EQ(Redraw(trace), FreshProfile(trace, font)) << c.change;
    }
}

// Under magnified ranges the columns follow the factors, which may change between drawings.
TEST(TraceTest, MagnifiedProfileFollowsAChangedFactor) {
    std::vector<TracePoint> points = NoisyProfile(20000, 0.0);
    PlotFont font;
    CChroTrace trace;
    PrepareTrace(trace, points, &font);
    CZoomFactorLabel magnification;
    trace.SetMagnification(&magnification);
    magnification.AddRange(0.5, 30.0, 60.0);
    const QImage halved = Redraw(trace);
    magnification.ClearRanges();
    magnification.AddRange(0.25, 30.0, 60.0);
    const QImage quartered = Redraw(trace);
    EXPECT_NE(halved, quartered);
    CChroTrace fresh;
    PrepareTrace(fresh, points, &font);
    fresh.SetMagnification(&magnification);
    EXPECT_EQ(Redraw(fresh), quartered);
}
