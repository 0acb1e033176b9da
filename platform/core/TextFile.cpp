#include "core/TextFile.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace zar {
namespace {
constexpr qsizetype kChunk = 1 << 16;
}

QString DecodeLine(const char* data, qsizetype size) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8(QByteArrayView(data, size));
    if (!utf8.hasError()) return s;
    return QString::fromLatin1(data, size);
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
    if (!file_->open(QIODevice::ReadOnly)) {
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
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    if (fromMemory_) {
        buffer_.append(memory_);
        memory_.clear();
        eof_ = true;
        return !buffer_.isEmpty();
    }
    if (!file_) {
        eof_ = true;
        return false;
    }
    const QByteArray chunk = file_->read(kChunk);
    if (chunk.isEmpty()) {
        if (file_->error() != QFileDevice::NoError) {
            failed_ = true;
            error_ = file_->errorString();
        }
        eof_ = true;
        return false;
    }
    buffer_.append(chunk);
    return true;
}

bool TextLineReader::nextRawLine(QByteArray& raw) {
    if (!bomChecked_) {
        while (buffer_.size() - pos_ < 3 && fill()) {
        }
        bomChecked_ = true;
        const QByteArray head = buffer_.mid(pos_, 3);
        if (head.startsWith("\xEF\xBB\xBF")) {
            pos_ += 3;
            consumed_ += 3;
        } else if (head.startsWith("\xFF\xFE")) {
            encoding_ = Encoding::Utf16LE;
            pos_ += 2;
            consumed_ += 2;
        } else if (head.startsWith("\xFE\xFF")) {
            encoding_ = Encoding::Utf16BE;
            pos_ += 2;
            consumed_ += 2;
        }
    }
    const int unit = encoding_ == Encoding::Bytes ? 1 : 2;
    qsizetype scan = pos_;
    for (;;) {
        // Look for the end of the line in whole code units.
        for (; scan + unit <= buffer_.size(); scan += unit) {
            char16_t c;
            if (unit == 1) {
                c = static_cast<unsigned char>(buffer_[scan]);
            } else if (encoding_ == Encoding::Utf16LE) {
                c = static_cast<char16_t>(static_cast<unsigned char>(buffer_[scan]) |
                                          (static_cast<unsigned char>(buffer_[scan + 1]) << 8));
            } else {
                c = static_cast<char16_t>((static_cast<unsigned char>(buffer_[scan]) << 8) |
                                          static_cast<unsigned char>(buffer_[scan + 1]));
            }
            if (c == u'\n' || c == u'\r') {
                // A CR at the end of the buffer may be followed by an LF not read yet.
                if (c == u'\r' && scan + 2 * unit > buffer_.size() && !eof_) break;
                raw = buffer_.mid(pos_, scan - pos_);
                qsizetype next = scan + unit;
                if (c == u'\r' && next + unit <= buffer_.size()) {
                    const bool lf = unit == 1 ? buffer_[next] == '\n'
                                  : encoding_ == Encoding::Utf16LE
                                      ? (buffer_[next] == '\n' && buffer_[next + 1] == 0)
                                      : (buffer_[next] == 0 && buffer_[next + 1] == '\n');
                    if (lf) next += unit;
                }
                consumed_ += next - pos_;
                pos_ = next;
                return true;
            }
        }
        if (eof_) {
            if (buffer_.size() - pos_ <= 0) return false;
            raw = buffer_.mid(pos_);
            consumed_ += raw.size();
            pos_ = buffer_.size();
            return true;
        }
        const qsizetype scanned = scan - pos_;
        fill();
        scan = pos_ + scanned;  // fill() moved the unread bytes to the front
    }
}

QString TextLineReader::decode(const QByteArray& raw) const {
    switch (encoding_) {
        case Encoding::Utf16LE: {
            QStringDecoder d(QStringDecoder::Utf16LE);
            return d(raw);
        }
        case Encoding::Utf16BE: {
            QStringDecoder d(QStringDecoder::Utf16BE);
            return d(raw);
        }
        case Encoding::Bytes: break;
    }
    return DecodeLine(raw.constData(), raw.size());
}

bool TextLineReader::readLine(QString& line) {
    cut_ = false;
    if (pending_.isEmpty()) {
        if (!isOpen()) return false;
        QByteArray raw;
        if (!nextRawLine(raw)) return false;
        ++lineNumber_;
        pending_ = decode(raw);
        if (maxLength_ <= 0 || pending_.size() <= maxLength_) {
            line = pending_;
            pending_.clear();
            return true;
        }
    }
    if (maxLength_ > 0 && pending_.size() > maxLength_) {
        line = pending_.left(maxLength_);
        pending_.remove(0, maxLength_);
        cut_ = true;
        return true;
    }
    line = pending_;
    pending_.clear();
    return true;
}

bool TextLineReader::atEnd() {
    if (!pending_.isEmpty()) return false;
    if (pos_ < buffer_.size()) return false;
    return !fill();
}

QStringList TextLineReader::readAll() {
    QStringList lines;
    QString line;
    while (readLine(line)) lines.append(line);
    return lines;
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
    if (file_.write(bytes) != bytes.size()) {
        failed_ = true;
        error_ = QStringLiteral("Unable to write %1: %2").arg(file_.fileName(), file_.errorString());
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
    bool written = file_.flush() && file_.error() == QFileDevice::NoError;
    QString reason = written ? QString() : file_.errorString();
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

}  // namespace zar
