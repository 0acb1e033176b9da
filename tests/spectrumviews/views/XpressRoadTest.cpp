// XPRESS as a new user meets it on the demo data, whose run holds light/heavy pairs at recorded
// ratios: turned on in Options > Configuration, the ratios in the summary table, the XPRESS page
// of a pair opened from its cell, Calculate ratio and Update table; and Actions > XPRESS on
// results read without it. The pictures go to /tmp.

#include "spectrumviews/views/IcatView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/XpressParamsDlg.h"
#include "spectrumviews/views/XpressRecalculation.h"

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/ZarApp.h"
#include "app/grids/ResultGrids.h"
#include "controls/NumericEditCtrl.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "resultviews/RegisterResultViews.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/SummaryView.h"
#include "search/views/RegisterConfiguration.h"
#include "search/views/SettingsPropertySheet.h"
#include "search/views/SorvexResultsPage.h"
#include "spectrumviews/XpressQuant.h"
#include "tools/demo/DemoRun.h"
#include "tools/demo/DemoWriter.h"

#include "ViewsTestSupport.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <map>

using namespace zar;

namespace {

// The light : heavy amount that a ratio stands for.
double LightToHeavy(double ratio) {
    return ratio > 0.0 ? 1.0 / ratio : -ratio;
}

class XpressRoadTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        dir_ = std::make_unique<QTemporaryDir>();
        // A shorter run than the shipped one: the same kinds of scans in less time.
        DemoSettings settings;
        settings.runMinutes = 9.0;
        settings.firstElution = 1.0;
        settings.lastElution = 8.0;
        settings.intactMinutes = 8.6;
        run_ = std::make_unique<DemoRun>(MakeDemoRun(settings));
        QString error;
        folder_ = dir_->filePath(QStringLiteral("demo"));
        if (!WriteDemoFolder(folder_, *run_, false, error)) folder_.clear();
        RegisterSpectrumViews();
    }
    static void TearDownTestSuite() {
        run_.reset();
        dir_.reset();
        server_.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(server_->ok());
        ASSERT_FALSE(folder_.isEmpty());
        SetXpressAutoCalculate(0);
        doc_ = std::make_unique<CZarDoc>();
        frame_ = std::make_unique<CMainFrame>(doc_.get());
        RegisterResultViews(*frame_);
        RegisterConfigurationSheet();
        frame_->resize(1280, 860);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        ASSERT_TRUE(doc_->OnOpenDocument(folder_ + QStringLiteral("/demo.mzML")));
    }
    void TearDown() override {
        frame_.reset();
        doc_.reset();
        RegisterFrameCommand(ID_OPTIONS_CONFIGURATION, nullptr);
    }

    void openResults() {
        ASSERT_TRUE(OpenSorvexResults(*frame_, folder_ + QStringLiteral("/results")));
        QDeadlineTimer deadline(zartest::kWorkWaitMs);
        while (frame_->IsLoadingResults() && !deadline.hasExpired()) QTest::qWait(20);
        ASSERT_FALSE(frame_->IsLoadingResults());
        QCoreApplication::processEvents();
        auto* layout = dynamic_cast<CSplitterLayoutView*>(frame_->CurrentView());
        ASSERT_NE(layout, nullptr);
        summary_ = dynamic_cast<CSummaryView*>(layout->FindPane(QStringLiteral("CSummaryView")));
        ASSERT_NE(summary_, nullptr);
    }

    // The recorded light : heavy ratio of every pair peptide, by its text.
    static std::map<QString, double> recordedRatios() {
        std::map<QString, double> r;
        for (const DemoPair& pair : run_->pairs) {
            r[run_->peptides[static_cast<size_t>(pair.light)].text] = pair.ratio;
            r[run_->peptides[static_cast<size_t>(pair.heavy)].text] = pair.ratio;
        }
        return r;
    }

    // The summary rows whose XPRESS cell shows a ratio of a pair peptide.
    struct Row {
        int row;
        QString peptide;
        double recorded;
        double shown;
        double area;  // both forms
    };
    std::vector<Row> pairRows() {
        std::vector<Row> rows;
        const std::map<QString, double> recorded = recordedRatios();
        CSummaryGrid& grid = *summary_->Grid();
        const int column = grid.GetColCount();
        for (int r = 1; r <= summary_->RowMapLength(); ++r) {
            const QString peptide = grid.GetValueRowCol(r, 4);
            const auto it = recorded.find(peptide);
            const QString cell = grid.GetValueRowCol(r, column);
            if (it == recorded.end() || cell.isEmpty()) continue;
            const CSorvexResults* set = doc_->GetSorvexResults();
            const SearchHitRecord* hit = set->FindHit(summary_->GetRowHit(r));
            EXPECT_EQ(cell, XpressRatioText(hit->quantitationRatio));
            rows.push_back({r, peptide, it->second, LightToHeavy(hit->quantitationRatio),
                            hit->lightArea + hit->heavyArea});
        }
        return rows;
    }

    // Clicks a row's XPRESS cell; the results window's XPRESS page once it shows the hit.
    CIcatView* openXpressPage(int row) {
        CSummaryGrid& grid = *summary_->Grid();
        const QModelIndex cell = grid.GetModel()->index(row - 1, grid.GetColCount() - 1);
        grid.scrollTo(cell);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell).center());
        CResultsWindow* window = GetResultsWindow();
        if (!window) return nullptr;
        auto* page = dynamic_cast<CIcatView*>(window->ViewOfType(CIcatView::kResultsViewType));
        if (page && !page->WaitUntilIdle(zartest::kWorkWaitMs)) return nullptr;
        QTest::qWait(50);
        return page;
    }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::unique_ptr<DemoRun> run_;
    static inline QString folder_;
    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    CSummaryView* summary_ = nullptr;
};

}  // namespace

