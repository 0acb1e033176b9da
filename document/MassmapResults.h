#pragma once
// The result set of one peptide-mapping results folder: every ".out" file read into hit
// records and grouped into proteins (no consensus finishing step).

#include "document/SearchResults.h"

namespace zar {

class CMassmapResults : public CSearchResults {
  public:
    // The results folder starts as the configured one (PeptideResultsDirectory).
    explicit CMassmapResults(QObject* owner = nullptr);

    bool ReadResults(const QString& directory = QString());
    int ReadOutFile(const QString& fileName, int recordIndex, int& searchTime);
    void ParseOutFileForDisplay(const QString& fileName);
};

}  // namespace zar
