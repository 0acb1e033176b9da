// The modification grids: a right click opens the preset menu, whose mass (average or
// monoisotopic by the basic page) goes into the current row; the static grid's terminal rows
// take no preset; "Reset All" clears only the grid it was opened on; values typed in lower
// case come back in capitals.

#include "search/views/ModificationGrids.h"
#include "search/views/SearchBasicPage.h"

#include "SheetTestSupport.h"
#include "app/grids/ModificationGrid.h"

#include <QPushButton>
#include <QTest>

using namespace zar;
using namespace sheettest;

namespace {

class GridFixture : public SheetFixture {
  protected:
    void SetUp() override {
        SheetFixture::SetUp();
        sheet = OpenSorvex();
        sheet->SetActivePage(2);
        grids = sheet->Grids();
    }
    void TearDown() override { sheet.reset(); }
    // Right-clicks a cell of a grid and picks an entry of the menu that opens.
    QStringList RightClickAndChoose(CGXGridWnd* grid, int row, const QString& entry) {
        grid->SetCurrentCell(row, 2);
        MenuAnswer answer(entry);
        const QRect cell = grid->visualRect(grid->GetModel()->index(row - 1, 1));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cell.center());
        QApplication::processEvents();
        return answer.entries;
    }

    std::unique_ptr<CSorvexPropertySheet> sheet;
    CModificationGrids* grids = nullptr;
};

}  // namespace

TEST_F(GridFixture, GridsShowTheTables) {
    CTerminalModificationGrid* statics = grids->StaticGrid();
    ASSERT_EQ(statics->GetRowCount(), 28);
    EXPECT_EQ(statics->GetValueRowCol(1, 1), "Cterm_peptide");
    EXPECT_EQ(statics->GetValueRowCol(28, 1), "W_Tryptophan");
    EXPECT_EQ(statics->GetColWidth(1), 140);
    EXPECT_GE(statics->GetColWidth(2), 50);
    CModificationGrid* diff = grids->DifferentialGrid();
    ASSERT_EQ(diff->GetRowCount(), 3);
    EXPECT_EQ(diff->GetValueRowCol(0, 1), "Amino Acid");
    EXPECT_EQ(diff->GetValueRowCol(0, 2), "Mass");
    EXPECT_EQ(diff->GetStyleRowCol(1, 1).toolTip, "Enter an amino acid (ABCDEFGHIKLMNOPQRSTVWXZY)");
    EXPECT_EQ(statics->GetStyleRowCol(4, 2).toolTip,
              "Enter the modification value (-57.0 to 1500.0)");
    // The names cannot be edited, the masses can.
    EXPECT_FALSE(statics->GetModel()->flags(statics->GetModel()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(statics->GetModel()->flags(statics->GetModel()->index(0, 1)) & Qt::ItemIsEditable);
}

TEST_F(GridFixture, PresetsFollowTheMassType) {
    const QStringList entries = RightClickAndChoose(grids->StaticGrid(), 11, "Oxidation");
    EXPECT_EQ(entries, (QStringList{"Acetylation", "Carboxymethylation", "Formylation",
                                    "Hydroxylation", "ICAT (TM)  Reagent", "Methylation",
                                    "Oxidation", "Phosphorylation", "Sulphation", "Reset All"}));
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "15.9994");  // average
    EXPECT_TRUE(sheet->Button(CSearchPropertySheet::kDefaultsId)->isEnabled());
    sheet->SetActivePage(0);
    Click(sheet->GetPage(0), CSearchBasicPage::kMonoisotopicId);
    sheet->SetActivePage(2);
    RightClickAndChoose(grids->StaticGrid(), 11, "Oxidation");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "15.9949");
    RightClickAndChoose(grids->DifferentialGrid(), 2, "Phosphorylation");
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(2, 2), "79.9663");
    // The tables take the values when the grids are read back.
    EXPECT_EQ(sheet->Model().modifications.GetStaticModification(10), 0.0);
    grids->ReadGrids();
    EXPECT_DOUBLE_EQ(sheet->Model().modifications.GetStaticModification(10), 15.9949);
}

TEST_F(GridFixture, TerminalRowsTakeNoPreset) {
    for (int row = 1; row <= 4; ++row) {
        RightClickAndChoose(grids->StaticGrid(), row, "Acetylation");
        EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(row, 2), "0") << row;
    }
    RightClickAndChoose(grids->StaticGrid(), 5, "Acetylation");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(5, 2), "42.0373");
}

TEST_F(GridFixture, ResetAllClearsOnlyItsGrid) {
    sheet->SetStaticModification(10, 57.021);
    sheet->SetDifferentialModification(0, "M", 15.9949);
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "57.021");
    RightClickAndChoose(grids->DifferentialGrid(), 1, "Reset All");
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(1, 1), "");
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(1, 2), "0");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "57.021");
    RightClickAndChoose(grids->StaticGrid(), 11, "Reset All");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "0");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 1), "C_Cysteine");
}

TEST_F(GridFixture, TypedValuesAreCheckedAndComeBackInCapitals) {
    CModificationGrid* diff = grids->DifferentialGrid();
    ASSERT_TRUE(diff->StoreEditedText(1, 1, "sty"));
    ASSERT_TRUE(diff->StoreEditedText(1, 2, "79.9663"));
    EXPECT_FALSE(diff->StoreEditedText(2, 2, "2000"));  // out of range: refused with its message
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0], "Please enter a value between -57.0 - 1500.0!");
    grids->ReadGrids();
    QString residues;
    double mass = 0.0;
    grids->GetDifferentialModification(0, residues, mass);
    EXPECT_EQ(residues, "STY");
    EXPECT_DOUBLE_EQ(mass, 79.9663);
    // A residue set with mass 0.0 given by the program leaves the entry empty.
    sheet->SetDifferentialModification(1, "C", 0.0);
    grids->GetDifferentialModification(1, residues, mass);
    EXPECT_EQ(residues, "");
    EXPECT_EQ(diff->GetValueRowCol(2, 1), "");
}
