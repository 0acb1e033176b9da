#include "databases/FastaIndexBuilder.h"

#include "databases/FastaIndexRecord.h"

#include "core/TextFile.h"

#include <QFileInfo>

#include <cstring>
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

FastaIndexBuildResult Failure(FastaIndexBuildResult::Status status, const char* text,
                              int entries = 0) {
    return {status, entries, QString::fromLatin1(text)};
}

}  // namespace

CFastaIndexBuilder::CFastaIndexBuilder(bool nucleotide, SequenceMassTable masses,
                                       qint64 blockSize)
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
        double sum = 0.0;
        const char* data;
        qint64 n;
        while (reader.sequencePiece(data, n)) {
            if (nucleotide_) continue;
            for (qint64 i = 0; i < n; ++i)
                sum += masses_.residue[static_cast<unsigned char>(data[i])];
        }
        record.mass = masses_.h + masses_.oh + sum;
        AppendRecord(batch, record);
        if (batch.size() >= kWriteBatchBytes) {
            writer.writeBytes(batch);
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
    writer.writeBytes(batch);
    if (!writer.commit()) return Failure(Status::IndexUnwritable, "Unable to open the fasta index");

    progress.status(
        QStringLiteral("Processed %1 entries while creating the fasta index").arg(count));
    progress.percent(100);
    return {Status::Done, count,
            QStringLiteral("Processed %1 entries while creating the fasta index").arg(count)};
}

QString ReplaceIndexQuestion(const QString& databaseName) {
    return QStringLiteral("An index file already exists for the database\n\n") + databaseName +
           QStringLiteral("\n\nDo you want to replace it?");
}

}  // namespace zar
