#pragma once
// The XAxis control (ProgID "Zar_Plot.XAxis.1"): the frame of the control with the data it has been
// given. Members that need the graph fail with E_FAIL before Initialize.

#include "plot/server/ComControl.h"

namespace zar::plot {

class CXAxisControl final : public CComControl<ZAR_PLOTLib::IXAxis> {
  public:
    CXAxisControl();
    ~CXAxisControl() override;

    HRESULT Initialize() override;
    HRESULT SetRange(double dStartTime, double dEndTime) override;
    HRESULT SetClientRange(std::int32_t nLeft, std::int32_t nRight) override;

  private:
    // E_FAIL before Initialize; E_NOTIMPL for members whose drawing is not there yet.
    HRESULT NotYetAvailable() const { return m_bInitialized ? E_NOTIMPL : E_FAIL; }

    bool m_bInitialized = false;
    QString m_noDataText;
    double m_dStartTime = 0.0;
    double m_dEndTime = 0.0;
};

}  // namespace zar::plot
