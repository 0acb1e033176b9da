#include "SpecControl.h"

#include "core/Paths.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zar::plot {

using namespace ZAR_PLOTLib;

namespace {

// The margin between the control's rectangle and its graph.
constexpr int kGraphInset = 5;

std::vector<SpecPeakRecord> ToRecords(const VXPlot_DataPeak* peaks, std::int32_t count) {
    std::vector<SpecPeakRecord> out(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i)
        out[i] = {peaks[i].dPosition, peaks[i].dIntensity, peaks[i].nScanPosition};
    return out;
}

}  // namespace

CSpecControl::CSpecControl() : CComControl(kCoclasses[1]) {}

CSpecControl::~CSpecControl() = default;

HRESULT CSpecControl::Initialize() {
    if (graph_) return S_OK;
    m_filter = std::make_unique<CScanFilter>();
    graph_ = std::make_unique<CSpecGraph>();
    segments_ = std::make_unique<CSpecSegmentData>();
    segments_->Reset(1);
    regions_ = std::make_unique<PlotRegionList>();
    graph_->SetRegions(regions_.get());
    rubberBand_ = std::make_unique<DragTracker>();
    return S_OK;
}

HRESULT CSpecControl::put_NoDataText(LPCWSTR newVal) {
    m_noDataText = FromWide(newVal);
    return S_OK;
}

HRESULT CSpecControl::get_DataValid(std::int32_t* pVal) {
    if (!graph_) return E_FAIL;
    if (!pVal) return E_POINTER;
    *pVal = graph_->m_bDataValid ? 1 : 0;
    return S_OK;
}

HRESULT CSpecControl::put_DataValid(std::int32_t newVal) {
    if (!graph_) return E_FAIL;
    graph_->m_bDataValid = newVal != 0;
    return S_OK;
}

HRESULT CSpecControl::put_Filter(VXPlot_Filter* newVal) {
    if (!graph_) return E_FAIL;
    if (!newVal) {
        m_filter.reset();
        graph_->Header().filterValid = false;
        return S_OK;
    }
    auto filter = std::make_unique<CScanFilter>();
    if (!ConvertFilterRecord(newVal, *filter)) return E_INVALIDARG;
    m_filter = std::move(filter);
    graph_->Header().filterValid = true;
    return S_OK;
}

HRESULT CSpecControl::SetPeakData(std::int32_t* pnSegmentSizes, VXPlot_MassRange* pMassRanges,
                                  std::int32_t nMassRanges, VXPlot_DataPeak* pVXDataPeaks,
                                  std::int32_t nNumVXDataPeaks) {
    if (!graph_) return E_FAIL;
    HRESULT hr = CheckRecordArray(pnSegmentSizes, nMassRanges);
    if (SUCCEEDED(hr)) hr = CheckRecordArray(pMassRanges, nMassRanges);
    if (SUCCEEDED(hr)) hr = CheckRecordArray(pVXDataPeaks, nNumVXDataPeaks);
    if (FAILED(hr)) return hr;
    // The segments must share out no more peaks than were passed.
    std::int64_t total = 0;
    for (std::int32_t i = 0; i < nMassRanges; ++i) {
        if (pnSegmentSizes[i] < 0) return E_INVALIDARG;
        total += pnSegmentSizes[i];
    }
    if (total > nNumVXDataPeaks) return E_INVALIDARG;
    if (nMassRanges > 0) {
        segments_->Reset(nMassRanges);
        const VXPlot_DataPeak* next = pVXDataPeaks;
        for (std::int32_t i = 0; i < nMassRanges; ++i) {
            segments_->SetSegment(i, ToRecords(next, pnSegmentSizes[i]));
            // The segment's range reaches past its high mass, for the isotopes of its last peak.
            segments_->SetRange(i, pMassRanges[i].dLowMass, pMassRanges[i].dHighMass + 250.0);
            next += pnSegmentSizes[i];
        }
    } else {
        segments_->Reset(1);
        segments_->SetSegment(0, ToRecords(pVXDataPeaks, nNumVXDataPeaks));
    }
    return S_OK;
}

