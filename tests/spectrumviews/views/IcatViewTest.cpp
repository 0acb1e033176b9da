// The XPRESS page on a run of light/heavy pairs of known heights: the stored ratio and both
// chromatograms of a hit, Calculate ratio within edited times (checked against the peak sums),
// Update table, the scroll bar, zooming, printing and a worker asked for a new hit while busy.

#include "spectrumviews/views/IcatView.h"
#include "spectrumviews/views/ViewCommands.h"

#include "app/MainFrame.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "controls/NumericEditCtrl.h"
#include "document/SorvexResults.h"
#include "document/UpdateHints.h"
#include "rawfile/RunFileWriter.h"
#include "spectrumviews/XpressQuant.h"

#include "ViewsTestSupport.h"
#include "WidgetWatch.h"
#include "XpressTestRun.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>

using namespace zar;
using namespace xpresstest;

namespace {

class IcatViewTest : public XpressRunTest {
  protected:
    void SetUp() override {
        XpressRunTest::SetUp();
        WriteXpressSettings();
    }

    // A document with the run open and its results read with XPRESS on.
    void load(const QString& residue = QStringLiteral("C")) {
        doc_ = std::make_unique<CZarDoc>();
        doc_->SetXpressResidue(residue);
        ASSERT_TRUE(OpenAndRead(*doc_));
    }

    void makeView() {
        view_ = std::make_unique<CIcatView>(nullptr);
        view_->resize(1000, 520);
        view_->show();
        view_->OnInitialUpdate();
    }

    SearchHitRecord* hitOf(const char* peptide) {
        CSorvexResults* set = doc_->GetSorvexResults();
        for (int i = 0; i < set->GetHitCount(); ++i)
            if (set->GetHit(i)->peptide == QLatin1String(peptide)) return set->GetHit(i);
        return nullptr;
    }

    void show(const char* peptide) {
        SearchHitRecord* hit = hitOf(peptide);
        ASSERT_NE(hit, nullptr) << peptide;
        view_->SetXpressEntry(hit->hitNumber(), 1);
        ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    }

    // Types a time into an edit as a user would: the text changes and counts as typed.
    static void type(QLineEdit* edit, double value) {
        edit->setText(QCFormat("%.2f", value));
        edit->setModified(true);
    }

    static double timeOf(int scan) { return 0.05 * scan; }

    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CIcatView> view_;
};

}  // namespace

