#include "ResultViewsTestSupport.h"

#include "ConsensusFilter.h"
#include "ProteinTableFilter.h"
#include "ResultsPropertySheet.h"
#include "ResultsWindow.h"
#include "ShowOutView.h"
#include "document/UpdateHints.h"
#include "document/ZarMessages.h"
#include "grids/ExcelExport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <map>

using namespace zar;
using rvtest::Program;

namespace {

QString MappingFolder() {
    return rvtest::Demo().folder + "/peptide-mapping";
}

// The peptide-mapping layout over the demo's peptide-mapping folder, its run open.
struct MassmapProgram : Program {
    bool Open() {
        if (rvtest::Demo().folder.isEmpty()) return false;
        if (!doc->OnOpenDocument(rvtest::Demo().folder + "/demo.mzML")) return false;
        return LoadMassmap(MappingFolder());
    }
    CMassmapGrid& Grid() const { return *Massmap()->Grid(); }
    void Refill() { doc->UpdateAllViews(nullptr, kHintMassmapLayout); }
    std::vector<rvtest::ShownProtein> Table() const { return rvtest::ShownTable(*Massmap()); }
};

int Points(const CProteinRecord& protein, bool keptOnly) {
    int points = 0;
    for (int r = 1; r <= kConsensusRanks; ++r) {
        const auto& group = protein.rowsByRank[static_cast<size_t>(r - 1)];
        const int n = keptOnly ? protein.keptRows(r) : static_cast<int>(group.size());
        points += 2 * (6 - r) * n;
    }
    return points;
}

TEST(MassmapViewTest, LoadShowsTheLayoutWithProteinAndMatchRows) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open()) << rvtest::Demo().failure.toStdString();
    EXPECT_EQ(p.frame->CurrentViewType(), 10);
    ASSERT_NE(p.Massmap(), nullptr);
    CMassmapGrid& grid = p.Grid();
    EXPECT_EQ(grid.GetColCount(), 7);
    // Two title rows: the protein titles above, the match titles below.
    const QStringList proteinTitles = {"Reference", "", "", "Entries", "Score", "Hits", ""};
    const QStringList matchTitles = {"Scan(s)", "m/z",  "Charge", "Sequence",
                                     "Score",   "Ions", "Count"};
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(grid.GetValueRowCol(0, c), proteinTitles[c - 1]) << c;
        EXPECT_EQ(grid.GetValueRowCol(1, c), matchTitles[c - 1]) << c;
    }
    ASSERT_NE(grid.GetModel()->CoveredCellAt(0, 2), nullptr);
    EXPECT_EQ(grid.GetModel()->CoveredCellAt(0, 7)->left, 6);

    // Every protein with rows is listed, highest score first, with every match below it.
    const CMassmapResults& set = p.MassmapSet();
    const std::vector<rvtest::ShownProtein> table = p.Table();
    int proteinsWithRows = 0, rows = 0;
    for (const auto& protein : set.GetProteins()) {
        proteinsWithRows += protein->rowCount() > 0 ? 1 : 0;
        rows += 1 + protein->rowCount();
    }
    ASSERT_EQ(static_cast<int>(table.size()), proteinsWithRows);
    EXPECT_EQ(p.Massmap()->RowEntryCount(), rows);
    EXPECT_EQ(p.doc->MassmapOptions().summaryRowLimit, rows);
    EXPECT_GE(grid.GetRowCount(), rows + 1);

    // The first protein row, by hand: 10, 8, 6, 4, 2 points per row of rank 1 to 5.
    const CProteinRecord& first = *set.GetProteins()[static_cast<size_t>(table[0].protein)];
    EXPECT_EQ(grid.GetValueRowCol(2, 0), "#1");
    EXPECT_EQ(grid.GetValueRowCol(2, 1), first.reference);
    EXPECT_DOUBLE_EQ(grid.GetModel()->GetNumber(2, 5), Points(first, false));
    EXPECT_EQ(grid.GetDisplayTextRowCol(2, 5), QString::number(Points(first, false)) + ".0");
    EXPECT_EQ(grid.GetValueRowCol(2, 6), ConsensusHitsText(first));
    EXPECT_EQ(grid.GetValueRowCol(2, 4), ConsensusEntriesText(first));
    for (size_t i = 1; i < table.size(); ++i)
        EXPECT_GE(set.GetProteins()[static_cast<size_t>(table[i - 1].protein)]->score,
                  set.GetProteins()[static_cast<size_t>(table[i].protein)]->score);
    const CGXStyle proteinStyle = grid.GetStyleRowCol(2, 4);
    EXPECT_TRUE(proteinStyle.bold.value_or(false));
    EXPECT_EQ(proteinStyle.interior.value_or(QColor()), QColor(235, 235, 235));
    EXPECT_FALSE(grid.GetStyleRowCol(3, 4).bold.value_or(false));
    EXPECT_EQ(grid.GetStyleRowCol(3, 4).interior.value_or(QColor()), QColor(255, 255, 255));

    // Its first match: rank 1 first under sort key 0, the hit's own cells.
    const CConsensusRow& match = *first.rowsByRank[0][0];
    EXPECT_EQ(grid.GetValueRowCol(3, 0), QString::number(match.hitNumber.value()));
    EXPECT_EQ(grid.GetValueRowCol(3, 1), QString::number(match.firstScan));
    EXPECT_EQ(grid.GetDisplayTextRowCol(3, 2), QString::asprintf("%.3f", match.hitMass));
    EXPECT_EQ(grid.GetValueRowCol(3, 3), QString::number(match.charge));
    EXPECT_EQ(grid.GetValueRowCol(3, 4), match.peptide);
    EXPECT_EQ(grid.GetValueRowCol(3, 6),
              QString("%1/%2").arg(match.ionsMatched).arg(match.ionsTotal));
    EXPECT_TRUE(grid.GetValueRowCol(3, 7).isEmpty());
    ConsensusRowEntry entry;
    ASSERT_TRUE(p.Massmap()->GetRowInfo(3, entry));
    EXPECT_EQ(entry.kind, ConsensusRowEntry::kMatchRow);
    EXPECT_EQ(entry.hit, match.hitNumber);
    EXPECT_FALSE(p.Massmap()->GetRowInfo(1, entry)) << "a title row names nothing";
    EXPECT_FALSE(p.Massmap()->GetRowInfo(rows + 2, entry)) << "nor a row past the table";
    EXPECT_FALSE(entry.hit.isValid());

    // Times in place of scans.
    p.doc->MassmapOptions().showTimes = 1;
    p.Refill();
    EXPECT_EQ(grid.GetValueRowCol(1, 1), "Time(s)");
    EXPECT_EQ(grid.GetValueRowCol(3, 1),
              QString::asprintf("%.2f", p.doc->ScanToRetentionTime(match.firstScan)));
    p.frame->show();
    QTest::qWait(50);
    p.frame->grab().toImage().save("/tmp/i24-massmap-layout.png");
}

