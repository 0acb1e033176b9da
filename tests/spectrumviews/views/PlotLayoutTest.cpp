// The plot layout on a generated run: the trace pane on top, the spectrum pane below. A click on
// a trace picks the scan the spectrum pane shows; the arrow commands step through the trace's
// scans; a zoom in a trace is broadcast to the document as a time range.

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/RangeTakers.h"
#include "app/SplitterViews.h"
#include "app/ViewFactory.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "app/plotwrappers/SpecToolBar.h"
#include "databases/PepmapEngine.h"
#include "document/UpdateHints.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/TraceView.h"
#include "spectrumviews/views/ViewCommands.h"

#include "ViewsTestSupport.h"
#include "WidgetWatch.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <functional>
#include <map>

using namespace zar;

namespace {

constexpr int kScans = 20;

class PlotLayoutTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        dir_ = std::make_unique<QTemporaryDir>();
        runPath_ = dir_->path() + QStringLiteral("/small.mzML");
        runWritten_ = viewstest::WriteSmallRun(runPath_, kScans);
        RegisterSpectrumViews();
    }
    static void TearDownTestSuite() {
        server_.reset();
        dir_.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(server_->ok());
        ASSERT_TRUE(runWritten_);
        doc_ = std::make_unique<CZarDoc>();
        ASSERT_TRUE(doc_->OnOpenDocument(runPath_));
        layout_ = std::make_unique<CSplitterLayoutView>(*LayoutForViewType(1));
        layout_->resize(900, 700);
        layout_->show();
        layout_->OnInitialUpdate();
        doc_->UpdateAllViews(nullptr, kHintPlotLayout);
        trace_ = dynamic_cast<CTraceView*>(layout_->FindPane(QStringLiteral("CTraceView")));
        spec_ = dynamic_cast<CSpecView*>(layout_->FindPane(QStringLiteral("CSpecView")));
        ASSERT_TRUE(trace_);
        ASSERT_TRUE(spec_);
    }
    void TearDown() override {
        layout_.reset();
        doc_.reset();
    }

    CVXResults& results() { return *doc_->GetCurrentResults(); }
    double timeOfScan(int scan) { return doc_->ScanToRetentionTime(scan); }
    int shownScan() const { return spec_->Spectrum().header.data.nScanNumber; }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString runPath_;
    static inline bool runWritten_ = false;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CSplitterLayoutView> layout_;
    CTraceView* trace_ = nullptr;
    CSpecView* spec_ = nullptr;
};

}  // namespace

TEST_F(PlotLayoutTest, OpeningTheRunShowsItsTracesAndTheFirstScan) {
    EXPECT_TRUE(layout_->MissingPanes().isEmpty());
    EXPECT_EQ(results().tracesDefined, 2);
    EXPECT_EQ(results().userResults[0].Name(), QStringLiteral("TIC"));
    EXPECT_EQ(results().userResults[1].Name(), QStringLiteral("Base Peak"));
    EXPECT_EQ(static_cast<int>(results().userResults[0].chro.points.size()), kScans);
    ASSERT_TRUE(trace_->SlotControl(0) && trace_->SlotControl(0)->Interface());
    ASSERT_TRUE(trace_->SlotControl(1) && trace_->SlotControl(1)->Interface());
    EXPECT_FALSE(trace_->SlotControl(2));
    EXPECT_EQ(trace_->CountText(), QStringLiteral("Number of traces: 2"));
    EXPECT_FALSE(trace_->ScrollBar()->isEnabled());  // T = P
    ASSERT_TRUE(spec_->Control() && spec_->Control()->Interface());
    EXPECT_EQ(shownScan(), 1);
    ASSERT_EQ(spec_->Spectrum().peaks.size(), 3u);
    EXPECT_DOUBLE_EQ(spec_->Spectrum().header.data.dBasePeakMass, 401.0);
    viewstest::Grab(*layout_, QStringLiteral("/tmp/specviews_plot_layout.png"));
}

