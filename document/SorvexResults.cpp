#include "document/SorvexResults.h"

#include "core/Log.h"
#include "core/Paths.h"
#include "document/Settings.h"

#include <QFileInfo>

namespace zar {

namespace {

CSearchResults::ReaderStyle kSorvexStyle() {
    CSearchResults::ReaderStyle style;
    style.checkRawFile = true;
    style.rowsCarryHitMass = false;
    style.searchEngineBuilder = true;
    return style;
}

}  // namespace

CSorvexResults::CSorvexResults(QObject* owner) : CSearchResults(owner) {
    SetDirectory(GetSorvexResultsDirectory());
    xpress_.autoCalculate = GetXpressAutoCalculate() != 0;
    xpress_.residue = GetXpressResidue();
    xpress_.tolerance = GetXpressTolerance();
}

int CSorvexResults::ReadOutFile(const QString& fileName, int recordIndex, int& searchTime) {
    return ReadSearchOutFile(directory_, fileName, recordIndex, searchTime, kSorvexStyle());
}

int CSorvexResults::ReadOutBytes(const QByteArray& bytes, const QString& fileName,
                                 int recordIndex, int& searchTime) {
    return ReadSearchOutBytes(bytes, directory_, fileName, recordIndex, searchTime,
                              kSorvexStyle());
}

void CSorvexResults::ParseOutFileForDisplay(const QString& fileName) {
    ParseSearchOutFileForDisplay(QFileInfo(fileName).isAbsolute() ? fileName
                                                                  : JoinPath(directory_, fileName));
}

bool CSorvexResults::ReadResults(const QString& directory) {
    if (!directory.isEmpty()) SetDirectory(directory);
    if (directory_.isEmpty()) return false;
    if (hits_.empty() || !proteinsAllocated_) return false;

    hitCount_ = 0;
    const FolderRead read =
        ReadFolder(directory_, 0, false,
                   [this](const QString& folder, const QString& file, int index, int& searchTime) {
                       return ReadSearchOutFile(folder, file, index, searchTime, kSorvexStyle());
                   });
    if (!read.listed) return false;
    hitCount_ = read.filesRead;
    return FinishResults();
}

bool CSorvexResults::FinishResults() {
    RebuildHitPositions();
    if (IsCancelled()) return false;

    if (params_.nucleotide) params_.proteinMassesWanted = 0;

    SetStatus(QStringLiteral("Calculating consensus scores..."));
    FinishConsensusScores();
    SetStatus(QStringLiteral("Finished!"));
    if (IsCancelled()) return false;

    if (params_.revision == 12 && hitCount_ > 0 && hits_[0].proteinNumber > 0) {
        SetProteinMassesFromIndex(params_.databaseName, hitCount_);
    } else if (params_.proteinMassesWanted) {
        SortHitRecords(kSortReference);
        CalculateProteinMasses(params_.databaseName, hitCount_);
    }
    if (IsCancelled()) return false;
    SortHitRecords(sortKey_);
    if (IsCancelled()) return false;
    SortProteins(proteins_, false);

    if (xpress_.autoCalculate) CalculateXpressRatios(true);
    UnmapFastaDatabase();
    return !IsCancelled();
}

bool CSorvexResults::CalculateXpressRatios(bool showProgress) {
    if (!xpressEngine_) {
        LogLine(QStringLiteral("XPRESS ratios not calculated: no quantitation engine installed"));
        return false;
    }
    const XpressQuantifier quantify =
        xpressEngine_(rawFilePath_, xpress_.residue, xpress_.tolerance);
    if (!quantify) return false;
    if (showProgress) {
        SetStatus(QStringLiteral("Calculating Xpress ratios..."));
        SetProgress(0);
    }
    for (int i = 0; i < hitCount_; ++i) {
        if (IsCancelled()) return false;
        quantify(hits_[static_cast<size_t>(i)]);
        if (showProgress) SetProgress(static_cast<int>(100LL * i / hitCount_));
    }
    if (showProgress) {
        SetStatus(QStringLiteral("Finished!"));
        SetProgress(100);
    }
    return true;
}

}  // namespace zar
