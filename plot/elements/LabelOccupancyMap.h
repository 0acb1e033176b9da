#pragma once
// What is already taken while one plot is drawn: per pixel column the topmost occupied row
// (traces lower it as they draw; labels test spans against it), and the rectangles of labels,
// leaders and pointers placed so far. Device coordinates: y grows downwards.

#include <vector>

namespace zar::plot {

class CLabelOccupancyMap {
  public:
    CLabelOccupancyMap(int first = 0, int last = 0, int emptyLevel = 0) {
        Reset(first, last, emptyLevel);
    }

    // A last below first is taken as first. Every column becomes the empty level.
    void Reset(int first, int last, int emptyLevel);
    // The lowest y at which something can stand above the span without touching it.
    int GetClearance(int left, int right) const;
    // True when some column of the span is occupied at row y or higher.
    bool IsBlocked(int left, int right, int y) const;
    void RaiseColumn(int x, int y);
    void RaiseSpan(int left, int right, int y);
    void Free() { columns_.clear(); }

    int First() const { return first_; }
    int Last() const { return last_; }
    int EmptyLevel() const { return emptyLevel_; }
    int ValueAt(int x) const;
    const int* data() const { return columns_.data(); }

  private:
    // Clips a span to the range; false when nothing is left.
    bool clip(int& left, int& right) const;

    std::vector<int> columns_;
    int first_ = 0;
    int last_ = 0;
    int emptyLevel_ = 0;
};

struct OccupiedRect {
    int left, right, top, bottom;
};

class COccupiedRectList {
  public:
    void Add(int left, int right, int top, int bottom) {
        rects_.push_back({left, right, top, bottom});
    }
    // Strict: rectangles that only touch do not overlap.
    bool Overlaps(int left, int right, int top, int bottom) const;
    // The smallest top among the rectangles over the span; false (top untouched) when none.
    bool GetLowestTopOver(int left, int right, int& top) const;
    void Clear() { rects_.clear(); }
    std::size_t size() const { return rects_.size(); }
    const std::vector<OccupiedRect>& rects() const { return rects_; }

  private:
    std::vector<OccupiedRect> rects_;
};

}  // namespace zar::plot