TEST_F(PlotLayoutTest, ClickOnATraceMakesTheSpectrumPaneLoadThatScan) {
    trace_->OnChroLButtonDown(1, 1);  // the base-peak trace becomes current
    EXPECT_EQ(results().currentTraceNumber, 1);
    trace_->OnChroLButtonUp(1, 1, true, timeOfScan(7) + 0.01, 0.0);
    EXPECT_EQ(shownScan(), 7);
    EXPECT_DOUBLE_EQ(spec_->Spectrum().header.data.dBasePeakMass, 407.0);
    EXPECT_DOUBLE_EQ(results().userResults[1].currentScanPosition, timeOfScan(7));
    // A click outside the data names no time: nothing changes.
    trace_->OnChroLButtonUp(1, 1, false, timeOfScan(12), 0.0);
    EXPECT_EQ(shownScan(), 7);
    // An MS/MS scan shows its own peaks.
    trace_->OnChroLButtonUp(1, 1, true, timeOfScan(8), 0.0);
    EXPECT_EQ(shownScan(), 8);
    EXPECT_DOUBLE_EQ(spec_->Spectrum().peaks.front().dPosition, 158.0);
    viewstest::Grab(*layout_, QStringLiteral("/tmp/specviews_plot_layout_scan8.png"));
}

TEST_F(PlotLayoutTest, MouseClickOnTheTraceControlPicksTheScanUnderIt) {
    CChro* chro = trace_->SlotControl(0);
    ASSERT_TRUE(chro && chro->ControlWindow());
    QWidget* window = chro->ControlWindow();
    layout_->grab();  // a control maps points through what it last drew
    // Right of the middle of the plot: a scan in the second half of the run.
    QTest::mouseClick(window, Qt::LeftButton, {},
                      QPoint(window->width() * 3 / 4, window->height() / 2));
    const double picked = results().userResults[0].currentScanPosition;
    ASSERT_GT(picked, timeOfScan(kScans / 2));
    EXPECT_EQ(shownScan(), doc_->RetentionTimeToScan(picked));
    EXPECT_DOUBLE_EQ(spec_->Spectrum().header.data.dRT, picked);
    // The arrow keys of the spectrum control step through the scans.
    const int before = shownScan();
    QTest::keyClick(spec_->Control()->ControlWindow(), Qt::Key_Right);
    EXPECT_EQ(shownScan(), before + 1);
    QTest::keyClick(spec_->Control()->ControlWindow(), Qt::Key_Left);
    EXPECT_EQ(shownScan(), before);
}

TEST_F(PlotLayoutTest, SteppingStopsAtBothEnds) {
    trace_->OnChroLButtonUp(0, 0, true, timeOfScan(5), 0.0);
    ASSERT_EQ(shownScan(), 5);
    spec_->OnCommand(ID_PLOT_NEXT_SCAN);
    EXPECT_EQ(shownScan(), 6);
    spec_->OnCommand(ID_PLOT_PREVIOUS_SCAN);
    spec_->OnCommand(ID_PLOT_PREVIOUS_SCAN);
    EXPECT_EQ(shownScan(), 4);

    EXPECT_TRUE(spec_->IsCommandEnabled(ID_PLOT_PREVIOUS_SCAN));
    EXPECT_TRUE(spec_->IsCommandEnabled(ID_PLOT_NEXT_SCAN));

    // A command is offered only where it moves.
    trace_->OnChroLButtonUp(0, 0, true, timeOfScan(kScans), 0.0);
    EXPECT_FALSE(spec_->IsCommandEnabled(ID_PLOT_NEXT_SCAN));
    spec_->ShowNextScan();
    EXPECT_EQ(shownScan(), kScans);  // the last point: nothing happens
    trace_->OnChroLButtonUp(0, 0, true, timeOfScan(1), 0.0);
    EXPECT_FALSE(spec_->IsCommandEnabled(ID_PLOT_PREVIOUS_SCAN));
    spec_->ShowPreviousScan();
    EXPECT_EQ(shownScan(), 1);  // the first point: nothing happens

    // No scan picked: Next selects the first point; Previous has nowhere to go.
    results().userResults[0].currentScanPosition = -1.0;
    results().userResults[0].specDisplay = CVXSpecDisplay();
    EXPECT_FALSE(spec_->IsCommandEnabled(ID_PLOT_PREVIOUS_SCAN));
    EXPECT_TRUE(spec_->IsCommandEnabled(ID_PLOT_NEXT_SCAN));
    spec_->ShowNextScan();
    EXPECT_DOUBLE_EQ(results().userResults[0].currentScanPosition, timeOfScan(1));
}

