#include "ChroControl.h"

#include "core/Paths.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cmath>
#include <cstring>

namespace zar::plot {

using namespace ZAR_PLOTLib;

CChroControl::CChroControl() : CComControl(kCoclasses[0]) {
    m_IndexNumber = -1;
    m_InfoID = -1;
    m_ShowBorder = 1;
}

CChroControl::~CChroControl() = default;

HRESULT CChroControl::get_ShowFocusRect(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowFocusRect;
    return S_OK;
}

HRESULT CChroControl::put_ShowFocusRect(std::int32_t newVal) {
    m_ShowFocusRect = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_IndexNumber(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_IndexNumber;
    return S_OK;
}

HRESULT CChroControl::put_IndexNumber(std::int32_t newVal) {
    m_IndexNumber = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_InfoID(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_InfoID;
    return S_OK;
}

HRESULT CChroControl::put_InfoID(std::int32_t newVal) {
    m_InfoID = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_EnableManualBaselineDrag(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualBaselineDrag;
    return S_OK;
}

HRESULT CChroControl::get_EnableManualAddPeakMode(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualAddPeakMode;
    return S_OK;
}

HRESULT CChroControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CChroControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_EnableManualDeletePeakMode(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualDeletePeakMode;
    return S_OK;
}

HRESULT CChroControl::get_Filter(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    if (!graph_) return E_FAIL;
    *pVal = SysAllocQString(m_filterText);
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT CChroControl::InitializeFilter(VXPlot_Filter* pFilter) {
    if (!pFilter) return E_POINTER;
    InitFilterRecord(pFilter);
    return S_OK;
}

HRESULT CChroControl::InitializeChroInfo(VXPlot_ChroInfo* pChroInfo) {
    if (!pChroInfo) return E_POINTER;
    std::memset(pChroInfo, 0, sizeof *pChroInfo);
    pChroInfo->eTraceType = VXPlot_ChroTICTrace;
    return S_OK;
}

HRESULT CChroControl::put_FileName(BSTR newVal) {
    m_fileName = StripExtension(FileNameOf(PortablePath(FromBstr(newVal))));
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::get_FileName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = SysAllocQString(m_fileName);
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT CChroControl::SetXAxisLimits(double dStart, double dEnd) {
    const HRESULT hr = m_limits.SetXAxisLimits(dStart, dEnd);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CChroControl::SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) {
    const HRESULT hr = m_limits.SetYAxisScaleType(eYAxisScaleType);
    if (SUCCEEDED(hr)) Invalidate();
    return hr;
}

HRESULT CChroControl::InitializeMarker(VXPlot_Marker* pMarker) {
    if (!pMarker) return E_POINTER;
    *pMarker = VXPlot_Marker{};
    pMarker->style = VXPlot_MarkerStyle_Line;
    pMarker->IntensityScale = VXPlot_MarkerScale_Absolute;
    pMarker->bBehind = 1;
    pMarker->bOutline = 1;
    pMarker->bFill = 0;
    pMarker->bDrawDrop = 0;
    pMarker->lineColor = 0x02000000;
    pMarker->fillColor = 0x02000000;
    pMarker->symbol = VXPlot_MarkerSymbolType_None;
    return S_OK;
}

bool CChroControl::OnKeyDown(QKeyEvent* event) {
    // The arrow keys are reported whatever the index number.
    if (event->key() == Qt::Key_Left) {
        Fire(ChroEvents::kChroLeftKeyPressed,
             {VariantLong(m_IndexNumber), VariantLong(m_InfoID), VariantLong(1)});
        return true;
    }
    if (event->key() == Qt::Key_Right) {
        Fire(ChroEvents::kChroRightKeyPressed,
             {VariantLong(m_IndexNumber), VariantLong(m_InfoID), VariantLong(1)});
        return true;
    }
    return false;
}

HRESULT CChroControl::Initialize() {
    if (graph_) return S_OK;
    m_filter = std::make_unique<CScanFilter>();
    graph_ = std::make_unique<CChroGraph>();
    regions_ = std::make_unique<PlotRegionList>();
    graph_->SetRegions(regions_.get());
    rubberBand_ = std::make_unique<DragTracker>();
    graph_->Handler().SetYAxisLimits(0.0, 100.0, 0.0, 1.0, 1.0);
    graph_->Handler().ZoomFull();
    return S_OK;
}

HRESULT CChroControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    return S_OK;
}

HRESULT CChroControl::SetPeakData(VXPlot_DataPeak* pVXDataPeaks, std::int32_t nNumVXDataPeaks) {
    if (!graph_) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    m_points.assign(static_cast<std::size_t>(nNumVXDataPeaks), TracePoint{});
    m_maxIntensity = 0.0;
    for (std::int32_t i = 0; i < nNumVXDataPeaks; ++i) {
        TracePoint& p = m_points[i];
        p.position = pVXDataPeaks[i].dPosition;
        p.intensity = pVXDataPeaks[i].dIntensity;
        p.basePeakMass = pVXDataPeaks[i].fBasePeakMass;
        p.scanNumber = pVXDataPeaks[i].nScanPosition;
        m_maxIntensity = std::max(m_maxIntensity, p.intensity);
    }
    graph_->SetTrace(m_points.data(), m_points.size());
    return S_OK;
}

HRESULT CChroControl::SetTraceInfo(VXPlot_ChroInfo* ChroInfo, VXPlot_Filter* Filter,
                                   std::int32_t nMassRanges, VXPlot_MassRange* pMassRanges) {
    if (!graph_) return E_FAIL;
    if (Filter) {
        if (!FilterRecordCountsValid(*Filter)) return E_INVALIDARG;
        const HRESULT hr = CheckRecordArray(pMassRanges, nMassRanges);
        if (FAILED(hr)) return hr;
        auto filter = std::make_unique<CScanFilter>();
        if (!ConvertFilterRecord(Filter, *filter)) return E_INVALIDARG;
        m_filter = std::move(filter);
        m_filterText = m_filter->Format(2, -1, 2);
        m_traceMassRanges.assign(pMassRanges, pMassRanges + nMassRanges);
    }
    if (ChroInfo) {
        m_chroInfo = *ChroInfo;
    } else {
        m_chroInfo = VXPlot_ChroInfo{};
        m_chroInfo.eTraceType = VXPlot_ChroTICTrace;
    }
    graph_->SetTraceInfo(&m_chroInfo, m_traceMassRanges, m_filter.get());
    return S_OK;
}

HRESULT CChroControl::SetChroPeakData(VXPlot_ChroPeak* pVXChroPeaks, std::int32_t nNumVXChroPeaks) {
    if (!graph_) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXChroPeaks, nNumVXChroPeaks);
    if (FAILED(hr)) return hr;
    graph_->SetPeaks(pVXChroPeaks, nNumVXChroPeaks);
    return S_OK;
}

HRESULT CChroControl::ShowPositionMarker(std::int32_t bShow, double dTime) {
    if (!graph_) return E_FAIL;
    m_positionShown = bShow != 0;
    m_positionTime = dTime;
    graph_->Markers().RemoveById(kPositionMarkerId);
    if (bShow) {
        HandlerMarker m;
        m.kind = 1;
        m.intensityScale = VXPlot_MarkerScale_Absolute;
        m.lineColor = 255;
        graph_->Handler().AddMarkerTime(m, dTime, m_limits.absoluteMin, dTime, m_limits.absoluteMax,
                                        0, kPositionMarkerId);
    }
    return S_OK;
}

HRESULT CChroControl::ShowMSnScans(std::int32_t bShow) {
    if (!graph_) return E_FAIL;
    graph_->Markers().RemoveById(kMSnMarkerId);
    if (!bShow || m_markerPeaks.empty()) return S_OK;
    graph_->Trace().GetMaxIntensity();
    HandlerMarker m;
    m.kind = 1;
    m.intensityScale = VXPlot_MarkerScale_Percent;
    m.lineColor = 0xFF0000;
    for (const VXPlot_DataPeak& p : m_markerPeaks)
        graph_->Handler().AddMarkerTime(m, p.dPosition, 95.0, p.dPosition, 100.0, 0, kMSnMarkerId);
    return S_OK;
}

HRESULT CChroControl::SetMarkerPeakData(VXPlot_DataPeak* pVXDataPeaks,
                                        std::int32_t nNumVXDataPeaks) {
    if (!graph_) return E_FAIL;
    const HRESULT hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    m_markerPeaks.assign(pVXDataPeaks, pVXDataPeaks + nNumVXDataPeaks);
    return S_OK;
}

HRESULT CChroControl::SetMarkerList(VXPlot_Marker* pMarkers, std::int32_t nNumMarkers) {
    if (!graph_) return E_FAIL;
    if (nNumMarkers <= 0) return S_OK;
    if (!pMarkers) return E_POINTER;
    for (std::int32_t i = 0; i < nNumMarkers; ++i) {
        const VXPlot_Marker& r = pMarkers[i];
        MarkerNode m;
        m.style = r.style;
        m.intensityScale = r.IntensityScale;
        m.behind = r.bBehind != 0;
        m.outline = r.bOutline != 0;
        m.fill = r.bFill != 0;
        m.dropLines = r.bDrawDrop != 0;
        m.lineColor = r.lineColor;
        m.fillColor = r.fillColor;
        m.startIntensity = r.dStartIntensity;
        m.endIntensity = r.dEndIntensity;
        m.startPosition = r.dStartPosition;
        m.endPosition = r.dEndPosition;
        m.dropStartIntensity = r.dDropStartIntensity;
        m.dropEndIntensity = r.dDropEndIntensity;
        m.symbol = r.symbol;
        m.traceId = 0;
        m.markerId = kHostMarkerId;
        graph_->Markers().Add(m);
    }
    return S_OK;
}

HRESULT CChroControl::ClearMarkerList() {
    if (!graph_) return E_FAIL;
    graph_->Markers().RemoveById(kHostMarkerId);
    return S_OK;
}

HRESULT CChroControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!graph_) return E_FAIL;
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

void CChroControl::updateMouseMode() {
    m_mouseMode = m_EnableManualAddPeakMode || m_EnableManualBaselineDrag || m_EnableManualZoom;
    // The modes that change peaks show it in the cursor.
    if (QWidget* w = window()) {
        if (m_EnableManualAddPeakMode)
            w->setCursor(Qt::CrossCursor);
        else if (m_EnableManualDeletePeakMode)
            w->setCursor(Qt::PointingHandCursor);
        else
            w->setCursor(Qt::ArrowCursor);
    }
}

HRESULT CChroControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    updateMouseMode();
    return S_OK;
}

HRESULT CChroControl::put_EnableManualBaselineDrag(std::int32_t newVal) {
    m_EnableManualBaselineDrag = newVal;
    updateMouseMode();
    return S_OK;
}

HRESULT CChroControl::put_EnableManualAddPeakMode(std::int32_t newVal) {
    m_EnableManualAddPeakMode = newVal;
    if (newVal) m_EnableManualDeletePeakMode = 0;
    updateMouseMode();
    return S_OK;
}

HRESULT CChroControl::put_EnableManualDeletePeakMode(std::int32_t newVal) {
    m_EnableManualDeletePeakMode = newVal;
    if (newVal) m_EnableManualAddPeakMode = 0;
    updateMouseMode();
    return S_OK;
}

HRESULT CChroControl::SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                     double dAbsoluteMax, double dRelativeMin,
                                     double dRelativeMax) {
    const HRESULT hr = m_limits.SetYAxisLimits(dNormalizationLevel, dAbsoluteMin, dAbsoluteMax,
                                               dRelativeMin, dRelativeMax);
    if (SUCCEEDED(hr) && m_positionShown) ShowPositionMarker(1, m_positionTime);
    return hr;
}

void CChroControl::DrawControl(PlotDC& dc, const QRect& rect) {
    if (!graph_) return;
    if (m_ShowBorder) {
        if (m_ShowFocusRect)
            DrawControlFrame(dc, rect, 2, 0xFF0000);
        else
            DrawControlFrame(dc, rect, 1, 0);
    }
    graph_->m_noDataText = m_noDataText;
    graph_->m_headingTitle = m_headingText;
    graph_->m_fileName = m_fileName;
    graph_->m_dXLow = m_limits.xStart;
    graph_->m_dXHigh = m_limits.xEnd;
    graph_->Handler().SetYAxisLimits(m_limits.relativeMin, m_limits.relativeMax,
                                     m_limits.absoluteMin, m_limits.absoluteMax,
                                     m_limits.normalizationLevel);
    graph_->m_bYRange = m_limits.scaleType == VXPlot_YAxisScaleType_Relative;
    graph_->SetRect(Shrunk(rect, kGraphInset));
    graph_->Draw(dc);
}

void CChroControl::OnDraw(QPainter& painter, const QRect& rect) {
    PaintControlWindow(painter, rect, regions_.get(),
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CChroControl::Draw(std::uintptr_t* phDC, std::uintptr_t*, std::int32_t bIsPrinting,
                           tagRECT* pcRect, std::int32_t bShowBorder) {
    if (!graph_) return E_FAIL;
    return DrawForHost(phDC, bIsPrinting != 0, pcRect, bShowBorder != 0, regions_.get(),
                       m_ShowBorder, [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CChroControl::CopyToClipboard() {
    if (!graph_) return E_FAIL;
    return CopyForHost(regions_.get(), m_ShowBorder,
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CChroControl::ShowFocusRectImmediate(std::int32_t bShow) {
    m_ShowFocusRect = bShow;
    Invalidate();
    return S_OK;
}

HRESULT CChroControl::SetStyle(VXPlot_ChroStyle eStyle) {
    if (!graph_) return E_FAIL;
    graph_->SetStyle(eStyle);
    return S_OK;
}

HRESULT CChroControl::SetLabelling(VXPlot_ChroLabels* pLabelInfo) {
    if (!graph_ || !pLabelInfo) return E_FAIL;
    ChroLabelSwitches l;
    l.retentionTime = pLabelInfo->bLabelRT != 0;
    l.decimals = pLabelInfo->nLabelDecimals;
    l.scanNumber = pLabelInfo->bLabelScanNumber != 0;
    l.basePeak = pLabelInfo->bLabelBasePeak != 0;
    l.flags = pLabelInfo->bLabelFlags != 0;
    l.peakNumber = pLabelInfo->bLabelPeakNumber != 0;
    l.area = pLabelInfo->bLabelArea != 0;
    l.signalToNoise = pLabelInfo->bLabelSignalToNoise != 0;
    l.height = pLabelInfo->bLabelHeight != 0;
    graph_->SetLabelling(l, pLabelInfo->dLabelThreshold);
    return S_OK;
}

HRESULT CChroControl::SetAxisLabels(BSTR bstrXAxis, BSTR bstrYAxisAbsolute, BSTR bstrYAxisRelative,
                                    BSTR bstrZAxisAbsolute, BSTR bstrZAxisRelative) {
    if (!graph_) return E_FAIL;
    graph_->m_axisTitles = {FromBstr(bstrXAxis), FromBstr(bstrYAxisAbsolute),
                            FromBstr(bstrYAxisRelative), FromBstr(bstrZAxisAbsolute),
                            FromBstr(bstrZAxisRelative)};
    return S_OK;
}

HRESULT CChroControl::SetDetectorLabel(BSTR bstrDetectorLabel) {
    if (!graph_) return E_FAIL;
    graph_->m_detectorLabel = FromBstr(bstrDetectorLabel);
    return S_OK;
}

HRESULT CChroControl::SetLeftRightAxesWidths(double dLeft, double dRight) {
    if (!graph_) return E_FAIL;
    if (!FiniteValues({dLeft, dRight})) return E_INVALIDARG;
    graph_->m_dLeftWidth = dLeft;
    graph_->m_dRightWidth = dRight;
    return S_OK;
}

HRESULT CChroControl::AddTextLabel(LPCWSTR slinetext, double x, double y,
                                   VXPlot_LabelParams* pParams) {
    if (!graph_) return E_FAIL;
    labels_.Add(*graph_, slinetext, x, y, pParams);
    return S_OK;
}

HRESULT CChroControl::ClearTextLabel() {
    if (!graph_) return E_FAIL;
    graph_->UserLabels().Clear();
    return S_OK;
}

HRESULT CChroControl::SetHeading(LPCWSTR bstrHeading) {
    m_headingText = FromWide(bstrHeading);
    if (graph_) graph_->m_bForcedHeading = true;
    m_forcedHeading = true;
    return S_OK;
}

HRESULT CChroControl::SetForcedHeading(std::int32_t bForcedHeading) {
    m_forcedHeading = bForcedHeading != 0;
    if (graph_) graph_->m_bForcedHeading = m_forcedHeading;
    return S_OK;
}

#define ZAR_CHRO_SHOW_FLAG(Name)                            \
    HRESULT CChroControl::put_##Name(std::int32_t newVal) { \
        if (!graph_) return E_FAIL;                         \
        graph_->m_b##Name = newVal != 0;                    \
        return S_OK;                                        \
    }
ZAR_CHRO_SHOW_FLAG(ShowTextAtRight)
ZAR_CHRO_SHOW_FLAG(ShowTextAtLeft)
ZAR_CHRO_SHOW_FLAG(ShowAxisAtLeft)
ZAR_CHRO_SHOW_FLAG(ShowXAxis)
ZAR_CHRO_SHOW_FLAG(ShowXAxisLabel)
ZAR_CHRO_SHOW_FLAG(ShowHeaderText)
#undef ZAR_CHRO_SHOW_FLAG

HRESULT CChroControl::SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) {
    labels_.SetAnchor(xAnchor, yAnchor);
    return S_OK;
}

HRESULT CChroControl::SetTextAboveGraph(std::int32_t bAboveGraph) {
    labels_.SetAboveGraph(bAboveGraph);
    return S_OK;
}

HRESULT CChroControl::SetTextAlign(VXTextAlign eTextAlign) {
    labels_.SetAlign(eTextAlign);
    return S_OK;
}

HRESULT CChroControl::SetTextPointer(std::int32_t bPointer, double, double) {
    labels_.SetPointer(bPointer);
    return S_OK;
}

HRESULT CChroControl::SetTextPriority(double dPriority) {
    labels_.SetPriority(dPriority);
    return S_OK;
}

HRESULT CChroControl::SetTextRotate(std::int32_t bRotate) {
    labels_.SetRotate(bRotate);
    return S_OK;
}

HRESULT CChroControl::SetTextBoxed(std::int32_t bBoxed) {
    labels_.SetBoxed(bBoxed);
    return S_OK;
}

HRESULT CChroControl::GetTextLabelParams(VXPlot_LabelParams* pParams) {
    return labels_.Get(pParams);
}

void CChroControl::fire(DISPID id, std::vector<VARIANT> more) {
    std::vector<VARIANT> args{VariantLong(m_IndexNumber), VariantLong(m_InfoID)};
    args.insert(args.end(), more.begin(), more.end());
    Fire(id, std::move(args));
}

void CChroControl::endFeedback() {
    {
        auto scope = BeginFeedback();
        QPoint a, b;
        if (rubberBand_->IsActive()) rubberBand_->End(scope->dc, a, b);
    }
    Feedback().Clear();
    FeedbackChanged();
}

void CChroControl::OnMousePress(QMouseEvent* event) {
    const bool numbered = m_IndexNumber >= 0;
    if (event->button() == Qt::RightButton) {
        if (numbered) fire(ChroEvents::kChroRButtonDown);
        return;
    }
    if (event->button() != Qt::LeftButton || !graph_) return;
    if (numbered) fire(ChroEvents::kChroLButtonDown);
    const QPoint p = event->position().toPoint();
    if (m_EnableManualDeletePeakMode) {
        const MappedPoint m = MapPoint(*regions_, p, false);
        if (m.found && m.inside) {
            m_deleteFired = true;
            fire(ChroEvents::kChroDeletePeak, {VariantLong(1), VariantDouble(m.x)});
        }
        return;
    }
    m_deleteFired = false;
    if (!m_mouseMode) return;
    m_dragging = true;
    m_boxMoved = false;
    m_baselineGrabbed = false;
    m_dragStart = p;
    const PlotRegion* region = regions_->Find(p.x(), p.y());
    if (m_EnableManualAddPeakMode) {
        if (region && graph_->Trace().PointCount() > 0) {
            auto scope = BeginFeedback();
            rubberBand_->BeginAnchored(scope->dc, *region, &graph_->Trace(), p, p,
                                       kDragAnchoredDrop, 4);
            FeedbackChanged();
        }
        return;
    }
    if (m_EnableManualBaselineDrag && region) {
        HitTestDC measure;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        const int end = graph_->HitTestBaseline(measure.dc(), p.x(), p.y(), x1, y1, x2, y2);
        if (end != 0) {
            m_baselineGrabbed = true;
            QPointF fixed(x1, y1);
            if (end == 1) {
                fixed = QPointF(x2, y2);
                m_modifiedEdge = x1 < x2 ? 0 : 2;
            } else if (end == 2) {
                m_modifiedEdge = x1 > x2 ? 0 : 2;
            } else {
                m_modifiedEdge = 0;
            }
            m_initialX1 = x1;
            m_initialX2 = x2;
            m_final = {x1, y1, x2, y2};
            const QPoint anchor(region->XToScreen(fixed.x()), region->YToScreen(fixed.y()));
            auto scope = BeginFeedback();
            rubberBand_->BeginAnchored(scope->dc, *region, &graph_->Trace(), anchor, p,
                                       kDragAnchoredLine, 4);
            FeedbackChanged();
            return;
        }
    }
    if (m_EnableManualZoom) {
        if (region) {
            auto scope = BeginFeedback();
            rubberBand_->Begin(scope->dc, *region, p, kDragBox);
            FeedbackChanged();
        }
        return;
    }
    m_dragging = false;
}

void CChroControl::OnMouseMove(QMouseEvent* event) {
    if (m_EnableManualDeletePeakMode || m_deleteFired || !graph_) return;
    const QPoint p = event->position().toPoint();
    if (!m_dragging) {
        // Over a baseline end the cursor offers the drag.
        if (m_EnableManualBaselineDrag && window()) {
            HitTestDC measure;
            double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            const bool over =
                graph_->HitTestBaseline(measure.dc(), p.x(), p.y(), x1, y1, x2, y2) != 0;
            window()->setCursor(over ? Qt::CrossCursor : Qt::ArrowCursor);
        }
        return;
    }
    if (!m_boxMoved && !MovedFar(m_dragStart, p)) return;
    m_boxMoved = true;
    if (rubberBand_->IsActive()) {
        auto scope = BeginFeedback();
        rubberBand_->Move(scope->dc, p);
        FeedbackChanged();
    }
}

bool CChroControl::finishBaselineDrag() {
    QPoint a, b;
    rubberBand_->GetPoints(a, b);
    endFeedback();
    if (b.x() < a.x()) std::swap(a, b);
    PlotRegionList::Values v;
    if (!regions_->PointsToValues(a, b, v, false, false, m_modifiedEdge == 0, m_modifiedEdge == 2))
        return false;
    const TracePoint* first = graph_->Trace().FindNearestPoint(v.xStart);
    const TracePoint* second = graph_->Trace().FindNearestPoint(v.xEnd);
    if (!first || !second) return false;
    QPointF p1(first->position, v.yStart), p2(second->position, v.yEnd);
    if (p1.x() > p2.x()) std::swap(p1, p2);
    if (m_modifiedEdge == 0) {
        if (p1.x() != m_initialX2) {
            m_final[0] = p1.x();
            m_final[1] = p1.y();
        } else {
            m_final = {m_final[2], m_final[3], p2.x(), p2.y()};
            m_modifiedEdge = 3;
        }
    } else {
        if (p2.x() != m_initialX1) {
            m_final[2] = p2.x();
            m_final[3] = p2.y();
        } else {
            m_final = {p1.x(), p1.y(), m_final[0], m_final[1]};
            m_modifiedEdge = 3;
        }
    }
    return true;
}

void CChroControl::finishBox(bool addPeak) {
    QPoint a, b;
    int shape = 0;
    {
        auto scope = BeginFeedback();
        if (rubberBand_->IsActive()) shape = rubberBand_->End(scope->dc, a, b);
    }
    Feedback().Clear();
    FeedbackChanged();
    if (!shape) return;
    // Intensities as the data has them, whichever way the axis is labelled: the panes keep
    // zoom ranges as intensities and label the axis from them.
    PlotRegionList::Values v;
    if (!MapBox(*regions_, a, b, v)) return;
    if (!addPeak) {
        fire(ChroEvents::kChroZoom,
             {VariantLong(1), VariantDouble(v.xStart), VariantDouble(v.yStart),
              VariantDouble(v.xEnd), VariantDouble(v.yEnd)});
        return;
    }
    double t1 = v.xStart, t2 = v.xEnd, i1 = v.yStart, i2 = v.yEnd;
    const TracePoint* s = graph_->Trace().FindNearestPoint(t1);
    const TracePoint* e = graph_->Trace().FindNearestPoint(t2);
    if (s && e) {
        t1 = s->position;
        t2 = e->position;
        i1 = std::min(v.yStart, s->intensity);
        i2 = std::min(v.yEnd, e->intensity);
    }
    fire(ChroEvents::kChroAddPeak, {VariantLong(1), VariantDouble(t1), VariantDouble(i1),
                                    VariantDouble(t2), VariantDouble(i2)});
}

void CChroControl::OnMouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !graph_) return;
    if (m_EnableManualDeletePeakMode || m_deleteFired) return;
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        m_dragging = false;
        if (rubberBand_->IsActive()) {
            auto scope = BeginFeedback();
            rubberBand_->Move(scope->dc, p);
        }
        if (m_baselineGrabbed) {
            m_baselineGrabbed = false;
            if (finishBaselineDrag())
                fire(ChroEvents::kChroBaselineDrag,
                     {VariantLong(1), VariantDouble(m_initialX1), VariantDouble(m_initialX2),
                      VariantLong(m_modifiedEdge), VariantDouble(m_final[0]),
                      VariantDouble(m_final[1]), VariantDouble(m_final[2]),
                      VariantDouble(m_final[3])});
            return;
        }
        if (m_EnableManualAddPeakMode) {
            finishBox(true);
            return;
        }
        if (!m_EnableManualZoom) return;
        if (m_boxMoved) {
            m_boxMoved = false;
            finishBox(false);
            return;
        }
        endFeedback();
    }
    if (m_IndexNumber < 0) return;
    const bool scale = m_limits.scaleType == VXPlot_YAxisScaleType_Relative;
    const MappedPoint m = MapPoint(*regions_, p, scale);
    fire(ChroEvents::kChroLButtonUp,
         {VariantLong(m.found && m.inside ? 1 : 0), VariantDouble(m.x), VariantDouble(m.y)});
}

}  // namespace zar::plot
