#include "search/SearchParamsModel.h"

#include "TestSupport.h"
#include "core/Paths.h"
#include "document/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

class FakePrompt : public InvalidParamsPrompt {
  public:
    InvalidParamsOption ChooseOption(const QString&, const QString&) override {
        ++calls;
        return option;
    }
    int calls = 0;
    InvalidParamsOption option = InvalidParamsOption::LeaveFile;
};

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        results = dir.filePath("results");
        databases = dir.filePath("db") + "/";
        QDir().mkpath(results);
        QDir().mkpath(databases);
        settings.resultsDirectory = results;
        settings.databaseDirectory = databases;
    }
    // A model whose parameter file holds the default text with some lines replaced.
    SearchParamsModel ModelWithFile(SearchKind kind,
                                    const QList<QPair<QString, QString>>& entries) {
        CParamFile file;
        file.LoadDefaults(kind == SearchKind::Sorvex ? ParamFileType::Sorvex
                                                     : ParamFileType::Massmap);
        for (const auto& e : entries) EXPECT_TRUE(file.SetEntryString(e.first, e.second));
        SearchParamsModel model(kind, settings);
        EXPECT_TRUE(file.SaveAs(model.ParamFilePath()));
        return model;
    }

    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    QString results;
    QString databases;
    SearchSettings settings;
    FakePrompt prompt;
};

TEST_F(ModelTest, MissingFileLoadsTheDefaultsWithoutChecks) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    const auto read = model.ReadParamFile(prompt, "/programs");
    EXPECT_FALSE(read.opened);
    EXPECT_FALSE(read.restoreRan);
    EXPECT_EQ(prompt.calls, 0);
    // A folder never searched is no fault: nothing is said.
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    EXPECT_EQ(model.Store().GetLineCount(), 75);
    model.LoadPages();
    // The database is one of this machine's database folder, not a path of another system.
    EXPECT_EQ(model.basic.databaseName, "horse.fasta");
    EXPECT_EQ(model.held.numDescriptionLines, 5);
    EXPECT_EQ(model.advanced.outputLines, 12);
    EXPECT_FALSE(model.advanced.aIons);
    EXPECT_TRUE(model.advanced.bIons);

    model.basic.resultsDirectory = results;
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));
    CParamFile saved;
    ASSERT_TRUE(saved.Open(results + "/sorvex.params"));
    EXPECT_EQ(saved.GetLineCount(), 75);
    EXPECT_TRUE(saved.GetLine(saved.FindLine("num_results", 11)).contains("; # results to store"));
    QString value;
    ASSERT_TRUE(saved.GetEntryString("first_database_name", value));
    EXPECT_EQ(value, databases + "horse.fasta");
}

TEST_F(ModelTest, MissingFileNamesADatabaseOfTheDatabaseFolder) {
    WriteText(databases + "zebra.fasta", ">z\nPEPTIDE\n");
    WriteText(databases + "proteins.fasta", ">p\nPEPTIDE\n");
    SearchParamsModel model(SearchKind::Massmap, settings);
    model.ReadParamFile(prompt, "/programs");
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    model.LoadPages();
    EXPECT_EQ(model.basic.databaseName, "proteins.fasta");
}

TEST_F(ModelTest, AFileThatCannotBeReadIsStillTold) {
    ASSERT_TRUE(QDir().mkpath(results + "/sorvex.params"));  // a folder where the file should be
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.ReadParamFile(prompt, "/programs");
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().first().startsWith("Couldn't open the parameter file"));
}

// A search in a folder other than the configured one: the next sheet opens there, with what
// the search used, and the option summary lies beside the parameter file.
TEST_F(ModelTest, TheNextSheetComesBackAsTheLastSearchLeftIt) {
    SetSorvexResultsDirectory(results);
    SearchParamsModel model(SearchKind::Sorvex, SearchSettings::FromStore(SearchKind::Sorvex));
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    const QString searched = dir.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(searched));
    model.basic.resultsDirectory = searched;
    model.basic.databaseName = "horse.fasta";
    model.basic.threshold = 5000.0;
    model.basic.enzymeIndex = 1;
    model.basic.massType = 1;
    model.advanced.printAdvancedParameters = true;
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));
    ASSERT_TRUE(model.WriteOptionSummary());
    EXPECT_TRUE(QFile::exists(searched + "/sorvex.params"));
    EXPECT_TRUE(QFile::exists(searched + "/sorvex_options.params"));
    EXPECT_FALSE(QFile::exists(results + "/sorvex_options.params"));

    SearchParamsModel again(SearchKind::Sorvex, SearchSettings::FromStore(SearchKind::Sorvex));
    EXPECT_EQ(again.ParamFilePath(), searched + "/sorvex.params");
    again.ReadParamFile(prompt, "/programs");
    again.LoadPages();
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    EXPECT_EQ(again.basic.resultsDirectory, searched);
    EXPECT_EQ(again.basic.enzymeIndex, 1);
    EXPECT_EQ(again.basic.massType, 1);
    EXPECT_EQ(again.basic.databaseName, "horse.fasta");
    EXPECT_DOUBLE_EQ(again.basic.threshold, 5000.0);
}

