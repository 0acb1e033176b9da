#include "document/IndexedDatabaseHeader.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(bytes);
    return path;
}

// The search settings of the same file are checked with the search set-up.
TEST(IndexedDatabaseHeader, ReadsTheDescribedFiles) {
    IndexedDatabaseHeader h;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(zartest::DataPath("search/indexed.fasta.hdr"), h));
    EXPECT_TRUE(h.hasMagic);
    EXPECT_EQ(h.origDatabaseName, "/data/db/human.fasta");
    EXPECT_EQ(h.indexName, "human.fasta.idx");
    EXPECT_EQ(h.numberOfProteins, 2000);
}

TEST(IndexedDatabaseHeader, TheFirstLineIsNeverAKeyLine) {
    QTemporaryDir dir;
    IndexedDatabaseHeader h;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(
        Write(dir, "plain.hdr", "OrigDatabaseName: a.fasta\nIndexName: a.fasta.idx\n"), h));
    EXPECT_FALSE(h.hasMagic);
    EXPECT_EQ(h.origDatabaseName, "");
    EXPECT_EQ(h.indexName, "a.fasta.idx");
}

TEST(IndexedDatabaseHeader, TheRestOfAnOverlongLineIsNoKeyLine) {
    QTemporaryDir dir;
    const QByteArray longLine =
        "Comment: " + QByteArray(kMaxHdrLineLength - 9, 'x') + "IndexName: wrong.idx\n";
    IndexedDatabaseHeader h;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(
        Write(dir, "long.hdr",
              "SORVEX_INDEXED_DATABASE - HEADER\n" + longLine + "NumberOfProteins: -4\n"),
        h));
    EXPECT_EQ(h.indexName, "");
    EXPECT_EQ(h.numberOfProteins, 0);
}

TEST(IndexedDatabaseHeader, AFileThatCannotBeOpenedIsAFailure) {
    IndexedDatabaseHeader h;
    EXPECT_FALSE(ReadIndexedDatabaseHeader("/nonexistent/x.fasta.hdr", h));
    EXPECT_FALSE(ReadIndexedDatabaseHeader(QString(), h));
}

}  // namespace
