// The "DeNovo Parameters" dialog: made once by the main window and filled from the document; OK
// stores the values and has the MSn Browser's scans sequenced again.

#include "DenovoViewsTestSupport.h"

#include "DenovoParamsDlg.h"
#include "FrameCommands.h"
#include "controls/NumericEditCtrl.h"
#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "interpretation/DenovoEngine.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;
using namespace denovotest;

namespace {

// Two MS2 scans and an MS3 scan, enough for the de novo layout's commands.
QString WriteSmallMSnRun(const QString& dir) {
    using infobartest::Spectrum;
    return infobartest::WriteRun(dir, QStringLiteral("msn.mzML"),
                                 {Spectrum(1, 1, 0.5), Spectrum(2, 2, 1.0, {445.12}),
                                  Spectrum(3, 3, 1.1, {445.12, 623.45}), Spectrum(4, 1, 1.5)});
}

CDenovoParamsDlg* Dialog(CMainFrame& frame) {
    return frame.findChild<CDenovoParamsDlg*>(QString(), Qt::FindDirectChildrenOnly);
}

class DenovoParamsDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString run = WriteSmallMSnRun(dir_.path());
        ASSERT_FALSE(run.isEmpty());
        ASSERT_TRUE(f_.Open(run));
        ASSERT_TRUE(f_.ShowLayout());
    }
    CDenovoParamsDlg* Open() {
        f_.frame().UpdateCommandUI();
        EXPECT_TRUE(f_.frame().Action(ID_ACTION_DENOVO)->isEnabled());
        f_.frame().RunCommand(ID_ACTION_DENOVO);
        Settle();
        return Dialog(f_.frame());
    }

    QTemporaryDir dir_;
    DenovoFrame f_;
};

}  // namespace

TEST_F(DenovoParamsDlgTest, ActionsDeNovoShowsOneDialogWithTheDocumentsValues) {
    CDenovoParamsDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("DeNovo Parameters"));
    EXPECT_EQ(dialog->DaltonsEdit()->text(), QStringLiteral("0.3"));
    EXPECT_EQ(dialog->PpmEdit()->text(), QStringLiteral("200.0"));
    EXPECT_EQ(dialog->ThresholdEdit()->text(), QStringLiteral("10.0"));
    EXPECT_EQ(dialog->MaxCandidatesEdit()->text(), QStringLiteral("16"));
    EXPECT_EQ(dialog->MaxPartialSequencesEdit()->text(), QStringLiteral("256"));
    EXPECT_EQ(dialog->MinPrimaryScoreEdit()->text(), QStringLiteral("0.00"));
    EXPECT_EQ(dialog->PercentOfHighestEdit()->text(), QStringLiteral("50"));
    EXPECT_FALSE(dialog->ExpandBox()->isChecked());
    dialog->grab().save(QStringLiteral("/tmp/i33-denovo-parameters.png"));

    // Closed, the document changed: the same window comes back with the document's values.
    dialog->reject();
    DenovoParams p;
    p.daTolerance = 0.5;
    p.minimumPrimaryScore = 0.25;
    p.ppmTolerance = 20.0;
    p.noiseThreshold = 5.0;
    p.maximumPartialSequences = 100;
    p.maximumCandidates = 8;
    p.percentOfHighestScore = 30;
    p.expandPartialSequences = 1;
    f_.doc().SetDenovoParameters(p);
    EXPECT_EQ(Open(), dialog);
    EXPECT_EQ(f_.frame().findChildren<CDenovoParamsDlg*>().size(), 1);
    EXPECT_EQ(dialog->DaltonsEdit()->text(), QStringLiteral("0.5"));
    EXPECT_EQ(dialog->MinPrimaryScoreEdit()->text(), QStringLiteral("0.25"));
    EXPECT_EQ(dialog->PpmEdit()->text(), QStringLiteral("20.0"));
    EXPECT_EQ(dialog->ThresholdEdit()->text(), QStringLiteral("5.0"));
    EXPECT_EQ(dialog->MaxPartialSequencesEdit()->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog->MaxCandidatesEdit()->text(), QStringLiteral("8"));
    EXPECT_EQ(dialog->PercentOfHighestEdit()->text(), QStringLiteral("30"));
    EXPECT_TRUE(dialog->ExpandBox()->isChecked());
}

