#pragma once
// Starting outside programs from a command line.

#include <QString>

namespace zar {

// How long RunProcessAndWait waits for the program to end.
constexpr int kProcessWaitMilliseconds = 9000;

// Starts the command line (program and arguments split as a shell would). With wait, waits at
// most kProcessWaitMilliseconds; a program still running then is ended, so no orphan is left
// behind, and the result is false. False when the program cannot be started.
bool RunProcessAndWait(const QString& commandLine, bool inheritHandles, bool wait);

// Starts the command line and returns at once; false when it cannot be started.
bool StartProcess(const QString& commandLine, bool minimised);

}  // namespace zar
