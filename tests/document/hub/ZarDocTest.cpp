#include "ZarDoc.h"

#include "TestSupport.h"
#include "document/MassmapResults.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "interpretation/DenovoEngine.h"
#include "messages/Messages.h"
#include "rawfile/RunFileWriter.h"
#include "rawfile/VRawfile.h"
#include "registry/RegKey.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// A frame that records what the document asks of it.
struct FakeFrame : CZarDocFrame {
    MessageReceiver target;
    QStringList calls;
    bool resultsWindowWorks = true;
    std::vector<SelectedResult> shown;
    void ResetView() override { calls << QStringLiteral("ResetView"); }
    bool ShowPlotLayout() override {
        calls << QStringLiteral("ShowPlotLayout");
        return true;
    }
    void ResetInfoBar() override { calls << QStringLiteral("ResetInfoBar"); }
    void SetFrameTitle(const QString& t) override { calls << QStringLiteral("Title ") + t; }
    void SetMSnTimeRange(double, double) override { calls << QStringLiteral("MSnTimeRange"); }
    void MSnListChanged() override { calls << QStringLiteral("MSnListChanged"); }
    void AddToRecentFileList(const QString& p) override { calls << QStringLiteral("Recent ") + p; }
    bool ShowResultsWindow(const SelectedResult& r) override {
        shown.push_back(r);
        return resultsWindowWorks;
    }
    QObject* MessageTarget() override { return &target; }
};

struct RecordingView : CZarView {
    std::vector<int> hints;
    void OnUpdate(CZarView*, int hint) override { hints.push_back(hint); }
};

// A small run: MS1 scans with MS2 scans of two precursors between them, one MS3 scan.
QString writeRun(const QTemporaryDir& dir, const QString& name = QStringLiteral("Run1.mzML")) {
    const QString path = dir.filePath(name);
    QString error;
    const bool ok = WriteRunFile(path, 9, [](int i) {
        RunSpectrum s;
        s.scanNumber = i + 1;
        s.retentionTime = 1.0 + i * 0.1;
        s.mz = {400.0 + i, 500.0, 600.5};
        s.intensity = {100.0 * (i + 1), 50.0, 25.0};
        const int kind = i % 3;
        if (kind == 1) {
            s.msLevel = 2;
            s.precursors = {{i < 5 ? 500.25 : 500.80, 2, QStringLiteral("cid"), 35.0}};
        } else if (kind == 2 && i == 8) {
            s.msLevel = 3;
            s.precursors = {{700.1, 2, QStringLiteral("cid"), 35.0}, {450.2, 0, QStringLiteral("cid"), 35.0}};
        }
        return s;
    }, error);
    EXPECT_TRUE(ok) << error.toStdString();
    return path;
}

}  // namespace

TEST(ZarDoc, OneDocumentReachableWhileItLives) {
    EXPECT_EQ(CZarDoc::GetDoc(), nullptr);
    {
        CZarDoc doc;
        EXPECT_EQ(CZarDoc::GetDoc(), &doc);
        EXPECT_NE(doc.GetSorvexResults(), nullptr);
        EXPECT_NE(doc.GetMassmapResults(), nullptr);
        EXPECT_NE(doc.GetMultiConsensusResults(), nullptr);
        EXPECT_NE(doc.GetDenovoEngine(), nullptr);
        EXPECT_NE(doc.GetPepmapEngine(), nullptr);
        EXPECT_NE(doc.GetEnzymeTable(), nullptr);
        EXPECT_NE(doc.GetZarmassTransform(), nullptr);
        EXPECT_NE(doc.GetPepmatchData(), nullptr);
        EXPECT_EQ(doc.GetViewType(), 0) << "the start-up view";
        EXPECT_EQ(doc.GetCurrentResultType(), -1) << "no run";
        EXPECT_EQ(doc.GetDenovoParameters().maximumPartialSequences, 256);
    }
    EXPECT_EQ(CZarDoc::GetDoc(), nullptr);
}