TEST(MassmapViewTest, TitleClicksSortTheMatchesOfEveryProtein) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open());
    const std::vector<rvtest::ShownProtein> before = p.Table();
    struct Case {
        int row, col, key;
    } cases[] = {{1, 2, kSortHitMass},        {1, 5, kSortPreliminaryScore}, {1, 6, kSortIonsRatio},
                 {0, 2, kSortReference},      {1, 4, kSortPeptide},  // its rows sort as by scans
                 {1, 1, kSortFileInformation}};
    for (const Case& c : cases) {
        p.Massmap()->SortByColumn(c.row, c.col);
        EXPECT_EQ(p.doc->MassmapOptions().sortKey, c.key) << c.row << "," << c.col;
    }
    // Titles that do not sort: Charge, Count, and the protein titles but Reference.
    for (auto [row, col] : {std::pair{1, 3}, {1, 7}, {0, 4}, {0, 5}, {0, 6}}) {
        p.Massmap()->SortByColumn(row, col);
        EXPECT_EQ(p.doc->MassmapOptions().sortKey, kSortFileInformation) << row << "," << col;
    }

    // A real click on the m/z title of the match row.
    CMassmapGrid& grid = p.Grid();
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(0, 1)).center());
    EXPECT_EQ(p.doc->MassmapOptions().sortKey, kSortHitMass);
    const std::vector<rvtest::ShownProtein> after = p.Table();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].protein, before[i].protein) << "the protein order stays";
        std::vector<HitNumber> a = after[i].hits, b = before[i].hits;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b);
    }
    // Masses ascend within each protein.
    int r = 2;
    for (const auto& shown : after) {
        ++r;
        for (size_t k = 1; k < shown.hits.size(); ++k, ++r)
            EXPECT_LE(grid.GetModel()->GetNumber(r, 2), grid.GetModel()->GetNumber(r + 1, 2)) << r;
        if (!shown.hits.empty()) ++r;
    }
    // The header's "Reference" (protein titles) sorts too.
    QHeaderView* header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(p.doc->MassmapOptions().sortKey, kSortReference);
}

