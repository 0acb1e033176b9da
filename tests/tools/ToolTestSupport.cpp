#include "ToolTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace zartest {

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Connections a child made just before it exited are accepted within one poll period.
constexpr long long kQuietMs = 250;

}  // namespace

NotifyListener::NotifyListener() {
    path_ = QDir(dir_.path()).filePath(QStringLiteral("notify")).toStdString();
    sockaddr_un address{};
    if (path_.size() >= sizeof(address.sun_path)) return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    thread_ = std::thread([this] { serve(); });
}

NotifyListener::~NotifyListener() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
}

QString NotifyListener::address(const QString& token) const {
    return QString::fromStdString(zar::FormatNotifyAddress(token.toStdString(), path_));
}

void NotifyListener::serve() {
    struct Connection {
        int fd;
        std::string pending;
    };
    std::vector<Connection> connections;
    while (!stop_) {
        std::vector<pollfd> polls = {{fd_, POLLIN, 0}};
        for (const Connection& c : connections) polls.push_back({c.fd, POLLIN, 0});
        if (::poll(polls.data(), polls.size(), 50) <= 0) continue;
        lastActivity_ = NowMs();
        if (polls[0].revents & POLLIN) {
            const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                connections.push_back({client, {}});
                ++open_;
            }
        }
        for (size_t i = 1; i < polls.size(); ++i) {
            if (!(polls[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            Connection& c = connections[i - 1];
            char buffer[4096];
            const ssize_t n = ::read(c.fd, buffer, sizeof(buffer));
            if (n <= 0) {
                ::close(c.fd);
                c.fd = -1;
                --open_;
                continue;
            }
            c.pending.append(buffer, static_cast<size_t>(n));
            size_t end;
            while ((end = c.pending.find('\n')) != std::string::npos) {
                const auto record = zar::ParseNotifyRecord(std::string_view(c.pending).substr(0, end));
                c.pending.erase(0, end + 1);
                if (record) {
                    std::lock_guard lock(mutex_);
                    records_.push_back(*record);
                }
            }
        }
        std::erase_if(connections, [](const Connection& c) { return c.fd < 0; });
    }
    for (const Connection& c : connections) ::close(c.fd);
}

void NotifyListener::waitUntilQuiet() {
    const long long until = NowMs() + 10000;
    while ((open_ > 0 || NowMs() - lastActivity_ < kQuietMs) && NowMs() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::vector<zar::NotifyRecord> NotifyListener::records() const {
    std::lock_guard lock(mutex_);
    return records_;
}

QString ToolPath(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

ToolRun RunTool(const QString& name, const QStringList& arguments, const QString& folder,
                NotifyListener* listener, const QProcessEnvironment& extra) {
    ToolRun run;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("ZV_NOTIFY"));
    if (listener) environment.insert(QStringLiteral("ZV_NOTIFY"), listener->address());
    for (const QString& key : extra.keys()) environment.insert(key, extra.value(key));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(ToolPath(name), arguments);
    run.started = process.waitForStarted(30000);
    if (!run.started) return run;
    process.waitForFinished(300000);
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (listener) {
        listener->waitUntilQuiet();
        run.records = listener->records();
    }
    return run;
}

std::vector<zar::NotifyRecord> RecordsNamed(const std::vector<zar::NotifyRecord>& records,
                                            const char* name) {
    std::vector<zar::NotifyRecord> named;
    for (const zar::NotifyRecord& r : records)
        if (r.name == name) named.push_back(r);
    return named;
}

QString FromUtf16LE(const QByteArray& bytes) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

}  // namespace zartest
