// Peptide-map labels on the trace: one per matched scan, every group kept, "..." once.

#include "spectrumviews/views/PeptideLabels.h"

#include <gtest/gtest.h>

using namespace zar;

namespace {

// A complete peptide of one piece, or (last above 0) an incomplete one of several.
CPepmapPeptide Peptide(int first, int last, int scan, double time = 1.0) {
    CPepmapPeptide p;
    p.digestKind = last > 0 ? kPepmapIncompletePeptide : kPepmapCompletePeptide;
    p.firstFragment = first;
    p.lastFragment = last;
    p.matchedScan = scan;
    p.matchedTime = time;
    p.matchedIntensity = 100.0;
    return p;
}

}  // namespace

TEST(PeptideLabelsTest, GroupsByScanKeepsTheLastGroupAndCutsOnce) {
    const PepmapPeptideList list = {
        Peptide(1, 0, 0),  // unmatched
        Peptide(2, 0, 10, 2.5), Peptide(3, 0, 10),      Peptide(14, 15, 10),
        Peptide(16, 17, 10),    Peptide(18, 0, 10),     Peptide(19, 0, 10),
        Peptide(4, 0, 12, 3.0), Peptide(5, 0, 20, 4.0), Peptide(6, 0, 20)};
    const std::vector<PeptideLabel> labels = GroupPeptideLabels(list);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].text, QStringLiteral("#2,3,14-15..."));
    EXPECT_DOUBLE_EQ(labels[0].time, 2.5);
    EXPECT_EQ(labels[1].text, QStringLiteral("#4"));
    EXPECT_EQ(labels[2].text, QStringLiteral("#5,6"));  // the last group is not dropped
    EXPECT_DOUBLE_EQ(labels[2].time, 4.0);
    EXPECT_TRUE(GroupPeptideLabels({}).empty());
}
