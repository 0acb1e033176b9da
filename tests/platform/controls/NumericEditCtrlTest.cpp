// Numeric edit controls refuse values outside their limits, as typed and as read back; the
// dialog bases validate on the way in and show the limits.

#include "controls/ColorLabel.h"
#include "controls/DialogBase.h"
#include "controls/EditTextOnly.h"
#include "controls/NumericEditCtrl.h"

#include "TestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace zar;

TEST(NumberValidatorTest, TypedTextIsRefusedOnceItCanNoLongerBeInRange) {
    struct Case {
        double lower, upper;
        int decimals;
        const char* text;
        QValidator::State expected;
    };
    const Case cases[] = {
        {1, 15, 0, "7", QValidator::Acceptable},       {1, 15, 0, "15", QValidator::Acceptable},
        {1, 15, 0, "16", QValidator::Invalid},      // more digits only grow it
        {1, 15, 0, "0", QValidator::Intermediate},  // below the range: left to the range check
        {1, 15, 0, "-", QValidator::Invalid},       // no negative numbers in 1..15
        {1, 15, 0, "1.5", QValidator::Invalid},     // whole numbers only
        {1, 15, 0, "abc", QValidator::Invalid},        {-5, 5, 2, "-", QValidator::Intermediate},
        {-5, 5, 2, "-4.25", QValidator::Acceptable},   {-5, 5, 2, "-6", QValidator::Invalid},
        {-5, 5, 2, "4.255", QValidator::Invalid},  // more decimals than shown
        {0, 100, 2, "100.5", QValidator::Invalid},     {0, 100, 2, "", QValidator::Intermediate},
        {100, 2000, 2, "5", QValidator::Intermediate},  // "5" may become "500"
    };
    for (const Case& c : cases) {
        CNumberValidator v(c.lower, c.upper, c.decimals, nullptr);
        QString text = QString::fromLatin1(c.text);
        int pos = 0;
        EXPECT_EQ(v.validate(text, pos), c.expected)
            << c.text << " in " << c.lower << ".." << c.upper;
    }
}

TEST(DoubleEditCtrlTest, ValueOutsideTheLimitsIsNotReadBack) {
    CDoubleEditCtrl edit;
    edit.Initialize(1.5, -5.0, 5.0, 6, 2, 1, 0);
    EXPECT_EQ(edit.text(), QStringLiteral("1.50"));
    double v = 0.0;
    ASSERT_TRUE(edit.GetValue(v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    edit.setText(QStringLiteral("7.00"));  // set by program, past the validator
    v = 99.0;
    EXPECT_FALSE(edit.GetValue(v));
    EXPECT_DOUBLE_EQ(v, 99.0);
    edit.setText(QStringLiteral("nan"));
    EXPECT_FALSE(edit.GetValue(v));
}

TEST(IntEditCtrlTest, LimitsHoldForTypedAndSetText) {
    CIntEditCtrl edit;
    edit.Initialize(3, 1, 15);
    int v = 0;
    ASSERT_TRUE(edit.GetValue(v));
    EXPECT_EQ(v, 3);
    for (const char* bad : {"0", "16", "", "2.5", "x"}) {
        edit.setText(QString::fromLatin1(bad));
        EXPECT_FALSE(edit.GetValue(v)) << bad;
    }
}

TEST(DoubleRangeEditCtrlTest, BothEndsWithinLimitsAndInOrder) {
    CDoubleRangeEditCtrl edit;
    edit.Initialize(100.0, 200.0, 0.0, 1000.0, 2);
    EXPECT_EQ(edit.text(), QStringLiteral("100.00-200.00"));
    double low = 0, high = 0;
    ASSERT_TRUE(edit.GetRange(low, high));
    EXPECT_DOUBLE_EQ(low, 100.0);
    EXPECT_DOUBLE_EQ(high, 200.0);
    for (const char* bad : {"200-100", "100-2000", "-5-10", "100", "a-b"}) {
        edit.setText(QString::fromLatin1(bad));
        EXPECT_FALSE(edit.GetRange(low, high)) << bad;
    }
}

namespace {

class SmallDialog : public CDialogBase {
  public:
    SmallDialog()
        : CDialogBase(100, nullptr), edit(new CIntEditCtrl(this)), box(new QCheckBox(this)) {
        edit->Initialize(1, 1, 15);
    }
    int value = 5;
    int checked = 1;
    CIntEditCtrl* edit;
    QCheckBox* box;

  protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Int(dx, edit, value);
        DDX_Check(dx, box, checked);
    }
};

}  // namespace

TEST(DialogBaseTest, DataExchangeLoadsValidatesAndNamesTheLimits) {
    zartest::MessageBoxCapture boxes;
    SmallDialog d;
    d.EnsureInitialized();  // loads the members into the controls
    EXPECT_EQ(d.edit->text(), QStringLiteral("5"));
    EXPECT_TRUE(d.box->isChecked());
    d.edit->setText(QStringLiteral("9"));
    d.box->setChecked(false);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.value, 9);
    EXPECT_EQ(d.checked, 0);
    d.edit->setText(QStringLiteral("20"));
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.value, 9);
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Please enter a number between 1 and 15.")});
}

