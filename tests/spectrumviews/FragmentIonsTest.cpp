// Fragment-ion masses against hand-computed values and the series' own relations.

#include "FragmentIons.h"

#include <gtest/gtest.h>

using namespace zar;

namespace {

struct IonCase {
    const char* sequence;
    bool monoisotopic;
    int slot;
    int residue;  // 1-based row of the table
    double expected;
    double tolerance;
    const char* what;
};

// Independent values: residue masses plus termini (b = residues + H+, y = residues + H2O + H+),
// with this system's hydrogen atoms in place of protons (0.00055 higher).
const IonCase kIonCases[] = {
    {"PEPTIDE", true, kIonB, 2, 227.1032, 0.001, "b2"},
    {"PEPTIDE", true, kIonB, 3, 324.1559, 0.001, "b3"},
    {"PEPTIDE", true, kIonY, 7, 148.0610, 0.001, "y1"},
    {"PEPTIDE", true, kIonY, 1, 800.3678, 0.001, "y7"},
    {"PEPTIDE", true, kIonA, 2, 199.1083, 0.001, "a2 = b2 - CO"},
    {"PEPTIDE", true, kIonC, 2, 244.1297, 0.001, "c2 = b2 + NH3"},
    {"PEPTIDE", true, kIonX, 7, 174.0402, 0.001, "x1 = y1 + CO - 2H"},
    {"PEPTIDE", true, kIonZStar, 7, 133.0501, 0.001, "z*1 = y1 - NH3 + H"},
    {"PEPTIDE", true, kIonBo, 3, 306.1453, 0.001, "b3 - H2O"},
    {"PEPTIDE", true, kIonYStar, 7, 131.0345, 0.001, "y1 - NH3"},
    {"PEPTIDE", true, kIonW, 7, 118.0504, 0.001, "w'1 = y1 - CO - 2H"},
    {"PEPTIDE", true, kIonPInternal, 1, 98.0606, 0.001, "internal P1 at P"},
    {"PEPTIDE", true, kIonPInternal, 3, 324.1559, 0.001, "internal P1 to P3 = b3"},
    {"PEPTIDE", false, kIonB, 2, 227.2401, 0.01, "average b2"},
    {"PEPTIDE", false, kIonY, 7, 148.1387, 0.01, "average y1"},
    {"PEPTIDE", false, kIonY, 1, 800.8407, 0.01, "average y7"},
    {"SAMPLER", true, kIonB, 1, 88.0399, 0.001, "b1 of S"},
    {"SAMPLER", true, kIonY, 7, 175.1195, 0.001, "y1 of R"},
    {"samplER", true, kIonY, 7, 175.1195, 0.001, "lower case counts as upper"},
    {"HPK", true, kIonHInternal, 2, 235.1195, 0.001, "internal H1 to P2"},
};

}  // namespace

TEST(FragmentIonsTest, MassesMatchHandComputedValues) {
    for (const IonCase& c : kIonCases) {
        const FragmentMassModel model(c.monoisotopic);
        const FragmentIonTable table = ComputeFragmentIons(QString::fromLatin1(c.sequence), model);
        EXPECT_NEAR(table.ion(c.residue, c.slot), c.expected, c.tolerance)
            << c.sequence << " " << c.what;
    }
}

TEST(FragmentIonsTest, SeriesKeepTheirRelations) {
    for (bool mono : {true, false}) {
        const FragmentMassModel model(mono);
        const FragmentConstants& k = model.constants();
        const QString sequence = QStringLiteral("ACDEFGHIKLMNPQRSTVWY");
        const FragmentIonTable t = ComputeFragmentIons(sequence, model);
        const int n = t.residueCount;
        const double mh = t.prefix.back() + k.hydroxyl + 2.0 * k.hydrogen;  // (M+H)+
        for (int i = 2; i <= n; ++i)
            EXPECT_NEAR(t.ion(i - 1, kIonB) + t.ion(i, kIonY), mh + k.hydrogen, 1e-9) << i;
        for (int i = 1; i < n; ++i) {
            EXPECT_NEAR(t.ion(i, kIonA), t.ion(i, kIonB) - k.co, 1e-9);
            EXPECT_NEAR(t.ion(i, kIonC), t.ion(i, kIonB) + k.nh3, 1e-9);
            EXPECT_DOUBLE_EQ(t.ion(i, kIonD), t.ion(i, kIonBStar));
            EXPECT_NEAR(t.mh[static_cast<size_t>(i - 1)],
                        t.prefix[static_cast<size_t>(i - 1)] + k.hydroxyl + 2.0 * k.hydrogen, 1e-9);
        }
    }
}

