// The User Trace Manager validates the selected definition before the selection moves, the
// order changes or the dialog closes, and hands back exactly the definitions it holds.

#include "spectrumviews/views/ChroDisplayOptionsDialog.h"
#include "spectrumviews/views/UserTraceDialog.h"

#include "controls/NumericEditCtrl.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace zar;

namespace {

CVXUserTraceDef Def(int detector, int type, bool enabled = true) {
    CVXUserTraceDef d;
    d.detectorType = detector;
    d.traceType = type;
    d.enabled = enabled ? 1 : 0;
    return d;
}

struct DialogFixture : ::testing::Test {
    void open(std::vector<CVXUserTraceDef> defs) {
        CVXUserTraceDefWrapper w;
        for (std::size_t i = 0; i < defs.size(); ++i) *w.GetAt(static_cast<int>(i)) = defs[i];
        dialog.SetTraces(w);
        dialog.EnsureInitialized();
    }
    zartest::MessageBoxCapture boxes;
    CUserTraceDialog dialog;
};

}  // namespace

TEST_F(DialogFixture, EvenSmoothingIsRefused) {
    open({Def(kVXMSDevice, kVXTICTrace)});
    dialog.SmoothingEdit()->setText(QStringLiteral("4"));
    EXPECT_FALSE(dialog.ValidateSelected(false));
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("The number of smoothing points must be an odd number.")});
    dialog.SmoothingEdit()->setText(QStringLiteral("5"));
    EXPECT_TRUE(dialog.ValidateSelected(false));
    EXPECT_EQ(dialog.Definition(0).smoothingPoints, 5);
    dialog.SmoothingEdit()->setText(QStringLiteral("17"));  // beyond 15: the exchange fails
    EXPECT_FALSE(dialog.ValidateSelected(false));
}

TEST_F(DialogFixture, EnabledMassRangeTraceNeedsRanges) {
    open({Def(kVXMSDevice, kVXTICTrace), Def(kVXMSDevice, kVXMassRangeTrace, false)});
    dialog.OnListClick(1, false);
    ASSERT_EQ(dialog.SelectedRow(), 1);
    EXPECT_TRUE(dialog.ValidateSelected(true));  // not enabled: no ranges needed
    dialog.OnListClick(1, true);                 // check it
    EXPECT_TRUE(dialog.RowChecked(1));
    boxes.clear();
    dialog.OnListClick(0, false);  // moving away needs the ranges
    EXPECT_EQ(dialog.SelectedRow(), 1);
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("The Mass Range plot type requires one or more ranges.")});
    dialog.RangeEdit()->setText(QStringLiteral("400.00-500.00, 600.00-700.00"));
    dialog.OnListClick(0, false);
    EXPECT_EQ(dialog.SelectedRow(), 0);
    ASSERT_EQ(dialog.Definition(1).ranges.size(), 2u);
    EXPECT_EQ(dialog.Definition(1).ranges[1], CVX_MassRange(600, 700));
    EXPECT_EQ(dialog.RowText(1, 1), QStringLiteral("400.00-500.00, 600.00-700.00"));
}

TEST_F(DialogFixture, NeutralFragmentTakesSingleMassesOnly) {
    open({Def(kVXMSDevice, kVXNeutralFragmentTrace)});
    dialog.RangeEdit()->setText(QStringLiteral("100.00-101.00"));
    EXPECT_FALSE(dialog.ValidateSelected(true));
    EXPECT_EQ(boxes.texts().value(0),
              QStringLiteral("The Neutral Fragment plot type only supports single masses."));
    dialog.RangeEdit()->setText(QStringLiteral("100.00"));
    ASSERT_TRUE(dialog.ValidateSelected(true));
    ASSERT_EQ(dialog.Definition(0).ranges.size(), 1u);
    EXPECT_EQ(dialog.Definition(0).ranges[0], CVX_MassRange(100, 100));
    dialog.RangeEdit()->setText(QStringLiteral("abc"));
    boxes.clear();
    EXPECT_FALSE(dialog.ValidateSelected(true));
    EXPECT_EQ(boxes.texts().value(0),
              QStringLiteral("The mass range(s) are incorrectly formatted or out of range."));
}

TEST_F(DialogFixture, PlotTypeChangesAdaptTheRanges) {
    CVXUserTraceDef d = Def(kVXMSDevice, kVXMassRangeTrace);
    d.ranges = {{100, 110}, {200, 220}};
    open({d});
    dialog.OnPlotTypeChanged(3);  // neutral fragment: one single mass per range, at its low end
    ASSERT_EQ(dialog.Definition(0).ranges.size(), 2u);
    EXPECT_EQ(dialog.Definition(0).ranges[1], CVX_MassRange(200, 200));
    EXPECT_EQ(dialog.RangeLabel()->text(), QStringLiteral("Mass(es):"));
    dialog.OnPlotTypeChanged(1);  // TIC takes no ranges
    EXPECT_TRUE(dialog.Definition(0).ranges.empty());
    EXPECT_FALSE(dialog.RangeEdit()->isEnabled());
}

