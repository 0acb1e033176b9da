// Growing, scoring, expanding and ranking candidate sequences.

#include "interpretation/DenovoEngine.h"

#include "DenovoSyntheticSpectra.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

using zar::CDenovoEngine;
using zar::DenovoParams;

namespace {

// I and Q have the masses of L and K, which the alphabet lists instead.
std::string AsSequenced(std::string peptide) {
    for (char& c : peptide) {
        if (c == 'I') c = 'L';
        if (c == 'Q') c = 'K';
    }
    return peptide;
}

int RankOf(const CDenovoEngine& engine, const std::string& peptide) {
    const QString wanted = QString::fromLatin1(AsSequenced(peptide));
    for (int i = 0; i < engine.CandidateCount(); ++i)
        if (engine.GetCandidate(i)->sequence == wanted) return i;
    return -1;
}

struct PeptideCase {
    const char* name;
    const char* peptide;
    int charge;
    std::vector<int> ms3OfY;
    std::vector<int> ms3OfB;
    std::vector<int> missingB;
    std::vector<int> missingY;
    int worstRank;  // the true sequence ranks at this place or better
};

TEST(DenovoSequencingTest, TrueSequenceRanksAmongTheTopCandidates) {
    const PeptideCase cases[] = {
        {"MS2 only", "LVNEVTEFAK", 1, {}, {}, {}, {}, 0},
        {"MS2 only, ions missing", "LVNEVTEFAK", 1, {}, {}, {3}, {5}, 0},
        {"doubly charged with MS3", "LVNEVTEFAK", 2, {9, 6, 3}, {9, 5}, {}, {}, 0},
        {"I read as L", "YLYEIAR", 2, {}, {}, {}, {}, 0},
        {"short tryptic", "AEFVEVTK", 1, {}, {}, {}, {}, 0},
        {"Q read as K, MS3 of every y ion",
         "HLVDEPQNLIK",
         2,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {},
         {},
         {},
         0},
        {"proline and histidines", "DRVYIHPFHL", 2, {}, {}, {}, {}, 2},
    };
    for (const PeptideCase& c : cases) {
        zartest::SyntheticOptions o;
        o.charge = c.charge;
        o.ms3OfY = c.ms3OfY;
        o.ms3OfB = c.ms3OfB;
        o.missingB = c.missingB;
        o.missingY = c.missingY;
        CDenovoEngine engine;
        engine.LoadSpectra(zartest::SyntheticScans(c.peptide, o), DenovoParams{});
        ASSERT_GT(engine.FormatSequenceTable(), 0) << c.name;
        const int rank = RankOf(engine, c.peptide);
        EXPECT_GE(rank, 0) << c.name;
        EXPECT_LE(rank, c.worstRank) << c.name;
        if (rank >= 0) {
            const auto* row = engine.GetCandidate(rank);
            // Within the mass difference of K and Q.
            EXPECT_NEAR(row->mh, zartest::SynthMH(c.peptide), 0.05) << c.name;
        }
    }
}

// Fragments of a triply charged precursor stretch far above its m/z, which alone would read as
// doubly charged; the charge the run states gives the right [M+H]+ and the sequence.
TEST(DenovoSequencingTest, TriplyChargedPrecursorIsSequencedByItsStatedCharge) {
    const std::string peptide = "LVNEVTEFAK";
    const double mh = zartest::SynthMH(peptide);
    zartest::SyntheticOptions o;
    o.charge = 3;
    o.chargeStated = true;
    CDenovoEngine stated;
    stated.LoadSpectra(zartest::SyntheticScans(peptide, o), DenovoParams{});
    EXPECT_NEAR(stated.Precursor(0), mh, 1e-6);
    ASSERT_GT(stated.FormatSequenceTable(), 0);
    EXPECT_EQ(RankOf(stated, peptide), 0);

    o.chargeStated = false;
    CDenovoEngine guessed;
    guessed.LoadSpectra(zartest::SyntheticScans(peptide, o), DenovoParams{});
    const double asDoubly =
        2.0 * (mh + 2.0 * CDenovoEngine::kProton) / 3.0 - CDenovoEngine::kProton;
    EXPECT_NEAR(guessed.Precursor(0), asDoubly, 1e-6);
    guessed.FormatSequenceTable();
    EXPECT_LT(RankOf(guessed, peptide), 0);
}

TEST(DenovoSequencingTest, SequenceMassIsWaterAndProtonPlusResidues) {
    CDenovoEngine engine;
    engine.SetResidueTable(zar::DenovoStandardResidues());
    EXPECT_DOUBLE_EQ(engine.GetSequenceMass(""), 19.0183896);
    const auto residues = zar::DenovoStandardResidues();
    const double a = residues[0].mass;
    const double c = residues[4].mass;
    const double g = residues[5].mass;
    EXPECT_DOUBLE_EQ(engine.GetSequenceMass("GG"), 19.0183896 + g + g);
    // Gap digits, points and letters outside the alphabet add nothing.
    EXPECT_DOUBLE_EQ(engine.GetSequenceMass("114.ABC.200"), 19.0183896 + a + c);
}

class DenovoWorkingListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        zartest::SyntheticOptions o;
        o.ms3OfY = {9, 6, 3};
        o.ms3OfB = {9, 5};
        engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
        DenovoParams open;
        open.minimumPrimaryScore = 0.0;
        open.percentOfHighestScore = 0;
        open.maximumCandidates = 4;
        engine.InitParameters(open);
        engine.ClearScores();
        engine.BuildSpectrum(1);
        sum = engine.OneDimensionalSum();
    }
    // Enters a gapless text with primary score s.
    void Add(const std::string& text, double s) { engine.AddCandidate(text, s * sum); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (int i = 0; i < 4 && !engine.WorkingText(i).empty(); ++i)
            out.push_back(engine.WorkingText(i));
        return out;
    }

    CDenovoEngine engine;
    double sum = 0;
};

