// The parent-ion transform: grid, apex at the parent mass, exclusions, the m/z index and the
// guards of its loops.

#include "ZarmassPeakSearch.h"
#include "ZarmassTestSupport.h"
#include "ZarmassTransform.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace zar;
using namespace zarmasstest;

namespace {

// Myoglobin with a second component of 15400 u.
const std::vector<PeakRecord>& TwoProteins() {
    static const auto peaks =
        ProfileSpectrum({{kMyoglobinMass, 13, 24, 1000.0}, {15400.0, 12, 22, 600.0}}, kProtonAdduct,
                        600.0, 1400.0, 0.02, 0.3, 5.0);
    return peaks;
}

ZarmassTransformResult TransformAndAccept(CZarmassTransform& engine) {
    ZarmassTransformResult result = RunZarmassTransform(engine.MakeTransformJob());
    EXPECT_TRUE(engine.AcceptTransform(result));
    return result;
}

double PointAt(std::span<const PeakRecord> points, double mass) {
    const auto it =
        std::min_element(points.begin(), points.end(), [&](const auto& a, const auto& b) {
            return std::abs(a.mass - mass) < std::abs(b.mass - mass);
        });
    return it->intensity;
}

}  // namespace

TEST(ZarmassTransform, ApexLiesAtTheParentMass) {
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(15000.0, 20000.0, 1.0), MyoglobinProfile(),
                                        ProfileScan()));
    EXPECT_EQ(engine.GetGridSize(), 5000);
    EXPECT_EQ(engine.GetBelowRangeCount(), 5000);  // 600..699.98 every 0.02
    TransformAndAccept(engine);
    const auto output = engine.GetOutputPeaks();
    ASSERT_EQ(output.size(), 5000u);
    EXPECT_EQ(output.front().mass, 15000.0);
    EXPECT_EQ(output.back().mass, 19999.0);
    const auto apex =
        std::max_element(output.begin(), output.end(),
                         [](const auto& a, const auto& b) { return a.intensity < b.intensity; });
    EXPECT_NEAR(apex->mass, kMyoglobinMass, 1.0);
    EXPECT_EQ(engine.GetBasePeak().mass, apex->mass);
    double total = 0.0;
    for (const PeakRecord& p : output) total += p.intensity;
    EXPECT_NEAR(engine.GetTotalIntensity(), total, 1e-6 * total);
    // Work and output spectra hold the same points.
    ASSERT_EQ(engine.GetWorkPeaks().size(), output.size());
    EXPECT_EQ(engine.GetWorkPeaks()[2500].intensity, output[2500].intensity);
}

TEST(ZarmassTransform, ApexOfNoiselessCharges15To20) {
    // Gaussian ions of apomyoglobin at M / z + 1.008 for z = 15 to 20 only, no noise.
    const auto peaks = ProfileSpectrum({{kMyoglobinMass, 15, 20, 1000.0}}, kProtonAdduct, 800.0,
                                       1200.0, 0.01, 0.2, 0.0);
    ZarmassParams params = TransformParams(15000.0, 20000.0, 1.0);
    params.mzLow = 800.0;
    params.mzHigh = 1200.0;
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(params, peaks, ProfileScan()));
    TransformAndAccept(engine);
    EXPECT_NEAR(engine.GetBasePeak().mass, kMyoglobinMass, 1.0);
}

TEST(ZarmassTransform, DefaultRangeMakesA25000PointGrid) {
    CZarmassTransform engine;
    ZarmassParams params = TransformParams(5000.0, 30000.0, 1.0);
    ASSERT_TRUE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    EXPECT_EQ(engine.GetGridSize(), 25000);
    std::vector<int> progress;
    const auto result = RunZarmassTransform(engine.MakeTransformJob(), nullptr,
                                            [&](int p) { progress.push_back(p); });
    EXPECT_EQ(result.points.size(), 25000u);
    EXPECT_EQ(progress, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(ZarmassTransform, ReTransformLeavesOutTheIonsOfAChosenMass) {
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(5000.0, 20000.0, 1.0), TwoProteins(),
                                        ProfileScan()));
    TransformAndAccept(engine);
    const std::vector<PeakRecord> full(engine.GetOutputPeaks().begin(),
                                       engine.GetOutputPeaks().end());

    ZarmassParams chosen = TransformParams(5000.0, 20000.0, 1.0);
    chosen.mz[0] = kMyoglobinMass;
    chosen.count = 1;
    const auto job = engine.MakeSelectedJob(chosen);
    ASSERT_TRUE(job.has_value());
    const auto result = RunZarmassTransform(*job);
    EXPECT_EQ(result.kind, ZarmassTransformKind::Selected);
    ASSERT_TRUE(engine.AcceptTransform(result));
    const auto again = engine.GetWorkPeaks();
    ASSERT_EQ(again.size(), full.size());

    // Half the mass sees only the chosen mass's even charges: all of them are left out.
    const double half = kMyoglobinMass / 2;
    EXPECT_GT(PointAt(full, half), 2000.0);
    EXPECT_LT(PointAt(again, half), 0.05 * PointAt(full, half));
    // The chosen mass keeps its own ions (and, with two or more of them, gains their number
    // times the weakest), and the other component stands.
    EXPECT_GE(PointAt(again, kMyoglobinMass), PointAt(full, kMyoglobinMass));
    EXPECT_GT(PointAt(again, 15400.0), 0.5 * PointAt(full, 15400.0));
    // The output spectrum is the plain transform still.
    ASSERT_EQ(engine.GetOutputPeaks().size(), full.size());
    EXPECT_EQ(PointAt(engine.GetOutputPeaks(), half), PointAt(full, half));
}

