// The Zarmass layout's spectrum panes and the plot layout's spectrum pane as the deconvolution
// uses them: no-data texts, ion labels, what a click picks, zoom ranges handed to the sheet,
// copy, export and printing.

#include "ZarmassViewsTestSupport.h"

#include "SplitterViews.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "controls/NumericEditCtrl.h"
#include "document/UpdateHints.h"
#include "interpretation/ZarmassTransform.h"
#include "interpretation/views/RegisterZarmassViews.h"
#include "interpretation/views/ZarmassCalcPage.h"
#include "interpretation/views/ZarmassDeconvView.h"
#include "interpretation/views/ZarmassDeconvolutionPage.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSpecView.h"
#include "spectrumviews/views/AnnotationTargets.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/PlotFeeding.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;

namespace {

constexpr double kMass = 16951.5;
constexpr double kProton = 1.008;

// Each charge 12..22 of kMass as a narrow profile peak (7 points 0.1 apart) on a zero baseline,
// strongest in the middle of the charges.
std::vector<PeakRecord> Series() {
    std::vector<PeakRecord> peaks;
    for (int z = 22; z >= 12; --z) {
        const double d = (z - 17) / 3.0;
        const double apex = kMass / z + kProton;
        const double height = 1000.0 * std::exp(-0.5 * d * d);
        peaks.push_back({apex - 1.0, 0.0, 0.0f, 0});
        for (int k = -3; k <= 3; ++k)
            peaks.push_back({apex + 0.1 * k, height * std::exp(-0.5 * k * k), 0.0f, 0});
        peaks.push_back({apex + 1.0, 0.0, 0.0f, 0});
    }
    return peaks;
}

// The document's transform engine holds the series and its transform over 5000-25000 u.
void Deconvolute(CZarDoc& doc) {
    ZarmassParams params;
    params.mzLow = 500.0;
    params.mzHigh = 2000.0;
    params.massLow = 5000.0;
    params.massHigh = 25000.0;
    params.massStep = 1.0;
    params.adduct = kProton;
    params.peakWidth = 2.5;
    ZarmassScanInfo scan;
    scan.scanNumber = 7;
    scan.retentionTime = 1.5;
    scan.filter = QStringLiteral("FTMS + c ESI Full ms [500.00-2000.00]");
    CZarmassTransform* engine = doc.GetZarmassTransform();
    ASSERT_TRUE(engine->PrepareTransform(params, Series(), scan));
    ASSERT_TRUE(engine->AcceptTransform(RunZarmassTransform(engine->MakeTransformJob())));
}

// The Zarmass layout over a document, its panes made and told of the layout.
struct Layout {
    CSplitterLayoutView view{*LayoutForViewType(6)};
    explicit Layout(CZarDoc& doc) {
        view.resize(1000, 700);
        view.show();
        view.OnInitialUpdate();
        doc.UpdateAllViews(nullptr, kHintZarmassLayout);
    }
    CZarmassSpecView* spec() {
        return dynamic_cast<CZarmassSpecView*>(view.FindPane("CZarmassSpecView"));
    }
    CZarmassDeconvView* deconv() {
        return dynamic_cast<CZarmassDeconvView*>(view.FindPane("CZarmassDeconvView"));
    }
};

// The server, the panes, a document and a frame that holds a deconvolution sheet.
struct Panes {
    viewstest::RegisteredPlotServer server;
    CZarDoc doc;
    CMainFrame frame{&doc};
    CZarmassPropertySheet sheet{CZarmassPropertySheet::kCaptionId, &frame, 0};
    Panes() {
        RegisterSpectrumViews();
        RegisterZarmassViews();
        sheet.Create();
        frame.SetZarmassSheet(&sheet);
    }
    ~Panes() { frame.SetZarmassSheet(nullptr); }
};

CPeakLabel Label(double apex, int charge) {
    CPeakLabel l;
    l.left.mass = apex - 1.25;
    l.apex.mass = apex;
    l.right.mass = apex + 1.25;
    l.chargeState = charge;
    l.penIndex = 1;
    return l;
}

}  // namespace

