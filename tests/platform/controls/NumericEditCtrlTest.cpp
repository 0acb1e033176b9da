// Numeric edit controls refuse values outside their limits, as typed and as read back; the
// dialog bases validate on the way in and show the limits.

#include "controls/ColorLabel.h"
#include "controls/DialogBase.h"
#include "controls/EditTextOnly.h"
#include "controls/NumericEditCtrl.h"

#include "TestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace zar;

TEST(NumberValidatorTest, TypingHoldsToNumbersAndKeepsThemAsTyped) {
    struct Case {
        double lower, upper;
        int decimals;
        const char* text;
        QValidator::State expected;
    };
    // A number outside the limits stays as typed, so that the check on the way in tells the
    // limits: refusing the key would leave another number ("20" as "2") without a word.
    const Case cases[] = {
        {1, 15, 0, "7", QValidator::Acceptable},      {1, 15, 0, "15", QValidator::Acceptable},
        {1, 15, 0, "16", QValidator::Intermediate},   {1, 15, 0, "0", QValidator::Intermediate},
        {1, 15, 0, "-", QValidator::Intermediate},    {1, 15, 0, "-3", QValidator::Intermediate},
        {1, 15, 0, "1.5", QValidator::Invalid},       // whole numbers only
        {1, 15, 0, "abc", QValidator::Invalid},       {1, 15, 0, "1x", QValidator::Invalid},
        {-5, 5, 2, "-", QValidator::Intermediate},    {-5, 5, 2, "-4.25", QValidator::Acceptable},
        {-5, 5, 2, "-6", QValidator::Intermediate},   {-5, 5, 2, "4.255", QValidator::Acceptable},
        {0, 10, 1, "20", QValidator::Intermediate},   {0, 100, 2, "100.5", QValidator::Intermediate},
        {0, 100, 2, "", QValidator::Intermediate},    {100, 2000, 2, "5", QValidator::Intermediate},
    };
    for (const Case& c : cases) {
        CNumberValidator v(c.lower, c.upper, c.decimals, nullptr);
        QString text = QString::fromLatin1(c.text);
        int pos = 0;
        EXPECT_EQ(v.validate(text, pos), c.expected)
            << c.text << " in " << c.lower << ".." << c.upper;
    }
}

TEST(NumberValidatorTest, TypedDigitsPastTheLimitReachTheFieldAndAreRefusedOnTheWayIn) {
    zartest::MessageBoxCapture boxes;
    QWidget window;
    auto* form = new QFormLayout(&window);
    auto* edit = new CDoubleEditCtrl(&window);
    form->addRow(QStringLiteral("&Daltons:"), edit);
    edit->Initialize(0.3, 0.0, 10.0, 6, 1, 1, 0);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("20"));
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    double value = 0.3;
    CDataExchange dx(true);
    DDX_Double(dx, edit, value);
    EXPECT_TRUE(dx.Failed());
    EXPECT_DOUBLE_EQ(value, 0.3);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral(
                                 "Daltons: Please enter a number between 0 and 10.")});
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

TEST(FieldNameTest, TheFieldIsNamedAsItsLabelShowsIt) {
    QWidget window;
    auto* outer = new QVBoxLayout(&window);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    auto* inForm = new QLineEdit(&window);
    form->addRow(QStringLiteral("Maximum &Number of Partial Sequences:"), inForm);
    auto* plainForm = new QLineEdit(&window);
    form->addRow(QStringLiteral("Threshold (% of base peak):"), plainForm);
    auto* buddied = new QLineEdit(&window);
    auto* label = new QLabel(QStringLiteral("Time range (min):"), &window);
    label->setBuddy(buddied);
    outer->addWidget(label);
    outer->addWidget(buddied);
    auto* named = new QLineEdit(&window);
    named->setAccessibleName(QStringLiteral("Mass (u)"));
    outer->addWidget(named);
    auto* ampersands = new QLineEdit(&window);
    form->addRow(QStringLiteral("A && B:"), ampersands);
    auto* nameless = new QLineEdit(&window);
    outer->addWidget(nameless);
    const struct {
        QWidget* field;
        const char* name;
    } cases[] = {{inForm, "Maximum Number of Partial Sequences"},
                 {plainForm, "Threshold (% of base peak)"},
                 {buddied, "Time range (min)"},
                 {named, "Mass (u)"},
                 {ampersands, "A & B"},
                 {nameless, ""}};
    for (const auto& c : cases) EXPECT_EQ(FieldName(c.field), QString::fromUtf8(c.name)) << c.name;
}

