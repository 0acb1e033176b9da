#pragma once
// The SORVEX Queue: takes searches over its local socket (from the search daemon), keeps each
// job as files of its own (the list and the parameters as they were at Submit) until it has
// run, and runs one job at a time, highest priority first, earliest first within a priority.
// A job runs the search program in the job's results folder on the kept list and parameters.
// Jobs not yet run when the queue ends are run when it starts again; a job whose search still
// runs then is not run a second time.
//
// Only requests that carry the queue's token are taken ("<token> <request>", the token in a
// file of the queue's folder that its user alone may read), and a job may run only a search
// program of the program folder, on files of its own results folder.

#include "search/SorvexQueueJob.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QLocalServer;
class QLocalSocket;
class QProcess;

namespace zar {

class CSorvexQueue : public QObject {
    Q_OBJECT
  public:
    explicit CSorvexQueue(QObject* parent = nullptr);
    // A running job is ended with the queue: no search is left behind without it.
    ~CSorvexQueue() override;

    // Listens on the queue's socket and takes up the jobs kept from before; false when another
    // queue listens already (it was asked to show itself) or the socket cannot be made.
    bool Start();

    const std::vector<SorvexQueueJob>& Jobs() const { return jobs_; }
    // The job that runs now; null when none does.
    const SorvexQueueJob* RunningJob() const;
    // Progress of the running job: the file searched and the percent of the database.
    int RunningFile() const { return runningFile_; }
    int RunningPercent() const { return runningPercent_; }

    // The job's folder: its list ("SorvexList") and parameters ("sorvex.params").
    static QString JobFolder(const QString& id);

  signals:
    void JobsChanged();
    void ShowRequested();

  private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    void Take(const QByteArray& line, QLocalSocket* socket);
    bool Keep(SorvexQueueJob& job, QString* error);
    void LoadKeptJobs();
    void RunNext();
    void OnFinished(int exitCode, bool crashed);
    void Forget(const SorvexQueueJob& job);
    // Writes the job's record (job.json) as the job is now.
    bool Record(const SorvexQueueJob& job) const;
    bool event(QEvent* e) override;

    QLocalServer* server_ = nullptr;
    QHash<QLocalSocket*, QByteArray> pending_;  // what a connection sent of its next line
    std::vector<SorvexQueueJob> jobs_;
    QPointer<QProcess> process_;
    QString runningId_;
    QString token_;       // of the notification channel, for the running search
    QString queueToken_;  // that requests must carry
    int runningFile_ = 0;
    int runningPercent_ = 0;
    int nextNumber_ = 1;
};

}  // namespace zar
