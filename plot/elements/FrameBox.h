#pragma once
// A border around an inner element: 3-D look, one colour, or a focus rectangle.

#include "GraphElement.h"

namespace zar::plot {

class CFrameBox : public CGraphElement {
  public:
    CFrameBox(int borderWidth, CGraphElement* inner)
        : border_(std::max(borderWidth, 0)), inner_(inner) {}
    void SetBorderWidth(int width) { border_ = std::max(width, 0); }
    void SetInner(CGraphElement* inner) { inner_ = inner; }

    COLORREF m_color = kNoColor;  // no colour: 3-D look
    bool m_bShown = false;
    bool m_bNormal = true;  // false: focus style

    void DrawImpl(PlotDC& dc) override;

  private:
    void outline(PlotDC& dc, int inset);

    int border_;
    CGraphElement* inner_;
};

}  // namespace zar::plot
