#pragma once
// The magnified ranges of the X axis (intensities in a range are drawn multiplied by a factor)
// and the brackets labelled "x10" or "x2.5" drawn over them.

#include "PlotFont.h"
#include "GraphElement.h"
#include "LabelOccupancyMap.h"

#include <list>

namespace zar::plot {

struct MagnifiedRange {
    double factor;
    double start;
    double end;
};

class CZoomFactorLabel : public CGraphElement {
  public:
    CZoomFactorLabel() = default;
    CZoomFactorLabel(const CZoomFactorLabel&) = delete;  // the cursor points into the list
    CZoomFactorLabel& operator=(const CZoomFactorLabel&) = delete;
    void AddRange(double factor, double start, double end);
    void RemoveRange(double start, double end);
    void ClearRanges() {
        ranges_.clear();
        Rewind();
    }
    bool HasRanges() const { return !ranges_.empty(); }
    const std::list<MagnifiedRange>& Ranges() const { return ranges_; }

    // Walks a cursor forward: callers rewind it and then ask in increasing x.
    void Rewind() { cursor_ = ranges_.begin(); }
    double GetFactorAt(double x);
    // A look-up that does not depend on the cursor (any order of x).
    double FactorAt(double x) const;

    void SetAxisRange(double start, double end) {
        start_ = start;
        end_ = end;
    }
    void SetSlantAngle(double degrees) { angle_ = degrees; }
    void SetCollision(const CLabelOccupancyMap* profile, const COccupiedRectList* rects) {
        profile_ = profile;
        rects_ = rects;
    }
    void SetFont(PlotFont* font) { font_ = font; }

    void DrawImpl(PlotDC& dc) override;

    // "x10" for a whole factor, else "x2.5".
    static QString LabelFor(double factor);

  private:
    void merge();

    std::list<MagnifiedRange> ranges_;
    std::list<MagnifiedRange>::iterator cursor_ = ranges_.begin();
    double start_ = 0.0;
    double end_ = 0.0;
    double angle_ = 0.0;
    const CLabelOccupancyMap* profile_ = nullptr;
    const COccupiedRectList* rects_ = nullptr;
    PlotFont* font_ = nullptr;
};

}  // namespace zar::plot