HRESULT CSpecControl::SetScanHeader(VXPlot_SpectrumHeader* pSpectrumHeader,
                                    std::int32_t bSetSegmentMassRange) {
    if (!graph_) return E_FAIL;
    if (!pSpectrumHeader) return E_POINTER;
    const VXPlot_SpectrumHeader& h = *pSpectrumHeader;
    if (!FiniteValues({h.dLowMass, h.dHighMass})) return E_INVALIDARG;
    m_limits.xStart = h.dLowMass;
    m_limits.xEnd = h.dHighMass;
    if (bSetSegmentMassRange && segments_->SegmentCount() > 0)
        segments_->SetRange(0, h.dLowMass, h.dHighMass);
    // Always through the segment data: a new set of segments replaces the summary.
    if (SpecScanSummary* summary = segments_->ScanSummary()) {
        summary->scanNumber = h.nScanNumber;
        summary->centroid = h.bIsCentroid != 0;
        summary->retentionTime = h.dRT;
        summary->tic = h.dTIC;
        summary->basePeakIntensity = h.dBasePeakIntensity;
        summary->basePeakMass = h.dBasePeakMass;
        summary->lowMass = m_limits.xStart;
        summary->highMass = m_limits.xEnd;
    }
    CSpecHeaderInfo& header = graph_->Header();
    header.averaged = h.nNumScansAveraged > 1;
    header.scansAveraged = h.nNumScansAveraged;
    if (h.bScanRangeValid) {
        header.rtStart = h.dStartRT;
        header.rtEnd = h.dEndRT;
        header.firstScan = h.nFirstScanNumber;
        header.lastScan = h.nLastScanNumber;
    } else {
        header.rtStart = header.rtEnd = h.dRT;
        header.firstScan = header.lastScan = h.nScanNumber;
    }
    header.subtracted = h.bSubRange1Valid || h.bSubRange2Valid;
    header.scansSubtracted = h.nNumScansSubtracted;
    header.background1 = h.bSubRange1Valid != 0;
    header.bkg1Start = h.dStartBkg1RT;
    header.bkg1End = h.dEndBkg1RT;
    header.background2 = h.bSubRange2Valid != 0;
    header.bkg2Start = h.dStartBkg2RT;
    header.bkg2End = h.dEndBkg2RT;
    return S_OK;
}

void CSpecControl::DrawControl(PlotDC& dc, const QRect& rect) {
    if (!graph_) return;
    if (m_ShowBorder) DrawControlFrame(dc, rect, 1, 0);
    if (!graph_->m_bDataValid) {
        PlotFont font = graph_->Font();
        const DCFont previous = font.CreateFontForDC(dc);
        DrawCentredText(dc, rect, m_noDataText);
        dc.SelectFont(previous);
        return;
    }
    graph_->SetData(segments_.get(), m_filter.get());
    graph_->m_dXLow = m_limits.xStart;
    graph_->m_dXHigh = m_limits.xEnd;
    graph_->m_bLowAuto = graph_->m_bHighAuto = false;
    graph_->Handler().SetYAxisLimits(m_limits.relativeMin, m_limits.relativeMax,
                                     m_limits.absoluteMin, m_limits.absoluteMax,
                                     m_limits.normalizationLevel);
    graph_->SetYAxisScaleType(m_limits.scaleType);
    graph_->SetRect(Shrunk(rect, kGraphInset));
    graph_->Draw(dc);
}

