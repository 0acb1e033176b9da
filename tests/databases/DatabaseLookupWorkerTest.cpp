#include "databases/DatabaseLookupWorker.h"

#include "document/ProteinRecord.h"
#include "document/SearchHitRecord.h"
#include "document/SearchResults.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

using namespace zar;

namespace {

struct Received {
    unsigned message;
    WPARAM wParam;
    std::any payload;
};

// Records every message posted to it, keeping the payloads it is given.
class Recorder {
  public:
    Recorder() {
        for (unsigned m :
             {kMsgReadingFrameEnable, kMsgRowCount, kMsgSequenceRecord, kMsgSequencePeptide,
              kMsgSequenceCoverage, kMsgCoverageUpdate, kMsgDatabaseSearchEnded,
              dbmsg::StatusTextMessage(), dbmsg::ProgressMessage()})
            receiver.messageMap().on(m, [this](const Message& msg) {
                received.push_back(
                    {msg.message, msg.wParam, msg.payload ? std::move(*msg.payload) : std::any()});
                return LRESULT(0);
            });
    }
    std::vector<unsigned> numbers(bool withProgress = false) const {
        std::vector<unsigned> out;
        for (const auto& r : received)
            if (withProgress ||
                (r.message != dbmsg::StatusTextMessage() && r.message != dbmsg::ProgressMessage()))
                out.push_back(r.message);
        return out;
    }
    const Received* find(unsigned message) const {
        for (const auto& r : received)
            if (r.message == message) return &r;
        return nullptr;
    }
    MessageReceiver receiver;
    std::vector<Received> received;
};

class DatabaseLookupWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dbtest::WriteFile(dir, "db.fasta", ">p1 one\nMKPEPTIDEKAA\n>p2 two\nGGPEPTIDEK\n");
        setup.databaseDirectory = dir.path();
        setup.resultsDirectory = dir.path();
        request.databaseFile = "db.fasta";
    }
    void runToEnd(CDatabaseLookupWorker::Kind kind) {
        {
            CDatabaseLookupWorker worker({&results.receiver, &status.receiver, 77});
            ASSERT_TRUE(worker.start(kind, setup, request));
            worker.wait();
            EXPECT_FALSE(worker.isBusy());
        }
        // The worker is gone; its messages and their payloads are still to be delivered.
        QCoreApplication::processEvents();
    }
    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    Recorder results;
    Recorder status;
    CDatabaseLookupWorker::Setup setup;
    DatabaseLookupRequest request;
};

}  // namespace

TEST_F(DatabaseLookupWorkerTest, SequenceLookupPostsItsRowsAsAnOwnedCopy) {
    request.peptide = "PEPTIDEK";
    runToEnd(CDatabaseLookupWorker::Kind::BySequence);
    EXPECT_EQ(results.numbers(), (std::vector<unsigned>{0x409F, 0x40B6}));
    const Received* done = results.find(kMsgDatabaseSearchEnded);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->wParam, 77u);
    const auto* result = std::any_cast<SequenceLookupResult>(&done->payload);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->rows.size(), 2u);
    EXPECT_EQ(result->rows[1].reference, "p2 two");
    EXPECT_EQ(result->rows[1].positionText(), "3 - 10");

    const Received* text = status.find(dbmsg::StatusTextMessage());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::any_cast<QString>(text->payload), "Performing fasta database search ...");
    EXPECT_EQ(status.received.back().message, dbmsg::ProgressMessage());
    EXPECT_EQ(status.received.back().wParam, 100u);
}

TEST_F(DatabaseLookupWorkerTest, ReferenceLookupPostsRecordCoverageRefreshAndEnd) {
    request.reference = "p1";
    request.peptides = {"PEPTIDEK", "AA"};
    runToEnd(CDatabaseLookupWorker::Kind::ByReference);
    EXPECT_EQ(results.numbers(),
              (std::vector<unsigned>{0x409F, 0x409E, 0x409B, 0x409D, 0x40B7, 0x40B6}));
    EXPECT_EQ(results.find(kMsgRowCount)->wParam, 1u);
    const auto record = std::any_cast<ProteinSequenceRecord>(results.find(0x409B)->payload);
    EXPECT_EQ(record.sequence, "MKPEPTIDEKAA");
    EXPECT_EQ(record.first, 3);
    const auto coverage = std::any_cast<ProteinLookupResult>(results.find(0x409D)->payload);
    EXPECT_EQ(coverage.coveredResidues, 10);
    EXPECT_EQ(results.find(kMsgCoverageUpdate)->wParam, 77u);
}