TEST_F(PlotLayoutTest, ZoomInATraceIsBroadcastAsATimeRange) {
    std::vector<std::pair<double, double>> taken;
    QObject window;
    RegisterTimeRangeTaker(&window, [&](double a, double b) { taken.emplace_back(a, b); });
    const double a = timeOfScan(3);
    const double b = timeOfScan(9);
    trace_->OnChroZoom(0, 0, true, b, 10.0, a, 500.0);
    double low = 0, high = 0;
    doc_->GetSelectedRange(low, high);
    EXPECT_DOUBLE_EQ(low, a);
    EXPECT_DOUBLE_EQ(high, b);
    const CVXChroDisplay& d = results().userResults[0].chroDisplay;
    EXPECT_EQ(d.xZoomed, 1);
    EXPECT_EQ(d.yZoomed, 1);
    EXPECT_DOUBLE_EQ(d.xStart, a);
    // Equal times: only Y zooms, and the (equal) times still go out.
    trace_->OnChroZoom(0, 0, true, 1.0, 10.0, 1.0, 20.0);
    doc_->GetSelectedRange(low, high);
    EXPECT_DOUBLE_EQ(low, 1.0);
    EXPECT_DOUBLE_EQ(high, 1.0);
    EXPECT_DOUBLE_EQ(results().userResults[0].chroDisplay.xStart, a);
    // An invalid box does nothing.
    trace_->OnChroZoom(0, 0, false, 0.1, 0, 0.2, 0);
    EXPECT_EQ(taken.size(), 2u);
    // Display All goes back to the data range and says so.
    trace_->OnCommand(ID_PLOT_DISPLAY_ALL);
    EXPECT_EQ(results().userResults[0].chroDisplay.xZoomed, 0);
    doc_->GetSelectedRange(low, high);
    EXPECT_DOUBLE_EQ(low, timeOfScan(1));
    EXPECT_DOUBLE_EQ(high, timeOfScan(kScans));
}

TEST_F(PlotLayoutTest, ARangeTakerGoesWithItsWindow) {
    int calls = 0;
    auto window = std::make_unique<QWidget>();
    RegisterTimeRangeTaker(window.get(), [&](double, double) { ++calls; });
    EXPECT_EQ(TimeRangeTakerCount(), 1);
    trace_->BroadcastRange(1.0, 2.0);
    EXPECT_EQ(calls, 1);
    window.reset();
    trace_->BroadcastRange(1.0, 2.0);  // no call into the window that is gone
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(TimeRangeTakerCount(), 0);
}

TEST_F(PlotLayoutTest, EachLayoutHandsTheRangeToItsTable) {
    std::vector<std::pair<double, double>> pepmap;
    doc_->GetPepmapEngine()->SetScanRangeListener(
        [&](double a, double b) { pepmap.emplace_back(a, b); });
    struct Case {
        int viewType;
        bool summary, massmap, pepmap;
    };
    for (const Case c : {Case{1, false, false, false}, Case{5, true, false, false},
                         Case{10, false, true, false}, Case{9, false, false, true}}) {
        doc_->SetViewType(c.viewType);
        doc_->SummaryOptions().retentionTimeMin = doc_->MassmapOptions().retentionTimeMin = 0.0;
        pepmap.clear();
        trace_->BroadcastRange(0.25, 0.5);
        EXPECT_EQ(doc_->SummaryOptions().retentionTimeMin == 0.25, c.summary) << c.viewType;
        EXPECT_EQ(doc_->MassmapOptions().retentionTimeMin == 0.25, c.massmap) << c.viewType;
        EXPECT_EQ(pepmap.size(), c.pepmap ? 1u : 0u) << c.viewType;
    }
    doc_->GetPepmapEngine()->SetScanRangeListener({});
    doc_->SetViewType(1);
}

namespace {

// Pixels of the red scan marker (255, the controls' marker colour).
int RedPixels(QWidget* w) {
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
        }
    return n;
}

// The x of the plot's Y axis line: the leftmost column inside the frame that is dark over most
// of the middle rows.
int AxisLineX(QWidget* w) {
    const QImage image = w->grab().toImage();
    for (int x = 4; x < image.width(); ++x) {
        int dark = 0;
        for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
            dark += qGray(image.pixel(x, y)) < 100;
        if (dark > image.height() / 4) return x;
    }
    return -1;
}

}  // namespace

