#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"
#include "rawfile/RunFileWriter.h"

#include "core/Log.h"
#include "core/Numbers.h"

#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QString Fixture(const char* name) {
    return zartest::DataPath(QStringLiteral("rawfile/") + name);
}

// The fixture run (make_fixtures.py): six scans, MS1 MS2 MS3 MS1 MS2 MS1, at 0.5 0.6 0.7 1.0
// 1.1 1.5 minutes.
void OpenOrFail(VRawfile& raw, const char* name) {
    ASSERT_TRUE(raw.open(Fixture(name))) << raw.lastError().toStdString();
}

std::vector<std::pair<double, double>> Points(const CVXChro& trace) {
    std::vector<std::pair<double, double>> points;
    for (const CVXDataPeak& p : trace.points) points.emplace_back(p.dPosition, p.dIntensity);
    return points;
}

TEST(VRawfileTest, OpensEveryFormatWithScansAndTimes) {
    struct Case {
        const char* file;
        int count;
        int first;
        int last;
        double start;
        double end;
    };
    const Case cases[] = {
        {"run_filters.mzML", 6, 1, 6, 0.5, 1.5},
        {"run_composed.mzML", 6, 1, 6, 0.5, 1.5},
        {"run.mzXML", 6, 1, 6, 0.5, 1.5},
        {"run.mgf", 2, 1, 2, 0.6, 1.1},  // MGF has no scan numbers: index + 1
    };
    for (const Case& c : cases) {
        VRawfile raw;
        OpenOrFail(raw, c.file);
        EXPECT_TRUE(raw.isOpen());
        EXPECT_EQ(raw.fileName(), Fixture(c.file));
        EXPECT_EQ(raw.isAcquiring(), 0);
        EXPECT_EQ(raw.controllerCount(0), 1) << c.file;
        EXPECT_EQ(raw.controllerCount(3), 0) << c.file;
        EXPECT_TRUE(raw.setCurrentController(0, 1)) << c.file;
        EXPECT_EQ(raw.numSpectra(), c.count) << c.file;
        EXPECT_EQ(raw.firstScan(), c.first) << c.file;
        EXPECT_EQ(raw.lastScan(), c.last) << c.file;
        EXPECT_DOUBLE_EQ(raw.startTime(), c.start) << c.file;
        EXPECT_DOUBLE_EQ(raw.endTime(), c.end) << c.file;
    }
}

TEST(VRawfileTest, FilterTextsAreTheFilesOwnOrComposed) {
    struct Case {
        const char* file;
        int scan;
        const char* filter;
    };
    const Case cases[] = {
        {"run_filters.mzML", 1, "FTMS + c NSI Full ms [400.00-2000.00]"},
        {"run_filters.mzML", 2, "ITMS + c NSI d Full ms2 445.35@cid35.00 [110.00-905.00]"},
        {"run_filters.mzML", 3,
         "ITMS + c NSI d Full ms3 445.35@cid35.00 300.20@cid35.00 [80.00-610.00]"},
        {"run_composed.mzML", 1, "+ c NSI Full ms [ 400.00-2000.00]"},
        {"run_composed.mzML", 2, "+ c NSI Full ms2 445.35@cid35.00 [ 110.00-905.00]"},
        {"run_composed.mzML", 3,
         "+ c NSI Full ms3 445.35@cid35.00 300.20@cid35.00 [ 80.00-610.00]"},
        {"run_composed.mzML", 5, "+ c NSI Full ms2 600.30@hcd28.00 [ 150.00-1210.00]"},
        {"run.mzXML", 2, "+ c NSI Full ms2 445.35@cid35.00 [ 110.00-905.00]"},
        {"run.mzXML", 4, "+ c NSI Full ms [ 400.00-2000.00]"},
        {"run.mgf", 1, "+ c Full ms2 445.35"},
        {"run.mgf", 2, "+ c Full ms2 600.30"},
    };
    for (const Case& c : cases) {
        VRawfile raw;
        OpenOrFail(raw, c.file);
        QString filter;
        ASSERT_TRUE(raw.filterForScan(c.scan, filter)) << c.file << " " << c.scan;
        EXPECT_EQ(filter.toStdString(), c.filter) << c.file << " " << c.scan;
        // Every filter text reads as a scan filter.
        CVX_FilterStruct check(9, 2, 2);
        EXPECT_TRUE(check.FilterInRng(filter)) << filter.toStdString();
    }
}