TEST_F(DenovoParamsDlgTest, OkWithoutBrowserScansStoresTheValuesAndLoadsNothing) {
    CDenovoParamsDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    zartest::MessageTrap trap(&f_.frame(), {kMsgDenovoSpectraLoaded});
    dialog->MaxCandidatesEdit()->setText(QStringLiteral("3"));
    dialog->PercentOfHighestEdit()->setText(QStringLiteral("0"));
    dialog->ExpandBox()->click();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    Settle();
    EXPECT_FALSE(dialog->isVisible());
    const DenovoParams p = f_.doc().GetDenovoParameters();
    EXPECT_EQ(p.maximumCandidates, 3);
    EXPECT_EQ(p.percentOfHighestScore, 0);
    EXPECT_EQ(p.expandPartialSequences, 1);
    EXPECT_DOUBLE_EQ(p.daTolerance, 0.3);
    EXPECT_TRUE(trap.caught().empty()) << "the MSn Browser held no scans";
    EXPECT_EQ(f_.doc().GetDenovoEngine()->SpectraLoaded(), 0);
}

TEST_F(DenovoParamsDlgTest, AValueOutOfRangeIsRefusedAndNothingStored) {
    CDenovoParamsDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->DaltonsEdit()->setText(QStringLiteral("25"));
    dialog->OnOK();
    Settle();
    ASSERT_EQ(f_.boxes().texts().size(), 1);
    EXPECT_TRUE(dialog->isVisible()) << "the dialog stays for a correction";
    EXPECT_DOUBLE_EQ(f_.doc().GetDenovoParameters().daTolerance, 0.3);
}

TEST_F(DenovoParamsDlgTest, TypedValuesPastTheirLimitsAreToldNotShortened) {
    // Typing "20" in a field of 0 to 10 used to leave "2" and store 2.0 without a word.
    const struct {
        CIntEditCtrl* (CDenovoParamsDlg::*intField)() const;
        CDoubleEditCtrl* (CDenovoParamsDlg::*doubleField)() const;
        const char* typed;
        const char* message;
    } cases[] = {
        {nullptr, &CDenovoParamsDlg::DaltonsEdit, "20",
         "Daltons: Please enter a number between 0 and 10."},
        {nullptr, &CDenovoParamsDlg::ThresholdEdit, "150",
         "Threshold: Please enter a number between 0 and 100."},
        {nullptr, &CDenovoParamsDlg::PpmEdit, "-5",
         "PPM: Please enter a number between 0 and 1000."},
        {&CDenovoParamsDlg::MaxCandidatesEdit, nullptr, "600",
         "Maximum Number of Candidates: Please enter a number between 1 and 512."},
        {&CDenovoParamsDlg::PercentOfHighestEdit, nullptr, "101",
         "Percent of Highest Score: Please enter a number between 0 and 100."},
    };
    CDenovoParamsDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const DenovoParams before = f_.doc().GetDenovoParameters();
    for (const auto& c : cases) {
        f_.boxes().clear();
        QLineEdit* field = c.intField ? static_cast<QLineEdit*>((dialog->*c.intField)())
                                      : static_cast<QLineEdit*>((dialog->*c.doubleField)());
        const QString old = field->text();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(c.typed));
        EXPECT_EQ(field->text(), QString::fromLatin1(c.typed));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        Settle();
        EXPECT_EQ(f_.boxes().texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), field) << c.typed;
        const DenovoParams now = f_.doc().GetDenovoParameters();
        EXPECT_DOUBLE_EQ(now.daTolerance, before.daTolerance);
        EXPECT_DOUBLE_EQ(now.noiseThreshold, before.noiseThreshold);
        EXPECT_EQ(now.maximumCandidates, before.maximumCandidates);
        field->setText(old);
    }
}

TEST_F(DenovoParamsDlgTest, HelpOpensTheDialogsPage) {
    CDenovoParamsDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    zartest::ShellOpenCapture shell;
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    ASSERT_EQ(shell.urls().size(), 1u);
    EXPECT_TRUE(shell.urls().front().toString().endsWith(QStringLiteral("/9036.html")));
}

TEST(DenovoParamsDlgPlacement, BesideTheOwnerAndInsideTheDesktop) {
    const QRect desktop(0, 0, 1920, 1080);
    const QSize size(300, 400);
    struct Case {
        QRect owner;
        QPoint expected;
    } cases[] = {
        {QRect(100, 100, 800, 600), QPoint(900, 100)},    // right of the owner, at its top
        {QRect(1200, 100, 800, 600), QPoint(1620, 100)},  // held at the desktop's right edge
        {QRect(100, 900, 800, 100), QPoint(900, 680)},    // held above the desktop's bottom
        {desktop, QPoint(1620, 0)},                       // a maximised owner
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDenovoParamsDlg::Placement(c.owner, size, desktop), c.expected) << c.owner.x();
}