TEST(ZarmassTransform, ExclusionCases) {
    std::vector<PeakRecord> peaks;
    for (double mz = 700.0; mz <= 1300.0; mz += 0.5) peaks.push_back(PeakRecord{mz, 1.0, 0, 0});
    const double masses[] = {10000.0};
    const auto blocks = BuildSeriesBlocks(peaks, masses, 1.0);
    ASSERT_EQ(blocks.size(), 1u);
    // Charges 8 to 14 lie between 700 and 1300.
    ASSERT_EQ(blocks[0].mz.size(), 7u);
    EXPECT_DOUBLE_EQ(blocks[0].mz.front(), 10000.0 / 8 + 1.0);
    EXPECT_DOUBLE_EQ(blocks[0].mz.back(), 10000.0 / 14 + 1.0);
    EXPECT_DOUBLE_EQ(blocks[0].tolerance, 50.0);

    struct Case {
        double x, mass, width;
        bool excluded;
    } cases[] = {
        {1001.3, 12000.0, 0.5, true},
        {1001.6, 12000.0, 0.5, false},
        {1000.5, 12000.0, 0.5, true},
        {1001.3, 10040.0, 0.5, false},  // near the chosen mass
        {1001.3, 10050.0, 0.5, false},
        {1001.3, 10051.0, 0.5, true},
        {10000.0 / 14 + 1.0, 8000.0, 0.01, true},
        {650.0, 12000.0, 5.0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInSelectedSeries(blocks, c.x, c.mass, c.width), c.excluded)
            << c.x << " " << c.mass;
    EXPECT_FALSE(FindInSeries(1.0, {}, 10.0));
}

TEST(ZarmassTransform, SeriesOfASmallMassStartsAtChargeOne) {
    std::vector<PeakRecord> peaks;
    for (double mz = 400.0; mz <= 1300.0; mz += 1.0) peaks.push_back(PeakRecord{mz, 1.0, 0, 0});
    const double masses[] = {500.0, 1200.0, 0.0, -5.0};
    const auto blocks = BuildSeriesBlocks(peaks, masses, 1.0);
    ASSERT_EQ(blocks.size(), 2u);  // no series of a mass of 0 or below
    EXPECT_EQ(blocks[0].mz, (std::vector<double>{501.0}));
    EXPECT_EQ(blocks[1].mz, (std::vector<double>{1201.0, 601.0, 401.0}));
}

TEST(ZarmassTransform, IndexReadsTheSameIntensityAsAFullSearch) {
    std::mt19937 random(99);
    for (double span : {24000.0, 5.0e6}) {
        std::uniform_real_distribution<double> mz(150.0, 150.0 + span), unit(0.0, 1.0);
        std::vector<PeakRecord> peaks;
        for (int i = 0; i < 3000; ++i)
            peaks.push_back(PeakRecord{mz(random), 100 * unit(random), 0, 0});
        peaks.push_back(peaks[10]);  // a shared m/z value
        peaks = CopyAscendingPeaks(peaks);
        const ZarmassMzIndex index(peaks);
        std::uniform_real_distribution<double> probe(100.0, 200.0 + span);
        for (int i = 0; i < 20000; ++i) {
            const double x = probe(random);
            ASSERT_EQ(index.Find(x), FindPeakIndex(peaks, 0, static_cast<int>(peaks.size()) - 1, x))
                << x;
            ASSERT_EQ(index.IntensityAt(x), IntensityAt(peaks, x)) << x;
        }
    }
}

TEST(ZarmassTransform, PeaksAbove19999AreSearchedLikeAnyOther) {
    const auto peaks = ReadFixtureSpectrum("high_mz.txt");
    ZarmassParams params = TransformParams(19990.0, 20010.0, 0.5);
    params.mzLow = 19000.0;
    params.mzHigh = 21000.0;
    params.adduct = 1.0;
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(params, peaks, CentroidScan()));
    EXPECT_EQ(engine.GetInRangeCount(), static_cast<int>(peaks.size()));
    TransformAndAccept(engine);
    const auto output = engine.GetOutputPeaks();
    ASSERT_EQ(output.size(), 40u);
    for (const PeakRecord& p : output) {
        const double x = p.mass + 1.0;
        const double expected =
            (x >= peaks.front().mass && x <= peaks.back().mass) ? IntensityAt(peaks, x) : 0.0;
        EXPECT_DOUBLE_EQ(p.intensity, expected) << p.mass;
    }
    EXPECT_EQ(engine.GetBasePeak().mass, 19999.0);
    EXPECT_EQ(engine.GetBasePeak().intensity, 900.0);
}

