#include "PlotFont.h"

#include "core/Numbers.h"

#include <cstdlib>

namespace zar::plot {

DCFont PlotFont::ToDCFont(const PlotDC* dc) const {
    DCFont f;
    f.face = faceName;
    const int h = std::abs(height);
    if (dc && !dc->IsPrinting() && !noSubstitution && h <= smallFontThreshold && escapement == 0 &&
        orientation == 0)
        f.face = QStringLiteral("small fonts");
    f.height = h;
    f.weight = weight;
    f.italic = italic;
    f.escapement = escapement;
    return f;
}

DCFont PlotFont::CreateFontForDC(PlotDC& dc) {
    const DCFont previous = dc.Font();
    dc.SelectFont(ToDCFont(&dc));
    const QSize extent = dc.GetTextExtent(QStringLiteral("O"));
    measuredWidth = extent.width();
    measuredHeight = extent.height();
    return previous;
}

QString FormatExponent(double value) {
    if (value == 0.0) return QStringLiteral("0");
    const QString text = QCFormat("%9.2E", value).trimmed();
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0) return text;
    QString out = text.left(e);
    QString exponent = text.mid(e + 1);
    QString sign;
    if (exponent.startsWith(QLatin1Char('+')))
        exponent.remove(0, 1);
    else if (exponent.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        exponent.remove(0, 1);
    }
    int dropped = 0;
    while (dropped < 2 && exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) {
        exponent.remove(0, 1);
        ++dropped;
    }
    if (exponent == QLatin1String("0")) return out;
    return out + QLatin1Char('E') + sign + exponent;
}

}  // namespace zar::plot
