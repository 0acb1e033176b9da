// The search-information view on the fixture folder of seven results with ".dta" files written
// by the test: the seven settings of a hit's ".out", its spectrum in the Spec control, zoom and
// the scroll bar over the m/z axis, requests while a file loads, a spectrum of one peak, printing.

#include "FormViewsTestSupport.h"
#include "WidgetWatch.h"

#include "app/plotwrappers/PlotWrappers.h"
#include "resultviews/views/SearchInfoView.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QApplication>
#include <QPrinter>
#include <QScrollBar>

#include <functional>

using namespace zar;
using fvtest::HitResult;

namespace {

constexpr int kWait = zartest::kWorkWaitMs;

class SearchInfoViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(p.serverRegistered);
        folder = p.CopySeven();
        ASSERT_FALSE(folder.isEmpty());
        // Peaks from 300 to 1300 m/z for the first hit, three for the second.
        WriteDta("run.0100.0100.1",
                 "1045.56 1\n300.0 100.0\n500.0 400.0\n800.5 900.0\n1300.0 50.0\n");
        WriteDta("run.0101.0101.2", "900.40 2\n200.0 10.0\n400.0 20.0\n600.0 5.0\n");
        WriteDta("run.0105.0105.1", "800.30 1\n450.25 77.0\n");
        ASSERT_TRUE(p.LoadFolder(folder));
        first = p.HitWithPeptide("K.PEPTIDEK.R");
        second = p.HitWithPeptide("R.GGGGK.A");
        single = p.HitWithPeptide("K.NNNNK.R");
        ASSERT_GE(first, 0);
        ASSERT_GE(second, 0);
        ASSERT_GE(single, 0);
    }
    void WriteDta(const QString& base, const QByteArray& text) {
        QFile f(folder + "/" + base + ".dta");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    CSearchInfoView* Show(int position) {
        p.Show(HitResult(p.Set(), position, 7));
        auto* view = p.ViewOf<CSearchInfoView>(7);
        EXPECT_NE(view, nullptr);
        if (view) {
            EXPECT_TRUE(view->WaitUntilIdle(kWait));
        }
        return view;
    }

    fvtest::Program p;
    QString folder;
    int first = -1;
    int second = -1;
    int single = -1;
};

}  // namespace

TEST_F(SearchInfoViewTest, ShowsTheSettingsAndTheSpectrumOfTheHit) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->StaticText(8939), "Database:  test.fasta");
    EXPECT_EQ(view->StaticText(8943), "Precursor mass:  1045.560 +/- 1.50");
    EXPECT_EQ(view->StaticText(8944), "Charge:  1");
    EXPECT_EQ(view->StaticText(8945), "Fragment tolerance:  0.50");
    EXPECT_EQ(view->StaticText(8941), "Mass type:  Monoisotopic");
    EXPECT_TRUE(view->StaticText(8942).startsWith("Search information: "))
        << view->StaticText(8942).toStdString();
    EXPECT_TRUE(view->StaticText(8940).startsWith("Enzyme:"));
    EXPECT_EQ(view->FirstScan(), 100);
    EXPECT_DOUBLE_EQ(view->FullLow(), 300.0);
    EXPECT_DOUBLE_EQ(view->FullHigh(), 1300.0);
    ASSERT_EQ(view->Spectrum().peaks.size(), 4u);
    EXPECT_DOUBLE_EQ(view->Spectrum().header.data.dBasePeakIntensity, 900.0);
    EXPECT_DOUBLE_EQ(view->Spectrum().header.data.dBasePeakMass, 800.5);
    EXPECT_DOUBLE_EQ(view->Spectrum().header.data.dMinPeakIntensity, 50.0);
    EXPECT_DOUBLE_EQ(view->Spectrum().header.data.dTIC, 1450.0);
    EXPECT_TRUE(view->HasData());
    EXPECT_EQ(view->Scroll().page, 100);
    EXPECT_FALSE(view->ScrollBar()->isEnabled());
    EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();

    // A second hit replaces all of it.
    view = Show(second);
    EXPECT_EQ(view->StaticText(8944), "Charge:  2");
    EXPECT_DOUBLE_EQ(view->FullLow(), 200.0);
    EXPECT_DOUBLE_EQ(view->FullHigh(), 600.0);
    EXPECT_EQ(view->FirstScan(), 101);
}

