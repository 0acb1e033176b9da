// The digest: pieces, incomplete peptides with their limits, masses, charges, disulfide links.

#include "PepmapDigest.h"
#include "PepmapTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <tuple>

using namespace zar;
using namespace pepmaptest;

namespace {

PepmapDigestInput Input(const QString& sequence, int rule) {
    PepmapDigestInput in;
    in.sequence = sequence;
    in.rule = DefaultRules()[rule];
    return in;
}

PepmapPeptideList Digest(const PepmapDigestInput& in, PepmapDigestStatus* status = nullptr) {
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    const PepmapDigestStatus s = DigestSequence(in, &rows, cancel, progress);
    if (status) *status = s;
    return rows;
}

QStringList Labels(const PepmapPeptideList& rows) {
    QStringList labels;
    for (const CPepmapPeptide& r : rows) labels << r.label();
    return labels;
}

QString Residues(const QString& sequence, const CPepmapPeptide& r) {
    return sequence.mid(r.start, r.end - r.start + 1);
}

struct ExpectedPiece {
    int fragment;
    int start;
    int end;
    const char* residues;
    double mono;
    double average;
    int maxCharge;
};

void ExpectPieces(const QString& sequence, const PepmapPeptideList& rows,
                  const std::vector<ExpectedPiece>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        const CPepmapPeptide& r = rows[k];
        const ExpectedPiece& e = expected[k];
        SCOPED_TRACE(e.residues);
        EXPECT_EQ(r.digestKind, kPepmapCompletePeptide);
        EXPECT_EQ(r.label(), QString::number(e.fragment));
        EXPECT_EQ(r.firstFragment, e.fragment);
        EXPECT_EQ(r.lastFragment, 0);
        EXPECT_EQ(r.start, e.start);
        EXPECT_EQ(r.end, e.end);
        EXPECT_EQ(Residues(sequence, r), QString(e.residues));
        EXPECT_NEAR(rows.monoMass(r), e.mono, 1e-4);
        EXPECT_NEAR(rows.averageMass(r), e.average, 1e-4);
        EXPECT_EQ(r.maxCharge, e.maxCharge);
        EXPECT_EQ(r.serial, static_cast<int>(k) + 1);
    }
}

}  // namespace

TEST(PepmapDigestTest, UbiquitinWithTrypsin) {
    const QString seq = kUbiquitin;
    const PepmapPeptideList rows = Digest(Input(seq, kTrypsin));
    ExpectPieces(seq, rows,
                 {{1, 0, 5, "MQIFVK", 764.4255, 764.9812, 2},
                  {2, 6, 10, "TLTGK", 518.3064, 518.6109, 2},
                  {3, 11, 26, "TITLEVEPSDTIENVK", 1786.9200, 1787.9818, 3},
                  {4, 27, 28, "AK", 217.1426, 217.2682, 2},
                  {5, 29, 32, "IQDK", 502.2751, 502.5681, 2},
                  {6, 33, 41, "EGIPPDQQR", 1038.5094, 1039.1130, 4},
                  {7, 42, 47, "LIFAGK", 647.4006, 647.8155, 2},
                  {8, 48, 53, "QLEDGR", 716.3453, 716.7489, 2},
                  {9, 54, 62, "TLSDYNIQK", 1080.5451, 1081.1906, 2},
                  {10, 63, 71, "ESTLHLVLR", 1066.6135, 1067.2535, 3},
                  {11, 72, 73, "LR", 287.1957, 287.3622, 2},
                  {12, 74, 75, "GG", 132.0535, 132.1191, 1}});
    // M+H as the view shows it: the neutral mass plus a hydrogen atom.
    const double h = PepmapMassTables::Standard().monoH;
    EXPECT_NEAR(rows.monoMass(rows[0]) + h, 765.4333, 0.001);
    EXPECT_NEAR(rows.monoMass(rows[2]) + h, 1787.9278, 0.001);
}

