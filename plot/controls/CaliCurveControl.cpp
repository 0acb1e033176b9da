#include "CaliCurveControl.h"

namespace zar::plot {

using namespace ZAR_PLOTLib;

CCaliCurveControl::CCaliCurveControl() : CComControl(kCoclasses[2]) {}

CCaliCurveControl::~CCaliCurveControl() = default;

HRESULT CCaliCurveControl::SetYAxisLabel(LPCWSTR szYAxisLabel) {
    (void)szYAxisLabel;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::SetXAxisLabel(LPCWSTR szXAxisLabel) {
    (void)szXAxisLabel;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::SetHeading(LPCWSTR szHeadingLine1, LPCWSTR szHeadingLine2) {
    (void)szHeadingLine1;
    (void)szHeadingLine2;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_DataValid(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_DataValid;
    return S_OK;
}

HRESULT CCaliCurveControl::put_DataValid(std::int32_t newVal) {
    m_DataValid = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetYAxisLimits(double dStart, double dEnd) {
    (void)dStart;
    (void)dEnd;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::SetXAxisLimits(double dStart, double dEnd) {
    (void)dStart;
    (void)dEnd;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::SetLeftAxisWidth(double dVal) {
    (void)dVal;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::CopyToClipboard() {
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::SetCalculatedAmountMarker(std::int32_t bShow, double dXVal,
                                                     double dYVal) {
    (void)bShow;
    (void)dXVal;
    (void)dYVal;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CCaliCurveControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC,
                                std::int32_t bIsPrinting, tagRECT* pcRect,
                                std::int32_t bShowBorder) {
    (void)phDC;
    (void)phAttribDC;
    (void)bIsPrinting;
    (void)pcRect;
    (void)bShowBorder;
    return NotYetAvailable();
}

HRESULT CCaliCurveControl::get_ShowFocusRect(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowFocusRect;
    return S_OK;
}

HRESULT CCaliCurveControl::put_ShowFocusRect(std::int32_t newVal) {
    m_ShowFocusRect = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

HRESULT CCaliCurveControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::Initialize() {
    m_bInitialized = true;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetTraceData(VXPlot_CaliCurveTraceIDs eTraceID,
                                        VXPlot_DataPeak* pVXDataPeaks,
                                        std::int32_t nNumVXDataPeaks) {
    if (!m_bInitialized) return E_FAIL;
    const int trace = static_cast<int>(eTraceID);
    if (trace < 0 || trace > 2) return E_INVALIDARG;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    m_traces[trace].assign(pVXDataPeaks, pVXDataPeaks + nNumVXDataPeaks);
    Invalidate();
    return S_OK;
}

}  // namespace zar::plot
