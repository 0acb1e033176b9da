#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Scans 101..104: MS1, MS2 of 500.25 (cid), MS2 of 600.5 (hcd), MS1; 0.2 min apart.
RunSpectrum MakeScan(int index) {
    RunSpectrum s;
    s.scanNumber = 101 + index;
    s.retentionTime = 1.0 + 0.2 * index;
    s.msLevel = index == 1 || index == 2 ? 2 : 1;
    s.windowLow = s.msLevel == 1 ? 300.0 : 100.0;
    s.windowHigh = 2000.0;
    if (index == 1) s.precursors = {{500.25, 2, "cid", 35.0}};
    if (index == 2) s.precursors = {{600.5, 3, "hcd", 28.0}};
    if (index == 3) s.filterString = "FTMS + p NSI Full ms [300.00-2000.00]";
    for (int k = 0; k < 5; ++k) {
        s.mz.push_back(310.0 + 100.0 * k + index);
        s.intensity.push_back(1000.0 * (k + 1));
    }
    return s;
}

TEST(RunFileWriterTest, WrittenRunsReadBack) {
    QTemporaryDir folder;
    for (const char* name : {"run.mzML", "run.mzXML"}) {
        const QString path = folder.filePath(name);
        QString error;
        ASSERT_TRUE(WriteRunFile(path, 4, MakeScan, error)) << error.toStdString();
        VRawfile raw;
        ASSERT_TRUE(raw.open(path)) << raw.lastError().toStdString();
        EXPECT_EQ(raw.numSpectra(), 4) << name;
        EXPECT_EQ(raw.firstScan(), 101) << name;
        EXPECT_EQ(raw.lastScan(), 104) << name;
        EXPECT_NEAR(raw.endTime(), 1.6, 1e-9) << name;
        QString filter;
        ASSERT_TRUE(raw.filterForScan(102, filter));
        EXPECT_TRUE(filter.contains("ms2 500.25@cid35.00")) << filter.toStdString();
        ASSERT_TRUE(raw.filterForScan(103, filter));
        EXPECT_TRUE(filter.contains("ms2 600.50@hcd28.00")) << filter.toStdString();
        std::vector<CVXDataPeak> peaks;
        ASSERT_TRUE(raw.spectrum(104, peaks));
        ASSERT_EQ(peaks.size(), 5u);
        EXPECT_DOUBLE_EQ(peaks[4].dPosition, 713.0);
        EXPECT_DOUBLE_EQ(peaks[4].dIntensity, 5000.0);
        EXPECT_EQ(ReadEveryPeakWithLibrary(path, error), 20) << name;
    }
    // mzML keeps the instrument's own filter text.
    VRawfile raw;
    ASSERT_TRUE(raw.open(folder.filePath("run.mzML")));
    QString filter;
    ASSERT_TRUE(raw.filterForScan(104, filter));
    EXPECT_EQ(filter, "FTMS + p NSI Full ms [300.00-2000.00]");
}

TEST(RunFileWriterTest, AnMS1OnlyRunHasNoMSMS) {
    QTemporaryDir folder;
    const QString path = folder.filePath("ms1.mzML");
    QString error;
    ASSERT_TRUE(WriteRunFile(
        path, 3,
        [](int i) {
            RunSpectrum s = MakeScan(0);
            s.scanNumber = i + 1;
            s.retentionTime = i;
            return s;
        },
        error));
    VRawfile raw;
    ASSERT_TRUE(raw.open(path)) << raw.lastError().toStdString();
    bool msms = true;
    ASSERT_TRUE(raw.hasMSMS(raw.firstScan(), raw.lastScan(), msms));
    EXPECT_FALSE(msms);
    EXPECT_EQ(raw.filters(), QStringList{"+ c NSI Full ms [ 300.00-2000.00]"});
    std::vector<CVXChro> traces;
    ASSERT_TRUE(raw.chromatograms({{kVXTICTrace, "ms2", {}}}, 0, 0, traces));
    EXPECT_TRUE(traces[0].points.empty());
}

TEST(RunFileWriterTest, ReportsAFolderThatCannotBeWritten) {
    QString error;
    EXPECT_FALSE(WriteRunFile("/nonexistent-folder/run.mzML", 1, MakeScan, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadEveryPeakWithLibrary("/nonexistent-folder/run.mzML", error), -1);
}

}  // namespace
