#include "databases/DatabaseLookupWorker.h"

namespace zar {

CDatabaseLookupWorker::CDatabaseLookupWorker(Targets targets) : targets_(targets) {}

CDatabaseLookupWorker::~CDatabaseLookupWorker() {
    cancel();
    wait();
}

void CDatabaseLookupWorker::wait() {
    if (thread_.joinable()) thread_.join();
}

bool CDatabaseLookupWorker::start(Kind kind, Setup setup, DatabaseLookupRequest request) {
    if (busy_) return false;
    wait();
    cancel_ = false;
    busy_ = true;
    thread_ = std::thread([this, kind, setup = std::move(setup), request = std::move(request)] {
        run(kind, setup, request);
        busy_ = false;
    });
    return true;
}

void CDatabaseLookupWorker::run(Kind kind, const Setup& setup,
                                const DatabaseLookupRequest& request) {
    // The targets live on the user-interface thread; the worker only posts to them, and their
    // owner joins the worker before they go away.
    QObject* const results = targets_.resultsWindow;
    QObject* const status = targets_.statusDialog;
    const WPARAM owner = targets_.owner;

    WorkProgress progress;
    progress.cancelFlag = &cancel_;
    progress.onStatus = [status](const QString& text) {
        PostMessage(status, dbmsg::StatusTextMessage(), 0, 0, text);
    };
    progress.onPercent = [status](int percent) {
        PostMessage(status, dbmsg::ProgressMessage(), WPARAM(percent));
    };

    CDatabaseSearch search;
    if (!setup.databaseDirectory.isNull()) search.SetDatabaseDirectory(setup.databaseDirectory);
    search.SetResultsDirectory(setup.resultsDirectory);
    search.SetDatabaseKind(setup.databaseKind);
    search.SetReadingFrame(setup.readingFrame);
    search.SetProgress(&progress);
    const WPARAM databaseKind = WPARAM(setup.databaseKind);

    switch (kind) {
        case Kind::BySequence: {
            SequenceLookupResult result = search.FindSequence(request);
            if (result.status == LookupStatus::Found || result.status == LookupStatus::NotFound)
                PostMessage(results, dbmsg::kDatabaseKind, databaseKind);
            PostMessage(results, dbmsg::kLookupFinished, owner, 0, std::move(result));
            break;
        }
        case Kind::BySequencePosition: {
            ProteinLookupResult result = search.FindSequencePosition(request);
            if (result.status == LookupStatus::Found) {
                PostMessage(results, dbmsg::kDatabaseKind, databaseKind);
                PostMessage(results, dbmsg::kSequenceRows, WPARAM(result.record.rows));
                PostMessage(results, dbmsg::kSequenceRecord, 0, 0, result.record);
                PostMessage(results, dbmsg::kPositionRecord, 0, 0, result.record);
            }
            PostMessage(results, dbmsg::kLookupFinished, owner, 0, std::move(result));
            break;
        }
        case Kind::ByReference: {
            ProteinLookupResult result = search.FindReference(request);
            if (result.status == LookupStatus::Found) {
                PostMessage(results, dbmsg::kDatabaseKind, databaseKind);
                PostMessage(results, dbmsg::kSequenceRows, WPARAM(result.record.rows));
                PostMessage(results, dbmsg::kSequenceRecord, 0, 0, result.record);
                PostMessage(results, dbmsg::kCoverageRecord, 0, 0, result);
            }
            if (result.status == LookupStatus::Found || result.status == LookupStatus::NotFound)
                PostMessage(results, dbmsg::kCoverageRefresh, owner);
            PostMessage(results, dbmsg::kLookupFinished, owner, 0, std::move(result));
            break;
        }
    }
}

}  // namespace zar
