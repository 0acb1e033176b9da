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
#include <map>
#include <mutex>
#include <thread>
#include <utility>
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
    // When each record arrived (steady-clock milliseconds), in the order of records(): what a
    // user watching the progress saw, and when.
    std::vector<long long> arrivals() const;

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
    std::vector<long long> arrivals_;
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

// The pipe messages of an extraction run, in order: for each (0, n) record, the next n bytes of
// its error stream. *rest (when given) receives the bytes no record accounts for.
QStringList PipeMessages(const ToolRun& run, QByteArray* rest = nullptr);
// The file names of the "$" messages, as the launcher collects them into its list.
QStringList PipeFileNames(const ToolRun& run);

}  // namespace zartest

namespace zartest {

// A parameter file of the kind ("sorvex.params", "massmap.params") in the folder: the program's
// default text with the database and the given entries set. Returns its path.
QString WriteSearchParams(const QString& folder, bool massmap, const QString& database,
                          const std::vector<std::pair<QString, QString>>& entries = {});

// A list file as the launchers write it: UTF-16 little-endian with a byte-order mark, one name a
// line.
QString WriteSpectrumList(const QString& path, const QStringList& names);

}  // namespace zartest

namespace zartest {

// Checks every ".out" file of the names (list order: Comet's scan i is the i-th) against
// Comet's own results: the same hits in the same order with the same peptide, reference,
// further-reference count, (M+H)+, XCorr, Sp and ions, and delta Cn as the distance from the top
// hit. Returns the number of hits compared.
int ExpectOutFilesAgreeWithComet(const QString& folder, const QStringList& dtaNames,
                                 const QString& cometResults);

// The top hits of a results folder read by the search-engine result set (the run's base name
// given by its path): file information -> record.
struct TopHit {
    QString peptide;
    QString reference;
    double xcorr = 0.0;
};
std::map<QString, TopHit> ReadTopHits(const QString& folder, const QString& runPath, int* count,
                                      QStringList* messages);

}  // namespace zartest
