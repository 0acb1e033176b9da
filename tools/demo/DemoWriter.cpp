#include "DemoWriter.h"

#include "DemoResults.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zar {

namespace {

// The new set is written here, inside the target folder (so on the same disk), and takes the
// old one's place only once every file of it is whole.
constexpr const char* kStagingPattern = ".demo-new-XXXXXX";
constexpr const char* kStagingPrefix = ".demo-new-";

QString RunFileName() {
    return QString::fromLatin1(kDemoRunName) + QStringLiteral(".mzML");
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool WriteText(const QString& path, const QString& text, QString& error) {
    QString why;
    // A data set of thousands of files that can be written again: no waiting for the disk.
    if (WriteTextFileUnsynced(path, text, &why)) return true;
    error = QStringLiteral("Cannot write %1: %2").arg(Shown(path), why);
    return false;
}

bool WriteRun(const QString& path, const DemoRun& run, QString& error) {
    QString why;
    const bool written = WriteRunFile(
        path, static_cast<int>(run.scans.size()),
        [&run](int index) { return run.scans[static_cast<size_t>(index)]; }, why);
    if (written && QFileInfo(path).isFile()) return true;
    error = QStringLiteral("Cannot write %1: %2")
                .arg(Shown(path), why.isEmpty() ? QStringLiteral("no file") : why);
    return false;
}

bool MakeFolder(const QString& path, QString& error) {
    if (QDir().mkpath(path)) return true;
    error = QStringLiteral("Cannot create the folder %1").arg(Shown(path));
    return false;
}

// A demo file of a results folder: what a new set replaces.
bool IsDemoResultFile(const QString& name) {
    const QString stem = QString::fromLatin1(kDemoRunName) + QLatin1Char('.');
    return name.startsWith(stem) &&
           (name.endsWith(QLatin1String(".out")) || name.endsWith(QLatin1String(".dta")));
}

// Everything of `from` (files hard-linked, else copied; folders made) into `to`, where `to`
// has no entry of that name yet: other files of a results folder outlive a new demo set.
bool CarryOver(const QString& from, const QString& to, bool demoFolder, QString& error) {
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString name = entry.fileName();
        if (demoFolder && IsDemoResultFile(name)) continue;
        const QString target = JoinPath(to, name);
        if (QFileInfo::exists(target)) continue;
        if (entry.isSymLink()) {
            if (QFile::link(entry.symLinkTarget(), target)) continue;
        } else if (entry.isDir()) {
            if (!MakeFolder(target, error) ||
                !CarryOver(entry.filePath(), target, false, error))
                return false;
            continue;
        } else if (::link(QFile::encodeName(entry.filePath()).constData(),
                          QFile::encodeName(target).constData()) == 0 ||
                   QFile::copy(entry.filePath(), target)) {
            continue;
        }
        error = QStringLiteral("Cannot keep %1 in the new demo data").arg(Shown(entry.filePath()));
        return false;
    }
    return true;
}

// Puts `staged` where `target` is. A file is replaced in one step; a folder is swapped with
// the old one in one step where the file system can, else the old one is moved aside to
// `aside` first. What was at `target` ends up at `staged` or `aside`, to be removed.
bool TakePlace(const QString& staged, const QString& target, const QString& aside,
               QString& error) {
    const QByteArray from = QFile::encodeName(staged);
    const QByteArray to = QFile::encodeName(target);
    const QFileInfo old(target);
    if (old.isDir() && !old.isSymLink()) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) ==
            0)
            return true;
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
            error = QStringLiteral("Cannot replace %1: %2")
                        .arg(Shown(target), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (::rename(to.constData(), QFile::encodeName(aside).constData()) != 0) {
            error = QStringLiteral("Cannot replace %1: %2")
                        .arg(Shown(target), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    if (::rename(from.constData(), to.constData()) == 0) return true;
    error = QStringLiteral("Cannot replace %1: %2")
                .arg(Shown(target), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

// What a run ended by force left behind: its unfinished set.
void RemoveStaleStaging(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QString::fromLatin1(kStagingPrefix) + QLatin1Char('*')},
                       QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(dir.filePath(name)).removeRecursively();
}

// The whole set into `into`, an empty folder.
bool WriteSet(const QString& into, const DemoRun& run, QString& error) {
    const QString results = JoinPath(into, QString::fromLatin1(kDemoResultsFolder));
    const QString second = JoinPath(into, QString::fromLatin1(kDemoSecondResultsFolder));
    const QString mapping = JoinPath(into, QString::fromLatin1(kDemoPeptideMappingFolder));
    for (const QString& made : {results, second, mapping})
        if (!MakeFolder(made, error)) return false;
    if (!WriteText(JoinPath(into, QStringLiteral("demo.fasta")), DemoFastaText(run.database),
                   error) ||
        !WriteRun(JoinPath(into, RunFileName()), run, error))
        return false;
    const auto writeSearch = [&](const QString& folder, const std::vector<DemoOutFile>& files) {
        for (const DemoOutFile& file : files) {
            const QString base = JoinPath(folder, file.baseName);
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
    return WriteText(JoinPath(into, QStringLiteral("README.txt")), DemoReadmeText(run), error);
}

}  // namespace

bool WriteDemoFolder(const QString& folder, const DemoRun& run, bool force, QString& error) {
    if (folder.isEmpty()) {
        error = QStringLiteral("No folder was given for the demo data");
        return false;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        error = QStringLiteral("%1 is not a folder").arg(Shown(folder));
        return false;
    }
    if (info.exists() && !force) {
        error = QStringLiteral(
                    "The folder %1 already exists; use --force to write the demo "
                    "data into it")
                    .arg(Shown(folder));
        return false;
    }
    if (!MakeFolder(folder, error)) return false;
    RemoveStaleStaging(folder);
    // Nothing of an earlier set is touched until the new one is whole: a full disk or a
    // program ended by force leaves the old set as it was.
    QTemporaryDir staging(JoinPath(folder, QString::fromLatin1(kStagingPattern)));
    if (!staging.isValid()) {
        error = QStringLiteral("Cannot write in the folder %1: %2")
                    .arg(Shown(folder), staging.errorString());
        return false;
    }
    if (!WriteSet(staging.path(), run, error)) return false;
    const QStringList folders{QString::fromLatin1(kDemoResultsFolder),
                              QString::fromLatin1(kDemoSecondResultsFolder),
                              QString::fromLatin1(kDemoPeptideMappingFolder)};
    for (const QString& name : folders)
        if (!CarryOver(JoinPath(folder, name), JoinPath(staging.path(), name), true, error))
            return false;
    // The run goes last: a set with a run is a set whose other files are in place.
    const QString aside = JoinPath(staging.path(), QStringLiteral("old"));
    if (!MakeFolder(aside, error)) return false;
    for (const QString& name : folders + QStringList{QStringLiteral("demo.fasta"),
                                                     QStringLiteral("README.txt"), RunFileName()})
        if (!TakePlace(JoinPath(staging.path(), name), JoinPath(folder, name),
                       JoinPath(aside, name), error))
            return false;
    return true;
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
