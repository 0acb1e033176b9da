// The transform on its worker thread: progress, results by posted messages, cancel.

#include "ZarmassTestSupport.h"
#include "ZarmassTransformWorker.h"

#include <gtest/gtest.h>


using namespace zar;
using namespace zarmasstest;

namespace {

// A job that takes many seconds: the lowest peak lies below the adduct, so every mass walks
// up to the highest charge.
ZarmassTransformJob SlowJob() {
    ZarmassTransformJob job;
    job.peaks = {{0.5, 1.0, 0, 0}, {500.0, 2.0, 0, 0}, {1000.0, 1.0, 0, 0}};
    job.massLow = 1000.0;
    job.massStep = 1.0;
    job.gridSize = 500000;
    job.adduct = 1.0;
    return job;
}

}  // namespace

TEST(ZarmassTransformWorker, PostsProgressThenItsResult) {
    MessageRecorder recorder;
    CZarmassTransform engine(recorder.target());
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(5000.0, 30000.0), MyoglobinProfile(),
                                        ProfileScan()));
    CZarmassTransformWorker worker(recorder.target());
    ASSERT_TRUE(worker.Start(engine.MakeTransformJob()));
    worker.Wait();
    EXPECT_FALSE(worker.IsRunning());
    // Nothing reaches the owner until its own thread delivers the posted messages.
    EXPECT_TRUE(recorder.seen().empty());
    recorder.Drain();

    std::vector<PostedMessage> expected;
    for (int p = 0; p < 100; p += 10) expected.push_back({kMsgZarmassProgress, 1, p});
    expected.push_back({kMsgZarmassProgress, 1, 100});
    expected.push_back({kMsgZarmassProgress, 0, 0});
    expected.push_back({kMsgZarmassTransformDone, 0, 0});
    ASSERT_EQ(recorder.seen().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recorder.seen()[i].message, expected[i].message) << i;
        EXPECT_EQ(recorder.seen()[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(recorder.seen()[i].lParam, expected[i].lParam) << i;
    }
    ASSERT_EQ(recorder.results().size(), 1u);
    ASSERT_TRUE(engine.AcceptTransform(recorder.results()[0]));
    EXPECT_EQ(engine.GetOutputPeaks().size(), 25000u);
    EXPECT_NEAR(engine.GetBasePeak().mass, kMyoglobinMass, 1.0);
}

TEST(ZarmassTransformWorker, ReTransformEndsWithItsOwnMessage) {
    MessageRecorder recorder;
    CZarmassTransform engine(recorder.target());
    ASSERT_TRUE(engine.PrepareTransform(TransformParams(16000.0, 18000.0), MyoglobinProfile(),
                                        ProfileScan()));
    ZarmassParams chosen = TransformParams(16000.0, 18000.0);
    chosen.mz[0] = kMyoglobinMass;
    chosen.count = 1;
    CZarmassTransformWorker worker(recorder.target());
    ASSERT_TRUE(worker.Start(*engine.MakeSelectedJob(chosen)));
    worker.Wait();
    recorder.Drain();
    ASSERT_FALSE(recorder.seen().empty());
    EXPECT_EQ(recorder.seen().back().message, kMsgZarmassSelectedDone);
    ASSERT_EQ(recorder.results().size(), 1u);
    EXPECT_TRUE(engine.AcceptTransform(recorder.results()[0]));
    EXPECT_EQ(engine.GetWorkPeaks().size(), 2000u);
    EXPECT_TRUE(engine.GetOutputPeaks().empty());
}

TEST(ZarmassTransformWorker, CancelEndsTheRunWithACancelledResult) {
    MessageRecorder recorder;
    CZarmassTransformWorker worker(recorder.target());
    ASSERT_TRUE(worker.Start(SlowJob()));
    EXPECT_FALSE(worker.Start(SlowJob()));  // one run at a time
    worker.Cancel();
    worker.Wait();
    // The run was cut short: a cancelled result is one that stopped before its grid's end.
    recorder.Drain();
    ASSERT_GE(recorder.seen().size(), 2u);
    const auto& seen = recorder.seen();
    EXPECT_EQ(seen[seen.size() - 2].message, kMsgZarmassProgress);
    EXPECT_EQ(seen[seen.size() - 2].wParam, 0u);
    EXPECT_EQ(seen.back().message, kMsgZarmassTransformDone);
    for (const PostedMessage& m : seen)
        EXPECT_FALSE(m.message == kMsgZarmassProgress && m.lParam == 100);
    ASSERT_EQ(recorder.results().size(), 1u);
    EXPECT_TRUE(recorder.results()[0].cancelled);

    // The worker runs again after a cancelled run.
    ZarmassTransformJob quick = SlowJob();
    quick.gridSize = 10;
    ASSERT_TRUE(worker.Start(quick));
    worker.Wait();
    recorder.Drain();
    ASSERT_EQ(recorder.results().size(), 2u);
    EXPECT_FALSE(recorder.results()[1].cancelled);
    EXPECT_EQ(recorder.results()[1].points.size(), 10u);
}

TEST(ZarmassTransformWorker, DestroyingTheWorkerStopsItsRun) {
    MessageRecorder recorder;
    {
        CZarmassTransformWorker worker(recorder.target());
        ASSERT_TRUE(worker.Start(SlowJob()));
    }
    recorder.Drain();
    ASSERT_EQ(recorder.results().size(), 1u);
    EXPECT_TRUE(recorder.results()[0].cancelled);
}
