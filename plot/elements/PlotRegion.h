#pragma once
// Hit regions left by a drawing: where data was plotted and onto which value ranges, so that
// mouse points become values again.

#include "GraphElement.h"
#include "plot/graph/ScanFilter.h"

#include <QPoint>

#include <list>
#include <memory>
#include <optional>

namespace zar::plot {

inline constexpr int kNoValueMapping = 4;
inline constexpr std::int32_t kNoTraceId = -1;

class PlotRegion {
  public:
    enum Flags { kHasX = 1, kHasY = 2, kHasFilter = 8, kHasTraceId = 16 };

    PlotRegion(int xKind, int yKind, const ElementRect& hit, const ElementRect& data, double xStart,
               double xEnd, double yBottom, double yTop, double slantAngle, int traceIndex,
               double scale, const CScanFilter* filter, std::int32_t traceId);

    bool Contains(int x, int y) const;
    QPoint ClampPoint(QPoint p) const;
    // Positive-area overlap of the hit rectangles (touching edges do not count).
    bool Overlaps(const ElementRect& other) const;
    bool Overlaps(const PlotRegion& other) const { return Overlaps(other.hit_); }

    double ScreenToX(int x, int y, int* xKind = nullptr) const;
    double ScreenToY(int y, int* yKind = nullptr, double* scale = nullptr) const;
    int XToScreen(double value) const;
    int YToScreen(double value) const;
    bool GetFilter(CScanFilter* out) const;

    unsigned flags() const { return flags_; }
    const ElementRect& hitRect() const { return hit_; }
    const ElementRect& dataRect() const { return data_; }
    int traceIndex() const { return traceIndex_; }
    std::int32_t traceId() const { return traceId_; }
    double slantAngle() const { return slant_; }
    double xStart() const { return xStart_; }
    double xEnd() const { return xEnd_; }
    double yBottom() const { return yBottom_; }
    double yTop() const { return yTop_; }

  private:
    int xKind_, yKind_;
    ElementRect hit_, data_;
    double xStart_, xEnd_, yBottom_, yTop_, slant_;
    double scale_;
    std::optional<CScanFilter> filter_;
    unsigned flags_ = 0;
    int traceIndex_;
    std::int32_t traceId_;
};

// The regions of one control, the most recently added first.
class PlotRegionList {
  public:
    // A new region replaces every region it overlaps. While locked, nothing is added.
    void Add(PlotRegion region);
    void RemoveOverlapping(const ElementRect& r);
    void ClearRect(const ElementRect& r) { RemoveOverlapping(r); }
    void FreeAll() {
        if (!locked_) regions_.clear();
    }
    void Reset() {
        locked_ = false;
        regions_.clear();
    }
    void SetLocked(bool locked) { locked_ = locked; }
    const PlotRegion* Find(int x, int y, unsigned mask = 0xFFFFFFFFu) const;
    std::size_t size() const { return regions_.size(); }
    const std::list<PlotRegion>& regions() const { return regions_; }

    struct Values {
        int xKind = 0;
        double xStart = 0, xEnd = 0;
        int yKind = 0;
        double yStart = 0, yEnd = 0;
        bool filterFound = false;
        std::optional<CScanFilter> filter;
        std::int32_t traceId = kNoTraceId;
    };
    // The value ranges of a rubber band or a click (start == end). Strict points must lie in a
    // region of their own; otherwise a lone point borrows the other's region.
    bool PointsToValues(QPoint start, QPoint end, Values& out, bool sort, bool scale,
                        bool startStrict, bool endStrict) const;

  private:
    std::list<PlotRegion> regions_;
    bool locked_ = false;
};

}  // namespace zar::plot
