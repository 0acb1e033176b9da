// A grid's printed pages: the rows in pages with their column titles, a header and a footer on
// every page with the page number and count filled in, and the dialogs that set them up.

#include "grid/GridHeaderFooterDialog.h"
#include "grid/GridWnd.h"

#include "TestSupport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

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

// A table the size of the search summary: fourteen columns of its widths, as many rows as a
// search of a few hundred spectra gives.
void FillSummarySizedTable(CGXGridWnd& grid, int rows) {
    const int widths[] = {100, 70, 55, 130, 130, 70, 70, 60, 60, 60, 60, 60, 60, 60};
    grid.SetColCount(14);
    grid.SetRowCount(rows);
    for (int c = 1; c <= 14; ++c) {
        grid.SetColWidth(c, widths[c - 1]);
        grid.SetValueRange(0, c, QStringLiteral("Title %1").arg(c));
    }
    for (int r = 1; r <= rows; ++r) {
        grid.SetValueRange(r, 1, QStringLiteral("%1 - %2").arg(r * 3).arg(r * 3 + 2));
        grid.SetValueRange(r, 2, 400.0 + r);
        grid.SetValueRange(r, 4, QStringLiteral("K.LVNELTEFAKTCVADESHAGCEK.S"));
        grid.SetValueRange(r, 5, QStringLiteral("sp|P02769|ALBU_BOVIN Serum albumin"));
    }
}

// The printer of a PDF file on A4 paper at the resolution of a real printer.
void A4PdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
}

// Paints a grid's pages at 96 dots per inch into images of the given size, one per page.
std::vector<QImage> PaintedPages(const CGXGridWnd& grid, int width, int height) {
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    std::vector<QImage> pages;
    int count = 0;
    {
        QPainter painter(&page);
        count = grid.PaintPages(painter, QRectF(0, 0, width, height), 96.0, [&] {
            pages.push_back(page.copy());
            painter.fillRect(page.rect(), Qt::white);
        });
    }
    pages.push_back(page);
    EXPECT_EQ(static_cast<int>(pages.size()), count);
    return pages;
}

// A page that keeps the texts drawn on it, as a printer's driver would receive them.
class TextRecordingPage : public QPaintDevice {
  public:
    QStringList texts;

    QPaintEngine* paintEngine() const override { return &engine_; }

  protected:
    int metric(PaintDeviceMetric which) const override {
        switch (which) {
            case PdmWidth:
                return 2000;
            case PdmHeight:
                return 3000;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            default:
                return QPaintDevice::metric(which);
        }
    }

  private:
    class Engine : public QPaintEngine {
      public:
        explicit Engine(QStringList& texts) : QPaintEngine(AllFeatures), texts_(texts) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override {
            texts_ << item.text();
        }
        Type type() const override { return QPaintEngine::User; }

      private:
        QStringList& texts_;
    };
    mutable Engine engine_{texts};
};

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
    const std::vector<QImage> pages = PaintedPages(grid, 800, 1000);
    const int count = static_cast<int>(pages.size());
    EXPECT_GE(count, 3);
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

TEST(GridPrinting, ATableOnA4PrintsReadableRowsPerPageAtEveryResolution) {
    constexpr int kRows = 300;
    CGXGridWnd grid;
    FillSummarySizedTable(grid, kRows);
    grid.SetPrintMargins(kResultTablePrintMargins);
    QTemporaryDir dir;
    for (const QPrinter::PrinterMode mode : {QPrinter::HighResolution, QPrinter::ScreenResolution}) {
        QPrinter printer(mode);
        const QString file = dir.filePath(QStringLiteral("summary-%1.pdf").arg(int(mode)));
        A4PdfPrinter(printer, file);
        ASSERT_TRUE(grid.Print(&printer)) << "mode " << mode;
        const int pages = zartest::PdfPageCount(file);
        ASSERT_GT(pages, 0);
        // Wider than an A4 page: each block of rows prints in two bands of columns.
        EXPECT_EQ(pages % 2, 0) << pages;
        const double rowsPerPage = 2.0 * kRows / pages;
        EXPECT_LE(rowsPerPage, 40.0) << "resolution " << printer.resolution();
        EXPECT_GE(rowsPerPage, 20.0) << "resolution " << printer.resolution();
    }
}

