// "sorvex.params" through the Sorvex sheet: what is read comes back out unchanged but for what
// the user edited; a damaged file is restored through the Invalid Parameters dialog; a file
// that cannot be written is reported and the old one stays.

#include "search/views/InvalidParamsDlg.h"
#include "search/views/ModificationGrids.h"
#include "search/views/SearchAdvancedPage.h"
#include "search/views/SorvexModificationPage.h"
#include "search/views/SorvexParameterPage.h"

#include "SheetTestSupport.h"
#include "app/grids/ModificationGrid.h"
#include "search/DefaultParamTexts.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace zar;
using namespace sheettest;

namespace {

QByteArray DefaultSorvexText() {
    QByteArray text;
    for (int id = kSorvexDefaultsFirst; id < kSorvexDefaultsEnd; ++id)
        text += ParamDefaultText(id).toLatin1();
    return text;
}

// Every entry of after equals before (numbers as the engine reads them, comments as they
// were) except the keys named in changed, which must hold their new values; every other line
// is as it was.
void ExpectSameExcept(const ParsedFile& before, const ParsedFile& after,
                      const std::map<QString, QString>& changed) {
    EXPECT_EQ(after.lineCount, before.lineCount);
    EXPECT_EQ(after.otherLines, before.otherLines);
    ASSERT_EQ(after.entries.size(), before.entries.size());
    for (const auto& [key, entry] : before.entries) {
        const auto found = after.entries.find(key);
        ASSERT_NE(found, after.entries.end()) << qPrintable(key);
        EXPECT_EQ(found->second.comment, entry.comment) << qPrintable(key);
        const auto edit = changed.find(key);
        const QString expected = edit != changed.end() ? edit->second : entry.value;
        EXPECT_EQ(NormalValue(found->second.value), NormalValue(expected)) << qPrintable(key);
    }
}

}  // namespace

TEST_F(SheetFixture, DefaultTextComesBackUnchanged) {
    auto sheet = OpenSorvex();
    // No file yet: the defaults are used without a word.
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    for (int i = 0; i < sheet->GetPageCount(); ++i) sheet->SetActivePage(i);
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    ASSERT_TRUE(QFile::exists(SorvexFile()));
    const QByteArray first = ReadBytes(SorvexFile());
    // A differential row without a mass is no modification; it is written with the row's own
    // placeholder residues. The database is the one of this machine's database folder.
    ExpectSameExcept(ParseParamFile(DefaultSorvexText()), ParseParamFile(first),
                     {{"diff_search_options", "0.0 M 0.0 C 0.0 S"},
                      {"first_database_name", databases + "horse.fasta"}});

    // Saving again changes nothing at all.
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    EXPECT_EQ(ReadBytes(SorvexFile()), first);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(SheetFixture, HandEditedFileKeepsEverythingButTheEditedFields) {
    QByteArray text = DefaultSorvexText();
    const auto replace = [&text](const char* from, const QByteArray& to) {
        ASSERT_TRUE(text.contains(from)) << from;
        text.replace(from, to);
    };
    replace("[SORVEX]\n", "[SORVEX]\n; edited by hand for the BSA runs\n");
    replace("first_database_name = C:\\veltrix\\database\\horse.fasta",
            "first_database_name = " + databases.toLatin1() + "horse.fasta");
    replace("peptide_mass_tolerance = 1.000",
            "peptide_mass_tolerance = 2.5   ; wide, old instrument");
    replace("enzyme_number = 0", "enzyme_number = 1");
    replace("diff_search_options = 0.0 S 0.0 C 0.0 X",
            "diff_search_options = 15.9949 M 0.0 C 0.0 X");
    replace("ion_series = 0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0",
            "ion_series = 0 1 1 0.0 1.0 0.0 0.0 0.0 0.5 0.0 1.0 0.0");
    replace("add_C_Cysteine = 0.0000", "add_C_Cysteine = 57.021");
    replace("num_output_lines = 12", "num_output_lines = 15");
    text.replace("\n", "\r\n");
    WriteBytes(SorvexFile(), text);
    const ParsedFile before = ParseParamFile(text);

    auto sheet = OpenSorvex();
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(0), 8752)->text(), "horse.fasta");
    sheet->SetActivePage(1);
    auto* params = sheet->GetPage(1);
    Ctl<QLineEdit>(params, CSearchAdvancedPage::kFragmentId)->setText("0.5000");
    Click(params, CSearchAdvancedPage::kShowFragmentIonsId);
    sheet->SetActivePage(2);
    CModificationGrids* grids = sheet->Grids();
    ASSERT_TRUE(grids->StaticGrid()->StoreEditedText(5, 2, "1.5"));  // G_Glycine
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));

    ExpectSameExcept(before, ParseParamFile(ReadBytes(SorvexFile())),
                     {{"diff_search_options", "15.9949 M 0.0 C 0.0 S"},
                      {"fragment_ion_tolerance", "0.5"},
                      {"show_fragment_ions", "1"},
                      {"add_G_Glycine", "1.5"}});
}

