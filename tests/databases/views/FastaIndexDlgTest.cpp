#include "databases/views/FastaIndexDlg.h"

#include "databases/FastaIndexBuilder.h"
#include "document/Settings.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QByteArray ManyEntries(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += ">entry " + QByteArray::number(i) + "\nMKWVTFISLLLLFSSAYSR\n";
    return bytes;
}

void Check(CDialogBase& dialog, int id) {
    static_cast<QAbstractButton*>(dialog.GetDlgItem(id))->setChecked(true);
}

}  // namespace

TEST(FastaIndexDlg, IndexesTheRealDatabaseAsTheEngineDoes) {
    const QString real = zartest::RealDataPath("proteins.fasta");
    if (real.isEmpty()) GTEST_SKIP() << "real data not fetched";
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    const QString fasta = dir.filePath("proteins.fasta");
    ASSERT_TRUE(QFile::copy(real, fasta));

    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    EXPECT_TRUE(dialog.StatusText()->text().isEmpty());
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
    dialog.SetDatabaseName(fasta);
    Check(dialog, CFastaIndexDlg::kMonoisotopicId);
    dialog.OnOK();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.WaitForBuild();

    EXPECT_EQ(dialog.StatusText()->text(), "Processed 9439 entries while creating the fasta index");
    EXPECT_EQ(dialog.ProgressBar()->value(), 100);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.CloseButton()->text(), "&Close");

    const CFastaIndexBuilder engine(false, SequenceMassTable::For(true));
    const QString engineIndex = dir.filePath("engine.idx");
    ASSERT_EQ(engine.build(fasta, WorkProgress(), engineIndex).status,
              FastaIndexBuildResult::Status::Done);
    const QByteArray built = dbtest::ReadFile(fasta + ".idx");
    EXPECT_EQ(built.size(), 9440 * 32);
    EXPECT_TRUE(built == dbtest::ReadFile(engineIndex));
    dialog.grab().save("/tmp/i30-fasta-index.png");
}

TEST(FastaIndexDlg, NucleotideAndAverageChoicesReachTheIndex) {
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "dna.fasta", ">d\nACGT\n");
    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    dialog.SetDatabaseName(fasta);
    Check(dialog, CFastaIndexDlg::kNucleotideId);
    dialog.OnOK();
    dialog.WaitForBuild();
    const auto records = dbtest::ReadIndex(fasta + ".idx");
    ASSERT_EQ(records.size(), 2u);
    // A nucleotide entry weighs H + OH, average masses.
    EXPECT_NEAR(records[0].mass, 1.00794 + 1.00794 + 15.9994, 1e-9);
}

TEST(FastaIndexDlg, ANameWithoutFolderIsTakenInTheDatabaseFolder) {
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    SetDatabaseDirectory(dir.path() + "/");
    dbtest::WriteFile(dir, "db.fasta", ">a\nK\n");
    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    static_cast<QLineEdit*>(dialog.GetDlgItem(CFastaIndexDlg::kDatabaseNameId))
        ->setText("db.fasta");
    dialog.OnOK();
    dialog.WaitForBuild();
    EXPECT_EQ(dbtest::ReadIndex(dir.filePath("db.fasta.idx")).size(), 2u);
}

TEST(FastaIndexDlg, AnExistingIndexIsKeptWhenTheUserSaysNo) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "db.fasta", ">a\nK\n");
    dbtest::WriteFile(dir, "db.fasta.idx", "old");
    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    dialog.SetDatabaseName(fasta);
    boxes.answerNext(IDNO);
    dialog.OnOK();
    EXPECT_FALSE(dialog.IsBuilding());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0], "An index file already exists for the database\n\n" + fasta +
                                    "\n\nDo you want to replace it?");
    EXPECT_EQ(dbtest::ReadFile(fasta + ".idx"), "old");
}

TEST(FastaIndexDlg, AFailureIsShownInTheStatusText) {
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    dialog.SetDatabaseName(dir.filePath("absent.fasta"));
    dialog.OnOK();
    dialog.WaitForBuild();
    EXPECT_EQ(dialog.StatusText()->text(), "Unable to open the fasta database");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

TEST(FastaIndexDlg, CancelStopsTheBuildAndKeepsTheOldIndex) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;  // answers Yes to the replacement
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "big.fasta", ManyEntries(200000));
    dbtest::WriteFile(dir, "big.fasta.idx", "old");
    CFastaIndexDlg dialog;
    dialog.EnsureInitialized();
    dialog.SetDatabaseName(fasta);
    dialog.OnOK();
    ASSERT_TRUE(dialog.IsBuilding());
    EXPECT_EQ(dialog.CloseButton()->text(), "&Cancel");
    dialog.CloseButton()->click();
    // The dialog stays open, ready for another build.
    EXPECT_FALSE(dialog.IsBuilding());
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.CloseButton()->text(), "&Close");
    EXPECT_EQ(dialog.StatusText()->text(), "Fasta index creation cancelled");
    EXPECT_EQ(dbtest::ReadFile(fasta + ".idx"), "old");
}

TEST(FastaIndexDlg, ClosingTheWindowDuringABuildWaitsForTheWorker) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "big.fasta", ManyEntries(200000));
    dbtest::WriteFile(dir, "big.fasta.idx", "old");
    {
        CFastaIndexDlg dialog;
        dialog.show();
        dialog.SetDatabaseName(fasta);
        dialog.OnOK();
        dialog.reject();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.IsBuilding());
    }
    EXPECT_EQ(dbtest::ReadFile(fasta + ".idx"), "old");
}
