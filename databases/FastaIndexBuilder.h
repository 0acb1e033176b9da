#pragma once
// Builds the ".idx" index of a FASTA file: one 32-byte record per entry with the header's offset
// and length and the entry's mass, then the closing record. The new index replaces the old one
// only when the whole file was read; on failure or cancel the old index stays as it was.

#include "databases/FastaReader.h"
#include "databases/SequenceMasses.h"
#include "databases/WorkProgress.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace zar {

// Progress is reported once per this many entries.
constexpr int kIndexProgressEntries = 100;

struct FastaIndexBuildResult {
    enum class Status {
        Done,
        FastaUnreadable,       // "Unable to open the fasta database"
        IndexUnwritable,       // "Unable to open the fasta index"
        EmptyFasta,            // "Problem encountered while reading the fasta database"
        FirstBlockUnreadable,  // "Unable to access the fasta database"
        ReadFailed,            // a later block could not be read
        Cancelled,
    };
    Status status = Status::Done;
    int entries = 0;
    QString statusText;  // the status line to show
};

class CFastaIndexBuilder {
  public:
    // nucleotide: every record's mass is H + OH. Masses of the chosen type (average when the
    // dialog's mass type is 0).
    CFastaIndexBuilder(bool nucleotide, SequenceMassTable masses,
                       qint64 blockSize = kFastaBlockSize);

    // Indexes fastaPath into indexPath (by default fastaPath + ".idx").
    FastaIndexBuildResult build(const QString& fastaPath, const WorkProgress& progress,
                                QString indexPath = QString()) const;
    // The same from the bytes of a FASTA file into the bytes of its index.
    FastaIndexBuildResult buildBytes(const QByteArray& fasta, QByteArray& index) const;

  private:
    // The records of an opened FASTA file, handed to `write` in batches.
    FastaIndexBuildResult index(CFastaReader& reader, const WorkProgress& progress,
                                const std::function<void(const QByteArray&)>& write) const;

    bool nucleotide_;
    SequenceMassTable masses_;
    qint64 blockSize_;
};

// The question asked before an existing index is replaced.
QString ReplaceIndexQuestion(const QString& databaseName);
// True when the database has no index yet or the user agrees to replace it.
bool ConfirmIndexReplacement(const QString& databaseName);

}  // namespace zar
