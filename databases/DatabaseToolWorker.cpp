#include "databases/DatabaseToolWorker.h"

namespace zar {

CDatabaseToolWorker::CDatabaseToolWorker(QObject* statusTarget) : target_(statusTarget) {}

CDatabaseToolWorker::~CDatabaseToolWorker() {
    cancel();
    wait();
}

void CDatabaseToolWorker::wait() {
    if (thread_.joinable()) thread_.join();
}

bool CDatabaseToolWorker::begin() {
    if (busy_) return false;
    wait();
    cancel_ = false;
    busy_ = true;
    return true;
}

WorkProgress CDatabaseToolWorker::progress() {
    WorkProgress p;
    QObject* const target = target_;
    p.cancelFlag = &cancel_;
    p.onStatus = [target](const QString& text) {
        PostMessage(target, dbmsg::StatusTextMessage(), 0, 0, text);
    };
    p.onPercent = [target](int percent) {
        PostMessage(target, dbmsg::ProgressMessage(), WPARAM(percent));
    };
    p.onListLine = [target](const QString& text) {
        PostMessage(target, dbmsg::ListLineMessage(), 0, 0, text);
    };
    return p;
}

bool CDatabaseToolWorker::startIndexBuild(const QString& fastaPath, bool nucleotide,
                                          bool monoisotopic) {
    if (!begin()) return false;
    thread_ = std::thread([this, fastaPath, nucleotide, monoisotopic, p = progress()] {
        const CFastaIndexBuilder builder(nucleotide, SequenceMassTable::For(monoisotopic));
        FastaIndexBuildResult result = builder.build(fastaPath, p);
        // A failure's text replaces the status line, as the build's own texts do.
        if (result.status != FastaIndexBuildResult::Status::Done) p.status(result.statusText);
        PostMessage(target_, dbmsg::WorkDoneMessage(), 0, 0, std::move(result));
        busy_ = false;
    });
    return true;
}

bool CDatabaseToolWorker::startSelection(const SelectRequest& request) {
    if (!begin()) return false;
    thread_ = std::thread([this, request, p = progress()] {
        const SelectResult result = SelectDatabaseEntries(request, p);
        PostMessage(target_, dbmsg::WorkDoneMessage(), WPARAM(result), 0, result);
        busy_ = false;
    });
    return true;
}

}  // namespace zar
