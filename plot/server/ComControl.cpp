#include "ComControl.h"

#include "plot/graph/GraphHandler.h"

#include <cmath>

namespace zar::plot {

bool FiniteValues(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

HRESULT AxisLimits::SetYAxisLimits(double normalization, double absMin, double absMax,
                                   double relMin, double relMax) {
    if (!FiniteValues({normalization, absMin, absMax, relMin, relMax})) return E_INVALIDARG;
    normalizationLevel = normalization;
    absoluteMin = absMin;
    absoluteMax = absMax;
    relativeMin = relMin;
    relativeMax = relMax;
    return S_OK;
}

HRESULT AxisLimits::SetXAxisLimits(double start, double end) {
    if (!FiniteValues({start, end})) return E_INVALIDARG;
    xStart = start;
    xEnd = end;
    return S_OK;
}

HRESULT AxisLimits::SetYAxisScaleType(ZAR_PLOTLib::VXPlot_YAxisScaleType type) {
    if (type != ZAR_PLOTLib::VXPlot_YAxisScaleType_Relative &&
        type != ZAR_PLOTLib::VXPlot_YAxisScaleType_Absolute)
        return E_INVALIDARG;
    scaleType = type;
    return S_OK;
}

HRESULT HostTextLabels::Get(ZAR_PLOTLib::VXPlot_LabelParams* params) const {
    if (!params) return E_POINTER;
    *params = params_;
    params->crTextColor = 0;
    return S_OK;
}

void HostTextLabels::Add(CGraphDrawing& graph, LPCWSTR text, double x, double y,
                         const ZAR_PLOTLib::VXPlot_LabelParams* params) const {
    const ZAR_PLOTLib::VXPlot_LabelParams& p = params ? *params : params_;
    if (params) graph.m_userLabelColor = params->crTextColor;
    TextLabelNode label;
    label.lines = LabelLines(FromWide(text));
    label.xAnchor = p.eTextXAnchor;
    label.yAnchor = p.eTextYAnchor;
    label.alignment = p.eTextAlign;
    label.aboveGraph = p.bAboveGraph != 0;
    label.boxed = p.bBoxed != 0;
    label.rotated = p.bRotate != 0;
    label.priority = p.dTextPriority;
    label.dataX = x;
    label.dataY = y;
    label.pointer = p.bPointer != 0;
    graph.UserLabels().AddLabel(label);
}

}  // namespace zar::plot
