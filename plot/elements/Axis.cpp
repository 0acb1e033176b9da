#include "Axis.h"

#include "core/Numbers.h"

#include <cmath>

namespace zar::plot {

namespace {
// A label format is the program's own "%.Nf" (or a custom one with one double conversion).
QString formatValue(const QString& format, double v) {
    const QByteArray f = format.toLatin1();
    return QCFormat(f.constData(), v);  // NOLINT: format built by the axis
}
// No axis draws more ticks than this, whatever the range (a guard against absurd spans).
constexpr int kMaxTicksPerLevel = 20000;
}  // namespace

const std::array<double, 77>& CAxis::StepTable() {
    static const std::array<double, 77> table = [] {
        std::array<double, 77> t{};
        int i = 0;
        for (int k = -10; k <= 14; ++k) {
            const double p = std::pow(10.0, k);
            t[i++] = 1 * p;
            t[i++] = 2 * p;
            t[i++] = 5 * p;
        }
        t[75] = 1e15;  // the largest step
        t[76] = 0.0;
        return t;
    }();
    return table;
}

CAxis::CAxis(int x1, int y1, int x2, int y2, double start, double end, const Settings& settings,
             PlotFont* font)
    : settings_(settings), font_(font) {
    SetEndpoints(x1, y1, x2, y2);
    SetRange(start, end, settings.labelTheEnd);
}

void CAxis::SetEndpoints(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    dx_ = x2 - x1;
    dy_ = y2 - y1;
}

void CAxis::SetRange(double start, double end, bool labelTheEnd) {
    start_ = start;
    end_ = end;
    span_ = end - start;
    settings_.labelTheEnd = labelTheEnd;
}

int CAxis::tickDirection() const {
    const bool side = (IsVertical() || IsSteep()) ? settings_.labelsLeft : settings_.labelsAbove;
    return side ? -1 : 1;
}

unsigned CAxis::LabelAlignment() const {
    if (IsHorizontal()) return settings_.labelsAbove ? 14u : 6u;
    if (IsVertical()) return settings_.labelsLeft ? 26u : 24u;
    const bool downRight = (x2_ > x1_ && y2_ > y1_) || (x2_ < x1_ && y2_ < y1_);
    if (downRight) {
        if (IsSteep()) return settings_.labelsLeft ? 2u : 24u;
        return settings_.labelsAbove ? 24u : 2u;
    }
    const bool side = IsSteep() ? settings_.labelsLeft : settings_.labelsAbove;
    return side ? 26u : 0u;
}

void CAxis::DrawImpl(PlotDC& dc) {
    ticks_.clear();
    dc.SetPen(0, dc.DevicePenWidth());
    if (!measureOnly_) dc.Line(x1_, y1_, x2_, y2_);
    const QSize endExtent = dc.GetTextExtent(QCFormat("%.0f", end_));
    const int wE = endExtent.width();
    const int h = endExtent.height();
    const int charWidth = font_ && font_->measuredWidth > 0
                              ? font_->measuredWidth
                              : dc.GetTextExtent(QStringLiteral("O")).width();
    const int majorLength = 3 * h / 5;
    const int minorLength = 2 * h / 5;
    const int verticalUnit = static_cast<int>((settings_.verticalSpacingAllowance + 1.0) * h);
    const double verticalCapacity = verticalUnit > 0 ? std::abs(dy_) / double(verticalUnit) : 0.0;
    longestLabel_ = 0;
    chosenStep_ = 0.0;
    if (span_ <= 0.0) return;  // a line without ticks

    const auto& steps = StepTable();
    int i = std::clamp((10 - settings_.maxDecimals) * 3, 0, 75);
    double n = 0, horizontalCapacity = 0;
    int labelWidth = 0, decimals = 0;
    for (;; ++i) {
        if (steps[i] == 0.0) return;  // no step fits: only the line
        n = span_ / steps[i];
        decimals = std::max(0, 10 - i / 3);
        labelWidth = static_cast<int>((decimals + settings_.labelWidthAllowance) * charWidth) + wE;
        horizontalCapacity = labelWidth > 0 ? dx_ / double(labelWidth) : 0.0;
        if (n <= horizontalCapacity || n <= verticalCapacity) break;
    }
    chosenStep_ = steps[i];
    const double labelDistance = n <= horizontalCapacity
                                     ? std::fabs(labelWidth * span_ / (dx_ != 0 ? dx_ : 1))
                                     : std::fabs(verticalUnit * span_ / (dy_ != 0 ? dy_ : 1));
    dc.SetTextAlign(LabelAlignment());

    // Minor levels, finer and finer while their ticks stay far enough apart.
    const bool alongY = IsVertical() || IsSteep();
    const int unitsPerInch = alongY ? dc.LogPixelsY() : dc.LogPixelsX();
    const int threshold = static_cast<int>(unitsPerInch * settings_.minorSpacing + 1.0);
    int previous = i;
    int length = minorLength;
    for (int m = i - 2; m >= 0; m -= 2) {
        if (!settings_.fractionalMinorSteps && m < 30) m = 30;
        if (m >= previous) break;
        const int pixels = static_cast<int>(std::abs(alongY ? dy_ : dx_) * steps[m] / span_);
        if (pixels < threshold) break;
        drawTicks(dc, steps[m], steps[previous], length, false, QString(), 0, 0.0);
        length /= 2;
        previous = m;
    }

    const bool labels = !(horizontalCapacity < 1.0 && verticalCapacity < 1.0);
    const QString format = useCustomFormat_ ? customFormat_ : QCFormat("%%.%df", decimals);
    const int labelOffset = IsVertical() ? h / 3 : 0;
    firstTick_ =
        drawTicks(dc, chosenStep_, 0.0, majorLength, labels, format, labelOffset, labelDistance);
    if (!title_.isEmpty() && !measureOnly_) drawTitle(dc, h, charWidth);
}

double CAxis::drawTicks(PlotDC& dc, double step, double skipStep, int length, bool labels,
                        const QString& format, int labelOffset, double labelDistance) {
    if (span_ <= 0.0 || step <= 0.0) return 0.0;
    double first = start_ - std::fmod(start_, step);
    while (first < start_) first += step;
    const bool alongY = IsVertical() || IsSteep();
    const int offset = length * tickDirection();
    const int ox = alongY ? offset : 0;
    const int oy = alongY ? 0 : offset;
    auto addTick = [&](int x, int y, double v, const QString& label) {
        if (!measureOnly_) {
            dc.Line(x, y, x + ox, y + oy);
            if (!label.isEmpty()) dc.TextOut(x + ox, y + oy + labelOffset, label);
        }
        ticks_.push_back({x, y, v, length, label});
    };
    if (labels && settings_.labelTheEnd) {
        const QString label = formatValue(format, end_);
        longestLabel_ = std::max(longestLabel_, static_cast<int>(label.size()));
        addTick(x2_, y2_, end_, label);
    }
    for (int k = 0; k < kMaxTicksPerLevel; ++k) {
        const double v = first + k * step;
        if (v > end_) break;
        const int x = x1_ + static_cast<int>((v - start_) * dx_ / span_);
        const int y = y1_ + static_cast<int>((v - start_) * dy_ / span_);
        if (skipStep > 0) {
            const double r = std::fmod(std::fabs(v) + 0.02 * skipStep, skipStep);
            if (r <= 0.05 * skipStep) continue;
        }
        QString label;
        if (labels && !(settings_.labelTheEnd && std::fabs(v - end_) < labelDistance)) {
            label = formatValue(format, v);
            longestLabel_ = std::max(longestLabel_, static_cast<int>(label.size()));
        }
        addTick(x, y, v, label);
    }
    return first;
}

void CAxis::drawTitle(PlotDC& dc, int h, int charWidth) {
    const int midX = (x1_ + x2_) / 2;
    const int midY = (y1_ + y2_) / 2;
    const int W = std::abs(dx_);
    const int H = std::abs(dy_);
    const double theta = titleAngleGiven_ ? titleAngle_ * 0.017453292519444445
                         : H != 0         ? std::atan(double(W) / H)
                                          : 1.57079632675;
    DCFont font = dc.Font();
    const DCFont previous = font;
    if (H != 0 || titleAngleGiven_) {
        font.escapement += static_cast<int>((90 - theta * 57.29577951471995) * 10 + 0.5);
        dc.SelectFont(font);
    }
    const int titleWidth = dc.GetTextExtent(title_).width();
    const double d =
        std::cos(theta) * settings_.titleDistance * charWidth + std::sin(theta) * h * 1.75;
    const int ox = static_cast<int>(std::cos(theta) * d);
    const int oy = static_cast<int>(std::sin(theta) * d);
    if (IsVertical() || IsSteep()) {
        const int height = rect_.bottom - rect_.top;
        if (!(height != 0 && titleWidth >= 3 * height / (4 * titleShareDivisor_))) {
            dc.SetTextAlign(settings_.labelsLeft ? 14u : 6u);
            dc.TextOut(settings_.labelsLeft ? midX - ox : midX + ox, midY + oy, title_);
        }
    } else {
        const int width = rect_.right - rect_.left;
        if (!(width != 0 && titleWidth >= 3 * width / 4)) {
            dc.SetTextAlign(settings_.labelsAbove ? 14u : 6u);
            dc.TextOut(midX + ox, settings_.labelsAbove ? midY - oy : midY + oy, title_);
        }
    }
    dc.SelectFont(previous);
}

}  // namespace zar::plot