TEST_F(ModelTest, AFailedWriteSaysWhatFailed) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    model.basic.resultsDirectory = dir.filePath("no/such/folder");
    EXPECT_FALSE(model.SaveParamFile(prompt, "/programs"));
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts().last().startsWith("Couldn't create the parameter file:"))
        << boxes.texts().last().toStdString();
    EXPECT_TRUE(boxes.texts().last().contains("no/such/folder")) << boxes.texts().last().toStdString();
}

struct RangeCase {
    const char* name;
    QList<QPair<QString, QString>> entries;
    std::vector<RangeItem> expected;
};

class RangeCases : public ModelTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeCases, ListOnlyTheFailingItemsInOrder) {
    const RangeCase& c = GetParam();
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, c.entries);
    boxes.clear();
    const auto read = model.ReadParamFile(prompt, "/programs");
    EXPECT_EQ(read.outOfRange, c.expected);
    if (c.expected.empty()) {
        EXPECT_TRUE(boxes.texts().isEmpty());
        EXPECT_EQ(prompt.calls, 0);
    } else {
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_EQ(boxes.texts()[0],
                  SearchParamsModel::OutOfRangeMessage(SearchKind::Sorvex, c.expected));
        EXPECT_EQ(prompt.calls, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, RangeCases,
    ::testing::Values(
        RangeCase{"defaults", {}, {}},
        RangeCase{"edgesAccepted",
                  {{"add_C_Cysteine", "1500.0"},
                   {"add_G_Glycine", "-57.0"},
                   {"peptide_mass_tolerance", "-10.0"},
                   {"fragment_ion_tolerance", "10.0"},
                   {"diff_search_options", "1500.0 M -57.0 C 0.0 X"}},
                  {}},
        RangeCase{
            "peptideTolerance", {{"peptide_mass_tolerance", "12"}}, {RangeItem::PeptideTolerance}},
        RangeCase{"staticTooLarge", {{"add_K_Lysine", "2000"}}, {RangeItem::StaticModifications}},
        RangeCase{"allFour",
                  {{"add_Nterm_protein", "-57.5"},
                   {"fragment_ion_tolerance", "-11"},
                   {"peptide_mass_tolerance", "10.5"},
                   {"diff_search_options", "0.0 M 1600 C 0.0 X"}},
                  {RangeItem::DifferentialModifications, RangeItem::PeptideTolerance,
                   RangeItem::FragmentTolerance, RangeItem::StaticModifications}},
        RangeCase{"diffNotAllSixRead", {{"diff_search_options", "1600 M"}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelTest, OutOfRangeMessageText) {
    EXPECT_EQ(
        SearchParamsModel::OutOfRangeMessage(SearchKind::Sorvex, {RangeItem::PeptideTolerance}),
        "Error in sorvex.params file. \nSorvex Search dialog box can not be opened \nuntil "
        "valid sorvex.params file exists.\nThe following values are out of range:\n    "
        "Peptide Tolerance\n");
    EXPECT_TRUE(SearchParamsModel::OutOfRangeMessage(SearchKind::Massmap, {})
                    .startsWith("Error in massmap.params file. \nSorvex Search dialog box can not "
                                "be opened \nuntil valid massmap.params file exists.\n"));
}

TEST_F(ModelTest, StaticModificationOutOfRangeIsLeftUnset) {
    SearchParamsModel model =
        ModelWithFile(SearchKind::Sorvex, {{"add_K_Lysine", "2000"}, {"add_C_Cysteine", "57.021"}});
    model.ReadParamFile(prompt, "/programs");
    EXPECT_EQ(
        model.modifications.GetStaticModification(ModificationTables::StaticEntryOfResidue('K')),
        0.0);
    EXPECT_DOUBLE_EQ(
        model.modifications.GetStaticModification(ModificationTables::StaticEntryOfResidue('C')),
        57.021);
}

TEST_F(ModelTest, RestoredFileLeavesNoValueOfTheDamagedOne) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex,
                                            {{"diff_search_options", "1600.0 M 16.0 C 0.0 X"},
                                             {"peptide_mass_tolerance", "12"}});
    prompt.option = InvalidParamsOption::UseDefaultValues;
    boxes.answerNext(IDOK);  // the out-of-range message
    boxes.answerNext(IDOK);  // overwrite the file
    const auto read = model.ReadParamFile(prompt, dir.filePath("programs"));
    EXPECT_EQ(read.restore, RestoreResult::DefaultsLoaded);
    QString residues;
    double mass = 0.0;
    for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
        model.modifications.GetDifferentialModification(i, residues, mass);
        EXPECT_TRUE(residues.isEmpty()) << i;
        EXPECT_EQ(mass, 0.0) << i;
    }
    EXPECT_DOUBLE_EQ(model.advanced.peptideTolerance, 1.0);
}

TEST_F(ModelTest, FileWithoutDatabaseEntryGoesToTheRestoreProcedure) {
    WriteText(results + "/sorvex.params", "[SORVEX]\npeptide_mass_tolerance = 1.0\n");
    SearchParamsModel model(SearchKind::Sorvex, settings);
    const auto read = model.ReadParamFile(prompt, "/programs");
    EXPECT_TRUE(read.restoreRan);
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(ModelTest, MissingHeldKeysTakeTheirDefaults) {
    WriteText(
        results + "/sorvex.params",
        "[SORVEX]\nfirst_database_name = human.fasta\nnum_output_lines = 20\n"
        "max_num_internal_cleavage_sites = 4\nnucleotide_reading_frame = 3\n"
        "mass_type_parent = 1\nmass_type_fragment = 1\nion_series = 1 0 1 0 1 0 0 0 0 0 1 0\n");
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.held.numDescriptionLines = 9;
    model.held.maxDifferentialPerMod = 9;
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    EXPECT_EQ(model.held.numDescriptionLines, 3);
    EXPECT_EQ(model.held.maxDifferentialPerMod, 4);
    EXPECT_EQ(model.held.proteinMassFilter, "0 0");
    EXPECT_EQ(model.advanced.outputLines, 20);
    EXPECT_EQ(model.advanced.numResults, 500);  // kept
    EXPECT_EQ(model.basic.cleavageSites, 4);
    EXPECT_EQ(model.basic.readingFrame, 3);
    EXPECT_EQ(model.basic.sequenceType, 1);
    EXPECT_EQ(model.basic.massType, 1);
    EXPECT_TRUE(model.advanced.aIons);
    EXPECT_FALSE(model.advanced.bIons);
    EXPECT_TRUE(model.advanced.yIons);
    EXPECT_EQ(model.basic.databaseName, "human.fasta");
}

TEST_F(ModelTest, SavingWritesEveryKeyAndKeepsTheComments) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    model.basic.resultsDirectory = results;
    model.basic.databaseName = "horse.fasta";
    model.advanced.peptideTolerance = 2.5;
    model.advanced.fragmentTolerance = 0.35;
    model.advanced.numResults = 250;
    model.advanced.aIons = true;
    model.basic.enzymeIndex = 1;
    model.basic.massType = 1;
    model.held.partialSequence = "PEPT";
    model.modifications.SetStaticModification(10, 57.021464);
    model.modifications.SetDifferentialModification(0, "STY", 79.9663);
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));

    CParamFile saved;
    ASSERT_TRUE(saved.Open(results + "/sorvex.params"));
    QString text;
    ASSERT_TRUE(saved.GetEntryString("first_database_name", text));
    EXPECT_EQ(text, databases + "horse.fasta");
    EXPECT_EQ(saved.GetLine(saved.FindLine("peptide_mass_tolerance", 22)),
              "peptide_mass_tolerance = 2.5000\n");
    EXPECT_EQ(saved.GetLine(saved.FindLine("fragment_ion_tolerance", 22)),
              "fragment_ion_tolerance = 0.3500" + QString(10, ' ') +
                  "; leave at 0.0 unless you have real poor data\n");
    ASSERT_TRUE(saved.GetEntryString("ion_series", text));
    EXPECT_EQ(text, "1 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0");
    ASSERT_TRUE(saved.GetEntryString("diff_search_options", text));
    EXPECT_EQ(text, "79.9663 STY 0.0000 C 0.0000 S");
    ASSERT_TRUE(saved.GetEntryString("partial_sequence", text));
    EXPECT_EQ(text, "PEPT");
    int i = 0;
    ASSERT_TRUE(saved.GetEntryInt("num_results", i));
    EXPECT_EQ(i, 250);
    ASSERT_TRUE(saved.GetEntryInt("mass_type_fragment", i));
    EXPECT_EQ(i, 1);
    ASSERT_TRUE(saved.GetEntryInt("enzyme_number", i));
    EXPECT_EQ(i, 1);
    double d = 0;
    ASSERT_TRUE(saved.GetEntryDouble("add_C_Cysteine", d));
    EXPECT_DOUBLE_EQ(d, 57.0215);

    // Read back into a new model: the same values.
    SearchParamsModel again(SearchKind::Sorvex, settings);
    again.ReadParamFile(prompt, "/programs");
    again.LoadPages();
    EXPECT_DOUBLE_EQ(again.advanced.peptideTolerance, 2.5);
    EXPECT_EQ(again.advanced.numResults, 250);
    EXPECT_EQ(again.basic.databaseName, "horse.fasta");
    EXPECT_EQ(again.basic.massType, 1);
    QString residues;
    double mass = 0;
    again.modifications.GetDifferentialModification(0, residues, mass);
    EXPECT_EQ(residues, "STY");
    EXPECT_DOUBLE_EQ(mass, 79.9663);
}

