#include "grid/GridWnd.h"

#include "TestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// A grid that records what reaches its notifications.
class RecordingGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    struct Click {
        int row, col;
    };
    std::vector<Click> clicks;
    std::vector<Click> downs;
    std::vector<Click> modified;
    bool refuse = false;
    bool editable = true;

protected:
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) override {
        clicks.push_back({row, col});
        return true;
    }
    void OnLButtonDownRowCol(int row, int col) override { downs.push_back({row, col}); }
    bool CanEditCell(int, int col) override { return editable && col == 1; }
    bool OnValidateCell(int row, int col) override {
        if (!refuse) return true;
        SetWarningText(QStringLiteral("Please enter only amino acid residues"));
        SetValueRange(row, col, QString());
        return false;
    }
    void OnModifyCell(int row, int col) override { modified.push_back({row, col}); }
};

QPoint cellCenter(CGXGridWnd& grid, int row, int col) {
    return grid.visualRect(grid.GetModel()->index(row - 1, col - 1)).center();
}

}  // namespace

TEST(GridWnd, NumbersCellsFromOneWithTitlesInRowZero) {
    CGXGridWnd grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetValueRange(0, 1, QStringLiteral("Scan"));
    grid.SetValueRange(1, 1, QStringLiteral("101"));
    grid.SetValueRange(2, 3, 1234.5678);
    grid.SetStyleRange(CGXRange::cols(3, 3), CGXStyle().setFormat(GridNumberFormat::Fixed, 2));
    EXPECT_EQ(grid.GetModel()->rowCount(), 2);
    EXPECT_EQ(grid.GetModel()->columnCount(), 3);
    EXPECT_EQ(grid.GetModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Scan"));
    EXPECT_EQ(grid.GetModel()->data(grid.GetModel()->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("101"));
    EXPECT_EQ(grid.GetDisplayTextRowCol(2, 3), QStringLiteral("1234.57"));
    EXPECT_EQ(grid.GetValueRowCol(2, 3), QStringLiteral("1234.5678"));
    EXPECT_EQ(grid.GetValueRowCol(9, 9), QString()) << "outside the table reads as empty";
    grid.SetValueRange(9, 9, QStringLiteral("x"));  // ignored, no crash
}

TEST(GridWnd, StylesLayerGridColumnRowAndCell) {
    CGXGridWnd grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetStyleRange(CGXRange::table(), CGXStyle().setTextColor(Qt::black));
    grid.SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setToolTip(QStringLiteral("column tip")));
    grid.SetStyleRange(CGXRange::rows(2, 2), CGXStyle().setToolTip(QStringLiteral("row tip")).setBold(true));
    grid.SetStyleRange(CGXRange::cell(2, 2), CGXStyle().setToolTip(QStringLiteral("cell tip")));
    EXPECT_EQ(grid.GetStyleRowCol(1, 1).toolTip, QStringLiteral("column tip"));
    EXPECT_EQ(grid.GetStyleRowCol(2, 1).toolTip, QStringLiteral("row tip"));
    EXPECT_EQ(grid.GetStyleRowCol(2, 2).toolTip, QStringLiteral("cell tip"));
    EXPECT_TRUE(grid.GetStyleRowCol(2, 2).bold.value_or(false));
    EXPECT_EQ(grid.GetStyleRowCol(1, 2).textColor.value_or(Qt::red), QColor(Qt::black));
}

TEST(GridWnd, InsertAndRemoveRowsMoveValues) {
    CGXGridWnd grid;
    grid.SetColCount(1);
    grid.SetRowCount(3);
    for (int r = 1; r <= 3; ++r) grid.SetValueRange(r, 1, QString::number(r));
    grid.InsertRows(2, 2);
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QStringLiteral("1"));
    EXPECT_EQ(grid.GetValueRowCol(2, 1), QString());
    EXPECT_EQ(grid.GetValueRowCol(4, 1), QStringLiteral("2"));
    grid.RemoveRows(2, 3);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetValueRowCol(2, 1), QStringLiteral("2"));
    grid.SetColCount(2);
    EXPECT_EQ(grid.GetValueRowCol(3, 1), QStringLiteral("3")) << "values survive a change of column count";
}