TEST(PepmapDigestTest, UbiquitinWithChymotrypsin) {
    const QString seq = kUbiquitin;
    ExpectPieces(seq, Digest(Input(seq, kChymotrypsin)),
                 {{1, 0, 3, "MQIF", 537.2621, 537.6746, 1},
                  {2, 4, 7, "VKTL", 459.3057, 459.5864, 2},
                  {3, 8, 14, "TGKTITL", 732.4382, 732.8754, 2},
                  {4, 15, 42, "EVEPSDTIENVKAKIQDKEGIPPDQQRL", 3175.6361, 3177.5156, 8},
                  {5, 43, 44, "IF", 278.1630, 278.3513, 1},
                  {6, 45, 49, "AGKQL", 515.3067, 515.6102, 2},
                  {7, 50, 55, "EDGRTL", 689.3344, 689.7233, 2},
                  {8, 56, 58, "SDY", 383.1329, 383.3580, 1},
                  {9, 59, 66, "NIQKESTL", 931.4975, 932.0416, 2},
                  {10, 67, 68, "HL", 268.1535, 268.3158, 2},
                  {11, 69, 70, "VL", 230.1630, 230.3073, 1},
                  {12, 71, 72, "RL", 287.1957, 287.3622, 2},
                  {13, 73, 75, "RGG", 288.1546, 288.3066, 2}});
}

TEST(PepmapDigestTest, UbiquitinWithTrypsinAndOneMissedCleavage) {
    struct Span {
        const char* label;
        const char* residues;
        double mono;
        double average;
        int maxCharge;
    };
    const std::vector<Span> expected = {{"1-2", "MQIFVKTLTGK", 1264.7213, 1265.5768, 3},
                                        {"2-3", "TLTGKTITLEVEPSDTIENVK", 2287.2159, 2288.5774, 4},
                                        {"3-4", "TITLEVEPSDTIENVKAK", 1986.0521, 1987.2347, 4},
                                        {"4-5", "AKIQDK", 701.4072, 701.8210, 3},
                                        {"5-6", "IQDKEGIPPDQQR", 1522.7740, 1523.6658, 5},
                                        {"6-7", "EGIPPDQQRLIFAGK", 1667.8995, 1668.9132, 5},
                                        {"7-8", "LIFAGKQLEDGR", 1345.7354, 1346.5492, 3},
                                        {"8-9", "QLEDGRTLSDYNIQK", 1778.8799, 1779.9243, 3},
                                        {"9-10", "TLSDYNIQKESTLHLVLR", 2129.1481, 2130.4288, 4},
                                        {"10-11", "ESTLHLVLRLR", 1335.7987, 1336.6004, 4},
                                        {"11-12", "LRGG", 401.2387, 401.4660, 2}};
    const QString seq = kUbiquitin;
    PepmapDigestInput in = Input(seq, kTrypsin);
    in.options.completeDigest = 0;
    in.options.incompleteDigest = 1;
    in.options.limitFragments = 1;
    in.options.lengthMax = 100000;
    in.options.massMax = 1000000;
    in.options.undigestedSitesMax = 1;
    const PepmapPeptideList rows = Digest(in);
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(expected[k].label);
        EXPECT_EQ(rows[k].label(), QString(expected[k].label));
        EXPECT_EQ(Residues(seq, rows[k]), QString(expected[k].residues));
        EXPECT_NEAR(rows.monoMass(rows[k]), expected[k].mono, 1e-4);
        EXPECT_NEAR(rows.averageMass(rows[k]), expected[k].average, 1e-4);
        EXPECT_EQ(rows[k].maxCharge, expected[k].maxCharge);
    }
}

TEST(PepmapDigestTest, NoEnzymeGivesTheWholeSequenceAndNoIncompletePeptides) {
    PepmapDigestInput in = Input(kUbiquitin, kUnusedRule);
    in.options.incompleteDigest = 1;
    const PepmapPeptideList rows = Digest(in);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].start, 0);
    EXPECT_EQ(rows[0].end, 75);
    EXPECT_EQ(rows[0].label(), "1");
}

