// The Info Bar as a bar: its place, its sizes in the profile and the splitter drag.

#include "InfoBarTestSupport.h"
#include "ProfileSettings.h"
#include "ResizableSheet.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace zar;
using namespace infobartest;

namespace {

const QString kSection = QStringLiteral("InfoBarSize");

class BarTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
};

QWidget* client(CInfoBar& bar) { return bar.widget(); }

// A drag of the splitter strip: down on the strip, through the x positions, up at the last.
void drag(CInfoBar& bar, const std::vector<int>& xs) {
    QWidget* c = client(bar);
    const QRect strip = bar.GetSplitterRect();
    const QPoint down(strip.left() + 2, c->height() / 2);
    SendMouse(c, QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    QPoint at = down;
    for (int x : xs) {
        at = QPoint(x, down.y());
        SendMouse(c, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    }
    SendMouse(c, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
}

}  // namespace

TEST_F(BarTest, DockedAtTheLeftWithTheTemplateSizeOnAFirstRun) {
    FrameWithBar f;
    EXPECT_EQ(f.frame().dockWidgetArea(&f.bar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(f.frame().GetInfoBar(), &f.bar());
    EXPECT_EQ(f.bar().windowTitle(), QStringLiteral("Info Bar"));
    EXPECT_EQ(f.bar().DockedSize(), CInfoBar::TemplateSize());
    EXPECT_EQ(f.bar().width(), CInfoBar::TemplateSize().width());
    EXPECT_EQ(f.bar().MinimumSize(), QSize(140, 140));
    EXPECT_EQ(f.bar().MaximumSize(), QSize(32767, 32767));
    // The sheet fills the bar but for the splitter side.
    QRect inside;
    ASSERT_TRUE(f.bar().GetInsideRect(inside));
    EXPECT_EQ(inside, QRect(2, 2, f.bar().width() - 9, client(f.bar())->height() - 4));
    EXPECT_EQ(f.bar().GetSheet()->geometry(), inside);
    EXPECT_EQ(f.bar().GetSplitterRect(), QRect(f.bar().width() - 6, 0, 5, client(f.bar())->height()));
}

TEST_F(BarTest, DragLimitsAreStrictAndTheTrackerStaysAtItsLastValidPlace) {
    FrameWithBar f;
    CInfoBar& bar = f.bar();
    const QRect strip = bar.GetSplitterRect();
    // The pointer is 2 pixels into the strip: the width is x + 4.
    SendMouse(client(bar), QEvent::MouseButtonPress, QPoint(strip.left() + 2, 50), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(bar.GetDragState(), CResizeDlgBar::kDraggingWidth);
    SendMouse(client(bar), QEvent::MouseMove, QPoint(137, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(bar.SizeForTracker(bar.TrackerRect()), 141) << "141 is accepted";
    SendMouse(client(bar), QEvent::MouseMove, QPoint(136, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(bar.SizeForTracker(bar.TrackerRect()), 141) << "exactly the minimum is refused";
    SendMouse(client(bar), QEvent::MouseMove, QPoint(20, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(bar.SizeForTracker(bar.TrackerRect()), 141);
    SendMouse(client(bar), QEvent::MouseButtonRelease, QPoint(20, 50), Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.GetDragState(), CResizeDlgBar::kOverSplitter);
    EXPECT_EQ(bar.DockedSize().width(), 141);
    EXPECT_EQ(bar.width(), 141);

    EXPECT_FALSE(bar.IsSplitterPosValid(QRect(134, 0, 5, 10)));  // 140
    EXPECT_TRUE(bar.IsSplitterPosValid(QRect(135, 0, 5, 10)));   // 141
    EXPECT_TRUE(bar.IsSplitterPosValid(QRect(32760, 0, 5, 10)));  // 32766
    EXPECT_FALSE(bar.IsSplitterPosValid(QRect(32761, 0, 5, 10)));  // 32767
}

TEST_F(BarTest, ADraggedWidthOpensTheNextRun) {
    FrameWithBar f;
    drag(f.bar(), {200, 260});
    EXPECT_EQ(f.bar().DockedSize().width(), 264);
    EXPECT_EQ(f.bar().width(), 264);
    f.Restart();
    EXPECT_EQ(f.bar().DockedSize().width(), 264);
    EXPECT_EQ(f.bar().width(), 264);
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("DockSizeCX"), 0), 264);
    // The floating size is kept beside it, untouched by a docked drag.
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("FloatSizeCX"), 0), CInfoBar::TemplateSize().width());
}

TEST_F(BarTest, ADragEndingWhereItStartedChangesNothing) {
    FrameWithBar f;
    const int before = f.bar().width();
    drag(f.bar(), {});
    EXPECT_EQ(f.bar().DockedSize().width(), before);
    EXPECT_EQ(f.bar().width(), before);
}

TEST_F(BarTest, StoredSizesAreBroughtWithinTheBarsLimits) {
    struct Case {
        int stored;
        int docked;
    } cases[] = {
        {3, 10},       // a damaged profile must not make the bar vanish
        {-500, 10},
        {0, 10},
        {50, 50},      // below the minimum of 140 a stored size stands
        {300, 300},
        {99999, 32767},
    };
    for (const Case& c : cases) {
        WriteProfileInt(kSection, QStringLiteral("DockSizeCX"), c.stored);
        WriteProfileInt(kSection, QStringLiteral("DockSizeCY"), c.stored);
        FrameWithBar f;
        EXPECT_EQ(f.bar().DockedSize(), QSize(c.docked, c.docked)) << c.stored;
        EXPECT_GE(f.bar().width(), 10) << c.stored;
        // The frame keeps room for its view, whatever was stored.
        EXPECT_LE(f.bar().width(), f.frame().width() - 100) << c.stored;
    }
}

TEST_F(BarTest, PointerOverTheStripAndPressesElsewhere) {
    FrameWithBar f;
    CInfoBar& bar = f.bar();
    const QRect strip = bar.GetSplitterRect();
    SendMouse(client(bar), QEvent::MouseMove, QPoint(strip.left() + 1, 40), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(bar.GetDragState(), CResizeDlgBar::kOverSplitter);
    EXPECT_EQ(client(bar)->cursor().shape(), Qt::SizeHorCursor);
    SendMouse(client(bar), QEvent::MouseMove, QPoint(strip.left() - 10, 40), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(bar.GetDragState(), CResizeDlgBar::kIdle);
    SendMouse(client(bar), QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(bar.GetDragState(), CResizeDlgBar::kIdle);
    EXPECT_TRUE(bar.TrackerRect().isNull());
    SendMouse(client(bar), QEvent::MouseButtonRelease, QPoint(1, 1), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(bar.DockedSize(), CInfoBar::TemplateSize());
}
