// What the panes compute before handing data to a control: zoom segments, matched peak windows,
// picked peaks, trace points nearest a click, and the scan time behind a delayed trace.

#include "spectrumviews/views/PlotFeeding.h"
#include "spectrumviews/views/UserTraces.h"

#include <gtest/gtest.h>

using namespace zar;
using namespace ZAR_PLOTLib;

namespace {

std::vector<CVXDataPeak> Peaks(std::initializer_list<std::pair<double, double>> list) {
    std::vector<CVXDataPeak> out;
    for (const auto& [mz, intensity] : list) out.push_back({mz, intensity, 0.f, 0});
    return out;
}

VXPlot_PeakInfo Window(double left, double apex, double right) {
    VXPlot_PeakInfo info{};
    info.left.dMass = left;
    info.apex.dMass = apex;
    info.right.dMass = right;
    return info;
}

}  // namespace

TEST(PlotFeedingTest, ZoomWindowSelectsTheFirstOverlappedSegment) {
    const std::vector<CVX_MassRange> segments = {{100, 200}, {200, 400}, {500, 800}};
    struct Case {
        double start, end;
        int expected;
    };
    const Case cases[] = {
        {120, 180, 0},   // inside
        {150, 300, 0},   // straddles the first's high edge: the first wins
        {250, 300, 1},   // inside the second
        {450, 550, 2},   // straddles the third's low edge
        {420, 480, -1},  // between segments: none
        {900, 950, -1},  // beyond all
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseZoomSegment(segments, c.start, c.end), c.expected)
            << c.start << "-" << c.end;
    EXPECT_EQ(PeaksBeforeSegment({3, 4, 5}, 2), 7);
    EXPECT_EQ(PeaksBeforeSegment({3, 4, 5}, 0), 0);
}

TEST(PlotFeedingTest, WindowsTakeTheirMostIntensePeakFirstOfEqual) {
    std::vector<VXPlot_PeakInfo> infos = {Window(99.5, 100.0, 100.5), Window(199.5, 200.0, 200.5),
                                          Window(299.5, 300.0, 300.5)};
    const auto peaks = Peaks({{99.8, 10},
                              {100.1, 30},
                              {100.3, 30},
                              {150, 99},
                              {200.2, 5},
                              {200.6, 1}});  // 200.6 closes the second window
    MatchPeakInfoApexes(infos, peaks);
    EXPECT_DOUBLE_EQ(infos[0].apex.dMass, 100.1);
    EXPECT_DOUBLE_EQ(infos[0].apex.dIntensity, 30);
    EXPECT_DOUBLE_EQ(infos[1].apex.dMass, 200.2);
    EXPECT_DOUBLE_EQ(infos[1].apex.dIntensity, 5);
    // Never reached: keeps its own apex mass with no intensity.
    EXPECT_DOUBLE_EQ(infos[2].apex.dMass, 300.0);
    EXPECT_DOUBLE_EQ(infos[2].apex.dIntensity, 0.0);
}

TEST(PlotFeedingTest, PeakClosingAnEmptyWindowStillMatchesTheNextOne) {
    // Windows of absent ions lie between those of present ones (fragment ions of a peptide).
    std::vector<VXPlot_PeakInfo> infos = {Window(29.5, 30.0, 30.5), Window(57.5, 58.0, 58.5),
                                          Window(114.5, 115.0, 115.5), Window(146.5, 147.0, 147.5)};
    MatchPeakInfoApexes(infos, Peaks({{115.05, 1000}, {147.11, 1200}}));
    EXPECT_DOUBLE_EQ(infos[0].apex.dIntensity, 0.0);
    EXPECT_DOUBLE_EQ(infos[1].apex.dIntensity, 0.0);
    EXPECT_DOUBLE_EQ(infos[2].apex.dMass, 115.05);
    EXPECT_DOUBLE_EQ(infos[2].apex.dIntensity, 1000);
    EXPECT_DOUBLE_EQ(infos[3].apex.dMass, 147.11);
}

