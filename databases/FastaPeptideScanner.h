#pragma once
// Finds the entries of a FASTA file whose sequence holds a peptide, in one pass over large
// blocks. The entries follow the sequential reader's rules (CFastaReader): an entry starts at
// any '>' byte, its header runs to the first line feed, its sequence to the next '>'; the
// sequence is its ASCII letters, upper-cased, everything else dropped, so a peptide is found
// across line breaks and across blocks. Each block's sequences are packed into letters and
// searched at once, so the cost per entry is small and the search runs at memory speed.

#include "core/UninitializedAllocator.h"
#include "databases/FastaReader.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace zar {

// Bytes read at a time: small enough that a block and its letters stay in the processor's
// cache while they are packed and searched.
constexpr qint64 kPeptideScanBlockSize = qint64{128} << 10;

struct FastaPeptideHit {
    QByteArray header;     // raw header bytes, as CFastaReader keeps them
    std::string residues;  // the entry's letters, upper-cased
    std::size_t at = 0;    // first occurrence of the peptide, 0-based
};

class CFastaPeptideScanner {
  public:
    enum class Status { Done, Cancelled, ReadFailed };
    // Called after each entry with the file offset where it ends; false stops the scan.
    using EntryEnd = std::function<bool(qint64 position)>;
    using Hit = std::function<void(FastaPeptideHit& hit)>;

    // The peptide in upper-case letters; an empty one is found nowhere.
    explicit CFastaPeptideScanner(std::string peptide, qint64 blockSize = kPeptideScanBlockSize);

    bool open(const QString& path);
    qint64 fileSize() const { return size_; }

    // Scans the open file; hits come in file order. Throws std::bad_alloc when an entry is too
    // large for memory.
    Status scan(const Hit& hit, const EntryEnd& entryEnd);

  private:
    // The buffers are written before they are read.
    using Bytes = std::vector<char, UninitializedAllocator<char>>;

    // An entry's part in the block's packed letters.
    struct Piece {
        qsizetype begin = 0;  // in packed_
        qsizetype end = 0;
        qsizetype headerAt = -1;  // header in the raw block; -1: in carriedHeader_
        qsizetype headerSize = 0;
        bool continued = false;  // began in an earlier block
        bool finished = false;   // ends in this block
    };

    void searchBlock(const char* block, const Hit& hit);
    // The entry carried in from earlier blocks, ended in this one, with the peptide in it.
    void reportCarried(const Piece& piece, qsizetype carry, const Hit& hit);
    void keepUnfinished(const char* block);

    std::string peptide_;
    qint64 blockSize_;
    QFile file_;
    qint64 size_ = 0;
    Bytes block_;
    Bytes packed_;  // the block's letters, entries apart by a line feed
    qsizetype packedSize_ = 0;
    std::vector<Piece> pieces_;
    // The entry that runs on into the next block: its header, its letters so far, and whether
    // (and where) the peptide has been seen in them.
    QByteArray carriedHeader_;
    std::string carried_;
    bool carriedFound_ = false;
    std::size_t carriedAt_ = 0;
    // The same for an entry that begins in the block and runs on.
    bool newFound_ = false;
    std::size_t newAt_ = 0;
};

}  // namespace zar
