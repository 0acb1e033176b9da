// The printed page of the plot panes: quarter-inch margins and bands, the extra quarter inch at
// the left of a portrait page and at the top of a landscape one.

#include "spectrumviews/views/PaneSupport.h"

#include <gtest/gtest.h>

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
