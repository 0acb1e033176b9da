// zar-make-demo: writes the demo data set (run, database, results folder) into a folder.

#include "DemoWriter.h"
#include "document/Settings.h"
#include "core/Paths.h"
#include "registry/RegKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "Usage: zar-make-demo [--force] [--set-folders] [--scans N] [--peaks N] [--out-files N]\n"
    "                     <folder>\n"
    "Writes the demo data set into <folder>: demo.mzML, demo.fasta, results/, results2/,\n"
    "peptide-mapping/ and README.txt.\n"
    "An existing folder is refused unless --force is given.\n"
    "--set-folders points the program's results, peptide results, database and sequence\n"
    "folders at the data set.\n"
    "For load tests:\n"
    "--scans N      a run of exactly N scans (a longer gradient, as dense in peptides)\n"
    "--peaks N      exactly N peaks in every scan (noise added, or the strongest kept)\n"
    "--out-files N  N .out and .dta files in results/ (the MS2 results repeated under later\n"
    "               scan numbers when N is larger than the run's MS2 scans)\n";

// The value of a counting option; false when it is missing or not a whole number above 0.
bool TakeCount(const QStringList& args, qsizetype& at, int& count) {
    if (at + 1 >= args.size()) return false;
    bool ok = false;
    count = args[++at].toInt(&ok);
    return ok && count > 0;
}

// Points the program's folders at the data set; false when the settings could not be saved
// (they are read back from the file to know).
bool SetFolders(const QString& absolute) {
    const QString results = absolute + QStringLiteral("/results");
    const QString peptides = absolute + QStringLiteral("/peptide-mapping");
    const QString databases = absolute + QLatin1Char('/');
    zar::SetSorvexResultsDirectory(results);
    zar::SetPeptideResultsDirectory(peptides);
    zar::SetDatabaseDirectory(databases);
    zar::SetSequenceDirectory(absolute);
    zar::ResetRegistryCache();
    const auto same = [](const QString& stored, const QString& set) {
        return QDir::cleanPath(zar::PortablePath(stored)) == QDir::cleanPath(set);
    };
    return same(zar::GetSorvexResultsDirectory(), results) &&
           same(zar::GetPeptideResultsDirectory(), peptides) &&
           same(zar::GetDatabaseDirectory(), databases) &&
           same(zar::GetSequenceDirectory(), absolute);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    bool force = false;
    bool setFolders = false;
    QString folder;
    zar::DemoSettings settings;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype at = 0; at < args.size(); ++at) {
        const QString& arg = args[at];
        const bool counted = arg == QLatin1String("--scans") || arg == QLatin1String("--peaks") ||
                             arg == QLatin1String("--out-files");
        int count = 0;
        if (counted && !TakeCount(args, at, count)) {
            std::fprintf(stderr, "zar-make-demo: %s needs a whole number above 0\n",
                         qPrintable(arg));
            return 2;
        }
        if (arg == QLatin1String("--scans")) {
            settings.scanCount = count;
        } else if (arg == QLatin1String("--peaks")) {
            settings.peaksPerScan = count;
        } else if (arg == QLatin1String("--out-files")) {
            settings.outFileCount = count;
        } else if (arg == QLatin1String("--force")) {
            force = true;
        } else if (arg == QLatin1String("--set-folders")) {
            setFolders = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg.startsWith(QLatin1Char('-')) || !folder.isEmpty()) {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            folder = arg;
        }
    }
    if (folder.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QString error;
    // With --set-folders an existing data set is kept: only the settings are pointed at it. A
    // set written before some of the demo's folders existed is written again, whole.
    const QDir existing(folder);
    const bool written = existing.exists(QStringLiteral("demo.mzML"));
    const bool complete =
        written && existing.exists(QString::fromLatin1(zar::kDemoSecondResultsFolder)) &&
        existing.exists(QString::fromLatin1(zar::kDemoPeptideMappingFolder));
    const bool keep = setFolders && !force && complete;
    const bool replace = force || (setFolders && written);
    if (!keep && !zar::WriteDemoFolder(folder, zar::MakeDemoRun(settings), replace, error)) {
        std::fprintf(stderr, "zar-make-demo: %s\n", qPrintable(error));
        return 1;
    }
    if (setFolders && !SetFolders(QDir(folder).absolutePath())) {
        std::fprintf(stderr, "zar-make-demo: the program's folders could not be set: %s\n",
                     qPrintable(zar::RegistryLastError()));
        return 1;
    }
    std::printf(keep ? "Demo data kept in %s\n" : "Demo data written to %s\n", qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}
