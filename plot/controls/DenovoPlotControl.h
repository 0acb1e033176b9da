#pragma once
// The DenovoPlot control (ProgID "Zar_Plot.DenovoPlot.1"): shows a de novo sequencing run as a dot
// map through its de novo graph. Setters before Initialize do nothing and succeed.

#include "plot/elements/DragTracker.h"
#include "plot/graph/DenovoGraph.h"
#include "plot/server/ComControl.h"

#include <memory>

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

  protected:
    void OnDraw(QPainter& painter, const QRect& rect) override;

  private:
    void DrawControl(PlotDC& dc, const QRect& rect);

    // The margin between the control's rectangle and its graph.
    static constexpr int kGraphInset = 5;

    QString m_noDataText;
    std::int32_t m_ShowBorder = 1;
    std::unique_ptr<CDenovoGraph> graph_;
    std::unique_ptr<PlotRegionList> regions_;
    std::unique_ptr<DragTracker> rubberBand_;
};

}  // namespace zar::plot
