#pragma once
// A layer of text labels attached to points of a plot (user labels, graph labels, peak labels,
// flag tags). Labels are placed in decreasing priority; one that would touch the data or a
// placed label is moved sideways and upwards within limits and otherwise left out.

#include "PlotFont.h"
#include "GraphElement.h"
#include "LabelOccupancyMap.h"
#include "ZoomFactorLabel.h"

#include <QStringList>

#include <list>

namespace zar::plot {

struct TextLabelNode {
    double priority = 0.0;
    int x = 0;  // anchor pixel
    int y = 0;
    QStringList lines;
    int xAnchor = 1;  // 0 left edge, 1 centre, 2 right edge at the anchor
    int yAnchor = 2;  // 0 top, 1 centre, 2 bottom at the anchor
    bool aboveGraph = false;
    int alignment = 1;  // 0 left, 1 centre, 2 right
    bool boxed = false;
    bool rotated = false;
    double dataX = 0.0;
    double dataY = 0.0;
    bool pointer = false;
    double pointerDataX = 0.0, pointerDataY = 0.0;
    int pointerX = 0, pointerY = 0;
    std::int32_t traceId = 0;
};

// Where a label of the last drawing ended up (for tests and for the graphs' layout).
struct PlacedLabel {
    ElementRect box;
    QStringList lines;
    bool leader = false;
};

class CTextLabel : public CGraphElement {
  public:
    CTextLabel(bool rotate, int offset, bool alwaysLeader, double spacingFactor, PlotFont* font);

    // Inserted before the first label of lower or equal priority (newest first among equals).
    void AddLabel(const TextLabelNode& label);
    void RemoveLabelsInRange(double start, double end, std::int32_t traceId);
    void RemoveLabels(std::int32_t traceId);
    void Clear() { labels_.clear(); }
    std::size_t size() const { return labels_.size(); }
    const std::list<TextLabelNode>& labels() const { return labels_; }

    int GetMaxAboveGraphLines() const;
    int GetLongestLine() const;
    // Data positions to pixels (magnified intensities where ranges are set).
    void MapPositions(double yScale, double yMin, int bottom, double xScale, double xStart,
                      int left, const CZoomFactorLabel* magnification);

    void SetOffset(int pixels) { offset_ = std::max(pixels, 0); }
    void SetRotate(bool rotate) { rotate_ = rotate; }
    void SetCollision(CLabelOccupancyMap* profile, COccupiedRectList* rects, bool useProfile,
                      bool useRects) {
        profile_ = profile;
        rects_ = rects;
        useProfile_ = useProfile;
        useRects_ = useRects;
    }
    void SetKeepInside(bool keep) { keepInside_ = keep; }
    void SetTraceFilter(std::int32_t traceId) { traceFilter_ = traceId; }
    void SetBoxAll(bool boxAll) { boxAll_ = boxAll; }
    void SetFont(PlotFont* font) { font_ = font; }
    void SetSpacingFactor(double factor) { spacing_ = factor; }
    void SetLeaderColor(COLORREF color) { leaderColor_ = color; }

    void DrawImpl(PlotDC& dc) override;
    const std::vector<PlacedLabel>& Placed() const { return placed_; }

    // Moves a box into the bounds; false when it is wider or taller than them.
    static bool FitIntoBounds(const ElementRect& bounds, int& left, int& right, int& top,
                              int& bottom);

  private:
    std::list<TextLabelNode> labels_;
    bool rotate_;
    int offset_;
    bool alwaysLeader_;
    COLORREF leaderColor_ = 0x027D7D7D;
    CLabelOccupancyMap* profile_ = nullptr;
    COccupiedRectList* rects_ = nullptr;
    double spacing_;
    bool useProfile_ = false;
    bool useRects_ = false;
    PlotFont* font_;
    bool keepInside_ = false;
    std::int32_t traceFilter_ = 0;
    bool boxAll_ = false;
    std::vector<PlacedLabel> placed_;
};

}  // namespace zar::plot
