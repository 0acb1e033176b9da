#include "SorvexQueueClient.h"

#include "OutsideProgram.h"

#include "core/Paths.h"
#include "ipc/TokenFile.h"
#include "document/Settings.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

namespace zar {

namespace {

constexpr const char* kParamFileName = "sorvex.params";
constexpr int kReplyMilliseconds = 10000;

bool ReadWhole(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    bytes = file.readAll();
    return file.error() == QFile::NoError;
}

}  // namespace

std::optional<SorvexQueueJob> MakeSorvexQueueJob(
    const QString& rawFile, const QString& databasePath, const QString& resultsDirectory,
    const QString& callerDirectory, const QString& command, const QString& commandNoList,
    const QString& priority, QString* error) {
    SorvexQueueJob job;
    job.rawFile = rawFile;
    job.databasePath = databasePath;
    job.resultsDirectory = resultsDirectory;
    job.callerDirectory = callerDirectory;
    job.command = CommandListFromText(command);
    job.commandNoList = CommandListFromText(commandNoList);
    job.priority = priority;
    job.submitted = QDateTime::currentDateTime();
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return std::nullopt;
    };
    if (job.commandNoList.isEmpty()) return fail(QStringLiteral("no program to run"));
    QString listPath;
    for (const QString& argument : job.command)
        if (argument.startsWith(QLatin1String("-R"))) listPath = argument.mid(2);
    if (listPath.isEmpty() || !ReadWhole(listPath, job.list))
        return fail(QStringLiteral("cannot read the list of .dta files %1").arg(listPath));
    const QString params = JoinPath(resultsDirectory, QString::fromLatin1(kParamFileName));
    if (!ReadWhole(params, job.params))
        return fail(QStringLiteral("cannot read the parameter file %1").arg(params));
    return job;
}

bool SendToSorvexQueue(const SorvexQueueJob& job, int waitMilliseconds, QString* idOrError) {
    QLocalSocket socket;
    const QDeadlineTimer deadline(waitMilliseconds);
    // The sheet starts the queue just before a job is handed over: it may not listen yet.
    for (;;) {
        socket.connectToServer(SorvexQueueSocketPath());
        if (socket.waitForConnected(1000)) break;
        if (deadline.hasExpired()) {
            if (idOrError) *idOrError = QStringLiteral("the SORVEX Queue does not answer");
            return false;
        }
        QThread::msleep(100);
    }
    socket.write(TokenRequestLine(ReadTokenFile(SorvexQueueTokenPath()), job.ToJson()));
    QByteArray reply;
    const QDeadlineTimer replyDeadline(kReplyMilliseconds);
    while (!reply.contains('\n') && !replyDeadline.hasExpired()) {
        if (!socket.bytesToWrite() &&
            !socket.waitForReadyRead(static_cast<int>(replyDeadline.remainingTime())))
            break;
        if (socket.bytesToWrite()) socket.waitForBytesWritten(1000);
        reply += socket.readAll();
    }
    socket.disconnectFromServer();
    const QString text = QString::fromUtf8(reply.left(reply.indexOf('\n')));
    if (text.startsWith(QLatin1String("OK "))) {
        if (idOrError) *idOrError = text.mid(3);
        return true;
    }
    if (idOrError)
        *idOrError = text.startsWith(QLatin1String("ERR "))
                         ? text.mid(4)
                         : QStringLiteral("the SORVEX Queue gave no answer");
    return false;
}

bool StartSorvexQueueProgram(QString* failure) {
    ProgramStart start;
    start.program = ResolveOutsideProgram(SearchProgramFolder(), GetSorvexQueueProgram());
    return COutsideProgram::StartDetached(start, failure);
}

}  // namespace zar
