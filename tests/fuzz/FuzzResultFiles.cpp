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

int FuzzOutFile(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString folder = EmptyFolder(QStringLiteral("out"));
    const QString name = QStringLiteral("out/run.0100.0101.2.out");
    const QString path = WriteInput(name, data, size);
    {
        zar::CSorvexResults results;
        results.SetRawFilePath(QStringLiteral("/nonexistent/run.raw"));
        if (results.Initialize() && results.ReadResults(folder))
            results.ParseOutFileForDisplay(path);
    }
    {
        zar::CMassmapResults results;
        results.SetRawFilePath(QStringLiteral("/nonexistent/run.raw"));
        if (results.Initialize()) results.ReadResults(folder);
    }
    for (const auto layout :
         {zar::OutHeaderLayout::SearchEngine, zar::OutHeaderLayout::PeptideMapping}) {
        zar::SearchInfoText info;
        zar::ReadSearchInfoText(path, layout, info);
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