TEST(VRawfileTest, ComposedMSnFiltersCarryThePrecursorAfterTheOrder) {
    // Readers of MSn lists take the precursor four characters after "ms2".
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    QString filter;
    ASSERT_TRUE(raw.filterForScan(2, filter));
    const int at = filter.indexOf("ms2");
    ASSERT_GE(at, 0);
    EXPECT_DOUBLE_EQ(LeadingDouble(filter.mid(at + 4)), 445.35);
}

TEST(VRawfileTest, ListsEachFilterTextOnceInOrder) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    EXPECT_EQ(raw.filters(),
              (QStringList{"+ c NSI Full ms [ 400.00-2000.00]",
                           "+ c NSI Full ms2 445.35@cid35.00 [ 110.00-905.00]",
                           "+ c NSI Full ms3 445.35@cid35.00 300.20@cid35.00 [ 80.00-610.00]",
                           "+ c NSI Full ms2 600.30@hcd28.00 [ 150.00-1210.00]"}));
}

TEST(VRawfileTest, ConvertsBetweenTimesAndScans) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    const std::pair<double, int> toScan[] = {
        {-1.0, 1}, {0.0, 1}, {0.5, 1}, {0.55, 1},  // halfway: the earlier scan
        {0.56, 2}, {0.7, 3}, {1.2, 5}, {1.3, 5},  {1.31, 6}, {99.0, 6},
    };
    for (const auto& [time, expected] : toScan) {
        int scan = 0;
        ASSERT_TRUE(raw.retentionTimeToScan(time, scan));
        EXPECT_EQ(scan, expected) << time;
    }
    const std::pair<int, double> toTime[] = {{1, 0.5}, {2, 0.6}, {3, 0.7}, {6, 1.5}};
    for (const auto& [scan, expected] : toTime) {
        double time = 0.0;
        ASSERT_TRUE(raw.scanToRetentionTime(scan, time));
        EXPECT_DOUBLE_EQ(time, expected) << scan;
    }
    double time = -5.0;
    EXPECT_FALSE(raw.scanToRetentionTime(0, time));
    EXPECT_FALSE(raw.scanToRetentionTime(7, time));
    EXPECT_EQ(time, -5.0);
    EXPECT_EQ(raw.lastError(), "Scan 7 is not in the run (scans 1 to 6).");
}

TEST(VRawfileTest, KeepsScanNumbersWithGaps) {
    VRawfile raw;
    OpenOrFail(raw, "gaps.mzML");
    EXPECT_EQ(raw.numSpectra(), 3);
    EXPECT_EQ(raw.firstScan(), 10);
    EXPECT_EQ(raw.lastScan(), 35);
    double time = 0.0;
    EXPECT_TRUE(raw.scanToRetentionTime(20, time));
    EXPECT_DOUBLE_EQ(time, 0.6);
    EXPECT_FALSE(raw.scanToRetentionTime(11, time));
    int scan = 0;
    ASSERT_TRUE(raw.retentionTimeToScan(0.7, scan));
    EXPECT_EQ(scan, 35);
    bool msms = false;
    ASSERT_TRUE(raw.hasMSMS(11, 19, msms));
    EXPECT_FALSE(msms);
    ASSERT_TRUE(raw.hasMSMS(11, 20, msms));
    EXPECT_TRUE(msms);
}

