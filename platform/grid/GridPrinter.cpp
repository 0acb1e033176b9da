#include "grid/GridWnd.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrinter>

namespace zar {

void CGXGridWnd::Print(QPrinter* printer, const QString& title) const {
    QPainter painter;
    if (!printer || !painter.begin(printer)) return;
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double scale = printer->resolution() / 96.0;  // grid widths are screen pixels
    painter.scale(scale, scale);
    const double pageWidth = page.width() / scale;
    const double pageHeight = page.height() / scale;
    const QFontMetrics fm(painter.font());
    const double rowHeight = fm.height() + 6;

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

    double y = 0;
    auto startPage = [&] {
        y = 0;
        if (!title.isEmpty()) {
            painter.drawText(QRectF(0, 0, pageWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
            y += rowHeight * 1.5;
        }
        drawRow(0, y, true);
        y += rowHeight;
    };
    startPage();
    for (int r = 1; r <= GetRowCount(); ++r) {
        if (y + rowHeight > pageHeight) {
            printer->newPage();
            startPage();
        }
        drawRow(r, y, false);
        y += rowHeight;
    }
    painter.end();
}

}  // namespace zar
