#include "CometRunner.h"

#include "tools/common/StopSignal.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>

namespace zar {

namespace {

// Lines of Comet's output kept for a failure message.
constexpr int kFailureLines = 6;
// How often a running search looks for output and for a stop request.
constexpr int kPollMilliseconds = 100;
constexpr int kStopGraceMilliseconds = 3000;

void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

QString LastLines(const QByteArray& output) {
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        const QString text = QString::fromLocal8Bit(line).trimmed();
        if (!text.isEmpty()) lines << text;
    }
    return lines.mid(std::max<qsizetype>(0, lines.size() - kFailureLines)).join(QLatin1Char(' '));
}

}  // namespace

bool CCometRunner::locate(QString& error) {
    program_ = QStandardPaths::findExecutable(QString::fromLatin1(kCometProgram));
    if (program_.isEmpty()) {
        error = QStringLiteral(
            "The search engine %1 was not found on the PATH (Debian package comet-ms)")
                    .arg(QString::fromLatin1(kCometProgram));
        return false;
    }
    // Without arguments Comet prints its usage, which names its version.
    QProcess process;
    DieWithParent(process);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program_, {});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        error = QStringLiteral("The search engine %1 does not answer").arg(program_);
        return false;
    }
    const QRegularExpression pattern(QStringLiteral("Comet version \"?([^\"\\n]+)\"?"));
    const QRegularExpressionMatch match =
        pattern.match(QString::fromLocal8Bit(process.readAllStandardOutput()));
    if (!match.hasMatch()) {
        error = QStringLiteral("%1 does not tell its version; is it Comet?").arg(program_);
        return false;
    }
    version_ = match.captured(1).trimmed();
    return true;
}

bool CCometRunner::templateText(const QString& folder, QString& text, QString& error) const {
    QProcess process;
    DieWithParent(process);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program_, {QStringLiteral("-p")});
    const bool finished = process.waitForFinished(30000);
    if (!finished) process.kill();
    QFile file(QDir(folder).filePath(QStringLiteral("comet.params.new")));
    if (!finished || !file.open(QIODevice::ReadOnly)) {
        process.waitForFinished();
        error = QStringLiteral("%1 -p wrote no parameter template: %2")
                    .arg(program_, LastLines(process.readAll()));
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

bool CCometRunner::search(const QString& folder, const QString& paramsPath,
                          const QString& database, const QString& spectraPath,
                          const QString& outputBase, const std::function<void(int)>& progress,
                          QString& error) const {
    QProcess process;
    DieWithParent(process);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments{QStringLiteral("-P") + paramsPath,
                                QStringLiteral("-D") + database,
                                QStringLiteral("-N") + outputBase, spectraPath};
    // Into a pipe Comet's output is buffered until it ends, progress and all; unbuffered it
    // tells how far it has gone while it searches.
    const QString unbuffered = QStandardPaths::findExecutable(QStringLiteral("stdbuf"));
    if (unbuffered.isEmpty())
        process.start(program_, arguments);
    else
        process.start(unbuffered, QStringList{QStringLiteral("-o0"), program_} + arguments);
    if (!process.waitForStarted()) {
        error = QStringLiteral("Cannot start %1: %2").arg(program_, process.errorString());
        return false;
    }
    // Comet prints " - Search progress:   4%" and then each new figure after backspaces.
    const QRegularExpression percent(QStringLiteral("(\\d+)%"));
    QByteArray output;
    QString pending;
    bool inProgress = false;
    int last = -1;
    const auto take = [&](const QByteArray& bytes) {
        output += bytes;
        pending += QString::fromLocal8Bit(bytes);
        if (!inProgress) {
            const qsizetype at = pending.indexOf(QLatin1String("Search progress:"));
            if (at < 0) {
                pending = pending.right(64);
                return;
            }
            inProgress = true;
            pending = pending.mid(at + 16);
            // The pass over the database begins: what went before was reading the spectra.
            if (last < 0 && progress) progress(0);
            last = std::max(last, 0);
        }
        QRegularExpressionMatchIterator it = percent.globalMatch(pending);
        qsizetype consumed = 0;
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            const int value = m.captured(1).toInt();
            consumed = m.capturedEnd();
            if (value != last && value >= 0 && value <= 100 && progress) progress(value);
            last = value;
        }
        pending = pending.mid(consumed);
        if (pending.contains(QLatin1Char('\n'))) inProgress = false;
    };
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(kPollMilliseconds);
        take(process.readAll());
        if (StopRequested()) {
            // Comet is asked first, as we were; it has nothing of ours to clean up.
            process.terminate();
            if (!process.waitForFinished(kStopGraceMilliseconds)) {
                process.kill();
                process.waitForFinished();
            }
            error = QStringLiteral("stopped");
            return false;
        }
    }
    process.waitForFinished();
    take(process.readAll());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("Comet failed (exit code %1): %2")
                    .arg(process.exitCode())
                    .arg(LastLines(output));
        return false;
    }
    return true;
}

}  // namespace zar
