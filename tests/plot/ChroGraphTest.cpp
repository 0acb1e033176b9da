// The chromatogram graph without a control: trace titles, detector names, peak label lines, the
// no-data text and the labels a drawing places.

#include "EngineTestSupport.h"
#include "plot/graph/ChroGraph.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;
using namespace zar::plot;
using namespace ZAR_PLOTLib;

namespace {

class ChroGraphTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetRegistryCache(); }
    zartest::ScopedConfigDir config_;
};

VXPlot_ChroPeak Peak(double t, double height, double area, double noise) {
    VXPlot_ChroPeak p{};
    p.left = {t - 0.5, 0.0, 10.0};
    p.apex = {t, height, 10.0};
    p.right = {t + 0.5, 0.0, 10.0};
    p.dArea = area;
    p.dNoise = noise;
    p.nPeakIndex = 2;
    p.dBasePeak = 445.12;
    return p;
}

}  // namespace

TEST_F(ChroGraphTest, TraceTitlesByTraceType) {
    CChroGraph g;
    VXPlot_ChroInfo info{};
    struct Case {
        int type;
        std::vector<VXPlot_MassRange> ranges;
        const char* title;
    };
    const Case cases[] = {
        {0, {{500.0, 500.0}, {600.0, 700.0}}, "m/z= 500.0+600.0-700.0"},
        {1, {}, "TIC"},
        {2, {{445.1, 445.3}}, "Base Peak m/z= 445.1-445.3"},
        {3, {{98.0, 98.0}}, "Neutral Fragment 98.0"},
        {21, {}, "Wavelength Range"},
        {23, {{254.0, 254.0}}, "Spectrum Maximum m/z= 254.0"},
        {5, {}, ""},
        {200, {}, "invalid"},
    };
    for (const Case& c : cases) {
        info.eTraceType = static_cast<VXPlot_ChroTraceTypes>(c.type);
        g.SetTraceInfo(&info, c.ranges, nullptr);
        EXPECT_EQ(g.ComposeTitle(QString()), QString::fromLatin1(c.title)) << c.type;
    }
    EXPECT_EQ(DetectorName(41), QStringLiteral("A/D Card Ch. 1"));
    EXPECT_EQ(DetectorName(-2), QStringLiteral("invalid"));
    g.m_detectorLabel = QStringLiteral("UV");
    info.eTraceType = VXPlot_ChroTICTrace;
    g.SetTraceInfo(&info, {}, nullptr);
    EXPECT_EQ(g.ComposeTitle(QStringLiteral("x")), QStringLiteral("TIC UV x"));
}

TEST_F(ChroGraphTest, PeakLabelLines) {
    ChroLabelSwitches all;
    all.scanNumber = all.basePeak = all.peakNumber = all.signalToNoise = all.height = true;
    EXPECT_EQ(
        PeakLabelLines(Peak(12.345, 150.0, 99.5, 10.0), false, all, 77, 1.0),
        (QStringList{"RT: 12.35", "S#: 77", "3", "AA: 99.50", "AH: 150", "SN: 15", "BP: 445.12"}));
    EXPECT_EQ(PeakLabelLines(Peak(1.0, 50.0, 100.0, 0.5), true, all, 0, 1.0)[3],
              QStringLiteral("MA: 100"));
    ChroLabelSwitches sn;
    sn.retentionTime = sn.area = false;
    sn.signalToNoise = true;
    // Noise at or below the threshold: the square root of the height; a negative height: 0.
    EXPECT_EQ(PeakLabelLines(Peak(1.0, 144.0, 1.0, 1.0), false, sn, 0, 1.0), QStringList{"SN: 12"});
    EXPECT_EQ(PeakLabelLines(Peak(1.0, -144.0, 1.0, 0.0), false, sn, 0, 1.0), QStringList{"SN: 0"});
}

TEST_F(ChroGraphTest, NoDataTextTakesOnlyItsOneArgument) {
    CChroGraph g;
    g.m_detectorLabel = QStringLiteral("UV");
    g.m_noDataText = QStringLiteral("No %s data %d %n %s 100%");
    EXPECT_EQ(g.NoDataText(), QStringLiteral("No UV data %d %n %s 100%"));
}

