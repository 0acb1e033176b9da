#pragma once
// The SORVEX Queue: takes searches over its local socket (from the search daemon), keeps each
// job as files of its own (the list and the parameters as they were at Submit) until it has
// run, and runs one job at a time, highest priority first, earliest first within a priority.
// A job runs the search program in the job's results folder on the kept list and parameters.
// Jobs not yet run when the queue ends are run when it starts again.

#include "search/SorvexQueueJob.h"

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
    bool event(QEvent* e) override;

    QLocalServer* server_ = nullptr;
    std::vector<SorvexQueueJob> jobs_;
    QPointer<QProcess> process_;
    QString runningId_;
    QString token_;
    int runningFile_ = 0;
    int runningPercent_ = 0;
    int nextNumber_ = 1;
};

}  // namespace zar