TEST_F(PlotLayoutTest, NoScanMarkerBeforeAScanIsPicked) {
    for (CVXUserResult& u : results().userResults) {
        u.currentScanPosition = -1.0;
        // Time 0 is in view, where a marker of no time would stand.
        u.chroDisplay.xZoomed = 1;
        u.chroDisplay.xStart = -0.5;
        u.chroDisplay.xEnd = 1.0;
    }
    trace_->CreateTraceControls(true);
    trace_->LayoutControls();
    trace_->LoadAllTraces();
    QWidget* window = trace_->SlotControl(0)->ControlWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(RedPixels(window), 0);
    trace_->ReloadVisibleTraces();
    EXPECT_EQ(RedPixels(window), 0);
    trace_->OnChroLButtonUp(0, 0, true, timeOfScan(10), 0.0);
    EXPECT_GT(RedPixels(window), 10);
}

TEST_F(PlotLayoutTest, AxesWidthsComeFromTheDisplaySettings) {
    const auto axisAt = [&] {
        trace_->CreateTraceControls(true);
        trace_->LayoutControls();
        trace_->LoadAllTraces();
        return AxisLineX(trace_->SlotControl(0)->ControlWindow());
    };
    const int automatic = axisAt();
    CVXAxesPositions& positions = doc_->GetConfiguration().axesPositions;
    positions.leftMode = 1;
    positions.leftSpacing = 20.0;
    const int wide = axisAt();
    positions = CVXAxesPositions();
    EXPECT_GT(automatic, 0);
    EXPECT_GT(wide, automatic + 40) << automatic;
}

TEST_F(PlotLayoutTest, SpectrumZoomBoxAndDisplayAll) {
    CVXSpecDisplay* d = spec_->GetSpecDisplay();
    ASSERT_TRUE(d);
    spec_->OnSpecZoom(true, 380.0, 0.0, 420.0, 500.0);
    EXPECT_EQ(d->xZoomed, 1);
    EXPECT_EQ(d->yZoomed, 1);
    spec_->OnSpecZoom(false, 100.0, 0.0, 200.0, 1.0);  // outside the data: ignored
    EXPECT_DOUBLE_EQ(d->xStart, 380.0);
    spec_->OnCommand(ID_PLOT_RESET_SCALING);
    EXPECT_EQ(d->xZoomed, 0);
    EXPECT_EQ(d->yZoomed, 0);
    // A zoom outside every segment clears the X zoom.
    spec_->OnSpecZoom(true, 5000.0, 0.0, 6000.0, 0.0);
    doc_->UpdateAllViews(nullptr, kHintScanRange);  // the next load sends the spectrum again
    EXPECT_EQ(d->xZoomed, 0);
    EXPECT_EQ(d->selectedSegment, -1);
}

TEST_F(PlotLayoutTest, PeakPickIgnoresClicksOutsideTheData) {
    std::vector<double> picked;
    QObject::connect(spec_, &CSpecView::peakPicked, [&](double m, double) { picked.push_back(m); });
    spec_->OnSpecLButtonUp(true, 402.0, 0.0);
    spec_->OnSpecLButtonUp(false, 402.0, 0.0);
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_DOUBLE_EQ(picked[0], 401.0);
}

TEST_F(PlotLayoutTest, ExportPutsThePeakListOnTheClipboard) {
    trace_->OnChroLButtonUp(0, 0, true, timeOfScan(3), 0.0);
    ASSERT_TRUE(spec_->ExportSpectrumText(true, QStringLiteral("PX")));
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("SPECTRUM - PX"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Scan #: 3")));
    ASSERT_TRUE(trace_->ExportChromatogramText());
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("TIC")));
}

TEST_F(PlotLayoutTest, ScrollingMovesTheSlotsThroughTheTraces) {
    results().displaySlotCount = 1;
    results().tracesPerPage = 1;
    results().slotArray = {0};
    trace_->CreateTraceControls(false);
    trace_->LayoutControls();
    trace_->LoadAllTraces();
    EXPECT_TRUE(trace_->ScrollBar()->isEnabled());
    EXPECT_EQ(trace_->ScrollBar()->maximum(), 2);
    trace_->OnVScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(results().slotArray, std::vector<int>{1});
    trace_->OnVScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(results().slotArray, std::vector<int>{1});  // the last page
    trace_->OnVScroll(ScrollStep::PageBack, 0);
    EXPECT_EQ(results().slotArray, std::vector<int>{0});
    // The current trace scrolled out keeps its number.
    trace_->OnChroLButtonDown(0, 0);
    trace_->OnVScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(results().currentTraceNumber, 0);
    EXPECT_FALSE(trace_->IsTraceShown(0));
}

