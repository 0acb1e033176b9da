#include "databases/views/FastaDbIndexerDlg.h"

#include "controls/NumericEditCtrl.h"
#include "databases/IndexedDatabase.h"
#include "document/EnzymeTable.h"
#include "document/Settings.h"
#include "grids/ModificationGrid.h"
#include "search/ParamFileRestore.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace {

struct StartedBuilder {
    QString program;
    QStringList arguments;
    QString folder;
};

// The indexer with the disk and the builder under the test's control.
class TestIndexerDlg : public CFastaDbIndexerDlg {
  public:
    using CFastaDbIndexerDlg::CFastaDbIndexerDlg;
    qint64 freeSpace = qint64(1) << 40;
    std::vector<StartedBuilder> started;
    // When set, this shell command is started and followed in place of the builder.
    QString stand_in;

  protected:
    qint64 FreeDiskSpace(const QString&) const override { return freeSpace; }
    bool StartBuilder(const QString& program, const QStringList& arguments, const QString& folder,
                      QString& error) override {
        started.push_back({program, arguments, folder});
        if (stand_in.isEmpty()) return true;
        return CFastaDbIndexerDlg::StartBuilder("/bin/sh", {"-c", stand_in}, folder, error);
    }
};

class RecordingPrompt : public InvalidParamsPrompt {
  public:
    InvalidParamsOption answer = InvalidParamsOption::LeaveFile;
    QStringList asked;
    InvalidParamsOption ChooseOption(const QString& stem, const QString& label) override {
        asked << stem + "/" + label;
        return answer;
    }
};

class IndexerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDatabaseDirectory(dir_.path() + "/");
        enzymes_.ResetToDefaults();
        fasta_ = dbtest::WriteFile(dir_, "small.fasta",
                                   ">sp|P1|ONE\nACDKMGRPEPK\n>sp|P2|TWO\nMKWVTFISLLLLFSSAYSR\n");
    }
    // A parameter file of the defaults naming the test's FASTA file.
    void WriteParams(const std::function<void(CParamFile&)>& edit = {}) {
        CParamFile params;
        params.LoadDefaults(ParamFileType::Buildix);
        params.SetEntryString("database_name", "small.fasta");
        if (edit) edit(params);
        ASSERT_TRUE(params.SaveAs(dir_.filePath("buildix.params")));
    }
    std::unique_ptr<TestIndexerDlg> Open(InvalidParamsPrompt* prompt = nullptr) {
        auto dialog = std::make_unique<TestIndexerDlg>(nullptr, prompt);
        dialog->SetEnzymeList(enzymes_.GetRecords().data());
        dialog->EnsureInitialized();
        return dialog;
    }
    QString Param(const QString& key) {
        CParamFile file;
        file.Open(dir_.filePath("buildix.params"));
        QString value;
        file.GetEntryString(key, value);
        return value;
    }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    QTemporaryDir dir_;
    CEnzymeTable enzymes_;
    QString fasta_;
};

void Click(CDialogBase& dialog, int id) {
    static_cast<QAbstractButton*>(dialog.GetDlgItem(id))->click();
}

}  // namespace

TEST_F(IndexerTest, WithoutParameterFileTheDefaultsAreShown) {
    auto dialog = Open();
    EXPECT_TRUE(boxes_.texts().value(0).startsWith("Couldn't open the parameter file"));
    EXPECT_EQ(dialog->MassRangeEdit()->text(), "700.00-3500.00");
    EXPECT_EQ(dialog->LengthRangeEdit()->text(), "6-15");
    EXPECT_EQ(dialog->CleavageSitesEdit()->text(), "2");
    EXPECT_EQ(dialog->EnzymeCombo()->currentText(), "Trypsin");
    EXPECT_EQ(dialog->EnzymeCombo()->count(), 16);  // the named records from 1 on
    EXPECT_EQ(dialog->TempDirEdit()->text(), "C:\\Temp");
    EXPECT_TRUE(dialog->DuplicatesCheck()->isChecked());
    EXPECT_EQ(dialog->MassTypeGroup()->checkedId(), 0);
    EXPECT_EQ(dialog->DatabaseTypeGroup()->checkedId(), 0);
    EXPECT_EQ(dialog->DigestModeGroup()->checkedId(), 1);
    // The enzyme controls show, the length range hides.
    EXPECT_FALSE(dialog->EnzymeCombo()->isHidden());
    EXPECT_TRUE(dialog->LengthRangeEdit()->isHidden());
    // 26 named static modifications: the protein-terminus ones are not the builder's.
    ASSERT_EQ(dialog->StaticGrid()->GetRowCount(), 26);
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(1, 1), "Cterm_peptide");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(2, 1), "Nterm_peptide");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(3, 1), "G_Glycine");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(3, 2), "0");
    EXPECT_EQ(dialog->DiffGrid()->GetRowCount(), 3);
}

