#include "ResultViewsTestSupport.h"

#include "ResultsPropertySheet.h"
#include "grids/SimpleEditGrids.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace zar;

namespace {

CResultsPropertySheet* NewSheet() {
    return new CResultsPropertySheet(CResultsPropertySheet::kCaptionId, nullptr,
                                     CResultsPropertySheet::kSummaryMode, 0);
}

TEST(ResultsPropertySheetTest, SetUpOrderModeThenKindThenThreshold) {
    std::unique_ptr<CResultsPropertySheet> sheet(NewSheet());
    // A kind outside mode 2 is refused.
    sheet->SetThresholdKind(3);
    EXPECT_EQ(sheet->FilterPage()->thresholdKind, 0);
    sheet->SetFilterMode(2);
    sheet->SetThresholdKind(3);
    sheet->SetThreshold(750.0);
    EXPECT_EQ(sheet->FilterPage()->thresholdKind, 3);
    EXPECT_DOUBLE_EQ(sheet->FilterPage()->remembered[3], 750.0);
    EXPECT_DOUBLE_EQ(sheet->FilterPage()->SingleThresholdEdit()->value(), 750.0);
    // Not set (-1) leaves the remembered value.
    sheet->SetThreshold(-1.0);
    EXPECT_DOUBLE_EQ(sheet->FilterPage()->SingleThresholdEdit()->value(), 750.0);
    // Leaving mode 2 clears the kind.
    sheet->SetFilterMode(1);
    EXPECT_EQ(sheet->FilterPage()->thresholdKind, 0);
}

TEST(ResultsPropertySheetTest, KindRadiosSwitchEditsAndRanges) {
    std::unique_ptr<CResultsPropertySheet> sheet(NewSheet());
    sheet->show();
    CSummaryFilterPage& page = *sheet->FilterPage();
    sheet->SetFilterMode(2);
    sheet->SetThresholdKind(0);
    EXPECT_TRUE(page.ReferenceEdit()->isVisible());
    EXPECT_FALSE(page.SingleThresholdEdit()->isVisible());
    page.KindGroup()->button(3)->click();  // Sp
    EXPECT_TRUE(page.SingleThresholdEdit()->isVisible());
    EXPECT_DOUBLE_EQ(page.SingleThresholdEdit()->value(), 500.0);
    page.KindGroup()->button(1)->click();  // XCorr: 1.0, one decimal, at most 100
    EXPECT_DOUBLE_EQ(page.SingleThresholdEdit()->value(), 1.0);
    EXPECT_EQ(page.SingleThresholdEdit()->decimals(), 1);
    EXPECT_DOUBLE_EQ(page.SingleThresholdEdit()->maximum(), 100.0);
    sheet->grab().toImage().save("/tmp/resultviews_sheet_single.png");
    page.SingleThresholdEdit()->setValue(250.0);
    EXPECT_DOUBLE_EQ(page.SingleThresholdEdit()->value(), 100.0);
}

TEST(ResultsPropertySheetTest, CollectOptionsByMode) {
    struct Case {
        const char* what;
        int mode, kind, singleScore;
        int expectedMode, expectedKind;
    } cases[] = {
        {"single threshold kept", 2, 1, 0, 2, 1},
        {"score-only drops XCorr threshold", 2, 1, 1, 0, 0},
        {"score-only drops multiple thresholds", 3, 0, 1, 0, 0},
        {"kind 7 needs score-only", 2, 7, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CResultsPropertySheet> sheet(NewSheet());
        sheet->SetFilterMode(c.mode);
        sheet->SetThresholdKind(c.kind);
        sheet->SetSingleScore(c.singleScore);
        sheet->CollectOptions(false);
        EXPECT_EQ(sheet->Options().filterMode, c.expectedMode) << c.what;
        EXPECT_EQ(sheet->Options().thresholdKind, c.expectedKind) << c.what;
    }
    // Mode 3 takes the page's thresholds; mode 2 the threshold and reference text.
    std::unique_ptr<CResultsPropertySheet> sheet(NewSheet());
    sheet->SetFilterMode(3);
    sheet->FilterPage()->xcorr = 2.5;
    sheet->FilterPage()->criteria = 2;
    sheet->CollectOptions(false);
    EXPECT_DOUBLE_EQ(sheet->Options().xcorrMin, 2.5);
    EXPECT_EQ(sheet->Options().criteriaNeeded, 2);
    EXPECT_DOUBLE_EQ(sheet->Options().singleThreshold, 0.0);
}

TEST(ResultsPropertySheetTest, OkStoresTheRecordSortsAndKeepsOtherThresholds) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    ResultsDisplayOptions& o = p.doc->SummaryOptions();
    o.xcorrMin = 2.2;
    o.criteriaNeeded = 3;
    o.referenceText = "PRO";
    // The user picks "Number of Entries", sort by XCorr, and presses OK.
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->FilterPage()->ModeGroup()->button(1)->click();
        sheet->SortPage()->Group()->button(5)->click();
        sheet->OkButton()->click();
    });
    p.Summary()->OnDisplayOptions();
    EXPECT_EQ(p.doc->SummaryOptions().filterMode, 1);
    EXPECT_EQ(p.doc->SummaryOptions().sortKey, 5);
    EXPECT_EQ(p.Set().GetSortKey(), 5);
    // Closing in another filter mode keeps what the user set for the others.
    EXPECT_DOUBLE_EQ(p.doc->SummaryOptions().xcorrMin, 2.2);
    EXPECT_EQ(p.doc->SummaryOptions().criteriaNeeded, 3);
    EXPECT_EQ(p.doc->SummaryOptions().referenceText, "PRO");
    EXPECT_EQ(p.Summary()->Grid()->GetValueRowCol(1, 1), "102 - 103");

    // Close leaves everything as it was.
    const ResultsDisplayOptions before = p.doc->SummaryOptions();
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->FilterPage()->ModeGroup()->button(0)->click();
        sheet->grab().toImage().save("/tmp/resultviews_sheet.png");
        sheet->CloseButton()->click();
    });
    p.Consensus()->OnDisplayOptions();
    EXPECT_EQ(p.doc->SummaryOptions(), before);
    EXPECT_EQ(p.Set().GetSortKey(), 5);
}

