// The Sequence Calculator: its texts, the spectrum it gives the plot, and the Tools command that
// keeps one calculator for the main window.

#include "databases/views/RegisterPepmapViews.h"
#include "databases/views/SequenceCalcDlg.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "app/plotwrappers/PlotWrappers.h"

#include "ViewsTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;

namespace {

class SequenceCalcTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new viewstest::RegisteredPlotServer; }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    static viewstest::RegisteredPlotServer* server_;
    zartest::MessageBoxCapture boxes;
};
viewstest::RegisteredPlotServer* SequenceCalcTest::server_ = nullptr;

void Choose(CSequenceCalcDlg& dialog, const QString& sequence, bool mono, bool a, bool b, bool y) {
    dialog.SequenceEdit()->setText(sequence);
    qobject_cast<QRadioButton*>(
        dialog.GetDlgItem(mono ? CSequenceCalcDlg::kMonoisotopicId : CSequenceCalcDlg::kAverageId))
        ->setChecked(true);
    qobject_cast<QCheckBox*>(dialog.GetDlgItem(CSequenceCalcDlg::kShowAId))->setChecked(a);
    qobject_cast<QCheckBox*>(dialog.GetDlgItem(CSequenceCalcDlg::kShowBId))->setChecked(b);
    qobject_cast<QCheckBox*>(dialog.GetDlgItem(CSequenceCalcDlg::kShowYId))->setChecked(y);
}

}  // namespace

TEST_F(SequenceCalcTest, GlycylAlanineWithEverySeries) {
    ASSERT_TRUE(server_->ok());
    CSequenceCalcDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    ASSERT_NE(dialog.Control(), nullptr);
    EXPECT_TRUE(dialog.SequenceEdit()->text().isEmpty());
    EXPECT_EQ(dialog.AverageMassLabel()->text(), "Average Mass:");
    Choose(dialog, "GA", true, true, true, true);
    dialog.OnUpdate();
    EXPECT_EQ(dialog.WeightLabel()->text(), "Weight: 147.08");
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 2");
    // The residues' mass per residue: (57.0214636 + 71.0371136) / 2.
    EXPECT_EQ(dialog.AverageMassLabel()->text(), "Average mass: 64.03");
    const CVXSpec& plotted = dialog.PlottedSpectrum();
    EXPECT_EQ(plotted.GetPeakCount(), 8);
    EXPECT_NEAR(plotted.header.data.dLowMass, 58.0292886 - 27.994915 - 10.0, 1e-7);
    EXPECT_NEAR(plotted.header.data.dHighMass, 147.0769668 + 10.0, 1e-7);
    EXPECT_EQ(plotted.header.data.dBasePeakIntensity, 50.0);
    EXPECT_NEAR(plotted.header.data.dBasePeakMass, 58.0292886, 1e-7);
    EXPECT_EQ(plotted.header.data.dTIC, 190.0);
    ASSERT_EQ(plotted.GetMassRangeCount(), 1);
    std::int32_t valid = 0;
    dialog.Control()->Call(&ZAR_PLOTLib::ISpec::get_DataValid, &valid);
    EXPECT_EQ(valid, 1);
    viewstest::Grab(dialog, "/tmp/i31-sequence-calculator.png");
}

TEST_F(SequenceCalcTest, EmptySequenceKeepsThePlotAndTheMassPerResidue) {
    ASSERT_TRUE(server_->ok());
    CSequenceCalcDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    Choose(dialog, "PEPTIDE", false, false, true, true);
    dialog.OnUpdate();
    const QString average = dialog.AverageMassLabel()->text();
    const int peaks = dialog.PlottedSpectrum().GetPeakCount();
    EXPECT_EQ(peaks, 7 * 3);
    Choose(dialog, "", false, false, true, true);
    dialog.OnUpdate();
    EXPECT_TRUE(dialog.WeightLabel()->text().isEmpty());
    EXPECT_TRUE(dialog.LengthLabel()->text().isEmpty());
    EXPECT_EQ(dialog.AverageMassLabel()->text(), average);
    EXPECT_EQ(dialog.PlottedSpectrum().GetPeakCount(), peaks);
}

