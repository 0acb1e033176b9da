#include "databases/DtaSpectrum.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;

namespace {

QString Fixture(const char* name) {
    return zartest::DataPath(QString("databases/fasta/") + name);
}

// A spectrum file of isolated peaks on an empty background.
QString WriteSpectrum(const QTemporaryDir& dir, double precursor, int charge,
                      const std::vector<std::pair<double, double>>& peaks) {
    QByteArray text =
        QByteArray::number(precursor, 'f', 4) + " " + QByteArray::number(charge) + "\n";
    for (const auto& [mz, intensity] : peaks)
        text += QByteArray::number(mz, 'f', 4) + " " + QByteArray::number(intensity, 'f', 1) + "\n";
    return dbtest::WriteFile(dir, "s.dta", text);
}

}  // namespace

TEST(DtaSpectrum, ReadsHeaderAndKeepsOnlyPositivePeaks) {
    CDtaSpectrum s;
    ASSERT_EQ(s.read(Fixture("search.dta")), CDtaSpectrum::ReadResult::Ok);
    EXPECT_DOUBLE_EQ(s.precursor(), 1000.5);
    EXPECT_EQ(s.charge(), 2);
    EXPECT_EQ(s.lineCount(), 4);
    ASSERT_EQ(s.peaks().size(), 2u);  // intensity 0 and negative m/z dropped
    EXPECT_DOUBLE_EQ(s.peaks()[1].mz, 300.0);
    EXPECT_DOUBLE_EQ(s.peaks()[1].intensity, 1000.0);
}

TEST(DtaSpectrum, BadFilesAreRefused) {
    const struct {
        const char* name;
        CDtaSpectrum::ReadResult result;
    } cases[] = {
        {"absent.dta", CDtaSpectrum::ReadResult::CannotOpen},
        {"badheader.dta", CDtaSpectrum::ReadResult::CannotRead},
        {"headeronly.dta", CDtaSpectrum::ReadResult::CannotRead},
    };
    for (const auto& c : cases) {
        CDtaSpectrum s;
        EXPECT_EQ(s.read(Fixture(c.name)), c.result) << c.name;
    }
    QTemporaryDir dir;
    CDtaSpectrum s;
    EXPECT_EQ(s.read(dbtest::WriteFile(dir, "empty.dta", "")),
              CDtaSpectrum::ReadResult::CannotRead);
    // Over-long lines are bounded, not overrun, and count once.
    const QString longLine =
        dbtest::WriteFile(dir, "long.dta", "500 1\n100 " + QByteArray(10000, '5') + "\n200 7\n");
    ASSERT_EQ(s.read(longLine), CDtaSpectrum::ReadResult::Ok);
    EXPECT_EQ(s.lineCount(), 2);
}

TEST(DtaSpectrum, ImpossibleHeaderNumbersAreRefusedByTheReader) {
    QTemporaryDir dir;
    for (const char* head : {"500 nan", "500 inf", "500 -inf", "500 1e308", "500 -1e308",
                             "500 2147483648", "nan 2", "inf 2", "-inf 2"}) {
        CDtaSpectrum s;
        EXPECT_EQ(s.read(dbtest::WriteFile(dir, "h.dta", QByteArray(head) + "\n100 5\n")),
                  CDtaSpectrum::ReadResult::CannotRead)
            << head;
    }
    CDtaSpectrum s;
    ASSERT_EQ(s.read(dbtest::WriteFile(dir, "h.dta", "500 2147483647.5\n100 5\n")),
              CDtaSpectrum::ReadResult::Ok);
    EXPECT_EQ(s.charge(), 2147483647);
}

TEST(DtaSpectrum, PrepareRefusesHeavyPrecursorsAndBadCharges) {
    for (const char* name : {"heavy.dta", "charge6.dta"}) {
        CDtaSpectrum s;
        ASSERT_EQ(s.read(Fixture(name)), CDtaSpectrum::ReadResult::Ok) << name;
        EXPECT_FALSE(s.prepare(kBinWidthAverage)) << name;
    }
    QTemporaryDir dir;
    CDtaSpectrum s;
    ASSERT_EQ(s.read(WriteSpectrum(dir, 8191.0, 5, {{100, 10}})), CDtaSpectrum::ReadResult::Ok);
    EXPECT_TRUE(s.prepare(kBinWidthAverage));
    EXPECT_EQ(s.bins().size(), 8192u);
}

TEST(DtaSpectrum, IsolatedPeaksAreAllKeptAndFound) {
    QTemporaryDir dir;
    std::vector<std::pair<double, double>> peaks;
    for (int i = 1; i <= 10; ++i) peaks.push_back({100.0 + 60.0 * i, 100.0 * i});
    peaks.push_back({1150.0, 5000.0});  // above MH+ + 100: left out of the bins
    CDtaSpectrum s;
    ASSERT_EQ(s.read(WriteSpectrum(dir, 1000.0, 2, peaks)), CDtaSpectrum::ReadResult::Ok);
    ASSERT_TRUE(s.prepare(kBinWidthMonoisotopic));
    EXPECT_EQ(s.bins().size(), 1024u);
    EXPECT_EQ(s.peaksUsed(), 10);
    for (int i = 1; i <= 10; ++i) EXPECT_TRUE(s.findPeak(100.0 + 60.0 * i)) << i;
    EXPECT_FALSE(s.findPeak(130.0));
    EXPECT_FALSE(s.findPeak(-1.0));
    EXPECT_FALSE(s.findPeak(1e300));
    double largest = 0.0;
    int nonZero = 0;
    for (double v : s.bins()) {
        largest = std::max(largest, v);
        nonZero += v > 0.0;
    }
    EXPECT_DOUBLE_EQ(largest, 100.0);
    EXPECT_LE(nonZero, kTopPeakSlots);
}

TEST(DtaSpectrum, OnlyTheLargestPeaksSurvive) {
    QTemporaryDir dir;
    std::vector<std::pair<double, double>> peaks;
    for (int i = 0; i < 600; ++i) peaks.push_back({50.0 + 10.0 * i, 10.0 + i});
    CDtaSpectrum s;
    ASSERT_EQ(s.read(WriteSpectrum(dir, 6500.0, 3, peaks)), CDtaSpectrum::ReadResult::Ok);
    ASSERT_TRUE(s.prepare(kBinWidthAverage));
    int nonZero = 0;
    for (double v : s.bins()) nonZero += v > 0.0;
    EXPECT_GT(nonZero, 0);
    EXPECT_LE(nonZero, kTopPeakSlots);
}

TEST(DtaSpectrum, ScanNumbersReadsLikeAFormattedScan) {
    double v[3];
    EXPECT_EQ(ScanNumbers("  1.5 -2e3\t7", v, 3), 3);
    EXPECT_DOUBLE_EQ(v[1], -2000.0);
    EXPECT_EQ(ScanNumbers("12 x 4", v, 3), 1);
    EXPECT_EQ(ScanNumbers("", v, 3), 0);
}
