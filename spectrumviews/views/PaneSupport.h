#pragma once
// What the spectrum, trace and display-ions panes share: running an operation that a failing
// control call ends, command items of their context menus, and the layout of a printed page.

#include "com/ComTypes.h"

#include "fileio/VXTypes.h"

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QObject;
class QPainter;
class QPrinter;
class QScrollBar;
class QWidget;

namespace zar {

class CSpec;
class CZarDoc;
class CZarmassDeconvolution;
class CZarmassSheetTarget;

// Runs one operation of a pane; a failing control call (CComError) ends it and is logged, and
// the pane stays usable.
void RunPaneOperation(const char* pane, const char* what, const std::function<void()>& action);

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
// Draws what a Spec control holds into a rectangle of a printing painter.
void DrawSpecControl(CSpec& control, QPainter& painter, const QRect& rect);
// Prints one plot page: the document's footer band (the run's name), the plot drawn by drawPlot
// into its rectangle, and the header band.
void PrintPlotPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape,
                   const std::function<void(const QRect& plot)>& drawPlot);

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
