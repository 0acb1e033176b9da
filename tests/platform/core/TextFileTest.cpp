#include "core/TextFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QStringDecoder>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

using namespace zar;

namespace {

// The lines of the bytes as the reader is to give them, worked out the plain way.
QStringList ReferenceLines(const QByteArray& bytes) {
    QStringList lines;
    QByteArray line;
    bool pending = false;
    const auto flush = [&] {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(line);
        lines << (utf8.hasError() ? QString::fromLatin1(line) : text);
        line.clear();
        pending = false;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            flush();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
            pending = true;
        }
    }
    if (pending) flush();
    return lines;
}

// Random text of ASCII runs, UTF-8 letters, stray Latin-1 bytes and every kind of line end,
// so that line ends and non-ASCII bytes fall at every place of the reader's 16-byte steps.
QByteArray RandomText(std::mt19937& random, int pieces) {
    static const char* const kPieces[] = {"a", "bcdefghijklmnopqrstuvwxyz0123456789", "\xC3\xA9",
                                          "\xE9", "\n", "\r\n", "\r", " ", "\t"};
    std::uniform_int_distribution<int> pick(0, 8);
    QByteArray bytes;
    for (int k = 0; k < pieces; ++k) bytes += kPieces[pick(random)];
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList readAllOf(const QByteArray& bytes, qsizetype maxLen = 0) {
    TextLineReader r = TextLineReader::fromBytes(bytes, maxLen);
    return r.readAll();
}

}  // namespace

TEST(TextLineReader, LineEndsAndEncodings) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CRLF", "a\r\nb\r\n", {"a", "b"}},
        {"no final end", "a\nb", {"a", "b"}},
        {"empty lines kept", "a\n\n\nb\n", {"a", "", "", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"empty file", "", {}},
        {"UTF-8 BOM", "\xEF\xBB\xBF" "caf\xC3\xA9\n", {QStringLiteral("caf\u00e9")}},
        {"UTF-8", "\xCE\xB1-helix\n", {QStringLiteral("\u03b1-helix")}},
        {"Latin-1", "caf\xE9\r\n", {QStringLiteral("caf\u00e9")}},
        {"UTF-16LE", QByteArray("\xFF\xFE" "a\0\r\0\n\0\xE9\0", 10), {"a", QStringLiteral("\u00e9")}},
        {"UTF-16BE", QByteArray("\xFE\xFF\0a\0\n\0b", 8), {"a", "b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(readAllOf(c.bytes), c.lines) << c.name;
}

TEST(TextLineReader, AgreesWithThePlainReadingOnRandomText) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        const QByteArray bytes = RandomText(random, round % 60);
        EXPECT_EQ(readAllOf(bytes), ReferenceLines(bytes)) << bytes.toHex().constData();
    }
}

TEST(TextLineReader, DecodesEachLineByItsOwnBytes) {
    // A UTF-8 line after a Latin-1 one, each past the first 16 bytes, and back to ASCII.
    const QByteArray bytes = "0123456789abcdefghij caf\xE9\n"
                             "0123456789abcdefghij caf\xC3\xA9\n"
                             "0123456789abcdefghij cafe\n";
    const QStringList lines = readAllOf(bytes);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("0123456789abcdefghij caf\u00e9"));
    EXPECT_EQ(lines[1], QStringLiteral("0123456789abcdefghij caf\u00e9"));
    EXPECT_EQ(lines[2], QStringLiteral("0123456789abcdefghij cafe"));
    EXPECT_EQ(DecodeLine(bytes.constData(), 25), QStringLiteral("0123456789abcdefghij caf\u00e9"));
}

TEST(TextLineReader, DecodeLineAgreesWithTheStandardDecoder) {
    // Valid and invalid UTF-8 of every length: cut, overlong, surrogate, beyond U+10FFFF.
    const QByteArray cases[] = {
        "plain",          "\xC3\xA9t\xC3\xA9",  "\xE2\x82\xAC 5",      "\xF0\x9F\x98\x80!",
        "\xEF\xBB\xBF" "bom", "\xEF\xBF\xBE",        "cut \xC3",           "cut \xE2\x82",
        "\xC0\xAF",       "\xE0\x80\xAF",        "\xED\xA0\x80",       "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80", "\x80 stray",          "caf\xE9 au lait",    "\xFF\xFE",
    };
    for (const QByteArray& bytes : cases) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString expected = utf8(bytes);
        if (utf8.hasError()) expected = QString::fromLatin1(bytes);
        EXPECT_EQ(DecodeLine(bytes.constData(), bytes.size()), expected) << bytes.toHex().constData();
    }
}

