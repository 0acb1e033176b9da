#include "ComControl.h"

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

}  // namespace zar::plot
