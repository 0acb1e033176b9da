#include "PlotRange.h"
#include "SpectrumText.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>

using namespace zar;

namespace {
CVXDataPeak peak(double mz, double intensity) {
    CVXDataPeak p;
    p.dPosition = mz;
    p.dIntensity = intensity;
    return p;
}
}  // namespace

TEST(SpectrumText, AccurateLayout) {
    SpectrumTextHeader h;
    h.scan = 120;
    h.retentionTime = 12.345;
    const QString t = SpectrumText(QString(), QStringLiteral("sample A"), nullptr, h, {peak(100.25, 10), peak(200.5, 20)},
                                   true, CVXMassDefect());
    EXPECT_EQ(t, QStringLiteral("SPECTRUM - MS\nsample A\n\nScan #: 120\nRT: 12.35\nData points: 2\nMass\tIntensity\n"
                                "100.250000\t10.000000\n200.500000\t20.000000\n"));
}

TEST(SpectrumText, AveragedHeader) {
    SpectrumTextHeader h;
    h.averaged = true;
    h.firstScan = 10;
    h.lastScan = 14;
    h.firstTime = 1.0;
    h.lastTime = 1.5;
    h.scansAveraged = 5;
    const QString t = SpectrumText(QStringLiteral("demo"), QString(), nullptr, h, {}, true, CVXMassDefect());
    EXPECT_TRUE(t.startsWith(QStringLiteral("SPECTRUM - demo\n\nScan #: 10-14\nRT: 1.00-1.50\nAV: 5\n")));
}

TEST(SpectrumText, NominalMassesSumIntoIntegerBins) {
    const QString t = SpectrumText(QStringLiteral("x"), QString(), nullptr, SpectrumTextHeader(),
                                   {peak(100.2, 1), peak(100.4, 2), peak(100.6, 4)}, false, CVXMassDefect());
    EXPECT_TRUE(t.contains(QStringLiteral("Mass defect: 0.00 @ 0.00, 0.00 @ 0.00\nData points: 2\nMass\tIntensity\n"
                                          "100\t3.000000\n101\t4.000000\n")))
        << t.toStdString();
}

TEST(SpectrumText, EqualDefectMassesDoNotDivideByZero) {
    CVXMassDefect d;
    d.defect1 = 100;
    d.mass1 = 500;
    d.defect2 = 300;
    d.mass2 = 500;
    const QString t = SpectrumText(QString(), QString(), nullptr, SpectrumTextHeader(), {peak(1000.0, 1)}, false, d);
    EXPECT_FALSE(t.contains(QStringLiteral("nan"))) << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("inf")));
}

