// The Pepmatch layout on a small run whose MS/MS scan 2 holds b and y ions of PEPTIDE: the
// table of the sequence, the options dialog, the run against the scan shown, the ions marked on
// the spectrum pane, its own zoom and scroll bar, printing and export.

#include "app/SplitterViews.h"
#include "app/grids/DisplayGrids.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "app/plotwrappers/SpecToolBar.h"
#include "controls/EditTextOnly.h"
#include "controls/NumericEditCtrl.h"
#include "document/UpdateHints.h"
#include "spectrumviews/PepmatchData.h"
#include "spectrumviews/views/PepmatchOptionsDlg.h"
#include "spectrumviews/views/PepmatchSpecView.h"
#include "spectrumviews/views/PepmatchView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpectrumPanes.h"
#include "spectrumviews/views/ViewCommands.h"

#include "ViewsTestSupport.h"
#include "WidgetWatch.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <map>

using namespace zar;

namespace {

// Monoisotopic ions of PEPTIDE with this program's hydrogen atom for the charge.
constexpr double kB2 = 227.1032;
constexpr double kB3 = 324.1559;
constexpr double kY1 = 148.0610;
constexpr double kY2 = 263.0880;
constexpr double kY3 = 376.1720;

// Scan 2 (MS/MS) holds PEPTIDE's b2, b3, y1, y2 and y3 (the last at exactly 2 % of the base
// peak) and one peak of no ion; scan 3 has a single peak; the other scans none of the ions.
bool WritePepmatchRun(const QString& path) {
    return spectrumtest::WriteRun(
        path, 6, [](int n) { return n % 2 == 1; },
        [](int n) {
            spectrumtest::Peaks p;
            if (n == 2) {
                p = {{kB2 + 0.01, 500.0},  {kB3 - 0.02, 800.0}, {kY1, 1000.0},
                     {kY2 + 0.03, 300.0}, {kY3, 20.0},         {600.0, 50.0}};
            } else if (n == 3) {
                p = {{450.0, 700.0}};
            } else {
                p = {{400.0 + n, 900.0}, {700.0, 100.0}};
            }
            return p;
        });
}

QString LabelOf(const ZAR_PLOTLib::VXPlot_PeakInfo& info) {
    QString text;
    for (int k = 0; k < 16 && info.cLabelText[k] != 0; ++k)
        text += QChar(static_cast<char16_t>(info.cLabelText[k]));
    return text;
}

class PepmatchLayoutTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        dir_ = std::make_unique<QTemporaryDir>();
        runPath_ = dir_->path() + QStringLiteral("/pepmatch.mzML");
        runWritten_ = WritePepmatchRun(runPath_);
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
        doc_->SetSequence(QString());
        ASSERT_TRUE(CanMakeWholeView(QStringLiteral("CPepmatchSplitterView")));
        layout_ = std::make_unique<CSplitterLayoutView>(*LayoutForViewType(8));
        layout_->resize(1000, 800);
        layout_->show();
        layout_->OnInitialUpdate();
        doc_->UpdateAllViews(nullptr, kHintPepmatchLayout);
        view_ = dynamic_cast<CPepmatchView*>(layout_->FindPane(QStringLiteral("CPepmatchView")));
        spec_ = dynamic_cast<CPepmatchSpecView*>(
            layout_->FindPane(QStringLiteral("CPepmatchSpecView")));
        ASSERT_TRUE(view_);
        ASSERT_TRUE(spec_);
        ASSERT_TRUE(layout_->MissingPanes().isEmpty());
    }
    void TearDown() override {
        layout_.reset();
        doc_.reset();
    }

    void showScan(int scan) {
        doc_->GetCurrentResults()->GetCurrentUserResult()->currentScanPosition =
            doc_->ScanToRetentionTime(scan);
        doc_->UpdateAllViews(nullptr, kHintScanRange);
    }
    // Enters a sequence as the sequence editor does and runs Pepmatch on monoisotopic masses.
    void runPepmatch(const QString& sequence) {
        doc_->SetSequence(sequence);
        view_->FillSelectIonsGrid();
        view_->Options().monoisotopic = 1;
        view_->CalculatePepmatch();
        // The main window answers the engine's message with hint 61.
        doc_->UpdateAllViews(nullptr, kHintFragmentIons);
    }
    double cell(int row, int col) const {
        return view_->Grid()->GetModel()->GetNumber(row, col);
    }
    bool coloured(int row, int col) const {
        const CGXStyle s = view_->Grid()->GetStyleRowCol(row, col);
        return s.textColor && *s.textColor != QColor(Qt::black);
    }
    std::map<QString, ZAR_PLOTLib::VXPlot_PeakInfo> infosByLabel() const {
        std::map<QString, ZAR_PLOTLib::VXPlot_PeakInfo> out;
        for (const auto& info : spec_->PeakInfos()) out[LabelOf(info)] = info;
        return out;
    }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString runPath_;
    static inline bool runWritten_ = false;
    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CSplitterLayoutView> layout_;
    CPepmatchView* view_ = nullptr;
    CPepmatchSpecView* spec_ = nullptr;
};

}  // namespace

