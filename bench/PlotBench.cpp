// Drawing a profile trace into a full-HD image: the cost must follow the pixel width (columns),
// not the number of points beyond one pass over them at a new zoom; a repaint at the same zoom
// does not pass over the points at all.

#include "BenchSupport.h"
#include "plot/elements/PlotArea.h"
#include "plot/elements/Trace.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
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

// The trace over the whole image, the range 0 to 60 and intensities 0 to 160, without labels.
void SetUpTrace(CChroTrace& trace, const std::vector<TracePoint>& points) {
    trace.SetPoints(points.data(), points.size());
    trace.SetRange(0, 60);
    TraceScaling s;
    s.yMin = 0;
    s.yMax = 160;
    trace.SetScaling(s);
    trace.SetRect(0, 0, 1919, 1079);
    trace.m_bPositionLabels = false;
}

void BM_DrawProfileTrace(benchmark::State& state) {
    const auto points = MakeTrace(static_cast<std::size_t>(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    CChroTrace trace;
    SetUpTrace(trace, points);
    double end = 60.0;
    for (auto _ : state) {
        state.PauseTiming();  // clearing the image is no part of drawing the trace
        image.fill(Qt::white);
        // Every drawing at a zoom of its own: the pass over the points is timed each time.
        end = end == 60.0 ? 59.5 : 60.0;
        trace.SetRange(0, end);
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

// The plain way to draw a profile with QPainter, the anchor: one pass over the points for each
// pixel column's lowest and highest intensity, then the columns' spans and the steps between
// them in one drawLines.
void DrawMinMaxColumns(QPainter& painter, const std::vector<TracePoint>& points, double start,
                       double end, double yMin, double yMax, const QRect& rect) {
    const int width = rect.width();
    std::vector<double> lo(static_cast<std::size_t>(width), 0.0), hi = lo;
    std::vector<char> used(static_cast<std::size_t>(width), 0);
    const double xScale = (width - 1) / (end - start);
    for (const TracePoint& p : points) {
        if (p.position < start || p.position > end) continue;
        const auto c = static_cast<std::size_t>((p.position - start) * xScale);
        if (!used[c]) {
            used[c] = 1;
            lo[c] = hi[c] = p.intensity;
        } else {
            lo[c] = std::min(lo[c], p.intensity);
            hi[c] = std::max(hi[c], p.intensity);
        }
    }
    const double yScale = (rect.top() - rect.bottom()) / (yMax - yMin);
    const auto py = [&](double y) { return static_cast<int>((y - yMin) * yScale) + rect.bottom(); };
    std::vector<QLine> lines;
    lines.reserve(2 * static_cast<std::size_t>(width));
    int previous = -1;
    for (int c = 0; c < width; ++c) {
        if (!used[static_cast<std::size_t>(c)]) continue;
        const int x = rect.left() + c;
        const int top = py(hi[static_cast<std::size_t>(c)]);
        if (previous >= 0) lines.emplace_back(rect.left() + previous, py(hi[static_cast<std::size_t>(previous)]), x, top);
        lines.emplace_back(x, top, x, py(lo[static_cast<std::size_t>(c)]));
        previous = c;
    }
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

// Our trace against the anchor, in turn in every iteration, into the same image. With warm = 1
// the zoom stays (a repaint: ours draws from the columns it kept); with warm = 0 every drawing is
// at a zoom of its own (ours works its columns out again), for both sides alike.
void BM_DrawProfileVsMinMaxAnchor(benchmark::State& state) {
    const auto points = MakeTrace(static_cast<std::size_t>(state.range(0)));
    const bool warm = state.range(1) != 0;
    QImage image(1920, 1080, QImage::Format_RGB32);
    CChroTrace trace;
    SetUpTrace(trace, points);
    image.fill(Qt::white);
    double end = 60.0;
    const auto nextZoom = [&] {
        if (warm) return;
        end = end == 60.0 ? 59.5 : 60.0;
        trace.SetRange(0, end);
    };
    {  // the first drawing at this zoom is no repaint
        QPainter painter(&image);
        PlotDC dc(painter, PlotDC::Target{});
        trace.Draw(dc);
    }
    zarbench::RunInterleaved(
        state, "minmax",
        [&] {
            nextZoom();
            QPainter painter(&image);
            PlotDC dc(painter, PlotDC::Target{});
            trace.Draw(dc);
        },
        [&] {
            QPainter painter(&image);
            DrawMinMaxColumns(painter, points, 0, end, 0, 160, QRect(0, 0, 1920, 1080));
        });
}
BENCHMARK(BM_DrawProfileVsMinMaxAnchor)
    ->ArgNames({"points", "warm"})
    ->Args({1000000, 1})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);

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
