// Every command the main window offers, in every layout it can show, on the demo data set with
// its results loaded: each enabled menu item is chosen once; dialogs it opens are dismissed, and
// windows it leaves open are closed before the next one. The program must stay whole (the
// sanitizers watch every step), and an item that is enabled must answer.

#include "MainFrame.h"
#include "ZarApp.h"
#include "app/FrameCommands.h"
#include "databases/views/RegisterDatabaseTools.h"
#include "databases/views/RegisterPepmapViews.h"
#include "document/hub/ZarDoc.h"
#include "infobar/InfoBar.h"
#include "interpretation/views/RegisterDenovoViews.h"
#include "interpretation/views/RegisterZarmassViews.h"
#include "resultviews/RegisterResultViews.h"
#include "resultviews/views/RegisterResultFormViews.h"
#include "search/views/RegisterConfiguration.h"
#include "search/views/SearchLaunchers.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "tools/demo/DemoWriter.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace zar;

namespace {

// The menu items below a menu, in menu order. Menus may be made again while the items are
// chosen (the recent-files list, a layout's own menu): items that went are skipped.
void CollectItems(QMenu* menu, std::vector<QPointer<QAction>>& items) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu())
            CollectItems(a->menu(), items);
        else
            items.emplace_back(a);
    }
}

std::vector<QPointer<QAction>> MenuItems(const CMainFrame& frame) {
    std::vector<QPointer<QAction>> items;
    for (QAction* top : frame.menuBar()->actions())
        if (top->menu()) CollectItems(top->menu(), items);
    return items;
}

// Dismisses whatever modal window is open, as a user pressing Escape would.
class ModalDismisser {
  public:
    ModalDismisser() {
        timer_.setInterval(25);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        });
        timer_.start();
    }

  private:
    QTimer timer_;
};

bool IsViewSwitch(int id) {
    switch (id) {
        case ID_VIEW_GENERAL_TRACE:
        case ID_VIEW_SORVEX_SUMMARY:
        case ID_VIEW_ZARMASS:
        case ID_VIEW_DENOVO:
        case ID_VIEW_PEPMATCH:
        case ID_VIEW_PEPMAP:
        case ID_VIEW_MASSMAP:
        case ID_VIEW_MULTI_CONSENSUS:
            return true;
        default:
            return false;
    }
}

// Items left out: leaving the program, emptying or opening the document again (the rest would
// find nothing loaded to act on; the recent-files items carry no command number) and starting
// the queue program, which outlives the test.
bool IsLeftOut(int id) {
    return id == 0 || id == ID_APP_EXIT || id == ID_FILE_NEW || id == ID_TOOLS_SORVEX_QUEUE;
}

void CloseOtherWindows(const CMainFrame& frame) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &frame && w->isVisible() && !qobject_cast<QMenu*>(w)) w->close();
}

}  // namespace

// The program as its entry puts it together.
class MenuCrawlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterSpectrumViews();
        RegisterDenovoViews();
        RegisterDatabaseTools();
        RegisterResultFormViews();
        RegisterZarmassViews();
        RegisterPepmapViews();
        ASSERT_TRUE(app.InitInstance({}));
        frame = app.GetMainFrame();
        RegisterResultViews(*frame);
        ASSERT_TRUE(CreateInfoBar(*frame));
        RegisterConfigurationSheet();
        RegisterSearchLaunchers(*frame);
    }

    // Chooses every enabled item once in each of the layouts (none: the layout shown).
    void Crawl(const std::vector<int>& layouts) {
        ModalDismisser dismisser;
        std::vector<int> steps = layouts;
        if (steps.empty()) steps.push_back(0);
        for (int layout : steps) {
            frame->UpdateCommandUI();
            if (layout != 0) {
                QAction* view = frame->Action(layout);
                ASSERT_TRUE(view);
                if (!view->isEnabled()) continue;
                view->trigger();
                QApplication::processEvents();
            }
            const int type = frame->CurrentViewType();
            types.insert(type);
            for (const QPointer<QAction>& a : MenuItems(*frame)) {
                if (!a) continue;
                const int id = a->data().toInt();
                if (IsViewSwitch(id) || IsLeftOut(id)) continue;
                frame->UpdateCommandUI();
                if (!a || !a->isEnabled()) continue;
                std::printf("[ command  ] view type %d: %s\n", type,
                            qPrintable(a->text().remove(QLatin1Char('&'))));
                std::fflush(stdout);
                const size_t shownBefore = boxes.shown().size();
                a->trigger();
                ++chosen;
                answered.insert(id);
                QTest::qWait(10);
                QTest::qWaitFor([&] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs);
                CloseOtherWindows(*frame);
                QApplication::processEvents();
                for (size_t k = shownBefore; k < boxes.shown().size(); ++k)
                    std::printf("[ message  ] %s\n", qPrintable(boxes.shown()[k].text));
                ASSERT_TRUE(frame->isVisible());
                // A command may show another layout (a results load shows the summary).
                if (layout != 0 && frame->CurrentViewType() != type) frame->RunCommand(layout);
            }
        }
        std::printf("[ crawl    ] %d commands chosen, %zu distinct, %zu messages shown\n", chosen,
                    answered.size(), boxes.shown().size());
    }

    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture shell;
    CZarApp app;
    CMainFrame* frame = nullptr;
    std::set<int> answered, types;
    int chosen = 0;
};

TEST_F(MenuCrawlTest, EveryEnabledCommandOfEveryLayoutAnswers) {
    QTemporaryDir dir;
    const QString demo = dir.filePath(QStringLiteral("demo"));
    // A shorter gradient than the demo's own: the same kinds of scans in less time.
    DemoSettings settings;
    settings.runMinutes = 8.0;
    settings.firstElution = 1.5;
    settings.lastElution = 7.0;
    settings.intactMinutes = 7.5;
    QString error;
    ASSERT_TRUE(WriteDemoFolder(demo, MakeDemoRun(settings), false, error)) << qPrintable(error);
    ASSERT_TRUE(app.GetDocument()->OnOpenDocument(demo + QStringLiteral("/demo.mzML")));
    ASSERT_TRUE(OpenSorvexResults(*frame, demo + QStringLiteral("/results")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    frame->UpdateCommandUI();

    std::vector<int> layouts;
    for (const QPointer<QAction>& a : MenuItems(*frame))
        if (IsViewSwitch(a->data().toInt())) layouts.push_back(a->data().toInt());
    ASSERT_GE(layouts.size(), 8u);
    Crawl(layouts);
    // Every layout of the View menu was shown, and the commands of all menus were offered.
    EXPECT_EQ(types.size(), layouts.size());
    EXPECT_GE(answered.size(), 36u);
}

TEST_F(MenuCrawlTest, EveryEnabledCommandAnswersBeforeARunIsOpened) {
    Crawl({});
    // The tools, options, help and the commands that open files do not need a run.
    EXPECT_GE(answered.size(), 20u);
}
