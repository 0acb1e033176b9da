#include "ToolTestSupport.h"

#include "tools/sorvex/CometResults.h"

#include "document/SorvexResults.h"
#include "search/ParamFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
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
                    arrivals_.push_back(NowMs());
                }
            }
        }
        std::erase_if(connections, [](const Connection& c) { return c.fd < 0; });
    }
    for (const Connection& c : connections) ::close(c.fd);
}

void NotifyListener::waitUntilQuiet() {
    const long long until = NowMs() + zartest::kWorkWaitMs;
    while ((open_ > 0 || NowMs() - lastActivity_ < kQuietMs) && NowMs() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::vector<zar::NotifyRecord> NotifyListener::records() const {
    std::lock_guard lock(mutex_);
    return records_;
}

std::vector<long long> NotifyListener::arrivals() const {
    std::lock_guard lock(mutex_);
    return arrivals_;
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
    run.started = process.waitForStarted(zartest::kWorkWaitMs);
    if (!run.started) return run;
    process.waitForFinished(zartest::kWorkWaitMs);
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

QStringList PipeMessages(const ToolRun& run, QByteArray* rest) {
    QStringList messages;
    qsizetype at = 0;
    for (const zar::NotifyRecord& record : run.records) {
        if (record.wParam != 0 || record.lParam <= 0) continue;
        messages << FromUtf16LE(run.err.mid(at, record.lParam));
        at += record.lParam;
    }
    if (rest) *rest = run.err.mid(at);
    return messages;
}

QStringList PipeFileNames(const ToolRun& run) {
    QStringList names;
    for (const QString& message : PipeMessages(run))
        if (message.startsWith(QLatin1Char('$'))) names << message.mid(1);
    return names;
}

QString WriteSearchParams(const QString& folder, bool massmap, const QString& database,
                          const std::vector<std::pair<QString, QString>>& entries) {
    zar::CParamFile file;
    file.LoadDefaults(massmap ? zar::ParamFileType::Massmap : zar::ParamFileType::Sorvex);
    file.SetEntryString(QStringLiteral("first_database_name"), database);
    for (const auto& [key, value] : entries) file.SetEntryString(key, value);
    const QString path =
        QDir(folder).filePath(massmap ? QStringLiteral("massmap.params") : QStringLiteral("sorvex.params"));
    return file.SaveAs(path) ? path : QString();
}

QString WriteSpectrumList(const QString& path, const QStringList& names) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QString();
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString& name : names) {
        const QString line = name + QLatin1Char('\n');
        for (QChar c : line) {
            bytes.append(static_cast<char>(c.unicode() & 0xFF));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
    }
    file.write(bytes);
    return path;
}

int ExpectOutFilesAgreeWithComet(const QString& folder, const QStringList& dtaNames,
                                 const QString& cometResults) {
    constexpr double kProton = 1.00727646688;
    zar::CCometResults comet;
    QString error;
    EXPECT_TRUE(comet.read(cometResults, error)) << error.toStdString();
    zar::CSorvexResults set;
    int compared = 0;
    for (int i = 0; i < dtaNames.size(); ++i) {
        const QString out = QDir(folder).filePath(QString(dtaNames[i]).replace(".dta", ".out"));
        set.ParseOutFileForDisplay(out);
        int charge = 0;
        {
            QFile dta(QDir(folder).filePath(dtaNames[i]));
            EXPECT_TRUE(dta.open(QIODevice::ReadOnly));
            charge = QString::fromLatin1(dta.readLine()).section(' ', 1, 1).toInt();
        }
        const std::vector<zar::CometHit>& hits = comet.hits(i + 1, charge);
        EXPECT_EQ(set.GetDisplayCount(), static_cast<int>(hits.size())) << out.toStdString();
        for (int k = 0; k < set.GetDisplayCount() && k < static_cast<int>(hits.size()); ++k) {
            const zar::SearchHitRecord* r = set.GetDisplayRecord(k);
            const zar::CometHit& c = hits[static_cast<size_t>(k)];
            const QString where = QStringLiteral("%1 hit %2").arg(out).arg(k + 1);
            QString letters;
            for (QChar ch : r->peptide.mid(2, r->peptide.size() - 4))
                if (ch.isLetter()) letters += ch;
            EXPECT_EQ(letters, c.peptide) << where.toStdString();
            EXPECT_EQ(r->peptide.left(1), c.previousResidue) << where.toStdString();
            EXPECT_EQ(r->peptide.right(1), c.nextResidue) << where.toStdString();
            EXPECT_EQ(r->reference, c.proteins.value(0)) << where.toStdString();
            EXPECT_EQ(r->furtherReferences, std::max(c.proteinCount, int(c.proteins.size())) - 1)
                << where.toStdString();
            EXPECT_EQ(r->correlationRank, c.rank) << where.toStdString();
            EXPECT_NEAR(r->hitMass, c.calculatedMass + kProton, 1e-4) << where.toStdString();
            EXPECT_NEAR(r->correlation, c.xcorr, 1e-4) << where.toStdString();
            EXPECT_NEAR(r->preliminaryScore, c.sp, 0.051) << where.toStdString();
            EXPECT_EQ(r->ionsMatched, c.ionsMatched) << where.toStdString();
            EXPECT_EQ(r->ionsTotal, c.ionsTotal) << where.toStdString();
            const double top = hits.front().xcorr;
            EXPECT_NEAR(r->deltaCorrelation, top > 0 ? (top - c.xcorr) / top : 0.0, 1e-4)
                << where.toStdString();
            ++compared;
        }
    }
    return compared;
}

std::map<QString, TopHit> ReadTopHits(const QString& folder, const QString& runPath, int* count,
                                      QStringList* messages) {
    MessageBoxCapture boxes;
    zar::CSorvexResults set;
    set.SetRawFilePath(runPath);
    std::map<QString, TopHit> top;
    if (!set.Initialize() || !set.ReadResults(folder)) {
        if (messages) *messages = boxes.texts();
        return top;
    }
    for (int i = 0; i < set.GetHitCount(); ++i) {
        const zar::SearchHitRecord* hit = set.GetHit(i);
        top[hit->fileInformation.trimmed()] = {hit->peptide, hit->reference, hit->correlation};
    }
    if (count) *count = set.GetHitCount();
    if (messages) *messages = boxes.texts();
    return top;
}

}  // namespace zartest
