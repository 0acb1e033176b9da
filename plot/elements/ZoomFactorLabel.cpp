#include "ZoomFactorLabel.h"

#include "core/Numbers.h"

#include <cmath>

namespace zar::plot {

void CZoomFactorLabel::RemoveRange(double a, double b) {
    for (auto it = ranges_.begin(); it != ranges_.end() && it->start < b;) {
        if (it->end > a) {
            if (it->start >= a) {
                it->start = b;
                if (b >= it->end) {
                    it = ranges_.erase(it);
                    continue;
                }
            } else if (it->end < b) {
                it->end = a;
            } else {
                ranges_.insert(it, MagnifiedRange{it->factor, it->start, a});
                it->start = b;
            }
        }
        ++it;
    }
    Rewind();
}

void CZoomFactorLabel::AddRange(double factor, double start, double end) {
    RemoveRange(start, end);
    auto it = ranges_.begin();
    while (it != ranges_.end() && it->start < start) ++it;
    ranges_.insert(it, MagnifiedRange{factor, start, end});
    merge();
    Rewind();
}

void CZoomFactorLabel::merge() {
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = ranges_.begin(); it != ranges_.end(); ++it) {
            auto next = std::next(it);
            if (next != ranges_.end() && next->factor == it->factor && it->end == next->start) {
                it->end = next->end;
                ranges_.erase(next);
                merged = true;
                break;
            }
        }
    }
}

double CZoomFactorLabel::GetFactorAt(double x) {
    while (cursor_ != ranges_.end() && x > cursor_->end) ++cursor_;
    if (cursor_ == ranges_.end()) return 1.0;
    return x >= cursor_->start ? cursor_->factor : 1.0;
}

double CZoomFactorLabel::FactorAt(double x) const {
    for (const MagnifiedRange& r : ranges_) {
        if (x > r.end) continue;
        return x >= r.start ? r.factor : 1.0;
    }
    return 1.0;
}

QString CZoomFactorLabel::LabelFor(double factor) {
    if (factor == std::floor(factor) && std::fabs(factor) < 2e9)
        return QCFormat("x%d", static_cast<int>(factor));
    return QCFormat("x%.1f", factor);
}

void CZoomFactorLabel::DrawImpl(PlotDC& dc) {
    if (ranges_.empty() || !font_) return;
    const double span = end_ - start_;
    if (span <= 0.0) return;  // no scale over an empty axis range
    const DCFont previousFont = font_->CreateFontForDC(dc);
    const int w = font_->measuredWidth;
    const int h = font_->measuredHeight;
    const int gap = 2 * h / 5;
    const int half = h / 2;
    const int side = w / 5;
    const double scale = (rect_.right - rect_.left) / span;
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    for (const MagnifiedRange& r : ranges_) {
        if (r.end <= start_) continue;
        if (r.start >= end_) break;
        const int x1 = rect_.left + static_cast<int>((std::max(r.start, start_) - start_) * scale);
        const int x2 = rect_.left + static_cast<int>((std::min(r.end, end_) - start_) * scale);
        const int width = x2 - x1;
        int labelTop = rect_.top;
        int shift = 0;
        if (angle_ == 0.0) {
            if (profile_ && rects_) {
                int y = profile_->GetClearance(x1, x2);
                int top = 0;
                if (rects_->GetLowestTopOver(x1, x2, top) && top < y) y = top;
                labelTop = y - h;
            }
            dc.Line(x1, labelTop + gap + half, x1, labelTop + gap);
            dc.Line(x2, labelTop + gap + half, x2, labelTop + gap);
        } else {
            shift = static_cast<int>(std::tan(angle_ * 0.017453292519444445) *
                                     (rect_.bottom - half - (rect_.top + gap)));
            dc.Line(x1 + shift, rect_.top + gap, x1, rect_.bottom - half);
            dc.Line(x2 + shift, rect_.top + gap, x2, rect_.bottom - half);
            dc.Line(x1, rect_.bottom - half, x1, rect_.bottom);
            dc.Line(x2, rect_.bottom - half, x2, rect_.bottom);
        }
        const int lineY = labelTop + gap;
        const QString label = LabelFor(r.factor);
        const int textWidth = dc.GetTextExtent(label).width();
        const int a = x1 + shift;
        const int b = x2 + shift;
        if (textWidth + 2 * side < width) {
            const int mid = (a + b) / 2;
            dc.TextOut(mid, labelTop, label);
            dc.Line(a, lineY, mid - textWidth / 2 - side, lineY);
            dc.Line(mid + textWidth / 2 + side, lineY, b, lineY);
        } else {
            dc.Line(a, lineY, b, lineY);
        }
    }
    dc.SelectFont(previousFont);
}

}  // namespace zar::plot
