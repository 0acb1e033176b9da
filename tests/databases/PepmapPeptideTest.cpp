// Sort orders of the digest list.

#include "PepmapPeptide.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace zar;

namespace {

CPepmapPeptide Row(const char* label, int first, int last, int start, int end, double avg,
                   double mono, int scan, int secondStart = 0, int secondEnd = 0) {
    CPepmapPeptide r;
    r.label = label;
    r.firstFragment = first;
    r.lastFragment = last;
    r.start = start;
    r.end = end;
    r.averageMass = avg;
    r.monoMass = mono;
    r.matchedScan = scan;
    r.secondStart = secondStart;
    r.secondEnd = secondEnd;
    return r;
}

PepmapPeptideList Rows() {
    return {
        Row("2", 2, 0, 5, 9, 500.0, 520.0, 7), Row("1-2", 1, 2, 0, 9, 900.0, 899.0, 0),
        Row("1", 1, 0, 0, 4, 600.0, 480.0, 3),
        Row("1.2", 1, 2, 0, 4, 1000.0, 998.0, 12, 5, 9),  // length 4 + 4
    };
}

QStringList Order(const PepmapPeptideList& rows) {
    QStringList labels;
    for (const CPepmapPeptide& r : rows) labels << r.label;
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
