#pragma once
// Reads a FASTA file front to back in large blocks: an entry starts at any '>' byte, its header
// runs to the first line feed, its sequence to the next '>' or the end of the file. Offsets are
// 64-bit, so files beyond 4 GB are read like small ones.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>
#include <vector>

namespace zar {

// Headers are handled as at most this many characters.
constexpr int kMaxHeaderChars = 1999;
// Block size of sequential FASTA reading.
constexpr qint64 kFastaBlockSize = 2'000'000;

struct FastaEntryStart {
    qint64 headerOffset = 0;  // file offset of the byte after '>'
    qint64 headerLength = 0;  // header bytes including the line feed that ends it
    QByteArray header;        // raw header bytes without the line feed (long headers cut)
};

class CFastaReader {
  public:
    explicit CFastaReader(qint64 blockSize = kFastaBlockSize);

    bool open(const QString& path);
    // Reads the bytes of a FASTA file (shared, not copied) as it would read the file.
    void openBytes(const QByteArray& bytes);
    void close();
    bool isOpen() const { return device_ && device_->isOpen(); }
    qint64 fileSize() const { return size_; }
    // A seek or read failed before the end of the file.
    bool readFailed() const { return failed_; }
    // File offset of the next byte not yet consumed.
    qint64 position() const { return blockStart_ + pos_; }

    // Moves to the next entry (skipping what is left of the current one) and reads its header;
    // false at the end of the file or on a read failure.
    bool nextEntry(FastaEntryStart& entry);
    // The next raw piece of the current entry's sequence; false when the entry has ended.
    bool sequencePiece(const char*& data, qint64& size);
    // Appends the rest of the current entry's sequence as letters only, upper-cased.
    void readResidues(std::string& residues);

  private:
    bool fill();
    void start();

    QFile file_;
    QBuffer bytes_;
    QIODevice* device_ = nullptr;  // the file or the bytes
    qint64 blockSize_;
    std::vector<char> buffer_;
    qint64 size_ = 0;
    qint64 blockStart_ = 0;  // file offset of buffer_[0]
    qint64 end_ = 0;         // valid bytes in buffer_
    qint64 pos_ = 0;         // next byte in buffer_
    bool inSequence_ = false;
    bool failed_ = false;
};

// Appends the ASCII letters of raw sequence bytes, upper-cased; everything else is dropped.
void AppendResidues(std::string& out, const char* data, qint64 size);
// Like AppendResidues but keeps the letters' case.
void AppendLetters(std::string& out, const char* data, qint64 size);

// The header as shown and matched: a trailing carriage return dropped, at most kMaxHeaderChars
// characters, cut at the first "[MASS" (the blank before it stays).
QString FastaHeaderText(const QByteArray& raw);

// Cuts a header at its "[MASS" annotation.
QString StripMassAnnotation(const QString& header);

}  // namespace zar
