#pragma once
// One run of an outside program that a launcher starts (extraction, search, database tally):
// an argument list, never a command line; a working folder passed to the child, never taken by
// the program itself; the process object held for as long as the child may run, so that only
// a child that still runs is ever ended.

#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QProcess;

namespace zar {

struct ProgramStart {
    QString program;  // full path
    QStringList arguments;
    QString workingDirectory;  // empty: the program's own
    // Empty: the program's own environment.
    QProcessEnvironment environment = QProcessEnvironment(QProcessEnvironment::InheritFromParent);
    int standardErrorFd = -1;  // becomes the child's standard error; -1: discarded
};

// The program name as the settings give it ("dravel_msn.exe") found in a folder: the name
// itself, else the name without its ".exe".
QString ResolveOutsideProgram(const QString& folder, const QString& name);
// Where the extraction programs are: the data system's program folder, else the program's own.
QString ExtractionProgramFolder();
// Where the search programs are (the program folder of the settings).
QString SearchProgramFolder();
// An option text of the settings or a sheet ("-Z -X", "-F10 -L20 ") as arguments.
QStringList SplitOptionText(const QString& text);
// Program and arguments for a message: "program arg arg".
QString CommandText(const QString& program, const QStringList& arguments);

// The text a failed start shows: "program or batch file not found: %s" with the command,
// "bad path", "bad starting directory", else "CreateProcess error %d".
QString StartFailureText(const ProgramStart& start);

class COutsideProgram : public QObject {
    Q_OBJECT
  public:
    explicit COutsideProgram(QObject* parent = nullptr);
    // A child still running is ended: nothing is left behind by a launcher that goes.
    ~COutsideProgram() override;

    // Starts the child and waits until it runs; false with the failure text.
    bool Start(const ProgramStart& start, QString* failure);
    // Starts a child that nobody waits for or ends; false with the failure text.
    static bool StartDetached(const ProgramStart& start, QString* failure);

    bool IsRunning() const;
    qint64 ProcessId() const;
    // Ends the child when it still runs (SIGTERM, SIGKILL only after a grace time) and waits
    // for it; true when no child runs afterwards.
    bool Terminate();
    // The run is over for the launcher: a child still finishing its files is left to end by
    // itself (it is ended only when the program itself ends).
    void Release();

  signals:
    void Finished(int exitCode, bool crashed);

  private:
    QProcess* process_ = nullptr;
};

}  // namespace zar
