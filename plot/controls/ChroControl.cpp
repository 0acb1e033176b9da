#include "ChroControl.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cstring>

namespace zar::plot {

using namespace ZAR_PLOTLib;

CChroControl::CChroControl() : CComControl(kCoclasses[0]) {
    m_IndexNumber = -1;
    m_InfoID = -1;
    m_ShowBorder = 1;
}

CChroControl::~CChroControl() = default;

HRESULT CChroControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_ShowFocusRect(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowFocusRect;
    return S_OK;
}

HRESULT CChroControl::put_ShowFocusRect(std::int32_t newVal) {
    m_ShowFocusRect = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_IndexNumber(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_IndexNumber;
    return S_OK;
}

HRESULT CChroControl::put_IndexNumber(std::int32_t newVal) {
    m_IndexNumber = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::ShowPositionMarker(std::int32_t bShow, double dTime) {
    (void)bShow;
    (void)dTime;
    return NotYetAvailable();
}

HRESULT CChroControl::ShowMSnScans(std::int32_t bShow) {
    (void)bShow;
    return NotYetAvailable();
}

HRESULT CChroControl::get_InfoID(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_InfoID;
    return S_OK;
}

HRESULT CChroControl::put_InfoID(std::int32_t newVal) {
    m_InfoID = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

HRESULT CChroControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::ShowFocusRectImmediate(std::int32_t bShow) {
    (void)bShow;
    return NotYetAvailable();
}

HRESULT CChroControl::get_EnableManualBaselineDrag(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualBaselineDrag;
    return S_OK;
}

HRESULT CChroControl::put_EnableManualBaselineDrag(std::int32_t newVal) {
    m_EnableManualBaselineDrag = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_EnableManualAddPeakMode(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualAddPeakMode;
    return S_OK;
}

HRESULT CChroControl::put_EnableManualAddPeakMode(std::int32_t newVal) {
    m_EnableManualAddPeakMode = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::CopyToClipboard() {
    return NotYetAvailable();
}

HRESULT CChroControl::Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC,
                           std::int32_t bIsPrinting, tagRECT* pcRect, std::int32_t bShowBorder) {
    (void)phDC;
    (void)phAttribDC;
    (void)bIsPrinting;
    (void)pcRect;
    (void)bShowBorder;
    return NotYetAvailable();
}

HRESULT CChroControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CChroControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::SetStyle(VXPlot_ChroStyle eStyle) {
    (void)eStyle;
    return NotYetAvailable();
}

HRESULT CChroControl::SetLabelling(VXPlot_ChroLabels* pLabelInfo) {
    (void)pLabelInfo;
    return NotYetAvailable();
}

HRESULT CChroControl::get_EnableManualDeletePeakMode(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualDeletePeakMode;
    return S_OK;
}

HRESULT CChroControl::put_EnableManualDeletePeakMode(std::int32_t newVal) {
    m_EnableManualDeletePeakMode = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::SetAxisLabels(BSTR bstrXAxis, BSTR bstrYAxisAbsolute, BSTR bstrYAxisRelative,
                                    BSTR bstrZAxisAbsolute, BSTR bstrZAxisRelative) {
    (void)bstrXAxis;
    (void)bstrYAxisAbsolute;
    (void)bstrYAxisRelative;
    (void)bstrZAxisAbsolute;
    (void)bstrZAxisRelative;
    return NotYetAvailable();
}

HRESULT CChroControl::SetDetectorLabel(BSTR bstrDetectorLabel) {
    (void)bstrDetectorLabel;
    return NotYetAvailable();
}

HRESULT CChroControl::SetLeftRightAxesWidths(double dLeft, double dRight) {
    (void)dLeft;
    (void)dRight;
    return NotYetAvailable();
}

HRESULT CChroControl::AddTextLabel(LPCWSTR slinetext, double x, double y,
                                   VXPlot_LabelParams* pParams) {
    (void)slinetext;
    (void)x;
    (void)y;
    (void)pParams;
    return NotYetAvailable();
}

HRESULT CChroControl::ClearTextLabel() {
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) {
    (void)xAnchor;
    (void)yAnchor;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextAboveGraph(std::int32_t bAboveGraph) {
    (void)bAboveGraph;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextAlign(VXTextAlign eTextAlign) {
    (void)eTextAlign;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextPointer(std::int32_t bPointer, double dEndPosition,
                                     double dEndIntensity) {
    (void)bPointer;
    (void)dEndPosition;
    (void)dEndIntensity;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextPriority(double dPriority) {
    (void)dPriority;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextRotate(std::int32_t bRotate) {
    (void)bRotate;
    return NotYetAvailable();
}

HRESULT CChroControl::SetTextBoxed(std::int32_t bBoxed) {
    (void)bBoxed;
    return NotYetAvailable();
}

HRESULT CChroControl::SetHeading(LPCWSTR bstrHeading) {
    (void)bstrHeading;
    return NotYetAvailable();
}

HRESULT CChroControl::SetForcedHeading(std::int32_t bForcedHeading) {
    (void)bForcedHeading;
    return NotYetAvailable();
}

HRESULT CChroControl::put_ShowTextAtRight(std::int32_t newVal) {
    m_ShowTextAtRight = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_ShowTextAtLeft(std::int32_t newVal) {
    m_ShowTextAtLeft = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_ShowAxisAtLeft(std::int32_t newVal) {
    m_ShowAxisAtLeft = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_ShowXAxis(std::int32_t newVal) {
    m_ShowXAxis = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_ShowXAxisLabel(std::int32_t newVal) {
    m_ShowXAxisLabel = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_ShowHeaderText(std::int32_t newVal) {
    m_ShowHeaderText = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::Initialize() {
    m_filter = std::make_unique<CScanFilter>();
    m_bInitialized = true;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::SetPeakData(VXPlot_DataPeak* pVXDataPeaks, std::int32_t nNumVXDataPeaks) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    m_peaks.assign(pVXDataPeaks, pVXDataPeaks + nNumVXDataPeaks);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_Filter(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    if (!m_bInitialized) return E_FAIL;
    *pVal = SysAllocQString(m_filter ? m_filter->Format(2, -1, 2) : QString());
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT CChroControl::SetTraceInfo(VXPlot_ChroInfo* ChroInfo, VXPlot_Filter* Filter,
                                   std::int32_t nMassRanges, VXPlot_MassRange* pMassRanges) {
    if (!m_bInitialized) return E_FAIL;
    if (!ChroInfo || !Filter) return E_POINTER;
    if (!FilterRecordCountsValid(*Filter)) return E_INVALIDARG;
    const HRESULT hr = CheckRecordArray(pMassRanges, nMassRanges);
    if (FAILED(hr)) return hr;
    auto filter = std::make_unique<CScanFilter>();
    if (!ConvertFilterRecord(Filter, *filter)) return E_INVALIDARG;
    m_chroInfo = *ChroInfo;
    m_filter = std::move(filter);
    m_traceMassRanges.assign(pMassRanges, pMassRanges + nMassRanges);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::SetChroPeakData(VXPlot_ChroPeak* pVXChroPeaks, std::int32_t nNumVXChroPeaks) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXChroPeaks, nNumVXChroPeaks);
    if (FAILED(hr)) return hr;
    m_chroPeaks.assign(pVXChroPeaks, pVXChroPeaks + nNumVXChroPeaks);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::InitializeFilter(VXPlot_Filter* pFilter) {
    if (!pFilter) return E_POINTER;
    InitFilterRecord(pFilter);
    return S_OK;
}

HRESULT CChroControl::InitializeChroInfo(VXPlot_ChroInfo* pChroInfo) {
    if (!pChroInfo) return E_POINTER;
    std::memset(pChroInfo, 0, sizeof *pChroInfo);
    pChroInfo->eTraceType = VXPlot_ChroTICTrace;
    return S_OK;
}

HRESULT CChroControl::SetMarkerPeakData(VXPlot_DataPeak* pVXDataPeaks,
                                        std::int32_t nNumVXDataPeaks) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    m_markerPeaks.assign(pVXDataPeaks, pVXDataPeaks + nNumVXDataPeaks);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::put_FileName(BSTR newVal) {
    m_fileName = FromBstr(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_FileName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = SysAllocQString(m_fileName);
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT CChroControl::SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                     double dAbsoluteMax, double dRelativeMin,
                                     double dRelativeMax) {
    const HRESULT hr = m_limits.SetYAxisLimits(dNormalizationLevel, dAbsoluteMin, dAbsoluteMax,
                                               dRelativeMin, dRelativeMax);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CChroControl::SetXAxisLimits(double dStart, double dEnd) {
    const HRESULT hr = m_limits.SetXAxisLimits(dStart, dEnd);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CChroControl::SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) {
    const HRESULT hr = m_limits.SetYAxisScaleType(eYAxisScaleType);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CChroControl::SetMarkerList(VXPlot_Marker* pMarkers, std::int32_t nNumMarkers) {
    if (!m_bInitialized) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pMarkers, nNumMarkers);
    if (FAILED(hr)) return hr;
    m_markers.assign(pMarkers, pMarkers + nNumMarkers);
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::ClearMarkerList() {
    if (!m_bInitialized) return E_FAIL;
    m_markers.clear();
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::InitializeMarker(VXPlot_Marker* pMarker) {
    if (!pMarker) return E_POINTER;
    *pMarker = VXPlot_Marker{};
    pMarker->style = VXPlot_MarkerStyle_Line;
    pMarker->IntensityScale = VXPlot_MarkerScale_Absolute;
    pMarker->bBehind = 1;
    pMarker->bOutline = 1;
    pMarker->bFill = 0;
    pMarker->bDrawDrop = 0;
    pMarker->lineColor = 0x02000000;
    pMarker->fillColor = 0x02000000;
    pMarker->symbol = VXPlot_MarkerSymbolType_None;
    return S_OK;
}

HRESULT CChroControl::GetTextLabelParams(VXPlot_LabelParams* pParams) {
    if (!pParams) return E_POINTER;
    *pParams = m_labelParams;
    return S_OK;
}

bool CChroControl::OnKeyDown(QKeyEvent* event) {
    // The arrow keys are reported whatever the index number.
    if (event->key() == Qt::Key_Left) {
        Fire(ChroEvents::kChroLeftKeyPressed,
             {VariantLong(m_IndexNumber), VariantLong(m_InfoID), VariantLong(1)});
        return true;
    }
    if (event->key() == Qt::Key_Right) {
        Fire(ChroEvents::kChroRightKeyPressed,
             {VariantLong(m_IndexNumber), VariantLong(m_InfoID), VariantLong(1)});
        return true;
    }
    return false;
}

void CChroControl::OnMousePress(QMouseEvent* event) {
    // Mouse events speak only for a trace that the host has numbered.
    if (m_IndexNumber < 0) return;
    if (event->button() == Qt::LeftButton)
        Fire(ChroEvents::kChroLButtonDown, {VariantLong(m_IndexNumber), VariantLong(m_InfoID)});
    else if (event->button() == Qt::RightButton)
        Fire(ChroEvents::kChroRButtonDown, {VariantLong(m_IndexNumber), VariantLong(m_InfoID)});
}

}  // namespace zar::plot
