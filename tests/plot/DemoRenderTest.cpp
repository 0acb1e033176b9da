// Renders a spectrum and a chromatogram the way the graphs compose them (heading block, plot
// area, traces, markers, magnified range). Set ZAR_PLOT_DEMO_PNG to a file name to keep the
// picture for a look.

#include "EngineTestSupport.h"
#include "plot/elements/HeadingBlock.h"
#include "plot/elements/PlotArea.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar::plot;

namespace {

void DrawPlot(PlotDC& dc, const ElementRect& area, CTrace& trace, const QString& heading,
              CMarkerList* markers, CZoomFactorLabel& magnification, double xStart, double xEnd,
              PlotRegionList& regions) {
    PlotFont font;
    CHeadingBlock block(60, 2, &font);
    block.AddItem(heading, 0, 0, 0, true);
    block.AddItem(QStringLiteral("NL: ") + FormatExponent(trace.GetMaxIntensity()), kRightAligned,
                  0, 0, false);
    block.SetBottomRule(false);
    CPlotArea plotArea({&trace}, &regions, &magnification, &font);
    plotArea.SetMargins(0.2, 0.0, 0.0, 1.0);
    plotArea.SetVisibleXRange(xStart, xEnd);
    plotArea.m_yTitles[0] = QStringLiteral("Relative Abundance");
    trace.SetMarkerLists(markers, nullptr);
    CProporPitchFont sizer(60, 20, 50, 12, 0.084, 0.133, &font);
    sizer.SetRect(area);
    sizer.SetChildren({&block, 2.0, 0.0}, &plotArea, {});
    sizer.Draw(dc);
}

}  // namespace

TEST(DemoRenderTest, SpectrumAndChromatogram) {
    plottest::Canvas canvas(900, 700, true);
    PlotDC& dc = *canvas.dc;
    PlotRegionList regions;

    std::vector<TracePoint> spectrum;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) / double(1u << 24);
    };
    for (double mz = 200; mz < 1400; mz += 0.5 + 6 * next()) {
        TracePoint p;
        p.position = mz;
        p.intensity = std::pow(next(), 6) * 100;
        if (next() < 0.03) p.flags = kFlagFirst;
        spectrum.push_back(p);
    }
    CSpecTrace spec;
    spec.SetPoints(spectrum.data(), spectrum.size());
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 100;
    spec.SetScaling(s);
    spec.m_nStyle = 1;
    spec.m_bFlagTags = true;
    spec.m_dLabelThreshold = 5;
    CZoomFactorLabel specZoom;
    DrawPlot(dc, {0, 0, 899, 349}, spec,
             QStringLiteral("#1234 RT: 23.45 + c ESI d Full ms2 445.12@35.00 [ 120.00-1500.00]"),
             nullptr, specZoom, 200, 1400, regions);

    std::vector<TracePoint> chro;
    for (int i = 0; i < 20000; ++i) {
        TracePoint p;
        p.position = i * 0.003;
        const double t = p.position;
        p.intensity = 80 * std::exp(-(t - 20) * (t - 20) / 0.5) +
                      45 * std::exp(-(t - 34) * (t - 34) / 2) + 5 * next();
        chro.push_back(p);
    }
    CChroTrace trace;
    trace.SetPoints(chro.data(), chro.size());
    trace.SetScaling(s);
    trace.m_lineColor = RGBRef(0, 0, 180);
    trace.SetDecimals(2);
    trace.m_dLabelThreshold = 30;
    CMarkerList markers;
    MarkerNode baseline;
    baseline.startPosition = 18.5;
    baseline.endPosition = 21.5;
    baseline.startIntensity = 4;
    baseline.endIntensity = 5;
    baseline.lineColor = RGBRef(200, 0, 0);
    baseline.symbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_Box;
    baseline.dropLines = true;
    baseline.dropStartIntensity = 0;
    baseline.dropEndIntensity = 0;
    markers.Add(baseline);
    CZoomFactorLabel chroZoom;
    chroZoom.AddRange(5.0, 40, 55);
    DrawPlot(dc, {0, 350, 899, 699}, trace,
             QStringLiteral("TIC  F: + c ESI Full ms [ 400.00-2000.00]"), &markers, chroZoom, 0, 60,
             regions);

    QImage& image = canvas.finish();
    EXPECT_EQ(regions.size(), 2u);
    const PlotRegion* r = regions.Find(450, 200);
    ASSERT_NE(r, nullptr);
    EXPECT_GT(r->ScreenToX(450, 200), 200.0);
    EXPECT_LT(r->ScreenToX(450, 200), 1400.0);
    // The trace's colour is on the chromatogram.
    bool blue = false;
    for (int y = 350; y < 700 && !blue; ++y)
        for (int x = 0; x < 900 && !blue; ++x) blue = image.pixel(x, y) == qRgb(0, 0, 180);
    EXPECT_TRUE(blue);
    if (const QByteArray path = qgetenv("ZAR_PLOT_DEMO_PNG"); !path.isEmpty())
        image.save(QString::fromLocal8Bit(path));
}
