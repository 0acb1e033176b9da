#include "DenovoPlotControl.h"

#include <algorithm>

namespace zar::plot {

using namespace ZAR_PLOTLib;

CDenovoPlotControl::CDenovoPlotControl() : CComControl(kCoclasses[4]) {}

CDenovoPlotControl::~CDenovoPlotControl() = default;

HRESULT CDenovoPlotControl::Initialize() {
    if (graph_) return S_OK;
    graph_ = std::make_unique<CDenovoGraph>();
    regions_ = std::make_unique<PlotRegionList>();
    graph_->SetRegions(regions_.get());
    rubberBand_ = std::make_unique<DragTracker>();
    return S_OK;
}

HRESULT CDenovoPlotControl::ClearDataSet() {
    if (graph_) graph_->Data().dataValid = false;
    return S_OK;
}

HRESULT CDenovoPlotControl::SetXMassRange(std::int32_t nXStart, std::int32_t nXEnd) {
    if (graph_) {
        graph_->Data().xStart = nXStart;
        graph_->Data().xEnd = nXEnd;
    }
    return S_OK;
}

HRESULT CDenovoPlotControl::SetNumScans(std::int32_t nNumScans) {
    if (graph_ && !graph_->SetNumScans(nNumScans)) return E_INVALIDARG;
    return S_OK;
}

HRESULT CDenovoPlotControl::SetYParentMasses(std::int32_t* nMasses) {
    if (!graph_) return S_OK;
    if (!nMasses) return E_POINTER;
    // One value per scan in use is read: the caller's array need not hold 64.
    auto& masses = graph_->Data().parentMasses;
    masses.fill(0);
    std::copy(nMasses, nMasses + graph_->Data().numScans, masses.begin());
    return S_OK;
}

HRESULT CDenovoPlotControl::SetZIntensities(std::int32_t** pZIntensity,
                                            std::int32_t* pYParentMasses) {
    if (!graph_) return S_OK;
    if (!pZIntensity || !pYParentMasses) return E_POINTER;
    if (pYParentMasses[0] < 0) return E_INVALIDARG;
    graph_->SetIntensities(pZIntensity, pYParentMasses);
    return S_OK;
}

HRESULT CDenovoPlotControl::SetSign(std::int16_t* pSign) {
    if (!graph_) return S_OK;
    if (!pSign) return E_POINTER;
    auto& signs = graph_->Data().signs;
    signs.fill(0);
    std::copy(pSign, pSign + graph_->Data().numScans, signs.begin());
    return S_OK;
}

HRESULT CDenovoPlotControl::SetZMaxIntensity(std::int32_t nZMaxIntensity) {
    if (graph_) graph_->Data().maxIntensity = nZMaxIntensity;
    return S_OK;
}

HRESULT CDenovoPlotControl::SetZDisplayRangeIntensity(std::int32_t nZDisplayRange) {
    if (graph_) graph_->Data().displayRange = nZDisplayRange;
    return S_OK;
}

HRESULT CDenovoPlotControl::SetNumber1DregenPoints(std::int32_t nPoints) {
    if (graph_) graph_->Data().regenPoints = nPoints;
    return S_OK;
}

HRESULT CDenovoPlotControl::get_DataValid(std::int32_t* pVal) {
    if (!graph_) return E_FAIL;
    if (!pVal) return E_POINTER;
    *pVal = graph_->Data().dataValid ? 1 : 0;
    return S_OK;
}

HRESULT CDenovoPlotControl::put_DataValid(std::int32_t newVal) {
    if (!graph_) return E_FAIL;
    graph_->Data().dataValid = newVal != 0;
    Invalidate();
    return S_OK;
}

HRESULT CDenovoPlotControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

void CDenovoPlotControl::OnDraw(QPainter& painter, const QRect& rect) {
    PaintControlWindow(painter, rect, regions_.get(),
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

void CDenovoPlotControl::DrawControl(PlotDC& dc, const QRect& rect) {
    if (!graph_) {
        DrawCentredText(dc, rect, m_noDataText);
        return;
    }
    if (m_ShowBorder) DrawControlFrame(dc, rect, 1, 0);
    if (!graph_->Data().dataValid) {
        PlotFont font = graph_->Font();
        const DCFont previous = font.CreateFontForDC(dc);
        DrawCentredText(dc, rect, m_noDataText);
        dc.SelectFont(previous);
        return;
    }
    graph_->SetRect(Shrunk(rect, kGraphInset));
    graph_->Draw(dc);
}

}  // namespace zar::plot