// What the control's own window shows follows each load, zoom and scroll: the control's setters
// do not repaint it, so each of them must have it painted again (the clicked hit's spectrum, not
// the previous one or the empty text).
TEST_F(SearchInfoViewTest, ThePlotIsRedrawnAfterEachLoadZoomAndScroll) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->Control() && view->Control()->ControlWindow());
    QWidget* plot = view->Control()->ControlWindow();
    ASSERT_TRUE(plot->isVisible());
    QApplication::processEvents();
    zartest::PaintCounter paints(plot);
    const auto paintedAfter = [&](const char* step, const std::function<void()>& action) {
        paints.reset();
        action();
        QApplication::processEvents();
        EXPECT_GT(paints.painted(), 0) << step;
    };
    paintedAfter("another hit loaded", [&] { Show(second); });
    EXPECT_DOUBLE_EQ(view->FullLow(), 200.0);
    EXPECT_TRUE(view->HasData());
    paintedAfter("Zoom In X", [&] { view->OnCommand(ID_PLOT_ZOOM_IN_X); });
    EXPECT_TRUE(view->DisplayState().xZoomed);
    paintedAfter("a scroll step", [&] { view->OnHScroll(ScrollStep::LineForward, 0); });
    paintedAfter("Zoom In Y", [&] { view->OnCommand(ID_PLOT_ZOOM_IN_Y); });
    paintedAfter("Reset Scaling", [&] { view->OnCommand(ID_PLOT_RESET_SCALING); });
    paintedAfter("a zoom box", [&] { view->OnSpecZoom(true, 300.0, 0.0, 500.0, 0.0); });
    paintedAfter("a spectrum of one peak", [&] { Show(single); });
}

// One right click on the plot, one context menu.
TEST_F(SearchInfoViewTest, ARightClickOnThePlotOpensOneMenu) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->Control() && view->Control()->ControlWindow());
    QApplication::processEvents();
    EXPECT_EQ(zartest::MenusShownByRightClick(view->Control()->ControlWindow()), 1);
}

// The loading flag is set when the request is made, on this thread; requests that come while a
// file loads wait, and the newest of them is what the view ends up showing.
TEST_F(SearchInfoViewTest, RequestsWhileLoadingRunTheNewestAfterwards) {
    p.Show(HitResult(p.Set(), first, 7));
    auto* view = p.ViewOf<CSearchInfoView>(7);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsLoading()) << "set before the loader runs";
    p.Show(HitResult(p.Set(), single, 7));
    p.Show(HitResult(p.Set(), second, 7));
    EXPECT_TRUE(view->HasPendingRequest());
    ASSERT_TRUE(view->WaitUntilIdle(kWait));
    EXPECT_FALSE(view->IsLoading());
    EXPECT_EQ(view->StaticText(8944), "Charge:  2");
    EXPECT_DOUBLE_EQ(view->FullLow(), 200.0);
}

TEST_F(SearchInfoViewTest, ScrollBarFollowsTheZoomedRange) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    view->OnSpecZoom(true, 600.0, 0.0, 500.0, 0.0);
    EXPECT_EQ(view->Scroll().position, 20);
    EXPECT_EQ(view->Scroll().page, 11);
    EXPECT_TRUE(view->ScrollBar()->isEnabled());
    EXPECT_EQ(view->ScrollBar()->value(), 20);
    view->OnHScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(view->Scroll().position, 30);
    EXPECT_DOUBLE_EQ(view->DisplayState().xStart, 600.0);
    EXPECT_DOUBLE_EQ(view->DisplayState().xEnd, 710.0);
    view->OnHScroll(ScrollStep::LineBack, 0);
    EXPECT_EQ(view->Scroll().position, 20);
    view->OnHScroll(ScrollStep::PageForward, 0);
    EXPECT_EQ(view->Scroll().position, 31);
    view->OnHScroll(ScrollStep::ThumbTrack, 50);
    EXPECT_DOUBLE_EQ(view->DisplayState().xStart, 800.0) << "the plot follows the thumb";
    EXPECT_EQ(view->Scroll().position, 31) << "the thumb moves only on its release";
    view->OnHScroll(ScrollStep::ThumbPosition, 50);
    EXPECT_EQ(view->Scroll().position, 50);

    // Line steps go to multiples of 10, never past the last page.
    EXPECT_EQ(CSearchInfoView::LineRight(25, 11), 30);
    EXPECT_EQ(CSearchInfoView::LineRight(85, 11), 89);
    EXPECT_EQ(CSearchInfoView::LineLeft(25), 10);
    EXPECT_EQ(CSearchInfoView::LineLeft(5), 0);
    const CSearchInfoView::ScrollBox box =
        CSearchInfoView::ScrollBoxFor(300.0, 1300.0, 500.0, 600.0);
    EXPECT_EQ(box.page, 11);
    EXPECT_EQ(box.position, 20);
}

