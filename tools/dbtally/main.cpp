// dbtally: counts the proteins of a database (a FASTA file, or an indexed database through its
// FASTA file), prints the count and reports it to the program that started it.

#include "tools/common/DatabaseTally.h"
#include "tools/common/ToolArguments.h"
#include "tools/common/ToolReporter.h"

#include "core/Numbers.h"
#include "document/ZarMessages.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "Usage: dbtally <database>\n"
    "Counts the proteins of a FASTA database (or of the FASTA file of an indexed database,\n"
    "a .hdr file) and prints the count; started by the program, it also reports the count.\n"
    "Exit codes: 0 counted, 2 bad command line, 4 the database cannot be read.\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    zar::UseCNumericLocale();
    const zar::CToolReporter reporter("dbtally", zar::kRegDatabaseSize, false);
    const zar::CToolArguments arguments(app.arguments().mid(1));
    if (arguments.helpAsked()) {
        std::fputs(kUsage, stdout);
        return zar::kToolOk;
    }
    const QStringList words = arguments.words();
    if (words.size() != 1 || !arguments.unknownFlags("").isEmpty()) {
        std::fputs(kUsage, stderr);
        return zar::kToolUsage;
    }
    zar::DatabaseTally tally;
    QString error;
    if (!zar::TallyDatabase(words.front(), tally, error))
        return reporter.fail(zar::kToolNoDatabase, error);
    reporter.post(0, tally.proteins);
    std::printf("%d\n", tally.proteins);
    return zar::kToolOk;
}
