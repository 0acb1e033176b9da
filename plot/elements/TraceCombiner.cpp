#include "TraceCombiner.h"

#include <cmath>

namespace zar::plot {

void TraceCombiner::Draw(PlotDC& dc, const std::vector<CSpecTrace*>& traces) {
    buffer_.clear();
    if (traces.empty()) return;
    const CSpecTrace& first = *traces.front();
    const double start = first.RangeStart(), end = first.RangeEnd();
    const long long cells =
        static_cast<long long>(end + 0.5) - static_cast<long long>(start + 0.5) + 2;
    if (cells <= 0 || static_cast<std::size_t>(cells) > kMaxShadeCells) return;
    buffer_.assign(static_cast<std::size_t>(cells), 0.0);
    const double x0 = static_cast<int>(start + 0.5);

    for (CSpecTrace* t : traces) {
        const double span = t->Scaling().yMax - t->Scaling().yMin;
        std::size_t i = 0;
        if (span <= 0.0 ||
            !CTrace::FindFirstPointAtOrAfter(t->Points(), t->PointCount(), t->RangeStart(), &i))
            continue;
        const TracePoint* p = t->Points();
        const std::size_t n = t->PointCount();
        double upper = x0 + 0.5;
        for (std::size_t k = 0; i < n && upper <= t->RangeEnd() + 1.0; ++k, upper += 1.0) {
            double m = 0.0;
            while (i < n && p[i].position < upper) m = std::max(m, p[i++].intensity);
            if (k < buffer_.size()) buffer_[k] = std::max(buffer_[k], m / span);
            if (upper >= t->RangeEnd()) break;
        }
    }

    // The last trace draws the band over the union of the rows.
    CSpecTrace& last = *traces.back();
    ElementRect r = last.Rect();
    r.left = first.Rect().left;
    r.right = first.Rect().right;
    for (const CSpecTrace* t : traces) {
        r.top = std::min(r.top, t->Rect().top);
        r.bottom = std::max(r.bottom, t->Rect().bottom);
    }
    last.SetRect(r);
    if (x0 - 0.5 >= end || end - start <= 0.0) return;
    const double xScale = (r.right - r.left) / (end - start);
    int cellLeft = r.left;
    int emptyFrom = -1;  // left edge of a run of empty cells not filled yet
    double lower = x0 - 0.5;
    for (std::size_t k = 0; k < buffer_.size() && lower < end; ++k, lower += 1.0) {
        const double upper = lower + 1.0;
        const int cellRight =
            std::min(static_cast<int>((upper - start) * xScale + r.left) + 1, r.right + 1);
        if (buffer_[k] == 0.0) {
            if (emptyFrom < 0) emptyFrom = cellLeft;
        } else {
            if (emptyFrom >= 0) {
                dc.FillRect(emptyFrom, r.top, cellLeft, r.bottom + 1, last.m_shadeEmpty);
                emptyFrom = -1;
            }
            TraceScaling unit;
            unit.yMin = 0;
            unit.yMax = 1;
            const TraceScaling saved = last.Scaling();
            last.SetScaling(unit);
            dc.FillRect(cellLeft, r.top, cellRight, r.bottom + 1,
                        last.ShadeColor(std::min(buffer_[k], 1.0)));
            last.SetScaling(saved);
        }
        cellLeft = cellRight;
    }
    if (emptyFrom >= 0) dc.FillRect(emptyFrom, r.top, r.right + 1, r.bottom + 1, last.m_shadeEmpty);
}

}  // namespace zar::plot
