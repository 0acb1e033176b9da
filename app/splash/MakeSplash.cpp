// Draws the program's start-up picture: a run's spectrum over a dark field with the program's
// name, saved as a 24-bit bitmap.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: zar-make-splash <out.bmp>\n");
        return 2;
    }
    const int w = 640, h = 400;
    QImage image(w, h, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(12, 32, 64));
    sky.setColorAt(1.0, QColor(4, 10, 24));
    p.fillRect(image.rect(), sky);

    // A spectrum: an isotope-like family of sticks over a baseline, brightest in the middle.
    const int base = 300;
    p.setPen(QPen(QColor(60, 90, 130), 1));
    p.drawLine(40, base, w - 40, base);
    unsigned seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int x = 48; x < w - 48; x += 3) {
        const double envelope = std::exp(-std::pow((x - w * 0.55) / 120.0, 2.0));
        const double noise = (next() % 100) / 100.0;
        const double height = 8 + 150 * envelope * (0.3 + 0.7 * noise) + (next() % 7 == 0 ? 60 * noise : 0);
        const QColor c = QColor::fromHsvF(0.52 - 0.12 * envelope, 0.7, 0.55 + 0.45 * envelope);
        p.setPen(QPen(c, 2));
        p.drawLine(x, base, x, base - static_cast<int>(height));
    }
    // A chromatographic trace above it.
    QPainterPath trace;
    for (int x = 40; x <= w - 40; ++x) {
        const double t = (x - 40.0) / (w - 80.0);
        const double y = 110 - 60 * std::exp(-std::pow((t - 0.3) / 0.05, 2)) - 35 * std::exp(-std::pow((t - 0.62) / 0.04, 2)) -
                         18 * std::exp(-std::pow((t - 0.8) / 0.06, 2));
        if (x == 40) trace.moveTo(x, y);
        else trace.lineTo(x, y);
    }
    p.setPen(QPen(QColor(250, 200, 90), 2));
    p.drawPath(trace);

    QFont title(QStringLiteral("DejaVu Sans"), 34, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(235, 240, 250));
    p.drawText(QRect(0, 320, w, 44), Qt::AlignCenter, QStringLiteral("Zarvik Browser"));
    QFont sub(QStringLiteral("DejaVu Sans"), 12);
    p.setFont(sub);
    p.setPen(QColor(150, 175, 210));
    p.drawText(QRect(0, 362, w, 24), Qt::AlignCenter, QStringLiteral("Tandem mass spectrometry proteomics workbench"));
    p.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
