#include "SorvexQueue.h"

#include "search/OutsideProgram.h"

#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/Settings.h"
#include "ipc/NotifyServer.h"
#include "ipc/TokenFile.h"
#include "messages/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>

#include <algorithm>

#include <csignal>

#include <sys/prctl.h>

namespace zar {

namespace {

constexpr const char* kJobRecordName = "job.json";
constexpr const char* kListName = "SorvexList";
constexpr const char* kParamsName = "sorvex.params";
// The process id of a job's running search, beside its record.
constexpr const char* kRunningName = "running.pid";
constexpr int kEndWaitMilliseconds = 10000;
// A request line, at most: the list of a run of 100,000 spectra with its parameters is a few
// megabytes. A longer line is no job, and is not held in memory while it grows.
constexpr qint64 kMaxRequestBytes = qint64(32) << 20;

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder = kOwnerOnly | QFileDevice::ExeOwner;

// Written whole or not at all, and readable by the user alone: a job names programs, folders
// and a database.
bool WriteWhole(const QString& path, const QByteArray& bytes) {
    AtomicTextWriter file(path);
    if (!file.open()) return false;
    file.writeBytes(bytes);
    return file.commit() && QFile::setPermissions(path, kOwnerOnly);
}

bool MakePrivateFolder(const QString& path) {
    return QDir().mkpath(path) && QFile::setPermissions(path, kOwnerFolder);
}

QString JobsFolder() {
    return JoinPath(SorvexQueueFolder(), QStringLiteral("jobs"));
}

bool HasParentStep(QString path) {
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

// The search programs a job may run: those the settings name, in the program folder.
bool IsSearchProgram(const QString& program) {
    const QString canonical = QFileInfo(program).canonicalFilePath();
    if (canonical.isEmpty()) return false;
    for (const QString& name : {GetSorvexProgram(), GetMassmapProgram()}) {
        const QString allowed =
            QFileInfo(ResolveOutsideProgram(SearchProgramFolder(), name)).canonicalFilePath();
        if (allowed == canonical) return true;
    }
    return false;
}

// Why a job may not run; empty when it may. It runs a search program of the program folder on
// files of its results folder, and nothing else.
QString JobFault(const SorvexQueueJob& job) {
    const QString program = job.commandNoList.value(0);
    if (!IsSearchProgram(program))
        return QStringLiteral("%1 is not a search program of the program folder %2")
            .arg(program, SearchProgramFolder());
    for (const QString& argument : job.commandNoList.mid(1))
        if (argument.startsWith(QLatin1String("-R")) || argument.startsWith(QLatin1String("-P")))
            return QStringLiteral("the list and the parameters are the queue's own: %1")
                .arg(argument);
    const QString folder = job.resultsDirectory;
    if (!QDir::isAbsolutePath(folder) || HasParentStep(folder) || !QFileInfo(folder).isDir())
        return QStringLiteral("the results folder %1 is no folder of its own").arg(folder);
    const QString inside = QDir::cleanPath(folder) + QLatin1Char('/');
    TextLineReader list = TextLineReader::fromBytes(job.list);
    QString name;
    while (list.readLine(name)) {
        name = name.trimmed();
        if (name.isEmpty()) continue;
        const bool relative = QDir::isRelativePath(name) && !name.startsWith(QLatin1Char('\\'));
        if (HasParentStep(name) || (!relative && !QDir::cleanPath(name).startsWith(inside)))
            return QStringLiteral("the list names %1 outside the results folder").arg(name);
    }
    return QString();
}

// True when the process of `pid` still runs the search of the job in `folder`.
bool StillRunsJob(qint64 pid, const QString& folder) {
    if (pid <= 0) return false;
    QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return command.open(QIODevice::ReadOnly) &&
           command.readAll().contains(QFile::encodeName(folder));
}

}  // namespace

CSorvexQueue::CSorvexQueue(QObject* parent) : QObject(parent) {}

CSorvexQueue::~CSorvexQueue() {
    if (process_) {
        // Ended with the queue, the job runs again when the queue starts again.
        process_->disconnect(this);
        if (process_->state() != QProcess::NotRunning) {
            process_->kill();
            process_->waitForFinished(kEndWaitMilliseconds);
        }
        for (SorvexQueueJob& job : jobs_) {
            if (job.id != runningId_) continue;
            job.state = SorvexQueueJob::State::Waiting;
            Record(job);
            QFile::remove(JoinPath(JobFolder(job.id), QString::fromLatin1(kRunningName)));
        }
    }
    if (!token_.isEmpty()) CNotifyServer::Instance().CloseRun(token_);
}

QString CSorvexQueue::JobFolder(const QString& id) {
    return JoinPath(JobsFolder(), id);
}

bool CSorvexQueue::Start() {
    const QString path = SorvexQueueSocketPath();
    if (!MakePrivateFolder(SorvexQueueFolder())) return false;
    {
        // One queue: a second one asks the first to show itself and goes.
        QLocalSocket other;
        other.connectToServer(path);
        if (other.waitForConnected(1000)) {
            other.write(TokenRequestLine(ReadTokenFile(SorvexQueueTokenPath()), "SHOW"));
            other.waitForBytesWritten(1000);
            other.disconnectFromServer();
            return false;
        }
    }
    // Only who can read the token file may hand over jobs: a new token for every start.
    queueToken_ = NewChannelToken();
    if (!WriteTokenFile(SorvexQueueTokenPath(), queueToken_)) return false;
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
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            socket->deleteLater();
        });
    }
}

