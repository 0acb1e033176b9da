#include "PlotPane.h"

#include "PlotFeeding.h"
#include "SpectrumPanes.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/plotwrappers/PlotWrappers.h"

#include <QCursor>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace zar {

using namespace ZAR_PLOTLib;

void KeepContextMenuEventsIn(QWidget* child) {
    // The child asks for its menu itself; Qt's own request after the same click stops here.
    if (child) child->setContextMenuPolicy(Qt::PreventContextMenu);
}

CPlotPane::CPlotPane(QWidget* host, const char* paneName) : CPaneBase(host, paneName) {}

CPlotPane::~CPlotPane() = default;

bool CPlotPane::CreatePlotControl(const QRect& rect, const QString& noDataText) {
    control_.reset();
    noDataText_ = noDataText;
    auto control = std::make_unique<CSpec>();
    if (!control->Create(Host(), rect, 0)) return false;
    Guarded("initialising the control", [&] {
        control->Call(&ISpec::Initialize);
        if (!noDataText.isEmpty()) control->Call(&ISpec::put_NoDataText, WideText(noDataText));
    });
    control->OnEvent(SpecEvents::kSpecRButtonDown,
                     [this](const DispArgs&) { ShowContextMenu(QCursor::pos()); });
    control->OnEvent(SpecEvents::kSpecLButtonUp, [this](const DispArgs& a) {
        OnSpecLButtonUp(a.longAt(0) != 0, a.doubleAt(1), a.doubleAt(2));
    });
    control->OnEvent(SpecEvents::kSpecZoom, [this](const DispArgs& a) {
        OnSpecZoom(a.longAt(0) != 0, a.doubleAt(1), a.doubleAt(2), a.doubleAt(3), a.doubleAt(4));
    });
    control->OnEvent(SpecEvents::kSpecLeftKeyPressed,
                     [this](const DispArgs&) { OnPlotArrowKey(false); });
    control->OnEvent(SpecEvents::kSpecRightKeyPressed,
                     [this](const DispArgs&) { OnPlotArrowKey(true); });
    // The control's right-click event opens the menu: the context-menu event of the same click
    // must not open it a second time from the pane around it.
    KeepContextMenuEventsIn(control.get());
    KeepContextMenuEventsIn(control->ControlWindow());
    control_ = std::move(control);
    return true;
}

bool CPlotPane::DataValid() const {
    if (!control_ || !control_->Interface()) return false;
    std::int32_t valid = 0;
    return SUCCEEDED(control_->Interface()->get_DataValid(&valid)) && valid != 0;
}

void CPlotPane::HandOver(const char* what, const std::function<void(CSpec&)>& step) {
    if (control_ && control_->Interface()) Guarded(what, [&] { step(*control_); });
    Redraw();
}

void CPlotPane::Redraw() {
    if (control_) control_->RedrawControl();
}

void CPlotPane::SetNoDataText(const QString& text) {
    noDataText_ = text;
    if (control_ && control_->Interface()) control_->Interface()->put_NoDataText(WideText(text));
}

void CPlotPane::SetDataValid(bool valid) {
    if (control_ && control_->Interface()) control_->Call(&ISpec::put_DataValid, valid ? 1 : 0);
}

void CPlotPane::AddTextLabel(const QString& text, double x, double y, VXPlot_LabelParams* params) {
    HandOver("adding a label",
             [&](CSpec& c) { c.Call(&ISpec::AddTextLabel, WideText(text), x, y, params); });
}

void CPlotPane::ClearTextLabels() {
    HandOver("clearing labels", [](CSpec& c) { c.Call(&ISpec::ClearTextLabel); });
}

int CPlotPane::PickedPeak(double mass) const {
    return PickSpectrumPeak(PlotSpectrum(), mass);
}

void CPlotPane::OnSpecLButtonUp(bool valid, double mass, double) {
    // A click outside the data names no mass.
    if (!valid) return;
    const int i = PickedPeak(mass);
    if (i < 0) return;
    const CVXDataPeak& p = PlotSpectrum().peaks[static_cast<std::size_t>(i)];
    OnPeakPicked(p.dPosition, p.dIntensity);
}

PlotRange CPlotPane::FullMassRange() const {
    const CVXSpectrumHeaderData& h = PlotSpectrum().header.data;
    return {h.dLowMass, h.dHighMass};
}

PlotRange CPlotPane::FullIntensityRange() const {
    const CVXSpectrumHeaderData& h = PlotSpectrum().header.data;
    return {h.dMinPeakIntensity, h.dBasePeakIntensity};
}

void CPlotPane::ApplyXLimits(CSpec& c) {
    const CVXSpecDisplay* d = ZoomDisplay();
    const PlotRange full = FullMassRange();
    double low = d && d->xZoomed ? d->xStart : full.low;
    double high = d && d->xZoomed ? d->xEnd : full.high;
    // A spectrum of one peak has no width: a little around it is shown.
    if (high <= low) {
        low -= 0.5;
        high = low + 1.0;
    }
    c.Call(&ISpec::SetXAxisLimits, low, high);
}

