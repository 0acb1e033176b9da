#pragma once
// The result set of several result folders read together into one block of hit records and
// grouped into proteins with consensus scores across all of them.

#include "document/SearchResults.h"

#include <vector>

namespace zar {

// One result to process, as the Select Results dialog lists it.
struct ResultsListEntry {
    QString rawFilePath;  // left empty by the dialog
    QString resultsDirectory;
};

class CMultiConsensusResults : public CSearchResults {
  public:
    explicit CMultiConsensusResults(QObject* owner = nullptr);

    std::vector<ResultsListEntry>& GetResultList() { return resultList_; }
    const std::vector<ResultsListEntry>& GetResultList() const { return resultList_; }
    void ClearResultList() { resultList_.clear(); }

    // The loader: reads every listed folder, then scores, weighs and sorts the proteins.
    bool CalculateConsensusScores();
    // Appends the ".out" files of one folder to the records read so far.
    bool ReadOutFiles(const QString& folder);

    int ReadOutFile(const QString& fileName, int recordIndex, int& searchTime);
    void ParseOutFileForDisplay(const QString& fileName);

  private:
    std::vector<ResultsListEntry> resultList_;
};

}  // namespace zar
