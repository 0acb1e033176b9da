#include "document/AminoAcidMasses.h"
#include "document/ChildProcess.h"
#include "document/IndexSort.h"
#include "document/PtrBlockArray.h"
#include "document/TextHelpers.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace zar;

TEST(AminoAcidMassesTest, FillsUpperAndLowerCaseForTheMassType) {
    ResidueMassTable t = ZeroResidueMasses();
    double hydroxyl = 0, hydrogen = 0;
    InitAminoAcidMasses(t, true, &hydroxyl, &hydrogen);
    EXPECT_DOUBLE_EQ(t['A'], 71.0371136);
    EXPECT_DOUBLE_EQ(t['a'], 71.0371136);
    EXPECT_DOUBLE_EQ(t['W'], 186.0793126);
    EXPECT_DOUBLE_EQ(t['J'], 0.0);
    EXPECT_DOUBLE_EQ(t['U'], 0.0);
    EXPECT_DOUBLE_EQ(t['1'], 0.0);
    EXPECT_DOUBLE_EQ(hydrogen, 1.007825);
    EXPECT_DOUBLE_EQ(hydroxyl, 1.007825 + 15.9949146);

    InitAminoAcidMasses(t, false, &hydroxyl, &hydrogen);
    EXPECT_DOUBLE_EQ(t['c'], 103.1388);
    EXPECT_DOUBLE_EQ(t['Z'], 128.6231);
    EXPECT_DOUBLE_EQ(hydrogen, 1.00794);
    EXPECT_DOUBLE_EQ(hydroxyl, 1.00794 + 15.9994);
}

TEST(AminoAcidMassesTest, LeavesOtherEntriesAsTheyWere) {
    ResidueMassTable t = ZeroResidueMasses();
    t['J'] = 42.0;
    t['*'] = 16.0;
    InitAminoAcidMasses(t, true);
    EXPECT_DOUBLE_EQ(t['J'], 42.0);
    EXPECT_DOUBLE_EQ(t['*'], 16.0);
}

TEST(TextHelpersTest, RoundTo001) {
    struct Case {
        double in, out;
    } cases[] = {{1.234, 1.23}, {1.235001, 1.24}, {-1.235001, -1.24}, {-1.234, -1.23},
                 {0.0, 0.0},    {2.5, 2.5},       {-0.004, 0.0}};
    for (const Case& c : cases) EXPECT_NEAR(RoundTo001(c.in), c.out, 1e-12) << c.in;
}

TEST(TextHelpersTest, PathHelpers) {
    EXPECT_EQ(GetFileNamePart("C:\\data/run\\x.out"), "x.out");
    EXPECT_EQ(GetFileNamePart("C:/data\\run/y.out"), "y.out");
    EXPECT_EQ(GetFileNamePart("plain"), "plain");
    EXPECT_EQ(StripAtDot("run.1.2.3.out"), "run");
    EXPECT_EQ(StripAtDot("nodot"), "nodot");
    EXPECT_EQ(GetTextAfterDot("run.  12.13.2"), "12.13.2");
    EXPECT_EQ(GetTextAfterDot("nodot"), "");

    QString p = "C:\\data\\run.raw";
    EXPECT_TRUE(StripLastPathComponent(p));
    EXPECT_EQ(p, "C:\\data");
    QString bare = "file.out";
    EXPECT_FALSE(StripLastPathComponent(bare));
    EXPECT_EQ(bare, "file.out");
    QString root = "/file";
    EXPECT_FALSE(StripLastPathComponent(root));
}

TEST(TextHelpersTest, ExtractPeptideSequence) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"K.PEPTIDE.R", "PEPTIDE"}, {"K.PEPT*IDEM#.R", "PEPTIDEM"}, {"-.MPEPTIDE.-", "MPEPTIDE"},
        {"PEPTIDE", "PEPTIDE"},     {"PEP*TIDE", "PEP*TIDE"},       {"", ""},
        {"K.PEPTIDE", "PEPTIDE"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractPeptideSequence(c.in), c.out) << c.in;
    // Each call returns its own text: an earlier result is not overwritten.
    const QString first = ExtractPeptideSequence("K.AAA.R");
    const QString second = ExtractPeptideSequence("K.CCC.R");
    EXPECT_EQ(first, "AAA");
    EXPECT_EQ(second, "CCC");
}

TEST(TextHelpersTest, StrUpper) {
    std::string s = "abc-Def1";
    StrUpper(s);
    EXPECT_EQ(s, "ABC-DEF1");
}

TEST(ChildProcessTest, StartsAndWaits) {
    EXPECT_TRUE(RunProcessAndWait("/bin/true", false, true));
    EXPECT_FALSE(RunProcessAndWait("/nonexistent/program", false, true));
    EXPECT_FALSE(StartProcess("", false));
    EXPECT_TRUE(StartProcess("/bin/true", true));
}

TEST(IndexSortTest, AscendingAndDescendingPermutations) {
    std::mt19937 rng(7);
    for (int n : {0, 1, 2, 6, 7, 50, 1000}) {
        std::vector<double> v(n + 1);
        for (int i = 1; i <= n; ++i) v[i] = static_cast<double>(rng() % 20);  // many ties
        std::vector<int> idx(n + 1);
        ASSERT_TRUE(CIndexSort::Sort(n, v.data(), idx.data()));
        std::vector<int> seen(idx.begin() + 1, idx.end());
        std::sort(seen.begin(), seen.end());
        for (int i = 0; i < n; ++i) ASSERT_EQ(seen[i], i + 1);
        for (int j = 2; j <= n; ++j) ASSERT_LE(v[idx[j - 1]], v[idx[j]]);
        ASSERT_TRUE(CIndexSort::SortDescending(n, v.data(), idx.data()));
        for (int j = 2; j <= n; ++j) ASSERT_GE(v[idx[j - 1]], v[idx[j]]);
    }
    std::vector<int> iv = {0, 5, 3, 9, 1};
    std::vector<int> idx(5);
    ASSERT_TRUE(CIndexSort::Sort(4, iv.data(), idx.data()));
    EXPECT_EQ((std::vector<int>{idx[1], idx[2], idx[3], idx[4]}), (std::vector<int>{4, 2, 1, 3}));
}

TEST(PtrBlockArrayTest, CapacityGrowsInBlocksOfFive) {
    int count = -1;
    CPtrBlockArray<double> a(&count);
    a.SetSize(0);
    EXPECT_EQ(a.capacity(), 5);
    a.SetSize(4);
    EXPECT_EQ(a.capacity(), 5);
    a.SetSize(5);
    EXPECT_EQ(a.capacity(), 10);
    EXPECT_EQ(count, 5);
}

TEST(PtrBlockArrayTest, ShrinkDeletesAndGrowKeepsElements) {
    CPtrBlockArray<std::string> a;
    a.SetSize(7);
    for (int i = 0; i < 7; ++i) *a.GetOrCreate(i) = std::to_string(i);
    std::string* kept = a.At(1);
    a.SetSize(2);
    EXPECT_EQ(a.capacity(), 5);
    EXPECT_EQ(a.size(), 2);
    EXPECT_EQ(a.At(1), kept);
    EXPECT_EQ(a.At(2), nullptr);
    a.SetSize(12);
    EXPECT_EQ(a.capacity(), 15);
    EXPECT_EQ(a.At(1), kept);
    EXPECT_EQ(a.At(11), nullptr);
    EXPECT_EQ(a.GetOrCreate(15), nullptr);  // outside the capacity
    EXPECT_EQ(a.GetOrCreate(-1), nullptr);
    EXPECT_NE(a.GetOrCreate(14), nullptr);
}
