// The panes of the de novo layout: the candidate grid with its clicks, menu and printing; the
// scatter plot; the spectrum with its modes, marks, keys, zoom, scroll bar, printing and labels.

#include "DenovoViewsTestSupport.h"

#include "DenovoCommands.h"
#include "DenovoParamsDlg.h"
#include "FrameCommands.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "controls/NumericEditCtrl.h"
#include "document/UpdateHints.h"
#include "fileio/VXResults.h"
#include "interpretation/DenovoEngine.h"
#include "spectrumviews/views/AnnotateDialog.h"
#include "spectrumviews/views/AnnotationTargets.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/RegisterPepmatchViews.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QAbstractButton>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace zar;
using namespace denovotest;

namespace {

QStringList GridTexts(CDenovoView& view, int column) {
    QStringList texts;
    for (int row = 1; row <= view.Grid()->GetRowCount(); ++row)
        if (const QString t = view.Grid()->GetValueRowCol(row, column); !t.isEmpty()) texts << t;
    return texts;
}

// Pixels of a picture that are neither white nor the background of the page.
int InkInside(const QImage& image, const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

class DenovoPanesTest : public ::testing::Test {
  protected:
    void Load() {
        ASSERT_TRUE(LoadDemoExperiment(f_));
        ASSERT_NE(f_.CandidateView(), nullptr);
        ASSERT_NE(f_.SpecView(), nullptr);
        ASSERT_NE(f_.ScatterView(), nullptr);
    }
    bool Enabled(int id) {
        f_.frame().UpdateCommandUI();
        return f_.frame().Action(id)->isEnabled();
    }

    DenovoFrame f_;
};

}  // namespace

TEST_F(DenovoPanesTest, BeforeAnyLoadThePanesSayThereIsNoData) {
    QTemporaryDir dir;
    const QString run = infobartest::WriteRun(
        dir.path(), QStringLiteral("plain.mzML"),
        {infobartest::Spectrum(1, 1, 0.5), infobartest::Spectrum(2, 2, 1.0, {445.12})});
    ASSERT_TRUE(f_.Open(run));
    ASSERT_TRUE(f_.ShowLayout()) << "View > Denovo Sequencing shows the whole layout";
    CDenovoView* view = f_.CandidateView();
    ASSERT_NE(view, nullptr);
    CDenovoGrid* grid = view->Grid();
    EXPECT_EQ(grid->GetRowCount(), 50);
    EXPECT_TRUE(GridTexts(*view, 2).isEmpty());
    const char* titles[] = {"M+H", "Sequence", "Score", "CS (1-D)", "CS (2-D)", "CS (MS2)"};
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(grid->GetValueRowCol(0, c), QString::fromLatin1(titles[c - 1]));
    EXPECT_EQ(grid->GetColWidth(1), 100);
    EXPECT_GE(grid->GetColWidth(2), 400);

    EXPECT_FALSE(f_.ScatterView()->DataValid());
    EXPECT_FALSE(f_.ScatterView()->IsViewCommandEnabled(ID_FILE_PRINT));
    CDenovoSpecView* spec = f_.SpecView();
    EXPECT_FALSE(spec->DataValid());
    EXPECT_EQ(spec->NoDataText(), QStringLiteral("No processed spectral data available"));
    EXPECT_FALSE(spec->IsViewCommandEnabled(ID_FILE_PRINT));
    EXPECT_FALSE(spec->IsViewCommandEnabled(ID_PLOT_ZOOM_IN_X));
    EXPECT_FALSE(spec->ScrollBar()->isEnabled());
    // The arrow keys step nowhere while no raw spectrum is shown.
    EXPECT_FALSE(spec->StepScan(1));
    f_.frame().grab().save(QStringLiteral("/tmp/i33-empty-layout.png"));
    EXPECT_TRUE(f_.boxes().texts().isEmpty());
}

TEST_F(DenovoPanesTest, ACandidateClickSelectsItsGapsAndLetters) {
    Load();
    CDenovoView* view = f_.CandidateView();
    CDenovoSpecView* spec = f_.SpecView();
    struct Case {
        const char* cell;
        int leading;
        const char* letters;
        int trailing;
        size_t marks;
    } cases[] = {
        {"114.ABC.200", 114, "ABC", 200, 6},
        {"ABC", 0, "ABC", 0, 6},
        {"NECFLS.265", 0, "NECFLS", 265, 12},
    };
    for (const Case& c : cases) {
        view->Grid()->SetValueRange(3, 2, QString::fromLatin1(c.cell));
        f_.ClickSequence(3);
        int a = -1, b = -1;
        QString text;
        f_.doc().GetDenovoSelection(a, b, text);
        EXPECT_EQ(a, c.leading) << c.cell;
        EXPECT_EQ(text, QString::fromLatin1(c.letters)) << c.cell;
        EXPECT_EQ(b, c.trailing) << c.cell;
        EXPECT_EQ(view->Selection().text, QString::fromLatin1(c.letters));
        EXPECT_EQ(spec->Labels().size(), c.marks) << c.cell;
    }
    // An empty row selects nothing: the spectrum loses its marks.
    f_.ClickSequence(40);
    EXPECT_TRUE(spec->Labels().empty());
    EXPECT_TRUE(spec->DataValid());
}

TEST_F(DenovoPanesTest, TheGridsMenuOpensTheSettingsAndPrints) {
    Load();
    CDenovoView* view = f_.CandidateView();
    std::unique_ptr<QMenu> menu = view->BuildContextMenu();
    QStringList texts;
    QAction* denovo = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        texts << a->text();
        if (a->data().toInt() == ID_ACTION_DENOVO) denovo = a;
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("De&Novo..."), QStringLiteral("Pa&ge Setup..."),
                                  QStringLiteral("Page &Header and Footer..."),
                                  QStringLiteral("&Print...")}));
    ASSERT_NE(denovo, nullptr);
    ASSERT_TRUE(denovo->isEnabled());
    // Highlighting an item puts its prompt in the status bar; closing the menu says "Ready".
    emit menu->hovered(denovo);
    EXPECT_EQ(f_.frame().statusBar()->currentMessage(),
              QStringLiteral("Change the de novo sequencing parameters"));
    emit menu->aboutToHide();
    EXPECT_EQ(f_.frame().statusBar()->currentMessage(), QStringLiteral("Ready"));
    denovo->trigger();
    Settle();
    auto* dialog = f_.frame().findChild<CDenovoParamsDlg*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->reject();

    // File > Print and the page commands follow the grid while it is the active pane.
    f_.frame().ActivateViewOf(view->Grid());
    ASSERT_EQ(f_.frame().ActiveView(), view);
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_FILE_PAGE_HEADER_FOOTER));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("candidates.pdf")));
    ASSERT_TRUE(view->PrintTo(printer));
    QFile pdf(printer.outputFileName());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    // The active pane wears its frame.
    const QImage picture = view->grab().toImage();
    EXPECT_EQ(picture.pixelColor(0, picture.height() / 2), QColor(Qt::yellow));
    EXPECT_NE(f_.SpecView()->grab().toImage().pixelColor(0, 40), QColor(Qt::yellow));
}

