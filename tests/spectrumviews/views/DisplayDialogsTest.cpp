// The dialogs that change how the plots are drawn, in the program's main window on a small run:
// Spectrum Display Options, Display Settings (Options > Display) and Annotate (Display >
// Annotate > Add Text / Clear All).

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "controls/NumericEditCtrl.h"
#include "document/UpdateHints.h"
#include "spectrumviews/views/AnnotateDialog.h"
#include "spectrumviews/views/AnnotationTargets.h"
#include "spectrumviews/views/AxesPositionPage.h"
#include "spectrumviews/views/DisplaySettingsPropertySheet.h"
#include "spectrumviews/views/LabelsPage.h"
#include "spectrumviews/views/PepmatchSpecView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/ScalingPage.h"
#include "spectrumviews/views/SpecDisplayOptionsDialog.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/TraceView.h"
#include "spectrumviews/views/ViewCommands.h"

#include "ViewsTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace zar;

namespace {

// Picks up the modal dialog of type D once it shows, lets change() alter it, then presses OK.
template <class D>
void WhenShown(const std::function<void(D&)>& change, bool accept = true) {
    QTimer::singleShot(0, [change, accept] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = dynamic_cast<D*>(w); d && d->isVisible()) {
                change(*d);
                if (accept)
                    static_cast<QDialog*>(d)->accept();
                else
                    static_cast<QDialog*>(d)->reject();
                return;
            }
        }
    });
}

// Pixels of a control's picture that differ between two grabs.
int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Counts the hints the document sends.
class HintCounter : public CZarView {
  public:
    explicit HintCounter(CZarDoc& doc) : doc_(doc) { doc_.AddView(this); }
    ~HintCounter() override { doc_.RemoveView(this); }
    void OnUpdate(CZarView*, int hint) override { ++counts[hint]; }
    std::map<int, int> counts;

  private:
    CZarDoc& doc_;
};

class DisplayDialogsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        dir_ = std::make_unique<QTemporaryDir>();
        runPath_ = dir_->path() + QStringLiteral("/small.mzML");
        runWritten_ = viewstest::WriteSmallRun(runPath_, 12);
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
        frame_ = std::make_unique<CMainFrame>(doc_.get());
        frame_->resize(1100, 800);
        frame_->show();
        ASSERT_TRUE(doc_->OnOpenDocument(runPath_));
        ASSERT_TRUE(frame_->OnChooseView(1, true));
        QApplication::processEvents();
        spec_ = pane<CSpecView>("CSpecView");
        ASSERT_TRUE(spec_);
        trace_ = pane<CTraceView>("CTraceView");
        ASSERT_TRUE(trace_);
    }
    void TearDown() override {
        ReleaseAnnotateDialog();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frame_.reset();
        doc_.reset();
    }

    template <class V>
    V* pane(const char* cls) const {
        auto* layout = dynamic_cast<CSplitterLayoutView*>(frame_->CurrentView());
        return layout ? dynamic_cast<V*>(layout->FindPane(QString::fromLatin1(cls))) : nullptr;
    }
    QImage specPicture() const {
        spec_->Control()->RedrawControl();
        return spec_->Control()->ControlWindow()->grab().toImage();
    }
    // Switches the main window's layout; the old panes are really gone afterwards.
    void switchTo(int type) {
        ASSERT_TRUE(frame_->OnChooseView(type, false));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString runPath_;
    static inline bool runWritten_ = false;
    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    CSpecView* spec_ = nullptr;
    CTraceView* trace_ = nullptr;
};

}  // namespace

