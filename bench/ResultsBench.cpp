// Loading a results folder: every .out file read into hit records, proteins grouped and
// scored, as File > Open TurboSORVEX Results does on its worker.
//
// The folders come from the demo generator: its run's results repeated to 10,000 and to 40,000
// .out files, written once and kept in $ZAR_BENCH_DATA (else ~/.cache/zar-bench).
// BM_LoadResultsFolderVsWc loads a folder and, in turn in every iteration, counts the lines of the
// same .out files with wc -l: counters give both times and their ratio, and the 40,000-file case
// the growth of the time per file from 10,000 files (1 when the load grows linearly with the
// files).

#include "BenchSupport.h"
#include "DemoRun.h"
#include "DemoWriter.h"
#include "document/SorvexResults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>

namespace {

// Writing tens of thousands of files takes minutes (each is synced to disk), so the folders
// are kept for later runs: $ZAR_BENCH_DATA, else ~/.cache/zar-bench.
QString BenchDataFolder() {
    QString folder = qEnvironmentVariable("ZAR_BENCH_DATA");
    if (folder.isEmpty()) {
        QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        if (cache.isEmpty()) cache = QDir::homePath() + QStringLiteral("/.cache");
        folder = cache + QStringLiteral("/zar-bench");
    }
    return folder;
}

const QString& ResultsFolder(int files) {
    static std::map<int, QString> folders;
    auto found = folders.find(files);
    if (found == folders.end()) {
        const QString folder = BenchDataFolder() + QStringLiteral("/demo-%1").arg(files);
        const QString complete = folder + QStringLiteral("/complete");
        if (!QFile::exists(complete)) {
            std::fprintf(stderr, "Writing %d result files into %s ...\n", files,
                         qPrintable(folder));
            zar::DemoSettings settings;
            settings.outFileCount = files;
            QString error;
            if (zar::WriteDemoFolder(folder, zar::MakeDemoRun(settings), true, error))
                QFile(complete).open(QIODevice::WriteOnly);
            else
                std::fprintf(stderr, "demo data: %s\n", qPrintable(error));
        }
        found = folders.emplace(files, folder + QStringLiteral("/results")).first;
    }
    return found->second;
}

// Lines of the folder's .out files by wc -l; -1 when it cannot be run.
long WcLines(const QString& folder) {
    return zarbench::CommandNumber("find '" + folder.toLocal8Bit() +
                                   "' -name '*.out' -print0 | wc -l --files0-from=- | tail -n 1");
}

int LoadFolder(const QString& folder) {
    zar::CSorvexResults results;
    results.Initialize();
    results.ReadResults(folder);
    return results.GetHitCount();
}

// Seconds per file of the last 10,000-file run, for the growth.
double perFileAt10k = 0.0;

void BM_LoadResultsFolderVsWc(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const QString& folder = ResultsFolder(files);
    int hits = 0;
    long lines = 0;
    const zarbench::Interleaved total = zarbench::RunInterleaved(
        state, "wc", [&] { hits = LoadFolder(folder); }, [&] { lines = WcLines(folder); });
    const double n = static_cast<double>(state.iterations());
    state.counters["files"] = files;
    state.counters["hits"] = hits;
    state.counters["wc_lines"] = static_cast<double>(lines);
    const double perFile = total.ours / n / files;
    if (files == 10000) perFileAt10k = perFile;
    if (files == 40000 && perFileAt10k > 0.0)
        state.counters["per_file_vs_10k"] = perFile / perFileAt10k;
    if (hits < files || lines <= 0) state.SkipWithError("the folder was not read whole");
}
BENCHMARK(BM_LoadResultsFolderVsWc)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
