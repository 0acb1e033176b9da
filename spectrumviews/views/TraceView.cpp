#include "TraceView.h"

#include "ChroDisplayOptionsDialog.h"
#include "PaneSupport.h"
#include "PeptideLabels.h"
#include "PlotFeeding.h"
#include "UserTraceDialog.h"
#include "UserTraces.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/RangeTakers.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Log.h"
#include "databases/PepmapEngine.h"
#include "databases/PepmapOptions.h"
#include "document/UpdateHints.h"
#include "document/hub/PlotRange.h"
#include "document/hub/SpectrumText.h"
#include "document/hub/ZarDoc.h"
#include "fileio/VXCore.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>


namespace zar {

using namespace ZAR_PLOTLib;

CTraceView::CTraceView(QWidget* parent)
    : CZarViewWidget(parent),
      scrollBar_(new QScrollBar(Qt::Vertical, this)),
      countText_(new QLabel(QStringLiteral("Number of traces: 0"), this)) {
    setObjectName(QStringLiteral("CTraceView"));
    scrollBar_->setRange(1, 1);
    countText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ConnectScrollSteps(scrollBar_, this,
                       [this](ScrollStep step, int position) { OnVScroll(ScrollCodeOf(step), position); });
}

CTraceView::~CTraceView() {
    destroyControls();
}

void CTraceView::guarded(const char* what, const std::function<void()>& action) {
    RunPaneOperation("Trace view", what, action);
}

CVXResults* CTraceView::results() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetCurrentResults() : nullptr;
}

CVXUserResult* CTraceView::userResult(int trace) const {
    CVXResults* r = results();
    if (!r || trace < 0 || trace >= static_cast<int>(r->userResults.size())) return nullptr;
    return &r->userResults[trace];
}

CChro* CTraceView::SlotControl(int slot) const {
    if (slot < 0 || slot >= kMaxSlots) return nullptr;
    return slots_[slot].get();
}

QString CTraceView::CountText() const {
    return countText_->text();
}

void CTraceView::OnInitialUpdate() {
    if (initialised_) return;
    CZarDoc* doc = GetDocument();
    CVXResults* r = results();
    // A run just opened has no traces yet: read the user's (or the default) traces.
    if (doc && r && r->userResults.empty()) ReadUserTraces(*doc);
    CreateTraceControls(true);
    LayoutControls();
    LoadAllTraces();
    initialised_ = true;
}

void CTraceView::OnUpdate(CZarView*, int hint) {
    CVXResults* r = results();
    if (!r) return;
    CZarDoc* doc = GetDocument();
    switch (hint) {
        case kHintScanRange: {
            CVXUserResult* u = userResult(r->currentTraceNumber);
            const double t = u ? u->currentScanPosition : -1.0;
            const int slot = GetTraceSlot(r->currentTraceNumber);
            if (t >= 0.0 && slot >= 0) {
                guarded("moving the scan marker",
                        [&] { showScanMarker(true, r->currentTraceNumber, t, SlotControl(slot)); });
                repaintSlot(slot);
            }
            break;
        }
        case kHintRefillResults:
        case kHintRefillResultsAgain:
        case kHintDisplaySettings:
            CreateTraceControls(true);
            LayoutControls();
            LoadAllTraces();
            break;
        case kHintPepmapPeptides:
            // A Pepmap run or a new sort: the peptide labels follow.
            ReloadVisibleTraces();
            break;
        case kHintSummaryCellSelected:
        case kHintMassmapCellSelected: {
            const double t = hint == kHintSummaryCellSelected ? doc->GetSorvexHitRetentionTime()
                                                              : doc->GetMassmapHitRetentionTime();
            const int slot = GetTraceSlot(r->currentTraceNumber);
            if (t >= 0.0 && slot >= 0) {
                guarded("moving the scan marker",
                        [&] { showScanMarker(true, r->currentTraceNumber, t, SlotControl(slot)); });
                repaintSlot(slot);
            }
            break;
        }
        default:
            break;
    }
}

void CTraceView::destroyControls() {
    for (auto& c : slots_) c.reset();
}

