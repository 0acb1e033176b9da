// The notification channel: what a child posts reaches the run's window as the registered
// message, and nothing else does.

#include "ipc/NotifyClient.h"
#include "ipc/NotifyProtocol.h"
#include "ipc/NotifyServer.h"
#include "messages/Messages.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

using namespace zar;

namespace {

// Sets ZV_NOTIFY as a child of the run would find it, and takes it away again.
class ScopedNotifyVariable {
  public:
    ScopedNotifyVariable(const CNotifyServer& server, const QString& token) {
        qputenv(kNotifyVariable, server.Environment(token, QProcessEnvironment())
                                     .value(QString::fromLatin1(kNotifyVariable))
                                     .toUtf8());
    }
    explicit ScopedNotifyVariable(const QByteArray& value) { qputenv(kNotifyVariable, value); }
    ~ScopedNotifyVariable() {
        CloseNotifyChannel();
        qunsetenv(kNotifyVariable);
    }
};

// Lets the event loop run until the trap holds count messages or a generous limit passes.
bool WaitFor(const zartest::MessageTrap& trap, std::size_t count) {
    return QTest::qWaitFor([&] { return trap.caught().size() >= count; }, zartest::kWorkWaitMs);
}

void Settle() {
    QTest::qWait(100);
}

class NotifyChannelTest : public ::testing::Test {
  protected:
    CNotifyServer server_;
    QObject window_;
    const unsigned progress_ = RegisterWindowMessage(QStringLiteral("ZV_TEST_PROGRESS"));
};

}  // namespace

TEST(NotifyProtocolTest, RecordsTravelAsOneLine) {
    NotifyRecord record{"abc123", "ZV_SORVEX_PROGRESS", 0x00320005u, -1};
    const std::string line = FormatNotifyRecord(record);
    EXPECT_EQ(line, "ZVN1 abc123 ZV_SORVEX_PROGRESS 3276805 -1\n");
    const auto back = ParseNotifyRecord(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->token, "abc123");
    EXPECT_EQ(back->name, "ZV_SORVEX_PROGRESS");
    EXPECT_EQ(back->wParam, 0x00320005u);
    EXPECT_EQ(back->lParam, -1);
}

TEST(NotifyProtocolTest, WhatIsNoRecordIsRefused) {
    const char* lines[] = {
        "",
        "ZVN1 tok NAME 1",      // a field missing
        "ZVN1 tok NAME 1 2 3",  // one too many
        "ZVN2 tok NAME 1 2",    // another tag
        "ZVN1 tok NAME -1 2",   // wParam is unsigned
        "ZVN1 tok NAME 1x 2",   // not a whole number
        "ZVN1 tok NAME 1 99999999999999999999999",
        "ZVN1  NAME 1 2",  // empty token
        "ZVN1 tok na:me 1 2",
    };
    for (const char* line : lines) EXPECT_FALSE(ParseNotifyRecord(line)) << line;
    EXPECT_FALSE(ParseNotifyRecord("ZVN1 tok " + std::string(300, 'N') + " 1 2"));
    EXPECT_TRUE(FormatNotifyRecord({"tok", "two words", 1, 2}).empty());
    EXPECT_TRUE(FormatNotifyRecord({"", "NAME", 1, 2}).empty());
}

TEST(NotifyProtocolTest, TheAddressHoldsTokenAndPath) {
    std::string token, path;
    ASSERT_TRUE(ParseNotifyAddress(FormatNotifyAddress("f00d", "/tmp/x y/notify"), token, path));
    EXPECT_EQ(token, "f00d");
    EXPECT_EQ(path, "/tmp/x y/notify");
    EXPECT_FALSE(ParseNotifyAddress("no-colon", token, path));
    EXPECT_FALSE(ParseNotifyAddress(":/tmp/notify", token, path));
    EXPECT_FALSE(ParseNotifyAddress("tok:", token, path));
}

TEST_F(NotifyChannelTest, APostReachesTheRunsWindowAsTheRegisteredMessage) {
    zartest::MessageTrap trap(&window_, {progress_});
    const QString token = server_.OpenRun(&window_);
    ASSERT_FALSE(token.isEmpty());
    ScopedNotifyVariable variable(server_, token);
    ASSERT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", MakeWParam(7, 42), 2));
    ASSERT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, -1));
    ASSERT_TRUE(WaitFor(trap, 2));
    EXPECT_EQ(trap.caught()[0].wParam, (42u << 16) | 7u);
    EXPECT_EQ(trap.caught()[0].lParam, 2);
    EXPECT_EQ(trap.caught()[1].lParam, -1);
}