TEST(PepmapDigestTest, ChargesCountProtonSites) {
    PepmapDigestInput in = Input("PEPTIDEK", kUnusedRule);
    EXPECT_EQ(Digest(in)[0].maxCharge, 4);
    in.sequence = "AAA";
    EXPECT_EQ(Digest(in)[0].maxCharge, 1);
}

TEST(PepmapDigestTest, IncompleteDigestSpansConsecutivePieces) {
    // Pieces AAK | CCR | GGK | DD.
    const QString seq = "AAKCCRGGKDD";
    PepmapDigestInput in = Input(seq, kTrypsin);
    in.options.incompleteDigest = 1;
    const PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows),
              QStringList({"1", "2", "3", "4", "1-2", "1-3", "1-4", "2-3", "2-4", "3-4"}));
    const CPepmapPeptide& r = rows[6];  // 1-4
    EXPECT_EQ(r.digestKind, kPepmapIncompletePeptide);
    EXPECT_EQ(r.disulfideKind, 0);
    EXPECT_EQ(r.firstFragment, 1);
    EXPECT_EQ(r.lastFragment, 4);
    EXPECT_EQ(Residues(seq, r), seq);
    EXPECT_EQ(Residues(seq, rows[7]), "CCRGGK");
    // Masses of a span are those of the sequence it covers.
    PepmapDigestInput whole = Input(seq, kUnusedRule);
    const PepmapPeptideList one = Digest(whole);
    EXPECT_DOUBLE_EQ(rows.monoMass(r), one.monoMass(one[0]));
    EXPECT_EQ(rows[7].serial, 8);
}

TEST(PepmapDigestTest, IncompleteOnlyLeavesOutThePieces) {
    PepmapDigestInput in = Input("AAKCCRGGKDD", kTrypsin);
    in.options.completeDigest = 0;
    in.options.incompleteDigest = 1;
    EXPECT_EQ(Labels(Digest(in)), QStringList({"1-2", "1-3", "1-4", "2-3", "2-4", "3-4"}));
}

struct LimitCase {
    const char* name;
    double lengthMin, lengthMax, massMin, massMax, undigestedMin, undigestedMax;
    QStringList labels;
};

class PepmapLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PepmapLimitTest, KeepsPeptidesWithinTheLimits) {
    const LimitCase& c = GetParam();
    // Pieces AAK (3) | CCR (3) | GGK (3) | DD (2); lengths of spans: 1-2 6, 1-3 9, 1-4 11,
    // 2-3 6, 2-4 8, 3-4 5.
    PepmapDigestInput in = Input("AAKCCRGGKDD", kTrypsin);
    in.options.incompleteDigest = 1;
    in.options.limitFragments = 1;
    in.options.lengthMin = c.lengthMin;
    in.options.lengthMax = c.lengthMax;
    in.options.massMin = c.massMin;
    in.options.massMax = c.massMax;
    in.options.undigestedSitesMin = c.undigestedMin;
    in.options.undigestedSitesMax = c.undigestedMax;
    EXPECT_EQ(Labels(Digest(in)), c.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PepmapLimitTest,
    ::testing::Values(
        LimitCase{"Open",
                  0,
                  100000,
                  0,
                  1e6,
                  0,
                  0,
                  {"1", "2", "3", "4", "1-2", "1-3", "1-4", "2-3", "2-4", "3-4"}},
        // Bounds are inclusive: length 3 and 6 are kept.
        LimitCase{"LengthInclusive", 3, 6, 0, 1e6, 0, 0, {"1", "2", "3", "1-2", "2-3", "3-4"}},
        LimitCase{"OneMissedCleavage",
                  0,
                  100000,
                  0,
                  1e6,
                  0,
                  1,
                  {"1", "2", "3", "4", "1-2", "2-3", "3-4"}},
        LimitCase{
            "TwoMissedCleavagesOnly", 0, 100000, 0, 1e6, 2, 2, {"1", "2", "3", "4", "1-3", "2-4"}},
        // Average masses: AAK 288.35, CCR 380.48, GGK 260.29, DD 248.19, 3-4 490.47, the
        // other spans above 600.
        LimitCase{"Mass", 0, 100000, 280, 600, 0, 0, {"1", "2", "3-4"}},
        LimitCase{"NothingFits", 20, 30, 0, 1e6, 0, 0, {}}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(PepmapDigestTest, LimitsNotAppliedWithoutLimitFragments) {
    PepmapDigestInput in = Input("AAKCCRGGKDD", kTrypsin);
    in.options.lengthMin = 50;
    in.options.lengthMax = 60;
    in.options.undigestedSitesMax = 1;
    EXPECT_EQ(Digest(in).size(), 4u);
}

TEST(PepmapDigestTest, BoundedIncompleteDigestEqualsFilteringEveryPeptide) {
    std::mt19937 random(7);
    const QString residues = "ACDEFGHIKLMNPQRSTVWYKR";
    QString seq;
    for (int k = 0; k < 600; ++k)
        seq += residues[std::uniform_int_distribution<int>(0, residues.size() - 1)(random)];
    PepmapDigestInput all = Input(seq, kTrypsin);
    all.options.incompleteDigest = 1;
    const PepmapPeptideList every = Digest(all);
    for (const auto& [lmin, lmax, mmin, mmax, umin, umax] :
         std::vector<std::tuple<double, double, double, double, double, double>>{
             {0, 100000, 0, 1e6, 0, 2},
             {7, 25, 0, 1e6, 0, 0},
             {0, 100000, 800, 2500, 0, 0},
             {5, 40, 600, 3000, 1, 3},
             {12.5, 12.5, 0, 1e6, 0, 0}}) {
        PepmapDigestInput limited = all;
        limited.options.limitFragments = 1;
        limited.options.lengthMin = lmin;
        limited.options.lengthMax = lmax;
        limited.options.massMin = mmin;
        limited.options.massMax = mmax;
        limited.options.undigestedSitesMin = umin;
        limited.options.undigestedSitesMax = umax;
        QStringList expected;
        for (const CPepmapPeptide& r : every) {
            const int length = r.end - r.start + 1;
            const int missed =
                r.digestKind == kPepmapIncompletePeptide ? r.lastFragment - r.firstFragment : 0;
            const bool inLimits =
                lmin <= length && length <= lmax && mmin <= every.averageMass(r) &&
                every.averageMass(r) <= mmax;
            const bool missedOk = r.digestKind == kPepmapCompletePeptide ||
                                  ((umin <= 0 || missed >= umin) && (umax <= 0 || missed <= umax));
            if (inLimits && missedOk) expected << r.label();
        }
        EXPECT_EQ(Labels(Digest(limited)), expected) << lmin << " " << lmax << " " << mmin;
    }
}

TEST(PepmapDigestTest, FragmentNumbersCountDroppedPieces) {
    PepmapDigestInput in = Input("AAKCCRGGKDD", kTrypsin);
    in.options.limitFragments = 1;
    in.options.lengthMin = 0;
    in.options.lengthMax = 100000;
    in.options.massMin = 300;
    in.options.massMax = 1e6;
    const PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows), QStringList({"2"}));  // CCR 380.48; the others are lighter
    EXPECT_EQ(rows[0].serial, 1);
}

TEST(PepmapDigestTest, WideCharactersWeighNothing) {
    PepmapDigestInput in = Input(QString("GG") + QChar(0x0147) + QChar(0x2047), kUnusedRule);
    PepmapDigestInput plain = Input("GG", kUnusedRule);
    const PepmapPeptideList wide = Digest(in);
    const PepmapPeptideList narrow = Digest(plain);
    EXPECT_DOUBLE_EQ(wide.monoMass(wide[0]), narrow.monoMass(narrow[0]));
}

TEST(PepmapDigestTest, ReportsProgressInSteps) {
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    EXPECT_EQ(DigestSequence(Input(kUbiquitin, kTrypsin), &rows, cancel, progress),
              PepmapDigestStatus::kDone);
    EXPECT_EQ(progress.positions, std::vector<int>({0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(progress.statusTexts,
              QStringList({"Performing enzyme digest ...", "Enzyme digest finished"}));
    EXPECT_TRUE(progress.messages.isEmpty());
}

TEST(PepmapDigestTest, EmptySequenceLeavesTheListAlone) {
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows{CPepmapPeptide(), CPepmapPeptide(), CPepmapPeptide()};
    EXPECT_EQ(DigestSequence(Input("", kTrypsin), &rows, cancel, progress),
              PepmapDigestStatus::kEmptySequence);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(progress.messages, QStringList({"Please enter a sequence"}));
}

TEST(PepmapDigestTest, CancelStopsAfterTheSites) {
    RecordingProgress progress;
    PepmapCancelFlag cancel{true};
    PepmapPeptideList rows;
    EXPECT_EQ(DigestSequence(Input(kUbiquitin, kTrypsin), &rows, cancel, progress),
              PepmapDigestStatus::kCancelled);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(progress.positions, std::vector<int>({0, 20}));
    EXPECT_EQ(progress.statusTexts, QStringList({"Performing enzyme digest ..."}));
}

// ---- disulfide links ----

TEST(PepmapDigestTest, PeptideBondedToItself) {
    PepmapDigestInput in = Input("ACCA", kTrypsin);
    in.options.disulfideMode = kPepmapAllDisulfides;
    const PepmapPeptideList rows = Digest(in);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].disulfideKind, kPepmapAllDisulfides);
    const CPepmapPeptide& self = rows[1];
    EXPECT_EQ(self.label(), "1..");
    EXPECT_EQ(self.digestKind, kPepmapLinkedPeptide);
    EXPECT_EQ(self.disulfideKind, kPepmapAllDisulfides);
    const PepmapMassTables m = PepmapMassTables::Standard();
    EXPECT_DOUBLE_EQ(rows.monoMass(self), rows.monoMass(rows[0]) - 2 * m.monoH);
    EXPECT_DOUBLE_EQ(rows.averageMass(self), rows.averageMass(rows[0]) - 2 * m.averageH);
    EXPECT_EQ(self.secondStart, 0);
    EXPECT_EQ(self.secondEnd, 3);
    EXPECT_EQ(self.cysteines, 2);
    EXPECT_EQ(self.serial, rows[0].serial);
}

TEST(PepmapDigestTest, TwoPeptidesLinked) {
    // ACK | DCR | GG: pieces 1 and 2 each hold one cysteine.
    PepmapDigestInput in = Input("ACKDCRGG", kTrypsin);
    in.options.disulfideMode = kPepmapAllDisulfides;
    const PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows), QStringList({"1", "2", "3", "1.2"}));
    const CPepmapPeptide& link = rows[3];
    const PepmapMassTables m = PepmapMassTables::Standard();
    EXPECT_DOUBLE_EQ(rows.monoMass(link),
                     rows.monoMass(rows[0]) + rows.monoMass(rows[1]) - 2 * m.monoH);
    EXPECT_DOUBLE_EQ(rows.averageMass(link),
                     rows.averageMass(rows[0]) + rows.averageMass(rows[1]) - 2 * m.averageH);
    EXPECT_EQ(link.maxCharge, rows[0].maxCharge + rows[1].maxCharge);
    EXPECT_EQ(link.cysteines, 2);
    EXPECT_EQ(link.start, 0);
    EXPECT_EQ(link.end, 2);
    EXPECT_EQ(link.secondStart, 3);
    EXPECT_EQ(link.secondEnd, 5);
    EXPECT_EQ(link.firstFragment, 1);
    EXPECT_EQ(link.lastFragment, 2);
    EXPECT_EQ(link.disulfideKind, kPepmapAllDisulfides);
}