TEST_F(SequenceCalcTest, TheBBoxShowsAndHidesTheBIons) {
    ASSERT_TRUE(server_->ok());
    CSequenceCalcDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    // GA, monoisotopic: b1 58.0292886, b2 129.0664022 (and their companions 1.0 below).
    const double bIons[] = {58.0292886, 57.0292886, 129.0664022, 128.0664022};
    const auto hasBIons = [&dialog, &bIons] {
        const CVXSpec& plotted = dialog.PlottedSpectrum();
        int found = 0;
        for (const double b : bIons)
            for (const auto& p : plotted.peaks)
                if (std::abs(p.dPosition - b) < 1e-6) ++found;
        return found;
    };
    const struct {
        bool a, b, y;
        int peaks;
        int bPeaks;
    } cases[] = {{false, true, true, 6, 4},
                 {false, false, true, 2, 0},
                 {true, false, false, 2, 0},
                 {true, true, false, 6, 4}};
    for (const auto& c : cases) {
        Choose(dialog, "GA", true, c.a, c.b, c.y);
        dialog.OnUpdate();
        EXPECT_EQ(dialog.PlottedSpectrum().GetPeakCount(), c.peaks) << c.a << c.b << c.y;
        EXPECT_EQ(hasBIons(), c.bPeaks) << c.a << c.b << c.y;
        EXPECT_EQ(dialog.WeightLabel()->text(), "Weight: 147.08");
    }
    // No series at all: the plot shows nothing rather than the last spectrum.
    Choose(dialog, "GA", true, false, false, false);
    dialog.OnUpdate();
    EXPECT_EQ(dialog.PlottedSpectrum().GetPeakCount(), 0);
    std::int32_t valid = 1;
    dialog.Control()->Call(&ZAR_PLOTLib::ISpec::get_DataValid, &valid);
    EXPECT_EQ(valid, 0);
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 2");
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(SequenceCalcTest, ToolsCommandKeepsOneCalculator) {
    ASSERT_TRUE(server_->ok());
    RegisterPepmapViews();
    CZarDoc doc;
    auto frame = std::make_unique<CMainFrame>(&doc);
    frame->show();
    doc.OnNewDocument();
    frame->UpdateCommandUI();
    QAction* calculator = frame->Action(ID_TOOLS_SEQUENCE_CALCULATOR);
    QAction* editor = frame->Action(ID_TOOLS_SEQUENCE_EDITOR);
    ASSERT_TRUE(calculator && editor);
    EXPECT_TRUE(calculator->isEnabled());
    EXPECT_TRUE(editor->isEnabled());
    calculator->trigger();
    auto* first = frame->findChild<CSequenceCalcDlg*>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->SequenceEdit()->setText("LVNELTEFAK");
    first->reject();  // Close hides it
    EXPECT_FALSE(first->isVisible());
    calculator->trigger();
    EXPECT_EQ(frame->findChildren<CSequenceCalcDlg*>().size(), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->SequenceEdit()->text(), "LVNELTEFAK");
    frame.reset();
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_EDITOR);
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_CALCULATOR);
}

TEST(RegisterPepmapViews, ThePaneAndTheSequenceToolsAnswer) {
    RegisterPepmapViews();
    EXPECT_TRUE(IsViewClassRegistered("CPepmapView"));
    EXPECT_TRUE(HasFrameCommand(ID_TOOLS_SEQUENCE_EDITOR));
    EXPECT_TRUE(HasFrameCommand(ID_TOOLS_SEQUENCE_CALCULATOR));
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_EDITOR);
    UnregisterFrameCommand(ID_TOOLS_SEQUENCE_CALCULATOR);
}
