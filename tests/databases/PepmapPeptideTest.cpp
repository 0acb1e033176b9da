// Sort orders of the digest list.

#include "PepmapPeptide.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>

using namespace zar;

namespace {

CPepmapPeptide Row(int kind, int first, int last, int start, int end, int scan,
                   int secondStart = 0, int secondEnd = 0) {
    CPepmapPeptide r;
    r.digestKind = static_cast<std::int8_t>(kind);
    r.firstFragment = first;
    r.lastFragment = last;
    r.start = start;
    r.end = end;
    r.matchedScan = scan;
    r.secondStart = secondStart;
    r.secondEnd = secondEnd;
    return r;
}

// A ten-residue protein of pieces 0-4 and 5-9 whose residues weigh what the sort cases need:
// the pieces 600 and 500 (average), 480 and 520 (mono); the span and the pair of both follow.
PepmapPeptideList Rows() {
    PepmapMassTables m = PepmapMassTables::Standard();
    const double avgTerms = m.averageH + m.averageOH;
    const double monoTerms = m.monoH + m.monoOH;
    // Residues: 'V' (0-4, all five alike) and 'W' (5-9).
    m.average['V'] = (600.0 - avgTerms) / 5;
    m.mono['V'] = (480.0 - monoTerms) / 5;
    m.average['W'] = (500.0 - avgTerms) / 5;
    m.mono['W'] = (520.0 - monoTerms) / 5;
    return {{Row(kPepmapCompletePeptide, 2, 0, 5, 9, 7),
             Row(kPepmapIncompletePeptide, 1, 2, 0, 9, 0),
             Row(kPepmapCompletePeptide, 1, 0, 0, 4, 3),
             Row(kPepmapLinkedPeptide, 1, 2, 0, 4, 12, 5, 9)},  // length 4 + 4
            QStringLiteral("VVVVVWWWWW"), m};
}

QStringList Order(const PepmapPeptideList& rows) {
    QStringList labels;
    for (const CPepmapPeptide& r : rows) labels << r.label();
    return labels;
}

struct SortCase {
    const char* name;
    int mode;
    bool descending;
    bool monoisotopic;
    QStringList order;
};

class PepmapSortTest : public ::testing::TestWithParam<SortCase> {};

}  // namespace

TEST_P(PepmapSortTest, OrdersByTheKey) {
    const SortCase& c = GetParam();
    PepmapPeptideList rows = Rows();
    SortPepmapPeptides(rows, c.mode, c.descending, c.monoisotopic);
    EXPECT_EQ(Order(rows), c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Pepmap, PepmapSortTest,
    ::testing::Values(
        // Position: first fragment, last fragment, second start, second end.
        SortCase{"Position", kPepmapSortPosition, false, false, {"1", "1-2", "1.2", "2"}},
        SortCase{"PositionDescending", kPepmapSortPosition, true, false, {"2", "1.2", "1-2", "1"}},
        SortCase{"AverageMass", kPepmapSortMass, false, false, {"2", "1", "1-2", "1.2"}},
        SortCase{"MonoisotopicMass", kPepmapSortMass, false, true, {"1", "2", "1-2", "1.2"}},
        SortCase{"Length", kPepmapSortLength, false, false, {"2", "1", "1.2", "1-2"}},
        SortCase{"ScanDescending", kPepmapSortScan, true, false, {"1.2", "2", "1", "1-2"}},
        SortCase{"UnknownModeKeepsOrder", 9, false, false, {"2", "1-2", "1", "1.2"}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return std::string(info.param.name); });
