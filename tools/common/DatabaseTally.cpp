#include "DatabaseTally.h"

#include "core/Paths.h"
#include "databases/FastaReader.h"
#include "databases/IndexedDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <climits>

namespace zar {

bool DatabaseFastaPath(const QString& path, QString& fasta, QString& error) {
    const QString portable = PortablePath(path);
    if (!portable.endsWith(QLatin1String(".hdr"), Qt::CaseInsensitive)) {
        fasta = portable;
        return true;
    }
    CIndexedDatabase indexed;
    const CIndexedDatabase::OpenResult opened = indexed.open(path);
    if (opened != CIndexedDatabase::OpenResult::Ok) {
        const QString why = CIndexedDatabase::messageFor(opened);
        error = QStringLiteral("%1: %2").arg(
            why.isEmpty() ? QStringLiteral("Unable to open the indexed database") : why,
            QDir::toNativeSeparators(portable));
        return false;
    }
    fasta = indexed.fastaPath();
    return true;
}

bool TallyDatabase(const QString& path, DatabaseTally& tally, QString& error,
                   const std::function<void(const QByteArray& header)>& onHeader) {
    tally = DatabaseTally();
    if (path.isEmpty()) {
        error = QStringLiteral("No database was given");
        return false;
    }
    if (!DatabaseFastaPath(path, tally.fastaPath, error)) return false;
    CFastaReader reader;
    if (QFileInfo(tally.fastaPath).isDir() || !reader.open(tally.fastaPath)) {
        error = QStringLiteral("Cannot read the database %1")
                    .arg(QDir::toNativeSeparators(tally.fastaPath));
        return false;
    }
    FastaEntryStart entry;
    qint64 proteins = 0;
    while (reader.nextEntry(entry)) {
        ++proteins;
        if (onHeader) onHeader(entry.header);
        const char* data = nullptr;
        qint64 size = 0;
        while (reader.sequencePiece(data, size)) {
            for (qint64 i = 0; i < size; ++i) {
                const char c = data[i];
                if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ++tally.residues;
            }
        }
    }
    if (reader.readFailed()) {
        error = QStringLiteral("Cannot read the database %1")
                    .arg(QDir::toNativeSeparators(tally.fastaPath));
        return false;
    }
    tally.proteins = static_cast<int>(std::min<qint64>(proteins, INT_MAX));
    return true;
}

}  // namespace zar
