#include "DragTracker.h"

#include "MarkerList.h"

namespace zar::plot {

void DragTracker::Begin(PlotDC& dc, const PlotRegion& region, QPoint point, int mode) {
    start_ = current_ = end_ = point;
    region_ = region;
    mode_ = mode;
    trace_ = nullptr;
    drawFeedback(dc);
    active_ = true;
}

void DragTracker::BeginAnchored(PlotDC& dc, const PlotRegion& region, const CTrace* trace,
                                QPoint start, QPoint current, int mode, int symbol) {
    start_ = start;
    current_ = end_ = current;
    region_ = region;
    mode_ = mode;
    trace_ = trace;
    symbol_ = symbol;
    double x = 0, y = 0;
    anchor_ = start;
    if (SnapToTrace(region.ScreenToX(start.x(), start.y()), x, y))
        anchor_ = {region.XToScreen(x), region.YToScreen(y)};
    drawFeedback(dc);
    active_ = true;
}

void DragTracker::Move(PlotDC& dc, QPoint point) {
    if (!active_ || !region_) return;
    point = region_->ClampPoint(point);
    drawFeedback(dc);  // erases the old figure
    current_ = point;
    drawFeedback(dc);
}

int DragTracker::End(PlotDC& dc, QPoint& start, QPoint& end) {
    if (!active_) return 0;
    drawFeedback(dc);
    active_ = false;
    start = start_;
    end = end_;
    return shape_;
}

bool DragTracker::SnapToTrace(double x, double& outX, double& outY) const {
    if (!trace_) return false;
    const TracePoint* p = trace_->FindNearestPoint(x);
    if (!p) return false;
    outX = p->position;
    outY = p->intensity;
    return true;
}

void DragTracker::drawFeedback(PlotDC& dc) {
    const RasterOp previous = dc.GetROP2();
    dc.SetROP2(R2_NOT);
    dc.SetPen(0, 0);
    end_ = current_;
    shape_ = mode_;
    if (mode_ == kDragBox) {
        if (start_.x() != current_.x() && start_.y() != current_.y()) {
            dc.MoveTo(start_.x(), start_.y());
            dc.LineTo(current_.x(), start_.y());
            dc.LineTo(current_.x(), current_.y());
            dc.LineTo(start_.x(), current_.y());
            dc.LineTo(start_.x(), start_.y());
        } else {
            dc.Line(start_.x(), start_.y(), end_.x(), end_.y());
        }
    } else if ((mode_ == kDragAnchoredLine || mode_ == kDragAnchoredDrop) && region_) {
        double x = 0, y = 0;
        int px = end_.x(), py = end_.y();
        if (SnapToTrace(region_->ScreenToX(end_.x(), end_.y()), x, y)) {
            px = region_->XToScreen(x);
            py = region_->YToScreen(y);
        }
        if (mode_ == kDragAnchoredLine) {
            dc.MoveTo(anchor_.x(), anchor_.y());
            dc.LineTo(start_.x(), start_.y());
            dc.LineTo(px, end_.y());
            if (symbol_ != 10) DrawMarkerSymbol(symbol_, dc, px, end_.y(), 8);
            dc.MoveTo(px, end_.y());
            dc.LineTo(px, py);
        } else {
            const int m = std::max(anchor_.y(), start_.y());
            dc.Line(anchor_.x(), anchor_.y(), anchor_.x(), m);
            if (symbol_ != 10)
                dc.Line(px, end_.y(), px, py);
            else
                dc.Line(anchor_.x(), m, px, py);
            dc.Line(anchor_.x(), m, px, std::max(end_.y(), py));
        }
    }
    dc.SetROP2(previous);
}

}  // namespace zar::plot
