// The deconvolution on the demo run's intact-protein scan, driven as a user drives it: peaks
// clicked in the spectrum, the Calculation page's Automatic, the Deconvolution page's transform
// on its worker, component masses picked in the deconvoluted spectrum, the Select Peak(s)
// re-transform, Average, and a cancelled transform. Pictures go to /tmp.

#include "ZarmassViewsTestSupport.h"

#include "FrameCommands.h"
#include "SplitterViews.h"
#include "ZarmassPage.h"
#include "controls/NumericEditCtrl.h"
#include "grid/GridWnd.h"
#include "grids/DisplayGrids.h"
#include "grids/ZarmassCalcGrid.h"
#include "interpretation/ZarmassTransform.h"
#include "interpretation/views/SelectPeaksDlg.h"
#include "interpretation/views/ZarmassCalcPage.h"
#include "interpretation/views/ZarmassDeconvView.h"
#include "interpretation/views/ZarmassDeconvolutionPage.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSmoothPage.h"
#include "interpretation/views/ZarmassSpecView.h"
#include "spectrumviews/views/SpecView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zar;
using namespace zarmassviewstest;

namespace {

CZarmassPropertySheet* OpenSheet(CMainFrame& frame) {
    if (!RunFrameCommand(ID_ACTION_ZARMASS, frame)) return nullptr;
    return dynamic_cast<CZarmassPropertySheet*>(frame.GetZarmassSheet());
}

// The number in "Avg MW: 16951.23 +/- 0.12"; 0 when there is none.
double MwOf(const QString& text) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Avg MW: ([0-9.]+)")).match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

template <class T>
T* Pane(CMainFrame& frame, const char* name) {
    auto* layout = qobject_cast<CSplitterLayoutView*>(frame.CurrentView());
    return layout ? dynamic_cast<T*>(layout->FindPane(QString::fromLatin1(name))) : nullptr;
}

// The charges the Info Bar's ZARMASS Results page lists.
std::vector<int> ListedCharges(CInfoBar& bar) {
    std::vector<int> charges;
    CZarmassResultsGrid* grid = bar.ZarmassPage().Grid();
    for (int r = 1; grid && r <= grid->GetRowCount(); ++r) {
        const QString text = grid->GetValueRowCol(r, 2);
        if (!text.isEmpty()) charges.push_back(text.toInt());
    }
    return charges;
}

const PeakRecord* Apex(std::span<const PeakRecord> points) {
    if (points.empty()) return nullptr;
    return &*std::max_element(points.begin(), points.end(), [](const auto& a, const auto& b) {
        return a.intensity < b.intensity;
    });
}

}  // namespace

TEST(ZarmassDemoScan, AutomaticFindsTheSeriesAndItsMolecularWeight) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
    const IntactRun& intact = DemoIntactRun();
    zartest::MessageBoxCapture boxes;
    CZarmassPropertySheet* sheet = OpenSheet(f.frame());
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->IsCalculationPageActive());

    // Two neighbouring ions clicked in the plot layout's spectrum of the intact scan.
    f.doc().UpdateAllViews(nullptr, 2);
    auto* spec = Pane<CSpecView>(f.frame(), "CSpecView");
    ASSERT_TRUE(spec);
    ASSERT_EQ(spec->Spectrum().header.data.nScanNumber, intact.run.intactScan);
    spec->OnSpecLButtonUp(true, intact.Mz(16), 0.0);
    spec->OnSpecLButtonUp(true, intact.Mz(17), 0.0);
    CZarmassCalcPage* calc = sheet->CalcPage();
    ASSERT_EQ(calc->CountValues(), 2);
    EXPECT_NEAR(calc->GridMasses()[0], intact.Mz(16), 1.0);
    EXPECT_TRUE(calc->AutomaticButton()->isEnabled());
    EXPECT_FALSE(calc->ConvoluteButton()->isEnabled());

    calc->OnAutomatic();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(QStringLiteral(" | ")).toStdString();
    const double mw = MwOf(sheet->MwText());
    EXPECT_NEAR(mw, intact.run.intactMass, 1.0) << sheet->MwText().toStdString();
    // The text shows in the Info Bar's ZARMASS Results page, with one row per ion of the series.
    ASSERT_TRUE(f.bar()->ZarmassAverageMwText());
    EXPECT_EQ(f.bar()->ZarmassAverageMwText()->text(), sheet->MwText());
    std::vector<int> charges = ListedCharges(*f.bar());
    std::sort(charges.begin(), charges.end());
    for (int z = kDemoIntactChargeLow; z <= kDemoIntactChargeHigh; ++z)
        EXPECT_TRUE(std::binary_search(charges.begin(), charges.end(), z)) << "charge " << z;
    // The calculation is drawn in the plot layout's spectrum.
    EXPECT_EQ(f.frame().CurrentViewType(), 1);
    viewstest::Grab(f.frame(), QStringLiteral("/tmp/i32-calc-plot-layout.png"));
    sheet->SetActivePage(CZarmassPropertySheet::kCalculationPage);
    viewstest::Grab(*sheet, QStringLiteral("/tmp/i32-sheet-calculation.png"));
    std::printf("[ demo     ] myoglobin %.2f, Automatic %s, %zu ions listed\n",
                intact.run.intactMass, qPrintable(sheet->MwText()), charges.size());

    // Two values whose charge ratio is halfway between whole numbers (12.5): the fit fails and
    // no weight is shown, not the one found before.
    calc->OnClearAll();
    const double first = intact.Mz(17);
    sheet->SetSelectedMass(first);
    sheet->SetSelectedMass((12.5 * first - 1.008) / 11.5);
    calc->OnManual();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Unable to calculate the molecular weight")});
    EXPECT_EQ(sheet->MwText(), QStringLiteral("Avg MW:"));
    EXPECT_EQ(f.bar()->ZarmassAverageMwText()->text(), QStringLiteral("Avg MW:"));
    EXPECT_TRUE(ListedCharges(*f.bar()).empty());
}