TEST(ZarmassTransform, LowestPeakBelowTheAdductEndsEachMass) {
    ZarmassParams params = TransformParams(1000.0, 1010.0, 1.0);
    params.mzLow = 0.0;
    params.mzHigh = 2000.0;
    params.adduct = 1.0;
    CZarmassTransform engine;
    ASSERT_TRUE(
        engine.PrepareTransform(params, ReadFixtureSpectrum("low_first_peak.txt"), CentroidScan()));
    TransformAndAccept(engine);
    ASSERT_EQ(engine.GetOutputPeaks().size(), 10u);
    for (const PeakRecord& p : engine.GetOutputPeaks()) {
        EXPECT_TRUE(std::isfinite(p.intensity));
        EXPECT_GT(p.intensity, 0.0);
    }
}

TEST(ZarmassTransform, EqualMzValuesGiveFinitePoints) {
    ZarmassParams params = TransformParams(1500.0, 2100.0, 0.5);
    params.mzLow = 0.0;
    params.mzHigh = 2000.0;
    CZarmassTransform engine;
    ASSERT_TRUE(
        engine.PrepareTransform(params, ReadFixtureSpectrum("equal_mz.txt"), CentroidScan()));
    TransformAndAccept(engine);
    for (const PeakRecord& p : engine.GetOutputPeaks()) EXPECT_TRUE(std::isfinite(p.intensity));
}

TEST(ZarmassTransform, RefusesGridsThatNeverAdvance) {
    struct Case {
        double low, high, step;
    } cases[] = {{5000, 30000, 0.0},  {5000, 30000, -1.0},         {30000, 5000, 1.0},
                 {5000, 5000.2, 1.0}, {5000, 30000, std::nan("")}, {0, 1e9, 1e-6}};
    for (const Case& c : cases) {
        zartest::MessageBoxCapture boxes;
        CZarmassTransform engine;
        EXPECT_FALSE(engine.PrepareTransform(TransformParams(c.low, c.high, c.step),
                                             MyoglobinProfile(), ProfileScan()))
            << c.step;
        EXPECT_FALSE(engine.IsPrepared());
        EXPECT_EQ(boxes.texts().size(), 1);
        EXPECT_FALSE(engine.MakeSelectedJob(TransformParams(c.low, c.high, c.step)).has_value());
    }
}

TEST(ZarmassTransform, SmallGridsReportProgressAtEveryPoint) {
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(16950.0, 16955.0, 1.0), MyoglobinProfile(),
                                        ProfileScan()));
    EXPECT_EQ(engine.GetGridSize(), 5);
    std::vector<int> progress;
    RunZarmassTransform(engine.MakeTransformJob(), nullptr, [&](int p) { progress.push_back(p); });
    EXPECT_EQ(progress, (std::vector<int>{0, 20, 40, 60, 80}));
}

TEST(ZarmassTransform, NoPeakWithinTheMzLimitsIsPosted) {
    MessageRecorder recorder;
    CZarmassTransform engine(recorder.target());
    ZarmassParams params = TransformParams(5000.0, 30000.0, 1.0);
    params.mzLow = 3000.0;
    params.mzHigh = 4000.0;
    EXPECT_FALSE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    EXPECT_FALSE(engine.PrepareTransform(params, {}, ProfileScan()));
    recorder.Drain();
    ASSERT_EQ(recorder.seen().size(), 1u);  // nothing posted for an empty spectrum
    EXPECT_EQ(recorder.seen()[0].message, kMsgZarmassNoPeaksInRange);
    EXPECT_EQ(recorder.seen()[0].wParam, 1u);
    EXPECT_EQ(recorder.seen()[0].lParam, 0);
}

