// XPRESS quantitation on a written run with light/heavy pairs at known ratios.

#include "SpectrumTestRuns.h"
#include "XpressQuant.h"
#include "XpressWorker.h"

#include "messages/Messages.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;
using namespace spectrumtest;

namespace {

// One labelled peptide of the run: its light (M+H)+, charge, label count, the full-MS scan of
// its elution apex and the light and heavy heights there.
struct RunPeptide {
    const char* peptide;  // as the search engine writes it; the form it was identified in
    double lightMH;
    int charge;
    int labels;
    int apex;
    double lightHeight;
    double heavyHeight;
};

constexpr double kDifference = 8.0;
constexpr int kScans = 220;
constexpr int kHalfWidth = 14;
constexpr double kSigma = 6.0;

const RunPeptide kPeptides[] = {
    {"K.PEPCTIDEK.R", 1000.5, 2, 1, 21, 1.0, 1.0},     // 1 : 1, light identified
    {"R.AC*DC*EFK.G", 1200.0, 2, 2, 51, 2.0, 1.0},     // 2 : 1, heavy identified
    {"K.LVNC*ELTEFAK.T", 1400.0, 3, 1, 81, 1.0, 3.0},  // 1 : 3, heavy identified
    {"K.GGCAK.R", 800.0, 2, 1, 111, 1.0, 0.0},         // no heavy partner
    {"K.PEPCK.R", 900.0, 2, 1, 151, 1.0, 1.0},         // last full-MS scan before a long gap
    {"K.MCK.R", 600.0, 1, 1, 201, 1.0, 1.0},           // charge 1
};

// Scans 1..150 alternate full MS (odd) and MS/MS; 151 is full MS, 152..190 are MS/MS only,
// then the alternation resumes.
bool IsFullScan(int scan) {
    if (scan <= 150) return scan % 2 == 1;
    if (scan == 151) return true;
    if (scan < 191) return false;
    return scan % 2 == 1;
}

double MzOf(double mh, int charge) {
    return (mh + (charge - 1) * kXpressProtonMass) / charge;
}

Peaks ScanPeaks(int scan) {
    Peaks peaks = {{1500.0, 100.0}};
    if (!IsFullScan(scan)) return peaks;
    for (const RunPeptide& p : kPeptides) {
        const int distance = scan - p.apex;
        if (std::abs(distance) > kHalfWidth) continue;
        const double base = 1.0e6 * std::exp(-0.5 * (distance / kSigma) * (distance / kSigma));
        const double heavyMH = p.lightMH + p.labels * kDifference;
        peaks.push_back({MzOf(p.lightMH, p.charge), p.lightHeight * base});
        if (p.heavyHeight > 0.0) peaks.push_back({MzOf(heavyMH, p.charge), p.heavyHeight * base});
    }
    return peaks;
}

// A hit on the peptide, identified in the MS/MS scan after its apex.
SearchHitRecord HitOf(const RunPeptide& p, int index, int first = 0, int last = 0) {
    SearchHitRecord hit;
    hit.recordIndex = index;
    hit.setPeptide(QString::fromLatin1(p.peptide));
    const bool heavy = QString::fromLatin1(p.peptide).contains(QLatin1Char('*'));
    hit.precursorMass = heavy ? p.lightMH + p.labels * kDifference : p.lightMH;
    if (first == 0) first = last = p.apex + 1;
    hit.setFileInformation(QStringLiteral(" run.%1.%2.%3.out")
                               .arg(first, 4, 10, QLatin1Char('0'))
                               .arg(last, 4, 10, QLatin1Char('0'))
                               .arg(p.charge));
    return hit;
}

class XpressQuantTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        path_ = dir_->filePath("pairs.mzML");
        ASSERT_TRUE(WriteRun(path_, kScans, IsFullScan, ScanPeaks));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    std::vector<SearchHitRecord> AllHits() const {
        std::vector<SearchHitRecord> hits;
        for (const RunPeptide& p : kPeptides)
            hits.push_back(HitOf(p, static_cast<int>(hits.size())));
        return hits;
    }

    static QTemporaryDir* dir_;
    static QString path_;
    zartest::MessageBoxCapture boxes_;
};

QTemporaryDir* XpressQuantTest::dir_ = nullptr;
QString XpressQuantTest::path_;

}  // namespace

