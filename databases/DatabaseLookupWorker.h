#pragma once
// Runs one database look-up on a worker thread for a result view. The worker reports only by
// posted messages carrying owned copies (status text and progress to the status dialog, the
// results to the results window) and stops between entries when cancelled. Destroying the
// worker cancels and joins it.

#include "databases/DatabaseMessages.h"
#include "databases/DatabaseSearch.h"

#include <QString>

#include <atomic>
#include <optional>
#include <thread>

namespace zar {

class CSearchResults;
struct SearchHitRecord;

class CDatabaseLookupWorker {
  public:
    enum class Kind { BySequence = 1, BySequencePosition = 2, ByReference = 3 };

    struct Targets {
        QObject* resultsWindow = nullptr;  // receives the result messages
        QObject* statusDialog = nullptr;   // receives status text and progress
        WPARAM owner = 0;                  // the view that asked, sent back with the results
    };

    // What the look-up object is given before it runs. A null database directory keeps the
    // one from the settings.
    struct Setup {
        QString databaseDirectory;
        QString resultsDirectory;
        int databaseKind = 0;
        int readingFrame = 1;
    };

    explicit CDatabaseLookupWorker(Targets targets);
    ~CDatabaseLookupWorker();
    CDatabaseLookupWorker(const CDatabaseLookupWorker&) = delete;
    CDatabaseLookupWorker& operator=(const CDatabaseLookupWorker&) = delete;

    // False when a look-up is still running.
    bool start(Kind kind, Setup setup, DatabaseLookupRequest request);
    void cancel() { cancel_ = true; }
    bool isBusy() const { return busy_; }
    // Waits for the running look-up to end.
    void wait();

  private:
    void run(Kind kind, const Setup& setup, const DatabaseLookupRequest& request);

    Targets targets_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> busy_{false};
    std::thread thread_;
};

// The request of a hit's look-ups (the BLAST and retrieve views).
DatabaseLookupRequest LookupRequestForHit(const SearchHitRecord& hit);
// The hit whose mass type and files serve the look-up of protein `proteinIndex` (from 0) of a
// result set; null when the index lies outside the proteins or no hit names the protein.
const SearchHitRecord* ProteinLookupHit(const CSearchResults& results, int proteinIndex);
// The request of the look-up of protein `proteinIndex` (from 0) of a result set; nothing when
// there is no ProteinLookupHit.
std::optional<DatabaseLookupRequest> LookupRequestForProtein(const CSearchResults& results,
                                                             int proteinIndex);
// What the look-up object takes from the result set and the hit it serves: the results folder
// is the one of the hit's own search (a multiple-results set combines several and has none of
// its own); the database folder is the setting's.
CDatabaseLookupWorker::Setup LookupSetupFor(const CSearchResults& results,
                                            const SearchHitRecord& hit, int readingFrame);
// Settles the database folder of a look-up on the caller's thread: the setting's, unless the
// hit's FASTA file is not there but is the one the hit's own ".out" file (else the result set)
// names, found from the hit's results folder.
void FindLookupDatabase(CDatabaseLookupWorker::Setup& setup, const DatabaseLookupRequest& request,
                        const CSearchResults& results, const SearchHitRecord& hit);

}  // namespace zar
