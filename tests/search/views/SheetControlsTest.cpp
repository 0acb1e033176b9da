// The pages' controls: every range-checked edit refuses what is out of range with the range in
// its message; the basic page takes an indexed database's header and locks what the index
// fixes; check boxes and the database type enable what they govern; Defaults and the queue.

#include "search/views/ModificationGrids.h"
#include "search/views/SearchAdvancedPage.h"
#include "search/views/SearchBasicPage.h"
#include "search/views/SorvexQueuePage.h"

#include "SheetTestSupport.h"
#include "app/grids/ModificationGrid.h"
#include "app/grids/SimpleEditGrids.h"
#include "controls/NumericEditCtrl.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using namespace zar;
using namespace sheettest;

namespace {

using Basic = CSearchBasicPage;
using Advanced = CSearchAdvancedPage;

struct RangeCase {
    const char* name;
    SearchKind kind;
    int page;
    int id;
    const char* text;
    double lower;
    double upper;
};

}  // namespace

class RangeEdits : public SheetFixture, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeEdits, OutOfRangeIsRefusedWithTheRange) {
    const RangeCase& c = GetParam();
    std::unique_ptr<CSearchPropertySheet> sheet;
    if (c.kind == SearchKind::Sorvex)
        sheet = OpenSorvex();
    else
        sheet = OpenMassmap();
    sheet->SetScanLimits(1, 400, 1, 400);
    sheet->SetFastaMassRange(400.0, 1800.0, 300.0, 2000.0);
    sheet->SetIndexedMassRange(400.0, 1800.0, 300.0, 2000.0);
    sheet->SetActivePage(c.page);
    CSearchPageBase* page = sheet->GetPage(c.page);
    auto* edit = Ctl<QLineEdit>(page, c.id);
    ASSERT_NE(edit, nullptr);
    if (c.id == Basic::kSuppliedMassId) Click(page, Basic::kSelectedPeakId);
    edit->setText(QString::fromLatin1(c.text));  // past the typing check, as a paste would be
    sheet->SetActivePage(0);
    boxes.clear();
    EXPECT_FALSE(sheet->SaveParamFile(false));
    // The message names the field as its label shows it, and its limits.
    const QString name = FieldName(edit);
    EXPECT_FALSE(name.isEmpty());
    const bool range = qobject_cast<CDoubleRangeEditCtrl*>(edit) || qobject_cast<CIntRangeEditCtrl*>(edit);
    EXPECT_EQ(boxes.texts(), QStringList{name + QStringLiteral(": ") +
                                         (range ? RangeMessage(c.lower, c.upper)
                                                : NumberRangeMessage(c.lower, c.upper))});
    EXPECT_EQ(sheet->focusWidget(), edit);
    EXPECT_EQ(sheet->GetActiveIndex(), c.page);  // the page in error comes forward
    EXPECT_FALSE(QFile::exists(c.kind == SearchKind::Sorvex ? SorvexFile() : MassmapFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RangeEdits,
    ::testing::Values(
        RangeCase{"scanLimits", SearchKind::Sorvex, 0, Basic::kScanLimitsId, "300-500", 1, 400},
        RangeCase{"fastaRange", SearchKind::Sorvex, 0, Basic::kFastaRangeId, "200-1000", 300, 2000},
        RangeCase{"threshold", SearchKind::Sorvex, 0, Basic::kThresholdId, "-5", 0, 1e20},
        RangeCase{"cleavageSites", SearchKind::Sorvex, 0, Basic::kCleavageSitesId, "13", 1, 12},
        RangeCase{"precursor", SearchKind::Sorvex, 1, Advanced::kPrecursorId, "25.5", 0, 25},
        RangeCase{"groupScan", SearchKind::Sorvex, 1, Advanced::kGroupScanId, "1001", 0, 1000},
        RangeCase{"groupCount", SearchKind::Sorvex, 1, Advanced::kMinGroupCountId, "1001", 0, 1000},
        RangeCase{"ionCount", SearchKind::Sorvex, 1, Advanced::kMinIonCountId, "-1", 0, 1000},
        RangeCase{"charge", SearchKind::Sorvex, 1, Advanced::kChargeId, "7", 0, 6},
        RangeCase{"peptide", SearchKind::Sorvex, 1, Advanced::kPeptideId, "30", 0, 25},
        RangeCase{"fragment", SearchKind::Sorvex, 1, Advanced::kFragmentId, "-0.5", 0, 25},
        RangeCase{"resultsScored", SearchKind::Sorvex, 1, Advanced::kResultsScoredId, "9", 10,
                  1000},
        RangeCase{"outputLines", SearchKind::Sorvex, 1, Advanced::kOutputLinesId, "201", 5, 200},
        RangeCase{"massmapRange", SearchKind::Massmap, 0, Basic::kFastaRangeId, "300-2500", 300,
                  2000},
        RangeCase{"massmapCharge", SearchKind::Massmap, 0, Basic::kChargeId, "9", 0, 6},
        RangeCase{"suppliedMass", SearchKind::Massmap, 0, Basic::kSuppliedMassId, "1900", 0, 1800},
        RangeCase{"massmapSites", SearchKind::Massmap, 1, Advanced::kCleavageSitesId, "0", 1, 12},
        RangeCase{"proteinMass", SearchKind::Massmap, 1, Advanced::kPrecursorId, "26", 0, 25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetFixture, TypedNumbersStayAsTypedForTheCheckToTell) {
    auto sheet = OpenSorvex();
    sheet->SetActivePage(1);
    struct {
        int id;
        const char* typed;
        const char* shown;
    } cases[] = {
        // A number past the limits is kept as typed and refused with its limits on the way in:
        // a refused key would leave another number ("30" as "3") without a word.
        {Advanced::kChargeId, "7", "7"},
        {Advanced::kPeptideId, "30", "30"},
        {Advanced::kOutputLinesId, "2019", "2019"},
        {Advanced::kChargeId, "7x", "7"},              // numbers only
        {Advanced::kSubsequenceId, "PE1P-T", "PEPT"},  // letters only
    };
    for (const auto& c : cases) {
        auto* edit = Ctl<QLineEdit>(sheet->GetPage(1), c.id);
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
    boxes.clear();
    EXPECT_FALSE(sheet->CommitAll());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().front().contains(QStringLiteral("between"))) << boxes.texts().front().toStdString();
}

TEST_F(SheetFixture, ChargeZeroIsAnEmptyField) {
    auto sheet = OpenSorvex();
    sheet->SetActivePage(1);
    auto* charge = Ctl<QLineEdit>(sheet->GetPage(1), Advanced::kChargeId);
    EXPECT_EQ(charge->text(), "");
    charge->setText("3");
    ASSERT_TRUE(sheet->CommitAll());
    EXPECT_EQ(sheet->Model().advanced.charge, 3);
    charge->clear();
    ASSERT_TRUE(sheet->CommitAll());
    EXPECT_EQ(sheet->Model().advanced.charge, 0);
    sheet->RefreshAll();
    EXPECT_EQ(charge->text(), "");
}

TEST_F(SheetFixture, ClearedRangesGetTheirDefaultPairBack) {
    auto sheet = OpenSorvex();
    sheet->SetScanLimits(1, 400, 20, 300);
    sheet->SetFastaMassRange(500.0, 1500.0, 300.0, 2000.0);
    CSearchPageBase* page = sheet->GetPage(0);
    auto* range = Ctl<CDoubleRangeEditCtrl>(page, Basic::kFastaRangeId);
    EXPECT_EQ(range->text(), "500.00-1500.00");
    range->setText("600-1200");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(range, &out);
    EXPECT_EQ(sheet->Model().basic.fastaRange.value, (MassPair{600.0, 1200.0}));
    range->clear();
    QApplication::sendEvent(range, &out);
    EXPECT_EQ(range->text(), "500.00-1500.00");  // the pair the launcher gave
    range->setText("100-1200");
    boxes.clear();
    QApplication::sendEvent(range, &out);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Mass Range: ") + RangeMessage(300, 2000)});
    EXPECT_EQ(range->text(), "500.00-1500.00");

    auto* scans = Ctl<CIntRangeEditCtrl>(page, Basic::kScanLimitsId);
    EXPECT_EQ(scans->text(), "20-300");
    scans->setText("50-60");
    QApplication::sendEvent(scans, &out);
    EXPECT_EQ(launcher.calls, QStringList{"SetScanRange(50,60)"});
    scans->clear();
    QApplication::sendEvent(scans, &out);
    EXPECT_EQ(scans->text(), "0-100");
}

TEST_F(SheetFixture, IndexedDatabaseHeaderSetsAndLocksTheSearch) {
    WriteBytes(databases + "bsa.fasta.hdr",
               "SORVEX_INDEXED_DATABASE - HEADER\n"
               "OrigDatabaseName: /data/bsa.fasta\n"
               "OrigDatabaseType: Protein\n"
               "EnzymeName: Trypsin\n"
               "MassType: monoisotopic\n"
               "NumIntCleavageSites: 3\n"
               "StaticModifications: C=57.021 Nterm=42.0106\n"
               "MinimumMass: 600\n"
               "MaximumMass: 4000\n"
               "DifferentialModifications: (M* 15.9949) (STY 79.9663)\n");
    auto sheet = OpenSorvex();
    CSearchPageBase* page = sheet->GetPage(0);
    Click(page, Basic::kIndexedId);
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->text(), databases + "*.fasta.hdr");
    auto* basic = sheet->BasicPage();
    QString filter;
    basic->SetFilePicker([&](QWidget*, const QString& start, const QString& f) {
        filter = f;
        EXPECT_EQ(start, databases);
        return databases + "bsa.fasta.hdr";
    });
    Click(page, Basic::kDatabaseBrowseId);
    EXPECT_EQ(filter, "Database Files (*.fasta.hdr)");
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->text(), databases + "bsa.fasta.hdr");
    EXPECT_EQ(Ctl<QComboBox>(page, Basic::kEnzymeId)->currentText(), "Trypsin");
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kCleavageSitesId)->text(), "3");
    EXPECT_TRUE(Ctl<QRadioButton>(page, Basic::kMonoisotopicId)->isChecked());
    EXPECT_TRUE(Ctl<QRadioButton>(page, Basic::kProteinId)->isChecked());
    EXPECT_FALSE(Ctl<QWidget>(page, Basic::kIndexedRangeId)->isHidden());
    EXPECT_TRUE(Ctl<QWidget>(page, Basic::kFastaRangeId)->isHidden());
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kIndexedRangeId)->text(), "600.00-4000.00");
    for (int id : {Basic::kProteinId, Basic::kNucleotideId, Basic::kAverageId,
                   Basic::kMonoisotopicId, Basic::kEnzymeId, Basic::kCleavageSitesId}) {
        EXPECT_FALSE(Ctl<QWidget>(page, id)->isEnabled()) << id;
    }
    // The grids show the index's modifications, locked and grey.
    sheet->SetActivePage(2);
    CModificationGrids* grids = sheet->Grids();
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 1), "C_Cysteine");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(11, 2), "57.021");
    EXPECT_EQ(grids->StaticGrid()->GetValueRowCol(3, 2), "42.0106");  // Nterm_peptide
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(1, 1), "M");
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(2, 1), "STY");
    EXPECT_EQ(grids->DifferentialGrid()->GetValueRowCol(2, 2), "79.9663");
    EXPECT_FALSE(grids->StaticGrid()->isEnabled());
    EXPECT_EQ(grids->StaticGrid()->GetStyleRowCol(1, 2).interior, QColor(210, 210, 210));

    // Perform DTA Search off and on again leaves the index's settings locked.
    sheet->SetActivePage(0);
    Click(page, Basic::kSearchCheckId);
    EXPECT_FALSE(Ctl<QWidget>(page, Basic::kDatabaseEditId)->isEnabled());
    Click(page, Basic::kSearchCheckId);
    EXPECT_TRUE(Ctl<QWidget>(page, Basic::kDatabaseEditId)->isEnabled());
    EXPECT_FALSE(Ctl<QWidget>(page, Basic::kEnzymeId)->isEnabled());
    EXPECT_FALSE(grids->StaticGrid()->isEnabled());

    // Back to FASTA unlocks them.
    Click(page, Basic::kFastaId);
    EXPECT_TRUE(Ctl<QWidget>(page, Basic::kEnzymeId)->isEnabled());
    EXPECT_TRUE(grids->StaticGrid()->isEnabled());
    EXPECT_EQ(grids->StaticGrid()->GetStyleRowCol(1, 2).interior, QColor(255, 255, 255));
    EXPECT_TRUE(Ctl<QWidget>(page, Basic::kIndexedRangeId)->isHidden());
    EXPECT_TRUE(boxes.texts().size() <= 1);  // only the open message of the missing file
}

