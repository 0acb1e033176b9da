#include "SorvexQueue.h"

#include "core/Paths.h"
#include "core/TextFile.h"
#include "ipc/NotifyServer.h"
#include "messages/Messages.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSaveFile>

#include <algorithm>

namespace zar {

namespace {

constexpr const char* kJobRecordName = "job.json";
constexpr const char* kListName = "SorvexList";
constexpr const char* kParamsName = "sorvex.params";
constexpr int kEndWaitMilliseconds = 10000;

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString JobsFolder() {
    return JoinPath(SorvexQueueFolder(), QStringLiteral("jobs"));
}

}  // namespace

CSorvexQueue::CSorvexQueue(QObject* parent) : QObject(parent) {}

CSorvexQueue::~CSorvexQueue() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kEndWaitMilliseconds);
    }
    if (!token_.isEmpty()) CNotifyServer::Instance().CloseRun(token_);
}

QString CSorvexQueue::JobFolder(const QString& id) {
    return JoinPath(JobsFolder(), id);
}

bool CSorvexQueue::Start() {
    const QString path = SorvexQueueSocketPath();
    QDir().mkpath(SorvexQueueFolder());
    {
        // One queue: a second one asks the first to show itself and goes.
        QLocalSocket other;
        other.connectToServer(path);
        if (other.waitForConnected(1000)) {
            other.write("SHOW\n");
            other.waitForBytesWritten(1000);
            other.disconnectFromServer();
            return false;
        }
    }
    QLocalServer::removeServer(path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CSorvexQueue::OnNewConnection);
    if (!server_->listen(path)) return false;
    LoadKeptJobs();
    RunNext();
    return true;
}

const SorvexQueueJob* CSorvexQueue::RunningJob() const {
    for (const SorvexQueueJob& job : jobs_)
        if (job.id == runningId_ && job.state == SorvexQueueJob::State::Running) return &job;
    return nullptr;
}

void CSorvexQueue::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void CSorvexQueue::OnReadyRead(QLocalSocket* socket) {
    while (socket->canReadLine()) Take(socket->readLine().trimmed(), socket);
}

void CSorvexQueue::Take(const QByteArray& line, QLocalSocket* socket) {
    if (line == "SHOW") {
        emit ShowRequested();
        return;
    }
    std::optional<SorvexQueueJob> job = SorvexQueueJob::FromJson(line);
    QString error = QStringLiteral("not a search job");
    if (job && Keep(*job, &error)) {
        socket->write(QueueReply(true, job->id));
        jobs_.push_back(*job);
        emit JobsChanged();
        RunNext();
        return;
    }
    socket->write(QueueReply(false, error));
}

bool CSorvexQueue::Keep(SorvexQueueJob& job, QString* error) {
    // Ids stay unique across restarts: the first free number.
    QDir jobs(JobsFolder());
    QString id;
    do {
        id = QStringLiteral("job%1").arg(nextNumber_++, 5, 10, QLatin1Char('0'));
    } while (jobs.exists(id));
    job.id = id;
    job.state = SorvexQueueJob::State::Waiting;
    const QString folder = JobFolder(id);
    if (!QDir().mkpath(folder) ||
        !WriteWhole(JoinPath(folder, QString::fromLatin1(kListName)), job.list) ||
        !WriteWhole(JoinPath(folder, QString::fromLatin1(kParamsName)), job.params) ||
        !WriteWhole(JoinPath(folder, QString::fromLatin1(kJobRecordName)), job.ToJson())) {
        QDir(folder).removeRecursively();
        *error = QStringLiteral("cannot keep the job in %1").arg(folder);
        return false;
    }
    return true;
}

void CSorvexQueue::LoadKeptJobs() {
    const QDir jobs(JobsFolder());
    for (const QString& id : jobs.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QFile record(JoinPath(JobFolder(id), QString::fromLatin1(kJobRecordName)));
        std::optional<SorvexQueueJob> job;
        if (record.open(QIODevice::ReadOnly)) job = SorvexQueueJob::FromJson(record.readAll());
        if (!job) continue;
        job->id = id;
        // A job cut off by the end of the queue runs again.
        job->state = SorvexQueueJob::State::Waiting;
        jobs_.push_back(*job);
    }
    if (!jobs_.empty()) emit JobsChanged();
}

void CSorvexQueue::RunNext() {
    if (process_) return;
    SorvexQueueJob* next = nullptr;
    for (SorvexQueueJob& job : jobs_) {
        if (job.state != SorvexQueueJob::State::Waiting) continue;
        if (!next || RunsBefore(job, *next)) next = &job;
    }
    if (!next) return;
    const QString folder = JobFolder(next->id);
    auto* process = new QProcess(this);
    process->setProgram(next->commandNoList.first());
    process->setArguments(
        next->commandNoList.mid(1) +
        QStringList{QStringLiteral("-R") + JoinPath(folder, QString::fromLatin1(kListName)),
                    QStringLiteral("-P") + JoinPath(folder, QString::fromLatin1(kParamsName))});
    process->setWorkingDirectory(next->resultsDirectory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // The queue shows how far the search is from what the program reports.
    token_ = CNotifyServer::Instance().OpenRun(this);
    if (!token_.isEmpty())
        process->setProcessEnvironment(CNotifyServer::Instance().Environment(token_));
    connect(process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        OnFinished(code, status == QProcess::CrashExit);
    });
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) OnFinished(-1, true);
    });
    runningId_ = next->id;
    runningFile_ = 0;
    runningPercent_ = 0;
    next->state = SorvexQueueJob::State::Running;
    process_ = process;
    emit JobsChanged();
    process->start();
}

void CSorvexQueue::OnFinished(int exitCode, bool crashed) {
    if (!process_) return;
    process_->deleteLater();
    process_ = nullptr;
    if (!token_.isEmpty()) CNotifyServer::Instance().CloseRun(token_);
    token_.clear();
    for (SorvexQueueJob& job : jobs_) {
        if (job.id != runningId_) continue;
        const bool ok = !crashed && exitCode == 0;
        job.state = ok ? SorvexQueueJob::State::Done : SorvexQueueJob::State::Failed;
        if (!ok)
            job.note = crashed
                           ? QStringLiteral("the search program did not run to its end")
                           : QStringLiteral("the search program ended with code %1").arg(exitCode);
        Forget(job);
    }
    runningId_.clear();
    emit JobsChanged();
    RunNext();
}

void CSorvexQueue::Forget(const SorvexQueueJob& job) {
    // A job that has run is shown for this session only; its files go.
    QDir(JobFolder(job.id)).removeRecursively();
}

bool CSorvexQueue::event(QEvent* e) {
    if (e->type() != MessageEvent::eventType()) return QObject::event(e);
    auto* message = static_cast<MessageEvent*>(e);
    const auto* origin = std::any_cast<NotifyOrigin>(&message->payload());
    if (!origin || origin->token != token_) return true;
    if (RegisteredMessageName(message->message()) == QLatin1String("ZV_SORVEX_PROGRESS") &&
        (message->lParam() & 0xFFFF) == 2) {
        runningFile_ = static_cast<int>(message->wParam() & 0xFFFF);
        runningPercent_ = static_cast<int>((message->wParam() >> 16) & 0xFFFF);
        emit JobsChanged();
    }
    return true;
}

}  // namespace zar
