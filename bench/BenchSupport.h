#pragma once
// Small helpers that the benchmark programs share: process memory, wall-clock seconds and the
// number an outside program prints (the anchors grep and wc).

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace zarbench {

// A value of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when it cannot be read.
inline long ProcessStatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    return 0;
}

inline double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs a shell command and reads the number at the start of its first line; -1 when it cannot
// be run.
inline long CommandNumber(const QByteArray& command) {
    FILE* pipe = popen(command.constData(), "r");
    if (!pipe) return -1;
    char buffer[256] = {};
    const bool read = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
    pclose(pipe);
    return read ? std::atol(buffer) : -1;
}

// Seconds of our work and of its anchor, each summed over the iterations.
struct Interleaved {
    double ours = 0.0;
    double anchor = 0.0;
};

// Runs our work and the anchor in turn in every iteration (which goes first alternates, so
// that both see the same load and the same caches); the iteration's time is ours (use
// UseManualTime). Ends with counters of both times in ms and their ratio "vs_<anchor>".
template <typename Ours, typename Anchor>
Interleaved RunInterleaved(benchmark::State& state, const char* anchorName, Ours ours,
                           Anchor anchor) {
    Interleaved total;
    bool anchorFirst = false;
    for (auto _ : state) {
        double oursNow = 0.0;
        for (int turn = 0; turn < 2; ++turn) {
            const auto t0 = std::chrono::steady_clock::now();
            if ((turn == 0) == anchorFirst) {
                anchor();
                total.anchor += Seconds(std::chrono::steady_clock::now() - t0);
            } else {
                ours();
                oursNow = Seconds(std::chrono::steady_clock::now() - t0);
            }
        }
        anchorFirst = !anchorFirst;
        total.ours += oursNow;
        state.SetIterationTime(oursNow);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = 1e3 * total.ours / n;
    state.counters[std::string(anchorName) + "_ms"] = 1e3 * total.anchor / n;
    state.counters[std::string("vs_") + anchorName] = total.ours / total.anchor;
    return total;
}

}  // namespace zarbench