TEST_F(SheetFixture, UnusableDatabaseChoiceIsRefused) {
    auto sheet = OpenSorvex();
    CSearchPageBase* page = sheet->GetPage(0);
    WriteBytes(databases + "notes.fasta", "just some text\n");
    auto* edit = Ctl<QLineEdit>(page, Basic::kDatabaseEditId);
    const QString before = edit->text();
    boxes.clear();
    sheet->BasicPage()->OnDatabaseChosen(databases + "notes.fasta");
    EXPECT_EQ(boxes.texts(), QStringList{"Can't find that database or database is invalid!"});
    EXPECT_EQ(edit->text(), before);
    // A typed name is kept, with the same message when the field is left.
    edit->setText("missing.fasta");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(edit->text(), "missing.fasta");
    edit->setText("horse.fasta");
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(boxes.texts().size(), 2);
}

TEST_F(SheetFixture, GenerationAndSearchBoxesEnableTheirControls) {
    auto sheet = OpenSorvex();
    sheet->SetActivePage(1);
    CSearchPageBase* basic = sheet->GetPage(0);
    CSearchPageBase* advanced = sheet->GetPage(1);
    Click(basic, Basic::kGenerationCheckId);
    for (int id : {Basic::kScanLimitsId, Basic::kTrackId, Basic::kFastaRangeId, Basic::kThresholdId,
                   Basic::kRemoveDtaId})
        EXPECT_FALSE(Ctl<QWidget>(basic, id)->isEnabled()) << id;
    for (int id : {Advanced::kPrecursorId, Advanced::kGroupScanId, Advanced::kMinGroupCountId,
                   Advanced::kMinIonCountId, Advanced::kChargeId, Advanced::kSubsequenceId})
        EXPECT_FALSE(Ctl<QWidget>(advanced, id)->isEnabled()) << id;
    EXPECT_TRUE(Ctl<QWidget>(advanced, Advanced::kPeptideId)->isEnabled());
    EXPECT_FALSE(sheet->IsDtaGenerationChecked());

    Click(basic, Basic::kSearchCheckId);
    for (int id : {Basic::kDatabaseEditId, Basic::kDatabaseBrowseId, Basic::kFastaId,
                   Basic::kIndexedId, Basic::kProteinId, Basic::kAverageId, Basic::kEnzymeId,
                   Basic::kCleavageSitesId, Basic::kRemoveOutId})
        EXPECT_FALSE(Ctl<QWidget>(basic, id)->isEnabled()) << id;
    for (int id :
         {Advanced::kPeptideId, Advanced::kFragmentId, Advanced::kResultsScoredId,
          Advanced::kAIonsId, Advanced::kBIonsId, Advanced::kYIonsId, Advanced::kOutputLinesId,
          Advanced::kShowFragmentIonsId, Advanced::kPrintDuplicatesId, Advanced::kPrintAdvancedId})
        EXPECT_FALSE(Ctl<QWidget>(advanced, id)->isEnabled()) << id;
    EXPECT_FALSE(sheet->Grids()->AreGridsEnabled());

    Click(basic, Basic::kSearchCheckId);
    Click(basic, Basic::kGenerationCheckId);
    EXPECT_TRUE(Ctl<QWidget>(basic, Basic::kEnzymeId)->isEnabled());
    EXPECT_TRUE(Ctl<QWidget>(advanced, Advanced::kChargeId)->isEnabled());
    EXPECT_TRUE(sheet->Grids()->AreGridsEnabled());
}

