#pragma once
// How an outside program reports: registered messages to the program that started it (when it
// was started with a notification channel), the names of the files it writes, and its failures.
//
// With a channel, a program whose standard error is the launcher's pipe sends every text there
// in the pipe form (UTF-16, then its length as a message), so that the launcher never reads a
// stray byte: file names as "$name", anything else as plain text, which the launcher drops.
// Without a channel (run by hand, by the queue, by the Dta dialog) file names go to standard
// output, one a line, and failures to standard error.

#include <QString>

#include <cstdint>

namespace zar {

// Exit codes of the outside programs.
enum ToolExitCode : int {
    kToolOk = 0,
    kToolFailed = 1,        // the work failed (a file could not be read or written)
    kToolUsage = 2,         // bad command line
    kToolNoParams = 3,      // parameter file missing or unusable
    kToolNoDatabase = 4,    // database missing or unreadable
    kToolNoEngine = 5,      // the scoring engine is missing or failed
    kToolNoSpectra = 6,     // the run or the list of spectra cannot be used
    kToolStopped = 7,       // stopped on request (SIGTERM) before the work was done
};

class CToolReporter {
  public:
    // program: the name that starts each failure line; message: the registered message of its
    // progress; stderrIsPipe: the launcher reads standard error as the pipe of "$" messages.
    CToolReporter(const char* program, const char* message, bool stderrIsPipe);

    // Whether the program was started with a notification channel.
    bool connected() const { return connected_; }
    const char* program() const { return program_; }

    // Posts the program's message; nothing without a channel.
    void post(std::uintptr_t wParam, std::intptr_t lParam) const;
    // Posts another registered message.
    void postNamed(const char* name, std::uintptr_t wParam, std::intptr_t lParam) const;

    // A file written: "$name" through the pipe, else a line on standard output.
    void fileWritten(const QString& fileName) const;
    // A line for the user on standard output (through the pipe, as plain text, where standard
    // error is the pipe: standard output may be nobody's).
    void note(const QString& text) const;
    // A failure: "program: text" to the user; returns the exit code.
    int fail(int exitCode, const QString& text) const;

  private:
    const char* program_;
    const char* message_;
    bool pipe_;
    bool connected_;
};

}  // namespace zar