TEST(VRawfileTest, ReadsSpectraAndHeaders) {
    VRawfile raw;
    OpenOrFail(raw, "run_filters.mzML");
    std::vector<CVXDataPeak> peaks;
    RawScanHeader header;
    ASSERT_TRUE(raw.spectrum(2, peaks, &header));
    ASSERT_EQ(peaks.size(), 3u);
    EXPECT_DOUBLE_EQ(peaks[0].dPosition, 200.10);
    EXPECT_DOUBLE_EQ(peaks[1].dIntensity, 300.0);
    EXPECT_EQ(peaks[2].nScanPosition, 2);
    EXPECT_EQ(header.scanNumber, 2);
    EXPECT_EQ(header.isCentroid, 1);
    EXPECT_DOUBLE_EQ(header.retentionTime, 0.6);
    EXPECT_DOUBLE_EQ(header.lowMass, 110.0);
    EXPECT_DOUBLE_EQ(header.highMass, 905.0);
    EXPECT_DOUBLE_EQ(header.totalIonCurrent, 450.0);
    EXPECT_DOUBLE_EQ(header.basePeakMass, 300.20);
    EXPECT_DOUBLE_EQ(header.basePeakIntensity, 300.0);
    EXPECT_EQ(header.peakCount, 3);
    EXPECT_EQ(header.msLevel, 2);
    EXPECT_DOUBLE_EQ(header.precursorMass, 445.35);
    EXPECT_EQ(header.precursorCharge, 2);

    RawScanHeader header3;
    ASSERT_TRUE(raw.scanHeader(3, header3));
    EXPECT_EQ(header3.msLevel, 3);
    EXPECT_FALSE(raw.spectrum(9, peaks));
    EXPECT_EQ(peaks.size(), 3u);  // untouched on failure

    EXPECT_DOUBLE_EQ(raw.lowMass(), 80.0);
    EXPECT_DOUBLE_EQ(raw.highMass(), 2000.0);
    EXPECT_DOUBLE_EQ(raw.totalIonCurrent(), 1700 + 450 + 60 + 2100 + 80 + 1400);
}

TEST(VRawfileTest, SpectrumAtATimeTakesTheNearestScanThatPassesTheFilter) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    struct Case {
        double time;
        const char* filter;
        int scan;
    };
    const Case cases[] = {
        {0.6, "", 2},    {0.6, "ms", 1},  {0.75, "ms", 1},  // halfway: the earlier
        {0.76, "ms", 4}, {1.0, "ms2", 5}, {0.0, "ms3", 3}, {1.0, "ms2 445.35", 2},
    };
    for (const Case& c : cases) {
        CVXFilter filter;
        ASSERT_TRUE(filter.FilterString(c.filter));
        std::vector<CVXDataPeak> peaks;
        RawScanHeader header;
        ASSERT_TRUE(raw.spectrumAtTime(c.time, &filter, peaks, &header)) << c.filter;
        EXPECT_EQ(header.scanNumber, c.scan) << c.time << " " << c.filter;
        ASSERT_FALSE(peaks.empty());
        EXPECT_EQ(peaks.front().nScanPosition, c.scan);
    }
    std::vector<CVXDataPeak> peaks;
    ASSERT_TRUE(raw.spectrumAtTime(1.45, nullptr, peaks));
    EXPECT_EQ(peaks.front().nScanPosition, 6);
    CVXFilter negative;
    ASSERT_TRUE(negative.FilterString("- Full ms"));
    EXPECT_FALSE(raw.spectrumAtTime(1.0, &negative, peaks));
    EXPECT_EQ(raw.lastError(), "No scan of the run passes the filter \"- Full ms\".");
}

TEST(VRawfileTest, AveragesTheSpectraOfSeveralScans) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    std::vector<CVXDataPeak> peaks;
    RawAverageInfo info;
    ASSERT_TRUE(raw.averageSpectrum({4, 1, 6}, peaks, &info));
    EXPECT_EQ(info.firstScan, 1);
    EXPECT_EQ(info.lastScan, 6);
    EXPECT_DOUBLE_EQ(info.firstTime, 0.5);
    EXPECT_DOUBLE_EQ(info.lastTime, 1.5);
    EXPECT_EQ(info.scansAveraged, 3);
    // 445.35 (1000, 2000) merge; 445.36 is 0.01 away and stays apart.
    const std::vector<std::pair<double, double>> expected = {
        {445.35, 1000.0}, {445.36, 500.0 / 3}, {600.30, 200.0}, {800.0, 200.0 / 3}, {900.0, 300.0}};
    ASSERT_EQ(peaks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(peaks[i].dPosition, expected[i].first, 1e-9) << i;
        EXPECT_NEAR(peaks[i].dIntensity, expected[i].second, 1e-9) << i;
    }
    EXPECT_FALSE(raw.averageSpectrum({}, peaks));
    EXPECT_FALSE(raw.averageSpectrum({1, 7}, peaks));
    EXPECT_EQ(peaks.size(), expected.size());
}

