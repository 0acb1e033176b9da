#pragma once
// Small helpers that the benchmark programs share: process memory, wall-clock seconds and the
// number an outside program prints (the anchors grep and wc).

#include <QByteArray>

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

}  // namespace zarbench
