#include "databases/DatabaseSearch.h"

#include "databases/FastaIndexBuilder.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zar;

namespace {

const char kUbiquitin[] =
    "MQIFVKTLTGKTITLEVEPSDTIENVKAKIQDKEGIPPDQQRLIFAGKQLEDGRTLSDYNIQKESTLHLVLRLRGG";

class DatabaseSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QDir source(zartest::DataPath("databases/fasta"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), dir.filePath(name));
        search.SetDatabaseDirectory(dir.path());
        search.SetResultsDirectory(dir.path());
    }
    QString write(const QString& name, const QByteArray& bytes) {
        return dbtest::WriteFile(dir, name, bytes);
    }

    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    CDatabaseSearch search;
};

// The tryptic peptides of a sequence: cut after K or R, a cut that would leave fewer than
// three residues missed, as a search reports them.
std::vector<QString> Tryptic(const std::string& sequence) {
    std::vector<QString> peptides;
    std::string current;
    for (const char c : sequence) {
        current.push_back(c);
        if ((c == 'K' || c == 'R') && current.size() >= 3) {
            peptides.push_back(QString::fromStdString(current));
            current.clear();
        }
    }
    if (!current.empty()) peptides.push_back(QString::fromStdString(current));
    return peptides;
}

}  // namespace

TEST_F(DatabaseSearchTest, FindSequenceListsEveryProteinWithThePeptideOnce) {
    write("db.fasta",
          ">p1 first [MASS=1500]\nAAPEPTIDEKPEPTIDEK\n>p2 isoleucine\nPEPTIDEI\n"
          ">p3 lower case\nxxpep\ntidekyy\n>p4 leucine\nPEPTIDEL\n");
    DatabaseLookupRequest request;
    request.databaseFile = "db.fasta";
    request.peptide = "PEPTIDEK";
    auto result = search.FindSequence(request);
    ASSERT_EQ(result.status, LookupStatus::Found);
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].reference, "p1 first ");
    EXPECT_EQ(result.rows[0].positionText(), "3 - 10");  // the first of two occurrences
    EXPECT_EQ(result.rows[1].reference, "p3 lower case");
    EXPECT_EQ(result.rows[1].sequence, "XXPEPTIDEKYY");
    EXPECT_EQ(result.rows[1].positionText(), "3 - 10");
    const SequenceMassTable masses = SequenceMassTable::For(false);
    EXPECT_DOUBLE_EQ(result.rows[1].mass, ProtonatedMass(masses, "XXPEPTIDEKYY"));

    // I and L are different letters in the database: each matches only itself.
    request.peptide = "peptidel";
    result = search.FindSequence(request);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].reference, "p4 leucine");
    request.peptide = "PEPTIDEI";
    result = search.FindSequence(request);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].reference, "p2 isoleucine");
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DatabaseSearchTest, PeptideAcrossLineAndBlockBoundariesIsFound) {
    QByteArray bytes = ">a\n";
    for (int i = 0; i < 100; ++i)
        bytes += "GGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGG\n";
    bytes += "GGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGPEP\nTIDEK\n>b\nK";
    write("lines.fasta", bytes);
    DatabaseLookupRequest request;
    request.databaseFile = "lines.fasta";
    request.peptide = "PEPTIDEK";
    for (const qint64 block : {qint64(7), qint64(4096), kFastaBlockSize}) {
        search.SetBlockSize(block);
        const auto result = search.FindSequence(request);
        ASSERT_EQ(result.rows.size(), 1u) << block;
        EXPECT_EQ(result.rows[0].first, 6058) << block;
    }
}

TEST_F(DatabaseSearchTest, NucleotideDatabaseMatchesInTheChosenFrameOnly) {
    // ATG GCC AAA TGA CT reads MAK@ in frame 1 and SHLA in frame 4.
    write("dna.fasta", ">dna\natggccaaatgact\n");
    search.SetDatabaseKind(1);
    DatabaseLookupRequest request;
    request.databaseFile = "dna.fasta";
    request.peptide = "SHL";
    for (int frame = 1; frame <= 6; ++frame) {
        search.SetReadingFrame(frame);
        const auto result = search.FindSequence(request);
        EXPECT_EQ(result.rows.size(), frame == 4 ? 1u : 0u) << frame;
        if (frame == 4) {
            EXPECT_EQ(result.rows[0].sequence, "SHLA");
            EXPECT_DOUBLE_EQ(result.rows[0].mass,
                             ResidueSum(SequenceMassTable::For(false), "SHLA"));
            EXPECT_EQ(result.databaseKind, 1);
        }
    }
}