TEST(ZarmassPlotViews, BeforeTheFirstTransformBothShowTheirNoDataTexts) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Layout layout(p.doc);
    ASSERT_TRUE(layout.spec() && layout.deconv());
    EXPECT_FALSE(layout.spec()->DataValid());
    EXPECT_FALSE(layout.deconv()->DataValid());
    EXPECT_EQ(layout.spec()->NoDataText(),
              QStringLiteral("Click on a chromatogram to select a scan."));
    EXPECT_EQ(layout.deconv()->NoDataText(),
              QStringLiteral("No processed spectral data available"));
    // Without data every item of the menu but Display Options is off, and that one has no
    // dialog behind it here.
    std::unique_ptr<QMenu> menu = layout.deconv()->BuildContextMenu();
    ForEachCommandItem(menu.get(), [](QAction* a, int id) { EXPECT_FALSE(a->isEnabled()) << id; });
    viewstest::Grab(layout.view, QStringLiteral("/tmp/i32-zarmass-layout-empty.png"));
}

TEST(ZarmassPlotViews, PanesShowTheEnginesSpectra) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Deconvolute(p.doc);
    Layout layout(p.doc);
    CZarmassSpecView* spec = layout.spec();
    CZarmassDeconvView* deconv = layout.deconv();
    ASSERT_TRUE(spec->DataValid());
    ASSERT_TRUE(deconv->DataValid());
    EXPECT_EQ(spec->Spectrum().peaks.size(), 99u);
    EXPECT_EQ(spec->Spectrum().header.data.nScanNumber, 7);
    EXPECT_DOUBLE_EQ(spec->Spectrum().header.data.dRT, 1.5);
    EXPECT_NEAR(spec->Spectrum().header.data.dBasePeakMass, kMass / 17 + kProton, 1e-9);
    EXPECT_EQ(deconv->Spectrum().peaks.size(), 20000u);
    EXPECT_NEAR(deconv->Spectrum().header.data.dBasePeakMass, kMass, 1.0);
    // A new layout hint of the plot layout leaves the panes without data.
    p.doc.UpdateAllViews(nullptr, kHintPlotLayout);
    EXPECT_FALSE(spec->DataValid());
    p.doc.UpdateAllViews(nullptr, kHintDeconvolution);
    EXPECT_TRUE(spec->DataValid());
    EXPECT_FALSE(deconv->DataValid()) << "the deconvoluted pane waits for a new transform";
}

TEST(ZarmassPlotViews, AClickInTheDeconvolutedSpectrumSearchesAShareOfTheRangeShown) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Deconvolute(p.doc);
    Layout layout(p.doc);
    CZarmassDeconvView* deconv = layout.deconv();
    // 20000 u unzoomed: 50 u either side; zoomed to 100 u: 10; zoomed to 20 u: at least 3.
    EXPECT_DOUBLE_EQ(deconv->PickHalfWidth(), 0.0025 * 19999.0);
    deconv->OnSpecZoom(true, 16900.0, 0.0, 17000.0, 0.0);
    EXPECT_DOUBLE_EQ(deconv->PickHalfWidth(), 10.0);
    deconv->OnSpecZoom(true, 16940.0, 0.0, 16960.0, 0.0);
    EXPECT_DOUBLE_EQ(deconv->PickHalfWidth(), 3.0);
    deconv->OnCommand(ID_PLOT_RESET_SCALING);

    // The Deconvolution page active: a click 40 u beside the component picks it.
    p.sheet.SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    deconv->OnSpecLButtonUp(true, kMass + 40.0, 0.0);
    ASSERT_EQ(p.sheet.DeconvolutionPage()->CountValues(), 1);
    EXPECT_NEAR(p.sheet.DeconvolutionPage()->GridMasses()[0], kMass, 1.0);
    // 60 u beside it the window holds only the ghosts' low shoulders.
    deconv->OnSpecLButtonUp(true, kMass + 60.0, 0.0);
    EXPECT_EQ(p.sheet.DeconvolutionPage()->CountValues(), 2);
    EXPECT_GT(std::abs(p.sheet.DeconvolutionPage()->GridMasses()[1] - kMass), 5.0);
}

