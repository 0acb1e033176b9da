#pragma once
// The font description every text of a graph is measured with, and the measured size of one
// character, which is the unit of all layout.

#include "PlotDC.h"

#include <QString>

namespace zar::plot {

struct PlotFont {
    int height = -10;  // negative: character height in pixels
    int width = 0;
    int escapement = 0;  // tenths of a degree
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    QString faceName = QStringLiteral("Arial");
    int smallFontThreshold = 0;  // screen text at or below this |height| uses "small fonts"
    bool noSubstitution = false;
    int measuredWidth = 0;  // written by CreateFontForDC
    int measuredHeight = 0;

    // Selects the font into dc and measures "O" (or applies the rule without an attribute
    // device). Returns the font that was selected before.
    DCFont CreateFontForDC(PlotDC& dc);
    // The extent of a text with the selected font; without an attribute device, by rule.
    QSize GetTextExtent(const PlotDC& dc, const QString& text) const {
        return dc.GetTextExtent(text);
    }
    DCFont ToDCFont(const PlotDC* dc) const;
};

// "0", "1.00", "1.23E5", "1.23E-4", "-1.23E4": a short exponent form of a value.
QString FormatExponent(double value);

}  // namespace zar::plot
