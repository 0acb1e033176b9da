#include "databases/views/SelectStatusDialog.h"
#include "databases/views/UtilityAddPage.h"
#include "databases/views/UtilityPropertySheet.h"
#include "databases/views/UtilitySelectPage.h"

#include "controls/NumericEditCtrl.h"
#include "document/Settings.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace zar;

namespace {

const QByteArray kOriginal =
    ">sp|K1|KIN1_HUMAN Serine kinase\nMKKLLP\n"
    ">sp|K2|KIN2_MOUSE Tyrosine KINASE\nMKR\n"
    ">sp|A1|ALB_HUMAN Albumin fragment\nDAHK\n"
    ">sp|X1|XYZ_YEAST Other protein\nGGGG\n"
    ">sp|H1|HIS_HUMAN Histone\nSGRGK\n";

// What the Select Status dialog showed when the page ran it.
struct StatusSeen {
    QStringList lines;
    QString progress;
    SelectResult result = SelectResult::Failed;
    QString buttonText;
};

// Runs Build Database and acts on the modal status dialog once it is up.
StatusSeen BuildWithStatus(CUtilitySelectPage& page,
                           const std::function<void(CSelectStatusDialog&)>& act = {}) {
    StatusSeen seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSelectStatusDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (act) act(*dialog);
        dialog->WaitForSelection();
        for (int i = 0; i < dialog->MessageList()->count(); ++i)
            seen.lines << dialog->MessageList()->item(i)->text();
        seen.progress = dialog->ProgressText()->text();
        seen.result = dialog->Result();
        seen.buttonText = dialog->Button()->text();
        if (dialog->isVisible()) dialog->Button()->click();
    });
    page.OnBuildDatabase();
    return seen;
}

class UtilitiesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDatabaseDirectory(dir_.path() + "/");
        original_ = dbtest::WriteFile(dir_, "original.fasta", kOriginal);
        sheet_ =
            std::make_unique<CUtilityPropertySheet>(CUtilityPropertySheet::kCaptionId, nullptr, 0);
        sheet_->EnsureInitialized();
    }
    CUtilitySelectPage& Select() { return *sheet_->SelectPage(); }
    CUtilityAddPage& Add() { return *sheet_->AddPage(); }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    QTemporaryDir dir_;
    QString original_;
    std::unique_ptr<CUtilityPropertySheet> sheet_;
};

}  // namespace

TEST_F(UtilitiesTest, SheetOnlyClosesAndOffersHelp) {
    EXPECT_EQ(sheet_->windowTitle(), "Fasta Database Utilities");
    auto* box = sheet_->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->isHidden());
    EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), "&Close");
    ASSERT_NE(box->button(QDialogButtonBox::Help), nullptr);
    EXPECT_EQ(box->button(QDialogButtonBox::Help)->text(), "&Help");
    auto* tabs = sheet_->findChild<QTabWidget*>();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Select");
    EXPECT_EQ(tabs->tabText(1), "Add");
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(UtilitiesTest, CheckBoxesUnlockTheirFields) {
    EXPECT_FALSE(Select().IncludeEdit(0)->isEnabled());
    EXPECT_FALSE(Select().ExcludeEdit(5)->isEnabled());
    EXPECT_FALSE(Select().RangeEdit()->isEnabled());
    EXPECT_EQ(Select().RangeEdit()->text(), "0-2000000");
    Select().IncludeCheck(0)->setChecked(true);
    Select().ExcludeCheck(5)->setChecked(true);
    Select().EnableRangeCheck()->setChecked(true);
    EXPECT_TRUE(Select().IncludeEdit(0)->isEnabled());
    EXPECT_FALSE(Select().IncludeEdit(1)->isEnabled());
    EXPECT_TRUE(Select().ExcludeEdit(5)->isEnabled());
    EXPECT_TRUE(Select().RangeEdit()->isEnabled());
    Select().IncludeCheck(0)->setChecked(false);
    EXPECT_FALSE(Select().IncludeEdit(0)->isEnabled());
}

