// The display-ions page on a one-hit results folder: the hit's b and y ions by charge, its
// ".dta" spectrum with the ions marked, the charge selector, panning and the residue segments.

#include "spectrumviews/views/DisplayIonsView.h"
#include "spectrumviews/views/SegmentCtrl.h"
#include "spectrumviews/views/ViewCommands.h"

#include "app/FrameCommands.h"
#include "app/grids/DisplayGrids.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Numbers.h"
#include "document/SorvexResults.h"

#include "ViewsTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QFile>
#include <QScrollBar>
#include <QTest>

#include <set>

using namespace zar;

namespace {

// Monoisotopic residue masses of the fixture peptide GGGGK.
constexpr double kG = 57.02146;
constexpr double kK = 128.09496;
constexpr double kProton = 1.00728;
constexpr double kWater = 18.01056;

double B(int n) {
    return n * kG + kProton;
}
double Y(int n) {  // n residues from the C-terminus: K then G's
    return kK + (n - 1) * kG + kWater + kProton;
}
// The ion table writes y ions with the nominal 19.0 for water and proton.
double TableY(int n) {
    return kK + (n - 1) * kG + 19.0;
}

class DisplayIonsViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = std::make_unique<viewstest::RegisteredPlotServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(server_->ok());
        doc_ = std::make_unique<CZarDoc>();
        const QString folder = dir_.path();
        ASSERT_TRUE(
            QFile::copy(zartest::DataPath(QStringLiteral("resultviews/seven/run.0101.0101.2.out")),
                        folder + QStringLiteral("/run.0101.0101.2.out")));
        QFile dta(folder + QStringLiteral("/run.0101.0101.2.dta"));
        ASSERT_TRUE(dta.open(QIODevice::WriteOnly));
        QString text = QCFormat("%.4f 2\n", 4 * kG + kK + kWater + kProton);
        const std::pair<double, double> peaks[] = {{B(2), 1000}, {B(3), 800}, {Y(1), 1200},
                                                   {Y(2), 900},  {Y(3), 700}, {300.0, 50}};
        for (const auto& [mz, intensity] : peaks) text += QCFormat("%.4f %.1f\n", mz, intensity);
        dta.write(text.toLatin1());
        dta.close();
        CSorvexResults* set = doc_->GetSorvexResults();
        ASSERT_TRUE(set);
        set->Initialize();
        set->ReadResults(folder);
        ASSERT_EQ(set->GetHitCount(), 1);
        ASSERT_EQ(set->GetHit(0)->peptide, QStringLiteral("R.GGGGK.A"));
        view_ = std::make_unique<CDisplayIonsView>(nullptr);
        view_->resize(900, 500);
        view_->show();
        view_->OnInitialUpdate();
    }

    void open() {
        SelectedResult item;
        item.kind = 1;
        item.viewType = 5;
        item.hit = HitNumber(1);
        view_->SetDtaFile(item);
        ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    }

    // The number in a grid cell.
    double cell(int row, int col) const {
        double v = 0.0;
        ParseDouble(view_->Grid()->GetValueRowCol(row, col), v);
        return v;
    }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    QTemporaryDir dir_;
    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CDisplayIonsView> view_;
};

}  // namespace

