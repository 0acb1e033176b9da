#include "TrackingCursor.h"

#include <cmath>

namespace zar::plot {

namespace {
constexpr double kPi = 3.1415926535;
}

bool TrackingCursor::Track(PlotDC& dc, const PlotRegionList& regions, QPoint mouse,
                           Values* values) {
    if (!m_bEnabled) return drawn_;
    if (drawn_) Draw(dc);
    const PlotRegion* region = regions.Find(mouse.x(), mouse.y());
    if (!region) return drawn_;
    const ElementRect& d = region->dataRect();
    const int x = mouse.x(), y = mouse.y();
    const double t = std::tan(region->slantAngle() * kPi / 180);
    const int s = static_cast<int>((d.bottom - y) * t);
    if (x - s < d.left || x - s > d.right || y < d.top || y > d.bottom) return drawn_;
    mouse_ = mouse;
    vTop_ = {x + static_cast<int>((y - d.top) * t), d.top};
    vBottom_ = {x - s, d.bottom};
    hLeft_ = {x - m_nHalfLength, y};
    hRight_ = {x + m_nHalfLength, y};
    diagA_ = diagB_ = QPoint();
    if (region->traceIndex() == 1) {
        hLeft_ = {d.left + s, y};
        hRight_ = {d.right + s, y};
        const double valueSlope = region->yTop() - region->yBottom();
        const double pixelSlope = double(d.left - d.right);
        // A diagonal needs both value spans and a slope; a flat one is left out.
        if (m_bDiagonal && valueSlope != 0.0 && pixelSlope != 0.0) {
            const double k = ((region->xStart() - region->xEnd()) / valueSlope) *
                             (d.top - d.bottom) / pixelSlope;
            if (k != 0.0 && std::isfinite(k)) {
                const int c = y - static_cast<int>((x - s) * k);
                QPoint a{d.left, static_cast<int>(d.left * k + c)};
                if (a.y() > d.bottom) a = {static_cast<int>((d.bottom - c) / k), d.bottom};
                QPoint b{d.right, static_cast<int>(d.right * k) + c};
                if (b.y() < d.top) b = {static_cast<int>((d.top - c) / k), d.top};
                a.rx() += static_cast<int>((d.bottom - a.y()) * t);
                b.rx() += static_cast<int>((d.bottom - b.y()) * t);
                diagA_ = a;
                diagB_ = b;
            }
        }
    }
    Draw(dc);
    if (values) {
        values->x = region->ScreenToX(x, y, &values->xKind);
        values->y = region->ScreenToY(y, &values->yKind);
        CScanFilter filter;
        values->filterFound = region->GetFilter(&filter);
        if (values->filterFound)
            values->filter = filter;
        else
            values->filter.reset();
    }
    return drawn_;
}

void TrackingCursor::Draw(PlotDC& dc) {
    const RasterOp previous = dc.GetROP2();
    if (m_bDiagonal && diagA_ != diagB_) {
        dc.SetROP2(R2_NOTXORPEN);
        dc.SetPen(0, 1, PS_DOT);
        dc.Line(diagA_.x(), diagA_.y(), diagB_.x(), diagB_.y());
    }
    dc.SetROP2(R2_NOT);
    dc.SetPen(0, 0);
    dc.Line(vTop_.x(), vTop_.y(), vBottom_.x(), vBottom_.y());
    dc.Line(hLeft_.x(), hLeft_.y(), mouse_.x(), mouse_.y());
    dc.Line(hRight_.x(), hRight_.y(), mouse_.x(), mouse_.y());
    dc.SetROP2(previous);
    drawn_ = !drawn_;
}

}  // namespace zar::plot
