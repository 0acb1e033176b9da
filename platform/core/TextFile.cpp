#include "core/TextFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zar {
namespace {

// The first CR or LF in [p, end), or end; `ascii` tells whether every byte before it is below
// 0x80. One pass over the bytes, sixteen at a time where the processor allows.
const char* FindLineEnd(const char* p, const char* end, bool& ascii) {
    unsigned high = 0;
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    __m128i seen = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
        if (hits != 0) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(hits));
            high = static_cast<unsigned>(_mm_movemask_epi8(seen)) |
                   (static_cast<unsigned>(_mm_movemask_epi8(v)) & ((1u << at) - 1u));
            ascii = high == 0;
            return p + at;
        }
        seen = _mm_or_si128(seen, v);
    }
    high = static_cast<unsigned>(_mm_movemask_epi8(seen));
#endif
    for (; p < end; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n' || c == '\r') break;
        high |= c & 0x80u;
    }
    ascii = high == 0;
    return p;
}

bool IsAscii(const char* data, qsizetype size) {
    bool ascii = true;
    const char* end = data + size;
    // No line ends inside a line, so the search runs to the end and only the flag counts.
    for (const char* p = data; p < end; ++p) {
        const char* stop = FindLineEnd(p, end, ascii);
        if (!ascii) return false;
        p = stop;
    }
    return true;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

// Decodes UTF-8 into `text`, reusing its storage; false (text undefined) when the bytes are not
// valid UTF-8: a stray continuation byte, a cut sequence, an overlong form, a surrogate or a
// code point beyond U+10FFFF.
bool DecodeUtf8Into(const char* data, qsizetype size, QString& text) {
    text.resize(size);  // never more UTF-16 units than bytes
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    // A leading byte-order mark is no part of the text.
    qsizetype i = size >= 3 && s[0] == 0xEFu && s[1] == 0xBBu && s[2] == 0xBFu ? 3 : 0;
    qsizetype o = 0;
    while (i < size) {
        const unsigned c = s[i];
        if (c < 0x80u) {
            out[o++] = static_cast<char16_t>(c);
            ++i;
        } else if (c >= 0xC2u && c < 0xE0u) {
            if (i + 1 >= size || !IsContinuation(s[i + 1])) return false;
            out[o++] = static_cast<char16_t>(((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu));
            i += 2;
        } else if (c >= 0xE0u && c < 0xF0u) {
            if (i + 2 >= size || !IsContinuation(s[i + 1]) || !IsContinuation(s[i + 2]))
                return false;
            const unsigned cp = ((c & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu);
            if (cp < 0x800u || (cp >= 0xD800u && cp <= 0xDFFFu)) return false;
            out[o++] = static_cast<char16_t>(cp);
            i += 3;
        } else if (c >= 0xF0u && c < 0xF5u) {
            if (i + 3 >= size || !IsContinuation(s[i + 1]) || !IsContinuation(s[i + 2]) ||
                !IsContinuation(s[i + 3]))
                return false;
            const unsigned cp = ((c & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) |
                                ((s[i + 2] & 0x3Fu) << 6) | (s[i + 3] & 0x3Fu);
            if (cp < 0x10000u || cp > 0x10FFFFu) return false;
            out[o++] = static_cast<char16_t>(0xD800u + ((cp - 0x10000u) >> 10));
            out[o++] = static_cast<char16_t>(0xDC00u + ((cp - 0x10000u) & 0x3FFu));
            i += 4;
        } else {
            return false;
        }
    }
    text.resize(o);
    return true;
}

// UTF-8 when the bytes are valid UTF-8, else Latin-1, into the string's own storage.
void DecodeBytesInto(const char* data, qsizetype size, bool ascii, QString& text) {
    if (ascii || !DecodeUtf8Into(data, size, text)) text = QLatin1String(data, size);
}

}  // namespace

QString DecodeLine(const char* data, qsizetype size) {
    QString text;
    DecodeBytesInto(data, size, IsAscii(data, size), text);
    return text;
}

TextLineReader::TextLineReader(const QString& path, qsizetype maxLineLength) {
    open(path, maxLineLength);
}

TextLineReader::~TextLineReader() = default;

TextLineReader TextLineReader::fromBytes(const QByteArray& bytes, qsizetype maxLineLength) {
    TextLineReader r;
    r.memory_ = bytes;
    r.fromMemory_ = true;
    r.maxLength_ = maxLineLength;
    return r;
}

bool TextLineReader::open(const QString& path, qsizetype maxLineLength) {
    maxLength_ = maxLineLength;
    file_ = std::make_unique<QFile>(path);
    // Unbuffered: the reader keeps its own large buffer, one copy is enough.
    if (!file_->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error_ = QStringLiteral("Unable to open %1: %2").arg(path, file_->errorString());
        file_.reset();
        failed_ = true;
        return false;
    }
    return true;
}

bool TextLineReader::isOpen() const { return fromMemory_ || (file_ && file_->isOpen()); }

qint64 TextLineReader::totalBytes() const {
    if (fromMemory_) return memory_.size();
    return file_ ? file_->size() : 0;
}

bool TextLineReader::fill() {
    if (eof_) return false;
    if (fromMemory_) {
        buffer_ = memory_;  // shared, not copied
        pos_ = 0;
        eof_ = true;
        return !buffer_.isEmpty();
    }
    if (!file_) {
        eof_ = true;
        return false;
    }
    // The unread bytes move to the front; the buffer keeps its capacity from chunk to chunk.
    const qsizetype rest = buffer_.size() - pos_;
    if (pos_ > 0) {
        if (rest > 0) std::memmove(buffer_.data(), buffer_.constData() + pos_, rest);
        pos_ = 0;
    }
    // A small file needs no large buffer: what is left of it, and a byte to see its end.
    const qint64 left = std::max<qint64>(file_->size() - file_->pos(), 0);
    const qsizetype chunk = static_cast<qsizetype>(std::min<qint64>(kReadChunk, left + 1));
    buffer_.resize(rest + chunk);
    const qint64 got = file_->read(buffer_.data() + rest, chunk);
    buffer_.resize(rest + std::max<qint64>(got, 0));
    if (got <= 0) {
        if (got < 0 || file_->error() != QFileDevice::NoError) {
            failed_ = true;
            error_ = file_->errorString();
        }
        eof_ = true;
        return false;
    }
    return true;
}

void TextLineReader::checkByteOrderMark() {
    bomChecked_ = true;
    while (buffer_.size() - pos_ < 3 && fill()) {
    }
    const char* head = buffer_.constData() + pos_;
    const qsizetype available = buffer_.size() - pos_;
    qsizetype skip = 0;
    if (available >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0) {
        skip = 3;
    } else if (available >= 2 && std::memcmp(head, "\xFF\xFE", 2) == 0) {
        encoding_ = Encoding::Utf16LE;
        skip = 2;
    } else if (available >= 2 && std::memcmp(head, "\xFE\xFF", 2) == 0) {
        encoding_ = Encoding::Utf16BE;
        skip = 2;
    }
    pos_ += skip;
    consumed_ += skip;
}

bool TextLineReader::nextRawLine(RawLine& raw) {
    if (!bomChecked_) checkByteOrderMark();
    if (encoding_ != Encoding::Bytes) return nextUtf16Line(raw);
    qsizetype scanned = 0;  // bytes of the line known to hold no line end
    bool asciiSoFar = true;
    for (;;) {
        const char* line = buffer_.constData() + pos_;
        const char* end = buffer_.constData() + buffer_.size();
        bool ascii = true;
        const char* at = FindLineEnd(line + scanned, end, ascii);
        asciiSoFar = asciiSoFar && ascii;
        scanned = at - line;
        if (at < end) {
            // A CR at the end of the buffer may be followed by an LF not read yet.
            if (*at == '\r' && at + 1 == end && !eof_) {
                fill();
                continue;
            }
            qsizetype next = scanned + 1;
            if (*at == '\r' && at + 1 < end && at[1] == '\n') ++next;
            raw = RawLine{pos_, scanned, asciiSoFar};
            pos_ += next;
            consumed_ += next;
            return true;
        }
        if (eof_) {
            if (scanned == 0) return false;
            raw = RawLine{pos_, scanned, asciiSoFar};
            pos_ += scanned;
            consumed_ += scanned;
            return true;
        }
        fill();  // moves the unread bytes to the front
    }
}

bool TextLineReader::nextUtf16Line(RawLine& raw) {
    const bool littleEndian = encoding_ == Encoding::Utf16LE;
    const auto unitAt = [&](qsizetype i) {
        const auto lo = static_cast<unsigned char>(buffer_[littleEndian ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(buffer_[littleEndian ? i + 1 : i]);
        return static_cast<char16_t>(lo | (hi << 8));
    };
    qsizetype scan = pos_;
    for (;;) {
        for (; scan + 2 <= buffer_.size(); scan += 2) {
            const char16_t c = unitAt(scan);
            if (c != u'\n' && c != u'\r') continue;
            // A CR at the end of the buffer may be followed by an LF not read yet.
            if (c == u'\r' && scan + 4 > buffer_.size() && !eof_) break;
            raw = RawLine{pos_, scan - pos_, false};
            qsizetype next = scan + 2;
            if (c == u'\r' && next + 2 <= buffer_.size() && unitAt(next) == u'\n') next += 2;
            consumed_ += next - pos_;
            pos_ = next;
            return true;
        }
        if (eof_) {
            if (buffer_.size() - pos_ <= 0) return false;
            raw = RawLine{pos_, buffer_.size() - pos_, false};
            consumed_ += raw.size;
            pos_ = buffer_.size();
            return true;
        }
        const qsizetype scanned = scan - pos_;
        fill();
        scan = pos_ + scanned;  // fill() moved the unread bytes to the front
    }
}

void TextLineReader::decodeInto(const RawLine& raw, QString& text) const {
    const char* data = buffer_.constData() + raw.begin;
    switch (encoding_) {
        case Encoding::Utf16LE: {
            QStringDecoder d(QStringDecoder::Utf16LE);
            text = d(QByteArrayView(data, raw.size));
            return;
        }
        case Encoding::Utf16BE: {
            QStringDecoder d(QStringDecoder::Utf16BE);
            text = d(QByteArrayView(data, raw.size));
            return;
        }
        case Encoding::Bytes:
            break;
    }
    // ASCII needs no decoding: widening the bytes into the string's own storage is all.
    DecodeBytesInto(data, raw.size, raw.ascii, text);
}

bool TextLineReader::readLine(QString& line) {
    cut_ = false;
    if (pendingAt_ < pending_.size()) {
        const qsizetype piece = std::min(pending_.size() - pendingAt_, maxLength_);
        line = pending_.mid(pendingAt_, piece);
        pendingAt_ += piece;
        cut_ = pendingAt_ < pending_.size();
        if (!cut_) {
            pending_.clear();
            pendingAt_ = 0;
        }
        return true;
    }
    if (!isOpen()) return false;
    RawLine raw;
    if (!nextRawLine(raw)) return false;
    ++lineNumber_;
    // A line has no more characters than bytes, so a short one needs no cutting.
    if (maxLength_ <= 0 || raw.size <= maxLength_) {
        decodeInto(raw, line);
        return true;
    }
    decodeInto(raw, pending_);
    pendingAt_ = std::min(pending_.size(), maxLength_);
    line = pending_.left(pendingAt_);
    cut_ = pendingAt_ < pending_.size();
    if (!cut_) {
        pending_.clear();
        pendingAt_ = 0;
    }
    return true;
}

bool TextLineReader::atEnd() {
    if (pendingAt_ < pending_.size()) return false;
    if (pos_ < buffer_.size()) return false;
    return !fill();
}

QStringList TextLineReader::readAll() {
    QStringList lines;
    QString line;
    while (readLine(line)) lines.append(line);
    return lines;
}

namespace {

// A descriptor of a regular file opened for reading without waiting, in blocking mode again
// unless `nonBlocking` (reads of a regular file never wait anyway: the flag only spares two
// calls to the system for each of many small files); -1 when the path is anything else.
int OpenRegularDescriptor(const QString& path, struct stat& info, bool nonBlocking = false) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (nonBlocking) return fd;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace

bool OpenRegularFile(QFile& file, QIODevice::OpenMode mode) {
    if (file.isOpen()) file.close();
    struct stat info {};
    const int fd = OpenRegularDescriptor(file.fileName(), info);
    if (fd < 0) return false;
    if (!file.open(fd, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool ReadRegularFile(const QString& path, QByteArray& bytes, qint64 maxBytes) {
    bytes.resize(0);
    struct stat info {};
    const int fd = OpenRegularDescriptor(path, info, true);
    if (fd < 0) return false;
    bool ok = info.st_size <= maxBytes;
    // One byte more than the size given sees a file that grew since.
    qint64 want = ok ? static_cast<qint64>(info.st_size) + 1 : 0;
    qint64 size = 0;
    while (ok) {
        if (bytes.size() < size + want) bytes.resize(size + want);  // not zero-filled
        const ssize_t got = ::read(fd, bytes.data() + size, static_cast<size_t>(want));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) {
            // A file system that honours the flag for files too: read in blocking mode.
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags >= 0 && (flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
                continue;
        }
        if (got < 0) ok = false;
        if (got <= 0) break;
        size += got;
        if (size > maxBytes) ok = false;
        // A regular file reads short only at its end.
        if (got < want) break;
        want = std::min<qint64>(std::max<qint64>(size, 4096), maxBytes + 1 - size);
        if (want <= 0) ok = false;
    }
    ::close(fd);
    bytes.resize(ok ? size : 0);
    return ok;
}

bool ReadTextLines(const QString& path, QStringList& lines, QString* error) {
    TextLineReader reader(path);
    if (!reader.isOpen()) {
        if (error) *error = reader.errorString();
        return false;
    }
    lines = reader.readAll();
    if (reader.hadError()) {
        if (error) *error = reader.errorString();
        return false;
    }
    return true;
}

namespace {

// Why a write failed. Qt says "Unknown error" when a buffered block cannot be written (a full
// disk, a file too large); the system's own reason says which.
QString WriteFailureReason(const QFileDevice& file, int systemError) {
    if (systemError != 0) return QString::fromLocal8Bit(std::strerror(systemError));
    return file.errorString();
}

}  // namespace

AtomicTextWriter::AtomicTextWriter(const QString& path, LineEnd lineEnd)
    : file_(path), lineEnd_(lineEnd) {}

AtomicTextWriter::~AtomicTextWriter() {
    if (opened_) file_.cancelWriting();
}

bool AtomicTextWriter::open() {
    if (!file_.open(QIODevice::WriteOnly)) {
        failed_ = true;
        error_ = QStringLiteral("Unable to write %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }
    opened_ = true;
    return true;
}

void AtomicTextWriter::writeBytes(const QByteArray& bytes) {
    if (!opened_ || failed_) return;
    errno = 0;
    if (file_.write(bytes) != bytes.size()) {
        failed_ = true;
        error_ = QStringLiteral("Unable to write %1: %2")
                     .arg(file_.fileName(), WriteFailureReason(file_, errno));
    }
}

void AtomicTextWriter::write(const QString& text) {
    if (lineEnd_ == LineEnd::CRLF && text.contains(QLatin1Char('\n'))) {
        QString t = text;
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        writeBytes(t.toUtf8());
        return;
    }
    writeBytes(text.toUtf8());
}

void AtomicTextWriter::writeLine(const QString& line) {
    write(line);
    writeBytes(lineEnd_ == LineEnd::CRLF ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n"));
}

bool AtomicTextWriter::commit() {
    if (!opened_) return false;
    opened_ = false;
    if (failed_) {
        file_.cancelWriting();
        file_.commit();
        return false;
    }
    // QSaveFile::commit() renames the file even when flushing its last buffered block fails (a
    // full disk), so everything is flushed and synced here first and any failure cancels the save.
    errno = 0;
    bool written = file_.flush() && file_.error() == QFileDevice::NoError;
    QString reason = written ? QString() : WriteFailureReason(file_, errno);
    if (written && ::fsync(file_.handle()) != 0 && errno != EINVAL) {
        written = false;
        reason = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!written) {
        error_ = QStringLiteral("Unable to write %1: %2").arg(file_.fileName(), reason);
        file_.cancelWriting();
        file_.commit();
        return false;
    }
    if (!file_.commit()) {
        error_ = QStringLiteral("Unable to write %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }
    return true;
}

QString AtomicTextWriter::errorString() const { return error_; }

bool WriteTextFileAtomically(const QString& path, const QString& text, QString* error) {
    AtomicTextWriter w(path);
    if (!w.open()) {
        if (error) *error = w.errorString();
        return false;
    }
    w.write(text);
    if (!w.commit()) {
        if (error) *error = w.errorString();
        return false;
    }
    return true;
}

bool WriteTextFileUnsynced(const QString& path, const QString& text, QString* error) {
    return WriteFileUnsynced(path, text.toUtf8(), error);
}

bool WriteFileUnsynced(const QString& path, const QByteArray& bytes, QString* error) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    const auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("Unable to write %1: %2").arg(path, why);
        return false;
    };
    if (!temporary.open()) return fail(temporary.errorString());
    // Readable by others as any file written the ordinary way (a temporary file is not).
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    errno = 0;
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        return fail(WriteFailureReason(temporary, errno));
    temporary.close();
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                            QFile::encodeName(path).toStdString(), failure);
    if (failure) return fail(QString::fromStdString(failure.message()));
    temporary.setAutoRemove(false);  // it is the file now
    return true;
}

}  // namespace zar
