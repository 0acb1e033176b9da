#include "ChroPane.h"

#include "PlotFeeding.h"
#include "PlotPane.h"
#include "SpectrumPanes.h"
#include "ViewCommands.h"
#include "app/plotwrappers/PlotWrappers.h"

#include <QCursor>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace zar {

using namespace ZAR_PLOTLib;

CChroPane::CChroPane(QWidget* host, const char* paneName) : CPaneBase(host, paneName) {}

CChroPane::~CChroPane() = default;

void CChroPane::HandOver(CChro* control, const char* what,
                         const std::function<void(CChro&)>& step) {
    HandOverTo(control, PaneName(), what, step);
}

std::unique_ptr<CChro> CChroPane::CreateChroControl(const QRect& rect, int id, int index,
                                                    const QString& noDataText) {
    auto control = std::make_unique<CChro>();
    // A control whose initialisation failed (logged) stays, as an empty plot.
    CreatePaneControl(*control, Host(), rect, id, PaneName(), noDataText);
    if (!control->Interface()) return nullptr;
    Guarded("preparing the control", [&] {
        control->Call(&IChro::put_IndexNumber, index);
        PrepareControl(*control);
    });
    routeEvents(*control);
    return control;
}

std::unique_ptr<CChro> CChroPane::CreateOffscreenControl(int index, const QString& noDataText) {
    auto control = std::make_unique<CChro>();
    if (!CreatePaneControl(*control, Host(), QRect(-50, -50, 25, 25), 0, PaneName(), noDataText))
        return nullptr;
    bool ready = false;
    Guarded("preparing the control", [&] {
        control->Call(&IChro::put_IndexNumber, index);
        PrepareControl(*control);
        ready = true;
    });
    return ready ? std::move(control) : nullptr;
}

void CChroPane::routeEvents(CChro& c) {
    c.OnEvent(ChroEvents::kChroLButtonDown,
              [this](const DispArgs& a) { OnChroLButtonDown(a.longAt(0), a.longAt(1)); });
    c.OnEvent(ChroEvents::kChroRButtonDown, [this](const DispArgs& a) {
        OnChroLButtonDown(a.longAt(0), a.longAt(1));
        // The menu shows once the control has handled its click: a command of the menu may make
        // the pane's controls anew, the clicked one among them.
        const QPoint at = QCursor::pos();
        QMetaObject::invokeMethod(
            Host(), [this, at] { ShowContextMenu(at); }, Qt::QueuedConnection);
    });
    c.OnEvent(ChroEvents::kChroLButtonUp, [this](const DispArgs& a) {
        OnChroLButtonUp(a.longAt(0), a.longAt(1), a.longAt(2) != 0, a.doubleAt(3), a.doubleAt(4));
    });
    c.OnEvent(ChroEvents::kChroZoom, [this](const DispArgs& a) {
        OnChroZoom(a.longAt(0), a.longAt(1), a.longAt(2) != 0, a.doubleAt(3), a.doubleAt(4),
                   a.doubleAt(5), a.doubleAt(6));
    });
    c.OnEvent(ChroEvents::kChroLeftKeyPressed,
              [this](const DispArgs& a) { OnChroArrowKey(a.longAt(0), a.longAt(1), false); });
    c.OnEvent(ChroEvents::kChroRightKeyPressed,
              [this](const DispArgs& a) { OnChroArrowKey(a.longAt(0), a.longAt(1), true); });
    // The control's right-click event opens the menu: the context-menu event of the same click
    // must not open another one from the windows around it.
    KeepContextMenuEventsIn(&c);
    KeepContextMenuEventsIn(c.ControlWindow());
}

void CChroPane::OnChroLButtonDown(int, int) {}

void CChroPane::OnChroLButtonUp(int, int, bool, double, double) {}

void CChroPane::OnChroZoom(int, int, bool, double, double, double, double) {}

void CChroPane::OnChroArrowKey(int, int, bool) {}

bool CChroPane::IsTraceZoomEnabled(int id, const CVXChroDisplay& d) {
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
        case ID_PLOT_ZOOM_IN_X:
            return true;
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
            return d.yZoomed != 0;
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
            return d.xZoomed != 0;
        case ID_PLOT_RESET_SCALING:
            return d.xZoomed || d.yZoomed;
        default:
            return false;
    }
}

int CChroPane::ZoomTrace(int id, CVXChroDisplay& d, const PlotRange& xFull,
                         const PlotRange& yFull) {
    // The stepwise zooms, each on one axis; they change nothing at their limits.
    struct Step {
        int id;
        bool (*zoom)(CVXChroDisplay&, const PlotRange&, double);
        int axis;
    };
    static constexpr Step kSteps[] = {{ID_PLOT_ZOOM_IN_Y, &ZoomInTraceYRange, kZoomChangedY},
                                      {ID_PLOT_ZOOM_OUT_Y, &ZoomOutTraceYRange, kZoomChangedY},
                                      {ID_PLOT_ZOOM_IN_X, &ZoomInTraceXRange, kZoomChangedX},
                                      {ID_PLOT_ZOOM_OUT_X, &ZoomOutTraceXRange, kZoomChangedX}};
    for (const Step& step : kSteps) {
        if (step.id != id) continue;
        const PlotRange& full = step.axis == kZoomChangedX ? xFull : yFull;
        return step.zoom(d, full, kZoomFactor) ? step.axis : kZoomChangedNothing;
    }
    switch (id) {
        case ID_PLOT_NORMALIZE:
            d.yZoomed = 0;
            return kZoomChangedY;
        case ID_PLOT_DISPLAY_ALL:
            d.xZoomed = 0;
            return kZoomChangedX;
        case ID_PLOT_RESET_SCALING:
            d.xZoomed = 0;
            d.yZoomed = 0;
            return kZoomChangedX | kZoomChangedY;
        default:
            return kZoomChangedNothing;
    }
}

