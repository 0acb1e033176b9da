// The search progress window: its texts, its bars and its Cancel.

#include "search/views/SearchProgressDlg.h"

#include "TestSupport.h"
#include "document/ZarMessages.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace zar;
using Dlg = CSearchProgressDlg;

TEST(SearchProgressDlgTest, CaptionsAndFirstTexts) {
    QWidget owner;
    for (bool mapping : {false, true}) {
        auto* dialog = new Dlg(&owner, mapping);
        ASSERT_TRUE(dialog->Create());
        EXPECT_EQ(dialog->windowTitle(),
                  mapping ? "Peptide Mapping Progress" : "TurboSORVEX Progress");
        EXPECT_EQ(dialog->Text(Dlg::kDtaTextId), "Create Dta");
        EXPECT_EQ(dialog->Text(Dlg::kRemainingTextId), "Time remaining: 0 m 0 s");
        EXPECT_EQ(dialog->BarMaximum(Dlg::kDatabaseBarId), 100);
        delete dialog;
    }
}

TEST(SearchProgressDlgTest, ADtaNameShowsItsScansAndTheCallerSeesTheCut) {
    QWidget owner;
    Dlg dialog(&owner, false);
    dialog.Create();
    QString name = " run.0100.0100.2.dta";
    dialog.SetDtaName(name);
    EXPECT_EQ(dialog.Text(Dlg::kDtaTextId), "Create dta - .0100.0100.2.");
    EXPECT_EQ(name, " run.0100.0100.2.");
    EXPECT_EQ(dialog.FileCount(), 1);
    QString plain = "nodot";
    dialog.SetDtaName(plain);
    EXPECT_EQ(plain, "nodot");
    EXPECT_EQ(dialog.FileCount(), 1);
    dialog.SetDtaRange(40);
    dialog.SetDtaProgress(-1);
    EXPECT_EQ(dialog.BarValue(Dlg::kDtaBarId), 40);
}

TEST(SearchProgressDlgTest, TimeTexts) {
    struct Case {
        const char* name;
        int files;
        std::vector<std::pair<int, double>> done;  // file index searched, its seconds
        const char* remaining;
        const char* total;
    } cases[] = {
        {"no time yet counts two seconds a file",
         10,
         {{0, 0.0}},
         "Time remaining: 18 s",
         "Total time: 0 m 0 s"},
        {"under 100 s in seconds", 2, {{0, 95.4}}, "Time remaining: 95 s", "Total time: 1 m 35 s"},
        {"from 100 s in minutes",
         2,
         {{0, 125.0}},
         "Time remaining: 2 m 5 s",
         "Total time: 2 m 5 s"},
        {"the average of the files so far",
         5,
         {{0, 10.0}, {1, 30.0}},
         "Time remaining: 60 s",
         "Total time: 0 m 40 s"},
    };
    QWidget owner;
    for (const Case& c : cases) {
        Dlg dialog(&owner, false);
        dialog.Create();
        dialog.SetDatabaseScale(100);
        dialog.SetFileCount(c.files);
        for (const auto& [index, seconds] : c.done) {
            dialog.SetSearchFile(index);
            dialog.FileDone(seconds);
        }
        EXPECT_EQ(dialog.Text(Dlg::kDtaTextId), "Create dta - Done!") << c.name;
        EXPECT_EQ(dialog.Text(Dlg::kSearchTextId), QStringLiteral("Searching database (%1 of %2)")
                                                       .arg(c.done.back().first + 1)
                                                       .arg(c.files))
            << c.name;
        EXPECT_EQ(dialog.Text(Dlg::kRemainingTextId), c.remaining) << c.name;
        dialog.FileDone(-1);
        EXPECT_EQ(dialog.Text(Dlg::kRemainingTextId), c.total) << c.name;
        EXPECT_EQ(dialog.BarValue(Dlg::kFilesBarId), 100) << c.name;
    }
}

// The search program reports whole seconds, so files of under a second each report 0: the
// estimate and the total then follow the time the search has really taken.
TEST(SearchProgressDlgTest, FilesReportedAtNoSecondsAreTimedByTheClock) {
    QWidget owner;
    Dlg dialog(&owner, false);
    dialog.Create();
    dialog.SetFileCount(20);
    dialog.SetSearchFile(0);
    QTest::qWait(2500);
    dialog.FileDone(0);
    const QByteArray text = dialog.Text(Dlg::kRemainingTextId).toLatin1();
    int minutes = 0;
    int seconds = 0;
    int remaining = 0;
    if (std::sscanf(text.constData(), "Time remaining: %d m %d s", &minutes, &seconds) == 2)
        remaining = minutes * 60 + seconds;
    else
        ASSERT_EQ(std::sscanf(text.constData(), "Time remaining: %d s", &remaining), 1)
            << text.constData();
    // 19 files left at 2.5 s or more each; the two seconds a file assumed before would say 38.
    EXPECT_GE(remaining, 47) << text.constData();
    dialog.FileDone(-1);
    ASSERT_EQ(std::sscanf(dialog.Text(Dlg::kRemainingTextId).toLatin1().constData(),
                          "Total time: %d m %d s", &minutes, &seconds),
              2);
    EXPECT_GE(minutes * 60 + seconds, 2);
}

TEST(SearchProgressDlgTest, ADatabasePositionBeforeItsScaleIsSetMovesNothing) {
    QWidget owner;
    Dlg dialog(&owner, false);
    dialog.Create();
    ASSERT_EQ(dialog.DatabaseScale(), 0);
    const int before = dialog.BarValue(Dlg::kDatabaseBarId);
    dialog.SetDatabaseProgress(50);
    EXPECT_EQ(dialog.BarValue(Dlg::kDatabaseBarId), before);
    dialog.SetDatabaseScale(100);
    dialog.SetDatabaseProgress(50);
    EXPECT_EQ(dialog.BarValue(Dlg::kDatabaseBarId), 50);
}

TEST(SearchProgressDlgTest, CancelAsksTheMainWindowOnceAndCloses) {
    QWidget owner;
    for (bool mapping : {false, true}) {
        zartest::MessageTrap trap(&owner, {kMsgSorvexReshowSheet, kMsgMassmapReshowSheet});
        QPointer<Dlg> dialog = new Dlg(&owner, mapping);
        dialog->Create();
        dialog->show();
        dialog->close();  // the window's own close is a Cancel too
        QApplication::processEvents();
        ASSERT_EQ(trap.caught().size(), 1u);
        EXPECT_EQ(trap.caught()[0].message,
                  mapping ? kMsgMassmapReshowSheet : kMsgSorvexReshowSheet);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, zartest::kWorkWaitMs));
    }
}
