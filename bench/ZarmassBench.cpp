// The parent-ion transform of a profile protein spectrum: what the user waits for after
// Transform. Arguments: points of the spectrum, mass range in u (step 1 u).

#include "interpretation/ZarmassTransform.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A profile spectrum of `points` points over m/z 700-1300 with the ion series of two proteins.
std::vector<zar::PeakRecord> ProteinSpectrum(int points) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> noise(0.0, 5.0);
    const double masses[] = {16951.5, 15400.0};
    std::vector<zar::PeakRecord> peaks(points);
    const double step = 600.0 / points;
    for (int i = 0; i < points; ++i) {
        const double mz = 700.0 + i * step;
        double intensity = noise(random);
        for (double m : masses) {
            for (int z = 12; z <= 25; ++z) {
                const double d = (mz - (m / z + 1.008)) / 0.13;
                if (std::abs(d) < 8.0) intensity += 1000.0 * std::exp(-0.5 * d * d);
            }
        }
        peaks[i] = zar::PeakRecord{mz, intensity, 0.0f, 0};
    }
    return peaks;
}

zar::ZarmassTransformJob PreparedJob(int points, double range) {
    zar::ZarmassParams params;
    params.mzLow = 0.0;
    params.mzHigh = 5000.0;
    params.massLow = 15000.0;
    params.massHigh = 15000.0 + range;
    params.massStep = 1.0;
    params.adduct = 1.008;
    zar::CZarmassTransform engine;
    engine.PrepareTransform(params, ProteinSpectrum(points), zar::ZarmassScanInfo());
    return engine.MakeTransformJob();
}

void BM_ZarmassTransform(benchmark::State& state) {
    const zar::ZarmassTransformJob job =
        PreparedJob(static_cast<int>(state.range(0)), static_cast<double>(state.range(1)));
    for (auto _ : state) {
        zar::ZarmassTransformResult result = zar::RunZarmassTransform(job);
        benchmark::DoNotOptimize(result.points.data());
    }
    state.counters["in_range_peaks"] = static_cast<double>(job.peaks.size());
    state.counters["grid_points"] = job.gridSize;
}

// The 50,000-point spectrum over 5,000 u, then growth with points (up to the transform's cap of
// kZarmassMaxInRangePeaks in-range peaks, so that every point given is transformed) and with
// range.
BENCHMARK(BM_ZarmassTransform)
    ->Args({50000, 5000})
    ->Args({12500, 5000})
    ->Args({25000, 5000})
    ->Args({50000, 1250})
    ->Args({50000, 2500})
    ->Args({50000, 10000})
    ->Args({50000, 20000})
    ->Unit(benchmark::kMillisecond);

// A 100,000-point spectrum: the transform takes its first kZarmassMaxInRangePeaks (50,000)
// in-range points and leaves the rest, as the page does; the counter "in_range_peaks" shows it.
void BM_ZarmassTransformCappedAt50000Of(benchmark::State& state) {
    static_assert(zar::kZarmassMaxInRangePeaks == 50000, "the name states the cap");
    BM_ZarmassTransform(state);
}
BENCHMARK(BM_ZarmassTransformCappedAt50000Of)->Args({100000, 5000})->Unit(benchmark::kMillisecond);

// Preparation (copy, in-range peaks) and transform together, as the Deconvolution page runs them.
void BM_ZarmassPrepareAndTransform(benchmark::State& state) {
    const auto peaks = ProteinSpectrum(static_cast<int>(state.range(0)));
    zar::ZarmassParams params;
    params.mzLow = 0.0;
    params.mzHigh = 5000.0;
    params.massLow = 15000.0;
    params.massHigh = 20000.0;
    params.massStep = 1.0;
    params.adduct = 1.008;
    zar::CZarmassTransform engine;
    for (auto _ : state) {
        engine.PrepareTransform(params, peaks, zar::ZarmassScanInfo());
        benchmark::DoNotOptimize(
            engine.AcceptTransform(zar::RunZarmassTransform(engine.MakeTransformJob())));
    }
}
BENCHMARK(BM_ZarmassPrepareAndTransform)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
