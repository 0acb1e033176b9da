#pragma once
// Running the outside programs as the launchers do, in tests: a listener in the place of the
// program's notification channel, and a runner that starts a built program with an argument
// list and collects its exit code, its output streams and the records it posted.

#include "ipc/NotifyProtocol.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace zartest {

// Listens on a local socket of a temporary folder and keeps every record that arrives.
class NotifyListener {
  public:
    NotifyListener();
    ~NotifyListener();
    NotifyListener(const NotifyListener&) = delete;
    NotifyListener& operator=(const NotifyListener&) = delete;

    bool listening() const { return fd_ >= 0; }
    // The value of ZV_NOTIFY for a child that should reach this listener with this token.
    QString address(const QString& token = QStringLiteral("run1")) const;
    // Waits until every connection made so far has been closed (the child has exited).
    void waitUntilQuiet();
    std::vector<zar::NotifyRecord> records() const;

  private:
    void serve();

    QTemporaryDir dir_;
    std::string path_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<int> open_{0};
    std::atomic<long long> lastActivity_{0};  // steady-clock milliseconds
    mutable std::mutex mutex_;
    std::vector<zar::NotifyRecord> records_;
    std::thread thread_;
};

struct ToolRun {
    bool started = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    std::vector<zar::NotifyRecord> records;  // with a listener
    QString errText() const { return QString::fromLocal8Bit(err); }
    QString outText() const { return QString::fromLocal8Bit(out); }
};

// The built program of that name beside the test.
QString ToolPath(const QString& name);

// Runs the program in the folder with an argument list. With a listener, the child gets
// ZV_NOTIFY and the records it posts are returned. extra: variables added to the environment.
ToolRun RunTool(const QString& name, const QStringList& arguments, const QString& folder,
                NotifyListener* listener = nullptr,
                const QProcessEnvironment& extra = QProcessEnvironment());

// The records of one name, in order.
std::vector<zar::NotifyRecord> RecordsNamed(const std::vector<zar::NotifyRecord>& records,
                                            const char* name);

// UTF-16 little-endian bytes (a pipe message) as text.
QString FromUtf16LE(const QByteArray& bytes);

}  // namespace zartest
