#include "SearchSetup.h"

#include "DatabaseTally.h"
#include "ToolReporter.h"

#include "core/Paths.h"
#include "databases/SequenceMasses.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>

namespace zar {

int PrepareSearch(const QString& folder, const QString& listPath, const QString& paramsPath,
                  const char* paramsName, SearchSetup& setup, QString& error) {
    setup.folder = folder.isEmpty() ? QDir::currentPath() : PortablePath(folder);
    const QString params = paramsPath.isEmpty()
                               ? JoinPath(setup.folder, QString::fromLatin1(paramsName))
                               : PortablePath(paramsPath);
    if (!ReadSearchParamsFile(params, setup.params, error)) return kToolNoParams;

    QString database = setup.params.database;
    if (QFileInfo(database).isRelative()) database = JoinPath(setup.folder, database);
    if (!DatabaseFastaPath(database, setup.fasta, error)) return kToolNoDatabase;
    if (!QFileInfo(setup.fasta).isFile() || !QFileInfo(setup.fasta).isReadable()) {
        error = QStringLiteral("Cannot read the database %1")
                    .arg(QDir::toNativeSeparators(setup.fasta));
        return kToolNoDatabase;
    }

    if (!LoadListedSpectra(setup.folder, listPath.isEmpty() ? QString() : PortablePath(listPath),
                           setup.spectra, setup.notes, error))
        return kToolNoSpectra;
    if (setup.spectra.empty()) {
        error = setup.notes.isEmpty() ? QStringLiteral("No .dta files to search in %1")
                                            .arg(QDir::toNativeSeparators(setup.folder))
                                      : QStringLiteral("None of the listed .dta files can be used");
        return kToolNoSpectra;
    }
    return kToolOk;
}

OutFileHeader SearchOutHeader(const SearchSetup& setup, const DatabaseTally& tally) {
    const SearchParamsFile& p = setup.params;
    OutFileHeader header;
    header.date = SearchDateText();
    header.host = QSysInfo::machineHostName();
    header.precursorTolerance = p.peptideTolerance;
    header.monoPrecursor = p.monoParent;
    header.monoFragments = p.monoFragment;
    header.aminoAcids = tally.residues;
    header.proteins = tally.proteins;
    header.database = p.database;
    header.ionSeries = p.IonSeriesText();
    header.displayTop = p.outputLines;
    header.displayDescriptions = p.descriptionLines;
    header.ionPercent = p.ionCutoff * 100.0;
    if (!p.enzyme.name.isEmpty()) header.enzyme = p.enzyme.name;
    return header;
}

QString SearchDateText() {
    return QLocale::c().toString(QDateTime::currentDateTime(),
                                 QStringLiteral("MM/dd/yyyy, hh:mm AP"));
}

QString SearchModificationsLine(const SearchParamsFile& p, bool withDifferential) {
    OutModifications m;
    if (withDifferential)
        for (const SearchDifferentialMod& d : p.differential)
            m.differential.push_back({d.residues, d.symbol, d.mass});
    const SequenceMassTable table = SequenceMassTable::For(p.monoParent);
    for (int i = 0; i < 26; ++i) {
        const double add = p.staticResidue[static_cast<size_t>(i)];
        if (add == 0.0) continue;
        const char letter = static_cast<char>('A' + i);
        m.residues.push_back(
            {QLatin1Char(letter), table.residue[static_cast<unsigned char>(letter)] + add});
    }
    m.nTermPeptide = p.nTermPeptide;
    m.cTermPeptide = p.cTermPeptide;
    m.nTermProtein = p.nTermProtein;
    m.cTermProtein = p.cTermProtein;
    return OutModificationsLine(m);
}

double TotalIntensity(const CDtaSpectrum& spectrum) {
    double total = 0.0;
    for (const DtaPeak& peak : spectrum.peaks()) total += peak.intensity;
    return total;
}

}  // namespace zar