TEST(MassmapViewTest, ClicksAfterSortsOpenTheClickedHit) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open());
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    CMassmapGrid& grid = p.Grid();
    // Sorted rows, and hit records in another order than their hit numbers.
    p.Massmap()->SortByColumn(1, 5);
    p.MassmapSet().SortHits(kSortHitMass);
    ASSERT_NE(p.MassmapSet().GetHit(0)->recordIndex, 0);
    p.Refill();
    for (int row : {3, 5, 8}) {
        ConsensusRowEntry entry;
        ASSERT_TRUE(p.Massmap()->GetRowInfo(row, entry));
        if (entry.kind != ConsensusRowEntry::kMatchRow) continue;
        const QString scans = grid.GetValueRowCol(row, 1);
        const QString peptide = grid.GetValueRowCol(row, 4);
        grid.scrollTo(grid.GetModel()->index(row - 1, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.GetModel()->index(row - 1, 1)).center());
        CResultsWindow* window = GetResultsWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->StoredResult().kind, 2);
        EXPECT_EQ(window->StoredResult().viewType, 3);
        const SearchHitRecord* hit = p.MassmapSet().FindHit(window->StoredResult().hit);
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(
            hit->fileInformation.contains(QString(".%1.").arg(scans.toInt(), 4, 10, QChar('0'))))
            << hit->fileInformation.toStdString() << " row " << row << " shows "
            << scans.toStdString();
        // The ranked hits of that spectrum hold the row's peptide.
        bool found = false;
        for (int r = 1; r <= window->ShowOut()->Grid()->GetRowCount(); ++r)
            found = found || window->ShowOut()->Grid()->GetValueRowCol(r, 2) == peptide;
        EXPECT_TRUE(found) << peptide.toStdString();
        // The press told the frame which hit, by its number: the trace marks its time.
        const double time = p.doc->ScanToRetentionTime(scans.toInt());
        rvtest::WaitFor([&] { return p.doc->GetMassmapHitRetentionTime() == time; }, zartest::kWorkWaitMs);
        EXPECT_DOUBLE_EQ(p.doc->GetMassmapHitRetentionTime(), time);
    }
    // A protein row's reference opens its coverage.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(1, 0)).center());
    EXPECT_EQ(GetResultsWindow()->StoredResult().viewType, 6);
    EXPECT_EQ(GetResultsWindow()->StoredResult().entryIndex, p.Table()[0].protein);
}

TEST(MassmapViewTest, FiltersOverTheDemoFolder) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open());
    CMassmapResults& set = p.MassmapSet();
    ResultsDisplayOptions& o = p.doc->MassmapOptions();
    // Rows by hand for a row test over every protein.
    const auto countRows = [&](const std::function<bool(const CConsensusRow&)>& keep) {
        int rows = 0;
        for (const auto& protein : set.GetProteins()) {
            int kept = 0;
            for (const auto& group : protein->rowsByRank)
                for (const auto& row : group) kept += keep(*row) ? 1 : 0;
            rows += kept > 0 ? 1 + kept : 0;
        }
        return rows;
    };
    struct Case {
        const char* what;
        int mode, kind;
        double threshold;
        std::function<bool(const CConsensusRow&)> keep;
    } cases[] = {
        {"none", 0, 3, 0, [](const CConsensusRow&) { return true; }},
        {"Sp at least 40", 2, 3, 40,
         [](const CConsensusRow& r) { return r.preliminaryScore >= 40; }},
        {"percent ions at least 50", 2, 5, 50,
         [](const CConsensusRow& r) {
             return r.ionsTotal > 0 && r.ionsMatched * 100 / r.ionsTotal >= 50;
         }},
        {"an unknown kind keeps nothing", 2, 1, 0, [](const CConsensusRow&) { return false; }},
        {"multiple thresholds filter nothing here", 3, 3, 0,
         [](const CConsensusRow&) { return true; }},
    };
    for (const Case& c : cases) {
        o.filterMode = c.mode;
        o.thresholdKind = c.kind;
        o.singleThreshold = c.threshold;
        p.Refill();
        const int rows = countRows(c.keep);
        EXPECT_EQ(p.Massmap()->RowEntryCount(), rows) << c.what;
        if (rows == 0) {
            // An empty table: cells cleared, nothing to open.
            EXPECT_TRUE(p.Grid().GetValueRowCol(2, 1).isEmpty()) << c.what;
            ConsensusRowEntry entry;
            EXPECT_FALSE(p.Massmap()->GetRowInfo(2, entry)) << c.what;
        } else {
            EXPECT_EQ(o.summaryRowLimit, rows) << c.what;
        }
    }

    // First N proteins, each with all its rows; N of 0 or above the count shows all.
    const int proteins = static_cast<int>(set.GetProteins().size());
    for (auto [limit, shown] : {std::pair{3, 3}, {0, proteins}, {proteins + 10, proteins}}) {
        o.filterMode = 1;
        o.consensusRowLimit = limit;
        p.Refill();
        EXPECT_EQ(static_cast<int>(p.Table().size()), shown) << limit;
    }

    // Selected dta files: the hits' selection flags.
    o.filterMode = 4;
    for (int i = 0; i < set.GetHitCount(); ++i)
        set.GetHit(i)->shown = set.GetHit(i)->recordIndex % 2;
    p.Refill();
    for (const auto& shown : p.Table())
        for (HitNumber hit : shown.hits) EXPECT_EQ(hit.recordIndex() % 2, 1) << hit;
    EXPECT_EQ(p.Massmap()->RowEntryCount(), countRows([&](const CConsensusRow& r) {
                  return set.FindHit(r.hitNumber)->shown == 1;
              }));

    // The chromatographic range: matches whose scans lie inside it.
    for (int i = 0; i < set.GetHitCount(); ++i) set.GetHit(i)->shown = 1;
    o.filterMode = 5;
    o.retentionTimeMin = 3.0;
    o.retentionTimeMax = 5.0;
    p.Refill();
    const auto inRange = [&](const CConsensusRow& r) {
        return p.doc->ScanToRetentionTime(r.firstScan) >= 3.0 &&
               p.doc->ScanToRetentionTime(r.lastScan) <= 5.0;
    };
    EXPECT_GT(p.Massmap()->RowEntryCount(), 0);
    EXPECT_EQ(p.Massmap()->RowEntryCount(), countRows(inRange));
}

