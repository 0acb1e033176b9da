#pragma once
// The program's log file: one line per event, kept beside the user's state files.

#include <QString>

namespace zar {

// Folder of the log: $ZAR_LOG_DIR, else $XDG_STATE_HOME/Korvath (~/.local/state/Korvath).
QString LogDirectory();
QString LogFilePath();

// Appends a time-stamped line; never fails loudly (a log that cannot be written is skipped).
void LogLine(const QString& line);

}  // namespace zar
