#include "EngineTestSupport.h"
#include "plot/graph/GraphDrawing.h"
#include "plot/graph/GraphHandler.h"
#include "plot/graph/RegSetting.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <gtest/gtest.h>

using namespace zar;
using namespace zar::plot;

namespace {

class GraphDrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetRegistryCache();
        ResetPlotFontSettings();
    }
    void TearDown() override {
        ResetPlotFontSettings();
        ResetRegistryCache();
    }
    zartest::ScopedConfigDir config_;
};

void WriteFontSizes(double minimum, double maximum) {
    CRegSetting key(RegRoot::CurrentUser, QStringLiteral("Global"), true);
    key.WriteDouble(QStringLiteral("KorPlt_ProporPitchFontMinSize"), minimum);
    key.WriteDouble(QStringLiteral("KorPlt_ProporPitchFontMaxSize"), maximum);
}

}  // namespace

TEST_F(GraphDrawingTest, FontSettingsDefaultsAndOutOfRangeValues) {
    struct Case {
        double minimum, maximum;
        double expectedMin, expectedMax;
    };
    const Case cases[] = {
        {0.1, 0.2, 0.1, 0.2},
        {0.084, 0.6, kDefaultFontMinSize, kDefaultFontMaxSize},   // maximum above 5/9
        {0.05, 0.133, kDefaultFontMinSize, kDefaultFontMaxSize},  // minimum below 1/18
        {0.2, 0.1, kDefaultFontMinSize, kDefaultFontMaxSize},     // maximum below minimum
    };
    for (const Case& c : cases) {
        WriteFontSizes(c.minimum, c.maximum);
        ResetPlotFontSettings();
        const PlotFontSettings& s = GetPlotFontSettings();
        EXPECT_EQ(s.minSize, c.expectedMin) << c.minimum << " " << c.maximum;
        EXPECT_EQ(s.maxSize, c.expectedMax);
        double written = 0;
        CRegSetting(RegRoot::CurrentUser, QStringLiteral("Global"), false)
            .ReadDouble(QStringLiteral("KorPlt_ProporPitchFontMaxSize"), written);
        EXPECT_EQ(written, c.expectedMax);  // corrected values are written back
    }
    CRegSetting(RegRoot::CurrentUser, QString(), false);
    RegKey::deleteKey(RegRoot::CurrentUser, QStringLiteral("Software\\Korvath\\Veltrix\\Global"));
    ResetPlotFontSettings();
    EXPECT_EQ(GetPlotFontSettings().name, QStringLiteral("Arial"));
    QString name;
    EXPECT_TRUE(CRegSetting(RegRoot::CurrentUser, QStringLiteral("Global"), false)
                    .ReadString(QStringLiteral("KorPlt_ProporPitchFontName"), name));
}

TEST_F(GraphDrawingTest, ColourModes) {
    plottest::Canvas screen;
    EXPECT_EQ(ColorForOutput(*screen.dc, 0, 0xFF), 0u);
    EXPECT_EQ(ColorForOutput(*screen.dc, 1, 0xFF), 0u);  // black on the screen
    EXPECT_EQ(ColorForOutput(*screen.dc, 2, 0xFF), 0xFFu);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    PlotDC::Target paper;
    paper.printing = true;
    PlotDC printer(painter, paper);
    EXPECT_EQ(ColorForOutput(printer, 1, 0xFF), 0xFFu);  // in colour on paper
}

TEST_F(GraphDrawingTest, RequestedRowsSplitTheXRange) {
    std::vector<TracePoint> points(301);
    for (int i = 0; i <= 300; ++i) {
        points[i].position = i;
        points[i].intensity = 10 + i % 7;
    }
    CChroTrace trace;
    trace.SetPoints(points.data(), points.size());
    CGraphDrawing graph;
    PlotRegionList regions;
    graph.SetRegions(&regions);
    graph.SetTraces({&trace});
    graph.m_dXLow = 0;
    graph.m_dXHigh = 300;
    graph.m_YLimits = {0, 100, 0, 20, 0};
    graph.m_bRowsRequested = true;
    graph.m_nRequestedRows = 3;
    graph.SetRect(0, 0, 600, 600);
    plottest::Canvas c(620, 620);
    graph.Draw(*c.dc);
    ASSERT_EQ(graph.LastStrips().size(), 3u);
    EXPECT_EQ(graph.LastStrips()[0], std::make_pair(0.0, 100.0));
    EXPECT_EQ(graph.LastStrips()[2], std::make_pair(200.0, 300.0));
    EXPECT_EQ(regions.size(), 3u);  // one hit region per strip
    graph.m_bSuspendDrawing = true;
    graph.Draw(*c.dc);
    EXPECT_EQ(graph.LastStrips().size(), 3u);  // nothing drawn while suspended
}

TEST_F(GraphDrawingTest, DepthAnglesAreLimited) {
    CGraphDrawing graph;
    graph.SetDepthView(true, 120.0, -5.0);
    EXPECT_EQ(graph.PlotArea().m_dRowAngle, 90.0);
    EXPECT_EQ(graph.PlotArea().m_dColumnAngle, 0.0);
}

