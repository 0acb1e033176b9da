// The Massmap sheet: two pages, "massmap.params" without "num_results", the supplied protein
// mass in the option text, enabling through one set of flags across both pages, and Save that
// keeps what was typed into the grids.

#include "search/views/MassmapAdvancedPage.h"
#include "search/views/MassmapBasicPage.h"
#include "search/views/ModificationGrids.h"

#include "SheetTestSupport.h"
#include "app/grids/ModificationGrid.h"
#include "document/ZarMessages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

using namespace zar;
using namespace sheettest;

namespace {
using Basic = CSearchBasicPage;
using Advanced = CSearchAdvancedPage;
}  // namespace

TEST_F(SheetFixture, MassmapSheetHasTwoPagesAndItsOwnFile) {
    auto sheet = OpenMassmap();
    ASSERT_EQ(sheet->GetPageCount(), 2);
    EXPECT_EQ(sheet->GetPage(0)->windowTitle(), "Basic Parameters");
    EXPECT_EQ(sheet->GetPage(1)->windowTitle(), "Advanced Parameters");
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(Ctl<QWidget>(sheet->GetPage(0), Basic::kResultsEditId), nullptr);
    EXPECT_EQ(Ctl<QWidget>(sheet->GetPage(0), Basic::kIndexedRangeId), nullptr);
    EXPECT_EQ(Ctl<QWidget>(sheet->GetPage(1), Advanced::kResultsScoredId), nullptr);
    // No file yet: the defaults are used without a word.
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    sheet->SetActivePage(1);
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    CParamFile saved;
    ASSERT_TRUE(saved.Open(MassmapFile()));
    EXPECT_EQ(saved.GetLineCount(), 74);
    QString text;
    EXPECT_FALSE(saved.GetEntryString("num_results", text));
    EXPECT_EQ(saved.GetLine(0), "[MASSMAP]\n");
}

TEST_F(SheetFixture, MassmapSaveKeepsWhatWasTypedIntoTheGrids) {
    auto sheet = OpenMassmap();
    sheet->SetActivePage(1);
    CModificationGrids* grids = sheet->Grids();
    ASSERT_TRUE(grids->DifferentialGrid()->StoreEditedText(1, 1, "sty"));
    ASSERT_TRUE(grids->DifferentialGrid()->StoreEditedText(1, 2, "79.9663"));
    ASSERT_TRUE(grids->StaticGrid()->StoreEditedText(11, 2, "57.021"));
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    CParamFile saved;
    ASSERT_TRUE(saved.Open(MassmapFile()));
    QString text;
    ASSERT_TRUE(saved.GetEntryString("diff_search_options", text));
    EXPECT_EQ(text, "79.9663 STY 0.0000 C 0.0000 S");
    double mass = 0.0;
    ASSERT_TRUE(saved.GetEntryDouble("add_C_Cysteine", mass));
    EXPECT_DOUBLE_EQ(mass, 57.021);
}

TEST_F(SheetFixture, SuppliedProteinMassLeadsTheOptions) {
    auto sheet = OpenMassmap();
    sheet->SetScanLimits(1, 400, 1, 400);
    CSearchPageBase* page = sheet->GetPage(0);
    auto* supplied = Ctl<QLineEdit>(page, Basic::kSuppliedMassId);
    EXPECT_TRUE(supplied->isHidden());
    Click(page, Basic::kSelectedPeakId);
    EXPECT_FALSE(supplied->isHidden());
    supplied->setText("1500.25");
    EXPECT_TRUE(sheet->BuildExtractionOptions().startsWith("-P1500.25 "));
    EXPECT_FALSE(sheet->ExtractionOptions().contains("-G"));
    EXPECT_FALSE(sheet->ExtractionOptions().contains("-S"));
    Click(page, Basic::kBasePeakId);
    EXPECT_TRUE(supplied->isHidden());
    EXPECT_FALSE(sheet->BuildExtractionOptions().contains("-P"));
    EXPECT_FALSE(QFile::exists(peptide + "/sorvex_options.params"));
    EXPECT_FALSE(QFile::exists(results + "/sorvex_options.params"));
}

