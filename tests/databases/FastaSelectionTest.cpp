#include "databases/FastaSelection.h"

#include "databases/SequenceMasses.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

class FastaSelectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        request.originalPath = dir.filePath("original.fasta");
        request.targetPath = dir.filePath("target.fasta");
        progress.onListLine = [this](const QString& s) { lines << s; };
        progress.onStatus = [this](const QString& s) { statuses << s; };
    }
    void original(const QByteArray& bytes) { dbtest::WriteFile(dir, "original.fasta", bytes); }
    QByteArray target() const { return dbtest::ReadFile(request.targetPath); }
    SelectResult run() { return SelectDatabaseEntries(request, progress); }

    QTemporaryDir dir;
    SelectRequest request;
    WorkProgress progress;
    QStringList lines;
    QStringList statuses;
};

const QByteArray kThree =
    ">sp|K1 protein kinase\nPEPTIDE\n>sp|H1 the human one\nKR\n>sp|X1 other\nGG\n";

}  // namespace

TEST_F(FastaSelectionTest, IncludeStringsEitherSufficesAndExcludeWins) {
    original(kThree + ">sp|K2 KINASE human\nAA\n");
    request.includeStrings[0] = "kinase";
    request.includeEnabled[0] = true;
    request.includeStrings[1] = "~HUMAN";  // '~' stands for a blank
    request.includeEnabled[1] = true;
    request.includeStrings[2] = "OTHER";  // not checked: takes no part
    request.excludeStrings[0] = "K2";
    request.excludeEnabled[0] = true;
    ASSERT_EQ(run(), SelectResult::Completed);
    EXPECT_EQ(target(), ">sp|K1 protein kinase\nPEPTIDE\n>sp|H1 the human one\nKR\n");
    EXPECT_EQ(lines, (QStringList{"", "Input db = " + request.originalPath,
                                  "Output db = " + request.targetPath,
                                  "Number of proteins in original database = 4",
                                  "Number of proteins added to new database = 2", "Done"}));
}

TEST_F(FastaSelectionTest, MassRangeUsesTheAnnotationElseTheFullMass) {
    const SequenceMassTable m = SequenceMassTable::For(false);
    const QByteArray g20(20, 'G');  // about 1159 Da
    original(">annotated [MASS=4000]\nG\n>computed\n" + g20 +
             "\n>light\nG\n>edge [MASS=5000]\nG\n");
    request.lowestMass = 1000;
    request.highestMass = 5000;
    ASSERT_EQ(run(), SelectResult::Completed);
    // Mass not written, yet the range tests the full mass of "computed", not water alone.
    EXPECT_EQ(target(),
              ">annotated [MASS=4000]\nG\n>computed\n" + g20 + "\n>edge [MASS=5000]\nG\n");
    EXPECT_GT(m.h + m.oh + 20 * m.residue['G'], 1000.0);
}

TEST_F(FastaSelectionTest, WrittenMassReplacesAnOldAnnotation) {
    original(">a desc [MASS=1] tail\nGG\n>b\n\n");
    request.includeMassInHeader = true;
    ASSERT_EQ(run(), SelectResult::Completed);
    const SequenceMassTable m = SequenceMassTable::For(false);
    EXPECT_EQ(target(), QByteArray(">a desc tail [MASS=") +
                            QByteArray::number(qRound(m.h + m.oh + 2 * m.residue['G'])) +
                            "]\nGG\n>b [MASS=18]\n\n");
}

TEST_F(FastaSelectionTest, SequencesAreRewrappedAndCrlfIsALineEnd) {
    original(">a\r\n" + QByteArray(120, 'A') + "\r\n" + QByteArray(80, 'C') + " 1*\r\n");
    ASSERT_EQ(run(), SelectResult::Completed);
    const QByteArray seq = QByteArray(120, 'A') + QByteArray(80, 'C') + "1*";
    EXPECT_EQ(target(),
              ">a\n" + seq.left(80) + "\n" + seq.mid(80, 80) + "\n" + seq.mid(160) + "\n");
}

TEST_F(FastaSelectionTest, ProgressEveryHundredEntriesAndAtTheEnd) {
    QByteArray bytes;
    for (int i = 0; i < 250; ++i) bytes += ">e\nK\n";
    original(bytes);
    ASSERT_EQ(run(), SelectResult::Completed);
    EXPECT_EQ(statuses, (QStringList{"processed  100 entries, continuing on ...",
                                     "processed  200 entries, continuing on ...",
                                     "processed  250 entries, continuing on ..."}));
}

TEST_F(FastaSelectionTest, EmptyTargetWritesNewFastaInTheCurrentFolder) {
    original(kThree);
    request.targetPath.clear();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const SelectResult result = run();
    QDir::setCurrent(previous);
    ASSERT_EQ(result, SelectResult::Completed);
    EXPECT_EQ(dbtest::ReadFile(dir.filePath("new.fasta")), kThree);
}

