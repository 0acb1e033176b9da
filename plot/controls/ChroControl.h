#pragma once
// The Chro control (ProgID "Zar_Plot.Chro.1"): the frame of the control with the data it has been
// given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/elements/DragTracker.h"
#include "plot/graph/ChroGraph.h"
#include "plot/graph/ScanFilter.h"
#include "plot/server/ComControl.h"

#include <array>
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

    CChroGraph* Graph() const { return graph_.get(); }

  protected:
    bool OnKeyDown(QKeyEvent* event) override;
    void OnMousePress(QMouseEvent* event) override;
    void OnMouseMove(QMouseEvent* event) override;
    void OnMouseRelease(QMouseEvent* event) override;
    void OnDraw(QPainter& painter, const QRect& rect) override;

  private:
    // Marker ids: the position marker, the MSn scan marks and the host's markers.
    static constexpr std::int32_t kPositionMarkerId = 1;
    static constexpr std::int32_t kMSnMarkerId = 2;
    static constexpr std::int32_t kHostMarkerId = 3;
    // The margin between the control's rectangle and its graph.
    static constexpr int kGraphInset = 4;

    void DrawControl(PlotDC& dc, const QRect& rect);
    void updateMouseMode();
    void fire(DISPID id, std::vector<VARIANT> more = {});
    void endFeedback();
    bool finishBaselineDrag();
    void finishBox(bool addPeak);

    QString m_noDataText;
    std::unique_ptr<CChroGraph> graph_;
    std::unique_ptr<PlotRegionList> regions_;
    std::unique_ptr<DragTracker> rubberBand_;
    std::vector<TracePoint> m_points;
    double m_maxIntensity = 0.0;
    std::vector<VXPlot_DataPeak> m_markerPeaks;
    std::vector<VXPlot_MassRange> m_traceMassRanges;
    VXPlot_ChroInfo m_chroInfo{};
    std::unique_ptr<CScanFilter> m_filter;
    QString m_filterText;
    QString m_fileName;
    QString m_headingText;
    bool m_forcedHeading = false;
    AxisLimits m_limits{0.0, 10.0};
    HostTextLabels labels_;
    bool m_positionShown = false;
    double m_positionTime = -1.0;
    bool m_mouseMode = false;
    bool m_dragging = false;
    bool m_boxMoved = false;
    bool m_baselineGrabbed = false;
    bool m_deleteFired = false;
    QPoint m_dragStart;
    double m_initialX1 = 0.0, m_initialX2 = 0.0;
    std::array<double, 4> m_final{};
    std::int32_t m_modifiedEdge = 0;
    std::int32_t m_EnableManualAddPeakMode = 0;
    std::int32_t m_EnableManualBaselineDrag = 0;
    std::int32_t m_EnableManualDeletePeakMode = 0;
    std::int32_t m_EnableManualZoom = 0;
    std::int32_t m_IndexNumber = -1;
    std::int32_t m_InfoID = -1;
    std::int32_t m_ShowBorder = 1;
    std::int32_t m_ShowFocusRect = 0;
};

}  // namespace zar::plot
