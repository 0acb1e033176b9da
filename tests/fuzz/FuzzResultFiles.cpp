// Search results: ".out" files (both loaders and the search-information view) and ".dta"
// spectra with their fragment-ion table.

#include "FuzzSupport.h"

#include "databases/DtaIons.h"
#include "databases/DtaSpectrum.h"
#include "databases/SearchInfoReader.h"
#include "document/MassmapResults.h"
#include "document/SorvexResults.h"

#include <algorithm>

namespace zarfuzz {

namespace {

// The two result sets with their readers of bytes within reach, made once: every input starts
// with Initialize(), which leaves nothing of the input before.
class SearchEngineResults : public zar::CSorvexResults {
  public:
    bool Read(const QByteArray& bytes, const QString& name) {
        hitCount_ = 0;
        int searchTime = 0;
        if (ReadOutBytes(bytes, name, 0, searchTime) == zar::kOutRead) hitCount_ = 1;
        return FinishResults();
    }
};

class PeptideMappingResults : public zar::CMassmapResults {
  public:
    void Read(const QByteArray& bytes, const QString& name) {
        hitCount_ = 0;
        int searchTime = 0;
        if (ReadMassmapOutBytes(bytes, directory_, name, 0, searchTime) == zar::kOutRead)
            hitCount_ = 1;
        RebuildHitPositions();
        SortHitRecords(sortKey_);
        SortProteins(proteins_, false);
        UnmapFastaDatabase();
    }
};

}  // namespace

int FuzzOutFile(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray bytes = InputBytes(data, size);
    const QString name = QStringLiteral("run.0100.0101.2.out");
    const QString raw = QStringLiteral("/nonexistent/run.raw");
    // Databases that an input names are looked for in an empty folder.
    static const QString folder = EmptyFolder(QStringLiteral("out"));
    static SearchEngineResults searchEngine;
    static PeptideMappingResults peptideMapping;
    searchEngine.SetDirectory(folder);
    peptideMapping.SetDirectory(folder);
    searchEngine.SetRawFilePath(raw);
    if (searchEngine.Initialize() && searchEngine.Read(bytes, name))
        searchEngine.ParseOutBytesForDisplay(bytes);
    peptideMapping.SetRawFilePath(raw);
    if (peptideMapping.Initialize()) peptideMapping.Read(bytes, name);
    for (const auto layout :
         {zar::OutHeaderLayout::SearchEngine, zar::OutHeaderLayout::PeptideMapping}) {
        zar::SearchInfoText info;
        zar::ReadSearchInfoBytes(bytes, layout, info);
    }
    return 0;
}

namespace {

void UseSpectrum(zar::CDtaSpectrum& spectrum) {
    if (!spectrum.prepare(zar::kBinWidthMonoisotopic)) return;
    const zar::SequenceMassTable masses = zar::SequenceMassTable::For(true);
    zar::CalculateDtaIons(
        QStringLiteral("K.PEPT*IDEKACDM#R.S"), std::clamp(spectrum.charge(), 1, 3),
        zar::kIonSeriesA | zar::kIonSeriesB | zar::kIonSeriesY, masses, {}, spectrum);
}

}  // namespace

int FuzzDtaFile(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    zar::CDtaSpectrum spectrum;
    if (spectrum.readBytes(InputBytes(data, size)) == zar::CDtaSpectrum::ReadResult::Ok)
        UseSpectrum(spectrum);
    return 0;
}

int FuzzDtaFileOnDisk(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString path = WriteInput(QStringLiteral("spectrum.dta"), data, size);
    zar::CDtaSpectrum spectrum;
    if (spectrum.read(path) == zar::CDtaSpectrum::ReadResult::Ok) UseSpectrum(spectrum);
    return 0;
}

}  // namespace zarfuzz
