// Matching the digest against the spectra of a run.

#include "PepmapMatcher.h"
#include "PepmapTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zar;
using namespace pepmaptest;

namespace {

constexpr double kMonoH = 1.007825;

// The walk over the peaks from the top as the matching was first described, with the first
// peak tested before the walk ends: the reference the binary search must agree with.
double WalkSum(const std::vector<PepmapPeak>& peaks, double mass, int maxCharge, double proton,
               double floor) {
    if (peaks.empty()) return 0.0;
    double sum = 0.0;
    long p = static_cast<long>(peaks.size()) - 1;
    for (int z = 1; z <= maxCharge; ++z) {
        const double mz = (z * proton + mass) / z;
        const double low = mz - kPepmapMatchTolerance, high = mz + kPepmapMatchTolerance;
        long k = p;
        for (; k >= 0; --k) {
            if (peaks[k].mz < low) break;
            if (peaks[k].mz <= high && peaks[k].intensity > floor) sum += peaks[k].intensity;
        }
        if (k < 0) return sum;  // walked past the first peak
        p = k;
    }
    return sum;
}

double Sum(const std::vector<PepmapPeak>& peaks, double mass, int maxCharge, double floor = 0.0) {
    return SumMatchedIntensity(peaks.data(), peaks.size(), mass, maxCharge, kMonoH, floor);
}

// Peptides of the given neutral masses (both kinds) and highest charges: one residue each, of a
// protein whose letters weigh what the peptides must.
PepmapPeptideList Rows(const std::vector<std::pair<double, int>>& peptides) {
    PepmapMassTables masses = PepmapMassTables::Standard();
    PepmapPeptideList rows;
    QString protein;
    for (std::size_t k = 0; k < peptides.size(); ++k) {
        const char letter = static_cast<char>('A' + k);
        protein += QLatin1Char(letter);
        masses.mono[letter] = peptides[k].first - masses.monoH - masses.monoOH;
        masses.average[letter] = peptides[k].first - masses.averageH - masses.averageOH;
        CPepmapPeptide r;
        r.digestKind = kPepmapCompletePeptide;
        r.start = r.end = static_cast<int>(k);
        r.firstFragment = static_cast<int>(k) + 1;
        r.maxCharge = static_cast<std::int16_t>(peptides[k].second);
        rows.push_back(r);
    }
    rows.setProtein(protein, masses);
    return rows;
}

PepmapMatchSettings Settings(int first, int last) {
    PepmapMatchSettings s;
    s.firstScan = first;
    s.lastScan = last;
    s.monoisotopic = true;
    s.proton = kMonoH;
    s.tic = 0.0;
    return s;
}

// A run of scans 1..count at one scan per 0.1 min with a little noise; peptides are put in
// at charges 1 and 2 in the scans given.
struct RunBuilder {
    explicit RunBuilder(int count) : scans(count) {
        for (int s = 0; s < count; ++s) {
            scans[s].retentionTime = 0.1 * (s + 1);
            scans[s].peaks = {{300.0, 10.0}, {1500.0, 10.0}};
        }
    }
    void put(double mass, int firstScan, int lastScan, double intensity) {
        for (int s = firstScan; s <= lastScan; ++s) {
            scans[s - 1].peaks.push_back({MzOf(mass, 1, kMonoH), intensity * s});
            scans[s - 1].peaks.push_back({MzOf(mass, 2, kMonoH), intensity});
        }
    }
    PepmapScanList source() const { return PepmapScanList(1, scans); }
    std::vector<PepmapScan> scans;
};

// A source that fails or cancels at a given scan.
class FaultySource : public PepmapScanList {
  public:
    FaultySource(PepmapScanList inner, int failAt, PepmapCancelFlag* cancelAt = nullptr)
        : PepmapScanList(std::move(inner)), failAt_(failAt), cancel_(cancelAt) {}
    bool readScan(int scan, PepmapScan* out) override {
        if (scan == failAt_) {
            if (!cancel_) return false;
            *cancel_ = true;
        }
        return PepmapScanList::readScan(scan, out);
    }

