#pragma once
// A search handed to the SORVEX Queue: the seven texts of the daemon's Submit, the list of .dta
// files and the parameter file as they were at Submit (the launcher removes its list, and the
// sheet may write new parameters, long before the job runs), and the queue's bookkeeping. A job
// travels over the queue's local socket as one line of JSON and is kept by the queue as a file.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace zar {

struct SorvexQueueJob {
    enum class State { Waiting, Running, Done, Failed, Stopped };

    QString id;  // given by the queue
    QString rawFile;
    QString databasePath;
    QString resultsDirectory;  // where the .dta files are and the .out files go
    QString callerDirectory;
    QStringList command;        // program and arguments, the list included
    QStringList commandNoList;  // program and arguments without the list
    QString priority;           // "High", "Normal", "Low" or empty (Normal)
    QByteArray list;            // the list file's bytes
    QByteArray params;          // the parameter file's bytes
    QDateTime submitted;
    State state = State::Waiting;
    QString note;  // why a job failed

    // 0 High, 1 Normal (also empty or unknown), 2 Low.
    int PriorityRank() const;
    static QString StateText(State state);

    QByteArray ToJson() const;
    static std::optional<SorvexQueueJob> FromJson(const QByteArray& json);
};

// Earlier in the queue: higher priority first, then the earlier submission.
bool RunsBefore(const SorvexQueueJob& a, const SorvexQueueJob& b);

// The queue's folder (jobs and socket) under the user's settings folder.
QString SorvexQueueFolder();
QString SorvexQueueSocketPath();
// The file that holds the queue's token: a request on its socket carries it.
QString SorvexQueueTokenPath();

// A command of the launcher as the daemon's texts carry it (a JSON array of the program and its
// arguments), and back; a text that is no such array gives an empty list.
QString CommandListText(const QStringList& command);
QStringList CommandListFromText(const QString& text);

// The reply of the queue to a submitted job: "OK <id>" or "ERR <reason>".
QByteArray QueueReply(bool accepted, const QString& text);

}  // namespace zar