TEST_F(DisplayDialogsTest, DisplayOptionsChangeTheStyleDrawn) {
    std::unique_ptr<QMenu> menu = spec_->BuildContextMenu();
    bool offered = false;
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().toInt() == ID_PLOT_DISPLAY_OPTIONS) offered = a->isEnabled();
    EXPECT_TRUE(offered);

    CVXSpecDisplay* d = spec_->GetSpecDisplay();
    ASSERT_TRUE(d);
    d->style = CVXSpecDisplay::kStick;
    spec_->OnCommand(ID_PLOT_RESET_SCALING);
    const QImage stick = specPicture();
    WhenShown<CSpecDisplayOptionsDialog>([](CSpecDisplayOptionsDialog& dlg) {
        viewstest::Grab(dlg, QStringLiteral("/tmp/i26-spec-display-options.png"));
        EXPECT_EQ(dlg.style, CVXSpecDisplay::kStick);
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(CSpecDisplayOptionsDialog::kStyleId + 1))
            ->click();  // point-to-point
        qobject_cast<QCheckBox*>(dlg.GetDlgItem(CSpecDisplayOptionsDialog::kShowLabelsId))
            ->setChecked(false);
    });
    spec_->OnCommand(ID_PLOT_DISPLAY_OPTIONS);
    EXPECT_EQ(d->style, CVXSpecDisplay::kProfile);
    EXPECT_EQ(d->showLabels, 0);
    // Only the current trace's display took it.
    EXPECT_EQ(doc_->GetCurrentResults()->userResults[1].specDisplay.style,
              CVXSpecDisplay::kAutomatic);
    const QImage profile = specPicture();
    EXPECT_GT(DifferentPixels(stick, profile), 50);
    profile.save(QStringLiteral("/tmp/i26-spec-profile.png"));

    // Cancel changes nothing.
    WhenShown<CSpecDisplayOptionsDialog>(
        [](CSpecDisplayOptionsDialog& dlg) {
            qobject_cast<QAbstractButton*>(dlg.GetDlgItem(CSpecDisplayOptionsDialog::kStyleId + 2))
                ->click();
        },
        false);
    spec_->OnCommand(ID_PLOT_DISPLAY_OPTIONS);
    EXPECT_EQ(d->style, CVXSpecDisplay::kProfile);

    // Apply to all plots: every trace's spectrum display takes style and labels.
    WhenShown<CSpecDisplayOptionsDialog>([](CSpecDisplayOptionsDialog& dlg) {
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(CSpecDisplayOptionsDialog::kStyleId + 2))
            ->click();
        dlg.ThresholdEdit()->setText(QStringLiteral("12.5"));
        qobject_cast<QCheckBox*>(dlg.GetDlgItem(CSpecDisplayOptionsDialog::kApplyToAllId))
            ->setChecked(true);
    });
    spec_->OnCommand(ID_PLOT_DISPLAY_OPTIONS);
    for (const CVXUserResult& u : doc_->GetCurrentResults()->userResults) {
        EXPECT_EQ(u.specDisplay.style, CVXSpecDisplay::kStick);
        EXPECT_DOUBLE_EQ(u.specDisplay.labelThreshold, 12.5);
    }
}

TEST_F(DisplayDialogsTest, DisplayOptionsCheckTheirValues) {
    CSpecDisplayOptionsDialog dlg(frame_.get());
    dlg.display.offsetLabels = 0;
    dlg.display.labelOffset = 1.5f;
    dlg.display.labelThreshold = 5.0;
    dlg.EnsureInitialized();
    // With Offset cleared its edit is disabled, and its value still goes back unchanged.
    EXPECT_FALSE(dlg.OffsetEdit()->isEnabled());
    EXPECT_EQ(dlg.OffsetEdit()->maxLength(), 3);
    EXPECT_EQ(dlg.ThresholdEdit()->maxLength(), 6);
    dlg.OffsetBox()->click();
    EXPECT_TRUE(dlg.OffsetEdit()->isEnabled());
    dlg.OffsetBox()->click();
    EXPECT_FALSE(dlg.OffsetEdit()->isEnabled());
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_FLOAT_EQ(dlg.display.labelOffset, 1.5f);
    // A threshold beyond 100 or an offset beyond 5 is refused and the dialog stays.
    dlg.ThresholdEdit()->setText(QStringLiteral("100.1"));
    EXPECT_FALSE(dlg.UpdateData(true));
    dlg.ThresholdEdit()->setText(QStringLiteral("100"));
    dlg.OffsetEdit()->setText(QStringLiteral("5.5"));
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(boxes_.shown().size(), 2u);
    dlg.OffsetEdit()->setText(QStringLiteral("5"));
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_DOUBLE_EQ(dlg.display.labelThreshold, 100.0);
}