TEST_F(IndexerTest, ParameterFileFillsTheControls) {
    WriteParams([](CParamFile& p) {
        p.SetEntryInt("enzyme_number", 13);
        p.SetEntryInt("use_mono/avg_masses", 1);
        p.SetEntryDouble("min_peptide_mass", 500.0);
        p.SetEntryString("diff_search_options", "15.9949 M 0.0 C 0.0 X");
        p.SetEntryDouble("add_C_Cysteine", 57.021464);
    });
    auto dialog = Open();
    EXPECT_TRUE(boxes_.texts().isEmpty());
    EXPECT_EQ(dialog->FastaNameEdit()->text(), "small.fasta");
    EXPECT_EQ(dialog->IndexedNameEdit()->text(), "small.fasta.hdr");
    EXPECT_EQ(dialog->EnzymeCombo()->currentText(), "LysC");
    EXPECT_EQ(dialog->MassTypeGroup()->checkedId(), 1);
    EXPECT_EQ(dialog->MassRangeEdit()->text(), "500.00-3500.00");
    EXPECT_EQ(dialog->DiffGrid()->GetValueRowCol(1, 1), "M");
    EXPECT_EQ(dialog->DiffGrid()->GetValueRowCol(1, 2), "15.9949");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(9, 1), "C_Cysteine");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(9, 2), "57.0215");  // four decimals are kept
}

TEST_F(IndexerTest, OutOfRangeValuesAreReportedAndTheFileRestored) {
    WriteParams([](CParamFile& p) { p.SetEntryDouble("add_K_Lysine", 2000.0); });
    RecordingPrompt prompt;
    prompt.answer = InvalidParamsOption::UseDefaultValues;
    auto dialog = Open(&prompt);
    ASSERT_FALSE(boxes_.texts().isEmpty());
    EXPECT_EQ(boxes_.texts()[0],
              "Error in buildix.params file. \nThe following values are out of range:\n"
              "    C-terminus, N-terminus or Amino Acid Mass Modifications\n");
    EXPECT_EQ(prompt.asked, QStringList{"buildix/Database Indexer"});
    // The defaults replaced the file's values.
    EXPECT_FALSE(QFile::exists(dialog->ParamPath()));
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(18, 1), "K_Lysine");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(18, 2), "0");
}

TEST_F(IndexerTest, BuildWithoutEnzymeGivesTheLengthRange) {
    WriteParams();
    auto dialog = Open();
    Click(*dialog, CFastaDbIndexerDlg::kNoEnzymeId);
    EXPECT_TRUE(dialog->EnzymeCombo()->isHidden());
    EXPECT_FALSE(dialog->LengthRangeEdit()->isHidden());
    const QString before = QDir::currentPath();
    dialog->OnOK();
    ASSERT_EQ(dialog->started.size(), 1u);
    const StartedBuilder& b = dialog->started[0];
    EXPECT_EQ(b.program, QCoreApplication::applicationDirPath() + "/buildix4");
    EXPECT_EQ(b.arguments,
              (QStringList{"-U-", "-Dsmall.fasta", "-Osmall.fasta.hdr", "-E6", "-S15"}));
    // The builder starts in the database folder; the program's own folder stays.
    EXPECT_EQ(QDir(b.folder).absolutePath(), QDir(dir_.path()).absolutePath());
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_EQ(Param("enzyme_number"), "0");
    EXPECT_EQ(Param("database_name"), "small.fasta");
}

TEST_F(IndexerTest, BuildWithEnzymeHandsItOverInTheParameterFile) {
    WriteParams();
    auto dialog = Open();
    dialog->DuplicatesCheck()->setChecked(false);
    const int lysC = dialog->EnzymeCombo()->findText("LysC");
    dialog->EnzymeCombo()->setCurrentIndex(lysC);
    dialog->OnOK();
    ASSERT_EQ(dialog->started.size(), 1u);
    EXPECT_EQ(dialog->started[0].arguments,
              (QStringList{"-U+", "-Dsmall.fasta", "-Osmall.fasta.hdr"}));
    EXPECT_EQ(Param("enzyme_number"), "13");
    // The enzyme section carries the table the dialog was given.
    CParamFile file;
    file.Open(dialog->ParamPath());
    EnzymeRecord lys;
    ASSERT_TRUE(ReadBuildixEnzyme(file, 13, lys));
    EXPECT_EQ(lys.name, "LysC");
}