TEST_F(NotifyChannelTest, RecordsOfOneProcessKeepTheirOrder) {
    zartest::MessageTrap trap(&window_, {progress_});
    ScopedNotifyVariable variable(server_, server_.OpenRun(&window_));
    // Posted from another thread, as a child's worker would.
    std::thread poster([] {
        for (int i = 1; i <= 500; ++i) PostRegisteredMessage("ZV_TEST_PROGRESS", 1, i);
    });
    // The window's thread keeps reading meanwhile: a writer ahead of the reader waits for it.
    const bool all = WaitFor(trap, 500);
    poster.join();
    ASSERT_TRUE(all);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(trap.caught()[i].lParam, i + 1);
}

TEST_F(NotifyChannelTest, RecordsWithAForeignOrClosedTokenAreDropped) {
    zartest::MessageTrap trap(&window_, {progress_});
    const QString token = server_.OpenRun(&window_);
    {
        ScopedNotifyVariable stranger(server_, QStringLiteral("0123456789abcdef"));
        EXPECT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 1));  // sent, but not taken
    }
    server_.CloseRun(token);
    {
        ScopedNotifyVariable closed(server_, token);
        EXPECT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 2));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.DroppedCount() >= 2; }, zartest::kWorkWaitMs));
    Settle();
    EXPECT_TRUE(trap.caught().empty());
}

TEST_F(NotifyChannelTest, AWriterOfLinesThatAreNoRecordsIsCutOff) {
    zartest::MessageTrap trap(&window_, {progress_});
    const QString token = server_.OpenRun(&window_);
    ASSERT_TRUE(server_.Listen());
    QLocalSocket socket;
    socket.connectToServer(server_.SocketPath());
    ASSERT_TRUE(socket.waitForConnected(zartest::kWorkWaitMs));
    socket.write("garbage line\n");
    socket.write(QByteArray(1000, 'x'));  // no end of line in sight
    socket.flush();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; }, zartest::kWorkWaitMs));
    EXPECT_GE(server_.DroppedCount(), 2);
    // A well-behaved child still gets through.
    ScopedNotifyVariable variable(server_, token);
    ASSERT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", 3, 4));
    ASSERT_TRUE(WaitFor(trap, 1));
}

TEST_F(NotifyChannelTest, WithoutAChannelAPostFailsQuietly) {
    qunsetenv(kNotifyVariable);
    EXPECT_FALSE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 1));
    ScopedNotifyVariable malformed(QByteArray("no-colon-here"));
    EXPECT_FALSE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 1));
    ScopedNotifyVariable nobody(QByteArray("tok:/nonexistent/notify"));
    EXPECT_FALSE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 1));
    EXPECT_FALSE(PostRegisteredMessage("", 1, 1));
    EXPECT_FALSE(PostRegisteredMessage(nullptr, 1, 1));
}

TEST_F(NotifyChannelTest, APipeMessageIsWrittenWholeBeforeItsLengthIsPosted) {
    zartest::MessageTrap trap(&window_, {progress_});
    ScopedNotifyVariable variable(server_, server_.OpenRun(&window_));
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const int savedError = ::dup(STDERR_FILENO);
    ::dup2(fds[1], STDERR_FILENO);
    const bool posted = PostPipeMessage("ZV_TEST_PROGRESS", "$run.0100.0100.2.dta \xC3\xA9");
    ::dup2(savedError, STDERR_FILENO);
    ::close(savedError);
    ::close(fds[1]);
    ASSERT_TRUE(posted);
    char buffer[256];
    const ssize_t n = ::read(fds[0], buffer, sizeof(buffer));
    ::close(fds[0]);
    const QString expected = QStringLiteral("$run.0100.0100.2.dta \u00e9");
    ASSERT_EQ(n, expected.size() * 2);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), n / 2), expected);
    ASSERT_TRUE(WaitFor(trap, 1));
    EXPECT_EQ(trap.caught()[0].wParam, 0u);
    EXPECT_EQ(trap.caught()[0].lParam, n);
}

TEST_F(NotifyChannelTest, TheMessageCarriesTheTokenOfItsRun) {
    struct Receiver : QObject {
        QString token;
        bool event(QEvent* e) override {
            if (e->type() != MessageEvent::eventType()) return QObject::event(e);
            if (const auto* origin =
                    std::any_cast<NotifyOrigin>(&static_cast<MessageEvent*>(e)->payload()))
                token = origin->token;
            return true;
        }
    } receiver;
    const QString token = server_.OpenRun(&receiver);
    ScopedNotifyVariable variable(server_, token);
    ASSERT_TRUE(PostRegisteredMessage("ZV_TEST_PROGRESS", 1, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.token.isEmpty(); }, zartest::kWorkWaitMs));
    EXPECT_EQ(receiver.token, token);
}