TEST_F(GraphDrawingTest, HandlerZoomScrollAndLimits) {
    CGraphDrawing graph;
    CGraphHandler spec(graph, GraphFamily::Spectrum);
    graph.m_dXLow = graph.m_dXHigh = 5.0;
    EXPECT_TRUE(spec.ZoomIn());  // width 0 stays 0, still true
    EXPECT_EQ(graph.m_dXLow, 5.0);
    EXPECT_EQ(graph.m_dXHigh, 5.0);
    EXPECT_TRUE(spec.ZoomFull());
    EXPECT_FALSE(spec.ZoomFull());  // both ends already follow the data
    EXPECT_FALSE(spec.ScrollRight());

    CGraphHandler chro(graph, GraphFamily::Chromatogram);
    graph.m_dXLow = 10;
    graph.m_dXHigh = 20;
    EXPECT_FALSE(chro.ZoomFull());  // no data range: nothing changes
    EXPECT_EQ(graph.m_dXLow, 10.0);
    double a = 0, b = 0;
    chro.GetDataXRange(a, b);
    EXPECT_EQ(b, 200.0);
    chro.SetDataRange(std::make_pair(0.0, 25.0));
    EXPECT_TRUE(chro.ScrollRight());
    EXPECT_DOUBLE_EQ(graph.m_dXHigh, 21.0);
    graph.m_dXLow = graph.m_dXHigh = 25.0;
    EXPECT_FALSE(chro.ScrollRight());  // zero range: no step
    EXPECT_TRUE(chro.ZoomOut());       // widened within the data range
    EXPECT_EQ(graph.m_dXHigh, 25.0);
    EXPECT_TRUE(chro.ZoomFull());
    EXPECT_EQ(graph.m_dXLow, 0.0);
    EXPECT_EQ(graph.m_dXHigh, 25.0);

    chro.SetYAxisLimits(1, 2, 3, 4, 5);
    double relMax = 0, norm = 0;
    chro.GetYAxisLimits(nullptr, &relMax, nullptr, nullptr, &norm);
    EXPECT_EQ(relMax, 2.0);
    EXPECT_EQ(norm, 5.0);
    chro.ResetYScale();
    chro.GetYAxisLimits(nullptr, &relMax, nullptr, nullptr, &norm);
    EXPECT_EQ(relMax, 100.0);
    EXPECT_EQ(norm, 0.0);
}

TEST_F(GraphDrawingTest, HandlerLabelsMarkersAndMagnification) {
    CGraphDrawing graph;
    CGraphHandler chro(graph, GraphFamily::Chromatogram);
    HandlerLabel label;
    QStringList lines;
    for (int i = 0; i < 25; ++i) lines << QString::number(i);
    label.text = lines.join(QStringLiteral("\r\n"));
    EXPECT_FALSE(chro.AddTextLabelMass(label, 1, 1, 0, 0, false));  // the other family's slot
    ASSERT_TRUE(chro.AddTextLabelTime(label, 12, 1, 0, 0, false));
    EXPECT_EQ(graph.UserLabels().labels().front().lines.size(), kMaxLabelLines);
    HandlerMarker marker;
    marker.kind = 5;
    EXPECT_FALSE(chro.AddMarkerTime(marker, 1, 0, 2, 1, 0, 1));
    marker.kind = 4;
    ASSERT_TRUE(chro.AddMarkerTime(marker, 10, 0, 14, 1, 0, 1));
    EXPECT_TRUE(graph.Markers().markers().front().fill);
    chro.RemoveTextLabel(9, 15, -1);
    EXPECT_EQ(graph.UserLabels().size(), 0u);
    EXPECT_EQ(graph.Markers().size(), 0u);
    EXPECT_TRUE(chro.AddMagnifiedRangeTime(10, 1, 2));
    EXPECT_FALSE(chro.AddMagnifiedRangeMass(10, 1, 2));
    EXPECT_EQ(graph.Magnification().FactorAt(1.5), 10.0);

    std::vector<TracePoint> points(3);
    points[0] = {100, 5, 0, 0, 0, 0};
    points[1] = {150, 9, 0, 0, 0, 0};
    points[2] = {300, 50, 0, 0, 0, 0};
    CSpecTrace trace;
    trace.SetPoints(points.data(), points.size());
    graph.SetTraces({&trace});
    CGraphHandler spec(graph, GraphFamily::Spectrum);
    double at = 0;
    ASSERT_TRUE(spec.FindTallestPeak(90, 200, at));
    EXPECT_EQ(at, 150.0);
    EXPECT_FALSE(spec.FindTallestPeak(400, 500, at));
}

TEST_F(GraphDrawingTest, HandlerPlacesALabelByItsVerticalAnchorCode) {
    struct Case {
        int code;
        QString text;
        int yAnchor;
        bool aboveGraph;
    };
    const Case cases[] = {
        {0, QStringLiteral("a"), 2, true},
        {1, QStringLiteral("a"), 2, false},
        {2, QStringLiteral("a"), 0, false},
        {7, QStringLiteral("a\rb\rc"), 3, true},
    };
    for (const Case& c : cases) {
        CGraphDrawing graph;
        CGraphHandler spec(graph, GraphFamily::Spectrum);
        HandlerLabel label;
        label.yAnchor = c.code;
        label.text = c.text;
        ASSERT_TRUE(spec.AddTextLabelMass(label, 400.0, 10.0, 0.0, 0.0, false));
        const TextLabelNode& node = graph.UserLabels().labels().front();
        EXPECT_EQ(node.yAnchor, c.yAnchor) << c.code;
        EXPECT_EQ(node.aboveGraph, c.aboveGraph) << c.code;
    }
}
