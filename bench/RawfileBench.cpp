// Opening a run and drawing its chromatograms: what the user waits for after File > Open.
//
// A synthetic run (ZAR_BENCH_RAW_SPECTRA spectra, 4,000 unless set; 500 peaks each) is written
// once to a temporary mzML file. Compare:
//   BM_LibraryReadsEverySpectrum  the run-file library alone reading every spectrum's peaks;
//   BM_OpenRunWithTicAndBasePeak  our reader opening the run and giving its TIC and base peak
//                                 (goal: at most 1.3 times the line above);
//   BM_AnotherMassRangeTrace      a further mass-range trace on the open run, from the peaks
//                                 kept in memory (no disk reads).

#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPeaksPerSpectrum = 500;

int SpectrumCount() {
    const char* text = std::getenv("ZAR_BENCH_RAW_SPECTRA");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 4000;
}

// Every fifth scan a survey scan, the others MS2 of a precursor seen in it; peaks spread over
// the window with intensities from a simple generator, so that runs are the same every time.
zar::RunSpectrum MakeSpectrum(int index) {
    zar::RunSpectrum s;
    s.scanNumber = index + 1;
    s.retentionTime = index * 0.01;
    s.msLevel = index % 5 == 0 ? 1 : 2;
    s.windowLow = s.msLevel == 1 ? 400.0 : 100.0;
    s.windowHigh = 2000.0;
    if (s.msLevel == 2) s.precursors = {{400.0 + (index * 37) % 1200 + 0.25, 2, "cid", 35.0}};
    unsigned state = 2166136261u ^ static_cast<unsigned>(index);
    s.mz.reserve(kPeaksPerSpectrum);
    s.intensity.reserve(kPeaksPerSpectrum);
    const double step = (s.windowHigh - s.windowLow) / kPeaksPerSpectrum;
    for (int k = 0; k < kPeaksPerSpectrum; ++k) {
        state = state * 1664525u + 1013904223u;
        s.mz.push_back(s.windowLow + k * step + (state % 1000) * step / 1000.0);
        s.intensity.push_back(100.0 + (state >> 12) % 100000);
    }
    return s;
}

const QString& RunPath() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath("bench.mzML");
        QString error;
        if (!zar::WriteRunFile(file, SpectrumCount(), MakeSpectrum, error))
            std::fprintf(stderr, "Cannot write the run: %s\n", qPrintable(error));
        return file;
    }();
    return path;
}

void BM_LibraryReadsEverySpectrum(benchmark::State& state) {
    const QString& path = RunPath();
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(zar::ReadEveryPeakWithLibrary(path, error));
    }
    state.counters["spectra"] = SpectrumCount();
}
BENCHMARK(BM_LibraryReadsEverySpectrum)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenRunWithTicAndBasePeak(benchmark::State& state) {
    const QString& path = RunPath();
    const std::vector<zar::RawChroRequest> requests = {{zar::kVXTICTrace, "", {}},
                                                       {zar::kVXBasePeakTrace, "", {}}};
    for (auto _ : state) {
        zar::VRawfile raw;
        std::vector<zar::CVXChro> traces;
        if (!raw.open(path) || !raw.chromatograms(requests, 0.0, 0.0, traces)) {
            state.SkipWithError(qPrintable(raw.lastError()));
            break;
        }
        benchmark::DoNotOptimize(traces);
    }
    state.counters["spectra"] = SpectrumCount();
}
BENCHMARK(BM_OpenRunWithTicAndBasePeak)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AnotherMassRangeTrace(benchmark::State& state) {
    zar::VRawfile raw;
    std::vector<zar::CVXChro> traces;
    if (!raw.open(RunPath()) || !raw.chromatograms({{zar::kVXTICTrace, "", {}}}, 0, 0, traces)) {
        state.SkipWithError(qPrintable(raw.lastError()));
        return;
    }
    const long long readsBefore = raw.spectraReadFromDisk();
    double low = 500.0;
    for (auto _ : state) {
        low += 0.37;  // a new range each time, so nothing comes from the trace cache
        const zar::RawChroRequest request{zar::kVXMassRangeTrace, "+ ms", {{low, low + 2.0}}};
        if (!raw.chromatograms({request}, 0.0, 0.0, traces)) {
            state.SkipWithError(qPrintable(raw.lastError()));
            break;
        }
        benchmark::DoNotOptimize(traces);
    }
    state.counters["disk_reads"] = static_cast<double>(raw.spectraReadFromDisk() - readsBefore);
    state.counters["peaks_in_memory"] = raw.peaksInMemory() ? 1 : 0;
}
BENCHMARK(BM_AnotherMassRangeTrace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