TEST_F(SheetFixture, StaticMassesOfAGridNeverShownAreSavedAsRead) {
    CParamFile file;
    file.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(file.SetEntryDouble("add_C_Cysteine", 57.021));
    ASSERT_TRUE(file.SaveAs(SorvexFile()));
    auto sheet = OpenSorvex();
    ASSERT_FALSE(sheet->Grids()->IsSetUp());
    EXPECT_DOUBLE_EQ(sheet->Grids()->GetStaticModification(10), 57.021);
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    CParamFile saved;
    ASSERT_TRUE(saved.Open(SorvexFile()));
    double mass = 0.0;
    ASSERT_TRUE(saved.GetEntryDouble("add_C_Cysteine", mass));
    EXPECT_DOUBLE_EQ(mass, 57.021);
}

TEST_F(SheetFixture, SaveIntoAReadOnlyFolderReportsItAndKeepsTheOldFile) {
    CParamFile file;
    file.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(file.SetEntryString("first_database_name", databases + "horse.fasta"));
    ASSERT_TRUE(file.SaveAs(SorvexFile()));
    const QByteArray old = ReadBytes(SorvexFile());
    auto sheet = OpenSorvex();
    sheet->SetActivePage(1);
    Ctl<QLineEdit>(sheet->GetPage(1), CSearchAdvancedPage::kPeptideId)->setText("2.0000");

    zartest::ScopedUnwritableFolder locked(results);
    if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
    boxes.clear();
    EXPECT_FALSE(sheet->SaveParamFile(false));
    EXPECT_EQ(sheet->LastSaveFailure(), SearchParamsModel::SaveFailure::WriteFailed);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("Couldn't create the parameter file:\n" + SorvexFile() + "\n\n"));
    EXPECT_EQ(ReadBytes(SorvexFile()), old);

    // Starting fails the same way: the sheet stays open and idle, the launcher is not told.
    boxes.clear();
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("Couldn't create the parameter file:\n" + SorvexFile() + "\n\n"));
    EXPECT_EQ(ReadBytes(SorvexFile()), old);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(sheet->IsSearchRunning());
    EXPECT_EQ(sheet->Button(CSearchPropertySheet::kStartId)->text(), "&Start search");
    EXPECT_TRUE(sheet->Button(CSearchPropertySheet::kCloseId)->isEnabled());
    EXPECT_FALSE(launcher.calls.contains("EndStep(0)"));
    EXPECT_FALSE(launcher.calls.contains("DeleteOldResultFiles"));
}

TEST_F(SheetFixture, ResultsFolderThatCannotBeMadeStopsTheSave) {
    const QString deep = dir.filePath("missing/results");
    SetSorvexResultsDirectory(deep);
    auto sheet = OpenSorvex();
    boxes.clear();
    boxes.answerNext(IDYES);
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    ASSERT_EQ(boxes.texts().size(), 3);
    EXPECT_TRUE(boxes.texts()[0].startsWith("The results directory \n\n"));
    EXPECT_EQ(boxes.texts()[1], "Unable to create the results directory \n\n" + deep);
    EXPECT_EQ(boxes.texts()[2], "Unable to create the sorvex.params file!");
    EXPECT_FALSE(QFile::exists(deep + "/sorvex.params"));
}

