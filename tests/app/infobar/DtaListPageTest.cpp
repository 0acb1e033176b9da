// The "Dta files" page: its rows, and a results folder read while the page fills.

#include "InfoBarTestSupport.h"
#include "ResizableSheet.h"

#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"
#include "resultviews/DisplayOutFileDlg.h"
#include "resultviews/RegisterResultViews.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;
using namespace infobartest;

TEST(DtaListPageText, ScanTextAndOutputName) {
    struct Case {
        const char* name;
        const char* scans;
        const char* output;
    } cases[] = {
        {"sample.1204.1210.2.dta", "1204 - 1210, +2", "sample.1204.1210.2.out"},
        {"sample.1204.1204.2.dta", "1204, +2", "sample.1204.1204.2.out"},
        {"demo.0100.0100.3.out", "100, +3", "demo.0100.0100.3.out"},
        {"sample.1204.1210.2", "1204 - 1210, +2", "sample.1204.1210.2.out"},
        {"sample.1204.1210.2.", "1204 - 1210, +2", "sample.1204.1210.2.out"},
        {"my sample. 1204.1210.2.dta", "1204 - 1210, +2", "mysample.1204.1210.2.out"},
        {"my sample.1204 .1210.2.dta", "my sample.1204 .1210.2.dta", "mysample.1204.1210.2.out"},
        // Names without a scan range and charge show themselves.
        {"notes.txt", "notes.txt", "notes.txt.out"},
        {"sample", "sample", "sample.out"},
        {"sample.12.x.2.dta", "sample.12.x.2.dta", "sample.12.x.2.out"},
        {"sample.99999999999.1.2.dta", "sample.99999999999.1.2.dta", "sample.99999999999.1.2.out"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDtaListPage::ScanText(QString::fromLatin1(c.name)), QString::fromLatin1(c.scans)) << c.name;
        EXPECT_EQ(CDtaListPage::OutputName(QString::fromLatin1(c.name)), QString::fromLatin1(c.output)) << c.name;
    }
}

namespace {

class DtaListPageTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    FrameWithBar f_;
    CDtaListPage& page() { return f_.bar().DtaListPage(); }
    CDtaListGrid& grid() { return *page().Grid(); }
};

}  // namespace

TEST_F(DtaListPageTest, RowsBeyondTheListGrowItUntilTheyExist) {
    ASSERT_EQ(grid().GetRowCount(), 500);
    page().SetEntry(523, QStringLiteral("a.5.6.2.dta"));
    EXPECT_EQ(grid().GetRowCount(), 530) << "whole steps of 10 rows";
    EXPECT_EQ(page().RowCount(), 530);
    EXPECT_EQ(grid().GetValueRowCol(523, 1), QStringLiteral("5 - 6, +2"));
    page().SetTime(587, 12.0);
    EXPECT_EQ(grid().GetRowCount(), 590);
    EXPECT_EQ(grid().GetDisplayTextRowCol(587, 2), QStringLiteral("12"));
    // The new rows' times are right-aligned like the others.
    EXPECT_EQ(grid().GetStyleRowCol(587, 2).alignment.value_or(Qt::AlignLeft) & Qt::AlignRight, Qt::AlignRight);
    page().SetEntry(0, QStringLiteral("a.1.1.1.dta"));
    page().SetTime(-3, 5.0);
    EXPECT_EQ(grid().GetRowCount(), 590);
}

TEST_F(DtaListPageTest, TimesAreShownWhole) {
    const struct {
        double seconds;
        const char* shown;
    } cases[] = {{0, "0"}, {7, "7"}, {32767, "32767"}, {32768, "32768"}, {65535, "65535"}, {100000, "100000"}};
    int row = 1;
    for (const auto& c : cases) {
        page().SetTime(row, c.seconds);
        EXPECT_EQ(grid().GetDisplayTextRowCol(row, 2), QString::fromLatin1(c.shown)) << c.seconds;
        ++row;
    }
}