TEST_F(DenovoWorkingListTest, EqualScoresKeepTheEarlierTextAbove) {
    Add("GGGGG", 0.5);
    Add("AAAAA", 0.5);
    Add("SSSSS", 0.7);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"SSSSS", "GGGGG", "AAAAA"}));
}

TEST_F(DenovoWorkingListTest, ATextFoundAgainWithALowerScoreChangesNothing) {
    Add("GGGGG", 0.5);
    Add("AAAAA", 0.4);
    Add("AAAAA", 0.3);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"GGGGG", "AAAAA"}));
    EXPECT_DOUBLE_EQ(engine.WorkingS0(1), engine.PrimaryScore("AAAAA", 0.4 * sum));
}

TEST_F(DenovoWorkingListTest, ATextFoundAgainRisesAboveAnEqualScoreOnlyWithALargerCS1D) {
    const double good = engine.ScoreOneDimensional("LVNEVTEFAK");
    const double poor = engine.ScoreOneDimensional("GGGGGGGGGG");
    ASSERT_GT(good, poor);
    Add("GGGGGGGGGG", 0.5);
    Add("LVNEVTEFAK", 0.3);
    Add("LVNEVTEFAK", 0.5);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"LVNEVTEFAK", "GGGGGGGGGG"}));

    engine.ClearScores();
    Add("LVNEVTEFAK", 0.5);
    Add("GGGGGGGGGG", 0.3);
    Add("GGGGGGGGGG", 0.5);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"LVNEVTEFAK", "GGGGGGGGGG"}));
}

TEST_F(DenovoWorkingListTest, TheListHoldsTheMaximumCandidates) {
    const double scores[] = {0.2, 0.6, 0.4, 0.9, 0.1, 0.5};
    const char* texts[] = {"GA", "GS", "GT", "GV", "GD", "GE"};
    for (int k = 0; k < 6; ++k) Add(texts[k], scores[k]);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"GV", "GS", "GE", "GT"}));
    // Below the last entry nothing enters.
    Add("GW", 0.3);
    EXPECT_EQ(Texts().back(), "GT");

    DenovoParams one = engine.Parameters();
    one.maximumCandidates = 1;
    engine.InitParameters(one);
    engine.ClearScores();
    Add("GA", 0.2);
    Add("GS", 0.6);
    Add("GT", 0.4);
    EXPECT_EQ(engine.WorkingText(0), "GS");
    EXPECT_TRUE(engine.WorkingText(1).empty());
}