TEST_F(SheetFixture, MassmapFlagsEnableBothPages) {
    auto sheet = OpenMassmap();
    sheet->SetActivePage(1);
    CSearchPageBase* basic = sheet->GetPage(0);
    CSearchPageBase* advanced = sheet->GetPage(1);
    Click(basic, Basic::kIndexedId);
    for (int id : {Basic::kProteinId, Basic::kNucleotideId, Basic::kAverageId,
                   Basic::kMonoisotopicId, Basic::kEnzymeId})
        EXPECT_FALSE(Ctl<QWidget>(basic, id)->isEnabled()) << id;
    EXPECT_FALSE(Ctl<QWidget>(advanced, Advanced::kCleavageSitesId)->isEnabled());
    EXPECT_FALSE(sheet->Grids()->AreGridsEnabled());
    EXPECT_TRUE(Ctl<QWidget>(advanced, Advanced::kPeptideId)->isEnabled());
    Click(basic, Basic::kFastaId);
    EXPECT_TRUE(Ctl<QWidget>(advanced, Advanced::kCleavageSitesId)->isEnabled());
    EXPECT_TRUE(sheet->Grids()->AreGridsEnabled());

    Click(basic, Basic::kGenerationCheckId);
    for (int id :
         {Basic::kBasePeakId, Basic::kSelectedPeakId, Basic::kChargeId, Basic::kScanLimitsId,
          Basic::kTrackId, Basic::kFastaRangeId, Basic::kThresholdId, Basic::kRemoveDtaId})
        EXPECT_FALSE(Ctl<QWidget>(basic, id)->isEnabled()) << id;
    for (int id : {Advanced::kPrecursorId, Advanced::kMinIonCountId, Advanced::kSubsequenceId})
        EXPECT_FALSE(Ctl<QWidget>(advanced, id)->isEnabled()) << id;
    Click(basic, Basic::kSearchCheckId);
    for (int id : {Advanced::kPeptideId, Advanced::kFragmentId, Advanced::kOutputLinesId,
                   Advanced::kPrintDuplicatesId, Advanced::kCleavageSitesId})
        EXPECT_FALSE(Ctl<QWidget>(advanced, id)->isEnabled()) << id;
    EXPECT_FALSE(sheet->Grids()->AreGridsEnabled());
}

TEST_F(SheetFixture, MassmapIndexedHeaderGoesToBothPages) {
    WriteBytes(databases + "bsa.fasta.hdr",
               "SORVEX_INDEXED_DATABASE - HEADER\nEnzymeName: LysC\nNumIntCleavageSites: 4\n"
               "MinimumMass: 800\nMaximumMass: 2500\nStaticModifications: C=57.021\n");
    auto sheet = OpenMassmap();
    sheet->SetActivePage(1);
    CSearchPageBase* basic = sheet->GetPage(0);
    Click(basic, Basic::kIndexedId);
    sheet->BasicPage()->OnDatabaseChosen(databases + "bsa.fasta.hdr");
    EXPECT_EQ(Ctl<QComboBox>(basic, Basic::kEnzymeId)->currentText(), "LysC");
    EXPECT_EQ(Ctl<QLineEdit>(basic, Basic::kFastaRangeId)->text(), "800.00-2500.00");
    EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(1), Advanced::kCleavageSitesId)->text(), "4");
    EXPECT_EQ(sheet->Grids()->StaticGrid()->GetValueRowCol(11, 2), "57.021");
}

TEST_F(SheetFixture, MassmapStartAndStop) {
    zartest::MessageTrap trap(&owner, {kMsgSheetIgnored, kMsgMassmapReshowSheet});
    auto sheet = OpenMassmap();
    CSearchPageBase* basic = sheet->GetPage(0);
    Click(basic, Basic::kGenerationCheckId);
    Click(basic, Basic::kSearchCheckId);
    boxes.clear();
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    EXPECT_EQ(boxes.texts(),
              QStringList{"Neither the Dta Generation or Dta Search check boxes are active!"});
    Click(basic, Basic::kGenerationCheckId);
    Ctl<QLineEdit>(basic, Basic::kDatabaseEditId)->setText("horse.fasta");
    boxes.clear();
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(launcher.calls, (QStringList{"DeleteOldResultFiles", "StartDtaGeneration"}));
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    QApplication::processEvents();
    ASSERT_EQ(trap.caught().size(), 2u);
    EXPECT_EQ(trap.caught()[1].message, kMsgMassmapReshowSheet);
    EXPECT_TRUE(QFile::exists(MassmapFile()));

    // An unusable database keeps its name on the Massmap page.
    Ctl<QLineEdit>(basic, Basic::kDatabaseEditId)->setText("missing.fasta");
    boxes.clear();
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    EXPECT_EQ(boxes.texts(), QStringList{"Can't find that database or database is invalid!"});
    EXPECT_EQ(Ctl<QLineEdit>(basic, Basic::kDatabaseEditId)->text(), "missing.fasta");

    auto* massmap = static_cast<CMassmapPropertySheet*>(sheet.get());
    massmap->EnableStartButton(false);
    EXPECT_FALSE(sheet->Button(CSearchPropertySheet::kStartId)->isEnabled());
    massmap->EnableDefaultsButton(true);
    EXPECT_TRUE(sheet->Button(CSearchPropertySheet::kDefaultsId)->isEnabled());
}
