#include "ResultViewsTestSupport.h"

#include "ConsensusFilter.h"
#include "ResultsPropertySheet.h"
#include "ResultsWindow.h"
#include "ShowOutView.h"
#include "document/UpdateHints.h"
#include "grids/ExcelExport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <map>

using namespace zar;
using rvtest::Program;

namespace {

double Rounded(double value, int places) {
    return QString::number(value, 'f', places).toDouble();
}

// The multiple-file table over the demo's two searches of one run.
struct MultiProgram : Program {
    bool Open() {
        if (rvtest::Demo().folder.isEmpty()) return false;
        return LoadMultiple(
            {rvtest::Demo().folder + "/results", rvtest::Demo().folder + "/results2"});
    }
    CMassmapGrid& Grid() const { return *Multi()->Grid(); }
    void Refill() { doc->UpdateAllViews(nullptr, kHintMultiConsensusLayout); }
    std::vector<rvtest::ShownProtein> Table() const { return rvtest::ShownTable(*Multi()); }
    const CProteinRecord& Protein(int index) const {
        return *MultiSet().GetProteins()[static_cast<size_t>(index)];
    }
};

// What a protein's row should say, worked out from the files the generator wrote: the
// reference's hit lines in reading order (the first folder's files by name, then the second's).
struct HandProtein {
    int points = 0;       // 10, 8, 6, 4, 2 per line of rank 1 to 5
    double summed = 0.0;  // combined scores of the lines
    double lastXcorr = 0.0;
    double lastDeltaCn = 0.0;
    std::array<std::vector<int>, 5> hitsByRank;
    double Score() const { return points + 0.05 * lastXcorr + lastDeltaCn + 0.2; }
};

HandProtein ByHand(const QString& reference) {
    static std::map<QString, HandProtein> known;
    if (const auto it = known.find(reference); it != known.end()) return it->second;
    const DemoRun& run = rvtest::Demo().run;
    static const std::vector<std::vector<DemoOutFile>> searches = {
        MakeDemoResults(run), MakeDemoResults(run, DemoSecondSearch())};
    HandProtein hand;
    int hitNumber = 0;
    for (const std::vector<DemoOutFile>& files : searches) {
        for (const DemoOutFile& file : files) {
            ++hitNumber;
            for (size_t i = 0; i < file.hits.size(); ++i) {
                const DemoHit& hit = file.hits[i];
                if (hit.reference != reference) continue;
                const int rank = static_cast<int>(i) + 1;
                // The values as the file writes them.
                const double xcorr = Rounded(hit.xcorr, 4);
                const double deltaCn = i == 0 ? 0.0 : Rounded(hit.deltaCn, 4);
                const double sp = Rounded(hit.sp, 1);
                hand.points += 2 * (6 - rank);
                hand.summed += xcorr * (sp + 10000.0 * (1.0 - deltaCn) * (1.0 - deltaCn));
                hand.lastXcorr = xcorr;
                hand.lastDeltaCn = deltaCn;
                hand.hitsByRank[static_cast<size_t>(rank - 1)].push_back(hitNumber);
            }
        }
    }
    return known[reference] = hand;
}

TEST(MultiConsensusViewTest, TwoSearchesCombineIntoScoresWorkedOutByHand) {
    MultiProgram p;
    ASSERT_TRUE(p.Open()) << rvtest::Demo().failure.toStdString();
    EXPECT_EQ(p.frame->CurrentViewType(), 11);
    ASSERT_NE(p.Multi(), nullptr) << "the table by itself, no trace above it";
    const int files = static_cast<int>(rvtest::Demo().run.ms2.size());
    EXPECT_EQ(p.MultiSet().GetHitCount(), 2 * files);
    CMassmapGrid& grid = p.Grid();
    EXPECT_EQ(grid.GetColCount(), 10);
    const QStringList titles = {"File, Scan(s)", "m/z", "Charge", "Sequence", "XCorr",
                                "Delta Cn",      "Sp",  "RSp",    "Ions",     "Count"};
    for (int c = 1; c <= 10; ++c) EXPECT_EQ(grid.GetValueRowCol(1, c), titles[c - 1]) << c;
    EXPECT_EQ(grid.GetValueRowCol(0, 6), "Hits");
    EXPECT_EQ(grid.GetModel()->CoveredCellAt(0, 10)->left, 6);

    // The three best proteins, by hand.
    const std::vector<rvtest::ShownProtein> table = p.Table();
    ASSERT_GE(table.size(), 3u);
    int row = 2;
    for (size_t i = 0; i < 3; ++i) {
        const CProteinRecord& protein = p.Protein(table[i].protein);
        const HandProtein hand = ByHand(protein.reference);
        EXPECT_NEAR(grid.GetModel()->GetNumber(row, 5), hand.Score(), 1e-6)
            << protein.reference.toStdString();
        EXPECT_EQ(grid.GetValueRowCol(row, 0), QString("#%1").arg(i + 1));
        QString entries, hits;
        for (int r = 0; r < 5; ++r) {
            for (int hit : hand.hitsByRank[static_cast<size_t>(r)])
                entries += QString("%1 ").arg(hit);
            if (r < 4) entries += ": ";
            hits += QString(r ? " %1" : "%1").arg(hand.hitsByRank[static_cast<size_t>(r)].size());
        }
        EXPECT_EQ(grid.GetValueRowCol(row, 4), entries);
        EXPECT_EQ(grid.GetValueRowCol(row, 6), hits);
        // Both searches found its peptides: hit numbers from each folder.
        EXPECT_LE(hand.hitsByRank[0].front(), files);
        EXPECT_GT(hand.hitsByRank[0].back(), files);
        row += 1 + static_cast<int>(table[i].hits.size());
    }

    // A match row: the file and scan, then the line's values.
    const CProteinRecord& first = p.Protein(table[0].protein);
    const HitNumber hitNumber = table[0].hits[0];
    const CConsensusRow* match = nullptr;
    for (const auto& group : first.rowsByRank)
        for (const auto& r : group)
            if (r->hitNumber == hitNumber && !match) match = r.get();
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(grid.GetValueRowCol(3, 1), QString("demo, %1").arg(match->firstScan));
    EXPECT_DOUBLE_EQ(grid.GetModel()->GetNumber(3, 2), match->hitMass);
    EXPECT_GT(match->hitMass, 0.0) << "the rows carry the line's (M+H)+";
    EXPECT_DOUBLE_EQ(grid.GetModel()->GetNumber(3, 5), match->correlation);
    EXPECT_DOUBLE_EQ(grid.GetModel()->GetNumber(3, 8), match->rank);
    // Rows in scan order within the protein (sort key 0).
    for (size_t k = 1; k < table[0].hits.size(); ++k)
        EXPECT_LE(p.MultiSet().FindHit(table[0].hits[k - 1])->fileInformation.mid(6, 4),
                  p.MultiSet().FindHit(table[0].hits[k])->fileInformation.mid(6, 4));

    // Score-only layout: 7 columns, the summed combined scores.
    p.doc->MultiConsensusOptions().singleScore = 1;
    p.Refill();
    EXPECT_EQ(grid.GetColCount(), 7);
    EXPECT_EQ(grid.GetValueRowCol(1, 5), "Score");
    EXPECT_EQ(grid.GetValueRowCol(1, 7), "Count");
    const std::vector<rvtest::ShownProtein> bySum = p.Table();
    const CProteinRecord& top = p.Protein(bySum[0].protein);
    EXPECT_NEAR(grid.GetModel()->GetNumber(2, 5), ByHand(top.reference).summed,
                1e-6 * ByHand(top.reference).summed);
    EXPECT_EQ(grid.GetDisplayTextRowCol(2, 5),
              QString::number(std::lround(grid.GetModel()->GetNumber(2, 5))));
    p.frame->show();
    QTest::qWait(50);
    p.frame->grab().toImage().save("/tmp/i24-multi-score-only.png");
    p.doc->MultiConsensusOptions().singleScore = 0;
    p.Refill();
    EXPECT_EQ(grid.GetColCount(), 10);
    QTest::qWait(50);
    p.frame->grab().toImage().save("/tmp/i24-multi-layout.png");
}

TEST(MultiConsensusViewTest, FiltersListEveryProteinThatKeepsARow) {
    MultiProgram p;
    ASSERT_TRUE(p.Open());
    ResultsDisplayOptions& o = p.doc->MultiConsensusOptions();
    const auto expect =
        [&](const char* what,
            const std::function<bool(const CProteinRecord&, const CConsensusRow&)>& keep) {
            int proteins = 0, rows = 0;
            for (const auto& protein : p.MultiSet().GetProteins()) {
                int kept = 0;
                for (const auto& group : protein->rowsByRank)
                    for (const auto& row : group) kept += keep(*protein, *row) ? 1 : 0;
                if (kept == 0) continue;
                ++proteins;
                rows += 1 + kept;
            }
            EXPECT_EQ(static_cast<int>(p.Table().size()), proteins) << what;
            EXPECT_EQ(p.Multi()->RowEntryCount(), rows) << what;
            if (rows > 0) {
                EXPECT_EQ(o.summaryRowLimit, rows) << what;
            }
        };

    // Multiple thresholds: XCorr 3 alone. Every protein with such a row is listed, not only
    // as many rows as the matches count.
    o.filterMode = 3;
    o.criteriaNeeded = 1;
    o.xcorrMin = 3.0;
    o.deltaCnMin = 2.0;
    o.spMin = 1e9;
    o.rspMax = 0;
    o.ionsPercentMin = 101;
    p.Refill();
    ASSERT_GT(p.Table().size(), 3u);
    expect("XCorr at least 3",
           [](const CProteinRecord&, const CConsensusRow& r) { return r.correlation >= 3.0; });
    // A rank equal to the maximum counts; no criterion needed keeps every row.
    o.rspMax = 2;
    o.xcorrMin = 100;
    p.Refill();
    expect("RSp at most 2",
           [](const CProteinRecord&, const CConsensusRow& r) { return r.rank <= 2; });
    o.criteriaNeeded = 0;
    p.Refill();
    expect("no criterion", [](const CProteinRecord&, const CConsensusRow&) { return true; });

    // Single thresholds.
    o.filterMode = 2;
    o.thresholdKind = 0;
    o.referenceText = "ALBU";
    p.Refill();
    expect("reference ALBU", [](const CProteinRecord& protein, const CConsensusRow&) {
        return protein.reference.contains("ALBU");
    });
    o.thresholdKind = 5;
    o.singleThreshold = 70;
    p.Refill();
    expect("percent ions 70", [](const CProteinRecord&, const CConsensusRow& r) {
        return r.ionsTotal > 0 && r.ionsMatched * 100 / r.ionsTotal >= 70;
    });
    // Consensus score: only the proteins reaching it, with all their rows.
    o.thresholdKind = 6;
    o.singleThreshold = 100;
    p.Refill();
    expect("consensus 100", [&](const CProteinRecord& protein, const CConsensusRow&) {
        return ByHand(protein.reference).Score() >= 100;
    });
    EXPECT_GT(p.Table().size(), 0u);

    // Selected files and the chromatographic range are not this table's: nothing is kept.
    for (int mode : {4, 5}) {
        o.filterMode = mode;
        p.Refill();
        EXPECT_EQ(p.Multi()->RowEntryCount(), 0) << mode;
        EXPECT_TRUE(p.Grid().GetValueRowCol(2, 1).isEmpty()) << mode;
    }
    // First N proteins.
    o.filterMode = 1;
    o.consensusRowLimit = 2;
    p.Refill();
    EXPECT_EQ(p.Table().size(), 2u);
}

TEST(MultiConsensusViewTest, HitsSortedByAnotherKeyStillShowTheirOwnFiles) {
    MultiProgram p;
    ASSERT_TRUE(p.Open());
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    // The sheet sorts the hit records by XCorr and the rows by it too.
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        EXPECT_TRUE(dynamic_cast<CConsensusFilterPage*>(sheet->FilterPage()) != nullptr);
        sheet->SortPage()->Group()->button(kSortCorrelation)->click();
        sheet->grab().toImage().save("/tmp/i24-multi-sheet.png");
        sheet->OkButton()->click();
    });
    p.Multi()->OnDisplayOptions();
    EXPECT_EQ(p.doc->MultiConsensusOptions().sortKey, kSortCorrelation);
    EXPECT_EQ(p.MultiSet().GetSortKey(), kSortCorrelation);
    ASSERT_NE(p.MultiSet().GetHit(0)->recordIndex, 0);

    CMassmapGrid& grid = p.Grid();
    const int rows = p.Multi()->RowEntryCount();
    for (int r = 2; r < 2 + rows; ++r) {
        ConsensusRowEntry entry;
        ASSERT_TRUE(p.Multi()->GetRowInfo(r, entry));
        if (entry.kind != ConsensusRowEntry::kMatchRow) continue;
        const SearchHitRecord* hit = p.MultiSet().FindHit(entry.hit);
        ASSERT_NE(hit, nullptr);
        const QString cell = grid.GetValueRowCol(r, 1);
        const int scan = cell.section(", ", 1).toInt();
        EXPECT_TRUE(hit->fileInformation.contains(QString(".%1.").arg(scan, 4, 10, QChar('0'))))
            << r << ": " << cell.toStdString() << " / " << hit->fileInformation.toStdString();
        if (r < 40) {
            // XCorr descends within a protein.
            ConsensusRowEntry next;
            if (p.Multi()->GetRowInfo(r + 1, next) && next.kind == ConsensusRowEntry::kMatchRow) {
                EXPECT_GE(grid.GetModel()->GetNumber(r, 5), grid.GetModel()->GetNumber(r + 1, 5))
                    << r;
            }
        }
    }

    // A click on a match's m/z opens the ranked hits of that spectrum of that search.
    const int row = 4;
    ConsensusRowEntry entry;
    ASSERT_TRUE(p.Multi()->GetRowInfo(row, entry));
    ASSERT_EQ(entry.kind, ConsensusRowEntry::kMatchRow);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(row - 1, 1)).center());
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->StoredResult().kind, 3);
    EXPECT_EQ(window->StoredResult().hit, entry.hit);
    EXPECT_EQ(window->ShowOut()->Grid()->GetValueRowCol(1, 2),
              p.MultiSet().FindHit(entry.hit)->peptide);
}