TEST(ResultsPropertySheetTest, SelectedDtaGridWritesShownFlags) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    for (int i = 0; i < p.Set().GetHitCount(); ++i) p.Set().GetHit(i)->shown = i % 2 == 0;
    std::unique_ptr<CResultsPropertySheet> sheet(NewSheet());
    CSummaryFilterPage& page = *sheet->FilterPage();
    EXPECT_EQ(page.SummaryCountText(), "Summary: 7");
    EXPECT_EQ(page.ConsensusCountText().left(11), "Consensus: ");
    page.OnGridCheckCommand(CSummaryFilterPage::kCheckInvert);  // not in mode 4: nothing
    sheet->SetFilterMode(4);
    EXPECT_EQ(page.Grid()->GetRowCount(), 7);
    EXPECT_EQ(page.Grid()->GetValueRowCol(1, 2), " 100");
    EXPECT_EQ(page.Grid()->GetValueRowCol(3, 2), "102 - 103");
    EXPECT_EQ(page.Grid()->GetValueRowCol(1, 1), "1");
    EXPECT_EQ(page.Grid()->GetValueRowCol(2, 1), "0");
    page.OnGridCheckCommand(CSummaryFilterPage::kCheckInvert);
    sheet->show();
    sheet->grab().toImage().save("/tmp/resultviews_sheet_dta.png");
    EXPECT_EQ(page.Grid()->GetValueRowCol(1, 1), "0");
    EXPECT_EQ(page.Grid()->GetValueRowCol(2, 1), "1");
    sheet->accept();
    EXPECT_EQ(p.Set().GetHit(0)->shown, 0);
    EXPECT_EQ(p.Set().GetHit(1)->shown, 1);
    sheet->CollectOptions(false);
    p.doc->SummaryOptions() = sheet->Options();
    p.Refill();
    EXPECT_EQ(p.Summary()->RowMapLength(), 3);
}

}  // namespace

