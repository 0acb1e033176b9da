#include "document/IndexedDatabaseHeader.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace zar {
namespace {

// The next line; the part of a line beyond the limit is dropped, never taken for a line start.
bool NextLine(TextLineReader& reader, QString& line) {
    if (!reader.readLine(line)) return false;
    QString rest;
    while (reader.lastLineWasCut() && reader.readLine(rest)) {
    }
    return true;
}

// The first blank-separated word from a position on, as "%s" reads it.
QString WordFrom(const QString& line, qsizetype start) {
    qsizetype begin = std::min(start, line.size());
    while (begin < line.size() && line[begin].isSpace()) ++begin;
    qsizetype end = begin;
    while (end < line.size() && !line[end].isSpace()) ++end;
    return line.mid(begin, end - begin);
}

std::optional<double> NumberFrom(const QString& line, qsizetype start) {
    const QByteArray text = line.mid(start).toLatin1();
    std::size_t used = 0;
    const double value = LeadingDouble(std::string_view(text.constData(), text.size()), &used);
    if (used == 0) return std::nullopt;
    return value;
}

std::optional<long long> IntegerFrom(const QString& line, qsizetype start) {
    const QByteArray text = line.mid(start).toLatin1();
    std::size_t used = 0;
    const long long value = LeadingInt(std::string_view(text.constData(), text.size()), 10, &used);
    if (used == 0) return std::nullopt;
    return value;
}

bool ParseHeader(TextLineReader& reader, IndexedDatabaseHeader& header);

}  // namespace

bool ReadIndexedDatabaseHeader(const QString& path, IndexedDatabaseHeader& header) {
    // A description is a few lines; only a regular file is read (a FIFO would never answer).
    constexpr qint64 kMaxHeaderFile = qint64{64} << 20;
    QByteArray bytes;
    if (path.isEmpty() || !ReadRegularFile(path, bytes, kMaxHeaderFile)) {
        std::fprintf(stderr, " Database file %s not open.\n\n", path.toLocal8Bit().constData());
        return false;
    }
    return ReadIndexedDatabaseHeaderBytes(bytes, header);
}

bool ReadIndexedDatabaseHeaderBytes(const QByteArray& bytes, IndexedDatabaseHeader& header) {
    TextLineReader reader = TextLineReader::fromBytes(bytes, kMaxHdrLineLength);
    return ParseHeader(reader, header);
}

namespace {

bool ParseHeader(TextLineReader& reader, IndexedDatabaseHeader& header) {
    QString line;
    if (!NextLine(reader, line)) return !reader.hadError();
    header.hasMagic = line.startsWith(QLatin1String("SORVEX_INDEXED_DATABASE"));
    while (NextLine(reader, line)) {
        qsizetype rest = 0;
        const auto starts = [&line, &rest](const char* key) {
            if (!line.startsWith(QLatin1String(key))) return false;
            rest = static_cast<qsizetype>(qstrlen(key));
            return true;
        };
        // The names and the count follow their key after one separator character.
        if (starts("OrigDatabaseName:")) {
            header.origDatabaseName = WordFrom(line, rest + 1);
        } else if (starts("IndexName:")) {
            header.indexName = WordFrom(line, rest + 1);
        } else if (starts("PeptideTableName:")) {
            header.peptideTableName = WordFrom(line, rest + 1);
        } else if (starts("NumberOfProteins:")) {
            if (const auto n = IntegerFrom(line, rest + 1))
                header.numberOfProteins = std::max<long long>(*n, 0);
        } else if (starts("OrigDatabaseType:")) {
            header.origDatabaseType = WordFrom(line, rest);
        } else if (starts("EnzymeName:")) {
            header.enzymeName = WordFrom(line, rest);
        } else if (starts("MassType:")) {
            header.massType = WordFrom(line, rest);
        } else if (starts("NumIntCleavageSites:")) {
            if (const auto n = IntegerFrom(line, rest))
                header.numIntCleavageSites =
                    static_cast<int>(std::clamp<long long>(*n, INT_MIN, INT_MAX));
        } else if (starts("StaticModifications:")) {
            header.staticModifications = line.mid(rest + 1);
        } else if (starts("MinimumMass:")) {
            if (const auto v = NumberFrom(line, rest)) header.minimumMass = v;
        } else if (starts("MaximumMass:")) {
            if (const auto v = NumberFrom(line, rest)) header.maximumMass = v;
        } else if (starts("DifferentialModifications:")) {
            header.differentialModifications = line.mid(rest);
        }
    }
    return !reader.hadError();
}

}  // namespace

}  // namespace zar
