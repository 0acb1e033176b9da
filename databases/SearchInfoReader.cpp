#include "databases/SearchInfoReader.h"

#include "databases/DtaSpectrum.h"

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

}  // namespace

bool ReadSearchInfoText(const QString& outPath, OutHeaderLayout layout, SearchInfoText& info) {
    TextLineReader reader;
    if (!reader.open(outPath, kMaxOutHeaderLineLength)) return false;
    QString line;
    const auto next = [&] {
        // A line longer than the limit counts once; its rest is passed over.
        line.clear();
        if (!reader.readLine(line)) return false;
        QString rest;
        while (reader.lastLineWasCut() && reader.readLine(rest)) {
        }
        return true;
    };

    const int before = layout == OutHeaderLayout::SearchEngine ? 6 : 4;
    for (int i = 0; i < before; ++i) next();
    info.search = QStringLiteral("Search information: %1").arg(line);

    next();
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

    next();
    next();
    QString database;
    const qsizetype firstComma = line.indexOf(QLatin1String(", "));
    const qsizetype secondComma =
        firstComma < 0 ? -1 : line.indexOf(QLatin1String(", "), firstComma + 2);
    if (secondComma >= 0) {
        const QString after = line.mid(secondComma + 2);
        database = FirstWord(after);
        if (database.endsWith(QLatin1Char(','))) {
            const qsizetype more = after.indexOf(QLatin1String(", "));
            const QString second = more < 0 ? QString() : FirstWord(after.mid(more + 2));
            database.chop(1);
            if (!second.isEmpty()) database = second;
        }
    }
    info.database = QStringLiteral("Database:  %1").arg(FileNameOf(database));

    next();
    next();
    next();
    const qsizetype enzymeAt = line.indexOf(QLatin1String("Enzyme:"));
    info.enzyme = QStringLiteral("Enzyme:  %1")
                      .arg(enzymeAt < 0 ? QString() : FirstWord(line.mid(enzymeAt + 7)));
    return true;
}

}  // namespace zar