namespace {

TEST(ResultsPropertySheetTest, ConsensusPageSet) {
    zartest::ScopedConfigDir config;
    CZarDoc doc;
    CResultsPropertySheet sheet(CResultsPropertySheet::kCaptionId, nullptr,
                                CResultsPropertySheet::kConsensusMode);
    CSummaryFilterPage& filter = *sheet.FilterPage();
    EXPECT_EQ(filter.PageSet(), ResultsPageSet::Consensus);
    EXPECT_EQ(filter.ModeGroup()->buttons().size(), 4);
    EXPECT_EQ(filter.ConsensusCountText(), "Proteins: ");
    // The consensus setters store the kind whatever the mode.
    sheet.SetThresholdKind(4);
    EXPECT_EQ(filter.thresholdKind, 4);
    // Sort key 10 selects its radio, and OK keeps it when no radio is clicked.
    sheet.SetSortKey(10);
    EXPECT_TRUE(sheet.SortPage()->Group()->button(10)->isChecked());
    EXPECT_EQ(sheet.SortPage()->Group()->button(4), nullptr);  // no Reference key here
    sheet.SetSummaryRowLimit(9);
    sheet.accept();
    sheet.CollectOptions(false);
    EXPECT_EQ(sheet.Options().sortKey, 10);
    EXPECT_EQ(sheet.Options().summaryRowLimit, 0);
}

TEST(ResultsPropertySheetTest, PeptideMappingPageSet) {
    zartest::ScopedConfigDir config;
    CZarDoc doc;
    CResultsPropertySheet sheet(CResultsPropertySheet::kCaptionId, nullptr,
                                CResultsPropertySheet::kMassmapMode);
    CSummaryFilterPage& filter = *sheet.FilterPage();
    EXPECT_EQ(filter.thresholdKind, 3);
    EXPECT_DOUBLE_EQ(filter.singleThreshold, 500.0);
    EXPECT_EQ(filter.ModeGroup()->button(3), nullptr);
    EXPECT_NE(filter.ModeGroup()->button(4), nullptr);
    EXPECT_EQ(filter.KindGroup()->buttons().size(), 3);
    EXPECT_EQ(filter.ConsensusCountText(), "Proteins: ");
    EXPECT_EQ(sheet.OptionsPage()->ScoreGroup(), nullptr);
    // Mode 3 leaves the radio where it was.
    sheet.SetFilterMode(4);
    sheet.SetFilterMode(3);
    EXPECT_TRUE(filter.ModeGroup()->button(4)->isChecked());
    // Sp keeps a remembered value, within its own range.
    sheet.SetFilterMode(2);
    sheet.SetThresholdKind(3);
    sheet.SetThreshold(800.0);
    EXPECT_DOUBLE_EQ(filter.SingleThresholdEdit()->value(), 800.0);
    EXPECT_DOUBLE_EQ(filter.SingleThresholdEdit()->maximum(), 1000.0);
    // The reference text, score method and single score do not apply here.
    sheet.SetReferenceText("ABC");
    sheet.SetScoreMethod(0);
    sheet.SetSingleScore(1);
    sheet.SetSortKey(11);
    sheet.CollectOptions(true);
    EXPECT_EQ(sheet.Options().filterMode, 2);
    EXPECT_DOUBLE_EQ(sheet.Options().singleThreshold, 800.0);
    EXPECT_TRUE(sheet.Options().referenceText.isEmpty());
    EXPECT_EQ(sheet.Options().scoreMethod, 1);
    EXPECT_EQ(sheet.Options().singleScore, 0);
    EXPECT_EQ(sheet.Options().sortKey, 11);
    // Outside the single-threshold mode the threshold is not taken.
    CResultsPropertySheet other(CResultsPropertySheet::kCaptionId, nullptr,
                                CResultsPropertySheet::kMassmapMode);
    other.SetFilterMode(1);
    other.SetThreshold(42.0);
    other.CollectOptions(false);
    EXPECT_EQ(other.Options().filterMode, 1);
    EXPECT_DOUBLE_EQ(other.Options().singleThreshold, 0.0);
}

}  // namespace

namespace {

TEST(ResultsPropertySheetTest, UnsetThresholdOpensWithTheRememberedValue) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    ResultsDisplayOptions& o = p.doc->SummaryOptions();
    o.filterMode = 2;
    o.thresholdKind = 3;  // Sp
    o.singleThreshold = -1.0;
    double shown = 0.0;
    QTimer::singleShot(0, [&shown] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        shown = sheet->FilterPage()->SingleThresholdEdit()->value();
        sheet->OkButton()->click();
    });
    p.Summary()->OnDisplayOptions();
    EXPECT_DOUBLE_EQ(shown, 500.0);
    EXPECT_EQ(p.doc->SummaryOptions().filterMode, 2);
    EXPECT_DOUBLE_EQ(p.doc->SummaryOptions().singleThreshold, 500.0);
    // Sp at least 500: files 100 and 102-103 and 107-108.
    EXPECT_EQ(p.Summary()->RowMapLength(), 3);
}

}  // namespace