// The "M + H" column is the [M+H]+ of the peptide made of residues 1..i: residues + H2O + H+.
TEST(FragmentIonsTest, MHColumnIsThePrefixPeptidesProtonatedMass) {
    struct MHCase {
        const char* sequence;
        bool monoisotopic;
        int residue;
        double expected;
        double tolerance;
    };
    // Hand-computed with H2O 18.01056 / 18.01528 and the charge as a hydrogen atom.
    const MHCase cases[] = {
        {"PEPTIDE", true, 1, 97.05276 + 18.01056 + 1.00783, 0.0005},              // "P"
        {"PEPTIDE", true, 2, 97.05276 + 129.04259 + 18.01056 + 1.00783, 0.0005},  // "PE"
        {"PEPTIDE", true, 7, 800.3679, 0.0005},                                   // whole peptide
        {"GGGGK", true, 5, 4 * 57.02146 + 128.09496 + 18.01056 + 1.00783, 0.0005},
        {"PEPTIDE", false, 7, 800.8412, 0.01},
    };
    for (const MHCase& c : cases) {
        const FragmentMassModel model(c.monoisotopic);
        const FragmentIonTable t = ComputeFragmentIons(QString::fromLatin1(c.sequence), model);
        EXPECT_NEAR(t.mh[static_cast<size_t>(c.residue - 1)], c.expected, c.tolerance)
            << c.sequence << " " << c.residue;
    }
    // At the last residue it is the whole peptide's, the same value as its largest y ion.
    const FragmentMassModel model(true);
    const FragmentIonTable t = ComputeFragmentIons(QStringLiteral("SAMPLER"), model);
    EXPECT_NEAR(t.mh.back(), t.ion(1, kIonY), 1e-9);
}

TEST(FragmentIonsTest, OneResidueHasNoCAndNoXIon) {
    const FragmentMassModel model(true);
    const FragmentIonTable t = ComputeFragmentIons(QStringLiteral("G"), model);
    ASSERT_EQ(t.residueCount, 1);
    for (int slot = 0; slot < kFragmentSeriesCount; ++slot) {
        const bool expected =
            slot != kIonC && slot != kIonX && slot != kIonHInternal && slot != kIonPInternal;
        EXPECT_EQ(t.ion(1, slot) != 0.0, expected) << IonLabelPrefix(slot);
    }
    const FragmentConstants& k = model.constants();
    EXPECT_DOUBLE_EQ(t.ion(1, kIonY), 57.0214636 + k.hydroxyl + 2.0 * k.hydrogen);
}

TEST(FragmentIonsTest, UnknownSymbolsAndWideCharactersWeighNothing) {
    const FragmentMassModel model(true);
    const FragmentIonTable plain = ComputeFragmentIons(QStringLiteral("PEPCK"), model);
    QString marked = QStringLiteral("PEPC*K");
    const FragmentIonTable withSymbol = ComputeFragmentIons(marked, model);
    EXPECT_DOUBLE_EQ(withSymbol.ion(4, kIonB), plain.ion(4, kIonB));
    EXPECT_DOUBLE_EQ(withSymbol.ion(5, kIonB), withSymbol.ion(4, kIonB));

    // Character codes past the table count 0.0 rather than reading beyond it.
    QString wide = QStringLiteral("PE");
    wide.append(QChar(0x0151));
    wide.append(QChar(0x4E2D));
    const FragmentIonTable t = ComputeFragmentIons(wide, model);
    EXPECT_DOUBLE_EQ(t.ion(4, kIonB), t.ion(2, kIonB));
}

TEST(FragmentIonsTest, InternalSeriesStartAtTheFirstHOrP) {
    const FragmentMassModel model(true);
    const FragmentIonTable t = ComputeFragmentIons(QStringLiteral("PEPTIDE"), model);
    EXPECT_EQ(t.hPosition, 0);
    EXPECT_EQ(t.pPosition, 1);
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(t.ion(i, kIonHInternal), 0.0);
        EXPECT_NEAR(t.ion(i, kIonPInternal), t.ion(i, kIonB), 1e-9);
        EXPECT_EQ(IonLabelNumber(kIonPInternal, i, 7, t.pPosition), 1);
    }
    const FragmentIonTable h = ComputeFragmentIons(QStringLiteral("AHAHK"), model);
    EXPECT_EQ(h.hPosition, 2);
    EXPECT_EQ(h.ion(1, kIonHInternal), 0.0);
    EXPECT_NEAR(h.ion(2, kIonHInternal), 137.0589116 + model.constants().hydrogen, 1e-9);
}

TEST(FragmentIonsTest, MonoisotopicAndAverageDifferEverywhere) {
    const FragmentIonTable mono =
        ComputeFragmentIons(QStringLiteral("PEPTIDE"), FragmentMassModel(true));
    const FragmentIonTable avg =
        ComputeFragmentIons(QStringLiteral("PEPTIDE"), FragmentMassModel(false));
    for (int i = 1; i <= 7; ++i) {
        EXPECT_NE(mono.mh[static_cast<size_t>(i - 1)], avg.mh[static_cast<size_t>(i - 1)]);
        for (int slot = 0; slot < kFragmentSeriesCount; ++slot) {
            if (mono.ion(i, slot) != 0.0) {
                EXPECT_NE(mono.ion(i, slot), avg.ion(i, slot));
            }
        }
    }
}

TEST(FragmentIonsTest, LabelsNumberFromTheirOwnEnd) {
    EXPECT_EQ(IonLabelNumber(kIonB, 2, 7, 0), 2);
    EXPECT_EQ(IonLabelNumber(kIonY, 2, 7, 0), 6);
    EXPECT_EQ(IonLabelNumber(kIonX, 7, 7, 0), 1);
    EXPECT_EQ(IonLabelNumber(kIonHInternal, 5, 7, 3), 3);
    EXPECT_STREQ(IonLabelPrefix(kIonY), "Y'");
    EXPECT_STREQ(IonLabelPrefix(kIonD), "D'");
    EXPECT_STREQ(IonLabelPrefix(99), "");
}