TEST_F(SheetFixture, DefaultsButtonFollowsTheValues) {
    CParamFile file;
    file.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(file.SetEntryDouble("peptide_mass_tolerance", 2.5));
    ASSERT_TRUE(file.SetEntryDouble("add_C_Cysteine", 57.021));
    ASSERT_TRUE(file.SaveAs(SorvexFile()));
    SetDtaMinIonCount(20);
    auto sheet = OpenSorvex();
    QPushButton* defaults = sheet->Button(CSearchPropertySheet::kDefaultsId);
    EXPECT_EQ(defaults->text(), "Defau&lts");
    EXPECT_TRUE(defaults->isEnabled());
    sheet->SetActivePage(1);
    sheet->SetActivePage(2);
    defaults->click();
    EXPECT_FALSE(defaults->isEnabled());
    CSearchPageBase* advanced = sheet->GetPage(1);
    EXPECT_EQ(Ctl<QLineEdit>(advanced, Advanced::kPeptideId)->text(), "1.0000");
    EXPECT_EQ(Ctl<QLineEdit>(advanced, Advanced::kMinIonCountId)->text(), "35");  // not the setting
    EXPECT_EQ(Ctl<QLineEdit>(advanced, Advanced::kOutputLinesId)->text(), "10");
    EXPECT_EQ(sheet->Grids()->StaticGrid()->GetValueRowCol(11, 2), "0");
    EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(0), Basic::kThresholdId)->text(), "100000.00");
    EXPECT_TRUE(sheet->IsAtDefaults());

    // A change made by the user enables it again; typing the same subsequence does not.
    QTest::keyClicks(Ctl<QLineEdit>(advanced, Advanced::kSubsequenceId), "K");
    EXPECT_TRUE(defaults->isEnabled());
    sheet->OnDefaults();
    EXPECT_FALSE(defaults->isEnabled());
    Click(advanced, Advanced::kBIonsId);  // off: not the reference
    EXPECT_TRUE(defaults->isEnabled());
}

