// Charge states, molecular weight, spread and labels of the Zarmass engine.

#include "ZarmassDeconvolution.h"
#include "ZarmassTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zar;
using namespace zarmasstest;

namespace {

const QString kUnable = QStringLiteral("Unable to calculate the molecular weight");

std::vector<double> SeriesMz(double mass, int zLow, int zHigh, double adduct) {
    std::vector<double> mz;
    for (int z = zHigh; z >= zLow; --z) mz.push_back(IonMz(mass, z, adduct));
    return mz;
}

std::vector<int> Charges(const CZarmassDeconvolution& engine) {
    std::vector<int> charges;
    for (const ChargeStateEntry& e : engine.GetChargeStates()) charges.push_back(e.charge);
    return charges;
}

// A centroid spectrum of a protein's ions among many weak noise peaks.
std::vector<PeakRecord> NoisyCentroidProtein(double mass, int zLow, int zHigh) {
    std::vector<PeakRecord> peaks = CentroidSeries(mass, zLow, zHigh, kProtonAdduct);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> mz(600.0, 1600.0), intensity(0.5, 5.0);
    for (int i = 0; i < 300; ++i) peaks.push_back(PeakRecord{mz(random), intensity(random), 0, 0});
    std::sort(peaks.begin(), peaks.end(),
              [](const PeakRecord& a, const PeakRecord& b) { return a.mass < b.mass; });
    return peaks;
}

// Fits the apomyoglobin ions of charges 15 to 20, typed, in manual mode.
bool FitSeries(CZarmassDeconvolution& engine, const std::vector<PeakRecord>& peaks) {
    return engine.SetInputPeaks(
               ParamsWith(SeriesMz(kMyoglobinMass, 15, 20, kProtonAdduct), kProtonAdduct), peaks,
               CentroidScan()) &&
           engine.CalculateMW(kZarmassModeManual);
}

}  // namespace