TEST_F(IcatViewTest, AHitShowsItsStoredRatioAndBothChromatograms) {
    load();
    makeView();
    const SearchHitRecord& hit = *hitOf("K.PEPCTIDEK.R");
    EXPECT_DOUBLE_EQ(hit.quantitationRatio, 0.5);  // 2 : 1, stored by the load-time pass
    show("K.PEPCTIDEK.R");
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    EXPECT_EQ(view_->Title(), QStringLiteral("XPRESS - pairs.0042.0042.2.out"));
    EXPECT_EQ(view_->RatioText(CIcatView::kLight), QStringLiteral("2.00 : 1"));
    EXPECT_EQ(view_->RatioText(CIcatView::kHeavy), QStringLiteral("1 : 0.50"));
    EXPECT_DOUBLE_EQ(view_->Mass(CIcatView::kLight), 1000.5);
    EXPECT_DOUBLE_EQ(view_->Mass(CIcatView::kHeavy), 1008.5);
    for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
        const int first = form == CIcatView::kLight ? hit.lightPeakStart : hit.heavyPeakStart;
        const int last = form == CIcatView::kLight ? hit.lightPeakEnd : hit.heavyPeakEnd;
        EXPECT_DOUBLE_EQ(view_->StartTime(form), timeOf(first));
        EXPECT_DOUBLE_EQ(view_->EndTime(form), timeOf(last));
        EXPECT_EQ(view_->StartEdit(form)->text(), QCFormat("%.2f", timeOf(first)));

        // One point per full-MS scan of the run, its last scan included; nothing measured is
        // 0.0001.
        const CVXChro& trace = view_->Trace(form);
        ASSERT_EQ(trace.points.size(), static_cast<size_t>((kScans + 1) / 2));
        EXPECT_EQ(trace.points.front().nScanPosition, 1);
        EXPECT_EQ(trace.points.back().nScanPosition, kScans);
        EXPECT_DOUBLE_EQ(trace.points.back().dIntensity, CIcatView::kLeastIntensity);
        const double height = form == CIcatView::kLight ? 2.0 : 1.0;
        EXPECT_EQ(trace.points[20].nScanPosition, 41);
        EXPECT_DOUBLE_EQ(trace.points[20].dIntensity, height * kApexHeight);
        EXPECT_DOUBLE_EQ(trace.dataIntensityHigh, height * kApexHeight);

        // The marker spans the integrated peak.
        const auto& marker = view_->Marker(form);
        EXPECT_DOUBLE_EQ(marker.dStartPosition, timeOf(first));
        EXPECT_DOUBLE_EQ(marker.dEndPosition, timeOf(last));
        // At the height the line has there: between the full-MS scans around an MS/MS scan.
        auto drawn = [&](int scan) {
            if (IsFullScan(scan))
                return std::max(PeakAt(scan, 41, height), CIcatView::kLeastIntensity);
            return (std::max(PeakAt(scan - 1, 41, height), CIcatView::kLeastIntensity) +
                    std::max(PeakAt(scan + 1, 41, height), CIcatView::kLeastIntensity)) /
                   2.0;
        };
        EXPECT_NEAR(marker.dStartIntensity, drawn(first), 1e-6);
        EXPECT_NEAR(marker.dEndIntensity, drawn(last), 1e-6);
        EXPECT_EQ(marker.lineColor, CIcatView::kMarkerColor);
        EXPECT_EQ(marker.symbol, ZAR_PLOTLib::VXPlot_MarkerSymbolType_Triangle);
    }
    // The window: the scan window and ten scans more on each side of both peaks.
    const int low = std::min(hit.lightPeakStart, hit.heavyPeakStart);
    const int high = std::max(hit.lightPeakEnd, hit.heavyPeakEnd);
    EXPECT_DOUBLE_EQ(view_->TraceDisplay(CIcatView::kHeavy).xStart,
                     timeOf(std::max(1, low - kScanWindow - 10)));
    EXPECT_DOUBLE_EQ(view_->TraceDisplay(CIcatView::kHeavy).xEnd, timeOf(high + kScanWindow + 10));
    EXPECT_TRUE(view_->CalculateButton()->isEnabled());
    EXPECT_FALSE(view_->UpdateButton()->isEnabled());
    EXPECT_EQ(view_->ChargeList()->count(), 2);
    EXPECT_EQ(view_->ChargeList()->currentText(), QStringLiteral("2"));
    viewstest::Grab(*view_, QStringLiteral("/tmp/i27_icat_pair.png"));
}

TEST_F(IcatViewTest, ACalculationOfUnchangedRangesReproducesTheStoredRatio) {
    load();
    makeView();
    for (const char* peptide : {"K.PEPCTIDEK.R", "R.AC*DC*EFK.G"}) {
        show(peptide);
        const SearchHitRecord& hit = *hitOf(peptide);
        view_->OnCalculateRatio();
        ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
        EXPECT_EQ(view_->TableRatioText(), XpressRatioText(hit.quantitationRatio)) << peptide;
        EXPECT_TRUE(view_->UpdateButton()->isEnabled());
    }
    EXPECT_EQ(view_->TableRatioText(), QStringLiteral("0.33 : 1"));
    EXPECT_EQ(view_->RatioText(CIcatView::kHeavy), QStringLiteral("1 : 3.00"));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
}

TEST_F(IcatViewTest, EditedRangesChangeTheRatioAsThePeakSumsSay) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    // The light range over the right half of the peak only; the heavy range as stored.
    type(view_->StartEdit(CIcatView::kLight), timeOf(41));
    type(view_->EndEdit(CIcatView::kLight), timeOf(41 + kHalfWidth));
    view_->OnCalculateRatio();
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();

    // By hand: the sum of the light trace over the typed scans against the whole heavy peak.
    const double light = RightHalfArea(41, 2.0);
    const double heavy = PeakArea(41, 1.0);
    EXPECT_EQ(view_->RatioText(CIcatView::kLight), QCFormat("%.2lf : 1", light / heavy));
    EXPECT_EQ(view_->RatioText(CIcatView::kHeavy), QCFormat("1 : %.2lf", heavy / light));
    EXPECT_EQ(view_->TableRatioText(), XpressRatioText(XpressRatio(light, heavy)));
    // The typed times stay, and the marker follows them.
    EXPECT_EQ(view_->PeakFirstScan(CIcatView::kLight), 41);
    EXPECT_EQ(view_->PeakLastScan(CIcatView::kLight), 41 + kHalfWidth);
    EXPECT_DOUBLE_EQ(view_->Marker(CIcatView::kLight).dStartPosition, timeOf(41));
    // The record is not changed until Update table.
    EXPECT_DOUBLE_EQ(hitOf("K.PEPCTIDEK.R")->quantitationRatio, 0.5);
    viewstest::Grab(*view_, QStringLiteral("/tmp/i27_icat_edited.png"));

    // The later light-only peak lies outside the scans read around the identification, where
    // the chromatogram shows nothing either: a range there holds no light at all.
    type(view_->StartEdit(CIcatView::kLight), timeOf(121 - 20));
    type(view_->EndEdit(CIcatView::kLight), timeOf(121 + 20));
    view_->OnCalculateRatio();
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_EQ(view_->RatioText(CIcatView::kLight), QString());
    EXPECT_EQ(view_->TableRatioText(), QString());
}