// The intact scan is a profile scan: a click on the apex of one of the protein's ions picks that
// apex, not the tallest point of its neighbourhood, and Automatic finds the series from two such
// clicks.
// The demo frame on the intact scan with the deconvolution sheet open.
class ZarmassSheetOnDemo : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
        sheet = OpenSheet(f.frame());
        ASSERT_TRUE(sheet);
    }
    ZarmassFrame f;
    const IntactRun& intact = DemoIntactRun();
    zartest::MessageBoxCapture boxes;
    CZarmassPropertySheet* sheet = nullptr;
};

TEST_F(ZarmassSheetOnDemo, AClickOnAnIonsApexPicksThatApex) {
    f.doc().UpdateAllViews(nullptr, 2);
    auto* spec = Pane<CSpecView>(f.frame(), "CSpecView");
    ASSERT_TRUE(spec);
    ASSERT_EQ(spec->Spectrum().header.data.nScanNumber, intact.run.intactScan);
    const std::vector<CVXDataPeak>& points = spec->Spectrum().peaks;
    // An ion's apex: the tallest point within a quarter of a unit of its m/z.
    const auto apexNear = [&](double mz) {
        const CVXDataPeak* best = nullptr;
        for (const CVXDataPeak& p : points)
            if (std::abs(p.dPosition - mz) <= 0.25 && (!best || p.dIntensity > best->dIntensity))
                best = &p;
        return best ? best->dPosition : 0.0;
    };
    const double apex17 = apexNear(intact.Mz(17));
    const double apex18 = apexNear(intact.Mz(18));
    ASSERT_GT(apex17, 0.0);
    ASSERT_GT(apex18, 0.0);
    // A user's click lands beside the apex, not on it.
    spec->OnSpecLButtonUp(true, apex17 + 0.03, 0.0);
    spec->OnSpecLButtonUp(true, apex18 - 0.03, 0.0);
    CZarmassCalcPage* calc = sheet->CalcPage();
    ASSERT_EQ(calc->CountValues(), 2);
    EXPECT_NEAR(calc->GridMasses()[0], apex17, 0.006);  // the grid shows two decimals
    EXPECT_NEAR(calc->GridMasses()[1], apex18, 0.006);
    calc->OnAutomatic();
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_NEAR(MwOf(sheet->MwText()), intact.run.intactMass, 1.0) << sheet->MwText().toStdString();
}

