#include "HeadingColumn.h"

#include <algorithm>
#include <cmath>

namespace zar::plot {

HeadingFit FitHeadingColumn(int rectWidth, int rectHeight, int charWidth, int charHeight,
                            int traceCount, int mode, int longestTitle, double headingShare,
                            double currentWidth) {
    HeadingFit fit;
    fit.widthChars = currentWidth;
    if (traceCount <= 0) return fit;
    const double rows = charHeight != 0 ? double(rectHeight) / charHeight : 100.0;
    const int cols = charWidth != 0 ? rectWidth / charWidth : 100;
    const int longest = std::max(longestTitle, 1);
    const double m = std::trunc((rows - 3.0 - (mode == 2 ? 1.0 : 0.0)) / traceCount - 0.25 + 0.3);
    fit.linesPerTrace = static_cast<int>(m);
    if (m < 1) {
        fit.fits = false;
        return fit;
    }
    const int lines = std::min(static_cast<int>(m), kMaxHeadingLinesPerTrace);
    fit.linesPerTrace = lines;
    const double W = (lines * 0.2222222222222222 * 0.44999999999999996 + 0.55) * longest / lines;
    fit.widthChars = std::max(7.0, W);
    fit.fits = W <= headingShare * 0.01 * cols;
    return fit;
}

double HeadingFontScale(double perTrace, int linesPerTrace, int mode, double headingWidthChars,
                        int nlTextLength, bool& split) {
    const int e = mode == 2 ? 1 : 0;
    const double WN = nlTextLength + 8;
    double s = 1.0;
    split = headingWidthChars < WN;
    while (linesPerTrace + e * (1 + (split ? 1 : 0)) + 0.25 > perTrace / (s * s) &&
           s > kMinHeadingFontScale) {
        s -= 0.1;
        split = WN * s > headingWidthChars;
    }
    s = std::max(s, kMinHeadingFontScale);
    split = WN * s > headingWidthChars;
    const int Lt = linesPerTrace + e;
    if (Lt > 0) s = std::min(s, perTrace / Lt);
    return s;
}

QStringList WrapHeadingTitle(const QString& title, const QString& breakCharacters, int width,
                             const std::function<int(const QString&)>& measure) {
    QStringList lines;
    QString rest = title;
    while (!rest.isEmpty()) {
        QString line = rest;
        while (!line.isEmpty() && measure(line) > width) {
            line.chop(1);
            for (const QChar c : breakCharacters) {
                const qsizetype at = line.lastIndexOf(c);
                if (at >= 0) {
                    line.truncate(at + 1);
                    break;
                }
            }
        }
        if (line.isEmpty()) break;
        lines << line;
        rest = rest.mid(line.size());
    }
    return lines;
}

}  // namespace zar::plot
