#include "ResultViewsTestSupport.h"

#include "ResultsWindow.h"
#include "ShowOutView.h"
#include "SummaryFilter.h"
#include "document/ZarMessages.h"
#include "grids/ExcelExport.h"
#include "rawfile/RunFileWriter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QTimer>

using namespace zar;
using rvtest::Program;

namespace {

TEST(SummaryViewTest, LoadFillsSummaryAndConsensusTables) {
    Program p;
    ASSERT_TRUE(p.Load());
    EXPECT_EQ(p.frame->CurrentViewType(), 5);
    CSummaryView* summary = p.Summary();
    ASSERT_NE(summary, nullptr);
    CSummaryGrid& grid = *summary->Grid();
    EXPECT_EQ(grid.GetColCount(), 14);
    EXPECT_EQ(grid.GetRowCount(), 50);  // 7 kept rows, at least 50 rows
    EXPECT_EQ(summary->RowMapLength(), 7);
    EXPECT_EQ(p.doc->SummaryOptions().summaryRowLimit, 7);
    const QStringList titles = {"Scan(s)",  "m/z",   "Charge",   "Sequence", "Reference",
                                "Database", "XCorr", "Delta Cn", "Sp",       "RSp",
                                "Ions",     "Count", "MW",       "XPRESS"};
    for (int c = 1; c <= 14; ++c) EXPECT_EQ(grid.GetValueRowCol(0, c), titles[c - 1]) << c;
    // Reading order: file names.
    EXPECT_EQ(grid.GetValueRowCol(1, 1), "100");
    EXPECT_EQ(grid.GetValueRowCol(3, 1), "102 - 103");
    EXPECT_EQ(grid.GetValueRowCol(1, 3), "1");
    EXPECT_EQ(grid.GetValueRowCol(1, 4), "K.PEPTIDEK.R");
    EXPECT_EQ(grid.GetValueRowCol(1, 5), "sp|P00001|PROA_TEST");
    EXPECT_EQ(grid.GetValueRowCol(1, 11), "11/22");
    EXPECT_EQ(grid.GetValueRowCol(1, 12), "");
    EXPECT_EQ(grid.GetValueRowCol(4, 12), "2");
    EXPECT_EQ(grid.GetValueRowCol(7, 14), "");
    EXPECT_TRUE(grid.GetValueRowCol(8, 1).isEmpty());
    EXPECT_TRUE(grid.GetValueRowCol(50, 4).isEmpty());

    CConsensusView* consensus = p.Consensus();
    ASSERT_NE(consensus, nullptr);
    CConsensusGrid& cgrid = *consensus->Grid();
    EXPECT_EQ(cgrid.GetColCount(), 4);
    EXPECT_EQ(cgrid.GetRowCount(), 50);
    EXPECT_GE(consensus->RowEntryCount(), 3);
    // Highest score first: PROA_TEST holds four rank-1 entries.
    EXPECT_EQ(cgrid.GetValueRowCol(1, 1).left(19), "sp|P00001|PROA_TEST");
    EXPECT_EQ(cgrid.GetValueRowCol(1, 3), "3 2 0 0 0");
    EXPECT_EQ(cgrid.GetValueRowCol(1, 4), "1 4 7 : 2 5 : : : ");
}

TEST(SummaryViewTest, FiltersOverTheFixture) {
    Program p;
    ASSERT_TRUE(p.Load());
    CSummaryView* summary = p.Summary();
    ASSERT_NE(summary, nullptr);
    struct Case {
        const char* what;
        int mode, kind;
        double threshold;
        const char* reference;
        int expectedRows;
    } cases[] = {
        {"none", 0, 0, 0, "", 7},
        {"percent ions 50 keeps 11/22, drops 5/11 (45)", 2, 5, 50, "", 4},
        {"percent ions 45 keeps 5/11", 2, 5, 45, "", 5},
        {"reference ABC, case-sensitive", 2, 0, 0, "ABC", 3},
        {"reference abc matches only abc", 2, 0, 0, "abc", 1},
        {"empty reference keeps all", 2, 0, 0, "", 7},
        {"XCorr at least 2.5", 2, 1, 2.5, "", 3},
        {"RSp at least 3", 2, 4, 3, "", 2},
        {"consensus kind keeps every hit", 2, 6, 1000, "", 7},
        {"unknown kind keeps none", 2, 9, 0, "", 0},
    };
    for (const Case& c : cases) {
        ResultsDisplayOptions& o = p.doc->SummaryOptions();
        o.filterMode = c.mode;
        o.thresholdKind = c.kind;
        o.singleThreshold = c.threshold;
        o.referenceText = QString::fromLatin1(c.reference);
        p.Refill();
        if (c.expectedRows > 0) {
            EXPECT_EQ(summary->RowMapLength(), c.expectedRows) << c.what;
            EXPECT_EQ(p.doc->SummaryOptions().summaryRowLimit, c.expectedRows) << c.what;
        } else {
            // Nothing kept: the cells are cleared and the rows open nothing.
            EXPECT_EQ(summary->RowMapLength(), 0) << c.what;
            EXPECT_TRUE(summary->Grid()->GetValueRowCol(1, 4).isEmpty()) << c.what;
            EXPECT_EQ(summary->GetRowHit(1), HitNumber()) << c.what;
        }
    }
}

TEST(SummaryViewTest, MultipleThresholdsAndRowLimit) {
    Program p;
    ASSERT_TRUE(p.Load());
    CSummaryView* summary = p.Summary();
    ResultsDisplayOptions& o = p.doc->SummaryOptions();
    o.filterMode = 3;
    o.criteriaNeeded = 0;
    p.Refill();
    EXPECT_EQ(summary->RowMapLength(), 7);
    o.filterMode = 3;
    o.criteriaNeeded = 5;
    o.xcorrMin = 2.0;
    o.deltaCnMin = 0.0;
    o.spMin = 300;
    o.rspMax = 1;  // at most: RSp 1 meets it
    o.ionsPercentMin = 50;
    p.Refill();
    // 100 (2.5, 500, rsp 1, 50%), 102, 105 (2.0 and 300 are enough), 107
    EXPECT_EQ(summary->RowMapLength(), 4);
    o.filterMode = 1;
    o.summaryRowLimit = 2;
    p.Refill();
    EXPECT_EQ(summary->RowMapLength(), 2);
    o.summaryRowLimit = 100;
    p.Refill();
    EXPECT_EQ(summary->RowMapLength(), 7);
    EXPECT_EQ(summary->Grid()->GetRowCount(), 50);
}

TEST(SummaryViewTest, TitleClickSortsInBothLayouts) {
    Program p;
    ASSERT_TRUE(p.Load());
    CSummaryView* summary = p.Summary();
    CSummaryGrid& grid = *summary->Grid();
    // A real click on the XCorr title.
    summary->show();
    QHeaderView* header = grid.horizontalHeader();
    const int x = header->sectionViewportPosition(6) + header->sectionSize(6) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    EXPECT_EQ(p.Set().GetSortKey(), kSortCorrelation);
    EXPECT_EQ(p.doc->SummaryOptions().sortKey, kSortCorrelation);
    // Sorted by XCorr, best first.
    EXPECT_EQ(grid.GetValueRowCol(1, 1), "102 - 103");
    EXPECT_EQ(grid.GetValueRowCol(7, 1), "104");

    summary->SortByColumn(3);  // Charge: no sort
    EXPECT_EQ(p.Set().GetSortKey(), kSortCorrelation);

    // Score-only layout: 11 columns ending in XPRESS, "Score" sorts by XCorr, "Ions" by ions.
    p.doc->SummaryOptions().singleScore = 1;
    p.Refill();
    EXPECT_EQ(grid.GetColCount(), 11);
    EXPECT_EQ(grid.GetValueRowCol(0, 7), "Score");
    EXPECT_EQ(grid.GetValueRowCol(0, 11), "XPRESS");
    summary->SortByColumn(2);
    EXPECT_EQ(p.Set().GetSortKey(), kSortHitMass);
    summary->SortByColumn(7);
    EXPECT_EQ(p.Set().GetSortKey(), kSortCorrelation);
    summary->SortByColumn(8);
    EXPECT_EQ(p.Set().GetSortKey(), kSortIonsRatio);
}

TEST(SummaryViewTest, ClickAfterSortOpensTheRightResult) {
    Program p;
    ASSERT_TRUE(p.Load());
    CSummaryView* summary = p.Summary();
    summary->SortByColumn(7);  // XCorr: row 1 is now the file 102-103
    CSummaryGrid& grid = *summary->Grid();
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));

    // m/z of row 1 opens show output of that hit.
    const QRect cell = grid.visualRect(grid.GetModel()->index(0, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ShownType(), 3);
    EXPECT_EQ(window->StoredResult().column, 2);
    EXPECT_EQ(window->StoredResult().row, 1);
    const SearchHitRecord* hit = p.Set().FindHit(window->StoredResult().hit);
    EXPECT_EQ(hit->fileInformation.trimmed(), "run.0102.0103.3.out");
    // The cell press told the frame which hit is current.
    rvtest::WaitFor([&] { return p.doc->GetSorvexSelectedHit().isValid(); }, zartest::kWorkWaitMs);
    EXPECT_EQ(p.doc->GetSorvexSelectedHit(), window->StoredResult().hit);

    // The ranked hits of that spectrum.
    CShowOutView* showOut = window->ShowOut();
    EXPECT_EQ(showOut->Title(), "ShowOut - run.0102.0103.3.out");
    EXPECT_EQ(showOut->Grid()->GetValueRowCol(1, 2), "K.LLLLMMMK.R");
    EXPECT_EQ(showOut->Grid()->GetValueRowCol(2, 2), "R.VVVVK.A");
    EXPECT_EQ(showOut->Grid()->GetDisplayTextRowCol(1, 5), "3.100");
    EXPECT_EQ(showOut->Grid()->GetValueRowCol(1, 9), "10/14");
    EXPECT_EQ(showOut->Grid()->GetValueRowCol(1, 10), "1");
    EXPECT_TRUE(showOut->Grid()->GetValueRowCol(2, 10).isEmpty());
    EXPECT_TRUE(showOut->Grid()->GetValueRowCol(3, 2).isEmpty());
    EXPECT_EQ(showOut->Grid()->GetRowCount(), 50);
    window->grab().toImage().save("/tmp/resultviews_showout.png");
    p.frame->grab().toImage().save("/tmp/resultviews_summary.png");

    // Columns by their view types (full layout).
    struct Case {
        int col;
        int viewType;
    } cases[] = {{1, 7}, {5, 2}, {11, 5}, {12, 1}};
    summary->SortByColumn(1);  // file order again: row 4 has two further references
    for (const Case& c : cases) {
        const QRect r = grid.visualRect(grid.GetModel()->index(3, c.col - 1));
        grid.scrollTo(grid.GetModel()->index(3, c.col - 1));
        const QRect shown = grid.visualRect(grid.GetModel()->index(3, c.col - 1));
        (void)r;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, shown.center());
        EXPECT_EQ(window->StoredResult().viewType, c.viewType) << c.col;
        EXPECT_EQ(p.Set().FindHit(window->StoredResult().hit)->fileInformation.trimmed(),
                  "run.0104.0104.2.out")
            << c.col;
    }
    EXPECT_EQ(window->StoredResult().furtherReferences, 2);

    // A click on an empty row opens nothing.
    const int before = window->StoredResult().row;
    grid.scrollTo(grid.GetModel()->index(20, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(20, 1)).center());
    EXPECT_EQ(window->StoredResult().row, before);
}

