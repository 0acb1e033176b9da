#pragma once
// Reading text files line by line, and writing them so that a failure never leaves half a file.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <memory>

namespace zar {

// Decodes one line of bytes: UTF-8 when the bytes are valid UTF-8, else Latin-1.
QString DecodeLine(const char* data, qsizetype size);

// Reads a text file line by line. Lines end with LF or CRLF (a lone CR also ends a line);
// the end-of-line characters are not returned. UTF-16 files with a byte-order mark are decoded
// as such; other files line by line as UTF-8, else Latin-1.
//
// A maximum line length makes the reader behave like a fixed buffer: a longer line is
// returned in pieces of at most that many characters, nothing of it lost, and
// lastLineWasCut() tells that the piece continues on the next read.
class TextLineReader {
public:
    // Bytes read from a file at a time.
    static constexpr qsizetype kReadChunk = qsizetype{1} << 18;

    TextLineReader() = default;
    explicit TextLineReader(const QString& path, qsizetype maxLineLength = 0);
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;
    TextLineReader(TextLineReader&&) noexcept = default;
    TextLineReader& operator=(TextLineReader&&) noexcept = default;

    // Reads from bytes in memory instead of a file (shared, not copied).
    static TextLineReader fromBytes(const QByteArray& bytes, qsizetype maxLineLength = 0);

    bool open(const QString& path, qsizetype maxLineLength = 0);
    bool isOpen() const;
    QString errorString() const { return error_; }

    // The next line; false at the end of the file or after a read error (see hadError()).
    // Reuses the string's storage where it can.
    bool readLine(QString& line);
    bool lastLineWasCut() const { return cut_; }
    bool atEnd();
    bool hadError() const { return failed_; }
    qint64 lineNumber() const { return lineNumber_; }
    // Bytes consumed so far, for progress on long files.
    qint64 bytesRead() const { return consumed_; }
    qint64 totalBytes() const;

    // Reads every remaining line.
    QStringList readAll();

private:
    enum class Encoding { Bytes, Utf16LE, Utf16BE };
    // A line's bytes inside buffer_, without its end.
    struct RawLine {
        qsizetype begin = 0;
        qsizetype size = 0;
        bool ascii = false;
    };

    bool fill();
    void checkByteOrderMark();
    bool nextRawLine(RawLine& raw);
    bool nextUtf16Line(RawLine& raw);
    void decodeInto(const RawLine& raw, QString& text) const;

    std::unique_ptr<QFile> file_;
    QByteArray memory_;
    bool fromMemory_ = false;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool bomChecked_ = false;
    Encoding encoding_ = Encoding::Bytes;
    qsizetype maxLength_ = 0;
    QString pending_;  // rest of a line longer than the maximum
    qsizetype pendingAt_ = 0;
    bool cut_ = false;
    qint64 lineNumber_ = 0;
    qint64 consumed_ = 0;
    QString error_;
};

// Opens a regular file for reading. A FIFO, device or socket where a data file belongs is
// refused: opening one could wait for a writer forever, and reading it may never end. The
// open itself never waits.
bool OpenRegularFile(QFile& file, QIODevice::OpenMode mode = QIODevice::ReadOnly);

// Reads a whole regular file into `bytes` with as few reads as its size allows, reusing the
// array's storage from call to call. False (bytes empty) when the path is not a regular file,
// cannot be read or holds more than maxBytes.
bool ReadRegularFile(const QString& path, QByteArray& bytes, qint64 maxBytes);

// Reads a whole file as lines; false with an error text when it cannot be read.
bool ReadTextLines(const QString& path, QStringList& lines, QString* error = nullptr);

// Writes a text file through a temporary file in the same folder that replaces the target
// only when everything was written. UTF-8, LF line ends unless told otherwise.
class AtomicTextWriter {
public:
    enum class LineEnd { LF, CRLF };
    explicit AtomicTextWriter(const QString& path, LineEnd lineEnd = LineEnd::LF);
    ~AtomicTextWriter();  // an uncommitted file is discarded

    bool open();
    void write(const QString& text);
    void writeLine(const QString& line);
    void writeBytes(const QByteArray& bytes);
    // Replaces the target; false (target untouched) when anything failed.
    bool commit();
    QString errorString() const;

private:
    QSaveFile file_;
    LineEnd lineEnd_;
    bool opened_ = false;
    bool failed_ = false;
    QString error_;
};

// Writes a whole text in one go through AtomicTextWriter.
bool WriteTextFileAtomically(const QString& path, const QString& text, QString* error = nullptr);
// The same through a temporary file and a rename, without waiting for the disk to hold it: for
// the thousands of small files of a data set that can be made again, where waiting for each
// would take most of the time. A reader still sees the old file or the whole new one.
bool WriteTextFileUnsynced(const QString& path, const QString& text, QString* error = nullptr);
bool WriteFileUnsynced(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace zar