TEST(MassmapViewTest, ConsensusThresholdJudgesProteinsByAllTheirRows) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open());
    CMassmapResults& set = p.MassmapSet();
    ResultsDisplayOptions& o = p.doc->MassmapOptions();
    // A fill that keeps few rows leaves low protein scores behind.
    o.filterMode = 2;
    o.thresholdKind = 3;
    o.singleThreshold = 80;
    p.Refill();
    // The consensus threshold then still sees each protein's score over all its rows.
    o.thresholdKind = 6;
    o.singleThreshold = 30;
    p.Refill();
    int listed = 0, rows = 0;
    for (const auto& protein : set.GetProteins()) {
        if (Points(*protein, false) < 30) continue;
        ++listed;
        rows += 1 + protein->rowCount();
    }
    ASSERT_GT(listed, 1);
    EXPECT_EQ(static_cast<int>(p.Table().size()), listed);
    EXPECT_EQ(p.Massmap()->RowEntryCount(), rows);
}

// One spectrum whose five hit lines all name one protein: five match rows under one protein,
// however few hits the set holds.
TEST(MassmapViewTest, FiveRowsOfOneHitAllShow) {
    Program p;
    QTemporaryDir dir;
    QFile file(dir.filePath("run.0400.0400.1.out"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\n run.0400.0400.1.out\n MassMap v.1 (rev. 1), (C) 2000\n x\n x\n"
        " 12/10/2026, 01:30 PM, 4 sec. on node01\n"
        " (M+H)+ mass = 1045.56 ~ 1.0000 (+1), fragment tol = 0.00, AVG/AVG\n x\n"
        " # amino acids = 300, # proteins = 3, test.fasta\n"
        " ion series nABYabcdVWXYZ: 0 0 1 0.0 0.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n"
        " display top 10/5, ion % = 0.0\n (none)\n\n"
        "  #   Id#     (M+H)+    Score   Ions  Reference             Peptide\n"
        " ---  ----  ---------  ------  -----  ---------             -------\n"
        "  1.    0  1045.5640  50.0  10/14  sp|P00001|PROA_TEST      K.PEPTIDEK.R\n"
        "  2.    0  1045.5700  40.0   8/14  sp|P00001|PROA_TEST      R.PEPTLDEQ.K\n"
        "  3.    0  1046.1000  30.0   7/14  sp|P00001|PROA_TEST      K.AAAAWWWWR.-\n"
        "  4.    0  1046.2000  20.0   7/14  sp|P00001|PROA_TEST      K.GGGGGGR.-\n"
        "  5.    0  1046.3000  10.0   6/14  sp|P00001|PROA_TEST      K.HHHHHR.-\n\n");
    file.close();
    // A file whose name gives no scans: its match shows the name the file gives itself.
    QFile odd(dir.filePath("spot7.out"));
    ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
    odd.write(
        "\n spot7 of plate 2\n MassMap v.1 (rev. 1), (C) 2000\n x\n x\n"
        " 12/10/2026, 01:30 PM, 4 sec. on node01\n"
        " (M+H)+ mass = 999.00 ~ 1.0000 (+1), fragment tol = 0.00, AVG/AVG\n x\n"
        " # amino acids = 300, # proteins = 3, test.fasta\n x\n x\n (none)\n\n"
        " ---  ----  ---------  ------  -----  ---------             -------\n"
        "  1.    0   999.0100   5.0  10/14  sp|P00002|PROB_TEST      K.ZZZZZK.R\n\n");
    odd.close();
    ASSERT_TRUE(p.LoadMassmap(dir.path()));
    ASSERT_EQ(p.MassmapSet().GetHitCount(), 2);
    ASSERT_NE(p.Massmap(), nullptr);
    EXPECT_EQ(p.Massmap()->RowEntryCount(), 8);
    CMassmapGrid& grid = *p.Massmap()->Grid();
    EXPECT_EQ(grid.GetValueRowCol(9, 1), " spot7 of plate 2");
    EXPECT_EQ(grid.GetValueRowCol(9, 4), "K.ZZZZZK.R");
    EXPECT_EQ(grid.GetValueRowCol(2, 4), "1 : 1 : 1 : 1 : 1 ");
    EXPECT_EQ(grid.GetValueRowCol(2, 6), "1 1 1 1 1");
    EXPECT_DOUBLE_EQ(grid.GetModel()->GetNumber(2, 5), 30.0);
    for (int r = 3; r <= 7; ++r) EXPECT_EQ(grid.GetValueRowCol(r, 0), "1") << r;
    EXPECT_EQ(grid.GetValueRowCol(7, 4), "K.HHHHHR.-");
    // No raw file is open: scans show as the row's scans.
    EXPECT_EQ(grid.GetValueRowCol(3, 1), "400");
}

TEST(MassmapViewTest, SearchResultsAreNotPeptideMappingResults) {
    Program p;
    ASSERT_FALSE(rvtest::Demo().folder.isEmpty());
    ASSERT_TRUE(p.LoadMassmap(rvtest::Demo().folder + "/results"));
    // The message names the first file after the text.
    ASSERT_EQ(p.boxes.texts().size(), 1);
    EXPECT_TRUE(p.boxes.texts()[0].startsWith(
        "The output files weren't generated by Peptide Mapping\n"));
    EXPECT_EQ(p.MassmapSet().GetHitCount(), 0);
    if (p.Massmap()) {
        EXPECT_EQ(p.Massmap()->RowEntryCount(), 0);
    }
}

TEST(MassmapViewTest, OptionsSheetFiltersSortsAndKeepsTheTablesOrder) {
    MassmapProgram p;
    ASSERT_TRUE(p.Open());
    // The table is in mass order after a title click: the Sort page shows it.
    p.Massmap()->SortByColumn(1, 2);
    int shownKey = -1;
    QTimer::singleShot(0, [&shownKey] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        shownKey = sheet->SortPage()->sortKey;
        EXPECT_EQ(sheet->FilterPage()->ConsensusCountText().left(10), "Proteins: ");
        // Single threshold on Sp at 40.
        sheet->FilterPage()->ModeGroup()->button(2)->click();
        sheet->FilterPage()->KindGroup()->button(3)->click();
        sheet->FilterPage()->SingleThresholdEdit()->setValue(40.0);
        sheet->grab().toImage().save("/tmp/i24-massmap-sheet.png");
        sheet->OkButton()->click();
    });
    p.Massmap()->OnDisplayOptions();
    EXPECT_EQ(shownKey, kSortHitMass);
    const ResultsDisplayOptions& o = p.doc->MassmapOptions();
    EXPECT_EQ(o.filterMode, 2);
    EXPECT_EQ(o.thresholdKind, 3);
    EXPECT_DOUBLE_EQ(o.singleThreshold, 40.0);
    EXPECT_EQ(o.sortKey, kSortHitMass);
    EXPECT_EQ(p.MassmapSet().GetSortKey(), kSortFileInformation);
    for (int r = 2; r < 2 + p.Massmap()->RowEntryCount(); ++r) {
        ConsensusRowEntry entry;
        ASSERT_TRUE(p.Massmap()->GetRowInfo(r, entry));
        if (entry.kind == ConsensusRowEntry::kMatchRow) {
            EXPECT_GE(p.Grid().GetModel()->GetNumber(r, 5), 40.0) << r;
        }
    }

    // Close changes nothing.
    const ResultsDisplayOptions before = p.doc->MassmapOptions();
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->FilterPage()->ModeGroup()->button(0)->click();
        sheet->CloseButton()->click();
    });
    p.Massmap()->OnDisplayOptions();
    EXPECT_EQ(p.doc->MassmapOptions(), before);
}