TEST(XpressTextsTest, RatioSignAndText) {
    struct Case {
        double light;
        double heavy;
        double ratio;
        const char* text;
    };
    const Case cases[] = {
        {200.0, 100.0, 0.5, "1 : 0.50"},
        {100.0, 200.0, -0.5, "0.50 : 1"},
        {100.0, 100.0, -1.0, "1.00 : 1"},
        {0.0, 100.0, -0.0, ""},
        {100.0, 0.0, 0.0, ""},
        {0.0, 0.0, 0.0, ""},
        {100.0, 300.0, -1.0 / 3.0, "0.33 : 1"},
    };
    for (const Case& c : cases) {
        const double r = XpressRatio(c.light, c.heavy);
        EXPECT_DOUBLE_EQ(r, c.ratio) << c.light << "/" << c.heavy;
        EXPECT_EQ(XpressRatioText(r), QString::fromLatin1(c.text)) << c.light << "/" << c.heavy;
    }
    EXPECT_TRUE(std::signbit(XpressRatio(0.0, 100.0)));
}

TEST(XpressTextsTest, LabelFormIsReadWithTheSymbolsKept) {
    struct Case {
        const char* peptide;
        XpressForm form;
        int labels;
    };
    const Case cases[] = {
        {"K.LVNC*ELTEFAK.T", XpressForm::kHeavy, 1},
        {"PEPC#TIDE", XpressForm::kHeavy, 1},
        {"PC#PCK", XpressForm::kNone, 0},
        {"K.PEPCTIDECK.R", XpressForm::kLight, 2},
        {"K.AC*DC*EFK.G", XpressForm::kHeavy, 2},
        {"K.AC*DCEFK.G", XpressForm::kNone, 0},
        {"K.PEPTIDEK.R", XpressForm::kNone, 0},
        {"R.PEPTIDEC.-", XpressForm::kLight, 1},
        {"R.PEPTIDEC*.-", XpressForm::kHeavy, 1},
        {"", XpressForm::kNone, 0},
    };
    for (const Case& c : cases) {
        const XpressLabelling l =
            ClassifyXpressLabel(QString::fromLatin1(c.peptide), QLatin1Char('C'));
        EXPECT_EQ(l.form, c.form) << c.peptide;
        EXPECT_EQ(l.labelCount, c.labels) << c.peptide;
    }
    EXPECT_EQ(ClassifyXpressLabel("K.PEPCTIDEK.R", QChar()).form, XpressForm::kNone);
}

TEST(XpressTextsTest, SpectrumNamesAndMz) {
    int first = 0, last = 0, charge = 0;
    ASSERT_TRUE(ParseSpectrumScans(" run.0100.0102.2.out", first, last, charge));
    EXPECT_EQ(std::make_tuple(first, last, charge), std::make_tuple(100, 102, 2));
    // A base name with dots of its own.
    ASSERT_TRUE(ParseSpectrumScans("my.run.v2.0007.0007.3.dta", first, last, charge));
    EXPECT_EQ(std::make_tuple(first, last, charge), std::make_tuple(7, 7, 3));
    ASSERT_TRUE(ParseSpectrumScans("run.5.6.1", first, last, charge));
    EXPECT_EQ(std::make_tuple(first, last, charge), std::make_tuple(5, 6, 1));
    EXPECT_FALSE(ParseSpectrumScans("run.out", first, last, charge));
    EXPECT_FALSE(ParseSpectrumScans("", first, last, charge));

    double mz = 0.0;
    ASSERT_TRUE(XpressMassToMz(1000.0, 2, mz));
    EXPECT_NEAR(mz, 500.504, 1e-9);
    ASSERT_TRUE(XpressMassToMz(1008.0, 2, mz));
    EXPECT_NEAR(mz, 504.504, 1e-9);
    ASSERT_TRUE(XpressMassToMz(1000.0, 3, mz));
    EXPECT_NEAR(mz, (1000.0 + 2.016) / 3.0, 1e-9);
    ASSERT_TRUE(XpressMassToMz(1000.0, 1, mz));
    EXPECT_EQ(mz, 1000.0);
    EXPECT_FALSE(XpressMassToMz(1000.0, 4, mz));
    EXPECT_FALSE(XpressMassToMz(1000.0, 0, mz));
}