TEST_F(PepmatchLayoutTest, ANewViewShowsTheTitlesAndTwentyFiveEmptyRows) {
    CIonListGrid* grid = view_->Grid();
    ASSERT_EQ(grid->GetColCount(), 18);
    EXPECT_EQ(grid->GetValueRowCol(0, 1), QStringLiteral("AA"));
    EXPECT_EQ(grid->GetValueRowCol(0, 2), QStringLiteral("M + H"));
    EXPECT_EQ(grid->GetValueRowCol(0, 11), QStringLiteral("Y"));
    EXPECT_EQ(grid->GetValueRowCol(0, 18), QStringLiteral("P int"));
    EXPECT_EQ(grid->GetRowCount(), 25);
    // No sequence: Options and Update wait for one.
    EXPECT_FALSE(view_->Button(CPepmatchView::kOptionsId)->isEnabled());
    EXPECT_FALSE(view_->Button(CPepmatchView::kUpdateId)->isEnabled());
    EXPECT_TRUE(view_->Button(CPepmatchView::kSequenceId)->isEnabled());
    const PepmatchOptions& o = view_->Options();
    EXPECT_EQ(o.labelColor, 0x00FF0000u);
    EXPECT_DOUBLE_EQ(o.threshold, 2.0);
    EXPECT_EQ(o.append, 0);
    EXPECT_EQ(o.monoisotopic, 0);
    EXPECT_EQ(o.series, DefaultSeriesFlags());
    viewstest::Grab(*layout_, QStringLiteral("/tmp/i26-pepmatch-empty.png"));
}

TEST_F(PepmatchLayoutTest, PepmatchMarksTheIonsMatchedOnTheScanShown) {
    showScan(2);
    ASSERT_EQ(spec_->Spectrum().header.data.nScanNumber, 2);
    runPepmatch(QStringLiteral("peptide"));
    EXPECT_EQ(doc_->GetSequence(), QStringLiteral("PEPTIDE"));  // upper-cased and stored
    EXPECT_EQ(view_->Grid()->GetValueRowCol(1, 1), QStringLiteral(" P "));
    // Matched ions show the peak's m/z in the label colour; the others their own mass.
    EXPECT_NEAR(cell(2, kIonGridFirstIonColumn + kIonB), kB2 + 0.01, 1e-9);
    EXPECT_TRUE(coloured(2, kIonGridFirstIonColumn + kIonB));
    EXPECT_NEAR(cell(7, kIonGridFirstIonColumn + kIonY), kY1, 1e-9);
    EXPECT_NEAR(cell(5, kIonGridFirstIonColumn + kIonY), kY3, 1e-9);  // 2 % of the base peak
    EXPECT_NEAR(cell(4, kIonGridFirstIonColumn + kIonB), 425.2036, 1e-3);
    EXPECT_FALSE(coloured(4, kIonGridFirstIonColumn + kIonB));
    EXPECT_TRUE(view_->Grid()->GetValueRowCol(1, kIonGridFirstIonColumn + kIonA).isEmpty());

    const auto infos = infosByLabel();
    const std::pair<const char*, double> matched[] = {{"B2", kB2 + 0.01}, {"B3", kB3 - 0.02},
                                                      {"Y'1", kY1},       {"Y'2", kY2 + 0.03},
                                                      {"Y'3", kY3}};
    for (const auto& [label, mz] : matched) {
        const auto it = infos.find(QString::fromLatin1(label));
        ASSERT_NE(it, infos.end()) << label;
        EXPECT_NEAR(it->second.apex.dMass, mz, 1e-9) << label;
        EXPECT_GT(it->second.apex.dIntensity, 0.0) << label;
        EXPECT_NEAR(it->second.right.dMass - it->second.left.dMass, 1.0, 1e-9);
        EXPECT_EQ(it->second.bShowText, 1);
        EXPECT_EQ(it->second.bShowCharge, 0);
    }
    EXPECT_EQ(infos.at(QStringLiteral("B4")).apex.dIntensity, 0.0);
    const auto all = spec_->PeakInfos();
    EXPECT_EQ(static_cast<int>(all.size()), doc_->GetPepmatchData()->GetIonList()->labelledIonCount());
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LE(all[i - 1].apex.dMass, all[i].apex.dMass);
    viewstest::Grab(*layout_, QStringLiteral("/tmp/i26-pepmatch-matched.png"));

    // Another scan: the ions were matched on scan 2 and are not drawn on it.
    showScan(4);
    EXPECT_EQ(spec_->Spectrum().header.data.nScanNumber, 4);
    EXPECT_TRUE(spec_->PeakInfos().empty());
}