TEST_F(DialogFixture, UvTraceKeepsItsDelayUntilItBecomesAMassSpectrometerTrace) {
    CVXUserTraceDef uv = Def(kVXUVDevice, kVXChannelATrace);
    uv.delay = 0.5;
    open({uv});
    EXPECT_TRUE(dialog.DelayEdit()->isEnabled());
    EXPECT_FALSE(dialog.FilterCombo()->isEnabled());
    ASSERT_TRUE(dialog.ValidateSelected(true));
    EXPECT_DOUBLE_EQ(dialog.Definition(0).delay, 0.5);
    dialog.OnDetectorChanged(kVXMSDevice);
    EXPECT_EQ(dialog.Definition(0).traceType, kVXTICTrace);
    EXPECT_FALSE(dialog.DelayEdit()->isEnabled());
    ASSERT_TRUE(dialog.ValidateSelected(true));
    EXPECT_DOUBLE_EQ(dialog.Definition(0).delay, 0.0);
    dialog.DelayEdit()->setText(QStringLiteral("6.00"));  // past the delay's limits
    EXPECT_FALSE(dialog.ValidateSelected(true));
}

TEST_F(DialogFixture, InvalidScanFilterIsRefused) {
    open({Def(kVXMSDevice, kVXTICTrace)});
    dialog.FilterCombo()->setEditText(QStringLiteral("not a filter [[["));
    EXPECT_FALSE(dialog.ValidateSelected(false));
    EXPECT_EQ(boxes.texts().value(0),
              QStringLiteral("The scan filter is invalid or incorrectly formatted."));
    dialog.FilterCombo()->setEditText(QStringLiteral("+ c ESI Full ms [300.00-2000.00]"));
    EXPECT_TRUE(dialog.ValidateSelected(false));
    EXPECT_FALSE(dialog.Definition(0).filter.IsAcceptAll());
}

TEST_F(DialogFixture, GetTracesReturnsExactlyTheDefinitionsWithoutGaps) {
    CVXUserTraceDef a = Def(kVXMSDevice, kVXTICTrace);
    a.Title(QStringLiteral("A"));
    CVXUserTraceDef b = Def(kVXMSDevice, kVXBasePeakTrace);
    b.Title(QStringLiteral("B"));
    CVXUserTraceDef c = Def(kVXUVDevice, kVXChannelATrace);
    c.Title(QStringLiteral("C"));
    std::vector<CVXUserTraceDef> defs(6);
    defs[0] = a;
    defs[2] = b;
    defs[5] = c;
    open(defs);
    CVXUserTraceDefWrapper out;
    for (int i = 0; i < 8; ++i) out.GetAt(i)->Title(QStringLiteral("stale"));
    dialog.GetTraces(out);
    ASSERT_EQ(out.GetSize(), 3);  // no stale definitions beyond them
    EXPECT_EQ(out.GetAt(0)->Title(), QStringLiteral("A"));
    EXPECT_EQ(out.GetAt(1)->Title(), QStringLiteral("B"));
    EXPECT_EQ(out.GetAt(2)->Title(), QStringLiteral("C"));
}

TEST_F(DialogFixture, UpAndDownFollowTheSelection) {
    open({Def(kVXMSDevice, kVXTICTrace), Def(kVXMSDevice, kVXBasePeakTrace)});
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    EXPECT_TRUE(dialog.DownButton()->isEnabled());
    dialog.OnMoveDown();
    EXPECT_EQ(dialog.SelectedRow(), 1);
    EXPECT_EQ(dialog.Definition(1).traceType, kVXTICTrace);
    EXPECT_EQ(dialog.Definition(0).traceType, kVXBasePeakTrace);
    for (int i = 0; i < 12; ++i) dialog.OnMoveDown();
    EXPECT_EQ(dialog.SelectedRow(), CUserTraceDialog::kRows - 1);
    EXPECT_FALSE(dialog.DownButton()->isEnabled());
    EXPECT_EQ(dialog.RowText(0, 0), QStringLiteral("Base Peak"));
    EXPECT_EQ(dialog.RowText(3, 0), QStringLiteral("-"));
}

TEST(ChroDisplayOptionsDialogTest, ThresholdIsCheckedAndSignalToNoiseCanBeLeftOut) {
    zartest::MessageBoxCapture boxes;
    CChroDisplayOptionsDialog d;
    d.labelThreshold = 12.5;
    d.labelRetentionTime = 1;
    d.offerSignalToNoise = 0;
    d.EnsureInitialized();
    EXPECT_FALSE(d.SignalToNoiseBox()->isVisibleTo(&d));
    EXPECT_EQ(d.ThresholdEdit()->text(), QStringLiteral("12.50"));
    d.ThresholdEdit()->setText(QStringLiteral("150"));
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(boxes.texts().value(0),
              QStringLiteral("Label Threshold (%): Please enter a number between 0 and 100."));
    d.ThresholdEdit()->setText(QStringLiteral("20"));
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_DOUBLE_EQ(d.labelThreshold, 20.0);
    EXPECT_EQ(d.labelRetentionTime, 1);
}