TEST(ZarmassDeconvolution, ApomyoglobinSeriesGivesItsMassWithNoSpread) {
    zartest::MessageBoxCapture boxes;
    CZarmassDeconvolution engine;
    const auto peaks = CentroidSeries(kMyoglobinMass, 15, 20, kProtonAdduct);
    ASSERT_TRUE(FitSeries(engine, peaks));
    EXPECT_EQ(Charges(engine), (std::vector<int>{20, 19, 18, 17, 16, 15}));
    double average = 0.0, spread = 1.0;
    engine.GetMW(average, spread);
    EXPECT_EQ(QString::asprintf("%.2f", average), QStringLiteral("16951.50"));
    EXPECT_EQ(QString::asprintf("%.2f", spread), QStringLiteral("0.00"));
    EXPECT_TRUE(engine.HasMW());
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(ZarmassDeconvolution, ChargeAssignmentCases) {
    struct Case {
        const char* name;
        std::vector<double> mz;
        double adduct;
        int positive;
        bool ok;
        std::vector<int> charges;
    } cases[] = {
        {"one u apart", {1000.0, 1001.0}, 1.0, 1, true, {1000, 999}},
        {"ratio 0.29 from whole", {9.29, 10.29}, 0.0, 1, true, {10, 9}},
        {"ratio 0.31 from whole", {9.31, 10.31}, 0.0, 1, false, {}},
        {"charges 10 then 8", {9.0, 10.0, 80.0 / 7.0}, 0.0, 1, false, {}},
        {"last pair of charge 1", {1.0, 5.0}, 1.0, 1, false, {1}},
        {"negative ions", {1000.0, 1001.0}, 1.0, 0, false, {-1000, -999}},
        {"equal values", {850.0, 850.0, 900.0}, 0.0, 1, false, {}},
        {"one value", {850.0}, 0.0, 1, false, {}},
    };
    const auto peaks = ReadFixtureSpectrum("past_last_peak.txt");
    for (const Case& c : cases) {
        zartest::MessageBoxCapture boxes;
        CZarmassDeconvolution engine;
        ZarmassScanInfo scan = CentroidScan();
        scan.positive = c.positive;
        ASSERT_TRUE(engine.SetInputPeaks(ParamsWith(c.mz, c.adduct), peaks, scan)) << c.name;
        EXPECT_EQ(engine.CalculateMW(kZarmassModeManual), c.ok) << c.name;
        std::vector<int> charges = Charges(engine);
        charges.erase(std::remove(charges.begin(), charges.end(), 0), charges.end());
        EXPECT_EQ(charges, c.charges) << c.name;
        EXPECT_EQ(boxes.texts(), c.ok ? QStringList() : QStringList{kUnable}) << c.name;
        if (!c.ok) {
            EXPECT_EQ(engine.GetAverageMW(), 0.0) << c.name;
            EXPECT_EQ(engine.GetStdDev(), 0.0) << c.name;
        }
        for (const ChargeStateEntry& e : engine.GetChargeStates())
            EXPECT_TRUE(std::isfinite(e.weight) && std::isfinite(e.mz)) << c.name;
    }
}

TEST(ZarmassDeconvolution, WeightedAverageAndSpreadOfAnUnevenSeries) {
    // Three ions of charges 12, 11 and 10 of a mass near 12000, the middle one 0.05 u off.
    const double adduct = 1.0;
    const std::vector<double> mz = {12000.0 / 12 + adduct, 12000.0 / 11 + adduct + 0.05,
                                    12000.0 / 10 + adduct};
    CZarmassDeconvolution engine;
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith(mz, adduct),
                                     ReadFixtureSpectrum("past_last_peak.txt"), CentroidScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeManual));
    ASSERT_EQ(Charges(engine), (std::vector<int>{12, 11, 10}));

    // By hand: masses, the summed fourth powers of their relative differences, the weights.
    const double m[3] = {(mz[0] - adduct) * 12, (mz[1] - adduct) * 11, (mz[2] - adduct) * 10};
    double s[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != j) s[i] += std::pow(std::abs(1.0 - m[std::min(i, j)] / m[std::max(i, j)]), 4);
    const double total = s[0] + s[1] + s[2];
    double w[3], sumW = 0, sumMW = 0, sumW2 = 0;
    for (int i = 0; i < 3; ++i) {
        w[i] = 1.0 / (2.0 * s[i] / total);
        sumW += w[i];
        sumMW += w[i] * m[i];
        sumW2 += w[i] * w[i];
    }
    const double average = sumMW / sumW;
    double squares = 0;
    for (double v : m) squares += (v - average) * (v - average);
    const double spread = std::sqrt(sumW2 * (squares / 2.0) / (sumW * sumW));

    EXPECT_NEAR(engine.GetAverageMW(), average, 1e-9);
    EXPECT_NEAR(engine.GetStdDev(), spread, 1e-9);
    EXPECT_GT(engine.GetStdDev(), 0.0);
    EXPECT_GT(engine.GetAverageMW(), 12000.0);
    EXPECT_LT(engine.GetAverageMW(), m[1]);
}

