// Filling and showing a result table of 100,000 rows and 14 columns, as the summary view does
// after loading a large search. Reports the time and the memory the filled table takes, as the
// growth of the process's resident memory, and the time against a plain QTableView over a
// QAbstractTableModel filled with the same data in the same run.

#include "grid/GridWnd.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QTableView>
#include <malloc.h>

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"

namespace {

constexpr int kColumns = 14;

// The rows of a large search: a scan number as text, numbers, and texts that repeat (peptides,
// references). `set(row, col, value)` takes a QString or a double; rows and columns from 1.
template <typename Set>
void fillRows(int rows, Set set) {
    static const QString peptides[] = {QStringLiteral("K.LVNELTEFAK.T"), QStringLiteral("R.HPEYAVSVLLR.L"),
                                       QStringLiteral("K.QTALVELLK.H")};
    static const QString refs[] = {QStringLiteral("ALBU_BOVIN"), QStringLiteral("MYG_HORSE"), QStringLiteral("CYC_HORSE")};
    for (int r = 1; r <= rows; ++r) {
        set(r, 1, QString::number(1000 + r));
        set(r, 2, 500.25 + r * 0.001);
        set(r, 3, double(r % 3 + 1));
        set(r, 4, peptides[r % 3]);
        set(r, 5, refs[r % 3]);
        for (int c = 6; c <= kColumns; ++c) set(r, c, r * 0.37 + c);
    }
}

void fill(zar::CGXGridWnd& grid, int rows) {
    grid.LockUpdate(true);
    grid.SetColCount(kColumns);
    grid.SetRowCount(rows);
    fillRows(rows, [&](int r, int c, const auto& v) { grid.SetValueRange(r, c, v); });
    grid.LockUpdate(false);
}

// The anchor: the plain way to show a table in Qt, one QVariant a cell, sized once.
class PlainTableModel : public QAbstractTableModel {
public:
    void fill(int rows) {
        beginResetModel();
        rows_ = rows;
        cells_.assign(static_cast<std::size_t>(rows) * kColumns, QVariant());
        fillRows(rows, [&](int r, int c, const auto& v) {
            cells_[static_cast<std::size_t>(r - 1) * kColumns + static_cast<std::size_t>(c - 1)] = QVariant(v);
        });
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) return QVariant();
        return cells_[static_cast<std::size_t>(index.row()) * kColumns + static_cast<std::size_t>(index.column())];
    }

private:
    int rows_ = 0;
    std::vector<QVariant> cells_;
};

struct PlainTable {
    PlainTableModel model;
    QTableView view;
};

// Shows a filled table and lets it paint once, as the user first sees it.
void showTable(QWidget& view) {
    view.resize(1200, 800);
    view.show();
    QCoreApplication::processEvents();
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
        showTable(grid);
        grown = zarbench::ProcessStatusKiB("VmRSS") - before;
        state.PauseTiming();
        grid.close();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["memory_MiB"] = grown / 1024.0;
}
BENCHMARK(BM_FillTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ours against the plain table, in turn in every iteration (which goes first alternates). Each
// side is timed from an empty window to the first paint of the filled table; making the window
// and taking it down again are left out of both.
void BM_FillTableVsPlainModel(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    double ours = 0.0, anchor = 0.0;
    bool anchorFirst = false;
    const auto timed = [](auto&& work) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        return zarbench::Seconds(std::chrono::steady_clock::now() - t0);
    };
    for (auto _ : state) {
        double oursNow = 0.0;
        for (int turn = 0; turn < 2; ++turn) {
            malloc_trim(0);
            if ((turn == 0) == anchorFirst) {
                auto plain = std::make_unique<PlainTable>();
                plain->view.setModel(&plain->model);
                anchor += timed([&] {
                    plain->model.fill(rows);
                    showTable(plain->view);
                });
            } else {
                auto grid = std::make_unique<zar::CGXGridWnd>();
                oursNow = timed([&] {
                    fill(*grid, rows);
                    showTable(*grid);
                });
            }
        }
        anchorFirst = !anchorFirst;
        ours += oursNow;
        state.SetIterationTime(oursNow);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = 1e3 * ours / n;
    state.counters["plain_ms"] = 1e3 * anchor / n;
    state.counters["vs_plain"] = ours / anchor;
    state.counters["load"] = zarbench::LoadAverage();
}
BENCHMARK(BM_FillTableVsPlainModel)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

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
