#include "document/ChildProcess.h"

#include <QProcess>
#include <QStringList>

namespace zar {

namespace {

bool SplitCommand(const QString& commandLine, QString& program, QStringList& arguments) {
    arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) return false;
    program = arguments.takeFirst();
    return true;
}

}  // namespace

bool RunProcessAndWait(const QString& commandLine, bool inheritHandles, bool wait) {
    QString program;
    QStringList arguments;
    if (!SplitCommand(commandLine, program, arguments)) return false;
    if (!wait) return QProcess::startDetached(program, arguments);
    QProcess process;
    // With inherited handles the child writes to our own output, as a console child would.
    if (inheritHandles)
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    else {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    process.start(program, arguments);
    if (!process.waitForStarted()) return false;
    if (!process.waitForFinished(kProcessWaitMilliseconds)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return true;
}

bool StartProcess(const QString& commandLine, bool /*minimised*/) {
    QString program;
    QStringList arguments;
    if (!SplitCommand(commandLine, program, arguments)) return false;
    return QProcess::startDetached(program, arguments);
}

}  // namespace zar