TEST_F(IcatViewTest, UpdateTableWritesTheRatioIntoTheHitAndItsSummaryCell) {
    load();
    CMainFrame frame(doc_.get());
    makeView();
    show("K.PEPCTIDEK.R");
    type(view_->StartEdit(CIcatView::kLight), timeOf(41));
    type(view_->EndEdit(CIcatView::kLight), timeOf(41 + kHalfWidth));
    view_->OnCalculateRatio();
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_DOUBLE_EQ(hitOf("K.PEPCTIDEK.R")->quantitationRatio, 0.5);
    // The main window takes the posted copy on its own thread.
    QTest::mouseClick(view_->UpdateButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
    const SearchHitRecord& hit = *hitOf("K.PEPCTIDEK.R");
    const double light = RightHalfArea(41, 2.0);
    EXPECT_NEAR(hit.quantitationRatio, XpressRatio(light, PeakArea(41, 1.0)), 1e-12);
    EXPECT_EQ(XpressRatioText(hit.quantitationRatio), view_->TableRatioText());
    EXPECT_EQ(hit.lightPeakStart, 41);
    EXPECT_NEAR(hit.lightArea, light, 1e-6 * hit.lightArea);
    // Shown again, the hit shows what was written.
    const QString written = view_->RatioText(CIcatView::kLight);
    show("R.AC*DC*EFK.G");
    show("K.PEPCTIDEK.R");
    EXPECT_EQ(view_->RatioText(CIcatView::kLight), written);
}

TEST_F(IcatViewTest, AHitWithoutARatioShowsItsValuesAndStartsNoWorker) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    SearchHitRecord* hit = hitOf("K.PEPTIDEWR.A");
    EXPECT_EQ(hit->quantitationRatio, 0.0);
    view_->SetXpressEntry(hit->hitNumber(), 4);
    EXPECT_FALSE(view_->IsBusy());
    EXPECT_EQ(view_->Title(), QStringLiteral("XPRESS - pairs.0262.0262.2.out"));
    EXPECT_TRUE(view_->RatioText(CIcatView::kLight).isEmpty());
    EXPECT_TRUE(view_->RatioText(CIcatView::kHeavy).isEmpty());
    EXPECT_FALSE(view_->CalculateButton()->isEnabled());
    EXPECT_FALSE(view_->UpdateButton()->isEnabled());
    // The chromatograms of the hit shown before are not left beside this one's values.
    EXPECT_TRUE(view_->Trace(CIcatView::kLight).points.empty());
}

TEST_F(IcatViewTest, RatioTextsFollowTheStoredAreas) {
    load();
    makeView();
    struct Case {
        double light;
        double heavy;
        const char* lightText;
        const char* heavyText;
    };
    const Case cases[] = {
        {100.0, 50.0, "2.00 : 1", "1 : 0.50"},
        {50.0, 100.0, "0.50 : 1", "1 : 2.00"},
        {100.0, 0.0, "", "1 : 0.00"},
        {0.0, 100.0, "", ""},
    };
    SearchHitRecord* hit = hitOf("K.PEPTIDEWR.A");
    for (const Case& c : cases) {
        hit->lightArea = c.light;
        hit->heavyArea = c.heavy;
        view_->SetXpressEntry(hit->hitNumber(), 4);  // no ratio: no worker
        EXPECT_EQ(view_->RatioText(CIcatView::kLight), QLatin1String(c.lightText)) << c.light;
        EXPECT_EQ(view_->RatioText(CIcatView::kHeavy), QLatin1String(c.heavyText)) << c.light;
    }
}