  private:
    int failAt_;
    PepmapCancelFlag* cancel_;
};

}  // namespace

TEST(PepmapMatcherTest, SumsEveryChargeWindow) {
    // Mass 1000, charge 2: m/z 1001.007825 and 501.007825, each +- 0.5.
    const std::vector<PepmapPeak> peaks = {{400.0, 1.0},   {500.6, 2.0},   {501.4, 4.0},
                                           {501.6, 8.0},   {700.0, 16.0},  {1000.6, 32.0},
                                           {1001.2, 64.0}, {1001.6, 128.0}};
    EXPECT_DOUBLE_EQ(Sum(peaks, 1000.0, 2), 2.0 + 4.0 + 32.0 + 64.0);
    EXPECT_DOUBLE_EQ(Sum(peaks, 1000.0, 1), 32.0 + 64.0);
    EXPECT_DOUBLE_EQ(Sum(peaks, 1000.0, 0), 0.0);
}

TEST(PepmapMatcherTest, FloorKeepsWeakPeaksOut) {
    const std::vector<PepmapPeak> peaks = {{1001.0, 5000.0}, {1001.1, 5000.1}};
    EXPECT_DOUBLE_EQ(Sum(peaks, 1000.0, 1, 5000.0), 5000.1);
}

TEST(PepmapMatcherTest, FirstPeakIsTested) {
    EXPECT_DOUBLE_EQ(Sum({{501.0, 7.0}}, 1000.0, 2), 7.0);
    EXPECT_DOUBLE_EQ(Sum({{1001.0, 5.0}}, 1000.0, 1), 5.0);
    EXPECT_DOUBLE_EQ(Sum({{501.0, 7.0}, {1001.0, 5.0}}, 1000.0, 2), 12.0);
    EXPECT_DOUBLE_EQ(Sum({}, 1000.0, 2), 0.0);
    EXPECT_DOUBLE_EQ(SumMatchedIntensity(nullptr, 4, 1000.0, 2, kMonoH, 0.0), 0.0);
}

TEST(PepmapMatcherTest, OverlappingWindowsCountAPeakOnce) {
    // Mass 0.5: z=1 at 1.51, z=2 at 1.26; a peak at 1.4 lies in both.
    EXPECT_DOUBLE_EQ(Sum({{1.4, 3.0}}, 0.5, 2), 3.0);
}

TEST(PepmapMatcherTest, BinarySearchAgreesWithTheWalk) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> mz(100.0, 2000.0);
    std::uniform_real_distribution<double> intensity(0.0, 100.0);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<PepmapPeak> peaks(trial % 50);
        for (PepmapPeak& p : peaks) p = {mz(random), intensity(random)};
        std::sort(peaks.begin(), peaks.end(),
                  [](const PepmapPeak& a, const PepmapPeak& b) { return a.mz < b.mz; });
        const double mass = std::uniform_real_distribution<double>(50.0, 4000.0)(random);
        const int charge = 1 + trial % 6;
        const double floor = trial % 3 == 0 ? 50.0 : 0.0;
        EXPECT_DOUBLE_EQ(Sum(peaks, mass, charge, floor),
                         WalkSum(peaks, mass, charge, kMonoH, floor))
            << trial;
    }
}

TEST(PepmapMatcherTest, PeptideInFiveScansIsMatchedAndInTwoIsNot) {
    const double present = 1786.92, brief = 1038.51, absent = 764.43;
    RunBuilder run(30);
    run.put(present, 10, 14, 1000.0);
    run.put(brief, 20, 21, 1000.0);
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{present, 3}, {brief, 4}, {absent, 2}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 100), cancel, progress),
              PepmapMatchStatus::kDone);
    // The strongest scan is the last one (intensity grows with the scan number).
    EXPECT_EQ(rows[0].matchedScan, 14);
    EXPECT_DOUBLE_EQ(rows[0].matchedIntensity, 1000.0 * 14 + 1000.0);
    EXPECT_DOUBLE_EQ(rows[0].matchedTime, 1.4);
    EXPECT_EQ(rows[1].matchedScan, 0);
    EXPECT_DOUBLE_EQ(rows[1].matchedIntensity, 0.0);
    EXPECT_EQ(rows[2].matchedScan, 0);
    EXPECT_EQ(progress.statusTexts, QStringList({"Performing pepmap ...", "Pepmap finished"}));
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_TRUE(progress.messages.isEmpty());
}