TEST_F(DatabaseSearchTest, FailuresShowTheirMessages) {
    write("empty.fasta", "");
    DatabaseLookupRequest request;
    request.peptide = "PEP";
    const struct {
        QString file;
        const char* message;
    } cases[] = {{"absent.fasta", "Unable to open the database"},
                 {"empty.fasta", "Unable to read the database"}};
    for (const auto& c : cases) {
        boxes.clear();
        request.databaseFile = c.file;
        EXPECT_EQ(search.FindSequence(request).status, LookupStatus::Failed);
        EXPECT_EQ(boxes.texts(), QStringList{c.message});
    }
    boxes.clear();
    request.peptide = ".*";
    EXPECT_EQ(search.FindSequence(request).status, LookupStatus::Invalid);
    EXPECT_EQ(search.FindSequencePosition(request).status, LookupStatus::Invalid);
    request.reference.clear();
    EXPECT_EQ(search.FindReference(request).status, LookupStatus::Invalid);
    EXPECT_EQ(boxes.texts(), (QStringList{"The sequence isn't valid", "The sequence isn't valid",
                                          "The reference isn't valid"}));

    // Without a results folder nothing is looked up and nothing is said.
    boxes.clear();
    search.SetResultsDirectory(QString());
    EXPECT_EQ(search.FindSequence(request).status, LookupStatus::Skipped);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DatabaseSearchTest, UbiquitinPositionMassAndFullTrypticCoverage) {
    DatabaseLookupRequest request;
    request.databaseFile = "ubiquitin.fasta";
    request.peptide = "EGIPPDQQR";
    request.reference = "UBIQ_HUMAN";
    auto position = search.FindSequencePosition(request);
    ASSERT_EQ(position.status, LookupStatus::Found);
    EXPECT_EQ(position.positionText, "Position of sequence:  34 - 42");
    EXPECT_EQ(position.record.first, 34);
    EXPECT_EQ(position.record.last, 42);
    EXPECT_EQ(position.record.length, 76);
    EXPECT_EQ(position.record.rows, 76 / 50 + 1);
    EXPECT_EQ(position.description, "sp|P0CG48|UBIQ_HUMAN Ubiquitin");
    EXPECT_EQ(position.aminoAcidText, "Number of Amino Acids:  76");
    EXPECT_EQ(position.databaseText, "Database:  ubiquitin.fasta");
    // MH+ of the average table: the neutral 8564.84 plus a proton.
    EXPECT_EQ(position.massText, "Average Mass:  8565.9");

    request.monoisotopic = true;
    request.peptides = Tryptic(kUbiquitin);
    auto coverage = search.FindReference(request);
    ASSERT_EQ(coverage.status, LookupStatus::Found);
    EXPECT_NEAR(coverage.proteinMass - SequenceMassTable::For(true).h, 8559.62, 0.01);
    EXPECT_EQ(coverage.peptides.size(), request.peptides.size());
    EXPECT_EQ(coverage.coveredResidues, 76);
    EXPECT_DOUBLE_EQ(coverage.coveredResiduePercent, 100.0);
    EXPECT_NEAR(coverage.coveredMassPercent, 100.0, 1e-9);
    ASSERT_EQ(coverage.record.coverage.size(), 77u);
    EXPECT_EQ(coverage.record.coverage[75], 1);
    EXPECT_EQ(coverage.record.coverage[76], 0);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DatabaseSearchTest, CoverageRowsOfPeptidesFoundAndSkipped) {
    write("cov.fasta", ">prot one\nAAAKGGGRCCC\n");
    DatabaseLookupRequest request;
    request.databaseFile = "cov.fasta";
    request.reference = "prot";
    request.peptides = {"GGGR", "WWW", "AAAK"};
    const auto result = search.FindReference(request);
    ASSERT_EQ(result.status, LookupStatus::Found);
    ASSERT_EQ(result.peptides.size(), 2u);  // WWW is not in the protein
    EXPECT_EQ(result.peptides[0].peptide, "GGGR");
    EXPECT_EQ(result.peptides[0].positionText(), "5 - 8");
    EXPECT_DOUBLE_EQ(result.peptides[0].percentOfLength, 4 * 100.0 / 11);
    EXPECT_EQ(result.record.first, 5);  // the protein's first peptide
    EXPECT_EQ(result.coveredResidues, 8);
    const SequenceMassTable m = SequenceMassTable::For(false);
    EXPECT_DOUBLE_EQ(result.peptides[0].mass, ResidueSum(m, "GGGR"));
    EXPECT_DOUBLE_EQ(result.coveredMass, 2 * m.h + m.oh + ResidueSum(m, "AAAKGGGR"));
    const std::vector<std::uint16_t> flags = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(result.record.coverage, flags);
}

