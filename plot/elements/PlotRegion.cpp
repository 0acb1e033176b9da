#include "PlotRegion.h"

#include <algorithm>
#include <cmath>

namespace zar::plot {

namespace {
constexpr double kPi = 3.1415926535;
}

PlotRegion::PlotRegion(int xKind, int yKind, const ElementRect& hit, const ElementRect& data,
                       double xStart, double xEnd, double yBottom, double yTop, double slantAngle,
                       int traceIndex, double scale, const CScanFilter* filter,
                       std::int32_t traceId)
    : xKind_(xKind),
      yKind_(yKind),
      hit_(hit),
      data_(data),
      xStart_(xStart),
      xEnd_(xEnd),
      yBottom_(yBottom),
      yTop_(yTop),
      slant_(slantAngle),
      scale_(scale),
      traceIndex_(traceIndex),
      traceId_(traceId) {
    if (xKind != kNoValueMapping) flags_ |= kHasX;
    if (yKind != kNoValueMapping) flags_ |= kHasY;
    if (filter) {
        filter_ = *filter;
        flags_ |= kHasFilter;
    }
    if (traceId != kNoTraceId) flags_ |= kHasTraceId;
}

bool PlotRegion::Contains(int x, int y) const {
    return x >= hit_.left && x <= hit_.right && y >= hit_.top && y <= hit_.bottom;
}

QPoint PlotRegion::ClampPoint(QPoint p) const {
    return {std::clamp(p.x(), hit_.left, std::max(hit_.left, hit_.right)),
            std::clamp(p.y(), hit_.top, std::max(hit_.top, hit_.bottom))};
}

bool PlotRegion::Overlaps(const ElementRect& o) const {
    return std::min(hit_.right, o.right) > std::max(hit_.left, o.left) &&
           std::min(hit_.bottom, o.bottom) > std::max(hit_.top, o.top);
}

double PlotRegion::ScreenToX(int x, int y, int* xKind) const {
    if (xKind) *xKind = xKind_;
    if (xKind_ == kNoValueMapping) return xStart_;
    if (slant_ != 0.0 && y < data_.bottom) {
        const int above = std::min(data_.bottom - y, data_.bottom - data_.top);
        x -= static_cast<int>(std::tan(slant_ * kPi / 180) * above);
    }
    if (x <= data_.left) return xStart_;
    if (x >= data_.right) return xEnd_;
    return xStart_ + (xEnd_ - xStart_) * (x - data_.left) / (data_.right - data_.left);
}

double PlotRegion::ScreenToY(int y, int* yKind, double* scale) const {
    if (yKind) *yKind = yKind_;
    if (yKind_ == kNoValueMapping) return yBottom_;
    if (scale) *scale = scale_;
    if (y <= data_.top) return yTop_;
    if (y >= data_.bottom) return yBottom_;
    return yTop_ + (yBottom_ - yTop_) * (y - data_.top) / (data_.bottom - data_.top);
}

int PlotRegion::XToScreen(double v) const {
    if (v <= xStart_) return data_.left;
    if (v >= xEnd_ || xEnd_ == xStart_) return xEnd_ == xStart_ ? data_.left : data_.right;
    return data_.left +
           static_cast<int>((data_.right - data_.left) * (v - xStart_) / (xEnd_ - xStart_));
}

int PlotRegion::YToScreen(double v) const {
    if (v >= yTop_) return data_.top;
    if (v <= yBottom_ || yTop_ == yBottom_) return data_.bottom;
    return data_.top +
           static_cast<int>((data_.bottom - data_.top) * (v - yTop_) / (yBottom_ - yTop_));
}

bool PlotRegion::GetFilter(CScanFilter* out) const {
    if (!filter_) return false;
    if (out) *out = *filter_;
    return true;
}

void PlotRegionList::Add(PlotRegion region) {
    if (locked_) return;
    RemoveOverlapping(region.hitRect());
    regions_.push_front(std::move(region));
}

void PlotRegionList::RemoveOverlapping(const ElementRect& r) {
    regions_.remove_if([&](const PlotRegion& p) { return p.Overlaps(r); });
}

const PlotRegion* PlotRegionList::Find(int x, int y, unsigned mask) const {
    for (const PlotRegion& r : regions_)
        if (r.Contains(x, y) && (mask == 0xFFFFFFFFu || (r.flags() & mask) == mask)) return &r;
    return nullptr;
}

bool PlotRegionList::PointsToValues(QPoint start, QPoint end, Values& out, bool sort, bool scale,
                                    bool startStrict, bool endStrict) const {
    const PlotRegion* a = Find(start.x(), start.y());
    const PlotRegion* b = Find(end.x(), end.y());
    if (!startStrict && !a && b) a = b;
    if (!endStrict) {
        if (!a) return false;
        if (!b) b = a;
    }
    if (!a || a != b) return false;
    out.xStart = a->ScreenToX(start.x(), start.y(), &out.xKind);
    out.xEnd = b->ScreenToX(end.x(), end.y(), &out.xKind);
    if (sort && out.xEnd < out.xStart) std::swap(out.xStart, out.xEnd);
    double factor = 1.0;
    out.yStart = a->ScreenToY(start.y(), &out.yKind, &factor);
    out.yEnd = b->ScreenToY(end.y(), &out.yKind);
    if (sort && out.yEnd < out.yStart) std::swap(out.yStart, out.yEnd);
    if (scale) {
        out.yStart *= factor;
        out.yEnd *= factor;
    }
    out.filterFound = false;
    CScanFilter fa, fb;
    if (a->GetFilter(&fa) && b->GetFilter(&fb) && fa.Equals(fb)) {
        out.filterFound = true;
        out.filter = fa;
    }
    out.traceId = b->traceId();
    return true;
}

}  // namespace zar::plot
