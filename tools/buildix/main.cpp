// buildix4: builds an indexed database from a FASTA file with the settings of "buildix.params"
// in the current folder.

#include "IndexedDatabaseBuilder.h"

#include "core/MessageBox.h"
#include "search/BuildixSettings.h"
#include "search/ParamFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

constexpr const char* kUsage =
    "Usage: buildix4 -U<+|-> -D<fasta> -O<indexed.hdr> [-E<shortest> -S<longest>]\n"
    "Builds the indexed database <indexed.hdr> from <fasta> with the settings of buildix.params\n"
    "in the current folder (the built-in defaults when there is none).\n"
    "  -U-  keep peptides that occur more than once; -U+ write each peptide once\n"
    "  -E, -S  no enzyme: every sub-sequence of <shortest> to <longest> residues\n"
    "buildix4 --default-params <file> writes the default buildix.params.\n";

constexpr const char* kParamFileName = "buildix.params";

// Set by a request to stop (SIGTERM, SIGINT): the build ends at its next check and takes away
// the files it has made, so that a stopped build leaves nothing half-written.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void RequestStop(int) {
    stopRequested.store(true);
}

int Fail(const QString& text) {
    std::fprintf(stderr, "buildix4: %s\n", qPrintable(text));
    return 1;
}

bool ReadLength(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Messages of the parameter-file layer go to the error stream: nobody is there to answer.
    zar::SetMessageBoxHandler([](const zar::MessageBoxRequest& r) {
        std::fprintf(stderr, "buildix4: %s\n", qPrintable(r.text.trimmed()));
        return zar::DefaultAnswer(r.style);
    });

    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--default-params")) {
        zar::CParamFile defaults;
        defaults.LoadDefaults(zar::ParamFileType::Buildix);
        return defaults.SaveAs(args[1]) ? 0 : 1;
    }

    zar::IndexedDatabaseBuildOptions options;
    bool lengthGiven = false;
    for (const QString& arg : args) {
        const QString value = arg.mid(2);
        if (arg.startsWith(QLatin1String("-U")) &&
            (value == QLatin1String("-") || value == QLatin1String("+"))) {
            options.keepDuplicates = value == QLatin1String("-");
        } else if (arg.startsWith(QLatin1String("-D")) && !value.isEmpty()) {
            options.fastaPath = value;
        } else if (arg.startsWith(QLatin1String("-O")) && !value.isEmpty()) {
            options.indexedName = value;
        } else if (arg.startsWith(QLatin1String("-E")) && ReadLength(value, options.minLength)) {
            lengthGiven = true;
        } else if (arg.startsWith(QLatin1String("-S")) && ReadLength(value, options.maxLength)) {
            lengthGiven = true;
        } else {
            std::fputs(kUsage, arg == QLatin1String("--help") ? stdout : stderr);
            return arg == QLatin1String("--help") ? 0 : 2;
        }
    }
    options.useEnzyme = !lengthGiven;

    zar::CParamFile params;
    if (QFileInfo::exists(QString::fromLatin1(kParamFileName)))
        params.Open(QString::fromLatin1(kParamFileName));
    else
        params.LoadDefaults(zar::ParamFileType::Buildix);
    const zar::BuildixReadResult read = zar::ReadBuildixSettings(params, options.settings);
    if (read.diffOutOfRange || read.staticOutOfRange)
        return Fail(zar::BuildixOutOfRangeMessage(read).simplified());
    if (options.fastaPath.isEmpty()) options.fastaPath = options.settings.databaseName;
    if (options.fastaPath.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.indexedName.isEmpty())
        options.indexedName = options.fastaPath + QStringLiteral(".hdr");
    if (options.useEnzyme && options.settings.enzymeNumber > 0 &&
        !zar::ReadBuildixEnzyme(params, options.settings.enzymeNumber, options.enzyme))
        return Fail(QStringLiteral("enzyme %1 is not listed in %2")
                        .arg(options.settings.enzymeNumber)
                        .arg(QString::fromLatin1(kParamFileName)));

    zar::WorkProgress progress;
    progress.onStatus = [](const QString& text) {
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    };
    progress.cancelFlag = &stopRequested;
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    const zar::IndexedDatabaseBuildResult result = zar::BuildIndexedDatabase(options, progress);
    if (!result.ok) return Fail(result.message);
    return 0;
}