TEST(PepmapMatcherTest, ScanWidthCountsConsecutiveScans) {
    const double mass = 1200.0;
    RunBuilder run(30);
    run.put(mass, 5, 6, 1000.0);
    run.put(mass, 8, 9, 1000.0);  // a gap at 7 breaks the run
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{mass, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    RunPepmapMatching("SEQ", rows, source, Settings(1, 30), cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 0);
    PepmapMatchSettings two = Settings(1, 30);
    two.scanWidth = 2;
    RunPepmapMatching("SEQ", rows, source, two, cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 9);
}

TEST(PepmapMatcherTest, MsMsScansNeitherMatchNorBreakARun) {
    // Full scans 4, 7 and 10 hold the peptide; the MS/MS scans between them hold none of it
    // (scan 8 even holds its m/z, as a fragment might). Three consecutive full scans match.
    const double mass = 1200.0;
    RunBuilder run(12);
    for (int s : {4, 7, 10}) run.put(mass, s, s, 1000.0);
    run.put(mass, 8, 8, 1e6);
    for (int s : {5, 6, 8, 9}) run.scans[s - 1].msLevel = 2;
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{mass, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 12), cancel, progress),
              PepmapMatchStatus::kDone);
    EXPECT_EQ(rows[0].matchedScan, 10);
    EXPECT_DOUBLE_EQ(rows[0].matchedIntensity, 1000.0 * 10);  // charge 1 only
    // An empty full scan still breaks it.
    run.scans[6].peaks = {};
    PepmapScanList gap = run.source();
    RunPepmapMatching("SEQ", rows, gap, Settings(1, 12), cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 0);
}

TEST(PepmapMatcherTest, ThresholdOfTheTic) {
    // TIC 1e6, threshold 5%: sums must exceed 50000 and only peaks above 5000 count.
    const double strong = 1500.5, weak = 900.5;
    RunBuilder run(20);
    run.put(strong, 3, 8, 10000.0);  // z=1 peak 10000*s, z=2 peak 10000
    run.put(weak, 3, 8, 4000.0);     // z=1 peak 4000*s (up to 32000), z=2 peak 4000 (below floor)
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{strong, 2}, {weak, 2}});
    PepmapMatchSettings s = Settings(1, 20);
    s.tic = 1.0e6;
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    RunPepmapMatching("SEQ", rows, source, s, cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 8);
    EXPECT_DOUBLE_EQ(rows[0].matchedIntensity, 80000.0 + 10000.0);
    EXPECT_EQ(rows[1].matchedScan, 0);
    EXPECT_DOUBLE_EQ(rows[1].matchedTime, 0.0);
}

TEST(PepmapMatcherTest, EmptySpectrumBreaksTheRun) {
    const double mass = 1200.0;
    RunBuilder run(10);
    run.put(mass, 2, 6, 100.0);
    run.scans[3].peaks.clear();  // scan 4 empty
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{mass, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    RunPepmapMatching("SEQ", rows, source, Settings(1, 10), cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 0);
}

TEST(PepmapMatcherTest, UserScanLimitsAreClampedToTheRun) {
    const double mass = 1200.0;
    RunBuilder run(30);
    run.put(mass, 10, 14, 100.0);
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{mass, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    // Limits beyond the run read no missing scans.
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(-5, 500), cancel, progress),
              PepmapMatchStatus::kDone);
    EXPECT_EQ(rows[0].matchedScan, 14);
    EXPECT_TRUE(progress.messages.isEmpty());
    // Limits inside the run are kept: two scans of the five are not enough.
    RunPepmapMatching("SEQ", rows, source, Settings(13, 20), cancel, progress);
    EXPECT_EQ(rows[0].matchedScan, 0);
    // A range outside the run scans nothing and still finishes.
    progress = RecordingProgress();
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(40, 50), cancel, progress),
              PepmapMatchStatus::kDone);
    EXPECT_EQ(progress.positions, std::vector<int>({0, 100}));
    int first = 40, last = 50;
    ClampPepmapScanRange(1, 30, &first, &last);
    EXPECT_GT(first, last);
}