TEST(SummaryViewTest, XpressTextIsTheSameAfterFillAndRefresh) {
    Program p;
    ASSERT_TRUE(p.Load());
    CSummaryView* summary = p.Summary();
    p.Set().GetHit(0)->quantitationRatio = -2.5;
    p.Set().GetHit(1)->quantitationRatio = 1.25;
    p.Refill();
    EXPECT_EQ(summary->Grid()->GetValueRowCol(1, 14), "2.50 : 1");
    EXPECT_EQ(summary->Grid()->GetValueRowCol(2, 14), "1 : 1.25");
    p.Set().GetHit(0)->quantitationRatio = -3.0;
    p.doc->UpdateAllViews(nullptr, 66);
    EXPECT_EQ(summary->Grid()->GetValueRowCol(1, 14), "3.00 : 1");
    EXPECT_EQ(summary->Grid()->GetValueRowCol(3, 14), "");
}

TEST(SummaryViewTest, ExportsBothTablesToWorkbooks) {
    Program p;
    ASSERT_TRUE(p.Load());
    zartest::ShellOpenCapture desktop;
    p.Set().GetHit(0)->hitMass = 1234.56789;  // shown with three decimals
    p.Refill();
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    QDir().mkpath(home.path() + "/Documents");
    QString summaryPath, consensusPath;
    EXPECT_EQ(p.Summary()->OnExportExcel(&summaryPath), 0);
    EXPECT_EQ(p.Consensus()->OnExportExcel(&consensusPath), 0);
    qputenv("HOME", oldHome);
    if (oldConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_TRUE(summaryPath.endsWith("SorvexSummaryReport.xlsx")) << summaryPath.toStdString();
    EXPECT_TRUE(consensusPath.endsWith("SorvexConsensusReport.xlsx"));
    EXPECT_GT(QFileInfo(summaryPath).size(), 0);
    EXPECT_GT(QFileInfo(consensusPath).size(), 0);
    EXPECT_TRUE(summaryPath.startsWith(home.path()));
    // Both workbooks open in the desktop's spreadsheet program; the mass is there whole.
    ASSERT_EQ(desktop.urls().size(), 2u);
    EXPECT_EQ(desktop.urls()[0], QUrl::fromLocalFile(summaryPath));
    EXPECT_EQ(desktop.urls()[1], QUrl::fromLocalFile(consensusPath));
    CSummaryGrid& grid = *p.Summary()->Grid();
    int row = 0;
    for (int r = 1; r <= p.Summary()->RowMapLength(); ++r)
        if (grid.GetValueRowCol(r, 0) == QString::number(p.Set().GetHit(0)->hitNumber().value())) row = r;
    ASSERT_GT(row, 0);
    EXPECT_EQ(grid.GetDisplayTextRowCol(row, 2), QStringLiteral("1234.568"));
    EXPECT_EQ(GridExportValue(grid, row, 2), QStringLiteral("1234.56789"));
}

TEST(SummaryViewTest, SequenceOfTheCurrentHitGoesToTheClipboard) {
    Program p;
    ASSERT_TRUE(p.Load());
    p.doc->SetSorvexSelection(HitNumber(1), 4);
    p.Summary()->OnExportSequence();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "PEPTIDEK");
}

}  // namespace