TEST(VRawfileTest, ComputesSeveralChromatogramsAtOnce) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    std::vector<RawChroRequest> requests(6);
    requests[0] = {kVXTICTrace, "", {}};
    requests[1] = {kVXTICTrace, "+ Full ms", {}};
    requests[2] = {kVXMassRangeTrace, "ms", {{445.0, 446.0}, {899.5, 900.5}}};
    requests[3] = {kVXBasePeakTrace, "ms", {{400.0, 700.0}}};
    requests[4] = {kVXBasePeakTrace, "ms2", {}};
    requests[5] = {kVXNeutralFragmentTrace, "ms2", {{18.01, 18.01}}};
    std::vector<CVXChro> traces;
    ASSERT_TRUE(raw.chromatograms(requests, 0.0, 0.0, traces)) << raw.lastError().toStdString();
    ASSERT_EQ(traces.size(), 6u);

    using P = std::vector<std::pair<double, double>>;
    EXPECT_EQ(Points(traces[0]),
              (P{{0.5, 1700}, {0.6, 450}, {0.7, 60}, {1.0, 2100}, {1.1, 80}, {1.5, 1400}}));
    EXPECT_EQ(Points(traces[1]), (P{{0.5, 1700}, {1.0, 2100}, {1.5, 1400}}));
    EXPECT_EQ(Points(traces[2]), (P{{0.5, 1000}, {1.0, 2000}, {1.5, 1400}}));
    EXPECT_EQ(Points(traces[3]), (P{{0.5, 1000}, {1.0, 2000}, {1.5, 500}}));
    EXPECT_EQ(Points(traces[4]), (P{{0.6, 300}, {1.1, 70}}));
    EXPECT_EQ(Points(traces[5]), (P{{0.6, 50}, {1.1, 70}}));  // 445.35 - 18.01, 600.30 - 18.01

    EXPECT_FLOAT_EQ(traces[3].points[2].fBasePeakMass, 445.36f);
    EXPECT_EQ(traces[1].points[1].nScanPosition, 4);
    EXPECT_EQ(traces[0].traceType, kVXTICTrace);
    EXPECT_EQ(traces[2].massRanges.size(), 2u);
    EXPECT_DOUBLE_EQ(traces[0].dataTimeStart, 0.5);
    EXPECT_DOUBLE_EQ(traces[0].dataTimeEnd, 1.5);
    EXPECT_DOUBLE_EQ(traces[0].dataIntensityHigh, 2100.0);

    // A time range keeps the scans inside it.
    ASSERT_TRUE(raw.chromatograms({requests[0]}, 0.55, 1.05, traces));
    EXPECT_EQ(Points(traces[0]), (P{{0.6, 450}, {0.7, 60}, {1.0, 2100}}));
}

TEST(VRawfileTest, ChromatogramsAreComputedOncePerFileAndReadPeaksOnce) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    EXPECT_FALSE(raw.peaksInMemory());  // opening keeps only the scan table
    const long long readsAfterOpen = raw.spectraReadFromDisk();
    EXPECT_EQ(readsAfterOpen, 6);

    std::vector<CVXChro> first;
    std::vector<CVXChro> second;
    const std::vector<RawChroRequest> tic = {{kVXTICTrace, "", {}}};
    ASSERT_TRUE(raw.chromatograms(tic, 0, 0, first));
    EXPECT_EQ(raw.chromatogramsComputed(), 1);
    ASSERT_TRUE(raw.chromatograms(tic, 0, 0, second));
    EXPECT_EQ(raw.chromatogramsComputed(), 1);
    EXPECT_EQ(Points(first[0]), Points(second[0]));
    EXPECT_EQ(raw.spectraReadFromDisk(), readsAfterOpen);
    EXPECT_FALSE(raw.peaksInMemory());

    // The first mass range reads every scan's peaks once; further ones come from memory.
    ASSERT_TRUE(raw.chromatograms({{kVXMassRangeTrace, "", {{300.0, 301.0}}}}, 0, 0, second));
    EXPECT_EQ(raw.chromatogramsComputed(), 2);
    EXPECT_TRUE(raw.peaksInMemory());
    EXPECT_EQ(raw.spectraReadFromDisk(), 2 * readsAfterOpen);
    ASSERT_TRUE(raw.chromatograms({{kVXMassRangeTrace, "ms", {{445.0, 446.0}}}}, 0, 0, second));
    EXPECT_EQ(raw.chromatogramsComputed(), 3);
    EXPECT_EQ(raw.spectraReadFromDisk(), 2 * readsAfterOpen);
    EXPECT_EQ(Points(second[0]),
              (std::vector<std::pair<double, double>>{{0.5, 1000}, {1.0, 2000}, {1.5, 500}}));

    // Reopening starts a new cache.
    OpenOrFail(raw, "run_composed.mzML");
    ASSERT_TRUE(raw.chromatograms(tic, 0, 0, second));
    EXPECT_EQ(raw.chromatogramsComputed(), 1);
}

