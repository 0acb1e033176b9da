// zar-make-demo: writes the demo data set (run, database, results folder) into a folder.

#include "DemoWriter.h"
#include "document/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "Usage: zar-make-demo [--force] [--set-folders] <folder>\n"
    "Writes the demo data set into <folder>: demo.mzML, demo.fasta, results/ and README.txt.\n"
    "An existing folder is refused unless --force is given.\n"
    "--set-folders points the program's results, database and sequence folders at the data set.\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    bool force = false;
    bool setFolders = false;
    QString folder;
    const QStringList args = app.arguments().mid(1);
    for (const QString& arg : args) {
        if (arg == QLatin1String("--force")) {
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
    // With --set-folders an existing data set is kept: only the settings are pointed at it.
    const bool keep = setFolders && !force && QDir(folder).exists(QStringLiteral("demo.mzML"));
    if (!keep && !zar::WriteDemoFolder(folder, zar::MakeDemoRun(), force, error)) {
        std::fprintf(stderr, "zar-make-demo: %s\n", qPrintable(error));
        return 1;
    }
    if (setFolders) {
        const QString absolute = QDir(folder).absolutePath();
        zar::SetSorvexResultsDirectory(absolute + QStringLiteral("/results"));
        zar::SetDatabaseDirectory(absolute + QLatin1Char('/'));
        zar::SetSequenceDirectory(absolute);
    }
    std::printf(keep ? "Demo data kept in %s\n" : "Demo data written to %s\n", qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}