TEST(PepmapDigestTest, ReducedDisulfidesMakeNoLinks) {
    PepmapDigestInput in = Input("ACKDCRGG", kTrypsin);
    in.options.disulfideMode = kPepmapReducedDisulfides;
    const PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows), QStringList({"1", "2", "3"}));
    EXPECT_EQ(rows[0].disulfideKind, kPepmapReducedDisulfides);
}

TEST(PepmapDigestTest, SpecificDisulfidesFollowTheMarkedCysteines) {
    // ACK | DCR | ECK: cysteines at 1, 4 and 7.
    PepmapDigestInput in = Input("ACKDCRECK", kTrypsin);
    in.options.disulfideMode = kPepmapSpecificDisulfides;
    // No markers: no links.
    EXPECT_EQ(Labels(Digest(in)), QStringList({"1", "2", "3"}));
    // Cysteines 1 and 7 bonded: only pieces 1 and 3 are linked.
    in.markersSet = true;
    in.bondMarkers = {0, 1, 0, 0, 0, 0, 0, 1, 0};
    PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows), QStringList({"1", "2", "3", "1.3"}));
    EXPECT_EQ(CountBondedCysteines(in.sequence, in.bondMarkers, rows[0].start, rows[0].end), 1);
    EXPECT_EQ(CountBondedCysteines(in.sequence, in.bondMarkers, rows[1].start, rows[1].end), 0);
    EXPECT_EQ(rows[3].disulfideKind, kPepmapSpecificDisulfides);
    // A single marker bonds nothing.
    in.bondMarkers = {0, 1};
    EXPECT_EQ(Labels(Digest(in)), QStringList({"1", "2", "3"}));
}