TEST_F(PepmatchLayoutTest, TheMHColumnIsTheSameOnEntryAndAfterUpdate) {
    showScan(2);
    doc_->SetSequence(QStringLiteral("PEPTIDE"));
    view_->Options().monoisotopic = 1;
    view_->FillSelectIonsGrid();
    std::vector<double> onEntry;
    for (int i = 1; i <= 7; ++i) onEntry.push_back(cell(i, kIonGridMHColumn));
    view_->CalculatePepmatch();
    for (int i = 1; i <= 7; ++i) EXPECT_DOUBLE_EQ(cell(i, kIonGridMHColumn), onEntry[i - 1]) << i;
    // [M+H]+ of "PE" and of the whole peptide.
    EXPECT_NEAR(onEntry[1], 97.05276 + 129.04259 + 18.01056 + 1.00783, 5e-4);
    EXPECT_NEAR(onEntry[6], 800.3679, 5e-4);
}

TEST_F(PepmatchLayoutTest, OptionsChangeTheSeriesAndTheThreshold) {
    showScan(2);
    doc_->SetSequence(QStringLiteral("PEPTIDE"));
    view_->FillSelectIonsGrid();
    ASSERT_TRUE(view_->Button(CPepmatchView::kOptionsId)->isEnabled());
    view_->OnOptions();
    CPepmatchOptionsDlg* dlg = view_->OptionsDialog();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(view_->Button(CPepmatchView::kOptionsId)->isEnabled());
    viewstest::Grab(*dlg, QStringLiteral("/tmp/i26-pepmatch-options.png"));

    // Only B, monoisotopic, half the base peak.
    dlg->OnSelectNone();
    qobject_cast<QCheckBox*>(dlg->GetDlgItem(SeriesBoxId(PepmatchOptions::kB)))->click();
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(9011))->click();
    dlg->ThresholdEdit()->setText(QStringLiteral("50"));
    dlg->OnApply();
    EXPECT_EQ(view_->Options().series[PepmatchOptions::kB], 1);
    EXPECT_EQ(view_->Options().series[PepmatchOptions::kY], 0);
    EXPECT_DOUBLE_EQ(view_->Options().threshold, 50.0);
    EXPECT_NEAR(cell(2, kIonGridFirstIonColumn + kIonB), kB2 + 0.01, 1e-9);  // 500 of 1000
    EXPECT_NEAR(cell(3, kIonGridFirstIonColumn + kIonB), kB3 - 0.02, 1e-9);
    for (int col = kIonGridFirstIonColumn; col <= kIonGridColumnCount; ++col) {
        if (col == kIonGridFirstIonColumn + kIonB) continue;
        EXPECT_TRUE(view_->Grid()->GetValueRowCol(2, col).isEmpty()) << col;
    }
    // Above half the base peak b2 (500) no longer matches; b3 (800) still does.
    dlg->ThresholdEdit()->setText(QStringLiteral("60"));
    dlg->OnApply();
    EXPECT_NEAR(cell(2, kIonGridFirstIonColumn + kIonB), kB2, 1e-3);
    EXPECT_FALSE(coloured(2, kIonGridFirstIonColumn + kIonB));
    EXPECT_NEAR(cell(3, kIonGridFirstIonColumn + kIonB), kB3 - 0.02, 1e-9);

    // Close keeps what was set, gives the Options button back and hides the dialog.
    dlg->OnCancel();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(view_->Button(CPepmatchView::kOptionsId)->isEnabled());
    view_->OnOptions();
    EXPECT_EQ(view_->OptionsDialog(), dlg);  // made once
    EXPECT_DOUBLE_EQ(dlg->threshold, 60.0);
}