TEST_F(DisplayIonsViewTest, HitShowsItsIonsAndSpectrum) {
    open();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    EXPECT_EQ(view_->DtaFileText(), QStringLiteral("Dta File:  run.0101.0101.2.dta"));
    EXPECT_TRUE(view_->MassTypeText().contains(QStringLiteral("Monoisotopic")));
    EXPECT_EQ(view_->Grid()->GetValueRowCol(0, 4), QStringLiteral("B Ions"));
    // Row n: residue n from the N-terminus, its b ion and the y ion of the rest.
    EXPECT_EQ(view_->Grid()->GetValueRowCol(1, 2).trimmed(), QStringLiteral("G"));
    EXPECT_EQ(view_->Grid()->GetValueRowCol(5, 2).trimmed(), QStringLiteral("K"));
    EXPECT_NEAR(cell(2, 4), B(2), 0.01);
    EXPECT_NEAR(cell(3, 4), B(3), 0.01);
    EXPECT_NEAR(cell(2, 5), TableY(4), 0.001);
    EXPECT_NEAR(cell(5, 5), TableY(1), 0.001);
    // Charge combo for the hit's charge 2.
    ASSERT_EQ(view_->ChargeCombo()->count(), 2);
    EXPECT_EQ(view_->ChargeCombo()->itemText(1), QStringLiteral("+2"));
    // The spectrum and its marked ions.
    ASSERT_EQ(view_->Peaks().size(), 6u);
    EXPECT_DOUBLE_EQ(view_->HighMass(), view_->Peaks().back().mz);
    EXPECT_TRUE(view_->Heading().startsWith(QStringLiteral("#101-101 RT:")))
        << view_->Heading().toStdString();
    EXPECT_TRUE(view_->Heading().endsWith(QStringLiteral("NL: 1.20E3")));
    ASSERT_FALSE(view_->PeakInfos().empty());
    int matched = 0;
    for (const auto& info : view_->PeakInfos())
        if (info.apex.dIntensity > 0) ++matched;
    EXPECT_EQ(matched, 5);  // b2, b3, y1, y2, y3 found in the spectrum
    viewstest::Grab(*view_, QStringLiteral("/tmp/specviews_display_ions.png"));
}

TEST_F(DisplayIonsViewTest, ChoosingChargeTwoReloadsAndKeepsTheChoice) {
    open();
    view_->OnSelChangeCharge(1);
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_EQ(view_->SelectedCharge(), 2);
    EXPECT_EQ(view_->ChargeCombo()->currentIndex(), 1);
    EXPECT_NEAR(cell(2, 4), (B(2) + kProton) / 2.0, 0.01);
    EXPECT_NEAR(cell(5, 5), (TableY(1) + kProton) / 2.0, 0.01);
}

TEST_F(DisplayIonsViewTest, ALoadDuringARunningOneRunsAfterIt) {
    SelectedResult item;
    item.kind = 1;
    item.hit = HitNumber(1);
    view_->SetDtaFile(item);      // charge 1 starts
    view_->OnSelChangeCharge(1);  // charge 2 is asked for while it runs
    ASSERT_TRUE(view_->WaitUntilIdle(zartest::kWorkWaitMs));
    // The table is the newest request's, not the first one's.
    EXPECT_NEAR(cell(2, 4), (B(2) + kProton) / 2.0, 0.01);
}

TEST_F(DisplayIonsViewTest, PanningFollowsTheScrollBar) {
    open();
    const double low = view_->LowMass();
    const double high = view_->HighMass();
    view_->OnCommand(ID_PLOT_ZOOM_IN_X);
    const CVXSpecDisplay& d = view_->DisplayOptions();
    ASSERT_EQ(d.xZoomed, 1);
    // The page is the shown half, rounded up as in every spectrum pane.
    EXPECT_EQ(view_->ScrollBar()->pageStep(), 51);
    EXPECT_EQ(view_->ScrollBar()->value(), 25);
    view_->OnHScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(view_->ScrollBar()->value(), 30);
    for (int i = 0; i < 10; ++i) view_->OnHScroll(ScrollStep::LineForward, 0);
    EXPECT_EQ(view_->ScrollBar()->value(), 49);  // stops at 100 - page
    EXPECT_NEAR(d.xEnd, high, 1e-9);
    view_->OnHScroll(ScrollStep::PageBack, 0);
    EXPECT_EQ(view_->ScrollBar()->value(), 0);
    EXPECT_NEAR(d.xStart, low, 1e-9);
    view_->OnCommand(ID_PLOT_DISPLAY_ALL);
    EXPECT_EQ(d.xZoomed, 0);
    // The residue segments follow the shown range.
    EXPECT_GT(view_->SegmentControl()->SegmentCount(), 0);
}