TEST_F(IcatViewTest, ANewHitWhileTheWorkerRunsIsShownWhenItEnds) {
    load();
    makeView();
    const SearchHitRecord& first = *hitOf("K.PEPCTIDEK.R");
    const SearchHitRecord& second = *hitOf("R.AC*DC*EFK.G");
    view_->SetXpressEntry(first.hitNumber(), 1);
    ASSERT_TRUE(view_->IsBusy());
    view_->OnCalculateRatio();  // refused while busy
    view_->SetXpressEntry(second.hitNumber(), 2);
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_EQ(view_->Title(), QStringLiteral("XPRESS - pairs.0182.0182.2.out"));
    // The heavy form of the second hit is three times the light one.
    EXPECT_DOUBLE_EQ(view_->Trace(CIcatView::kHeavy).dataIntensityHigh, 3.0 * kApexHeight);
    EXPECT_DOUBLE_EQ(view_->Trace(CIcatView::kLight).dataIntensityHigh, 1.0 * kApexHeight);
    EXPECT_FALSE(view_->UpdateButton()->isEnabled());
    EXPECT_TRUE(view_->TableRatioText().isEmpty());

    // A hit without a ratio while busy: the running result is not shown for it.
    view_->SetXpressEntry(first.hitNumber(), 1);
    view_->SetXpressEntry(hitOf("K.PEPTIDEWR.A")->hitNumber(), 4);
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_TRUE(view_->Trace(CIcatView::kLight).points.empty());
    EXPECT_EQ(view_->Title(), QStringLiteral("XPRESS - pairs.0262.0262.2.out"));
}

TEST_F(IcatViewTest, AToleranceOutsideItsLimitsIsRefused) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    view_->ToleranceEdit()->setText(QStringLiteral("20"));
    view_->ToleranceEdit()->setModified(true);
    view_->OnCalculateRatio();
    EXPECT_FALSE(view_->IsBusy());
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_EQ(boxes_.texts()[0], QStringLiteral("Mass tolerance: ") + NumberRangeMessage(0.0, 15.0));
    EXPECT_DOUBLE_EQ(view_->MassTolerance(), 1.5);
}

TEST_F(IcatViewTest, EveryQuantitationUsesTheDocumentsResidueAndTheConfiguredDifference) {
    WriteXpressSettings(6.0);
    load(QStringLiteral("K"));
    makeView();
    const SearchHitRecord& hit = *hitOf("R.SAMPLEK.A");
    EXPECT_DOUBLE_EQ(hit.quantitationRatio, -0.5);  // light 1 : heavy 2, labelled on K by +6.0
    show("R.SAMPLEK.A");
    EXPECT_DOUBLE_EQ(view_->Trace(CIcatView::kHeavy).dataIntensityHigh, 2.0 * kApexHeight);
    view_->OnCalculateRatio();
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_EQ(view_->TableRatioText(), QStringLiteral("0.50 : 1"));
    EXPECT_DOUBLE_EQ(view_->Mass(CIcatView::kHeavy), 1106.0);
}

TEST_F(IcatViewTest, TheScrollBarStepsByTensAndShowsBothTraces) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    const double full = view_->FullEnd() - view_->FullStart();
    EXPECT_DOUBLE_EQ(view_->FullStart(), timeOf(1));
    EXPECT_DOUBLE_EQ(view_->FullEnd(), timeOf(kScans));
    struct Case {
        ScrollStep step;
        int from;
        int to;
    };
    const Case cases[] = {
        {ScrollStep::LineForward, 37, 40}, {ScrollStep::LineForward, 65, 70},
        {ScrollStep::LineBack, 37, 20},    {ScrollStep::LineBack, 5, 0},
        {ScrollStep::PageBack, 37, 7},     {ScrollStep::PageForward, 37, 67},
        {ScrollStep::PageForward, 65, 70},
    };
    for (const Case& c : cases) {
        // A window of 29 per cent gives a page of 30.
        const double start = view_->FullStart() + (c.from + 0.5) * 0.01 * full;
        view_->SetScrollRange(start, start + 0.29 * full + 1e-9);
        ASSERT_EQ(view_->ScrollBar()->pageStep(), 30);
        ASSERT_EQ(view_->ScrollBar()->value(), c.from);
        view_->OnHScroll(c.step, 0);
        EXPECT_EQ(view_->ScrollBar()->value(), c.to) << ScrollCodeOf(c.step) << " from " << c.from;
        for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
            EXPECT_NEAR(view_->TraceDisplay(form).xStart, view_->FullStart() + c.to * 0.01 * full,
                        1e-9);
            EXPECT_NEAR(view_->TraceDisplay(form).xEnd,
                        view_->FullStart() + (c.to + 30) * 0.01 * full, 1e-9);
        }
    }
}