void CTraceView::connectEvents(CChro* c) {
    c->OnEvent(ChroEvents::kChroLButtonDown,
               [this](const DispArgs& a) { OnChroLButtonDown(a.longAt(0), a.longAt(1)); });
    c->OnEvent(ChroEvents::kChroRButtonDown, [this](const DispArgs& a) {
        OnChroLButtonDown(a.longAt(0), a.longAt(1));
        if (std::unique_ptr<QMenu> menu = BuildContextMenu()) menu->exec(QCursor::pos());
    });
    c->OnEvent(ChroEvents::kChroLButtonUp, [this](const DispArgs& a) {
        OnChroLButtonUp(a.longAt(0), a.longAt(1), a.longAt(2) != 0, a.doubleAt(3), a.doubleAt(4));
    });
    c->OnEvent(ChroEvents::kChroZoom, [this](const DispArgs& a) {
        OnChroZoom(a.longAt(0), a.longAt(1), a.longAt(2) != 0, a.doubleAt(3), a.doubleAt(4),
                   a.doubleAt(5), a.doubleAt(6));
    });
    c->OnEvent(ChroEvents::kChroLeftKeyPressed,
               [this](const DispArgs& a) { OnChroArrowKey(a.longAt(0), a.longAt(1), false); });
    c->OnEvent(ChroEvents::kChroRightKeyPressed,
               [this](const DispArgs& a) { OnChroArrowKey(a.longAt(0), a.longAt(1), true); });
}

void CTraceView::CreateTraceControls(bool resetOrder) {
    destroyControls();
    CVXResults* r = results();
    if (!r) return;
    const int n = std::clamp(r->displaySlotCount, 0, int(kMaxSlots));
    if (n == 0) return;
    if (r->currentTraceNumber == -1 || r->currentTraceSlot == -1) r->currentTraceSlot = 0;
    if (r->slotArray.empty()) {
        r->slotArray.assign(n, 0);
        if (resetOrder) {
            r->currentTraceNumber = 0;
            r->currentUserResult = 0;
            for (int k = 0; k < n; ++k) r->slotArray[k] = k;
        }
    }
    if (static_cast<int>(r->slotArray.size()) < n) r->slotArray.resize(n, 0);
    for (int k = 0; k < n; ++k) {
        auto control = std::make_unique<CChro>();
        CVXUserResult* u = userResult(r->slotArray[k]);
        if (createControl(*control, QRect(5, 5, 25, 25), kControlId, k, u ? u->Name() : QString()))
            connectEvents(control.get());
        slots_[k] = std::move(control);
    }
    const int current = GetTraceSlot(r->currentTraceNumber);
    if (current >= 0)
        guarded("showing the focus", [&] { setFocusRect(SlotControl(current), true); });
}

bool CTraceView::createControl(CChro& control, const QRect& rect, int id, int index,
                               const QString& title) {
    if (!control.Create(this, rect, id)) return false;
    double left = 0.0;
    double right = 0.0;
    if (CZarDoc* doc = GetDocument()) doc->GetChroTraceInfo(left, right);
    guarded("preparing a trace control", [&] {
        control.Call(&IChro::Initialize);
        control.Call(&IChro::put_IndexNumber, index);
        control.Call(&IChro::put_NoDataText, WideText(title));
        control.Call(&IChro::SetLeftRightAxesWidths, left, right);
    });
    return true;
}

void CTraceView::LayoutControls() {
    CVXResults* r = results();
    const int t = r ? r->tracesDefined : 0;
    const int p = r ? std::max(1, r->tracesPerPage) : 1;
    const int n = r ? std::clamp(r->displaySlotCount, 0, int(kMaxSlots)) : 0;
    const int max = (t > p ? t - p : 0) + 1;
    if (scrollBar_->maximum() != max) scrollBar_->setRange(1, max);
    scrollBar_->setPageStep(p);
    {
        const QSignalBlocker block(scrollBar_);
        scrollBar_->setValue(r && !r->slotArray.empty() ? r->slotArray[0] + 1 : 1);
    }
    scrollBar_->setEnabled(max != 1);
    countText_->setText(QStringLiteral("Number of traces: %1").arg(t));

    constexpr int kMargin = 5;
    const int textHeight = countText_->sizeHint().height();
    const int barWidth = scrollBar_->sizeHint().width();
    const int barLeft = width() - kMargin - barWidth;
    const int barHeight = std::max(0, height() - 2 * kMargin - 2 - textHeight);
    if (width() > 0 && height() > 0 && barLeft >= 1)
        scrollBar_->setGeometry(barLeft, kMargin, barWidth, barHeight);
    const int textWidth = std::max(countText_->sizeHint().width(), 160);
    countText_->setGeometry(scrollBar_->geometry().right() + 1 - textWidth,
                            scrollBar_->geometry().bottom() + 3, textWidth, textHeight);
    const int each = scrollBar_->height() / p;
    const int shown = std::min(t, n);
    for (int k = 0; k < kMaxSlots; ++k) {
        if (!slots_[k]) continue;
        if (k < shown) {
            slots_[k]->setGeometry(15, kMargin + k * each, std::max(0, scrollBar_->x() - 15), each);
            slots_[k]->show();
        } else {
            slots_[k]->hide();
        }
    }
}

