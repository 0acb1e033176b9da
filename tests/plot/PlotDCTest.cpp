#include "EngineTestSupport.h"
#include "plot/elements/PlotFont.h"
#include "plot/elements/MarkerList.h"

#include <gtest/gtest.h>

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