TEST_F(ModelTest, EntryMissingWhenSavingRunsTheRestoreAndWritesNothing) {
    WriteText(results + "/sorvex.params", "[SORVEX]\nfirst_database_name = x.fasta\n");
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.ReadParamFile(prompt, "/programs");
    model.basic.resultsDirectory = results;
    EXPECT_FALSE(model.SaveParamFile(prompt, "/programs"));
    EXPECT_EQ(prompt.calls, 1);
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts().last().contains("Invalid/missing entry : peptide_mass_tolerance"));
    EXPECT_EQ(ReadBytes(results + "/sorvex.params"), "[SORVEX]\nfirst_database_name = x.fasta\n");
}

TEST_F(ModelTest, FailedWriteIsReported) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.ReadParamFile(prompt, "/programs");
    model.basic.resultsDirectory = dir.filePath("no/such/folder");
    EXPECT_FALSE(model.SaveParamFile(prompt, "/programs"));
}

TEST_F(ModelTest, MassmapFileNeverGainsNumResults) {
    SearchParamsModel model(SearchKind::Massmap, settings);
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));
    CParamFile saved;
    ASSERT_TRUE(saved.Open(results + "/massmap.params"));
    EXPECT_EQ(saved.GetLineCount(), 74);
    QString text;
    EXPECT_FALSE(saved.GetEntryString("num_results", text));
}

