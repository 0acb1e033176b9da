// The deconvolution sheet and its pages: buttons, forwarding to the active page, the mass
// grids and their menu, tracked ranges, the adduct and the ion rows for the Info Bar, closing
// and reopening from the main window.

#include "ZarmassViewsTestSupport.h"

#include "FrameCommands.h"
#include "SplitterViews.h"
#include "ViewFactory.h"
#include "controls/NumericEditCtrl.h"
#include "grids/ZarmassCalcGrid.h"
#include "interpretation/ZarmassDeconvolution.h"
#include "interpretation/views/RegisterZarmassViews.h"
#include "interpretation/views/ZarmassCalcPage.h"
#include "interpretation/views/ZarmassDeconvolutionPage.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSmoothPage.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/TraceView.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

using namespace zar;
using namespace zarmassviewstest;

namespace {

// A sheet set up as the main window makes it, without a window of its own yet.
struct Sheet {
    CZarmassPropertySheet sheet{CZarmassPropertySheet::kCaptionId, nullptr, 0};
    Sheet() { sheet.Create(); }
};

}  // namespace

TEST(ZarmassSheet, OnlyClosesAndHelpsAndStartsOnTheCalculationPage) {
    Sheet s;
    CZarmassPropertySheet& sheet = s.sheet;
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("ZARMASS"));
    ASSERT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPage(0)->windowTitle(), QStringLiteral("Calculation"));
    EXPECT_EQ(sheet.GetPage(1)->windowTitle(), QStringLiteral("Deconvolution"));
    EXPECT_EQ(sheet.GetPage(2)->windowTitle(), QStringLiteral("Smoothing and Averaging"));
    EXPECT_TRUE(sheet.IsCalculationPageActive());
    EXPECT_FALSE(sheet.IsDeconvolutionPageActive());
    auto* box = sheet.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(box);
    sheet.show();
    EXPECT_FALSE(box->button(QDialogButtonBox::Ok)->isVisible());
    EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("&Close"));
    EXPECT_EQ(box->button(QDialogButtonBox::Help)->text(), QStringLiteral("&Help"));
    // No values yet: nothing to calculate.
    EXPECT_FALSE(sheet.CalcPage()->AutomaticButton()->isEnabled());
    EXPECT_FALSE(sheet.CalcPage()->ManualButton()->isEnabled());
    EXPECT_FALSE(sheet.CalcPage()->ConvoluteButton()->isEnabled());
    EXPECT_TRUE(sheet.DeconvolutionPage()->DeconvoluteButton()->isEnabled());
    EXPECT_FALSE(sheet.DeconvolutionPage()->AverageButton()->isEnabled());
    EXPECT_EQ(sheet.CalcPage()->Grid()->GetRowCount(), 20);
    EXPECT_EQ(sheet.CalcPage()->Grid()->GetValueRowCol(0, 1), QStringLiteral("Mass (u)"));
}

TEST(ZarmassSheet, APickedMassGoesToTheActivePage) {
    // The Smoothing page passes picks on to the Deconvolution page.
    const struct {
        int page;
        bool toCalculation;
    } cases[] = {{0, true}, {1, false}, {2, false}};
    for (const auto& c : cases) {
        Sheet s;
        s.sheet.SetActivePage(c.page);
        s.sheet.SetSelectedMass(998.1349);
        CZarmassPageBase* to = c.toCalculation ? static_cast<CZarmassPageBase*>(s.sheet.CalcPage())
                                               : s.sheet.DeconvolutionPage();
        CZarmassPageBase* other = c.toCalculation
                                      ? static_cast<CZarmassPageBase*>(s.sheet.DeconvolutionPage())
                                      : s.sheet.CalcPage();
        ASSERT_EQ(to->CountValues(), 1) << c.page;
        EXPECT_EQ(other->CountValues(), 0) << c.page;
        EXPECT_DOUBLE_EQ(to->GridMasses()[0], 998.13) << "rounded to 0.01";
        EXPECT_EQ(to->NextRow(), 2);
    }
}

