#include "grid/GridRichText.h"
#include "grid/GridWnd.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace {

const char* const kHeader =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fdecor Courier New;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\f0\\fs18";

}  // namespace

TEST(GridRichText, ColourRunsFontAndSize) {
    const QString text = QString::fromLatin1(kHeader) + "\\cf0M\\cf1K\\cf1W\\cf0V}";
    const RichText rich = ParseRichText(text);
    EXPECT_EQ(rich.fontFamily, "Courier New");
    EXPECT_DOUBLE_EQ(rich.pointSize, 9.0);
    ASSERT_EQ(rich.runs.size(), 3u);
    EXPECT_EQ(rich.runs[0].text, "M");
    EXPECT_EQ(rich.runs[0].color, QColor(0, 0, 0));
    EXPECT_EQ(rich.runs[1].text, "KW");
    EXPECT_EQ(rich.runs[1].color, QColor(255, 0, 0));
    EXPECT_EQ(rich.runs[2].text, "V");
    EXPECT_EQ(rich.plainText(), "MKWV");
}

TEST(GridRichText, PlainTextAndEscapes) {
    struct Case {
        const char* text;
        const char* plain;
    } cases[] = {
        {"PEPTIDE", "PEPTIDE"},
        {"", ""},
        {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
        {"{\\rtf1 x\\'41y}", "xAy"},
        {"{\\rtf1{\\*\\generator hidden;}shown}", "shown"},
        {"{\\rtf1\\unknownword12 kept}", "kept"},
        {"{\\rtf1\\cf7 no such colour}", "no such colour"},
        {"{\\rtf1 unclosed", "unclosed"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRichText(QString::fromLatin1(c.text)).plainText(),
                  QString::fromLatin1(c.plain))
            << c.text;
    EXPECT_FALSE(ParseRichText("{\\rtf1\\cf7 x}").runs.front().color.isValid());
}

TEST(GridRichText, RichEditCellsShowTheirLettersAndDrawTheirColours) {
    CGXGridWnd grid;
    grid.SetColCount(2);
    grid.SetRowCount(1);
    grid.SetColWidth(1, 120);
    grid.SetStyleRange(CGXRange::cells(1, 1, 1, 1), CGXStyle().setControl(GridControl::RichEdit));
    const QString rich = QString::fromLatin1(kHeader) + "\\cf1RRRRRRRRRR}";
    grid.SetValueRange(1, 1, rich);
    grid.SetValueRange(1, 2, rich);  // not a rich-edit cell: shown as it stands
    EXPECT_EQ(grid.GetValueRowCol(1, 1), rich);
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 1), "RRRRRRRRRR");
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 2), rich);

    grid.resize(400, 120);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(grid.GetModel()->index(0, 0));
    int red = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100) ++red;
        }
    EXPECT_GT(red, 10) << "the residues are drawn in red";
}
