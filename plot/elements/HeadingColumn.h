#pragma once
// The heading column at the right of a plot area: one block of text per trace (its
// normalisation level or scan number and its wrapped title), level with the trace's row, in a
// copy of the graph font that shrinks so every block fits beside its row.

#include "PlotDC.h"

#include <QStringList>

#include <functional>

namespace zar::plot {

inline constexpr int kMaxHeadingLinesPerTrace = 10;
inline constexpr double kMinHeadingFontScale = 0.6;

struct HeadingFit {
    bool fits = true;
    int linesPerTrace = 1;
    double widthChars = 0.0;
};

// The automatic column width: rows and columns of text in the plot rectangle, the trace count,
// the heading mode (2 adds the "NL:" line), the longest title and the share of the plot width
// the column may take (percent).
HeadingFit FitHeadingColumn(int rectWidth, int rectHeight, int charWidth, int charHeight,
                            int traceCount, int mode, int longestTitle, double headingShare,
                            double currentWidth);

// The heading font's scale (0.6 .. 1.0, and at most per / lines): per = text lines available per
// trace. split tells whether "NL:" and its value stand on two lines.
double HeadingFontScale(double perTrace, int linesPerTrace, int mode, double headingWidthChars,
                        int nlTextLength, bool& split);

// Wraps a title to the width: a line too wide loses its last character and is then cut after
// the last break character it holds; a character wider than the column ends the title.
QStringList WrapHeadingTitle(const QString& title, const QString& breakCharacters, int width,
                             const std::function<int(const QString&)>& measure);

}  // namespace zar::plot
