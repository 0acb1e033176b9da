#pragma once
// Markers attached to a trace in data coordinates (a line, optionally with drop lines and end
// symbols, or a rectangle), and the nine marker symbols.

#include "PlotDC.h"
#include "ZoomFactorLabel.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <list>

namespace zar::plot {

class PlotRegion;

struct MarkerNode {
    ZAR_PLOTLib::VXPlot_MarkerStyle style = ZAR_PLOTLib::VXPlot_MarkerStyle_Line;
    ZAR_PLOTLib::VXPlot_MarkerScale intensityScale = ZAR_PLOTLib::VXPlot_MarkerScale_Absolute;
    bool behind = false;
    bool outline = true;
    bool fill = false;
    bool dropLines = false;
    COLORREF lineColor = 0;
    COLORREF fillColor = 0;
    double startIntensity = 0, endIntensity = 0;
    double startPosition = 0, endPosition = 0;
    double dropStartIntensity = 0, dropEndIntensity = 0;
    ZAR_PLOTLib::VXPlot_MarkerSymbolType symbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_None;
    std::int32_t traceId = 0;
    std::int32_t markerId = 0;
};

// The scales of one trace's drawing, by which markers become pixels.
struct MarkerScales {
    double yMin = 0, yMax = 1, yScale = 0;
    int bottom = 0;
    double xStart = 0, xEnd = 1, xScale = 0;
    int left = 0;
    int PixelX(double position) const {
        return static_cast<int>((position - xStart) * xScale) + left;
    }
    int PixelY(double intensity) const {
        return static_cast<int>((intensity - yMin) * yScale) + bottom;
    }
};

class CMarkerList {
  public:
    void Add(const MarkerNode& marker) { markers_.push_front(marker); }
    void Clear() { markers_.clear(); }
    bool RemoveInRange(double start, double end, std::int32_t traceId);
    bool RemoveBySymbol(ZAR_PLOTLib::VXPlot_MarkerSymbolType symbol, std::int32_t traceId = -1);
    bool RemoveById(std::int32_t markerId);
    const std::list<MarkerNode>& markers() const { return markers_; }
    std::size_t size() const { return markers_.size(); }

    // Draws the markers of one trace in one pass (behind or in front of the data).
    void Draw(PlotDC& dc, bool behindPass, const MarkerScales& scales,
              const CZoomFactorLabel* magnification, std::int32_t traceId) const;
    // The first marker with a symbol whose start (end = 1) or end (end = 2) lies within 1 mm of
    // the point in both directions; false when none.
    bool HitTest(const PlotDC& dc, int x, int y, const CZoomFactorLabel* magnification,
                 const PlotRegion& region, MarkerNode& hit, int& end, std::int32_t traceId) const;

  private:
    std::list<MarkerNode> markers_;
};

// Visibility within the displayed ranges; the intensities come back magnified.
bool MarkerIsVisible(double startPosition, double endPosition, double& startIntensity,
                     double& endIntensity, double xStart, double xEnd, double yMin, double yMax,
                     const CZoomFactorLabel* magnification);

// Draws a symbol centred on (x, y) in a square of side `size`, with the current pen.
void DrawMarkerSymbol(int symbol, PlotDC& dc, int x, int y, int size);

}  // namespace zar::plot