void CTraceView::resizeEvent(QResizeEvent* event) {
    CZarViewWidget::resizeEvent(event);
    LayoutControls();
}

void CTraceView::LoadTrace(int trace, int slot, CChro* control) {
    CVXResults* r = results();
    if (!r || r->displaySlotCount == 0) return;
    CChro* c = control ? control : SlotControl(slot);
    CVXUserResult* u = userResult(trace);
    if (!c || !c->Interface() || !u) return;
    guarded("loading a trace", [&] {
        const CVXChro& chro = u->chro;
        const CVXChroDisplay& d = u->chroDisplay;
        c->Call(&IChro::put_InfoID, trace);
        std::vector<VXPlot_DataPeak> points = PlotPeaks(chro.points.data(), chro.points.size());
        c->Call(&IChro::SetPeakData, points.empty() ? nullptr : points.data(),
                static_cast<std::int32_t>(points.size()));
        VXPlot_Filter filter;
        c->Call(&IChro::InitializeFilter, &filter);
        FillPlotFilter(chro.filter, filter);
        VXPlot_ChroInfo info;
        c->Call(&IChro::InitializeChroInfo, &info);
        info.eTraceType = static_cast<VXPlot_ChroTraceTypes>(chro.traceType);
        info.nSmoothingPoints = chro.smoothingPoints;
        info.eSmoothingType = static_cast<VXPlot_Smooth_Type>(1);
        std::vector<VXPlot_MassRange> ranges;
        for (const CVX_MassRange& m : chro.massRanges) ranges.push_back({m.low, m.high});
        c->Call(&IChro::SetTraceInfo, &info, &filter, static_cast<std::int32_t>(ranges.size()),
                ranges.empty() ? nullptr : ranges.data());
        BStr file(GetDocument()->GetRawFilePath());
        c->Call(&IChro::put_FileName, file.get());
        VXPlot_ChroLabels labels{};
        labels.bLabelRT = d.labelRetentionTime;
        labels.bLabelScanNumber = d.labelScanNumber;
        labels.bLabelBasePeak = d.labelBasePeak;
        labels.bLabelSignalToNoise = d.labelSignalToNoise;
        labels.bLabelFlags = d.labelFlags;
        labels.nLabelDecimals = d.labelDecimals;
        labels.dLabelThreshold = d.labelThreshold;
        c->Call(&IChro::SetLabelling, &labels);
        c->Call(&IChro::SetStyle, static_cast<VXPlot_ChroStyle>(d.plotStyle));
        c->Call(&IChro::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(d.yAxisScaleType));
        BStr x(d.XAxisChromatogramLabel()), yAbs(d.YAxisAbsoluteLabel()),
            yRel(d.YAxisRelativeLabel()), empty1{QString()}, empty2{QString()};
        c->Call(&IChro::SetAxisLabels, x.get(), yAbs.get(), yRel.get(), empty1.get(), empty2.get());
        QString detector;
        TranslateDetectorTypeToString(chro.detectorType, detector);
        BStr detectorText(detector);
        c->Call(&IChro::SetDetectorLabel, detectorText.get());
        if (d.xZoomed)
            c->Call(&IChro::SetXAxisLimits, d.xStart, d.xEnd);
        else
            c->Call(&IChro::SetXAxisLimits, chro.dataTimeStart, chro.dataTimeEnd);
        applyYLimits(trace, c);
        c->Call(&IChro::put_EnableManualBaselineDrag, 0);
        c->Call(&IChro::put_EnableManualZoom, 1);
        updatePeptideLabels(c);
    });
}