TEST_F(DatabaseSearchTest, AbsentPeptideIsNotReportedAsResidueOne) {
    const auto stretch = StretchMass(SequenceMassTable::For(false), "AAAK", "WW");
    EXPECT_FALSE(stretch.has_value());
    EXPECT_FALSE(FindPeptide("AAAK", "").has_value());
}

TEST_F(DatabaseSearchTest, LongReferencesMatchByPrefixOrWhole) {
    // 35 characters; the protein look-up uses the first 28, the position look-up all of them.
    const QString reference = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
    write("refs.fasta", ">ABCDEFGHIJKLMNOPQRSTUVWXYZ12 other\nKKK\n>" + reference.toLatin1() +
                            " right\nPEPTIDE\n");
    DatabaseLookupRequest request;
    request.databaseFile = "refs.fasta";
    request.reference = reference;
    request.peptide = "PEPTIDE";
    EXPECT_EQ(search.FindReference(request).description, "ABCDEFGHIJKLMNOPQRSTUVWXYZ12 other");
    EXPECT_EQ(search.FindSequencePosition(request).description, reference + " right");
}

TEST_F(DatabaseSearchTest, NoMatchReportsTheReference) {
    DatabaseLookupRequest request;
    request.databaseFile = "ubiquitin.fasta";
    request.reference = "NOT_THERE";
    request.peptide = "K";
    const auto result = search.FindReference(request);
    EXPECT_EQ(result.status, LookupStatus::NotFound);
    EXPECT_EQ(result.description, "NOT_THERE");
    EXPECT_EQ(boxes.texts(), QStringList{"No match found in the database"});
}

TEST_F(DatabaseSearchTest, IndexedEntryIsReadWithoutScanningAndFallsBackWithoutIndex) {
    DatabaseLookupRequest request;
    request.databaseFile = "three.fasta";
    request.indexedDatabase = "missingcount.hdr";
    request.entryNumber = 3;
    request.reference = "no header has this";  // only the index can find the entry
    request.peptide = "KWV";
    auto result = search.FindSequencePosition(request);
    ASSERT_EQ(result.status, LookupStatus::Found);
    EXPECT_EQ(result.record.sequence, "MKWVTF");
    EXPECT_EQ(result.record.first, 2);

    // Without its index the FASTA file is scanned for the reference instead.
    QFile::remove(dir.filePath("three.fasta.idx"));
    request.reference = "P3|THREE";
    result = search.FindSequencePosition(request);
    ASSERT_EQ(result.status, LookupStatus::Found);
    EXPECT_EQ(result.description, "sp|P3|THREE third");
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to access the database index"});
}

TEST_F(DatabaseSearchTest, RelativeIndexedNameIsFoundBesideTheResults) {
    QTemporaryDir emptyDatabaseFolder;
    search.SetDatabaseDirectory(emptyDatabaseFolder.path());
    DatabaseLookupRequest request;
    request.databaseFile = "three.fasta";
    request.indexedDatabase = "missingcount.hdr";
    request.entryNumber = 1;
    request.reference = "x";
    request.peptide = "ACDEF";
    const auto result = search.FindSequencePosition(request);
    ASSERT_EQ(result.status, LookupStatus::Found);
    EXPECT_EQ(result.positionText, "Position of sequence:  9 - 13");
}