TEST_F(DenovoPanesTest, NewSettingsChangeTheCandidates) {
    Load();
    CDenovoView* view = f_.CandidateView();
    ASSERT_GT(GridTexts(*view, 2).size(), 3);
    f_.frame().RunCommand(ID_ACTION_DENOVO);
    Settle();
    auto* dialog = f_.frame().findChild<CDenovoParamsDlg*>();
    ASSERT_NE(dialog, nullptr);
    dialog->MaxCandidatesEdit()->setText(QStringLiteral("3"));
    dialog->PercentOfHighestEdit()->setText(QStringLiteral("0"));
    dialog->OnOK();
    Settle();
    EXPECT_EQ(GridTexts(*view, 2).size(), 3) << "the browser's scans were sequenced again";
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 2), AlphabetSpelling(kDemoPeptide));
    EXPECT_EQ(view->Grid()->GetRowCount(), 50);

    // No candidate reaches a minimum primary score of 1: the grid empties.
    f_.frame().RunCommand(ID_ACTION_DENOVO);
    Settle();
    dialog->MinPrimaryScoreEdit()->setText(QStringLiteral("1.00"));
    dialog->OnOK();
    Settle();
    EXPECT_TRUE(GridTexts(*view, 2).isEmpty());
    EXPECT_TRUE(GridTexts(*view, 1).isEmpty());
}

