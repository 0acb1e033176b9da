// The document's access to the run: spectra at a time, scan headers, the chromatogram request
// made of the user's traces and its read, and the display values the panes ask for.

#include "ZarDoc.h"

#include "TestSupport.h"
#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Nine scans a tenth of a minute apart from 1.0: MS1 scans 1, 4, 7 and MS2 scans between them.
// Every scan has peaks at 500.0 (50) and at 600.5 (25) and one of its own at 400 + scan.
QString WriteNineScans(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("Nine.mzML"));
    QString error;
    EXPECT_TRUE(WriteRunFile(path, 9, [](int i) {
        RunSpectrum s;
        s.scanNumber = i + 1;
        s.retentionTime = 1.0 + i * 0.1 + 0.0000004;
        s.windowLow = 100.0;
        s.windowHigh = 1000.0;
        s.mz = {400.0 + i + 1, 500.0, 600.5};
        s.intensity = {100.0 * (i + 1), 50.0, 25.0};
        if (i % 3 != 0) {
            s.msLevel = 2;
            s.precursors = {{500.25, 2, QStringLiteral("cid"), 35.0}};
        }
        return s;
    }, error)) << error.toStdString();
    return path;
}

class ZarDocRawFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(doc.OnOpenDocument(WriteNineScans(dir))); }
    CVXResults& results() { return *doc.GetCurrentResults(); }
    QTemporaryDir dir;
    CZarDoc doc;
};

}  // namespace

TEST_F(ZarDocRawFile, OpeningReadsTheRunsTracesIntoTheUserResults) {
    ASSERT_EQ(results().userResults.size(), 2u);
    EXPECT_EQ(results().userResults[0].Name(), QStringLiteral("TIC"));
    EXPECT_EQ(results().userResults[1].Name(), QStringLiteral("Base Peak"));
    EXPECT_EQ(results().userResults[0].chro.points.size(), 9u);
    EXPECT_EQ(results().displaySlotCount, 2);
    EXPECT_EQ(results().currentTraceNumber, 0);
    EXPECT_EQ(doc.GetCurrentResultType(), 0) << "the mass spectrometer's trace is current";
}

TEST_F(ZarDocRawFile, SpectrumAtATimeIsTheNearestScanTheFilterPasses) {
    CVXSpec spectrum;
    ASSERT_TRUE(doc.ReadSpectrum(0, 1, nullptr, 1.31, &spectrum, &spectrum.filter));
    const CVXSpectrumHeaderData& h = spectrum.header.data;
    EXPECT_EQ(h.nScanNumber, 4);
    EXPECT_DOUBLE_EQ(h.dRT, 1.3) << "six decimals";
    EXPECT_DOUBLE_EQ(h.dBasePeakMass, 404.0);
    EXPECT_DOUBLE_EQ(h.dMinPeakIntensity, 25.0);
    EXPECT_DOUBLE_EQ(h.dMinPeakMass, 600.5);
    ASSERT_EQ(spectrum.peaks.size(), 3u);
    ASSERT_EQ(spectrum.massRanges.size(), 1u);
    EXPECT_DOUBLE_EQ(spectrum.massRanges[0].low, 100.0);
    EXPECT_DOUBLE_EQ(spectrum.massRanges[0].high, 1000.0);
    EXPECT_EQ(spectrum.segmentSizes, std::vector<int>{3});
    EXPECT_TRUE(spectrum.filter.FilterString().contains(QStringLiteral("Full ms ")));

    // An MS/MS filter moves the same time to the nearest MS/MS scan.
    CVXFilter ms2;
    ASSERT_TRUE(ms2.FilterString(QStringLiteral("ms2")));
    ASSERT_TRUE(doc.ReadSpectrum(0, 1, &ms2, 1.29, &spectrum, &spectrum.filter));
    EXPECT_EQ(spectrum.header.data.nScanNumber, 3);
    EXPECT_TRUE(spectrum.filter.FilterString().contains(QStringLiteral("ms2")));
}