TEST(VRawfileTest, WithoutRoomForPeaksMassRangesAreReadFromTheFile) {
    VRawfile raw;
    raw.setPeakCacheLimit(100);  // less than the run's peaks
    OpenOrFail(raw, "run_composed.mzML");
    EXPECT_FALSE(raw.peaksInMemory());
    const long long readsAfterOpen = raw.spectraReadFromDisk();
    std::vector<CVXChro> traces;
    ASSERT_TRUE(raw.chromatograms({{kVXTICTrace, "", {}}}, 0, 0, traces));
    EXPECT_EQ(raw.spectraReadFromDisk(), readsAfterOpen);  // from the scan table
    ASSERT_TRUE(raw.chromatograms({{kVXMassRangeTrace, "ms", {{445.0, 446.0}}}}, 0, 0, traces));
    EXPECT_FALSE(raw.peaksInMemory());
    EXPECT_EQ(raw.spectraReadFromDisk(), readsAfterOpen + 3);
    EXPECT_EQ(Points(traces[0]),
              (std::vector<std::pair<double, double>>{{0.5, 1000}, {1.0, 2000}, {1.5, 500}}));

    // The log says why, once.
    ASSERT_TRUE(raw.chromatograms({{kVXMassRangeTrace, "ms", {{446.0, 447.0}}}}, 0, 0, traces));
    QFile log(LogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_EQ(text.count(QStringLiteral("more than the peak cache may take")), 1) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("run_composed.mzML\" holds 14 peaks")))
        << text.toStdString();
}

TEST(VRawfileTest, PeakCacheLimitFollowsTheMachine) {
    // A quarter of the memory: room for any ordinary run, never all of it.
    const std::size_t limit = VRawfile::AutomaticPeakCacheLimit();
    EXPECT_GE(limit, std::size_t{64} << 20);
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    std::vector<CVXChro> traces;
    ASSERT_TRUE(raw.chromatograms({{kVXMassRangeTrace, "", {{445.0, 446.0}}}}, 0, 0, traces));
    EXPECT_TRUE(raw.peaksInMemory());
}

TEST(VRawfileTest, RefusesBadChromatogramRequests) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    std::vector<CVXChro> traces(1);
    traces[0].traceType = 99;
    struct Case {
        RawChroRequest request;
        const char* error;
    };
    const Case cases[] = {
        {{kVXTICTrace, "+ c Fulll ms", {}},
         "The scan filter \"+ c Fulll ms\" of trace 1 is invalid."},
        {{kVXMassRangeTrace, "", {}}, "A mass range trace needs at least one mass range."},
        {{kVXNeutralFragmentTrace, "", {}}, "A neutral fragment trace needs at least one mass."},
        {{kVXWavelengthRangeTrace, "", {{200, 300}}},
         "Trace type 21 is not available in a run file; only mass range, TIC, base peak and "
         "neutral fragment traces are."},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(raw.chromatograms({c.request}, 0, 0, traces));
        EXPECT_EQ(raw.lastError().toStdString(), c.error);
        EXPECT_EQ(traces[0].traceType, 99);  // output untouched
    }
}

