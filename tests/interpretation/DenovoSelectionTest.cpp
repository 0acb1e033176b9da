// The candidate a user picks: its gaps and letters, and the b and y ions marked for it.

#include "interpretation/DenovoSelection.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using zar::DenovoIonLabel;
using zar::DenovoIonScale;
using zar::DenovoSelectionRecord;

namespace {

struct ParseCase {
    const char* text;
    int leading;
    const char* letters;
    int trailing;
};

TEST(DenovoSelectionTest, CandidateTextsReadAsGapsAndLetters) {
    const ParseCase cases[] = {
        {"114.ABC.200", 114, "ABC", 200},
        {"ABC", 0, "ABC", 0},
        {"241.YANDGR", 241, "YANDGR", 0},
        {"ECCDKPL.370", 0, "ECCDKPL", 370},
        {"  NECFLSHK ", 0, "NECFLSHK", 0},
        {"", 0, "", 0},
        {"12.34", 0, "", 0},
        {"1.2.3.ABC", 0, "", 0},
    };
    for (const ParseCase& c : cases) {
        const DenovoSelectionRecord r = zar::ParseDenovoCandidate(QString::fromLatin1(c.text));
        EXPECT_EQ(r.first, c.leading) << c.text;
        EXPECT_EQ(r.text.toStdString(), c.letters) << c.text;
        EXPECT_EQ(r.second, c.trailing) << c.text;
    }
}

TEST(DenovoSelectionTest, AnOverlongTextKeepsItsFirstLetters) {
    const QString letters(150, QLatin1Char('G'));
    EXPECT_EQ(zar::ParseDenovoCandidate(letters).text.size(), zar::kMaxDenovoSelectionLetters);
    EXPECT_EQ(zar::ParseDenovoCandidate(QStringLiteral("57.") + letters).text.size(),
              zar::kMaxDenovoSelectionLetters);
}

std::map<std::string, DenovoIonLabel> ByText(const std::vector<DenovoIonLabel>& labels) {
    std::map<std::string, DenovoIonLabel> out;
    for (const DenovoIonLabel& l : labels) out[l.text.toStdString()] = l;
    return out;
}

// On the one-dimensional spectra an ion stands at its nominal singly charged mass: a b ion at
// its residues + 1, a y ion at its residues + water + 1, the gaps counting as residues.
TEST(DenovoSelectionTest, IonsOnTheNominalScaleIncludeGapsAndTheProton) {
    const auto labels = ByText(
        zar::DenovoSelectionLabels({100, 50, QStringLiteral("GA")}, DenovoIonScale::Nominal));
    ASSERT_EQ(labels.size(), 4u);
    const std::pair<const char*, double> expected[] = {{"b1", 100 + 57 + 1},
                                                       {"b2", 100 + 57 + 71 + 1},
                                                       {"y2", 50 + 57 + 71 + 19},
                                                       {"y1", 50 + 71 + 19}};
    for (const auto& [text, mz] : expected) {
        const DenovoIonLabel& l = labels.at(text);
        EXPECT_DOUBLE_EQ(l.mz, mz) << text;
        EXPECT_DOUBLE_EQ(l.low, mz - 0.5) << text;
        EXPECT_DOUBLE_EQ(l.high, mz + 0.5) << text;
        EXPECT_EQ(l.colourSet, text[0] == 'b' ? zar::kDenovoBColourSet : zar::kDenovoYColourSet);
    }
}

TEST(DenovoSelectionTest, IonsOnTheMeasuredScaleAreMonoisotopic) {
    // PEPTIDE: b2 (PE) and y1 (E) with monoisotopic residues, water and a proton.
    constexpr double kProton = 1.00727646688, kWater = 18.0105646863;
    constexpr double P = 97.05276, E = 129.04259, T = 101.04768, I = 113.08406, D = 115.02694;
    const auto labels = ByText(zar::DenovoSelectionLabels({0, 0, QStringLiteral("PEPTIDE")},
                                                          DenovoIonScale::Monoisotopic));
    ASSERT_EQ(labels.size(), 14u);
    EXPECT_NEAR(labels.at("b2").mz, P + E + kProton, 0.001);
    EXPECT_NEAR(labels.at("y1").mz, E + kWater + kProton, 0.001);
    EXPECT_NEAR(labels.at("y7").mz, P + E + P + T + I + D + E + kWater + kProton, 0.001);
    // The nominal b7 of the same text: the integer parts of the residues and a proton.
    const auto nominal = ByText(
        zar::DenovoSelectionLabels({0, 0, QStringLiteral("PEPTIDE")}, DenovoIonScale::Nominal));
    EXPECT_DOUBLE_EQ(nominal.at("b7").mz, 97 + 129 + 97 + 101 + 113 + 115 + 129 + 1);
}

TEST(DenovoSelectionTest, AnEmptySelectionMarksNothing) {
    EXPECT_TRUE(zar::DenovoSelectionLabels({}, DenovoIonScale::Nominal).empty());
    EXPECT_TRUE(
        zar::DenovoSelectionLabels({114, 200, QString()}, DenovoIonScale::Monoisotopic).empty());
    // Characters without a residue mass are passed over.
    EXPECT_EQ(
        zar::DenovoSelectionLabels({0, 0, QStringLiteral("G-1A")}, DenovoIonScale::Nominal).size(),
        4u);
}

}  // namespace