TEST_F(ZarDocRawFile, ControllersTheRunDoesNotHoldReadNothing) {
    zartest::MessageBoxCapture boxes;
    CVXSpec spectrum;
    EXPECT_FALSE(doc.ReadSpectrum(3, 1, nullptr, 1.3, &spectrum, nullptr)) << "no detector";
    EXPECT_FALSE(doc.ReadSpectrum(0, 2, nullptr, 1.3, &spectrum, nullptr)) << "one MS only";
    EXPECT_FALSE(doc.ReadSpectrum(0, 0, nullptr, 1.3, &spectrum, nullptr));
    EXPECT_TRUE(spectrum.peaks.empty());
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(ZarDocRawFile, HeadersOfAScanAndOfATime) {
    CVXSpec spectrum;
    CVXFilter filter;
    ASSERT_TRUE(doc.ReadScanHeader(2, &spectrum, &filter));
    EXPECT_EQ(spectrum.header.data.nScanNumber, 2);
    EXPECT_DOUBLE_EQ(spectrum.header.data.dRT, 1.1);
    EXPECT_TRUE(filter.FilterString().contains(QStringLiteral("ms2")));
    ASSERT_TRUE(doc.ReadSpectrumHeader(1.74, &spectrum, nullptr));
    EXPECT_EQ(spectrum.header.data.nScanNumber, 8);
    EXPECT_FALSE(doc.ReadScanHeader(99, &spectrum, nullptr));
}

TEST(ZarDocIntensityExtremes, ADetectorSpectrumStatesItsSmallestAndLargestIntensity) {
    CVXSpectrumHeaderData h;
    h.dBasePeakIntensity = 7.0;
    CZarDoc::TakeIntensityExtremes({}, h);
    EXPECT_EQ(h.dBasePeakIntensity, 7.0) << "no peaks: nothing changes";
    CZarDoc::TakeIntensityExtremes(
        {{210.0, 0.5, 0, 0}, {220.0, 0.9, 0, 0}, {230.0, 0.2, 0, 0}, {240.0, 0.9, 0, 0}}, h);
    EXPECT_EQ(h.dMinPeakIntensity, 0.2);
    EXPECT_EQ(h.dMinPeakMass, 230.0);
    EXPECT_EQ(h.dBasePeakIntensity, 0.9);
    EXPECT_EQ(h.dBasePeakMass, 220.0) << "the first of equal maxima";
}

TEST(ZarDocRequest, SingleMassesAreWidenedByTheTolerance) {
    struct Case {
        double tolerance;
        int unit;
        double low, high;
    };
    const Case cases[] = {
        {0.5, CVXGeneralChroResult::kAmu, 499.5, 500.5},
        {20.0, CVXGeneralChroResult::kMmu, 499.98, 500.02},
        {10.0, CVXGeneralChroResult::kPpm, 499.995, 500.005},
    };
    for (const Case& c : cases) {
        const auto r = CZarDoc::WidenedRanges({{500.0, 500.0}, {600.0, 700.0}}, c.tolerance, c.unit);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_NEAR(r[0].low, c.low, 1e-9) << c.unit;
        EXPECT_NEAR(r[0].high, c.high, 1e-9) << c.unit;
        EXPECT_EQ(r[1], CVX_MassRange(600.0, 700.0)) << "a real range stays";
    }
}

TEST_F(ZarDocRawFile, AUserTraceOfOneMassFindsThePeaksWithinTheTolerance) {
    CVXUserTraceDefWrapper& defs = results().userTraceDefs;
    defs.RemoveAll();
    CVXUserTraceDef* d = defs.GetAt(0);
    d->enabled = 1;
    d->detectorType = kVXMSDevice;
    d->traceType = kVXMassRangeTrace;
    d->ranges = {{500.2, 500.2}};
    d->Title(QStringLiteral("Near 500"));
    CVXUserTraceDef* off = defs.GetAt(1);
    off->detectorType = kVXMSDevice;
    off->traceType = kVXTICTrace;  // not enabled: not read

    ASSERT_TRUE(doc.ReadChromatogram(false, true));
    const CVXGeneralChroResult& general = results().generalChro;
    ASSERT_EQ(general.request.size(), 1u);
    EXPECT_NEAR(general.request[0].ranges[0].low, 499.7, 1e-9);
    EXPECT_NEAR(general.request[0].ranges[0].high, 500.7, 1e-9);
    EXPECT_EQ(defs.GetAt(0)->ranges[0], CVX_MassRange(500.2, 500.2)) << "the user's own stay";
    ASSERT_TRUE(doc.ReadChromatogramsRange(true, true, true));
    ASSERT_TRUE(doc.ReadChromatograms(true, true, true));
    ASSERT_EQ(results().userResults.size(), 1u);
    const CVXUserResult& u = results().userResults[0];
    EXPECT_EQ(u.Name(), QStringLiteral("Near 500"));
    ASSERT_EQ(u.chro.points.size(), 9u);
    for (const CVXDataPeak& p : u.chro.points) EXPECT_DOUBLE_EQ(p.dIntensity, 50.0);
    EXPECT_EQ(results().tracesDefined, 1);
    EXPECT_EQ(results().displaySlotCount, 1);
    EXPECT_EQ(results().slotArray, std::vector<int>{0});
}

TEST_F(ZarDocRawFile, WithNoTraceEnabledOnlyAResetBringsTheRunsTraces) {
    results().userTraceDefs.RemoveAll();
    ASSERT_TRUE(doc.ReadChromatogram(false, true));
    EXPECT_TRUE(results().generalChro.request.empty());
    ASSERT_TRUE(doc.ReadChromatogram(true, true));
    ASSERT_EQ(results().generalChro.request.size(), 2u);
    EXPECT_EQ(results().generalChro.request[1].traceType, kVXBasePeakTrace);
}

TEST(ZarDocRangeValue, TheValueOfTheNearestPoint) {
    const std::vector<CVXDataPeak> list{{1.0, 10.0, 0, 1}, {2.0, 20.0, 0, 2}, {3.0, 30.0, 0, 3}};
    EXPECT_EQ(CZarDoc::GetRangeValue(&list, 2.4), 20.0);
    EXPECT_EQ(CZarDoc::GetRangeValue(&list, 2.6), 30.0);
    EXPECT_EQ(CZarDoc::GetRangeValue(&list, 2.5), 20.0) << "a tie goes to the earlier";
    EXPECT_EQ(CZarDoc::GetRangeValue(nullptr, 2.0), -1.0);
    const std::vector<CVXDataPeak> none;
    EXPECT_EQ(CZarDoc::GetRangeValue(&none, 2.0), -1.0);
}

TEST(ZarDocDisplay, AxesWidthsAreTheCustomSpacingOfEachSide) {
    CZarDoc doc;
    double left = -1, right = -1;
    doc.GetChroTraceInfo(left, right);
    EXPECT_EQ(left, 0.0) << "automatic";
    EXPECT_EQ(right, 0.0);
    doc.GetConfiguration().axesPositions.leftMode = 1;
    doc.GetConfiguration().axesPositions.leftSpacing = 8.5;
    doc.GetChroTraceInfo(left, right);
    EXPECT_EQ(left, 8.5);
    EXPECT_EQ(right, 0.0);
}

TEST_F(ZarDocRawFile, SpectrumDisplayOfAResultOfTheCurrentOneOrOfTheConfiguration) {
    results().userResults[1].specDisplay.yAxisScaleType = kVXScaleAbsolute;
    doc.GetConfiguration().GetAxesDefaults(3)->specYScaleType = kVXScaleAbsolute;
    EXPECT_EQ(doc.GetSpectrumDisplay(1, true, false), kVXScaleAbsolute);
    EXPECT_EQ(doc.GetSpectrumDisplay(0, false, true), kVXScaleRelative) << "trace 0 is current";
    results().currentUserResult = 1;
    EXPECT_EQ(doc.GetSpectrumDisplay(0, false, true), kVXScaleAbsolute);
    EXPECT_EQ(doc.GetSpectrumDisplay(3, false, false), kVXScaleAbsolute);
    EXPECT_EQ(doc.GetSpectrumDisplay(0, false, false), kVXScaleRelative);
}

TEST_F(ZarDocRawFile, DisplaySettingsPutTheAxisTitlesOnEveryTrace) {
    doc.ApplyDisplaySettings(QStringLiteral("min"), QStringLiteral("mass"), QStringLiteral("%"),
                             QStringLiteral("counts"));
    for (const CVXUserResult& u : results().userResults) {
        EXPECT_EQ(u.chroDisplay.XAxisChromatogramLabel(), QStringLiteral("min"));
        EXPECT_EQ(u.chroDisplay.YAxisAbsoluteLabel(), QStringLiteral("counts"));
    }
    doc.GetConfiguration().GetAxesDefaults(0)->YAxisRelative(QStringLiteral("Relative"));
    doc.ApplyDisplaySettings();
    EXPECT_EQ(results().userResults[1].chroDisplay.YAxisRelativeLabel(), QStringLiteral("Relative"));
    EXPECT_EQ(results().userResults[1].chroDisplay.XAxisChromatogramLabel(),
              QStringLiteral("Time (min)"));
}

TEST_F(ZarDocRawFile, ResultTypeIsTheDetectorOfTheCurrentTrace) {
    results().userResults[1].chro.detectorType = kVXPDADevice;
    results().currentUserResult = 1;
    EXPECT_EQ(doc.GetCurrentResultType(), kVXPDADevice);
    results().currentUserResult = -1;
    EXPECT_EQ(doc.GetCurrentResultType(), -1);
}

TEST(ZarDocSave, SavingSaysTheDocumentHasNothingToSave) {
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;
    EXPECT_TRUE(doc.OnSaveDocument(QStringLiteral("/tmp/anything")));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Code under construction...")});
}