TEST_F(SearchInfoViewTest, ZoomCommandsAndTheirEnabling) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    struct Enabled {
        int id;
        bool before;
    } enabled[] = {{ID_PLOT_ZOOM_IN_Y, true},      {ID_PLOT_ZOOM_OUT_Y, false},
                   {ID_PLOT_NORMALIZE, false},     {ID_PLOT_ZOOM_IN_X, true},
                   {ID_PLOT_ZOOM_OUT_X, false},    {ID_PLOT_DISPLAY_ALL, false},
                   {ID_PLOT_RESET_SCALING, false}, {57607, true}};
    for (const Enabled& e : enabled) EXPECT_EQ(view->IsCommandEnabled(e.id), e.before) << e.id;

    view->OnCommand(ID_PLOT_ZOOM_IN_X);
    EXPECT_TRUE(view->DisplayState().xZoomed);
    EXPECT_LT(view->Scroll().page, 100);
    EXPECT_TRUE(view->IsCommandEnabled(ID_PLOT_ZOOM_OUT_X));
    EXPECT_TRUE(view->IsCommandEnabled(ID_PLOT_RESET_SCALING));
    // Zooming out past the full range shows exactly the full range.
    for (int i = 0; i < 5; ++i) view->OnCommand(ID_PLOT_ZOOM_OUT_X);
    EXPECT_GE(view->DisplayState().xStart, 300.0);
    EXPECT_LE(view->DisplayState().xEnd, 1300.0);
    if (view->DisplayState().xZoomed) {
        EXPECT_DOUBLE_EQ(view->DisplayState().xStart, 300.0);
        EXPECT_DOUBLE_EQ(view->DisplayState().xEnd, 1300.0);
    }
    view->OnCommand(ID_PLOT_ZOOM_IN_Y);
    EXPECT_TRUE(view->DisplayState().yZoomed);
    EXPECT_TRUE(view->IsCommandEnabled(ID_PLOT_NORMALIZE));
    view->OnCommand(ID_PLOT_NORMALIZE);
    EXPECT_FALSE(view->DisplayState().yZoomed);
    view->OnCommand(ID_PLOT_ZOOM_IN_X);
    view->OnCommand(ID_PLOT_RESET_SCALING);
    EXPECT_FALSE(view->DisplayState().xZoomed);
    EXPECT_EQ(view->Scroll().page, 100);
}

// A spectrum of one peak has an m/z range of no width: nothing divides by it.
TEST_F(SearchInfoViewTest, ASpectrumOfOnePeak) {
    CSearchInfoView* view = Show(single);
    ASSERT_NE(view, nullptr);
    EXPECT_DOUBLE_EQ(view->FullLow(), 450.25);
    EXPECT_DOUBLE_EQ(view->FullHigh(), 450.25);
    EXPECT_EQ(view->Scroll().page, 100);
    EXPECT_EQ(view->Scroll().position, 0);
    EXPECT_FALSE(view->ScrollBar()->isEnabled());
    view->OnHScroll(ScrollStep::LineForward, 0);
    view->ShowXPercent(30, 10);
    view->OnCommand(ID_PLOT_ZOOM_IN_X);
    view->OnSpecZoom(true, 450.0, 10.0, 450.5, 70.0);
    EXPECT_EQ(view->Scroll().page, 100);
    const CSearchInfoView::ScrollBox box =
        CSearchInfoView::ScrollBoxFor(450.25, 450.25, 450.25, 450.25);
    EXPECT_EQ(box.page, 100);
    EXPECT_EQ(box.position, 0);
}

TEST_F(SearchInfoViewTest, AMissingSpectrumStillShowsTheSettings) {
    QFile::remove(folder + "/run.0100.0100.1.dta");
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(p.boxes.texts(), QStringList{"Unable to open the dta file"});
    EXPECT_EQ(view->StaticText(8944), "Charge:  1");
    EXPECT_FALSE(view->HasData());
}

TEST_F(SearchInfoViewTest, PrintsTheSettingsAndTheSpectrum) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(p.dir.filePath("search.pdf"));
    EXPECT_TRUE(view->PrintReport(printer));
    EXPECT_GT(QFileInfo(p.dir.filePath("search.pdf")).size(), 1000);
}

TEST_F(SearchInfoViewTest, TheWindowsZoomCommandsReachTheShownView) {
    CSearchInfoView* view = Show(first);
    ASSERT_NE(view, nullptr);
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window->Action(ID_PLOT_ZOOM_IN_X), nullptr);
    EXPECT_TRUE(window->Action(ID_PLOT_ZOOM_IN_X)->isEnabled());
    EXPECT_FALSE(window->Action(ID_PLOT_ZOOM_OUT_X)->isEnabled()) << "nothing zoomed yet";
    EXPECT_TRUE(window->Action(57607)->isEnabled());
    window->Action(ID_PLOT_ZOOM_IN_X)->trigger();
    EXPECT_TRUE(view->DisplayState().xZoomed);
    EXPECT_TRUE(window->Action(ID_PLOT_ZOOM_OUT_X)->isEnabled());
    EXPECT_TRUE(window->Action(ID_PLOT_RESET_SCALING)->isEnabled());
    view->OnSpecZoom(true, 500.0, 100.0, 600.0, 400.0);  // a box drawn with the mouse
    EXPECT_TRUE(window->Action(ID_PLOT_NORMALIZE)->isEnabled());
    window->Action(ID_PLOT_RESET_SCALING)->trigger();
    EXPECT_FALSE(view->DisplayState().xZoomed);
    EXPECT_FALSE(view->DisplayState().yZoomed);
    EXPECT_FALSE(window->Action(ID_PLOT_ZOOM_OUT_X)->isEnabled());

    // The BLAST view has no zoom, but prints.
    window->OnViewCommand(9316);
    EXPECT_FALSE(window->Action(ID_PLOT_ZOOM_IN_X)->isEnabled());
    EXPECT_TRUE(window->Action(57607)->isEnabled());
}