TEST_F(UtilitiesTest, HeaderFilterWritesExactlyThoseEntries) {
    Select().OriginalEdit()->setText(original_);
    Select().TargetEdit()->setText(dir_.filePath("subset"));
    Select().IncludeCheck(0)->setChecked(true);
    Select().IncludeEdit(0)->setText("kinase");
    Select().IncludeCheck(1)->setChecked(true);
    Select().IncludeEdit(1)->setText("~Histone");
    Select().IncludeEdit(2)->setText("ALB");  // not checked: takes no part
    Select().ExcludeCheck(0)->setChecked(true);
    Select().ExcludeEdit(0)->setText("MOUSE");
    sheet_->grab().save("/tmp/i30-utilities-select.png");

    const StatusSeen seen = BuildWithStatus(Select(), [](CSelectStatusDialog& d) {
        d.WaitForSelection();
        d.grab().save("/tmp/i30-select-status.png");
    });
    EXPECT_EQ(seen.result, SelectResult::Completed);
    EXPECT_EQ(seen.buttonText, "&Close");
    EXPECT_EQ(seen.progress, "processed  5 entries, continuing on ...");
    EXPECT_TRUE(seen.lines.contains("Number of proteins in original database = 5"));
    EXPECT_TRUE(seen.lines.contains("Number of proteins added to new database = 2"));
    EXPECT_EQ(seen.lines.last(), "Done");
    // A target that did not exist gets the ".fasta" extension.
    EXPECT_EQ(Select().TargetEdit()->text(), dir_.filePath("subset.fasta"));
    EXPECT_EQ(dbtest::ReadFile(dir_.filePath("subset.fasta")),
              ">sp|K1|KIN1_HUMAN Serine kinase\nMKKLLP\n>sp|H1|HIS_HUMAN Histone\nSGRGK\n");
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
}

TEST_F(UtilitiesTest, AppendsInTheMassRangeWithTheMassInTheHeader) {
    const QString target = dbtest::WriteFile(dir_, "target.fasta", ">old\nK\n");
    Select().OriginalEdit()->setText(original_);
    Select().TargetEdit()->setText(target);
    static_cast<QAbstractButton*>(Select().GetDlgItem(CUtilitySelectPage::kAppendId))->click();
    Select().EnableRangeCheck()->setChecked(true);
    Select().RangeEdit()->setText("240-250");
    Select().MassInHeaderCheck()->setChecked(true);
    const StatusSeen seen = BuildWithStatus(Select());
    EXPECT_EQ(seen.result, SelectResult::Completed);
    // GGGG: 4 x 57.05192 + H2O (average) = 246.2.
    EXPECT_EQ(dbtest::ReadFile(target),
              ">old\nK\n>sp|X1|XYZ_YEAST Other protein [MASS=246]\nGGGG\n");
}

TEST_F(UtilitiesTest, CancelLeavesTheOldTarget) {
    QByteArray big;
    for (int i = 0; i < 200000; ++i) big += ">e" + QByteArray::number(i) + "\nMKR\n";
    Select().OriginalEdit()->setText(dbtest::WriteFile(dir_, "big.fasta", big));
    const QString target = dbtest::WriteFile(dir_, "target.fasta", "old");
    Select().TargetEdit()->setText(target);
    bool wasCancel = false;
    const StatusSeen seen = BuildWithStatus(Select(), [&](CSelectStatusDialog& d) {
        wasCancel = d.Button()->text() == "&Cancel";
        d.Button()->click();
    });
    EXPECT_TRUE(wasCancel);
    EXPECT_EQ(seen.result, SelectResult::Cancelled);
    EXPECT_EQ(dbtest::ReadFile(target), "old");
}