TEST(ZarDoc, DisplayOptionsStartFromTheSettings) {
    zartest::ScopedConfigDir config;
    RegKey key(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true);
    key.writeInt(QStringLiteral("SummaryDisplayMode"), 1);
    key.writeInt(QStringLiteral("ConsensusDisplayMode"), 1);
    key.writeInt(QStringLiteral("ConsensusDisplayEntries"), 7);
    CZarDoc doc;
    EXPECT_EQ(doc.SummaryOptions().showTimes, 1);
    EXPECT_EQ(doc.SummaryOptions().filterMode, 1);
    EXPECT_EQ(doc.SummaryOptions().consensusRowLimit, 7);
    EXPECT_EQ(doc.MassmapOptions().thresholdKind, 3);
    EXPECT_EQ(doc.MassmapOptions().xcorrMin, 0.0);
    EXPECT_EQ(doc.MultiConsensusOptions().deltaCnMin, 0.085);
    EXPECT_EQ(doc.SummaryOptions().singleThreshold, -1.0);
}

TEST(ZarDoc, XpressSettingsStartFromTheSettingsAndFollowThem) {
    zartest::ScopedConfigDir config;
    RegKey key(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true);
    key.writeString(QStringLiteral("XpressResidue"), QStringLiteral("K"));
    key.writeDouble(QStringLiteral("XpressTolerance"), 2.5);
    CZarDoc doc;
    EXPECT_EQ(doc.GetXpressResidue(), QStringLiteral("K"));
    EXPECT_DOUBLE_EQ(doc.GetXpressTolerance(), 2.5);
    EXPECT_DOUBLE_EQ(doc.GetXpressDifference(), 8.0);
    key.writeString(QStringLiteral("XpressResidue"), QStringLiteral("C"));
    key.writeDouble(QStringLiteral("XpressTolerance"), 0.75);
    doc.InstallXpressSettings();
    EXPECT_EQ(doc.GetXpressResidue(), QStringLiteral("C"));
    EXPECT_DOUBLE_EQ(doc.GetXpressTolerance(), 0.75);
}

TEST(ZarDoc, SetDisplayFlagsWithoutConsensusModeKeepsTheFilter) {
    CZarDoc doc;
    doc.SummaryOptions().filterMode = 3;
    doc.SetDisplayFlags(1, 0, 9);
    EXPECT_EQ(doc.SummaryOptions().filterMode, 3);
    EXPECT_EQ(doc.SummaryOptions().consensusRowLimit, 0);
    EXPECT_EQ(doc.MassmapOptions().showTimes, 1);
    doc.SetDisplayFlags(0, 1, 9);
    EXPECT_EQ(doc.MultiConsensusOptions().filterMode, 1);
    EXPECT_EQ(doc.MultiConsensusOptions().consensusRowLimit, 9);
}

TEST(ZarDoc, TitleIsTheRunNameAsTheFileSystemHasIt) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    CZarDoc doc;
    FakeFrame frame;
    doc.SetFrame(&frame);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    const QString path = writeRun(dir, QStringLiteral("Run1.MZML"));
    ASSERT_TRUE(doc.OnOpenDocument(path)) << boxes.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Run1.MZML"));
    EXPECT_TRUE(frame.calls.contains(QStringLiteral("ShowPlotLayout")));
    EXPECT_TRUE(frame.calls.contains(QStringLiteral("Recent ") + path));
    doc.OnNewDocument();
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(frame.calls.contains(QStringLiteral("ResetView")));
}

TEST(ZarDoc, FailedOpenIsReportedAndKeepsWhatWasOpen) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    CZarDoc doc;
    FakeFrame frame;
    doc.SetFrame(&frame);
    const QString good = writeRun(dir);
    ASSERT_TRUE(doc.OnOpenDocument(good));
    frame.calls.clear();
    const QString bad = dir.filePath(QStringLiteral("bad.mzML"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><mzML><run><spectrumList count=\"3\"><spec");
    f.close();
    EXPECT_FALSE(doc.OnOpenDocument(bad));
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_TRUE(boxes.texts().last().startsWith(QStringLiteral("Error - failed to open raw file.")));
    EXPECT_FALSE(frame.calls.contains(QStringLiteral("Recent ") + bad)) << "no recent-file entry for a failure";
    EXPECT_FALSE(frame.calls.contains(QStringLiteral("ShowPlotLayout"))) << "the previous view stays";
}