TEST(TextLineReader, LineKeptByTheCallerIsNotOverwritten) {
    TextLineReader r = TextLineReader::fromBytes("first line\nsecond\n");
    QString line;
    ASSERT_TRUE(r.readLine(line));
    const QString kept = line;
    ASSERT_TRUE(r.readLine(line));
    EXPECT_EQ(kept, QStringLiteral("first line"));
    EXPECT_EQ(line, QStringLiteral("second"));
}

TEST(TextLineReader, FileAgreesWithTheSameBytesInMemory) {
    // Lines that cross the reader's chunks, a UTF-8 letter split between two chunks, and a CR
    // that ends one chunk followed by a letter.
    QTemporaryDir dir;
    std::mt19937 random(7);
    QByteArray bytes = RandomText(random, 150000);
    ASSERT_GT(bytes.size(), 2 * TextLineReader::kReadChunk + 1);
    const qsizetype chunk = TextLineReader::kReadChunk;
    bytes.replace(chunk - 1, 2, "\xC3\xA9");
    bytes.replace(2 * chunk - 1, 2, "\rx");
    bytes += QByteArray(chunk + 100, 'y');
    const QString path = dir.filePath(QStringLiteral("random.txt"));
    WriteFile(path, bytes);
    TextLineReader fromFile(path);
    const QStringList lines = fromFile.readAll();
    EXPECT_EQ(lines, ReferenceLines(bytes));
    EXPECT_EQ(lines, readAllOf(bytes));
    EXPECT_EQ(fromFile.bytesRead(), bytes.size());
    EXPECT_EQ(fromFile.lineNumber(), lines.size());
}

TEST(TextLineReader, MaximumLengthCountsCharactersNotBytes) {
    // Ten letters in twenty bytes fit a maximum of ten; eleven come as ten and one.
    const QByteArray ten = QByteArray("\xC3\xA9").repeated(10);
    TextLineReader r = TextLineReader::fromBytes(ten + "\n" + ten + "x\nend", 10);
    QString s;
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s, QString(10, QChar(0xE9)));
    EXPECT_FALSE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s, QString(10, QChar(0xE9)));
    EXPECT_TRUE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s, QStringLiteral("x"));
    EXPECT_FALSE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s, QStringLiteral("end"));
    EXPECT_FALSE(r.readLine(s));
    EXPECT_EQ(r.lineNumber(), 3);
}

TEST(TextLineReader, LongLineComesInPiecesWithNothingLost) {
    const QByteArray line(250, 'x');
    TextLineReader r = TextLineReader::fromBytes(line + "\nshort\n", 100);
    QString s;
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s.size(), 100);
    EXPECT_TRUE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s.size(), 100);
    EXPECT_TRUE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s.size(), 50);
    EXPECT_FALSE(r.lastLineWasCut());
    ASSERT_TRUE(r.readLine(s));
    EXPECT_EQ(s, QStringLiteral("short"));
    EXPECT_FALSE(r.readLine(s));
}

TEST(TextLineReader, CrLfSplitAcrossReadChunksIsOneLineEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    // The first line ends exactly where the reader's first chunk ends, between CR and LF.
    QByteArray bytes(TextLineReader::kReadChunk - 1, 'a');
    bytes += "\r\nsecond\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    TextLineReader r(path);
    const QStringList lines = r.readAll();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), TextLineReader::kReadChunk - 1);
    EXPECT_EQ(lines[1], QStringLiteral("second"));
    EXPECT_EQ(r.bytesRead(), bytes.size());
}

TEST(TextLineReader, ManyLinesFromAFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.txt"));
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i) bytes += QByteArray::number(i) + "\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList lines;
    ASSERT_TRUE(ReadTextLines(path, lines));
    ASSERT_EQ(lines.size(), 20000);
    EXPECT_EQ(lines.last(), QStringLiteral("19999"));
}

