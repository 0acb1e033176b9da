#include "DenovoPlotControl.h"

namespace zar::plot {

using namespace ZAR_PLOTLib;

CDenovoPlotControl::CDenovoPlotControl() : CComControl(kCoclasses[4]) {}

CDenovoPlotControl::~CDenovoPlotControl() = default;

HRESULT CDenovoPlotControl::ClearDataSet() {
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetXMassRange(std::int32_t nXStart, std::int32_t nXEnd) {
    (void)nXStart;
    (void)nXEnd;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetNumScans(std::int32_t nNumScans) {
    (void)nNumScans;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetYParentMasses(std::int32_t* nMasses) {
    (void)nMasses;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetZIntensities(std::int32_t** pZIntensity,
                                            std::int32_t* pYParentMasses) {
    (void)pZIntensity;
    (void)pYParentMasses;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetSign(std::int16_t* pSign) {
    (void)pSign;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetZMaxIntensity(std::int32_t nZMaxIntensity) {
    (void)nZMaxIntensity;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetZDisplayRangeIntensity(std::int32_t nZDisplayRange) {
    (void)nZDisplayRange;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::SetNumber1DregenPoints(std::int32_t nPoints) {
    (void)nPoints;
    return NotYetAvailable();
}

HRESULT CDenovoPlotControl::get_DataValid(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_DataValid;
    return S_OK;
}

HRESULT CDenovoPlotControl::put_DataValid(std::int32_t newVal) {
    m_DataValid = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CDenovoPlotControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CDenovoPlotControl::Initialize() {
    m_bInitialized = true;
    Invalidate();
    return S_OK;
}

}  // namespace zar::plot