TEST(GridWnd, LockedFillAnnouncesOneReset) {
    CGXGridWnd grid;
    QSignalSpy resets(grid.GetModel(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(grid.GetModel(), &QAbstractItemModel::dataChanged);
    grid.LockUpdate(true);
    grid.SetColCount(4);
    grid.SetRowCount(1000);
    for (int r = 1; r <= 1000; ++r)
        for (int c = 1; c <= 4; ++c) grid.SetValueRange(r, c, double(r * c));
    grid.LockUpdate(false);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(grid.GetValueRowCol(1000, 4), QStringLiteral("4000"));
}

TEST(GridWnd, ClickIsPressAndReleaseOnOneCell) {
    RecordingGrid grid;
    grid.resize(400, 300);
    grid.SetColCount(3);
    grid.SetRowCount(5);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, 2, 3));
    ASSERT_EQ(grid.clicks.size(), 1u);
    EXPECT_EQ(grid.clicks[0].row, 2);
    EXPECT_EQ(grid.clicks[0].col, 3);
    ASSERT_EQ(grid.downs.size(), 1u);
    // Press on one cell, release on another: no click.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, 1, 1));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, 4, 2));
    EXPECT_EQ(grid.clicks.size(), 1u);
}

TEST(GridWnd, TitleClickReportsRowZero) {
    RecordingGrid grid;
    grid.resize(400, 300);
    grid.SetColCount(3);
    grid.SetRowCount(5);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QHeaderView* header = grid.horizontalHeader();
    const QPoint p(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    ASSERT_EQ(grid.clicks.size(), 1u);
    EXPECT_EQ(grid.clicks[0].row, 0);
    EXPECT_EQ(grid.clicks[0].col, 2);
}

TEST(GridWnd, RightClickPostsContextMenuToTheParent) {
    QWidget holder;
    holder.resize(400, 300);
    RecordingGrid grid(&holder);
    grid.resize(400, 300);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    zartest::MessageTrap trap(&holder, {WM_CONTEXTMENU});
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, cellCenter(grid, 1, 1));
    QCoreApplication::processEvents();
    const auto& got = trap.caught();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, reinterpret_cast<WPARAM>(&grid));
    const QPoint global = grid.viewport()->mapToGlobal(cellCenter(grid, 1, 1));
    EXPECT_EQ(got[0].lParam & 0xFFFF, global.x() & 0xFFFF);
    EXPECT_EQ((got[0].lParam >> 16) & 0xFFFF, global.y() & 0xFFFF);
}

TEST(GridWnd, EditsGoThroughValidation) {
    zartest::MessageBoxCapture boxes;
    RecordingGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    EXPECT_TRUE(grid.StoreEditedText(1, 1, QStringLiteral("MKA")));
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QStringLiteral("MKA"));
    ASSERT_EQ(grid.modified.size(), 1u);
    grid.refuse = true;
    EXPECT_FALSE(grid.StoreEditedText(1, 1, QStringLiteral("MJ")));
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QString()) << "the replacement value stays";
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Please enter only amino acid residues")});
    EXPECT_EQ(grid.modified.size(), 1u);
}

TEST(GridWnd, NumberCellsRefuseNonFiniteAndTextEntries) {
    zartest::MessageBoxCapture boxes;
    CGXGridWnd grid;
    grid.SetColCount(1);
    grid.SetRowCount(1);
    grid.SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setValueType(GridValueType::Number));
    struct Case {
        const char* text;
        bool accepted;
    } cases[] = {{"12", true}, {"1e3", true}, {"-0.5", true}, {"12abc", false},
                 {"abc", false}, {"inf", false}, {"nan", false}, {"1e999", false}};
    for (const Case& c : cases) {
        grid.SetValueRange(1, 1, 7.0);
        EXPECT_EQ(grid.StoreEditedText(1, 1, QString::fromLatin1(c.text)), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_TRUE(grid.GetModel()->IsNumber(1, 1)) << c.text;
        } else {
            EXPECT_TRUE(grid.GetModel()->IsEmpty(1, 1)) << c.text << ": a bad entry leaves the cell empty";
        }
    }
}

