// A scan list as the document hands it over: filter texts decide kind and precursor.

#include "interpretation/DenovoEngine.h"

#include "TestSupport.h"
#include "core/TextFile.h"

#include <gtest/gtest.h>

using zar::CDenovoEngine;
using zar::DenovoParams;
using zar::DenovoScan;

namespace {

// Reads the fixture's scans; scans that are neither MS2 nor MS3 get kind 0.
std::vector<DenovoScan> ReadScanList(const QString& path) {
    QStringList lines;
    EXPECT_TRUE(zar::ReadTextLines(path, lines));
    std::vector<DenovoScan> scans;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty()) continue;
        if (line.startsWith(QLatin1String("SCAN "))) {
            DenovoScan scan;
            if (!zar::ParseDenovoScanFilter(line.mid(5), &scan.kind, &scan.precursor))
                scan.kind = 0;
            scans.push_back(scan);
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (scans.empty() || fields.size() != 2) continue;
        scans.back().points.push_back({fields[0].toDouble(), fields[1].toDouble()});
    }
    return scans;
}

TEST(DenovoScanListTest, SequencesAHandMadeScanList) {
    const auto scans = ReadScanList(zartest::DataPath("interpretation/denovo/tdlefpvr_scans.txt"));
    ASSERT_EQ(scans.size(), 4u);
    EXPECT_EQ(scans[0].kind, 0);
    EXPECT_EQ(scans[1].kind, zar::kDenovoKindMS2);
    EXPECT_EQ(scans[2].kind, zar::kDenovoKindMS3);
    EXPECT_DOUBLE_EQ(scans[3].precursor, 518.31);

    CDenovoEngine engine;
    EXPECT_GE(engine.LoadSpectra(scans, DenovoParams{}), 3);
    // The doubly charged precursor became [M+H]+.
    EXPECT_NEAR(engine.Precursor(0), 976.51, 0.01);
    EXPECT_EQ(engine.MassRangeEnd(), 976);
    ASSERT_GT(engine.FormatSequenceTable(), 0);
    EXPECT_EQ(engine.GetCandidate(0)->sequence, QStringLiteral("TDLEFPVR"));
}

}  // namespace