TEST_F(PlotLayoutTest, DelayedUvTraceStoresTheScanTimeBeforeTheDelay) {
    CVXUserResult uv;
    uv.Name(QStringLiteral("UV"));
    uv.chro.detectorType = kVXUVDevice;
    uv.chro.traceType = kVXChannelATrace;
    uv.chro.delay = 0.5;
    uv.chro.points = {{10.0, 1, 0.f, 0}, {10.5, 5, 0.f, 0}, {11.0, 2, 0.f, 0}};
    uv.chro.UpdateDataRanges();
    results().userResults.push_back(uv);
    results().tracesDefined = 3;
    results().slotArray = {0, 2};
    trace_->CreateTraceControls(false);
    trace_->LoadAllTraces();
    trace_->OnChroLButtonDown(1, 2);
    trace_->OnChroLButtonUp(1, 2, true, 10.6, 4.0);
    EXPECT_DOUBLE_EQ(results().userResults[2].currentScanPosition, 10.0);
    // A UV trace has no spectra: the spectrum pane says so.
    EXPECT_EQ(spec_->NoDataText(), QStringLiteral("No spectral data available"));
}

TEST_F(PlotLayoutTest, ContextMenusGreyWhatDoesNotApply) {
    std::unique_ptr<QMenu> menu = trace_->BuildContextMenu();
    ASSERT_TRUE(menu);
    std::map<int, bool> enabled;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu())
                walk(a->menu());
            else if (!a->isSeparator())
                enabled[a->data().toInt()] = a->isEnabled();
        }
    };
    walk(menu.get());
    EXPECT_FALSE(enabled[ID_PLOT_ZOOM_OUT_X]);
    EXPECT_FALSE(enabled[ID_PLOT_RESET_SCALING]);
    EXPECT_TRUE(enabled[ID_PLOT_ZOOM_IN_X]);
    EXPECT_FALSE(enabled[ID_PLOT_ZARMASS]);
}

TEST_F(PlotLayoutTest, SearchItemsAreEnabledOnlyWhenTheMainWindowAnswersThem) {
    CMainFrame frame(doc_.get());
    const auto items = [](QMenu* menu) {
        std::map<int, QAction*> found;
        ForEachCommandItem(menu, [&](QAction* a, int id) { found[id] = a; });
        return found;
    };
    const int ids[] = {ID_PLOT_SORVEX_DTA, ID_PLOT_SORVEX_SEARCH, ID_PLOT_ZARMASS};
    for (int id : ids) UnregisterFrameCommand(id);
    std::unique_ptr<QMenu> traceMenu = trace_->BuildContextMenu();
    std::unique_ptr<QMenu> specMenu = spec_->BuildContextMenu();
    for (int id : ids) {
        EXPECT_FALSE(items(traceMenu.get())[id]->isEnabled()) << id;
        EXPECT_FALSE(items(specMenu.get())[id]->isEnabled()) << id;
    }
    std::vector<int> ran;
    for (int id : ids) RegisterFrameCommand(id, [&ran, id](CMainFrame&) { ran.push_back(id); });
    traceMenu = trace_->BuildContextMenu();
    specMenu = spec_->BuildContextMenu();
    // The plot layout with a mass-spectrometer trace: the searches apply, deconvolution only in
    // its own layout (trace pane) or for a run's spectrum (spectrum pane).
    EXPECT_TRUE(items(traceMenu.get())[ID_PLOT_SORVEX_DTA]->isEnabled());
    EXPECT_TRUE(items(traceMenu.get())[ID_PLOT_SORVEX_SEARCH]->isEnabled());
    EXPECT_FALSE(items(traceMenu.get())[ID_PLOT_ZARMASS]->isEnabled());
    for (int id : ids) EXPECT_TRUE(items(specMenu.get())[id]->isEnabled()) << id;
    items(traceMenu.get())[ID_PLOT_SORVEX_DTA]->trigger();
    items(specMenu.get())[ID_PLOT_ZARMASS]->trigger();
    EXPECT_EQ(ran, (std::vector<int>{ID_PLOT_SORVEX_DTA, ID_PLOT_ZARMASS}));
    for (int id : ids) UnregisterFrameCommand(id);
}

