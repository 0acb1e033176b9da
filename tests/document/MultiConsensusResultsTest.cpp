#include "document/MultiConsensusResults.h"
#include "document/ZarMessages.h"

#include "ResultsTestSupport.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QString Data(const char* name) {
    return zartest::DataPath(QStringLiteral("document/") + name);
}

class MultiConsensusResultsTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(MultiConsensusResultsTest, EmptyListIsRefused) {
    CMultiConsensusResults set;
    EXPECT_EQ(set.GetDirectory(), "");
    ASSERT_TRUE(set.Initialize());
    EXPECT_FALSE(set.CalculateConsensusScores());
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to access the list of results to process"});
}

TEST_F(MultiConsensusResultsTest, ReadsEveryListedFolderIntoOneBlock) {
    doctest::MessageCollector collector;
    CMultiConsensusResults set;
    set.SetNotifyTarget(&collector);
    set.GetResultList() = {{"", Data("sorvex")}, {"", ""}, {"", Data("fasta")}};
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.CalculateConsensusScores());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), 6);
    // Records follow each other across folders; hit numbers are unique.
    for (int n = 1; n <= 6; ++n) ASSERT_NE(set.FindHit(HitNumber(n)), nullptr) << n;
    EXPECT_TRUE(set.FindHit(HitNumber(5))->path.endsWith("document/fasta/run.0200.0200.2"));
    // The database of the set is the one of the first record read, found in its folder.
    EXPECT_EQ(set.Parameters().databaseName, "test.fasta");
    // The last file read was of revision 11: masses come from the FASTA sequences.
    EXPECT_GT(set.FindHit(HitNumber(1))->proteinMass, 2000.0);
    EXPECT_DOUBLE_EQ(set.FindHit(HitNumber(5))->proteinMass, set.FindHit(HitNumber(1))->proteinMass);
    EXPECT_EQ(set.ReadIndexedProtein("test.fasta", 2), "sp|P00002|PROB_TEST Protein B");
    // Rows carry their line's mass.
    bool sawMass = false;
    for (const auto& p : set.GetProteins())
        for (const auto& rows : p->rowsByRank)
            for (const auto& row : rows) sawMass = sawMass || row->hitMass > 1000.0;
    EXPECT_TRUE(sawMass);
    // Both folders post their own counts; the row is the file's place in its folder.
    collector.deliver();
    ASSERT_EQ(collector.count(kMsgDtaCount), 2);
    EXPECT_EQ(collector.entries[0].wParam, 4u);
    const auto last = collector.entries.back();
    EXPECT_EQ(last.message, kMsgDtaSearchTime);
    EXPECT_EQ(last.lParam, 2);
}

TEST_F(MultiConsensusResultsTest, TheRawFileIsNotChecked) {
    QTemporaryDir dir;
    QFile::copy(Data("single/otherraw.out"), dir.path() + "/other.0300.0300.2.out");
    CMultiConsensusResults set;
    set.SetRawFilePath("run.raw");
    set.GetResultList() = {{"", dir.path()}};
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.CalculateConsensusScores());
    EXPECT_EQ(set.GetHitCount(), 1);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(MultiConsensusResultsTest, CancelBetweenFoldersKeepsHitsAndSkipsScoring) {
    CMultiConsensusResults set;
    set.GetResultList() = {{"", Data("sorvex")}, {"", Data("fasta")}};
    ASSERT_TRUE(set.Initialize());
    set.SetStatusCallback([&](const QString& s) {
        if (s == "Finished!") set.Cancel();
    });
    EXPECT_FALSE(set.CalculateConsensusScores());
    EXPECT_EQ(set.GetHitCount(), 4);
    for (const auto& p : set.GetProteins()) EXPECT_EQ(p->score, std::floor(p->score));
}

TEST_F(MultiConsensusResultsTest, GrowsOnTheRunningIndex) {
    QTemporaryDir dir;
    ASSERT_TRUE(doctest::WriteSorvexFolder(dir.path() + "/a", 6000));
    ASSERT_TRUE(doctest::WriteSorvexFolder(dir.path() + "/b", 4001));
    CMultiConsensusResults set;
    set.GetResultList() = {{"", dir.path() + "/a"}, {"", dir.path() + "/b"}};
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.CalculateConsensusScores());
    EXPECT_EQ(set.GetHitCount(), 10001);
    EXPECT_EQ(set.GetCapacity(), 15000);
    EXPECT_TRUE(set.FindHit(HitNumber(10001))->path.contains("/b/"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(MultiConsensusResultsTest, FilesReadBeforeACancelStayCounted) {
    CMultiConsensusResults set;
    set.GetResultList() = {{"", Data("sorvex")}};
    ASSERT_TRUE(set.Initialize());
    int files = 0;
    set.SetStatusCallback([&](const QString& s) {
        if (s.endsWith(".out") && ++files == 2) set.Cancel();
    });
    EXPECT_FALSE(set.CalculateConsensusScores());
    EXPECT_EQ(set.GetHitCount(), 2);
    for (const auto& p : set.GetProteins())
        for (const auto& numbers : p->hitNumbersByRank)
            for (HitNumber n : numbers) EXPECT_NE(set.FindHit(n), nullptr);
}
