#include "fileio/VXConfiguration.h"
#include "fileio/VXCore.h"
#include "fileio/VXResults.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

TEST(VXRecordsTest, ConfigurationCopiesAndCompares) {
    CVXConfiguration a;
    CVXConfiguration b;
    EXPECT_TRUE(a.is_equal(b));
    // Touching a record creates it with its initial values: still equal.
    ASSERT_NE(a.GetAxesDefaults(3), nullptr);
    EXPECT_TRUE(a.is_equal(b));
    a.GetAxesDefaults(3)->YAxisAbsolute("Counts");
    EXPECT_FALSE(a.is_equal(b));
    b.copy_object(a);
    EXPECT_TRUE(b.is_equal(a));
    b.axesPositions.leftMode = 1;
    EXPECT_FALSE(b.is_equal(a));
    EXPECT_EQ(a.GetAxesDefaults(5), nullptr);
    EXPECT_EQ(a.GetAxesDefaults(-1), nullptr);
}

TEST(VXRecordsTest, UserTraceDefinitionsGrowOnAccessAndCount) {
    CVXUserTraceDefWrapper traces;
    EXPECT_EQ(traces.GetSize(), 0);
    CVXUserTraceDef* third = traces.GetAt(2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(traces.GetSize(), 3);
    EXPECT_TRUE(third->IsEmpty());
    third->detectorType = kVXMSDevice;
    third->enabled = 1;
    third->Title(QString(70, u'x'));
    EXPECT_EQ(third->Title().size(), CVXUserTraceDef::kMaxTitleLength);
    EXPECT_EQ(traces.CountEnabled(), 1);
    traces.SetSize(1);
    EXPECT_EQ(traces.CountEnabled(), 0);
    EXPECT_EQ(traces.GetAt(-1), nullptr);
}

TEST(VXRecordsTest, SpectrumListsGrowOnAccess) {
    CVXSpec spec;
    spec.GetMassRange(1)->high = 2000.0;
    EXPECT_EQ(spec.GetMassRangeCount(), 2);
    spec.GetPeakAt(0)->dPosition = 445.3;
    EXPECT_EQ(spec.GetPeakCount(), 1);
    spec.header.data.nScanNumber = 12;
    CVXSpec copy;
    copy.copy_object(spec);
    EXPECT_EQ(copy.header.data.nScanNumber, 12);
    spec.header.Initialize();
    EXPECT_EQ(spec.header.data.nScanNumber, 0);
    spec.Empty();
    EXPECT_EQ(spec.GetPeakCount(), 0);
}

TEST(VXRecordsTest, ChromatogramDataRangesFollowThePoints) {
    CVXChro chro;
    chro.UpdateDataRanges();
    EXPECT_EQ(chro.dataTimeEnd, 0.0);
    chro.points = {{1.0, 5.0, 0, 1}, {2.0, 50.0, 0, 2}, {3.0, 0.5, 0, 3}};
    chro.UpdateDataRanges();
    EXPECT_EQ(chro.dataTimeStart, 1.0);
    EXPECT_EQ(chro.dataTimeEnd, 3.0);
    EXPECT_EQ(chro.dataIntensityLow, 0.5);
    EXPECT_EQ(chro.dataIntensityHigh, 50.0);
}

TEST(VXRecordsTest, ChromatogramDisplayKeepsAxisCaptions) {
    CVXChroDisplay display;
    display.XAxisChromatogramLabel("Minutes");
    display.YAxisAbsoluteLabel("Counts");
    CVXChroDisplay copy;
    copy.copy_object(display);
    EXPECT_EQ(copy.XAxisChromatogramLabel(), "Minutes");
    EXPECT_EQ(copy.YAxisAbsoluteLabel(), "Counts");
    EXPECT_EQ(copy.YAxisRelativeLabel(), kDefaultYAxisRelative);
}

TEST(VXRecordsTest, ResultsHolderStartsEmpty) {
    CVXfile file;
    CVXResults* results = file.GetCurrentResults();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->RawFilePath().isEmpty());
    EXPECT_EQ(results->GetCurrentUserResult(), nullptr);
    results->SetRawFilePath("/data/run.mzML");
    results->GetUserResultAt(1)->Name("TIC");
    results->currentUserResult = 1;
    EXPECT_EQ(results->GetCurrentUserResult()->Name(), "TIC");
    results->Empty();
    EXPECT_TRUE(results->RawFilePath().isEmpty());
    EXPECT_TRUE(results->userResults.empty());
}

TEST(VXCoreTest, NamesOfDetectorAndTraceTypes) {
    const char* detectors[] = {"MS", "Analog", "A/D Card", "PDA", "UV"};
    QString name;
    for (int type = 0; type < 5; ++type) {
        ASSERT_TRUE(TranslateDetectorTypeToString(type, name));
        EXPECT_EQ(name, detectors[type]);
    }
    EXPECT_FALSE(TranslateDetectorTypeToString(5, name));
    EXPECT_TRUE(name.isEmpty());
    EXPECT_FALSE(TranslateDetectorTypeToString(-1, name));

    const std::pair<int, const char*> traces[] = {
        {0, "Mass Range"},        {1, "TIC"},
        {2, "Base Peak"},         {3, "Neutral Fragment"},
        {11, "Analog 1"},         {21, "Wavelength Range"},
        {22, "Total Absorbance"}, {23, "Spectrum Maximum"},
        {34, "Channel D"},        {41, "A/D Card Ch. 1"}};
    for (const auto& [type, expected] : traces) {
        ASSERT_TRUE(TranslateTraceTypeToString(type, name)) << type;
        EXPECT_EQ(name, expected);
    }
    EXPECT_FALSE(TranslateTraceTypeToString(5, name));
}

TEST(VXCoreTest, PathsAreTheProgramFolderAndAPerUserDataFolder) {
    QString program;
    ASSERT_TRUE(GetVeltrixCorePath(program));
    EXPECT_TRUE(QFileInfo(program).isDir());

    QTemporaryDir data;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QString folder;
    ASSERT_TRUE(GetVeltrixCoreDataPath(folder));
    EXPECT_EQ(folder, data.path() + "/Korvath/Veltrix");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    if (previous.isEmpty()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", previous);
    }
    EXPECT_FALSE(GetVeltrixCoreVersionString().isEmpty());
}

}  // namespace
