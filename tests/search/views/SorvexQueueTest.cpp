// The SORVEX Queue and the search daemon: a job handed over keeps its own copies of the list and
// the parameters, and runs in the queue after the program that handed it over has closed its
// sheet and its launcher.

#include "LauncherTestSupport.h"

#include "com/ComRegistry.h"
#include "search/SorvexDaemon.h"
#include "search/SorvexQueueClient.h"
#include "search/views/SorvexQueuePage.h"
#include "tools/sorvexqueue/SorvexQueue.h"
#include "tools/sorvexqueue/SorvexQueueWindow.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTableWidget>

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
    socket.write(job.ToJson() + '\n');
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
    socket.write("{\"no\":1}\n");
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
