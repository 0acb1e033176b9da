// The SORVEX Queue and the search daemon: a job handed over keeps its own copies of the list and
// the parameters, and runs in the queue after the program that handed it over has closed its
// sheet and its launcher.

#include "LauncherTestSupport.h"

#include "com/ComRegistry.h"
#include "search/SorvexDaemon.h"
#include "search/SorvexQueueClient.h"
#include "ipc/TokenFile.h"
#include "search/views/SorvexQueuePage.h"
#include "tools/sorvexqueue/SorvexQueue.h"
#include "tools/sorvexqueue/SorvexQueueWindow.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTableWidget>

#include <csignal>

#include <signal.h>

using namespace zar;
using namespace launchertest;

namespace {

class QueueFixture : public LauncherFixture {
  protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        const QString daemon =
            QDir(QCoreApplication::applicationDirPath()).filePath(kSorvexDaemonLibrary);
        ASSERT_TRUE(QFile::exists(daemon));
        ASSERT_TRUE(EnsureSorvexDaemonRegistered(daemon));
        RegKey(RegRoot::LocalMachine, kProgramKey, true).writeInt("SorvexQueueEnabled", 1);
    }
    // A job as the daemon makes it, for a list of names in the results folder.
    SorvexQueueJob Job(const QStringList& names) {
        CDtaListFile list;
        const QString listPath = dir.filePath("list-" + QString::number(++made_));
        EXPECT_TRUE(list.Open(listPath));
        for (const QString& name : names) {
            sheettest::WriteBytes(results + "/" + name, "x");
            list.AddName(name);
        }
        EXPECT_TRUE(list.Close());
        sheettest::WriteBytes(results + "/sorvex.params", "first_database_name = kept\n");
        const QString program = search + "/sorvex27.exe";
        QString error;
        auto job = MakeSorvexQueueJob(run, databases + "horse.fasta", results, root,
                                      CommandListText({program, "-R" + listPath}),
                                      CommandListText({program}), "High", &error);
        EXPECT_TRUE(job) << qPrintable(error);
        return job ? *job : SorvexQueueJob{};
    }
    // A request as the daemon sends it: with the queue's token.
    static QByteArray Request(const QByteArray& body) {
        return TokenRequestLine(ReadTokenFile(SorvexQueueTokenPath()), body);
    }
    // Sends a line and returns the queue's reply.
    static QByteArray Ask(const QByteArray& line) {
        QLocalSocket socket;
        socket.connectToServer(SorvexQueueSocketPath());
        if (!socket.waitForConnected(zartest::kWorkWaitMs)) return "no connection";
        socket.write(line);
        if (!QTest::qWaitFor([&] { return socket.canReadLine(); }, zartest::kWorkWaitMs))
            return "no reply";
        return socket.readLine();
    }
    // Keeps a job in the queue's folder as the queue keeps it.
    static void KeepJob(const QString& id, SorvexQueueJob job, SorvexQueueJob::State state) {
        const QString folder = CSorvexQueue::JobFolder(id);
        ASSERT_TRUE(QDir().mkpath(folder));
        job.id = id;
        job.state = state;
        sheettest::WriteBytes(folder + "/SorvexList", job.list);
        sheettest::WriteBytes(folder + "/sorvex.params", job.params);
        sheettest::WriteBytes(folder + "/job.json", job.ToJson());
    }
    // A program of the test's own that notes that it ran.
    QString ForeignProgram() {
        const QString program = dir.filePath("foreign.sh");
        sheettest::WriteBytes(program, "#!/bin/sh\ntouch '" + dir.filePath("foreign-ran").toLocal8Bit() + "'\n");
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return program;
    }
    static int Permissions(const QString& path) {
        return static_cast<int>(QFileInfo(path).permissions() &
                                (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                 QFileDevice::WriteOther | QFileDevice::ExeOther));
    }
    static bool Alive(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }
    QString QueueProgram() const {
        return QDir(QCoreApplication::applicationDirPath()).filePath("SorvexQueue");
    }
    int made_ = 0;
};

}  // namespace