TEST(GridWnd, MayEditDecidesTheEditableFlag) {
    RecordingGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(1);
    EXPECT_TRUE(grid.GetModel()->flags(grid.GetModel()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.GetModel()->flags(grid.GetModel()->index(0, 1)) & Qt::ItemIsEditable);
    grid.SetStyleRange(CGXRange::cell(1, 1), CGXStyle().setReadOnly(true));
    EXPECT_FALSE(grid.GetModel()->flags(grid.GetModel()->index(0, 0)) & Qt::ItemIsEditable);
}

TEST(GridWnd, TypingIntoACellUsesTheEditPath) {
    zartest::MessageBoxCapture boxes;
    RecordingGrid grid;
    grid.resize(400, 300);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.SetCurrentCell(2, 1);
    grid.edit(grid.GetModel()->index(1, 0));
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("PEPTIDE"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits on a queued call
    EXPECT_EQ(grid.GetValueRowCol(2, 1), QStringLiteral("PEPTIDE"));
    ASSERT_EQ(grid.modified.size(), 1u);
    EXPECT_EQ(grid.modified[0].row, 2);
}

TEST(GridWnd, SpanInTheTitleRowDrawsOneCell) {
    CGXGridWnd grid;
    grid.resize(500, 200);
    grid.SetColCount(4);
    grid.SetRowCount(3);
    grid.SetValueRange(0, 2, QStringLiteral("Spanning title"));
    grid.SetCoveredCellsRowCol(0, 2, 0, 3);
    grid.SetValueRange(1, 1, QStringLiteral("a"));
    grid.SetCoveredCellsRowCol(1, 1, 2, 1);
    ASSERT_NE(grid.GetModel()->CoveredCellAt(0, 3), nullptr);
    EXPECT_EQ(grid.GetModel()->CoveredCellAt(0, 3)->left, 2);
    EXPECT_EQ(grid.rowSpan(0, 0), 2);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage shot = grid.grab().toImage();
    QTemporaryDir dir;
    EXPECT_TRUE(shot.save(dir.filePath(QStringLiteral("span.png"))));
    // No section line is drawn between the two spanned title sections.
    QHeaderView* h = grid.horizontalHeader();
    const int boundary = h->sectionViewportPosition(2) + grid.verticalHeader()->width() + grid.frameWidth();
    const int y = h->height() / 2 + grid.frameWidth();
    const QColor left = shot.pixelColor(boundary - 3, y + 6);
    const QColor at = shot.pixelColor(boundary - 1, y + 6);
    EXPECT_EQ(left, at);
}

TEST(GridWnd, DeleteKeyClearsEditableSelectedCells) {
    RecordingGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetValueRange(1, 1, QStringLiteral("a"));
    grid.SetValueRange(1, 2, QStringLiteral("b"));
    grid.selectAll();
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QString());
    EXPECT_EQ(grid.GetValueRowCol(1, 2), QStringLiteral("b")) << "column 2 may not be edited";
}

TEST(GridWnd, PrintsEveryRowOnPages) {
    CGXGridWnd grid;
    grid.SetColCount(3);
    grid.SetRowCount(200);
    for (int r = 1; r <= 200; ++r) grid.SetValueRange(r, 1, QString::number(r));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("grid.pdf")));
    grid.Print(&printer, QStringLiteral("Summary"));
    EXPECT_GE(zartest::PdfPageCount(dir.filePath(QStringLiteral("grid.pdf"))), 2)
        << "200 rows take more than one page";
}

TEST(GridWnd, HundredThousandRowsFillShowAndScroll) {
    CGXGridWnd grid;
    grid.resize(900, 500);
    grid.LockUpdate(true);
    grid.SetColCount(14);
    grid.SetRowCount(100000);
    for (int c = 1; c <= 14; ++c) grid.SetValueRange(0, c, QStringLiteral("Column %1").arg(c));
    grid.SetStyleRange(CGXRange::cols(2, 2), CGXStyle().setFormat(GridNumberFormat::Fixed, 4));
    for (int r = 1; r <= 100000; ++r) {
        grid.SetValueRange(r, 1, QString::number(r));
        grid.SetValueRange(r, 2, r * 0.5);
    }
    grid.LockUpdate(false);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.scrollToBottom();
    QCoreApplication::processEvents();
    const QImage shot = grid.grab().toImage();
    const QByteArray out = qgetenv("ZAR_GRID_SNAPSHOT");
    if (!out.isEmpty()) shot.save(QString::fromLocal8Bit(out));
    EXPECT_EQ(grid.GetDisplayTextRowCol(100000, 2), QStringLiteral("50000.0000"));
    EXPECT_EQ(grid.rowAt(grid.viewport()->height() - 2), 99999) << "the last row is in view";
}