TEST_F(ChroGraphTest, EveryPeakWithRoomGetsItsLabel) {
    std::vector<TracePoint> points;
    const double centres[] = {8.0, 22.0, 31.0};
    const double heights[] = {40.0, 25.0, 60.0};
    for (int i = 0; i < 2000; ++i) {
        TracePoint p;
        p.position = i * 0.02;
        for (int k = 0; k < 3; ++k)
            p.intensity += heights[k] * std::exp(-std::pow(p.position - centres[k], 2) / 0.08);
        points.push_back(p);
    }
    CChroGraph g;
    PlotRegionList regions;
    g.SetRegions(&regions);
    g.SetTrace(points.data(), points.size());
    std::vector<VXPlot_ChroPeak> peaks;
    for (int k = 0; k < 3; ++k) {
        peaks.push_back(Peak(centres[k], heights[k], 10.0 * k, 1.0));
        peaks.back().apex.dBase = 0.0;
    }
    g.m_labels.signalToNoise = true;
    g.SetPeaks(peaks.data(), 3);
    g.m_dXLow = 0.0;
    g.m_dXHigh = 40.0;
    g.m_bYRange = true;
    g.SetRect(0, 0, 900, 450);
    plottest::Canvas canvas(900, 450, true);
    g.Draw(*canvas.dc);
    EXPECT_EQ(g.PeakLabels().size(), 3u);
    EXPECT_EQ(g.PeakLabels().Placed().size(), 3u);
}

TEST_F(ChroGraphTest, DrawsAMillionPointsWithPeaksAndMarkers) {
    std::vector<TracePoint> points(1000000);
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i].position = i * 6e-5;
        points[i].intensity =
            100.0 * std::exp(-std::pow(points[i].position - 30.0, 2)) + 5.0 * std::sin(double(i));
    }
    CChroGraph g;
    PlotRegionList regions;
    g.SetRegions(&regions);
    g.SetTrace(points.data(), points.size());
    std::vector<VXPlot_ChroPeak> peaks{Peak(30.0, 100.0, 250.0, 2.0)};
    g.SetPeaks(peaks.data(), 1);
    g.m_dXLow = 0.0;
    g.m_dXHigh = 60.0;
    g.m_bYRange = true;
    g.SetRect(0, 0, 1920, 1080);
    plottest::Canvas canvas(1920, 1080, true);
    for (int i = 0; i < 3; ++i) g.Draw(*canvas.dc);  // repaints leave one baseline, one label
    EXPECT_EQ(g.PeakMarkers().size(), 1u);
    EXPECT_EQ(g.PeakLabels().size(), 1u);
    EXPECT_EQ(regions.size(), 1u);
}

namespace {

std::vector<TracePoint> TwoPeaks() {
    std::vector<TracePoint> points;
    for (int i = 0; i < 400; ++i) {
        TracePoint p;
        p.position = i * 0.1;
        p.intensity = 1000.0 * std::exp(-std::pow(p.position - 12.0, 2) / 0.5) +
                      400.0 * std::exp(-std::pow(p.position - 30.0, 2) / 0.5) + 1.0;
        p.scanNumber = i + 1;
        points.push_back(p);
    }
    return points;
}

// The title lines of a heading block: the lines after "NL:" and its value.
QStringList TitleLines(const QStringList& block) {
    QStringList lines = block;
    if (!lines.isEmpty() && lines.front().startsWith(QStringLiteral("NL:"))) {
        const bool split = lines.front() == QStringLiteral("NL:");
        lines.removeFirst();
        if (split && !lines.isEmpty()) lines.removeFirst();
    }
    return lines;
}

void DrawGraph(CChroGraph& g, int width = 900, int height = 300) {
    g.m_dXLow = 0.0;
    g.m_dXHigh = 40.0;
    g.m_bYRange = true;
    g.SetRect(0, 0, width, height);
    plottest::Canvas canvas(width, height, true);
    g.Draw(*canvas.dc);
}

}  // namespace

