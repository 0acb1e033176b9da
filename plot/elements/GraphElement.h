#pragma once
// The head of every drawable element of a graph: its rectangle and its drawing. The owner sets
// the rectangle before each drawing.

#include "PlotDC.h"

#include <QRect>

namespace zar::plot {

struct ElementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

class CGraphElement {
  public:
    virtual ~CGraphElement() = default;
    void Draw(PlotDC& dc) { DrawImpl(dc); }
    virtual void DrawImpl(PlotDC& dc) = 0;

    void SetRect(const ElementRect& r) { rect_ = r; }
    void SetRect(int left, int top, int right, int bottom) { rect_ = {left, top, right, bottom}; }
    const ElementRect& Rect() const { return rect_; }
    // The rectangles meet, edges included.
    bool IntersectsRect(const ElementRect& r) const {
        return r.left <= rect_.right && r.right >= rect_.left && r.top <= rect_.bottom &&
               r.bottom >= rect_.top;
    }

  protected:
    ElementRect rect_;
};

}  // namespace zar::plot