namespace {

// Two tabs, the field on the second: what a sheet with several pages is.
struct TwoTabs {
    TwoTabs() : tabs(new QTabWidget(&window)) {
        auto* first = new QWidget;
        auto* second = new QWidget;
        auto* form = new QFormLayout(second);
        range = new CDoubleRangeEditCtrl(second);
        form->addRow(QStringLiteral("&Original spectrum:"), range);
        range->Initialize(700.0, 3500.0, 0.0, 200000.0, 2);
        tabs->addTab(first, QStringLiteral("One"));
        tabs->addTab(second, QStringLiteral("Two"));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(tabs);
        window.show();
    }
    QWidget window;
    QTabWidget* tabs;
    CDoubleRangeEditCtrl* range;
};

}  // namespace

TEST(DataExchangeTest, ARefusedRangeIsShownFocusedAndNamedAndKeepsTheOldRange) {
    struct Case {
        const char* text;
    };
    const Case cases[] = {{"abc"}, {"0-300000"}, {"20-3"}, {"100"}, {"-"}, {"5-a"}};
    for (const Case& c : cases) {
        zartest::MessageBoxCapture boxes;
        TwoTabs sheet;
        ASSERT_EQ(sheet.tabs->currentIndex(), 0);
        sheet.range->setText(QString::fromLatin1(c.text));
        double low = 700.0, high = 3500.0;
        CDataExchange dx(true);
        DDX_DoubleRange(dx, sheet.range, low, high);
        EXPECT_TRUE(dx.Failed()) << c.text;
        EXPECT_EQ(dx.FailedControl(), sheet.range);
        EXPECT_DOUBLE_EQ(low, 700.0) << c.text;
        EXPECT_DOUBLE_EQ(high, 3500.0) << c.text;
        EXPECT_EQ(sheet.tabs->currentIndex(), 1) << c.text;
        EXPECT_TRUE(sheet.range->isVisible()) << c.text;
        EXPECT_EQ(sheet.window.focusWidget(), sheet.range) << c.text;
        EXPECT_EQ(sheet.range->selectedText(), QString::fromLatin1(c.text));
        EXPECT_EQ(boxes.texts(),
                  QStringList{QStringLiteral(
                      "Original spectrum: Please enter a range as two numbers first-last between "
                      "0 and 200000, the first not above the last.")})
            << c.text;
    }
}

TEST(DataExchangeTest, OnlyTheFirstFailureIsTold) {
    zartest::MessageBoxCapture boxes;
    QWidget window;
    auto* form = new QFormLayout(&window);
    auto* first = new CIntEditCtrl(&window);
    auto* second = new CIntRangeEditCtrl(&window);
    form->addRow(QStringLiteral("&Maximum:"), first);
    form->addRow(QStringLiteral("Sca&ns:"), second);
    first->Initialize(16, 1, 512);
    second->Initialize(1, 10, 1, 100);
    first->setText(QStringLiteral("600"));
    second->setText(QStringLiteral("50-20"));
    int value = 16, a = 1, b = 10;
    CDataExchange dx(true);
    DDX_Int(dx, first, value);
    DDX_IntRange(dx, second, a, b);
    EXPECT_EQ(dx.FailedControl(), first);
    EXPECT_EQ(value, 16);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 10);
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Maximum: Please enter a number between 1 and 512.")});
    second->setText(QStringLiteral("20-50"));
    first->setText(QStringLiteral("512"));
    CDataExchange again(true);
    DDX_Int(again, first, value);
    DDX_IntRange(again, second, a, b);
    EXPECT_FALSE(again.Failed());
    EXPECT_EQ(value, 512);
    EXPECT_EQ(a, 20);
    EXPECT_EQ(b, 50);
}
