#pragma once
// The CaliCurve control (ProgID "Zar_Plot.CaliCurve.1"): the frame of the control with the data it
// has been given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/server/ComControl.h"

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

  private:
    // E_FAIL before Initialize; E_NOTIMPL for members whose drawing is not there yet.
    HRESULT NotYetAvailable() const { return m_bInitialized ? E_NOTIMPL : E_FAIL; }

    bool m_bInitialized = false;
    QString m_noDataText;
    std::vector<VXPlot_DataPeak> m_traces[3];
    std::int32_t m_DataValid = 0;
    std::int32_t m_EnableManualZoom = 0;
    std::int32_t m_ShowBorder = 0;
    std::int32_t m_ShowFocusRect = 0;
};

}  // namespace zar::plot
