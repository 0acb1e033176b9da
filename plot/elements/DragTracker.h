#pragma once
// Feedback while the mouse is dragged over a plot: a rubber-band box for a zoom, or a line from
// a peak's base to the trace. Drawn by inverting pixels (on an overlay image in our window), so
// drawing the same figure again erases it.

#include "PlotDC.h"
#include "PlotRegion.h"
#include "Trace.h"

#include <QPoint>

#include <optional>

namespace zar::plot {

enum DragMode { kDragBox = 5, kDragAnchoredLine = 6, kDragAnchoredDrop = 8 };

class DragTracker {
  public:
    // The region is copied: the list it came from may be refilled by a repaint during the drag.
    void Begin(PlotDC& dc, const PlotRegion& region, QPoint point, int mode);
    void BeginAnchored(PlotDC& dc, const PlotRegion& region, const CTrace* trace, QPoint start,
                       QPoint current, int mode, int symbol);
    void Move(PlotDC& dc, QPoint point);
    // 0 when not active; else the shape, with the start and end points.
    int End(PlotDC& dc, QPoint& start, QPoint& end);
    void GetPoints(QPoint& start, QPoint& end) const {
        start = start_;
        end = end_;
    }
    bool IsActive() const { return active_; }
    // The trace's data point nearest to an X value.
    bool SnapToTrace(double x, double& outX, double& outY) const;

    static constexpr int kMinimumBoxSize = 15;

  private:
    void drawFeedback(PlotDC& dc);

    QPoint start_, current_, end_, anchor_;
    int mode_ = 1;
    int shape_ = 1;
    bool active_ = false;
    std::optional<PlotRegion> region_;
    const CTrace* trace_ = nullptr;
    int symbol_ = 10;
};

}  // namespace zar::plot
