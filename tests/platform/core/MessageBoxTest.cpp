#include "core/MessageBox.h"
#include "gui/GuiMessageBox.h"

#include "TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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
