#include "databases/IndexedDatabase.h"

#include "databases/FastaIndexBuilder.h"
#include "search/DatabaseHeader.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// A copy of the fixture folder, so that indexes can be written beside the FASTA files.
class IndexedDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QDir source(zartest::DataPath("databases/fasta"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), dir.filePath(name));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(IndexedDatabaseTest, ReadsEveryEntryOfTheGoldenIndex) {
    CIndexedDatabase db;
    ASSERT_EQ(db.open(path("three.fasta")), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(db.proteinCount(), 3);
    FastaEntry e;
    ASSERT_TRUE(db.readEntry(1, e));
    EXPECT_EQ(e.header, "sp|P1|ONE first protein");
    EXPECT_EQ(e.residues, "PEPTIDEKACDEF");
    ASSERT_TRUE(db.readEntry(2, e));
    EXPECT_EQ(e.header, "sp|P2|TWO second ");
    EXPECT_EQ(e.residues, "");
    // The last entry has no final line end: it still keeps its last residue, and the header's
    // carriage return is not part of the text.
    ASSERT_TRUE(db.readEntry(3, e));
    EXPECT_EQ(e.header, "sp|P3|THREE third");
    EXPECT_EQ(e.residues, "mkwvTF");
}

TEST_F(IndexedDatabaseTest, EntryNumbersOutsideTheIndexAreRefused) {
    CIndexedDatabase db;
    ASSERT_EQ(db.open(path("three.fasta")), CIndexedDatabase::OpenResult::Ok);
    FastaEntry e;
    for (const int n : {0, -1, 4, 5, 1 << 30}) EXPECT_FALSE(db.readEntry(n, e)) << n;
}

TEST_F(IndexedDatabaseTest, HdrWithoutProteinCountTakesItFromTheIndexSize) {
    CIndexedDatabase db;
    // The stored Windows folder does not exist here: the FASTA file beside the .hdr is used.
    ASSERT_EQ(db.open(path("missingcount.hdr")), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(db.proteinCount(), 3);
    FastaEntry e;
    ASSERT_TRUE(db.readEntry(3, e));
    EXPECT_EQ(e.residues, "mkwvTF");
}

TEST_F(IndexedDatabaseTest, HdrProteinCountLimitsTheEntries) {
    CIndexedDatabase db;
    ASSERT_EQ(db.open(path("twoproteins.hdr")), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(db.proteinCount(), 2);
    FastaEntry e;
    EXPECT_TRUE(db.readEntry(2, e));
    EXPECT_FALSE(db.readEntry(3, e));
}

TEST_F(IndexedDatabaseTest, OpenFailuresAndTheirMessages) {
    using R = CIndexedDatabase::OpenResult;
    dbtest::WriteFile(dir, "nofasta.hdr", "SORVEX_INDEXED_DATABASE - HEADER\nIndexName: x.idx\n");
    dbtest::WriteFile(dir, "gone.hdr",
                      "SORVEX_INDEXED_DATABASE - HEADER\nOrigDatabaseName: gone.fasta\n"
                      "IndexName: three.fasta.idx\n");
    dbtest::WriteFile(dir, "lonely.fasta", ">a\nK\n");
    const struct {
        QString name;
        R result;
        const char* message;
    } cases[] = {
        {"", R::EmptyName, ""},
        {path("absent.hdr"), R::HdrUnreadable, "Unable to open the indexed database"},
        {path("nofasta.hdr"), R::MissingParameters,
         "Unable to access the indexed database parameters"},
        {path("lonely.fasta"), R::IndexUnreadable, "Unable to access the database index"},
        {path("gone.hdr"), R::FastaUnreadable, "Unable to open the fasta database"},
    };
    for (const auto& c : cases) {
        CIndexedDatabase db;
        EXPECT_EQ(db.open(c.name), c.result) << c.name.toStdString();
        EXPECT_EQ(CIndexedDatabase::messageFor(c.result), c.message);
    }
}

TEST_F(IndexedDatabaseTest, AnIndexThatDoesNotFitItsFastaIsNotFollowed) {
    // A stale index of a longer file points past the end of this one.
    dbtest::WriteFile(dir, "short.fasta", ">a\nK\n");
    QFile::copy(path("three.fasta.idx"), path("short.fasta.idx"));
    CIndexedDatabase db;
    ASSERT_EQ(db.open(path("short.fasta")), CIndexedDatabase::OpenResult::Ok);
    FastaEntry e;
    EXPECT_FALSE(db.readEntry(2, e));
    EXPECT_FALSE(db.readEntry(3, e));
}

TEST_F(IndexedDatabaseTest, HostileOffsetsAndLengthsAreRefused) {
    const qint64 fastaSize = QFileInfo(path("three.fasta")).size();
    const struct {
        std::int64_t offset;
        std::int32_t headerLength;
    } cases[] = {
        {INT64_MAX - 10, 100}, {INT64_MAX, INT32_MAX}, {-5, 10},  {INT64_MIN, 0},
        {1, -1},               {1, INT32_MAX},         {fastaSize + 1, 0},
    };
    for (const auto& c : cases) {
        std::vector<FastaIndexRecord> records = dbtest::ReadIndex(path("three.fasta.idx"));
        ASSERT_EQ(records.size(), 4u);
        records[0].offset = c.offset;
        records[0].headerLength = c.headerLength;
        QByteArray bytes;
        for (const FastaIndexRecord& r : records)
            bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
        dbtest::WriteFile(dir, "three.fasta.idx", bytes);
        CIndexedDatabase db;
        ASSERT_EQ(db.open(path("three.fasta")), CIndexedDatabase::OpenResult::Ok);
        FastaEntry e;
        EXPECT_FALSE(db.readEntry(1, e)) << c.offset << " " << c.headerLength;
        EXPECT_TRUE(db.readEntry(3, e)) << "other entries stay readable";
    }
}

TEST_F(IndexedDatabaseTest, BuildThenReadRoundTrip) {
    QByteArray bytes = "header line\n";
    for (int i = 1; i <= 300; ++i)
        bytes += ">entry" + QByteArray::number(i) + " [MASS=99]\r\n" +
                 QByteArray(i % 7, 'a' + char(i % 20)) + "\r\nKR" + (i == 300 ? "" : "\r\n");
    const QString fasta = dbtest::WriteFile(dir, "rt.fasta", bytes);
    CFastaIndexBuilder builder(false, SequenceMassTable::For(true), 64);
    ASSERT_EQ(builder.build(fasta, {}).entries, 300);
    CIndexedDatabase db;
    ASSERT_EQ(db.open(fasta), CIndexedDatabase::OpenResult::Ok);
    ASSERT_EQ(db.proteinCount(), 300);
    FastaEntry e;
    for (int i = 1; i <= 300; ++i) {
        ASSERT_TRUE(db.readEntry(i, e)) << i;
        EXPECT_EQ(e.header, QStringLiteral("entry%1 ").arg(i));
        EXPECT_EQ(e.residues, std::string(std::size_t(i % 7), char('a' + i % 20)) + "KR") << i;
    }
}

// The search set-up and the reader take their settings and files from one reading of the same
// description.
TEST_F(IndexedDatabaseTest, TheSearchSetUpAndTheReaderShareOneDescription) {
    const QString hdr = dbtest::WriteFile(dir, "three.fasta.hdr",
                                          "SORVEX_INDEXED_DATABASE - HEADER\n"
                                          "OrigDatabaseName: three.fasta\n"
                                          "IndexName: three.fasta.idx\n"
                                          "NumberOfProteins: 3\n"
                                          "EnzymeName: Trypsin\n"
                                          "StaticModifications: C=57.021\n");
    ASSERT_TRUE(IsValidDatabaseFile(hdr));
    IndexedDatabaseHeader header;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(hdr, header));
    EXPECT_EQ(header.enzymeName, "Trypsin");
    ModificationTables tables;
    ApplyHeaderStaticModifications(header.staticModifications, tables);
    EXPECT_DOUBLE_EQ(
        tables.GetStaticModification(ModificationTables::StaticEntryOfResidue('C')), 57.021);

    CIndexedDatabase db;
    ASSERT_EQ(db.open(hdr), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(db.proteinCount(), header.numberOfProteins);
    FastaEntry e;
    ASSERT_TRUE(db.readEntry(1, e));
    EXPECT_EQ(e.residues, "PEPTIDEKACDEF");
}