TEST_F(DenovoPanesTest, TheSpectrumModesShowTheEnginesSpectra) {
    Load();
    CDenovoSpecView* spec = f_.SpecView();
    const std::pair<int, const char*> modes[] = {
        {ID_DENOVO_MS2_RED, "MS2 Spectrum - Red"},
        {ID_DENOVO_MS2_BLUE, "MS2 Spectrum - Blue"},
        {ID_DENOVO_YB_RED, "Y-B Spectrum (Red)"},
        {ID_DENOVO_YB_BLUE, "Y-B Spectrum (Blue)"},
        {ID_DENOVO_YB_RED_PLUS_BLUE, "Y-B Spectrum (Red + Blue)"},
        {ID_DENOVO_YB_RED_MINUS_BLUE, "Y-B Spectrum (Red - Blue)"},
        {ID_DENOVO_MS2_SPECTRUM, "MS2 Spectrum"},
    };
    const int candidates = f_.doc().GetDenovoEngine()->FormatSequenceTable();
    int shown = 0;
    for (const auto& [id, name] : modes) {
        spec->OnModeCommand(id);
        EXPECT_EQ(spec->Mode(), CDenovoSpecView::ModeOfCommand(id));
        // A spectrum without a point above 0 (no blue ions here) shows the empty text.
        EXPECT_EQ(spec->DataValid(), !spec->Spectrum().peaks.empty()) << name;
        if (spec->DataValid()) {
            ++shown;
            EXPECT_TRUE(
                spec->Heading().startsWith(QString::fromLatin1(name) + QStringLiteral("  NL: ")))
                << spec->Heading().toStdString();
        }
        for (const CVXDataPeak& p : spec->Spectrum().peaks) {
            EXPECT_GT(p.dIntensity, 0.0);
            EXPECT_EQ(p.dPosition, std::floor(p.dPosition))
                << "one-dimensional spectra lie on nominal masses";
        }
    }
    EXPECT_GE(shown, 5);
    EXPECT_TRUE(spec->DataValid()) << "the MS2 spectrum, shown last";
    // Showing the spectra leaves the document's ranking as it was.
    EXPECT_EQ(f_.doc().GetDenovoEngine()->FormatSequenceTable(), candidates);
    EXPECT_EQ(f_.CandidateView()->Grid()->GetValueRowCol(1, 2), AlphabetSpelling(kDemoPeptide));

    // The popup menu lists the spectra with the one shown checked.
    std::unique_ptr<QMenu> menu = spec->BuildContextMenu();
    int checked = 0, modeItems = 0;
    ForEachCommandItem(menu.get(), [&](QAction* a, int id) {
        if (CDenovoSpecView::ModeOfCommand(id) == 0) return;
        ++modeItems;
        if (a->isChecked()) {
            ++checked;
            EXPECT_EQ(id, ID_DENOVO_MS2_SPECTRUM);
        }
    });
    EXPECT_EQ(modeItems, 8);
    EXPECT_EQ(checked, 1);
}

TEST_F(DenovoPanesTest, TheRawModeShowsTheCurrentScanAndItsKeysStep) {
    Load();
    CDenovoSpecView* spec = f_.SpecView();
    CVXResults* results = f_.doc().GetCurrentResults();
    ASSERT_NE(results, nullptr);
    CVXUserResult* u = results->GetCurrentUserResult();
    ASSERT_NE(u, nullptr);
    ASSERT_GT(u->chro.points.size(), 3u);
    u->currentScanPosition = u->chro.points[1].dPosition;
    EXPECT_FALSE(spec->StepScan(1)) << "the keys step only in the raw mode";
    EXPECT_EQ(u->currentScanPosition, u->chro.points[1].dPosition);

    spec->OnModeCommand(ID_DENOVO_RAW_SPECTRUM);
    ASSERT_TRUE(spec->DataValid());
    EXPECT_TRUE(spec->Heading().startsWith(QStringLiteral("Raw Spectrum  NL: ")));
    const int scan = spec->Spectrum().header.data.nScanNumber;
    EXPECT_GT(scan, 0);
    EXPECT_TRUE(spec->StepScan(1));
    EXPECT_EQ(u->currentScanPosition, u->chro.points[2].dPosition);
    EXPECT_GT(spec->Spectrum().header.data.nScanNumber, scan)
        << "the views were told of the new scan";
    // The control's arrow keys.
    ASSERT_NE(spec->Control()->ControlWindow(), nullptr);
    QTest::keyClick(spec->Control()->ControlWindow(), Qt::Key_Left);
    Settle();
    EXPECT_EQ(u->currentScanPosition, u->chro.points[1].dPosition);
    EXPECT_TRUE(spec->StepScan(-1));
    EXPECT_FALSE(spec->StepScan(-1)) << "the first scan has none before it";
    EXPECT_EQ(u->currentScanPosition, u->chro.points[0].dPosition);
    u->currentScanPosition = u->chro.points.back().dPosition;
    EXPECT_FALSE(spec->StepScan(1)) << "nor the last one after it";
}