TEST_F(FastaSelectionTest, TheOriginalIsNeverItsOwnTarget) {
    original(kThree);
    request.targetPath = dir.path() + "/./original.fasta";
    EXPECT_EQ(run(), SelectResult::Failed);
    EXPECT_EQ(dbtest::ReadFile(request.originalPath), kThree);
    EXPECT_TRUE(lines.contains("Original and Target files must be different."));

    // "new.fasta" as the original and an empty target: the same file.
    lines.clear();
    request.originalPath = dbtest::WriteFile(dir, "new.fasta", kThree);
    request.targetPath.clear();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(run(), SelectResult::Failed);
    QDir::setCurrent(previous);
    EXPECT_EQ(dbtest::ReadFile(dir.filePath("new.fasta")), kThree);
}

TEST_F(FastaSelectionTest, AppendAddsAMissingLineEndFirst) {
    original(">b\nKR\n");
    dbtest::WriteFile(dir, "target.fasta", ">a\nGG");
    request.targetMode = 1;
    ASSERT_EQ(run(), SelectResult::Completed);
    EXPECT_EQ(target(), ">a\nGG\n>b\nKR\n");
}

TEST_F(FastaSelectionTest, ErrorsAreListedAndLeaveTheTargetUntouched) {
    dbtest::WriteFile(dir, "target.fasta", "old");
    original("no header\nsecond\nthird\nfourth\n");
    EXPECT_EQ(run(), SelectResult::Failed);
    EXPECT_EQ(lines.mid(3), (QStringList{"Error in file.", "no header", "second", "third", ""}));
    EXPECT_EQ(target(), "old");

    lines.clear();
    request.originalPath = dir.filePath("absent.fasta");
    EXPECT_EQ(run(), SelectResult::Failed);
    EXPECT_EQ(lines, QStringList{"ERROR -- cannot open database " + request.originalPath});

    lines.clear();
    original(kThree);
    request.originalPath = dir.filePath("original.fasta");
    request.lowestMass = 500;
    request.highestMass = 100;
    EXPECT_EQ(run(), SelectResult::Failed);
    EXPECT_EQ(
        lines,
        QStringList{" ERROR - highest protein mass 100 is less than lowest protein mass 500\n\n"});
}

TEST_F(FastaSelectionTest, EmptyOriginalReportsNothingReadOrAdded) {
    original("");
    ASSERT_EQ(run(), SelectResult::Completed);
    EXPECT_EQ(lines.mid(3), (QStringList{"Number of proteins in original database = 0",
                                         "Number of proteins added to new database = 0", "Done"}));
}

TEST_F(FastaSelectionTest, SelectStringsAndAnnotations) {
    EXPECT_EQ(PrepareSelectString("~human"), " HUMAN");
    EXPECT_EQ(PrepareSelectString(QString(150, 'a')).size(), kMaxSelectStringChars);
    double mass = 0;
    EXPECT_TRUE(AnnotatedMass("x [MASS=4000] y", mass));
    EXPECT_DOUBLE_EQ(mass, 4000);
    EXPECT_FALSE(AnnotatedMass("x [MASS=abc]", mass));
    EXPECT_FALSE(AnnotatedMass("x", mass));
}

TEST_F(FastaSelectionTest, LongHeadersAndPathsAreKeptWhole) {
    const QByteArray header(150000, 'h');
    original(">" + header + "\nKR\n");
    ASSERT_EQ(run(), SelectResult::Completed);
    EXPECT_EQ(target(), ">" + header + "\nKR\n");

    lines.clear();
    request.originalPath = dir.filePath(QString(300, 'x'));
    EXPECT_EQ(run(), SelectResult::Failed);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QString(255, 'x')));
}

TEST_F(FastaSelectionTest, TargetNamesAsThePageTakesThem) {
    zartest::MessageBoxCapture boxes;
    EXPECT_EQ(PrepareSelectTarget("", 0), QString());
    EXPECT_EQ(PrepareSelectTarget(dir.filePath("subset"), 0), dir.filePath("subset.fasta"));
    EXPECT_EQ(PrepareSelectTarget(dir.filePath("subset.txt"), 0), dir.filePath("subset.txt"));
    const QString notFasta = dbtest::WriteFile(dir, "plain", "text\n");
    EXPECT_EQ(PrepareSelectTarget(notFasta, 0), notFasta);
    EXPECT_FALSE(PrepareSelectTarget(notFasta, 1).has_value());
    EXPECT_EQ(boxes.texts().size(), 1);
}

TEST_F(FastaSelectionTest, AFullDiskFailsTheRunAndKeepsTheOldTarget) {
    QByteArray entries;
    for (int i = 0; i < 150; ++i)
        entries += ">sp|P" + QByteArray::number(i) + "\n" + QByteArray(90, 'K') + "\n";
    original(entries);
    dbtest::WriteFile(dir, "target.fasta", kThree);
    const int result = zartest::RunWithFileSizeLimit(
        12 * 1024, [this] { return run() == SelectResult::Failed ? 0 : 1; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(target(), kThree);
}