TEST_F(PepmatchLayoutTest, AThresholdThatIsNoneIsToldAndNothingIsCalculated) {
    showScan(2);
    doc_->SetSequence(QStringLiteral("PEPTIDE"));
    view_->FillSelectIonsGrid();
    view_->OnOptions();
    CPepmatchOptionsDlg* dlg = view_->OptionsDialog();
    ASSERT_TRUE(dlg);
    dlg->ThresholdEdit()->setText(QStringLiteral("60"));
    dlg->OnApply();
    ASSERT_DOUBLE_EQ(view_->Options().threshold, 60.0);
    const int b = kIonGridFirstIonColumn + kIonB;
    for (const char* bad : {"", "101", "-1", "."}) {
        boxes_.clear();
        // A calculation would fill the cell again.
        view_->Grid()->ClearCells(CGXRange::cells(2, b, 2, b));
        dlg->ThresholdEdit()->setText(QString::fromLatin1(bad));
        dlg->OnApply();
        EXPECT_EQ(boxes_.texts(),
                  QStringList{QStringLiteral(
                      "Threshold (% of base peak): Please enter a number between 0 and 100.")})
            << bad;
        EXPECT_EQ(dlg->focusWidget(), dlg->ThresholdEdit()) << bad;
        EXPECT_TRUE(view_->Grid()->GetValueRowCol(2, b).isEmpty()) << "nothing calculated: " << bad;
        EXPECT_DOUBLE_EQ(view_->Options().threshold, 60.0);
        // Nor from the view while the dialog holds it.
        boxes_.clear();
        view_->CalculatePepmatch();
        EXPECT_EQ(boxes_.texts().size(), 1) << bad;
        EXPECT_TRUE(view_->Grid()->GetValueRowCol(2, b).isEmpty()) << bad;
    }
    // Close drops what was typed: the next calculation takes the threshold in force, silently.
    dlg->OnCancel();
    boxes_.clear();
    view_->CalculatePepmatch();
    EXPECT_TRUE(boxes_.texts().isEmpty());
    EXPECT_FALSE(view_->Grid()->GetValueRowCol(2, b).isEmpty());
    EXPECT_EQ(dlg->ThresholdEdit()->text(), QStringLiteral("60.0"));
}

TEST_F(PepmatchLayoutTest, SelectionsOfTheViewAndTheDialog) {
    doc_->SetSequence(QStringLiteral("PEPTIDE"));
    view_->FillSelectIonsGrid();
    view_->Options().threshold = 7.5;
    view_->Options().labelColor = 0x000000FF;
    view_->OnCommand(CPepmatchView::ID_SELECT_IONS_ALL);
    EXPECT_EQ(view_->Options().series, AllSeriesFlags());
    view_->OnCommand(CPepmatchView::ID_SELECT_IONS_DEFAULT);
    EXPECT_EQ(view_->Options().series, DefaultSeriesFlags());
    EXPECT_DOUBLE_EQ(view_->Options().threshold, 7.5);
    EXPECT_EQ(view_->Options().labelColor, 0x000000FFu);
    view_->OnCommand(CPepmatchView::ID_SELECT_IONS_NONE);
    EXPECT_EQ(view_->Options().series, SeriesFlags{});

    view_->OnOptions();
    CPepmatchOptionsDlg* dlg = view_->OptionsDialog();
    dlg->OnSelectAll();
    dlg->OnSelectDefault();
    EXPECT_EQ(dlg->series, DefaultSeriesFlags());
    EXPECT_DOUBLE_EQ(dlg->threshold, 7.5);
    dlg->labelColor = 0x0000FF00;
    dlg->OnResetColor();
    EXPECT_EQ(dlg->labelColor, 0x00FF0000u);
    // A check box stores at once: Close keeps it for the next calculation.
    qobject_cast<QCheckBox*>(dlg->GetDlgItem(SeriesBoxId(PepmatchOptions::kC)))->click();
    dlg->OnCancel();
    EXPECT_EQ(dlg->series[PepmatchOptions::kC], 1);
    view_->CalculatePepmatch();
    EXPECT_EQ(view_->Options().series[PepmatchOptions::kC], 1);
    // The view's selection reaches the dialog that the next calculation reads.
    view_->OnCommand(CPepmatchView::ID_SELECT_IONS_NONE);
    EXPECT_EQ(dlg->series, SeriesFlags{});

    // The dialog's context menu offers the selections; its export answers nothing there.
    std::unique_ptr<QMenu> menu = dlg->BuildContextMenu();
    int enabled = 0;
    int disabled = 0;
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().isValid()) (a->isEnabled() ? enabled : disabled)++;
    EXPECT_EQ(enabled, 3);
    EXPECT_EQ(disabled, 1);
}