TEST(ZarmassDeconvolution, AutomaticModeFindsTheWholeSeriesInACentroidSpectrum) {
    zartest::MessageBoxCapture boxes;
    CZarmassDeconvolution engine;
    const auto peaks = NoisyCentroidProtein(kMyoglobinMass, 12, 24);
    const std::vector<double> typed = {IonMz(kMyoglobinMass, 18, kProtonAdduct),
                                       IonMz(kMyoglobinMass, 17, kProtonAdduct),
                                       IonMz(kMyoglobinMass, 16, kProtonAdduct)};
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith(typed, kProtonAdduct), peaks, CentroidScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeAutomatic));
    EXPECT_NEAR(engine.GetAverageMW(), kMyoglobinMass, 0.01);
    EXPECT_LT(engine.GetStdDev(), 0.01);

    std::vector<int> expected;
    for (int z = 24; z >= 12; --z) expected.push_back(z);
    EXPECT_EQ(Charges(engine), expected);

    // One label per ion, in ascending m/z, each on its ion's peak.
    const auto labels = engine.GetIdentifiedPeaks();
    ASSERT_EQ(labels.size(), expected.size());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        const int z = expected[k];
        EXPECT_EQ(labels[k].chargeState, z);
        EXPECT_NEAR(labels[k].apex.mass, IonMz(kMyoglobinMass, z, kProtonAdduct), 1e-9);
        EXPECT_GT(labels[k].apex.intensity, 10.0);
        EXPECT_DOUBLE_EQ(labels[k].left.mass, labels[k].apex.mass - 1.0);  // peak width 2
        EXPECT_DOUBLE_EQ(labels[k].right.mass, labels[k].apex.mass + 1.0);
        EXPECT_EQ(labels[k].penIndex, 0);
        EXPECT_EQ(labels[k].showCharge, 1);
        EXPECT_EQ(labels[k].text, QString());
    }
    // Slots past the count are empty.
    EXPECT_EQ(engine.GetLabelSlots()[labels.size()].apex.mass, 0.0);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(ZarmassDeconvolution, AutomaticModeOnANoisyProfileSpectrum) {
    const auto peaks = ProfileSpectrum({{kMyoglobinMass, 12, 24, 1000.0}}, kProtonAdduct, 600.0,
                                       1600.0, 0.02, 0.3, 5.0);
    const std::vector<double> typed = {IonMz(kMyoglobinMass, 18, kProtonAdduct) + 0.03,
                                       IonMz(kMyoglobinMass, 17, kProtonAdduct) - 0.02,
                                       IonMz(kMyoglobinMass, 16, kProtonAdduct) + 0.01};
    CZarmassDeconvolution engine;
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith(typed, kProtonAdduct), peaks, ProfileScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeAutomatic));
    EXPECT_NEAR(engine.GetAverageMW(), kMyoglobinMass, 0.5);
    EXPECT_LT(engine.GetStdDev(), 0.5);
    const auto charges = Charges(engine);
    ASSERT_GE(charges.size(), 9u);
    for (std::size_t i = 1; i < charges.size(); ++i) EXPECT_EQ(charges[i], charges[i - 1] - 1);
    EXPECT_GE(charges.front(), 20);
    EXPECT_LE(charges.back(), 16);
    // Profile labels take the intensity of the point at their m/z.
    for (const CPeakLabel& label : engine.GetIdentifiedPeaks())
        EXPECT_GT(label.apex.intensity, 50.0) << label.chargeState;
}

TEST(ZarmassDeconvolution, FailedFitReportsNoWeight) {
    zartest::MessageBoxCapture boxes;
    CZarmassDeconvolution engine;
    const auto peaks = CentroidSeries(kMyoglobinMass, 15, 20, kProtonAdduct);
    ASSERT_TRUE(FitSeries(engine, peaks));
    ASSERT_GT(engine.GetAverageMW(), 16000.0);

    // Values that are no series: the weight held from before must not be reported.
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({900.0, 930.0, 940.0}, kProtonAdduct), peaks,
                                     CentroidScan()));
    EXPECT_FALSE(engine.CalculateMW(kZarmassModeManual));
    double average = -1.0, spread = -1.0;
    engine.GetMW(average, spread);
    EXPECT_EQ(average, 0.0);
    EXPECT_EQ(spread, 0.0);
    EXPECT_FALSE(engine.HasMW());
    EXPECT_EQ(boxes.texts(), QStringList{kUnable});

    // Automatic mode that fits the typed values but not the refined series also reports none.
    boxes.clear();
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({1000.0}, kProtonAdduct), peaks, CentroidScan()));
    EXPECT_FALSE(engine.CalculateMW(kZarmassModeAutomatic));
    EXPECT_EQ(engine.GetAverageMW(), 0.0);
    EXPECT_EQ(boxes.texts(), QStringList{kUnable});
}

