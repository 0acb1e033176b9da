// A Pepmap run against a run file written to disk and read through the run-file reader.

#include "PepmapRawFileSource.h"
#include "PepmapTestSupport.h"
#include "PepmapWorker.h"

#include "rawfile/RunFileWriter.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;
using namespace pepmaptest;

namespace {

// 30 MS scans, one every 0.2 min; TITLEVEPSDTIENVK (piece 3) shows in scans 10-14 at charges
// 1 to 3, EGIPPDQQR (piece 6) only in scans 20-21.
bool WriteUbiquitinRun(const QString& path, double present, double brief) {
    QString error;
    return WriteRunFile(
        path, 30,
        [&](int index) {
            RunSpectrum s;
            s.scanNumber = index + 1;
            s.retentionTime = 0.2 * (index + 1);
            std::vector<std::pair<double, double>> peaks = {{250.0, 5.0}, {1900.0, 5.0}};
            if (s.scanNumber >= 10 && s.scanNumber <= 14)
                for (int z = 1; z <= 3; ++z)
                    peaks.push_back({MzOf(present, z, kHydrogenAverage), 1000.0 * s.scanNumber});
            if (s.scanNumber >= 20 && s.scanNumber <= 21)
                peaks.push_back({MzOf(brief, 2, kHydrogenAverage), 5e5});
            std::sort(peaks.begin(), peaks.end());
            for (const auto& [mz, intensity] : peaks) {
                s.mz.push_back(mz);
                s.intensity.push_back(intensity);
            }
            return s;
        },
        error);
}

}  // namespace

TEST(PepmapRawFileSourceTest, MatchesAPeptideOfTheRunFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CPepmapEngine engine;
    CEnzymeTable table;
    table.ResetToDefaults();
    engine.BuildEnzymeRules(table.GetRecords());
    engine.SetSequence(kUbiquitin);
    engine.Digest();
    const double present = engine.Peptides().averageMass(engine.Peptides()[2]);
    const double brief = engine.Peptides().averageMass(engine.Peptides()[5]);
    const QString path = dir.filePath("ubiquitin.mzML");
    ASSERT_TRUE(WriteUbiquitinRun(path, present, brief));

    zartest::MessageBoxCapture boxes;
    MessageReceiver status, main;
    int finished = 0;
    RoutePepmapWorkerMessages(status.messageMap(), engine, &main, {});
    main.messageMap().on(kMsgPepmapChanged, [&](const Message&) {
        ++finished;
        return LRESULT(0);
    });
    CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, path),
                         std::make_unique<PepmapRawFileSource>(), &status);
    worker.Start();
    worker.Wait();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("; ").toStdString();
    ASSERT_EQ(finished, 1);
    ASSERT_EQ(engine.PeptideCount(), 12);
    const CPepmapPeptide& found = engine.Peptides()[2];
    EXPECT_EQ(found.label(), "3");
    EXPECT_EQ(found.matchedScan, 14);
    EXPECT_NEAR(found.matchedTime, 2.8, 1e-9);
    EXPECT_DOUBLE_EQ(found.matchedIntensity, 3 * 14000.0);
    EXPECT_EQ(engine.Peptides()[5].matchedScan, 0);
}

TEST(PepmapRawFileSourceTest, FileThatCannotBeOpened) {
    PepmapRawFileSource source;
    EXPECT_EQ(source.open(QDir::temp().filePath("no-such-run-pepmap.mzML")),
              PepmapSpectrumSource::OpenResult::kOpenFailed);
    PepmapScan scan;
    EXPECT_FALSE(source.readScan(1, &scan));
}

TEST(PepmapRawFileSourceTest, RunSummaryTakesTheHighestScanTic) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("ubiquitin.mzML");
    // Scans 10-14 carry three peaks of 1000 * scan; scans 20-21 one of 5e5; all two of 5.
    ASSERT_TRUE(WriteUbiquitinRun(path, 1000.0, 2000.0));
    VRawfile raw;
    PepmapRunSummary summary;
    EXPECT_EQ(ReadPepmapRunSummary(raw, path, &summary),
              PepmapSpectrumSource::OpenResult::kOpened);
    EXPECT_EQ(summary.firstScan, 1);
    EXPECT_EQ(summary.lastScan, 30);
    EXPECT_DOUBLE_EQ(summary.tic, 5e5 + 10.0);
    // A reader that holds the run already answers without opening it again.
    ASSERT_TRUE(raw.isOpen());
    PepmapRunSummary again;
    EXPECT_EQ(ReadPepmapRunSummary(raw, path, &again), PepmapSpectrumSource::OpenResult::kOpened);
    EXPECT_DOUBLE_EQ(again.tic, summary.tic);
    VRawfile closed;
    EXPECT_EQ(ReadPepmapRunSummary(closed, dir.filePath("missing.mzML"), &summary),
              PepmapSpectrumSource::OpenResult::kOpenFailed);
}