TEST_F(IndexerTest, ChecksRefuseTheBuild) {
    WriteParams();
    dbtest::WriteFile(dir_, "small.fasta.hdr", "old");
    struct Case {
        const char* name;
        std::function<void(TestIndexerDlg&)> setUp;
        int answer;
        const char* message;
    };
    const Case cases[] = {
        {"existing database kept", [](TestIndexerDlg&) {}, IDNO,
         "An indexed database already exists for \n\nsmall.fasta\n\nDo you want to replace it?"},
        {"FASTA larger than a third of the free space",
         [this](TestIndexerDlg& d) { d.freeSpace = 3 * QFileInfo(fasta_).size(); }, IDYES,
         "Not enough disk space to build the database.  Please either\nchoose another location "
         "for the new database or free up\nsome disk space."},
        {"no enzyme selected", [](TestIndexerDlg& d) { d.EnzymeCombo()->setCurrentIndex(-1); },
         IDYES, "Please select an enzyme to use when building the indexed database."},
        {"missing FASTA", [](TestIndexerDlg& d) { d.FastaNameEdit()->setText("absent.fasta"); }, 0,
         "Unable to open the fasta database"},
        {"FASTA without entries",
         [this](TestIndexerDlg& d) {
             dbtest::WriteFile(dir_, "empty.fasta", "");
             d.FastaNameEdit()->setText("empty.fasta");
         },
         0, "The fasta database holds no entries:\n\nempty.fasta"},
        {"FASTA of text only",
         [this](TestIndexerDlg& d) {
             dbtest::WriteFile(dir_, "text.fasta", "MKVLAAGIVALLLAAGCSS\n");
             d.FastaNameEdit()->setText("text.fasta");
         },
         0, "The fasta database holds no entries:\n\ntext.fasta"},
        {"blank in a name",
         [](TestIndexerDlg& d) { d.IndexedNameEdit()->setText("my db.fasta.hdr"); }, 0,
         "The indexed database cannot record a name that contains a blank:\n\nsmall.fasta"},
    };
    for (const Case& c : cases) {
        auto dialog = Open();
        boxes_.clear();
        c.setUp(*dialog);
        if (c.answer) boxes_.answerNext(c.answer);
        dialog->OnOK();
        EXPECT_TRUE(dialog->started.empty()) << c.name;
        EXPECT_EQ(boxes_.texts().last(), c.message) << c.name;
    }
    EXPECT_EQ(dbtest::ReadFile(dir_.filePath("small.fasta.hdr")), "old");
}

TEST_F(IndexerTest, AVolumeThatDoesNotTellItsFreeSpaceDoesNotStopTheBuild) {
    WriteParams();
    const struct {
        const char* name;
        qint64 free;
        bool builds;
    } cases[] = {{"unknown", -1, true},
                 {"nothing free", 0, false},
                 {"just short", 3 * QFileInfo(fasta_).size(), false},
                 {"enough", 3 * QFileInfo(fasta_).size() + 1, true}};
    for (const auto& c : cases) {
        auto dialog = Open();
        boxes_.clear();
        dialog->freeSpace = c.free;
        dialog->OnOK();
        EXPECT_EQ(dialog->started.size(), c.builds ? 1u : 0u) << c.name;
        EXPECT_EQ(boxes_.texts().isEmpty(), c.builds) << c.name;
    }
}

TEST_F(IndexerTest, RejectedDifferentialModificationsLeaveTheGrid) {
    const struct {
        const char* name;
        InvalidParamsOption answer;
    } cases[] = {{"defaults restored", InvalidParamsOption::UseDefaultValues},
                 {"file left as it is", InvalidParamsOption::LeaveFile}};
    for (const auto& c : cases) {
        WriteParams([](CParamFile& p) {
            p.SetEntryString("diff_search_options", "2000.0 M 79.9663 STY 0.0 X");
        });
        RecordingPrompt prompt;
        prompt.answer = c.answer;
        boxes_.clear();
        auto dialog = Open(&prompt);
        ASSERT_EQ(prompt.asked.size(), 1) << c.name;
        EXPECT_TRUE(boxes_.texts().value(0).contains("One or more Differential Modifications"))
            << c.name;
        // The rejected mass is nowhere in the grid.
        EXPECT_EQ(dialog->DiffGrid()->GetValueRowCol(1, 1), "") << c.name;
        EXPECT_EQ(dialog->DiffGrid()->GetValueRowCol(1, 2), "") << c.name;
        const bool restored = c.answer == InvalidParamsOption::UseDefaultValues;
        // The defaults have no differential modification; a file left keeps its good ones.
        EXPECT_EQ(dialog->DiffGrid()->GetValueRowCol(2, 1), restored ? "" : "STY") << c.name;
        // A build writes what the grid shows.
        dialog->OnOK();
        EXPECT_FALSE(Param("diff_search_options").contains("2000")) << c.name;
    }
}