TEST(DialogBaseTest, RadioGroupExchangesTheValueOfItsButtons) {
    QWidget parent;
    QButtonGroup group;
    auto* average = new QRadioButton(&parent);
    auto* mono = new QRadioButton(&parent);
    group.addButton(average, 0);
    group.addButton(mono, 1);
    int value = 1;
    CDataExchange load(false);
    DDX_Radio(load, &group, value);
    EXPECT_TRUE(mono->isChecked());
    average->setChecked(true);
    CDataExchange save(true);
    DDX_Radio(save, &group, value);
    EXPECT_EQ(value, 0);
}

TEST(ColorLabelTest, ColourrefBecomesTheTextColour) {
    CColorLabel label(QStringLiteral("b ions"));
    label.SetTextColor(0x00FF0000);  // blue in COLORREF order
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(label.TextColor(), 0x00FF0000u);
}

TEST(IntRangeEditCtrlTest, BothScansWithinLimitsAndInOrder) {
    CIntRangeEditCtrl edit;
    edit.Initialize(5, 80, 1, 100);
    EXPECT_EQ(edit.text(), QStringLiteral("5-80"));
    int first = 0, last = 0;
    ASSERT_TRUE(edit.GetRange(first, last));
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 80);
    edit.setText(QStringLiteral(" 7 - 7 "));
    ASSERT_TRUE(edit.GetRange(first, last));
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 7);
    for (const char* bad : {"80-5", "0-10", "10-101", "10", "", "1.5-3", "a-b", "-"}) {
        edit.setText(QString::fromLatin1(bad));
        first = last = -1;
        EXPECT_FALSE(edit.GetRange(first, last)) << bad;
        EXPECT_EQ(first, -1);
    }
    // Typing is held to the shape of a range.
    int pos = 0;
    QString typed = QStringLiteral("12x");
    EXPECT_EQ(edit.validator()->validate(typed, pos), QValidator::Invalid);
    typed = QStringLiteral("12-1");
    EXPECT_NE(edit.validator()->validate(typed, pos), QValidator::Invalid);
}

TEST(EditTextOnlyTest, OnlyLettersAreTaken) {
    CEditTextOnly edit;
    int pos = 0;
    for (const char* ok : {"", "PEPTIDE", "mka"}) {
        QString t = QString::fromLatin1(ok);
        EXPECT_EQ(edit.validator()->validate(t, pos), QValidator::Acceptable) << ok;
    }
    for (const char* bad : {"PEP1", "PE PT", "K-R", "M*"}) {
        QString t = QString::fromLatin1(bad);
        EXPECT_EQ(edit.validator()->validate(t, pos), QValidator::Invalid) << bad;
    }
}