TEST(PlotFeedingTest, PickedPeakIsTheMostIntenseOfTheFinalBracket) {
    EXPECT_EQ(PickPeak({}, 100.0), -1);
    EXPECT_EQ(PickPeak(Peaks({{500, 1}}), 100.0), 0);            // one peak: any click
    EXPECT_EQ(PickPeak(Peaks({{500, 1}, {600, 9}}), 100.0), 0);  // below the first of two
    const auto many = Peaks({{100, 5}, {101, 50}, {102, 7}, {110, 1}, {120, 3}, {130, 2}});
    EXPECT_EQ(PickPeak(many, 101.2), 1);
    EXPECT_EQ(PickPeak(many, 102.0), 2);  // exact hit
    // Nothing within 3.0 of the click: still the bracket's most intense peak.
    EXPECT_EQ(PickPeak(many, 115.0), 4);
}

// A profile scan traces each peak's shape: a click picks the apex of the peak under it, not the
// most intense point of the neighbourhood (a neighbour's taller peak, a noise spike).
TEST(PlotFeedingTest, AClickOnAProfilePeakPicksItsApex) {
    CVXSpec profile;
    profile.header.data.bIsCentroid = 0;
    // A taller peak at 996.65 and the clicked peak with its apex at 998.13.
    profile.peaks = Peaks({{996.55, 10}, {996.65, 900}, {996.75, 10}, {997.90, 20}, {998.00, 300},
                           {998.13, 500}, {998.25, 250}, {998.40, 30}, {1001.0, 5}});
    struct Case {
        double click;
        int expected;
    };
    const Case cases[] = {
        {998.13, 5},  // on the apex
        {998.02, 5},  // on its left flank
        {998.35, 5},  // on its right flank
        {996.70, 1},  // on the neighbour
        {1005.0, 5},  // beyond the last point: uphill from it
    };
    for (const Case& c : cases) EXPECT_EQ(PickSpectrumPeak(profile, c.click), c.expected) << c.click;
    EXPECT_EQ(PickSpectrumPeak(CVXSpec(), 998.13), -1);
    // A centroid scan keeps the bracket rule: the most intense peak of the final bracket.
    CVXSpec centroid = profile;
    centroid.header.data.bIsCentroid = 1;
    EXPECT_EQ(PickSpectrumPeak(centroid, 998.13), PickPeak(centroid.peaks, 998.13));
}

TEST(PlotFeedingTest, NearestPointTiesGoToTheEarlierPoint) {
    const auto points = Peaks({{1.0, 0}, {2.0, 0}, {3.0, 0}});
    EXPECT_EQ(NearestPointIndex({}, 1.0), -1);
    EXPECT_EQ(NearestPointIndex(points, 0.2), 0);
    EXPECT_EQ(NearestPointIndex(points, 1.5), 0);
    EXPECT_EQ(NearestPointIndex(points, 1.6), 1);
    EXPECT_EQ(NearestPointIndex(points, 9.0), 2);
}

TEST(PlotFeedingTest, DelayedTraceClickSnapsThenSubtractsTheDelay) {
    CVXChro uv;
    uv.detectorType = kVXUVDevice;
    uv.delay = 0.5;
    uv.points = Peaks({{10.0, 1}, {10.5, 2}, {11.0, 3}});
    EXPECT_DOUBLE_EQ(TraceScanTime(uv, 10.6), 10.0);    // snapped to 10.5, less the delay
    EXPECT_DOUBLE_EQ(TraceMarkerTime(uv, 10.0), 10.5);  // drawn where it was clicked
    CVXChro ms = uv;
    ms.detectorType = kVXMSDevice;
    EXPECT_DOUBLE_EQ(TraceScanTime(ms, 10.6), 10.5);  // the mass spectrometer has no delay
    CVXChro empty;
    EXPECT_DOUBLE_EQ(TraceScanTime(empty, 3.0), -1.0);
}

TEST(PlotFeedingTest, FilterRecordKeepsItsRoom) {
    CVXFilter f;
    f.polarity = CVXFilter::kPositive;
    f.msOrder = 2;
    for (int i = 0; i < 60; ++i) f.massRanges.emplace_back(i, i + 1);
    f.precursors.push_back({445.35, 35.0, true, QStringLiteral("cid")});
    VXPlot_Filter r{};
    FillPlotFilter(f, r);
    EXPECT_EQ(r.ePolarity, 1);
    EXPECT_EQ(r.eMSOrder, 2);
    EXPECT_EQ(r.nNumMassRanges, kMaxFilterMassRanges);
    EXPECT_EQ(r.nNumPrecursorMasses, 1);
    EXPECT_DOUBLE_EQ(r.arrPrecursorMasses[0], 445.35);
    EXPECT_EQ(r.arrPrecursorEnergiesValid[0], 1);
}