TEST(ZarmassDeconvolution, FailedReadCalculatesNothingOnThePreviousSpectrum) {
    zartest::MessageBoxCapture boxes;
    CZarmassDeconvolution engine;
    const auto peaks = NoisyCentroidProtein(kMyoglobinMass, 12, 24);
    const auto typed = SeriesMz(kMyoglobinMass, 15, 20, kProtonAdduct);
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith(typed, kProtonAdduct), peaks, CentroidScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeAutomatic));
    ASSERT_GT(engine.GetIdentifiedPeaks().size(), 0u);

    EXPECT_FALSE(engine.SetInputPeaks(ParamsWith(typed, kProtonAdduct), {}, CentroidScan()));
    EXPECT_EQ(engine.GetAverageMW(), 0.0);
    EXPECT_TRUE(engine.GetIdentifiedPeaks().empty());
    EXPECT_TRUE(engine.GetWorkPeaks().empty());
    for (int mode : {kZarmassModeAutomatic, kZarmassModeManual}) {
        EXPECT_FALSE(engine.CalculateMW(mode));
        EXPECT_EQ(engine.GetAverageMW(), 0.0);
        EXPECT_EQ(engine.GetStdDev(), 0.0);
        EXPECT_TRUE(engine.GetIdentifiedPeaks().empty());
    }
    EXPECT_FALSE(engine.CalculateMW(kZarmassModeConvolute));
    EXPECT_TRUE(engine.GetIdentifiedPeaks().empty());
    EXPECT_EQ(boxes.texts(), (QStringList{kUnable, kUnable}));
}

TEST(ZarmassDeconvolution, SeriesOfOneOrTwoIonsIsRefinedWithoutReadingPastIt) {
    const auto peaks = ReadFixtureSpectrum("two_ion_window.txt");
    struct Case {
        double mass;
        std::vector<int> charges;  // of the labels, ascending m/z
    } cases[] = {{10000.0, {11, 10}}, {9000.0, {0}}};
    for (const Case& c : cases) {
        CZarmassDeconvolution engine;
        ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({c.mass}, 1.0), peaks, CentroidScan()));
        EXPECT_TRUE(engine.CalculateMW(kZarmassModeConvolute));
        std::vector<int> charges;
        for (const CPeakLabel& label : engine.GetIdentifiedPeaks())
            charges.push_back(label.chargeState);
        EXPECT_EQ(charges, c.charges) << c.mass;
    }

    // The automatic mode refines a two-ion series too.
    CZarmassDeconvolution engine;
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({910.09, 1001.0}, 1.0), peaks, CentroidScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeAutomatic));
    EXPECT_NEAR(engine.GetAverageMW(), 10000.0, 0.01);
    EXPECT_EQ(Charges(engine), (std::vector<int>{11, 10}));
}

TEST(ZarmassDeconvolution, IonsPastTheLastPeakKeepTheirLabelsUnlooked) {
    CZarmassDeconvolution engine;
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({950.0, 1000.0}, 0.0),
                                     ReadFixtureSpectrum("past_last_peak.txt"), CentroidScan()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeManual));
    EXPECT_DOUBLE_EQ(engine.GetAverageMW(), 19000.0);
    const auto labels = engine.GetIdentifiedPeaks();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].apex.mass, 950.0);
    EXPECT_EQ(labels[1].apex.mass, 1000.0);
    EXPECT_EQ(labels[0].apex.intensity, 0.0);
    EXPECT_EQ(labels[1].apex.intensity, 0.0);
}