TEST_F(DisplayIonsViewTest, EmptySpectrumHasNothingToScroll) {
    QFile(dir_.path() + QStringLiteral("/run.0101.0101.2.dta")).remove();
    QFile empty(dir_.path() + QStringLiteral("/run.0101.0101.2.dta"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("375.1986 2\n");
    empty.close();
    open();
    EXPECT_TRUE(view_->Peaks().empty());
    EXPECT_FALSE(view_->ScrollBar()->isEnabled());
    view_->OnHScroll(ScrollStep::LineForward, 0);  // no division by a zero span
    view_->ScrollSpectrum(10, 50);
    EXPECT_EQ(view_->DisplayOptions().xZoomed, 0);
}

// What the screen shows, not what a fresh paint would draw: the marked ions reach the screen
// once the worker's result arrives, without any other repaint.
TEST_F(DisplayIonsViewTest, TheScreenShowsTheLoadedSpectrum) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
    QTest::qWait(50);  // the empty control is on the screen first
    open();
    QTest::qWait(50);
    QWidget* plot = view_->Control()->ControlWindow();
    ASSERT_NE(plot, nullptr);
    const int green = viewstest::ScreenPixelsOver(*view_, *plot, QColor(0, 255, 0),
                                                  QStringLiteral("/tmp/specviews_display_ions_screen.png"));
    EXPECT_GT(green, 20) << "the marked ions are drawn in green";
}

// The table and the marks hold the series the hit was searched with, and no other.
TEST_F(DisplayIonsViewTest, OnlyTheHitsIonSeriesAreComputed) {
    const struct {
        const char* flags;  // the three integers of the file's ion-series line
        bool a, b, y;
    } cases[] = {{"0 1 1", false, true, true},
                 {"1 0 1", true, false, true},
                 {"1 1 0", true, true, false},
                 {"0 0 0", false, true, true}};  // none named: the usual b and y
    const QString out = dir_.path() + QStringLiteral("/run.0101.0101.2.out");
    QFile original(out);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray text = original.readAll();
    original.close();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        QByteArray changed = text;
        changed.replace("nABYabcdVWXYZ: 0 1 1", QByteArray("nABYabcdVWXYZ: ") + c.flags);
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(changed);
        file.close();
        CSorvexResults* set = doc_->GetSorvexResults();
        set->Initialize();
        set->ReadResults(dir_.path());
        ASSERT_EQ(set->GetHitCount(), 1);
        open();
        EXPECT_EQ(!view_->Grid()->GetValueRowCol(2, 3).isEmpty(), c.a);
        EXPECT_EQ(!view_->Grid()->GetValueRowCol(2, 4).isEmpty(), c.b);
        EXPECT_EQ(!view_->Grid()->GetValueRowCol(2, 5).isEmpty(), c.y);
        std::set<char> marked;
        for (const auto& info : view_->PeakInfos()) marked.insert(static_cast<char>(info.cLabelText[0]));
        EXPECT_EQ(marked.count('a') > 0, c.a);
        EXPECT_EQ(marked.count('b') > 0, c.b);
        EXPECT_EQ(marked.count('y') > 0, c.y);
    }
}

TEST_F(DisplayIonsViewTest, PrintIsAlwaysOfferedAndPrintsTheIonsAndTheSpectrum) {
    EXPECT_TRUE(view_->IsCommandEnabled(ID_FILE_PRINT));
    open();
    EXPECT_TRUE(view_->IsCommandEnabled(ID_FILE_PRINT));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("ions.pdf")));
    ASSERT_TRUE(view_->PrintReport(printer));
    EXPECT_EQ(zartest::PdfPageCount(dir.filePath(QStringLiteral("ions.pdf"))), 1);
}
