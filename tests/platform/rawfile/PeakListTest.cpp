// Peak lists (MGF): scan numbers from what converters write, impossible precursors.

#include "rawfile/VRawfile.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;

namespace {

// A peak list of one spectrum per block of header lines.
QString WritePeakList(const QTemporaryDir& dir, const QStringList& headers) {
    QByteArray text;
    for (const QString& header : headers)
        text +=
            "BEGIN IONS\n" + header.toUtf8() + "\nCHARGE=2+\n200.1 100.0\n300.2 50.0\nEND IONS\n";
    const QString path = dir.filePath(QStringLiteral("list.mgf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return QString();
    return path;
}

TEST(PeakList, ScanNumbersComeFromTheTitlesAndScanLines) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(zartest::DataPath(QStringLiteral("rawfile/titled.mgf"))))
        << raw.lastError().toStdString();
    ASSERT_TRUE(raw.setCurrentController(0, 1));
    EXPECT_EQ(raw.numSpectra(), 3);
    EXPECT_EQ(raw.firstScan(), 565);
    EXPECT_EQ(raw.lastScan(), 570);
    RawScanHeader header;
    ASSERT_TRUE(raw.scanHeader(566, header));
    EXPECT_DOUBLE_EQ(header.precursorMass, 500.9);
    EXPECT_EQ(header.precursorCharge, 3);
    EXPECT_FALSE(raw.scanHeader(567, header)) << "no such scan";
}

TEST(PeakList, WhatCountsAsAScanNumber) {
    const struct {
        const char* first;
        const char* second;
        int firstScan;
        int lastScan;
    } cases[] = {
        {"TITLE=a scan=12", "TITLE=b scan=15", 12, 15},
        {"TITLE=x NativeID:\"controllerType=0 scan=7\"", "TITLE=y, scan=9,", 7, 9},
        {"SCANS=900-902\nTITLE=a scan=5", "SCANS=910,911", 900, 910},
        {"TITLE=rescan=12", "TITLE=b scan=15", 1, 2},    // not a word of its own: positions
        {"TITLE=a scan=12.5", "TITLE=b scan=15", 1, 2},  // not a whole number
        {"TITLE=a scan=x12", "TITLE=b scan=15", 1, 2},
        {"TITLE=a scan=12", "TITLE=b", 1, 2},          // one without: positions for all
        {"TITLE=a scan=12", "TITLE=b scan=12", 1, 2},  // the same twice: positions
        {"SCANS=0", "SCANS=-4", 1, 2},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        VRawfile raw;
        ASSERT_TRUE(raw.open(WritePeakList(dir, {c.first, c.second})))
            << raw.lastError().toStdString();
        ASSERT_TRUE(raw.setCurrentController(0, 1));
        EXPECT_EQ(raw.firstScan(), c.firstScan) << c.first << " / " << c.second;
        EXPECT_EQ(raw.lastScan(), c.lastScan) << c.first << " / " << c.second;
    }
}

TEST(PeakList, ImpossiblePrecursorsCountAsNotGiven) {
    for (const char* pepmass : {"-5", "0", "1e308", "-1e308", "nan", "inf", "250000"}) {
        QTemporaryDir dir;
        VRawfile raw;
        ASSERT_TRUE(raw.open(WritePeakList(
            dir, {QStringLiteral("TITLE=a\nPEPMASS=%1").arg(pepmass), "TITLE=b\nPEPMASS=445.35"})))
            << pepmass << ": " << raw.lastError().toStdString();
        ASSERT_TRUE(raw.setCurrentController(0, 1));
        RawScanHeader header;
        ASSERT_TRUE(raw.scanHeader(1, header)) << pepmass;
        EXPECT_EQ(header.precursorMass, 0.0) << pepmass;
        ASSERT_TRUE(raw.scanHeader(2, header));
        EXPECT_DOUBLE_EQ(header.precursorMass, 445.35);
    }
}

}  // namespace

namespace {

TEST(PeakList, NumbersThatAreNoNumbersAreLeftOut) {
    QTemporaryDir dir;
    VRawfile raw;
    ASSERT_TRUE(raw.open(
        WritePeakList(dir, {"TITLE=a\nRTINSECONDS=nan\nPEPMASS=445.35\nnan 20.0\n300.0 inf\n",
                            "TITLE=b\nRTINSECONDS=12\nPEPMASS=445.35"})))
        << raw.lastError().toStdString();
    ASSERT_TRUE(raw.setCurrentController(0, 1));
    std::vector<CVXDataPeak> peaks;
    RawScanHeader header;
    ASSERT_TRUE(raw.spectrum(1, peaks, &header));
    ASSERT_EQ(peaks.size(), 2u) << "the block's own two peaks; the two impossible ones are out";
    EXPECT_DOUBLE_EQ(peaks[0].dPosition, 200.1);
    EXPECT_DOUBLE_EQ(header.retentionTime, 0.0);
    ASSERT_TRUE(raw.averageSpectrum({1, 2}, peaks));
    for (const CVXDataPeak& p : peaks) EXPECT_TRUE(std::isfinite(p.dPosition));
}

}  // namespace
