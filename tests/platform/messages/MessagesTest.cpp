#include "messages/Messages.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace zar;

namespace {

// Counts how many payload objects are alive, to prove posted copies are freed.
struct Tracked {
    static inline std::atomic<int> alive{0};
    QString text;
    explicit Tracked(QString t) : text(std::move(t)) { ++alive; }
    Tracked(const Tracked& o) : text(o.text) { ++alive; }
    ~Tracked() { --alive; }
};

}  // namespace

TEST(Messages, PostedMessageKeepsNumberAndParameters) {
    MessageReceiver receiver;
    std::vector<Message> got;
    receiver.messageMap().on(0x4097, [&](const Message& m) {
        got.push_back({m.message, m.wParam, m.lParam, nullptr});
        return 0;
    });
    PostMessage(&receiver, 0x4097, 12, -3);
    EXPECT_TRUE(got.empty()) << "a posted message is queued, not delivered at once";
    QCoreApplication::processEvents();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, 0x4097u);
    EXPECT_EQ(got[0].wParam, 12u);
    EXPECT_EQ(got[0].lParam, -3);
}

TEST(Messages, UnmappedMessageIsIgnored) {
    MessageReceiver receiver;
    int calls = 0;
    receiver.messageMap().on(0x40A1, [&](const Message&) { return ++calls; });
    PostMessage(&receiver, 0x40A2);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

TEST(Messages, SendMessageReturnsTheHandlersResult) {
    MessageReceiver receiver;
    receiver.messageMap().on(0x40B0, [](const Message& m) { return static_cast<LRESULT>(m.wParam * 2); });
    EXPECT_EQ(SendMessage(&receiver, 0x40B0, 21), 42);
}

TEST(Messages, PayloadIsAnOwnedCopyFreedAfterHandling) {
    {
        MessageReceiver receiver;
        QString seen;
        receiver.messageMap().on(0x40B2, [&](const Message& m) {
            if (const auto* t = m.payloadAs<std::shared_ptr<Tracked>>()) seen = (*t)->text;
            return 0;
        });
        {
            auto original = std::make_shared<Tracked>(QStringLiteral("run.0100.0100.2.out"));
            PostMessage(&receiver, 0x40B2, 0, 0, original);
        }
        EXPECT_EQ(Tracked::alive, 1) << "the message owns the payload while queued";
        QCoreApplication::processEvents();
        EXPECT_EQ(seen, QStringLiteral("run.0100.0100.2.out"));
        EXPECT_EQ(Tracked::alive, 0);
    }
}

TEST(Messages, PayloadOfAnUndeliveredMessageIsFreedWithTheTarget) {
    {
        auto* receiver = new MessageReceiver;
        PostMessage(receiver, 0x40B2, 0, 0, std::make_shared<Tracked>(QStringLiteral("x")));
        EXPECT_EQ(Tracked::alive, 1);
        delete receiver;  // Qt drops the events still queued for it
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(Messages, PostingToNoTargetFails) {
    EXPECT_FALSE(PostMessage(nullptr, 0x4097));
}

TEST(Messages, WorkerThreadsPostToTheUiThreadInOrder) {
    MessageReceiver receiver;
    std::vector<int> order;
    Qt::HANDLE handledOn = nullptr;
    receiver.messageMap().on(0x40B1, [&](const Message& m) {
        order.push_back(static_cast<int>(m.wParam));
        handledOn = QThread::currentThreadId();
        return 0;
    });
    constexpr int kPerThread = 500;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&receiver, t] {
            for (int i = 0; i < kPerThread; ++i)
                PostMessage(&receiver, 0x40B1, static_cast<WPARAM>(t * kPerThread + i), 0,
                            QStringLiteral("progress %1").arg(i));
        });
    }
    for (auto& w : workers) w.join();
    QCoreApplication::processEvents();
    ASSERT_EQ(order.size(), 4u * kPerThread);
    EXPECT_EQ(handledOn, QThread::currentThreadId());
    // Each worker's messages arrive in the order it posted them.
    for (int t = 0; t < 4; ++t) {
        int last = -1;
        for (int v : order) {
            if (v / kPerThread != t) continue;
            EXPECT_GT(v, last);
            last = v;
        }
    }
}

TEST(Messages, RegisteredMessagesHaveOneStableNumberPerName) {
    const unsigned a = RegisterWindowMessage(QStringLiteral("ZV_SORVEX_PROGRESS"));
    const unsigned b = RegisterWindowMessage(QStringLiteral("WM_DATABASE_SIZE"));
    EXPECT_GE(a, kFirstRegisteredMessage);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("ZV_SORVEX_PROGRESS")), a);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("zv_sorvex_progress")), a);
    EXPECT_EQ(RegisteredMessageName(b), QStringLiteral("WM_DATABASE_SIZE"));
    EXPECT_EQ(RegisterWindowMessage(QString()), 0u);
}

TEST(Messages, RegisteringFromManyThreadsAgreesOnTheNumber) {
    std::vector<unsigned> numbers(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&numbers, i] { numbers[i] = RegisterWindowMessage(QStringLiteral("ZV_MASSMAP_PROGRESS")); });
    for (auto& t : threads) t.join();
    for (unsigned n : numbers) EXPECT_EQ(n, numbers[0]);
}
