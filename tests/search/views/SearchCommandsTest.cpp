// The main window's search commands and messages: enabled by their rules, the launchers made
// and ended by the main window, the programs' messages handed on, and a finished search's
// results opened.

#include "search/views/SearchLaunchers.h"

#include "LauncherTestSupport.h"

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/ViewFactory.h"
#include "app/ZarViewWidget.h"
#include "hub/ZarDoc.h"
#include "resultviews/ResultsStatusDlg.h"

#include <QAction>
#include <QSysInfo>
#include <QUrl>

using namespace zar;
using namespace launchertest;

namespace {

class StandInPane : public CZarViewWidget {
  public:
    explicit StandInPane(const char* name) : name_(name) {}
    const char* ViewClassName() const override { return name_; }

  private:
    const char* name_;
};

// The plot layout and the summary layout that opened results show, with stand-ins for the
// panes this folder does not provide.
void RegisterLayouts() {
    for (const char* layoutName : {"CPlotSplitterView", "CSummarySplitterView"}) {
        const SplitterLayout* layout = LayoutByClassName(QString::fromLatin1(layoutName));
        if (!layout) continue;
        for (const SplitterPane& pane : layout->panes) {
            const QString cls = QString::fromLatin1(pane.viewClass);
            if (CanMakeWholeView(cls) || LayoutByClassName(cls)) continue;
            const char* name = pane.viewClass;
            RegisterViewClass(cls, [name](QWidget*) { return new StandInPane(name); });
        }
    }
}

class SearchCommandsFixture : public LauncherFixture {
  protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        RegisterLayouts();
        doc = std::make_unique<CZarDoc>();
        frame = std::make_unique<CMainFrame>(doc.get());
        RegisterSearchLaunchers(*frame);
        launchers = CSearchLaunchers::Of(*frame);
        ASSERT_TRUE(launchers);
        doc->OnOpenDocument(run);
        boxes.clear();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
        LauncherFixture::TearDown();
    }
    bool Enabled(int id) {
        frame->UpdateCommandUI();
        return frame->Action(id)->isEnabled();
    }
    std::unique_ptr<CZarDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CSearchLaunchers* launchers = nullptr;
};

}  // namespace

TEST_F(SearchCommandsFixture, TheBrowserCommandOpensThisComputersSearchPages) {
    zartest::ShellOpenCapture shell;
    // The computer's name is a fact of the machine the test runs on, not of the program.
    const QString name = QSysInfo::machineHostName();
    if (name.isEmpty()) {
        frame->RunCommand(ID_TOOLS_SORVEX_BROWSER);
        EXPECT_TRUE(shell.urls().empty());
        EXPECT_EQ(boxes.texts(), QStringList{"Unable to determine the computer name"});
        return;
    }
    QUrl probe;
    probe.setHost(name);
    if (!probe.isValid()) GTEST_SKIP() << "this computer's name is no host name: " << name.toStdString();
    frame->RunCommand(ID_TOOLS_SORVEX_BROWSER);
    ASSERT_EQ(shell.urls().size(), 1u);
    const QUrl url = shell.urls().front();
    EXPECT_EQ(url.scheme(), QStringLiteral("http"));
    EXPECT_EQ(url.host(), QSysInfo::machineHostName().toLower());
    EXPECT_EQ(url.path(), QStringLiteral("/brisolt.html"));
}