TEST_F(SheetFixture, QueuePageOffersTheQueueOnlyWithTheDaemon) {
    {
        auto sheet = OpenSorvex();
        sheet->SetActivePage(3);
        EXPECT_FALSE(
            Ctl<QWidget>(sheet->GetPage(3), CSorvexQueuePage::kThroughQueueId)->isEnabled());
        EXPECT_FALSE(Ctl<QWidget>(sheet->GetPage(3), CSorvexQueuePage::kHighId)->isEnabled());
    }
    launcher.daemon = true;
    auto sheet = OpenSorvex();
    auto* sorvex = static_cast<CSorvexPropertySheet*>(sheet.get());
    sheet->SetActivePage(3);
    CSearchPageBase* page = sheet->GetPage(3);
    auto* grid = Ctl<CSorvexQueueGrid>(page, CSorvexQueuePage::kGridId);
    EXPECT_EQ(grid->GetStyleRowCol(1, 1).interior, QColor(200, 200, 200));
    EXPECT_TRUE(grid->GetStyleRowCol(1, 1).readOnly.value_or(false));
    EXPECT_FALSE(sorvex->IsQueueSelected());
    EXPECT_EQ(sorvex->GetQueuePriority(), "");
    Click(page, CSorvexQueuePage::kThroughQueueId);
    EXPECT_TRUE(sorvex->IsQueueSelected());
    EXPECT_TRUE(Ctl<QWidget>(page, CSorvexQueuePage::kLowId)->isEnabled());
    EXPECT_EQ(grid->GetStyleRowCol(1, 1).interior, QColor(255, 255, 255));
    EXPECT_FALSE(grid->GetStyleRowCol(1, 1).readOnly.value_or(false));
    EXPECT_EQ(sorvex->GetQueuePriority(), "Normal");
    Click(page, CSorvexQueuePage::kLowId);
    ASSERT_TRUE(sheet->CommitAll());
    EXPECT_EQ(sorvex->GetQueuePriority(), "Low");
    // The last column takes what the others leave, never less than 50.
    sheet->resize(900, 600);
    QApplication::processEvents();
    const int used = grid->GetColWidth(1) + grid->GetColWidth(2) + grid->GetColWidth(3);
    EXPECT_GE(grid->GetColWidth(3), 50);
    EXPECT_EQ(used, grid->viewport()->width());
}