TEST(ZarmassDeconvolution, LabelsOnOneApexMergeAboveMass100) {
    struct Case {
        double mass;
        std::vector<std::pair<double, double>> peaks;
        int labels;
        QString text;
    } cases[] = {
        // Ions 101.0 (z 13) and 109.33 (z 12) both find their apex at 109.33.
        {1300.0, {{95.0, 1}, {101.0, 100}, {1300.0 / 12 + 1, 1000}, {120.0, 1}}, 1, "+13,+12"},
        // Ions 92.67 (z 12) and 101.0 (z 11) both find theirs at 92.67: too low to merge.
        {1100.0, {{85.0, 1}, {1100.0 / 12 + 1, 1000}, {101.0, 100}, {120.0, 1}}, 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<PeakRecord> peaks;
        for (const auto& [m, i] : c.peaks) peaks.push_back(PeakRecord{m, i, 0, 0});
        ZarmassParams params = ParamsWith({peaks[1].mass, peaks[2].mass}, 1.0);
        params.peakWidth = 20.0;
        CZarmassDeconvolution engine;
        ASSERT_TRUE(engine.SetInputPeaks(params, peaks, CentroidScan()));
        ASSERT_TRUE(engine.CalculateMW(kZarmassModeManual)) << c.mass;
        EXPECT_NEAR(engine.GetAverageMW(), c.mass, 1e-6);
        const auto labels = engine.GetIdentifiedPeaks();
        ASSERT_EQ(static_cast<int>(labels.size()), c.labels) << c.mass;
        EXPECT_EQ(labels.back().text, c.text);
        EXPECT_EQ(labels.back().showText, c.text.isEmpty() ? 0 : 1);
        EXPECT_EQ(engine.GetLabelSlots()[c.labels].apex.mass, 0.0);
    }
}

TEST(ZarmassDeconvolution, GeneratedSeriesHoldsAtMost100Ions) {
    std::vector<PeakRecord> peaks;
    for (int i = 0; i < 5000; ++i) peaks.push_back(PeakRecord{100.0 + i * 0.38, 10.0, 0, 0});
    CZarmassDeconvolution engine;
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({200000.0}, 1.0), peaks, CentroidScan()));
    EXPECT_TRUE(engine.CalculateMW(kZarmassModeConvolute));
    EXPECT_LE(engine.GetSelected().size(), 100u);
    EXPECT_GT(engine.GetSelected().size(), 50u);
    EXPECT_LE(engine.GetIdentifiedPeaks().size(), 100u);
}

TEST(ZarmassDeconvolution, ComponentColoursStayWithinTheTable) {
    CZarmassDeconvolution engine;
    EXPECT_EQ(engine.GetComponentCount(), 1);
    EXPECT_EQ(engine.GetColours()[0], 0xFF0000u);
    EXPECT_EQ(engine.GetColours()[8], 0x808000u);
    for (std::uint32_t c = 1; c <= 40; ++c) {
        engine.SetComponentColour(c, true);
        EXPECT_LT(engine.GetCurrentComponent(), kZarmassColourCount);
    }
    EXPECT_EQ(engine.GetComponentCount(), kZarmassColourCount);
    EXPECT_EQ(engine.GetColours()[kZarmassColourCount - 1], 40u);
    engine.SetComponentColour(0xABCDEF, false);
    EXPECT_EQ(engine.GetCurrentComponent(), 0);
    EXPECT_EQ(engine.GetColours()[0], 0xABCDEFu);
}

TEST(ZarmassDeconvolution, KeepsTheScanOfItsSpectrum) {
    CZarmassDeconvolution engine;
    ZarmassScanInfo scan = CentroidScan();
    scan.filter = QString(300, QLatin1Char('x'));
    ASSERT_TRUE(engine.SetInputPeaks(ParamsWith({1000.0, 1001.0}, 1.0),
                                     ReadFixtureSpectrum("past_last_peak.txt"), scan));
    EXPECT_EQ(engine.GetScanTime(), 12.5);
    EXPECT_EQ(engine.GetScanNumber(), 321);
    EXPECT_EQ(engine.GetFilterText().size(), kZarmassMaxFilterText);
    EXPECT_EQ(engine.GetBasePeak().mass, 700.0);
    engine.ClearSelection();
    EXPECT_EQ(engine.GetSelected().size(), 2u);  // the count stays
    EXPECT_EQ(engine.GetSelected()[0], 0.0);
    engine.FreeBuffers();
    EXPECT_TRUE(engine.GetWorkPeaks().empty());
    EXPECT_TRUE(engine.GetIdentifiedPeaks().empty());
}
