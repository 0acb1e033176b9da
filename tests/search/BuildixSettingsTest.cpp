#include "search/BuildixSettings.h"
#include "search/ParamFile.h"

#include "document/EnzymeTable.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zar;

namespace {

CParamFile Defaults() {
    CParamFile file;
    file.LoadDefaults(ParamFileType::Buildix);
    return file;
}

std::array<EnzymeRecord, kEnzymeSlotCount> BuiltInEnzymes() {
    CEnzymeTable table;
    table.ResetToDefaults();
    return table.GetRecords();
}

}  // namespace

TEST(BuildixSettings, DefaultFileReadsAsTheBuilderDefaults) {
    BuildixSettings s;
    const BuildixReadResult r = ReadBuildixSettings(Defaults(), s);
    EXPECT_TRUE(r.hasDatabaseName);
    EXPECT_FALSE(r.diffOutOfRange);
    EXPECT_FALSE(r.staticOutOfRange);
    EXPECT_EQ(s.enzymeNumber, 1);
    EXPECT_EQ(s.massType, 0);
    EXPECT_DOUBLE_EQ(s.lowMass, 700.0);
    EXPECT_DOUBLE_EQ(s.highMass, 3500.0);
    EXPECT_EQ(s.maxCleavageSites, 2);
    EXPECT_EQ(s.sortProgram, "sort.exe");
    // "0.0000 M 0.0000 C 0.0000 X": pairs without a mass are not taken.
    for (const DifferentialModification& d : s.diffMods) EXPECT_TRUE(d.residues.isEmpty());
    // The builder has no protein-terminus modifications.
    EXPECT_TRUE(s.staticMods[1].name.isEmpty());
    EXPECT_TRUE(s.staticMods[3].name.isEmpty());
    EXPECT_EQ(s.staticMods[0].name, "add_Cterm_peptide");
    EXPECT_EQ(s.staticMods[27].name, "add_W_Tryptophan");
}

TEST(BuildixSettings, OutOfRangeMassesAreMarkedAndStaticOnesNotTaken) {
    CParamFile file = Defaults();
    ASSERT_TRUE(file.SetEntryString("diff_search_options", "2000.0 M 0.0 C 0.0 X"));
    ASSERT_TRUE(file.SetEntryDouble("add_C_Cysteine", -60.0));
    ASSERT_TRUE(file.SetEntryDouble("add_K_Lysine", 8.0142));
    BuildixSettings s;
    const BuildixReadResult r = ReadBuildixSettings(file, s);
    EXPECT_TRUE(r.diffOutOfRange);
    EXPECT_TRUE(r.staticOutOfRange);
    EXPECT_DOUBLE_EQ(s.staticMods[4 + 6].mass, 0.0);      // C
    EXPECT_DOUBLE_EQ(s.staticMods[4 + 15].mass, 8.0142);  // K
    EXPECT_EQ(BuildixOutOfRangeMessage(r),
              "Error in buildix.params file. \nThe following values are out of range:\n"
              "    One or more Differential Modifications\n"
              "    C-terminus, N-terminus or Amino Acid Mass Modifications\n");
}

TEST(BuildixSettings, AFileWithoutDatabaseNameIsNotUsable) {
    CParamFile file;
    file.AppendLine("[BUILDIX]\n");
    file.AppendLine("enzyme_number = 3\n");
    BuildixSettings s;
    EXPECT_FALSE(ReadBuildixSettings(file, s).hasDatabaseName);
}