TEST_F(DatabaseSearchTest, CancelStopsTheScanBetweenEntries) {
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i) bytes += ">e\nAAAA\n";
    write("many.fasta", bytes + ">last\nPEPTIDE\n");
    std::atomic<bool> cancel{true};
    WorkProgress progress;
    progress.cancelFlag = &cancel;
    search.SetProgress(&progress);
    DatabaseLookupRequest request;
    request.databaseFile = "many.fasta";
    request.peptide = "PEPTIDE";
    EXPECT_EQ(search.FindSequence(request).status, LookupStatus::Cancelled);
    request.reference = "last";
    EXPECT_EQ(search.FindSequencePosition(request).status, LookupStatus::Cancelled);
}

TEST_F(DatabaseSearchTest, ProgressInStepsOfTenPercent) {
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i) bytes += ">e\nAAAA\n";
    write("many.fasta", bytes);
    std::vector<int> percents;
    QStringList statuses;
    WorkProgress progress;
    progress.onPercent = [&](int p) { percents.push_back(p); };
    progress.onStatus = [&](const QString& s) { statuses << s; };
    search.SetProgress(&progress);
    DatabaseLookupRequest request;
    request.databaseFile = "many.fasta";
    request.peptide = "W";
    EXPECT_EQ(search.FindSequence(request).status, LookupStatus::NotFound);
    EXPECT_EQ(percents, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));
    EXPECT_EQ(statuses, (QStringList{"Performing fasta database search ...",
                                     "Fasta database search finished"}));
}

TEST(ChooseProteinHit, FirstSelectedFirstHitElseTheLastSeen) {
    const auto hits = [](std::initializer_list<int> numbers) {
        std::vector<HitNumber> list;
        for (int n : numbers) list.push_back(HitNumber(n));
        return list;
    };
    std::array<std::vector<HitNumber>, kProteinHitLists> lists{
        {hits({}), hits({4, 5}), hits({}), hits({7}), hits({9, 1})}};
    EXPECT_EQ(ChooseProteinHit(lists, [](HitNumber h) { return h == HitNumber(7); }), HitNumber(7));
    // 5 is not first
    EXPECT_EQ(ChooseProteinHit(lists, [](HitNumber h) { return h == HitNumber(5); }), HitNumber(9));
    EXPECT_EQ(ChooseProteinHit(lists, [](HitNumber) { return true; }), HitNumber(4));
    EXPECT_EQ(ChooseProteinHit({}, [](HitNumber) { return true; }), HitNumber());
}

TEST(DatabaseSearchThreads, TwoLookupsAtOnceKeepTheirOwnBuffers) {
    QTemporaryDir dir;
    QByteArray a, b;
    for (int i = 0; i < 3000; ++i) {
        a += ">a" + QByteArray::number(i) + "\n" + (i % 100 == 0 ? "AAPEPTIDEKAA" : "GGGGGGGG") +
             "\n";
        b += ">b" + QByteArray::number(i) + "\n" + (i % 300 == 0 ? "WWWHHHWWW" : "CCCCCCCC") + "\n";
    }
    dbtest::WriteFile(dir, "a.fasta", a);
    dbtest::WriteFile(dir, "b.fasta", b);
    std::size_t rowsA = 0, rowsB = 0;
    const auto run = [&dir](const char* file, const char* peptide, std::size_t& rows) {
        CDatabaseSearch search;
        search.SetDatabaseDirectory(dir.path());
        search.SetResultsDirectory(dir.path());
        search.SetBlockSize(1000);
        DatabaseLookupRequest request;
        request.databaseFile = file;
        request.peptide = peptide;
        for (int k = 0; k < 5; ++k) rows = search.FindSequence(request).rows.size();
    };
    std::thread first(run, "a.fasta", "PEPTIDEK", std::ref(rowsA));
    std::thread second(run, "b.fasta", "HHH", std::ref(rowsB));
    first.join();
    second.join();
    EXPECT_EQ(rowsA, 30u);
    EXPECT_EQ(rowsB, 10u);
}