TEST(PepmapDigestTest, LinksJoinEveryPairOfSeparatePeptides) {
    // Pieces and incomplete spans with cysteines; linked rows are never paired again, the two
    // peptides of a pair must not overlap, and the one nearer the N-terminus comes first, also
    // when it was made after the other (1-2 with piece 3).
    PepmapDigestInput in = Input("CKCKCK", kTrypsin);
    in.options.incompleteDigest = 1;
    in.options.disulfideMode = kPepmapAllDisulfides;
    const PepmapPeptideList rows = Digest(in);
    EXPECT_EQ(Labels(rows), QStringList({"1", "2", "3", "1-2", "1-3", "2-3", "1.2", "1.3", "1.2-3",
                                         "2.3", "1-2.3", "1-2..", "1-3..", "2-3.."}));
    const CPepmapPeptide& late = rows[10];
    EXPECT_EQ(late.start, 0);
    EXPECT_EQ(late.end, 3);
    EXPECT_EQ(late.secondStart, 4);
    EXPECT_EQ(late.secondEnd, 5);
    EXPECT_EQ(late.serial, rows[3].serial);
    EXPECT_DOUBLE_EQ(rows.monoMass(late),
                     rows.monoMass(rows[3]) + rows.monoMass(rows[2]) - 2 * kHydrogenMono);
}

// ---- the rows against the digest worked out the plain way ----