TEST_F(PepmatchLayoutTest, ShortAndEmptySequences) {
    doc_->SetSequence(QStringLiteral("GAK"));
    view_->FillSelectIonsGrid();
    EXPECT_EQ(view_->Grid()->GetRowCount(), 25);
    EXPECT_EQ(view_->Grid()->GetValueRowCol(3, 1), QStringLiteral(" K "));
    EXPECT_TRUE(view_->Grid()->GetValueRowCol(4, 1).isEmpty());
    EXPECT_TRUE(view_->Button(CPepmatchView::kUpdateId)->isEnabled());

    const QString longPeptide = QString(40, QLatin1Char('G'));
    doc_->SetSequence(longPeptide);
    view_->FillSelectIonsGrid();
    EXPECT_EQ(view_->Grid()->GetRowCount(), 40);

    doc_->SetSequence(QString());
    view_->FillSelectIonsGrid();
    EXPECT_FALSE(view_->Button(CPepmatchView::kOptionsId)->isEnabled());
    EXPECT_FALSE(view_->Button(CPepmatchView::kUpdateId)->isEnabled());
    EXPECT_TRUE(view_->Grid()->GetValueRowCol(1, 1).isEmpty());
    EXPECT_TRUE(view_->Grid()->GetValueRowCol(1, 2).isEmpty());
    view_->CalculatePepmatch();
    EXPECT_EQ(boxes_.texts(), QStringList{QStringLiteral("Please enter a sequence")});
}

TEST_F(PepmatchLayoutTest, TheSequenceButtonOpensTheEditorInItsPepmatchMode) {
    doc_->SetSequence(QStringLiteral("PEPTIDE"));
    view_->FillSelectIonsGrid();
    view_->Button(CPepmatchView::kSequenceId)->click();
    CSequenceEditorDlg* editor = view_->SequenceEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->Mode(), SequenceEditorMode::kPepmatch);
    EXPECT_TRUE(editor->isVisible());
    viewstest::Grab(*editor, QStringLiteral("/tmp/i26-pepmatch-sequence-editor.png"));
    // OK stores the sequence in the document and the table follows.
    editor->SequenceEdit()->setText(QStringLiteral("samplerk"));
    editor->OnOK();
    EXPECT_EQ(doc_->GetSequence(), QStringLiteral("SAMPLERK"));
    EXPECT_EQ(view_->Grid()->GetValueRowCol(8, 1), QStringLiteral(" K "));
    view_->Button(CPepmatchView::kSequenceId)->click();
    EXPECT_EQ(view_->SequenceEditor(), editor);  // made once
}

TEST_F(PepmatchLayoutTest, ANarrowViewKeepsTheIonColumnsAtLeastThirtyWide) {
    const int mh = view_->Grid()->GetColWidth(kIonGridMHColumn);
    // A mass of five digits is shown whole.
    EXPECT_GT(mh, view_->Grid()->fontMetrics().horizontalAdvance(QStringLiteral("10000.00")));
    layout_->resize(300, 800);
    QApplication::processEvents();
    view_->FitGrid(view_->width(), view_->height());
    for (int c = kIonGridFirstIonColumn; c <= kIonGridColumnCount; ++c)
        EXPECT_GE(view_->Grid()->GetColWidth(c), 30) << c;
    layout_->resize(1600, 800);
    QApplication::processEvents();
    view_->FitGrid(view_->width(), view_->height());
    EXPECT_GT(view_->Grid()->GetColWidth(kIonGridFirstIonColumn), mh);
    EXPECT_EQ(view_->Grid()->GetColWidth(kIonGridMHColumn), mh);  // "M + H" keeps its width
}

