#include "CaliCurveGraph.h"

namespace zar::plot {

using namespace ZAR_PLOTLib;

CCaliCurveGraph::CCaliCurveGraph() {
    curve_.SetFont(&font_);
    curve_.m_bPositionLabels = false;
    included_.m_bPositionLabels = false;
    excluded_.m_bPositionLabels = false;
    included_.m_nSymbol = VXPlot_MarkerSymbolType_Circle;
    included_.m_color = RGBRef(0, 0, 200);
    excluded_.m_nSymbol = VXPlot_MarkerSymbolType_Cross;
    excluded_.m_color = RGBRef(200, 0, 0);
    SetTraces({&curve_, &included_, &excluded_});
    SetDepthView(true, 0.0, 0.0);
    m_bScaleToLargest = false;
    m_bAbsoluteMode = false;
    m_bYRange = true;
    m_bLeftMargin = true;
    m_dLeftMargin = 1.0;
    PlotArea().m_bCommonRange = true;
    SetLeftAxisWidth(4.0);
    SetXRange(0.0, 10.0);
    SetYRange(0.0, 100.0);
}

void CCaliCurveGraph::SetTraceData(int traceId, const TracePoint* points, std::size_t count) {
    switch (traceId) {
        case 0:
            curve_.SetPoints(points, count);
            SetTraces({&curve_, &included_, &excluded_});
            m_bAbsoluteMode = false;
            break;
        case 1:
            included_.SetPoints(points, count);
            break;
        case 2:
            excluded_.SetPoints(points, count);
            break;
        default:
            break;
    }
}

void CCaliCurveGraph::SetLeftAxisWidth(double value) {
    CPlotArea& area = PlotArea();
    if (value < 0.5) {
        area.m_bYLabelWidthFixed = false;
        area.m_dYLabelWidth = 1.0;
    } else {
        area.m_bYLabelWidthFixed = true;
        area.m_dYLabelWidth = std::max(value, 1.0);
    }
}

void CCaliCurveGraph::SetXRange(double start, double end) {
    m_dXLow = start;
    m_dXHigh = end;
    m_bLowAuto = m_bHighAuto = false;
}

void CCaliCurveGraph::SetYRange(double start, double end) {
    m_bYRange = true;
    m_YLimits[kAbsoluteMin] = start;
    m_YLimits[kAbsoluteMax] = end;
}

void CCaliCurveGraph::SetCalculatedAmountMarker(bool show, double x, double y) {
    if (!show || !(x > 0.0) || !(y > 0.0)) {
        markers_.Clear();
        return;
    }
    MarkerNode vertical;
    vertical.lineColor = 0x02000000;
    vertical.markerId = kAmountMarkerGroup;
    vertical.startPosition = vertical.endPosition = x;
    vertical.startIntensity = 0.0;
    vertical.endIntensity = y;
    markers_.Add(vertical);
    MarkerNode horizontal = vertical;
    horizontal.startPosition = 0.0;
    horizontal.endPosition = x;
    horizontal.startIntensity = horizontal.endIntensity = y;
    markers_.Add(horizontal);
}

void CCaliCurveGraph::SetTexts(const QString& line1, const QString& line2, const QString& xTitle,
                               const QString& yTitle) {
    line1_ = line1;
    line2_ = line2;
    PlotArea().m_xTitle = xTitle;
    PlotArea().m_yTitles[0] = yTitle;
}

bool CCaliCurveGraph::search(const PlotDC& dc, int x, int y, int trace, std::size_t from,
                             Hit& hit) {
    if (!regions_) return false;
    const PlotRegion* region = regions_->Find(x, y);
    if (!region) return false;
    CTraceKind3& t = trace == 0 ? included_ : excluded_;
    std::size_t index = from;
    double position = 0.0, intensity = 0.0;
    if (!t.HitTestPoint(dc, x, y, region->yBottom(), region->yTop(), position, intensity, index))
        return false;
    hit = {trace, position, intensity, index};
    return true;
}

bool CCaliCurveGraph::FirstHit(const PlotDC& dc, int x, int y, Hit& hit) {
    return search(dc, x, y, 0, 0, hit) || search(dc, x, y, 1, 0, hit);
}

bool CCaliCurveGraph::NextHit(const PlotDC& dc, int x, int y, Hit& hit) {
    if (hit.trace == 0 && search(dc, x, y, 0, hit.index + 1, hit)) return true;
    if (hit.trace == 0) return search(dc, x, y, 1, 0, hit);
    return search(dc, x, y, 1, hit.index + 1, hit);
}

void CCaliCurveGraph::DrawImpl(PlotDC& dc) {
    heading_.Reset(60, 2);
    heading_.AddItem(line1_, kCentred, 0, 255, true);
    heading_.AddItem(line2_, kCentred, 1, 0, true);
    sizer_.SetChildren({&heading_, 2.0, 0.0}, &splitter_, {});
    m_dTopMargin = 0.6;
    m_dRightMargin = 1.0;
    CGraphDrawing::DrawImpl(dc);
}

}  // namespace zar::plot