TEST_F(UtilitiesTest, BuildChecksTheChoices) {
    const QString invalid = dbtest::WriteFile(dir_, "notes.fasta", "just text\nmore\n");
    struct Case {
        const char* name;
        QString original;
        QString target;
        int mode;
        QString range;
        const char* message;
    };
    const Case cases[] = {
        {"range in the wrong order", original_, dir_.filePath("t.fasta"), 0, "5000-1000",
         "Range: Lowest protein mass is greater than highest protein mass.\nLowest Protein Mass = "
         "5000\nHighest protein mass\nPlease try again."},
        {"no original", "", dir_.filePath("t.fasta"), 0, "", "Please select a database"},
        {"original not a database", invalid, dir_.filePath("t.fasta"), 0, "",
         "The database is not a valid Protein database.\nPlease select another file."},
        {"append to a file that is no database", original_, invalid, 1, "",
         "The database is not a valid Protein database.\nPlease select another file."},
        {"same file", original_, original_, 0, "", "Original and Target files must be different."},
    };
    for (const Case& c : cases) {
        boxes_.clear();
        Select().OriginalEdit()->setText(c.original);
        Select().TargetEdit()->setText(c.target);
        static_cast<QAbstractButton*>(Select().GetDlgItem(c.mode ? CUtilitySelectPage::kAppendId
                                                                 : CUtilitySelectPage::kCreateId))
            ->click();
        Select().EnableRangeCheck()->setChecked(!c.range.isEmpty());
        if (!c.range.isEmpty()) Select().RangeEdit()->setText(c.range);
        const StatusSeen seen = BuildWithStatus(Select());
        EXPECT_TRUE(seen.lines.isEmpty()) << c.name;  // no selection ran
        EXPECT_EQ(boxes_.texts().value(0), c.message) << c.name;
    }
    EXPECT_FALSE(QFile::exists(dir_.filePath("t.fasta")));
    EXPECT_EQ(dbtest::ReadFile(invalid), "just text\nmore\n");
}

TEST_F(UtilitiesTest, AddPageAppendsOneEntry) {
    const QString database = dbtest::WriteFile(dir_, "db.fasta", ">a\nK\n");
    Add().DatabaseEdit()->setText(database);
    Add().DescriptionEdit()->setText("new protein");
    Add().SequenceEdit()->setText("gggg");
    sheet_->findChild<QTabWidget*>()->setCurrentIndex(1);
    sheet_->grab().save("/tmp/i30-utilities-add.png");
    Add().OnAddEntry();
    EXPECT_EQ(boxes_.texts(), QStringList{"Entry added successfully."});
    EXPECT_EQ(dbtest::ReadFile(database), ">a\nK\n>new protein [MASS=246]\nGGGG\n");

    // The user's own mass.
    boxes_.clear();
    static_cast<QAbstractButton*>(Add().GetDlgItem(CUtilityAddPage::kUserMassOptionId))->click();
    EXPECT_TRUE(Add().UserMassEdit()->isEnabled());
    Add().UserMassEdit()->setText("1234.6");
    Add().DescriptionEdit()->setText(">second");
    Add().OnAddEntry();
    EXPECT_TRUE(dbtest::ReadFile(database).endsWith(">second [MASS=1235]\nGGGG\n"));
}

TEST_F(UtilitiesTest, AddPageRefusesAndHighlightsAForeignLetter) {
    const QString database = dbtest::WriteFile(dir_, "db.fasta", ">a\nK\n");
    Add().DatabaseEdit()->setText(database);
    Add().DescriptionEdit()->setText("x");
    Add().SequenceEdit()->setText("MKJV");
    Add().OnAddEntry();
    EXPECT_EQ(boxes_.texts(),
              QStringList{"Protein sequence contains character that does not correspond to an "
                          "amino acid.\nPlease change highlighted entry."});
    EXPECT_EQ(Add().SequenceEdit()->selectionStart(), 2);
    EXPECT_EQ(Add().SequenceEdit()->selectedText(), "J");
    EXPECT_EQ(dbtest::ReadFile(database), ">a\nK\n");
}

