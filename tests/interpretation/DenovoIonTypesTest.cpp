// Ion-type classification of the fragment slots and the one-dimensional spectra.

#include "interpretation/DenovoEngine.h"

#include "DenovoSyntheticSpectra.h"

#include <gtest/gtest.h>

#include <map>

using zar::CDenovoEngine;
using zar::DenovoParams;

namespace {

// Parent mass -> sign of every fragment slot.
std::map<int, int> SignsByParent(const CDenovoEngine& engine) {
    std::map<int, int> signs;
    for (int k = 1; k < engine.SpectraLoaded(); ++k)
        signs[engine.SlotParent(k)] = engine.SlotSign(k);
    return signs;
}

CDenovoEngine::Evidence Sum(const std::vector<CDenovoEngine::Evidence>& values, int P) {
    CDenovoEngine::Evidence sum = 0;
    for (int j = 0; j <= P; ++j) sum += values[static_cast<size_t>(j)];
    return sum;
}

// LVNEVTEFAK: y9 (VNEVTEFAK, 1036) lies one L below the precursor and b9 (LVNEVTEFA, 1003)
// one K and water below it; they start the two groups, and the other y and b ions follow.
TEST(DenovoIonTypesTest, KnownResiduePairStartsTheTwoGroups) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    o.ms3OfB = {9, 5};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    EXPECT_EQ(engine.YPairCount(), 1);
    EXPECT_EQ(engine.BPairCount(), 1);
    const auto signs = SignsByParent(engine);
    const int red = signs.at(1036);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(signs.at(694), red);    // y6
    EXPECT_EQ(signs.at(365), red);    // y3
    EXPECT_EQ(signs.at(1003), -red);  // b9
    EXPECT_EQ(signs.at(555), -red);   // b5
}

TEST(DenovoIonTypesTest, WithoutPairsTheTwoMostAlikeSlotsStartRed) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {8, 6, 4, 2};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    ASSERT_EQ(engine.YPairCount(), 0);
    const auto signs = SignsByParent(engine);
    for (int parent : {937, 694, 494, 218}) EXPECT_EQ(signs.at(parent), 1) << parent;
}

// With a single fragment slot no pair can agree: nothing starts red, and the MS2 evidence is
// never counted into a group.
TEST(DenovoIonTypesTest, NoCorrelatedPairGivesNoRedStart) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {6};
    o.noisePoints = 0;
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    const int n = engine.SpectraLoaded();
    ASSERT_GE(n, 2);
    engine.AssignSigns();
    EXPECT_EQ(engine.SlotSign(0), 0);
    const int P = engine.MassRangeEnd();
    CDenovoEngine::Evidence red = 0;
    CDenovoEngine::Evidence blue = 0;
    for (int k = 1; k < n; ++k) {
        if (engine.SlotSign(k) > 0)
            red += Sum(engine.SlotEvidence(k), P) - engine.SlotEvidence(k)[0];
        if (engine.SlotSign(k) < 0)
            blue += Sum(engine.SlotEvidence(k), P) - engine.SlotEvidence(k)[0];
    }
    EXPECT_LE(Sum(engine.SlotEvidence(n), P), red);
    EXPECT_LE(Sum(engine.SlotEvidence(n + 1), P), blue);
}

// A slot once coloured keeps its colour; classifying again may only colour more slots.
TEST(DenovoIonTypesTest, ClassifyingAgainKeepsEveryColour) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    o.ms3OfB = {9, 5};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    const auto first = SignsByParent(engine);
    engine.AssignSigns();
    const auto again = SignsByParent(engine);
    for (const auto& [parent, sign] : first) {
        if (sign != 0) {
            EXPECT_EQ(again.at(parent), sign) << parent;
        }
    }
}