TEST(MultiConsensusViewTest, TitleClicksChooseTheKeyOfEitherLayout) {
    struct Case {
        int row, col;
        int full, scoreOnly;
    } cases[] = {
        {1, 1, 0, 0}, {1, 2, 1, 1},  {1, 3, -1, -1}, {1, 4, 2, 2},   {1, 5, 5, 5},
        {1, 6, 6, 9}, {1, 7, 7, 10}, {1, 8, 8, -1},  {1, 9, 9, -1},  {1, 10, 10, 10},
        {0, 1, 4, 4}, {0, 3, 4, 4},  {0, 4, -1, -1}, {0, 5, -1, -1}, {0, 6, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MultiConsensusTitleToSortKey(c.row, c.col, false), c.full)
            << c.row << "," << c.col;
        EXPECT_EQ(MultiConsensusTitleToSortKey(c.row, c.col, true), c.scoreOnly)
            << c.row << "," << c.col;
    }
    MultiProgram p;
    ASSERT_TRUE(p.Open());
    p.Multi()->SortByColumn(1, 7);
    EXPECT_EQ(p.doc->MultiConsensusOptions().sortKey, kSortPreliminaryScore);
    // Sp descends within the first protein.
    const auto first = p.Table()[0];
    for (int r = 3; r < 2 + static_cast<int>(first.hits.size()); ++r)
        EXPECT_GE(p.Grid().GetModel()->GetNumber(r, 7), p.Grid().GetModel()->GetNumber(r + 1, 7))
            << r;
    p.Multi()->SortByColumn(1, 3);  // Charge: no sort
    EXPECT_EQ(p.doc->MultiConsensusOptions().sortKey, kSortPreliminaryScore);
}

TEST(MultiConsensusViewTest, ExportAndContextMenuNeedLoadedResults) {
    Program p;
    ASSERT_TRUE(p.frame->OnChooseView(11, false));
    CMultiConsensusView* view = p.Multi();
    ASSERT_NE(view, nullptr);
    // Nothing loaded: the options open nothing, the table stays empty.
    EXPECT_FALSE(RunMultiConsensusOptionsSheet(view));
    EXPECT_FALSE(RunMassmapOptionsSheet(view));
    EXPECT_EQ(view->RowEntryCount(), 0);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 1), "File, Scan(s)");
    EXPECT_EQ(view->Grid()->GetRowCount(), 50);
}

}  // namespace