TEST_F(UtilitiesTest, AddPageNucleotideMassHasNoWater) {
    const QString database = dbtest::WriteFile(dir_, "db.fasta", ">a\nK\n");
    Add().DatabaseEdit()->setText(database);
    Add().DescriptionEdit()->setText("dna");
    static_cast<QAbstractButton*>(Add().GetDlgItem(CUtilityAddPage::kNucleotideId))->click();
    EXPECT_FALSE(Add().GetDlgItem(CUtilityAddPage::kUserMassOptionId)->isEnabled());
    EXPECT_FALSE(Add().GetDlgItem(CUtilityAddPage::kNoMassId)->isEnabled());
    // Typing holds to the nucleotide letters.
    QString typed = "ACGTQ";
    int pos = 0;
    EXPECT_EQ(Add().SequenceEdit()->validator()->validate(typed, pos), QValidator::Invalid);
    Add().SequenceEdit()->setText("ACGX");
    Add().OnAddEntry();
    EXPECT_EQ(dbtest::ReadFile(database), ">a\nK\n>dna [MASS=932]\nACGX\n");
}

TEST_F(UtilitiesTest, AddPageKeepsAHundredThousandResidues) {
    const QString database = dbtest::WriteFile(dir_, "db.fasta", ">a\nK\n");
    QString protein;
    for (int k = 0; k < 100000; ++k) protein += QLatin1Char("ACDEFGHIKLMNPQRSTVWY"[k % 20]);
    Add().DatabaseEdit()->setText(database);
    Add().DescriptionEdit()->setText("giant");
    Add().SequenceEdit()->setText(protein);
    EXPECT_EQ(Add().SequenceEdit()->text().size(), 100000);
    Add().OnAddEntry();
    EXPECT_EQ(boxes_.texts(), QStringList{"Entry added successfully."});
    // The entry as written, 80 residues a line: its residues are the whole protein.
    const QByteArray text = dbtest::ReadFile(database);
    const qsizetype header = text.indexOf(">giant [MASS=");
    ASSERT_GT(header, 0);
    QByteArray residues = text.mid(text.indexOf('\n', header) + 1);
    EXPECT_TRUE(residues.endsWith('\n'));
    residues.replace('\n', "");
    EXPECT_EQ(residues, protein.toLatin1());
}

TEST_F(UtilitiesTest, AddPageRefusesAnEntryWithoutDescriptionOrSequence) {
    const QByteArray before = ">a\nK\n";
    const QString database = dbtest::WriteFile(dir_, "db.fasta", before);
    const struct {
        const char* name;
        const char* description;
        const char* sequence;
        const char* message;
    } cases[] = {
        {"nothing at all", "", "", "Please enter a description for the new entry."},
        {"no description", "", "MKV", "Please enter a description for the new entry."},
        {"only the mark of a header", "> ", "MKV",
         "Please enter a description for the new entry."},
        {"no sequence", "new protein", "", "Please enter the sequence of the new entry."},
    };
    sheet_->show();
    sheet_->findChild<QTabWidget*>()->setCurrentIndex(1);
    sheet_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet_.get()));
    for (const auto& c : cases) {
        boxes_.clear();
        Add().DatabaseEdit()->setText(database);
        Add().DescriptionEdit()->setText(c.description);
        Add().SequenceEdit()->setText(c.sequence);
        Add().OnAddEntry();
        EXPECT_EQ(boxes_.texts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(dbtest::ReadFile(database), before) << c.name;
        // The field to fill in gets the focus.
        QWidget* expected = QString(c.message).contains("description")
                                ? static_cast<QWidget*>(Add().DescriptionEdit())
                                : static_cast<QWidget*>(Add().SequenceEdit());
        EXPECT_EQ(QApplication::focusWidget(), expected) << c.name;
    }
}
