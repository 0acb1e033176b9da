#include "CaliCurveControl.h"

#include <QMouseEvent>

namespace zar::plot {

using namespace ZAR_PLOTLib;

namespace {
constexpr char kNotInitialized[] = "not initialized";
constexpr int kCursorHalfLength = 10;
}  // namespace

CCaliCurveControl::CCaliCurveControl() : CComControl(kCoclasses[2]) {}

CCaliCurveControl::~CCaliCurveControl() = default;

HRESULT CCaliCurveControl::SetYAxisLabel(LPCWSTR szYAxisLabel) {
    m_yTitle = FromWide(szYAxisLabel);
    return S_OK;
}

HRESULT CCaliCurveControl::SetXAxisLabel(LPCWSTR szXAxisLabel) {
    m_xTitle = FromWide(szXAxisLabel);
    return S_OK;
}

HRESULT CCaliCurveControl::SetHeading(LPCWSTR szHeadingLine1, LPCWSTR szHeadingLine2) {
    m_heading1 = FromWide(szHeadingLine1);
    m_heading2 = FromWide(szHeadingLine2);
    return S_OK;
}

HRESULT CCaliCurveControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_DataValid(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_DataValid;
    return S_OK;
}

HRESULT CCaliCurveControl::put_DataValid(std::int32_t newVal) {
    m_DataValid = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::Initialize() {
    if (graph_) return S_OK;
    graph_ = std::make_unique<CCaliCurveGraph>();
    regions_ = std::make_unique<PlotRegionList>();
    graph_->SetRegions(regions_.get());
    rubberBand_ = std::make_unique<DragTracker>();
    cursor_ = std::make_unique<TrackingCursor>();
    cursor_->m_nHalfLength = kCursorHalfLength;
    graph_->SetLeftAxisWidth(4.0);
    graph_->SetXRange(0.0, 10.0);
    graph_->SetYRange(0.0, 100.0);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetTraceData(VXPlot_CaliCurveTraceIDs eTraceID,
                                        VXPlot_DataPeak* pVXDataPeaks,
                                        std::int32_t nNumVXDataPeaks) {
    if (!graph_) return E_FAIL;
    const int trace = static_cast<int>(eTraceID);
    if (trace < 0 || trace > 2) return S_OK;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    std::vector<TracePoint>& points = m_points[trace];
    points.assign(static_cast<std::size_t>(nNumVXDataPeaks), TracePoint{});
    for (std::int32_t i = 0; i < nNumVXDataPeaks; ++i) {
        points[i].position = pVXDataPeaks[i].dPosition;
        points[i].intensity = pVXDataPeaks[i].dIntensity;
    }
    // The traces search their points by position.
    std::stable_sort(points.begin(), points.end(), [](const TracePoint& a, const TracePoint& b) {
        return a.position < b.position;
    });
    graph_->SetTraceData(trace, points.data(), points.size());
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetYAxisLimits(double dStart, double dEnd) {
    if (!graph_) return E_FAIL;
    if (!FiniteValues({dStart, dEnd})) return E_INVALIDARG;
    graph_->SetYRange(dStart, dEnd);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetXAxisLimits(double dStart, double dEnd) {
    if (!graph_) return E_FAIL;
    if (!FiniteValues({dStart, dEnd})) return E_INVALIDARG;
    graph_->SetXRange(dStart, dEnd);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetLeftAxisWidth(double dVal) {
    if (!graph_) return E_FAIL;
    if (!FiniteValues({dVal})) return E_INVALIDARG;
    graph_->SetLeftAxisWidth(dVal);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::SetCalculatedAmountMarker(std::int32_t bShow, double dXVal,
                                                     double dYVal) {
    if (!graph_) return E_FAIL;
    graph_->SetCalculatedAmountMarker(false, dXVal, dYVal);
    if (bShow) graph_->SetCalculatedAmountMarker(true, dXVal, dYVal);
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CCaliCurveControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_ShowFocusRect(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowFocusRect;
    return S_OK;
}

HRESULT CCaliCurveControl::put_ShowFocusRect(std::int32_t newVal) {
    m_ShowFocusRect = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CCaliCurveControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

HRESULT CCaliCurveControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    return S_OK;
}

void CCaliCurveControl::DrawControl(PlotDC& dc, const QRect& rect) {
    if (m_ShowBorder) {
        if (m_ShowFocusRect)
            DrawControlFrame(dc, rect, 2, 0xFF0000);
        else
            DrawControlFrame(dc, rect, 1, 0);
    }
    if (!graph_) {
        DrawCentredText(dc, rect, QString::fromLatin1(kNotInitialized));
        return;
    }
    if (!m_DataValid) {
        PlotFont font = graph_->Font();
        const DCFont previous = font.CreateFontForDC(dc);
        DrawCentredText(dc, rect, m_noDataText);
        dc.SelectFont(previous);
        return;
    }
    graph_->SetTexts(m_heading1, m_heading2, m_xTitle, m_yTitle);
    graph_->SetRect(Shrunk(rect, 0));
    graph_->Draw(dc);
}

void CCaliCurveControl::OnDraw(QPainter& painter, const QRect& rect) {
    PaintControlWindow(painter, rect, regions_.get(),
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
    // The cursor lives on the feedback image, which outlasts repaints.
}

HRESULT CCaliCurveControl::Draw(std::uintptr_t* phDC, std::uintptr_t*, std::int32_t bIsPrinting,
                                tagRECT* pcRect, std::int32_t bShowBorder) {
    return DrawForHost(phDC, bIsPrinting != 0, pcRect, bShowBorder != 0, regions_.get(),
                       m_ShowBorder, [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CCaliCurveControl::CopyToClipboard() {
    if (!graph_) return E_FAIL;
    return CopyForHost(regions_.get(), m_ShowBorder,
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

void CCaliCurveControl::OnMousePress(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Fire(CaliCurveEvents::kCaliCurveRButtonDown);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    Fire(CaliCurveEvents::kCaliCurveLButtonDown);
    if (!m_DataValid || !graph_) return;
    const QPoint p = event->position().toPoint();
    const PlotRegion* region = regions_->Find(p.x(), p.y());
    {
        auto scope = BeginFeedback();
        if (cursor_->IsDrawn() && cursor_->m_bEnabled) cursor_->Draw(scope->dc);
        cursor_->m_bEnabled = false;
        dragging_ = true;
        boxMoved_ = false;
        dragStart_ = p;
        if (!m_EnableManualZoom)
            dragging_ = false;
        else if (region)
            rubberBand_->Begin(scope->dc, *region, p, kDragBox);
    }
    FeedbackChanged();
}

void CCaliCurveControl::OnMouseMove(QMouseEvent* event) {
    if (!m_DataValid || !graph_) return;
    const QPoint p = event->position().toPoint();
    {
        auto scope = BeginFeedback();
        if (cursor_->m_bEnabled) cursor_->Track(scope->dc, *regions_, p, nullptr);
        if (dragging_ && (boxMoved_ || MovedFar(dragStart_, p))) {
            boxMoved_ = true;
            if (rubberBand_->IsActive()) rubberBand_->Move(scope->dc, p);
        }
    }
    FeedbackChanged();
}

void CCaliCurveControl::OnMouseRelease(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        rightButtonUp(p);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (!m_DataValid || !graph_) return;
    QPoint a, b;
    int shape = 0;
    {
        auto scope = BeginFeedback();
        if (rubberBand_->IsActive()) {
            rubberBand_->Move(scope->dc, p);
            shape = rubberBand_->End(scope->dc, a, b);
        }
    }
    FeedbackChanged();
    cursor_->m_bEnabled = true;
    if (!wasDragging && m_EnableManualZoom) return;
    if (boxMoved_ && m_EnableManualZoom) {
        boxMoved_ = false;
        PlotRegionList::Values v;
        if (shape && MapBox(*regions_, a, b, v))
            Fire(CaliCurveEvents::kCaliCurveZoom,
                 {VariantLong(1), VariantDouble(v.xStart), VariantDouble(v.yStart),
                  VariantDouble(v.xEnd), VariantDouble(v.yEnd)});
        return;
    }
    const MappedPoint m = MapPoint(*regions_, p, false);
    Fire(CaliCurveEvents::kCaliCurveLButtonUp,
         {VariantLong(m.found && m.inside ? 1 : 0), VariantDouble(m.x), VariantDouble(m.y)});
}

void CCaliCurveControl::rightButtonUp(QPoint p) {
    // Nothing to hit and nothing to map without data or a graph.
    if (!m_DataValid || !graph_) return;
    TrackingCursor::Values values;
    bool mapped = false;
    {
        auto scope = BeginFeedback();
        mapped = cursor_->Track(scope->dc, *regions_, p, &values);
    }
    FeedbackChanged();
    HitTestDC measure;
    PlotDC& dc = measure.dc();
    std::vector<std::int32_t> indices, traces;
    CCaliCurveGraph::Hit hit;
    for (bool found = graph_->FirstHit(dc, p.x(), p.y(), hit); found;
         found = graph_->NextHit(dc, p.x(), p.y(), hit)) {
        indices.push_back(static_cast<std::int32_t>(hit.index) + 1);
        traces.push_back(hit.trace);  // 0 included, 1 excluded
    }
    if (indices.empty()) {
        Fire(CaliCurveEvents::kCaliCurveRButtonUp,
             {VariantLong(mapped ? 1 : 0), VariantDouble(values.x), VariantDouble(values.y)});
        return;
    }
    VARIANT count = VariantLong(static_cast<std::int32_t>(indices.size()));
    // By reference: the count and the first of each array; the arrays follow in memory.
    VARIANT countRef{};
    countRef.vt = VT_BYREF | VT_I4;
    countRef.plVal = &count.lVal;
    VARIANT indexRef{};
    indexRef.vt = VT_BYREF | VT_I4;
    indexRef.plVal = indices.data();
    VARIANT traceRef{};
    traceRef.vt = VT_BYREF | VT_I4;
    traceRef.plVal = traces.data();
    Fire(CaliCurveEvents::kCaliCurveHit, {VariantLong(1), VariantDouble(values.x),
                                          VariantDouble(values.y), countRef, indexRef, traceRef});
}

}  // namespace zar::plot
