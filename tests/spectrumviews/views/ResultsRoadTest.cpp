// The road a user takes from the summary table to a hit's ions: results loaded in the main
// window, the table sorted, the Ions cell of a hit clicked; the results window opens on the hit's
// spectrum and shows it on the screen.

#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Numbers.h"
#include "document/SorvexResults.h"
#include "resultviews/RegisterResultViews.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/SummaryView.h"
#include "spectrumviews/views/DisplayIonsView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include "ViewsTestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTest>

using namespace zar;

namespace {

bool CopyFixtureFolder(const QString& to) {
    const QString from = zartest::DataPath(QStringLiteral("resultviews/seven"));
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    return true;
}

// The spectrum of the fixture's hit R.GGGGK.A, with its b and y ions present.
bool WriteDta(const QString& path) {
    constexpr double kG = 57.02146, kK = 128.09496, kWater = 18.01056, kProton = 1.00728;
    QFile dta(path);
    if (!dta.open(QIODevice::WriteOnly)) return false;
    QString text = QCFormat("%.4f 2\n", 4 * kG + kK + kWater + kProton);
    for (double mz : {2 * kG + kProton, 3 * kG + kProton, kK + kWater + kProton,
                      kK + kG + kWater + kProton, 300.0})
        text += QCFormat("%.4f 1000.0\n", mz);
    return dta.write(text.toLatin1()) > 0;
}

TEST(ResultsRoadTest, IonsCellOfASortedTableShowsTheHitsSpectrum) {
    viewstest::RegisteredPlotServer server;
    ASSERT_TRUE(server.ok());
    zartest::MessageBoxCapture boxes;
    RegisterSpectrumViews();
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/results");
    ASSERT_TRUE(CopyFixtureFolder(folder));
    ASSERT_TRUE(WriteDta(folder + QStringLiteral("/run.0101.0101.2.dta")));
    ASSERT_TRUE(viewstest::WriteSmallRun(dir.path() + QStringLiteral("/run.mzML"), 120));
    auto doc = std::make_unique<CZarDoc>();
    auto frame = std::make_unique<CMainFrame>(doc.get());
    RegisterResultViews(*frame);
    frame->resize(1000, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_TRUE(doc->OnOpenDocument(dir.path() + QStringLiteral("/run.mzML")));
    ASSERT_TRUE(OpenSorvexResults(*frame, folder));
    QDeadlineTimer deadline(zartest::kWorkWaitMs);
    while (frame->IsLoadingResults() && !deadline.hasExpired()) QTest::qWait(20);
    auto* layout = dynamic_cast<CSplitterLayoutView*>(frame->CurrentView());
    ASSERT_NE(layout, nullptr);
    auto* summary = dynamic_cast<CSummaryView*>(layout->FindPane(QStringLiteral("CSummaryView")));
    ASSERT_NE(summary, nullptr);
    summary->SortByColumn(7);  // by XCorr

    // The row of the hit, wherever the sort put it.
    CSummaryGrid& grid = *summary->Grid();
    int row = 0;
    for (int r = 1; r <= summary->RowMapLength(); ++r)
        if (grid.GetValueRowCol(r, 4) == QStringLiteral("R.GGGGK.A")) row = r;
    ASSERT_GT(row, 0);
    const QModelIndex ions = grid.GetModel()->index(row - 1, 10);
    grid.scrollTo(ions);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(ions).center());

    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    auto* page = dynamic_cast<CDisplayIonsView*>(window->ViewOfType(5));
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->WaitUntilIdle(zartest::kWorkWaitMs));
    QTest::qWait(50);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DisplayIons - GGGGK"));
    EXPECT_EQ(page->DtaFileText(), QStringLiteral("Dta File:  run.0101.0101.2.dta"));
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));

    // What the screen shows: the marked ions in green, not the empty control.
    QWidget* plot = page->Control()->ControlWindow();
    ASSERT_NE(plot, nullptr);
    const int green = viewstest::ScreenPixelsOver(
        *window, *plot, QColor(0, 255, 0), QStringLiteral("/tmp/specviews_road_ions_screen.png"));
    EXPECT_GT(green, 20);
    frame.reset();
    doc.reset();
}

}  // namespace
