// Bisection and interpolation over ascending peak lists.

#include "ZarmassPeakSearch.h"
#include "ZarmassTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zar;

namespace {

std::vector<PeakRecord> Peaks(std::initializer_list<std::pair<double, double>> points) {
    std::vector<PeakRecord> peaks;
    for (const auto& [m, i] : points) peaks.push_back(PeakRecord{m, i, 0.0f, 0});
    return peaks;
}

}  // namespace

TEST(ZarmassPeakSearch, FindsTheFirstPeakAtOrAboveAndNeverLeavesTheList) {
    const auto peaks = Peaks({{100, 1}, {200, 2}, {300, 3}, {400, 4}});
    struct Case {
        int lo, hi;
        double x;
        int expected;
    } cases[] = {
        {0, 3, 250.0, 2},  {0, 3, 200.0, 1},  {0, 3, 50.0, 0},  {0, 3, 450.0, 3},
        {0, 4, 450.0, 3},  // an upper bound at the count stays inside the list
        {0, 99, 450.0, 3}, {-5, 3, 150.0, 1}, {2, 3, 150.0, 2}, {3, 1, 150.0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindPeakIndex(peaks, c.lo, c.hi, c.x), c.expected)
            << c.lo << ".." << c.hi << " x " << c.x;
    EXPECT_EQ(FindPeakIndex({}, 0, 5, 1.0), -1);
}

TEST(ZarmassPeakSearch, InterpolatesLinearlyAndHoldsTheEnds) {
    const auto peaks = Peaks({{100, 10}, {200, 30}, {300, 20}});
    EXPECT_DOUBLE_EQ(IntensityAt(peaks, 150.0), 20.0);
    EXPECT_DOUBLE_EQ(IntensityAt(peaks, 275.0), 22.5);
    EXPECT_DOUBLE_EQ(IntensityAt(peaks, 200.0), 30.0);
    EXPECT_DOUBLE_EQ(IntensityAt(peaks, 50.0), 10.0);
    EXPECT_DOUBLE_EQ(IntensityAt(peaks, 350.0), 20.0);
    EXPECT_DOUBLE_EQ(IntensityAt({}, 350.0), 0.0);
}

TEST(ZarmassPeakSearch, EqualMzValuesNeverDivideByZero) {
    const auto peaks = zarmasstest::ReadFixtureSpectrum("equal_mz.txt");
    for (double x = 790.0; x <= 1010.0; x += 0.25) {
        const double intensity = IntensityAt(peaks, x);
        EXPECT_TRUE(std::isfinite(intensity)) << x;
        EXPECT_GE(intensity, 0.0) << x;
    }
    // Directly on a shared m/z value the right one of the pair counts.
    EXPECT_TRUE(InterpolateIntensity(peaks, 2, 850.0) == 300.0);
}

TEST(ZarmassPeakSearch, CopyDropsNonFinitePointsAndSorts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto copy =
        CopyAscendingPeaks(Peaks({{300, 3}, {nan, 1}, {100, 1}, {200, 2}, {400, nan}}));
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[0].mass, 100.0);
    EXPECT_EQ(copy[1].mass, 200.0);
    EXPECT_EQ(copy[2].mass, 300.0);
    EXPECT_EQ(BasePeakIndex(copy), 2);
    EXPECT_EQ(BasePeakIndex({}), -1);
}
