// Reading the Zarmass pages' spectrum from a run: one scan, an average of survey scans, and
// what a failed read leaves.

#include "ZarmassScanReader.h"

#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Scans 1..9: odd scans are positive survey scans with a peak at 1000 + n (profile from scan 5
// on), even scans fragment scans with a peak at 300; scan 9 is negative.
QString WriteRun(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("zarmass.mzML"));
    QString error;
    const bool ok = WriteRunFile(
        path, 9,
        [](int index) {
            RunSpectrum s;
            s.scanNumber = index + 1;
            s.retentionTime = 0.1 * (index + 1);
            const bool survey = s.scanNumber % 2 == 1;
            s.msLevel = survey ? 1 : 2;
            s.centroid = s.scanNumber < 5;
            s.positive = s.scanNumber != 9;
            if (survey) {
                s.mz = {800.0, 1000.0 + s.scanNumber};
                s.intensity = {50.0, 100.0 * s.scanNumber};
            } else {
                s.precursors.push_back(RunPrecursor{800.0, 2});
                s.mz = {300.0};
                s.intensity = {70.0};
            }
            return s;
        },
        error);
    return ok ? path : QString();
}

}  // namespace

TEST(ZarmassScanReader, ReadsTheScanNearestTheTime) {
    QTemporaryDir dir;
    const QString path = WriteRun(dir);
    ASSERT_FALSE(path.isEmpty());
    VRawfile run;
    ASSERT_TRUE(run.open(path));
    ZarmassSpectrum spectrum;
    ASSERT_TRUE(ReadZarmassScan(run, 0.31, spectrum));
    EXPECT_EQ(spectrum.scan.scanNumber, 3);
    EXPECT_DOUBLE_EQ(spectrum.scan.retentionTime, 0.3);
    EXPECT_EQ(spectrum.scan.isCentroid, 1);
    EXPECT_EQ(spectrum.scan.positive, 1);
    EXPECT_FALSE(spectrum.scan.filter.isEmpty());
    ASSERT_EQ(spectrum.peaks.size(), 2u);
    EXPECT_EQ(spectrum.peaks[1].dPosition, 1003.0);
    EXPECT_FALSE(spectrum.averaged);

    ASSERT_TRUE(ReadZarmassScan(run, 0.9, spectrum));
    EXPECT_EQ(spectrum.scan.scanNumber, 9);
    EXPECT_EQ(spectrum.scan.positive, 0);
    EXPECT_EQ(spectrum.scan.isCentroid, 0);

    const std::vector<PeakRecord> records = ToPeakRecords(spectrum.peaks);
    ASSERT_EQ(records.size(), spectrum.peaks.size());
    EXPECT_EQ(records[1].mass, 1009.0);
    EXPECT_EQ(records[1].intensity, 900.0);
}

TEST(ZarmassScanReader, AveragesTheSurveyScansOfARange) {
    QTemporaryDir dir;
    const QString path = WriteRun(dir);
    ASSERT_FALSE(path.isEmpty());
    VRawfile run;
    ASSERT_TRUE(run.open(path));
    ZarmassSpectrum spectrum;
    // Scans 3, 5 and 7 are survey scans; 4 and 6 fragment scans are left out.
    ASSERT_TRUE(ReadZarmassAverage(run, 7, 3, spectrum));
    EXPECT_TRUE(spectrum.averaged);
    EXPECT_EQ(spectrum.firstScan, 3);
    EXPECT_EQ(spectrum.lastScan, 7);
    EXPECT_EQ(spectrum.scan.scanNumber, 3);
    EXPECT_EQ(spectrum.scan.isCentroid, 1);  // the first scan's
    EXPECT_NEAR(spectrum.scan.retentionTime, 0.5, 1e-9);
    for (const CVXDataPeak& p : spectrum.peaks) EXPECT_NE(p.dPosition, 300.0);
    QString middle;
    ASSERT_TRUE(run.filterForScan(5, middle));
    EXPECT_EQ(spectrum.scan.filter, middle);
    ASSERT_EQ(spectrum.peaks.size(), 4u);  // 800 merged, 1003, 1005, 1007
    EXPECT_EQ(spectrum.peaks[0].dPosition, 800.0);
    EXPECT_DOUBLE_EQ(spectrum.peaks[0].dIntensity, 50.0);
    EXPECT_DOUBLE_EQ(spectrum.peaks[2].dIntensity, 500.0 / 3.0);

    // From a fragment scan on: the fragment scans, and the filter is one of theirs.
    ASSERT_TRUE(ReadZarmassAverage(run, 4, 8, spectrum));
    QString fragment;
    ASSERT_TRUE(run.filterForScan(6, fragment));
    EXPECT_EQ(spectrum.scan.filter, fragment);
    ASSERT_EQ(spectrum.peaks.size(), 1u);
    EXPECT_EQ(spectrum.peaks[0].dPosition, 300.0);
}

TEST(ZarmassScanReader, AFailedReadLeavesNothing) {
    QTemporaryDir dir;
    const QString path = WriteRun(dir);
    ASSERT_FALSE(path.isEmpty());
    VRawfile run;
    ZarmassSpectrum spectrum;
    spectrum.peaks.push_back({1.0, 2.0, 0.0f, 0});
    EXPECT_FALSE(ReadZarmassScan(run, 0.3, spectrum)) << "nothing open";
    EXPECT_TRUE(spectrum.peaks.empty());
    ASSERT_TRUE(run.open(path));
    EXPECT_FALSE(ReadZarmassAverage(run, 20, 30, spectrum)) << "no such scans";
    EXPECT_TRUE(spectrum.peaks.empty());
    EXPECT_FALSE(spectrum.averaged);
}

TEST(ZarmassScanReader, PolarityComesFromTheFilter) {
    EXPECT_TRUE(IsPositiveFilter(QStringLiteral("FTMS + p ESI Full ms [300.00-2000.00]")));
    EXPECT_FALSE(IsPositiveFilter(QStringLiteral("FTMS - p ESI Full ms [300.00-2000.00]")));
    EXPECT_TRUE(IsPositiveFilter(QString()));
}