TEST(SpectrumText, RangeListAndChromatogram) {
    EXPECT_EQ(FormatRangeList({{100.0, 100.0}, {200.5, 201.5}}, 2, QLatin1Char(',')),
              QStringLiteral("100.00, 200.50-201.50"));
    CVXChro chro;
    chro.traceType = 0;
    chro.massRanges = {{500.0, 501.0}};
    QString text;
    EXPECT_TRUE(ChromatogramToText(text, QStringLiteral("TIC"), &chro, 0.0, 30.0, QLatin1Char(',')));
    EXPECT_TRUE(text.startsWith(QStringLiteral("CHROMATOGRAM\nTitle:\tTIC\nRT:\t0.00-30.00\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Mass Ranges:\t500.00-501.00\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Time (min)\tIntensity\nno data present\n")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    EXPECT_FALSE(ChromatogramToText(text, QStringLiteral("x"), nullptr, 0, 1, QLatin1Char(',')));
}

TEST(SpectrumText, ReplaceCharsAndOutsideProgram) {
    zartest::ScopedConfigDir config;
    EXPECT_EQ(ReplaceChars(QStringLiteral("a*b:c/d"), QStringLiteral("*:/"), QLatin1Char('_')), QStringLiteral("a_b_c_d"));
    EXPECT_FALSE(IsPallisadeInstalled());
    EXPECT_TRUE(GetPallisadePath().isEmpty());
    RegKey(RegRoot::LocalMachine, QStringLiteral("SOFTWARE\\Tessarin\\Pallisade 2.0\\2.0.1.2"), true)
        .writeString(QStringLiteral("Path"), QStringLiteral("/opt/p"));
    EXPECT_TRUE(IsPallisadeInstalled());
    EXPECT_EQ(GetPallisadePath(), QStringLiteral("/opt/p"));
}

TEST(PlotRange, SpectrumZoomSteps) {
    const PlotRange full{0.0, 1000.0};
    CVXSpecDisplay d;
    d.yZoomed = 1;
    d.yStart = 0.0;
    d.yEnd = 100.0;  // already 10 %
    EXPECT_FALSE(ZoomInSpectrumYRange(d, full, 2.0));
    CVXSpecDisplay x;
    EXPECT_TRUE(ZoomInSpectrumXRange(x, full, 2.0));
    EXPECT_EQ(x.xStart, 250.0);
    EXPECT_EQ(x.xEnd, 750.0);
    EXPECT_TRUE(ZoomOutSpectrumXRange(x, full, 1.0));
    EXPECT_EQ(x.xZoomed, 0) << "both ends reached: no zoom";
    CVXSpecDisplay y;
    EXPECT_TRUE(ZoomInSpectrumYRange(y, full, 4.0));
    EXPECT_EQ(y.yEnd, 250.0);
    EXPECT_TRUE(ZoomInSpectrumYRange(y, full, 4.0));
    EXPECT_EQ(y.yEnd, 100.0) << "never below a tenth";
}

TEST(PlotRange, ADraggedBoxZoomsTheAxesWhoseEndsDiffer) {
    struct Case {
        double x0, y0, x1, y1;
        bool x, y;
    };
    const Case cases[] = {
        {400.0, 10.0, 200.0, 80.0, true, true},    // dragged right to left, bottom to top
        {200.0, 50.0, 400.0, 50.0, true, false},   // a flat box leaves the intensity alone
        {300.0, 90.0, 300.0, 20.0, false, true},   // a thin box leaves the masses alone
        {300.0, 50.0, 300.0, 50.0, false, false},  // a click zooms nothing
    };
    for (const Case& c : cases) {
        CVXSpecDisplay d;
        const ZoomBoxChange change = ZoomSpectrumToBox(d, c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(change.x, c.x);
        EXPECT_EQ(change.y, c.y);
        EXPECT_EQ(d.xZoomed, c.x ? 1 : 0);
        EXPECT_EQ(d.yZoomed, c.y ? 1 : 0);
        if (c.x) EXPECT_TRUE(d.xStart == std::min(c.x0, c.x1) && d.xEnd == std::max(c.x0, c.x1));
        if (c.y) EXPECT_TRUE(d.yStart == std::min(c.y0, c.y1) && d.yEnd == std::max(c.y0, c.y1));

        CVXChroDisplay t;
        const ZoomBoxChange traced = ZoomTraceToBox(t, c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(traced.x, c.x);
        EXPECT_EQ(traced.y, c.y);
        if (c.y) EXPECT_TRUE(t.yLow == std::min(c.y0, c.y1) && t.yHigh == std::max(c.y0, c.y1));
    }
}

TEST(PlotRange, TraceScrollStopsAtTheEnds) {
    const PlotRange full{0.0, 30.0};
    CVXChroDisplay d;
    d.xZoomed = 1;
    d.xStart = 2.0;
    d.xEnd = 12.0;
    EXPECT_TRUE(ScrollTraceXRangeLeft(d, full, 1.0));
    EXPECT_EQ(d.xStart, 0.0);
    EXPECT_EQ(d.xEnd, 10.0) << "the span is kept";
    EXPECT_FALSE(ScrollTraceXRangeLeft(d, full, 1.0));
    EXPECT_TRUE(ScrollTraceXRangeRight(d, full, 0.25));
    EXPECT_EQ(d.xEnd, 30.0);
    EXPECT_EQ(d.xStart, 20.0);
}

TEST(PlotRange, VisibleRangeGuardsAZeroSpan) {
    const VisibleRange v = ComputeVisibleRange(true, 5.0, 5.0, PlotRange{5.0, 5.0});
    EXPECT_EQ(v.startPercent, 0.0);
    EXPECT_EQ(v.endPercent, 100.0);
    const VisibleRange w = ComputeVisibleRange(true, 25.0, 75.0, PlotRange{0.0, 100.0});
    EXPECT_EQ(w.startPercent, 25.0);
    EXPECT_EQ(w.endPercent, 75.0);
}

TEST(PlotRange, CodesAndNumbers) {
    int code = -7;
    EXPECT_TRUE(IonTypeLookup(1, 2, code));
    EXPECT_EQ(code, 13);
    EXPECT_FALSE(IonTypeLookup(3, 3, code));
    EXPECT_EQ(code, 13);
    EXPECT_EQ(IonCodeToSeries(42), 1);
    EXPECT_EQ(IonCodeToSeries(14), 3);
    EXPECT_EQ(IonCodeToSeries(5), 0);
    int major = 0, minor = 0;
    SplitVersion(0x02050000u, major, minor);
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 5);
    EXPECT_EQ(FormatCompactNumber(0.0), QStringLiteral("0"));
    EXPECT_EQ(FormatCompactNumber(123.0), QStringLiteral("1.23E2"));
    EXPECT_EQ(FormatCompactNumber(0.0123), QStringLiteral("1.23E-2"));
    EXPECT_EQ(FormatCompactNumber(1.5), QStringLiteral("1.50"));
}

TEST(PlotRange, SmoothingKeepsTheEndsAndClampsNegatives) {
    CSpectrumTransform t;
    std::vector<CVXDataPeak> points = {peak(1, 9), peak(2, 0), peak(3, 3), peak(4, 0), peak(5, 9)};
    EXPECT_EQ(t.Apply(points).size(), 5u) << "not set up: unchanged";
    t.SetMovingAverage(3);
    const std::vector<CVXDataPeak> out = t.Apply(points);
    EXPECT_EQ(out[0].dIntensity, 9.0);
    EXPECT_DOUBLE_EQ(out[1].dIntensity, 4.0);
    EXPECT_DOUBLE_EQ(out[2].dIntensity, 1.0);
    EXPECT_EQ(out[4].dIntensity, 9.0);
    EXPECT_EQ(out[2].dPosition, 3.0);
    t.SetKernel({-1.0, -1.0, -1.0});
    EXPECT_EQ(t.Apply(points)[2].dIntensity, 0.0);
}

TEST(PlotRange, SmoothingTypesKeepALevelAndFollowALine) {
    // Every kernel is normalised (a level stays), symmetric, and a quadratic fit keeps a line.
    std::vector<CVXDataPeak> level, line;
    for (int i = 0; i < 21; ++i) {
        level.push_back(peak(i, 7.0));
        line.push_back(peak(i, 2.0 * i + 1.0));
    }
    const struct {
        int type;
        int points;
    } cases[] = {{0, 3}, {0, 15}, {1, 5}, {1, 15}, {2, 3}, {2, 7}, {3, 5}, {3, 13}};
    for (const auto& c : cases) {
        CSpectrumTransform t;
        ASSERT_TRUE(t.SetSmoothing(c.type, c.points)) << c.type << " " << c.points;
        const std::vector<CVXDataPeak> flat = t.Apply(level);
        const std::vector<CVXDataPeak> straight = t.Apply(line);
        for (int i = 0; i < 21; ++i) {
            EXPECT_NEAR(flat[i].dIntensity, 7.0, 1e-9) << c.type << " " << c.points << " " << i;
            EXPECT_NEAR(straight[i].dIntensity, 2.0 * i + 1.0, 1e-9) << c.type << " " << i;
        }
    }
    // A spike is spread over the window, most at its centre; Savitsky-Golay keeps more of it
    // than a boxcar of the same width.
    std::vector<CVXDataPeak> spike(21, peak(0, 0.0));
    for (int i = 0; i < 21; ++i) spike[i].dPosition = i;
    spike[10].dIntensity = 100.0;
    CSpectrumTransform boxcar, golay;
    ASSERT_TRUE(boxcar.SetSmoothing(0, 5));
    ASSERT_TRUE(golay.SetSmoothing(3, 5));
    EXPECT_DOUBLE_EQ(boxcar.Apply(spike)[10].dIntensity, 20.0);
    EXPECT_DOUBLE_EQ(boxcar.Apply(spike)[12].dIntensity, 20.0);
    EXPECT_GT(golay.Apply(spike)[10].dIntensity, 20.0);
    // No kernel for other types or for fewer than three points.
    CSpectrumTransform none;
    EXPECT_FALSE(none.SetSmoothing(4, 5));
    EXPECT_FALSE(none.SetSmoothing(0, 1));
    // Nor past the widest width: a kernel of 2147483647 points would ask for 16 GiB.
    EXPECT_TRUE(none.SetSmoothing(0, kMaxSmoothingPoints));
    for (int points : {kMaxSmoothingPoints + 1, 1000, 2147483647})
        EXPECT_FALSE(none.SetSmoothing(1, points)) << points;
    EXPECT_FALSE(none.IsSetUp());
}
