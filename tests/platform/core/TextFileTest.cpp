#include "core/TextFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

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
    // The first line ends exactly where the reader's 64 KiB chunk ends, between CR and LF.
    QByteArray bytes(65535, 'a');
    bytes += "\r\nsecond\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    TextLineReader r(path);
    const QStringList lines = r.readAll();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 65535);
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
