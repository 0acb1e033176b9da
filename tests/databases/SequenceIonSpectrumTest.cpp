// The sequence calculator's spectrum: weight, length, mass per residue and the ion peaks, checked
// by hand and against the fragment-ion engine.

#include "SequenceIonSpectrum.h"

#include "document/AminoAcidMasses.h"
#include "spectrumviews/FragmentIons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zar;

namespace {

constexpr double kG = 57.0214636;
constexpr double kA = 71.0371136;
constexpr double kH = kHydrogenMono;
constexpr double kOH = kHydrogenMono + kOxygenMono;

std::vector<std::pair<double, double>> Peaks(const SequenceIonSpectrum& s) {
    std::vector<std::pair<double, double>> out;
    for (const SequenceIonPeak& p : s.peaks) out.emplace_back(p.mz, p.intensity);
    return out;
}

}  // namespace

TEST(SequenceIonSpectrumTest, GlycylAlanineByHand) {
    SequenceIonChoice all;
    all.monoisotopic = true;
    all.a = all.b = all.y = true;
    const SequenceIonSpectrum s = BuildSequenceIonSpectrum("GA", all);
    EXPECT_EQ(s.length, 2);
    // [M+H]+ = residues + water + proton: 128.0585772 + 18.0105646 + 1.007825.
    EXPECT_NEAR(s.weight, 147.0769668, 1e-7);
    EXPECT_NEAR(s.residueAverage, 64.0292886, 1e-7);
    const double b1 = kH + kG;                 // 58.0292886
    const double b2 = kH + kG + kA;            // 129.0664022
    const double y2 = kG + kA + kOH + 2 * kH;  // the whole peptide: 147.0769668
    const double y1 = kA + kOH + 2 * kH;       // 90.0555032
    const std::vector<std::pair<double, double>> expected = {
        {b1 - 27.994915, 10.0}, {b1 - 1.0, 25.0}, {b1, 50.0}, {y1, 10.0},
        {b2 - 27.994915, 10.0}, {b2 - 1.0, 25.0}, {b2, 50.0}, {y2, 10.0}};
    const auto peaks = Peaks(s);
    ASSERT_EQ(peaks.size(), expected.size());
    for (std::size_t k = 0; k < peaks.size(); ++k) {
        EXPECT_NEAR(peaks[k].first, expected[k].first, 1e-7) << k;
        EXPECT_EQ(peaks[k].second, expected[k].second) << k;
    }
    EXPECT_NEAR(s.xMin, b1 - 27.994915 - 10.0, 1e-7);  // 20.0343736
    EXPECT_NEAR(s.xMax, y2 + 10.0, 1e-7);
    EXPECT_NEAR(s.baseMz, b1, 1e-7);
    EXPECT_EQ(s.baseIntensity, 50.0);
    EXPECT_EQ(s.intensitySum, 2 * (50.0 + 25.0 + 2 * 10.0));
}

TEST(SequenceIonSpectrumTest, IonsAgreeWithTheFragmentIonEngine) {
    for (bool mono : {true, false}) {
        const QString peptide = "LVNELTEFAK";
        SequenceIonChoice choice;
        choice.monoisotopic = mono;
        choice.a = choice.b = choice.y = true;
        const SequenceIonSpectrum s = BuildSequenceIonSpectrum(peptide, choice);
        const FragmentIonTable ions = ComputeFragmentIons(peptide, FragmentMassModel(mono));
        const auto has = [&s](double mz, double intensity) {
            for (const SequenceIonPeak& p : s.peaks)
                if (std::abs(p.mz - mz) < 1e-9 && p.intensity == intensity) return true;
            return false;
        };
        for (int i = 1; i <= ions.residueCount; ++i) {
            SCOPED_TRACE(std::to_string(i) + (mono ? " mono" : " average"));
            EXPECT_TRUE(has(ions.ion(i, kIonB), 50.0));
            EXPECT_TRUE(has(ions.ion(i, kIonA), 10.0));
            EXPECT_TRUE(has(ions.ion(i, kIonY), 10.0));
        }
        // The first y ion is the whole peptide, the weight.
        EXPECT_NEAR(ions.ion(1, kIonY), s.weight, 1e-9);
    }
}

TEST(SequenceIonSpectrumTest, SeriesFollowTheChoice) {
    // Each residue: b gives the b ion and its companion, a and y one peak each.
    struct Case {
        bool a, b, y;
        std::size_t perResidue;
    } cases[] = {{false, false, false, 0}, {false, false, true, 1}, {true, false, false, 1},
                 {false, true, false, 2},  {true, true, false, 3},  {true, true, true, 4}};
    const FragmentIonTable ions = ComputeFragmentIons("PEPTIDE", FragmentMassModel(true));
    for (const Case& c : cases) {
        SequenceIonChoice choice;
        choice.monoisotopic = true;
        choice.a = c.a;
        choice.b = c.b;
        choice.y = c.y;
        const SequenceIonSpectrum s = BuildSequenceIonSpectrum("PEPTIDE", choice);
        const std::string name =
            std::string(c.a ? "a" : "-") + (c.b ? "b" : "-") + (c.y ? "y" : "-");
        EXPECT_EQ(s.peaks.size(), 7 * c.perResidue) << name;
        // The b ions are drawn exactly when their box is checked.
        for (int i = 1; i <= ions.residueCount; ++i) {
            const double b = ions.ion(i, kIonB);
            const bool drawn =
                std::any_of(s.peaks.begin(), s.peaks.end(), [b](const SequenceIonPeak& p) {
                    return std::abs(p.mz - b) < 1e-9 || std::abs(p.mz - (b - 1.0)) < 1e-9;
                });
            EXPECT_EQ(drawn, c.b) << name << " b" << i;
        }
        // The texts do not depend on the series.
        EXPECT_EQ(s.length, 7) << name;
        EXPECT_NEAR(s.weight, ions.ion(1, kIonY), 1e-9) << name;
    }
}

TEST(SequenceIonSpectrumTest, LettersWithoutMassCountButWeighNothing) {
    SequenceIonChoice choice;
    choice.monoisotopic = true;
    const SequenceIonSpectrum plain = BuildSequenceIonSpectrum("GA", choice);
    const SequenceIonSpectrum withJ = BuildSequenceIonSpectrum("GJA", choice);
    EXPECT_EQ(withJ.length, 3);
    EXPECT_DOUBLE_EQ(withJ.weight, plain.weight);
    EXPECT_EQ(withJ.peaks.size(), 3 * plain.peaks.size() / 2);
    EXPECT_TRUE(BuildSequenceIonSpectrum(QString(), choice).peaks.empty());
    EXPECT_EQ(BuildSequenceIonSpectrum(QString(), choice).length, 0);
}
