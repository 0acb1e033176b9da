// A Pepmap run on its worker thread: what it posts, and how its list reaches the engine.

#include "PepmapTestSupport.h"
#include "PepmapWorker.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace zar;
using namespace pepmaptest;

namespace {

// Stands in for the status dialog (progress window) and the main window.
struct Windows {
    explicit Windows(CPepmapEngine& engine) {
        RoutePepmapWorkerMessages(status.messageMap(), engine, &main,
                                  {[this](const QString& text) { statusTexts << text; },
                                   [this](int position) { positions.push_back(position); }});
        main.messageMap().on(kMsgPepmapChanged, [this](const Message& m) {
            ++finished;
            finishedWithPayload = finishedWithPayload || m.payload != nullptr;
            return LRESULT(0);
        });
    }
    void deliver() {
        // The status window's handlers post on to the main window: two rounds.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
    }
    MessageReceiver status;
    MessageReceiver main;
    QStringList statusTexts;
    std::vector<int> positions;
    int finished = 0;
    bool finishedWithPayload = false;
};

// A run of 30 scans in which the third trypsin piece of ubiquitin shows in scans 10-14.
std::unique_ptr<PepmapScanList> UbiquitinRun(double mass, int scans = 30) {
    std::vector<PepmapScan> list(scans);
    for (int s = 0; s < scans; ++s) {
        list[s].retentionTime = 0.5 * (s + 1);
        list[s].peaks = {{200.0, 1.0}};
        if (s + 1 >= 10 && s + 1 <= 14) list[s].peaks.push_back({MzOf(mass, 2, 1.00794), 1e4});
    }
    return std::make_unique<PepmapScanList>(1, std::move(list));
}

// A source that cannot be opened.
class ClosedSource : public PepmapScanList {
  public:
    OpenResult open(const QString&) override { return OpenResult::kOpenFailed; }
};

// A source that takes its time over every scan.
class SlowSource : public PepmapScanList {
  public:
    using PepmapScanList::PepmapScanList;
    bool readScan(int scan, PepmapScan* out) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return PepmapScanList::readScan(scan, out);
    }
};

class PepmapWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CEnzymeTable table;
        table.ResetToDefaults();
        engine.BuildEnzymeRules(table.GetRecords());
        // The list the views show before the run.
        engine.SetSequence("AKA");
        engine.Digest();
    }
    zartest::MessageBoxCapture boxes;
    CPepmapEngine engine;
};

}  // namespace

TEST_F(PepmapWorkerTest, RunHandsItsListToTheEngineOnTheUserInterfaceThread) {
    Windows windows(engine);
    PepmapDigestInput probe = engine.MakeRunRequest(kUbiquitin, "run.mzML").digest;
    PepmapPeptideList reference;
    RecordingProgress ignore;
    PepmapCancelFlag never{false};
    DigestSequence(probe, &reference, never, ignore);
    const double mass = reference.averageMass(reference[2]);

    CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, "run.mzML"), UbiquitinRun(mass),
                         &windows.status);
    worker.Start();
    worker.Wait();
    EXPECT_TRUE(worker.IsFinished());
    // Until the posted messages are handled the views still read the old list.
    EXPECT_EQ(engine.PeptideCount(), 2);
    windows.deliver();
    ASSERT_EQ(engine.PeptideCount(), 12);
    EXPECT_EQ(engine.Peptides().size(), 12u);
    const CPepmapPeptide& found = engine.Peptides()[2];
    EXPECT_EQ(found.label(), "3");
    EXPECT_EQ(found.matchedScan, 10);  // equal sums: the first scan of the run is kept
    EXPECT_DOUBLE_EQ(found.matchedTime, 5.0);
    EXPECT_DOUBLE_EQ(found.matchedIntensity, 1e4);
    EXPECT_EQ(engine.Peptides()[0].matchedScan, 0);
    EXPECT_EQ(windows.finished, 1);
    EXPECT_FALSE(windows.finishedWithPayload);
    EXPECT_EQ(windows.statusTexts,
              QStringList({"Performing enzyme digest ...", "Enzyme digest finished",
                           "Performing pepmap ...", "Pepmap finished"}));
    EXPECT_EQ(windows.positions.front(), 0);
    EXPECT_EQ(windows.positions.back(), 100);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(PepmapWorkerTest, RunSortsByTheStoredMode) {
    PepmapOptions o = engine.Options();
    o.sortMode = kPepmapSortLength;
    o.descending = 1;
    engine.SetOptions(o);
    Windows windows(engine);
    CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, "run.mzML"), UbiquitinRun(1.0),
                         &windows.status);
    worker.Start();
    worker.Wait();
    windows.deliver();
    ASSERT_EQ(engine.PeptideCount(), 12);
    EXPECT_EQ(engine.Peptides().front().label(), "3");  // 16 residues
}

TEST_F(PepmapWorkerTest, MessagesAreShownOnTheUserInterfaceThread) {
    // An empty sequence: the digest and the matching each refuse, the old list stays, and the
    // run still ends with the refresh message.
    QStringList shown;
    bool allOnMainThread = true;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        shown << r.text;
        allOnMainThread =
            allOnMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        return IDOK;
    });
    Windows windows(engine);
    CPepmapWorker worker(engine.MakeRunRequest("", "run.mzML"), UbiquitinRun(1.0), &windows.status);
    worker.Start();
    worker.Wait();
    EXPECT_TRUE(shown.isEmpty());  // nothing is shown from the worker itself
    windows.deliver();
    SetMessageBoxHandler(previous);
    EXPECT_EQ(shown, QStringList({"Please enter a sequence", "Please enter a sequence"}));
    EXPECT_TRUE(allOnMainThread);
    EXPECT_EQ(engine.PeptideCount(), 2);
    EXPECT_EQ(windows.finished, 1);
}

TEST_F(PepmapWorkerTest, RunThatCannotOpenItsFilePostsOnlyTheMessage) {
    Windows windows(engine);
    CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, "missing.mzML"),
                         std::make_unique<ClosedSource>(), &windows.status);
    worker.Start();
    worker.Wait();
    windows.deliver();
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("Error - failed to open raw file."));
    EXPECT_EQ(windows.finished, 0);
    EXPECT_TRUE(windows.statusTexts.isEmpty());
    EXPECT_EQ(engine.PeptideCount(), 2);
}

TEST_F(PepmapWorkerTest, CancelledRunLeavesTheEngineAsItWas) {
    Windows windows(engine);
    std::vector<PepmapScan> scans(5000);
    auto source = std::make_unique<SlowSource>(1, std::move(scans));
    CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, "run.mzML"), std::move(source),
                         &windows.status);
    worker.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    worker.Cancel();
    worker.Wait();
    windows.deliver();
    EXPECT_TRUE(worker.IsCancelled());
    EXPECT_EQ(windows.finished, 0);
    EXPECT_FALSE(windows.statusTexts.contains("Pepmap finished"));
    EXPECT_EQ(engine.PeptideCount(), 2);
    EXPECT_EQ(engine.Peptides()[0].label(), "1");
}

TEST_F(PepmapWorkerTest, DestroyingTheWorkerStopsAndJoinsIt) {
    auto windows = std::make_unique<Windows>(engine);
    {
        std::vector<PepmapScan> scans(5000);
        CPepmapWorker worker(engine.MakeRunRequest(kUbiquitin, "run.mzML"),
                             std::make_unique<SlowSource>(1, std::move(scans)), &windows->status);
        worker.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // The window may go now: nothing posts to it any more.
    windows.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(engine.PeptideCount(), 2);
}
