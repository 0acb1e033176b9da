#pragma once
// The device context of the graph engine: a thin adapter over QPainter that keeps the drawing
// rules the engine's layout relies on:
// - a line does not draw its end pixel, and a zero-length line draws nothing;
// - Rectangle and FillRect cover left .. right - 1 and top .. bottom - 1;
// - colours are COLORREF values (0x00BBGGRR; a palette-relative 0x02 top byte is ignored);
// - printing and metafile targets are flagged and carry their own resolution;
// - text is measured either with the real font or, without an attribute device, by the fixed
//   rule (height = |font height|, width = (int)(|font height| * 5 / 7) per character), which
//   layout tests use so they do not depend on installed fonts.
// R2_NOT draws by inverting the destination, so drawing a figure twice erases it (drag
// feedback is drawn this way onto an overlay image).

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

namespace zar::plot {

using COLORREF = std::uint32_t;

inline constexpr COLORREF kNoColor = 0x02FFFFFF;
constexpr COLORREF RGBRef(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr COLORREF PaletteRGB(int r, int g, int b) {
    return 0x02000000u | RGBRef(r, g, b);
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
QColor ToQColor(COLORREF c);

// Text alignment flags (combinable as in the Windows API).
enum TextAlign : unsigned {
    TA_LEFT = 0,
    TA_TOP = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

enum PenStyle { PS_SOLID = 0, PS_DOT = 2, PS_NULL = 5 };
enum RasterOp { R2_COPYPEN = 13, R2_NOT = 6, R2_NOTXORPEN = 10 };

// The font a context draws and measures with.
struct DCFont {
    QString face = QStringLiteral("Arial");
    int height = 10;   // pixels, positive
    int weight = 400;  // 100 .. 900
    bool italic = false;
    int escapement = 0;  // tenths of a degree, counter-clockwise
};

class PlotDC {
  public:
    struct Target {
        bool printing = false;
        bool metafile = false;
        int logPixelsX = 96;
        int logPixelsY = 96;
        // With an attribute device text is measured with the real font; without one, by rule.
        bool hasAttributeDevice = false;
    };

    PlotDC(QPainter& painter, Target target);

    QPainter& painter() { return painter_; }
    bool IsPrinting() const { return target_.printing; }
    bool IsMetafile() const { return target_.metafile; }
    bool HasAttributeDevice() const { return target_.hasAttributeDevice; }
    int LogPixelsX() const { return target_.logPixelsX; }
    int LogPixelsY() const { return target_.logPixelsY; }
    // Pen width that stays visible on paper: LOGPIXELSY / 240 when printing, else 0 (1 pixel).
    int DevicePenWidth() const { return target_.printing ? target_.logPixelsY / 240 : 0; }

    void SetPen(COLORREF color, int width = 0, PenStyle style = PS_SOLID);
    COLORREF PenColor() const { return penColor_; }
    bool HasPen() const { return penStyle_ != PS_NULL; }
    void SetBrush(COLORREF color);
    void SetNullBrush();
    void SetROP2(RasterOp op);
    RasterOp GetROP2() const { return rop_; }

    void MoveTo(int x, int y) { current_ = {x, y}; }
    QPoint CurrentPosition() const { return current_; }
    // Draws from the current position to (x, y), leaving out (x, y) itself.
    void LineTo(int x, int y);
    // Between these two, LineTo collects its lines and they are drawn together (at the latest
    // when the pen or the state changes): the same pixels, one call to the painter for a trace
    // (two on the screen, where the lines along an axis are filled as rectangles).
    void BeginLineBatch();
    void EndLineBatch();
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }
    // Outline with the pen and inside with the brush, over left .. right-1, top .. bottom-1.
    void Rectangle(int left, int top, int right, int bottom);
    void FillRect(int left, int top, int right, int bottom, COLORREF color);
    void Ellipse(int left, int top, int right, int bottom);
    void FillPolygon(const QPolygon& polygon, COLORREF color);
    // Fills every figure of a path, each closed back to its start.
    void FillPath(const QPainterPath& path, COLORREF color);

    void SelectFont(const DCFont& font);
    const DCFont& Font() const { return font_; }
    QSize GetTextExtent(const QString& text) const;
    void SetTextAlign(unsigned align) { align_ = align; }
    unsigned GetTextAlign() const { return align_; }
    void SetTextColor(COLORREF color) { textColor_ = color; }
    COLORREF GetTextColor() const { return textColor_; }
    void TextOut(int x, int y, const QString& text);

    void SaveState();
    void RestoreState();
    void IntersectClipRect(int left, int top, int right, int bottom);

  private:
    void applyPen();
    void flushLines();
    // Whether a batch may fill its axis-parallel lines as rectangles: the same pixels.
    bool fillsAxisLines() const;
    void drawLine(const QPoint& from, const QPoint& to);

    QPainter& painter_;
    Target target_;
    QPoint current_;
    COLORREF penColor_ = 0;
    int penWidth_ = 0;
    PenStyle penStyle_ = PS_SOLID;
    RasterOp rop_ = R2_COPYPEN;
    DCFont font_;
    unsigned align_ = TA_LEFT | TA_TOP;
    COLORREF textColor_ = 0;
    struct Saved {
        COLORREF penColor;
        int penWidth;
        PenStyle penStyle;
        RasterOp rop;
        DCFont font;
        unsigned align;
        COLORREF textColor;
    };
    std::vector<Saved> saved_;
    bool batching_ = false;
    std::vector<QLine> batch_;
    std::vector<QRect> batchRects_;
};

// Selects a font for a scope and puts the previous one back.
class ScopedFont {
  public:
    ScopedFont(PlotDC& dc, const DCFont& font) : dc_(dc), previous_(dc.Font()) {
        dc.SelectFont(font);
    }
    ~ScopedFont() { dc_.SelectFont(previous_); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

  private:
    PlotDC& dc_;
    DCFont previous_;
};

}  // namespace zar::plot