TEST_F(XpressRoadTest, TurnedOnInTheConfigurationThePairsShowTheirRatios) {
    // Options > Configuration, the TurboSORVEX Results page: Auto-calculate XPRESS ratios.
    frame_->UpdateCommandUI();
    ASSERT_TRUE(frame_->Action(ID_OPTIONS_CONFIGURATION)->isEnabled());
    zartest::ModalDialogAnswer answer("zar::CSettingsPropertySheet", true, [](QWidget* sheet) {
        auto* settings = static_cast<CSettingsPropertySheet*>(sheet);
        auto* tabs = settings->findChild<QTabWidget*>();
        tabs->setCurrentWidget(settings->ResultsPage());
        settings->grab().save(QStringLiteral("/tmp/i27_xpress_configuration.png"));
        settings->ResultsPage()->AutoBox()->click();
    });
    frame_->RunCommand(ID_OPTIONS_CONFIGURATION);
    ASSERT_TRUE(answer.seen());
    ASSERT_EQ(GetXpressAutoCalculate(), 1);

    openResults();
    const std::vector<Row> rows = pairRows();
    ASSERT_GE(rows.size(), 10u);
    int within2 = 0;
    int within5 = 0;
    int within15 = 0;
    for (const Row& r : rows) {
        const double off = std::abs(r.shown / r.recorded - 1.0);
        within2 += off < 0.02;
        within5 += off < 0.05;
        within15 += off < 0.15;
    }
    std::printf(
        "[ demo     ] %zu pair hits with ratios: %d within 2 %%, %d within 5 %%, %d within "
        "15 %% of the recorded ratio\n",
        rows.size(), within2, within5, within15);
    EXPECT_GE(within15, static_cast<int>(rows.size()) * 17 / 20);
    EXPECT_GE(within2, static_cast<int>(rows.size()) / 2);
    frame_->grab().save(QStringLiteral("/tmp/i27_xpress_summary.png"));

    // The XPRESS page of the strongest pair hit among those the pass measured within 2 %.
    const Row* best = nullptr;
    for (const Row& r : rows) {
        if (std::abs(r.shown / r.recorded - 1.0) >= 0.02) continue;
        if (!best || r.area > best->area) best = &r;
    }
    ASSERT_NE(best, nullptr);
    CIcatView* page = openXpressPage(best->row);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    CResultsWindow* window = GetResultsWindow();
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("XPRESS - demo.")));
    double shown = 0.0;
    ASSERT_TRUE(
        std::sscanf(page->RatioText(CIcatView::kLight).toLatin1().constData(), "%lf", &shown) == 1)
        << page->RatioText(CIcatView::kLight).toStdString();
    EXPECT_NEAR(shown / best->recorded, 1.0, 0.02) << best->peptide.toStdString();
    EXPECT_FALSE(page->Trace(CIcatView::kLight).points.empty());
    EXPECT_FALSE(page->Trace(CIcatView::kHeavy).points.empty());
    window->resize(1100, 560);
    QTest::qWait(50);
    window->grab().save(QStringLiteral("/tmp/i27_xpress_page.png"));

    // The results window's Print prints the page, through the print dialog into a PDF file.
    QAction* print = window->Action(ID_FILE_PRINT);
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled());
    ProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    ProgramPrinter().setOutputFileName(dir_->path() + QStringLiteral("/"));
    {
        zartest::ModalDialogAnswer accept("QPrintDialog");
        print->trigger();
        EXPECT_TRUE(accept.seen());
    }
    QFile pdf(dir_->filePath(QStringLiteral("demo - XPRESS.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << pdf.fileName().toStdString();
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

    // Calculate ratio from an edited heavy start time; Update table puts the ratio in the cell.
    const int row = best->row;
    const QString before = summary_->Grid()->GetValueRowCol(row, summary_->Grid()->GetColCount());
    const double start = page->StartTime(CIcatView::kHeavy);
    const double end = page->EndTime(CIcatView::kHeavy);
    page->StartEdit(CIcatView::kHeavy)
        ->setText(QString::number(start + (end - start) * 0.4, 'f', 2));
    page->StartEdit(CIcatView::kHeavy)->setModified(true);
    page->CalculateButton()->click();
    ASSERT_TRUE(page->WaitUntilIdle(zartest::kWorkWaitMs));
    ASSERT_FALSE(page->TableRatioText().isEmpty());
    page->UpdateButton()->click();
    QCoreApplication::processEvents();
    const QString after = summary_->Grid()->GetValueRowCol(row, summary_->Grid()->GetColCount());
    EXPECT_EQ(after, page->TableRatioText());
    std::printf("[ demo     ] %s: recorded %.2f : 1, cell %s, after an edited heavy start %s\n",
                qPrintable(best->peptide), best->recorded, qPrintable(before), qPrintable(after));
    window->grab().save(QStringLiteral("/tmp/i27_xpress_page_updated.png"));
    frame_->grab().save(QStringLiteral("/tmp/i27_xpress_summary_updated.png"));
    window->close();
}

TEST_F(XpressRoadTest, CalculateWithTheRangesUnchangedGivesTheStoredRatio) {
    SetXpressAutoCalculate(1);
    openResults();
    SetXpressAutoCalculate(0);
    const std::vector<Row> rows = pairRows();
    ASSERT_GE(rows.size(), 10u);

    // Every pair hit of the demo, through the engine the pane's Calculate ratio uses.
    const CSorvexResults* set = doc_->GetSorvexResults();
    const XpressSettings settings = doc_->GetXpressSettings();
    CXpressQuant engine(settings.massDifference, settings.residue, settings.scanWindow);
    ASSERT_TRUE(engine.OpenRawFile(folder_ + QStringLiteral("/demo.mzML")));
    engine.SetMassTolerance(settings.tolerance);
    int same = 0;
    for (const Row& r : rows) {
        SearchHitRecord hit = *set->FindHit(summary_->GetRowHit(r.row));
        const double stored = hit.quantitationRatio;
        ASSERT_EQ(engine.QuantifyInRanges(hit), 1) << r.peptide.toStdString();
        EXPECT_DOUBLE_EQ(hit.quantitationRatio, stored) << r.peptide.toStdString();
        same += hit.quantitationRatio == stored;
    }
    std::printf("[ demo     ] %d of %zu pair hits: an unchanged Calculate gives the stored ratio\n",
                same, rows.size());

    // And on the pane: Calculate ratio with the times as shown, then the table's ratio.
    CIcatView* page = openXpressPage(rows.front().row);
    ASSERT_NE(page, nullptr);
    const QString cell =
        summary_->Grid()->GetValueRowCol(rows.front().row, summary_->Grid()->GetColCount());
    page->CalculateButton()->click();
    ASSERT_TRUE(page->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_EQ(page->TableRatioText(), cell) << rows.front().peptide.toStdString();
    GetResultsWindow()->close();
}

TEST_F(XpressRoadTest, ActionsXpressMeasuresResultsReadWithoutIt) {
    openResults();
    EXPECT_TRUE(pairRows().empty());  // read without XPRESS: an empty column
    frame_->UpdateCommandUI();
    ASSERT_TRUE(frame_->Action(ID_ACTION_XPRESS)->isEnabled());
    zartest::ModalDialogAnswer answer("zar::CXpressParamsDlg", true, [](QWidget* dialog) {
        dialog->grab().save(QStringLiteral("/tmp/i27_xpress_dialog.png"));
    });
    frame_->RunCommand(ID_ACTION_XPRESS);
    ASSERT_TRUE(answer.seen());
    CXpressRecalculation& pass = CXpressRecalculation::Of(*frame_);
    frame_->grab().save(QStringLiteral("/tmp/i27_xpress_status_bar.png"));
    ASSERT_TRUE(pass.WaitUntilIdle(zartest::kWorkWaitMs));
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    EXPECT_GE(pairRows().size(), 10u);
}
