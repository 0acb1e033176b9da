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
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// The load average of the last minute, printed beside every ratio: a ratio measured on a busy
// machine says so.
inline double LoadAverage() {
    double load = -1.0;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1) load = -1.0;
        std::fclose(f);
    }
    return load;
}

// This program's own path, so that it can run a piece of its work as a whole process of its own.
inline std::string SelfPath() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

// Runs a program (no shell between) and reads the number at the start of its output; -1 when
// it cannot be run or fails. Ours and its anchor both go through here when a ratio compares
// whole processes, so that both pay the same for starting.
// With lastLine, the number at the start of its last line (wc's total over many files).
inline long SpawnNumber(const std::vector<std::string>& args, bool lastLine = false) {
    if (args.empty()) return -1;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    if (spawned != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return -1;  // grep -c says 1 for none
    if (lastLine) {
        while (!text.empty() && text.back() == '\n') text.pop_back();
        const size_t start = text.rfind('\n');
        if (start != std::string::npos) text.erase(0, start + 1);
    }
    return std::atol(text.c_str());
}

// The argument that makes a benchmark program do one piece of work as a child and print its
// number: "<program> --child NAME ARGS...".
constexpr const char* kChildFlag = "--child";

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
    state.counters["load"] = LoadAverage();
    return total;
}

}  // namespace zarbench