TEST(ZarDoc, ScanAndTimeConversionsFailToZero) {
    QTemporaryDir dir;
    CZarDoc doc;
    EXPECT_EQ(doc.ScanToRetentionTime(3), 0.0) << "nothing open";
    EXPECT_EQ(doc.RetentionTimeToScan(1.2), 0);
    ASSERT_TRUE(doc.OnOpenDocument(writeRun(dir)));
    EXPECT_DOUBLE_EQ(doc.ScanToRetentionTime(3), 1.2);
    EXPECT_EQ(doc.RetentionTimeToScan(1.2), 3);
    EXPECT_EQ(doc.ScanToRetentionTime(999), 0.0);
    EXPECT_DOUBLE_EQ(doc.GetStartTime(), 1.0);
    EXPECT_DOUBLE_EQ(doc.SummaryOptions().retentionTimeMax, doc.GetEndTime());
    std::vector<CVXDataPeak> peaks;
    EXPECT_TRUE(doc.ReadScan(1, peaks));
    EXPECT_EQ(peaks.size(), 3u);
    EXPECT_FALSE(doc.ReadScan(0, peaks)) << "scans count from 1";
    EXPECT_FALSE(doc.ReadScan(10, peaks)) << "beyond the last scan";
}

TEST(ZarDoc, FindScanIndexModes) {
    const std::vector<double> times = {1.0, 2.0, 3.0, 4.0};
    struct Case {
        double time;
        int mode;
        int expected;
    } cases[] = {{2.0, 2, 1}, {2.5, 2, 1}, {2.6, 2, 2}, {2.4, 0, 2}, {2.4, 1, 1}, {0.5, 2, 0}, {9.0, 2, 3}, {4.0, 0, 3}};
    for (const Case& c : cases) EXPECT_EQ(CZarDoc::FindScanIndex(c.time, times, c.mode), c.expected) << c.time << " " << c.mode;
    EXPECT_EQ(CZarDoc::FindScanIndex(1.0, {}, 2), -1);
    EXPECT_EQ(CZarDoc::FindScanIndex(7.0, {5.0}, 2), 0);
}

TEST(ZarDoc, MSnPrecursorsGroupWithinHalfAMass) {
    CMSnPrecursorList list;
    EXPECT_TRUE(list.AddScan(QStringLiteral("+ c Full ms2 500.00@cid35.00 [135.00-1000.00]"), 2, 1.1));
    EXPECT_TRUE(list.AddScan(QStringLiteral("+ c Full ms2 500.50@cid35.00 [135.00-1000.00]"), 5, 1.4));
    EXPECT_TRUE(list.AddScan(QStringLiteral("+ c Full ms2 501.01@cid35.00 [135.00-1000.00]"), 8, 1.7));
    EXPECT_TRUE(list.AddScan(QStringLiteral("+ c Full ms3 500.00@cid35.00 300.00@cid35.00 [80.00-600.00]"), 9, 1.8));
    EXPECT_FALSE(list.AddScan(QStringLiteral("+ c Full ms [300.00-2000.00]"), 1, 1.0));
    EXPECT_TRUE(list.AddScan(QStringLiteral("+ c Full ms2 500.00@cid35.00 [135.00-1000.00]"), 2, 1.1)) << "a repeat joins once";
    ASSERT_EQ(list.Groups().size(), 3u);
    EXPECT_EQ(list.Groups()[0].scans.size(), 2u) << "0.5 apart share a group";
    EXPECT_EQ(list.Groups()[1].precursors[0], 501.01);
    EXPECT_EQ(list.Groups()[2].level, 3);
    EXPECT_EQ(list.Groups()[2].precursors, (std::vector<double>{500.0, 300.0}));
}

TEST(ZarDoc, OpeningARunBuildsItsMSnList) {
    QTemporaryDir dir;
    CZarDoc doc;
    FakeFrame frame;
    doc.SetFrame(&frame);
    ASSERT_TRUE(doc.OnOpenDocument(writeRun(dir)));
    ASSERT_NE(doc.GetMSnPrecursorList(), nullptr);
    const auto& groups = doc.GetMSnPrecursorList()->Groups();
    ASSERT_EQ(groups.size(), 3u);  // ms2 500.25 (scans 2 and 5), ms2 500.80 (scan 8), ms3 (scan 9)
    EXPECT_EQ(groups[0].scans.size(), 2u);
    EXPECT_TRUE(frame.calls.contains(QStringLiteral("MSnListChanged")));
    EXPECT_FALSE(doc.GetScanFilterList().isEmpty());
}

TEST(ZarDoc, HitRetentionTimeUsesTheMiddleScan) {
    QTemporaryDir dir;
    CZarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(writeRun(dir)));
    EXPECT_EQ(doc.GetSorvexHitRetentionTime(), 0.0) << "no selection";
    EXPECT_EQ(doc.GetMassmapHitRetentionTime(), 0.0);
}

