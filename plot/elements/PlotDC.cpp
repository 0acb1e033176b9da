#include "PlotDC.h"

#include <QFontMetrics>
#include <QPaintEngine>

#include <cstdlib>

namespace zar::plot {

namespace {
constexpr double kCharWidthRatio = 0.7142857142857143;  // 5/7: width of a character by rule
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

PlotDC::PlotDC(QPainter& painter, Target target) : painter_(painter), target_(target) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBrush(Qt::NoBrush);
    applyPen();
}

void PlotDC::applyPen() {
    if (penStyle_ == PS_NULL) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(penColor_));
    pen.setWidth(penWidth_ <= 1 ? 0 : penWidth_);
    pen.setCosmetic(penWidth_ <= 1);
    pen.setStyle(penStyle_ == PS_DOT ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void PlotDC::SetPen(COLORREF color, int width, PenStyle style) {
    flushLines();
    penColor_ = color;
    penWidth_ = std::max(width, 0);
    penStyle_ = style;
    applyPen();
}

void PlotDC::SetBrush(COLORREF color) {
    flushLines();
    painter_.setBrush(ToQColor(color));
}
void PlotDC::SetNullBrush() {
    painter_.setBrush(Qt::NoBrush);
}

void PlotDC::SetROP2(RasterOp op) {
    flushLines();
    rop_ = op;
    switch (op) {
        case R2_NOT:
            painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
            break;
        case R2_NOTXORPEN:
            painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            break;
        default:
            painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
    }
}

void PlotDC::LineTo(int x, int y) {
    const QPoint from = current_;
    current_ = {x, y};
    if (penStyle_ == PS_NULL) return;
    if (from == current_) return;
    // A flat-capped cosmetic line drawn towards larger coordinates covers its start pixel and
    // leaves out its end pixel. Axis-parallel lines (sticks, ticks, boxes) are therefore always
    // drawn in that direction, so the end pixel is left out whichever way they run.
    if (from.y() == y) {
        const int first = x > from.x() ? from.x() : x + 1;
        const int last = x > from.x() ? x : from.x() + 1;
        drawLine(QPoint(first, y), QPoint(last, y));
    } else if (from.x() == x) {
        const int first = y > from.y() ? from.y() : y + 1;
        const int last = y > from.y() ? y : from.y() + 1;
        drawLine(QPoint(x, first), QPoint(x, last));
    } else {
        drawLine(from, current_);
    }
}

void PlotDC::drawLine(const QPoint& from, const QPoint& to) {
    if (batching_)
        batch_.emplace_back(from, to);
    else
        painter_.drawLine(from, to);
}

void PlotDC::BeginLineBatch() {
    flushLines();
    batching_ = true;
}

void PlotDC::EndLineBatch() {
    flushLines();
    batching_ = false;
}

bool PlotDC::fillsAxisLines() const {
    // On a raster device a one-pixel line along an axis, or a steep step to the next column, is
    // one or two one-pixel-wide rectangles, which the painter fills several times faster than it
    // strokes the line (a profile of 10^6 points is about 4,000 such lines up to the plot's
    // height). Pages and metafiles keep their lines.
    const QPaintEngine* engine = painter_.paintEngine();
    return !target_.printing && !target_.metafile && engine && engine->type() == QPaintEngine::Raster &&
           penStyle_ == PS_SOLID && penWidth_ <= 1 && rop_ == R2_COPYPEN &&
           painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
           !painter_.testRenderHint(QPainter::Antialiasing) &&
           painter_.transform().type() <= QTransform::TxTranslate;
}

void PlotDC::flushLines() {
    if (batch_.empty()) return;
    if (fillsAxisLines()) {
        // LineTo has turned axis-parallel lines towards larger coordinates: each covers its
        // start pixel up to, not including, its end pixel.
        batchRects_.clear();
        auto slanted = batch_.begin();
        for (const QLine& l : batch_) {
            if (l.x1() == l.x2()) {
                batchRects_.emplace_back(l.x1(), l.y1(), 1, l.y2() - l.y1());
            } else if (l.y1() == l.y2()) {
                batchRects_.emplace_back(l.x1(), l.y1(), l.x2() - l.x1(), 1);
            } else if (std::abs(l.x2() - l.x1()) == 1 && std::abs(l.y2() - l.y1()) >= 2) {
                // A steep step to the next column (a profile's step between two columns). The
                // painter draws it from its upper end down to, not including, its lower end:
                // all in the upper end's column when it leans right, else only the first pixel.
                const bool down = l.y2() > l.y1();
                const QPoint top = down ? l.p1() : l.p2();
                const QPoint bottom = down ? l.p2() : l.p1();
                if (bottom.x() > top.x()) {
                    batchRects_.emplace_back(top.x(), top.y(), 1, bottom.y() - top.y());
                } else {
                    batchRects_.emplace_back(top.x(), top.y(), 1, 1);
                    batchRects_.emplace_back(bottom.x(), top.y() + 1, 1, bottom.y() - top.y() - 1);
                }
            } else {
                *slanted++ = l;
            }
        }
        batch_.erase(slanted, batch_.end());
        const QPen pen = painter_.pen();
        const QBrush brush = painter_.brush();
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(pen.color());
        painter_.drawRects(batchRects_.data(), static_cast<int>(batchRects_.size()));
        painter_.setPen(pen);
        painter_.setBrush(brush);
    }
    if (!batch_.empty()) painter_.drawLines(batch_.data(), static_cast<int>(batch_.size()));
    batch_.clear();
}

void PlotDC::Rectangle(int left, int top, int right, int bottom) {
    flushLines();
    if (right <= left || bottom <= top) return;
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void PlotDC::FillRect(int left, int top, int right, int bottom, COLORREF color) {
    flushLines();
    if (right <= left || bottom <= top) return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

void PlotDC::Ellipse(int left, int top, int right, int bottom) {
    flushLines();
    if (right <= left || bottom <= top) return;
    painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void PlotDC::FillPolygon(const QPolygon& polygon, COLORREF color) {
    flushLines();
    const QBrush previous = painter_.brush();
    painter_.setBrush(ToQColor(color));
    painter_.drawPolygon(polygon);
    painter_.setBrush(previous);
}

void PlotDC::FillPath(const QPainterPath& path, COLORREF color) {
    flushLines();
    painter_.fillPath(path, ToQColor(color));
}

void PlotDC::SelectFont(const DCFont& font) {
    font_ = font;
    QFont f(font.face);
    f.setPixelSize(std::max(font.height, 1));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    f.setItalic(font.italic);
    painter_.setFont(f);
}

QSize PlotDC::GetTextExtent(const QString& text) const {
    const int h = std::abs(font_.height);
    if (!target_.hasAttributeDevice) {
        return {static_cast<int>(h * kCharWidthRatio) * static_cast<int>(text.size()), h};
    }
    const QFontMetrics metrics(painter_.font());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void PlotDC::TextOut(int x, int y, const QString& text) {
    flushLines();
    if (text.isEmpty()) return;
    const QSize extent = GetTextExtent(text);
    const QFontMetrics metrics(painter_.font());
    int dx = 0;
    if ((align_ & TA_CENTER) == TA_CENTER)
        dx = -extent.width() / 2;
    else if (align_ & TA_RIGHT)
        dx = -extent.width();
    int baseline = 0;  // offset from the reference point to the text baseline
    if ((align_ & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align_ & TA_BOTTOM)
        baseline = -metrics.descent();
    else
        baseline = metrics.ascent();
    painter_.save();
    painter_.setPen(ToQColor(textColor_));
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.translate(x, y);
    if (font_.escapement != 0) painter_.rotate(-font_.escapement / 10.0);
    painter_.drawText(QPoint(dx, baseline), text);
    painter_.restore();
}

void PlotDC::SaveState() {
    flushLines();
    saved_.push_back({penColor_, penWidth_, penStyle_, rop_, font_, align_, textColor_});
    painter_.save();
}

void PlotDC::RestoreState() {
    flushLines();
    if (saved_.empty()) return;
    painter_.restore();
    const Saved s = saved_.back();
    saved_.pop_back();
    penColor_ = s.penColor;
    penWidth_ = s.penWidth;
    penStyle_ = s.penStyle;
    rop_ = s.rop;
    font_ = s.font;
    align_ = s.align;
    textColor_ = s.textColor;
}

void PlotDC::IntersectClipRect(int left, int top, int right, int bottom) {
    flushLines();
    painter_.setClipRect(QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0)),
                         painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

}  // namespace zar::plot
