// Opening a run and drawing its chromatograms: what the user waits for after File > Open.
//
// Runs: the demo generator's run of ZAR_BENCH_RAW_SPECTRA scans (20,000 unless set) of 500
// peaks each, written once into a temporary folder, and the real run BSA2.mzML (1,684 spectra)
// when it is at hand (scripts/fetch-real-data.sh; ZAR_REAL_DATA names its folder).
//
// BM_OpenRunVsLibrary: every iteration forks two children, in alternating order: in one the
// run-file library alone reads every spectrum with its peaks, in the other our reader opens the
// run and gives its TIC and base-peak traces. Each child reports its time and its resident
// memory (peak, and growth over what it started with). Counters: both times and the median of
// the per-iteration ratios (goal: at most 1.3), both peaks and their ratio (goal: at most 1.3).
//
// BM_OpenRunWithMassRangeVsLibrary: as above, but our reader also gives a mass-range trace,
// whose peaks it reads once more into the peak cache: two passes over the file against the
// library's one, and the cache's memory.
//
// BM_AnotherMassRangeTrace: a further mass-range trace on the open run, from the peaks kept in
// memory (no disk reads).

#include "BenchSupport.h"
#include "DemoRun.h"
#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kPeaksPerSpectrum = 500;

int SpectrumCount() {
    const char* text = std::getenv("ZAR_BENCH_RAW_SPECTRA");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 20000;
}

// What a child sends back.
struct Measure {
    double seconds = 0.0;
    long peakKiB = 0;
    long startKiB = 0;
    long long check = 0;  // peaks read or points made: -1 when the work failed
};

// Runs the work in a child process with its own memory high-water mark.
template <typename Work>
Measure InChild(Work&& work) {
    int fds[2];
    if (pipe(fds) != 0) return Measure{0, 0, 0, -1};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Start the high-water mark from what the child has now (Linux: "5" resets it).
        if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", refs);
            std::fclose(refs);
        }
        Measure m;
        m.startKiB = zarbench::ProcessStatusKiB("VmRSS");
        const auto t0 = std::chrono::steady_clock::now();
        m.check = work();
        m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        m.peakKiB = zarbench::ProcessStatusKiB("VmHWM");
        const ssize_t written = write(fds[1], &m, sizeof m);
        _exit(written == sizeof m ? 0 : 1);
    }
    close(fds[1]);
    Measure m{0, 0, 0, -1};
    if (pid > 0) {
        if (read(fds[0], &m, sizeof m) != sizeof m) m.check = -1;
        waitpid(pid, nullptr, 0);
    }
    close(fds[0]);
    return m;
}

// The generated run, made in a child so that the benchmark process stays as small as it was.
const QString& GeneratedRun() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath("generated.mzML");
        const Measure made = InChild([&file]() -> long long {
            zar::DemoSettings settings;
            settings.scanCount = SpectrumCount();
            settings.peaksPerScan = kPeaksPerSpectrum;
            const zar::DemoRun run = zar::MakeDemoRun(settings);
            QString error;
            const bool written = zar::WriteRunFile(
                file, static_cast<int>(run.scans.size()),
                [&run](int i) { return run.scans[static_cast<std::size_t>(i)]; }, error);
            if (!written) std::fprintf(stderr, "Cannot write the run: %s\n", qPrintable(error));
            return written ? 1 : -1;
        });
        return made.check > 0 ? file : QString();
    }();
    return path;
}

QString RealRun() {
    QString folder = qEnvironmentVariable("ZAR_REAL_DATA");
    if (folder.isEmpty()) {
        QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        if (cache.isEmpty()) cache = QDir::homePath() + "/.cache";
        folder = cache + "/zar-real-data";
    }
    const QFileInfo file(folder + "/BSA2.mzML");
    return file.isFile() ? file.absoluteFilePath() : QString();
}

long long LibraryReadsEverySpectrum(const QString& path) {
    QString error;
    return zar::ReadEveryPeakWithLibrary(path, error);
}

long long OpenWithTicAndBasePeak(const QString& path) {
    zar::VRawfile raw;
    std::vector<zar::CVXChro> traces;
    const std::vector<zar::RawChroRequest> requests = {{zar::kVXTICTrace, "", {}},
                                                       {zar::kVXBasePeakTrace, "", {}}};
    if (!raw.open(path) || !raw.chromatograms(requests, 0.0, 0.0, traces)) {
        std::fprintf(stderr, "%s\n", qPrintable(raw.lastError()));
        return -1;
    }
    return static_cast<long long>(traces[0].points.size() + traces[1].points.size());
}

