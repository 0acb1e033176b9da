#pragma once
// The CaliCurve control (ProgID "Zar_Plot.CaliCurve.1"): a calibration curve with the points
// included in and excluded from the fit and a marker at a calculated amount; it reports zoom
// boxes, clicks and the calibration points under a right click as events.

#include "plot/elements/DragTracker.h"
#include "plot/elements/TrackingCursor.h"
#include "plot/graph/CaliCurveGraph.h"
#include "plot/server/ComControl.h"

#include <array>
#include <memory>
#include <vector>

namespace zar::plot {

class CCaliCurveControl final : public CComControl<ZAR_PLOTLib::ICaliCurve> {
  public:
    CCaliCurveControl();
    ~CCaliCurveControl() override;

    HRESULT SetYAxisLabel(LPCWSTR szYAxisLabel) override;
    HRESULT SetXAxisLabel(LPCWSTR szXAxisLabel) override;
    HRESULT SetHeading(LPCWSTR szHeadingLine1, LPCWSTR szHeadingLine2) override;
    HRESULT put_NoDataText(LPCWSTR newVal) override;
    HRESULT get_DataValid(std::int32_t* pVal) override;
    HRESULT put_DataValid(std::int32_t newVal) override;
    HRESULT Initialize() override;
    HRESULT SetTraceData(VXPlot_CaliCurveTraceIDs eTraceID, VXPlot_DataPeak* pVXDataPeaks,
                         std::int32_t nNumVXDataPeaks) override;
    HRESULT SetYAxisLimits(double dStart, double dEnd) override;
    HRESULT SetXAxisLimits(double dStart, double dEnd) override;
    HRESULT SetLeftAxisWidth(double dVal) override;
    HRESULT CopyToClipboard() override;
    HRESULT SetCalculatedAmountMarker(std::int32_t bShow, double dXVal, double dYVal) override;
    HRESULT get_ShowBorder(std::int32_t* pVal) override;
    HRESULT put_ShowBorder(std::int32_t newVal) override;
    HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                 tagRECT* pcRect, std::int32_t bShowBorder) override;
    HRESULT get_ShowFocusRect(std::int32_t* pVal) override;
    HRESULT put_ShowFocusRect(std::int32_t newVal) override;
    HRESULT get_EnableManualZoom(std::int32_t* pVal) override;
    HRESULT put_EnableManualZoom(std::int32_t newVal) override;

  protected:
    void OnDraw(QPainter& painter, const QRect& rect) override;
    void OnMousePress(QMouseEvent* event) override;
    void OnMouseMove(QMouseEvent* event) override;
    void OnMouseRelease(QMouseEvent* event) override;

  private:
    void DrawControl(PlotDC& dc, const QRect& rect);
    void rightButtonUp(QPoint p);

    QString m_noDataText;
    QString m_heading1, m_heading2, m_xTitle, m_yTitle;
    std::array<std::vector<TracePoint>, 3> m_points;
    std::unique_ptr<CCaliCurveGraph> graph_;
    std::unique_ptr<PlotRegionList> regions_;
    std::unique_ptr<DragTracker> rubberBand_;
    std::unique_ptr<TrackingCursor> cursor_;
    std::int32_t m_DataValid = 0;
    std::int32_t m_EnableManualZoom = 1;
    std::int32_t m_ShowBorder = 0;
    std::int32_t m_ShowFocusRect = 0;
    bool dragging_ = false;
    bool boxMoved_ = false;
    QPoint dragStart_;
};

}  // namespace zar::plot
