#pragma once
// Drawing targets for the graph engine's tests: a white image and a device context that
// measures text by rule, so layouts do not depend on installed fonts.

#include "plot/elements/PlotDC.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace plottest {

struct Canvas {
    explicit Canvas(int width = 400, int height = 300, bool measureByFont = false)
        : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        zar::plot::PlotDC::Target target;
        target.hasAttributeDevice = measureByFont;
        dc = std::make_unique<zar::plot::PlotDC>(*painter, target);
    }
    // Ends the painting so the image can be read.
    QImage& finish() {
        dc.reset();
        painter.reset();
        return image;
    }
    bool isDark(int x, int y) { return qGray(finish().pixel(x, y)) < 128; }

    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<zar::plot::PlotDC> dc;
};

// The bounding box of the non-white pixels (empty when there are none).
inline QRect InkBounds(const QImage& image) {
    int l = image.width(), t = image.height(), r = -1, b = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

}  // namespace plottest