// Another run opened while a deconvolution of the intact scan runs: the transform stops and its
// result goes nowhere; the ZARMASS layout of the new run shows no spectrum of the old one, and
// a calculation's labels of the old run are gone.
TEST_F(ZarmassSheetOnDemo, AnotherRunDropsTheRunningDeconvolutionAndTheOldResults) {
    // A calculation on the first run leaves its labels.
    sheet->SetSelectedMass(intact.Mz(17));
    sheet->SetSelectedMass(intact.Mz(18));
    sheet->CalcPage()->OnAutomatic();
    QCoreApplication::processEvents();
    CZarmassDeconvolution* calculation = f.doc().GetZarmassDeconvolution();
    ASSERT_FALSE(calculation->GetIdentifiedPeaks().empty());
    // A finished deconvolution, then a second one still running when the other run opens.
    sheet->SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    CZarmassDeconvolutionPage* page = sheet->DeconvolutionPage();
    CZarmassTransform* engine = f.doc().GetZarmassTransform();
    page->OnDeconvolute();
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    ASSERT_FALSE(engine->GetOutputPeaks().empty());
    // The finished transform asks for the true peaks.
    ASSERT_TRUE(page->SelectPeaksDialog() && page->SelectPeaksDialog()->isVisible());
    page->OnDeconvolute();
    ASSERT_TRUE(page->IsTransformRunning());

    QTemporaryDir dir;
    const QString other = dir.path() + QStringLiteral("/other.mzML");
    ASSERT_TRUE(QFile::copy(intact.path, other));
    ASSERT_TRUE(f.frame().OpenRun(other));
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(engine->GetInputPeaks().empty());
    EXPECT_TRUE(engine->GetOutputPeaks().empty());
    EXPECT_TRUE(engine->GetDeconvolutedPeaks().empty());
    EXPECT_TRUE(calculation->GetIdentifiedPeaks().empty());
    EXPECT_FALSE(calculation->HasMW());
    EXPECT_TRUE(page->DeconvoluteButton()->isEnabled());
    // Nothing is left that works on the old run's transform.
    EXPECT_FALSE(page->SelectPeaksDialog()->isVisible());
    EXPECT_FALSE(page->AverageButton()->isEnabled());
    EXPECT_FALSE(page->ConvoluteButton()->isEnabled());

    // View > ZARMASS Results: the layout of the new run has no spectrum to show.
    ASSERT_TRUE(f.frame().OnChooseView(6, true));
    QCoreApplication::processEvents();
    auto* source = Pane<CZarmassSpecView>(f.frame(), "CZarmassSpecView");
    auto* deconv = Pane<CZarmassDeconvView>(f.frame(), "CZarmassDeconvView");
    ASSERT_TRUE(source && deconv);
    EXPECT_FALSE(source->DataValid());
    EXPECT_FALSE(deconv->DataValid());
    EXPECT_TRUE(deconv->Spectrum().peaks.empty());
}