TEST(PepmapMatcherTest, ReadFailureKeepsTheScansBefore) {
    const double mass = 1200.0;
    RunBuilder run(30);
    run.put(mass, 10, 14, 100.0);
    FaultySource source(run.source(), 16);
    PepmapPeptideList rows = Rows({{mass, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 30), cancel, progress),
              PepmapMatchStatus::kReadFailed);
    EXPECT_EQ(progress.messages, QStringList({"Failed to read spectrum from raw file."}));
    EXPECT_EQ(rows[0].matchedScan, 14);
    EXPECT_EQ(progress.statusTexts.back(), "Pepmap finished");
}

TEST(PepmapMatcherTest, CancelLeavesNoResults) {
    const double mass = 1200.0;
    RunBuilder run(30);
    run.put(mass, 10, 14, 100.0);
    PepmapCancelFlag cancel{false};
    FaultySource source(run.source(), 20, &cancel);
    PepmapPeptideList rows = Rows({{mass, 1}});
    rows[0].matchedScan = 0;
    RecordingProgress progress;
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 30), cancel, progress),
              PepmapMatchStatus::kCancelled);
    EXPECT_EQ(rows[0].matchedScan, 0);
    EXPECT_EQ(progress.statusTexts, QStringList({"Performing pepmap ..."}));
    // Already cancelled: nothing at all.
    progress = RecordingProgress();
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 30), cancel, progress),
              PepmapMatchStatus::kCancelled);
    EXPECT_TRUE(progress.statusTexts.isEmpty());
}

TEST(PepmapMatcherTest, RefusesWithoutSequenceOrDigest) {
    PepmapScanList source = RunBuilder(3).source();
    PepmapPeptideList rows;
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    EXPECT_EQ(RunPepmapMatching("", rows, source, Settings(1, 3), cancel, progress),
              PepmapMatchStatus::kNoSequence);
    EXPECT_EQ(RunPepmapMatching("SEQ", rows, source, Settings(1, 3), cancel, progress),
              PepmapMatchStatus::kNoDigest);
    EXPECT_EQ(progress.messages,
              QStringList({"Please enter a sequence", "No digest information is available"}));
}

TEST(PepmapMatcherTest, ProgressEveryTenthScan) {
    RunBuilder run(25);
    PepmapScanList source = run.source();
    PepmapPeptideList rows = Rows({{1200.0, 1}});
    RecordingProgress progress;
    PepmapCancelFlag cancel{false};
    RunPepmapMatching("SEQ", rows, source, Settings(1, 25), cancel, progress);
    // n = 25: scans 5, 15 and 25 satisfy (s - n) % 10 == 0.
    EXPECT_EQ(progress.positions, std::vector<int>({0, 16, 56, 96, 100}));
}

TEST(PepmapMatcherTest, OpeningReportsWhyARunCannotBeUsed) {
    RecordingProgress progress;
    PepmapScanList empty;
    EXPECT_FALSE(OpenPepmapSource(empty, "run.mzML", progress));
    ASSERT_EQ(progress.messages.size(), 1);
    EXPECT_TRUE(progress.messages[0].startsWith("Error - this raw file does not contain any MS"));
    PepmapScanList run = RunBuilder(2).source();
    EXPECT_TRUE(OpenPepmapSource(run, "run.mzML", progress));
    EXPECT_EQ(run.firstScan(), 1);
    EXPECT_EQ(run.lastScan(), 2);
}
