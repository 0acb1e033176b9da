#include "databases/IndexedDatabase.h"

#include "databases/FastaReader.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

namespace zar {

namespace {

// A stored path as it reads on this computer; a stored folder that does not exist here is
// looked for beside the description file.
QString LocatePath(const QString& stored, const QString& besideFolder) {
    const QString portable = PortablePath(stored);
    if (QFileInfo(portable).isAbsolute()) {
        if (QFileInfo::exists(portable) || besideFolder.isEmpty()) return portable;
        const QString beside = JoinPath(besideFolder, FileNameOf(stored));
        return QFileInfo::exists(beside) ? beside : portable;
    }
    return besideFolder.isEmpty() ? portable : JoinPath(besideFolder, portable);
}

}  // namespace

CIndexedDatabase::~CIndexedDatabase() {
    close();
}

void CIndexedDatabase::close() {
    if (map_ && index_.isOpen()) index_.unmap(const_cast<uchar*>(map_));
    map_ = nullptr;
    index_.close();
    fasta_.close();
    indexBytes_.clear();
    fastaBytes_.close();
    fastaDevice_ = nullptr;
    records_ = 0;
    proteins_ = 0;
}

QString CIndexedDatabase::messageFor(OpenResult result) {
    switch (result) {
        case OpenResult::HdrUnreadable:
            return QStringLiteral("Unable to open the indexed database");
        case OpenResult::MissingParameters:
            return QStringLiteral("Unable to access the indexed database parameters");
        case OpenResult::IndexUnreadable:
            return QStringLiteral("Unable to access the database index");
        case OpenResult::FastaUnreadable:
            return QStringLiteral("Unable to open the fasta database");
        default:
            return QString();
    }
}

CIndexedDatabase::OpenResult CIndexedDatabase::open(const QString& name) {
    close();
    if (name.isEmpty()) return OpenResult::EmptyName;
    const QString portableName = PortablePath(name);
    const QString folder = FolderOf(name);
    IndexedDatabaseHeader header;
    if (name.contains(QLatin1String(".hdr"))) {
        if (!ReadIndexedDatabaseHeader(portableName, header)) return OpenResult::HdrUnreadable;
        if (!header.origDatabaseName.isEmpty())
            header.origDatabaseName = LocatePath(header.origDatabaseName, folder);
    } else {
        header.origDatabaseName = portableName;
        header.indexName = FileNameOf(name) + QStringLiteral(".idx");
    }
    if (header.origDatabaseName.isEmpty() || header.indexName.isEmpty())
        return OpenResult::MissingParameters;

    index_.setFileName(LocatePath(header.indexName, folder));
    if (!index_.open(QIODevice::ReadOnly)) return OpenResult::IndexUnreadable;
    const qint64 indexSize = index_.size();
    records_ = indexSize / kFastaIndexRecordSize;
    if (records_ > 0) {
        map_ = index_.map(0, records_ * kFastaIndexRecordSize);
        if (!map_) {
            close();
            return OpenResult::MappingFailed;
        }
    }
    fasta_.setFileName(header.origDatabaseName);
    // Unbuffered: an entry is read in blocks straight from where it starts.
    if (!fasta_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        close();
        return OpenResult::FastaUnreadable;
    }
    fastaDevice_ = &fasta_;
    countEntries(header.numberOfProteins);
    return OpenResult::Ok;
}

CIndexedDatabase::OpenResult CIndexedDatabase::openBytes(const QByteArray& fasta,
                                                         const QByteArray& index,
                                                         qint64 proteins) {
    close();
    indexBytes_ = index;
    records_ = indexBytes_.size() / kFastaIndexRecordSize;
    if (records_ > 0) map_ = reinterpret_cast<const uchar*>(indexBytes_.constData());
    fastaBytes_.setData(fasta);
    fastaBytes_.open(QIODevice::ReadOnly);
    fastaDevice_ = &fastaBytes_;
    countEntries(proteins);
    return OpenResult::Ok;
}

void CIndexedDatabase::countEntries(qint64 described) {
    const qint64 entries = std::max<qint64>(records_ - 1, 0);
    qint64 proteins = described > 0 ? described : records_;
    // Never more entries than the index describes.
    proteins = std::min(proteins, entries);
    proteins_ = static_cast<int>(std::min<qint64>(proteins, INT_MAX));
}

bool CIndexedDatabase::readEntry(int n, FastaEntry& entry) {
    if (!map_ || !fastaDevice_ || n < 1 || n > proteins_ || n >= records_) return false;
    const FastaIndexRecord own = ReadFastaIndexRecord(map_ + qint64(n - 1) * kFastaIndexRecordSize);
    const FastaIndexRecord next = ReadFastaIndexRecord(map_ + qint64(n) * kFastaIndexRecordSize);
    const qint64 fastaSize = fastaDevice_->size();
    const qint64 start = own.offset;
    const qint64 headerLength = own.headerLength;
    // An index that does not fit its FASTA file is refused, not followed; the checks never add
    // the file's numbers before knowing they are in range.
    if (start < 1 || start > fastaSize || headerLength < 0 || headerLength > fastaSize - start)
        return false;
    const qint64 sequenceStart = start + headerLength;
    if (next.offset < sequenceStart || next.offset > fastaSize) return false;

    QByteArray raw(static_cast<qsizetype>(std::min<qint64>(headerLength, 4 * kMaxHeaderChars)),
                   Qt::Uninitialized);
    if (!fastaDevice_->seek(start) || fastaDevice_->read(raw.data(), raw.size()) != raw.size()) return false;
    if (raw.endsWith('\n')) raw.chop(1);
    entry.header = FastaHeaderText(raw);
    entry.mass = own.mass;

    // The sequence runs up to the next entry's offset; the '>' before it is no letter, and the
    // last entry runs to the end of the file (closing offset = file size).
    entry.residues.clear();
    if (!fastaDevice_->seek(sequenceStart)) return false;
    try {
        std::vector<char> block(static_cast<std::size_t>(
            std::clamp<qint64>(next.offset - sequenceStart, 1, kFastaBlockSize)));
        for (qint64 left = next.offset - sequenceStart; left > 0;) {
            const qint64 want = std::min<qint64>(left, static_cast<qint64>(block.size()));
            const qint64 got = fastaDevice_->read(block.data(), want);
            if (got <= 0) return false;
            AppendLetters(entry.residues, block.data(), got);
            left -= got;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace zar