TEST_F(IndexerTest, TheBuilderIsFollowedToItsEnd) {
    WriteParams();
    const struct {
        const char* name;
        const char* command;
        const char* message;
    } cases[] = {
        {"built",
         "echo 'Digesting small.fasta'; echo 'Processed 2 proteins; 8 peptides written to "
         "small.fasta.hdr'",
         "The indexed database is built:\n\n%1\n\n2 proteins, 8 peptides."},
        {"the builder's error",
         "echo 'Digesting' ; echo 'buildix4: The fasta database x holds no entries' >&2; exit 1",
         "The indexed database was not built:\n\nThe fasta database x holds no entries"},
        {"a silent failure", "exit 3",
         "The indexed database was not built:\n\nThe database builder ended with code 3."},
        {"killed", "kill -9 $$",
         "The indexed database was not built:\n\nThe database builder stopped before it "
         "finished."},
    };
    for (const auto& c : cases) {
        auto dialog = Open();
        boxes_.clear();
        dialog->stand_in = c.command;
        dialog->OnOK();
        ASSERT_EQ(dialog->started.size(), 1u) << c.name;
        EXPECT_TRUE(dialog->IsBuilding()) << c.name;
        EXPECT_FALSE(dialog->GetDlgItem(1)->isEnabled()) << "one build at a time";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsBuilding(); }, zartest::kWorkWaitMs))
            << c.name;
        EXPECT_EQ(boxes_.texts(),
                  QStringList{QString(c.message).replace("%1", dir_.filePath("small.fasta.hdr"))})
            << c.name;
        EXPECT_TRUE(dialog->GetDlgItem(1)->isEnabled()) << c.name;
    }
}

TEST_F(IndexerTest, ClosingDuringABuildAsksToStopIt) {
    WriteParams();
    auto dialog = Open();
    QTemporaryDir marks;
    // A stand-in that cleans up when asked to stop, as the builder does.
    dialog->stand_in =
        QStringLiteral("trap 'touch %1/stopped; exit 1' TERM; echo ready; while :; do sleep 1; done")
            .arg(marks.path());
    dialog->show();
    dialog->OnOK();
    ASSERT_TRUE(dialog->IsBuilding());
    // What the builder prints shows while it runs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->StatusLabel()->text() == "ready"; },
                                zartest::kWorkWaitMs));
    boxes_.clear();
    boxes_.answerNext(IDNO);
    dialog->reject();
    EXPECT_EQ(boxes_.texts(), QStringList{"The indexed database is still being built.\nStop the build?"});
    EXPECT_TRUE(dialog->IsBuilding());
    EXPECT_TRUE(dialog->isVisible());

    boxes_.answerNext(IDYES);
    dialog->reject();
    EXPECT_FALSE(dialog->IsBuilding());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(QFile::exists(marks.filePath("stopped"))) << "asked to stop, not killed";
    EXPECT_EQ(boxes_.texts().size(), 2) << "a stopped build reports nothing more";
}