void CPlotPane::ApplyYLimits(CSpec& c) {
    const CVXSpecDisplay* d = ZoomDisplay();
    SendSpectrumYLimits(c, PlotSpectrum(), d ? *d : CVXSpecDisplay());
}

bool CPlotPane::IsZoomCommand(int id) {
    return id >= ID_PLOT_ZOOM_IN_Y && id <= ID_PLOT_RESET_SCALING;
}

bool CPlotPane::IsCommandEnabled(int id) const {
    return IsZoomCommandEnabled(id);
}

void CPlotPane::OnCommand(int id) {
    RunZoomCommand(id);
}

bool CPlotPane::IsPaneViewCommand(int id) {
    return id == ID_FILE_PRINT || IsZoomCommand(id);
}

bool CPlotPane::IsPaneViewCommandEnabled(int id) const {
    if (id == ID_FILE_PRINT) return IsCommandEnabled(ID_PLOT_SPEC_PRINT);
    return IsZoomCommand(id) && IsCommandEnabled(id);
}

void CPlotPane::RunPaneViewCommand(int id) {
    if (!IsPaneViewCommandEnabled(id)) return;
    OnCommand(id == ID_FILE_PRINT ? int(ID_PLOT_SPEC_PRINT) : id);
}

void CPlotPane::PrintOnPrinter(QPainter& painter, QPrinter& printer) {
    const PrinterPage p = PrintablePage(printer);
    PrintSpectrum(painter, p.page, p.dpi, p.dpi, p.landscape);
}

bool CPlotPane::IsZoomCommandEnabled(int id) const {
    const CVXSpecDisplay* d = ZoomDisplay();
    const bool valid = DataValid();
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
        case ID_PLOT_ZOOM_IN_X:
            return valid;
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
            return valid && d && d->yZoomed;
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
            return valid && d && d->xZoomed;
        case ID_PLOT_RESET_SCALING:
            return valid && d && (d->xZoomed || d->yZoomed);
        default:
            return false;
    }
}

bool CPlotPane::RunZoomCommand(int id) {
    if (id < ID_PLOT_ZOOM_IN_Y || id > ID_PLOT_RESET_SCALING) return false;
    CVXSpecDisplay* d = ZoomDisplay();
    if (!d || PlotSpectrum().peaks.empty()) return true;
    const PlotRange xFull = FullMassRange();
    const PlotRange yFull = FullIntensityRange();
    int changed = kZoomChangedNothing;
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
            if (ZoomInSpectrumYRange(*d, yFull, kZoomFactor)) changed = kZoomChangedY;
            break;
        case ID_PLOT_ZOOM_OUT_Y:
            if (ZoomOutSpectrumYRange(*d, yFull, kZoomFactor)) changed = kZoomChangedY;
            break;
        case ID_PLOT_NORMALIZE:
            d->yZoomed = 0;
            changed = kZoomChangedY;
            break;
        case ID_PLOT_ZOOM_IN_X:
            if (ZoomInSpectrumXRange(*d, xFull, kZoomFactor)) changed = kZoomChangedX;
            break;
        case ID_PLOT_ZOOM_OUT_X:
            if (ZoomOutSpectrumXRange(*d, xFull, kZoomFactor)) {
                // Never wider than the spectrum.
                d->xStart = std::max(d->xStart, xFull.low);
                d->xEnd = std::min(d->xEnd, xFull.high);
                changed = kZoomChangedX;
            }
            break;
        case ID_PLOT_DISPLAY_ALL:
            d->xZoomed = 0;
            changed = kZoomChangedX;
            break;
        case ID_PLOT_RESET_SCALING:
            d->xZoomed = 0;
            d->yZoomed = 0;
            changed = kZoomChangedX;
            break;
        default:
            break;
    }
    if (changed & kZoomChangedX) {
        // A new mass range shows other peaks: the intensity axis follows it.
        afterMassChange();
    } else if (changed & kZoomChangedY) {
        HandOver("zooming", [this](CSpec& c) { ApplyYLimits(c); });
    }
    Redraw();
    OnZoomChanged();
    return true;
}

void CPlotPane::afterMassChange() {
    const CVXSpecDisplay* d = ZoomDisplay();
    HandOver("zooming", [this](CSpec& c) {
        ApplyXLimits(c);
        ApplyYLimits(c);
    });
    UpdateMassScrollBar();
    const PlotRange full = FullMassRange();
    OnMassRangeShown(d && d->xZoomed ? d->xStart : full.low, d && d->xZoomed ? d->xEnd : full.high);
}

