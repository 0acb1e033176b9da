// The Info Bar's sheet and pages, and every message the main frame hands to them.

#include "InfoBarTestSupport.h"
#include "ResizableSheet.h"
#include "grids/DisplayGrids.h"

#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QCoreApplication>
#include <QTabBar>

#include <gtest/gtest.h>

using namespace zar;
using namespace infobartest;

namespace {

class InfoBarTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    FrameWithBar f_;
    CResizableSheet& sheet() { return *f_.bar().GetSheet(); }
    void post(unsigned message, WPARAM w = 0, LPARAM l = 0, std::any payload = {}) {
        PostMessage(&f_.frame(), message, w, l, std::move(payload));
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(InfoBarTest, ThreePagesWithImagesOnFixedWidthTabs) {
    ASSERT_EQ(sheet().GetPageCount(), 3);
    const char* captions[] = {"Dta files", "MSn Browser", "ZARMASS Results"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sheet().tabToolTip(i), QString::fromLatin1(captions[i]));
        EXPECT_EQ(sheet().GetPage(i)->windowTitle(), QString::fromLatin1(captions[i]));
        EXPECT_EQ(sheet().ImageOfPage(i), static_cast<unsigned>(i));
        EXPECT_FALSE(sheet().tabIcon(i).isNull()) << i;
        EXPECT_GE(sheet().tabBar()->tabRect(i).width(), 22) << i;
        EXPECT_GE(sheet().tabBar()->tabRect(i).height(), 18) << i;
        EXPECT_EQ(sheet().tabBar()->tabRect(i).size(), sheet().tabBar()->tabRect(0).size()) << "fixed width";
    }
    EXPECT_EQ(sheet().GetActiveIndex(), 0);
    // Only the page shown so far has its window.
    EXPECT_TRUE(f_.bar().DtaListPage().HasWindow());
    EXPECT_FALSE(f_.bar().MSnListPage().HasWindow());
    EXPECT_FALSE(f_.bar().ZarmassPage().HasWindow());
}

TEST_F(InfoBarTest, ShowPageByIdAndOthersIgnored) {
    struct Case {
        int id;
        int active;
    } cases[] = {{101, 1}, {102, 2}, {103, 2}, {99, 2}, {67, 2}, {100, 0}};
    for (const Case& c : cases) {
        f_.bar().ShowPage(c.id);
        EXPECT_EQ(sheet().GetActiveIndex(), c.active) << c.id;
    }
    EXPECT_TRUE(f_.bar().MSnListPage().HasWindow());
    EXPECT_TRUE(f_.bar().ZarmassPage().HasWindow());
}

TEST_F(InfoBarTest, AddingAPresentPageAndRemovingTheFirst) {
    CResizableSheet& s = sheet();
    EXPECT_EQ(s.AddPage(&f_.bar().MSnListPage(), 7), 1);
    EXPECT_EQ(s.ImageOfPage(1), 1u) << "the image stays as it was";
    EXPECT_EQ(s.GetPageCount(), 3);
    s.RemovePage(0);
    ASSERT_EQ(s.GetPageCount(), 2);
    EXPECT_EQ(s.ImageOfPage(0), 1u);
    EXPECT_EQ(s.ImageOfPage(1), 2u);
    EXPECT_EQ(s.GetPage(0), &f_.bar().MSnListPage());
    // A page without an image, and images that do not load.
    EXPECT_EQ(s.AddPage(&f_.bar().DtaListPage(), CResizableSheet::kNoImage), 2);
    EXPECT_TRUE(s.tabIcon(2).isNull());
    s.SetImageList({1, 2, 3}, 16, 16, QColor(255, 0, 255));
    for (int i = 0; i < s.GetPageCount(); ++i) EXPECT_TRUE(s.tabIcon(i).isNull()) << i;
}

TEST_F(InfoBarTest, EveryForwardedMessageReachesItsPage) {
    CDtaListPage& dta = f_.bar().DtaListPage();
    CZarmassPage& zarmass = f_.bar().ZarmassPage();
    CDtaListGrid& dtaGrid = *dta.Grid();

    post(kMsgDtaCount, 600);
    EXPECT_EQ(dtaGrid.GetRowCount(), 600);
    post(kMsgDtaFileName, 0, 1, QStringLiteral("demo.0100.0100.2.dta"));
    post(kMsgDtaSearchTime, 40000, 1);
    EXPECT_EQ(dtaGrid.GetValueRowCol(1, 0), QStringLiteral("demo.0100.0100.2.out"));
    EXPECT_EQ(dtaGrid.GetValueRowCol(1, 1), QStringLiteral("100, +2"));
    EXPECT_EQ(dtaGrid.GetDisplayTextRowCol(1, 2), QStringLiteral("40000"));
    post(kMsgDtaListClear);
    EXPECT_TRUE(dtaGrid.GetValueRowCol(1, 1).isEmpty());
    EXPECT_EQ(dtaGrid.GetValueRowCol(0, 1), QStringLiteral("Scans, Charge")) << "titles stay";

    // The deconvolution brings its page to the front.
    post(kMsgZarmassCalculated);
    EXPECT_EQ(sheet().GetActiveIndex(), 2);
    CZarmassResultsGrid& grid = *zarmass.Grid();
    post(kMsgZarmassClear);
    post(kMsgZarmassInfo, 44512, 1);
    post(kMsgZarmassResults, 17, 1);
    post(kMsgZarmassInfo, 99999, 251);
    post(kMsgZarmassResults, 3, 251);
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 1), QStringLiteral("445.12"));
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 2), QStringLiteral("17"));
    EXPECT_EQ(grid.GetRowCount(), 250) << "row 251 is ignored";
    post(kMsgZarmassClear);
    EXPECT_TRUE(grid.GetValueRowCol(1, 1).isEmpty());

    post(kMsgZarmassUpdated, 0, 1);
    EXPECT_EQ(sheet().GetActiveIndex(), 2);

    // A reset clears the pages.
    f_.bar().ShowPage(100);
    post(kMsgDtaFileName, 0, 2, QStringLiteral("demo.0200.0201.3.dta"));
    post(kMsgZarmassInfo, 50000, 2);
    post(kMsgUserTracesChanged);
    EXPECT_TRUE(dtaGrid.GetValueRowCol(2, 1).isEmpty());
    EXPECT_TRUE(grid.GetValueRowCol(2, 1).isEmpty()) << "a page with its window is cleared at once, shown or not";
    EXPECT_FALSE(zarmass.RefreshPending());
}

TEST_F(InfoBarTest, ClearsBeforeAPageHasItsWindowAreDroppedRefreshesWait) {
    CZarmassPage& zarmass = f_.bar().ZarmassPage();
    ASSERT_FALSE(zarmass.HasWindow());
    f_.bar().ClearZarmassPage();
    f_.bar().SetZarmassInfo(1, 1.0);
    EXPECT_FALSE(zarmass.RefreshPending());
    f_.bar().RefreshZarmassPage();
    EXPECT_TRUE(zarmass.RefreshPending());
    f_.bar().ShowPage(102);
    EXPECT_FALSE(zarmass.RefreshPending());
    ASSERT_NE(zarmass.Grid(), nullptr);
    EXPECT_TRUE(zarmass.Grid()->GetValueRowCol(1, 1).isEmpty());
}