TEST_F(DatabaseLookupWorkerTest, PositionLookupPostsBothRecords) {
    request.reference = "p2";
    request.peptide = "PEPTIDEK";
    runToEnd(CDatabaseLookupWorker::Kind::BySequencePosition);
    EXPECT_EQ(results.numbers(), (std::vector<unsigned>{0x409F, 0x409E, 0x409B, 0x409C, 0x40B6}));
    const auto result = std::any_cast<ProteinLookupResult>(results.find(0x40B6)->payload);
    EXPECT_EQ(result.positionText, "Position of sequence:  3 - 10");
}

TEST_F(DatabaseLookupWorkerTest, FailedLookupStillEndsTheStatusDialog) {
    request.peptide = "PEPTIDEK";
    request.databaseFile = "missing.fasta";
    runToEnd(CDatabaseLookupWorker::Kind::BySequence);
    EXPECT_EQ(results.numbers(), (std::vector<unsigned>{0x40B6}));
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to open the database"});
}

TEST_F(DatabaseLookupWorkerTest, DestroyingARunningWorkerCancelsIt) {
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += ">e\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n";
    dbtest::WriteFile(dir, "big.fasta", bytes);
    request.databaseFile = "big.fasta";
    request.peptide = "W";
    auto worker = std::make_unique<CDatabaseLookupWorker>(
        CDatabaseLookupWorker::Targets{&results.receiver, nullptr, 5});
    ASSERT_TRUE(worker->start(CDatabaseLookupWorker::Kind::BySequence, setup, request));
    EXPECT_FALSE(worker->start(CDatabaseLookupWorker::Kind::BySequence, setup, request));
    worker.reset();
    QCoreApplication::processEvents();
    const Received* done = results.find(kMsgDatabaseSearchEnded);
    ASSERT_NE(done, nullptr);
    const auto status = std::any_cast<SequenceLookupResult>(done->payload).status;
    EXPECT_TRUE(status == LookupStatus::Cancelled || status == LookupStatus::NotFound);
}

TEST(LookupRequests, HitFieldsAndProteinChecks) {
    SearchHitRecord hit;
    hit.setPeptide(u"K.PEPTIDE.R");
    hit.setReference(u"sp|P1|ONE");
    hit.setDatabaseFile(u"human.fasta");
    hit.setSecondDatabase(u"human.hdr");
    hit.proteinNumber = 12;
    hit.monoisotopicPrecursor = 1;
    const DatabaseLookupRequest request = LookupRequestForHit(hit);
    EXPECT_EQ(PeptideLetters(request.peptide), "PEPTIDE");
    EXPECT_EQ(request.reference, "sp|P1|ONE");
    EXPECT_EQ(request.databaseFile, "human.fasta");
    EXPECT_EQ(request.indexedDatabase, "human.hdr");
    EXPECT_EQ(request.entryNumber, 12);
    EXPECT_TRUE(request.monoisotopic);

    CSearchResults results;
    results.SetDirectory("/results");
    results.Parameters().nucleotide = 1;
    // A protein index equal to the number of proteins, or a protein no hit names: no look-up.
    EXPECT_FALSE(LookupRequestForProtein(results, 0).has_value());
    results.GetProteins().push_back(std::make_unique<CProteinRecord>());
    EXPECT_FALSE(LookupRequestForProtein(results, 0).has_value());
    EXPECT_FALSE(LookupRequestForProtein(results, 1).has_value());
    EXPECT_FALSE(LookupRequestForProtein(results, -1).has_value());
    const SearchHitRecord unread;  // a hit without a file: the set's folder
    auto setup = LookupSetupFor(results, unread, 5);
    EXPECT_EQ(setup.databaseKind, 1);
    EXPECT_EQ(setup.readingFrame, 5);
    EXPECT_TRUE(setup.resultsDirectory.startsWith("/results"));
    EXPECT_TRUE(setup.databaseDirectory.isNull());
    SearchHitRecord read;
    read.path = "/second/run.0101.0101.2";
    setup = LookupSetupFor(results, read, 5);
    EXPECT_EQ(setup.resultsDirectory, "/second/") << "the folder of the hit's own search";
}

TEST_F(DatabaseLookupWorkerTest, ManyMatchingEntriesPostTheDatabaseKindOnce) {
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i) bytes += ">e" + QByteArray::number(i) + "\nMKPEPTIDEKAA\n";
    dbtest::WriteFile(dir, "many.fasta", bytes);
    request.databaseFile = "many.fasta";
    request.peptide = "PEPTIDEK";
    runToEnd(CDatabaseLookupWorker::Kind::BySequence);
    EXPECT_EQ(results.numbers(), (std::vector<unsigned>{0x409F, 0x40B6}));
    const auto result = std::any_cast<SequenceLookupResult>(results.find(0x40B6)->payload);
    EXPECT_EQ(result.rows.size(), 5000u);
    // Progress only at multiples of 10 %, each once.
    int progress = 0;
    for (const Received& r : status.received) progress += r.message == dbmsg::ProgressMessage();
    EXPECT_LE(progress, 12);
}

