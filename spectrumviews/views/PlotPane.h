#pragma once
// The base of every pane that shows a spectrum in a Spec control. It owns the control and the
// steps all of them take with it: handing data over (and redrawing, which the control's setters
// do not do), the zoom commands and the zoom box on a display record, the mass scroll bar, free
// text labels, copy and print through a hidden control, the context menu (one per right click)
// and the peak a left click picks. A pane says what it shows and where its zoom state lives.

#include "PaneSupport.h"
#include "document/hub/PlotRange.h"
#include "fileio/VXSpectrum.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QPainter;
class QPrinter;
class QPoint;
class QScrollBar;
class QWidget;

namespace zar {

class CSpec;

class CPlotPane : public CPaneBase {
  public:
    static constexpr double kZoomFactor = 2.0;

    ~CPlotPane() override;

    CSpec* Control() const { return control_.get(); }
    // Whether the control holds data now.
    bool DataValid() const;
    QString NoDataText() const { return noDataText_; }

    // Loads what the pane shows into a Spec control: its own, or a hidden one that copies or
    // prints.
    virtual void SendSpectrumToControl(CSpec& control) = 0;

    // A free text label at a data position (the Annotate dialog's), and clearing them all.
    void AddTextLabel(const QString& text, double x, double y,
                      ZAR_PLOTLib::VXPlot_LabelParams* params = nullptr);
    void ClearTextLabels();

    // The peak of the shown spectrum that a click at a mass picks; -1 without peaks.
    int PickedPeak(double mass) const;

    // The pane's commands (of its menu, its tool bar and the main window): whether one may run
    // now, and running it. The base answers the zoom commands; a pane adds its own.
    virtual bool IsCommandEnabled(int id) const;
    virtual void OnCommand(int id);
    // The main window's commands a pane answers: File > Print, as the pane's Print, and the zoom
    // commands. The pane's own command handlers decide whether they run and run them.
    static bool IsPaneViewCommand(int id);
    bool IsPaneViewCommandEnabled(int id) const;
    void RunPaneViewCommand(int id);
    // One page of the shown spectrum on a printer.
    void PrintOnPrinter(QPainter& painter, QPrinter& printer);

    // The zoom commands (Zoom In/Out Y, Normalize, Zoom In/Out X, Display All, Reset Scaling):
    // whether an id is one, whether one may run now, and running it; false for other ids.
    static bool IsZoomCommand(int id);
    bool IsZoomCommandEnabled(int id) const;
    bool RunZoomCommand(int id);
    // The control's zoom box: the mass and intensity ranges it spans are shown.
    void ZoomToBox(bool valid, double startMass, double startIntensity, double endMass,
                   double endIntensity);

    // The mass scroll bar's steps: a line moves to the previous or next tenth, a page by the
    // shown width; the thumb dragged shows from its position, released it only stays there.
    void OnMassScroll(ScrollStep step, int position);
    // Shows [position, position + page] per cent of the full mass range.
    void ShowMassPercent(int position, int page);

    // Control events. A click names a mass; by default the peak it picks goes to OnPeakPicked.
    // The zoom box zooms by default (ZoomToBox).
    virtual void OnSpecLButtonUp(bool valid, double mass, double intensity);
    virtual void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                            double endIntensity);

  protected:
    CPlotPane(QWidget* host, const char* paneName);
    // Creates and initialises the pane's control at rect with its no-data text, and routes its
    // events: a right click to the context menu, a left click to OnPeakPicked with the peak it
    // picks (OnSpecLButtonUp), the zoom box to OnSpecZoom, the arrow keys to OnPlotArrowKey. False
    // without one.
    bool CreatePlotControl(const QRect& rect, const QString& noDataText);

    // Runs a step on the pane's control (nothing without one), then redraws the control.
    void HandOver(const char* what, const std::function<void(CSpec&)>& step);
    // Repaints the control with what it was last given.
    void Redraw();
    void SetNoDataText(const QString& text);
    void SetDataValid(bool valid);

    // The spectrum copied to the clipboard as a picture, and one printed page of it.
    void CopyPicture();
    void PrintSpectrum(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // The scroll bar over the mass axis, in per cent of the full range; set from the shown range.
    void AttachMassScrollBar(QScrollBar* bar);
    QScrollBar* MassScrollBar() const { return scrollBar_; }
    void UpdateMassScrollBar();
    // Where the scroll bar stands and its page, in per cent of the full mass range.
    int MassScrollPosition() const { return scrollPosition_; }
    int MassScrollPage() const { return scrollPage_; }

    // What the pane shows, and the display record its zoom commands change (null: none now).
    virtual const CVXSpec& PlotSpectrum() const = 0;
    virtual CVXSpecDisplay* ZoomDisplay() const = 0;
    // The full ranges the zoom works in: the spectrum's header unless the pane says otherwise.
    virtual PlotRange FullMassRange() const;
    virtual PlotRange FullIntensityRange() const;
    // Hands the shown mass range (intensity range) to a control.
    virtual void ApplyXLimits(CSpec& control);
    virtual void ApplyYLimits(CSpec& control);
    // After the shown mass range changed (low and high mass shown).
    virtual void OnMassRangeShown(double, double) {}
    // After a zoom or a scroll: the host's command states follow.
    virtual void OnZoomChanged() {}

    virtual void OnPeakPicked(double mass, double intensity) {
        (void)mass;
        (void)intensity;
    }
    virtual void OnPlotArrowKey(bool right) { (void)right; }

  private:
    void afterMassChange();

    std::unique_ptr<CSpec> control_;
    QString noDataText_;
    QScrollBar* scrollBar_ = nullptr;
    int scrollPage_ = 100;
    int scrollPosition_ = 0;
};

// Keeps the context-menu event of a child that raises its own right-click request (a plotting
// control's event, a grid's posted request) from reaching the windows around it: one right
// click, one menu.
void KeepContextMenuEventsIn(QWidget* child);

}  // namespace zar