TEST(ZarmassTransform, InRangePeaksAreCapped) {
    std::vector<PeakRecord> peaks;
    for (int i = 0; i < 70000; ++i) peaks.push_back(PeakRecord{700.0 + i * 0.008, 1.0, 0, 0});
    CZarmassTransform engine;
    ASSERT_TRUE(
        engine.PrepareTransform(TransformParams(15000.0, 16000.0, 1.0), peaks, ProfileScan()));
    EXPECT_EQ(engine.GetInRangeCount(), kZarmassMaxInRangePeaks);
}

TEST(ZarmassTransform, ResultsOfAnEarlierPreparationOrACancelledRunAreRefused) {
    CZarmassTransform engine;
    EXPECT_FALSE(engine.AcceptTransform(RunZarmassTransform(engine.MakeTransformJob())));
    const ZarmassParams params = TransformParams(16900.0, 17000.0, 1.0);
    ASSERT_TRUE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    const auto first = engine.MakeTransformJob();
    ASSERT_TRUE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    EXPECT_FALSE(engine.AcceptTransform(RunZarmassTransform(first)));
    EXPECT_TRUE(engine.GetOutputPeaks().empty());

    std::atomic<bool> stop{true};
    const auto cancelled = RunZarmassTransform(engine.MakeTransformJob(), &stop);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.points.empty());
    EXPECT_FALSE(engine.AcceptTransform(cancelled));
    EXPECT_TRUE(engine.AcceptTransform(RunZarmassTransform(engine.MakeTransformJob())));
    EXPECT_EQ(engine.GetOutputPeaks().size(), 100u);

    // A failed preparation drops what the earlier one made.
    EXPECT_FALSE(engine.PrepareTransform(params, {}, ProfileScan()));
    EXPECT_TRUE(engine.GetOutputPeaks().empty());
    EXPECT_TRUE(engine.GetWorkPeaks().empty());
    EXPECT_FALSE(engine.SetInputFromTransform(params));
}

TEST(ZarmassTransform, CalculationOnTheInputUsesEveryPeakAndFindsTheMass) {
    CZarmassTransform engine;
    // A grid far smaller than the spectrum.
    ZarmassParams params = TransformParams(16900.0, 17000.0, 1.0);
    ASSERT_TRUE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    TransformAndAccept(engine);
    const double apex = engine.GetBasePeak().mass;
    EXPECT_NEAR(apex, kMyoglobinMass, 1.0);

    params.mz[0] = apex;
    params.count = 1;
    ASSERT_TRUE(engine.SetInputFromTransform(params));
    EXPECT_EQ(engine.GetWorkPeaks().size(), MyoglobinProfile().size());
    EXPECT_EQ(engine.GetWorkPeaks().back().mass, MyoglobinProfile().back().mass);
    ASSERT_TRUE(engine.CalculateFromSelectedMass());
    EXPECT_EQ(engine.GetMode(), kZarmassModeSelectedMass);
    EXPECT_NEAR(engine.GetAverageMW(), kMyoglobinMass, 0.5);
    const auto charges = engine.GetChargeStates();
    ASSERT_GE(charges.size(), 9u);
    for (std::size_t i = 1; i < charges.size(); ++i)
        EXPECT_EQ(charges[i].charge, charges[i - 1].charge - 1);
    EXPECT_EQ(engine.GetIdentifiedPeaks().size(), charges.size());

    // Convolute: the labels of the whole series of the mass, each with its charge.
    ASSERT_TRUE(engine.SetInputFromTransform(params));
    ASSERT_TRUE(engine.IdentifyFromSelectedMass());
    const auto labels = engine.GetIdentifiedPeaks();
    ASSERT_GE(labels.size(), 10u);
    for (const CPeakLabel& label : labels) {
        if (label.chargeState == 0) continue;
        EXPECT_NEAR(label.apex.mass, IonMz(kMyoglobinMass, label.chargeState, kProtonAdduct), 0.1);
    }

    // A re-transform after the calculation fills the whole grid again.
    const auto job = engine.MakeSelectedJob(params);
    ASSERT_TRUE(job.has_value());
    ASSERT_TRUE(engine.AcceptTransform(RunZarmassTransform(*job)));
    EXPECT_EQ(engine.GetWorkPeaks().size(), 100u);
    EXPECT_EQ(engine.GetOutputPeaks().size(), 100u);
}

