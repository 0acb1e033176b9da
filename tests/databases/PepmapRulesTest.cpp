// Cleavage rules from the enzyme table and the sites they give.

#include "PepmapRules.h"
#include "PepmapTestSupport.h"

#include "document/EnzymeTable.h"

#include <gtest/gtest.h>

using namespace zar;
using pepmaptest::DefaultRules;

namespace {

// The residues of each piece between consecutive sites.
QStringList Pieces(const PepmapRule& rule, const QString& sequence) {
    const std::vector<int> sites = FindCleavageSites(rule, sequence);
    QStringList pieces;
    for (size_t j = 0; j + 1 < sites.size(); ++j)
        pieces << sequence.mid(sites[j], sites[j + 1] - sites[j]);
    return pieces;
}

}  // namespace

TEST(PepmapRulesTest, NamedRecordsArePackedFromRuleZero) {
    const std::vector<PepmapRule> rules = DefaultRules();
    ASSERT_EQ(rules.size(), static_cast<size_t>(kPepmapRuleCount));
    // Rule 0 is Trypsin (record 1): K and R, cutting after.
    ASSERT_EQ(rules[0].cleavages.size(), 2u);
    EXPECT_EQ(rules[0].cleavages[0].residue, QChar(u'K'));
    EXPECT_EQ(rules[0].cleavages[1].residue, QChar(u'R'));
    EXPECT_EQ(rules[0].cleavages[0].sense, 1);
    EXPECT_TRUE(rules[0].blockings.empty());
    // Rule 13 is AspN (record 14): D, cutting before.
    ASSERT_EQ(rules[13].cleavages.size(), 1u);
    EXPECT_EQ(rules[13].cleavages[0].sense, 0);
    // Rules past the 16 named records are empty.
    for (int r = 16; r < kPepmapRuleCount; ++r) EXPECT_TRUE(rules[r].cleavages.empty()) << r;
}

TEST(PepmapRulesTest, UnnamedRecordsDoNotTakeARule) {
    EnzymeRecord records[4];
    ParseEnzymeRecord("No_Enzyme 0 - -", records[0]);
    ParseEnzymeRecord("LysC 1 K -", records[1]);
    // records[2] stays empty
    ParseEnzymeRecord("AspN 0 D -", records[3]);
    const std::vector<PepmapRule> rules = BuildPepmapRules(records, 4);
    ASSERT_EQ(rules[0].cleavages.size(), 1u);
    EXPECT_EQ(rules[0].cleavages[0].residue, QChar(u'K'));
    ASSERT_EQ(rules[1].cleavages.size(), 1u);
    EXPECT_EQ(rules[1].cleavages[0].residue, QChar(u'D'));
    EXPECT_TRUE(rules[2].cleavages.empty());
    EXPECT_TRUE(BuildPepmapRules(nullptr, 0)[0].cleavages.empty());
}

TEST(PepmapRulesTest, LongResidueListsKeepEveryResidue) {
    // The texts hold up to 23 residues; every one of them must cut.
    const QString all = "ACDEFGHIKLMNPQRSTVWY";
    const PepmapRule rule = MakePepmapRule(1, all, "-");
    ASSERT_EQ(rule.cleavages.size(), 20u);
    EXPECT_EQ(Pieces(rule, "BYB"), QStringList({"BY", "B"}));  // Y is the 20th residue
    const PepmapRule blocked = MakePepmapRule(1, "K", "ACDEFGHIKLMNPQRSTVWY");
    ASSERT_EQ(blocked.blockings.size(), 20u);
    EXPECT_EQ(Pieces(blocked, "AKYKB"), QStringList({"AKYK", "B"}));
}

struct SiteCase {
    const char* name;
    int sense;
    const char* cleave;
    const char* block;
    const char* sequence;
    QStringList pieces;
};

class PepmapSiteTest : public ::testing::TestWithParam<SiteCase> {};

TEST_P(PepmapSiteTest, CutsIntoExpectedPieces) {
    const SiteCase& c = GetParam();
    const PepmapRule rule = MakePepmapRule(c.sense, c.cleave, c.block);
    EXPECT_EQ(Pieces(rule, c.sequence), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PepmapSiteTest,
    ::testing::Values(
        SiteCase{"TrypsinAfterKR", 1, "KR", "-", "AKARAA", {"AK", "AR", "AA"}},
        SiteCase{"NoCleavageResidue", 1, "KR", "-", "AAAA", {"AAAA"}},
        SiteCase{"LastResidueIsNoSite", 1, "K", "-", "AAK", {"AAK"}},
        SiteCase{"TrypsinKBlockedByFollowingP", 1, "K", "P", "AKPAKA", {"AKPAK", "A"}},
        SiteCase{"AspNFirstResidueIsNoSite", 0, "D", "-", "DAADA", {"DAA", "DA"}},
        // Blocking of an enzyme cutting before its residue looks at the residue before it.
        SiteCase{"BeforeSenseBlockedByResidueBefore", 0, "D", "P", "APDAAD", {"APDAA", "D"}},
        SiteCase{"NoEnzymeText", 1, "-", "-", "AKRA", {"AKRA"}},
        SiteCase{"CaseSensitive", 1, "K", "-", "AkAKA", {"AkAK", "A"}},
        // A stored sense beyond 1 still cuts right after the residue.
        SiteCase{"LargeSenseCutsAfter", 7, "K", "-", "AKAKA", {"AK", "AK", "A"}},
        SiteCase{"NegativeSenseCutsBefore", -3, "K", "-", "AKAKA", {"A", "KA", "KA"}}),
    [](const ::testing::TestParamInfo<SiteCase>& info) { return std::string(info.param.name); });

TEST(PepmapRulesTest, SitesStayIncreasingAndInsideTheSequence) {
    // A rule made by hand with a sense that would put cuts beyond the residues.
    PepmapRule rule;
    rule.cleavages.push_back({3, QChar(u'K')});
    const QString sequence = "AKAAKKK";
    const std::vector<int> sites = FindCleavageSites(rule, sequence);
    ASSERT_GE(sites.size(), 2u);
    EXPECT_EQ(sites.front(), 0);
    EXPECT_EQ(sites.back(), sequence.size());
    for (size_t k = 1; k < sites.size(); ++k) EXPECT_LT(sites[k - 1], sites[k]);
}

TEST(PepmapRulesTest, CleavageTestReportsTheBoundary) {
    const PepmapRule after = MakePepmapRule(1, "K", "-");
    int boundary = -1;
    EXPECT_TRUE(IsCleavageSite(after, "AKA", 1, &boundary));
    EXPECT_EQ(boundary, 2);
    EXPECT_FALSE(IsCleavageSite(after, "AKA", 0, &boundary));
    EXPECT_FALSE(IsCleavageSite(after, "AKA", 5, &boundary));
    EXPECT_FALSE(IsCleavageSite(after, "AKA", -1, &boundary));
    const PepmapRule before = MakePepmapRule(0, "D", "-");
    EXPECT_TRUE(IsCleavageSite(before, "ADA", 1, &boundary));
    EXPECT_EQ(boundary, 1);
}

TEST(PepmapRulesTest, WideCharactersNeverMatchOrBreak) {
    const PepmapRule rule = MakePepmapRule(1, QString(QChar(0x0100)) + "K", "-");
    const QString sequence = QString("A") + QChar(0x0100) + "AK" + QChar(0x4E00) + "A";
    EXPECT_EQ(Pieces(rule, sequence).size(), 3);
}