TEST(ZarmassSheet, CalculationButtonsFollowTheNumberOfValues) {
    Sheet s;
    CZarmassCalcPage* page = s.sheet.CalcPage();
    s.sheet.SetSelectedMass(1000.0);
    EXPECT_TRUE(page->ConvoluteButton()->isEnabled()) << "one value: its parent mass";
    EXPECT_FALSE(page->AutomaticButton()->isEnabled());
    s.sheet.SetSelectedMass(1060.0);
    EXPECT_FALSE(page->ConvoluteButton()->isEnabled());
    EXPECT_TRUE(page->AutomaticButton()->isEnabled());
    EXPECT_TRUE(page->ManualButton()->isEnabled());
    // A 21st mass overwrites row 20.
    for (int i = 0; i < 19; ++i) s.sheet.SetSelectedMass(1100.0 + i);
    EXPECT_EQ(page->CountValues(), 20);
    EXPECT_DOUBLE_EQ(page->GridMasses().back(), 1118.0);
    EXPECT_EQ(page->NextRow(), 20);
    // A value typed into the grid counts as well (the grid tells the sheet).
    page->OnClearAll();
    EXPECT_EQ(page->CountValues(), 0);
    EXPECT_FALSE(page->AutomaticButton()->isEnabled());
    page->Grid()->SetValueRange(3, 1, 1500.0);
    s.sheet.EnableCalculation();
    EXPECT_TRUE(page->ConvoluteButton()->isEnabled());
}

TEST(ZarmassSheet, GridMenuDeletesAndRefreshes) {
    zartest::MessageBoxCapture boxes;
    Sheet s;
    CZarmassCalcPage* page = s.sheet.CalcPage();
    page->OnDelete();
    EXPECT_TRUE(boxes.texts().isEmpty()) << "an empty grid deletes nothing";
    for (double m : {800.0, 900.0, 1000.0}) s.sheet.SetSelectedMass(m);
    page->Grid()->SetCurrentCell(0, 0);
    page->Grid()->selectionModel()->clearCurrentIndex();
    page->OnDelete();
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Please select one of the cells in the grid")});
    EXPECT_EQ(page->CountValues(), 3);
    page->Grid()->SetCurrentCell(1, 1);
    page->OnDelete();
    EXPECT_EQ(page->GridMasses(), (std::vector<double>{900.0, 1000.0}));
    EXPECT_EQ(page->NextRow(), 3);
    // Refresh packs the values from row 1, rounded to 0.01.
    page->Grid()->SetValueRange(9, 1, QStringLiteral("1234.5678"));
    page->OnRefresh();
    EXPECT_EQ(page->Grid()->GetValueRowCol(3, 1), QStringLiteral("1234.57"));
    EXPECT_EQ(page->CountValues(), 3);
    page->OnClearAll();
    EXPECT_EQ(page->CountValues(), 0);
    EXPECT_EQ(page->NextRow(), 1);
}

