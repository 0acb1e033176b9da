// The main window's printing and zoom commands are answered by the active pane: File > Print,
// Page Header and Footer and Display > Zoom are enabled exactly when that pane answers them,
// and every printable pane prints to a PDF file, also through the print dialog on a machine
// without printers.

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/ZarApp.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "grid/GridWnd.h"
#include "resultviews/ConsensusView.h"
#include "resultviews/SummaryView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/TraceView.h"

#include "ViewsTestSupport.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>

using namespace zar;

namespace {

bool IsPdfWithPages(const QString& path, int* pages = nullptr) {
    const int count = zartest::PdfPageCount(path);
    if (pages) *pages = count;
    return count > 0 && QFileInfo(path).size() > 1000;
}

class ViewPrintingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        RegisterSpectrumViews();
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(server_->ok());
        const QString run = dir_.filePath(QStringLiteral("Run7.mzML"));
        ASSERT_TRUE(viewstest::WriteSmallRun(run, 12));
        doc_ = std::make_unique<CZarDoc>();
        frame_ = std::make_unique<CMainFrame>(doc_.get());
        frame_->resize(1000, 800);
        ASSERT_TRUE(doc_->OnOpenDocument(run));
        ASSERT_EQ(frame_->CurrentViewType(), 1);
        auto* layout = frame_->CurrentView();
        trace_ = layout->findChild<CTraceView*>();
        spec_ = layout->findChild<CSpecView*>();
        ASSERT_TRUE(trace_ && spec_);
    }
    void TearDown() override {
        frame_.reset();
        doc_.reset();
    }
    bool enabled(int id) {
        frame_->UpdateCommandUI();
        return frame_->Action(id)->isEnabled();
    }
    QString pdf(const QString& name) { return dir_.filePath(name); }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    QTemporaryDir dir_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    CTraceView* trace_ = nullptr;
    CSpecView* spec_ = nullptr;
};

}  // namespace

TEST_F(ViewPrintingTest, PrintAndZoomFollowTheActivePane) {
    ASSERT_EQ(frame_->ActiveView(), trace_);
    EXPECT_TRUE(enabled(ID_FILE_PRINT));
    EXPECT_TRUE(enabled(ID_ZOOM_IN_X));
    EXPECT_FALSE(enabled(ID_ZOOM_OUT_X)) << "nothing zoomed yet";
    EXPECT_FALSE(enabled(ID_FILE_PAGE_HEADER_FOOTER)) << "a plot has no header and footer";
    frame_->RunCommand(ID_ZOOM_IN_X);
    EXPECT_EQ(doc_->GetCurrentResults()->userResults[0].chroDisplay.xZoomed, 1);
    EXPECT_TRUE(enabled(ID_ZOOM_OUT_X));
    EXPECT_TRUE(enabled(ID_DISPLAY_ALL));

    // A zoom box drawn in the trace reaches the tool bar at once.
    frame_->RunCommand(ID_RESET_SCALING);
    EXPECT_FALSE(frame_->Action(ID_ZOOM_OUT_X)->isEnabled());
    trace_->OnChroZoom(0, 0, true, 0.2, 0.0, 0.6, 0.0);
    EXPECT_TRUE(frame_->Action(ID_ZOOM_OUT_X)->isEnabled());

    // A click into the spectrum makes it the active pane: the commands are its now.
    frame_->ActivateViewOf(spec_->Control()->ControlWindow());
    EXPECT_EQ(frame_->ActiveView(), spec_);
    EXPECT_TRUE(enabled(ID_FILE_PRINT));
    EXPECT_FALSE(enabled(ID_ZOOM_OUT_X));
    frame_->RunCommand(ID_ZOOM_IN_X);
    EXPECT_EQ(spec_->GetSpecDisplay()->xZoomed, 1);
    EXPECT_TRUE(enabled(ID_RESET_SCALING));
    frame_->RunCommand(ID_RESET_SCALING);
    EXPECT_EQ(spec_->GetSpecDisplay()->xZoomed, 0);

    // The start-up picture answers none of them.
    ASSERT_TRUE(frame_->OnChooseView(0, true));
    for (int id : {int(ID_FILE_PRINT), int(ID_FILE_PAGE_HEADER_FOOTER), int(ID_ZOOM_IN_Y),
                   int(ID_RESET_SCALING)})
        EXPECT_FALSE(enabled(id)) << id;
}

TEST_F(ViewPrintingTest, FilePrintOnAMachineWithoutPrintersWritesAPdf) {
    // The folder Qt's dialog leaves when no printer exists.
    ProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    ProgramPrinter().setOutputFileName(dir_.path() + QStringLiteral("/"));
    {
        zartest::ModalDialogAnswer accept("QPrintDialog");
        frame_->RunCommand(ID_FILE_PRINT);
        EXPECT_TRUE(accept.seen());
    }
    int pages = 0;
    EXPECT_TRUE(IsPdfWithPages(pdf(QStringLiteral("Run7 - Chromatogram.pdf")), &pages));
    EXPECT_EQ(pages, 1);
    frame_->ActivateViewOf(spec_->Control()->ControlWindow());
    {
        zartest::ModalDialogAnswer accept("QPrintDialog");
        frame_->RunCommand(ID_FILE_PRINT);
        EXPECT_TRUE(accept.seen());
    }
    EXPECT_TRUE(IsPdfWithPages(pdf(QStringLiteral("Run7 - Spectrum.pdf"))));
}

TEST_F(ViewPrintingTest, EveryPrintablePaneOfTheLayoutsPrintsToAPdf) {
    CSummaryView summary;
    summary.OnInitialUpdate();
    CConsensusView consensus;
    consensus.OnInitialUpdate();
    const std::pair<CZarViewWidget*, QString> panes[] = {
        {trace_, QStringLiteral("trace.pdf")},
        {spec_, QStringLiteral("spectrum.pdf")},
        {&summary, QStringLiteral("summary.pdf")},
        {&consensus, QStringLiteral("consensus.pdf")},
    };
    for (const auto& [pane, file] : panes) {
        EXPECT_TRUE(pane->HasViewCommand(ID_FILE_PRINT)) << pane->ViewClassName();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf(file));
        EXPECT_TRUE(pane->PrintTo(printer)) << pane->ViewClassName();
        EXPECT_TRUE(IsPdfWithPages(pdf(file))) << pane->ViewClassName();
    }
    // The tables set up their pages and their header and footer.
    EXPECT_TRUE(summary.HasViewCommand(ID_FILE_PAGE_SETUP));
    EXPECT_TRUE(summary.HasViewCommand(ID_FILE_PAGE_HEADER_FOOTER));
    {
        zartest::ModalDialogAnswer accept("QPageSetupDialog");
        summary.OnViewCommand(ID_FILE_PAGE_SETUP);
        EXPECT_TRUE(accept.seen());
    }
    EXPECT_TRUE(summary.PrintableGrid()->PrintProperties().pageLayout.has_value());
    EXPECT_EQ(spec_->PrintName(), QStringLiteral("Run7 - Spectrum"));
}
