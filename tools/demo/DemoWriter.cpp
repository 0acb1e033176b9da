#include "DemoWriter.h"

#include "DemoResults.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace zar {

namespace {

QString RunFileName() {
    return QString::fromLatin1(kDemoRunName) + QStringLiteral(".mzML");
}

bool WriteText(const QString& path, const QString& text, QString& error) {
    QString why;
    // A data set of thousands of files that can be written again: no waiting for the disk.
    if (WriteTextFileUnsynced(path, text, &why)) return true;
    error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), why);
    return false;
}

// The run file library writes in place: write beside the target, then rename, so that a
// failure never leaves half a run under the real name.
bool WriteRun(const QString& path, const DemoRun& run, QString& error) {
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    QString why;
    const bool written = WriteRunFile(
        temporary, static_cast<int>(run.scans.size()),
        [&run](int index) { return run.scans[static_cast<size_t>(index)]; }, why);
    if (!written || !QFileInfo(temporary).isFile()) {
        QFile::remove(temporary);
        error = QStringLiteral("Cannot write %1: %2")
                    .arg(QDir::toNativeSeparators(path),
                         why.isEmpty() ? QStringLiteral("no file") : why);
        return false;
    }
    // rename() replaces an earlier run in one step: readers see the old file or the new one.
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                            QFile::encodeName(path).toStdString(), failure);
    if (failure) {
        QFile::remove(temporary);
        error = QStringLiteral("Cannot write %1: %2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(failure.message()));
        return false;
    }
    return true;
}

// Files of an earlier demo in the results folder, which would otherwise be read with the new.
void RemoveOldResults(const QString& results) {
    const QStringList old =
        QDir(results).entryList({QString::fromLatin1(kDemoRunName) + QStringLiteral(".*.out"),
                                 QString::fromLatin1(kDemoRunName) + QStringLiteral(".*.dta")},
                                QDir::Files);
    for (const QString& name : old) QFile::remove(JoinPath(results, name));
}

}  // namespace

