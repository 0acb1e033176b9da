#include "DatabaseHeader.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QFile>

#include <cstdio>

namespace zar {
namespace {

constexpr qint64 kValidityLineLength = 1024;
constexpr signed char kHighestControlByte = 3;

void ReportNotOpen(const QString& path) {
    std::fprintf(stderr, " Database file %s not open.\n\n", path.toLocal8Bit().constData());
}

bool ReadMassRange(TextLineReader& reader, double& minimum, double& maximum);

}  // namespace

bool IsValidDatabaseFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        ReportNotOpen(path);
        return false;
    }
    return IsValidDatabaseBytes(file.readLine(kValidityLineLength));
}

bool IsValidDatabaseBytes(const QByteArray& bytes) {
    const QByteArray line = bytes.left(kValidityLineLength - 1);
    if (line.isEmpty()) return false;
    if (line.startsWith(kIndexedDatabaseMagic)) return true;
    const auto first = static_cast<signed char>(line[0]);
    return first == '>' || first <= kHighestControlByte;
}

void ApplyHeaderStaticModifications(const QString& text, ModificationTables& tables) {
    if (text.size() <= 1) {
        for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
            tables.SetStaticModification(i, 0.0);
        }
        return;
    }
    const QStringList tokens = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& token : tokens) {
        if (token.startsWith(QLatin1String("Cterm="))) {
            tables.SetStaticModification(ModificationTables::kCtermPeptideEntry,
                                         LeadingDouble(token.mid(6)));
        } else if (token.startsWith(QLatin1String("Nterm="))) {
            tables.SetStaticModification(ModificationTables::kNtermPeptideEntry,
                                         LeadingDouble(token.mid(6)));
        } else {
            const int entry = ModificationTables::StaticEntryOfResidue(token.front());
            if (entry >= 0) tables.SetStaticModification(entry, LeadingDouble(token.mid(2)));
        }
    }
}

int ParseHeaderDifferentialModifications(
    const QString& text,
    std::array<DifferentialModification, ModificationTables::kDifferentialCount>& out) {
    out.fill({});
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (text.size() <= 1 || open < 0) return 0;
    const int groups = static_cast<int>(text.mid(open).count(QLatin1Char('(')));
    if (groups < 1 || groups > ModificationTables::kDifferentialCount) return 0;

    // "(%s %lf) (%s %lf) ...": each group needs its "(" and both values; reading stops at the
    // first group that does not match.
    const QString s = text.mid(open);
    qsizetype pos = 0;
    const auto skipBlanks = [&s, &pos] {
        while (pos < s.size() && s[pos].isSpace()) ++pos;
    };
    int read = 0;
    for (int g = 0; g < groups; ++g) {
        if (g > 0) skipBlanks();
        if (pos >= s.size() || s[pos] != QLatin1Char('(')) break;
        ++pos;
        skipBlanks();
        const qsizetype wordStart = pos;
        while (pos < s.size() && !s[pos].isSpace()) ++pos;
        QString residues = s.mid(wordStart, pos - wordStart);
        if (residues.isEmpty() || residues.size() > kMaxHeaderResidues) break;
        const QByteArray rest = s.mid(pos).toLatin1();
        std::size_t used = 0;
        const double mass = LeadingDouble(std::string_view(rest.constData(), rest.size()), &used);
        if (used == 0) break;
        pos += static_cast<qsizetype>(used);
        if (residues.endsWith(QLatin1Char('*'))) residues.chop(1);
        out[static_cast<std::size_t>(read)] = {residues, mass};
        ++read;
        if (pos >= s.size() || s[pos] != QLatin1Char(')')) break;
        ++pos;
    }
    return read;
}

bool ReadHeaderMassRange(const QString& path, double& minimum, double& maximum) {
    TextLineReader reader;
    if (path.isEmpty() || !reader.open(path)) return false;
    return ReadMassRange(reader, minimum, maximum);
}

bool ReadHeaderMassRangeBytes(const QByteArray& bytes, double& minimum, double& maximum) {
    TextLineReader reader = TextLineReader::fromBytes(bytes);
    return ReadMassRange(reader, minimum, maximum);
}

namespace {

bool ReadMassRange(TextLineReader& reader, double& minimum, double& maximum) {
    long long low = 0;
    long long high = 0;
    QString line;
    while (reader.readLine(line)) {
        if (line.startsWith(QLatin1String("EnzymeName:"))) break;
        if (line.startsWith(QLatin1String("MinimumMass:"))) low = LeadingInt(line.mid(12));
        if (line.startsWith(QLatin1String("MaximumMass:"))) high = LeadingInt(line.mid(12));
        if (low != 0 && high != 0) break;
    }
    if (low == 0 || high == 0) return false;
    minimum = static_cast<double>(low);
    maximum = static_cast<double>(high);
    return true;
}

}  // namespace

}  // namespace zar