TEST(VRawfileTest, BadFilesFailWithAClearText) {
    QTemporaryDir folder;
    struct Case {
        QString path;
        const char* startOfError;
    };
    const Case cases[] = {
        {"", "No file name was given."},
        {Fixture("missing.mzML"), "The file \""},
        {folder.path(), "\""},
        {Fixture("not_a_run.mzML"), "The file \""},
        {Fixture("truncated.mzML"), "The file \""},
        {Fixture("bad_peaks.mzML"), "The file \""},
    };
    const char* endsOfError[] = {
        "No file name was given.",
        "\" does not exist.",
        "\" is a folder, not a run file.",
        "or it is damaged: unsupported file format",
        "",
        "",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        VRawfile raw;
        EXPECT_FALSE(raw.open(cases[i].path)) << cases[i].path.toStdString();
        EXPECT_FALSE(raw.isOpen());
        EXPECT_TRUE(raw.fileName().isEmpty());
        EXPECT_TRUE(raw.lastError().startsWith(cases[i].startOfError))
            << raw.lastError().toStdString();
        EXPECT_TRUE(raw.lastError().endsWith(endsOfError[i])) << raw.lastError().toStdString();
    }
    VRawfile raw;
    EXPECT_FALSE(raw.open(Fixture("bad_peaks.mzML")));
    EXPECT_TRUE(raw.lastError().contains("is damaged: spectrum 4 of 6 cannot be read"))
        << raw.lastError().toStdString();
}

// Everything the reader gives of an open run, scan by scan.
QStringList Described(VRawfile& raw) {
    QStringList lines{QStringLiteral("%1 spectra, scans %2-%3, %4")
                          .arg(raw.numSpectra())
                          .arg(raw.firstScan())
                          .arg(raw.lastScan())
                          .arg(raw.filters().join(QLatin1Char('|')))};
    for (int scan = raw.firstScan(); scan > 0 && scan <= raw.lastScan(); ++scan) {
        RawScanHeader header;
        std::vector<CVXDataPeak> peaks;
        if (!raw.spectrum(scan, peaks, &header)) continue;
        QString line = QStringLiteral("scan %1 ms%2 at %3, precursor %4 (%5+), %6 peaks:")
                           .arg(header.scanNumber)
                           .arg(header.msLevel)
                           .arg(header.retentionTime)
                           .arg(header.precursorMass)
                           .arg(header.precursorCharge)
                           .arg(peaks.size());
        for (const CVXDataPeak& peak : peaks)
            line += QStringLiteral(" %1/%2").arg(peak.dPosition).arg(peak.dIntensity);
        lines << line;
    }
    return lines;
}

TEST(VRawfileTest, TheBytesOfARunAreReadAsTheFileIs) {
    QTemporaryDir folder;
    // Runs with and without their index, of every format, and files that are no runs.
    const auto written = [&folder](const char* name) {
        const QString path = folder.filePath(QLatin1String(name));
        QString error;
        const bool made = WriteRunFile(
            path, 3,
            [](int index) {
                RunSpectrum s;
                s.scanNumber = 201 + 2 * index;
                s.msLevel = index == 1 ? 2 : 1;
                s.retentionTime = 2.0 + index;
                if (index == 1) s.precursors = {{650.5, 2, "hcd", 30.0}};
                s.mz = {150.0 + index, 250.5};
                s.intensity = {10.0, 20.0 + index};
                return s;
            },
            error);
        EXPECT_TRUE(made) << error.toStdString();
        return path;
    };
    const QString renamed = folder.filePath(QStringLiteral("peaks.txt"));
    ASSERT_TRUE(QFile::copy(Fixture("run.mgf"), renamed));
    struct Case {
        QString path;
        bool opens;
    };
    const Case cases[] = {
        {Fixture("run_filters.mzML"), true}, {Fixture("run_composed.mzML"), true},
        {Fixture("gaps.mzML"), true},        {Fixture("empty_run.mzML"), true},
        {Fixture("run.mzXML"), true},        {Fixture("run.mgf"), true},
        {Fixture("titled.mgf"), true},       {written("indexed.mzML"), true},
        {written("indexed.mzXML"), true},    {written("written.mgf"), true},
        {Fixture("not_a_run.mzML"), false},  {Fixture("truncated.mzML"), false},
        {Fixture("bad_peaks.mzML"), false},  {renamed, false},
    };
    for (const Case& c : cases) {
        QFile file(c.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.path.toStdString();
        const QByteArray bytes = file.readAll();
        VRawfile fromFile;
        VRawfile fromBytes;
        EXPECT_EQ(fromFile.open(c.path), c.opens) << fromFile.lastError().toStdString();
        EXPECT_EQ(fromBytes.openBytes(bytes, QFileInfo(c.path).fileName()), c.opens)
            << fromBytes.lastError().toStdString();
        if (!c.opens) continue;
        const QStringList described = Described(fromFile);
        EXPECT_GT(described.size(), c.path.endsWith(QLatin1String("empty_run.mzML")) ? 0 : 1)
            << c.path.toStdString();
        EXPECT_EQ(Described(fromBytes), described) << c.path.toStdString();
    }
}

TEST(VRawfileTest, AFailedOpenLeavesNothingOpen) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    EXPECT_FALSE(raw.open(Fixture("truncated.mzML")));
    EXPECT_FALSE(raw.isOpen());
    EXPECT_EQ(raw.numSpectra(), 0);
    int scan = 0;
    EXPECT_FALSE(raw.retentionTimeToScan(1.0, scan));
    EXPECT_EQ(raw.lastError(), "No run file is open.");
}