void CTraceView::applyYLimits(int trace, CChro* c) {
    CVXUserResult* u = userResult(trace);
    if (!u || !c || !c->Interface()) return;
    const YAxisLimits y = TraceYLimits(u->chro, u->chroDisplay);
    c->Call(&IChro::SetYAxisLimits, y.normalization, y.absoluteMin, y.absoluteMax, y.relativeMin,
            y.relativeMax);
}

void CTraceView::updatePeptideLabels(CChro* c) {
    CZarDoc* doc = GetDocument();
    if (!doc || doc->GetViewType() != kPepmapViewType) {
        c->Call(&IChro::ClearTextLabel);
        return;
    }
    CPepmapEngine* engine = doc->GetPepmapEngine();
    if (!engine) return;
    const int mode = engine->Options().labelMode;
    if (mode == kPepmapLabelNone || mode == kPepmapLabelOverwrite) c->Call(&IChro::ClearTextLabel);
    if (mode == kPepmapLabelNone) return;
    // A copy in scan order: the engine's list keeps the order the Pepmap table shows.
    PepmapPeptideList byScan = engine->Peptides();
    SortPepmapPeptides(byScan, kPepmapSortScan, false, false);
    const std::vector<PeptideLabel> labels = GroupPeptideLabels(byScan);
    VXPlot_LabelParams params{};
    c->Call(&IChro::GetTextLabelParams, &params);
    params.crTextColor = kPeptideLabelColor;
    for (const PeptideLabel& label : labels)
        c->Call(&IChro::AddTextLabel, WideText(label.text), label.time, label.intensity, &params);
}

void CTraceView::LoadAllTraces() {
    CVXResults* r = results();
    if (!r) return;
    const int n = std::clamp(r->displaySlotCount, 0, int(kMaxSlots));
    for (int k = 0; k < n && k < static_cast<int>(r->slotArray.size()); ++k) {
        if (CChro* c = SlotControl(k); c && c->Interface())
            guarded("numbering a trace", [&] { c->Call(&IChro::put_IndexNumber, k); });
        LoadTrace(r->slotArray[k], k);
    }
    // No scan picked yet (a negative time): no marker.
    CVXUserResult* u = userResult(r->currentTraceNumber);
    const double t = u ? u->currentScanPosition : -1.0;
    const int slot = GetTraceSlot(r->currentTraceNumber);
    if (t >= 0.0 && slot >= 0)
        guarded("showing the scan marker",
                [&] { showScanMarker(true, r->currentTraceNumber, t, SlotControl(slot)); });
}

void CTraceView::ReloadVisibleTraces() {
    CVXResults* r = results();
    if (!r) return;
    const int n = std::clamp(r->displaySlotCount, 0, int(kMaxSlots));
    CVXUserResult* cu = userResult(r->currentTraceNumber);
    const double t = cu ? cu->currentScanPosition : -1.0;
    for (int k = 0; k < n && k < static_cast<int>(r->slotArray.size()); ++k) {
        CChro* c = SlotControl(k);
        if (!c || !c->Interface()) continue;
        const bool current = r->slotArray[k] == r->currentTraceNumber;
        guarded("reloading a trace", [&] {
            c->Call(&IChro::put_IndexNumber, k);
            LoadTrace(r->slotArray[k], k);
            setFocusRect(c, current);
            showScanMarker(current && t >= 0.0, r->slotArray[k], t, c);
        });
        repaintSlot(k);
    }
}

bool CTraceView::IsTraceShown(int trace) const {
    return GetTraceSlot(trace) >= 0;
}

int CTraceView::GetTraceSlot(int trace) const {
    CVXResults* r = results();
    if (!r || r->slotArray.empty() || r->displaySlotCount < 1) return -1;
    const int n = std::min<int>(r->displaySlotCount, static_cast<int>(r->slotArray.size()));
    for (int k = 0; k < n; ++k)
        if (r->slotArray[k] == trace) return k;
    return -1;
}

