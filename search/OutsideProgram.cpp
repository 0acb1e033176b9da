#include "OutsideProgram.h"

#include "core/Paths.h"
#include "document/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <unistd.h>

namespace zar {

namespace {

constexpr int kStartWaitMilliseconds = 30000;
constexpr int kEndWaitMilliseconds = 10000;
constexpr int kStopGraceMilliseconds = 5000;
constexpr int kAccessDenied = 5;

void Prepare(QProcess& process, const ProgramStart& start) {
    process.setProgram(start.program);
    process.setArguments(start.arguments);
    if (!start.workingDirectory.isEmpty()) process.setWorkingDirectory(start.workingDirectory);
    process.setProcessEnvironment(start.environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (start.standardErrorFd >= 0) {
        const int fd = start.standardErrorFd;
        // Runs in the child after its channels are set: the pipe becomes its standard error.
        process.setChildProcessModifier([fd] { ::dup2(fd, STDERR_FILENO); });
    }
}

bool CheckBeforeStart(const ProgramStart& start, QString* failure) {
    const QString text = StartFailureText(start);
    if (text.isEmpty()) return true;
    if (failure) *failure = text;
    return false;
}

}  // namespace

QString ResolveOutsideProgram(const QString& folder, const QString& name) {
    const QString path = JoinPath(folder, name);
    if (QFileInfo(path).isFile()) return path;
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        const QString bare = JoinPath(folder, name.left(name.size() - 4));
        if (QFileInfo(bare).isFile()) return bare;
    }
    return path;
}

QString ExtractionProgramFolder() {
    const QString veltrix = GetVeltrixPath();
    if (veltrix.isEmpty()) return QCoreApplication::applicationDirPath();
    return PortablePath(veltrix + QStringLiteral("\\system\\programs"));
}

QString SearchProgramFolder() {
    return PortablePath(GetProgramDirectory());
}

QStringList SplitOptionText(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

QString CommandText(const QString& program, const QStringList& arguments) {
    QStringList parts{program};
    parts += arguments;
    return parts.join(QLatin1Char(' '));
}

QString StartFailureText(const ProgramStart& start) {
    const QFileInfo program(start.program);
    if (!QFileInfo(program.absolutePath()).isDir()) return QStringLiteral("bad path");
    if (!program.isFile())
        return QStringLiteral("program or batch file not found: %1")
            .arg(CommandText(start.program, start.arguments));
    if (!start.workingDirectory.isEmpty() && !QFileInfo(start.workingDirectory).isDir())
        return QStringLiteral("bad starting directory");
    if (!program.isExecutable()) return QStringLiteral("CreateProcess error %1").arg(kAccessDenied);
    return QString();
}

COutsideProgram::COutsideProgram(QObject* parent) : QObject(parent) {}

COutsideProgram::~COutsideProgram() {
    Terminate();
}

bool COutsideProgram::Start(const ProgramStart& start, QString* failure) {
    if (!CheckBeforeStart(start, failure)) return false;
    Release();
    auto* process = new QProcess(this);
    Prepare(*process, start);
    connect(process, &QProcess::finished, this,
            [this, process](int code, QProcess::ExitStatus status) {
                if (process == process_) emit Finished(code, status == QProcess::CrashExit);
            });
    process->start();
    if (!process->waitForStarted(kStartWaitMilliseconds)) {
        if (failure)
            *failure =
                QStringLiteral("CreateProcess error %1").arg(static_cast<int>(process->error()));
        delete process;
        return false;
    }
    process_ = process;
    return true;
}

bool COutsideProgram::StartDetached(const ProgramStart& start, QString* failure) {
    if (!CheckBeforeStart(start, failure)) return false;
    QProcess process;
    Prepare(process, start);
    if (process.startDetached()) return true;
    if (failure)
        *failure = QStringLiteral("CreateProcess error %1").arg(static_cast<int>(process.error()));
    return false;
}

bool COutsideProgram::IsRunning() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

qint64 COutsideProgram::ProcessId() const {
    return process_ ? process_->processId() : 0;
}

bool COutsideProgram::Terminate() {
    if (!process_) return true;
    if (process_->state() != QProcess::NotRunning) {
        // Asked first, the program ends its own children and removes its scratch files; only
        // one that does not end within the grace time is killed.
        process_->terminate();
        if (!process_->waitForFinished(kStopGraceMilliseconds)) {
            process_->kill();
            process_->waitForFinished(kEndWaitMilliseconds);
        }
    }
    const bool ended = process_->state() == QProcess::NotRunning;
    delete process_;
    process_ = nullptr;
    return ended;
}

void COutsideProgram::Release() {
    QProcess* process = process_;
    process_ = nullptr;
    if (!process) return;
    if (process->state() == QProcess::NotRunning || !QCoreApplication::instance()) {
        delete process;
        return;
    }
    // The application keeps it until it ends by itself.
    process->setParent(QCoreApplication::instance());
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

}  // namespace zar