TEST_F(QueueFixture, TheQueueKeepsAJobAndRunsItOnItsCopies) {
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    CSorvexQueueWindow window(queue);
    const SorvexQueueJob job = Job({"a.0001.0001.2.dta", "a.0002.0002.2.dta"});
    // The program's files change after the job was handed over: the job keeps what it was given.
    QLocalSocket socket;
    socket.connectToServer(SorvexQueueSocketPath());
    ASSERT_TRUE(socket.waitForConnected(zartest::kWorkWaitMs));
    socket.write(Request(job.ToJson()));
    sheettest::WriteBytes(results + "/sorvex.params", "first_database_name = changed\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.canReadLine(); }, zartest::kWorkWaitMs));
    EXPECT_EQ(socket.readLine(), "OK job00001\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !queue.Jobs().empty() && queue.Jobs()[0].state == SorvexQueueJob::State::Done;
        },
        zartest::kWorkWaitMs));
    EXPECT_EQ(FilesIn(results, "*.out"), (QStringList{"a.0001.0001.2.out", "a.0002.0002.2.out"}));
    EXPECT_EQ(ReadAll(logs + "/sorvex27.params"), "first_database_name = kept\n");
    const QString folder = CSorvexQueue::JobFolder("job00001");
    EXPECT_EQ(LoggedArguments("sorvex27"), (QStringList{results, "-R" + folder + "/SorvexList",
                                                        "-P" + folder + "/sorvex.params"}));
    EXPECT_FALSE(QFileInfo::exists(folder));  // a job that has run leaves nothing behind
    ASSERT_EQ(window.Table()->rowCount(), 1);
    EXPECT_EQ(window.Table()->item(0, 1)->text(), "Done");
    EXPECT_EQ(window.Table()->item(0, 0)->text(), "High");
    if (const QString pictures = qEnvironmentVariable("ZAR_ROAD_PICTURES"); !pictures.isEmpty()) {
        window.show();
        QApplication::processEvents();
        EXPECT_TRUE(window.grab().save(pictures + "/queue-window.png"));
    }
    // What is not a job is refused.
    socket.write(Request("{\"no\":1}"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.canReadLine(); }, zartest::kWorkWaitMs));
    EXPECT_TRUE(socket.readLine().startsWith("ERR "));
}

TEST_F(QueueFixture, WithoutItsLibraryTheDaemonIsNotThereAndSearchesRunDirectly) {
    ASSERT_EQ(
        RegisterServerLibrary(
            QDir(QCoreApplication::applicationDirPath()).filePath(kSorvexDaemonLibrary), true),
        S_OK);
    auto launcher = SorvexReady();
    EXPECT_FALSE(launcher->HasSearchDaemon());
    EXPECT_TRUE(boxes.texts().isEmpty());
    auto* page = launcher->Sheet()->GetPage(3);
    launcher->Sheet()->SetActivePage(3);
    EXPECT_FALSE(page->GetDlgItem(CSorvexQueuePage::kThroughQueueId)->isEnabled());
}

TEST_F(QueueFixture, ASecondQueueShowsTheFirstAndEnds) {
    CSorvexQueue first;
    ASSERT_TRUE(first.Start());
    int shown = 0;
    QObject::connect(&first, &CSorvexQueue::ShowRequested, [&] { ++shown; });
    QProcess second;
    second.start(QDir(QCoreApplication::applicationDirPath()).filePath("SorvexQueue"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, zartest::kWorkWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, zartest::kWorkWaitMs));
}

TEST_F(QueueFixture, AQueuedSearchRunsAfterTheSheetIsClosed) {
    // The queue program runs on its own, as the sheet starts it (here the test holds it).
    QProcess queue;
    queue.start(QDir(QCoreApplication::applicationDirPath()).filePath("SorvexQueue"), {});
    ASSERT_TRUE(queue.waitForStarted(zartest::kWorkWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(SorvexQueueSocketPath()); }, zartest::kWorkWaitMs));
    // The sheet's own start of the queue finds one running.
    QFile::link(QDir(QCoreApplication::applicationDirPath()).filePath("SorvexQueue"),
                search + "/SorvexQueue.exe");

    auto launcher = SorvexReady();
    ASSERT_TRUE(launcher->HasSearchDaemon());
    auto* page = launcher->Sheet()->GetPage(3);
    launcher->Sheet()->SetActivePage(3);
    dynamic_cast<QAbstractButton*>(page->GetDlgItem(CSorvexQueuePage::kThroughQueueId))->click();
    dynamic_cast<QAbstractButton*>(page->GetDlgItem(CSorvexQueuePage::kLowId))->click();
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    // Handed over: the launcher's list is gone and its sheet closed; nothing ran here.
    EXPECT_FALSE(QFile::exists(results + "/SorvexList"));
    EXPECT_FALSE(launcher->Child().IsRunning());
    launcher.reset();
    sheettest::WriteBytes(results + "/sorvex.params", "first_database_name = changed\n");

    ASSERT_TRUE(QTest::qWaitFor([&] { return FilesIn(results, "*.out").size() == 3; }, zartest::kWorkWaitMs));
    EXPECT_TRUE(ReadAll(logs + "/sorvex27.params").contains("horse.fasta"));
    const QStringList args = LoggedArguments("sorvex27");
    ASSERT_EQ(args.size(), 3);
    EXPECT_EQ(args[0], results);
    EXPECT_TRUE(args[1].startsWith("-R" + SorvexQueueFolder()));
    queue.kill();
    queue.waitForFinished(zartest::kWorkWaitMs);
}

