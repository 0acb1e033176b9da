#include "databases/DatabaseLookupWorker.h"

#include "databases/SearchInfoReader.h"

#include "document/ProteinRecord.h"
#include "document/SearchHitRecord.h"
#include "document/SearchResults.h"
#include "document/Settings.h"

#include "core/Paths.h"

#include <QFileInfo>

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
    // Settings are read here, on the caller's thread.
    if (setup.databaseDirectory.isNull()) setup.databaseDirectory = GetDatabaseDirectory();
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

    CDatabaseSearch search(setup.databaseDirectory, setup.resultsDirectory);
    search.SetDatabaseKind(setup.databaseKind);
    search.SetReadingFrame(setup.readingFrame);
    search.SetProgress(&progress);
    const WPARAM databaseKind = WPARAM(setup.databaseKind);

    switch (kind) {
        case Kind::BySequence: {
            SequenceLookupResult result = search.FindSequence(request);
            if (result.status == LookupStatus::Found || result.status == LookupStatus::NotFound)
                PostMessage(results, kMsgReadingFrameEnable, databaseKind);
            PostMessage(results, kMsgDatabaseSearchEnded, owner, 0, std::move(result));
            break;
        }
        case Kind::BySequencePosition: {
            ProteinLookupResult result = search.FindSequencePosition(request);
            if (result.status == LookupStatus::Found) {
                PostMessage(results, kMsgReadingFrameEnable, databaseKind);
                PostMessage(results, kMsgRowCount, WPARAM(result.record.rows));
                PostMessage(results, kMsgSequenceRecord, 0, 0, result.record);
                PostMessage(results, kMsgSequencePeptide, 0, 0, result.record);
            }
            PostMessage(results, kMsgDatabaseSearchEnded, owner, 0, std::move(result));
            break;
        }
        case Kind::ByReference: {
            ProteinLookupResult result = search.FindReference(request);
            if (result.status == LookupStatus::Found) {
                PostMessage(results, kMsgReadingFrameEnable, databaseKind);
                PostMessage(results, kMsgRowCount, WPARAM(result.record.rows));
                PostMessage(results, kMsgSequenceRecord, 0, 0, result.record);
                PostMessage(results, kMsgSequenceCoverage, 0, 0, result);
            }
            if (result.status == LookupStatus::Found || result.status == LookupStatus::NotFound)
                PostMessage(results, kMsgCoverageUpdate, owner);
            PostMessage(results, kMsgDatabaseSearchEnded, owner, 0, std::move(result));
            break;
        }
    }
}

DatabaseLookupRequest LookupRequestForHit(const SearchHitRecord& hit) {
    DatabaseLookupRequest request;
    request.peptide = hit.peptide;
    request.reference = hit.reference;
    request.monoisotopic = hit.monoisotopicPrecursor != 0;
    request.databaseFile = hit.databaseFile;
    request.indexedDatabase = hit.secondDatabase;
    request.entryNumber = hit.proteinNumber;
    return request;
}

const SearchHitRecord* ProteinLookupHit(const CSearchResults& results, int proteinIndex) {
    const ProteinArray& proteins = results.GetProteins();
    if (proteinIndex < 0 || proteinIndex >= static_cast<int>(proteins.size()) ||
        !proteins[std::size_t(proteinIndex)])
        return nullptr;
    const CProteinRecord& protein = *proteins[std::size_t(proteinIndex)];
    std::array<std::vector<HitNumber>, kProteinHitLists> lists;
    for (std::size_t r = 0; r < lists.size() && r < protein.hitNumbersByRank.size(); ++r)
        lists[r] = protein.hitNumbersByRank[r];
    const HitNumber chosen = ChooseProteinHit(lists, [&results](HitNumber number) {
        const SearchHitRecord* hit = results.FindHit(number);
        return hit && hit->shown == 1;
    });
    return results.FindHit(chosen);
}

std::optional<DatabaseLookupRequest> LookupRequestForProtein(const CSearchResults& results,
                                                             int proteinIndex) {
    const SearchHitRecord* hit = ProteinLookupHit(results, proteinIndex);
    if (!hit) return std::nullopt;
    const CProteinRecord& protein = *results.GetProteins()[std::size_t(proteinIndex)];
    DatabaseLookupRequest request = LookupRequestForHit(*hit);
    request.reference = protein.reference;
    request.peptides.assign(protein.peptides.begin(), protein.peptides.end());
    request.entryNumber = protein.proteinNumbers.empty() ? 0 : protein.proteinNumbers.front();
    return request;
}

CDatabaseLookupWorker::Setup LookupSetupFor(const CSearchResults& results,
                                            const SearchHitRecord& hit, int readingFrame) {
    CDatabaseLookupWorker::Setup setup;
    const QString own = FolderOf(hit.path);
    setup.resultsDirectory = own.isEmpty() ? results.GetDirectory() : own + QLatin1Char('/');
    setup.databaseKind = results.Parameters().nucleotide;
    setup.readingFrame = readingFrame;
    return setup;
}

void FindLookupDatabase(CDatabaseLookupWorker::Setup& setup, const DatabaseLookupRequest& request,
                        const CSearchResults& results, const SearchHitRecord& hit) {
    if (setup.databaseDirectory.isNull()) setup.databaseDirectory = GetDatabaseDirectory();
    const CDatabaseSearch probe(setup.databaseDirectory, setup.resultsDirectory);
    if (request.databaseFile.isEmpty() || QFileInfo(probe.FastaPathFor(request.databaseFile)).isFile())
        return;
    // The names are taken where the hit's search wrote them: its own results folder.
    QStringList names;
    if (!hit.path.isEmpty()) names = ReadOutDatabaseNames(hit.path + QStringLiteral(".out"));
    names << results.Parameters().databaseName;
    for (const QString& name : names) {
        if (name.isEmpty() || FileNameOf(name) != FileNameOf(request.databaseFile)) continue;
        const QString found =
            CSearchResults::ResolveDatabasePathIn(PortablePath(setup.resultsDirectory), name);
        if (QFileInfo(found).isFile()) {
            setup.databaseDirectory = FolderOf(found);
            return;
        }
    }
}

}  // namespace zar