TEST_F(DatabaseLookupWorkerTest, AVeryLongProteinIsReadWhole) {
    QByteArray protein(3'000'000, 'G');
    protein.append("PEPTIDEK");
    QByteArray bytes = ">long one\n";
    for (qsizetype at = 0; at < protein.size(); at += 60) bytes += protein.mid(at, 60) + "\n";
    dbtest::WriteFile(dir, "long.fasta", bytes);
    request.databaseFile = "long.fasta";
    request.reference = "long";
    request.peptide = "PEPTIDEK";
    runToEnd(CDatabaseLookupWorker::Kind::BySequencePosition);
    const auto result = std::any_cast<ProteinLookupResult>(results.find(0x40B6)->payload);
    ASSERT_EQ(result.status, LookupStatus::Found);
    EXPECT_EQ(result.record.length, 3'000'008);
    EXPECT_EQ(result.positionText, "Position of sequence:  3000001 - 3000008");
}

TEST(LookupDatabase, TheSettingsFolderElseTheOneBesideTheResults) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("results");
    QDir(dir.path()).mkpath("settings");
    dbtest::WriteFile(dir, "demo.fasta", ">p1\nMK\n");
    CSearchResults results;
    results.SetDirectory(dir.filePath("results"));
    results.Parameters().databaseName = "../demo.fasta";
    DatabaseLookupRequest request;
    request.databaseFile = "demo.fasta";

    const SearchHitRecord hit;
    CDatabaseLookupWorker::Setup setup = LookupSetupFor(results, hit, 1);
    setup.databaseDirectory = dir.filePath("settings");
    FindLookupDatabase(setup, request, results, hit);
    EXPECT_EQ(QDir(setup.databaseDirectory).canonicalPath(), QDir(dir.path()).canonicalPath())
        << "not in the settings' folder: the one the results name";

    dbtest::WriteFile(dir, "settings/demo.fasta", ">p1\nMK\n");
    setup.databaseDirectory = dir.filePath("settings");
    FindLookupDatabase(setup, request, results, hit);
    EXPECT_EQ(setup.databaseDirectory, dir.filePath("settings")) << "the settings' folder holds it";

    request.databaseFile = "other.fasta";
    setup.databaseDirectory = dir.filePath("elsewhere");
    FindLookupDatabase(setup, request, results, hit);
    EXPECT_EQ(setup.databaseDirectory, dir.filePath("elsewhere")) << "another file: left as it is";
}

// A set of several searches (File > Open Multiple Results) has no folder of its own: a hit's
// database is the one its own ".out" file names, taken from that file's folder.
TEST(LookupDatabase, AHitOfSeveralSearchesTakesTheDatabaseItsOwnFileNames) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("second");
    QDir(dir.path()).mkpath("databases");
    QDir(dir.path()).mkpath("settings");
    dbtest::WriteFile(dir, "databases/own.fasta", ">p1\nMK\n");
    QFile fixture(zartest::DataPath(QStringLiteral("databases/fasta/search.out")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    QByteArray out = fixture.readAll();
    out.replace("C:\\Veltrix\\Database\\human.fasta", "../databases/own.fasta");
    dbtest::WriteFile(dir, "second/run.1234.1234.2.out", out);

    CSearchResults results;  // no folder, and the first search's database elsewhere
    results.Parameters().databaseName = "/nowhere/own.fasta";
    SearchHitRecord hit;
    hit.path = dir.filePath("second/run.1234.1234.2");
    DatabaseLookupRequest request;
    request.databaseFile = "own.fasta";
    CDatabaseLookupWorker::Setup setup = LookupSetupFor(results, hit, 1);
    EXPECT_EQ(setup.resultsDirectory, dir.filePath("second") + "/");
    setup.databaseDirectory = dir.filePath("settings");
    FindLookupDatabase(setup, request, results, hit);
    EXPECT_EQ(QDir(setup.databaseDirectory).canonicalPath(),
              QDir(dir.filePath("databases")).canonicalPath());

    // Found nowhere: the folder stays the setting's, and the look-up says it cannot open it.
    request.databaseFile = "missing.fasta";
    setup.databaseDirectory = dir.filePath("settings");
    FindLookupDatabase(setup, request, results, hit);
    EXPECT_EQ(setup.databaseDirectory, dir.filePath("settings"));
}
