#include "search/ModificationTables.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace zar;

namespace {

TEST(ModificationTables, NamesFollowTheTableOrder) {
    ModificationTables t;
    EXPECT_EQ(t.GetStaticName(0), "add_Cterm_peptide");
    EXPECT_EQ(t.GetStaticName(3), "add_Nterm_protein");
    EXPECT_EQ(t.GetStaticName(4), "add_G_Glycine");
    EXPECT_EQ(t.GetStaticName(27), "add_W_Tryptophan");
    EXPECT_EQ(t.GetStaticName(28), "");
    EXPECT_EQ(ModificationTables::DisplayName(t.GetStaticName(10)), "C_Cysteine");
    EXPECT_EQ(ModificationTables::StaticEntryOfResidue('G'), 4);
    EXPECT_EQ(ModificationTables::StaticEntryOfResidue('W'), 27);
    EXPECT_EQ(ModificationTables::StaticEntryOfResidue('J'), -1);
    EXPECT_EQ(ModificationTables::StaticEntryOfResidue('c'), -1);
}

TEST(ModificationTables, DifferentialEntryNeedsResiduesAndAMass) {
    ModificationTables t;
    t.SetDifferentialModification(0, "M", 0.0);
    QString residues;
    double mass = 1;
    t.GetDifferentialModification(0, residues, mass);
    EXPECT_EQ(residues, "");
    EXPECT_EQ(mass, 0.0);
    t.SetDifferentialFromGrid(1, "sty", 79.9663);  // typed in lower case
    t.GetDifferentialModification(1, residues, mass);
    EXPECT_EQ(residues, "STY");
    EXPECT_DOUBLE_EQ(mass, 79.9663);
    t.GetDifferentialModification(5, residues, mass);
    EXPECT_EQ(residues, "");
    EXPECT_EQ(mass, 0.0);
}

struct PresetCase {
    ModificationPreset preset;
    double average;
    double mono;
};

class PresetCases : public ::testing::TestWithParam<PresetCase> {};

TEST_P(PresetCases, ChooseTheMassByMassType) {
    const PresetCase& c = GetParam();
    EXPECT_DOUBLE_EQ(ModificationTables::PresetMass(c.preset, 0), c.average);
    EXPECT_DOUBLE_EQ(ModificationTables::PresetMass(c.preset, 1), c.mono);
}

INSTANTIATE_TEST_SUITE_P(
    All, PresetCases,
    ::testing::Values(PresetCase{ModificationPreset::Acetylation, 42.0373, 42.0106},
                      PresetCase{ModificationPreset::Carboxymethylation, 58.0133, 58.0054},
                      PresetCase{ModificationPreset::Formylation, 28.0104, 27.9949},
                      PresetCase{ModificationPreset::Hydroxylation, 17.0073, 17.0027},
                      PresetCase{ModificationPreset::IcatReagent, 442.2, 442.2249},
                      PresetCase{ModificationPreset::Methylation, 14.0269, 14.0157},
                      PresetCase{ModificationPreset::Oxidation, 15.9994, 15.9949},
                      PresetCase{ModificationPreset::Phosphorylation, 79.9799, 79.9663},
                      PresetCase{ModificationPreset::Sulphation, 80.0642, 79.9568}));

TEST(ModificationPresets, TerminalRowsTakeNoPreset) {
    ModificationTables t;
    for (int row = 1; row <= 4; ++row)
        EXPECT_FALSE(t.ApplyStaticPreset(row, ModificationPreset::Oxidation, 1));
    EXPECT_TRUE(t.IsAtDefaults());
    EXPECT_TRUE(t.ApplyStaticPreset(5, ModificationPreset::Oxidation, 1));
    EXPECT_DOUBLE_EQ(t.GetStaticModification(4), 15.9949);
    EXPECT_TRUE(t.ApplyStaticPreset(28, ModificationPreset::Oxidation, 0));
    EXPECT_DOUBLE_EQ(t.GetStaticModification(27), 15.9994);
    EXPECT_FALSE(t.ApplyStaticPreset(29, ModificationPreset::Oxidation, 0));
    EXPECT_FALSE(t.ApplyDifferentialPreset(0, ModificationPreset::Oxidation, 0));
    EXPECT_TRUE(t.ApplyDifferentialPreset(3, ModificationPreset::Phosphorylation, 1));
    EXPECT_DOUBLE_EQ(t.DifferentialEntries()[2].mass, 79.9663);
}

TEST(ModificationPresets, ResetAllOfOneGridLeavesTheOther) {
    ModificationTables t;
    t.SetStaticModification(10, 57.021);
    t.SetDifferentialModification(0, "M", 15.9949);
    t.ResetDifferential();
    EXPECT_DOUBLE_EQ(t.GetStaticModification(10), 57.021);
    EXPECT_TRUE(t.DifferentialEntries()[0].residues.isEmpty());
    EXPECT_FALSE(t.IsAtDefaults());
    t.ResetStatic();
    EXPECT_TRUE(t.IsAtDefaults());
    EXPECT_EQ(t.GetStaticName(4), "add_G_Glycine");
}

TEST(ModificationTables, DifferentialRowWithoutResiduesCountsAsDefault) {
    ModificationTables t;
    t.SetDifferentialFromGrid(0, "", 16.0);
    EXPECT_TRUE(t.IsAtDefaults());
    t.SetDifferentialFromGrid(0, "M", 16.0);
    EXPECT_FALSE(t.IsAtDefaults());
}

TEST(ModificationTables, MassesFormattedInTheCLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8")) {
        GTEST_SKIP() << "no decimal-comma locale installed";
    }
    const QString text = ModificationTables::FormatMass(15.9949);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(text, "15.9949");
    EXPECT_TRUE(ModificationTables::IsMassInRange(-57.0));
    EXPECT_TRUE(ModificationTables::IsMassInRange(1500.0));
    EXPECT_FALSE(ModificationTables::IsMassInRange(2000.0));
}

}  // namespace