TEST(VRawfileTest, ARunWithoutScansHasNoMassSpectrometer) {
    VRawfile raw;
    OpenOrFail(raw, "empty_run.mzML");
    EXPECT_EQ(raw.numSpectra(), 0);
    EXPECT_EQ(raw.controllerCount(0), 0);
    EXPECT_FALSE(raw.setCurrentController(0, 1));
    EXPECT_TRUE(raw.lastError().endsWith("holds no mass spectra."));
    int scan = 0;
    EXPECT_FALSE(raw.retentionTimeToScan(0.0, scan));
    EXPECT_EQ(raw.lastError(), "The run holds no scans.");
    std::vector<CVXChro> traces;
    ASSERT_TRUE(raw.chromatograms({{kVXTICTrace, "", {}}}, 0, 0, traces));
    EXPECT_TRUE(traces[0].points.empty());
    EXPECT_TRUE(raw.filters().isEmpty());
}

TEST(VRawfileTest, EveryCallFailsCleanlyWhenNothingIsOpen) {
    VRawfile raw;
    double time = 0;
    int scan = 0;
    QString text;
    RawScanHeader header;
    std::vector<CVXDataPeak> peaks;
    std::vector<CVXChro> traces;
    bool msms = false;
    EXPECT_FALSE(raw.setCurrentController(0, 1));
    EXPECT_FALSE(raw.scanToRetentionTime(1, time));
    EXPECT_FALSE(raw.retentionTimeToScan(1.0, scan));
    EXPECT_FALSE(raw.filterForScan(1, text));
    EXPECT_FALSE(raw.scanHeader(1, header));
    EXPECT_FALSE(raw.spectrum(1, peaks));
    EXPECT_FALSE(raw.spectrumAtTime(1.0, nullptr, peaks));
    EXPECT_FALSE(raw.chromatograms({{}}, 0, 0, traces));
    EXPECT_FALSE(raw.hasMSMS(1, 2, msms));
    EXPECT_EQ(raw.lastError(), "No run file is open.");
    EXPECT_EQ(raw.numSpectra(), 0);
    EXPECT_EQ(raw.controllerCount(0), 0);
    EXPECT_EQ(raw.startTime(), 0.0);
}

TEST(VRawfileTest, TellsWhetherAScanRangeHoldsMSMS) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    struct Case {
        int first;
        int last;
        bool msms;
    };
    const Case cases[] = {{1, 1, false}, {1, 2, true}, {3, 3, true}, {4, 4, false}, {6, 99, false}};
    for (const Case& c : cases) {
        bool msms = !c.msms;
        ASSERT_TRUE(raw.hasMSMS(c.first, c.last, msms));
        EXPECT_EQ(msms, c.msms) << c.first << "-" << c.last;
    }
    bool msms = false;
    EXPECT_FALSE(raw.hasMSMS(5, 4, msms));
}

