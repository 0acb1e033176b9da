// The printed page of the plot panes: quarter-inch margins and bands, the extra quarter inch at
// the left of a portrait page and at the top of a landscape one. The steps of their scroll bars.

#include "resultviews/ResultsFormView.h"
#include "spectrumviews/views/PaneSupport.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

using namespace zar;

TEST(PaneSupportTest, PrintedPageBands) {
    const QRect page(0, 0, 850, 1100);  // 8.5 x 11 inches at 100 dots per inch
    const PrintedPage portrait = LayOutPrintedPage(page, 100, 100, false);
    EXPECT_EQ(portrait.plot, QRect(QPoint(50, 50), QPoint(849 - 25, 1099 - 50)));
    EXPECT_EQ(portrait.footer, QRect(50, 25, portrait.plot.width(), 25));
    EXPECT_EQ(portrait.header.top(), portrait.plot.bottom() + 1);
    EXPECT_EQ(portrait.header.height(), 25);
    const PrintedPage landscape = LayOutPrintedPage(QRect(0, 0, 1100, 850), 100, 100, true);
    EXPECT_EQ(landscape.plot.left(), 25);
    EXPECT_EQ(landscape.plot.top(), 75);
}

TEST(PaneSupportTest, ScrollBarStepsReachThePaneWhichPlacesTheThumb) {
    QScrollBar bar(Qt::Horizontal);
    bar.setRange(0, 89);
    bar.setPageStep(11);
    bar.setSingleStep(10);
    bar.setValue(20);
    std::vector<std::pair<ScrollStep, int>> steps;
    QObject context;
    ConnectScrollSteps(&bar, &context, [&](ScrollStep step, int position) {
        steps.emplace_back(step, position);
        if (step == ScrollStep::LineForward) bar.setValue(25);  // the pane's own choice
    });
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar.value(), 25) << "the bar does not move on by itself";
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    const std::vector<ScrollStep> expected = {ScrollStep::LineForward, ScrollStep::LineBack,
                                              ScrollStep::PageForward, ScrollStep::PageBack};
    ASSERT_EQ(steps.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(steps[i].first, expected[i]) << i;
    EXPECT_EQ(steps[0].second, 20);
}

// A pane's worker reports by posted events: waiting lets them in until the pane says it is idle,
// and gives up after the time allowed when it never is.
TEST(PaneSupportTest, WaitingLetsTheWorkersEventsIn) {
    bool busy = true;
    QObject context;
    QTimer::singleShot(20, &context, [&busy] { busy = false; });
    EXPECT_TRUE(ProcessEventsWhile([&busy] { return busy; }, 5000));
    EXPECT_FALSE(busy);
    EXPECT_TRUE(ProcessEventsWhile([] { return false; }, 0));
    EXPECT_FALSE(ProcessEventsWhile([] { return true; }, 30));
}