TEST(ZarmassPlotViews, AClickInTheSourceSpectrumFeedsTheCalculationPageOnly) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Deconvolute(p.doc);
    Layout layout(p.doc);
    CZarmassSpecView* spec = layout.spec();
    double picked = 0.0;
    QObject::connect(spec, &CZarmassSpecView::peakPicked,
                     [&picked](double mass, double) { picked = mass; });
    const double z17 = kMass / 17 + kProton;
    spec->OnSpecLButtonUp(true, z17 + 2.5, 0.0);
    ASSERT_EQ(p.sheet.CalcPage()->CountValues(), 1);
    EXPECT_DOUBLE_EQ(p.sheet.CalcPage()->GridMasses()[0], std::round(z17 * 100.0) / 100.0);
    EXPECT_DOUBLE_EQ(picked, z17);
    // Nothing within 3 of the click: no pick.
    spec->OnSpecLButtonUp(true, z17 + 20.0, 0.0);
    EXPECT_EQ(p.sheet.CalcPage()->CountValues(), 1);
    // The Deconvolution page takes masses, not m/z values, from this pane.
    p.sheet.SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    spec->OnSpecLButtonUp(true, z17, 0.0);
    EXPECT_EQ(p.sheet.DeconvolutionPage()->CountValues(), 0);

    // A zoom hands the shown range to the tracking page.
    p.sheet.SetActivePage(CZarmassPropertySheet::kCalculationPage);
    spec->OnSpecZoom(true, 900.123, 0.0, 1100.456, 0.0);
    double low = 0.0, high = 0.0;
    ASSERT_TRUE(p.sheet.CalcPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_DOUBLE_EQ(low, 900.12);
    EXPECT_DOUBLE_EQ(high, 1100.46);
}

TEST(ZarmassPlotViews, CopyExportAndPrint) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Deconvolute(p.doc);
    Layout layout(p.doc);
    CZarmassSpecView* spec = layout.spec();
    ASSERT_TRUE(spec->IsCommandEnabled(ID_PLOT_EXPORT_EXACT_MASS));
    EXPECT_FALSE(spec->IsCommandEnabled(ID_PLOT_ZOOM_OUT_X)) << "not zoomed";
    QGuiApplication::clipboard()->clear();
    spec->OnCommand(ID_PLOT_EXPORT_EXACT_MASS);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("SPECTRUM"))) << text.left(400).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Scan #: 7"))) << text.left(400).toStdString();
    spec->OnCommand(ID_PLOT_SPEC_COPY);
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->formats().isEmpty());
    spec->OnCommand(ID_PLOT_ZOOM_IN_X);
    EXPECT_TRUE(spec->IsCommandEnabled(ID_PLOT_ZOOM_OUT_X));
    EXPECT_TRUE(spec->Display().xZoomed);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("deconvolution.pdf")));
    EXPECT_TRUE(layout.deconv()->PrintTo(printer));
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("deconvolution.pdf"))).size(), 1000);
}

TEST(ZarmassPlotViews, PeakInfosTakeAtMostAHundredLabelsWithAnApex) {
    std::vector<CVXDataPeak> peaks;
    for (int i = 0; i < 300; ++i) peaks.push_back({500.0 + 5.0 * i, 10.0 + i % 7, 0.0f, 0});
    // No labels at all: none, and nothing is read.
    EXPECT_TRUE(ZarmassPeakInfos({}, peaks).empty());
    std::vector<CPeakLabel> labels;
    for (int i = 0; i < 150; ++i) labels.push_back(Label(500.0 + 5.0 * i + 0.3, 10 + i));
    labels[3].apex.mass = 0.0;  // an empty slot
    const std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> infos = ZarmassPeakInfos(labels, peaks);
    ASSERT_EQ(infos.size(), 99u);
    EXPECT_EQ(infos[3].iChargeState, 14);
    // Each apex moved onto the peak of its window.
    EXPECT_DOUBLE_EQ(infos[0].apex.dMass, 500.0);
    EXPECT_DOUBLE_EQ(infos[0].apex.dIntensity, 10.0);
    EXPECT_EQ(infos[0].iPenIndex, 1);
    // A merged label shows its text.
    labels.resize(1);
    labels[0].text = QStringLiteral("+12,+13");
    labels[0].showText = 1;
    const auto merged = ZarmassPeakInfos(labels, peaks);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].bShowText, 1);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(merged[0].cLabelText)),
              QStringLiteral("+12,+13"));
}