void CTraceView::OnVScroll(int code, int position) {
    CVXResults* r = results();
    if (!r) return;
    const int p = std::max(1, r->tracesPerPage);
    const int last = std::max(1, r->tracesDefined - p + 1);
    const int pos = r->slotArray.empty() ? 1 : r->slotArray[0] + 1;
    int next = pos;
    switch (code) {
        case kLineUp:
            next = std::max(1, pos - 1);
            break;
        case kLineDown:
            next = std::min(last, pos + 1);
            break;
        case kPageUp:
            next = std::max(1, pos - p);
            break;
        case kPageDown:
            next = std::min(last, pos + p);
            break;
        case kThumbPosition:
        case kThumbTrack:
            next = std::clamp(position, 1, last);
            break;
        default:
            return;
    }
    if (next == pos) return;
    const int n = std::clamp(r->displaySlotCount, 0, int(kMaxSlots));
    r->slotArray.resize(n);
    for (int k = 0; k < n; ++k) r->slotArray[k] = next + k - 1;
    ReloadVisibleTraces();
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(next);
}

void CTraceView::showScanMarker(bool show, int trace, double time, CChro* c) {
    if (!c || !c->Interface()) return;
    CVXUserResult* u = userResult(trace);
    if (show && u)
        c->Call(&IChro::ShowPositionMarker, 1, TraceMarkerTime(u->chro, time));
    else
        c->Call(&IChro::ShowPositionMarker, 0, 0.0);
}

void CTraceView::setFocusRect(CChro* c, bool on) {
    if (c && c->Interface()) c->SetShowFocusRect(on);
}

void CTraceView::repaintSlot(int slot) {
    if (CChro* c = SlotControl(slot)) {
        c->update();
        if (c->ControlWindow()) c->ControlWindow()->update();
    }
}

void CTraceView::OnChroLButtonDown(int slot, int trace) {
    CVXResults* r = results();
    if (!r || trace == r->currentTraceNumber || !userResult(trace)) return;
    guarded("changing the current trace", [&] {
        const int oldSlot = GetTraceSlot(r->currentTraceNumber);
        if (oldSlot >= 0 && oldSlot != slot) {
            showScanMarker(false, r->currentTraceNumber, 0.0, SlotControl(oldSlot));
            setFocusRect(SlotControl(oldSlot), false);
            repaintSlot(oldSlot);
        }
    });
    r->currentTraceNumber = trace;
    r->currentTraceSlot = slot;
    r->currentUserResult = trace;
    const double t = GetDocument()->GetCurrentRetentionTime();
    guarded("showing the current trace", [&] {
        CChro* c = SlotControl(slot);
        if (t > 0.0) {
            showScanMarker(true, trace, t, c);
            setFocusRect(c, true);
            repaintSlot(slot);
        } else if (c && c->Interface()) {
            c->Call(&IChro::ShowFocusRectImmediate, 1);
        }
    });
    GetDocument()->UpdateAllViews(this, kHintScanRange);
    CommandStateChanged();
}

void CTraceView::OnChroLButtonUp(int slot, int, bool valid, double time, double intensity) {
    if (!valid) return;
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    if (u) {
        const double scanTime = TraceScanTime(u->chro, time);
        u->currentScanPosition = scanTime;
        if (scanTime >= 0.0) {
            guarded("moving the scan marker", [&] {
                showScanMarker(true, r->currentTraceNumber, scanTime, SlotControl(slot));
            });
            repaintSlot(slot);
            GetDocument()->UpdateAllViews(this, kHintScanRange);
        }
    }
    emit traceClicked(time, intensity);
}

void CTraceView::OnChroZoom(int slot, int trace, bool valid, double startTime,
                            double startIntensity, double endTime, double endIntensity) {
    if (!valid) return;
    CVXUserResult* u = userResult(trace);
    if (!u) return;
    CVXChroDisplay& d = u->chroDisplay;
    CChro* c = SlotControl(slot);
    guarded("zooming a trace", [&] {
        const ZoomBoxChange change =
            ZoomTraceToBox(d, startTime, startIntensity, endTime, endIntensity);
        if (change.x && c && c->Interface()) c->Call(&IChro::SetXAxisLimits, d.xStart, d.xEnd);
        applyYLimits(trace, c);
    });
    repaintSlot(slot);
    BroadcastRange(std::min(startTime, endTime), std::max(startTime, endTime));
    CommandStateChanged();
}