TEST(BuildixSettings, WrittenSettingsReadBack) {
    CParamFile file = Defaults();
    BuildixSettings s;
    s.databaseName = "human.fasta";
    s.sortDirectory = "/tmp";
    s.enzymeNumber = 12;
    s.databaseType = 1;
    s.readingFrames = 3;
    s.massType = 1;
    s.lowMass = 600.5;
    s.highMass = 4000.0;
    s.maxCleavageSites = 3;
    s.diffMods[0] = {"m", 15.9949};
    s.diffMods[2] = {"STY", 79.9663};
    s.staticMods[4 + 6].mass = 57.021;  // C
    s.staticMods[0].mass = 1.5;         // C-terminus
    const auto enzymes = BuiltInEnzymes();
    ASSERT_TRUE(WriteBuildixSettings(file, s, enzymes.data()));

    BuildixSettings back;
    const BuildixReadResult r = ReadBuildixSettings(file, back);
    EXPECT_FALSE(r.diffOutOfRange);
    EXPECT_EQ(back.databaseName, "human.fasta");
    EXPECT_EQ(back.sortDirectory, "/tmp");
    EXPECT_EQ(back.enzymeNumber, 12);
    EXPECT_EQ(back.databaseType, 1);
    EXPECT_EQ(back.readingFrames, 3);
    EXPECT_EQ(back.massType, 1);
    EXPECT_DOUBLE_EQ(back.lowMass, 600.5);
    EXPECT_DOUBLE_EQ(back.highMass, 4000.0);
    EXPECT_EQ(back.maxCleavageSites, 3);
    EXPECT_DOUBLE_EQ(back.staticMods[4 + 6].mass, 57.021);
    EXPECT_DOUBLE_EQ(back.staticMods[0].mass, 1.5);
    // Residues are written in capitals; a modification left empty between two others does not
    // take the others with it.
    EXPECT_EQ(back.diffMods[0].residues, "M");
    EXPECT_DOUBLE_EQ(back.diffMods[0].mass, 15.9949);
    EXPECT_TRUE(back.diffMods[1].residues.isEmpty());
    EXPECT_EQ(back.diffMods[2].residues, "STY");
    EXPECT_DOUBLE_EQ(back.diffMods[2].mass, 79.9663);
}

TEST(BuildixSettings, EnzymeSectionHoldsEveryRecordByNumber) {
    CParamFile file = Defaults();
    auto enzymes = BuiltInEnzymes();
    enzymes[17] = {1, "Tryp_Lys", "KR", ""};
    BuildixSettings s;
    ASSERT_TRUE(WriteBuildixSettings(file, s, enzymes.data()));
    const int section = file.IndexOfLineStartingWith("[SORVEX_ENZYME_INFO]");
    ASSERT_GE(section, 0);
    EXPECT_EQ(file.GetLine(section + 1), "0.\tNo_Enzyme\t\t\t\t0\t-\t\t-\n");
    EXPECT_EQ(file.GetLine(section + 2), "1.\tTrypsin\t\t\t\t1\tKR\t\t-\n");
    EXPECT_EQ(file.GetLine(section + 18), "17.\tTryp_Lys\t\t\t\t1\tKR\t\t-\n");
    EXPECT_EQ(file.GetLine(section + 19), "\n");
    EXPECT_EQ(file.GetLine(section + 25), "\n");

    EnzymeRecord e;
    ASSERT_TRUE(ReadBuildixEnzyme(file, 14, e));
    EXPECT_EQ(e.name, "AspN");
    EXPECT_EQ(e.sense, 0);
    EXPECT_EQ(e.cleavage, "D");
    ASSERT_TRUE(ReadBuildixEnzyme(file, 17, e));
    EXPECT_EQ(e.name, "Tryp_Lys");
    EXPECT_FALSE(ReadBuildixEnzyme(file, 20, e));
}

TEST(BuildixSettings, DefaultFileEnzymesReadByNumber) {
    EnzymeRecord e;
    ASSERT_TRUE(ReadBuildixEnzyme(Defaults(), 4, e));
    EXPECT_EQ(e.name, "Chymotryp_modified");
    EXPECT_EQ(e.cleavage, "FWY");
    EXPECT_EQ(e.blocking, "P");
}

TEST(BuildixSettings, BuilderArguments) {
    struct Case {
        bool duplicates;
        bool enzyme;
        QStringList expected;
    };
    const Case cases[] = {
        {true, false, {"-U-", "-Dhuman.fasta", "-Ohuman.fasta.hdr", "-E6", "-S15"}},
        {false, false, {"-U+", "-Dhuman.fasta", "-Ohuman.fasta.hdr", "-E6", "-S15"}},
        {true, true, {"-U-", "-Dhuman.fasta", "-Ohuman.fasta.hdr"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildixArguments(c.duplicates, "human.fasta", "human.fasta.hdr", c.enzyme, 6, 15),
                  c.expected);
}