// Only a request that carries the queue's token is taken: another program of the user that
// finds the socket cannot hand over a search.
TEST_F(QueueFixture, TheQueueTakesOnlyRequestsThatCarryItsToken) {
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    const QByteArray json = Job({"a.0001.0001.2.dta"}).ToJson();
    EXPECT_TRUE(Ask(json + '\n').startsWith("ERR ")) << "no token";
    EXPECT_TRUE(Ask(TokenRequestLine("0123456789abcdef0123456789abcdef", json)).startsWith("ERR "))
        << "a token of its own making";
    EXPECT_EQ(Ask(Request(json)), "OK job00001\n");
    EXPECT_EQ(Permissions(SorvexQueueTokenPath()), 0) << "the token is its user's alone";
    EXPECT_EQ(Permissions(SorvexQueueFolder()), 0);
}

// A job runs a search program of the program folder on files of its own results folder, and
// nothing else, whatever the request says.
TEST_F(QueueFixture, AJobRunsOnlyASearchProgramOnFilesOfItsFolder) {
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    const QString program = search + "/sorvex27.exe";
    const QString foreign = ForeignProgram();
    const struct {
        const char* name;
        std::function<void(SorvexQueueJob&)> change;
    } cases[] = {
        {"a foreign program", [&](SorvexQueueJob& j) { j.commandNoList = QStringList{foreign}; }},
        {"a copy of a search program elsewhere",
         [&](SorvexQueueJob& j) { j.commandNoList = QStringList{dir.filePath("sorvex27.exe")}; }},
        {"a list of its own",
         [&](SorvexQueueJob& j) { j.commandNoList = QStringList{program, "-R/etc/hosts"}; }},
        {"a folder out of its folder",
         [&](SorvexQueueJob& j) { j.resultsDirectory = results + "/../peptide"; }},
        {"a relative folder", [&](SorvexQueueJob& j) { j.resultsDirectory = "results"; }},
        {"a name up the tree", [&](SorvexQueueJob& j) { j.list = "a.0001.0001.2.dta\n../run.dta\n"; }},
        {"a name elsewhere", [&](SorvexQueueJob& j) { j.list = "/etc/hosts\n"; }},
    };
    ASSERT_TRUE(QFile::copy(QFile::symLinkTarget(program), dir.filePath("sorvex27.exe")));
    for (const auto& c : cases) {
        SorvexQueueJob job = Job({"a.0001.0001.2.dta"});
        c.change(job);
        EXPECT_TRUE(Ask(Request(job.ToJson())).startsWith("ERR ")) << c.name;
    }
    EXPECT_TRUE(queue.Jobs().empty());
    // Names of the folder, relative or in full, are the job's.
    SorvexQueueJob job = Job({"a.0001.0001.2.dta", "a.0002.0002.2.dta"});
    job.list = "a.0001.0001.2.dta\n" + (results + "/a.0002.0002.2.dta\n").toUtf8();
    EXPECT_EQ(Ask(Request(job.ToJson())), "OK job00001\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !queue.Jobs().empty() && queue.Jobs()[0].state == SorvexQueueJob::State::Done; },
        zartest::kWorkWaitMs));
    EXPECT_FALSE(QFile::exists(dir.filePath("foreign-ran")));
}

// A job file put into the queue's folder by another hand runs no foreign program when the
// queue starts.
TEST_F(QueueFixture, AJobFileDroppedIntoTheFolderRunsNothingForeign) {
    SorvexQueueJob job = Job({"a.0001.0001.2.dta"});
    job.commandNoList = QStringList{ForeignProgram()};
    KeepJob("job00007", job, SorvexQueueJob::State::Waiting);
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    ASSERT_EQ(queue.Jobs().size(), 1u);
    EXPECT_EQ(queue.Jobs()[0].state, SorvexQueueJob::State::Failed);
    EXPECT_FALSE(queue.RunningJob());
    EXPECT_FALSE(QFileInfo::exists(CSorvexQueue::JobFolder("job00007")));
    EXPECT_FALSE(QFile::exists(dir.filePath("foreign-ran")));
}

// A line that never ends is not held while it grows: the queue answers and hangs up.
TEST_F(QueueFixture, AnEndlessLineIsCutOff) {
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    QLocalSocket socket;
    socket.connectToServer(SorvexQueueSocketPath());
    ASSERT_TRUE(socket.waitForConnected(zartest::kWorkWaitMs));
    // The answer is taken as it comes: a connection cut while writing drops what was unread.
    QByteArray reply;
    QObject::connect(&socket, &QLocalSocket::readyRead, [&] { reply += socket.readAll(); });
    const QByteArray block(1 << 20, 'x');
    const auto sent = [&] {
        return socket.bytesToWrite() == 0 || socket.state() != QLocalSocket::ConnectedState;
    };
    for (int i = 0; i < 40 && socket.state() == QLocalSocket::ConnectedState; ++i) {
        socket.write(block);
        ASSERT_TRUE(QTest::qWaitFor(sent, zartest::kWorkWaitMs));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                                zartest::kWorkWaitMs));
    reply += socket.readAll();
    EXPECT_TRUE(reply.startsWith("ERR the request is too long")) << reply.left(100).toStdString();
}