namespace {

// The texts of the popup menu a right click in a table opens (empty when none opens).
QStringList ContextMenuOf(QWidget* view) {
    QStringList texts;
    QTimer::singleShot(50, [&texts] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                texts << a->text();
                if (a->menu())
                    for (QAction* sub : a->menu()->actions()) texts << "  " + sub->text();
            }
            menu->close();
        }
    });
    SendMessage(view, WM_CONTEXTMENU, 0, 0);
    QTest::qWait(100);
    return texts;
}

TEST(SummaryViewTest, ContextMenusOnlyWithResults) {
    Program p;
    ASSERT_TRUE(p.frame->OnChooseView(5, true));
    EXPECT_TRUE(ContextMenuOf(p.Summary()).isEmpty());
    ASSERT_TRUE(p.Load());
    EXPECT_EQ(ContextMenuOf(p.Summary()), (QStringList{"&Display Options...", "", "&Export",
                                                       "  &Excel", "  &Sequence (to Clipboard)"}));
    EXPECT_EQ(ContextMenuOf(p.Consensus()),
              (QStringList{"&Display Options...", "", "&Export", "  &Excel"}));
}

}  // namespace

namespace {

// The scan a hit's retention time is taken at, read from the table's Scan(s) text.
int ScanOfCell(const QString& text) {
    const QStringList parts = text.split(QStringLiteral(" - "));
    const int first = parts.value(0).toInt();
    const int last = parts.size() > 1 ? parts[1].toInt() : first;
    return first == last ? first : (first + last) / 2;
}

// After a sort by any column, in either layout, every receiver of a click resolves the hit
// shown in the clicked row: the frame's current hit and its retention time, the results window
// and its show-output page, and the tool bar's results-window request.
TEST(SummaryViewTest, EveryClickAfterEverySortNamesTheHitOfItsRow) {
    Program p;
    QString error;
    const QString run = p.dir.path() + QStringLiteral("/run.mzML");
    ASSERT_TRUE(WriteRunFile(run, 120, [](int i) {
        RunSpectrum s;
        s.scanNumber = i + 1;
        s.retentionTime = 0.25 + 0.01 * (i + 1);
        s.mz = {400.0, 500.0};
        s.intensity = {10.0, 20.0};
        return s;
    }, error)) << error.toStdString();
    ASSERT_TRUE(p.doc->OnOpenDocument(run));
    ASSERT_TRUE(p.Load());
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    for (int singleScore : {0, 1}) {
        p.doc->SummaryOptions().singleScore = singleScore;
        p.Refill();
        CSummaryGrid& grid = *p.Summary()->Grid();
        const int columns = grid.GetColCount();
        const int sequenceColumn = 4;
        for (int sortColumn = 1; sortColumn <= columns; ++sortColumn) {
            p.Summary()->SortByColumn(sortColumn);
            for (int row = 1; row <= p.Summary()->RowMapLength(); ++row) {
                SCOPED_TRACE(QStringLiteral("layout %1, sorted by column %2, row %3")
                                 .arg(columns).arg(sortColumn).arg(row).toStdString());
                const HitNumber hitNumber(grid.GetValueRowCol(row, 0).toInt());
                const SearchHitRecord* hit = p.Set().FindHit(hitNumber);
                ASSERT_NE(hit, nullptr);
                const QString peptide = grid.GetValueRowCol(row, sequenceColumn);
                ASSERT_EQ(hit->peptide, peptide);
                // The m/z cell opens the hit's ranked hits.
                const QModelIndex cell = grid.GetModel()->index(row - 1, 1);
                grid.scrollTo(cell);
                QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                                  grid.visualRect(cell).center());
                QCoreApplication::processEvents();
                EXPECT_EQ(p.doc->GetSorvexSelectedHit(), hitNumber);
                EXPECT_DOUBLE_EQ(p.doc->GetSorvexHitRetentionTime(),
                                 p.doc->ScanToRetentionTime(ScanOfCell(grid.GetValueRowCol(row, 1))));
                CResultsWindow* window = GetResultsWindow();
                ASSERT_NE(window, nullptr);
                EXPECT_EQ(window->StoredResult().hit, hitNumber);
                EXPECT_EQ(window->StoredResult().peptide, peptide);
                EXPECT_EQ(window->ShowOut()->Title(),
                          QStringLiteral("ShowOut - ") + hit->fileInformation.trimmed());
                const SelectedResult request = p.frame->ResultsWindowRequest();
                EXPECT_EQ(request.hit, hitNumber);
                EXPECT_EQ(request.peptide, peptide);
                EXPECT_EQ(request.reference, hit->reference);
            }
        }
    }
}

}  // namespace
