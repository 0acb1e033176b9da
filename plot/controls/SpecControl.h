#pragma once
// The Spec control (ProgID "Zar_Plot.Spec.1"): the frame of the control with the data it has been
// given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/elements/DragTracker.h"
#include "plot/graph/ScanFilter.h"
#include "plot/graph/SpecGraph.h"
#include "plot/server/ComControl.h"

#include <memory>
#include <vector>

namespace zar::plot {

class CSpecControl final : public CComControl<ZAR_PLOTLib::ISpec> {
  public:
    CSpecControl();
    ~CSpecControl() override;

    HRESULT put_NoDataText(LPCWSTR newVal) override;
    HRESULT get_DataValid(std::int32_t* pVal) override;
    HRESULT put_DataValid(std::int32_t newVal) override;
    HRESULT put_Filter(VXPlot_Filter* newVal) override;
    HRESULT SetPeakData(std::int32_t* pnSegmentSizes, VXPlot_MassRange* pMassRanges,
                        std::int32_t nMassRanges, VXPlot_DataPeak* pVXDataPeaks,
                        std::int32_t nNumVXDataPeaks) override;
    HRESULT SetScanHeader(VXPlot_SpectrumHeader* pSpectrumHeader,
                          std::int32_t bSetSegmentMassRange) override;
    HRESULT Initialize() override;
    HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                 tagRECT* pcRect, std::int32_t bShowBorder) override;
    HRESULT get_ShowBorder(std::int32_t* pVal) override;
    HRESULT put_ShowBorder(std::int32_t newVal) override;
    HRESULT CopyToClipboard() override;
    HRESULT get_EnableManualZoom(std::int32_t* pVal) override;
    HRESULT put_EnableManualZoom(std::int32_t newVal) override;
    HRESULT put_FileName(LPCWSTR newVal) override;
    HRESULT InitializeFilter(VXPlot_Filter* pFilter) override;
    HRESULT SetDetectorType(VXPlot_DetectorTypes eDetectorType) override;
    HRESULT SetStyle(VXPlot_SpecStyle* pStyle) override;
    HRESULT SetAxisLabels(LPCWSTR szXAxis, LPCWSTR szYAxisAbsolute, LPCWSTR szYAxisRelative,
                          LPCWSTR szZAxisAbsolute, LPCWSTR szZAxisRelative) override;
    HRESULT SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin, double dAbsoluteMax,
                           double dRelativeMin, double dRelativeMax) override;
    HRESULT SetXAxisLimits(double dStart, double dEnd) override;
    HRESULT SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) override;
    HRESULT SetHeaderExtra(LPCWSTR newVal) override;
    HRESULT AddTextLabel(LPCWSTR slinetext, double x, double y,
                         VXPlot_LabelParams* pParams) override;
    HRESULT ClearTextLabel() override;
    HRESULT SetTextPriority(double dPriority) override;
    HRESULT SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) override;
    HRESULT SetTextAboveGraph(std::int32_t bAboveGraph) override;
    HRESULT SetTextAlign(VXTextAlign eTextAlign) override;
    HRESULT SetTextPointer(std::int32_t bPointer, double dEndPosition,
                           double dEndIntensity) override;
    HRESULT SetTextRotate(std::int32_t bRotate) override;
    HRESULT SetTextBoxed(std::int32_t bBoxed) override;
    HRESULT SetHeading(LPCWSTR bstrHeading) override;
    HRESULT SetForcedHeading(std::int32_t bForcedHeading) override;
    HRESULT SetPeakInfo(VXPlot_PeakInfo* pPeakInfo, std::int32_t nNumber) override;
    HRESULT SetPeakInfoColors(std::uint32_t* pColors, std::int32_t nNumber) override;
    HRESULT GetTextLabelParams(VXPlot_LabelParams* pParams) override;
    HRESULT SetSmoothingParams(std::int32_t bSmooth, std::int32_t nMode,
                               std::int32_t nPoints) override;

    // The graph (null before Initialize), for the server's own tests of drawing.
    CSpecGraph* Graph() const { return graph_.get(); }

  protected:
    bool OnKeyDown(QKeyEvent* event) override;
    void OnMousePress(QMouseEvent* event) override;
    void OnMouseMove(QMouseEvent* event) override;
    void OnMouseRelease(QMouseEvent* event) override;
    void OnDraw(QPainter& painter, const QRect& rect) override;

  private:
    // The one drawing of painting, Draw and CopyToClipboard.
    void DrawControl(PlotDC& dc, const QRect& rect);
    void FinishZoom();

    QString m_noDataText;
    std::unique_ptr<CSpecGraph> graph_;
    std::unique_ptr<CSpecSegmentData> segments_;
    std::unique_ptr<CScanFilter> m_filter;
    std::unique_ptr<PlotRegionList> regions_;
    std::unique_ptr<DragTracker> rubberBand_;
    AxisLimits m_limits{50.0, 2000.0};
    HostTextLabels labels_;
    std::int32_t m_EnableManualZoom = 0;
    std::int32_t m_ShowBorder = 1;
    bool dragging_ = false;
    bool boxMoved_ = false;
    QPoint dragStart_;
};

}  // namespace zar::plot