TEST(XpressTextsTest, SettingsDefaults) {
    zartest::ScopedConfigDir config;
    const XpressSettings s = XpressSettings::FromSettings();
    EXPECT_EQ(s.residue, QStringLiteral("C"));
    EXPECT_DOUBLE_EQ(s.tolerance, 1.5);
    EXPECT_DOUBLE_EQ(s.massDifference, 8.0);
    EXPECT_EQ(s.scanWindow, 6);
}

TEST_F(XpressQuantTest, KnownRatiosOfLightHeavyPairs) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    EXPECT_EQ(engine.GetFirstScan(), 1);
    EXPECT_EQ(engine.GetLastScan(), kScans);
    struct Expected {
        double ratio;
        const char* text;
    };
    const Expected expected[] = {
        {-1.0, "1.00 : 1"}, {0.5, "1 : 0.50"},  {-1.0 / 3.0, "0.33 : 1"},
        {0.0, ""},          {-1.0, "1.00 : 1"}, {-1.0, "1.00 : 1"},
    };
    std::vector<SearchHitRecord> hits = AllHits();
    for (size_t i = 0; i < hits.size(); ++i) {
        if (i == 4) continue;  // identified far from its apex: see the full-scan test
        SearchHitRecord& hit = hits[i];
        hit.quantitationRatio = 0.77;
        EXPECT_EQ(engine.QuantifyHit(hit), 1) << hit.peptide.toStdString();
        EXPECT_NEAR(hit.quantitationRatio, expected[i].ratio, 0.02 * std::fabs(expected[i].ratio))
            << hit.peptide.toStdString();
        EXPECT_EQ(XpressRatioText(hit.quantitationRatio), expected[i].text)
            << hit.peptide.toStdString();
        const RunPeptide& p = kPeptides[i];
        EXPECT_DOUBLE_EQ(hit.lightMass, p.lightMH);
        EXPECT_DOUBLE_EQ(hit.heavyMass, p.lightMH + p.labels * kDifference);
        EXPECT_GT(hit.lightArea, 0.0);
        EXPECT_LE(hit.lightPeakStart, p.apex + 1);
        EXPECT_GE(hit.lightPeakEnd, p.apex);
    }
    // Exactly proportional traces: exactly the scale.
    EXPECT_EQ(hits[1].quantitationRatio, 0.5);
    EXPECT_EQ(hits[1].lightArea, 2.0 * hits[1].heavyArea);
    EXPECT_EQ(hits[1].lightPeakStart, hits[1].heavyPeakStart);
    // No partner: the heavy trace is empty and the ratio shows as none.
    EXPECT_EQ(hits[3].heavyArea, 0.0);
    EXPECT_EQ(XpressRatioText(hits[3].quantitationRatio), "");
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(XpressQuantTest, TheNearestFullScanMustBeCloseToTheIdentifiedScans) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    const RunPeptide& p = kPeptides[4];  // full-MS scan 151, then MS/MS up to 190
    struct Case {
        int first;
        int last;
        bool accepted;
    };
    const Case cases[] = {
        {161, 161, true},   // 10 scans after the full-MS scan
        {162, 162, false},  // 11
        {161, 166, true},   // last scan 15 after it
        {161, 167, false},  // 16
    };
    for (const Case& c : cases) {
        SearchHitRecord hit = HitOf(p, 0, c.first, c.last);
        EXPECT_EQ(engine.QuantifyHit(hit), 1);
        EXPECT_EQ(hit.lightPeakStart != 0, c.accepted) << c.first << "-" << c.last;
        if (!c.accepted) {
            EXPECT_EQ(hit.quantitationRatio, 0.0);
            EXPECT_EQ(hit.heavyPeakEnd, 0);
        }
    }
}