TEST_F(ChroGraphTest, LabellingSetsItsSwitchesAndResetsTheOthers) {
    CChroGraph g;
    g.m_bRotatedLabels = g.m_bBoxedLabels = g.m_bDifferenceLabels = true;
    g.m_dLabelOffset = 3.0;
    ChroLabelSwitches on;
    on.retentionTime = false;
    on.scanNumber = on.basePeak = on.flags = on.height = true;
    on.decimals = 3;
    g.SetLabelling(on, 7.5);
    EXPECT_FALSE(g.m_labels.retentionTime);
    EXPECT_TRUE(g.m_labels.flags);
    EXPECT_TRUE(g.m_labels.scanNumber);
    EXPECT_EQ(g.m_labels.decimals, 3);
    EXPECT_EQ(g.m_dLabelThreshold, 7.5);
    EXPECT_FALSE(g.m_bRotatedLabels);
    EXPECT_FALSE(g.m_bBoxedLabels);
    EXPECT_FALSE(g.m_bDifferenceLabels);
    EXPECT_EQ(g.m_dLabelOffset, 0.0);
}

TEST_F(ChroGraphTest, RetentionTimeLabelsMarkTheMaximaAboveTheThreshold) {
    const std::vector<TracePoint> points = TwoPeaks();
    struct Case {
        bool rt;
        double threshold;  // percent of the shown maximum
        std::size_t labels;
    };
    for (const Case c : {Case{true, 5.0, 2}, Case{true, 50.0, 1}, Case{false, 5.0, 0}}) {
        CChroGraph g;
        g.SetTrace(points.data(), points.size());
        ChroLabelSwitches on;
        on.retentionTime = c.rt;
        on.decimals = 1;
        g.SetLabelling(on, c.threshold);
        DrawGraph(g);
        EXPECT_EQ(g.Trace().LastPeakLabels().size(), c.labels) << c.threshold;
        if (c.labels == 1) {
            EXPECT_EQ(g.Trace().LastPeakLabels()[0].lines.join(' '), "12.0");
        }
    }
}

TEST_F(ChroGraphTest, HeadingColumnNamesTheTraceAtTheRight) {
    const std::vector<TracePoint> points = TwoPeaks();
    VXPlot_ChroInfo info{};
    info.eTraceType = VXPlot_ChroMassRangeTrace;
    const std::vector<VXPlot_MassRange> ranges{{445.1, 445.3}, {500.0, 500.0}, {612.25, 612.75}};
    CChroGraph g;
    g.SetTrace(points.data(), points.size());
    g.SetTraceInfo(&info, ranges, nullptr);
    g.m_YLimits[kNormalization] = 1000.0;
    DrawGraph(g);
    const auto& blocks = g.PlotArea().LastHeadingBlocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0].lines.join(' ').startsWith(QStringLiteral("NL: 1.00E3")));
    EXPECT_EQ(TitleLines(blocks[0].lines).join(QString()),
              QStringLiteral("m/z= 445.1-445.3+500.0+612.2-612.8"));
    EXPECT_TRUE(g.PlotArea().LastLayout().headingShown);
    const int right = g.PlotArea().LastLayout().Dr;

    // A narrow fixed column wraps the title after its break characters.
    g.m_dRightWidth = 9.0;
    DrawGraph(g);
    const QStringList lines = TitleLines(g.PlotArea().LastHeadingBlocks().back().lines);
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines.mid(0, lines.size() - 1))
        EXPECT_TRUE(QStringLiteral(" +-").contains(line.back())) << line.toStdString();
    EXPECT_EQ(lines.join(QString()), QStringLiteral("m/z= 445.1-445.3+500.0+612.2-612.8"));

    // Without the column the data reach further right.
    g.m_bShowTextAtRight = false;
    g.m_dRightWidth = 0.0;
    DrawGraph(g);
    EXPECT_FALSE(g.PlotArea().LastLayout().headingShown);
    EXPECT_GT(g.PlotArea().LastLayout().Dr, right);
}