void CTraceView::OnChroArrowKey(int slot, int trace, bool right) {
    CVXUserResult* u = userResult(trace);
    if (!u) return;
    const PlotRange full{u->chro.dataTimeStart, u->chro.dataTimeEnd};
    CVXChroDisplay& d = u->chroDisplay;
    const bool moved = right ? ScrollTraceXRangeRight(d, full, kScrollFactor)
                             : ScrollTraceXRangeLeft(d, full, kScrollFactor);
    if (!moved) return;
    CChro* c = SlotControl(slot);
    guarded("scrolling a trace", [&] {
        if (c && c->Interface()) c->Call(&IChro::SetXAxisLimits, d.xStart, d.xEnd);
        applyYLimits(trace, c);
    });
    repaintSlot(slot);
}

void CTraceView::BroadcastRange(double start, double end) {
    CZarDoc* doc = GetDocument();
    if (!doc) return;
    doc->SetSelectedRange(start, end);
    BroadcastToTimeRangeTakers(start, end);
    switch (doc->GetViewType()) {
        case 5:
            doc->SetSummaryRange(start, end);
            break;
        case 10:
            doc->SetMassmapRange(start, end);
            break;
        case kPepmapViewType:
            if (CPepmapEngine* engine = doc->GetPepmapEngine())
                engine->SetScanRangeFromTimes(start, end);
            break;
        default:
            break;
    }
    if (CZarDocFrame* frame = doc->GetFrame()) frame->SetMSnTimeRange(start, end);
}

void CTraceView::OnCommand(int id) {
    CVXResults* r = results();
    if (!r) return;
    const int trace = r->currentTraceNumber;
    const int slot = GetTraceSlot(trace);
    CVXUserResult* u = userResult(trace);
    CChro* c = SlotControl(slot);
    if (id == ID_PLOT_RANGES) {
        openRanges();
        return;
    }
    if (id == ID_PLOT_SORVEX_DTA || id == ID_PLOT_SORVEX_SEARCH || id == ID_PLOT_ZARMASS) {
        if (CMainFrame* frame = CMainFrame::GetMainFrame()) RunFrameCommand(id, *frame);
        return;
    }
    if (!u) return;
    CVXChroDisplay& d = u->chroDisplay;
    const PlotRange xFull{u->chro.dataTimeStart, u->chro.dataTimeEnd};
    const PlotRange yFull{0.0, u->chro.dataIntensityHigh};
    guarded("a trace command", [&] {
        auto setX = [&](double a, double b) {
            if (c && c->Interface()) c->Call(&IChro::SetXAxisLimits, a, b);
        };
        auto finish = [&] {
            applyYLimits(trace, c);
            repaintSlot(slot);
        };
        switch (id) {
            case ID_PLOT_ZOOM_IN_Y:
                if (ZoomInTraceYRange(d, yFull, kZoomFactor)) finish();
                break;
            case ID_PLOT_ZOOM_OUT_Y:
                if (ZoomOutTraceYRange(d, yFull, kZoomFactor)) finish();
                break;
            case ID_PLOT_NORMALIZE:
                d.yZoomed = 0;
                finish();
                break;
            case ID_PLOT_ZOOM_IN_X:
                if (ZoomInTraceXRange(d, xFull, kZoomFactor)) {
                    setX(d.xStart, d.xEnd);
                    finish();
                    BroadcastRange(d.xStart, d.xEnd);
                }
                break;
            case ID_PLOT_ZOOM_OUT_X:
                if (ZoomOutTraceXRange(d, xFull, kZoomFactor)) {
                    const double a = d.xZoomed ? d.xStart : xFull.low;
                    const double b = d.xZoomed ? d.xEnd : xFull.high;
                    setX(a, b);
                    finish();
                    BroadcastRange(a, b);
                }
                break;
            case ID_PLOT_DISPLAY_ALL:
            case ID_PLOT_RESET_SCALING:
                d.xZoomed = 0;
                if (id == ID_PLOT_RESET_SCALING) d.yZoomed = 0;
                setX(xFull.low, xFull.high);
                finish();
                BroadcastRange(xFull.low, xFull.high);
                break;
            case ID_PLOT_TRACE_COPY: {
                CChro offscreen;
                if (createControl(offscreen, QRect(-50, -50, 25, 25), 0, 0, u->Name())) {
                    LoadTrace(trace, 0, &offscreen);
                    offscreen.Call(&IChro::CopyToClipboard);
                }
                break;
            }
            case ID_PLOT_TRACE_PRINT:
                PrintWithDialog();
                break;
            case ID_PLOT_EXPORT_CHROMATOGRAM:
                ExportChromatogramText();
                break;
            case ID_PLOT_DISPLAY_OPTIONS:
                openDisplayOptions();
                break;
            default:
                break;
        }
    });
    CommandStateChanged();
}

