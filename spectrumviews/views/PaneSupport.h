#pragma once
// What the spectrum, chromatogram and display-ions panes share: running an operation that a
// failing control call ends, preparing their plotting controls and handing data to them, command
// items of their context menus, the layout of a printed page, and waiting for their workers.

#include "com/ComTypes.h"

#include "fileio/VXTypes.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QObject;
class QPainter;
class QPoint;
class QPrinter;
class QScrollBar;
class QWidget;

namespace zar {

class CChro;
class CDenovoPlot;
class CSpec;
class CZarDoc;
class CZarmassDeconvolution;
class CZarmassSheetTarget;

// Runs one operation of a pane; a failing control call (CComError) ends it and is logged, and
// the pane stays usable.
void RunPaneOperation(const char* pane, const char* what, const std::function<void()>& action);

// Creates a plotting control of the host at rect and initialises it with its no-data text (none
// when empty). False when there is no control or its initialisation failed (logged under the
// pane's name).
bool CreatePaneControl(CSpec& control, QWidget* host, const QRect& rect, int id, const char* pane,
                       const QString& noDataText, bool visible = true);
bool CreatePaneControl(CChro& control, QWidget* host, const QRect& rect, int id, const char* pane,
                       const QString& noDataText, bool visible = true);
bool CreatePaneControl(CDenovoPlot& control, QWidget* host, const QRect& rect, int id,
                       const char* pane, const QString& noDataText, bool visible = true);

// Hands data to a pane's control: runs step on it (nothing without one; a failing call ends the
// step and is logged), then redraws it, which the controls' setters do not do.
template <class Control>
void HandOverTo(Control* control, const char* pane, const char* what,
                const std::function<void(Control&)>& step) {
    if (!control) return;
    if (control->Interface()) RunPaneOperation(pane, what, [&] { step(*control); });
    control->RedrawControl();
}

// Whether a pane's control holds data now.
template <class Control>
bool ControlHoldsData(const Control* control) {
    std::int32_t valid = 0;
    return control && control->Interface() &&
           SUCCEEDED(control->Interface()->get_DataValid(&valid)) && valid != 0;
}

// The base of every plot pane, whatever its control: the window it lives in, its name in the
// log, operations whose failing control call ends them, and its context menu, shown once per
// right click.
class CPaneBase {
  public:
    virtual ~CPaneBase();
    CPaneBase(const CPaneBase&) = delete;
    CPaneBase& operator=(const CPaneBase&) = delete;

    // The menu of a right click as it would be shown now; null when there is none.
    virtual std::unique_ptr<QMenu> BuildContextMenu();
    // Shows the context menu at a screen position. While it is open a second request of the
    // same right click shows nothing. A command of the menu may replace the pane, and its menu
    // with it.
    void ShowContextMenu(const QPoint& global);

  protected:
    CPaneBase(QWidget* host, const char* paneName) : host_(host), paneName_(paneName) {}

    QWidget* Host() const { return host_; }
    const char* PaneName() const { return paneName_; }
    // Runs an operation; a failing control call ends it and is logged under the pane's name.
    void Guarded(const char* what, const std::function<void()>& action) const;

  private:
    QWidget* host_;
    const char* paneName_;
    bool menuShown_ = false;
};

// Adds a command item (the id in its data, its status prompt) whose trigger runs run(id).
QAction* AddCommandItem(QMenu* menu, int id, const char* text, const std::function<void(int)>& run);
// The "Zoom" submenu and "Reset Scaling" of the plot panes.
void AddZoomItems(QMenu* menu, const std::function<void(int)>& run);
// The deconvolution item, a separator and the two search-engine items of the plot panes.
void AddSearchItems(QMenu* menu, const std::function<void(int)>& run);
// Calls fn for every command item of a menu and its submenus.
void ForEachCommandItem(QMenu* menu, const std::function<void(QAction*, int id)>& fn);

// The main window's deconvolution sheet; null while it is closed.
CZarmassSheetTarget* OpenZarmassSheet();
// The engine whose ion labels the spectrum panes draw: the calculation engine while the
// deconvolution sheet shows its Calculation page, the transform engine while it shows its
// Deconvolution page, none otherwise.
const CZarmassDeconvolution* ActiveZarmassEngine(const CZarDoc* doc);

// The active engine's ion labels (none without one) with their colours, for a spectrum shown
// with these peaks.
void SendZarmassLabels(CSpec& control, const CZarDoc* doc, const std::vector<CVXDataPeak>& peaks);

// A hidden Spec control of the host, loaded by send: its picture goes to the clipboard, or it
// prints one page (the document's footer, the plot, the document's header). A failing control
// call is logged under the pane's name.
void CopySpectrumPicture(QWidget* host, const char* pane, const std::function<void(CSpec&)>& send);
void PrintSpectrumPage(QWidget* host, const char* pane, const std::function<void(CSpec&)>& send,
                       QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

// A printed page: quarter-inch margins, a footer band above the plot and a header band below
// it, and a further quarter inch at the left (portrait) or the top (landscape).
struct PrintedPage {
    QRect plot;
    QRect footer;
    QRect header;
};
PrintedPage LayOutPrintedPage(const QRect& page, int dpiX, int dpiY, bool landscape);
// The printable page of a printer in device pixels, with the printer's resolution and whether
// it prints across.
struct PrinterPage {
    QRect page;
    int dpi = 0;
    bool landscape = false;
};
PrinterPage PrintablePage(QPrinter& printer);
// Draws what a Spec (Chro) control holds into a rectangle of a printing painter.
void DrawSpecControl(CSpec& control, QPainter& painter, const QRect& rect);
void DrawChroControl(CChro& control, QPainter& painter, const QRect& rect);
// Prints one plot page: the document's footer band (the run's name and the title), the plot
// drawn by drawPlot into its rectangle, and the header band.
void PrintPlotPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape,
                   const std::function<void(const QRect& plot)>& drawPlot,
                   const QString& title = QString());

// The steps a pane's scroll bar reports: a line or a page back (left, up) or forward, the thumb
// dragged (its position) and the thumb released there.
enum class ScrollStep { LineBack, LineForward, PageBack, PageForward, ThumbTrack, ThumbPosition };
// The code of a step in the panes' scroll handlers: line back 0, line forward 1, page back 2,
// page forward 3, thumb released 4, thumb dragged 5.
constexpr int ScrollCodeOf(ScrollStep step) {
    switch (step) {
        case ScrollStep::LineBack:
            return 0;
        case ScrollStep::LineForward:
            return 1;
        case ScrollStep::PageBack:
            return 2;
        case ScrollStep::PageForward:
            return 3;
        case ScrollStep::ThumbPosition:
            return 4;
        case ScrollStep::ThumbTrack:
            return 5;
    }
    return -1;
}
// Hands a scroll bar's steps to onStep(step, thumb position); the pane places the thumb itself.
void ConnectScrollSteps(QScrollBar* bar, QObject* context,
                        const std::function<void(ScrollStep, int)>& onStep);
// Sets a scroll bar that works in per cent of a full range (0 .. 100 - page, its page the shown
// part's width in per cent) to the shown part; with nothing to scroll it is disabled.
void SetPercentScrollBar(QScrollBar* bar, double fullLow, double fullHigh, double shownLow,
                         double shownHigh);

// A text as the controls' wide-string arguments take it (valid while the text lives).
inline LPCWSTR WideText(const QString& text) {
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

}  // namespace zar