TEST_F(DisplayDialogsTest, DisplaySettingsChangeTheScaleAndTitlesOfEveryPlot) {
    ASSERT_TRUE(frame_->Action(ID_OPTIONS_DISPLAY));
    frame_->UpdateCommandUI();
    EXPECT_TRUE(frame_->Action(ID_OPTIONS_DISPLAY)->isEnabled());
    const QImage relative = specPicture();
    HintCounter hints(*doc_);
    WhenShown<CDisplaySettingsPropertySheet>([](CDisplaySettingsPropertySheet& sheet) {
        viewstest::Grab(sheet, QStringLiteral("/tmp/i26-display-settings.png"));
        // Mass spectrometer: absolute spectra, other titles.
        CScalingPage* scaling = sheet.ScalingPage();
        scaling->SpectrumScale()->button(kVXScaleAbsolute)->click();
        CLabelsPage* labels = sheet.LabelsPage();
        labels->SpectrumTitle()->setText(QStringLiteral("Mass/charge"));
        labels->AbsoluteTitle()->setText(QStringLiteral("Counts"));
        CAxesPositionPage* positions = sheet.PositionPage();
        positions->LeftMode()->button(1)->click();
        positions->LeftSpacingEdit()->setText(QStringLiteral("20"));
    });
    frame_->RunCommand(ID_OPTIONS_DISPLAY);
    const CVXConfiguration& config = doc_->GetConfiguration();
    EXPECT_EQ(config.GetAxesDefaults(kVXMSDevice)->specYScaleType, kVXScaleAbsolute);
    EXPECT_EQ(config.GetAxesDefaults(kVXMSDevice)->XAxisSpectra(), QStringLiteral("Mass/charge"));
    EXPECT_EQ(config.axesPositions.leftMode, 1);
    EXPECT_DOUBLE_EQ(config.axesPositions.leftSpacing, 20.0);
    // Applied to every trace's displays, and the panes redrew (hint 7).
    EXPECT_EQ(hints.counts[kHintDisplaySettings], 1);
    for (const CVXUserResult& u : doc_->GetCurrentResults()->userResults) {
        EXPECT_EQ(u.specDisplay.yAxisScaleType, kVXScaleAbsolute);
        EXPECT_EQ(u.chroDisplay.XAxisSpectraLabel(), QStringLiteral("Mass/charge"));
        EXPECT_EQ(u.chroDisplay.YAxisAbsoluteLabel(), QStringLiteral("Counts"));
    }
    double left = 0.0;
    double right = 0.0;
    doc_->GetChroTraceInfo(left, right);
    EXPECT_DOUBLE_EQ(left, 20.0);
    const QImage absolute = specPicture();
    EXPECT_GT(DifferentPixels(relative, absolute), 50);
    absolute.save(QStringLiteral("/tmp/i26-spec-absolute.png"));

    // OK without a change: nothing applied, no hint.
    WhenShown<CDisplaySettingsPropertySheet>([](CDisplaySettingsPropertySheet&) {});
    frame_->RunCommand(ID_OPTIONS_DISPLAY);
    EXPECT_EQ(hints.counts[kHintDisplaySettings], 1);
    // Cancel leaves the document's settings as they were.
    WhenShown<CDisplaySettingsPropertySheet>(
        [](CDisplaySettingsPropertySheet& sheet) {
            sheet.ScalingPage()->SpectrumScale()->button(kVXScaleRelative)->click();
        },
        false);
    frame_->RunCommand(ID_OPTIONS_DISPLAY);
    EXPECT_EQ(config.GetAxesDefaults(kVXMSDevice)->specYScaleType, kVXScaleAbsolute);
}