TEST_F(SheetFixture, DamagedFileIsRestoredWithTheDefaultValues) {
    CParamFile file;
    file.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(file.SetEntryString("peptide_mass_tolerance", "12"));
    ASSERT_TRUE(file.SetEntryString("diff_search_options", "1600.0 M 0.0 C 0.0 X"));
    ASSERT_TRUE(file.SaveAs(SorvexFile()));

    QString intro;
    ModalAnswer answer([&intro](QWidget* dialog) {
        auto* dlg = qobject_cast<CInvalidParamsDlg*>(dialog);
        ASSERT_NE(dlg, nullptr);
        intro = qobject_cast<QLabel*>(dlg->GetDlgItem(CInvalidParamsDlg::kIntroId))->text();
        qobject_cast<QRadioButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kUseDefaultsId))->click();
        qobject_cast<QPushButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kOkId))->click();
    });
    auto sheet = OpenSorvex();
    EXPECT_EQ(answer.seen, "Invalid Parameters file");
    EXPECT_TRUE(intro.startsWith("A parameter file (\"sorvex.params\") is required"));
    EXPECT_EQ(sheet->ReadResult().restore, RestoreResult::DefaultsLoaded);
    ASSERT_GE(boxes.texts().size(), 3);
    EXPECT_TRUE(
        boxes.texts()[0].contains("    One or more Differential Modifications\n"
                                  "    Peptide Tolerance\n"));
    EXPECT_EQ(boxes.texts()[1],
              "Your Sorvex Search parameters file (sorvex.params) will be "
              "overwritten. Is this OK?\n");
    EXPECT_FALSE(QFile::exists(SorvexFile()));

    // The sheet shows the defaults, not the damaged values, and saves a sound file.
    sheet->SetActivePage(1);
    EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(1), CSearchAdvancedPage::kPeptideId)->text(), "1.0000");
    sheet->SetActivePage(2);
    EXPECT_EQ(sheet->Grids()->DifferentialGrid()->GetValueRowCol(1, 1), "");
    sheet->Button(CSearchPropertySheet::kSaveId)->click();
    CParamFile saved;
    ASSERT_TRUE(saved.Open(SorvexFile()));
    QString value;
    ASSERT_TRUE(saved.GetEntryString("diff_search_options", value));
    EXPECT_EQ(value, "0.0000 M 0.0000 C 0.0000 S");
}

TEST_F(SheetFixture, DamagedFileIsReplacedByTheInstalledDefaultFile) {
    WriteBytes(SorvexFile(), "[SORVEX]\npeptide_mass_tolerance = 1.0\n");  // no database entry
    CParamFile installed;
    installed.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(installed.SetEntryInt("num_output_lines", 25));
    ASSERT_TRUE(installed.SaveAs(programs + "/sorvex.params"));

    ModalAnswer answer([](QWidget* dialog) {
        auto* dlg = qobject_cast<CInvalidParamsDlg*>(dialog);
        ASSERT_NE(dlg, nullptr);
        // The first option is chosen when the dialog opens.
        EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kCopyDefaultId))
                        ->isChecked());
        qobject_cast<QPushButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kOkId))->click();
    });
    auto sheet = OpenSorvex();
    EXPECT_EQ(sheet->ReadResult().restore, RestoreResult::CopiedDefault);
    EXPECT_EQ(ReadBytes(SorvexFile()), ReadBytes(programs + "/sorvex.params"));
    sheet->SetActivePage(1);
    EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(1), CSearchAdvancedPage::kOutputLinesId)->text(), "25");
}

TEST_F(SheetFixture, InvalidParametersDialogClosedLeavesTheFile) {
    WriteBytes(SorvexFile(), "[SORVEX]\npeptide_mass_tolerance = 1.0\n");
    ModalAnswer answer([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    auto sheet = OpenSorvex();
    EXPECT_EQ(answer.seen, "Invalid Parameters file");
    EXPECT_EQ(sheet->ReadResult().restore, RestoreResult::Unchanged);
    EXPECT_EQ(ReadBytes(SorvexFile()), "[SORVEX]\npeptide_mass_tolerance = 1.0\n");
}

TEST_F(SheetFixture, EntryMissingWhenStartingEndsTheStep) {
    // The file has its database line but lacks the others: saving finds them missing.
    WriteBytes(SorvexFile(), "[SORVEX]\nfirst_database_name = horse.fasta\n");
    ModalAnswer first([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    auto sheet = OpenSorvex();
    ModalAnswer second([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    boxes.clear();
    sheet->Button(CSearchPropertySheet::kStartId)->click();
    EXPECT_EQ(sheet->LastSaveFailure(), SearchParamsModel::SaveFailure::MissingEntry);
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts()[0].contains("Invalid/missing entry : peptide_mass_tolerance"));
    EXPECT_EQ(launcher.calls, QStringList{"EndStep(0)"});
    EXPECT_FALSE(sheet->IsSearchRunning());
}

TEST_F(SheetFixture, MissingInstalledDefaultFileEndsTheStep) {
    WriteBytes(SorvexFile(), "[SORVEX]\npeptide_mass_tolerance = 1.0\n");
    ModalAnswer answer([](QWidget* dialog) {
        auto* dlg = qobject_cast<CInvalidParamsDlg*>(dialog);
        ASSERT_NE(dlg, nullptr);
        qobject_cast<QPushButton*>(dlg->GetDlgItem(CInvalidParamsDlg::kOkId))->click();
    });
    auto sheet = OpenSorvex();
    EXPECT_EQ(sheet->ReadResult().restore, RestoreResult::EndStep);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith(programs + "/sorvex.params file \ndoes not exist."));
    EXPECT_TRUE(launcher.calls.isEmpty());  // not while the sheet is being made
    QApplication::processEvents();
    EXPECT_EQ(launcher.calls, QStringList{"EndStep(1)"});
}