TEST(DenovoIonTypesTest, SimilarityOfAnEmptyArrayIsZero) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    engine.ClearScores();  // empties the two colour accumulators
    const int red = engine.SpectraLoaded();
    EXPECT_DOUBLE_EQ(engine.Similarity(red, 1), 0.0);
    EXPECT_DOUBLE_EQ(engine.Similarity(1, red), 0.0);
    EXPECT_GT(engine.Similarity(1, 1), 0.5);
}

// The value of each type at every mass, from the slots' evidence and signs.
TEST(DenovoIonTypesTest, OneDimensionalSpectraFollowTheirDefinitions) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    o.ms3OfB = {9, 5};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    const int P = engine.MassRangeEnd();
    std::vector<CDenovoEngine::Evidence> red(static_cast<size_t>(P) + 1, 0);
    std::vector<CDenovoEngine::Evidence> blue(static_cast<size_t>(P) + 1, 0);
    for (int k = 1; k < engine.SpectraLoaded(); ++k) {
        auto& to = engine.SlotSign(k) > 0 ? red : blue;
        if (engine.SlotSign(k) == 0) continue;
        for (int j = 0; j <= P; ++j)
            to[static_cast<size_t>(j)] += engine.SlotEvidence(k)[static_cast<size_t>(j)];
    }
    const auto& ms2 = engine.SlotEvidence(0);
    for (int type = 2; type <= 9; ++type) {
        ASSERT_EQ(engine.BuildSpectrum(type), P + 1) << type;
        int count = 0;
        const auto& oneD = engine.GetOneDimensionalSpectrum(&count);
        ASSERT_EQ(count, P + 1);
        CDenovoEngine::Evidence largest = 0;
        for (int j = 1; j < P; ++j) {
            const size_t u = static_cast<size_t>(j);
            const size_t mirror = static_cast<size_t>(P - j + 1);
            CDenovoEngine::Evidence expected = 0;
            switch (type) {
                case 2:
                    expected = red[u];
                    break;
                case 3:
                    expected = blue[u];
                    break;
                case 4:
                    expected = red[u] + blue[mirror];
                    break;
                case 5:
                    expected = red[u] + ms2[u] + blue[mirror];
                    break;
                case 6:
                    expected = red[u] - blue[u];
                    break;
                case 7:
                    expected = ms2[u];
                    break;
                case 8:
                    expected = blue[u] >= 2 ? ms2[u] / blue[u] : ms2[u];
                    break;
                case 9:
                    expected = red[u] >= 2 ? ms2[u] / red[u] : ms2[u];
                    break;
            }
            ASSERT_EQ(oneD[u], expected) << "type " << type << " mass " << j;
            if (j >= 50) largest = std::max(largest, expected);
        }
        EXPECT_EQ(oneD[0], 0);
        EXPECT_EQ(engine.OneDimensionalMaximum(), largest);
        EXPECT_EQ(oneD[static_cast<size_t>(P)], largest / 2);
    }
    // Type 1 moves negative values to the complementary mass: none stay negative.
    engine.BuildSpectrum(1);
    int count = 0;
    const auto& folded = engine.GetOneDimensionalSpectrum(&count);
    for (int j = 50; j < P; ++j) EXPECT_GE(folded[static_cast<size_t>(j)], 0) << j;
    EXPECT_EQ(engine.BuildSpectrum(10), 0);
}

TEST(DenovoIonTypesTest, SpectrumTypeNames) {
    const std::pair<int, const char*> names[] = {
        {1, ""},
        {2, "Y-B Spectrum (Red)"},
        {3, "Y-B Spectrum (Blue)"},
        {4, "Y-B Spectrum (Red + Blue)"},
        {5, ""},
        {6, "Y-B Spectrum (Red - Blue)"},
        {7, "MS2 Spectrum"},
        {8, "MS2 Spectrum - Red"},
        {9, "MS2 Spectrum - Blue"},
        {10, ""},
    };
    for (const auto& [type, name] : names)
        EXPECT_EQ(CDenovoEngine::GetSpectrumTypeName(type), QString::fromLatin1(name)) << type;
}

}  // namespace
