#pragma once
// The Chro control (ProgID "Zar_Plot.Chro.1"): the frame of the control with the data it has been
// given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/graph/ScanFilter.h"
#include "plot/server/ComControl.h"

#include <memory>
#include <vector>

namespace zar::plot {

class CChroControl final : public CComControl<ZAR_PLOTLib::IChro> {
  public:
    CChroControl();
    ~CChroControl() override;

    HRESULT put_NoDataText(LPCWSTR newVal) override;
    HRESULT get_ShowFocusRect(std::int32_t* pVal) override;
    HRESULT put_ShowFocusRect(std::int32_t newVal) override;
    HRESULT get_IndexNumber(std::int32_t* pVal) override;
    HRESULT put_IndexNumber(std::int32_t newVal) override;
    HRESULT SetPeakData(VXPlot_DataPeak* pVXDataPeaks, std::int32_t nNumVXDataPeaks) override;
    HRESULT get_Filter(BSTR* pVal) override;
    HRESULT SetTraceInfo(VXPlot_ChroInfo* ChroInfo, VXPlot_Filter* Filter, std::int32_t nMassRanges,
                         VXPlot_MassRange* pMassRanges) override;
    HRESULT SetChroPeakData(VXPlot_ChroPeak* pVXChroPeaks, std::int32_t nNumVXChroPeaks) override;
    HRESULT Initialize() override;
    HRESULT ShowPositionMarker(std::int32_t bShow, double dTime) override;
    HRESULT ShowMSnScans(std::int32_t bShow) override;
    HRESULT get_InfoID(std::int32_t* pVal) override;
    HRESULT put_InfoID(std::int32_t newVal) override;
    HRESULT get_EnableManualZoom(std::int32_t* pVal) override;
    HRESULT put_EnableManualZoom(std::int32_t newVal) override;
    HRESULT ShowFocusRectImmediate(std::int32_t bShow) override;
    HRESULT get_EnableManualBaselineDrag(std::int32_t* pVal) override;
    HRESULT put_EnableManualBaselineDrag(std::int32_t newVal) override;
    HRESULT get_EnableManualAddPeakMode(std::int32_t* pVal) override;
    HRESULT put_EnableManualAddPeakMode(std::int32_t newVal) override;
    HRESULT CopyToClipboard() override;
    HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                 tagRECT* pcRect, std::int32_t bShowBorder) override;
    HRESULT get_ShowBorder(std::int32_t* pVal) override;
    HRESULT put_ShowBorder(std::int32_t newVal) override;
    HRESULT get_FileName(BSTR* pVal) override;
    HRESULT put_FileName(BSTR newVal) override;
    HRESULT InitializeFilter(VXPlot_Filter* pFilter) override;
    HRESULT InitializeChroInfo(VXPlot_ChroInfo* pChroInfo) override;
    HRESULT SetStyle(VXPlot_ChroStyle eStyle) override;
    HRESULT SetLabelling(VXPlot_ChroLabels* pLabelInfo) override;
    HRESULT get_EnableManualDeletePeakMode(std::int32_t* pVal) override;
    HRESULT put_EnableManualDeletePeakMode(std::int32_t newVal) override;
    HRESULT SetMarkerPeakData(VXPlot_DataPeak* pVXDataPeaks, std::int32_t nNumVXDataPeaks) override;
    HRESULT SetAxisLabels(BSTR bstrXAxis, BSTR bstrYAxisAbsolute, BSTR bstrYAxisRelative,
                          BSTR bstrZAxisAbsolute, BSTR bstrZAxisRelative) override;
    HRESULT SetDetectorLabel(BSTR bstrDetectorLabel) override;
    HRESULT SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin, double dAbsoluteMax,
                           double dRelativeMin, double dRelativeMax) override;
    HRESULT SetLeftRightAxesWidths(double dLeft, double dRight) override;
    HRESULT SetXAxisLimits(double dStart, double dEnd) override;
    HRESULT SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) override;
    HRESULT AddTextLabel(LPCWSTR slinetext, double x, double y,
                         VXPlot_LabelParams* pParams) override;
    HRESULT ClearTextLabel() override;
    HRESULT SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) override;
    HRESULT SetTextAboveGraph(std::int32_t bAboveGraph) override;
    HRESULT SetTextAlign(VXTextAlign eTextAlign) override;
    HRESULT SetTextPointer(std::int32_t bPointer, double dEndPosition,
                           double dEndIntensity) override;
    HRESULT SetTextPriority(double dPriority) override;
    HRESULT SetTextRotate(std::int32_t bRotate) override;
    HRESULT SetTextBoxed(std::int32_t bBoxed) override;
    HRESULT SetHeading(LPCWSTR bstrHeading) override;
    HRESULT SetForcedHeading(std::int32_t bForcedHeading) override;
    HRESULT put_ShowTextAtRight(std::int32_t newVal) override;
    HRESULT put_ShowTextAtLeft(std::int32_t newVal) override;
    HRESULT put_ShowAxisAtLeft(std::int32_t newVal) override;
    HRESULT put_ShowXAxis(std::int32_t newVal) override;
    HRESULT put_ShowXAxisLabel(std::int32_t newVal) override;
    HRESULT put_ShowHeaderText(std::int32_t newVal) override;
    HRESULT SetMarkerList(VXPlot_Marker* pMarkers, std::int32_t nNumMarkers) override;
    HRESULT ClearMarkerList() override;
    HRESULT InitializeMarker(VXPlot_Marker* pMarker) override;
    HRESULT GetTextLabelParams(VXPlot_LabelParams* pParams) override;

  protected:
    bool OnKeyDown(QKeyEvent* event) override;
    void OnMousePress(QMouseEvent* event) override;

  private:
    // E_FAIL before Initialize; E_NOTIMPL for members whose drawing is not there yet.
    HRESULT NotYetAvailable() const { return m_bInitialized ? E_NOTIMPL : E_FAIL; }

    bool m_bInitialized = false;
    QString m_noDataText;
    std::vector<VXPlot_DataPeak> m_peaks;
    std::vector<VXPlot_DataPeak> m_markerPeaks;
    std::vector<VXPlot_ChroPeak> m_chroPeaks;
    std::vector<VXPlot_Marker> m_markers;
    std::vector<VXPlot_MassRange> m_traceMassRanges;
    VXPlot_ChroInfo m_chroInfo{};
    std::unique_ptr<CScanFilter> m_filter;
    QString m_fileName;
    AxisLimits m_limits;
    VXPlot_LabelParams m_labelParams = DefaultLabelParams();
    std::int32_t m_EnableManualAddPeakMode = 0;
    std::int32_t m_EnableManualBaselineDrag = 0;
    std::int32_t m_EnableManualDeletePeakMode = 0;
    std::int32_t m_EnableManualZoom = 0;
    std::int32_t m_IndexNumber = 0;
    std::int32_t m_InfoID = 0;
    std::int32_t m_ShowAxisAtLeft = 0;
    std::int32_t m_ShowBorder = 0;
    std::int32_t m_ShowFocusRect = 0;
    std::int32_t m_ShowHeaderText = 0;
    std::int32_t m_ShowTextAtLeft = 0;
    std::int32_t m_ShowTextAtRight = 0;
    std::int32_t m_ShowXAxis = 0;
    std::int32_t m_ShowXAxisLabel = 0;
};

}  // namespace zar::plot