TEST_F(ModelTest, DatabasePathIsCheckedAndWrittenTheSameWay) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    EXPECT_EQ(model.ResolveDatabasePath("horse.fasta"), databases + "horse.fasta");
    EXPECT_EQ(model.ResolveDatabasePath("C:\\db\\x.fasta"), "C:\\db\\x.fasta");
    EXPECT_EQ(model.ResolveDatabasePath("/srv/db/x.fasta"), "/srv/db/x.fasta");
    model.basic.databaseDirectory = "C:\\Veltrix\\Database";
    EXPECT_EQ(model.ResolveDatabasePath("horse.fasta"), "C:\\Veltrix\\Database\\horse.fasta");
    model.basic.databaseDirectory = "/db";
    EXPECT_EQ(model.ResolveDatabasePath("horse.fasta"), "/db/horse.fasta");
}

struct OptionCase {
    const char* name;
    SearchKind kind;
    std::function<void(SearchParamsModel&)> change;
    const char* expected;
};

class OptionCases : public ModelTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionCases, BuildTheExtractionOptions) {
    const OptionCase& c = GetParam();
    SearchParamsModel model(c.kind, settings);
    model.SetScanLimits(1, 2000, 1, 2000);
    model.ApplyDefaults();
    model.basic.threshold = 0.0;
    model.advanced.minIonCount = 0;
    model.basic.fastaRange.value = {0.0, 0.0};
    c.change(model);
    EXPECT_EQ(model.BuildExtractionOptions(), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Options, OptionCases,
    ::testing::Values(
        OptionCase{"nothingDiffers", SearchKind::Sorvex, [](SearchParamsModel&) {}, ""},
        OptionCase{"allSorvex", SearchKind::Sorvex,
                   [](SearchParamsModel& m) {
                       m.basic.scanRange = {100, 900};
                       m.basic.threshold = 100000.0;
                       m.advanced.precursorTolerance = 2.0;
                       m.advanced.groupScan = 3;
                       m.advanced.minIonCount = 35;
                       m.advanced.minGroupCount = 4;
                       m.basic.fastaRange.value = {700.0, 3500.0};
                       m.advanced.charge = 2;
                       m.advanced.subsequence = "PEP";
                   },
                   "-F100 -L900 -E100000 -M2.00 -S3 -I35 -G4 -B700.00 -T3500.00 -C2 -YPEP "},
        OptionCase{"oneScanGroupsOne", SearchKind::Sorvex,
                   [](SearchParamsModel& m) {
                       m.basic.scanRange = {500, 500};
                   },
                   "-F500 -L500 -G1 "},
        OptionCase{"indexedRange", SearchKind::Sorvex,
                   [](SearchParamsModel& m) {
                       m.basic.databaseType = 1;
                       m.basic.indexedRange.value = {600.0, 4200.0};
                   },
                   "-B600.00 -T4200.00 "},
        OptionCase{"massmapSuppliedMass", SearchKind::Massmap,
                   [](SearchParamsModel& m) {
                       m.basic.proteinMassChoice = 1;
                       m.basic.suppliedMass = 1500.25;
                       m.basic.scanRange = {500, 500};
                       m.advanced.groupScan = 3;
                   },
                   "-P1500.25 -F500 -L500 "},
        OptionCase{"massmapBasePeakIgnoresMass", SearchKind::Massmap,
                   [](SearchParamsModel& m) { m.basic.suppliedMass = 1500.25; }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelTest, DefaultsAreRecognised) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.ApplyDefaults();
    EXPECT_TRUE(model.IsAtDefaults());
    EXPECT_EQ(model.basic.databaseName, databases + "*.fasta");
    const std::vector<std::function<void(SearchParamsModel&)>> changes = {
        [](SearchParamsModel& m) { m.basic.cleavageSites = 3; },
        [](SearchParamsModel& m) { m.basic.threshold = 5.0; },
        [](SearchParamsModel& m) { m.advanced.aIons = true; },
        [](SearchParamsModel& m) { m.advanced.subsequence = "K"; },
        [](SearchParamsModel& m) { m.held.matchPeakTolerance = 2.0; },
        [](SearchParamsModel& m) { m.modifications.SetStaticModification(27, 1.0); },
        [](SearchParamsModel& m) { m.modifications.SetDifferentialModification(2, "M", 16.0); },
    };
    for (const auto& change : changes) {
        SearchParamsModel changed = model;
        change(changed);
        EXPECT_FALSE(changed.IsAtDefaults());
        changed.ApplyDefaults();
        EXPECT_TRUE(changed.IsAtDefaults());
    }
    // Not compared: the held texts, create_output_files and the extraction values.
    SearchParamsModel other = model;
    other.held.proteinMassFilter = "1 2";
    other.held.createOutputFiles = 0;
    other.advanced.precursorTolerance = 3.0;
    EXPECT_TRUE(other.IsAtDefaults());
}

TEST_F(ModelTest, DefaultsUseReferenceValuesNotSettings) {
    settings.dtaMinIonCount = 20;
    SearchParamsModel model(SearchKind::Sorvex, settings);
    EXPECT_EQ(model.advanced.minIonCount, 20);
    model.ApplyDefaults();
    EXPECT_EQ(model.advanced.minIonCount, 35);
    SearchParamsModel massmap(SearchKind::Massmap, settings);
    massmap.ApplyDefaults();
    EXPECT_EQ(massmap.basic.threshold, 500000.0);
    EXPECT_TRUE(massmap.IsAtDefaults());
}

TEST_F(ModelTest, OptionSummaryFile) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.ApplyDefaults();
    model.SetScanLimits(1, 2000, 10, 10);
    model.advanced.subsequence = "PEP";
    ASSERT_TRUE(model.WriteOptionSummary());
    EXPECT_EQ(ReadBytes(results + "/sorvex_options.params"),
              "Database type = Peptide\r\nStart_scan=10; End_scan=10; Precursor_mass_tol =1.40; "
              "Group_scan_tol =1; Min_group_count =1;\r\nMin_ion_count =35; Low_mass_limit "
              "=700.00; High_mass_limit =3500.00; Use_charge_state =0; Subsequence =[PEP];\r\n");
    model.advanced.printAdvancedParameters = false;
    ASSERT_TRUE(model.WriteOptionSummary());
    EXPECT_EQ(ReadBytes(results + "/sorvex_options.params"), "");
}

TEST_F(ModelTest, EnzymeRowsAreWrittenIntoTheSection) {
    CEnzymeTable::Records records;
    ParseEnzymeRecord("No_Enzyme 0 - -", records[0]);
    ParseEnzymeRecord("Trypsin 1 KR P", records[1]);
    ParseEnzymeRecord("My_Enzyme 0 DE -", records[20]);
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.SetEnzymeTable(&records);
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    model.basic.resultsDirectory = results;
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));
    CParamFile saved;
    ASSERT_TRUE(saved.Open(results + "/sorvex.params"));
    const int header = saved.IndexOfLineStartingWith("[SORVEX_ENZYME_INFO]");
    ASSERT_GT(header, 0);
    EXPECT_EQ(saved.GetLine(header + 1), "0.\tNo_Enzyme\t\t\t\t0\t-\t\t-\n");
    EXPECT_EQ(saved.GetLine(header + 2), "1.\tTrypsin\t\t\t\t1\tKR\t\tP\n");
    EXPECT_EQ(saved.GetLine(header + 3), "\n");
    EXPECT_EQ(saved.GetLine(header + 21), "20.\tMy_Enzyme\t\t\t\t0\tDE\t\t-\n");
    EXPECT_EQ(saved.GetLineCount(), header + 22);
    EXPECT_EQ(model.EnzymeListNames(), QStringList({"No_Enzyme", "Trypsin", "My_Enzyme"}));
}

