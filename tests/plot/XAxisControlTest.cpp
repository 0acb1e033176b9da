// The XAxis control created by ProgID: range and client-span checks and a drawn axis strip.

#include "ControlTestSupport.h"

using namespace plottest;

class XAxisControlTest : public ControlTest {};

TEST_F(XAxisControlTest, RangeAndClientSpanChecks) {
    ComPtr<IXAxis> axis = Create<IXAxis>(u"Zar_Plot.XAxis.1");
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->SetRange(5.0, 5.0), S_OK);
    EXPECT_EQ(axis->SetRange(6.0, 5.0), E_INVALIDARG);
    EXPECT_EQ(axis->SetClientRange(100, 100), E_INVALIDARG);
    // No window yet: nothing can be converted, and that is a failure.
    EXPECT_EQ(axis->SetClientRange(10, 100), E_FAIL);
    // Initialize may be called again: the axis and its font are made anew.
    EXPECT_EQ(axis->Initialize(), S_OK);
    EXPECT_EQ(axis->Initialize(), S_OK);
}

TEST_F(XAxisControlTest, DrawsTicksAndLabelsOverTheGivenSpan) {
    ComPtr<IXAxis> axis = Create<IXAxis>(u"Zar_Plot.XAxis.1");
    ASSERT_EQ(axis->Initialize(), S_OK);
    QWidget* window = Show(axis.get(), 700, 40);
    ASSERT_EQ(axis->SetRange(0.0, 60.0), S_OK);
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    ASSERT_EQ(axis->SetClientRange(origin.x() + 50, origin.x() + 650), S_OK);
    const QImage image = window->grab().toImage();
    SavePicture(image, QStringLiteral("xaxis"));
    // The axis line runs over the span only.
    EXPECT_LT(qGray(image.pixel(350, 0)), 100);
    EXPECT_GT(qGray(image.pixel(20, 0)), 150);
    EXPECT_GT(qGray(image.pixel(680, 0)), 150);
    EXPECT_GT(CountDark(image), 700);
}
