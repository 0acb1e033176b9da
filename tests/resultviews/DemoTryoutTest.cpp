#include "ResultViewsTestSupport.h"

#include "ResultsWindow.h"
#include "ShowOutView.h"

using namespace zar;

namespace {

// A walk through the demo data set as a user takes it: open the run, open its results, filter,
// sort, click a hit and look at its ranked hits. Runs when ZAR_DEMO_FOLDER names a folder made
// by zar-make-demo; leaves screenshots in /tmp.
TEST(DemoTryoutTest, OpenFilterSortClick) {
    const QString demo = qEnvironmentVariable("ZAR_DEMO_FOLDER");
    if (demo.isEmpty()) GTEST_SKIP() << "ZAR_DEMO_FOLDER not set";
    rvtest::Program p;
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    ASSERT_TRUE(p.doc->OnOpenDocument(demo + "/demo.mzML"));
    ASSERT_TRUE(OpenSorvexResults(*p.frame, demo + "/results"));
    ASSERT_TRUE(rvtest::WaitFor([&] { return !p.frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    ASSERT_NE(p.Summary(), nullptr);
    const int all = p.Summary()->RowMapLength();
    EXPECT_GT(all, 100);
    EXPECT_GT(p.Consensus()->RowEntryCount(), 0);
    p.doc->SummaryOptions().showTimes = 1;
    p.doc->SummaryOptions().filterMode = 2;
    p.doc->SummaryOptions().thresholdKind = 1;
    p.doc->SummaryOptions().singleThreshold = 2.0;
    p.Refill();
    EXPECT_LT(p.Summary()->RowMapLength(), all);
    p.Summary()->SortByColumn(7);
    QTest::qWait(50);
    p.frame->grab().toImage().save("/tmp/resultviews_demo_summary.png");
    CSummaryGrid& grid = *p.Summary()->Grid();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(0, 1)).center());
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ShownType(), 3);
    EXPECT_FALSE(window->ShowOut()->Grid()->GetValueRowCol(1, 2).isEmpty());
    QTest::qWait(50);
    window->grab().toImage().save("/tmp/resultviews_demo_showout.png");
}

}  // namespace
