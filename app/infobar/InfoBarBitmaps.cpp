#include "InfoBarBitmaps.h"

#include <QPainter>

#include <cmath>

namespace zar {
namespace {

// The list of spectrum files: a page with lines of text.
void drawDtaFiles(QPainter& p, const QRectF& r) {
    const QRectF page(r.left() + r.width() * 0.18, r.top() + r.height() * 0.06, r.width() * 0.64,
                      r.height() * 0.88);
    p.setPen(QPen(QColor(70, 70, 70), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QPen(QColor(40, 90, 160), 1.0));
    for (int i = 1; i <= 4; ++i) {
        const double y = page.top() + page.height() * i / 5.0;
        p.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 2, y));
    }
}

// A spectrum: sticks of several heights.
void drawMSnBrowser(QPainter& p, const QRectF& r) {
    const double heights[] = {0.35, 0.8, 0.5, 0.95, 0.3, 0.6};
    const double base = r.bottom() - 1.5;
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    p.drawLine(QPointF(r.left() + 1, base), QPointF(r.right() - 1, base));
    p.setPen(QPen(QColor(30, 100, 190), 1.6));
    for (int i = 0; i < 6; ++i) {
        const double x = r.left() + 2.5 + i * (r.width() - 5) / 5.0;
        p.drawLine(QPointF(x, base), QPointF(x, base - heights[i] * (r.height() - 3)));
    }
}

// A charge-state envelope: sticks under a bell.
void drawZarmassResults(QPainter& p, const QRectF& r) {
    const double base = r.bottom() - 1.5;
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    p.drawLine(QPointF(r.left() + 1, base), QPointF(r.right() - 1, base));
    p.setPen(QPen(QColor(150, 50, 140), 1.6));
    for (int i = 0; i < 5; ++i) {
        const double d = (i - 2) / 1.2;
        const double x = r.left() + 2.5 + i * (r.width() - 5) / 4.0;
        p.drawLine(QPointF(x, base), QPointF(x, base - std::exp(-0.5 * d * d) * (r.height() - 3)));
    }
}

}  // namespace

QPixmap LoadInfoBarBitmap(int id, QSize size) {
    if (id != kBitmapDtaFiles && id != kBitmapMSnBrowser && id != kBitmapZarmassResults) return QPixmap();
    QPixmap pixmap(size);
    pixmap.fill(QColor(255, 0, 255));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF r(0, 0, size.width(), size.height());
    if (id == kBitmapDtaFiles) drawDtaFiles(p, r);
    else if (id == kBitmapMSnBrowser) drawMSnBrowser(p, r);
    else drawZarmassResults(p, r);
    return pixmap;
}

}  // namespace zar
