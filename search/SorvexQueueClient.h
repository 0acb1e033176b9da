#pragma once
// Handing a search to the SORVEX Queue: the job is made from the seven texts of the daemon's
// Submit, with copies of the list and the parameter file taken now, and sent over the queue's
// local socket. The queue answers once it has kept the job.

#include "SorvexQueueJob.h"

namespace zar {

// The job the texts describe; the list is the file named by the "-R" argument of the command,
// the parameters "sorvex.params" of the results folder. Nothing when either cannot be read
// (error says which).
std::optional<SorvexQueueJob> MakeSorvexQueueJob(
    const QString& rawFile, const QString& databasePath, const QString& resultsDirectory,
    const QString& callerDirectory, const QString& command, const QString& commandNoList,
    const QString& priority, QString* error);

// Sends the job; waits up to waitMilliseconds for a queue that is still starting. True with
// the job's id when the queue kept it; false with the reason.
bool SendToSorvexQueue(const SorvexQueueJob& job, int waitMilliseconds, QString* idOrError);

// Starts the queue program of the settings (SorvexQueueProgram) beside the search programs;
// false with the failure text. A queue that already runs shows itself and the new one ends.
bool StartSorvexQueueProgram(QString* failure);

}  // namespace zar
