#include "grid/GridHeaderFooterDialog.h"
#include "grid/GridWnd.h"

#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>

namespace zar {

QString ExpandPageText(const QString& text, int page, int pages) {
    QString out = text;
    out.replace(QStringLiteral("$P"), QString::number(page));
    out.replace(QStringLiteral("$N"), QString::number(pages));
    out.replace(QStringLiteral("$D"), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    return out;
}

int CGXGridWnd::PaintPages(QPainter& painter, const QRectF& page, double resolution,
                           const std::function<void()>& newPage, const QString& title) const {
    painter.save();
    painter.translate(page.topLeft());
    const double scale = resolution / 96.0;  // grid widths are screen pixels
    painter.scale(scale, scale);
    const double pageWidth = page.width() / scale;
    const double pageHeight = page.height() / scale;
    const QFontMetrics fm(painter.font());
    const double rowHeight = fm.height() + 6;
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
    const int pages = std::max(1, (rows + perPage - 1) / perPage);

    std::vector<int> cols;
    for (int c = 1; c <= GetColCount(); ++c)
        if (!IsColHidden(c)) cols.push_back(c);
    // Shrink the columns to the page width when the table is wider.
    double total = 0;
    for (int c : cols) total += GetColWidth(c);
    const double fit = total > pageWidth && total > 0 ? pageWidth / total : 1.0;

    auto drawRow = [&](int row, double y, bool titles) {
        double x = 0;
        for (int c : cols) {
            const double w = GetColWidth(c) * fit;
            const QRectF cell(x, y, w, rowHeight);
            if (titles) painter.fillRect(cell, QColor(230, 230, 230));
            painter.drawRect(cell);
            const CGXStyle st = GetStyleRowCol(row, c);
            Qt::Alignment align = st.alignment.value_or(
                titles ? Qt::AlignCenter
                       : (GetModel()->IsNumber(row, c) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
            painter.drawText(cell.adjusted(3, 0, -3, 0), static_cast<int>(align),
                             fm.elidedText(GetDisplayTextRowCol(row, c), Qt::ElideRight, static_cast<int>(w - 6)));
            x += w;
        }
    };
    auto drawBand = [&](const std::array<QString, 3>& parts, double y, int number) {
        const QRectF band(0, y, pageWidth, rowHeight);
        const Qt::Alignment where[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (int i = 0; i < 3; ++i)
            painter.drawText(band, static_cast<int>(where[i] | Qt::AlignVCenter),
                             ExpandPageText(parts[static_cast<std::size_t>(i)], number, pages));
    };

    int row = 1;
    for (int number = 1; number <= pages; ++number) {
        if (number > 1 && newPage) newPage();
        if (headerBand > 0) drawBand(props.header, 0, number);
        if (footerBand > 0) drawBand(props.footer, pageHeight - rowHeight, number);
        double y = headerBand;
        if (!title.isEmpty()) {
            painter.drawText(QRectF(0, y, pageWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
            y += titleBand;
        }
        drawRow(0, y, true);
        y += rowHeight;
        for (int k = 0; k < perPage && row <= rows; ++k, ++row) {
            drawRow(row, y, false);
            y += rowHeight;
        }
    }
    painter.restore();
    return pages;
}

bool CGXGridWnd::Print(QPrinter* printer, const QString& title) const {
    if (!printer) return false;
    if (printProperties_.pageLayout) printer->setPageLayout(*printProperties_.pageLayout);
    QPainter painter;
    if (!painter.begin(printer)) return false;
    // The painter's origin is the printable area's corner.
    const QRectF area(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size());
    PaintPages(painter, area, printer->resolution(), [printer] { printer->newPage(); }, title);
    painter.end();
    return true;
}

bool CGXGridWnd::OnPageSetup(QPrinter& printer, QWidget* parent) {
    if (printProperties_.pageLayout) printer.setPageLayout(*printProperties_.pageLayout);
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
