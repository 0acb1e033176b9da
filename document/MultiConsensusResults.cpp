#include "document/MultiConsensusResults.h"

#include "core/MessageBox.h"
#include "core/Paths.h"

namespace zar {

namespace {

CSearchResults::ReaderStyle MultiStyle() {
    CSearchResults::ReaderStyle style;
    style.checkRawFile = false;
    style.rowsCarryHitMass = true;
    style.searchEngineBuilder = false;
    return style;
}

}  // namespace

CMultiConsensusResults::CMultiConsensusResults(QObject* owner) : CSearchResults(owner) {}

int CMultiConsensusResults::ReadOutFile(const QString& fileName, int recordIndex, int& searchTime) {
    return ReadSearchOutFile(readingFolder_, fileName, recordIndex, searchTime, MultiStyle());
}

void CMultiConsensusResults::ParseOutFileForDisplay(const QString& fileName) {
    ParseSearchOutFileForDisplay(fileName);
}

bool CMultiConsensusResults::ReadOutFiles(const QString& folder) {
    if (hits_.empty() || !proteinsAllocated_) return false;
    const FolderRead read =
        ReadFolder(folder, hitCount_, false,
                   [this](const QString& f, const QString& file, int index, int& searchTime) {
                       return ReadSearchOutFile(f, file, index, searchTime, MultiStyle());
                   });
    // Files read before a cancel count too, so that every consensus row finds its record.
    if (read.listed) hitCount_ += read.filesRead;
    RebuildHitPositions();
    if (params_.nucleotide) params_.proteinMassesWanted = 0;
    UnmapFastaDatabase();
    return read.listed && !read.stopped;
}

bool CMultiConsensusResults::CalculateConsensusScores() {
    if (resultList_.empty()) {
        ZarMessageBox(QStringLiteral("Unable to access the list of results to process"));
        return false;
    }
    hitCount_ = 0;
    for (const ResultsListEntry& entry : resultList_) {
        if (entry.resultsDirectory.isEmpty()) continue;
        ReadOutFiles(entry.resultsDirectory);
        if (IsCancelled()) return false;
    }
    SetStatus(QStringLiteral("Calculating consensus scores..."));
    FinishConsensusScores();
    SetStatus(QStringLiteral("Finished!"));

    // Relative database names are taken in the first folder, where record 0 came from; views
    // that look proteins up later find them there too.
    for (const ResultsListEntry& entry : resultList_) {
        if (entry.resultsDirectory.isEmpty()) continue;
        readingFolder_ = JoinPath(entry.resultsDirectory, QString());
        break;
    }
    if (params_.revision == 12 && hitCount_ > 0 && hits_[0].proteinNumber > 0) {
        SetProteinMassesFromIndex(params_.databaseName, hitCount_);
    } else if (params_.proteinMassesWanted) {
        CalculateProteinMasses(params_.databaseName, hitCount_);
    }
    UnmapFastaDatabase();
    SortProteins(proteins_, false);
    return true;
}

}  // namespace zar