TEST_F(DtaListPageTest, CountClearsAndGrows) {
    page().SetEntry(3, QStringLiteral("a.3.3.2.dta"));
    page().SetCount(20);
    EXPECT_EQ(grid().GetRowCount(), 500);
    EXPECT_TRUE(grid().GetValueRowCol(3, 0).isEmpty());
    page().SetCount(800);
    EXPECT_EQ(grid().GetRowCount(), 800);
}

TEST_F(DtaListPageTest, ClicksOutsideATimedScanCellOpenNothing) {
    page().SetEntry(1, QStringLiteral("a.3.3.2.dta"));  // no time: the click does nothing
    page().SetEntry(2, QStringLiteral("a.4.4.2.dta"));
    page().SetTime(2, 3);
    const auto click = [&](int row, int col) {
        grid().scrollTo(grid().GetModel()->index(std::max(row, 1) - 1, col - 1));
        const QRect cell = grid().visualRect(grid().GetModel()->index(row - 1, col - 1));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
        QCoreApplication::processEvents();
    };
    click(1, 1);
    click(2, 2);
    EXPECT_EQ(f_.frame().OutFileDialog(), nullptr);
    // Without results there is no folder to open from.
    click(2, 1);
    EXPECT_EQ(f_.frame().OutFileDialog(), nullptr);
}

TEST_F(DtaListPageTest, ARealResultsFolderFillsTheListInOrderAndAClickShowsTheOutFile) {
    QString error;
    const QString demo = DemoFolder(&error);
    ASSERT_FALSE(demo.isEmpty()) << error.toStdString();
    ASSERT_TRUE(f_.doc().OnOpenDocument(demo + QStringLiteral("/demo.mzML")));
    const QString results = demo + QStringLiteral("/results");
    ASSERT_TRUE(OpenSorvexResults(f_.frame(), results));
    // Rows arrive while the folder is read.
    ASSERT_TRUE(WaitFor([&] { return !grid().GetValueRowCol(1, 0).isEmpty(); }));
    ASSERT_TRUE(WaitFor([&] { return !f_.frame().IsLoadingResults(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join(QLatin1Char('|')).toStdString();

    const QStringList files = QDir(results).entryList({QStringLiteral("*.out")}, QDir::Files, QDir::Name);
    ASSERT_GT(files.size(), 20);
    for (int i = 0; i < files.size(); ++i) {
        const int row = i + 1;
        ASSERT_EQ(grid().GetValueRowCol(row, 0), files[i]) << row;
        EXPECT_EQ(grid().GetValueRowCol(row, 1), CDtaListPage::ScanText(files[i])) << row;
        EXPECT_FALSE(grid().GetValueRowCol(row, 2).isEmpty()) << row;
    }
    EXPECT_TRUE(grid().GetValueRowCol(files.size() + 1, 0).isEmpty());
    EXPECT_EQ(CDtaListPage::CurrentResultsFolder(), f_.doc().GetSorvexResults()->GetDirectory());

    // A click on a scan cell shows that spectrum's output file.
    const int row = 5;
    grid().scrollTo(grid().GetModel()->index(row - 1, 0));
    const QRect cell = grid().visualRect(grid().GetModel()->index(row - 1, 0));
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
    CDisplayOutFileDlg* dialog = f_.frame().OutFileDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->FileName(), files[row - 1]);
    QFile out(QDir(results).filePath(files[row - 1]));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString firstLine = QString::fromLatin1(out.readLine()).trimmed();
    EXPECT_TRUE(dialog->Text().startsWith(firstLine)) << dialog->Text().left(80).toStdString();
    // The one dialog shows the next file asked for.
    const QRect next = grid().visualRect(grid().GetModel()->index(row, 0));
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, next.center());
    EXPECT_EQ(f_.frame().OutFileDialog(), dialog);
    EXPECT_EQ(dialog->FileName(), files[row]);

    f_.frame().grab().save(QStringLiteral("/tmp/i23-dta-files.png"));
    dialog->grab().save(QStringLiteral("/tmp/i23-out-dialog.png"));
    f_.bar().grab(QRect(0, 0, 230, 60)).scaled(920, 240).save(QStringLiteral("/tmp/i23-zoom.png"));
}