TEST_F(ModelTest, IndexedDatabaseHeaderSetsTheSearch) {
    CEnzymeTable::Records records;
    ParseEnzymeRecord("No_Enzyme 0 - -", records[0]);
    ParseEnzymeRecord("Trypsin 1 KR -", records[1]);
    settings.databaseDirectory = zartest::DataPath("search") + "/";
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.SetEnzymeTable(&records);
    model.basic.databaseName = "indexed.fasta.hdr";
    EXPECT_FALSE(model.ReadIndexedDatabaseHeader());  // a FASTA search reads no header
    model.basic.databaseType = 1;
    model.modifications.SetStaticModification(5, 3.0);
    ASSERT_TRUE(model.ReadIndexedDatabaseHeader());
    EXPECT_EQ(model.basic.enzymeIndex, 1);
    EXPECT_EQ(model.basic.cleavageSites, 3);
    EXPECT_EQ(model.basic.massType, 1);
    EXPECT_EQ(model.basic.sequenceType, 0);
    EXPECT_EQ(model.basic.indexedRange.value, (MassPair{600.0, 4200.0}));
    EXPECT_EQ(model.basic.indexedRange.defaultPair, (MassPair{600.0, 4200.0}));
    EXPECT_DOUBLE_EQ(model.modifications.GetStaticModification(10), 57.021);
    EXPECT_DOUBLE_EQ(model.modifications.GetStaticModification(2), 42.0106);
    EXPECT_DOUBLE_EQ(model.modifications.GetStaticModification(5), 3.0);
    EXPECT_EQ(model.modifications.DifferentialEntries()[0].residues, "M");
    EXPECT_EQ(model.modifications.DifferentialEntries()[1].residues, "STY");
    EXPECT_TRUE(model.modifications.DifferentialEntries()[2].residues.isEmpty());

    model.basic.databaseName = "no_final_line_end.fasta.hdr";
    ASSERT_TRUE(model.ReadIndexedDatabaseHeader());
    EXPECT_EQ(model.basic.enzymeIndex, -1);  // not in the list
    EXPECT_EQ(model.basic.sequenceType, 1);
    EXPECT_EQ(model.basic.massType, 0);
    EXPECT_TRUE(model.modifications.IsAtDefaults());  // empty statics, four groups clear all
}