TEST(ZarmassSheet, TrackedRangeOnlyWhileTrackIsChecked) {
    Sheet s;
    CZarmassCalcPage* page = s.sheet.CalcPage();
    double low = 0.0, high = 0.0;
    s.sheet.SetTrackedMassRange(900.123, 1100.456);
    ASSERT_TRUE(page->OriginalEdit()->GetRange(low, high));
    EXPECT_DOUBLE_EQ(low, 900.12);
    EXPECT_DOUBLE_EQ(high, 1100.46);
    page->TrackBox()->setChecked(false);
    s.sheet.SetTrackedMassRange(500.0, 600.0);
    ASSERT_TRUE(page->OriginalEdit()->GetRange(low, high));
    EXPECT_DOUBLE_EQ(low, 900.12);
    // Set while another page is active: it reaches the Deconvolution page.
    s.sheet.SetActivePage(1);
    s.sheet.SetTrackedMassRange(700.0, 1500.0);
    ASSERT_TRUE(s.sheet.DeconvolutionPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_DOUBLE_EQ(high, 1500.0);
    // The run's ranges: the first pair is shown, the second kept for an empty edit.
    page->SetSpectrumRanges(100.004, 2000.006, 300.0, 1800.0);
    ASSERT_TRUE(page->OriginalEdit()->GetRange(low, high));
    EXPECT_DOUBLE_EQ(low, 100.0);
    EXPECT_DOUBLE_EQ(high, 2000.01);
    EXPECT_DOUBLE_EQ(page->InputLow(), 300.0);
}

TEST(ZarmassPages, AdductEntriesReadAsTheirMasses) {
    const QStringList entries = ZarmassAdductEntries();
    ASSERT_EQ(entries.size(), 8);
    const double expected[] = {1.008, -1.008, 17.030, -17.030, 22.990, -22.990, 39.098, -39.098};
    for (int i = 0; i < 8; ++i) {
        double adduct = 0.0;
        ASSERT_TRUE(ParseAdductText(entries[i], adduct)) << entries[i].toStdString();
        EXPECT_EQ(adduct, static_cast<double>(static_cast<float>(expected[i])))
            << entries[i].toStdString();
    }
    double adduct = 5.0;
    EXPECT_FALSE(ParseAdductText(QStringLiteral("+ Proton"), adduct));
    EXPECT_EQ(adduct, 5.0);
}

TEST(ZarmassPages, IonRowsCarryTheRoundedMz) {
    // m/z x 100 is rounded, not cut: 445.12 is stored as 445.1199999...
    EXPECT_EQ(IonRowMz(445.12), 44512u);
    EXPECT_EQ(IonRowMz(998.125), 99813u);
    EXPECT_EQ(IonRowMz(771.5149), 77151u);
}

TEST(ZarmassPages, AFailedFitShowsNoWeight) {
    zartest::MessageBoxCapture boxes;
    CZarmassDeconvolution engine;
    ZarmassParams params;
    params.adduct = 1.0;
    params.count = 2;
    params.mz[0] = 1001.0;  // 17000 u at charges 17 and 16
    params.mz[1] = 1063.5;
    const std::vector<PeakRecord> peaks = {{1001.0, 10.0, 0, 0}, {1063.5, 12.0, 0, 0}};
    ASSERT_TRUE(engine.SetInputPeaks(params, peaks, ZarmassScanInfo()));
    ASSERT_TRUE(engine.CalculateMW(kZarmassModeManual));
    EXPECT_EQ(AverageMwText(engine), QStringLiteral("Avg MW: 17000.00 +/- 0.00"));
    // A charge ratio far from a whole number: no fit, and no weight shown.
    params.mz[1] = 1061.6;  // a ratio of 17.5
    ASSERT_TRUE(engine.SetInputPeaks(params, peaks, ZarmassScanInfo()));
    EXPECT_FALSE(engine.CalculateMW(kZarmassModeManual));
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Unable to calculate the molecular weight")});
    EXPECT_EQ(AverageMwText(engine), QStringLiteral("Avg MW:"));
}

TEST(ZarmassPages, AnUnreadableScanIsSaidAndNothingIsCalculated) {
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;  // no run open
    QWidget owner;
    zartest::MessageTrap trap(&owner, {kMsgZarmassCalculated, kMsgZarmassClear, kMsgZarmassInfo});
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, &owner, 0);
    sheet.Create();
    sheet.SetMwText(QStringLiteral("Avg MW: 1.00 +/- 0.00"));
    sheet.SetSelectedMass(1000.0);
    sheet.SetSelectedMass(1060.0);
    sheet.CalcPage()->OnAutomatic();
    sheet.DeconvolutionPage()->OnDeconvolute();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts(),
              (QStringList{QStringLiteral("Failed to read spectrum from raw file."),
                           QStringLiteral("Failed to read spectrum from raw file.")}));
    EXPECT_TRUE(trap.caught().empty());
    EXPECT_FALSE(sheet.DeconvolutionPage()->IsTransformRunning());
    EXPECT_TRUE(doc.GetZarmassDeconvolution()->GetIdentifiedPeaks().empty());
}