TEST(ZarDoc, ResultsWindowFailureIsReported) {
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;
    FakeFrame frame;
    doc.SetFrame(&frame);
    SelectedResult r;
    r.viewType = 3;
    EXPECT_TRUE(doc.ShowResultsWindow(r));
    frame.resultsWindowWorks = false;
    EXPECT_FALSE(doc.ShowResultsWindow(r));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to display the Sorvex Results window")});
}

TEST(ZarDoc, ViewsHearHintsExceptTheSender) {
    CZarDoc doc;
    RecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.UpdateAllViews(&a, 52);
    EXPECT_TRUE(a.hints.empty());
    EXPECT_EQ(b.hints, std::vector<int>{52});
    doc.RemoveView(&b);
    doc.UpdateAllViews(nullptr, 71);
    EXPECT_EQ(a.hints, std::vector<int>{71});
}

TEST(ZarDoc, SummaryRangeRefreshesOnlyInRangeMode) {
    CZarDoc doc;
    RecordingView v;
    doc.AddView(&v);
    doc.GetCurrentResults()->viewType = 5;
    doc.SetSummaryRange(1.0, 2.0);
    EXPECT_TRUE(v.hints.empty());
    doc.SummaryOptions().filterMode = 5;
    doc.SetSummaryRange(1.5, 2.5);
    EXPECT_EQ(v.hints, std::vector<int>{52});
    EXPECT_EQ(doc.SummaryOptions().retentionTimeMin, 1.5);
}

TEST(ZarDoc, DenovoSpectraLoadFromTheRunAndTellTheMainWindow) {
    QTemporaryDir dir;
    CZarDoc doc;
    FakeFrame frame;
    doc.SetFrame(&frame);
    int told = 0;
    frame.target.messageMap().on(kMsgDenovoSpectraLoaded, [&](const Message&) { return ++told; });
    ASSERT_TRUE(doc.OnOpenDocument(writeRun(dir)));
    doc.LoadDenovoSpectra({1, 2, 5, 9});
    QCoreApplication::processEvents();
    EXPECT_EQ(told, 1);
}

// The filter names the precursor's m/z only; its charge comes from the scan's own record, and
// only an MS2 record's first precursor is the ion that scan fragmented.
TEST(ZarDoc, DenovoEngineGetsTheMS2PrecursorWithItsCharge) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charged.mzML"));
    const double ms2Precursor = 500.25;
    const double ms3Precursor = 300.2;
    QString error;
    ASSERT_TRUE(WriteRunFile(
        path, 2,
        [&](int i) {
            RunSpectrum s;
            s.scanNumber = i + 1;
            s.retentionTime = 1.0 + i * 0.1;
            if (i == 0) {
                s.msLevel = 2;
                s.precursors = {{ms2Precursor, 3, QStringLiteral("cid"), 35.0}};
                s.mz = {200.1, 350.2, ms2Precursor, 700.4, 900.5};
                s.intensity = {300.0, 500.0, 800.0, 1000.0, 900.0};
            } else {
                s.msLevel = 3;
                s.precursors = {{ms2Precursor, 3, QStringLiteral("cid"), 35.0},
                                {ms3Precursor, 0, QStringLiteral("cid"), 35.0}};
                s.mz = {150.1, 200.1, 250.2};
                s.intensity = {400.0, 600.0, 500.0};
            }
            return s;
        },
        error))
        << error.toStdString();
    CZarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.LoadDenovoSpectra({1, 2});
    const CDenovoEngine* engine = doc.GetDenovoEngine();
    ASSERT_GE(engine->SpectraLoaded(), 2);
    EXPECT_NEAR(engine->Precursor(0), 3 * ms2Precursor - 2 * CDenovoEngine::kProton, 1e-9);
    EXPECT_NEAR(engine->Precursor(1), ms3Precursor, 1e-9);
}

TEST(ZarDoc, FooterWithoutTextsPutsTheFileLeftAndThePageRight) {
    CZarDoc doc;
    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    EXPECT_TRUE(doc.PrintPageHeader(p, QRect(20, 20, 760, 560), 96, 96));
    EXPECT_TRUE(doc.PrintPageFooter(p, QString(), QString(), 1, 1, QRect(20, 20, 760, 560), 96, 96));
    p.end();
    // Something was drawn near the top and near the bottom.
    auto inked = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 800; ++x)
                if (page.pixelColor(x, y) != QColor(Qt::white)) return true;
        return false;
    };
    EXPECT_TRUE(inked(20, 60));
    EXPECT_TRUE(inked(520, 580));
}
