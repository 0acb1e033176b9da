#include "LabelOccupancyMap.h"

#include <algorithm>

namespace zar::plot {

void CLabelOccupancyMap::Reset(int first, int last, int emptyLevel) {
    if (last < first) last = first;
    const std::size_t width = static_cast<std::size_t>(last - first) + 1;
    first_ = first;
    last_ = last;
    emptyLevel_ = emptyLevel;
    // The vector keeps its storage when the width is the same.
    columns_.assign(width, emptyLevel);
}

bool CLabelOccupancyMap::clip(int& left, int& right) const {
    if (columns_.empty()) return false;
    left = std::max(left, first_);
    right = std::min(right, last_);
    return left <= right;
}

int CLabelOccupancyMap::ValueAt(int x) const {
    if (columns_.empty() || x < first_ || x > last_) return emptyLevel_;
    return columns_[static_cast<std::size_t>(x - first_)];
}

int CLabelOccupancyMap::GetClearance(int left, int right) const {
    int lowest = emptyLevel_;
    if (clip(left, right)) {
        for (int x = left; x <= right; ++x)
            lowest = std::min(lowest, columns_[static_cast<std::size_t>(x - first_)]);
    }
    return lowest - 1;
}

bool CLabelOccupancyMap::IsBlocked(int left, int right, int y) const {
    if (!clip(left, right)) return false;
    for (int x = left; x <= right; ++x)
        if (columns_[static_cast<std::size_t>(x - first_)] <= y) return true;
    return false;
}

void CLabelOccupancyMap::RaiseColumn(int x, int y) {
    if (columns_.empty() || x < first_ || x > last_) return;
    int& v = columns_[static_cast<std::size_t>(x - first_)];
    if (y < v) v = y;
}

void CLabelOccupancyMap::RaiseSpan(int left, int right, int y) {
    if (!clip(left, right)) return;
    for (int x = left; x <= right; ++x) {
        int& v = columns_[static_cast<std::size_t>(x - first_)];
        v = std::min(v, y);
    }
}

bool COccupiedRectList::Overlaps(int left, int right, int top, int bottom) const {
    return std::any_of(rects_.begin(), rects_.end(), [&](const OccupiedRect& r) {
        return right > r.left && left < r.right && bottom > r.top && top < r.bottom;
    });
}

bool COccupiedRectList::GetLowestTopOver(int left, int right, int& top) const {
    bool found = false;
    int best = 0;
    for (const OccupiedRect& r : rects_) {
        if (right > r.left && left < r.right) {
            if (!found || r.top < best) best = r.top;
            found = true;
        }
    }
    if (found) top = best;
    return found;
}

}  // namespace zar::plot
