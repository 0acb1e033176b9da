// Reading large text files line by line: the path every result and database reader takes.

#include "core/TextFile.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

static void BM_ReadLines(benchmark::State& state) {
    QByteArray bytes;
    for (int i = 0; i < state.range(0); ++i)
        bytes += ">sp|P" + QByteArray::number(i) + "| protein " + QByteArray::number(i) + "\r\nMKVLAAGIVGLLLAQ\r\n";
    for (auto _ : state) {
        zar::TextLineReader r = zar::TextLineReader::fromBytes(bytes);
        QString line;
        qsizetype total = 0;
        while (r.readLine(line)) total += line.size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadLines)->Arg(100000);

BENCHMARK_MAIN();