TEST_F(IndexerTest, PresetsAndResetAll) {
    WriteParams();
    auto dialog = Open();
    CGXGridWnd* diff = dialog->DiffGrid();
    CGXGridWnd* stat = dialog->StaticGrid();
    Click(*dialog, CFastaDbIndexerDlg::kMonoisotopicId);
    EXPECT_TRUE(dialog->ApplyPreset(diff, 1, ModificationPreset::Oxidation));
    EXPECT_EQ(diff->GetValueRowCol(1, 2), "15.9949");
    // The terminal rows of the static grid take no preset.
    EXPECT_FALSE(dialog->ApplyPreset(stat, 2, ModificationPreset::Acetylation));
    Click(*dialog, CFastaDbIndexerDlg::kAverageId);
    EXPECT_TRUE(dialog->ApplyPreset(stat, 9, ModificationPreset::Carboxymethylation));
    EXPECT_EQ(stat->GetValueRowCol(9, 2), "58.0133");

    stat->SetCurrentCell(9, 2);
    std::unique_ptr<QMenu> menu(dialog->MakeContextMenu(stat));
    menu->grab().save("/tmp/i30-indexer-menu.png");
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 11);  // nine presets, a separator and Reset All
    EXPECT_EQ(actions[4]->text(), "ICAT (TM) Reagent");
    actions[6]->trigger();  // Oxidation, average
    EXPECT_EQ(stat->GetValueRowCol(9, 2), "15.9994");
    actions[10]->trigger();  // Reset All
    EXPECT_EQ(stat->GetValueRowCol(9, 2), "0");
    EXPECT_EQ(diff->GetValueRowCol(1, 2), "15.9949");
    dialog->ResetAll(diff);
    EXPECT_EQ(diff->GetValueRowCol(1, 2), "");
}

TEST_F(IndexerTest, DefaultsResetAllButTheLengthRange) {
    WriteParams([](CParamFile& p) {
        p.SetEntryInt("use_mono/avg_masses", 1);
        p.SetEntryInt("enzyme_number", 5);
        p.SetEntryDouble("add_C_Cysteine", 57.0);
    });
    auto dialog = Open();
    dialog->LengthRangeEdit()->setText("4-20");
    dialog->TempDirEdit()->setText("/scratch");
    dialog->OnDefaults();
    EXPECT_EQ(dialog->MassTypeGroup()->checkedId(), 0);
    EXPECT_EQ(dialog->EnzymeCombo()->currentText(), "Trypsin");
    EXPECT_EQ(dialog->StaticGrid()->GetValueRowCol(9, 2), "0");
    EXPECT_EQ(dialog->TempDirEdit()->text(), "C:\\Temp");
    EXPECT_EQ(dialog->MassRangeEdit()->text(), "700.00-3500.00");
    EXPECT_EQ(dialog->LengthRangeEdit()->text(), "4-20");
}

TEST_F(IndexerTest, BrowsedFastaNamesTheIndexedDatabase) {
    auto dialog = Open();
    dialog->SetFastaPath("/data/human.fasta");
    EXPECT_EQ(dialog->FastaNameEdit()->text(), "/data/human.fasta");
    EXPECT_EQ(dialog->IndexedNameEdit()->text(), "/data/human.fasta.hdr");
}

TEST_F(IndexerTest, TheStartedBuilderWritesTheIndexedDatabase) {
    // A database folder with a blank reaches the builder whole: its arguments are a list.
    const QString folder = dir_.filePath("my databases");
    ASSERT_TRUE(QDir().mkpath(folder));
    SetDatabaseDirectory(folder + "/");
    ASSERT_TRUE(QFile::copy(fasta_, folder + "/small.fasta"));
    CParamFile params;
    params.LoadDefaults(ParamFileType::Buildix);
    params.SetEntryString("database_name", "small.fasta");
    params.SetEntryDouble("min_peptide_mass", 300.0);
    ASSERT_TRUE(params.SaveAs(folder + "/buildix.params"));
    // The real builder, from the program folder (the tests' own).
    auto dialog = std::make_unique<CFastaDbIndexerDlg>(nullptr, nullptr);
    dialog->SetEnzymeList(enzymes_.GetRecords().data());
    dialog->EnsureInitialized();
    dialog->grab().save("/tmp/i30-indexer.png");
    dialog->OnOK();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    // The dialog follows the builder and tells its end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsBuilding(); }, zartest::kWorkWaitMs));
    const QString header = folder + "/small.fasta.hdr";
    EXPECT_EQ(boxes_.texts(), QStringList{"The indexed database is built:\n\n" + header +
                                          "\n\n2 proteins, 8 peptides."});
    ASSERT_TRUE(QFile::exists(header));
    CIndexedDatabase peptides;
    ASSERT_EQ(peptides.open(folder + "/small.fasta.peptides"), CIndexedDatabase::OpenResult::Ok);
    // Trypsin, two missed cleavages, 300 to 3500: six of ACDKMGRPEPK, two of the other (MK is
    // too light).
    EXPECT_EQ(peptides.proteinCount(), 8);
    CIndexedDatabase proteins;
    ASSERT_EQ(proteins.open(header), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(proteins.proteinCount(), 2);
}
