#include "databases/FastaIndexBuilder.h"

#include "databases/FastaIndexRecord.h"

#include "core/MessageBox.h"
#include "core/TextFile.h"

#include <QFileInfo>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace zar {

namespace {

// Records are written in batches of this many bytes.
constexpr qsizetype kWriteBatchBytes = 1 << 16;

void AppendRecord(QByteArray& out, const FastaIndexRecord& record) {
    char bytes[sizeof record];
    std::memcpy(bytes, &record, sizeof record);
    out.append(bytes, sizeof record);
}

// Sums residue masses in four interleaved partial sums (four times the speed of one chain of
// additions). Byte k of an entry always goes to sum k mod 4, so the result does not depend on
// how the entry was split into pieces.
class ResidueAccumulator {
  public:
    explicit ResidueAccumulator(const ResidueMassTable& table) : table_(table) {}

    void add(const char* p, qint64 n) {
        qint64 i = 0;
        for (; i < n && (count_ & 3) != 0; ++i, ++count_) part_[count_ & 3] += mass(p[i]);
        double a0 = part_[0], a1 = part_[1], a2 = part_[2], a3 = part_[3];
        const qint64 whole = i + ((n - i) & ~qint64(3));
        for (; i < whole; i += 4) {
            a0 += mass(p[i]);
            a1 += mass(p[i + 1]);
            a2 += mass(p[i + 2]);
            a3 += mass(p[i + 3]);
        }
        part_ = {a0, a1, a2, a3};
        count_ = 0;
        for (; i < n; ++i, ++count_) part_[count_ & 3] += mass(p[i]);
    }
    double total() const { return (part_[0] + part_[1]) + (part_[2] + part_[3]); }

  private:
    double mass(char c) const { return table_[static_cast<unsigned char>(c)]; }

    const ResidueMassTable& table_;
    std::array<double, 4> part_{};
    std::uint64_t count_ = 0;
};

FastaIndexBuildResult Failure(FastaIndexBuildResult::Status status, const char* text,
                              int entries = 0) {
    return {status, entries, QString::fromLatin1(text)};
}

}  // namespace

CFastaIndexBuilder::CFastaIndexBuilder(bool nucleotide, SequenceMassTable masses, qint64 blockSize)
    : nucleotide_(nucleotide), masses_(std::move(masses)), blockSize_(blockSize) {}

FastaIndexBuildResult CFastaIndexBuilder::build(const QString& fastaPath,
                                                const WorkProgress& progress,
                                                QString indexPath) const {
    using Status = FastaIndexBuildResult::Status;
    if (indexPath.isEmpty()) indexPath = FastaIndexPathFor(fastaPath);
    progress.status(QString());
    progress.percent(0);

    CFastaReader reader(blockSize_);
    if (!reader.open(fastaPath))
        return Failure(Status::FastaUnreadable, "Unable to open the fasta database");
    AtomicTextWriter writer(indexPath);
    if (!writer.open()) return Failure(Status::IndexUnwritable, "Unable to open the fasta index");
    const FastaIndexBuildResult result =
        index(reader, progress, [&writer](const QByteArray& bytes) { writer.writeBytes(bytes); });
    if (result.status != Status::Done) return result;
    if (!writer.commit()) return {Status::IndexUnwritable, 0, writer.errorString()};
    progress.status(result.statusText);
    progress.percent(100);
    return result;
}

FastaIndexBuildResult CFastaIndexBuilder::buildBytes(const QByteArray& fasta,
                                                     QByteArray& index) const {
    CFastaReader reader(blockSize_);
    reader.openBytes(fasta);
    index.clear();
    return this->index(reader, {}, [&index](const QByteArray& bytes) { index += bytes; });
}

FastaIndexBuildResult CFastaIndexBuilder::index(
    CFastaReader& reader, const WorkProgress& progress,
    const std::function<void(const QByteArray&)>& write) const {
    using Status = FastaIndexBuildResult::Status;
    const qint64 size = reader.fileSize();
    if (size == 0)
        return Failure(Status::EmptyFasta, "Problem encountered while reading the fasta database");

    progress.status(QStringLiteral("Creating fasta index, please wait..."));
    QByteArray batch;
    batch.reserve(kWriteBatchBytes + kFastaIndexRecordSize);
    int count = 0;
    FastaEntryStart start;
    while (reader.nextEntry(start)) {
        if (progress.cancelled())
            return Failure(Status::Cancelled, "Fasta index creation cancelled", count);
        ++count;
        FastaIndexRecord record;
        record.entryNumber = count;
        record.offset = start.headerOffset;
        record.headerLength = static_cast<std::int32_t>(start.headerLength);
        // Non-letters have no mass in the table, so the raw bytes can be summed as they are.
        ResidueAccumulator sum(masses_.residue);
        const char* data;
        qint64 n;
        while (reader.sequencePiece(data, n))
            if (!nucleotide_) sum.add(data, n);
        record.mass = masses_.h + masses_.oh + sum.total();
        AppendRecord(batch, record);
        if (batch.size() >= kWriteBatchBytes) {
            write(batch);
            batch.clear();
        }
        if (count % kIndexProgressEntries == 0)
            progress.percent(static_cast<int>(reader.position() * 100.0 / size));
    }
    if (reader.readFailed()) {
        if (count == 0)
            return Failure(Status::FirstBlockUnreadable, "Unable to access the fasta database");
        return Failure(Status::ReadFailed, "Problem encountered while reading the fasta database",
                       count);
    }
    FastaIndexRecord closing;
    closing.entryNumber = count + 1;
    closing.offset = size;
    AppendRecord(batch, closing);
    write(batch);
    return {Status::Done, count,
            QStringLiteral("Processed %1 entries while creating the fasta index").arg(count)};
}

QString ReplaceIndexQuestion(const QString& databaseName) {
    return QStringLiteral("An index file already exists for the database\n\n") + databaseName +
           QStringLiteral("\n\nDo you want to replace it?");
}

bool ConfirmIndexReplacement(const QString& databaseName) {
    if (!QFileInfo::exists(FastaIndexPathFor(databaseName))) return true;
    return ZarMessageBox(ReplaceIndexQuestion(databaseName), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace zar
