// Drawing a profile trace into a full-HD image: the cost must follow the pixel width (columns),
// not the number of points beyond one pass over them.

#include "plot/elements/PlotArea.h"
#include "plot/elements/Trace.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace zar::plot;

namespace {

std::vector<TracePoint> MakeTrace(std::size_t n) {
    std::vector<TracePoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = 60.0 * static_cast<double>(i) / static_cast<double>(n);
        points[i].position = x;
        points[i].intensity = 50 +
                              40 * std::sin(x * 3.1) * std::cos(static_cast<double>(i) * 0.37) +
                              60 * std::exp(-(x - 20) * (x - 20));
    }
    return points;
}

void BM_DrawProfileTrace(benchmark::State& state) {
    const auto points = MakeTrace(static_cast<std::size_t>(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    CChroTrace trace;
    trace.SetPoints(points.data(), points.size());
    trace.SetRange(0, 60);
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 160;
    trace.SetScaling(s);
    trace.SetRect(0, 0, 1919, 1079);
    trace.m_bPositionLabels = false;
    for (auto _ : state) {
        state.PauseTiming();  // clearing the image is no part of drawing the trace
        image.fill(Qt::white);
        state.ResumeTiming();
        QPainter painter(&image);
        PlotDC dc(painter, PlotDC::Target{});
        trace.Draw(dc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawProfileTrace)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);

// The whole plot body: axes, measuring pass, layout, the trace with its peak labels.
void BM_DrawPlotArea(benchmark::State& state) {
    const auto points = MakeTrace(static_cast<std::size_t>(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    PlotFont font;
    font.height = -14;
    CChroTrace trace;
    trace.SetPoints(points.data(), points.size());
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 160;
    trace.SetScaling(s);
    trace.m_dLabelThreshold = 100;
    PlotRegionList regions;
    CZoomFactorLabel magnification;
    CPlotArea area({&trace}, &regions, &magnification, &font);
    area.SetVisibleXRange(0, 60);
    area.SetRect(0, 0, 1919, 1079);
    for (auto _ : state) {
        state.PauseTiming();
        image.fill(Qt::white);
        state.ResumeTiming();
        QPainter painter(&image);
        PlotDC dc(painter, PlotDC::Target{});
        area.Draw(dc);
    }
}
BENCHMARK(BM_DrawPlotArea)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