TEST_F(DisplayDialogsTest, DisplaySettingsPages) {
    CDisplaySettingsPropertySheet sheet(frame_.get());
    sheet.Configuration().GetAxesDefaults(3)->YAxisRelative(QStringLiteral("PDA %"));
    sheet.Configuration().GetAxesDefaults(3)->XAxisChromatograms(QStringLiteral("Minutes"));
    sheet.Configuration().GetAxesDefaults(1)->XAxisSpectra(QStringLiteral("own"));
    sheet.EnsureInitialized();
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPage(0)->windowTitle(), QStringLiteral("Axes Scaling"));
    EXPECT_EQ(sheet.GetPage(1)->windowTitle(), QStringLiteral("Axes Labels"));
    EXPECT_EQ(sheet.GetPage(2)->windowTitle(), QStringLiteral("Axes Positions"));
    ASSERT_TRUE(sheet.HelpButton());

    // Spacing: 50.0 is the most a side takes.
    CAxesPositionPage* positions = sheet.PositionPage();
    EXPECT_FALSE(positions->LeftSpacingEdit()->isEnabled());
    positions->LeftMode()->button(1)->click();
    EXPECT_TRUE(positions->LeftSpacingEdit()->isEnabled());
    positions->LeftSpacingEdit()->setText(QStringLiteral("50.0"));
    EXPECT_TRUE(positions->UpdateData(true));
    positions->LeftSpacingEdit()->setText(QStringLiteral("50.1"));
    EXPECT_FALSE(positions->UpdateData(true));

    // The spectra title belongs to detectors with spectra.
    CLabelsPage* labels = sheet.LabelsPage();
    labels->OnDetectorChanged(1);
    EXPECT_EQ(labels->DetectorShown(), 1);
    EXPECT_TRUE(labels->SpectrumTitle()->isHidden());
    labels->OnDetectorChanged(3);
    EXPECT_FALSE(labels->SpectrumTitle()->isHidden());
    EXPECT_EQ(labels->RelativeTitle()->text(), QStringLiteral("PDA %"));
    // A title too long keeps the page on its detector.
    // Titles hold at most 32 characters.
    labels->RelativeTitle()->setText(QString(40, QLatin1Char('x')));
    EXPECT_EQ(labels->RelativeTitle()->text().size(), 32);
    labels->RelativeTitle()->setText(QStringLiteral("PDA %"));
    // Set same: detector 3's Y and chromatogram titles go to all; spectra titles stay.
    labels->OnSetSame();
    for (int type = 0; type < kVXDetectorTypeCount; ++type) {
        const CVXAxesDefaults* d = sheet.Configuration().GetAxesDefaults(type);
        EXPECT_EQ(d->YAxisRelative(), QStringLiteral("PDA %")) << type;
        EXPECT_EQ(d->XAxisChromatograms(), QStringLiteral("Minutes")) << type;
    }
    EXPECT_EQ(sheet.Configuration().GetAxesDefaults(1)->XAxisSpectra(), QStringLiteral("own"));

    CScalingPage* scaling = sheet.ScalingPage();
    scaling->OnDetectorChanged(2);
    EXPECT_TRUE(scaling->SpectrumGroup()->isHidden());
    scaling->ChromatogramScale()->button(kVXScaleAbsolute)->click();
    scaling->OnSetSame();
    for (int type = 0; type < kVXDetectorTypeCount; ++type)
        EXPECT_EQ(sheet.Configuration().GetAxesDefaults(type)->chroYScaleType, kVXScaleAbsolute);
}