TEST_F(ModelTest, DatabaseSizeRecords) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    const QString fasta = zartest::DataPath("search/small.fasta");
    const qint64 size = QFile(fasta).size();
    // Nothing recorded yet: the name is recorded with no size.
    EXPECT_FALSE(model.PrepareDatabaseSize(fasta, "small.fasta"));
    int fileSize = -1;
    int proteins = -1;
    GetDatabaseInfo("small.fasta", fileSize, proteins);
    EXPECT_EQ(fileSize, 0);
    // Another database, not recorded: its size less one, proteins estimated at 450 bytes each.
    EXPECT_FALSE(model.PrepareDatabaseSize(fasta, "other.fasta"));
    GetDatabaseInfo("other.fasta", fileSize, proteins);
    EXPECT_EQ(fileSize, size - 1);
    EXPECT_EQ(proteins, (size - 1) / 450 + 1);
    EXPECT_EQ(model.basic.databaseFileSize, size);
    // Recorded: the estimate follows the file size.
    EXPECT_TRUE(model.PrepareDatabaseSize(fasta, "small.fasta"));
    EXPECT_EQ(model.basic.proteinEstimate, size / 1000);
    // The tally reports the real count.
    model.basic.databaseName = "small.fasta";
    EXPECT_TRUE(model.SetDatabaseSize(1234));
    GetDatabaseInfo("small.fasta", fileSize, proteins);
    EXPECT_EQ(proteins, 1234);
    EXPECT_EQ(fileSize, size);
    EXPECT_TRUE(model.UpdateDatabaseSize("big.fasta.hdr", 3000, 0));
    EXPECT_EQ(model.basic.proteinEstimate, 3);
}

