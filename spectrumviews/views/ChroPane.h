#pragma once
// The base of every pane that shows chromatograms in Chro controls (the trace stack, the XPRESS
// page's light and heavy traces). It makes and prepares the controls and routes their events,
// runs an operation's control calls so that a failing one ends it, hands data over and redraws
// (the control's setters do not), runs the zoom commands on a trace's display record, steps a
// time scroll bar in per cent of the full time range, prints a page through hidden controls and
// shows the context menu once per right click. A pane says which traces it shows.

#include "PaneSupport.h"
#include "document/hub/PlotRange.h"
#include "fileio/VXChro.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QPainter;
class QPoint;
class QScrollBar;
class QWidget;

namespace zar {

class CChro;

class CChroPane : public CPaneBase {
  public:
    static constexpr double kZoomFactor = 2.0;

    ~CChroPane() override;

    // Control events; slot is the control's index number, trace its info id. A right click
    // presses the control (OnChroLButtonDown) before its menu shows.
    virtual void OnChroLButtonDown(int slot, int trace);
    virtual void OnChroLButtonUp(int slot, int trace, bool valid, double time, double intensity);
    virtual void OnChroZoom(int slot, int trace, bool valid, double startTime,
                            double startIntensity, double endTime, double endIntensity);
    virtual void OnChroArrowKey(int slot, int trace, bool right);

    // Whether a zoom command (Zoom In/Out Y, Normalize, Zoom In/Out X, Display All, Reset
    // Scaling) may run on a trace shown with this display record; false for other ids.
    static bool IsTraceZoomEnabled(int id, const CVXChroDisplay& display);

    // The time scroll bar's steps: a line moves to the previous or next tenth, a page by the
    // shown width; the thumb dragged shows from its position, released it only stays there.
    void OnTimeScroll(ScrollStep step, int position);

  protected:
    CChroPane(QWidget* host, const char* paneName);
    // A control of the pane at rect, prepared (index number, no-data text, PrepareControl) and
    // with its events routed: a right click to the context menu (shown once the control has
    // handled the click), the rest to the OnChro handlers. Null without one.
    std::unique_ptr<CChro> CreateChroControl(const QRect& rect, int id, int index,
                                             const QString& noDataText);
    // A control off screen, prepared as the pane's own, for copying and printing; null without one.
    std::unique_ptr<CChro> CreateOffscreenControl(int index, const QString& noDataText);
    // What every control of the pane is given after its initialisation.
    virtual void PrepareControl(CChro&) {}

    // Runs a step on a control (nothing without one), then redraws it.
    void HandOver(CChro* control, const char* what, const std::function<void(CChro&)>& step);

    // Runs a zoom command on a trace's display record over the trace's full time and intensity
    // ranges: what changed (kZoomChangedX, kZoomChangedY of SpectrumZoomChange).
    static int ZoomTrace(int id, CVXChroDisplay& display, const PlotRange& xFull,
                         const PlotRange& yFull);
    // The time range a trace shows: the zoomed one, else the full one.
    static PlotRange ShownTimeRange(const CVXChroDisplay& display, const PlotRange& xFull);
    // Hands the shown time range (intensity range) of a trace to its control.
    static void ApplyTraceXLimits(CChro& control, const CVXChroDisplay& display,
                                  const PlotRange& xFull);
    static void ApplyTraceYLimits(CChro& control, const CVXChro& chro,
                                  const CVXChroDisplay& display);
    // The zoom box on a trace: its display record takes the box, its control the new ranges.
    void ZoomToBox(CChro* control, const CVXChro& chro, CVXChroDisplay& display,
                   const PlotRange& xFull, double startTime, double startIntensity, double endTime,
                   double endIntensity);

    // The scroll bar over the time axis, in per cent of FullTimeRange(); set from a shown range.
    void AttachTimeScrollBar(QScrollBar* bar);
    QScrollBar* TimeScrollBar() const { return scrollBar_; }
    void UpdateTimeScrollBar(double shownStart, double shownEnd);
    // The time window [position, position + page] per cent of the full time range spans.
    PlotRange TimeWindowOfPercent(int position, int page) const;
    virtual PlotRange FullTimeRange() const { return {}; }
    // Shows [position, position + page] per cent of the full time range.
    virtual void ShowTimePercent(int position, int page) {
        (void)position;
        (void)page;
    }

    // Prints one page through `count` off-screen controls (with the no-data text), each loaded by
    // load(k, control): the document's footer band with the title, drawPlot(plot, controls) and
    // the header band. Nothing is printed when a control cannot be made.
    void PrintThroughOffscreenControls(
        QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape,
        const QString& title, int count, const QString& noDataText,
        const std::function<void(int, CChro&)>& load,
        const std::function<void(const QRect& plot, const std::vector<CChro*>& controls)>&
            drawPlot);

  private:
    void routeEvents(CChro& control);

    QScrollBar* scrollBar_ = nullptr;
};

}  // namespace zar