TEST_F(DenovoWorkingListTest, MinimumAndPercentKeepWeakTextsOut) {
    DenovoParams p = engine.Parameters();
    p.minimumPrimaryScore = 0.3;
    p.percentOfHighestScore = 50;
    engine.InitParameters(p);
    Add("GA", 0.2);  // below the minimum
    Add("GS", 0.8);
    Add("GT", 0.35);  // below half the best
    Add("GV", 0.45);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"GS", "GV"}));
}

TEST_F(DenovoWorkingListTest, NoScoreAboveTheMinimumGivesAnEmptyTable) {
    DenovoParams p = engine.Parameters();
    p.minimumPrimaryScore = 0.1;
    engine.InitParameters(p);
    engine.ClearScores();
    EXPECT_EQ(engine.FormatSequenceTable(), 0);
    EXPECT_EQ(engine.GetCandidate(0), nullptr);
}

TEST(DenovoSequencingTest, RankingIsTheSameOnEveryRun) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.ms3OfY = {9, 6, 3};
    o.noisePoints = 200;
    o.noiseIntensity = 500.0;
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    DenovoParams p;
    p.maximumCandidates = 64;
    p.percentOfHighestScore = 10;
    CDenovoEngine a;
    CDenovoEngine b;
    a.LoadSpectra(scans, p);
    b.LoadSpectra(scans, p);
    const int count = a.FormatSequenceTable();
    ASSERT_EQ(b.FormatSequenceTable(), count);
    ASSERT_EQ(a.FormatSequenceTable(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(a.GetCandidate(i)->sequence, b.GetCandidate(i)->sequence) << i;
        EXPECT_DOUBLE_EQ(a.GetCandidate(i)->s0, b.GetCandidate(i)->s0) << i;
        EXPECT_DOUBLE_EQ(a.GetCandidate(i)->cs2d, b.GetCandidate(i)->cs2d) << i;
    }
    // Rows come in descending total.
    const auto total = [](const zar::DenovoCandidate* c) {
        return 10.0 * c->s0 + 0.1f * c->cs2d + 0.01f * c->csMS2 + c->cs1d;
    };
    for (int i = 1; i < count; ++i)
        EXPECT_GE(total(a.GetCandidate(i - 1)), total(a.GetCandidate(i))) << i;
}

TEST(DenovoSequencingTest, TableHoldsAtMostTheMaximumCandidates) {
    for (int maximum : {1, 3, 16, 40}) {
        DenovoParams p;
        p.maximumCandidates = maximum;
        p.percentOfHighestScore = 0;
        CDenovoEngine engine;
        engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK"), p);
        const int count = engine.FormatSequenceTable();
        EXPECT_GE(count, 1) << maximum;
        EXPECT_LE(count, maximum) << maximum;
    }
}

TEST(DenovoSequencingTest, ShortSpectrumGrowsNothing) {
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("AS"), DenovoParams{});
    EXPECT_LT(engine.MassRangeEnd() + 1, 191);
    EXPECT_EQ(engine.FormatSequenceTable(), 0);
}

TEST(DenovoSequencingTest, CandidateTextsStopAtTheirLimit) {
    zartest::SyntheticOptions o;
    o.noisePoints = 0;
    const std::string longPeptide(90, 'G');
    CDenovoEngine engine;
    DenovoParams p;
    p.maximumCandidates = 512;
    p.percentOfHighestScore = 0;
    engine.LoadSpectra(zartest::SyntheticScans(longPeptide, o), p);
    ASSERT_FALSE(engine.WorkingText(0).empty());
    for (int i = 0; i < CDenovoEngine::kMaxCandidates; ++i)
        EXPECT_LE(engine.WorkingText(i).size(),
                  static_cast<size_t>(CDenovoEngine::kMaxSequenceLength));
    EXPECT_GT(engine.FormatSequenceTable(), 0);
}