TEST(ZarmassSheet, ClosingReleasesItAndTheCommandMakesANewOne) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok());
    ASSERT_TRUE(HasFrameCommand(ID_ACTION_ZARMASS));
    ASSERT_TRUE(RunFrameCommand(ID_ACTION_ZARMASS, f.frame()));
    QPointer<CZarmassPropertySheet> sheet =
        dynamic_cast<CZarmassPropertySheet*>(f.frame().GetZarmassSheet());
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    // The run's range and scans reached the pages.
    double low = 0.0, high = 0.0;
    ASSERT_TRUE(sheet->CalcPage()->OriginalEdit()->GetRange(low, high));
    EXPECT_GT(high, low);
    EXPECT_GT(sheet->SmoothPage()->LastScan(), 100);

    // Opening again keeps the sheet and empties its grids.
    sheet->SetSelectedMass(1000.0);
    ASSERT_TRUE(RunFrameCommand(ID_ACTION_ZARMASS, f.frame()));
    EXPECT_EQ(f.frame().GetZarmassSheet(), static_cast<CZarmassSheetTarget*>(sheet.data()));
    EXPECT_EQ(sheet->CalcPage()->CountValues(), 0);

    // Close: the frame lets go and the sheet goes.
    sheet->reject();
    EXPECT_EQ(f.frame().GetZarmassSheet(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sheet.isNull());
    ASSERT_TRUE(RunFrameCommand(ID_ACTION_ZARMASS, f.frame()));
    EXPECT_NE(f.frame().GetZarmassSheet(), nullptr);
}

TEST(ZarmassSheet, PlacedBesideTheMainWindowInsideTheDesktop) {
    QWidget owner;
    owner.resize(300, 200);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const QRect desktop = screen->availableGeometry();
    // Near the right edge of the desktop: the sheet cannot stand beside it.
    owner.move(desktop.right() - 250, desktop.top() + 40);
    owner.show();
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, &owner, 0);
    sheet.Create();
    sheet.show();
    EXPECT_EQ(sheet.frameGeometry().right(), desktop.right());
    EXPECT_EQ(sheet.frameGeometry().top(),
              std::min(owner.frameGeometry().top(),
                       desktop.bottom() + 1 - sheet.frameGeometry().height()));
}

TEST(ZarmassRegistration, TheMenusOfferTheSheetWhereTheyMay) {
    ZarmassFrame f;
    ASSERT_TRUE(f.ok());
    // Actions > ZARMASS in the plot layout, and the spectrum pane's item.
    f.frame().UpdateCommandUI();
    ASSERT_TRUE(f.frame().Action(ID_ACTION_ZARMASS));
    EXPECT_TRUE(f.frame().Action(ID_ACTION_ZARMASS)->isEnabled());
    auto* plot = qobject_cast<CSplitterLayoutView*>(f.frame().CurrentView());
    ASSERT_TRUE(plot);
    auto* spec = dynamic_cast<CSpecView*>(plot->FindPane(QStringLiteral("CSpecView")));
    ASSERT_TRUE(spec);
    const auto itemEnabled = [](QMenu* menu, int wanted) {
        bool enabled = false;
        ForEachCommandItem(menu, [&](QAction* a, int id) {
            if (id == wanted) enabled = a->isEnabled();
        });
        return enabled;
    };
    EXPECT_TRUE(itemEnabled(spec->BuildContextMenu().get(), ID_PLOT_ZARMASS));
    // The trace pane offers it in the Zarmass layout.
    ASSERT_TRUE(f.frame().OnChooseView(6, false));
    f.frame().UpdateCommandUI();
    EXPECT_TRUE(f.frame().Action(ID_ACTION_ZARMASS)->isEnabled());
    auto* layout = qobject_cast<CSplitterLayoutView*>(f.frame().CurrentView());
    ASSERT_TRUE(layout);
    auto* trace = dynamic_cast<CTraceView*>(layout->FindPane(QStringLiteral("CTraceView")));
    ASSERT_TRUE(trace);
    EXPECT_TRUE(itemEnabled(trace->BuildContextMenu().get(), ID_PLOT_ZARMASS));
    // The menu item opens the sheet.
    trace->OnCommand(ID_PLOT_ZARMASS);
    EXPECT_NE(f.frame().GetZarmassSheet(), nullptr);
}

TEST(ZarmassRegistration, TheLayoutAndTheCommandBecomeAvailable) {
    RegisterSpectrumViews();
    RegisterZarmassViews();
    EXPECT_TRUE(IsViewClassRegistered(QStringLiteral("CZarmassSpecView")));
    EXPECT_TRUE(IsViewClassRegistered(QStringLiteral("CZarmassDeconvView")));
    EXPECT_TRUE(CMainFrame::CanShowViewType(6));
    EXPECT_TRUE(HasFrameCommand(ID_ACTION_ZARMASS));
}
