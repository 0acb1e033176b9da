#pragma once
// The DenovoPlot control (ProgID "Zar_Plot.DenovoPlot.1"): the frame of the control with the data
// it has been given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/server/ComControl.h"

namespace zar::plot {

class CDenovoPlotControl final : public CComControl<ZAR_PLOTLib::IDenovoPlot> {
  public:
    CDenovoPlotControl();
    ~CDenovoPlotControl() override;

    HRESULT Initialize() override;
    HRESULT ClearDataSet() override;
    HRESULT SetXMassRange(std::int32_t nXStart, std::int32_t nXEnd) override;
    HRESULT SetNumScans(std::int32_t nNumScans) override;
    HRESULT SetYParentMasses(std::int32_t* nMasses) override;
    HRESULT SetZIntensities(std::int32_t** pZIntensity, std::int32_t* pYParentMasses) override;
    HRESULT SetSign(std::int16_t* pSign) override;
    HRESULT SetZMaxIntensity(std::int32_t nZMaxIntensity) override;
    HRESULT SetZDisplayRangeIntensity(std::int32_t nZDisplayRange) override;
    HRESULT SetNumber1DregenPoints(std::int32_t nPoints) override;
    HRESULT get_DataValid(std::int32_t* pVal) override;
    HRESULT put_DataValid(std::int32_t newVal) override;
    HRESULT put_NoDataText(LPCWSTR newVal) override;

  private:
    // E_FAIL before Initialize; E_NOTIMPL for members whose drawing is not there yet.
    HRESULT NotYetAvailable() const { return m_bInitialized ? E_NOTIMPL : E_FAIL; }

    bool m_bInitialized = false;
    QString m_noDataText;
    std::int32_t m_DataValid = 0;
};

}  // namespace zar::plot