PlotRange CChroPane::ShownTimeRange(const CVXChroDisplay& d, const PlotRange& xFull) {
    return d.xZoomed ? PlotRange{d.xStart, d.xEnd} : xFull;
}

void CChroPane::ApplyTraceXLimits(CChro& c, const CVXChroDisplay& d, const PlotRange& xFull) {
    const PlotRange shown = ShownTimeRange(d, xFull);
    c.Call(&IChro::SetXAxisLimits, shown.low, shown.high);
}

void CChroPane::ApplyTraceYLimits(CChro& c, const CVXChro& chro, const CVXChroDisplay& d) {
    const YAxisLimits y = TraceYLimits(chro, d);
    c.Call(&IChro::SetYAxisLimits, y.normalization, y.absoluteMin, y.absoluteMax, y.relativeMin,
           y.relativeMax);
}

void CChroPane::ZoomToBox(CChro* control, const CVXChro& chro, CVXChroDisplay& d,
                          const PlotRange& xFull, double startTime, double startIntensity,
                          double endTime, double endIntensity) {
    const ZoomBoxChange change =
        zar::ZoomTraceToBox(d, startTime, startIntensity, endTime, endIntensity);
    HandOver(control, "zooming", [&](CChro& c) {
        if (change.x) ApplyTraceXLimits(c, d, xFull);
        ApplyTraceYLimits(c, chro, d);
    });
}

void CChroPane::AttachTimeScrollBar(QScrollBar* bar) {
    scrollBar_ = bar;
    if (!bar) return;
    bar->setRange(0, 0);
    ConnectScrollSteps(bar, Host(),
                       [this](ScrollStep step, int position) { OnTimeScroll(step, position); });
}

void CChroPane::UpdateTimeScrollBar(double start, double end) {
    if (!scrollBar_) return;
    const PlotRange full = FullTimeRange();
    const double span = full.span();
    const QSignalBlocker block(scrollBar_);
    // A run of one scan (or none) has nothing to scroll.
    if (!(span > 0.0)) {
        scrollBar_->setRange(0, 0);
        scrollBar_->setPageStep(100);
        scrollBar_->setValue(0);
        scrollBar_->setEnabled(false);
        return;
    }
    const int position = std::clamp(static_cast<int>((start - full.low) * 100.0 / span), 0, 100);
    const int page = std::clamp(static_cast<int>((end - start) * 100.0 / span + 1.0), 1, 100);
    scrollBar_->setRange(0, 100 - page);
    scrollBar_->setPageStep(page);
    scrollBar_->setValue(position);
    scrollBar_->setEnabled(page < 100);
}

void CChroPane::OnTimeScroll(ScrollStep step, int position) {
    if (!scrollBar_) return;
    const int page = scrollBar_->pageStep();
    switch (step) {
        case ScrollStep::ThumbPosition: {
            const QSignalBlocker block(scrollBar_);
            scrollBar_->setValue(position);
            return;
        }
        case ScrollStep::ThumbTrack:
            ShowTimePercent(position, page);
            return;
        default:
            break;
    }
    // The line and page steps, in the order of their scroll codes.
    static constexpr PercentScroll kPercentSteps[] = {
        PercentScroll::LineBack, PercentScroll::LineForward, PercentScroll::PageBack,
        PercentScroll::PageForward};
    const int next = PercentScrollTarget(kPercentSteps[ScrollCodeOf(step)], scrollBar_->value(),
                                         page, 0, std::max(0, 100 - page));
    ShowTimePercent(next, page);
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(next);
}

PlotRange CChroPane::TimeWindowOfPercent(int position, int page) const {
    const PlotRange full = FullTimeRange();
    const double start = std::max(full.low, full.low + position * 0.01 * full.span());
    return {start, std::min(full.high, start + page * 0.01 * full.span())};
}

void CChroPane::PrintThroughOffscreenControls(
    QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape, const QString& title,
    int count, const QString& noDataText, const std::function<void(int, CChro&)>& load,
    const std::function<void(const QRect&, const std::vector<CChro*>&)>& drawPlot) {
    std::vector<std::unique_ptr<CChro>> hidden;
    std::vector<CChro*> controls;
    for (int k = 0; k < count; ++k) {
        std::unique_ptr<CChro> control = CreateOffscreenControl(k, noDataText);
        if (!control) return;
        load(k, *control);
        controls.push_back(control.get());
        hidden.push_back(std::move(control));
    }
    Guarded("printing", [&] {
        PrintPlotPage(
            painter, page, dpiX, dpiY, landscape,
            [&](const QRect& plot) { drawPlot(plot, controls); }, title);
    });
}

}  // namespace zar