TEST_F(SheetFixture, SheetOpensBesideItsOwnerWithinTheDesktop) {
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    owner.setGeometry(desktop.left(), desktop.top() + 10, 50, 50);
    owner.show();
    auto sheet = OpenSorvex();
    EXPECT_EQ(sheet->windowTitle(), "TurboSORVEX Search Parameters");
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    const QRect placed = sheet->frameGeometry();
    EXPECT_GE(placed.left(), desktop.left());
    EXPECT_LE(placed.right(), desktop.right());
    EXPECT_LE(placed.bottom(), desktop.bottom());
    if (owner.frameGeometry().right() + 1 + placed.width() <= desktop.right() + 1) {
        EXPECT_EQ(placed.left(), owner.frameGeometry().right() + 1);
        EXPECT_EQ(placed.top(), owner.frameGeometry().top());
    }
    // An owner at the right edge pushes the sheet back onto the desktop.
    owner.move(desktop.right() - 60, desktop.top());
    auto second = OpenSorvex();
    EXPECT_LE(second->frameGeometry().right(), desktop.right());
}

TEST_F(SheetFixture, BrowseButtonsTakeWhatIsChosenAndNothingOnCancel) {
    auto sheet = OpenSorvex();
    CSearchPageBase* page = sheet->GetPage(0);
    auto* basic = sheet->BasicPage();
    QString title;
    QString chosen = dir.filePath("elsewhere");
    basic->SetFolderPicker([&](QWidget*, const QString& t) {
        title = t;
        return chosen;
    });
    Click(page, Basic::kResultsBrowseId);
    EXPECT_EQ(title, "TurboSORVEX Results Directory");
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kResultsEditId)->text(), chosen);
    EXPECT_EQ(sheet->GetResultsDirectory(), chosen);
    chosen.clear();
    Click(page, Basic::kResultsBrowseId);
    EXPECT_EQ(sheet->GetResultsDirectory(), dir.filePath("elsewhere"));

    const QString before = Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->text();
    basic->SetFilePicker([](QWidget*, const QString&, const QString& filter) {
        EXPECT_EQ(filter, "Database Files (*.fasta)");
        return QString();
    });
    boxes.clear();
    Click(page, Basic::kDatabaseBrowseId);
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->text(), before);
    EXPECT_TRUE(boxes.texts().isEmpty());
    basic->SetFilePicker(
        [this](QWidget*, const QString&, const QString&) { return databases + "horse.fasta"; });
    Click(page, Basic::kDatabaseBrowseId);
    EXPECT_EQ(Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->text(), databases + "horse.fasta");
    EXPECT_EQ(sheet->GetDatabasePath(), databases + "horse.fasta");
}
