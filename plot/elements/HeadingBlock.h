#pragma once
// The heading lines above a plot: short text items placed by line and column in character units,
// following the previous item, centred or right-aligned. Items that do not fit are dropped or
// shortened with " ...".

#include "PlotFont.h"
#include "GraphElement.h"

#include <vector>

namespace zar::plot {

inline constexpr double kFollowPrevious = -2.0;
inline constexpr double kRightAligned = -1001.0;
inline constexpr double kCentred = -1.0;
// The width kept free at the right of a shortened item (the bitmap beside the heading).
inline constexpr int kHeadingBitmapWidth = 16;

class CHeadingBlock : public CGraphElement {
  public:
    struct Item {
        QString text;
        double column = 0.0;
        double line = 0.0;
        double gap = 0.0;
        bool truncate = false;
        COLORREF color = 0;
    };
    // Where an item ended up in the last drawing (empty text: left out).
    struct Written {
        QString text;
        int x, y;
    };

    CHeadingBlock(double widthChars, double heightLines, PlotFont* font)
        : width_(widthChars), height_(heightLines), font_(font) {}

    void Reset(double widthChars, double heightLines) {
        items_.clear();
        width_ = widthChars;
        height_ = heightLines;
    }
    void SetFillBackground(bool fill) { fill_ = fill; }
    bool SetMeasureOnly(bool measureOnly) { return measureOnly_ = measureOnly; }
    void SetBottomRule(bool rule) { bottomRule_ = rule; }
    void AddItem(const QString& text, double column, double line, COLORREF color, bool truncate);
    void AddFollowingItem(const QString& text, double gap, COLORREF color, bool truncate);
    void Clear() { items_.clear(); }
    double HeightLines() const { return height_; }
    double WidthChars() const { return width_; }

    void DrawImpl(PlotDC& dc) override;
    const std::vector<Written>& LastWritten() const { return written_; }

  private:
    double width_, height_;
    bool fill_ = false, measureOnly_ = false, bottomRule_ = false;
    std::vector<Item> items_;
    PlotFont* font_;
    std::vector<Written> written_;
};

// Owns the whole area of a graph: sizes the font from the area so that a grid of text rows and
// columns fits (within limits in inches) and divides the area into top, bottom, left and right
// bands and the centre, one child element each.
class CProporPitchFont : public CGraphElement {
  public:
    // A band child tells how much room it asks for, in lines or characters.
    struct Child {
        CGraphElement* element = nullptr;
        double lines = 0.0;  // top and bottom bands
        double chars = 0.0;  // left and right bands
    };

    CProporPitchFont(int columns, int rows, int minPlotColumns, int minPlotRows, double minHeight,
                     double maxHeight, PlotFont* font);

    void SetGrid(int columns, int rows) {
        columns_ = std::max(columns, 1);
        rows_ = std::max(rows, 1);
    }
    void SetMinimumPlot(int columns, int rows) {
        minPlotColumns_ = std::max(columns, 1);
        minPlotRows_ = std::max(rows, 1);
    }
    void SetSizeLimits(double minimum, double maximum) {
        minHeight_ = std::max(minimum, 0.01);
        maxHeight_ = std::max(maximum, minHeight_);
    }
    void SetKeepBands(bool keep) { keepBands_ = keep; }
    void SetChildren(Child top, CGraphElement* centre, Child bottom) {
        top_ = top;
        centre_ = centre;
        bottom_ = bottom;
    }
    void SetSideChildren(Child left, Child right) {
        left_ = left;
        right_ = right;
    }

    // The font height (pixels) for the area and the device; also the bands' layout.
    int ChooseFontHeight(const PlotDC& dc) const;
    void Layout(PlotDC& dc, const ElementRect* update);
    void DrawImpl(PlotDC& dc) override { Layout(dc, nullptr); }

    ElementRect TopBand() const { return topRect_; }
    ElementRect CentreRect() const { return centreRect_; }
    bool TopKept() const { return topKept_; }

  private:
    int columns_, rows_, minPlotColumns_, minPlotRows_;
    double minHeight_, maxHeight_;
    bool keepBands_ = false;
    PlotFont* font_;
    Child top_, bottom_, left_, right_;
    CGraphElement* centre_ = nullptr;
    ElementRect topRect_, centreRect_;
    bool topKept_ = false;
};

}  // namespace zar::plot