TEST_F(XpressQuantTest, HitsThatCannotBeQuantifiedKeepNoRatio) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    struct Case {
        const char* peptide;
        const char* file;
        int result;
    };
    const Case cases[] = {
        {"", " run.0022.0022.2.out", 0},                           // no peptide
        {"K.PEPTIDEK.R", " run.0022.0022.2.out", 0},               // unlabelled
        {"K.PEPCTIDEC*K.R", " run.0022.0022.2.out", 0},            // labelled both ways
        {"K.PEPCTIDEK.R", " run.0022.0022.4.out", 1},              // charge 4
        {"K.PEPCTIDEK.R", " run.0500.0500.2.out", 1},              // beyond the run
        {"K.PEPCTIDEK.R", "garbage", 1},                           // no scans, no charge
        {"K.PEPCTIDEK.R", " run.2147483647.2147483647.2.out", 1},  // the largest scan number
    };
    for (const Case& c : cases) {
        SearchHitRecord hit;
        hit.setPeptide(QString::fromLatin1(c.peptide));
        hit.setFileInformation(QString::fromLatin1(c.file));
        hit.precursorMass = 1000.5;
        hit.quantitationRatio = 0.7;
        hit.lightArea = 5.0;
        EXPECT_EQ(engine.QuantifyHit(hit), c.result) << c.peptide << c.file;
        EXPECT_EQ(hit.quantitationRatio, 0.0) << c.peptide << c.file;
        EXPECT_EQ(hit.lightArea, 0.0);
    }
}

TEST_F(XpressQuantTest, TheConfiguredResidueAndDifferenceAreUsed) {
    // With K as the label the first peptide is light with one label; with a difference of 4
    // the heavy partner is looked for 2 m/z units above, where there is nothing.
    CXpressQuant engine(4.0, "KR");
    EXPECT_EQ(engine.GetLabelResidue(), QLatin1Char('K'));
    ASSERT_TRUE(engine.OpenRawFile(path_));
    SearchHitRecord hit = HitOf(kPeptides[0], 0);
    EXPECT_EQ(engine.QuantifyHit(hit), 1);
    EXPECT_DOUBLE_EQ(hit.heavyMass, 1004.5);
    EXPECT_EQ(hit.heavyArea, 0.0);
    engine.SetLabelResidue(QString());
    EXPECT_EQ(engine.QuantifyHit(hit), 0);
}

TEST_F(XpressQuantTest, PeakLimitsWalkToTheValleys) {
    CXpressQuant engine;
    ASSERT_TRUE(engine.OpenRawFile(path_));
    std::vector<double> zero(kScans + 1, 0.0);
    int start = 40, end = 44;
    engine.FindPeakLimits(zero, start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(40, 44));

    // A triangle: zeros, 1..6 at scans 10..15, 5..1 at 16..20, zeros again.
    std::vector<double> y(kScans + 1, 0.0);
    for (int s = 10; s <= 15; ++s) y[static_cast<size_t>(s)] = s - 9;
    for (int s = 16; s <= 20; ++s) y[static_cast<size_t>(s)] = 21 - s;
    struct Case {
        int start;
        int end;
        const char* what;
    };
    const Case cases[] = {
        {13, 13, "rising into the start, no fall after the end"},
        {17, 17, "on the falling side"},
        {12, 18, "rising into the start and falling after the end"},
    };
    for (const Case& c : cases) {
        start = c.start;
        end = c.end;
        engine.FindPeakLimits(y, start, end);
        EXPECT_EQ(start, 9) << c.what;
        EXPECT_EQ(end, 21) << c.what;
    }
    // Limits at the very ends of the run stay inside it.
    start = 0;
    end = kScans + 50;
    engine.FindPeakLimits(y, start, end);
    EXPECT_GE(start, 1);
    EXPECT_LE(end, kScans);
}

TEST_F(XpressQuantTest, SmoothingKeepsTheLevelAndThePhase) {
    CXpressQuant engine;
    std::vector<double> flat(400, 10.0), out;
    engine.SmoothTrace(flat, out);
    EXPECT_NEAR(out[200], 10.0, 0.05);  // unit gain at zero frequency
    std::vector<double> pulse(401, 0.0);
    for (int s = 190; s <= 210; ++s) pulse[static_cast<size_t>(s)] = 100.0 - (s - 200) * (s - 200);
    engine.SmoothTrace(pulse, out);
    const auto apex = std::max_element(out.begin(), out.end()) - out.begin();
    EXPECT_NEAR(static_cast<double>(apex), 200.0, 1.0);  // forward-backward: no shift
}

