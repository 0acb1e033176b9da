#pragma once
// The de novo graph: a square dot map of a de novo sequencing run. Both axes run over the same
// integer mass range; each row belongs to one parent mass (its vertical position), and each mass
// of the row whose intensity passes the threshold becomes a dot whose size grows with the
// logarithm of the intensity and whose colours follow the row's sign.

#include "GraphDrawing.h"

#include <array>
#include <vector>

namespace zar::plot {

inline constexpr int kMaxDenovoScans = 64;

struct CDenovoHeaderInfo {
    int numScans = 0;
    std::array<std::int32_t, kMaxDenovoScans> parentMasses{};
    std::array<std::vector<std::int32_t>, kMaxDenovoScans> rows;
    std::array<std::int16_t, kMaxDenovoScans> signs{};
    int xStart = 0, xEnd = 0;
    int maxIntensity = 0;
    int displayRange = 0;
    int regenPoints = 0;
    bool dataValid = false;
};

// The radius of a dot of intensity z at threshold t (t > 0), at most maxRadius; 0: no dot.
int DenovoDotRadius(std::int32_t z, std::int32_t t, int maxRadius);

class CDenovoGraph : public CGraphDrawing {
  public:
    CDenovoGraph();

    CDenovoHeaderInfo& Data() { return data_; }
    const CDenovoHeaderInfo& Data() const { return data_; }
    // False (and nothing stored) above kMaxDenovoScans or below 0.
    bool SetNumScans(int count);
    // Copies the rows of the scans in use: N + 1 values of each (N: the first parent mass).
    void SetIntensities(const std::int32_t* const* rows, const std::int32_t* parentMasses);

    void DrawImpl(PlotDC& dc) override;

    // What the last drawing did, for tests.
    int LastDotCount() const { return dots_; }
    int LastLargestRadius() const { return largest_; }
    ElementRect LastPlotRect() const { return plot_; }

  private:
    CDenovoHeaderInfo data_;
    int dots_ = 0;
    int largest_ = 0;
    ElementRect plot_;
};

}  // namespace zar::plot