TEST(ZarmassPlotViews, ThePlotLayoutSpectrumHandsPicksAndZoomsToTheSheet) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.mzML"));
    ASSERT_TRUE(viewstest::WriteSmallRun(path, 20));
    Panes p;
    ASSERT_TRUE(p.server.ok());
    ASSERT_TRUE(p.doc.OnOpenDocument(path));
    CSplitterLayoutView layout(*LayoutForViewType(1));
    layout.resize(900, 600);
    layout.show();
    layout.OnInitialUpdate();
    auto* spec = dynamic_cast<CSpecView*>(layout.FindPane(QStringLiteral("CSpecView")));
    ASSERT_TRUE(spec);
    p.doc.GetCurrentResults()->GetCurrentUserResult()->currentScanPosition =
        p.doc.ScanToRetentionTime(5);
    p.doc.UpdateAllViews(nullptr, kHintScanRange);
    ASSERT_EQ(spec->Spectrum().header.data.nScanNumber, 5);

    // The Calculation page takes the picked m/z and the zoomed range.
    spec->OnSpecLButtonUp(true, 406.0, 0.0);
    ASSERT_EQ(p.sheet.CalcPage()->CountValues(), 1);
    EXPECT_DOUBLE_EQ(p.sheet.CalcPage()->GridMasses()[0], 405.0);
    spec->OnCommand(ID_PLOT_ZOOM_IN_X);
    const CVXSpecDisplay* d = spec->GetSpecDisplay();
    ASSERT_TRUE(d && d->xZoomed);
    double low = 0.0, high = 0.0;
    ASSERT_TRUE(p.sheet.CalcPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_NEAR(low, d->xStart, 0.005);
    EXPECT_NEAR(high, d->xEnd, 0.005);
    spec->OnCommand(ID_PLOT_DISPLAY_ALL);
    ASSERT_TRUE(p.sheet.CalcPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_NEAR(low, spec->Spectrum().header.data.dLowMass, 0.005);
    // A zoom of the intensity alone names no range.
    spec->OnSpecZoom(true, 400.0, 10.0, 400.0, 500.0);
    ASSERT_TRUE(p.sheet.CalcPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_NEAR(low, spec->Spectrum().header.data.dLowMass, 0.005);
    // With the Deconvolution page active a pick adds nothing.
    p.sheet.SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    spec->OnSpecLButtonUp(true, 900.0, 0.0);
    EXPECT_EQ(p.sheet.DeconvolutionPage()->CountValues(), 0);
    EXPECT_EQ(p.sheet.CalcPage()->CountValues(), 1);
}

TEST(ZarmassPlotViews, TheSourceSpectrumTakesAnnotationLabels) {
    Panes p;
    ASSERT_TRUE(p.server.ok());
    Deconvolute(p.doc);
    Layout layout(p.doc);
    CZarmassSpecView* spec = layout.spec();
    ASSERT_TRUE(spec);
    EXPECT_EQ(AnnotationKindOf(spec), kAnnotateZarmassSpectrum);
    EXPECT_EQ(AnnotationKindOf(layout.deconv()), kAnnotateNoTarget);
    const auto picture = [spec] {
        spec->Control()->RedrawControl();
        return spec->Control()->ControlWindow()->grab().toImage();
    };
    const QImage before = picture();
    const double z17 = kMass / 17 + kProton;
    ZAR_PLOTLib::VXPlot_LabelParams params{};
    params.bBoxed = 1;
    params.bAboveGraph = 1;
    EXPECT_TRUE(AddAnnotation(*spec, QStringLiteral("z = 17"), z17, 0.0, &params));
    const QImage labelled = picture();
    EXPECT_NE(labelled, before);
    labelled.save(QStringLiteral("/tmp/zarmass-annotated.png"));
    EXPECT_TRUE(ClearAnnotations(*spec));
    EXPECT_EQ(picture(), before);
}
