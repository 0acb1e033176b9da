#pragma once
// The crosshair that follows the mouse over a plot (the calibration-curve control): a vertical
// line parallel to the slanted axis, a short horizontal line, and in regions of trace index 1 a
// full-width horizontal line with a diagonal of slope 1 in value units. Drawn by inverting.

#include "PlotDC.h"
#include "PlotRegion.h"

#include <QPoint>

#include <optional>

namespace zar::plot {

class TrackingCursor {
  public:
    struct Values {
        double x = 0.0, y = 0.0;
        int xKind = 0, yKind = 0;
        bool filterFound = false;
        // The scan filter of the region under the mouse, when it has one.
        std::optional<CScanFilter> filter;
    };

    // Erases the cursor, places it at the mouse in the region there and draws it; returns
    // whether it is drawn now.
    bool Track(PlotDC& dc, const PlotRegionList& regions, QPoint mouse, Values* values);
    // Draws or erases (toggles).
    void Draw(PlotDC& dc);

    bool m_bEnabled = true;
    bool m_bDiagonal = true;
    int m_nHalfLength = 10;
    bool IsDrawn() const { return drawn_; }
    QPoint DiagonalStart() const { return diagA_; }
    QPoint DiagonalEnd() const { return diagB_; }
    QPoint VerticalTop() const { return vTop_; }
    QPoint VerticalBottom() const { return vBottom_; }

  private:
    bool drawn_ = false;
    QPoint mouse_, vTop_, vBottom_, hLeft_, hRight_, diagA_, diagB_;
};

}  // namespace zar::plot
