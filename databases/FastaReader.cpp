#include "databases/FastaReader.h"

#include "core/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zar {

namespace {

// Raw header bytes kept: enough for kMaxHeaderChars characters of UTF-8.
constexpr qsizetype kMaxHeaderBytes = 4 * kMaxHeaderChars;

// Eight bytes at a time: a byte is an upper-case letter when its high bit is clear, it is at
// least 'A' and below '['. Fast without relying on the compiler's vectoriser.
bool IsUpperLetterRun(const char* p, qint64 n) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    qint64 i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, p + i, 8);
        const std::uint64_t fromA = (x | kHigh) - kOnes * 'A';        // high bit: byte >= 'A'
        const std::uint64_t pastZ = (x | kHigh) - kOnes * ('Z' + 1);  // high bit: byte > 'Z'
        if ((fromA & ~pastZ & ~x & kHigh) != kHigh) return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i] - 'A') > 25) return false;
    return true;
}

}  // namespace

CFastaReader::CFastaReader(qint64 blockSize) : blockSize_(std::max<qint64>(blockSize, 1)) {}

bool CFastaReader::open(const QString& path) {
    close();
    file_.setFileName(path);
    // Unbuffered: the reader reads whole blocks of its own, one copy is enough.
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    device_ = &file_;
    start();
    return true;
}

void CFastaReader::openBytes(const QByteArray& bytes) {
    close();
    bytes_.setData(bytes);
    bytes_.open(QIODevice::ReadOnly);
    device_ = &bytes_;
    start();
}

void CFastaReader::start() {
    size_ = device_->size();
    buffer_.resize(static_cast<std::size_t>(std::min(blockSize_, std::max<qint64>(size_, 1))));
}

void CFastaReader::close() {
    file_.close();
    bytes_.close();
    device_ = nullptr;
    size_ = blockStart_ = end_ = pos_ = 0;
    inSequence_ = failed_ = false;
}

bool CFastaReader::fill() {
    const qint64 next = blockStart_ + end_;
    blockStart_ = next;
    pos_ = end_ = 0;
    if (next >= size_ || !isOpen()) return false;
    if (!device_->seek(next)) {
        failed_ = true;
        return false;
    }
    const qint64 want = std::min<qint64>(static_cast<qint64>(buffer_.size()), size_ - next);
    const qint64 got = device_->read(buffer_.data(), want);
    if (got <= 0) {
        failed_ = true;
        return false;
    }
    end_ = got;
    return true;
}

bool CFastaReader::nextEntry(FastaEntryStart& entry) {
    while (inSequence_) {
        const char* data;
        qint64 size;
        if (!sequencePiece(data, size)) break;
    }
    // Find the next '>'.
    for (;;) {
        if (pos_ < end_) {
            const char* start = buffer_.data() + pos_;
            const void* gt = std::memchr(start, '>', static_cast<std::size_t>(end_ - pos_));
            if (gt) {
                pos_ = static_cast<const char*>(gt) - buffer_.data() + 1;
                break;
            }
            pos_ = end_;
        }
        if (!fill()) return false;
    }
    entry.headerOffset = position();
    entry.headerLength = 0;
    entry.header.clear();
    for (;;) {
        if (pos_ == end_ && !fill()) break;  // a header at the end of the file ends there
        const char* start = buffer_.data() + pos_;
        const qint64 avail = end_ - pos_;
        const void* lf = std::memchr(start, '\n', static_cast<std::size_t>(avail));
        const qint64 n = lf ? static_cast<const char*>(lf) - start : avail;
        const qsizetype room = kMaxHeaderBytes - entry.header.size();
        if (room > 0) entry.header.append(start, static_cast<qsizetype>(std::min<qint64>(n, room)));
        entry.headerLength += n;
        pos_ += n;
        if (lf) {
            entry.headerLength += 1;
            pos_ += 1;
            break;
        }
    }
    inSequence_ = true;
    return true;
}

bool CFastaReader::sequencePiece(const char*& data, qint64& size) {
    if (!inSequence_) return false;
    while (pos_ == end_) {
        if (!fill()) {
            inSequence_ = false;
            return false;
        }
    }
    const char* start = buffer_.data() + pos_;
    const void* gt = std::memchr(start, '>', static_cast<std::size_t>(end_ - pos_));
    if (gt) {
        size = static_cast<const char*>(gt) - start;
        pos_ += size;
        inSequence_ = false;  // the '>' stays for nextEntry
        data = start;
        return size > 0;
    }
    data = start;
    size = end_ - pos_;
    pos_ = end_;
    return true;
}

void CFastaReader::readResidues(std::string& residues) {
    const char* data;
    qint64 size;
    while (sequencePiece(data, size)) AppendResidues(residues, data, size);
}

void AppendResidues(std::string& out, const char* p, qint64 n) {
    while (n > 0) {
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(n));
        const qint64 len = lf ? static_cast<const char*>(lf) - p : n;
        // Most lines are upper-case letters only (a CR before the line feed aside): copy them
        // whole.
        const qint64 letters = len > 0 && p[len - 1] == '\r' ? len - 1 : len;
        if (IsUpperLetterRun(p, letters)) {
            out.append(p, static_cast<std::size_t>(letters));
        } else {
            for (qint64 i = 0; i < len; ++i) {
                const unsigned char c = static_cast<unsigned char>(p[i]);
                if (static_cast<unsigned char>((c | 0x20) - 'a') < 26)
                    out.push_back(char(c & ~0x20));
            }
        }
        const qint64 used = lf ? len + 1 : len;
        p += used;
        n -= used;
    }
}

void AppendLetters(std::string& out, const char* p, qint64 n) {
    for (qint64 i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (static_cast<unsigned char>((c | 0x20) - 'a') < 26) out.push_back(char(c));
    }
}

QString StripMassAnnotation(const QString& header) {
    const qsizetype at = header.indexOf(QLatin1String("[MASS"));
    return at < 0 ? header : header.left(at);
}

QString FastaHeaderText(const QByteArray& raw) {
    qsizetype n = raw.size();
    if (n > 0 && raw[n - 1] == '\r') --n;
    QString text = DecodeLine(raw.constData(), n);
    if (text.size() > kMaxHeaderChars) text.truncate(kMaxHeaderChars);
    return StripMassAnnotation(text);
}

}  // namespace zar
