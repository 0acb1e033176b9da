#include "core/MessageBox.h"
#include "gui/GuiMessageBox.h"

#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using namespace zar;

TEST(MessageBox, CaptureRecordsTextAndAnswers) {
    zartest::MessageBoxCapture capture;
    capture.answerNext(IDNO);
    EXPECT_EQ(ZarMessageBox(QStringLiteral("Overwrite?"), MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(ZarMessageBox(QStringLiteral("Unable to open the indexed database")), IDOK);
    EXPECT_EQ(capture.texts(),
              QStringList({QStringLiteral("Overwrite?"), QStringLiteral("Unable to open the indexed database")}));
    EXPECT_EQ(capture.shown()[0].style & MB_TYPEMASK, static_cast<unsigned>(MB_YESNO));
}

TEST(MessageBox, DefaultAnswersFollowTheButtonSet) {
    EXPECT_EQ(DefaultAnswer(MB_OK), IDOK);
    EXPECT_EQ(DefaultAnswer(MB_YESNO), IDYES);
    EXPECT_EQ(DefaultAnswer(MB_OKCANCEL), IDOK);
    EXPECT_EQ(DefaultAnswer(MB_RETRYCANCEL), IDRETRY);
}

TEST(MessageBox, CaptureWorksFromAWorkerThread) {
    zartest::MessageBoxCapture capture;
    std::thread worker([] { ZarMessageBox(QStringLiteral("from the worker")); });
    worker.join();
    EXPECT_EQ(capture.texts(), QStringList{QStringLiteral("from the worker")});
}

namespace {
// Presses the given button of the message box that is open, once it is.
void pressWhenShown(QMessageBox::StandardButton which) {
    QTimer::singleShot(0, [which] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                box->button(which)->click();
                return;
            }
        }
        pressWhenShown(which);
    });
}
}  // namespace

TEST(MessageBox, WorkerReportsDoNotWaitForTheUser) {
    MessageBoxHandler previous = SetMessageBoxHandler({});
    InstallGuiMessageBox();
    int answer = 0;
    std::thread worker([&answer] { answer = ZarMessageBox(QStringLiteral("Unable to open the indexed database")); });
    worker.join();  // would wait forever if the worker waited for the box
    EXPECT_EQ(answer, IDOK);
    pressWhenShown(QMessageBox::Ok);
    QCoreApplication::processEvents();  // the box is shown on this thread and closed
    SetMessageBoxHandler(previous);
}

TEST(MessageBox, GuiHandlerShowsAWindowAndReturnsTheButton) {
    MessageBoxHandler previous = SetMessageBoxHandler({});
    InstallGuiMessageBox();
    pressWhenShown(QMessageBox::No);
    EXPECT_EQ(ZarMessageBox(QStringLiteral("Delete the file?"), MB_YESNO | MB_ICONQUESTION), IDNO);
    pressWhenShown(QMessageBox::Ok);
    EXPECT_EQ(ZarMessageBox(QStringLiteral("Done")), IDOK);
    SetMessageBoxHandler(previous);
}

// A box that comes while no window of the program is active (a worker's report after the web
// browser took the focus) belongs to the window the user last worked in and comes in front of
// it; under a window manager a box without an owner may come up behind the main window.
TEST(MessageBox, ABoxBelongsToTheWindowLastWorkedInAndComesInFront) {
    MessageBoxHandler previous = SetMessageBoxHandler({});
    InstallGuiMessageBox();
    QMainWindow main;
    main.resize(600, 400);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QWidget other;
    auto* edit = new QLineEdit(&other);
    other.resize(300, 200);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));

    struct Case {
        const char* what;
        QWidget* worked;  // the window the user worked in last; null: none
        QWidget* owner;
    } cases[] = {{"the window last worked in", &other, &other},
                 {"no window worked in yet: the main window", nullptr, &main}};
    for (const Case& c : cases) {
        if (c.worked) {
            QApplication::setActiveWindow(c.worked);
            edit->setFocus();
            QCoreApplication::processEvents();
        }
        QApplication::setActiveWindow(nullptr);  // the focus went to another program
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), nullptr);
        if (!c.worked) other.hide();
        QWidget* owner = nullptr;
        bool active = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            owner = box->parentWidget();
            active = QTest::qWaitFor([box] { return QApplication::activeWindow() == box; },
                                     zartest::kWorkWaitMs);
            box->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(ZarMessageBox(QStringLiteral("The sheet was exported")), IDOK) << c.what;
        EXPECT_EQ(owner, c.owner) << c.what;
        EXPECT_TRUE(active) << c.what;
    }
    SetMessageBoxHandler(previous);
}
