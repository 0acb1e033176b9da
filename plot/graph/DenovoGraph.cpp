#include "DenovoGraph.h"

#include "plot/elements/Axis.h"

#include "core/Numbers.h"

#include <cmath>

namespace zar::plot {

namespace {

constexpr char kNoData[] = "No denovo data available";
constexpr char kTitle[] = "Denovo Plot";
// The plot inside the drawing rectangle: room for the axes at the left and bottom.
constexpr int kInsetLeft = 15, kInsetTop = 5, kInsetRight = 5, kInsetBottom = 15;

}  // namespace

int DenovoDotRadius(std::int32_t z, std::int32_t t, int maxRadius) {
    if (t <= 0 || z <= t) return 0;
    const int r = static_cast<int>(std::floor(std::log(double(z) / t) / std::log(2.0))) + 1;
    return std::min(r, maxRadius);
}

CDenovoGraph::CDenovoGraph() = default;

bool CDenovoGraph::SetNumScans(int count) {
    if (count < 0 || count > kMaxDenovoScans) return false;
    data_.numScans = count;
    return true;
}

void CDenovoGraph::SetIntensities(const std::int32_t* const* rows,
                                  const std::int32_t* parentMasses) {
    const int n = parentMasses ? std::max(parentMasses[0], 0) : 0;
    for (int r = 0; r < kMaxDenovoScans; ++r) {
        data_.rows[r].clear();
        // Only the rows in use are read: a caller passes one array per scan.
        if (!rows || r >= data_.numScans || !rows[r]) continue;
        data_.rows[r].assign(rows[r], rows[r] + n + 1);
    }
}

void CDenovoGraph::DrawImpl(PlotDC& dc) {
    dots_ = 0;
    largest_ = 0;
    const DCFont previous = font_.CreateFontForDC(dc);
    const int h = font_.measuredHeight;
    ElementRect plot{rect_.left + kInsetLeft, rect_.top + kInsetTop, rect_.right - kInsetRight,
                     rect_.bottom - kInsetBottom};
    const CDenovoHeaderInfo& d = data_;
    if (d.numScans == 1) {
        const QSize extent = dc.GetTextExtent(QString::fromLatin1(kNoData));
        dc.SetTextAlign(TA_LEFT | TA_BASELINE);
        dc.SetTextColor(0);
        dc.TextOut(rect_.left + rect_.width() / 2 - extent.width() / 2,
                   rect_.top + rect_.height() / 2, QString::fromLatin1(kNoData));
        dc.SelectFont(previous);
        return;
    }
    if (d.numScans < 2) {
        dc.SelectFont(previous);
        return;
    }
    // Room for the labels: the widest value at the left, two text lines under the plot.
    const int labelWidth = std::max(dc.GetTextExtent(QCFormat("%d", d.xEnd)).width(),
                                    dc.GetTextExtent(QStringLiteral("m/z")).width());
    plot.left += labelWidth + h / 2;
    plot.bottom -= 2 * h;
    if (dc.IsPrinting()) {
        dc.SetPen(0, dc.DevicePenWidth());
        dc.SetNullBrush();
        dc.Rectangle(rect_.left, rect_.top, rect_.right, rect_.bottom);
    }
    // A square map: the shorter side sets both.
    const int side = std::max(std::min(plot.width(), plot.height()), 1);
    plot.right = plot.left + side;
    plot.top = plot.bottom - side;
    plot_ = plot;

    CAxis::Settings settings;
    settings.maxDecimals = 0;
    CAxis xAxis(plot.left, plot.bottom, plot.right, plot.bottom, d.xStart, d.xEnd, settings,
                &font_);
    xAxis.SetTitle(QString::fromLatin1(kTitle));
    xAxis.SetLabelsAbove(false);
    dc.SetPen(0, dc.DevicePenWidth());
    xAxis.Draw(dc);
    // The vertical axis is reversed: the start mass at the top, growing downwards.
    CAxis yAxis(plot.left, plot.top, plot.left, plot.bottom, d.xStart, d.xEnd, settings, &font_);
    yAxis.SetLabelsLeft(true);
    yAxis.Draw(dc);

    const int span = d.xEnd - d.xStart;
    // A display range of 0 (or a negative one) gives no threshold: the axes and no dots.
    if (span <= 0 || d.displayRange <= 0 || d.maxIntensity <= 0) {
        dc.SelectFont(previous);
        return;
    }
    const std::int32_t t = d.maxIntensity / d.displayRange;
    const int maxRadius = span / 100;
    const double scale = double(side) / span;
    auto px = [&](double mass) { return plot.left + static_cast<int>((mass - d.xStart) * scale); };
    auto py = [&](double mass) { return plot.top + static_cast<int>((mass - d.xStart) * scale); };
    const int lastMass = d.parentMasses[0];
    dc.SaveState();
    dc.IntersectClipRect(plot.left, plot.top, plot.right + 1, plot.bottom + 1);
    for (int r = 1; r < d.numScans; ++r) {
        const int p = d.parentMasses[r];
        if (p <= d.xStart || p >= d.xEnd) continue;
        const std::vector<std::int32_t>& row = d.rows[r];
        switch (d.signs[r]) {
            case 1:
                dc.SetPen(0x0000FF);
                dc.SetBrush(0x0000FF);
                break;
            case -1:
                dc.SetPen(0xFF0000);
                dc.SetBrush(0xFFBFBF);
                break;
            default:
                dc.SetPen(0);
                dc.SetBrush(0xFFBFBF);
                break;
        }
        for (int x = d.xStart; x <= lastMass; ++x) {
            if (x < 0 || static_cast<std::size_t>(x) >= row.size()) continue;
            const int radius = DenovoDotRadius(row[x], t, maxRadius);
            if (radius == 0) continue;
            const int rx = std::max(static_cast<int>(radius * scale), 1);
            dc.Ellipse(px(x) - rx, py(p) - rx, px(x) + rx + 1, py(p) + rx + 1);
            ++dots_;
            largest_ = std::max(largest_, radius);
        }
    }
    dc.RestoreState();
    dc.SelectFont(previous);
}

}  // namespace zar::plot
