#pragma once
// One straight axis (horizontal, vertical or slanted): line, major and minor ticks, tick labels
// and a title. It chooses its tick step from a fixed table of 1-2-5 steps by the pixel length,
// the text size and the value span.

#include "PlotFont.h"
#include "GraphElement.h"

#include <array>
#include <vector>

namespace zar::plot {

class CAxis : public CGraphElement {
  public:
    struct Settings {
        int maxDecimals = 6;
        bool fractionalMinorSteps = true;
        double labelWidthAllowance = 3.0;
        double verticalSpacingAllowance = 0.5;
        bool labelsAbove = false;
        bool labelsLeft = true;
        double titleDistance = 4.0;
        bool labelTheEnd = false;
        double minorSpacing = 0.04;  // inches
    };

    // The 76 steps 1, 2, 5 x 10^k for k = -10 .. 15 and a terminating 0.0.
    static const std::array<double, 77>& StepTable();

    CAxis(int x1, int y1, int x2, int y2, double start, double end, const Settings& settings,
          PlotFont* font);

    void SetEndpoints(int x1, int y1, int x2, int y2);
    void SetRange(double start, double end, bool labelTheEnd);
    void SetTitle(const QString& title) { title_ = title; }
    void SetTitleDistance(double distance) { settings_.titleDistance = distance; }
    void SetTitleAngle(bool given, double degrees) {
        titleAngleGiven_ = given;
        titleAngle_ = degrees;
    }
    void SetTitleShareDivisor(int divisor) { titleShareDivisor_ = std::max(divisor, 1); }
    void SetCustomFormat(const QString& format, bool use) {
        customFormat_ = format;
        useCustomFormat_ = use;
    }
    void SetMeasureOnly(bool measureOnly) { measureOnly_ = measureOnly; }
    void SetLabelsLeft(bool left) { settings_.labelsLeft = left; }
    void SetLabelsAbove(bool above) { settings_.labelsAbove = above; }
    Settings& settings() { return settings_; }

    void DrawImpl(PlotDC& dc) override;

    double StartValue() const { return start_; }
    double EndValue() const { return end_; }
    double ChosenStep() const { return chosenStep_; }
    double FirstTick() const { return firstTick_; }
    int LongestLabel() const { return longestLabel_; }
    bool IsHorizontal() const { return y1_ == y2_; }
    bool IsVertical() const { return x1_ == x2_; }
    bool IsSteep() const { return std::abs(dy_) > std::abs(dx_); }

    struct Tick {
        int x, y;
        double value;
        int length;
        QString label;  // empty for ticks without a label
    };
    // The ticks of the last drawing (minor levels first, then the major ticks).
    const std::vector<Tick>& Ticks() const { return ticks_; }
    unsigned LabelAlignment() const;

  private:
    double drawTicks(PlotDC& dc, double step, double skipStep, int length, bool labels,
                     const QString& format, int labelOffset, double labelDistance);
    void drawTitle(PlotDC& dc, int h, int charWidth);
    int tickDirection() const;

    Settings settings_;
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    double start_ = 0.0, end_ = 0.0, span_ = 0.0;
    int dx_ = 0, dy_ = 0;
    QString title_;
    bool titleAngleGiven_ = false;
    double titleAngle_ = 0.0;
    int titleShareDivisor_ = 1;
    PlotFont* font_ = nullptr;
    double chosenStep_ = 0.0;
    double firstTick_ = 0.0;
    int longestLabel_ = 0;
    bool measureOnly_ = false;
    QString customFormat_;
    bool useCustomFormat_ = false;
    std::vector<Tick> ticks_;
};

}  // namespace zar::plot