bool CTraceView::ExportChromatogramText() {
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    if (!u) return false;
    const QString title = u->Name().isEmpty()
                              ? QStringLiteral("User trace %1").arg(r->currentTraceNumber + 1)
                              : u->Name();
    const CVXChroDisplay& d = u->chroDisplay;
    const double start = d.xZoomed ? d.xStart : u->chro.dataTimeStart;
    const double end = d.xZoomed ? d.xEnd : u->chro.dataTimeEnd;
    return CopyTextToClipboard(
        ChromatogramText(title, u->chro, start, end, GetDocument()->ListSeparator()));
}

bool CTraceView::HasViewCommand(int id) const {
    return id == ID_FILE_PRINT || (id >= ID_PLOT_ZOOM_IN_Y && id <= ID_PLOT_RESET_SCALING);
}

bool CTraceView::IsViewCommandEnabled(int id) const {
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    if (!u || !HasViewCommand(id)) return false;
    const CVXChroDisplay& d = u->chroDisplay;
    switch (id) {
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
            return d.yZoomed != 0;
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
            return d.xZoomed != 0;
        case ID_PLOT_RESET_SCALING:
            return d.xZoomed || d.yZoomed;
        default:
            return true;
    }
}

void CTraceView::OnViewCommand(int id) {
    if (!IsViewCommandEnabled(id)) return;
    if (id == ID_FILE_PRINT)
        PrintWithDialog();
    else
        OnCommand(id);
}

void CTraceView::PrintPages(QPainter& painter, QPrinter& printer) {
    const PrinterPage p = PrintablePage(printer);
    PrintPage(painter, p.page, p.dpi, p.dpi, p.landscape);
}

void CTraceView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                           bool landscape) {
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    if (!u) return;
    CChro offscreen;
    if (!createControl(offscreen, QRect(-50, -50, 25, 25), 0, 0, u->Name())) return;
    guarded("printing", [&] {
        LoadTrace(r->currentTraceNumber, 0, &offscreen);
        const PrintedPage p = LayOutPrintedPage(page, dpiX, dpiY, landscape);
        CZarDoc* doc = GetDocument();
        doc->PrintPageFooter(painter, doc->GetRawFilePath(), u->Name(), 1, 1, p.footer, dpiX, dpiY);
        std::uintptr_t dc = reinterpret_cast<std::uintptr_t>(&painter);
        tagRECT target{p.plot.left(), p.plot.top(), p.plot.right() + 1, p.plot.bottom() + 1};
        offscreen.Call(&IChro::Draw, &dc, &dc, 1, &target, 0);
        doc->PrintPageHeader(painter, p.header, dpiX, dpiY);
    });
}

void CTraceView::AddTextLabel(const QString& text, double x, double y, VXPlot_LabelParams* params) {
    CChro* c = SlotControl(0);
    if (!c || !c->Interface()) return;
    guarded("adding a label", [&] { c->Call(&IChro::AddTextLabel, WideText(text), x, y, params); });
    repaintSlot(0);
}

void CTraceView::ClearTextLabels() {
    CChro* c = SlotControl(0);
    if (!c || !c->Interface()) return;
    guarded("clearing labels", [&] { c->Call(&IChro::ClearTextLabel); });
    repaintSlot(0);
}

