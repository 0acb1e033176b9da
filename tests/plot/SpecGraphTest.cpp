// The spectrum graph without a control: segment data, the heading it composes and the scan
// filter it keeps.

#include "EngineTestSupport.h"
#include "plot/graph/SpecGraph.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <gtest/gtest.h>

using namespace zar;
using namespace zar::plot;

namespace {

class SpecGraphTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetRegistryCache();
        data.Reset(1);
        data.SetSegment(0, {{200.0, 50.0, 1}, {300.0, 100.0, 1}, {450.0, 20.0, 1}});
        graph.SetData(&data, nullptr);
        graph.m_dXLow = 100;
        graph.m_dXHigh = 500;
        graph.m_bYRange = true;
        graph.Header().fileName = QStringLiteral("Run1");
        graph.Header().firstScan = graph.Header().lastScan = 12;
        graph.Header().rtStart = graph.Header().rtEnd = 3.5;
    }
    // The heading texts of a drawing, joined by spaces.
    QString DrawnHeading() {
        plottest::Canvas canvas(800, 400, true);
        graph.SetRect(0, 0, 800, 400);
        graph.Draw(*canvas.dc);
        QStringList texts;
        for (const auto& w : graph.Heading().LastWritten())
            if (!w.text.isEmpty()) texts << w.text;
        return texts.join(QLatin1Char(' '));
    }
    zartest::ScopedConfigDir config_;
    CSpecSegmentData data;
    CSpecGraph graph;
};

}  // namespace

TEST_F(SpecGraphTest, SegmentDataOwnsItsSummary) {
    CSpecSegmentData d;
    EXPECT_EQ(d.ScanSummary(), nullptr);
    d.Reset(3);
    ASSERT_NE(d.ScanSummary(), nullptr);
    d.ScanSummary()->scanNumber = 5;
    EXPECT_EQ(d.Range(1), std::make_pair(0.0, 0.0));
    d.Reset(1);
    EXPECT_EQ(d.ScanSummary()->scanNumber, 0);  // a new, zero-filled summary
    EXPECT_EQ(d.SegmentCount(), 1);
    EXPECT_THROW(d.SetRange(4, 1, 2), std::out_of_range);
}

TEST_F(SpecGraphTest, ANewSegmentRangeReachesTheNextDrawing) {
    data.Reset(2);
    data.SetSegment(0, {{220.0, 50.0, 1}});
    data.SetSegment(1, {{650.0, 10.0, 1}});
    data.SetRange(0, 200.0, 300.0);
    data.SetRange(1, 600.0, 700.0);
    graph.SetData(&data, nullptr);
    const CTrace& second = *const_cast<CSpecTrace&>(graph.Trace()).GetDataSet(1);
    EXPECT_DOUBLE_EQ(second.GetLastX(), 700.0);
    const std::uint64_t before = data.Generation();
    data.SetRange(1, 600.0, 900.0);
    EXPECT_GT(data.Generation(), before);
    graph.SetData(&data, nullptr);
    EXPECT_DOUBLE_EQ(const_cast<CSpecTrace&>(graph.Trace()).GetDataSet(1)->GetLastX(), 900.0);
}

TEST_F(SpecGraphTest, HeadingOfASingleScan) {
    const QString h = DrawnHeading();
    EXPECT_TRUE(h.startsWith(QStringLiteral("Run1   # 12 RT: 3.50 NL: 1.00E+02")))
        << h.toStdString();
    EXPECT_EQ(graph.HeadingText(100.0), QStringLiteral("Run1#12  RT: 3.50 P:NL:  1.00E+02 "));
}

TEST_F(SpecGraphTest, HeadingOfAnAveragedSpectrumWithSmoothing) {
    CSpecHeaderInfo& h = graph.Header();
    h.averaged = true;
    h.scansAveraged = 5;
    h.firstScan = 10;
    h.lastScan = 14;
    h.rtStart = 3.1;
    h.rtEnd = 3.9;
    graph.m_bSmooth = true;
    graph.m_nSmoothType = 3;
    graph.m_nSmoothPoints = 7;
    const QString text = DrawnHeading();
    EXPECT_TRUE(text.contains(QStringLiteral("# 10-14 RT: 3.10-3.90 AV: 5 SM: 7SG")))
        << text.toStdString();
}

