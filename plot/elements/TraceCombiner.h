#pragma once
// Draws several spectrum traces in shade style as one band: each cell shows the largest of the
// traces' relative values, over the union of their rows.

#include "Trace.h"

#include <vector>

namespace zar::plot {

// No band holds more cells than this (one per unit of position); a larger range draws nothing.
inline constexpr std::size_t kMaxShadeCells = std::size_t{1} << 24;

class TraceCombiner {
  public:
    void Draw(PlotDC& dc, const std::vector<CSpecTrace*>& traces);
    // The relative values of the last band (for tests).
    const std::vector<double>& LastBuffer() const { return buffer_; }

  private:
    std::vector<double> buffer_;
};

}  // namespace zar::plot
