#pragma once
// What the controls share when they draw: the painter behind a Draw call's handles, the drawing
// target of a painter, the frame round a control, the image of the mouse feedback, and the copy
// of a drawing to the clipboard.
//
// Draw's device-context handles: *phDC holds the address of the caller's QPainter (already
// begun on a widget, image, printer or SVG generator). A non-zero *phAttribDC means texts are
// measured with the real font; the controls always measure that way on screen and paper.

#include "plot/elements/GraphElement.h"
#include "plot/elements/PlotDC.h"
#include "plot/elements/PlotRegion.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QImage>

#include <functional>
#include <memory>

namespace zar::plot {

// The painter a Draw call names; null when the handle is missing.
QPainter* PainterFromHandle(const std::uintptr_t* phDC);
PlotDC::Target DrawTarget(QPainter& painter, bool printing, bool metafile);
QRect RectFrom(const ZAR_PLOTLib::tagRECT& r);
ElementRect Shrunk(const QRect& r, int pixels);

// A frame just inside the rectangle, `width` device pixels wide.
void DrawControlFrame(PlotDC& dc, const QRect& rect, int width, COLORREF color);
// A text centred on the rectangle, its baseline at the centre.
void DrawCentredText(PlotDC& dc, const QRect& rect, const QString& text);

// A click through the region under it: false when no region lies there; `inside` tells whether
// the point also lies inside the region's data rectangle.
struct MappedPoint {
    bool found = false;
    bool inside = false;
    double x = 0.0, y = 0.0;
};
MappedPoint MapPoint(const PlotRegionList& regions, QPoint point, bool scale);
// A rubber band's corners in data units, each pair sorted ascending.
bool MapBox(const PlotRegionList& regions, QPoint start, QPoint end,
            PlotRegionList::Values& out);
// The mouse went 4 pixels or more from the press in x or in y.
inline bool MovedFar(QPoint start, QPoint p) {
    return std::abs(p.x() - start.x()) >= 4 || std::abs(p.y() - start.y()) >= 4;
}

// A screen context for hit tests made outside a painting.
class HitTestDC {
  public:
    HitTestDC();
    PlotDC& dc() { return dc_; }

  private:
    QImage image_;
    QPainter painter_;
    PlotDC dc_;
};

// The drawing size on the clipboard, whatever the control's size.
inline constexpr int kClipboardWidth = 1024;
inline constexpr int kClipboardHeight = 768;
inline constexpr char kClipboardDescription[] = "Korvath Graphic";
// Draws into an SVG and an image of 1024 x 768 and puts both on the clipboard in one item
// ("image/svg+xml" and an image). E_FAIL when either cannot be made or there is no clipboard.
HRESULT CopyDrawingToClipboard(const std::function<void(QPainter&, const QRect&, bool)>& draw);

// A control's drawing into a host's painter or onto the clipboard. While it runs the plot regions
// keep those of the last painting (the mouse maps through what the window shows), and the frame
// follows `border` (the clipboard never has one); the control's own flag is put back after.
using ControlDrawFn = std::function<void(PlotDC&, const QRect&)>;
HRESULT DrawForHost(const std::uintptr_t* phDC, bool printing, const ZAR_PLOTLib::tagRECT* rect,
                    bool border, PlotRegionList* regions, std::int32_t& showBorder,
                    const ControlDrawFn& draw);
// Paints the control's window: white, then the drawing, whose regions replace the old ones.
void PaintControlWindow(QPainter& painter, const QRect& rect, PlotRegionList* regions,
                        const ControlDrawFn& draw);
HRESULT CopyForHost(PlotRegionList* regions, std::int32_t& showBorder, const ControlDrawFn& draw);

// The mouse feedback of a control window: drawn by inversion onto a black image, which the
// window lays over the plot by difference, so the figure inverts what lies beneath it.
class FeedbackImage {
  public:
    struct Scope {
        explicit Scope(QImage& image) : painter(&image), dc(painter, PlotDC::Target{}) {}
        QPainter painter;
        PlotDC dc;
    };
    // A context on the image for one mouse message; the image follows the window's size.
    std::unique_ptr<Scope> Begin(QSize size);
    void Clear();
    void Composite(QPainter& painter) const;
    bool IsBlank() const;
    const QImage& image() const { return image_; }

  private:
    QImage image_;
};

}  // namespace zar::plot
