#include "databases/views/EnzymeEditorDlg.h"

#include "ZarDoc.h"

#include "document/EnzymeTable.h"
#include "document/Settings.h"
#include "grids/EnzymeGrid.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>

#include <QHeaderView>

#include <gtest/gtest.h>

using namespace zar;

namespace {

class EnzymeEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog_.SetEnzymeTable(&table_);
        dialog_.EnsureInitialized();
    }
    CEnzymeGrid& Grid() { return *dialog_.Grid(); }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    CEnzymeTable table_;
    CEnzymeEditorDlg dialog_;
};

}  // namespace

TEST_F(EnzymeEditorTest, GridShowsTheTable) {
    ASSERT_EQ(Grid().GetRowCount(), 25);
    ASSERT_EQ(Grid().GetColCount(), 4);
    EXPECT_EQ(Grid().GetValueRowCol(0, 1), "Enzyme Name");
    EXPECT_EQ(Grid().GetValueRowCol(0, 4), "Don't Cleave At");
    EXPECT_EQ(Grid().GetValueRowCol(1, 1), "No_Enzyme");
    EXPECT_EQ(Grid().GetValueRowCol(1, 2), "");  // record 0 shows only its name
    EXPECT_EQ(Grid().GetValueRowCol(5, 1), "Chymotrypsin_modified");
    EXPECT_EQ(Grid().GetValueRowCol(5, 2), "1");
    EXPECT_EQ(Grid().GetValueRowCol(5, 3), "FWY");
    EXPECT_EQ(Grid().GetValueRowCol(5, 4), "P");
    EXPECT_EQ(Grid().GetValueRowCol(18, 1), "");  // unused slots show nothing
    EXPECT_EQ(Grid().GetValueRowCol(18, 2), "");
    EXPECT_EQ(Grid().GetStyleRowCol(1, 1).interior.value_or(QColor()), QColor(210, 210, 210));
}

TEST_F(EnzymeEditorTest, EditsSurviveARestartOfTheDocument) {
    ASSERT_TRUE(Grid().StoreEditedText(19, 1, "Tryp_Chymo"));
    ASSERT_TRUE(Grid().StoreEditedText(19, 2, "1.5"));   // accepted, written as 1
    ASSERT_TRUE(Grid().StoreEditedText(19, 3, "krfw"));  // lower case stays as typed
    ASSERT_TRUE(Grid().StoreEditedText(19, 4, "P"));
    ASSERT_TRUE(Grid().StoreEditedText(16, 2, "2"));
    ASSERT_TRUE(Grid().StoreEditedText(3, 1, ""));  // Trypsin_modified goes
    dialog_.OnOK();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);

    EXPECT_EQ(GetEnzymeEntry(18), "Tryp_Chymo 1 krfw P");
    EXPECT_EQ(GetEnzymeEntry(15), "Elastase 2 ALIV P");
    EXPECT_EQ(GetEnzymeEntry(2), "");
    EXPECT_EQ(GetEnzymeEntry(0), "No_Enzyme 0 - -");
    EXPECT_EQ(GetEnzymeEntry(24), "");

    const CZarDoc restarted;
    const CEnzymeTable::Records& records = restarted.GetEnzymeTable()->GetRecords();
    EXPECT_EQ(records, table_.GetRecords());
    EXPECT_EQ(records[18], (EnzymeRecord{1, "Tryp_Chymo", "krfw", "P"}));
}

TEST_F(EnzymeEditorTest, CellsAreChecked) {
    struct Case {
        int col;
        QString text;
        bool accepted;
        const char* message;
        QString cellAfter;
    };
    const Case cases[] = {
        {1, "Lys C", false, "Please enter the enzyme name without blanks", "Trypsin"},
        {1, QString(128, 'A'), false, "Please enter no more than 127 characters", "Trypsin"},
        {1, QString(127, 'A'), true, "", QString(127, 'A')},
        {2, "abc", false, "Please enter only numeric values for the offset", "0"},
        {2, "-1", false, "Please enter a value greater than or equal to zero", "0"},
        {3, "K R", false, "Please enter only amino acid residues", "-"},
        {3, "KJ", false, "Please enter only amino acid residues", "-"},
        {3, QString(24, 'K'), false, "Please enter no more than 23 characters", "KR"},
        {4, QString(23, 'P'), true, "", QString(23, 'P')},
    };
    for (const Case& c : cases) {
        CEnzymeTable table;
        CEnzymeEditorDlg dialog;
        dialog.SetEnzymeTable(&table);
        dialog.EnsureInitialized();
        boxes_.clear();
        EXPECT_EQ(dialog.Grid()->StoreEditedText(2, c.col, c.text), c.accepted) << c.message;
        EXPECT_EQ(boxes_.texts().value(0), QString::fromLatin1(c.message));
        EXPECT_EQ(dialog.Grid()->GetValueRowCol(2, c.col), c.cellAfter) << c.message;
    }
}

TEST_F(EnzymeEditorTest, DefaultsChangeTheTableAtOnceButNotTheSettings) {
    SetEnzymeEntry(1, "Mine 1 K -");
    CEnzymeTable table;
    CEnzymeEditorDlg dialog;
    dialog.SetEnzymeTable(&table);
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(2, 1), "Mine");
    dialog.OnDefaults();
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(2, 1), "Trypsin");
    EXPECT_EQ(table.GetRecords()[1].name, "Trypsin");
    dialog.reject();
    EXPECT_EQ(GetEnzymeEntry(1), "Mine 1 K -");
}

TEST_F(EnzymeEditorTest, OnlyTheNameColumnFollowsTheWidth) {
    dialog_.resize(400, 500);
    dialog_.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(Grid().GetColWidth(1), CEnzymeEditorDlg::kNameColumnMinWidth);
    dialog_.resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_GT(Grid().GetColWidth(1), CEnzymeEditorDlg::kNameColumnMinWidth);
    EXPECT_GE(Grid().GetColWidth(2), 55);
    EXPECT_GE(Grid().GetColWidth(3), 95);
    // Every title shows whole ("Don't Cleave At" was cut at 95).
    const QFontMetrics titles = Grid().horizontalHeader()->fontMetrics();
    for (int c = 2; c <= 4; ++c)
        EXPECT_GE(Grid().GetColWidth(c), titles.horizontalAdvance(Grid().GetValueRowCol(0, c)) + 12)
            << c;
    // The four columns fill the grid's client width.
    EXPECT_EQ(Grid().GetColWidth(1) + Grid().GetColWidth(2) + Grid().GetColWidth(3) +
                  Grid().GetColWidth(4),
              Grid().viewport()->width() - 1);
    dialog_.resize(560, 560);
    QCoreApplication::processEvents();
    dialog_.grab().save("/tmp/i30-enzyme-editor.png");
}
