// Cells with controls of their own: rich text shown as its plain text, and drop-down lists.

#include "grid/GridWnd.h"

#include "TestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

using namespace zar;

TEST(GridCellControls, RichTextShowsItsPlainText) {
    CGXGridWnd grid;
    grid.SetRowCount(2);
    grid.SetColCount(2);
    grid.SetStyleRange(CGXRange::cols(2, 2), CGXStyle().setControl(GridControl::RichEdit));
    const QString rich = "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}A\\cf1 C\\cf0 K \\{-\\}}";
    grid.SetValueRange(1, 2, rich);
    grid.SetValueRange(1, 1, rich);
    EXPECT_EQ(grid.GetValueRowCol(1, 2), rich);
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 2), "ACK {-}");
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 1), rich) << "an ordinary cell shows its text";
    // Drawn as rich text: the blue letter is there.
    grid.resize(300, 120);
    grid.show();
    const QImage image = grid.grab().toImage();
    bool blue = false;
    for (int y = 0; y < image.height() && !blue; ++y)
        for (int x = 0; x < image.width() && !blue; ++x) {
            const QColor c = image.pixelColor(x, y);
            blue = c.blue() > 200 && c.red() < 80 && c.green() < 80;
        }
    EXPECT_TRUE(blue);
}

TEST(GridCellControls, DropDownOffersTheChoicesOfItsStyle) {
    CGXGridWnd grid;
    grid.SetRowCount(2);
    grid.SetColCount(1);
    grid.SetStyleRange(
        CGXRange::cell(1, 1),
        CGXStyle().setControl(GridControl::ComboBox).setChoiceList("No bond\n7\n12\n"));
    grid.SetValueRange(1, 1, "7");
    EXPECT_EQ(grid.GetStyleRowCol(1, 1).choiceList, "No bond\n7\n12\n");
    grid.resize(200, 120);
    grid.show();
    const QModelIndex cell = grid.GetModel()->index(0, 0);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* combo = grid.findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "7");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.GetValueRowCol(1, 1), "12");
    // A style without a list leaves the cell an ordinary edit.
    EXPECT_TRUE(CGXStyle().choiceList.isNull());
    CGXStyle merged;
    merged.mergeFrom(CGXStyle().setChoiceList("a\n"));
    EXPECT_EQ(merged, CGXStyle().setChoiceList("a\n"));
    EXPECT_FALSE(merged == CGXStyle());
}
