#include "databases/FastaIndexBuilder.h"

#include "databases/FastaIndexRecord.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>

using namespace zar;

namespace {

FastaIndexBuildResult Build(const QString& path, bool nucleotide = false,
                            qint64 block = kFastaBlockSize, const WorkProgress& progress = {}) {
    CFastaIndexBuilder builder(nucleotide, SequenceMassTable::For(false), block);
    return builder.build(path, progress);
}

}  // namespace

TEST(FastaIndexBuilder, ThreeEntriesMatchTheGoldenIndex) {
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(
        dir, "three.fasta", dbtest::ReadFile(zartest::DataPath("databases/fasta/three.fasta")));
    const auto result = Build(fasta);
    EXPECT_EQ(result.status, FastaIndexBuildResult::Status::Done);
    EXPECT_EQ(result.entries, 3);
    EXPECT_EQ(result.statusText, "Processed 3 entries while creating the fasta index");

    const auto built = dbtest::ReadIndex(fasta + ".idx");
    const auto golden = dbtest::ReadIndex(zartest::DataPath("databases/fasta/three.fasta.idx"));
    ASSERT_EQ(built.size(), 4u);
    ASSERT_EQ(golden.size(), 4u);
    for (std::size_t i = 0; i < golden.size(); ++i) {
        EXPECT_EQ(built[i].entryNumber, golden[i].entryNumber) << i;
        EXPECT_EQ(built[i].offset, golden[i].offset) << i;
        EXPECT_EQ(built[i].headerLength, golden[i].headerLength) << i;
        EXPECT_NEAR(built[i].mass, golden[i].mass, 1e-9) << i;
    }
    EXPECT_EQ(built[3].offset, QFileInfo(fasta).size());
    EXPECT_EQ(built[2].headerLength, 19);  // "sp|P3|THREE third" with CR and LF
}

TEST(FastaIndexBuilder, EntriesAcrossBlockBoundariesGetTheSameRecords) {
    QTemporaryDir dir;
    QByteArray bytes = "junk>alpha beta\r\nPEPTIDE\nKR\n>gamma\n>delta\nMKW";
    const QString fasta = dbtest::WriteFile(dir, "b.fasta", bytes);
    ASSERT_EQ(Build(fasta).status, FastaIndexBuildResult::Status::Done);
    const auto reference = dbtest::ReadIndex(fasta + ".idx");
    ASSERT_EQ(reference.size(), 4u);
    for (const qint64 block : {1, 2, 5, 16, 17}) {
        ASSERT_EQ(Build(fasta, false, block).status, FastaIndexBuildResult::Status::Done);
        const auto records = dbtest::ReadIndex(fasta + ".idx");
        ASSERT_EQ(records.size(), reference.size()) << block;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].offset, reference[i].offset) << block;
            EXPECT_EQ(records[i].headerLength, reference[i].headerLength) << block;
            EXPECT_DOUBLE_EQ(records[i].mass, reference[i].mass) << block;
        }
    }
}

TEST(FastaIndexBuilder, EntrySplitAcrossTheTwoMillionByteBlock) {
    QTemporaryDir dir;
    QByteArray bytes =
        ">first\n" + QByteArray(int(kFastaBlockSize) - 10, 'A') + "\n>split header\nGGGG\n";
    const QString fasta = dbtest::WriteFile(dir, "big.fasta", bytes);
    ASSERT_EQ(Build(fasta).status, FastaIndexBuildResult::Status::Done);
    const auto records = dbtest::ReadIndex(fasta + ".idx");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].offset, bytes.indexOf(">split") + 1);
    EXPECT_EQ(records[1].headerLength, 13);
    const SequenceMassTable masses = SequenceMassTable::For(false);
    EXPECT_NEAR(records[1].mass, masses.h + masses.oh + 4 * masses.residue['G'], 1e-9);
}

TEST(FastaIndexBuilder, NucleotideRecordsHoldWaterOnly) {
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "n.fasta", ">a\nACGT\n>b\nGGG\n");
    ASSERT_EQ(Build(fasta, true).status, FastaIndexBuildResult::Status::Done);
    const SequenceMassTable masses = SequenceMassTable::For(false);
    for (const auto& r : dbtest::ReadIndex(fasta + ".idx"))
        if (r.headerLength > 0) {
            EXPECT_DOUBLE_EQ(r.mass, masses.h + masses.oh);
        }
}

TEST(FastaIndexBuilder, UbiquitinRecordMassesByMassType) {
    const QString fasta = zartest::DataPath("databases/fasta/ubiquitin.fasta");
    QTemporaryDir dir;
    for (const bool mono : {false, true}) {
        CFastaIndexBuilder builder(false, SequenceMassTable::For(mono));
        const QString index = dir.filePath(mono ? "mono.idx" : "avg.idx");
        ASSERT_EQ(builder.build(fasta, {}, index).status, FastaIndexBuildResult::Status::Done);
        const auto records = dbtest::ReadIndex(index);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_NEAR(records[0].mass, mono ? 8559.62 : 8564.8, mono ? 0.01 : 0.05);
    }
}

