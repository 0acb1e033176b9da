#include "SpecControl.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zar::plot {

using namespace ZAR_PLOTLib;

CSpecControl::CSpecControl() : CComControl(kCoclasses[1]) {
    m_ShowBorder = 1;
}

CSpecControl::~CSpecControl() = default;

HRESULT CSpecControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::get_DataValid(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_DataValid;
    return S_OK;
}

HRESULT CSpecControl::put_DataValid(std::int32_t newVal) {
    m_DataValid = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC,
                           std::int32_t bIsPrinting, tagRECT* pcRect, std::int32_t bShowBorder) {
    (void)phDC;
    (void)phAttribDC;
    (void)bIsPrinting;
    (void)pcRect;
    (void)bShowBorder;
    return NotYetAvailable();
}

HRESULT CSpecControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CSpecControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::CopyToClipboard() {
    return NotYetAvailable();
}

HRESULT CSpecControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

HRESULT CSpecControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::SetDetectorType(VXPlot_DetectorTypes eDetectorType) {
    (void)eDetectorType;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetStyle(VXPlot_SpecStyle* pStyle) {
    (void)pStyle;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetAxisLabels(LPCWSTR szXAxis, LPCWSTR szYAxisAbsolute,
                                    LPCWSTR szYAxisRelative, LPCWSTR szZAxisAbsolute,
                                    LPCWSTR szZAxisRelative) {
    (void)szXAxis;
    (void)szYAxisAbsolute;
    (void)szYAxisRelative;
    (void)szZAxisAbsolute;
    (void)szZAxisRelative;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetHeaderExtra(LPCWSTR newVal) {
    (void)newVal;
    return NotYetAvailable();
}

HRESULT CSpecControl::AddTextLabel(LPCWSTR slinetext, double x, double y,
                                   VXPlot_LabelParams* pParams) {
    (void)slinetext;
    (void)x;
    (void)y;
    (void)pParams;
    return NotYetAvailable();
}

HRESULT CSpecControl::ClearTextLabel() {
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextPriority(double dPriority) {
    (void)dPriority;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) {
    (void)xAnchor;
    (void)yAnchor;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextAboveGraph(std::int32_t bAboveGraph) {
    (void)bAboveGraph;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextAlign(VXTextAlign eTextAlign) {
    (void)eTextAlign;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextPointer(std::int32_t bPointer, double dEndPosition,
                                     double dEndIntensity) {
    (void)bPointer;
    (void)dEndPosition;
    (void)dEndIntensity;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextRotate(std::int32_t bRotate) {
    (void)bRotate;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetTextBoxed(std::int32_t bBoxed) {
    (void)bBoxed;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetHeading(LPCWSTR bstrHeading) {
    (void)bstrHeading;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetForcedHeading(std::int32_t bForcedHeading) {
    (void)bForcedHeading;
    return NotYetAvailable();
}

HRESULT CSpecControl::SetSmoothingParams(std::int32_t bSmooth, std::int32_t nMode,
                                         std::int32_t nPoints) {
    (void)bSmooth;
    (void)nMode;
    (void)nPoints;
    return NotYetAvailable();
}

HRESULT CSpecControl::Initialize() {
    m_filter = std::make_unique<CScanFilter>();
    m_bInitialized = true;
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::put_Filter(VXPlot_Filter* newVal) {
    if (!m_bInitialized) return E_FAIL;
    if (!newVal) {
        m_filter.reset();
        Invalidate();
        return S_OK;
    }
    auto filter = std::make_unique<CScanFilter>();
    if (!ConvertFilterRecord(newVal, *filter)) return E_INVALIDARG;
    m_filter = std::move(filter);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::SetPeakData(std::int32_t* pnSegmentSizes, VXPlot_MassRange* pMassRanges,
                                  std::int32_t nMassRanges, VXPlot_DataPeak* pVXDataPeaks,
                                  std::int32_t nNumVXDataPeaks) {
    if (!m_bInitialized) return E_FAIL;
    HRESULT hr = CheckRecordArray(pnSegmentSizes, nMassRanges);
    if (SUCCEEDED(hr)) hr = CheckRecordArray(pMassRanges, nMassRanges);
    if (SUCCEEDED(hr)) hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    // The segments must share out no more peaks than were passed.
    std::int64_t total = 0;
    for (std::int32_t i = 0; i < nMassRanges; ++i) {
        if (pnSegmentSizes[i] < 0) return E_INVALIDARG;
        total += pnSegmentSizes[i];
    }
    if (total > nNumVXDataPeaks) return E_INVALIDARG;
    std::vector<Segment> segments(static_cast<std::size_t>(nMassRanges));
    const VXPlot_DataPeak* next = pVXDataPeaks;
    for (std::int32_t i = 0; i < nMassRanges; ++i) {
        segments[i].range = pMassRanges[i];
        segments[i].peaks.assign(next, next + pnSegmentSizes[i]);
        next += pnSegmentSizes[i];
    }
    m_segments = std::move(segments);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::SetScanHeader(VXPlot_SpectrumHeader* pSpectrumHeader,
                                    std::int32_t bSetSegmentMassRange) {
    if (!m_bInitialized) return E_FAIL;
    if (!pSpectrumHeader) return E_POINTER;
    m_header = *pSpectrumHeader;
    if (bSetSegmentMassRange) {
        m_limits.xStart = pSpectrumHeader->dLowMass;
        m_limits.xEnd = pSpectrumHeader->dHighMass;
    }
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::put_FileName(LPCWSTR newVal) {
    m_fileName = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::InitializeFilter(VXPlot_Filter* pFilter) {
    if (!pFilter) return E_POINTER;
    InitFilterRecord(pFilter);
    return S_OK;
}

HRESULT CSpecControl::SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                     double dAbsoluteMax, double dRelativeMin,
                                     double dRelativeMax) {
    const HRESULT hr = m_limits.SetYAxisLimits(dNormalizationLevel, dAbsoluteMin, dAbsoluteMax,
                                               dRelativeMin, dRelativeMax);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CSpecControl::SetXAxisLimits(double dStart, double dEnd) {
    const HRESULT hr = m_limits.SetXAxisLimits(dStart, dEnd);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CSpecControl::SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) {
    const HRESULT hr = m_limits.SetYAxisScaleType(eYAxisScaleType);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CSpecControl::SetPeakInfo(VXPlot_PeakInfo* pPeakInfo, std::int32_t nNumber) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pPeakInfo, nNumber);
    if (FAILED(hr)) return hr;
    m_peakInfo.assign(pPeakInfo, pPeakInfo + nNumber);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::SetPeakInfoColors(std::uint32_t* pColors, std::int32_t nNumber) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pColors, nNumber);
    if (FAILED(hr)) return hr;
    m_peakInfoColors.assign(pColors, pColors + nNumber);
    Invalidate();
    return S_OK;
}

HRESULT CSpecControl::GetTextLabelParams(VXPlot_LabelParams* pParams) {
    if (!pParams) return E_POINTER;
    *pParams = m_labelParams;
    return S_OK;
}

bool CSpecControl::OnKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left) {
        Fire(SpecEvents::kSpecLeftKeyPressed);
        return true;
    }
    if (event->key() == Qt::Key_Right) {
        Fire(SpecEvents::kSpecRightKeyPressed);
        return true;
    }
    return false;
}

void CSpecControl::OnMousePress(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Fire(SpecEvents::kSpecLButtonDown);
    else if (event->button() == Qt::RightButton)
        Fire(SpecEvents::kSpecRButtonDown);
}

}  // namespace zar::plot