TEST(DenovoSequencingTest, GapFillersAreResidueStringsOfTheGapMass) {
    CDenovoEngine engine;
    engine.SetResidueTable(zar::DenovoStandardResidues());
    EXPECT_EQ(engine.EnumerateGapFillers(114), (std::vector<std::string>{"GG"}));
    EXPECT_EQ(engine.EnumerateGapFillers(128), (std::vector<std::string>{"AG", "GA"}));
    EXPECT_EQ(engine.EnumerateGapFillers(171), (std::vector<std::string>{"NG", "GN", "GGG"}));
    EXPECT_TRUE(engine.EnumerateGapFillers(0).empty());
    EXPECT_TRUE(engine.EnumerateGapFillers(100).empty());

    // The largest expanded gap: six-letter fillers exist, and the count is capped.
    const auto fillers = engine.EnumerateGapFillers(CDenovoEngine::kMaxExpandableGap);
    EXPECT_LE(fillers.size(), static_cast<size_t>(CDenovoEngine::kMaxGapFillers));
    ASSERT_FALSE(fillers.empty());
    size_t longest = 0;
    for (const std::string& f : fillers) {
        EXPECT_GE(f.size(), 2u);
        longest = std::max(longest, f.size());
        int mass = 0;
        for (char c : f)
            for (const auto& r : engine.ResidueTable())
                if (r.letter == c) mass += r.nominal;
        EXPECT_EQ(mass, CDenovoEngine::kMaxExpandableGap) << f;
    }
    EXPECT_GE(longest, 6u);
}

// MS3 scans of y8, y6, y4 and y2 leave the first two residues as a gap; the expansion fills it.
TEST(DenovoSequencingTest, ExpansionFillsGapsWithResidues) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {8, 6, 4, 2};
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    DenovoParams p;
    CDenovoEngine plain;
    plain.LoadSpectra(scans, p);
    plain.FormatSequenceTable();
    EXPECT_EQ(RankOf(plain, "LVNEVTEFAK"), -1);

    p.expandPartialSequences = 1;
    p.maximumPartialSequences = 32;
    CDenovoEngine expanded;
    expanded.LoadSpectra(scans, p);
    const int count = expanded.FormatSequenceTable();
    const int rank = RankOf(expanded, "LVNEVTEFAK");
    EXPECT_GE(rank, 0);
    EXPECT_LE(rank, 2);
    EXPECT_LE(count, 32);
    for (int i = 32; i < CDenovoEngine::kMaxCandidates; ++i) EXPECT_EQ(expanded.WorkingS0(i), 0.0);
}

TEST(DenovoSequencingTest, WorkBudgetBoundsTheGrowth) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.noisePoints = 2000;
    o.noiseIntensity = 1000.0;
    const auto scans = zartest::SyntheticScans("HLVDEPQNLIKHLVDEPQNLIK", o);
    CDenovoEngine engine;
    engine.SetWorkBudget(1000);
    engine.LoadSpectra(scans, DenovoParams{});
    // At most the budget per one-dimensional spectrum (types 1-5 and 7).
    EXPECT_LE(engine.WorkDone(), 6 * 1000);
    EXPECT_GT(engine.FormatSequenceTable(), 0);

    // On a typical spectrum the bound changes nothing.
    const auto typical = zartest::SyntheticScans("LVNEVTEFAK");
    CDenovoEngine bounded;
    CDenovoEngine unbounded;
    unbounded.SetWorkBudget(0);
    bounded.LoadSpectra(typical, DenovoParams{});
    unbounded.LoadSpectra(typical, DenovoParams{});
    const int count = bounded.FormatSequenceTable();
    ASSERT_EQ(unbounded.FormatSequenceTable(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(bounded.GetCandidate(i)->sequence, unbounded.GetCandidate(i)->sequence);
}

}  // namespace

namespace {

// Ladder positions and their mirrors that fall outside the spectrum are skipped, whatever the
// text claims.
TEST(DenovoSequencingTest, ScoresOfTextsReachingPastThePrecursorStayInside) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    ASSERT_EQ(engine.MassRangeEnd(), 1149);
    const std::string texts[] = {"1140.GGGG.900",
                                 "5000.WWWW",
                                 std::string(40, 'W'),
                                 "SSSSTTTTDDDDEEEENNNN.3000",
                                 "P",
                                 "0.P.0",
                                 "99999999999999.G.88888888888888"};
    for (const std::string& text : texts) {
        const double ms2 = engine.ScoreMS2(text);
        const double oneD = engine.ScoreOneDimensional(text);
        const double twoD = engine.ScoreTwoDimensional(text);
        EXPECT_TRUE(std::isfinite(ms2) && std::isfinite(oneD) && std::isfinite(twoD)) << text;
    }
}

}  // namespace