TEST(FastaIndexBuilder, FailuresKeepTheOldIndex) {
    QTemporaryDir dir;
    const QByteArray old = "old index bytes";
    const QString empty = dbtest::WriteFile(dir, "empty.fasta", "");
    dbtest::WriteFile(dir, "empty.fasta.idx", old);
    auto result = Build(empty);
    EXPECT_EQ(result.status, FastaIndexBuildResult::Status::EmptyFasta);
    EXPECT_EQ(result.statusText, "Problem encountered while reading the fasta database");
    EXPECT_EQ(dbtest::ReadFile(empty + ".idx"), old);

    result = Build(dir.filePath("missing.fasta"));
    EXPECT_EQ(result.status, FastaIndexBuildResult::Status::FastaUnreadable);
    EXPECT_EQ(result.statusText, "Unable to open the fasta database");
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.fasta.idx")));

    const QString fasta = dbtest::WriteFile(dir, "ok.fasta", ">a\nK\n");
    CFastaIndexBuilder builder(false, SequenceMassTable::For(false));
    result = builder.build(fasta, {}, dir.filePath("no/such/folder/ok.fasta.idx"));
    EXPECT_EQ(result.status, FastaIndexBuildResult::Status::IndexUnwritable);
    EXPECT_EQ(result.statusText, "Unable to open the fasta index");
}

TEST(FastaIndexBuilder, CancelLeavesTheOldIndexAndReportsNoCount) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 500; ++i) bytes += ">e" + QByteArray::number(i) + "\nPEPTIDE\n";
    const QString fasta = dbtest::WriteFile(dir, "c.fasta", bytes);
    dbtest::WriteFile(dir, "c.fasta.idx", "old");
    std::atomic<bool> cancel{false};
    WorkProgress progress;
    progress.cancelFlag = &cancel;
    std::vector<int> percents;
    progress.onPercent = [&](int p) {
        percents.push_back(p);
        if (p > 0) cancel = true;
    };
    const auto result = Build(fasta, false, kFastaBlockSize, progress);
    EXPECT_EQ(result.status, FastaIndexBuildResult::Status::Cancelled);
    EXPECT_FALSE(result.statusText.startsWith("Processed"));
    EXPECT_EQ(dbtest::ReadFile(fasta + ".idx"), "old");
    ASSERT_GE(percents.size(), 2u);
    EXPECT_EQ(percents[0], 0);
}

TEST(FastaIndexBuilder, ProgressEveryHundredEntriesEndsAtHundred) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 250; ++i) bytes += ">e\nPEPTIDE\n";
    const QString fasta = dbtest::WriteFile(dir, "p.fasta", bytes);
    std::vector<int> percents;
    QStringList statuses;
    WorkProgress progress;
    progress.onPercent = [&](int p) { percents.push_back(p); };
    progress.onStatus = [&](const QString& s) { statuses << s; };
    ASSERT_EQ(Build(fasta, false, kFastaBlockSize, progress).entries, 250);
    EXPECT_EQ(percents, (std::vector<int>{0, 40, 80, 100}));
    EXPECT_EQ(statuses.value(1), "Creating fasta index, please wait...");
    EXPECT_EQ(statuses.last(), "Processed 250 entries while creating the fasta index");
}

TEST(FastaIndexBuilder, ReplaceQuestionNamesTheDatabase) {
    EXPECT_EQ(ReplaceIndexQuestion("/db/human.fasta"),
              "An index file already exists for the database\n\n/db/human.fasta\n\nDo you want to "
              "replace it?");
}

TEST(FastaIndexBuilder, ReplacingAnExistingIndexNeedsAYes) {
    QTemporaryDir dir;
    zartest::MessageBoxCapture boxes;
    const QString fasta = dbtest::WriteFile(dir, "x.fasta", ">a\nK\n");
    EXPECT_TRUE(ConfirmIndexReplacement(fasta));
    EXPECT_TRUE(boxes.texts().isEmpty());
    dbtest::WriteFile(dir, "x.fasta.idx", "old");
    boxes.answerNext(zar::IDNO);
    EXPECT_FALSE(ConfirmIndexReplacement(fasta));
    boxes.answerNext(zar::IDYES);
    EXPECT_TRUE(ConfirmIndexReplacement(fasta));
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(boxes.texts()[0], ReplaceIndexQuestion(fasta));
    EXPECT_EQ(dbtest::ReadFile(fasta + ".idx"), "old");
}
