#include "document/MassmapResults.h"

#include "core/Paths.h"
#include "document/Settings.h"

#include <QFileInfo>

namespace zar {

CMassmapResults::CMassmapResults(QObject* owner) : CSearchResults(owner) {
    SetDirectory(GetPeptideResultsDirectory());
}

int CMassmapResults::ReadOutFile(const QString& fileName, int recordIndex, int& searchTime) {
    return ReadMassmapOutFile(directory_, fileName, recordIndex, searchTime);
}

void CMassmapResults::ParseOutFileForDisplay(const QString& fileName) {
    ParseMassmapOutFileForDisplay(
        QFileInfo(fileName).isAbsolute() ? fileName : JoinPath(directory_, fileName));
}

bool CMassmapResults::ReadResults(const QString& directory) {
    if (!directory.isEmpty()) SetDirectory(directory);
    if (directory_.isEmpty()) return false;
    if (hits_.empty() || !proteinsAllocated_) return false;

    hitCount_ = 0;
    const FolderRead read =
        ReadFolder(directory_, 0, true,
                   [this](const QString& folder, const QString& file, int index, int& searchTime) {
                       return ReadMassmapOutFile(folder, file, index, searchTime);
                   });
    if (!read.listed) return false;
    hitCount_ = read.filesRead;
    RebuildHitPositions();
    if (IsCancelled()) return false;
    if (params_.nucleotide) params_.proteinMassesWanted = 0;

    if (hitCount_ > 0 && hits_[0].proteinNumber > 0) {
        SetProteinMassesFromIndex(params_.databaseName, hitCount_);
    } else if (params_.proteinMassesWanted) {
        SortHitRecords(kSortReference);
        CalculateProteinMasses(params_.databaseName, hitCount_);
    }
    if (!IsCancelled()) SortHitRecords(sortKey_);
    if (!IsCancelled()) SortProteins(proteins_, false);
    UnmapFastaDatabase();
    return !IsCancelled();
}

}  // namespace zar