TEST_F(SpecGraphTest, ForcedHeadingReplacesTheComposedOne) {
    graph.Header().forcedHeading = true;
    graph.Header().headingText = QStringLiteral("My spectrum");
    EXPECT_EQ(DrawnHeading(), QStringLiteral("My spectrum"));
}

TEST_F(SpecGraphTest, SameFilterTwiceChangesNothing) {
    CScanFilter f;
    EXPECT_TRUE(graph.Header().SetFilter(&f));
    EXPECT_FALSE(graph.Header().SetFilter(&f));
    EXPECT_TRUE(graph.Header().SetFilter(nullptr));
    EXPECT_FALSE(graph.Header().SetFilter(nullptr));
}

TEST_F(SpecGraphTest, WithoutDataOnlyTheNoScansText) {
    graph.SetData(nullptr, nullptr);
    plottest::Canvas canvas(400, 200, true);
    graph.SetRect(0, 0, 400, 200);
    graph.Draw(*canvas.dc);
    const QRect ink = plottest::InkBounds(canvas.finish());
    EXPECT_GE(ink.left(), 10);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LT(ink.bottom(), 40);
}

TEST_F(SpecGraphTest, SegmentsAreDataSetsDrawnSideBySideAndFillTheirHeight) {
    data.Reset(2);
    data.SetSegment(0, {{220.0, 50.0, 1}, {250.0, 20.0, 1}});
    data.SetSegment(1, {{650.0, 10.0, 1}, {610.0, 4.0, 1}});  // out of order: sorted
    data.SetRange(0, 200.0, 300.0);
    data.SetRange(1, 600.0, 700.0);
    graph.SetData(&data, nullptr);
    PlotRegionList regions;
    graph.SetRegions(&regions);
    graph.m_bYRange = false;
    graph.m_YLimits = {0.0, 100.0, 0.0, 0.0, 0.0};
    plottest::Canvas canvas(600, 400);
    graph.SetRect(0, 0, 600, 400);
    graph.Draw(*canvas.dc);
    canvas.finish().save(QStringLiteral("/tmp/graph2-spec-segments.png"));

    CSpecTrace& trace = const_cast<CSpecTrace&>(graph.Trace());
    ASSERT_EQ(trace.GetDataSetCount(), 2);
    EXPECT_TRUE(trace.GetSegmentedFlag());
    CTrace& second = *trace.GetDataSet(1);
    EXPECT_DOUBLE_EQ(second.Points()[0].position, 610.0);
    EXPECT_DOUBLE_EQ(second.RangeStart(), 600.0);
    EXPECT_DOUBLE_EQ(second.GetLastX(), 700.0);
    // The largest segment keeps the limits; the smaller one's shrink to its own maximum.
    EXPECT_DOUBLE_EQ(trace.Scaling().yMax, 50.0);
    EXPECT_DOUBLE_EQ(second.Scaling().yMax, 10.0);
    // Side by side, each with its own region.
    EXPECT_LT(trace.Rect().right, second.Rect().left);
    EXPECT_EQ(regions.size(), 2u);
    const ElementRect& r = second.Rect();
    const PlotRegion* hit = regions.Find((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_NE(hit, nullptr);
    EXPECT_NEAR(hit->ScreenToX((r.left + r.right) / 2, r.top), 650.0, 2.0);
    // Reloading one segment drops the other data set.
    data.Reset(1);
    data.SetSegment(0, {{300.0, 5.0, 1}});
    graph.SetData(&data, nullptr);
    EXPECT_EQ(trace.GetDataSetCount(), 1);
    EXPECT_FALSE(trace.GetSegmentedFlag());
}