// A running job's files are its user's alone, and the job is marked running: a queue started
// again while its search still runs does not run it a second time.
TEST_F(QueueFixture, ARunningJobIsNotRunASecondTime) {
    qputenv("ZAR_FAKE_SEARCH_MODE", "hang");
    {
        CSorvexQueue queue;
        ASSERT_TRUE(queue.Start());
        EXPECT_EQ(Ask(Request(Job({"a.0001.0001.2.dta"}).ToJson())), "OK job00001\n");
        const QString folder = CSorvexQueue::JobFolder("job00001");
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + "/running.pid"); },
                                    zartest::kWorkWaitMs));
        EXPECT_EQ(Permissions(folder), 0);
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            EXPECT_EQ(Permissions(folder + "/" + name), 0) << name.toStdString();
        EXPECT_TRUE(ReadAll(folder + "/job.json").contains("\"Running\""));
    }
    qunsetenv("ZAR_FAKE_SEARCH_MODE");
    // As a queue ended by force leaves it, its search still running.
    SorvexQueueJob job = Job({"a.0001.0001.2.dta"});
    KeepJob("job00002", job, SorvexQueueJob::State::Running);
    const QString folder = CSorvexQueue::JobFolder("job00002");
    QProcess search;
    search.start("/bin/sh", {"-c", "while :; do sleep 1; done", folder});
    ASSERT_TRUE(search.waitForStarted(zartest::kWorkWaitMs));
    sheettest::WriteBytes(folder + "/running.pid", QByteArray::number(search.processId()));
    QFile::remove(logs + "/sorvex27.args");
    {
        CSorvexQueue queue;
        ASSERT_TRUE(queue.Start());
        const auto second = std::find_if(queue.Jobs().begin(), queue.Jobs().end(),
                                         [](const SorvexQueueJob& j) { return j.id == "job00002"; });
        ASSERT_NE(second, queue.Jobs().end());
        EXPECT_EQ(second->state, SorvexQueueJob::State::Stopped);
        EXPECT_FALSE(second->note.isEmpty());
    }
    search.kill();
    search.waitForFinished(zartest::kWorkWaitMs);
    // Once that search has gone, the job runs again, and only it.
    CSorvexQueue queue;
    ASSERT_TRUE(queue.Start());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(queue.Jobs().begin(), queue.Jobs().end(), [](const SorvexQueueJob& j) {
                return j.id == "job00002" && j.state == SorvexQueueJob::State::Done;
            });
        },
        zartest::kWorkWaitMs));
}

// The queue ended by a signal (or killed) ends its running search with it; started again, it
// runs the job to its end.
TEST_F(QueueFixture, TheEndOfTheQueueEndsItsSearch) {
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        qputenv("ZAR_FAKE_SEARCH_MODE", "hang");
        QProcess queue;
        queue.start(QueueProgram(), {});
        ASSERT_TRUE(queue.waitForStarted(zartest::kWorkWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ReadTokenFile(SorvexQueueTokenPath()).isEmpty() &&
                                                 QFile::exists(SorvexQueueSocketPath()); },
                                    zartest::kWorkWaitMs));
        QString id;
        ASSERT_TRUE(SendToSorvexQueue(Job({"a.0001.0001.2.dta"}), zartest::kWorkWaitMs, &id)) << qPrintable(id);
        const QString folder = CSorvexQueue::JobFolder(id);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ReadAll(folder + "/running.pid").isEmpty(); },
                                    zartest::kWorkWaitMs));
        const qint64 pid = ReadAll(folder + "/running.pid").toLongLong();
        ASSERT_TRUE(Alive(pid));
        ::kill(static_cast<pid_t>(queue.processId()), signal);
        ASSERT_TRUE(queue.waitForFinished(zartest::kWorkWaitMs));
        const bool ended = QTest::qWaitFor([&] { return !Alive(pid); }, zartest::kWorkWaitMs);
        if (!ended) ::kill(static_cast<pid_t>(pid), SIGKILL);
        EXPECT_TRUE(ended) << "no search is left behind";

        qunsetenv("ZAR_FAKE_SEARCH_MODE");
        QFile::remove(results + "/a.0001.0001.2.out");
        CSorvexQueue again;
        ASSERT_TRUE(again.Start());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(results + "/a.0001.0001.2.out") &&
                                                 !QFileInfo::exists(folder); },
                                    zartest::kWorkWaitMs));
    }
}
