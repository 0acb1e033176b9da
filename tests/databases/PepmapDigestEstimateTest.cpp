// The row count of a digest worked out before it runs, and the options that bound it.

#include "PepmapDigest.h"
#include "PepmapOptions.h"
#include "PepmapTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace zar;
using namespace pepmaptest;

namespace {

PepmapDigestInput Input(const QString& sequence, int rule) {
    PepmapDigestInput in;
    in.sequence = sequence;
    in.rule = DefaultRules()[rule];
    return in;
}

long long RowsOf(const PepmapDigestInput& in) {
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    DigestSequence(in, &rows, cancel, progress);
    return static_cast<long long>(rows.size());
}

QString RandomSequence(std::mt19937& random, int length) {
    const char kResidues[] = "ACDEFGHIKLMNPQRSTVWYCKR";
    QString sequence;
    for (int k = 0; k < length; ++k) sequence += QLatin1Char(kResidues[random() % 23]);
    return sequence;
}

}  // namespace

TEST(PepmapDigestEstimateTest, CountsTheRowsTheDigestMakes) {
    std::mt19937 random(11);
    for (int round = 0; round < 120; ++round) {
        PepmapDigestInput in =
            Input(RandomSequence(random, 1 + static_cast<int>(random() % 90)),
                  round % 4 == 0 ? kAspN : kTrypsin);
        PepmapOptions& o = in.options;
        o.completeDigest = round % 5 != 0;
        o.incompleteDigest = round % 3 != 0;
        o.disulfideMode = static_cast<int>(round % 4);
        if (o.disulfideMode == kPepmapSpecificDisulfides && round % 8 < 4) {
            in.markersSet = true;
            in.bondMarkers.assign(static_cast<std::size_t>(in.sequence.size()), 0);
            for (std::size_t k = 0; k < in.bondMarkers.size(); ++k)
                in.bondMarkers[k] = random() % 2;
        }
        if (round % 6 == 1) {
            // Limits away from any peptide's exact mass and length.
            o.limitFragments = 1;
            o.lengthMin = 2.5;
            o.lengthMax = 30.5;
            o.massMin = 300.123;
            o.massMax = 2500.456;
            o.undigestedSitesMax = 2;
        }
        const PepmapDigestEstimate est = EstimatePepmapDigest(in);
        SCOPED_TRACE(in.sequence.toStdString() + " mode " + std::to_string(o.disulfideMode));
        EXPECT_EQ(est.total(), RowsOf(in));
        PepmapDigestInput noLinks = in;
        noLinks.options.disulfideMode = kPepmapNoDisulfides;
        EXPECT_EQ(est.complete + est.incomplete, RowsOf(noLinks));
    }
}

TEST(PepmapDigestEstimateTest, AnUnboundedIncompleteDigestGrowsWithTheSquareOfTheSites) {
    // 4000 trypsin pieces of "GGGK": 4000 pieces and 4000 * 3999 / 2 longer peptides.
    QString sequence;
    for (int k = 0; k < 4000; ++k) sequence += QStringLiteral("GGGK");
    PepmapDigestInput in = Input(sequence, kTrypsin);
    in.options.incompleteDigest = 1;
    const PepmapDigestEstimate est = EstimatePepmapDigest(in);
    EXPECT_EQ(est.complete, 4000);
    EXPECT_EQ(est.incomplete, 4000LL * 3999 / 2);
    EXPECT_GT(est.total(), kPepmapLargeDigestRows);
    // Bounded to two undigested sites: two more peptides per piece, less at the end.
    in.options = WithUndigestedSitesCap(in.options, kPepmapOfferedUndigestedSites);
    const PepmapDigestEstimate capped = EstimatePepmapDigest(in);
    EXPECT_EQ(capped.incomplete, 3999 + 3998);
    EXPECT_EQ(capped.total(), RowsOf(in));
    EXPECT_LT(capped.total(), kPepmapLargeDigestRows);
}

TEST(PepmapDigestEstimateTest, EmptySequenceMakesNothing) {
    EXPECT_EQ(EstimatePepmapDigest(Input(QString(), kTrypsin)).total(), 0);
}

TEST(PepmapOptionsTest, CappingUndigestedSitesKeepsEveryOtherPeptide) {
    PepmapOptions o;  // limits never set
    const PepmapOptions capped = WithUndigestedSitesCap(o, 2);
    EXPECT_EQ(capped.limitFragments, 1);
    EXPECT_EQ(capped.undigestedSitesMax, 2.0);
    EXPECT_EQ(capped.lengthMin, 0.0);
    EXPECT_EQ(capped.lengthMax, kPepmapWideLength);
    EXPECT_EQ(capped.massMax, kPepmapWideMass);
    // The user's own limits stay.
    o.limitFragments = 1;
    o.lengthMin = 5;
    o.lengthMax = 20;
    const PepmapOptions own = WithUndigestedSitesCap(o, 1);
    EXPECT_EQ(own.lengthMin, 5.0);
    EXPECT_EQ(own.lengthMax, 20.0);
    EXPECT_EQ(own.massMax, kPepmapWideMass);  // both 0: no mass limit meant
    EXPECT_EQ(own.undigestedSitesMax, 1.0);
}