TEST(ZarmassTransform, AdoptedTransformReplacesSpectrumAndResult) {
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(15000.0, 20000.0, 10.0), MyoglobinProfile(),
                                        ProfileScan()));
    TransformAndAccept(engine);
    ASSERT_EQ(engine.GetOutputPeaks().size(), 500u);

    CZarmassTransform staged;
    ZarmassScanInfo scan = CentroidScan();
    scan.scanNumber = 77;
    ASSERT_TRUE(staged.PrepareTransform(TransformParams(16000.0, 18000.0, 1.0),
                                        CentroidSeries(kMyoglobinMass, 12, 22, kProtonAdduct),
                                        scan));
    const ZarmassTransformResult result = RunZarmassTransform(staged.MakeTransformJob());
    ASSERT_TRUE(engine.AdoptTransform(staged, result));
    EXPECT_EQ(engine.GetScanNumber(), 77);
    EXPECT_EQ(engine.GetGridSize(), 2000);
    EXPECT_EQ(engine.GetInputPeaks().size(), staged.GetInputPeaks().size());
    EXPECT_EQ(engine.GetOutputPeaks().size(), 2000u);
    EXPECT_EQ(engine.GetWorkPeaks().size(), 2000u);
    // The engine runs re-transforms on what it adopted.
    ZarmassParams chosen = TransformParams(16000.0, 18000.0);
    chosen.mz[0] = kMyoglobinMass;
    chosen.count = 1;
    const auto job = engine.MakeSelectedJob(chosen);
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->gridSize, 2000);
    EXPECT_TRUE(engine.AcceptTransform(RunZarmassTransform(*job)));
}

TEST(ZarmassTransform, CancelledOrStaleTransformIsNotAdopted) {
    CZarmassTransform engine;
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(15000.0, 20000.0, 10.0), MyoglobinProfile(),
                                        ProfileScan()));
    TransformAndAccept(engine);
    const std::vector<PeakRecord> before(engine.GetOutputPeaks().begin(),
                                         engine.GetOutputPeaks().end());

    CZarmassTransform staged;
    ASSERT_TRUE(staged.PrepareTransform(TransformParams(16000.0, 18000.0, 1.0),
                                        CentroidSeries(kMyoglobinMass, 12, 22, kProtonAdduct),
                                        CentroidScan()));
    ZarmassTransformResult cancelled = RunZarmassTransform(staged.MakeTransformJob());
    cancelled.cancelled = true;
    EXPECT_FALSE(engine.AdoptTransform(staged, cancelled));
    const ZarmassTransformResult stale = RunZarmassTransform(staged.MakeTransformJob());
    ASSERT_TRUE(staged.PrepareTransform(TransformParams(16000.0, 18000.0, 1.0),
                                        CentroidSeries(kMyoglobinMass, 12, 22, kProtonAdduct),
                                        CentroidScan()));
    EXPECT_FALSE(engine.AdoptTransform(staged, stale));
    ASSERT_EQ(engine.GetOutputPeaks().size(), before.size());
    EXPECT_EQ(engine.GetGridSize(), 500);
    EXPECT_EQ(engine.GetInputPeaks().size(), MyoglobinProfile().size());
}

TEST(ZarmassTransform, DeconvolutedSpectrumOutlivesACalculationOnTheInput) {
    CZarmassTransform engine;
    ZarmassParams params = TransformParams(16000.0, 18000.0, 1.0);
    ASSERT_TRUE(engine.PrepareTransform(params, MyoglobinProfile(), ProfileScan()));
    TransformAndAccept(engine);
    EXPECT_EQ(engine.GetDeconvolutedPeaks().size(), 2000u);

    // A re-transform, then a calculation, which puts the input spectrum back as the work
    // spectrum: the deconvoluted spectrum shown is still the re-transform.
    params.mz[0] = kMyoglobinMass;
    params.count = 1;
    const ZarmassTransformResult again = RunZarmassTransform(*engine.MakeSelectedJob(params));
    ASSERT_TRUE(engine.AcceptTransform(again));
    engine.SetTransformDone(true);
    ASSERT_TRUE(engine.SetInputFromTransform(params));
    ASSERT_TRUE(engine.CalculateFromSelectedMass());
    EXPECT_EQ(engine.GetWorkPeaks().size(), MyoglobinProfile().size());
    const auto shown = engine.GetDeconvolutedPeaks();
    ASSERT_EQ(shown.size(), again.points.size());
    EXPECT_EQ(shown.front().mass, 16000.0);
    EXPECT_EQ(shown[500].intensity, again.points[500].intensity);

    // Not marked done (a new transform): the plain output.
    engine.SetTransformDone(false);
    EXPECT_EQ(engine.GetDeconvolutedPeaks().data(), engine.GetOutputPeaks().data());
}
