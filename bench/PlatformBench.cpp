// Reading large text files line by line: the path every result and database reader takes.
//
// The text sits in memory, so the figure is the reader's own cost (goal: at least 1 GB/s on
// ASCII and UTF-8 text). Anchor: a plain count of the line ends with memchr over the same
// bytes, measured in the same run; BM_ReadLines* report "vs_memchr", their time over its.

#include "BenchSupport.h"
#include "core/TextFile.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

// FASTA-like text with CRLF ends; `utf8` puts a two-byte letter into every header line.
QByteArray MakeText(int entries, bool utf8) {
    QByteArray bytes;
    for (int i = 0; i < entries; ++i) {
        bytes += ">sp|P" + QByteArray::number(i) + "| protein " + QByteArray::number(i);
        if (utf8) bytes += " \xCE\xB1-helix";
        bytes += "\r\nMKVLAAGIVGLLLAQMKVLAAGIVGLLLAQMKVLAAGIVGLLLAQMKVLAAGIVGLLLAQ\r\n";
    }
    return bytes;
}

const QByteArray& Text(bool utf8) {
    static const QByteArray ascii = MakeText(200000, false);
    static const QByteArray letters = MakeText(200000, true);
    return utf8 ? letters : ascii;
}

qsizetype CountLineEnds(const QByteArray& bytes) {
    qsizetype lines = 0;
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
        ++lines;
        ++p;
    }
    return lines;
}

qsizetype ReadEveryLine(const QByteArray& bytes) {
    zar::TextLineReader r = zar::TextLineReader::fromBytes(bytes);
    QString line;
    qsizetype total = 0;
    while (r.readLine(line)) total += line.size();
    return total;
}

// Reader and anchor in turn in every iteration, so that both see the same load.
void ReadLines(benchmark::State& state, bool utf8) {
    const QByteArray& bytes = Text(utf8);
    double ours = 0.0;
    double anchor = 0.0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ReadEveryLine(bytes));
        auto t1 = std::chrono::steady_clock::now();
        state.PauseTiming();
        benchmark::DoNotOptimize(CountLineEnds(bytes));
        anchor += zarbench::Seconds(std::chrono::steady_clock::now() - t1);
        state.ResumeTiming();
        ours += zarbench::Seconds(t1 - t0);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["vs_memchr"] = ours / anchor;
    state.counters["MB"] = bytes.size() / 1e6;
}

void BM_ReadLinesAscii(benchmark::State& state) {
    ReadLines(state, false);
}
BENCHMARK(BM_ReadLinesAscii)->Unit(benchmark::kMillisecond);

void BM_ReadLinesUtf8(benchmark::State& state) {
    ReadLines(state, true);
}
BENCHMARK(BM_ReadLinesUtf8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
