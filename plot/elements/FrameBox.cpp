#include "FrameBox.h"

namespace zar::plot {

namespace {
constexpr COLORREF kButtonFace = 0xF0F0F0;
constexpr COLORREF kButtonShadow = 0xA0A0A0;
constexpr COLORREF kButtonHighlight = 0xFFFFFF;
}  // namespace

void CFrameBox::outline(PlotDC& dc, int inset) {
    const int l = rect_.left + inset, t = rect_.top + inset;
    const int r = rect_.right - inset, b = rect_.bottom - inset;
    if (!(l < r && t < b)) return;
    dc.MoveTo(l, t);
    dc.LineTo(r, t);
    dc.LineTo(r, b);
    dc.LineTo(l, b);
    dc.LineTo(l, t);
}

void CFrameBox::DrawImpl(PlotDC& dc) {
    if (inner_) {
        ElementRect in = rect_;
        if (rect_.width() > 2 * border_) {
            in.left += border_;
            in.right -= border_;
        }
        if (rect_.height() > 2 * border_) {
            in.top += border_;
            in.bottom -= border_;
        }
        inner_->SetRect(in);
    }
    if (m_bShown) {
        const int b = border_;
        if (!m_bNormal) {
            dc.SetPen(RGBRef(255, 255, 255), dc.DevicePenWidth());
            for (int i = 0; i < b; ++i) outline(dc, i);
            dc.SetPen(m_color, 0, PS_DOT);
            if (b > 0) outline(dc, b - 1);
        } else if (m_color != kNoColor) {
            dc.SetPen(m_color, dc.DevicePenWidth());
            for (int i = 0; i < b; ++i) outline(dc, i);
        } else if (b > 0) {
            const ElementRect& r = rect_;
            dc.FillRect(r.left, r.top, r.right, r.top + b, kButtonFace);
            dc.FillRect(r.left, r.top, r.left + b, r.bottom, kButtonFace);
            dc.FillRect(r.right - b + 2, r.top, r.right + 1, r.bottom, kButtonFace);
            dc.FillRect(r.left, r.bottom - b + 2, r.right, r.bottom + 1, kButtonFace);
            const int l = r.left + b - 1, t = r.top + b - 1;
            const int rr = r.right - (b - 2), bb = r.bottom - (b - 2);
            dc.SetPen(kButtonShadow, 0);
            dc.Line(l, bb, l, t);
            dc.Line(l, t, rr, t);
            dc.SetPen(kButtonHighlight, 0);
            dc.Line(rr, t, rr, bb);
            dc.Line(rr, bb, l, bb);
        }
    }
    if (inner_) inner_->Draw(dc);
}

}  // namespace zar::plot