TEST_F(DenovoPanesTest, ZoomAndTheScrollBarMoveTheShownWindow) {
    Load();
    CDenovoSpecView* spec = f_.SpecView();
    const double low = spec->Spectrum().header.data.dLowMass;
    const double high = spec->Spectrum().header.data.dHighMass;
    const double span = high - low;
    ASSERT_GT(span, 0.0);
    EXPECT_TRUE(spec->IsViewCommandEnabled(ID_PLOT_ZOOM_IN_X));
    EXPECT_FALSE(spec->IsViewCommandEnabled(ID_PLOT_ZOOM_OUT_X));
    spec->OnViewCommand(ID_PLOT_ZOOM_IN_X);
    EXPECT_TRUE(spec->Display().xZoomed);
    QScrollBar* bar = spec->ScrollBar();
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->pageStep(), 50);
    EXPECT_EQ(bar->value(), 25);
    // A line to the right goes to the next multiple of 10, to the left to the one below.
    spec->OnHScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(bar->value(), 30);
    EXPECT_NEAR(spec->Display().xStart, low + 0.30 * span, 1e-9);
    EXPECT_NEAR(spec->Display().xEnd, low + 0.80 * span, 1e-9);
    spec->OnHScroll(ScrollStep::LineForward, 0);
    spec->OnHScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(bar->value(), 50) << "never beyond 100 - page";
    spec->OnHScroll(ScrollStep::ThumbTrack, 15);
    EXPECT_EQ(bar->value(), 15);
    spec->OnHScroll(ScrollStep::LineBack, 0);
    EXPECT_EQ(bar->value(), 10);
    spec->OnHScroll(ScrollStep::PageBack, 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_NEAR(spec->Display().xStart, low, 1e-9);
    // A zoom box from the control; a new selection keeps the window, Reset Scaling drops it.
    spec->OnSpecZoom(true, low + 100.0, 0.0, low + 200.0, 0.0);
    EXPECT_NEAR(spec->Display().xStart, low + 100.0, 1e-9);
    f_.ClickSequence(1);
    EXPECT_TRUE(spec->Display().xZoomed);
    EXPECT_TRUE(spec->IsViewCommandEnabled(ID_PLOT_RESET_SCALING));
    spec->OnViewCommand(ID_PLOT_ZOOM_IN_Y);
    EXPECT_TRUE(spec->Display().yZoomed);
    spec->OnViewCommand(ID_PLOT_RESET_SCALING);
    EXPECT_FALSE(spec->Display().xZoomed);
    EXPECT_FALSE(spec->Display().yZoomed);
    EXPECT_FALSE(bar->isEnabled());
}

TEST_F(DenovoPanesTest, ThePlotsPrintOnAPage) {
    Load();
    f_.ClickSequence(1);
    const QRect page(0, 0, 850, 1100);
    for (CZarViewWidget* pane : {static_cast<CZarViewWidget*>(f_.SpecView()),
                                 static_cast<CZarViewWidget*>(f_.ScatterView())}) {
        EXPECT_TRUE(pane->IsViewCommandEnabled(ID_FILE_PRINT)) << pane->ViewClassName();
        QImage image(page.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            if (auto* spec = qobject_cast<CDenovoSpecView*>(pane))
                spec->PrintPage(painter, page, 100, 100, false);
            else
                static_cast<CDenovoScatterView*>(pane)->PrintPage(painter, page, 100, 100, false);
        }
        image.save(
            QStringLiteral("/tmp/i33-print-%1.png").arg(QLatin1String(pane->ViewClassName())));
        const PrintedPage p = LayOutPrintedPage(page, 100, 100, false);
        EXPECT_GT(InkInside(image, p.plot), 2000) << pane->ViewClassName();
        EXPECT_GT(InkInside(image, p.footer), 50) << "the run's name above the plot";
    }
    EXPECT_TRUE(f_.boxes().texts().isEmpty());
}

