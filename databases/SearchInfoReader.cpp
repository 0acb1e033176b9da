#include "databases/SearchInfoReader.h"

#include "databases/DtaSpectrum.h"
#include "document/OutFileFormat.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"

namespace zar {

namespace {

// The first blank-free word of a text, leading blanks skipped.
QString FirstWord(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    while (end < t.size() && !t[end].isSpace()) ++end;
    return t.left(end);
}

// "%lf ~ %lf (+%d)": values missing at the end stay 0.
void ScanPrecursorLine(const QString& line, double& mass, double& tolerance, int& charge) {
    mass = tolerance = 0.0;
    charge = 0;
    double v[1];
    // The mass stands at the start of the text, or after the label " (M+H)+ mass = ".
    QString rest = line.trimmed();
    if (ScanNumbers(rest, v, 1) != 1) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) return;
        rest = line.mid(equals + 1).trimmed();
        if (ScanNumbers(rest, v, 1) != 1) return;
    }
    mass = v[0];
    rest = rest.mid(FirstWord(rest).size()).trimmed();
    if (!rest.startsWith(QLatin1Char('~'))) return;
    rest = rest.mid(1).trimmed();
    if (ScanNumbers(rest, v, 1) != 1) return;
    tolerance = v[0];
    rest = rest.mid(FirstWord(rest).size()).trimmed();
    if (!rest.startsWith(QLatin1String("(+"))) return;
    if (ScanNumbers(rest.mid(2), v, 1) == 1) WholeIntOf(v[0], charge);
}

// Header lines after which a file is taken to have no more header.
constexpr int kMaxHeaderLines = 40;

// The header lines of a ".out" file, found by their labels: the masses line names "(M+H)+", the
// search line stands right before it, the database line counts the proteins, the enzyme line
// names "Enzyme:". The two programs and their revisions put these on different lines, so their
// places are only the fall-back of a file without labels.
struct HeaderLines {
    QString search;
    QString masses;
    QString database;
    QString enzyme;
};

bool IsDatabaseLine(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1String("# amino acids")) || t.startsWith(QLatin1String("# bases")) ||
           t.contains(QLatin1String("# proteins ="));
}

void ReadHeaderLines(const QByteArray& bytes, OutHeaderLayout layout, HeaderLines& header) {
    TextLineReader reader = TextLineReader::fromBytes(bytes, kMaxOutHeaderLineLength);
    QStringList lines;
    QString line;
    while (lines.size() < kMaxHeaderLines && reader.readLine(line)) {
        // A line longer than the limit counts once; its rest is passed over.
        QString rest;
        while (reader.lastLineWasCut() && reader.readLine(rest)) {
        }
        if (line.startsWith(QLatin1String(" ---"))) break;
        lines << line;
    }
    const auto at = [&lines](qsizetype i) {
        return i >= 0 && i < lines.size() ? lines[i] : QString();
    };
    qsizetype masses = -1;
    for (qsizetype i = 0; i < lines.size() && masses < 0; ++i)
        if (lines[i].contains(QLatin1String("(M+H)+"))) masses = i;
    if (masses < 0) masses = layout == OutHeaderLayout::SearchEngine ? 6 : 4;
    qsizetype database = -1;
    for (qsizetype i = masses + 1; i < lines.size() && database < 0; ++i)
        if (IsDatabaseLine(lines[i])) database = i;
    if (database < 0) database = masses + 2;
    qsizetype enzyme = -1;
    for (qsizetype i = database + 1; i < lines.size() && enzyme < 0; ++i)
        if (lines[i].contains(QLatin1String("Enzyme:"))) enzyme = i;
    header.search = at(masses - 1);
    header.masses = at(masses);
    header.database = at(database);
    header.enzyme = at(enzyme);
}

// The header of the file at outPath; false when it cannot be read (a FIFO or device by the
// name of a result file is not waited for).
bool ReadHeaderLines(const QString& outPath, OutHeaderLayout layout, HeaderLines& header) {
    QByteArray bytes;
    if (!ReadRegularFile(outPath, bytes, kMaxOutFileBytes)) return false;
    ReadHeaderLines(bytes, layout, header);
    return true;
}

// The words after the second ", " of the database line: the database, and a second one when
// the first ends with ','.
QStringList DatabaseWords(const QString& line) {
    const qsizetype firstComma = line.indexOf(QLatin1String(", "));
    const qsizetype secondComma =
        firstComma < 0 ? -1 : line.indexOf(QLatin1String(", "), firstComma + 2);
    if (secondComma < 0) return {};
    const QString after = line.mid(secondComma + 2);
    QString database = FirstWord(after);
    if (!database.endsWith(QLatin1Char(','))) return {database};
    database.chop(1);
    const qsizetype more = after.indexOf(QLatin1String(", "));
    const QString second = more < 0 ? QString() : FirstWord(after.mid(more + 2));
    return second.isEmpty() ? QStringList{database} : QStringList{database, second};
}

// The texts of the search-information view.
void HeaderInfoText(const HeaderLines& header, SearchInfoText& info) {
    info.search = QStringLiteral("Search information: %1").arg(header.search);

    const QString& line = header.masses;
    double mass, tolerance;
    int charge;
    ScanPrecursorLine(line, mass, tolerance, charge);
    info.precursor = QCFormat("Precursor mass:  %.3lf +/- %.2lf", mass, tolerance);
    info.charge = QCFormat("Charge:  %d", charge);
    const qsizetype fragmentAt = line.indexOf(QLatin1String("fragment tol ="));
    double fragment[1];
    if (fragmentAt >= 0 && ScanNumbers(line.mid(fragmentAt + 14), fragment, 1) == 1)
        info.fragment = QCFormat("Fragment tolerance:  %.2lf", fragment[0]);
    else
        info.fragment = QStringLiteral("Fragment tolerance: ");
    info.massType = line.contains(QLatin1String("MONO/"))
                        ? QStringLiteral("Mass type:  Monoisotopic")
                        : QStringLiteral("Mass type:  Average");

    const QStringList databases = DatabaseWords(header.database);
    info.database = QStringLiteral("Database:  %1")
                        .arg(databases.isEmpty() ? QString() : FileNameOf(databases.last()));

    const qsizetype enzymeAt = header.enzyme.indexOf(QLatin1String("Enzyme:"));
    info.enzyme =
        QStringLiteral("Enzyme:  %1")
            .arg(enzymeAt < 0 ? QString() : FirstWord(header.enzyme.mid(enzymeAt + 7)));
}

}  // namespace

bool ReadSearchInfoText(const QString& outPath, OutHeaderLayout layout, SearchInfoText& info) {
    HeaderLines header;
    if (!ReadHeaderLines(outPath, layout, header)) return false;
    HeaderInfoText(header, info);
    return true;
}

void ReadSearchInfoBytes(const QByteArray& bytes, OutHeaderLayout layout, SearchInfoText& info) {
    HeaderLines header;
    ReadHeaderLines(bytes, layout, header);
    HeaderInfoText(header, info);
}

QStringList ReadOutDatabaseNames(const QString& outPath) {
    HeaderLines header;
    if (!ReadHeaderLines(outPath, OutHeaderLayout::SearchEngine, header)) return {};
    return DatabaseWords(header.database);
}

}  // namespace zar