TEST(ZarmassDemoScan, DeconvolutionPicksReTransformsAndCancelKeepsTheResult) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
    const IntactRun& intact = DemoIntactRun();
    zartest::MessageBoxCapture boxes;
    CZarmassPropertySheet* sheet = OpenSheet(f.frame());
    ASSERT_TRUE(sheet);
    sheet->SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    CZarmassDeconvolutionPage* page = sheet->DeconvolutionPage();
    CZarmassTransform* engine = f.doc().GetZarmassTransform();

    // Deconvolute: the transform runs on the worker; the page shows its progress meanwhile.
    page->OnDeconvolute();
    EXPECT_FALSE(page->DeconvoluteButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(page->DeconvoluteButton()->isEnabled());
    EXPECT_FALSE(page->AverageButton()->isEnabled());
    EXPECT_FALSE(page->ProgressBar()->isVisible());
    ASSERT_EQ(engine->GetOutputPeaks().size(), 15000u);  // 5000-20000 u every 1 u
    const PeakRecord* apex = Apex(engine->GetDeconvolutedPeaks());
    ASSERT_TRUE(apex);
    EXPECT_NEAR(apex->mass, intact.run.intactMass, 1.0);
    const double apexMass = apex->mass;
    const double apexIntensity = apex->intensity;

    // The frame shows the Zarmass layout with both spectra, and the Select Peak(s) dialog.
    EXPECT_EQ(f.frame().CurrentViewType(), 6);
    auto* source = Pane<CZarmassSpecView>(f.frame(), "CZarmassSpecView");
    auto* deconv = Pane<CZarmassDeconvView>(f.frame(), "CZarmassDeconvView");
    ASSERT_TRUE(source && deconv);
    EXPECT_EQ(source->Spectrum().header.data.nScanNumber, intact.run.intactScan);
    EXPECT_TRUE(source->DataValid());
    EXPECT_TRUE(deconv->DataValid());
    EXPECT_EQ(deconv->Spectrum().header.data.dBasePeakMass, apexMass);
    CSelectPeaksDlg* dialog = page->SelectPeaksDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    EXPECT_EQ(sheet->MwText(), QStringLiteral("Avg MW:"));

    // A click beside the component picks it: its mass fills the grid and OK may run.
    deconv->OnSpecLButtonUp(true, apexMass + 6.0, 0.0);
    ASSERT_EQ(page->CountValues(), 1);
    EXPECT_DOUBLE_EQ(page->GridMasses()[0], apexMass);
    EXPECT_TRUE(dialog->OkButton()->isEnabled());
    viewstest::Grab(f.frame(), QStringLiteral("/tmp/i32-zarmass-layout.png"));
    viewstest::Grab(*sheet, QStringLiteral("/tmp/i32-sheet-deconvolution.png"));
    viewstest::Grab(*dialog, QStringLiteral("/tmp/i32-select-peaks.png"));

    // OK: the transform again without the component's ions.
    dialog->OkButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(engine->IsTransformDone());
    EXPECT_TRUE(page->AverageButton()->isEnabled());
    EXPECT_TRUE(page->ConvoluteButton()->isEnabled());
    const auto retransformed = engine->GetDeconvolutedPeaks();
    ASSERT_EQ(retransformed.size(), 15000u);
    EXPECT_EQ(engine->GetOutputPeaks().size(), 15000u);
    // The component keeps its own ions; the half-mass ghost its even charges made is gone.
    const auto at = [](std::span<const PeakRecord> points, double mass) {
        return std::min_element(points.begin(), points.end(),
                                [mass](const auto& a, const auto& b) {
                                    return std::abs(a.mass - mass) < std::abs(b.mass - mass);
                                })
            ->intensity;
    };
    EXPECT_GE(at(retransformed, apexMass), apexIntensity);
    const double ghostBefore = at(engine->GetOutputPeaks(), apexMass / 2.0);
    EXPECT_GT(ghostBefore, 0.2 * apexIntensity);
    EXPECT_LT(at(retransformed, apexMass / 2.0), 0.5 * ghostBefore);
    viewstest::Grab(f.frame(), QStringLiteral("/tmp/i32-zarmass-retransformed.png"));

    // Average: the molecular weight of the picked component's charge series.
    page->OnAverage();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_NEAR(MwOf(sheet->MwText()), intact.run.intactMass, 1.0) << sheet->MwText().toStdString();
    EXPECT_GE(ListedCharges(*f.bar()).size(), 8u);
    // The deconvoluted pane still shows the deconvoluted spectrum, not the scan it came from.
    EXPECT_EQ(deconv->Spectrum().peaks.size(), 15000u);
    EXPECT_EQ(deconv->Spectrum().header.data.dLowMass, 5000.0);
    viewstest::Grab(f.frame(), QStringLiteral("/tmp/i32-zarmass-average.png"));

    // A long transform (a fine step over a wide range), cancelled at once: nothing changes.
    const std::vector<PeakRecord> before(engine->GetOutputPeaks().begin(),
                                         engine->GetOutputPeaks().end());
    const int inputCount = static_cast<int>(engine->GetInputPeaks().size());
    page->DeconvolutedEdit()->SetRange(5000.0, 200000.0);
    page->StepGroup()->button(0)->click();
    page->OnDeconvolute();
    ASSERT_TRUE(page->IsTransformRunning()) << "the transform returned before the worker finished";
    EXPECT_TRUE(page->CancelButton()->isVisible());
    page->CancelButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(engine->GetOutputPeaks().size(), before.size());
    EXPECT_EQ(engine->GetOutputPeaks()[100].intensity, before[100].intensity);
    EXPECT_EQ(static_cast<int>(engine->GetInputPeaks().size()), inputCount);
    EXPECT_EQ(engine->GetGridSize(), 15000);
    EXPECT_TRUE(page->DeconvoluteButton()->isEnabled());
    EXPECT_TRUE(page->AverageButton()->isEnabled());
    EXPECT_FALSE(page->CancelButton()->isVisible());
    EXPECT_EQ(deconv->Spectrum().peaks.size(), 15000u);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(QStringLiteral(" | ")).toStdString();
    std::printf("[ demo     ] transform apex %.1f, Average %s\n", apexMass,
                qPrintable(sheet->MwText()));
}