TEST_F(DenovoPanesTest, TheSpectrumTakesLabelsFromTheAnnotateDialog) {
    RegisterPepmatchViews();  // Display > Annotate
    Load();
    CDenovoSpecView* spec = f_.SpecView();
    spec->OnModeCommand(ID_DENOVO_MS2_SPECTRUM);
    ASSERT_TRUE(spec->DataValid());
    EXPECT_EQ(AnnotationKindOf(spec), kAnnotateDenovoSpectrum);
    f_.frame().ActivateViewOf(spec);
    ASSERT_TRUE(Enabled(ID_ANNOTATE_ADD_TEXT));
    ASSERT_TRUE(Enabled(ID_ANNOTATE_CLEAR_ALL));
    f_.frame().RunCommand(ID_ANNOTATE_ADD_TEXT);
    CAnnotateDialog* dlg = AnnotateDialog();
    ASSERT_TRUE(dlg);

    // A click beside the most intense peak picks it.
    const std::vector<CVXDataPeak>& peaks = spec->Spectrum().peaks;
    const auto top = std::max_element(
        peaks.begin(), peaks.end(),
        [](const CVXDataPeak& a, const CVXDataPeak& b) { return a.dIntensity < b.dIntensity; });
    spec->Control()->RedrawControl();
    const QImage before = spec->Control()->ControlWindow()->grab().toImage();
    spec->OnSpecLButtonUp(true, top->dPosition + 0.2, 0.0);
    EXPECT_EQ(dlg->TargetKind(), kAnnotateDenovoSpectrum);
    ASSERT_TRUE(dlg->ApplyButton()->isEnabled());
    dlg->TextEdit()->setText(QStringLiteral("the base peak"));
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(8987))->click();  // boxed
    qobject_cast<QAbstractButton*>(dlg->GetDlgItem(8999))->click();  // above the graph
    dlg->OnApply();
    spec->Control()->RedrawControl();
    const QImage labelled = spec->Control()->ControlWindow()->grab().toImage();
    EXPECT_NE(labelled, before);
    labelled.save(QStringLiteral("/tmp/denovo-annotated.png"));
    f_.frame().RunCommand(ID_ANNOTATE_CLEAR_ALL);
    spec->Control()->RedrawControl();
    EXPECT_EQ(spec->Control()->ControlWindow()->grab().toImage(), before);
    qobject_cast<QPushButton*>(dlg->GetDlgItem(2))->click();  // Close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Another run opened in place of the one sequenced: View > Denovo Sequencing shows no candidate
// and no spectrum of the run that went.
TEST_F(DenovoPanesTest, AnotherRunLeavesNoCandidateOfTheOldOne) {
    Load();
    ASSERT_FALSE(f_.CandidateView()->Grid()->GetValueRowCol(1, 2).isEmpty());
    ASSERT_TRUE(f_.SpecView()->DataValid());
    QTemporaryDir dir;
    QString error;
    const QString other = dir.path() + QStringLiteral("/other.mzML");
    ASSERT_TRUE(QFile::copy(infobartest::DemoFolder(&error) + QStringLiteral("/demo.mzML"), other));
    ASSERT_TRUE(f_.Open(other));
    EXPECT_EQ(f_.doc().GetDenovoEngine()->SpectraLoaded(), 0);
    ASSERT_TRUE(f_.ShowLayout());
    ASSERT_NE(f_.CandidateView(), nullptr);
    EXPECT_TRUE(f_.CandidateView()->Grid()->GetValueRowCol(1, 2).isEmpty());
    EXPECT_FALSE(f_.SpecView()->DataValid());
    int a = -1, b = -1;
    QString sequence = QStringLiteral("x");
    f_.doc().GetDenovoSelection(a, b, sequence);
    EXPECT_TRUE(sequence.isEmpty());
}