TEST(VRawfileTest, ControllersOtherThanTheMassSpectrometerAreRefused) {
    VRawfile raw;
    OpenOrFail(raw, "run_composed.mzML");
    EXPECT_FALSE(raw.setCurrentController(3, 1));
    EXPECT_FALSE(raw.setCurrentController(0, 2));
    EXPECT_TRUE(raw.setCurrentController(0, 1));
}

}  // namespace

namespace {

// A run that stores all its MS1 scans (1-10, one a minute from 10 min) before its MS/MS scans
// (11-30, two after each MS1 scan, 0.3 and 0.6 min later), as some instruments' exports do.
QString WriteMs1FirstRun(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("ms1-first.mzML"));
    QString error;
    const bool written = WriteRunFile(
        path, 30,
        [](int i) {
            RunSpectrum s;
            s.scanNumber = i + 1;
            if (i < 10) {
                s.retentionTime = 10.0 + i;
            } else {
                const int k = i - 10;
                s.msLevel = 2;
                s.retentionTime = 10.0 + k / 2 + (k % 2 == 0 ? 0.3 : 0.6);
                s.precursors.push_back(RunPrecursor{500.0 + k, 2});
            }
            s.mz = {200.0, 300.0};
            s.intensity = {10.0, 20.0};
            return s;
        },
        error);
    EXPECT_TRUE(written) << error.toStdString();
    return path;
}

}  // namespace

TEST(VRawfileTest, ATimeRangeGivesTheScansOfEachLevelThatLieInIt) {
    QTemporaryDir folder;
    VRawfile raw;
    ASSERT_TRUE(raw.open(WriteMs1FirstRun(folder))) << raw.lastError().toStdString();
    const struct {
        double start, end;
        int level;
        int first, last;
    } cases[] = {
        {12.0, 14.0, 1, 3, 5},    // MS1 scans at 12, 13 and 14 min
        {12.0, 14.0, 2, 15, 18},  // MS/MS at 12.3, 12.6, 13.3, 13.6
        {14.0, 12.0, 1, 3, 5},    // the ends in either order
        {12.1, 12.2, 1, 3, 3},    // between two scans: the nearest one of the level
        {12.1, 12.2, 2, 15, 15},
        {0.0, 5.0, 1, 1, 1},      // before the run: its first scan of the level
        {40.0, 50.0, 2, 30, 30},  // after it: the last
    };
    for (const auto& c : cases) {
        int first = -1;
        int last = -1;
        ASSERT_TRUE(raw.scanRangeForTimes(c.start, c.end, c.level, first, last));
        EXPECT_EQ(first, c.first) << c.start << "-" << c.end << " level " << c.level;
        EXPECT_EQ(last, c.last) << c.start << "-" << c.end << " level " << c.level;
    }
    int first = 0;
    int last = 0;
    EXPECT_FALSE(raw.scanRangeForTimes(12.0, 14.0, 3, first, last)) << "no MS3 scans";
}

TEST(VRawfileTest, TimeRangesOfARealRunStoredMs1FirstStayInTheirTimes) {
    const QString run = zartest::RealDataPath(QStringLiteral("BSA2.mzML"));
    if (run.isEmpty()) GTEST_SKIP() << "real data not fetched";
    VRawfile raw;
    ASSERT_TRUE(raw.open(run)) << raw.lastError().toStdString();
    const double start = 29.98;
    const double end = 31.99;
    for (int level : {1, 2}) {
        int first = 0;
        int last = 0;
        ASSERT_TRUE(raw.scanRangeForTimes(start, end, level, first, last));
        ASSERT_LE(first, last);
        // Every scan of the level the range holds lies in the times asked for.
        int inRange = 0;
        for (int scan = first; scan <= last; ++scan) {
            RawScanHeader h;
            if (!raw.scanHeader(scan, h) || h.msLevel != level) continue;
            EXPECT_GE(h.retentionTime, start - 1e-6) << "scan " << scan;
            EXPECT_LE(h.retentionTime, end + 1e-6) << "scan " << scan;
            ++inRange;
        }
        EXPECT_GT(inRange, 5) << "level " << level;
    }
}