TEST(ZarmassDemoScan, LimitsWithoutPeaksAreSaidAndTheResultStays) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
    zartest::MessageBoxCapture boxes;
    CZarmassPropertySheet* sheet = OpenSheet(f.frame());
    ASSERT_TRUE(sheet);
    sheet->SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    CZarmassDeconvolutionPage* page = sheet->DeconvolutionPage();
    page->OnDeconvolute();
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    CZarmassTransform* engine = f.doc().GetZarmassTransform();
    ASSERT_EQ(engine->GetOutputPeaks().size(), 15000u);
    page->SelectPeaksDialog()->hide();

    // The intact scan holds nothing above m/z 2000.
    page->OriginalEdit()->SetRange(2500.0, 3000.0);
    page->OnDeconvolute();
    EXPECT_FALSE(page->IsTransformRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral(
                  "No peak of the spectrum lies within the m/z limits of the original spectrum.")});
    EXPECT_EQ(engine->GetOutputPeaks().size(), 15000u);
    EXPECT_TRUE(page->DeconvoluteButton()->isEnabled());
    EXPECT_FALSE(page->SelectPeaksDialog()->isVisible());
}

TEST(ZarmassDemoScan, AnAveragedRangeIsDeconvolutedAndShownAsARange) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
    const IntactRun& intact = DemoIntactRun();
    zartest::MessageBoxCapture boxes;
    CZarmassPropertySheet* sheet = OpenSheet(f.frame());
    ASSERT_TRUE(sheet);
    // Averaging the survey scan before the intact scan, the fragment scans between (left out)
    // and the intact scan.
    int start = intact.run.intactScan - 1;
    while (start > 1 && intact.run.scans[start - 1].msLevel > 1) --start;
    ASSERT_LT(start, intact.run.intactScan - 1) << "no fragment scan precedes the intact scan";
    const int last = intact.run.intactScan;
    CZarmassSmoothPage* smooth = sheet->SmoothPage();
    smooth->AveragingBox()->click();
    smooth->ScansEdit()->SetRange(start, last);
    sheet->SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    CZarmassDeconvolutionPage* page = sheet->DeconvolutionPage();
    // The protein's ions only: the peptides of the earlier scan lie lower.
    page->OriginalEdit()->SetRange(700.0, 2000.0);
    page->OnDeconvolute();
    ASSERT_TRUE(WaitFor([&] { return !page->IsTransformRunning(); }));
    QCoreApplication::processEvents();
    int first = 0, selectedLast = 0;
    f.doc().GetSelection(first, selectedLast);
    EXPECT_EQ(first, start);
    EXPECT_EQ(selectedLast, last);
    const PeakRecord* apex = Apex(f.doc().GetZarmassTransform()->GetDeconvolutedPeaks());
    ASSERT_TRUE(apex);
    EXPECT_NEAR(apex->mass, intact.run.intactMass, 1.0);
    auto* source = Pane<CZarmassSpecView>(f.frame(), "CZarmassSpecView");
    ASSERT_TRUE(source);
    const CVXSpectrumHeaderData& h = source->Spectrum().header.data;
    EXPECT_EQ(h.bScanRangeValid, 1);
    EXPECT_EQ(h.nFirstScanNumber, first);
    EXPECT_EQ(h.nLastScanNumber, last);
    EXPECT_EQ(h.nNumScansAveraged, last - first + 1);
    EXPECT_GT(source->Spectrum().peaks.size(), intact.run.scans[last - 1].mz.size());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(QStringLiteral(" | ")).toStdString();
    viewstest::Grab(f.frame(), QStringLiteral("/tmp/i32-zarmass-averaged.png"));
}

TEST(ZarmassDemoScan, ClosingTheSheetStopsARunningTransform) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok()) << "demo run not written or not opened";
    CZarmassPropertySheet* sheet = OpenSheet(f.frame());
    ASSERT_TRUE(sheet);
    sheet->SetActivePage(CZarmassPropertySheet::kDeconvolutionPage);
    CZarmassDeconvolutionPage* page = sheet->DeconvolutionPage();
    page->DeconvolutedEdit()->SetRange(5000.0, 200000.0);
    page->StepGroup()->button(0)->click();
    page->OnDeconvolute();
    ASSERT_TRUE(page->IsTransformRunning());
    QPointer<CZarmassPropertySheet> watched(sheet);
    sheet->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(f.frame().GetZarmassSheet(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.doc().GetZarmassTransform()->GetOutputPeaks().empty());
}