void CPlotPane::ZoomToBox(bool valid, double startMass, double startIntensity, double endMass,
                          double endIntensity) {
    CVXSpecDisplay* d = ZoomDisplay();
    if (!valid || !d) return;
    const ZoomBoxChange change =
        ZoomSpectrumToBox(*d, startMass, startIntensity, endMass, endIntensity);
    if (change.x) {
        HandOver("zooming", [this](CSpec& c) { ApplyXLimits(c); });
        UpdateMassScrollBar();
        // A zoom of the intensity alone names no mass range.
        OnMassRangeShown(d->xStart, d->xEnd);
    }
    if (change.y) HandOver("zooming", [this](CSpec& c) { ApplyYLimits(c); });
    Redraw();
    OnZoomChanged();
}

void CPlotPane::OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                           double endIntensity) {
    ZoomToBox(valid, startMass, startIntensity, endMass, endIntensity);
}

void CPlotPane::AttachMassScrollBar(QScrollBar* bar) {
    scrollBar_ = bar;
    if (!bar) return;
    bar->setSingleStep(10);
    ConnectScrollSteps(bar, Host(),
                       [this](ScrollStep step, int position) { OnMassScroll(step, position); });
    UpdateMassScrollBar();
}

void CPlotPane::UpdateMassScrollBar() {
    const PlotRange full = FullMassRange();
    const CVXSpecDisplay* d = ZoomDisplay();
    const bool zoomed = d && d->xZoomed;
    const double shownLow = zoomed ? d->xStart : full.low;
    const double shownHigh = zoomed ? d->xEnd : full.high;
    const double width = full.span();
    scrollPage_ = 100;
    scrollPosition_ = 0;
    // A spectrum without a span (none, or one peak) has nothing to scroll.
    if (width > 0.0) {
        scrollPage_ = std::clamp(static_cast<int>((shownHigh - shownLow) * 100.0 / width) + 1, 1, 100);
        scrollPosition_ = std::clamp(static_cast<int>((shownLow - full.low) * 100.0 / width), 0, 100);
    }
    if (!scrollBar_) return;
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setRange(0, std::max(0, 100 - scrollPage_));
    scrollBar_->setPageStep(scrollPage_);
    scrollBar_->setValue(scrollPosition_);
    scrollBar_->setEnabled(width > 0.0 && scrollPage_ < 100);
}

void CPlotPane::OnMassScroll(ScrollStep step, int position) {
    // The bar may have been moved by hand: its value is where the step starts.
    const int page = scrollPage_;
    int p = scrollBar_ ? scrollBar_->value() : scrollPosition_;
    switch (step) {
        case ScrollStep::LineBack:
            p = PercentScrollTarget(PercentScroll::LineBack, p, page, 0, 100 - page);
            break;
        case ScrollStep::LineForward:
            p = std::max(0, PercentScrollTarget(PercentScroll::LineForward, p, page, 0, 100 - page));
            break;
        case ScrollStep::PageBack:
            p = PercentScrollTarget(PercentScroll::PageBack, p, page, 0, 100 - page);
            break;
        case ScrollStep::PageForward:
            p = PercentScrollTarget(PercentScroll::PageForward, p, page, 0, 100 - page);
            break;
        case ScrollStep::ThumbTrack:
            // Shown while dragged; the thumb stays where the user holds it.
            ShowMassPercent(position, page);
            return;
        case ScrollStep::ThumbPosition:
            scrollPosition_ = position;
            if (scrollBar_) {
                const QSignalBlocker block(scrollBar_);
                scrollBar_->setValue(position);
            }
            return;
    }
    ShowMassPercent(p, page);
    scrollPosition_ = p;
    if (scrollBar_) {
        const QSignalBlocker block(scrollBar_);
        scrollBar_->setValue(p);
    }
}

void CPlotPane::ShowMassPercent(int position, int page) {
    CVXSpecDisplay* d = ZoomDisplay();
    const PlotRange full = FullMassRange();
    const double width = full.span();
    if (!d || !(width > 0.0) || PlotSpectrum().peaks.empty()) return;
    const double start = std::max(full.low, full.low + position * 0.01 * width);
    const double end = std::min(full.high, start + page * 0.01 * width);
    d->xZoomed = 1;
    d->xStart = start;
    d->xEnd = end;
    HandOver("scrolling", [this](CSpec& c) {
        ApplyXLimits(c);
        ApplyYLimits(c);
    });
    OnMassRangeShown(start, end);
    OnZoomChanged();
}

void CPlotPane::CopyPicture() {
    if (!control_ || !control_->Interface()) return;
    CopySpectrumPicture(Host(), PaneName(), [this](CSpec& c) { SendSpectrumToControl(c); });
}

void CPlotPane::PrintSpectrum(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                              bool landscape) {
    PrintSpectrumPage(
        Host(), PaneName(), [this](CSpec& c) { SendSpectrumToControl(c); }, painter, page, dpiX,
        dpiY, landscape);
}

}  // namespace zar