bool WriteDemoFolder(const QString& folder, const DemoRun& run, bool force, QString& error) {
    if (folder.isEmpty()) {
        error = QStringLiteral("No folder was given for the demo data");
        return false;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        error = QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (info.exists() && !force) {
        error = QStringLiteral(
                    "The folder %1 already exists; use --force to write the demo "
                    "data into it")
                    .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QString results = JoinPath(folder, QString::fromLatin1(kDemoResultsFolder));
    const QString second = JoinPath(folder, QString::fromLatin1(kDemoSecondResultsFolder));
    const QString mapping = JoinPath(folder, QString::fromLatin1(kDemoPeptideMappingFolder));
    for (const QString& made : {results, second, mapping}) {
        if (!QDir().mkpath(made)) {
            error =
                QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(made));
            return false;
        }
        RemoveOldResults(made);
    }

    if (!WriteText(JoinPath(folder, QStringLiteral("demo.fasta")), DemoFastaText(run.database),
                   error))
        return false;
    if (!WriteRun(JoinPath(folder, RunFileName()), run, error)) return false;
    const auto writeSearch = [&](const QString& into, const std::vector<DemoOutFile>& files) {
        for (const DemoOutFile& file : files) {
            const QString base = JoinPath(into, file.baseName);
            if (!WriteText(base + QStringLiteral(".dta"), DemoDtaText(run, file), error) ||
                !WriteText(base + QStringLiteral(".out"), DemoOutText(run, file), error))
                return false;
        }
        return true;
    };
    if (!writeSearch(results, MakeDemoResults(run)) ||
        !writeSearch(second, MakeDemoResults(run, DemoSecondSearch())))
        return false;
    for (const DemoMappingFile& file : MakeDemoPeptideMapping(run)) {
        const QString base = JoinPath(mapping, file.baseName);
        if (!WriteText(base + QStringLiteral(".dta"), DemoDtaText(run, file.ms2), error) ||
            !WriteText(base + QStringLiteral(".out"), DemoMappingOutText(run, file), error))
            return false;
    }
    return WriteText(JoinPath(folder, QStringLiteral("README.txt")), DemoReadmeText(run), error);
}

QString DemoReadmeText(const DemoRun& run) {
    int ms1 = 0;
    for (const RunSpectrum& s : run.scans) ms1 += s.msLevel == 1 ? 1 : 0;
    const double start = run.scans.empty() ? 0.0 : run.scans.front().retentionTime;
    const double end = run.scans.empty() ? 0.0 : run.scans.back().retentionTime;
    QString text;
    text += QStringLiteral("Demo data set\n=============\n\n");
    text += QStringLiteral(
        "A synthetic LC-MS/MS run of a tryptic digest of a few standard proteins, made by\n"
        "zar-make-demo from a fixed seed (the same files every time).\n\n"
        "  demo.mzML     the run\n"
        "  demo.fasta    its protein database (the sample's proteins, background proteins and\n"
        "                a reversed decoy of each)\n"
        "  results/      search results: one .out and one .dta file per MS2 scan\n"
        "  results2/     a second search of the run with a wider precursor window (File >\n"
        "                Open Multiple Results combines it with results/)\n"
        "  peptide-mapping/  peptide-mapping results of the same spectra (File > Open\n"
        "                Peptide Mapping Results)\n\n");
    text += QCFormat("Run: %d scans (%d MS1, %d MS2, %d MS3) from %.2f to %.2f min.\n\n",
                     static_cast<int>(run.scans.size()), ms1, static_cast<int>(run.ms2.size()),
                     static_cast<int>(run.ms3.size()), start, end);
    if (!run.ms3.empty()) {
        text += QStringLiteral(
            "MS3 scans (the MSn Browser lists them): a y ion of an MS2 scan's precursor.\n"
            "  scan  MS2 scan  precursor m/z  y ion m/z  y ion\n");
        for (const DemoMs3& m : run.ms3) {
            const QString& sequence = run.peptides[static_cast<size_t>(m.peptide)].sequence;
            text += QCFormat("  %4d  %8d  %13.2f  %9.2f  y%d %s\n", m.scan, m.ms2Scan, m.firstMz,
                             m.secondMz, m.residues, qPrintable(sequence.right(m.residues)));
        }
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("Proteins of the sample (relative amount):\n");
    for (const DemoProtein& p : run.database)
        if (p.target)
            text += QCFormat("  %-24s %-36s %.2f\n", qPrintable(p.reference),
                             qPrintable(p.description), p.abundance);
    if (run.intactScan > 0) {
        text += QCFormat(
            "\nIntact protein: scan %d holds %s (average mass %.1f Da) at charges %d to %d.\n",
            run.intactScan,
            qPrintable(run.database[static_cast<size_t>(run.intactProtein)].reference),
            run.intactMass, kDemoIntactChargeLow, kDemoIntactChargeHigh);
    }
    text += QLatin1Char('\n');
    text += QCFormat(
        "Light/heavy pairs: every cysteine peptide also comes with a heavy form, %.1f Da\n"
        "heavier per cysteine (written \"C*\" in the results, modification (C* +%.4f)), eluting\n"
        "with the light form. Ratio = light : heavy amount.\n\n",
        kDemoLabelShift, kDemoLabelShift);
    text += QStringLiteral(
        "  peptide                          z  light m/z  heavy m/z  RT (min)  light:heavy\n");
    for (const DemoPair& pair : run.pairs) {
        const DemoPeptide& light = run.peptides[static_cast<size_t>(pair.light)];
        const DemoPeptide& heavy = run.peptides[static_cast<size_t>(pair.heavy)];
        for (int z : light.charges) {
            const double lightMz = DemoMz(light.mass, z);
            if (lightMz < run.settings.ms1Low || lightMz > run.settings.ms1High) continue;
            text +=
                QCFormat("  %-32s %d  %9.4f  %9.4f  %8.2f  %11.3f\n", qPrintable(light.sequence), z,
                         lightMz, DemoMz(heavy.mass, z), light.retentionTime, pair.ratio);
        }
    }
    return text;
}

}  // namespace zar
