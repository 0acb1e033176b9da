#include "GraphHandler.h"

namespace zar::plot {

QStringList LabelLines(const QString& text) {
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    QStringList lines = joined.split(QLatin1Char('\r'));
    while (lines.size() > kMaxLabelLines) lines.removeLast();
    return lines;
}

std::optional<std::pair<double, double>> CGraphHandler::dataRange() const {
    if (!dataRange_) return std::nullopt;
    return std::make_pair(dataRange_->first > 0 ? dataRange_->first : 0.0,
                          dataRange_->second >= 0 ? dataRange_->second : 0.0);
}

bool CGraphHandler::ScrollRight() {
    if (family_ != GraphFamily::Chromatogram) return false;
    const auto data = dataRange();
    if (!data) return false;
    CGraphDrawing& g = graph_;
    double step = (g.m_dXHigh - g.m_dXLow) * 0.1;
    if (g.m_dXHigh + step > data->second) step = data->second - g.m_dXHigh;
    if (step == 0.0) return false;  // also a range of zero width: nothing to scroll
    g.m_bLowAuto = g.m_bHighAuto = false;
    g.m_dXLow += step;
    g.m_dXHigh += step;
    return true;
}

bool CGraphHandler::ScrollLeft() {
    if (family_ != GraphFamily::Chromatogram) return false;
    const auto data = dataRange();
    if (!data) return false;
    CGraphDrawing& g = graph_;
    double step = (g.m_dXHigh - g.m_dXLow) * 0.1;
    if (g.m_dXLow - step < data->first) step = g.m_dXLow - data->first;
    if (step == 0.0) return false;
    g.m_bLowAuto = g.m_bHighAuto = false;
    g.m_dXLow -= step;
    g.m_dXHigh -= step;
    return true;
}

bool CGraphHandler::ZoomFull() {
    CGraphDrawing& g = graph_;
    if (family_ == GraphFamily::Spectrum) {
        const bool changed = !(g.m_bLowAuto && g.m_bHighAuto);
        g.m_bLowAuto = g.m_bHighAuto = true;
        return changed;
    }
    const auto data = dataRange();
    if (!data) return false;
    if (g.m_dXLow == data->first && g.m_dXHigh == data->second) return false;
    g.m_dXLow = data->first;
    g.m_dXHigh = data->second;
    g.m_bLowAuto = g.m_bHighAuto = true;
    return true;
}

bool CGraphHandler::ZoomOut() {
    if (family_ != GraphFamily::Chromatogram) return false;
    const auto data = dataRange();
    if (!data) return false;
    CGraphDrawing& g = graph_;
    const double half = (g.m_dXHigh - g.m_dXLow) * 0.5;
    if (g.m_dXLow == data->first && g.m_dXHigh == data->second) return false;
    g.m_dXLow = std::max(g.m_dXLow - half, data->first);
    g.m_dXHigh = std::min(g.m_dXHigh + half, data->second);
    g.m_bLowAuto = g.m_bHighAuto = false;
    return true;
}

bool CGraphHandler::ZoomIn() {
    CGraphDrawing& g = graph_;
    const double quarter = (g.m_dXHigh - g.m_dXLow) * 0.25;
    g.m_dXLow += quarter;
    g.m_dXHigh -= quarter;
    g.m_bLowAuto = g.m_bHighAuto = false;
    return true;
}

bool CGraphHandler::ResetYScale() {
    graph_.m_bYRange = false;
    graph_.m_YLimits = {0.0, 100.0, 0.0, 0.0, 0.0};
    return true;
}

bool CGraphHandler::SetYAxisLimits(double relMin, double relMax, double absMin, double absMax,
                                   double norm) {
    graph_.m_YLimits = {relMin, relMax, absMin, absMax, norm};
    return true;
}

void CGraphHandler::GetYAxisLimits(double* relMin, double* relMax, double* absMin, double* absMax,
                                   double* norm) const {
    const auto& y = graph_.m_YLimits;
    if (relMin) *relMin = y[kRelativeMin];
    if (relMax) *relMax = y[kRelativeMax];
    if (absMin) *absMin = y[kAbsoluteMin];
    if (absMax) *absMax = y[kAbsoluteMax];
    if (norm) *norm = y[kNormalization];
}

void CGraphHandler::GetDataXRange(double& start, double& end) const {
    const auto data = family_ == GraphFamily::Chromatogram ? dataRange() : std::nullopt;
    start = data ? data->first : 0.0;
    end = data ? data->second : 200.0;
}

bool CGraphHandler::addTextLabel(const HandlerLabel& label, double x, double y, double endX,
                                 double endY, bool pointer) {
    TextLabelNode node;
    node.lines = LabelLines(label.text);
    // The vertical anchor code gives the label list two placement numbers: the edge of the box
    // that sits at the point, and whether the label is lifted above the data.
    const int lines = static_cast<int>(node.lines.size());
    std::pair<int, int> placement{lines, lines};
    switch (label.yAnchor) {
        case 0:
            placement = {2, 1};
            break;
        case 1:
            placement = {2, 0};
            break;
        case 2:
            placement = {0, 0};
            break;
        default:
            break;
    }
    node.xAnchor = label.xAnchor;
    node.yAnchor = placement.first;
    node.aboveGraph = placement.second != 0;
    node.alignment = label.alignment;
    node.boxed = label.boxed;
    node.rotated = label.rotated;
    node.priority = label.priority;
    node.dataX = x;
    node.dataY = y;
    node.pointer = pointer;
    node.pointerDataX = endX;
    node.pointerDataY = endY;
    graph_.UserLabels().AddLabel(node);
    return true;
}

bool CGraphHandler::AddTextLabelMass(const HandlerLabel& label, double x, double y, double endX,
                                     double endY, bool pointer) {
    if (family_ != GraphFamily::Spectrum) return false;
    return addTextLabel(label, x, y, endX, endY, pointer);
}

bool CGraphHandler::AddTextLabelTime(const HandlerLabel& label, double x, double y, double endX,
                                     double endY, bool pointer) {
    if (family_ != GraphFamily::Chromatogram) return false;
    return addTextLabel(label, x, y, endX, endY, pointer);
}

void CGraphHandler::RemoveTextLabel(double start, double end, int index) {
    const int trace = family_ == GraphFamily::Spectrum ? -1 : index;
    graph_.UserLabels().RemoveLabelsInRange(start, end, trace);
    graph_.Markers().RemoveInRange(start, end, trace);
}

void CGraphHandler::ClearTextLabels() {
    graph_.UserLabels().Clear();
    graph_.Markers().Clear();
}

bool CGraphHandler::addMarker(const HandlerMarker& m, double startPos, double startInt,
                              double endPos, double endInt, int traceId, int markerId) {
    if (m.kind < 0 || m.kind > 4) return false;
    MarkerNode node;
    node.style = m.kind <= 2 ? ZAR_PLOTLib::VXPlot_MarkerStyle_Line
                             : ZAR_PLOTLib::VXPlot_MarkerStyle_Rectangle;
    node.intensityScale = static_cast<ZAR_PLOTLib::VXPlot_MarkerScale>(m.intensityScale);
    node.behind = m.behind;
    node.startIntensity = startInt;
    node.endIntensity = endInt;
    node.startPosition = startPos;
    node.endPosition = endPos;
    node.traceId = traceId;
    node.outline = true;
    node.fill = m.kind == 4;
    node.lineColor = m.lineColor;
    node.fillColor = m.fillColor;
    node.symbol = static_cast<ZAR_PLOTLib::VXPlot_MarkerSymbolType>(m.symbol);
    node.markerId = markerId;
    graph_.Markers().Add(node);
    return true;
}

bool CGraphHandler::AddMarkerTime(const HandlerMarker& m, double startPos, double startInt,
                                  double endPos, double endInt, int traceId, int markerId) {
    if (family_ != GraphFamily::Chromatogram) return false;
    return addMarker(m, startPos, startInt, endPos, endInt, traceId, markerId);
}

bool CGraphHandler::AddMarkerMass(const HandlerMarker& m, double startPos, double startInt,
                                  double endPos, double endInt, int traceId) {
    if (family_ != GraphFamily::Spectrum) return false;
    return addMarker(m, startPos, startInt, endPos, endInt, traceId, 0);
}

bool CGraphHandler::AddMagnifiedRangeMass(double factor, double start, double end) {
    if (family_ != GraphFamily::Spectrum) return false;
    graph_.Magnification().AddRange(factor, start, end);
    return true;
}

bool CGraphHandler::AddMagnifiedRangeTime(double factor, double start, double end) {
    if (family_ != GraphFamily::Chromatogram) return false;
    graph_.Magnification().AddRange(factor, start, end);
    return true;
}

bool CGraphHandler::RemoveMagnifiedRangeMass(double start, double end) {
    if (family_ != GraphFamily::Spectrum) return false;
    graph_.Magnification().RemoveRange(start, end);
    return true;
}

bool CGraphHandler::RemoveMagnifiedRangeTime(double start, double end) {
    if (family_ != GraphFamily::Chromatogram) return false;
    graph_.Magnification().RemoveRange(start, end);
    return true;
}

bool CGraphHandler::FindTallestPeak(double start, double end, double& position) const {
    if (family_ != GraphFamily::Spectrum) return false;
    double best = 0.0;
    bool found = false;
    for (const CTrace* t : graph_.Traces()) {
        for (std::size_t i = 0; i < t->PointCount(); ++i) {
            const TracePoint& p = t->Points()[i];
            if (p.position >= start && p.position <= end && p.intensity > best) {
                best = p.intensity;
                position = p.position;
                found = true;
            }
        }
    }
    return found;
}

}  // namespace zar::plot
