#include "TraceView.h"

#include "ChroDisplayOptionsDialog.h"
#include "PaneSupport.h"
#include "PeptideLabels.h"
#include "PlotFeeding.h"
#include "SpectrumPanes.h"
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
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>


namespace zar {

using namespace ZAR_PLOTLib;

CTraceView::CTraceView(QWidget* parent)
    : CZarViewWidget(parent),
      CChroPane(this, "Trace view"),
      scrollBar_(new QScrollBar(Qt::Vertical, this)),
      countText_(new QLabel(QStringLiteral("Number of traces: 0"), this)) {
    setObjectName(QStringLiteral("CTraceView"));
    scrollBar_->setRange(1, 1);
    countText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ConnectScrollSteps(scrollBar_, this,
                       [this](ScrollStep step, int position) { OnVScroll(step, position); });
}

CTraceView::~CTraceView() {
    destroyControls();
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
            if (t >= 0.0 && slot >= 0) moveScanMarker(slot, r->currentTraceNumber, t);
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
            if (t >= 0.0 && slot >= 0) moveScanMarker(slot, r->currentTraceNumber, t);
            break;
        }
        default:
            break;
    }
}

void CTraceView::destroyControls() {
    for (auto& c : slots_) c.reset();
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
        CVXUserResult* u = userResult(r->slotArray[k]);
        slots_[k] =
            CreateChroControl(QRect(5, 5, 25, 25), kControlId, k, u ? u->Name() : QString());
    }
    const int current = GetTraceSlot(r->currentTraceNumber);
    if (current >= 0)
        Guarded("showing the focus", [&] { setFocusRect(SlotControl(current), true); });
}

void CTraceView::PrepareControl(CChro& control) {
    double left = 0.0;
    double right = 0.0;
    if (CZarDoc* doc = GetDocument()) doc->GetChroTraceInfo(left, right);
    control.Call(&IChro::SetLeftRightAxesWidths, left, right);
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
    CVXUserResult* u = userResult(trace);
    if (!u) return;
    HandOver(control ? control : SlotControl(slot), "loading a trace", [&](CChro& c) {
        const CVXChro& chro = u->chro;
        const CVXChroDisplay& d = u->chroDisplay;
        c.Call(&IChro::put_InfoID, trace);
        std::vector<VXPlot_DataPeak> points = PlotPeaks(chro.points.data(), chro.points.size());
        c.Call(&IChro::SetPeakData, points.empty() ? nullptr : points.data(),
               static_cast<std::int32_t>(points.size()));
        VXPlot_Filter filter;
        c.Call(&IChro::InitializeFilter, &filter);
        FillPlotFilter(chro.filter, filter);
        VXPlot_ChroInfo info;
        c.Call(&IChro::InitializeChroInfo, &info);
        info.eTraceType = static_cast<VXPlot_ChroTraceTypes>(chro.traceType);
        info.nSmoothingPoints = chro.smoothingPoints;
        info.eSmoothingType = static_cast<VXPlot_Smooth_Type>(1);
        std::vector<VXPlot_MassRange> ranges;
        for (const CVX_MassRange& m : chro.massRanges) ranges.push_back({m.low, m.high});
        c.Call(&IChro::SetTraceInfo, &info, &filter, static_cast<std::int32_t>(ranges.size()),
               ranges.empty() ? nullptr : ranges.data());
        BStr file(GetDocument()->GetRawFilePath());
        c.Call(&IChro::put_FileName, file.get());
        VXPlot_ChroLabels labels{};
        labels.bLabelRT = d.labelRetentionTime;
        labels.bLabelScanNumber = d.labelScanNumber;
        labels.bLabelBasePeak = d.labelBasePeak;
        labels.bLabelSignalToNoise = d.labelSignalToNoise;
        labels.bLabelFlags = d.labelFlags;
        labels.nLabelDecimals = d.labelDecimals;
        labels.dLabelThreshold = d.labelThreshold;
        c.Call(&IChro::SetLabelling, &labels);
        c.Call(&IChro::SetStyle, static_cast<VXPlot_ChroStyle>(d.plotStyle));
        c.Call(&IChro::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(d.yAxisScaleType));
        BStr x(d.XAxisChromatogramLabel()), yAbs(d.YAxisAbsoluteLabel()),
            yRel(d.YAxisRelativeLabel()), empty1{QString()}, empty2{QString()};
        c.Call(&IChro::SetAxisLabels, x.get(), yAbs.get(), yRel.get(), empty1.get(), empty2.get());
        QString detector;
        TranslateDetectorTypeToString(chro.detectorType, detector);
        BStr detectorText(detector);
        c.Call(&IChro::SetDetectorLabel, detectorText.get());
        ApplyTraceXLimits(c, d, {chro.dataTimeStart, chro.dataTimeEnd});
        ApplyTraceYLimits(c, chro, d);
        c.Call(&IChro::put_EnableManualBaselineDrag, 0);
        c.Call(&IChro::put_EnableManualZoom, 1);
        updatePeptideLabels(&c);
    });
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
        HandOver(SlotControl(k), "numbering a trace",
                 [&](CChro& c) { c.Call(&IChro::put_IndexNumber, k); });
        LoadTrace(r->slotArray[k], k);
    }
    // No scan picked yet (a negative time): no marker.
    CVXUserResult* u = userResult(r->currentTraceNumber);
    const double t = u ? u->currentScanPosition : -1.0;
    const int slot = GetTraceSlot(r->currentTraceNumber);
    if (t >= 0.0 && slot >= 0) moveScanMarker(slot, r->currentTraceNumber, t);
}