void CSpecControl::OnDraw(QPainter& painter, const QRect& rect) {
    PaintControlWindow(painter, rect, regions_.get(),
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CSpecControl::Draw(std::uintptr_t* phDC, std::uintptr_t*, std::int32_t bIsPrinting,
                           tagRECT* pcRect, std::int32_t bShowBorder) {
    if (!graph_) return E_FAIL;
    return DrawForHost(phDC, bIsPrinting != 0, pcRect, bShowBorder != 0, regions_.get(),
                       m_ShowBorder, [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CSpecControl::CopyToClipboard() {
    if (!graph_) return E_FAIL;
    return CopyForHost(regions_.get(), m_ShowBorder,
                       [this](PlotDC& dc, const QRect& r) { DrawControl(dc, r); });
}

HRESULT CSpecControl::get_ShowBorder(std::int32_t* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_ShowBorder;
    return S_OK;
}

HRESULT CSpecControl::put_ShowBorder(std::int32_t newVal) {
    m_ShowBorder = newVal;
    return S_OK;
}

HRESULT CSpecControl::get_EnableManualZoom(std::int32_t* pVal) {
    if (!graph_) return E_FAIL;
    if (!pVal) return E_POINTER;
    *pVal = m_EnableManualZoom;
    return S_OK;
}

HRESULT CSpecControl::put_EnableManualZoom(std::int32_t newVal) {
    m_EnableManualZoom = newVal;
    return S_OK;
}

HRESULT CSpecControl::put_FileName(LPCWSTR newVal) {
    if (!graph_) return E_FAIL;
    graph_->Header().fileName = StripExtension(FileNameOf(PortablePath(FromWide(newVal))));
    return S_OK;
}

HRESULT CSpecControl::InitializeFilter(VXPlot_Filter* pFilter) {
    if (!pFilter) return E_POINTER;
    InitFilterRecord(pFilter);
    return S_OK;
}

HRESULT CSpecControl::SetDetectorType(VXPlot_DetectorTypes) {
    return S_OK;
}

HRESULT CSpecControl::SetStyle(VXPlot_SpecStyle* pStyle) {
    if (!graph_) return E_FAIL;
    if (!pStyle) return E_POINTER;
    graph_->m_nPlotStyle = pStyle->eStyle;
    graph_->m_bShowLabels = pStyle->bShowLabels != 0;
    graph_->m_dLabelThreshold = pStyle->dLabelThreshold;
    graph_->m_bOffsetLabels = pStyle->bOffsetLabels != 0;
    graph_->m_dLabelOffset = pStyle->fLabelOffset;
    graph_->m_bRotateLabels = pStyle->bRotateLabels != 0;
    return S_OK;
}

HRESULT CSpecControl::SetAxisLabels(LPCWSTR szXAxis, LPCWSTR szYAxisAbsolute,
                                    LPCWSTR szYAxisRelative, LPCWSTR szZAxisAbsolute,
                                    LPCWSTR szZAxisRelative) {
    if (!graph_) return E_FAIL;
    graph_->m_axisTitles = {FromWide(szXAxis), FromWide(szYAxisAbsolute), FromWide(szYAxisRelative),
                            FromWide(szZAxisAbsolute), FromWide(szZAxisRelative)};
    return S_OK;
}

HRESULT CSpecControl::SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                     double dAbsoluteMax, double dRelativeMin,
                                     double dRelativeMax) {
    return m_limits.SetYAxisLimits(dNormalizationLevel, dAbsoluteMin, dAbsoluteMax, dRelativeMin,
                                   dRelativeMax);
}

HRESULT CSpecControl::SetXAxisLimits(double dStart, double dEnd) {
    return m_limits.SetXAxisLimits(dStart, dEnd);
}

HRESULT CSpecControl::SetYAxisScaleType(VXPlot_YAxisScaleType eYAxisScaleType) {
    return m_limits.SetYAxisScaleType(eYAxisScaleType);
}

HRESULT CSpecControl::SetHeaderExtra(LPCWSTR newVal) {
    if (!graph_) return E_FAIL;
    graph_->Header().extraText = FromWide(newVal);
    return S_OK;
}

HRESULT CSpecControl::AddTextLabel(LPCWSTR slinetext, double x, double y,
                                   VXPlot_LabelParams* pParams) {
    if (!graph_) return E_FAIL;
    labels_.Add(*graph_, slinetext, x, y, pParams);
    return S_OK;
}

HRESULT CSpecControl::ClearTextLabel() {
    if (!graph_) return E_FAIL;
    graph_->UserLabels().Clear();
    return S_OK;
}

HRESULT CSpecControl::SetTextPriority(double dPriority) {
    labels_.SetPriority(dPriority);
    return S_OK;
}

HRESULT CSpecControl::SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) {
    labels_.SetAnchor(xAnchor, yAnchor);
    return S_OK;
}

HRESULT CSpecControl::SetTextAboveGraph(std::int32_t bAboveGraph) {
    labels_.SetAboveGraph(bAboveGraph);
    return S_OK;
}

HRESULT CSpecControl::SetTextAlign(VXTextAlign eTextAlign) {
    labels_.SetAlign(eTextAlign);
    return S_OK;
}

HRESULT CSpecControl::SetTextPointer(std::int32_t bPointer, double, double) {
    labels_.SetPointer(bPointer);
    return S_OK;
}

HRESULT CSpecControl::SetTextRotate(std::int32_t bRotate) {
    labels_.SetRotate(bRotate);
    return S_OK;
}

HRESULT CSpecControl::SetTextBoxed(std::int32_t bBoxed) {
    labels_.SetBoxed(bBoxed);
    return S_OK;
}

HRESULT CSpecControl::SetHeading(LPCWSTR bstrHeading) {
    if (graph_) {
        graph_->Header().headingText = FromWide(bstrHeading);
        graph_->Header().forcedHeading = true;
    }
    return S_OK;
}

HRESULT CSpecControl::SetForcedHeading(std::int32_t bForcedHeading) {
    if (graph_) graph_->Header().forcedHeading = bForcedHeading != 0;
    return S_OK;
}

HRESULT CSpecControl::SetPeakInfo(VXPlot_PeakInfo* pPeakInfo, std::int32_t nNumber) {
    const HRESULT hr = CheckRecordArray(pPeakInfo, nNumber);
    if (FAILED(hr)) return hr;
    if (graph_) graph_->SetPeakInfo(pPeakInfo, nNumber);
    return S_OK;
}

HRESULT CSpecControl::SetPeakInfoColors(std::uint32_t* pColors, std::int32_t nNumber) {
    const HRESULT hr = CheckRecordArray(pColors, nNumber);
    if (FAILED(hr)) return hr;
    if (graph_) graph_->SetPeakInfoColors(pColors, nNumber);
    return S_OK;
}

HRESULT CSpecControl::GetTextLabelParams(VXPlot_LabelParams* pParams) {
    return labels_.Get(pParams);
}

HRESULT CSpecControl::SetSmoothingParams(std::int32_t bSmooth, std::int32_t nMode,
                                         std::int32_t nPoints) {
    if (graph_) {
        graph_->m_bSmooth = bSmooth != 0;
        graph_->m_nSmoothType = nMode;
        graph_->m_nSmoothPoints = nPoints;
    }
    return S_OK;
}

bool CSpecControl::OnKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left) {
        Fire(SpecEvents::kSpecLeftKeyPressed);
        return true;
    }
    if (event->key() == Qt::Key_Right) {
        Fire(SpecEvents::kSpecRightKeyPressed);
        return true;
    }
    return false;
}

void CSpecControl::OnMousePress(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Fire(SpecEvents::kSpecRButtonDown);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    Fire(SpecEvents::kSpecLButtonDown);
    if (!graph_ || !graph_->m_bDataValid || !m_EnableManualZoom) return;
    const QPoint p = event->position().toPoint();
    dragging_ = true;
    boxMoved_ = false;
    dragStart_ = p;
    if (const PlotRegion* region = regions_->Find(p.x(), p.y())) {
        auto scope = BeginFeedback();
        rubberBand_->Begin(scope->dc, *region, p, kDragBox);
        FeedbackChanged();
    }
}

void CSpecControl::OnMouseMove(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint p = event->position().toPoint();
    if (!boxMoved_ && !MovedFar(dragStart_, p)) return;
    boxMoved_ = true;
    if (rubberBand_->IsActive()) {
        auto scope = BeginFeedback();
        rubberBand_->Move(scope->dc, p);
        FeedbackChanged();
    }
}

void CSpecControl::FinishZoom() {
    QPoint start, end;
    {
        auto scope = BeginFeedback();
        if (!rubberBand_->End(scope->dc, start, end)) return;
    }
    Feedback().Clear();
    FeedbackChanged();
    // Intensities as the data has them, whichever way the axis is labelled (as the chromatogram).
    PlotRegionList::Values v;
    if (!MapBox(*regions_, start, end, v)) return;
    Fire(SpecEvents::kSpecZoom, {VariantLong(1), VariantDouble(v.xStart), VariantDouble(v.yStart),
                                 VariantDouble(v.xEnd), VariantDouble(v.yEnd)});
}

void CSpecControl::OnMouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        dragging_ = false;
        if (!m_EnableManualZoom) return;
        if (boxMoved_) {
            boxMoved_ = false;
            if (rubberBand_->IsActive()) {
                auto scope = BeginFeedback();
                rubberBand_->Move(scope->dc, p);
            }
            FinishZoom();
            return;
        }
        // A box that never moved is a click; its feedback goes.
        if (rubberBand_->IsActive()) {
            QPoint a, b;
            {
                auto scope = BeginFeedback();
                rubberBand_->End(scope->dc, a, b);
            }
            Feedback().Clear();
            FeedbackChanged();
        }
    }
    if (!graph_ || !graph_->m_bDataValid) return;
    const bool scale = m_limits.scaleType == VXPlot_YAxisScaleType_Relative;
    const MappedPoint m = MapPoint(*regions_, p, scale);
    Fire(SpecEvents::kSpecLButtonUp,
         {VariantLong(m.found && m.inside ? 1 : 0), VariantDouble(m.x), VariantDouble(m.y)});
}

}  // namespace zar::plot