// One right click on the spectrum, one context menu: the control's right-click event opens it,
// and the context-menu event that follows the same click opens no second one.
TEST_F(PlotLayoutTest, ARightClickOnTheSpectrumOpensOneMenu) {
    doc_->UpdateAllViews(nullptr, kHintScanRange);
    QApplication::processEvents();
    ASSERT_TRUE(spec_->Control() && spec_->Control()->ControlWindow());
    EXPECT_EQ(zartest::MenusShownByRightClick(spec_->Control()->ControlWindow()), 1);
    // A right click beside the plot (the pane's tool bar) still opens it, once.
    EXPECT_EQ(zartest::MenusShownByRightClick(spec_->ToolBar()), 1);
}

// One right click on a trace, one context menu, as on the spectrum.
TEST_F(PlotLayoutTest, ARightClickOnATraceOpensOneMenu) {
    QApplication::processEvents();
    for (int slot : {0, 1}) {
        CChro* c = trace_->SlotControl(slot);
        ASSERT_TRUE(c && c->ControlWindow()) << slot;
        EXPECT_EQ(zartest::MenusShownByRightClick(c->ControlWindow()), 1) << slot;
    }
}

// What a trace control's own window shows follows each hand-over: a scan picked, the traces
// loaded again, a zoom, an arrow key and a label each have it painted again.
TEST_F(PlotLayoutTest, ATraceIsRedrawnAfterEachHandOver) {
    QApplication::processEvents();
    CChro* c = trace_->SlotControl(0);
    ASSERT_TRUE(c && c->ControlWindow());
    ASSERT_EQ(results().currentTraceNumber, 0);
    zartest::PaintCounter paints(c->ControlWindow());
    const auto paintedAfter = [&](const char* step, const std::function<void()>& action) {
        paints.reset();
        action();
        QApplication::processEvents();
        EXPECT_GT(paints.painted(), 0) << step;
    };
    paintedAfter("a scan picked", [&] { trace_->OnChroLButtonUp(0, 0, true, timeOfScan(5), 0.0); });
    paintedAfter("the scan range told", [&] { doc_->UpdateAllViews(nullptr, kHintScanRange); });
    paintedAfter("the traces loaded again", [&] { trace_->LoadAllTraces(); });
    paintedAfter("Zoom In X", [&] { trace_->OnCommand(ID_PLOT_ZOOM_IN_X); });
    paintedAfter("an arrow key", [&] { trace_->OnChroArrowKey(0, 0, true); });
    paintedAfter("Zoom In Y", [&] { trace_->OnCommand(ID_PLOT_ZOOM_IN_Y); });
    paintedAfter("Reset Scaling", [&] { trace_->OnCommand(ID_PLOT_RESET_SCALING); });
    paintedAfter("a zoom box", [&] {
        trace_->OnChroZoom(0, 0, true, timeOfScan(4), 10.0, timeOfScan(12), 500.0);
    });
    paintedAfter("a label",
                 [&] { trace_->AddTextLabel(QStringLiteral("x"), timeOfScan(6), 1.0, nullptr); });
    paintedAfter("the labels cleared", [&] { trace_->ClearTextLabels(); });
}

TEST_F(PlotLayoutTest, PrintedPageCarriesThePlot) {
    QImage page(850, 1100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        spec_->PrintPage(painter, page.rect(), 100, 100, false);
    }
    page.save(QStringLiteral("/tmp/specviews_printed_spectrum.png"));
    QImage tracePage(1100, 850, QImage::Format_RGB32);
    tracePage.fill(Qt::white);
    {
        QPainter painter(&tracePage);
        trace_->PrintPage(painter, tracePage.rect(), 100, 100, true);
    }
    tracePage.save(QStringLiteral("/tmp/specviews_printed_trace.png"));
    int traceInk = 0;
    for (int y = 150; y < 700; y += 3)
        for (int x = 100; x < 1000; x += 3)
            if (tracePage.pixel(x, y) != qRgb(255, 255, 255)) ++traceInk;
    EXPECT_GT(traceInk, 50);
    // Something was drawn inside the plot rectangle, nothing in the left margin.
    int inked = 0;
    for (int y = 150; y < 500; y += 3)
        for (int x = 60; x < 800; x += 3)
            if (page.pixel(x, y) != qRgb(255, 255, 255)) ++inked;
    EXPECT_GT(inked, 50);
    for (int y = 0; y < 1100; y += 5) EXPECT_EQ(page.pixel(10, y), qRgb(255, 255, 255)) << y;
}