namespace {

struct PlainRow {
    QString label;
    int start, end, secondStart, secondEnd, serial, kind;
    double average, mono;
    int maxCharge, cysteines;
};

// Pieces from the sites, spans of consecutive pieces, then every allowed pair, with texts and
// masses made from the residues themselves.
std::vector<PlainRow> PlainDigest(const PepmapDigestInput& in) {
    const PepmapMassTables& m = in.masses;
    const std::vector<int> sites = FindCleavageSites(in.rule, in.sequence);
    std::vector<PlainRow> rows;
    const auto add = [&](const QString& label, int kind, int first, int last) {
        PlainRow r{label, sites[first - 1], sites[last] - 1, 0, 0,
                   static_cast<int>(rows.size()) + 1, kind, m.averageH + m.averageOH,
                   m.monoH + m.monoOH, 1, 0};
        for (int k = r.start; k <= r.end; ++k) {
            const QChar c = in.sequence[k];
            r.average += m.residue(c, false);
            r.mono += m.residue(c, true);
            r.maxCharge += QStringLiteral("PHKR").contains(c) ? 1 : 0;
            r.cysteines += c == u'C' ? 1 : 0;
        }
        rows.push_back(r);
    };
    const int n = static_cast<int>(sites.size());
    for (int j = 1; j < n; ++j) add(QString::number(j), kPepmapCompletePeptide, j, j);
    if (in.options.incompleteDigest)
        for (int i = 1; i < n; ++i)
            for (int e = i + 1; e < n; ++e)
                add(QStringLiteral("%1-%2").arg(i).arg(e), kPepmapIncompletePeptide, i, e);
    const std::size_t made = rows.size();
    for (std::size_t a = 0; a < made; ++a) {
        for (std::size_t b = a; b < made; ++b) {
            const bool reversed = a != b && rows[b].end < rows[a].start;
            const PlainRow x = reversed ? rows[b] : rows[a];
            const PlainRow y = reversed ? rows[a] : rows[b];
            if (x.cysteines == 0 || y.cysteines == 0) continue;
            if (a == b ? x.cysteines < 2 : !(x.end < y.start)) continue;
            PlainRow link = x;
            link.kind = kPepmapLinkedPeptide;
            link.secondStart = y.start;
            link.secondEnd = y.end;
            if (a == b) {
                link.label = x.label + "..";
                link.average = x.average - 2 * m.averageH;
                link.mono = x.mono - 2 * m.monoH;
            } else {
                link.label = x.label + "." + y.label;
                link.average = x.average + y.average - 2 * m.averageH;
                link.mono = x.mono + y.mono - 2 * m.monoH;
                link.maxCharge += y.maxCharge;
                link.cysteines += y.cysteines;
            }
            rows.push_back(link);
        }
    }
    return rows;
}

}  // namespace

TEST(PepmapDigestTest, CompactRowsGiveThePeptidesAndMassesOfThePlainDigest) {
    std::mt19937 random(31);
    const char kResidues[] = "ACDEFGHIKLMNPQRSTVWYCK";
    for (int round = 0; round < 60; ++round) {
        QString sequence;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int k = 0; k < length; ++k) sequence += QLatin1Char(kResidues[random() % 22]);
        PepmapDigestInput in = Input(sequence, round % 3 == 0 ? kTrypsinK : kTrypsin);
        in.options.incompleteDigest = round % 2;
        in.options.disulfideMode = kPepmapAllDisulfides;
        const PepmapPeptideList rows = Digest(in);
        const std::vector<PlainRow> expected = PlainDigest(in);
        ASSERT_EQ(rows.size(), expected.size()) << sequence.toStdString();
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const CPepmapPeptide& r = rows[k];
            const PlainRow& e = expected[k];
            SCOPED_TRACE(sequence.toStdString() + " " + e.label.toStdString());
            EXPECT_EQ(r.label(), e.label);
            EXPECT_EQ(r.digestKind, e.kind);
            EXPECT_EQ(std::make_tuple(r.start, r.end, r.secondStart, r.secondEnd, r.serial),
                      std::make_tuple(e.start, e.end, e.secondStart, e.secondEnd, e.serial));
            EXPECT_EQ(rows.averageMass(r), e.average);  // the same sums in the same order
            EXPECT_EQ(rows.monoMass(r), e.mono);
            EXPECT_EQ(r.maxCharge, e.maxCharge);
            EXPECT_EQ(r.cysteines, e.cysteines);
        }
        // No more than 64 bytes a peptide, room included.
        EXPECT_LE(rows.memoryBytes(), 64 * rows.size());
    }
}

TEST(PepmapDigestTest, CountsBeyondSixteenBitsStayAtTheLargest) {
    PepmapDigestInput in = Input(QString(40000, QLatin1Char('K')), kUnusedRule);
    const PepmapPeptideList rows = Digest(in);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].maxCharge, INT16_MAX);
}
