#include "ResultViewsTestSupport.h"

#include "FrameCommands.h"
#include "SummaryFilter.h"
#include "TableFit.h"
#include "ViewFactory.h"

#include <cmath>
#include <limits>

using namespace zar;

namespace {

SearchHitRecord Hit(const char* name, double xcorr = 1.0, int matched = 0, int total = 0) {
    SearchHitRecord h;
    h.fileInformation = QString::fromLatin1(name);
    h.correlation = xcorr;
    h.ionsMatched = matched;
    h.ionsTotal = total;
    return h;
}

TEST(SummaryFilterTest, ScanCellTexts) {
    const ScanToTime times = [](int scan) { return scan / 100.0; };
    struct Case {
        const char* name;
        bool showTimes;
        const char* expected;
    } cases[] = {
        {"run.1200.1200.2", false, "1200"},
        {"run.1200.1214.2", false, "1200 - 1214"},
        {"run.1200.1200.2", true, "12.00"},
        {"run.1200.1214.2", true, "12.00 - 12.14"},
        {"run", false, "run"},
        {"run", true, "run"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanCellText(Hit(c.name), c.showTimes, times), QString::fromLatin1(c.expected))
            << c.name;
    EXPECT_EQ(ParseScanName("run").charge, 0);
    EXPECT_EQ(ParseScanName(" run.0100.0101.3.out").charge, 3);
}

TEST(SummaryFilterTest, PercentIonsIsWholeNumberArithmetic) {
    EXPECT_EQ(PercentIonsMatched(5, 11), 45);
    EXPECT_EQ(PercentIonsMatched(11, 22), 50);
    EXPECT_EQ(PercentIonsMatched(3, 0), -1);
}

TEST(SummaryFilterTest, TitleColumnsToSortKeys) {
    const int full[15] = {-1, 0, 1, -1, 2, 4, -1, 5, 6, 7, 8, 9, 10, 11, 12};
    const int scoreOnly[12] = {-1, 0, 1, -1, 2, 4, -1, 5, 9, 10, 11, 12};
    for (int c = 0; c <= 14; ++c) EXPECT_EQ(SummaryColumnToSortKey(c, false), full[c]) << c;
    for (int c = 0; c <= 11; ++c) EXPECT_EQ(SummaryColumnToSortKey(c, true), scoreOnly[c]) << c;
    EXPECT_EQ(SummaryColumnToSortKey(15, false), -1);
}

TEST(SummaryFilterTest, ChromatographicRangeAndNaN) {
    zartest::ScopedConfigDir config;
    rvtest::HandSet set;
    set.SetHits({Hit("run.0100.0100.2", 2.0), Hit("run.0300.0310.2", 2.0), Hit("run"),
                 Hit("run.0500.0500.2", std::numeric_limits<double>::quiet_NaN())});
    const ScanToTime times = [](int scan) { return scan / 10.0; };
    ResultsDisplayOptions o;
    o.filterMode = 5;
    o.retentionTimeMin = 5.0;
    o.retentionTimeMax = 40.0;
    EXPECT_EQ(ApplySummaryFilter(set, o, times), 2);  // 10.0 and 30.0-31.0; 50.0 is out
    EXPECT_EQ(set.GetHit(1)->shown, 1);
    EXPECT_EQ(set.GetHit(3)->shown, 0);
    EXPECT_EQ(set.GetHit(2)->shown, 0);  // a name without scans is never in range
    // A NaN XCorr fails its threshold.
    o.filterMode = 2;
    o.thresholdKind = 1;
    o.singleThreshold = 0.0;
    EXPECT_EQ(ApplySummaryFilter(set, o, times), 3);
    EXPECT_EQ(set.GetHit(3)->shown, 0);
    // An unknown mode keeps nothing.
    o.filterMode = 8;
    EXPECT_EQ(ApplySummaryFilter(set, o, times), 0);
    // Mode 4 leaves the flags and counts them.
    set.GetHit(0)->shown = 1;
    set.GetHit(2)->shown = 1;
    o.filterMode = 4;
    EXPECT_EQ(ApplySummaryFilter(set, o, times), 2);
}

TEST(SummaryFilterTest, RegistrationProvidesViewsAndTheOpenCommand) {
    rvtest::Program p;
    EXPECT_TRUE(IsViewClassRegistered("CSummaryView"));
    EXPECT_TRUE(IsViewClassRegistered("CConsensusView"));
    EXPECT_TRUE(HasFrameCommand(ID_OPEN_SORVEX_RESULTS));
    // Without results the views do nothing and their rows open nothing.
    ASSERT_TRUE(p.frame->OnChooseView(5, true));
    ASSERT_NE(p.Summary(), nullptr);
    EXPECT_EQ(p.Summary()->GetRowHit(1), HitNumber());
    EXPECT_EQ(p.Summary()->Grid()->GetValueRowCol(0, 4), "Sequence");
    EXPECT_EQ(p.Consensus()->Grid()->GetValueRowCol(0, 4), "Entries");
}

}  // namespace

namespace {

TEST(SummaryFilterTest, SpareWidthGoesToTheTextColumnsNeverBelowTheirMinimum) {
    CGXGridWnd grid;
    grid.SetColCount(3);
    grid.SetRowCount(5);
    for (int c = 1; c <= 3; ++c) grid.SetColWidth(c, 100);
    grid.resize(600, 200);
    grid.show();
    QCoreApplication::processEvents();
    const int visible = grid.viewport()->width();
    SpreadSpareWidth(grid, {{1, 100}, {3, 100}});
    const int share = (visible - 300 - 1) / 2;
    EXPECT_EQ(grid.GetColWidth(1), 100 + share);
    EXPECT_EQ(grid.GetColWidth(3), 100 + share);
    EXPECT_EQ(grid.GetColWidth(2), 100);
    // A narrow grid takes the columns back down to their minimum, no further.
    grid.resize(150, 200);
    QCoreApplication::processEvents();
    SpreadSpareWidth(grid, {{1, 100}, {3, 120}});
    EXPECT_EQ(grid.GetColWidth(1), 100);
    EXPECT_EQ(grid.GetColWidth(3), 120);
}

}  // namespace