TEST_F(ModelTest, TracedRangesFollowTheTrackBox) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.SetScanLimits(1, 3000, 1, 3000);
    model.TrackScanRange(200, 400);
    EXPECT_EQ(model.basic.scanRange, (ScanPair{200, 400}));
    model.basic.trackTrace = false;
    model.TrackScanRange(500, 600);
    EXPECT_EQ(model.basic.scanRange, (ScanPair{200, 400}));
    EXPECT_EQ(model.basic.scanBounds, (ScanPair{500, 600}));
    model.SetFastaMassRangeAndRefresh(800.456, 0.0, 2999.994, 0.0);
    EXPECT_DOUBLE_EQ(model.basic.fastaRange.defaultPair.low, 800.46);
    EXPECT_DOUBLE_EQ(model.basic.fastaRange.defaultPair.high, 2999.99);
    model.SetIndexedMassRange(-0.125, 10.0, 0.0, 10000.0);
    EXPECT_DOUBLE_EQ(model.basic.indexedRange.value.low, -0.13);  // halves away from zero
}

TEST_F(ModelTest, ResultsFolderIsMadeOnlyWhenTheUserAgrees) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.basic.resultsDirectory = results;
    EXPECT_TRUE(model.CheckResultsDirectory());
    EXPECT_TRUE(boxes.texts().isEmpty());
    model.basic.resultsDirectory = dir.filePath("new");
    boxes.answerNext(IDNO);
    EXPECT_FALSE(model.CheckResultsDirectory());
    EXPECT_FALSE(QDir(dir.filePath("new")).exists());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0], "The results directory \n\n" + dir.filePath("new") +
                                    "\n\ndoesn't exist.  Do you want to create it?");
    boxes.answerNext(IDYES);
    EXPECT_TRUE(model.CheckResultsDirectory());
    EXPECT_TRUE(QDir(dir.filePath("new")).exists());
    model.basic.resultsDirectory.clear();
    EXPECT_FALSE(model.CheckResultsDirectory());
}

TEST_F(ModelTest, ResultsFolderThatCannotBeMadeIsReported) {
    SearchParamsModel model(SearchKind::Sorvex, settings);
    // Two levels are missing: one level is all that is made.
    model.basic.resultsDirectory = dir.filePath("missing/new");
    boxes.answerNext(IDYES);
    EXPECT_FALSE(model.CheckResultsDirectory());
    EXPECT_FALSE(QDir(dir.filePath("missing")).exists());
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(boxes.texts()[1],
              "Unable to create the results directory \n\n" + dir.filePath("missing/new"));
}

TEST_F(ModelTest, IonSeriesWeightsAreWrittenBackAsRead) {
    SearchParamsModel model = ModelWithFile(
        SearchKind::Sorvex, {{"ion_series", "0 1 1 0.5 1.0 0.0 0.0 0.25 0.0 0.0 1.0 0.0"}});
    model.ReadParamFile(prompt, "/programs");
    model.LoadPages();
    EXPECT_EQ(model.IonSeriesWeights(), "0.5 1.0 0.0 0.0 0.25 0.0 0.0 1.0 0.0");
    model.basic.resultsDirectory = results;
    model.advanced.aIons = true;
    ASSERT_TRUE(model.SaveParamFile(prompt, "/programs"));
    CParamFile saved;
    ASSERT_TRUE(saved.Open(results + "/sorvex.params"));
    QString text;
    ASSERT_TRUE(saved.GetEntryString("ion_series", text));
    EXPECT_EQ(text, "1 1 1 0.5 1.0 0.0 0.0 0.25 0.0 0.0 1.0 0.0");
}