TEST(TextLineReader, MissingFileSaysWhy) {
    TextLineReader r(QStringLiteral("/nonexistent/folder/file.out"));
    EXPECT_FALSE(r.isOpen());
    EXPECT_TRUE(r.errorString().contains(QStringLiteral("/nonexistent/folder/file.out")));
    QString s;
    EXPECT_FALSE(r.readLine(s));
    QStringList lines;
    QString error;
    EXPECT_FALSE(ReadTextLines(QStringLiteral("/nonexistent/x"), lines, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AtomicTextWriter, WritesAndReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sorvex.params"));
    ASSERT_TRUE(WriteTextFileAtomically(path, QStringLiteral("old\n")));
    AtomicTextWriter w(path, AtomicTextWriter::LineEnd::CRLF);
    ASSERT_TRUE(w.open());
    w.writeLine(QStringLiteral("[SORVEX]"));
    w.write(QStringLiteral("a = 1\nb = 2\n"));
    ASSERT_TRUE(w.commit());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[SORVEX]\r\na = 1\r\nb = 2\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left";
}

TEST(AtomicTextWriter, AbandonedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.txt"));
    ASSERT_TRUE(WriteTextFileAtomically(path, QStringLiteral("precious\n")));
    {
        AtomicTextWriter w(path);
        ASSERT_TRUE(w.open());
        w.write(QStringLiteral("half a fi"));
        // destroyed without commit, as when an error stops the writer
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("precious\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(AtomicTextWriter, UnsyncedWriteReplacesWholeAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.0001.0001.1.out"));
    ASSERT_TRUE(WriteTextFileUnsynced(path, QStringLiteral("old\n")));
    ASSERT_TRUE(WriteTextFileUnsynced(path, QStringLiteral("new \u00e9\n")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("new \xc3\xa9\n"));
    EXPECT_TRUE(f.permissions() & QFileDevice::ReadOther);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left";
    QString error;
    EXPECT_FALSE(WriteTextFileUnsynced(QStringLiteral("/nonexistent/folder/x.txt"), QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/folder/x.txt")));
}

TEST(AtomicTextWriter, UnwritableTargetFailsWithAReason) {
    QString error;
    EXPECT_FALSE(WriteTextFileAtomically(QStringLiteral("/nonexistent/folder/x.txt"), QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/folder/x.txt")));
}

// A full disk: the last buffered block cannot be written. The save must fail and the old file
// must stay, whatever the size of the text compared with the writer's buffers.
TEST(AtomicTextWriter, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sel.fasta"));
    ASSERT_TRUE(WriteTextFileAtomically(path, QStringLiteral("precious\n")));
    const QString line(99, QLatin1Char('A'));
    for (const int lines : {150, 1000}) {
        const int result = zartest::RunWithFileSizeLimit(12 * 1024, [&] {
            AtomicTextWriter w(path);
            if (!w.open()) return 2;
            for (int i = 0; i < lines; ++i) w.writeLine(line);
            const bool committed = w.commit();
            return !committed && w.errorString().contains(path) ? 0 : 1;
        });
        EXPECT_EQ(result, 0) << lines << " lines";
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().left(40).toStdString(), "precious\n") << lines << " lines";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << "no temporary file is left";
    }
}

TEST(RegularFileTest, OnlyRegularFilesAreOpenedAndNothingWaits) {
    QTemporaryDir dir;
    const QString text = dir.path() + "/text.txt";
    QFile write(text);
    ASSERT_TRUE(write.open(QIODevice::WriteOnly));
    write.write("one\ntwo\n");
    write.close();
    const QString empty = dir.path() + "/empty.txt";
    QFile(empty).open(QIODevice::WriteOnly);
    const QString fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, dir.path() + "/link-to-fifo"));
    ASSERT_TRUE(QFile::link(text, dir.path() + "/link-to-text"));

    const struct {
        QString path;
        bool regular;
        QByteArray bytes;
    } cases[] = {
        {text, true, "one\ntwo\n"},
        {empty, true, ""},
        {dir.path() + "/link-to-text", true, "one\ntwo\n"},
        {fifo, false, ""},
        {dir.path() + "/link-to-fifo", false, ""},
        {dir.path(), false, ""},
        {dir.path() + "/missing", false, ""},
        {QString(), false, ""},
    };
    for (const auto& c : cases) {
        QFile file(c.path);
        EXPECT_EQ(OpenRegularFile(file), c.regular) << qPrintable(c.path);
        if (c.regular) {
            EXPECT_EQ(file.readAll(), c.bytes) << qPrintable(c.path);
        }
        QByteArray bytes = "left from before";
        EXPECT_EQ(ReadRegularFile(c.path, bytes, 1 << 20), c.regular) << qPrintable(c.path);
        EXPECT_EQ(bytes, c.bytes) << qPrintable(c.path);
    }
    // A file larger than the caller allows is refused whole.
    QByteArray bytes;
    EXPECT_FALSE(ReadRegularFile(text, bytes, 7));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(ReadRegularFile(text, bytes, 8));
    EXPECT_EQ(bytes, "one\ntwo\n");
}