// Not a pass/fail check: the times users wait for, written to the test log.
TEST_F(PlotLayoutTest, MeasuresOpeningAndStepping) {
    const QString big = dir_->path() + QStringLiteral("/profile.mzML");
    constexpr int kPoints = 100000;
    QString error;
    ASSERT_TRUE(WriteRunFile(
        big, 30,
        [](int i) {
            RunSpectrum s;
            s.scanNumber = i + 1;
            s.retentionTime = 0.02 * (i + 1);
            s.centroid = false;
            for (int k = 0; k < kPoints; ++k) {
                s.mz.push_back(300.0 + k * 0.017);
                s.intensity.push_back(100.0 + (k * 7919 + i * 104729) % 5000);
            }
            return s;
        },
        error))
        << error.toStdString();
    layout_.reset();
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(doc_->OnOpenDocument(big));
    layout_ = std::make_unique<CSplitterLayoutView>(*LayoutForViewType(1));
    layout_->resize(900, 700);
    layout_->show();
    layout_->OnInitialUpdate();
    doc_->UpdateAllViews(nullptr, kHintPlotLayout);
    layout_->grab();
    const qint64 openMs = timer.elapsed();
    spec_ = dynamic_cast<CSpecView*>(layout_->FindPane(QStringLiteral("CSpecView")));
    ASSERT_TRUE(spec_);
    timer.restart();
    constexpr int kSteps = 20;
    for (int i = 0; i < kSteps; ++i) {
        spec_->ShowNextScan();
        spec_->Control()->ControlWindow()->grab();
    }
    const double stepMs = static_cast<double>(timer.elapsed()) / kSteps;
    EXPECT_EQ(spec_->Spectrum().peaks.size(), static_cast<std::size_t>(kPoints));
    RecordProperty("open_ms", static_cast<int>(openMs));
    RecordProperty("step_us", static_cast<int>(stepMs * 1000));
    std::printf(
        "[ measure  ] open run to first spectrum drawn: %lld ms; step per scan (10^5 points): %.1f "
        "ms\n",
        static_cast<long long>(openMs), stepMs);
}

// A command of a trace's menu may lay the traces out anew (their controls made again) while the
// right click that opened the menu is still being handled by the control it was made on.
TEST_F(PlotLayoutTest, AMenuCommandMayRemakeTheTraceControls) {
    CMainFrame frame(doc_.get());
    bool ran = false;
    RegisterFrameCommand(ID_PLOT_SORVEX_DTA, [this, &ran](CMainFrame&) {
        ran = true;
        doc_->UpdateAllViews(nullptr, kHintRefillResults);
    });
    QApplication::processEvents();
    QPointer<CChro> clicked = trace_->SlotControl(0);
    ASSERT_TRUE(clicked && clicked->ControlWindow());
    // The menu runs the command as soon as it shows.
    struct Chooser : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() != QEvent::Show) return false;
            auto* menu = qobject_cast<QMenu*>(watched);
            if (menu && menu->isWindow()) {
                ForEachCommandItem(menu, [&](QAction* a, int id) {
                    if (id == ID_PLOT_SORVEX_DTA) {
                        QMetaObject::invokeMethod(a, &QAction::trigger, Qt::QueuedConnection);
                        QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection);
                    }
                });
            }
            return false;
        }
    } chooser;
    qApp->installEventFilter(&chooser);
    ASSERT_TRUE(zartest::RightClickThroughWindow(clicked->ControlWindow()));
    QApplication::processEvents();
    QApplication::processEvents();
    qApp->removeEventFilter(&chooser);
    UnregisterFrameCommand(ID_PLOT_SORVEX_DTA);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(clicked) << "the clicked control was made anew";
    EXPECT_TRUE(trace_->SlotControl(0));
}
