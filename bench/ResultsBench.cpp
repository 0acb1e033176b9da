// Loading a results folder: every .out file of the demo run read into hit records, proteins
// grouped and scored, as File > Open TurboSORVEX Results does on its worker.

#include "DemoRun.h"
#include "DemoWriter.h"
#include "document/SorvexResults.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString& demoFolder() {
    static QTemporaryDir dir;
    static const QString folder = [] {
        QString error;
        if (!zar::WriteDemoFolder(dir.filePath(QStringLiteral("demo")), zar::MakeDemoRun(), false, error))
            std::fprintf(stderr, "demo data: %s\n", qPrintable(error));
        return dir.filePath(QStringLiteral("demo/results"));
    }();
    return folder;
}

void BM_LoadResultsFolder(benchmark::State& state) {
    const QString folder = demoFolder();
    int hits = 0;
    for (auto _ : state) {
        zar::CSorvexResults results;
        results.Initialize();
        results.ReadResults(folder);
        hits = results.GetHitCount();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_LoadResultsFolder)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