TEST(MassmapViewTest, CommandsOfTheMenusAndTheContextMenu) {
    MassmapProgram p;
    ASSERT_TRUE(!rvtest::Demo().folder.isEmpty());
    ASSERT_TRUE(p.doc->OnOpenDocument(rvtest::Demo().folder + "/demo.mzML"));
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    p.frame->UpdateCommandUI();
    EXPECT_EQ(p.frame->CurrentViewType(), 1);
    EXPECT_TRUE(p.frame->Action(ID_VIEW_MASSMAP)->isEnabled());
    EXPECT_TRUE(p.frame->Action(ID_OPEN_MASSMAP_RESULTS)->isEnabled());
    EXPECT_FALSE(p.frame->Action(ID_DISPLAY_OPTIONS)->isEnabled());

    // File > Open Peptide Mapping Results asks for the folder, then loads it.
    QString title;
    QTimer::singleShot(0, [&title] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->setDirectory(MappingFolder());
        dialog->selectFile(MappingFolder());
        QMetaObject::invokeMethod(dialog, "accept");
    });
    p.frame->RunCommand(ID_OPEN_MASSMAP_RESULTS);
    ASSERT_TRUE(rvtest::WaitFor([&] { return !p.frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    EXPECT_EQ(title, "Select Results Directory");
    EXPECT_EQ(p.frame->CurrentViewType(), 10);
    ASSERT_NE(p.Massmap(), nullptr);
    EXPECT_GT(p.Massmap()->RowEntryCount(), 10);
    p.frame->UpdateCommandUI();
    EXPECT_TRUE(p.frame->Action(ID_DISPLAY_OPTIONS)->isEnabled());
    EXPECT_TRUE(p.frame->Action(ID_VIEW_MASSMAP)->isChecked());
    // Display > Options opens the peptide-mapping sheet.
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* sheet = qobject_cast<CResultsPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        opened = dynamic_cast<CMassmapFilterPage*>(sheet->FilterPage()) != nullptr;
        sheet->CloseButton()->click();
    });
    p.frame->RunCommand(ID_DISPLAY_OPTIONS);
    EXPECT_TRUE(opened);

    // The context menu: Display Options and Export > Excel.
    QStringList items;
    QTimer::singleShot(50, [&items] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions()) {
            items << a->text();
            if (a->menu())
                for (QAction* sub : a->menu()->actions()) items << ">" + sub->text();
        }
        menu->close();
    });
    PostMessage(p.Massmap(), WM_CONTEXTMENU, 0, 0);
    rvtest::WaitFor([&] { return !items.isEmpty(); }, zartest::kWorkWaitMs);
    EXPECT_EQ(items, (QStringList{"&Display Options...", "", "&Export", ">&Excel"}));

    // Export writes the table, both title rows and the protein rows included.
    QString written;
    zartest::ShellOpenCapture shell;
    ASSERT_EQ(p.Massmap()->OnExportExcel(&written), kExcelExportDone);
    EXPECT_TRUE(written.endsWith("PeptideMapping.xlsx")) << written.toStdString();
    EXPECT_TRUE(QFile::exists(written));
    QFile::remove(written);

    // Printing goes to a PDF file through the grid (two proteins keep it short).
    EXPECT_TRUE(p.Massmap()->HasViewCommand(ID_FILE_PRINT));
    p.doc->MassmapOptions().filterMode = 1;
    p.doc->MassmapOptions().consensusRowLimit = 2;
    p.doc->UpdateAllViews(nullptr, kHintMassmapLayout);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTemporaryDir pdf;
    printer.setOutputFileName(pdf.filePath("table.pdf"));
    EXPECT_TRUE(p.Massmap()->PrintTo(printer));
    EXPECT_GT(QFileInfo(pdf.filePath("table.pdf")).size(), 1000);
}

}  // namespace
