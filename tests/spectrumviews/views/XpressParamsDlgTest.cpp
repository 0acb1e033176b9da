// The XPRESS Parameters dialog and the recalculation it starts: the residue and tolerance for
// this session, every hit's ratio measured again on a worker with its progress and Cancel in
// the status bar, one recalculation at a time, and Actions > XPRESS.

#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/XpressParamsDlg.h"
#include "spectrumviews/views/XpressRecalculation.h"

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "controls/NumericEditCtrl.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "resultviews/RegisterResultViews.h"
#include "spectrumviews/XpressQuant.h"

#include "ViewsTestSupport.h"
#include "XpressTestRun.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <atomic>
#include <map>
#include <thread>

using namespace zar;
using namespace xpresstest;

namespace {

// Holds the worker after its first hit until the test lets it go on.
struct HeldPass {
    std::atomic<bool> reached{false};
    std::atomic<bool> released{false};

    CXpressRecalculation::HitObserver observer() {
        return [this](int processed, int) {
            if (processed == 1) {
                reached = true;
                while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return true;
        };
    }
    bool waitForFirstHit() {
        return QTest::qWaitFor([this] { return reached.load(); }, zartest::kWorkWaitMs);
    }
};

class XpressParamsDlgTest : public XpressRunTest {
  protected:
    static void SetUpTestSuite() {
        XpressRunTest::SetUpTestSuite();
        // The main window shows the plot layout when the run opens.
        RegisterSpectrumViews();
    }
    void TearDown() override {
        CXpressRecalculation::SetHitObserver({});
        SetXpressAutoCalculate(0);
        frame_.reset();
        doc_.reset();
    }

    // The run open and its results read with XPRESS on; the main window made.
    void load(double difference = 8.0, double tolerance = 1.5) {
        WriteXpressSettings(difference, tolerance);
        doc_ = std::make_unique<CZarDoc>();
        frame_ = std::make_unique<CMainFrame>(doc_.get());
        ASSERT_TRUE(OpenAndRead(*doc_));
    }

    CSorvexResults& set() { return *doc_->GetSorvexResults(); }

    std::map<QString, double> ratios() {
        std::map<QString, double> r;
        for (int i = 0; i < set().GetHitCount(); ++i)
            r[set().GetHit(i)->peptide] = set().GetHit(i)->quantitationRatio;
        return r;
    }

    void setEveryRatio(double value) {
        for (int i = 0; i < set().GetHitCount(); ++i) set().GetHit(i)->quantitationRatio = value;
    }

    CXpressRecalculation& recalculation() { return CXpressRecalculation::Of(*frame_); }

