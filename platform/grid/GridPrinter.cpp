#include "grid/GridHeaderFooterDialog.h"
#include "grid/GridWnd.h"
#include "gui/PrintJob.h"

#include <QDate>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace zar {

QString ExpandPageText(const QString& text, int page, int pages) {
    QString out = text;
    out.replace(QStringLiteral("$P"), QString::number(page));
    out.replace(QStringLiteral("$N"), QString::number(pages));
    out.replace(QStringLiteral("$D"), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    return out;
}

namespace {

// Column widths are screen pixels: the printout lays the table out in 1/96 inch and scales it
// to the device.
constexpr double kGridUnitsPerInch = 96.0;
constexpr double kCellPadding = 3.0;  // grid units left and right of a cell's text
// A first column no wider than this share of the page is repeated on every band of a wide
// table, so that each printed row can still be told by its first cell.
constexpr double kRepeatedColumnShare = 0.25;

}  // namespace

std::vector<std::vector<int>> CGXGridWnd::PrintBands(const std::vector<int>& columns,
                                                     double pageWidth) const {
    std::vector<std::vector<int>> bands;
    if (columns.empty()) return {{}};
    double total = 0;
    for (int c : columns) total += GetColWidth(c);
    if (total <= pageWidth) return {columns};
    const int key = columns.front();
    const double keyWidth = GetColWidth(key);
    const bool repeatKey = keyWidth <= pageWidth * kRepeatedColumnShare;
    std::vector<int> band{key};
    double width = keyWidth;
    int own = 1;  // columns of the band other than a repeated first one
    for (std::size_t i = 1; i < columns.size(); ++i) {
        const int c = columns[i];
        if (own > 0 && width + GetColWidth(c) > pageWidth) {
            bands.push_back(band);
            band.clear();
            width = 0;
            own = 0;
            if (repeatKey) {
                band.push_back(key);
                width = keyWidth;
            }
        }
        band.push_back(c);
        width += GetColWidth(c);
        ++own;
    }
    bands.push_back(band);
    return bands;
}

int CGXGridWnd::PaintPages(QPainter& painter, const QRectF& page, double resolution,
                           const std::function<void()>& newPage, const QString& title,
                           int fromPage, int toPage) const {
    painter.save();
    painter.translate(page.topLeft());
    const double scale = (resolution > 0 ? resolution : kGridUnitsPerInch) / kGridUnitsPerInch;
    painter.scale(scale, scale);
    const double pageWidth = page.width() / scale;
    const double pageHeight = page.height() / scale;
    // A pixel size in grid units: the painter's scale alone makes it the device's size (a point
    // size would be taken at the device's resolution and then scaled once more). The size is
    // the table's own on the screen, where its column widths were made to hold the texts.
    QFont printFont = font();
    const double points = std::min(printFont.pointSizeF() > 0 ? printFont.pointSizeF() : kPrintFontPoints,
                                   kPrintFontPoints);
    printFont.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kGridUnitsPerInch / 72.0))));
    QFont titleFont = printFont;
    titleFont.setBold(true);
    painter.setFont(printFont);
    const QFontMetricsF fm(printFont);
    const QFontMetricsF titleMetrics(titleFont);
    const double rowHeight = std::ceil(std::max(fm.height(), titleMetrics.height())) + 8.0;
    const GridPrintProperties& props = printProperties_;
    const auto hasText = [](const std::array<QString, 3>& parts) {
        return !parts[0].isEmpty() || !parts[1].isEmpty() || !parts[2].isEmpty();
    };
    const double headerBand = hasText(props.header) ? rowHeight * 1.5 : 0.0;
    const double footerBand = hasText(props.footer) ? rowHeight * 1.5 : 0.0;
    const double titleBand = title.isEmpty() ? 0.0 : rowHeight * 1.5;
    const double bodyHeight = pageHeight - headerBand - footerBand;

    // Rows per page: the first page and every following one repeat the title and column titles.
    const int perPage = std::max(1, static_cast<int>((bodyHeight - titleBand - rowHeight) / rowHeight));
    const int rows = GetRowCount();
    const int rowPages = std::max(1, (rows + perPage - 1) / perPage);

    std::vector<int> visible;
    for (int c = 1; c <= GetColCount(); ++c)
        if (!IsColHidden(c)) visible.push_back(c);
    const std::vector<std::vector<int>> bands = PrintBands(visible, pageWidth);
    // A wide table prints as bands of columns side by side: every block of rows on as many
    // pages as there are bands, one after the other.
    const int bandCount = static_cast<int>(bands.size());
    const int pages = rowPages * bandCount;
    const int first = std::max(1, fromPage);
    const int last = toPage > 0 ? std::min(pages, toPage) : pages;
    const std::vector<int>* band = &bands.front();

    auto drawRow = [&](int row, double y, bool titles) {
        double x = 0;
        for (int c : *band) {
            // A column wider than the page alone is cut to the page.
            const double w = std::min<double>(GetColWidth(c), pageWidth - x);
            const QRectF cell(x, y, w, rowHeight);
            if (titles) painter.fillRect(cell, QColor(230, 230, 230));
            painter.drawRect(cell);
            const CGXStyle st = GetStyleRowCol(row, c);
            // Bold only where the table shows it so: the column widths were made for the
            // titles as the screen shows them.
            const bool bold = st.bold.value_or(false);
            const QFontMetricsF& metrics = bold ? titleMetrics : fm;
            painter.setFont(bold ? titleFont : printFont);
            Qt::Alignment align = st.alignment.value_or(
                titles ? Qt::AlignCenter
                       : (GetModel()->IsNumber(row, c) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
            const QRectF textArea = cell.adjusted(kCellPadding, 0, -kCellPadding, 0);
            if (textArea.width() > 0) {
                painter.save();
                painter.setClipRect(cell);
                painter.drawText(textArea, static_cast<int>(align),
                                 metrics.elidedText(GetDisplayTextRowCol(row, c), Qt::ElideRight, textArea.width()));
                painter.restore();
            }
            x += w;
        }
        painter.setFont(printFont);
    };
    auto drawBand = [&](const std::array<QString, 3>& parts, double y, int number) {
        const QRectF band(0, y, pageWidth, rowHeight);
        const Qt::Alignment where[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (int i = 0; i < 3; ++i)
            painter.drawText(band, static_cast<int>(where[i] | Qt::AlignVCenter),
                             ExpandPageText(parts[static_cast<std::size_t>(i)], number, pages));
    };

    for (int number = first; number <= last; ++number) {
        if (number > first && newPage) newPage();
        const int rowPage = (number - 1) / bandCount;
        band = &bands[static_cast<std::size_t>((number - 1) % bandCount)];
        if (headerBand > 0) drawBand(props.header, 0, number);
        if (footerBand > 0) drawBand(props.footer, pageHeight - rowHeight, number);
        double y = headerBand;
        if (!title.isEmpty()) {
            painter.drawText(QRectF(0, y, pageWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             fm.elidedText(title, Qt::ElideRight, pageWidth));
            y += titleBand;
        }
        drawRow(0, y, true);
        y += rowHeight;
        for (int k = 0, row = 1 + rowPage * perPage; k < perPage && row <= rows; ++k, ++row) {
            drawRow(row, y, false);
            y += rowHeight;
        }
    }
    painter.restore();
    return pages;
}

void CGXGridWnd::SetPrintMargins(const GridPrintMargins& m) {
    printProperties_.margins = QMarginsF(m.left, m.top, m.right, m.bottom);
}

void CGXGridWnd::PrepareForPrinting(QPrinter& printer) const {
    if (printProperties_.pageLayout)
        printer.setPageLayout(*printProperties_.pageLayout);
    else if (printProperties_.margins)
        printer.setPageMargins(*printProperties_.margins, QPageLayout::Point);
}

int CGXGridWnd::PrintPages(QPainter& painter, QPrinter& printer, const QString& title) const {
    // The painter's origin is the printable area's corner.
    const QRectF area(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const bool range = printer.printRange() == QPrinter::PageRange;
    return PaintPages(painter, area, printer.resolution(), [&printer] { printer.newPage(); }, title,
                      range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

bool CGXGridWnd::Print(QPrinter* printer, const QString& title) const {
    if (!printer) return false;
    PrepareForPrinting(*printer);
    return PrintOnPrinter(*printer, [this, &title](QPainter& painter, QPrinter& p) { PrintPages(painter, p, title); });
}

bool CGXGridWnd::PrintWithDialog(QPrinter& printer, QWidget* parent, const QString& documentName) const {
    PrepareForPrinting(printer);
    return RunPrintDialog(printer, parent, documentName, PrintDialogOptions{},
                          [this](QPainter& painter, QPrinter& p) { PrintPages(painter, p); });
}

bool CGXGridWnd::OnPageSetup(QPrinter& printer, QWidget* parent) {
    PrepareForPrinting(printer);
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    printProperties_.pageLayout = printer.pageLayout();
    return true;
}

bool CGXGridWnd::OnPageHeaderFooter(QWidget* parent) {
    CGXHeaderFooterDialog dialog(printProperties_, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.GetTexts(printProperties_);
    return true;
}

}  // namespace zar