TEST_F(SearchCommandsFixture, CommandsFollowTheirRules) {
    ASSERT_EQ(frame->CurrentViewType(), 1);
    EXPECT_TRUE(Enabled(ID_ACTION_SORVEX_SEARCH));
    EXPECT_TRUE(Enabled(ID_ACTION_SORVEX_DTA));
    EXPECT_TRUE(Enabled(ID_ACTION_PEPTIDE_MAPPING));
    // The queue needs the daemon.
    EXPECT_TRUE(Enabled(ID_TOOLS_SORVEX_BROWSER));
    EXPECT_FALSE(Enabled(ID_TOOLS_SORVEX_QUEUE));
    frame->RunCommand(ID_ACTION_SORVEX_SEARCH);
    ASSERT_TRUE(launchers->SorvexLauncher());
    EXPECT_TRUE(launchers->SorvexLauncher()->IsMonitorVisible());
    // While a search is set up, no second one is.
    EXPECT_FALSE(Enabled(ID_ACTION_SORVEX_SEARCH));
    EXPECT_FALSE(Enabled(ID_ACTION_SORVEX_DTA));
    EXPECT_FALSE(Enabled(ID_ACTION_PEPTIDE_MAPPING));
    launchers->SorvexLauncher()->Sheet()->OnClose();
    QApplication::processEvents();
    EXPECT_TRUE(Enabled(ID_ACTION_SORVEX_SEARCH));
    frame->RunCommand(ID_ACTION_SORVEX_DTA);
    ASSERT_TRUE(launchers->DtaDialog());
    EXPECT_TRUE(launchers->DtaDialog()->isVisible());
    EXPECT_FALSE(Enabled(ID_ACTION_SORVEX_SEARCH));
    launchers->DtaDialog()->hide();
    EXPECT_TRUE(Enabled(ID_ACTION_PEPTIDE_MAPPING));
}

TEST_F(SearchCommandsFixture, AFinishedSearchOpensItsResults) {
    frame->RunCommand(ID_ACTION_SORVEX_SEARCH);
    CSorvexLauncher* launcher = launchers->SorvexLauncher();
    ASSERT_TRUE(launcher);
    ChooseDatabase(*launcher);
    PressStart(*launcher);
    // The load may start and end between two looks, so what is waited for is what it leaves.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return (doc->GetSorvexResultsDirectory() == results && !launcher->HasRunState()) ||
                   !boxes.texts().isEmpty();
        },
        zartest::kWorkWaitMs));
    EXPECT_EQ(doc->GetSorvexResultsDirectory(), results) << qPrintable(boxes.texts().join('|'));
    EXPECT_FALSE(launcher->HasRunState());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    // The only word to the user is the load's: the stand-in output files are no search results.
    for (const QString& text : boxes.texts())
        EXPECT_TRUE(text.startsWith("The analysis file doesn't match the results file\n"))
            << qPrintable(text);
}

TEST_F(SearchCommandsFixture, CancelThroughTheMainWindowAndTheLauncherEnded) {
    qputenv("ZAR_FAKE_MODE", "hang");
    frame->RunCommand(ID_ACTION_SORVEX_SEARCH);
    CSorvexLauncher* launcher = launchers->SorvexLauncher();
    ASSERT_TRUE(launcher);
    ChooseDatabase(*launcher);
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() == 1; }, zartest::kWorkWaitMs));
    launcher->ProgressDialog()->OnCancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher->IsExtracting(); }, zartest::kWorkWaitMs));
    EXPECT_FALSE(launcher->Child().IsRunning());
    EXPECT_TRUE(launcher->IsMonitorVisible());
    launcher->EndStep(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !launchers->SorvexLauncher(); }, zartest::kWorkWaitMs));
}

// Closing the main window during a search asks first: No keeps the search and the window, Yes
// ends the search and lets the window close.
TEST_F(SearchCommandsFixture, ExitDuringASearchAsks) {
    qputenv("ZAR_FAKE_MODE", "hang");
    frame->show();
    frame->RunCommand(ID_ACTION_SORVEX_SEARCH);
    CSorvexLauncher* launcher = launchers->SorvexLauncher();
    ASSERT_TRUE(launcher);
    ChooseDatabase(*launcher);
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() == 1; }, zartest::kWorkWaitMs));
    boxes.clear();
    boxes.answerNext(IDNO);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(boxes.texts(), QStringList{QString::fromLatin1(kSearchRunningOnExitText)});
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(launcher->IsExtracting());
    EXPECT_TRUE(launcher->Child().IsRunning());
    boxes.answerNext(IDYES);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(launcher->IsExtracting());
    EXPECT_FALSE(launcher->Child().IsRunning());
    qunsetenv("ZAR_FAKE_MODE");
}