TEST_F(DisplayDialogsTest, AnAnnotationLandsAtThePickedPeakAndSurvivesALayoutSwitch) {
    // The spectrum pane's labels are watched on their way to the control.
    struct Placed {
        QString text;
        double x, y;
        ZAR_PLOTLib::VXPlot_LabelParams params;
    };
    std::vector<Placed> placed;
    RegisterAnnotationTarget(
        QStringLiteral("CSpecView"), kAnnotateSpectrum,
        [&placed](CZarViewWidget& v, const QString& text, double x, double y,
                  ZAR_PLOTLib::VXPlot_LabelParams* p) {
            placed.push_back({text, x, y, *p});
            dynamic_cast<CSpecView&>(v).AddTextLabel(text, x, y, p);
        },
        [](CZarViewWidget& v) { dynamic_cast<CSpecView&>(v).ClearTextLabels(); });

    frame_->ActivateViewOf(spec_);
    frame_->UpdateCommandUI();
    EXPECT_TRUE(frame_->Action(ID_ANNOTATE_ADD_TEXT)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_ANNOTATE_CLEAR_ALL)->isEnabled());
    frame_->RunCommand(ID_ANNOTATE_ADD_TEXT);
    CAnnotateDialog* dlg = AnnotateDialog();
    ASSERT_TRUE(dlg);
    EXPECT_FALSE(dlg->OkButton()->isEnabled());
    EXPECT_FALSE(dlg->ApplyButton()->isEnabled());

    // A click on the first scan picks its base peak (401, 1100): with three peaks the bracket
    // narrows to two at once and its more intense peak wins.
    ASSERT_EQ(spec_->Spectrum().header.data.nScanNumber, 1);
    const QImage before = specPicture();
    before.save(QStringLiteral("/tmp/i26-annotated-before.png"));
    spec_->OnSpecLButtonUp(true, 351.4, 0.0);
    EXPECT_EQ(dlg->TargetKind(), kAnnotateSpectrum);
    EXPECT_TRUE(dlg->ApplyButton()->isEnabled());
    dlg->TextEdit()->setText(QStringLiteral("base peak"));
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(8987))->click();  // boxed
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(8991))->click();  // marked: left
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(8999))->click();  // above the graph
    dlg->OnApply();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].text, QStringLiteral("base peak"));
    EXPECT_DOUBLE_EQ(placed[0].x, 401.0);
    EXPECT_DOUBLE_EQ(placed[0].y, 1100.0);
    EXPECT_EQ(placed[0].params.bAboveGraph, 1);
    EXPECT_EQ(placed[0].params.bBoxed, 1);
    EXPECT_EQ(placed[0].params.bPointer, 0);
    EXPECT_EQ(placed[0].params.eTextXAnchor, ZAR_PLOTLib::LeftX);
    EXPECT_EQ(placed[0].params.eTextYAnchor, ZAR_PLOTLib::CentreY);
    spec_->Control()->RedrawControl();
    const QImage after = spec_->Control()->ControlWindow()->grab().toImage();
    EXPECT_GT(DifferentPixels(before, after), 20);
    after.save(QStringLiteral("/tmp/i26-annotated-spectrum.png"));
    viewstest::Grab(*dlg, QStringLiteral("/tmp/i26-annotate-dialog.png"));

    // Another layout: the spectrum pane went with the old one; Apply places nothing and the
    // dialog waits for a new pick.
    switchTo(8);
    dlg->OnApply();
    EXPECT_EQ(placed.size(), 1u);
    EXPECT_FALSE(dlg->ApplyButton()->isEnabled());
    // A pick reported while a pane that takes no labels is active leaves no target.
    auto* layout = dynamic_cast<CSplitterLayoutView*>(frame_->CurrentView());
    ASSERT_TRUE(layout);
    frame_->ActivateViewOf(layout->FindPane(QStringLiteral("CPepmatchView")));
    UpdateAnnotateDialog(500.0, 10.0);
    EXPECT_EQ(dlg->TargetKind(), kAnnotateNoTarget);
    dlg->OnApply();
    EXPECT_EQ(placed.size(), 1u);
    // Back in the plot layout a new pick labels the new pane.
    switchTo(1);
    spec_ = pane<CSpecView>("CSpecView");
    ASSERT_TRUE(spec_);
    frame_->ActivateViewOf(spec_);
    doc_->GetCurrentResults()->GetCurrentUserResult()->currentScanPosition =
        doc_->ScanToRetentionTime(2);
    doc_->UpdateAllViews(nullptr, kHintScanRange);
    spec_->OnSpecLButtonUp(true, 160.0, 0.0);
    dlg->OnApply();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_DOUBLE_EQ(placed[1].x, 152.0);
    EXPECT_DOUBLE_EQ(placed[1].y, 500.0);
    frame_->RunCommand(ID_ANNOTATE_CLEAR_ALL);
    qobject_cast<QPushButton*>(dlg->GetDlgItem(2))->click();  // Close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(AnnotateDialog(), nullptr);
    RegisterAnnotationTarget<CSpecView>("CSpecView", kAnnotateSpectrum);
}