void CTraceView::openRanges() {
    CZarDoc* doc = GetDocument();
    CVXResults* r = results();
    if (!doc || !r) return;
    CUserTraceDialog dialog(this);
    dialog.SetTitle(QStringLiteral("Chromatogram Ranges"));
    dialog.SetScanFilters(doc->GetScanFilterList());
    dialog.SetTraces(r->userTraceDefs.GetSize() > 0 ? r->userTraceDefs : DefaultTraceDefinitions());
    if (dialog.DoModal() != QDialog::Accepted) return;
    dialog.GetTraces(r->userTraceDefs);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (doc->ReadChromatogram(false, true) && doc->ReadChromatogramsRange(true, true, true))
        doc->ReadChromatograms(true, true, true);
    CreateTraceControls(true);
    LayoutControls();
    LoadAllTraces();
    doc->UpdateAllViews(this, kHintRefillResults);
    QApplication::restoreOverrideCursor();
}

void CTraceView::openDisplayOptions() {
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    if (!u) return;
    CChroDisplayOptionsDialog dialog(this);
    const CVXChroDisplay& d = u->chroDisplay;
    dialog.labelThreshold = d.labelThreshold;
    dialog.labelBasePeak = d.labelBasePeak;
    dialog.labelFlags = d.labelFlags;
    dialog.labelRetentionTime = d.labelRetentionTime;
    dialog.labelScanNumber = d.labelScanNumber;
    dialog.offerSignalToNoise = 0;
    if (dialog.DoModal() != QDialog::Accepted) return;
    auto write = [&](CVXChroDisplay& t) {
        t.labelThreshold = dialog.labelThreshold;
        t.labelBasePeak = dialog.labelBasePeak;
        t.labelFlags = dialog.labelFlags;
        t.labelRetentionTime = dialog.labelRetentionTime;
        t.labelScanNumber = dialog.labelScanNumber;
    };
    if (dialog.applyToAll) {
        for (CVXUserResult& each : r->userResults) write(each.chroDisplay);
        GetDocument()->UpdateAllViews(nullptr, kHintRefillResults);
    } else {
        write(u->chroDisplay);
        const int slot = GetTraceSlot(r->currentTraceNumber);
        if (slot >= 0) {
            LoadTrace(r->currentTraceNumber, slot);
            repaintSlot(slot);
        }
    }
}

std::unique_ptr<QMenu> CTraceView::BuildContextMenu() {
    CVXResults* r = results();
    CVXUserResult* u = r ? userResult(r->currentTraceNumber) : nullptr;
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int command) { OnCommand(command); };
    auto add = [&run](QMenu* m, int id, const char* text) {
        return AddCommandItem(m, id, text, run);
    };
    add(menu.get(), ID_PLOT_TRACE_COPY, "&Copy");
    add(menu.get(), ID_PLOT_TRACE_PRINT, "&Print...");
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    add(exportMenu, ID_PLOT_EXPORT_CHROMATOGRAM, "Clipboard (&Chromatogram)");
    menu->addSeparator();
    AddZoomItems(menu.get(), run);
    menu->addSeparator();
    add(menu.get(), ID_PLOT_DISPLAY_OPTIONS, "&Display Options...");
    add(menu.get(), ID_PLOT_RANGES, "&Ranges...");
    menu->addSeparator();
    AddSearchItems(menu.get(), run);
    const bool xZoomed = u && u->chroDisplay.xZoomed;
    const bool yZoomed = u && u->chroDisplay.yZoomed;
    const int viewType = GetDocument() ? GetDocument()->GetViewType() : -1;
    const bool msTrace = u && u->chro.detectorType == kVXMSDevice;
    ForEachCommandItem(menu.get(), [&](QAction* a, int id) {
        switch (id) {
            case ID_PLOT_ZOOM_OUT_Y:
            case ID_PLOT_NORMALIZE:
                a->setEnabled(yZoomed);
                break;
            case ID_PLOT_ZOOM_OUT_X:
            case ID_PLOT_DISPLAY_ALL:
                a->setEnabled(xZoomed);
                break;
            case ID_PLOT_RESET_SCALING:
                a->setEnabled(xZoomed || yZoomed);
                break;
            // The search and deconvolution items are the main window's commands: enabled only
            // when something answers them.
            case ID_PLOT_SORVEX_DTA:
            case ID_PLOT_SORVEX_SEARCH:
                a->setEnabled((viewType == 1 || viewType == 5) && msTrace && HasFrameCommand(id));
                break;
            case ID_PLOT_ZARMASS:
                a->setEnabled(viewType == 6 && HasFrameCommand(id));
                break;
            default:
                break;
        }
    });
    return menu;
}

}  // namespace zar
