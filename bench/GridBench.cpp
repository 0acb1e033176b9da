// Filling and showing a result table of 100,000 rows and 14 columns, as the summary view does
// after loading a large search. Reports the time and the memory the filled table takes, as the
// growth of the process's resident memory.

#include "grid/GridWnd.h"

#include <QApplication>
#include <malloc.h>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace {

void fill(zar::CGXGridWnd& grid, int rows) {
    grid.LockUpdate(true);
    grid.SetColCount(14);
    grid.SetRowCount(rows);
    static const QString peptides[] = {QStringLiteral("K.LVNELTEFAK.T"), QStringLiteral("R.HPEYAVSVLLR.L"),
                                       QStringLiteral("K.QTALVELLK.H")};
    static const QString refs[] = {QStringLiteral("ALBU_BOVIN"), QStringLiteral("MYG_HORSE"), QStringLiteral("CYC_HORSE")};
    for (int r = 1; r <= rows; ++r) {
        grid.SetValueRange(r, 1, QString::number(1000 + r));
        grid.SetValueRange(r, 2, 500.25 + r * 0.001);
        grid.SetValueRange(r, 3, double(r % 3 + 1));
        grid.SetValueRange(r, 4, peptides[r % 3]);
        grid.SetValueRange(r, 5, refs[r % 3]);
        for (int c = 6; c <= 14; ++c) grid.SetValueRange(r, c, r * 0.37 + c);
    }
    grid.LockUpdate(false);
}

void BM_FillTable(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    long grown = 0;
    for (auto _ : state) {
        zar::CGXGridWnd grid;
        grid.resize(1200, 800);
        // Free heap goes back to the system first, so that what the table takes shows as growth.
        malloc_trim(0);
        const long before = zarbench::ProcessStatusKiB("VmRSS");
        fill(grid, rows);
        grid.show();
        QCoreApplication::processEvents();
        grown = zarbench::ProcessStatusKiB("VmRSS") - before;
        state.PauseTiming();
        grid.close();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["memory_MiB"] = grown / 1024.0;
}
BENCHMARK(BM_FillTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScrollTable(benchmark::State& state) {
    zar::CGXGridWnd grid;
    grid.resize(1200, 800);
    fill(grid, 100000);
    grid.show();
    QCoreApplication::processEvents();
    int row = 0;
    for (auto _ : state) {
        row = (row + 997) % 100000;
        grid.scrollTo(grid.GetModel()->index(row, 0));
        grid.viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollTable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