TEST_F(PepmatchLayoutTest, TheSpectrumPaneKeepsItsOwnZoomAndScrollsOverTheMassRange) {
    showScan(2);
    const double low = spec_->Spectrum().header.data.dLowMass;
    const double high = spec_->Spectrum().header.data.dHighMass;
    ASSERT_LT(low, high);
    EXPECT_DOUBLE_EQ(spec_->FullFirstMass(), low);
    EXPECT_FALSE(spec_->ScrollBar()->isEnabled());  // all of the scan shown
    spec_->OnSpecZoom(true, low + 0.3 * (high - low), 0.0, low + 0.5 * (high - low), 0.0);
    EXPECT_TRUE(spec_->Display().xZoomed);
    // The user result's display (the plot layout's) is not touched.
    EXPECT_FALSE(doc_->GetCurrentResults()->GetCurrentUserResult()->specDisplay.xZoomed);
    QScrollBar* bar = spec_->ScrollBar();
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->value(), 30);
    EXPECT_NEAR(bar->pageStep(), 21, 1);  // 20 % shown, plus one (truncated)
    bar->setValue(37);
    spec_->OnMassScroll(ScrollStep::LineBack, 0);
    EXPECT_EQ(bar->value(), 20);
    bar->setValue(5);
    spec_->OnMassScroll(ScrollStep::LineBack, 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_DOUBLE_EQ(spec_->Display().xStart, low);
    // To the right end: the window ends at the scan's high mass.
    for (int i = 0; i < 10; ++i) spec_->OnMassScroll(ScrollStep::PageForward, 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_DOUBLE_EQ(spec_->Display().xEnd, high);
    // The zoom stays when the scan changes.
    showScan(4);
    EXPECT_TRUE(spec_->Display().xZoomed || spec_->Display().xStart == 0.0);
    spec_->OnCommand(ID_PLOT_RESET_SCALING);
    EXPECT_FALSE(spec_->Display().xZoomed);
    EXPECT_FALSE(spec_->ScrollBar()->isEnabled());
}

TEST_F(PepmatchLayoutTest, AOnePeakScanHasNothingToScroll) {
    showScan(3);
    ASSERT_EQ(spec_->Spectrum().peaks.size(), 1u);
    EXPECT_DOUBLE_EQ(spec_->FullFirstMass(), spec_->FullLastMass());
    EXPECT_FALSE(spec_->ScrollBar()->isEnabled());
    spec_->ShowMassPercent(50, 10);
    spec_->OnMassScroll(ScrollStep::PageForward, 0);
    EXPECT_FALSE(spec_->Display().xZoomed);
    EXPECT_FALSE(spec_->ScrollBar()->isEnabled());
}

TEST_F(PepmatchLayoutTest, OnlyScanAndIonHintsReloadTheSpectrum) {
    showScan(2);
    doc_->GetCurrentResults()->GetCurrentUserResult()->currentScanPosition =
        doc_->ScanToRetentionTime(4);
    for (int hint : {kHintZarmassLayout, kHintDeconvolution, kHintPepmatchLayout})
        doc_->UpdateAllViews(nullptr, hint);
    EXPECT_EQ(spec_->Spectrum().header.data.nScanNumber, 2);
    doc_->UpdateAllViews(nullptr, kHintFragmentIons);
    EXPECT_EQ(spec_->Spectrum().header.data.nScanNumber, 4);
    // Stepping works as in the plot layout.
    spec_->OnCommand(ID_PLOT_PREVIOUS_SCAN);
    EXPECT_EQ(spec_->Spectrum().header.data.nScanNumber, 3);
    spec_->OnCommand(ID_PLOT_NEXT_SCAN);
    EXPECT_EQ(spec_->Spectrum().header.data.nScanNumber, 4);
}

TEST_F(PepmatchLayoutTest, BothPanesPrint) {
    showScan(2);
    runPepmatch(QStringLiteral("PEPTIDE"));
    EXPECT_TRUE(view_->HasViewCommand(57607));  // File > Print through the grid
    EXPECT_TRUE(view_->HasViewCommand(57605));
    EXPECT_TRUE(view_->HasViewCommand(9299));
    const auto& margins = view_->Grid()->PrintProperties().margins;
    ASSERT_TRUE(margins.has_value());
    EXPECT_EQ(*margins, QMarginsF(48, 72, 24, 48));  // top 72, left 48, bottom 48, right 24
    QImage table(850, 1100, QImage::Format_RGB32);
    table.fill(Qt::white);
    {
        // The table of every ion series is wider than the page: its columns print in bands,
        // the first band on the first page.
        QPainter painter(&table);
        EXPECT_EQ(view_->Grid()->PaintPages(painter, QRectF(0, 0, 850, 1100), 100, [] {}, QString(), 1, 1),
                  2);
    }
    int inked = 0;
    for (int y = 0; y < 1100; y += 2)
        for (int x = 0; x < 850; x += 2) inked += table.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 500);
    table.save(QStringLiteral("/tmp/i26-pepmatch-table-print.png"));

    EXPECT_TRUE(spec_->IsViewCommandEnabled(57607));
    QImage page(850, 1100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        spec_->PrintPage(painter, QRect(0, 0, 850, 1100), 100, 100, false);
    }
    int ink = 0;
    for (int y = 100; y < 1000; y += 2)
        for (int x = 60; x < 800; x += 2) ink += page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 200);
    page.save(QStringLiteral("/tmp/i26-pepmatch-spectrum-print.png"));
}

