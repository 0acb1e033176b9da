// The "ZARMASS Results" page: the charge states the deconvolution posts, and their export.

#include "InfoBarTestSupport.h"
#include "ResizableSheet.h"
#include "grids/DisplayGrids.h"
#include "grids/ExcelExport.h"

#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;
using namespace infobartest;

namespace {

class ZarmassPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f_.bar().ShowPage(CInfoBar::kZarmassResultsPage);
        ASSERT_NE(page().Grid(), nullptr);
    }
    CZarmassPage& page() { return f_.bar().ZarmassPage(); }
    CZarmassResultsGrid& grid() { return *page().Grid(); }
    // What the deconvolution posts while it lists a result: a clear, then m/z and charge per row.
    void postListing(const std::vector<std::pair<double, int>>& rows) {
        PostMessage(&f_.frame(), kMsgZarmassClear);
        int row = 1;
        for (const auto& [mz, charge] : rows) {
            PostMessage(&f_.frame(), kMsgZarmassInfo, static_cast<WPARAM>(mz * 100.0 + 0.5), row);
            PostMessage(&f_.frame(), kMsgZarmassResults, static_cast<WPARAM>(charge), row);
            ++row;
        }
        QCoreApplication::processEvents();
    }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    FrameWithBar f_;
};

}  // namespace

TEST_F(ZarmassPageTest, PostedRowsFillThePage) {
    EXPECT_EQ(grid().GetValueRowCol(0, 1), QStringLiteral("m/z"));
    EXPECT_EQ(grid().GetValueRowCol(0, 2), QStringLiteral("Charge"));
    EXPECT_EQ(grid().GetRowCount(), 250);
    postListing({{1131.17, 15}, {1060.54, 16}, {998.21, 17}});
    const char* mz[] = {"1131.17", "1060.54", "998.21"};
    const char* charge[] = {"15", "16", "17"};
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid().GetDisplayTextRowCol(row, 1), QString::fromLatin1(mz[row - 1])) << row;
        EXPECT_EQ(grid().GetDisplayTextRowCol(row, 2), QString::fromLatin1(charge[row - 1])) << row;
    }
    EXPECT_TRUE(grid().GetValueRowCol(4, 1).isEmpty());
    // The next listing starts from a clear page.
    postListing({{2000.5, 9}});
    EXPECT_EQ(grid().GetDisplayTextRowCol(1, 1), QStringLiteral("2000.50"));
    EXPECT_TRUE(grid().GetValueRowCol(2, 1).isEmpty());
    // Rows outside 1..250 change nothing.
    page().SetMz(0, 1.0);
    page().SetMz(251, 1.0);
    page().SetCharge(251, 4);
    EXPECT_EQ(grid().GetRowCount(), 250);
    EXPECT_TRUE(grid().GetValueRowCol(0, 0).isEmpty());
    f_.bar().grab().save(QStringLiteral("/tmp/i23-zarmass-results.png"));
}

TEST_F(ZarmassPageTest, TheGridGoesToAWorkbookBesideTheRun) {
    QTemporaryDir dir;
    const QString run = WriteRun(dir.path(), QStringLiteral("protein.mzML"), {Spectrum(1, 1, 0.2), Spectrum(2, 1, 0.4)});
    ASSERT_TRUE(f_.doc().OnOpenDocument(run));
    f_.bar().ShowPage(CInfoBar::kZarmassResultsPage);
    postListing({{1131.17, 15}, {1060.54, 16}});
    QString path;
    EXPECT_EQ(page().OnExportExcel(&path), kExcelExportDone) << boxes_.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("proteinZarmass.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(path));
}