TEST_F(IcatViewTest, ZoomingActsOnBothTracesAndTheScrollBarFollows) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    // The window counts as a zoomed view: Display All is offered, Normalize not.
    EXPECT_TRUE(view_->IsCommandEnabled(ID_PLOT_DISPLAY_ALL));
    EXPECT_FALSE(view_->IsCommandEnabled(ID_PLOT_NORMALIZE));
    view_->OnCommand(ID_PLOT_DISPLAY_ALL);
    EXPECT_FALSE(view_->IsCommandEnabled(ID_PLOT_DISPLAY_ALL));
    EXPECT_FALSE(view_->ScrollBar()->isEnabled());

    view_->OnChroZoom(0, 0, true, 2.0, 0.0, 3.0, 5.0e5);
    for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
        EXPECT_DOUBLE_EQ(view_->TraceDisplay(form).xStart, 2.0);
        EXPECT_DOUBLE_EQ(view_->TraceDisplay(form).xEnd, 3.0);
        EXPECT_TRUE(view_->TraceDisplay(form).yZoomed);
    }
    const double span = view_->FullEnd() - view_->FullStart();
    EXPECT_EQ(view_->ScrollBar()->value(),
              static_cast<int>((2.0 - view_->FullStart()) * 100 / span));
    EXPECT_TRUE(view_->IsCommandEnabled(ID_PLOT_NORMALIZE));
    view_->OnChroZoom(0, 0, false, 5.0, 0.0, 6.0, 0.0);  // no valid zoom: nothing changes
    EXPECT_DOUBLE_EQ(view_->TraceDisplay(CIcatView::kLight).xStart, 2.0);
    view_->OnCommand(ID_PLOT_ZOOM_IN_X);
    EXPECT_DOUBLE_EQ(
        view_->TraceDisplay(CIcatView::kHeavy).xEnd - view_->TraceDisplay(CIcatView::kHeavy).xStart,
        0.5);
    view_->OnCommand(ID_PLOT_RESET_SCALING);
    for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
        EXPECT_FALSE(view_->TraceDisplay(form).xZoomed);
        EXPECT_FALSE(view_->TraceDisplay(form).yZoomed);
    }
    EXPECT_FALSE(view_->IsCommandEnabled(ID_PLOT_RESET_SCALING));
}

TEST_F(IcatViewTest, ARunWhoseScansShareOneTimeHasNothingToScroll) {
    // Five scans at one retention time: the full time range has no span.
    QTemporaryDir dir;
    const Peptide& p = Peptides().front();
    QString error;
    ASSERT_TRUE(WriteRunFile(
        dir.filePath(QStringLiteral("flat.mzML")), 5,
        [&](int index) {
            RunSpectrum s;
            s.scanNumber = index + 1;
            s.retentionTime = 1.0;
            const bool full = IsFullScan(s.scanNumber);
            s.msLevel = full ? 1 : 2;
            s.filterString = QString::fromLatin1(full ? spectrumtest::kFullScanFilter
                                                      : spectrumtest::kMSMSFilter);
            if (!full) s.precursors.push_back(RunPrecursor{500.0, 2});
            const double height = s.scanNumber == 3 ? 1000.0 : 0.0;
            s.mz = {MzOf(p.lightMH, p.charge), MzOf(HeavyMH(p), p.charge)};
            s.intensity = {2.0 * height, height};
            return s;
        },
        error))
        << error.toStdString();
    const QString folder = dir.filePath(QStringLiteral("flat"));
    QDir().mkpath(folder);
    const QString name = SpectrumName(p, QStringLiteral("flat"), 4);
    ASSERT_TRUE(
        WriteFile(folder + QLatin1Char('/') + name + QStringLiteral(".out"), OutText(p, 1, name)));
    doc_ = std::make_unique<CZarDoc>();
    ASSERT_TRUE(doc_->OnOpenDocument(dir.filePath(QStringLiteral("flat.mzML"))));
    CSorvexResults* set = doc_->GetSorvexResults();
    set->SetRawFilePath(doc_->GetRawFilePath());
    XpressOptions options = set->GetXpressOptions();
    options.autoCalculate = true;
    set->SetXpressOptions(options);
    ASSERT_TRUE(set->Initialize());
    ASSERT_TRUE(set->ReadResults(folder));
    ASSERT_EQ(set->GetHitCount(), 1);
    ASSERT_NE(set->GetHit(0)->quantitationRatio, 0.0);

    makeView();
    view_->SetXpressEntry(set->GetHit(0)->hitNumber(), 1);
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_DOUBLE_EQ(view_->FullStart(), view_->FullEnd());
    EXPECT_FALSE(view_->ScrollBar()->isEnabled());
    for (ScrollStep step : {ScrollStep::LineBack, ScrollStep::LineForward, ScrollStep::PageBack,
                            ScrollStep::PageForward, ScrollStep::ThumbTrack})
        view_->OnHScroll(step, 0);
    view_->ScrollToRange(10, 30);
    view_->OnCommand(ID_PLOT_ZOOM_IN_X);
    EXPECT_EQ(view_->ScrollBar()->value(), 0);
    viewstest::Grab(*view_, QStringLiteral("/tmp/i27_icat_flat.png"));
}