TEST_F(XpressQuantTest, BothTracesAreSmoothedAsOneWouldBe) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    SearchHitRecord hit = HitOf(kPeptides[2], 0);
    ASSERT_EQ(engine.QuantifyPeptide(hit), 1);
    std::vector<double> light, heavy;
    CXpressQuant single;
    single.SmoothTrace(engine.LightTrace(), light);
    single.SmoothTrace(engine.HeavyTrace(), heavy);
    EXPECT_EQ(light, engine.LightSmoothed());  // bit for bit
    EXPECT_EQ(heavy, engine.HeavySmoothed());
}

TEST_F(XpressQuantTest, TracesForThePaneAndRatiosInUserRanges) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    SearchHitRecord hit = HitOf(kPeptides[1], 0);
    EXPECT_EQ(engine.QuantifyPeptide(hit), 1);
    const RunPeptide& p = kPeptides[1];
    EXPECT_GT(engine.LightTrace()[static_cast<size_t>(p.apex)], 0.0);
    EXPECT_EQ(engine.LightTrace()[static_cast<size_t>(p.apex)],
              2.0 * engine.HeavyTrace()[static_cast<size_t>(p.apex)]);
    EXPECT_EQ(engine.LightTrace()[static_cast<size_t>(p.apex + 1)], 0.0);  // an MS/MS scan
    EXPECT_EQ(hit.quantitationRatio, 0.0);                                 // nothing stored

    hit.lightPeakStart = hit.heavyPeakStart = p.apex - 4;
    hit.lightPeakEnd = hit.heavyPeakEnd = p.apex + 4;
    EXPECT_EQ(engine.QuantifyInRanges(hit), 1);
    EXPECT_EQ(hit.quantitationRatio, 0.5);
    EXPECT_EQ(hit.lightPeakStart, p.apex - 4);  // the user's scans stay

    SearchHitRecord empty;
    empty.quantitationRatio = 0.3;
    EXPECT_EQ(engine.QuantifyPeptide(empty), 0);
    EXPECT_EQ(empty.quantitationRatio, 0.0);
    SearchHitRecord charge4 = HitOf(kPeptides[1], 0);
    charge4.setFileInformation(u" run.0052.0052.4.out");
    EXPECT_EQ(engine.QuantifyPeptide(charge4), 0);
}

TEST_F(XpressQuantTest, AnUnchangedRangeGivesTheStoredRatioAgain) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    int measured = 0;
    for (SearchHitRecord hit : AllHits()) {
        if (engine.QuantifyHit(hit) != 1 || hit.quantitationRatio == 0.0) continue;
        ++measured;
        const SearchHitRecord stored = hit;
        EXPECT_EQ(engine.QuantifyInRanges(hit), 1) << hit.peptide.toStdString();
        EXPECT_EQ(hit.quantitationRatio, stored.quantitationRatio) << hit.peptide.toStdString();
        EXPECT_EQ(hit.lightArea, stored.lightArea);
        EXPECT_EQ(hit.heavyArea, stored.heavyArea);
        EXPECT_EQ(hit.lightPeakStart, stored.lightPeakStart);
        EXPECT_EQ(hit.heavyPeakEnd, stored.heavyPeakEnd);
        // A narrower heavy range takes less of the heavy peak: the light form's share grows.
        hit.heavyPeakStart = hit.heavyPeakEnd;
        EXPECT_EQ(engine.QuantifyInRanges(hit), 1);
        EXPECT_LT(hit.heavyArea, stored.heavyArea);
        EXPECT_EQ(hit.lightArea, stored.lightArea);
        // A range beyond the run adds nothing and reads nothing out of bounds.
        hit.heavyPeakStart = -50;
        hit.heavyPeakEnd = kScans + 50;
        EXPECT_EQ(engine.QuantifyInRanges(hit), 1);
        EXPECT_GE(hit.heavyArea, stored.heavyArea);
    }
    EXPECT_GE(measured, 4);
}

TEST_F(XpressQuantTest, HitsSharingScansReadThemOnce) {
    CXpressQuant engine(kDifference, "C");
    ASSERT_TRUE(engine.OpenRawFile(path_));
    SearchHitRecord hit = HitOf(kPeptides[0], 0);
    engine.QuantifyHit(hit);
    const long long peaks = engine.PeakListsRead();
    const long long filters = engine.FilterTextsRead();
    EXPECT_GT(peaks, 0);
    SearchHitRecord again = HitOf(kPeptides[0], 1);
    engine.QuantifyHit(again);
    EXPECT_EQ(engine.PeakListsRead(), peaks);
    EXPECT_EQ(engine.FilterTextsRead(), filters);
    EXPECT_EQ(again.quantitationRatio, hit.quantitationRatio);
}