TEST(GridPrinting, TheOwnersMarginsReachThePrinterInPoints) {
    const struct {
        GridPrintMargins margins;
        QMarginsF expected;  // left, top, right, bottom
    } cases[] = {
        {kResultTablePrintMargins, QMarginsF(48, 48, 24, 72)},
        {kResultListPrintMargins, QMarginsF(48, 72, 24, 48)},
    };
    for (const auto& c : cases) {
        CGXGridWnd grid;
        grid.SetColCount(2);
        grid.SetRowCount(3);
        grid.SetPrintMargins(c.margins);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        A4PdfPrinter(printer, dir.filePath(QStringLiteral("m.pdf")));
        ASSERT_TRUE(grid.Print(&printer));
        const QMarginsF m = printer.pageLayout().margins(QPageLayout::Point);
        EXPECT_NEAR(m.left(), c.expected.left(), 0.5);
        EXPECT_NEAR(m.top(), c.expected.top(), 0.5);
        EXPECT_NEAR(m.right(), c.expected.right(), 0.5);
        EXPECT_NEAR(m.bottom(), c.expected.bottom(), 0.5);
    }
}

TEST(GridPrinting, TextFitsItsCellsOnAPrinterSizedPage) {
    // A page of 300 dots per inch, as a printer has: fonts are taken at that resolution.
    constexpr double kDpi = 300.0;
    CGXGridWnd grid;
    FillSummarySizedTable(grid, 60);
    grid.PrintProperties().footer = {};
    QImage page(int(8.27 * kDpi * 0.8), int(11.69 * kDpi * 0.8), QImage::Format_RGB32);
    page.setDotsPerMeterX(int(kDpi / 0.0254));
    page.setDotsPerMeterY(int(kDpi / 0.0254));
    page.fill(Qt::white);
    int pages = 0;
    {
        QPainter painter(&page);
        pages = grid.PaintPages(painter, QRectF(0, 0, page.width(), page.height()), kDpi, [] {}, QString(), 1, 1);
    }
    ASSERT_GE(pages, 2);
    // The column titles: the grey band at the top gives the height of every row.
    const int x = 4;  // right of the first column's left border, left of any text
    int top = 0;
    while (top < page.height() && page.pixel(x, top) != qRgb(230, 230, 230)) ++top;
    int bottom = top;
    while (bottom < page.height() && page.pixel(x, bottom) != qRgb(255, 255, 255) &&
           qGray(page.pixel(x, bottom)) >= 128)
        ++bottom;
    ASSERT_LT(top, 20);
    const int rowHeight = bottom - top;
    EXPECT_GT(rowHeight, 0.15 * kDpi) << "rows a sixth of an inch high or more";
    EXPECT_LT(rowHeight, 0.5 * kDpi) << "not a few giant rows";
    // The first data row: ink of its texts stands inside the row, clear of its borders, and
    // fills a good part of it.
    const int rowTop = bottom + 6;  // clear of the borders, a few dots thick here
    const int rowBottom = bottom + rowHeight - 6;
    int inkTop = -1;
    int inkBottom = -1;
    // Inside the first column, clear of its left and right borders.
    for (int y = rowTop; y < rowBottom; ++y)
        for (int px = 15; px < 150; ++px)
            if (qGray(page.pixel(px, y)) < 128) {
                if (inkTop < 0) inkTop = y;
                inkBottom = y;
                break;
            }
    ASSERT_GE(inkTop, 0) << "the row holds text";
    EXPECT_GT(inkBottom - inkTop, rowHeight / 3) << "the text is as tall as a third of the row";
    EXPECT_GT(inkTop, rowTop) << "the text starts below the row's top";
    EXPECT_LT(inkBottom, rowBottom) << "the text ends above the row's bottom";
}

TEST(GridPrinting, OnlyTheChosenPagesArePrinted) {
    CGXGridWnd grid;
    FillSummarySizedTable(grid, 300);
    QTemporaryDir dir;
    QPrinter all(QPrinter::HighResolution);
    A4PdfPrinter(all, dir.filePath(QStringLiteral("all.pdf")));
    ASSERT_TRUE(grid.Print(&all));
    const int pages = zartest::PdfPageCount(dir.filePath(QStringLiteral("all.pdf")));
    ASSERT_GE(pages, 4);
    QPrinter some(QPrinter::HighResolution);
    A4PdfPrinter(some, dir.filePath(QStringLiteral("some.pdf")));
    some.setPrintRange(QPrinter::PageRange);
    some.setFromTo(2, 3);
    ASSERT_TRUE(grid.Print(&some));
    EXPECT_EQ(zartest::PdfPageCount(dir.filePath(QStringLiteral("some.pdf"))), 2);
}

