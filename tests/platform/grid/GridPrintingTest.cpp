// A grid's printed pages: the rows in pages with their column titles, a header and a footer on
// every page with the page number and count filled in, and the dialogs that set them up.

#include "grid/GridHeaderFooterDialog.h"
#include "grid/GridWnd.h"

#include "TestSupport.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Rows of an image that hold ink between two heights.
int InkRows(const QImage& image, int top, int bottom) {
    int rows = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace

TEST(GridPrinting, PageTextFields) {
    EXPECT_EQ(ExpandPageText(QStringLiteral("Page $P of $N"), 2, 5), QStringLiteral("Page 2 of 5"));
    EXPECT_EQ(ExpandPageText(QStringLiteral("plain"), 1, 1), QStringLiteral("plain"));
    EXPECT_FALSE(ExpandPageText(QStringLiteral("$D"), 1, 1).contains(QLatin1Char('$')));
}

TEST(GridPrinting, HeaderAndFooterStandOnEveryPage) {
    CGXGridWnd grid;
    grid.SetColCount(3);
    grid.SetRowCount(120);
    for (int r = 1; r <= 120; ++r) grid.SetValueRange(r, 1, QString::number(r));
    grid.PrintProperties().header = {QStringLiteral("Zarvik"), QString(), QStringLiteral("Run1")};
    QImage page(800, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    std::vector<QImage> pages;
    int count = 0;
    {
        QPainter painter(&page);
        count = grid.PaintPages(painter, QRectF(0, 0, 800, 1000), 96.0, [&] {
            pages.push_back(page.copy());
            painter.fillRect(page.rect(), Qt::white);
        });
    }
    pages.push_back(page);
    EXPECT_GE(count, 3);
    ASSERT_EQ(static_cast<int>(pages.size()), count);
    pages[0].save(QStringLiteral("/tmp/grid_printed_page1.png"));
    for (const QImage& p : pages) {
        EXPECT_GT(InkRows(p, 0, 20), 3) << "the header";
        EXPECT_GT(InkRows(p, 975, 1000), 3) << "the footer";
    }
    // Without header and footer texts the table starts at the top.
    grid.PrintProperties() = GridPrintProperties();
    grid.PrintProperties().footer = {};
    QImage bare(800, 1000, QImage::Format_RGB32);
    bare.fill(Qt::white);
    int bareCount = 0;
    {
        QPainter painter(&bare);
        bareCount = grid.PaintPages(painter, QRectF(0, 0, 800, 1000), 96.0, [] {});
    }
    EXPECT_LE(bareCount, count);
    EXPECT_EQ(bare.pixel(50, 4), qRgb(230, 230, 230)) << "the column titles at the top";
    EXPECT_NE(pages[0].pixel(50, 4), qRgb(230, 230, 230));
}

TEST(GridPrinting, TheGridsPageLayoutReachesThePrinter) {
    CGXGridWnd grid;
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.PrintProperties().pageLayout =
        QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("t.pdf")));
    ASSERT_TRUE(grid.Print(&printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
}

TEST(GridPrinting, TheHeaderAndFooterDialogKeepsItsTextsOnOk) {
    CGXGridWnd grid;
    {
        zartest::ModalDialogAnswer answer("zar::CGXHeaderFooterDialog", true, [](QWidget* w) {
            auto* dialog = static_cast<CGXHeaderFooterDialog*>(w);
            dialog->HeaderEdit(1)->setText(QStringLiteral("Summary of $D"));
            dialog->FooterEdit(0)->setText(QStringLiteral("lab 3"));
        });
        EXPECT_TRUE(grid.OnPageHeaderFooter(nullptr));
        EXPECT_TRUE(answer.seen());
    }
    EXPECT_EQ(grid.PrintProperties().header[1], QStringLiteral("Summary of $D"));
    EXPECT_EQ(grid.PrintProperties().footer[0], QStringLiteral("lab 3"));
    EXPECT_EQ(grid.PrintProperties().footer[2], QStringLiteral("Page $P of $N"));
    {
        zartest::ModalDialogAnswer cancel("zar::CGXHeaderFooterDialog", false, [](QWidget* w) {
            static_cast<CGXHeaderFooterDialog*>(w)->HeaderEdit(1)->setText(QStringLiteral("x"));
        });
        EXPECT_FALSE(grid.OnPageHeaderFooter(nullptr));
    }
    EXPECT_EQ(grid.PrintProperties().header[1], QStringLiteral("Summary of $D"));
}