TEST_F(XpressQuantTest, AnUnreadableRunIsReported) {
    CXpressQuant engine;
    EXPECT_FALSE(engine.OpenRawFile(dir_->filePath("missing.mzML")));
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_EQ(boxes_.texts()[0],
              "Error - failed to open raw file.\nThe raw file may be a newer revision or damaged.");
    SearchHitRecord hit = HitOf(kPeptides[0], 0);
    EXPECT_EQ(engine.QuantifyHit(hit), 1);  // labelled, but nothing to read
    EXPECT_EQ(hit.quantitationRatio, 0.0);
}

TEST_F(XpressQuantTest, ARunWithoutSpectraHasNoMSData) {
    const QString empty = dir_->filePath("empty.mzML");
    ASSERT_TRUE(WriteRun(empty, 0, IsFullScan, ScanPeaks));
    CXpressQuant engine;
    EXPECT_FALSE(engine.OpenRawFile(empty));
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_EQ(boxes_.texts()[0],
              "Error - this raw file does not contain any MS data.\n\nRaw files used within "
              "Zarvik Browser must contain MS/MS data.");
    SearchHitRecord hit = HitOf(kPeptides[0], 0);
    EXPECT_EQ(engine.QuantifyHit(hit), 1);
    EXPECT_EQ(hit.quantitationRatio, 0.0);
}

TEST_F(XpressQuantTest, TheResultSetsHookQuantifiesEveryHit) {
    const XpressEngineHook hook = MakeXpressEngineHook(kDifference, 6);
    const XpressQuantifier quantify = hook(path_, "C", 1.5);
    ASSERT_TRUE(quantify);
    std::vector<SearchHitRecord> hits = AllHits();
    for (SearchHitRecord& hit : hits) quantify(hit);
    EXPECT_EQ(hits[1].quantitationRatio, 0.5);
    EXPECT_NEAR(hits[2].quantitationRatio, -1.0 / 3.0, 0.02 / 3.0);

    EXPECT_FALSE(hook(dir_->filePath("missing.mzML"), "C", 1.5));
    EXPECT_EQ(boxes_.texts().size(), 1);
}

TEST_F(XpressQuantTest, TheResultSetGetsTheEngineWithOneSettingsSnapshot) {
    zartest::ScopedConfigDir config;
    CSorvexResults set;
    XpressOptions options = set.GetXpressOptions();
    options.autoCalculate = true;
    set.SetXpressOptions(options);
    XpressSettings settings;
    settings.residue = "K";
    settings.tolerance = 0.75;
    settings.massDifference = 6.0;
    InstallXpressEngine(set, settings);
    EXPECT_TRUE(set.HasXpressEngine());
    EXPECT_TRUE(set.GetXpressOptions().autoCalculate);
    EXPECT_EQ(set.GetXpressOptions().residue, "K");
    EXPECT_DOUBLE_EQ(set.GetXpressOptions().tolerance, 0.75);
    set.SetRawFilePath(path_);
    EXPECT_TRUE(set.CalculateXpressRatios(false));
    set.SetRawFilePath(dir_->filePath("missing.mzML"));
    EXPECT_FALSE(set.CalculateXpressRatios(false));
    EXPECT_EQ(boxes_.texts().size(), 1);
}

TEST_F(XpressQuantTest, TheWorkerPostsItsResultsAsACopy) {
    MessageReceiver main;
    std::vector<XpressJobResult> received;
    main.messageMap().on(kMsgXpressUpdated, [&](const Message& m) {
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
        if (const XpressJobResult* r = m.payloadAs<XpressJobResult>()) received.push_back(*r);
        return LRESULT(0);
    });
    std::vector<SearchHitRecord> records = AllHits();
    XpressJob job;
    job.rawFilePath = path_;
    job.hits = records;
    job.target = &main;
    CXpressWorker worker;
    ASSERT_TRUE(worker.Start(job));
    EXPECT_FALSE(worker.Start(job));  // one pass at a time
    worker.Wait();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(received.size(), 1u);
    const XpressJobResult& r = received[0];
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.processed, static_cast<int>(records.size()));
    EXPECT_EQ(worker.Progress(), 100);
    EXPECT_EQ(records[1].quantitationRatio, 0.0);  // the caller's records are untouched...
    ApplyXpressResult(r, records);                 // ...until it applies the result
    EXPECT_EQ(records[1].quantitationRatio, 0.5);
    EXPECT_TRUE(worker.Start(job));  // free again
}

