#include "EngineTestSupport.h"
#include "plot/elements/PlotFont.h"
#include "plot/elements/MarkerList.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace zar::plot;
using plottest::Canvas;
using plottest::InkBounds;

TEST(PlotDCTest, LinesLeaveOutTheirEndPixel) {
    Canvas c(50, 50);
    c.dc->Line(10, 10, 20, 10);
    c.dc->Line(30, 5, 30, 5);  // zero length: nothing
    QImage& img = c.finish();
    EXPECT_NE(img.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_NE(img.pixel(19, 10), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(20, 10), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(30, 5), qRgb(255, 255, 255));
}

TEST(PlotDCTest, RectanglesExcludeRightAndBottom) {
    Canvas c(50, 50);
    c.dc->SetBrush(RGBRef(0, 0, 0));
    c.dc->Rectangle(10, 10, 20, 15);
    c.dc->FillRect(30, 30, 33, 32, RGBRef(0, 0, 255));
    QImage& img = c.finish();
    EXPECT_EQ(InkBounds(img.copy(0, 0, 25, 25)), QRect(QPoint(10, 10), QPoint(19, 14)));
    EXPECT_EQ(img.pixel(32, 31), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(33, 31), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(32, 32), qRgb(255, 255, 255));
}

TEST(PlotDCTest, ColorRefIsBgrAndPaletteBitIsIgnored) {
    EXPECT_EQ(ToQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0x02FF0000), QColor(0, 0, 255));
    EXPECT_EQ(PaletteRGB(1, 2, 3), 0x02030201u);
}

TEST(PlotDCTest, InvertingTwiceRestoresTheImage) {
    Canvas c(60, 60);
    c.dc->FillRect(0, 0, 30, 60, RGBRef(200, 30, 30));
    const QImage before = c.finish().copy();
    Canvas d(60, 60);
    d.painter->drawImage(0, 0, before);
    d.dc->SetROP2(R2_NOT);
    for (int pass = 0; pass < 2; ++pass) {
        d.dc->MoveTo(5, 5);
        d.dc->LineTo(50, 5);
        d.dc->LineTo(50, 50);
    }
    EXPECT_EQ(d.finish(), before);
}

// A batch draws the pixels its lines draw one by one, whatever way it draws them: lines along
// an axis in either direction, one pixel long, slanted, steps to the next column, crossing a
// clip, shifted by the painter's origin, in changing pens, in a printer's pen width.
TEST(PlotDCTest, BatchedLinesDrawWhatSingleLinesDraw) {
    struct Segment {
        int x1, y1, x2, y2;
    };
    std::vector<Segment> segments = {
        {10, 10, 10, 40}, {12, 40, 12, 10}, {14, 20, 15, 20}, {16, 20, 16, 21}, {20, 5, 50, 5},
        {50, 8, 20, 8},   {20, 30, 28, 55}, {30, 50, 31, 12}, {40, 45, 60, 70}, {55, 2, 55, 2},
        {2, 60, 70, 60},  {65, 10, 65, 75}, {20, 20, 21, 21}, {22, 21, 23, 20},
    };
    // Steps to the neighbouring column, up and down, leaning either way, of every height.
    for (int dy = -77; dy <= 77; ++dy) {
        const int x = 2 + (dy + 77) % 74;
        segments.push_back({x, 40, x + 1, 40 + dy});
        segments.push_back({x + 1, 38, x, 38 + dy});
    }
    struct Case {
        const char* what;
        std::function<void(PlotDC&, QPainter&)> setUp;
        bool penChanges;
    };
    const std::vector<Case> cases = {
        {"plain", [](PlotDC&, QPainter&) {}, false},
        {"clipped", [](PlotDC& dc, QPainter&) { dc.IntersectClipRect(8, 6, 52, 45); }, false},
        {"translated", [](PlotDC&, QPainter& p) { p.translate(3, -2); }, false},
        {"pens change", [](PlotDC&, QPainter&) {}, true},
        {"printing width", [](PlotDC& dc, QPainter&) { dc.SetPen(RGBRef(0, 0, 200), 3); }, false},
    };
    for (const Case& c : cases) {
        QImage drawn[2];
        for (int batched = 0; batched < 2; ++batched) {
            Canvas canvas(80, 130);
            canvas.painter->fillRect(0, 0, 40, 130, QColor(30, 120, 30));
            canvas.dc->SetPen(RGBRef(200, 0, 0));
            c.setUp(*canvas.dc, *canvas.painter);
            if (batched) canvas.dc->BeginLineBatch();
            for (std::size_t i = 0; i < segments.size(); ++i) {
                if (c.penChanges) canvas.dc->SetPen(i % 2 ? RGBRef(0, 0, 0) : RGBRef(0, 90, 255));
                const Segment& s = segments[i];
                canvas.dc->Line(s.x1, s.y1, s.x2, s.y2);
            }
            if (batched) canvas.dc->EndLineBatch();
            drawn[batched] = canvas.finish();
        }
        EXPECT_EQ(drawn[1], drawn[0]) << c.what;
    }
}

TEST(PlotDCTest, TextMeasuredByRuleWithoutAttributeDevice) {
    Canvas c;
    PlotFont font;
    font.height = -14;
    font.CreateFontForDC(*c.dc);
    EXPECT_EQ(font.measuredHeight, 14);
    EXPECT_EQ(font.measuredWidth, 10);  // (int)(14 * 5/7)
    EXPECT_EQ(c.dc->GetTextExtent(QStringLiteral("abc")).width(), 30);
}

TEST(PlotDCTest, FormatExponentTable) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"}, {123456, "1.23E5"}, {0.000123, "1.23E-4"}, {1.0, "1.00"}, {-12345, "-1.23E4"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(FormatExponent(v), QString::fromLatin1(text)) << v;
}

TEST(MarkerSymbolTest, ExtentsOfTheSymbols) {
    struct Case {
        int symbol;
        QRect bounds;
    };
    const Case cases[] = {
        {ZAR_PLOTLib::VXPlot_MarkerSymbolType_Box, QRect(QPoint(97, 97), QPoint(104, 104))},
        {ZAR_PLOTLib::VXPlot_MarkerSymbolType_Cross, QRect(QPoint(97, 97), QPoint(104, 104))},
        {ZAR_PLOTLib::VXPlot_MarkerSymbolType_FilledBox, QRect(QPoint(97, 97), QPoint(104, 104))},
        {ZAR_PLOTLib::VXPlot_MarkerSymbolType_None, QRect()},
        {ZAR_PLOTLib::VXPlot_MarkerSymbolType_Line, QRect()},
    };
    for (const Case& k : cases) {
        Canvas c(200, 200);
        c.dc->SetPen(0);
        DrawMarkerSymbol(k.symbol, *c.dc, 100, 100, 7);
        EXPECT_EQ(InkBounds(c.finish()), k.bounds) << k.symbol;
    }
}