long long OpenWithMassRange(const QString& path) {
    zar::VRawfile raw;
    std::vector<zar::CVXChro> traces;
    const std::vector<zar::RawChroRequest> requests = {
        {zar::kVXTICTrace, "", {}}, {zar::kVXMassRangeTrace, "", {{800.0, 802.0}}}};
    if (!raw.open(path) || !raw.chromatograms(requests, 0.0, 0.0, traces) || !raw.peaksInMemory()) {
        std::fprintf(stderr, "%s\n", qPrintable(raw.lastError()));
        return -1;
    }
    return static_cast<long long>(traces[0].points.size() + traces[1].points.size());
}

template <typename Ours>
void OpenRunVsLibrary(benchmark::State& state, const QString& path, Ours oursWork) {
    if (path.isEmpty()) {
        state.SkipWithError("the run is not at hand");
        return;
    }
    std::vector<double> ratios;
    double oursTotal = 0.0, libraryTotal = 0.0;
    Measure oursPeak, libraryPeak;
    long long spectra = 0;
    for (auto _ : state) {
        const bool oursFirst = ratios.size() % 2 == 0;
        Measure ours, library;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == oursFirst)
                ours = InChild([&] { return oursWork(path); });
            else
                library = InChild([&path] { return LibraryReadsEverySpectrum(path); });
        }
        if (ours.check < 0 || library.check < 0) {
            state.SkipWithError("a child failed");
            return;
        }
        state.SetIterationTime(ours.seconds);
        ratios.push_back(ours.seconds / library.seconds);
        oursTotal += ours.seconds;
        libraryTotal += library.seconds;
        if (ours.peakKiB > oursPeak.peakKiB) oursPeak = ours;
        if (library.peakKiB > libraryPeak.peakKiB) libraryPeak = library;
        spectra = ours.check / 2;
    }
    std::sort(ratios.begin(), ratios.end());
    const double n = static_cast<double>(ratios.size());
    state.counters["spectra"] = static_cast<double>(spectra);
    state.counters["ours_ms"] = 1e3 * oursTotal / n;
    state.counters["library_ms"] = 1e3 * libraryTotal / n;
    state.counters["time_ratio"] = ratios[ratios.size() / 2];
    state.counters["ours_MiB"] = oursPeak.peakKiB / 1024.0;
    state.counters["library_MiB"] = libraryPeak.peakKiB / 1024.0;
    state.counters["memory_ratio"] = static_cast<double>(oursPeak.peakKiB) / libraryPeak.peakKiB;
    state.counters["ours_growth_MiB"] = (oursPeak.peakKiB - oursPeak.startKiB) / 1024.0;
    state.counters["library_growth_MiB"] = (libraryPeak.peakKiB - libraryPeak.startKiB) / 1024.0;
    state.counters["load"] = zarbench::LoadAverage();
}

void BM_OpenRunVsLibrary_Generated(benchmark::State& state) {
    OpenRunVsLibrary(state, GeneratedRun(), OpenWithTicAndBasePeak);
}
BENCHMARK(BM_OpenRunVsLibrary_Generated)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_OpenRunVsLibrary_BSA2(benchmark::State& state) {
    OpenRunVsLibrary(state, RealRun(), OpenWithTicAndBasePeak);
}
BENCHMARK(BM_OpenRunVsLibrary_BSA2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);

void BM_OpenRunWithMassRangeVsLibrary_Generated(benchmark::State& state) {
    OpenRunVsLibrary(state, GeneratedRun(), OpenWithMassRange);
}
BENCHMARK(BM_OpenRunWithMassRangeVsLibrary_Generated)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

void BM_AnotherMassRangeTrace(benchmark::State& state) {
    zar::VRawfile raw;
    std::vector<zar::CVXChro> traces;
    // The first mass range fills the peak cache.
    if (!raw.open(GeneratedRun()) ||
        !raw.chromatograms({{zar::kVXMassRangeTrace, "", {{400.0, 401.0}}}}, 0, 0, traces)) {
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