TEST_F(XpressQuantTest, ARatioPassOverALoadedResultSet) {
    zartest::ScopedConfigDir config;
    CSorvexResults set;
    set.SetRawFilePath("/data/run.raw");  // the run the fixture's files name
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(zartest::DataPath("document/sorvex")));
    ASSERT_GT(set.GetHitCount(), 1);
    set.SetRawFilePath(path_);
    const XpressJob job = MakeRatioPassJob(set, XpressSettings(), nullptr);
    EXPECT_EQ(job.rawFilePath, path_);
    ASSERT_EQ(static_cast<int>(job.hits.size()), set.GetHitCount());

    std::atomic<bool> cancel{false};
    std::atomic<int> progress{0};
    XpressJobResult r = CXpressWorker::Run(job, cancel, progress);
    ASSERT_TRUE(r.finished);
    // Give each copy a ratio of its own to see it land in the right record.
    for (SearchHitRecord& hit : r.hits) hit.quantitationRatio = -1.0 / hit.hitNumber().value();
    r.processed = 1;  // only what was processed is written
    EXPECT_EQ(ApplyXpressResult(r, set), 1);
    EXPECT_EQ(set.FindHit(r.hits[0].hitNumber())->quantitationRatio, -1.0 / r.hits[0].hitNumber().value());
    EXPECT_EQ(set.FindHit(r.hits[1].hitNumber())->quantitationRatio, 0.0);
}

TEST_F(XpressQuantTest, AResultIsNotWrittenIntoResultsReadAgainMeanwhile) {
    zartest::ScopedConfigDir config;
    CSorvexResults set;
    set.SetRawFilePath("/data/run.raw");
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(zartest::DataPath("document/sorvex")));
    ASSERT_GT(set.GetHitCount(), 1);
    XpressJobResult r;
    r.processed = 2;
    r.hits = {*set.GetHit(0), *set.GetHit(1)};
    for (SearchHitRecord& hit : r.hits) hit.quantitationRatio = -0.25;
    // The second hit's number now names another spectrum.
    r.hits[1].setFileInformation(QStringLiteral(" other.0001.0001.2.out"));
    EXPECT_EQ(ApplyXpressResult(r, set), 1);
    EXPECT_EQ(set.FindHit(r.hits[0].hitNumber())->quantitationRatio, -0.25);
    EXPECT_EQ(set.FindHit(r.hits[1].hitNumber())->quantitationRatio, 0.0);
}

TEST_F(XpressQuantTest, CancelStopsBeforeTheNextHit) {
    std::vector<SearchHitRecord> records;
    for (int i = 0; i < 100; ++i) {
        records.push_back(HitOf(kPeptides[static_cast<size_t>(i % 4)], i));
        records.back().quantitationRatio = 0.77;
    }
    std::atomic<bool> cancel{false};
    std::atomic<int> progress{0};
    XpressJob job;
    job.rawFilePath = path_;
    job.hits = records;
    job.onHit = [&](int processed, int) {
        if (processed == 40) cancel.store(true);
    };
    const XpressJobResult r = CXpressWorker::Run(job, cancel, progress);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.finished);
    EXPECT_EQ(r.processed, 40);
    ApplyXpressResult(r, records);
    EXPECT_EQ(records[1].quantitationRatio, 0.5);
    for (int i = 40; i < 100; ++i)
        EXPECT_EQ(records[static_cast<size_t>(i)].quantitationRatio, 0.77);
}

TEST_F(XpressQuantTest, AWorkerIsCancelledAndJoinedWhenItsOwnerGoes) {
    MessageReceiver main;
    XpressJob job;
    job.rawFilePath = path_;
    for (int i = 0; i < 2000; ++i) job.hits.push_back(HitOf(kPeptides[0], i));
    job.target = &main;
    {
        CXpressWorker worker;
        ASSERT_TRUE(worker.Start(job));
        worker.Cancel();
    }  // joins here
    QCoreApplication::sendPostedEvents();
    SUCCEED();
}