TEST_F(DisplayDialogsTest, APeakAtZeroEnablesNothingAndTheTraceTakesLabels) {
    frame_->ActivateViewOf(spec_);
    frame_->RunCommand(ID_ANNOTATE_ADD_TEXT);
    CAnnotateDialog* dlg = AnnotateDialog();
    ASSERT_TRUE(dlg);
    UpdateAnnotateDialog(0.0, 0.0);
    EXPECT_EQ(dlg->TargetKind(), kAnnotateSpectrum);
    EXPECT_FALSE(dlg->OkButton()->isEnabled());
    // A click on a trace names the trace pane.
    frame_->ActivateViewOf(trace_);
    trace_->OnChroLButtonUp(0, 0, true, doc_->ScanToRetentionTime(3), 0.0);
    EXPECT_EQ(dlg->TargetKind(), kAnnotateTrace);
    EXPECT_TRUE(dlg->OkButton()->isEnabled());
    dlg->TextEdit()->setText(QString());  // an empty text is an empty label
    qobject_cast<QPushButton*>(dlg->GetDlgItem(1))->click();  // OK
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(AnnotateDialog(), nullptr);
}

TEST_F(DisplayDialogsTest, AnnotateIsOfferedOnlyForPanesThatTakeLabels) {
    frame_->ActivateViewOf(spec_);
    frame_->UpdateCommandUI();
    EXPECT_TRUE(frame_->Action(ID_ANNOTATE_ADD_TEXT)->isEnabled());
    switchTo(8);
    auto* layout = dynamic_cast<CSplitterLayoutView*>(frame_->CurrentView());
    ASSERT_TRUE(layout);
    CZarViewWidget* pepmatch = layout->FindPane(QStringLiteral("CPepmatchView"));
    CZarViewWidget* pepmatchSpec = layout->FindPane(QStringLiteral("CPepmatchSpecView"));
    ASSERT_TRUE(pepmatch && pepmatchSpec);
    frame_->ActivateViewOf(pepmatch);
    frame_->UpdateCommandUI();
    EXPECT_FALSE(frame_->Action(ID_ANNOTATE_ADD_TEXT)->isEnabled());
    frame_->ActivateViewOf(pepmatchSpec);
    frame_->UpdateCommandUI();
    EXPECT_TRUE(frame_->Action(ID_ANNOTATE_ADD_TEXT)->isEnabled());
    EXPECT_EQ(AnnotationKindOf(pepmatchSpec), kAnnotatePepmatchSpectrum);
    viewstest::Grab(*frame_, QStringLiteral("/tmp/i26-frame-pepmatch.png"));
}