TEST_F(IcatViewTest, ThePrintedPageCarriesBothFormsAndTheirChromatograms) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    QImage page(850, 1100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        view_->PrintPage(painter, page.rect(), 100, 100, false);
    }
    page.save(QStringLiteral("/tmp/i27_icat_print.png"));
    // Ink in the text column and in both chromatogram halves.
    auto inked = [&page](const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (page.pixelColor(x, y) != QColor(Qt::white)) ++n;
        return n;
    };
    EXPECT_GT(inked(QRect(0, 0, 170, 550)), 100);
    EXPECT_GT(inked(QRect(250, 100, 550, 400)), 100);
    EXPECT_GT(inked(QRect(250, 600, 550, 400)), 100);
}

// One right click on a chromatogram, one context menu: the control's right-click event opens it,
// and the context-menu event that follows the same click opens no second one.
TEST_F(IcatViewTest, ARightClickOnAChromatogramOpensOneMenu) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    QApplication::processEvents();
    for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
        ASSERT_TRUE(view_->Control(form) && view_->Control(form)->ControlWindow()) << form;
        EXPECT_EQ(zartest::MenusShownByRightClick(view_->Control(form)->ControlWindow()), 1)
            << form;
    }
}

// What both controls' own windows show follows each load, zoom and scroll: the control's setters
// do not repaint it, so each of them must have it painted again.
TEST_F(IcatViewTest, BothChromatogramsAreRedrawnAfterEachLoadZoomAndScroll) {
    load();
    makeView();
    show("K.PEPCTIDEK.R");
    QApplication::processEvents();
    std::vector<std::unique_ptr<zartest::PaintCounter>> paints;
    for (int form : {CIcatView::kLight, CIcatView::kHeavy}) {
        ASSERT_TRUE(view_->Control(form) && view_->Control(form)->ControlWindow()) << form;
        paints.push_back(
            std::make_unique<zartest::PaintCounter>(view_->Control(form)->ControlWindow()));
    }
    const auto paintedAfter = [&](const char* step, const std::function<void()>& action) {
        for (auto& p : paints) p->reset();
        action();
        QApplication::processEvents();
        for (std::size_t form = 0; form < paints.size(); ++form)
            EXPECT_GT(paints[form]->painted(), 0) << step << ", form " << form;
    };
    paintedAfter("another hit", [&] { show("K.PEPCTIDEK.R"); });
    paintedAfter("Zoom In X", [&] { view_->OnCommand(ID_PLOT_ZOOM_IN_X); });
    paintedAfter("a scroll step", [&] { view_->OnHScroll(ScrollStep::LineForward, 0); });
    paintedAfter("the thumb dragged", [&] { view_->OnHScroll(ScrollStep::ThumbTrack, 10); });
    paintedAfter("Zoom In Y", [&] { view_->OnCommand(ID_PLOT_ZOOM_IN_Y); });
    paintedAfter("Reset Scaling", [&] { view_->OnCommand(ID_PLOT_RESET_SCALING); });
    paintedAfter("a zoom box", [&] { view_->OnChroZoom(0, 0, true, 0.2, 0.0, 0.6, 0.0); });
    paintedAfter("the hit cleared", [&] { view_->Display(SelectedResult()); });
}