TEST_F(PepmatchLayoutTest, ExportToExcelWritesAWorkbookAndXmlIsGreyed) {
    zartest::ShellOpenCapture opened;
    showScan(2);
    runPepmatch(QStringLiteral("PEPTIDE"));
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    std::unique_ptr<QMenu> menu = view_->BuildContextMenu();
    std::map<int, bool> items;
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().isValid()) items[a->data().toInt()] = a->isEnabled();
    EXPECT_TRUE(items.at(CPepmatchView::ID_EXPORT_EXCEL));
    EXPECT_FALSE(items.at(CPepmatchView::ID_EXPORT_XML));
    view_->OnCommand(CPepmatchView::ID_EXPORT_XML);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));

    view_->OnCommand(CPepmatchView::ID_EXPORT_EXCEL);
    ASSERT_EQ(opened.urls().size(), 1u) << boxes_.texts().join(QLatin1Char('|')).toStdString();
    const QString workbook = opened.urls().front().toLocalFile();
    EXPECT_TRUE(QFileInfo(workbook).fileName().startsWith(QStringLiteral("pepmatch")));
    EXPECT_TRUE(workbook.endsWith(QStringLiteral(".xlsx")));
    EXPECT_GT(QFileInfo(workbook).size(), 0);
    QFile::remove(workbook);
}

TEST_F(PepmatchLayoutTest, TheIonColumnsShowWholeMassesAtFirstShow) {
    // As the main window makes a layout: set up while hidden, sized and shown afterwards.
    CSplitterLayoutView layout(*LayoutForViewType(8));
    layout.OnInitialUpdate();
    layout.resize(1600, 800);
    doc_->UpdateAllViews(nullptr, kHintPepmatchLayout);
    layout.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&layout));
    auto* view = dynamic_cast<CPepmatchView*>(layout.FindPane(QStringLiteral("CPepmatchView")));
    ASSERT_NE(view, nullptr);
    const CGXGridWnd& grid = *view->Grid();
    const int mass = grid.fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 6;
    for (int c = kIonGridFirstIonColumn; c <= kIonGridColumnCount; ++c)
        EXPECT_GE(grid.GetColWidth(c), mass) << "column " << c;
    // The columns fill the grid's width.
    int sum = 0;
    for (int c = 1; c <= grid.GetColCount(); ++c) sum += grid.GetColWidth(c);
    EXPECT_NEAR(sum, grid.viewport()->width(), 20);
}

// One right click on the ion grid, one context menu: the grid asks the pane for it, and the
// context-menu event that follows the same click opens no second one.
TEST_F(PepmatchLayoutTest, ARightClickOnTheIonGridOpensOneMenu) {
    QApplication::processEvents();
    EXPECT_EQ(zartest::MenusShownByRightClick(view_->Grid()->viewport()), 1);
}