void CSorvexQueue::OnReadyRead(QLocalSocket* socket) {
    QByteArray& pending = pending_[socket];
    while (socket->bytesAvailable() > 0) {
        // Each byte is looked at once, however long the line grows.
        qsizetype start = 0;
        qsizetype end = pending.size();
        pending += socket->read(kMaxRequestBytes + 1 - pending.size());
        while ((end = pending.indexOf('\n', end)) >= 0) {
            Take(pending.mid(start, end - start).trimmed(), socket);
            start = ++end;
        }
        pending.remove(0, start);
        if (pending.size() > kMaxRequestBytes) {
            pending_.remove(socket);
            socket->write(QueueReply(false, QStringLiteral("the request is too long")));
            socket->disconnectFromServer();
            return;
        }
    }
}

void CSorvexQueue::Take(const QByteArray& line, QLocalSocket* socket) {
    QString token;
    QByteArray request;
    if (!SplitTokenRequestLine(line, token, request) || token != queueToken_) {
        socket->write(QueueReply(false, QStringLiteral("the request carries no token of this queue")));
        return;
    }
    if (request == "SHOW") {
        emit ShowRequested();
        return;
    }
    std::optional<SorvexQueueJob> job = SorvexQueueJob::FromJson(request);
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
    if (const QString fault = JobFault(job); !fault.isEmpty()) {
        *error = fault;
        return false;
    }
    // Ids stay unique across restarts: the first free number.
    QDir jobs(JobsFolder());
    QString id;
    do {
        id = QStringLiteral("job%1").arg(nextNumber_++, 5, 10, QLatin1Char('0'));
    } while (jobs.exists(id));
    job.id = id;
    job.state = SorvexQueueJob::State::Waiting;
    const QString folder = JobFolder(id);
    if (!MakePrivateFolder(JobsFolder()) || !MakePrivateFolder(folder) ||
        !WriteWhole(JoinPath(folder, QString::fromLatin1(kListName)), job.list) ||
        !WriteWhole(JoinPath(folder, QString::fromLatin1(kParamsName)), job.params) ||
        !Record(job)) {
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
        // A job file not of the queue's making runs nothing foreign.
        if (const QString fault = JobFault(*job); !fault.isEmpty()) {
            job->state = SorvexQueueJob::State::Failed;
            job->note = fault;
            jobs_.push_back(*job);
            Forget(*job);
            continue;
        }
        if (job->state == SorvexQueueJob::State::Running) {
            // Its search outlived the queue that started it: it is not run a second time.
            QFile running(JoinPath(JobFolder(id), QString::fromLatin1(kRunningName)));
            const qint64 pid = running.open(QIODevice::ReadOnly) ? running.readAll().toLongLong() : 0;
            if (StillRunsJob(pid, JobFolder(id))) {
                job->state = SorvexQueueJob::State::Stopped;
                job->note = QStringLiteral("its search still runs, started before the queue was");
                jobs_.push_back(*job);
                continue;
            }
        }
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
    if (const QString fault = JobFault(*next); !fault.isEmpty()) {
        next->state = SorvexQueueJob::State::Failed;
        next->note = fault;
        Forget(*next);
        emit JobsChanged();
        RunNext();
        return;
    }
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
    // A search never outlives its queue, even one ended by force.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
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
    // Marked running before it starts, and by its process once it has: a queue started again
    // while it runs does not run it a second time.
    connect(process, &QProcess::started, this, [folder, process] {
        WriteWhole(JoinPath(folder, QString::fromLatin1(kRunningName)),
                   QByteArray::number(process->processId()));
    });
    runningId_ = next->id;
    runningFile_ = 0;
    runningPercent_ = 0;
    next->state = SorvexQueueJob::State::Running;
    Record(*next);
    process_ = process;
    emit JobsChanged();
    process->start();
}

bool CSorvexQueue::Record(const SorvexQueueJob& job) const {
    return WriteWhole(JoinPath(JobFolder(job.id), QString::fromLatin1(kJobRecordName)),
                      job.ToJson());
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