void CTraceView::ReloadVisibleTraces() {
    CVXResults* r = results();
    if (!r) return;
    const int n = std::clamp(r->displaySlotCount, 0, int(kMaxSlots));
    CVXUserResult* cu = userResult(r->currentTraceNumber);
    const double t = cu ? cu->currentScanPosition : -1.0;
    for (int k = 0; k < n && k < static_cast<int>(r->slotArray.size()); ++k) {
        const bool current = r->slotArray[k] == r->currentTraceNumber;
        HandOver(SlotControl(k), "reloading a trace", [&](CChro& c) {
            c.Call(&IChro::put_IndexNumber, k);
            LoadTrace(r->slotArray[k], k);
            setFocusRect(&c, current);
            showScanMarker(current && t >= 0.0, r->slotArray[k], t, &c);
        });
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

void CTraceView::OnVScroll(ScrollStep step, int position) {
    CVXResults* r = results();
    if (!r) return;
    const int p = std::max(1, r->tracesPerPage);
    const int last = std::max(1, r->tracesDefined - p + 1);
    const int pos = r->slotArray.empty() ? 1 : r->slotArray[0] + 1;
    int next = pos;
    switch (step) {
        case ScrollStep::LineBack:
            next = std::max(1, pos - 1);
            break;
        case ScrollStep::LineForward:
            next = std::min(last, pos + 1);
            break;
        case ScrollStep::PageBack:
            next = std::max(1, pos - p);
            break;
        case ScrollStep::PageForward:
            next = std::min(last, pos + p);
            break;
        case ScrollStep::ThumbPosition:
        case ScrollStep::ThumbTrack:
            next = std::clamp(position, 1, last);
            break;
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

void CTraceView::moveScanMarker(int slot, int trace, double time) {
    HandOver(SlotControl(slot), "moving the scan marker",
             [&](CChro& c) { showScanMarker(true, trace, time, &c); });
}

void CTraceView::setFocusRect(CChro* c, bool on) {
    if (c && c->Interface()) c->SetShowFocusRect(on);
}

void CTraceView::OnChroLButtonDown(int slot, int trace) {
    CVXResults* r = results();
    if (!r || trace == r->currentTraceNumber || !userResult(trace)) return;
    const int oldSlot = GetTraceSlot(r->currentTraceNumber);
    if (oldSlot >= 0 && oldSlot != slot) {
        const int oldTrace = r->currentTraceNumber;
        HandOver(SlotControl(oldSlot), "changing the current trace", [&](CChro& c) {
            showScanMarker(false, oldTrace, 0.0, &c);
            setFocusRect(&c, false);
        });
    }
    r->currentTraceNumber = trace;
    r->currentTraceSlot = slot;
    r->currentUserResult = trace;
    const double t = GetDocument()->GetCurrentRetentionTime();
    HandOver(SlotControl(slot), "showing the current trace", [&](CChro& c) {
        if (t > 0.0) {
            showScanMarker(true, trace, t, &c);
            setFocusRect(&c, true);
        } else {
            c.Call(&IChro::ShowFocusRectImmediate, 1);
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
            moveScanMarker(slot, r->currentTraceNumber, scanTime);
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
    ZoomToBox(SlotControl(slot), u->chro, u->chroDisplay,
              {u->chro.dataTimeStart, u->chro.dataTimeEnd}, startTime, startIntensity, endTime,
              endIntensity);
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
    if (moved) applyTraceLimits(slot, trace);
}

void CTraceView::applyTraceLimits(int slot, int trace) {
    CVXUserResult* u = userResult(trace);
    if (!u) return;
    HandOver(SlotControl(slot), "showing a time range", [&](CChro& c) {
        ApplyTraceXLimits(c, u->chroDisplay, {u->chro.dataTimeStart, u->chro.dataTimeEnd});
        ApplyTraceYLimits(c, u->chro, u->chroDisplay);
    });
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
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
        case ID_PLOT_ZOOM_IN_X:
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
        case ID_PLOT_RESET_SCALING: {
            const int changed = ZoomTrace(id, d, xFull, yFull);
            if (changed != kZoomChangedNothing) applyTraceLimits(slot, trace);
            // A new time range is everybody's.
            if (changed & kZoomChangedX) {
                const PlotRange shown = ShownTimeRange(d, xFull);
                BroadcastRange(shown.low, shown.high);
            }
            break;
        }
        case ID_PLOT_TRACE_COPY:
            if (std::unique_ptr<CChro> offscreen = CreateOffscreenControl(0, u->Name())) {
                LoadTrace(trace, 0, offscreen.get());
                Guarded("copying", [&] { offscreen->Call(&IChro::CopyToClipboard); });
            }
            break;
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
    return id == ID_FILE_PRINT || IsTraceZoomEnabled(id, u->chroDisplay);
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
    PrintThroughOffscreenControls(
        painter, page, dpiX, dpiY, landscape, u->Name(), 1, u->Name(),
        [&](int, CChro& c) { LoadTrace(r->currentTraceNumber, 0, &c); },
        [&](const QRect& plot, const std::vector<CChro*>& controls) {
            DrawChroControl(*controls.front(), painter, plot);
        });
}

void CTraceView::AddTextLabel(const QString& text, double x, double y, VXPlot_LabelParams* params) {
    HandOver(SlotControl(0), "adding a label",
             [&](CChro& c) { c.Call(&IChro::AddTextLabel, WideText(text), x, y, params); });
}

void CTraceView::ClearTextLabels() {
    HandOver(SlotControl(0), "clearing labels", [](CChro& c) { c.Call(&IChro::ClearTextLabel); });
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
        if (slot >= 0) LoadTrace(r->currentTraceNumber, slot);
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
    const int viewType = GetDocument() ? GetDocument()->GetViewType() : -1;
    const bool msTrace = u && u->chro.detectorType == kVXMSDevice;
    ForEachCommandItem(menu.get(), [&](QAction* a, int id) {
        switch (id) {
            case ID_PLOT_ZOOM_OUT_Y:
            case ID_PLOT_NORMALIZE:
            case ID_PLOT_ZOOM_OUT_X:
            case ID_PLOT_DISPLAY_ALL:
            case ID_PLOT_RESET_SCALING:
                a->setEnabled(u && IsTraceZoomEnabled(id, u->chroDisplay));
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