TEST_F(ModelTest, SaveTellsAMissingEntryFromAFailedWrite) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.ReadParamFile(prompt, "/programs");
    model.basic.resultsDirectory = dir.filePath("no/such/folder");
    SearchParamsModel::SaveFailure why = SearchParamsModel::SaveFailure::None;
    EXPECT_FALSE(model.SaveParamFile(prompt, "/programs", &why));
    EXPECT_EQ(why, SearchParamsModel::SaveFailure::WriteFailed);
    model.basic.resultsDirectory = results;
    EXPECT_TRUE(model.SaveParamFile(prompt, "/programs", &why));
    EXPECT_EQ(why, SearchParamsModel::SaveFailure::None);

    WriteText(results + "/sorvex.params", "[SORVEX]\nfirst_database_name = x.fasta\n");
    SearchParamsModel broken(SearchKind::Sorvex, settings);
    broken.ReadParamFile(prompt, "/programs");
    broken.basic.resultsDirectory = results;
    EXPECT_FALSE(broken.SaveParamFile(prompt, "/programs", &why));
    EXPECT_EQ(why, SearchParamsModel::SaveFailure::MissingEntry);
}

TEST_F(ModelTest, EmptyResultsFolderWritesNothing) {
    SearchParamsModel model = ModelWithFile(SearchKind::Sorvex, {});
    model.ReadParamFile(prompt, "/programs");
    model.basic.resultsDirectory.clear();
    EXPECT_FALSE(model.SaveParamFile(prompt, "/programs"));
    EXPECT_FALSE(QFile::exists("sorvex.params"));
}

TEST_F(ModelTest, DatabaseChecks) {
    settings.databaseDirectory = zartest::DataPath("search");
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.basic.databaseName = "small.fasta";
    EXPECT_TRUE(model.HasValidDatabase());
    EXPECT_TRUE(model.OnDatabaseChanged());
    EXPECT_TRUE(boxes.texts().isEmpty());
    model.basic.databaseName = "not_a_database.txt";
    EXPECT_FALSE(model.OnDatabaseChanged());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0], "Can't find that database or database is invalid!");
    model.basic.databaseName = zartest::DataPath("search/small.fasta");  // a whole path
    EXPECT_TRUE(model.HasValidDatabase());
    model.basic.databaseName.clear();
    EXPECT_FALSE(model.HasValidDatabase());
}

TEST_F(ModelTest, PreparingAnIndexedSearchTakesTheHeaderMassRange) {
    settings.databaseDirectory = zartest::DataPath("search");
    SearchParamsModel model(SearchKind::Sorvex, settings);
    model.basic.databaseType = 1;
    model.basic.databaseName = "no_final_line_end.fasta.hdr";
    model.basic.indexedRange.value = {1.0, 2.0};
    EXPECT_FALSE(model.PrepareSearchDatabase());
    EXPECT_EQ(model.basic.indexedRange.value, (MassPair{700.0, 3500.0}));
    int fileSize = 0;
    int proteins = 0;
    GetDatabaseInfo("no_final_line_end.fasta.hdr", fileSize, proteins);
    EXPECT_EQ(fileSize, 0);  // the first database recorded has no size yet
}

TEST_F(ModelTest, SettingsGiveTheInitialValues) {
    const SearchSettings sorvex = SearchSettings::FromStore(SearchKind::Sorvex);
    EXPECT_EQ(sorvex.resultsDirectory, "C:\\Veltrix\\sorvex");
    EXPECT_EQ(sorvex.databaseDirectory, "C:\\Veltrix\\Database\\");
    EXPECT_EQ(sorvex.dtaThreshold, 100000.0);
    EXPECT_EQ(sorvex.dtaMinIonCount, 35);
    EXPECT_EQ(SearchSettings::FromStore(SearchKind::Massmap).resultsDirectory,
              "C:\\Veltrix\\peptide");
    SearchParamsModel model(SearchKind::Sorvex, sorvex);
    EXPECT_EQ(model.ParamFilePath(), "/Veltrix/sorvex/sorvex.params");
    EXPECT_EQ(model.OptionSummaryPath(), "/Veltrix/sorvex/sorvex_options.params");
    // Without a data-system path the program's own folder holds the default files.
    EXPECT_EQ(DefaultParamFileFolder(), PortablePath(GetProgramDirectory()));
    EXPECT_FALSE(DefaultParamFileFolder().isEmpty());
}

TEST(QueueChoice, PriorityTextOnlyThroughTheQueue) {
    QueueChoice q;
    EXPECT_EQ(q.PriorityText(), "");
    q.runChoice = 1;
    EXPECT_EQ(q.PriorityText(), "Normal");
    q.priority = 0;
    EXPECT_EQ(q.PriorityText(), "High");
    q.priority = 2;
    EXPECT_EQ(q.PriorityText(), "Low");
}

}  // namespace