    // OK on the dialog with the values it shows; the pass then waits after its first hit.
    bool okHeldAfterTheFirstHit(HeldPass& held) {
        CXpressRecalculation::SetHitObserver(held.observer());
        CXpressParamsDlg dialog(frame_.get());
        dialog.EnsureInitialized();
        dialog.OnOK();
        return held.waitForFirstHit();
    }

    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace

TEST_F(XpressParamsDlgTest, ItStartsFromTheDocumentAndCloseChangesNothing) {
    load();
    doc_->SetXpressTolerance(0.75);
    CXpressParamsDlg dialog(frame_.get());
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("XPRESS Parameters"));
    EXPECT_EQ(dialog.ResidueEdit()->text(), QStringLiteral("C"));
    EXPECT_EQ(dialog.ToleranceEdit()->text(), QStringLiteral("0.8"));  // one decimal shown
    EXPECT_EQ(dialog.GetDlgItem(CXpressParamsDlg::kResidueEditId), dialog.ResidueEdit());
    dialog.ResidueEdit()->setText(QStringLiteral("K"));
    dialog.reject();
    EXPECT_EQ(doc_->GetXpressResidue(), QStringLiteral("C"));
    EXPECT_DOUBLE_EQ(doc_->GetXpressTolerance(), 0.75);
    EXPECT_FALSE(CXpressRecalculation::IsRunning());
}

TEST_F(XpressParamsDlgTest, TheResidueIsOneLetter) {
    load();
    struct Case {
        const char* typed;
        bool taken;
        const char* residue;
    };
    const Case cases[] = {
        {"K", true, "K"}, {"k", true, "K"}, {"", false, "C"}, {"1", false, "C"}, {"*", false, "C"}};
    for (const Case& c : cases) {
        boxes_.clear();
        CXpressParamsDlg dialog(frame_.get());
        dialog.EnsureInitialized();
        dialog.ResidueEdit()->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.UpdateData(true), c.taken) << c.typed;
        EXPECT_EQ(dialog.Residue(), QLatin1String(c.residue)) << c.typed;
        EXPECT_EQ(boxes_.texts().size(), c.taken ? 0 : 1) << c.typed;
    }
    // What can be typed at all.
    CXpressParamsDlg dialog(frame_.get());
    dialog.EnsureInitialized();
    dialog.ResidueEdit()->clear();
    QTest::keyClicks(dialog.ResidueEdit(), QStringLiteral("7cw"));
    EXPECT_EQ(dialog.ResidueEdit()->text(), QStringLiteral("c"));
}

TEST_F(XpressParamsDlgTest, OkMeasuresEveryHitAgainWithTheNewResidueAndTolerance) {
    load(6.0);
    EXPECT_DOUBLE_EQ(ratios()[QStringLiteral("R.SAMPLEK.A")], 0.0);  // not labelled on C
    CXpressParamsDlg dialog(frame_.get());
    dialog.EnsureInitialized();
    dialog.ResidueEdit()->setText(QStringLiteral("K"));
    dialog.ToleranceEdit()->setText(QStringLiteral("0.5"));
    dialog.ToleranceEdit()->setModified(true);
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(doc_->GetXpressResidue(), QStringLiteral("K"));
    EXPECT_DOUBLE_EQ(doc_->GetXpressTolerance(), 0.5);
    ASSERT_TRUE(CXpressRecalculation::IsRunning());
    EXPECT_FALSE(recalculation().isHidden());
    EXPECT_EQ(recalculation().Text()->text(), QStringLiteral("Calculating Xpress ratios..."));
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_TRUE(recalculation().isHidden());
    EXPECT_EQ(frame_->statusBar()->currentMessage(), QStringLiteral("Finished!"));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();

    // As the engine measures each hit with K and 0.5 m/z.
    CXpressQuant engine(6.0, QStringLiteral("K"), kScanWindow);
    ASSERT_TRUE(engine.OpenRawFile(doc_->GetRawFilePath()));
    engine.SetMassTolerance(0.5);
    for (int i = 0; i < set().GetHitCount(); ++i) {
        SearchHitRecord copy = *set().GetHit(i);
        engine.QuantifyHit(copy);
        EXPECT_EQ(set().GetHit(i)->quantitationRatio, copy.quantitationRatio)
            << copy.peptide.toStdString();
    }
    EXPECT_DOUBLE_EQ(ratios()[QStringLiteral("R.SAMPLEK.A")], -0.5);
    EXPECT_EQ(ratios()[QStringLiteral("K.PEPTIDEWR.A")], 0.0);  // no K
}

TEST_F(XpressParamsDlgTest, OkWithUnchangedValuesMatchesTheLoadTimePass) {
    load(8.0, 1.25);  // a tolerance with more digits than the dialog shows
    const std::map<QString, double> atLoad = ratios();
    EXPECT_DOUBLE_EQ(atLoad.at(QStringLiteral("K.PEPCTIDEK.R")), 0.5);
    setEveryRatio(0.123);
    CXpressParamsDlg dialog(frame_.get());
    dialog.EnsureInitialized();
    dialog.OnOK();
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_DOUBLE_EQ(doc_->GetXpressTolerance(), 1.25);
    EXPECT_EQ(ratios(), atLoad);
}

TEST_F(XpressParamsDlgTest, CancelInTheStatusBarKeepsTheRatiosNotYetMeasured) {
    load();
    setEveryRatio(0.123);
    HeldPass held;
    ASSERT_TRUE(okHeldAfterTheFirstHit(held));
    ASSERT_TRUE(recalculation().CancelButton()->isEnabled());
    QTest::mouseClick(recalculation().CancelButton(), Qt::LeftButton);
    held.released = true;
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_NE(frame_->statusBar()->currentMessage(), QStringLiteral("Finished!"));
    // The first hit has its ratio; every other hit keeps its old value.
    int measured = 0;
    for (int i = 0; i < set().GetHitCount(); ++i) {
        if (set().GetHit(i)->quantitationRatio != 0.123) ++measured;
        if (i > 0) {
            EXPECT_EQ(set().GetHit(i)->quantitationRatio, 0.123) << i;
        }
    }
    EXPECT_EQ(measured, 1);
}

TEST_F(XpressParamsDlgTest, ASecondRecalculationIsRefusedWhileOneRuns) {
    load();
    HeldPass held;
    ASSERT_TRUE(okHeldAfterTheFirstHit(held));

    CXpressParamsDlg second(frame_.get());
    second.EnsureInitialized();
    second.ResidueEdit()->setText(QStringLiteral("K"));
    second.OnOK();
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_TRUE(boxes_.texts()[0].startsWith(
        QStringLiteral("The XPRESS ratios are already being recalculated")));
    EXPECT_NE(second.result(), QDialog::Accepted);  // still open with what was typed
    EXPECT_EQ(doc_->GetXpressResidue(), QStringLiteral("C"));
    EXPECT_FALSE(recalculation().Start(*doc_));
    held.released = true;
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
    EXPECT_FALSE(CXpressRecalculation::IsRunning());
    // Free again.
    CXpressRecalculation::SetHitObserver({});
    EXPECT_TRUE(recalculation().Start(*doc_));
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
}

TEST_F(XpressParamsDlgTest, ClosingTheMainWindowDuringAPassStopsIt) {
    load();
    HeldPass held;
    CXpressRecalculation::SetHitObserver(held.observer());
    ASSERT_TRUE(recalculation().Start(*doc_));
    ASSERT_TRUE(held.waitForFirstHit());
    std::thread release([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        held.released = true;
    });
    frame_.reset();  // cancels and joins the worker
    release.join();
    EXPECT_FALSE(CXpressRecalculation::IsRunning());
}

TEST_F(XpressParamsDlgTest, ActionsXpressOpensTheDialog) {
    load();
    RegisterResultViews(*frame_);
    frame_->UpdateCommandUI();
    EXPECT_FALSE(frame_->Action(ID_ACTION_XPRESS)->isEnabled());  // not in the plot layout
    ASSERT_TRUE(frame_->OnChooseView(5, true));
    frame_->UpdateCommandUI();
    ASSERT_TRUE(frame_->Action(ID_ACTION_XPRESS)->isEnabled());
    zartest::ModalDialogAnswer answer("zar::CXpressParamsDlg", false);
    frame_->RunCommand(ID_ACTION_XPRESS);
    EXPECT_TRUE(answer.seen());
    EXPECT_FALSE(CXpressRecalculation::IsRunning());
}

TEST_F(XpressParamsDlgTest, HelpOpensTheDialogsPage) {
    load();
    zartest::ShellOpenCapture shell;
    CXpressParamsDlg dialog(frame_.get());
    dialog.OnHelp();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
    ASSERT_EQ(shell.urls().size(), 1u);
    EXPECT_TRUE(shell.urls()[0].path().endsWith(QStringLiteral("/9137.html")));
}

TEST_F(XpressParamsDlgTest, ResultsOpenedLaterInTheSessionUseTheDialogsValues) {
    load(6.0);
    RegisterResultViews(*frame_);
    CXpressParamsDlg dialog(frame_.get());
    dialog.EnsureInitialized();
    dialog.ResidueEdit()->setText(QStringLiteral("K"));
    dialog.OnOK();
    ASSERT_TRUE(recalculation().WaitUntilIdle(zartest::kWorkWaitMs));
    setEveryRatio(0.123);

    // File > Open TurboSORVEX Results with XPRESS on: the pass of the load labels K too.
    SetXpressAutoCalculate(1);
    ASSERT_TRUE(OpenSorvexResults(*frame_, folder_));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !frame_->IsLoadingResults(); }, zartest::kWorkWaitMs));
    ASSERT_FALSE(frame_->IsLoadingResults());
    EXPECT_EQ(GetXpressResidue(), QStringLiteral("C"));  // the settings keep theirs
    EXPECT_DOUBLE_EQ(ratios()[QStringLiteral("R.SAMPLEK.A")], -0.5);
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join('|').toStdString();
}
