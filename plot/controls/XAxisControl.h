#pragma once
// The XAxis control (ProgID "Zar_Plot.XAxis.1"): a strip with one horizontal time axis, aligned to
// a pixel span the host chooses (so one axis can serve a stack of chromatograms).

#include "plot/elements/Axis.h"
#include "plot/server/ComControl.h"

#include <memory>

namespace zar::plot {

class CXAxisControl final : public CComControl<ZAR_PLOTLib::IXAxis> {
  public:
    CXAxisControl();
    ~CXAxisControl() override;

    HRESULT Initialize() override;
    HRESULT SetRange(double dStartTime, double dEndTime) override;
    HRESULT SetClientRange(std::int32_t nLeft, std::int32_t nRight) override;

    const CAxis* Axis() const { return axis_.get(); }

  protected:
    void OnDraw(QPainter& painter, const QRect& rect) override;

  private:
    std::unique_ptr<CAxis> axis_;
    std::unique_ptr<PlotFont> font_;
    std::int32_t m_clientLeft = 0;
    std::int32_t m_clientRight = 1;
    double m_dStartTime = 0.0;
    double m_dEndTime = 0.0;
};

}  // namespace zar::plot
