#include "ResultViewsTestSupport.h"

#include "ConsensusFilter.h"
#include "ResultsWindow.h"
#include "ShowOutView.h"

#include <QComboBox>

using namespace zar;
using rvtest::Program;

namespace {

TEST(ConsensusViewTest, EntriesTextListsKeptEntriesByGroup) {
    CProteinRecord protein;
    auto add = [&](int rank, int hit, int kept) {
        auto row = std::make_unique<CConsensusRow>();
        row->rank = rank;
        row->hitNumber = HitNumber(hit);
        row->kept = kept;
        protein.addRow(std::move(row), HitNumber(hit));
    };
    add(1, 12, 1);
    add(1, 40, 1);
    add(3, 7, 1);
    add(2, 8, 0);
    EXPECT_EQ(ConsensusEntriesText(protein), "12 40 : : 7 : : ");
    EXPECT_EQ(ConsensusHitsText(protein), "2 1 1 0 0");
    CProteinRecord last;
    auto row = std::make_unique<CConsensusRow>();
    row->rank = 5;
    row->hitNumber = HitNumber(9);
    row->kept = 1;
    last.addRow(std::move(row), HitNumber(9));
    EXPECT_EQ(ConsensusEntriesText(last), ": : : : 9 ");
}

TEST(ConsensusViewTest, FiltersFollowTheSummaryOptions) {
    Program p;
    ASSERT_TRUE(p.Load());
    CConsensusView* view = p.Consensus();
    ASSERT_NE(view, nullptr);
    const int all = view->RowEntryCount();
    EXPECT_GE(all, 4);
    ResultsDisplayOptions& o = p.doc->SummaryOptions();

    // Number of entries: the first proteins, and the limit written back.
    o.filterMode = 1;
    o.consensusRowLimit = 2;
    p.Refill();
    EXPECT_EQ(view->RowEntryCount(), 2);
    EXPECT_EQ(p.doc->SummaryOptions().consensusRowLimit, 2);

    // Consensus threshold above every score: empty table, rows open nothing.
    o.filterMode = 2;
    o.thresholdKind = 6;
    o.singleThreshold = 100000;
    p.Refill();
    EXPECT_EQ(view->RowEntryCount(), 0);
    EXPECT_TRUE(view->Grid()->GetValueRowCol(1, 1).isEmpty());
    ConsensusRowEntry entry;
    EXPECT_FALSE(view->GetRowEntry(1, entry));

    // Mode 1 after a protein threshold hid every protein shows them again.
    o.filterMode = 1;
    o.consensusRowLimit = 0;
    p.Refill();
    EXPECT_EQ(view->RowEntryCount(), all);

    // Reference kind: proteins whose reference holds the text (case-sensitive).
    o.filterMode = 2;
    o.thresholdKind = 0;
    o.referenceText = "ABC";
    p.Refill();
    ASSERT_EQ(view->RowEntryCount(), 2);
    for (int r = 1; r <= 2; ++r) EXPECT_TRUE(view->Grid()->GetValueRowCol(r, 1).contains("ABC"));

    // Selected-dta mode follows the hits' shown flags.
    o.filterMode = 4;
    for (int i = 0; i < p.Set().GetHitCount(); ++i) p.Set().GetHit(i)->shown = 0;
    p.Set().FindHit(HitNumber(3))->shown = 1;  // file 102-103: ABC rank 1, PROB_TEST rank 2
    p.Refill();
    EXPECT_EQ(p.Summary()->RowMapLength(), 1);
    ASSERT_EQ(view->RowEntryCount(), 2);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 4), "3 : : : : ");
}

TEST(ConsensusViewTest, SortingTheSummaryLeavesConsensusRows) {
    Program p;
    ASSERT_TRUE(p.Load());
    const QString first = p.Consensus()->Grid()->GetValueRowCol(1, 4);
    p.Summary()->SortByColumn(7);
    EXPECT_EQ(p.Consensus()->Grid()->GetValueRowCol(1, 4), first);
}

TEST(ConsensusViewTest, EntriesClickShowsTheEntryFilesInTheResultsWindow) {
    Program p;
    ASSERT_TRUE(p.Load());
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    p.Summary()->SortByColumn(7);  // hit positions no longer follow hit numbers
    CConsensusGrid& grid = *p.Consensus()->Grid();
    grid.scrollTo(grid.GetModel()->index(0, 3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(0, 3)).center());
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ShownType(), 4);
    // PROA_TEST: hits 1 4 7 2 5, the first of them shown, all in the combo.
    QComboBox* combo = window->OutputFileCombo();
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), "1");
    EXPECT_EQ(combo->currentText(), "1");
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_EQ(window->ShowOut()->Title(), "ShowOut - run.0100.0100.1.out");
    // Another file from the combo keeps the list.
    window->OnOutputFileChanged(2);  // hit 4
    EXPECT_EQ(window->ShowOut()->Title(), "ShowOut - run.0104.0104.2.out");
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(window->ShowOut()->Grid()->GetValueRowCol(1, 2), "R.TTTTK.G");
    // Reference column: the coverage report (a view of its own, not built here).
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(0, 0)).center());
    EXPECT_EQ(window->ShownType(), 6);
    EXPECT_EQ(window->StoredResult().entryIndex, p.Consensus()->Grid()->GetRowCount() > 0 ? 0 : -1);
}

}  // namespace
