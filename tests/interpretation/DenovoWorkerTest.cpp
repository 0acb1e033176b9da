// The de novo load on a worker thread: its result message and cancel.

#include "interpretation/DenovoWorker.h"

#include "DenovoSyntheticSpectra.h"
#include "messages/Messages.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using zar::CDenovoEngine;
using zar::CDenovoWorker;
using zar::DenovoParams;
using zar::DenovoResult;

namespace {

class Receiver {
  public:
    Receiver() {
        target.messageMap().on(zar::kMsgDenovoSpectraLoaded, [this](const zar::Message& m) {
            ++messages;
            if (const auto* r = m.payloadAs<DenovoResult>())
                result = std::make_unique<DenovoResult>(*r);
            return 0;
        });
    }
    void Deliver() { QCoreApplication::sendPostedEvents(&target); }

    zar::MessageReceiver target;
    int messages = 0;
    std::unique_ptr<DenovoResult> result;
};

TEST(DenovoWorkerTest, PostsTheFinishedEngineToTheReceiver) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    Receiver receiver;
    CDenovoWorker worker;
    worker.Start(&receiver.target, scans, DenovoParams{});
    worker.Wait();
    EXPECT_FALSE(worker.IsRunning());
    receiver.Deliver();
    ASSERT_EQ(receiver.messages, 1);
    ASSERT_TRUE(receiver.result);

    CDenovoEngine direct;
    direct.LoadSpectra(scans, DenovoParams{});
    const int count = direct.FormatSequenceTable();
    const CDenovoEngine& posted = receiver.result->engine;
    ASSERT_EQ(receiver.result->candidateCount, count);
    ASSERT_EQ(posted.CandidateCount(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(posted.GetCandidate(i)->sequence, direct.GetCandidate(i)->sequence);
    EXPECT_EQ(posted.GetCandidate(0)->sequence, QStringLiteral("LVNEVTEFAK"));
    EXPECT_FALSE(posted.Cancelled());
}

TEST(DenovoWorkerTest, CancelledLoadPostsNothing) {
    // A dense spectrum without a work bound would take many seconds.
    zartest::SyntheticOptions o;
    o.charge = 3;
    o.noisePoints = 2040;
    o.noiseIntensity = 1000.0;
    const auto scans = zartest::SyntheticScans("HLVDEPQNLIKHLVDEPQNLIKHLVDEPQNLIK", o);
    Receiver receiver;
    CDenovoWorker worker;
    worker.Start(&receiver.target, scans, DenovoParams{}, zar::DenovoStandardResidues(), 0);
    // Let the load get into its growth, which unbounded would run for minutes.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(worker.IsRunning());
    worker.Cancel();
    worker.Wait();
    receiver.Deliver();
    EXPECT_EQ(receiver.messages, 0);
    EXPECT_FALSE(worker.IsRunning());
}

TEST(DenovoWorkerTest, NewStartReplacesTheRunningLoad) {
    const auto slow = zartest::SyntheticScans("HLVDEPQNLIKHLVDEPQNLIKHLVDEPQNLIK",
                                              {3, {}, {}, 2040, 1000.0, {}, {}, 7});
    const auto quick = zartest::SyntheticScans("AEFVEVTK");
    Receiver receiver;
    CDenovoWorker worker;
    worker.Start(&receiver.target, slow, DenovoParams{}, zar::DenovoStandardResidues(), 0);
    worker.Start(&receiver.target, quick, DenovoParams{});
    worker.Wait();
    receiver.Deliver();
    ASSERT_EQ(receiver.messages, 1);
    EXPECT_EQ(receiver.result->engine.GetCandidate(0)->sequence, QStringLiteral("AEFVEVTK"));
}

TEST(DenovoWorkerTest, DestroyingTheWorkerStopsItsLoad) {
    const auto slow = zartest::SyntheticScans("HLVDEPQNLIKHLVDEPQNLIKHLVDEPQNLIK",
                                              {3, {}, {}, 2040, 1000.0, {}, {}, 7});
    Receiver receiver;
    {
        CDenovoWorker worker;
        worker.Start(&receiver.target, slow, DenovoParams{}, zar::DenovoStandardResidues(), 0);
    }
    receiver.Deliver();
    EXPECT_EQ(receiver.messages, 0);
}

}  // namespace
