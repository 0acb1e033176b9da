#include "MarkerList.h"

#include "PlotRegion.h"

#include <algorithm>
#include <cmath>

namespace zar::plot {

using namespace ZAR_PLOTLib;

bool CMarkerList::RemoveInRange(double start, double end, std::int32_t traceId) {
    const auto before = markers_.size();
    markers_.remove_if([&](const MarkerNode& m) {
        return m.startPosition >= start && m.startPosition <= end && m.endPosition >= start &&
               m.endPosition <= end && (traceId < 0 || m.traceId == traceId);
    });
    return markers_.size() != before;
}

bool CMarkerList::RemoveBySymbol(VXPlot_MarkerSymbolType symbol, std::int32_t traceId) {
    const auto before = markers_.size();
    markers_.remove_if([&](const MarkerNode& m) {
        return m.symbol == symbol && (traceId < 0 || m.traceId == traceId);
    });
    return markers_.size() != before;
}

bool CMarkerList::RemoveById(std::int32_t markerId) {
    const auto before = markers_.size();
    markers_.remove_if([&](const MarkerNode& m) { return m.markerId == markerId; });
    return markers_.size() != before;
}

bool MarkerIsVisible(double startPosition, double endPosition, double& startIntensity,
                     double& endIntensity, double xStart, double xEnd, double yMin, double yMax,
                     const CZoomFactorLabel* magnification) {
    if (startPosition > xEnd || endPosition < xStart) return false;
    if (magnification && magnification->HasRanges()) {
        startIntensity *= magnification->FactorAt(startPosition);
        endIntensity *= magnification->FactorAt(endPosition);
    }
    if (startIntensity <= endIntensity) return !(startIntensity > yMax || endIntensity < yMin);
    return !(startIntensity < yMin || endIntensity > yMax);
}

void CMarkerList::Draw(PlotDC& dc, bool behindPass, const MarkerScales& s,
                       const CZoomFactorLabel* magnification, std::int32_t traceId) const {
    if (markers_.empty()) return;
    dc.SaveState();
    dc.IntersectClipRect(s.left - 2, s.PixelY(s.yMax) - 2, s.PixelX(s.xEnd) + 2, s.bottom + 2);
    const int symbolSize = static_cast<int>(dc.LogPixelsY() * 0.0787);
    const int penWidth = dc.DevicePenWidth();
    for (const MarkerNode& m : markers_) {
        double startIntensity = m.startIntensity;
        double endIntensity = m.endIntensity;
        if (m.intensityScale == VXPlot_MarkerScale_Percent) {
            startIntensity *= s.yMax * 0.01;
            endIntensity *= s.yMax * 0.01;
        }
        if (m.traceId != traceId || m.behind != behindPass) continue;
        if (!MarkerIsVisible(m.startPosition, m.endPosition, startIntensity, endIntensity, s.xStart,
                             s.xEnd, s.yMin, s.yMax, magnification))
            continue;
        const int x1 = s.PixelX(m.startPosition);
        const int x2 = s.PixelX(m.endPosition);
        const int y1 = s.PixelY(startIntensity);
        const int y2 = s.PixelY(endIntensity);
        if (m.style == VXPlot_MarkerStyle_Line) {
            dc.SetPen(m.lineColor, penWidth);
            if (m.dropLines) {
                dc.MoveTo(x1, s.PixelY(std::clamp(m.dropStartIntensity, s.yMin, s.yMax)));
                dc.LineTo(x1, y1);
            } else {
                dc.MoveTo(x1, y1);
            }
            dc.LineTo(x2, y2);
            if (m.dropLines)
                dc.LineTo(x2, s.PixelY(std::clamp(m.dropEndIntensity, s.yMin, s.yMax)));
            if (m.symbol != VXPlot_MarkerSymbolType_None) {
                DrawMarkerSymbol(m.symbol, dc, x1, y1, symbolSize);
                DrawMarkerSymbol(m.symbol, dc, x2, y2, symbolSize);
            }
        } else if (m.fill) {
            dc.SetPen(m.lineColor, penWidth, m.outline ? PS_SOLID : PS_NULL);
            dc.SetBrush(m.fillColor);
            dc.Rectangle(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
            dc.SetNullBrush();
        } else {
            dc.SetPen(m.lineColor, 0);
            dc.MoveTo(x1, y1);
            dc.LineTo(x1, y2);
            dc.LineTo(x2, y2);
            dc.LineTo(x2, y1);
            dc.LineTo(x1, y1);
        }
    }
    dc.RestoreState();
}

bool CMarkerList::HitTest(const PlotDC& dc, int x, int y, const CZoomFactorLabel* magnification,
                          const PlotRegion& region, MarkerNode& hit, int& end,
                          std::int32_t traceId) const {
    const ElementRect& data = region.dataRect();
    if (x < data.left || x > data.right || y < data.top || y > data.bottom) return false;
    // 100 HIMETRIC units are 1 mm.
    const int nearX = std::max(1, static_cast<int>(dc.LogPixelsX() / 25.4));
    const int nearY = std::max(1, static_cast<int>(dc.LogPixelsY() / 25.4));
    for (const MarkerNode& m : markers_) {
        if (m.symbol == VXPlot_MarkerSymbolType_None) continue;
        if (traceId >= 0 && m.traceId != traceId) continue;
        double si = m.startIntensity, ei = m.endIntensity;
        if (!MarkerIsVisible(m.startPosition, m.endPosition, si, ei, region.xStart(), region.xEnd(),
                             region.yBottom(), region.yTop(), magnification))
            continue;
        const int sx = region.XToScreen(m.startPosition), sy = region.YToScreen(si);
        const int ex = region.XToScreen(m.endPosition), ey = region.YToScreen(ei);
        if (std::abs(x - sx) < nearX && std::abs(y - sy) < nearY) {
            hit = m;
            end = 1;
            return true;
        }
        if (std::abs(x - ex) < nearX && std::abs(y - ey) < nearY) {
            hit = m;
            end = 2;
            return true;
        }
    }
    return false;
}

void DrawMarkerSymbol(int symbol, PlotDC& dc, int x, int y, int size) {
    const int h = size / 2;
    const int left = x - h, top = y - h, right = left + size, bottom = top + size;
    switch (symbol) {
        case VXPlot_MarkerSymbolType_Asterisk: {
            const int t = size / 3;
            dc.Line(left, y, right, y);
            dc.Line(x - t, y + t, x + t + 1, y - t - 1);
            dc.Line(x - t, y - t, x + t + 1, y + t + 1);
            break;
        }
        case VXPlot_MarkerSymbolType_Box:
            dc.MoveTo(left, top);
            dc.LineTo(left, bottom);
            dc.LineTo(right, bottom);
            dc.LineTo(right, top);
            dc.LineTo(left, top);
            break;
        case VXPlot_MarkerSymbolType_FilledBox:
            if (dc.HasPen()) dc.FillRect(left, top, right + 1, bottom + 1, dc.PenColor());
            break;
        case VXPlot_MarkerSymbolType_Circle: {
            const int r = (size + 1) / 2;
            dc.SetNullBrush();
            dc.Ellipse(x - r, y - r, x + r, y + r);
            break;
        }
        case VXPlot_MarkerSymbolType_Cross:
            dc.Line(left, y, right + 1, y);
            dc.Line(x, top, x, bottom + 1);
            break;
        case VXPlot_MarkerSymbolType_Diamond:
            dc.MoveTo(x, top);
            dc.LineTo(right, y);
            dc.LineTo(x, bottom);
            dc.LineTo(left, y);
            dc.LineTo(x, top);
            break;
        case VXPlot_MarkerSymbolType_Ex:
            dc.Line(left, bottom, right + 1, top - 1);
            dc.Line(left, top, right + 1, bottom + 1);
            break;
        case VXPlot_MarkerSymbolType_Hash: {
            const int q = size / 4;
            dc.Line(x - q, y + h, x - q, top - 1);
            dc.Line(x + q, y + h, x + q, top - 1);
            dc.Line(left, y + q, x + h + 1, y + q);
            dc.Line(left, y - q, x + h + 1, y - q);
            break;
        }
        case VXPlot_MarkerSymbolType_Triangle:
            dc.MoveTo(x, top);
            dc.LineTo(left, bottom);
            dc.LineTo(right, bottom);
            dc.LineTo(x, top);
            break;
        default:
            break;  // Line, None and unknown values draw nothing
    }
}

}  // namespace zar::plot