TEST(GridPrinting, AWideTablePrintsInBandsOfColumnsAtTheirOwnWidths) {
    CGXGridWnd grid;
    FillSummarySizedTable(grid, 10);
    grid.PrintProperties().footer = {};
    // Bands on a page of 700 grid units: the narrow first column stands on each.
    std::vector<int> all;
    for (int c = 1; c <= 14; ++c) all.push_back(c);
    const std::vector<std::vector<int>> expected = {{1, 2, 3, 4, 5, 6, 7, 8},
                                                    {1, 9, 10, 11, 12, 13, 14}};
    EXPECT_EQ(grid.PrintBands(all, 700.0), expected);
    EXPECT_EQ(grid.PrintBands(all, 2000.0).size(), 1u) << "a table that fits prints whole";
    // A column wider than the page gets a band of its own; a wide first column is not repeated.
    grid.SetColWidth(1, 400);
    grid.SetColWidth(4, 900);
    const std::vector<std::vector<int>> wide = grid.PrintBands(all, 700.0);
    ASSERT_GE(wide.size(), 3u);
    for (const std::vector<int>& band : wide) {
        EXPECT_FALSE(band.empty());
        if (&band != &wide.front()) {
            EXPECT_NE(band.front(), 1);
        }
    }
    EXPECT_EQ(wide[1], std::vector<int>({4}));
    grid.SetColWidth(1, 100);
    grid.SetColWidth(4, 130);

    // Painted at 96 dots per inch, every column keeps its width: the borders fall at the sums
    // of the widths, on both pages of the one block of rows.
    const std::vector<QImage> pages = PaintedPages(grid, 700, 1000);
    ASSERT_EQ(pages.size(), 2u);
    const int y = 40;  // inside the first data rows
    const auto isBorder = [y](const QImage& image, int x) {
        for (int dx = -1; dx <= 1; ++dx)
            if (qGray(image.pixel(x + dx, y)) < 128 && qGray(image.pixel(x + dx, y + 3)) < 128)
                return true;
        return false;
    };
    EXPECT_TRUE(isBorder(pages[0], 100)) << "first column 100 wide";
    EXPECT_TRUE(isBorder(pages[0], 170)) << "second column 70 wide";
    EXPECT_TRUE(isBorder(pages[0], 685)) << "eight columns on the first band";
    EXPECT_TRUE(isBorder(pages[1], 100)) << "the first column again";
    EXPECT_TRUE(isBorder(pages[1], 160)) << "then column 9, 60 wide";
    EXPECT_FALSE(isBorder(pages[1], 600)) << "the second band ends at 460";
}

TEST(GridPrinting, ColumnTitlesThatFitOnTheScreenPrintWhole) {
    CGXGridWnd grid;
    grid.SetColCount(2);
    grid.SetRowCount(3);
    const QString title = QStringLiteral("Delta Cn");
    // The column as wide as the screen needs for its title in the table's font: the text, its
    // padding and a pixel to spare.
    QFont font = grid.font();
    font.setPixelSize(static_cast<int>(std::lround(std::min(font.pointSizeF(), 10.0) * 96.0 / 72.0)));
    const int width = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(title))) + 7;
    grid.SetColWidth(1, width);
    grid.SetColWidth(2, width);
    grid.SetValueRange(0, 1, title);
    grid.SetValueRange(0, 2, title);
    grid.SetValueRange(1, 1, 0.25);
    // A title the table shows in bold prints in bold.
    CGXStyle bold;
    bold.bold = true;
    grid.SetStyleRange(CGXRange::cell(0, 2), bold);
    grid.PrintProperties().footer = {};
    grid.PrintProperties().header = {};

    TextRecordingPage page;
    {
        QPainter painter(&page);
        grid.PaintPages(painter, QRectF(0, 0, 2000, 3000), 96.0, [] {});
    }
    ASSERT_GE(page.texts.size(), 2);
    EXPECT_EQ(page.texts.front(), title) << "printed as " << page.texts.front().toStdString();
    EXPECT_NE(page.texts[1], title) << "a bold title is wider and cut";
}
