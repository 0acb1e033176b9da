#include "PlotArea.h"

#include "HeadingColumn.h"
#include "core/Numbers.h"

#include <cmath>

namespace zar::plot {

namespace {
constexpr double kPi = 3.1415926535;

CAxis::Settings plotAxisSettings() {
    CAxis::Settings s;
    s.maxDecimals = 6;
    s.fractionalMinorSteps = true;
    s.labelWidthAllowance = 3.0;
    s.verticalSpacingAllowance = 0.5;
    s.labelsLeft = true;
    s.titleDistance = 4.0;
    s.minorSpacing = 0.04;
    return s;
}
}  // namespace

CPlotArea::CPlotArea(std::vector<CTrace*> traces, PlotRegionList* regions,
                     CZoomFactorLabel* magnification, FontSpec* font)
    : traces_(std::move(traces)),
      regions_(regions),
      magnification_(magnification),
      font_(font),
      xAxis_(0, 0, 0, 0, 0.0, 0.0, plotAxisSettings(), font),
      yAxis_(0, 0, 0, 0, 0.0, 0.0, plotAxisSettings(), font) {}

void CPlotArea::SetMargins(double bottom, double left, double top, double right) {
    marginBottom_ = std::max(bottom, 0.0);
    marginLeft_ = std::max(left, 0.0);
    marginTop_ = std::max(top, 0.0);
    marginRight_ = std::max(right, 0.0);
}

void CPlotArea::SetVisibleXRange(double xStart, double xEnd) {
    xStart_ = xStart;
    xEnd_ = xEnd;
    xAxis_.SetRange(xStart, xEnd, false);
    for (CTrace* t : traces_)
        if (t) t->SetRange(xStart, xEnd);
}

double CPlotArea::GetMaxValue() const {
    double m = 0.0;
    for (CTrace* t : traces_)
        if (t) m = std::max(m, t->GetMaxIntensity());
    return m;
}

double CPlotArea::SnapToInteger(double value) {
    const double m = std::trunc(value + 0.5);
    if (m != 0.0 && std::fabs(value - m) < 1e-7) return m;
    return value;
}

void CPlotArea::layoutLeftAxis(Layout& l) const {
    const int w = font_->measuredWidth;
    if (l.yAxisShown) {
        l.Yw = static_cast<int>(w * m_dYLabelWidth) + w;
        // The title stands (label width + 1.3) characters left of the axis and reaches one
        // text height further: it must not leave the plot.
        if (!m_yTitles[0].isEmpty())
            l.Yw = std::max(l.Yw + w,
                            static_cast<int>(w * (m_dYLabelWidth + 1.3)) + font_->measuredHeight);
    } else {
        l.Yw = 0;
    }
    l.Ax = rect_.left + l.Yw;
}

bool CPlotArea::layoutRows(Layout& l, int h) const {
    const int n = static_cast<int>(traces_.size());
    for (;;) {
        const int A = l.Bl - l.Dt;
        if (m_bDepthView) {
            const int U = A - l.T - l.B;
            if (n > 1) {
                l.O = static_cast<int>(std::sin(m_dRowAngle * kPi / 180) * U);
                l.H = U - l.O;
                l.s = double(l.O) / (n - 1);
            } else {
                l.H = U;
                l.s = 0.0;
                l.O = 0;
            }
            l.P = l.H + l.T + l.B;
        } else if (m_bEqualRows) {
            l.s = double(A - l.T - l.B) / n;
            l.P = static_cast<int>(l.s);
            l.H = l.P;
            l.O = static_cast<int>((n - 1) * l.s);
        } else {
            l.s = double(A) / n;
            l.P = static_cast<int>(l.s);
            l.H = l.P - l.T - l.B;
            l.O = static_cast<int>((n - 1) * l.s);
        }
        const int check = m_bEqualRows ? A - l.T - l.B : l.H;
        if (check >= h / 2) break;
        // Not enough room: give up the top margin, then the bottom margin with the X axis.
        if (l.T > h / 2)
            l.T = h / 2;
        else if (l.T != 0)
            l.T = 0;
        else if (l.xAxisShown || l.B != 0) {
            l.B = 0;
            l.xAxisShown = false;
            l.Bl = rect_.bottom - h / 2;
            l.Db = l.Bl - 1;
        } else {
            break;
        }
    }
    return l.H >= 0;
}

bool CPlotArea::layoutColumns(Layout& l, int w, int h) const {
    const int n = static_cast<int>(traces_.size());
    const bool depthShift = m_bDepthView && n >= 2;
    if (depthShift) {
        l.S = static_cast<int>(std::tan(m_dColumnAngle * kPi / 180) * l.O);
        l.q = double(l.S) / (n - 1);
    } else {
        l.S = 0;
        l.q = 0.0;
    }
    l.Dl = l.Ax + l.L;
    l.Dr = rect_.right - l.S - l.Hw - l.R;
    if (l.Dl < l.Dr - 2 * w) return true;
    l.S = 0;
    l.q = 0.0;
    l.Dr = rect_.right - l.Hw - l.R;
    if (l.Dl < l.Dr - 2 * h) return true;
    if (!l.yAxisShown) return false;
    l.yAxisShown = false;
    l.Dl = rect_.left + l.L;
    if (l.Dl < l.Dr - 2 * h) return true;
    if (!l.headingShown) return false;
    l.headingShown = false;
    l.Hw = 0;
    l.Dr = rect_.right - l.R;
    return l.Dl < l.Dr - h;
}

void CPlotArea::rowYRange(std::size_t t, double Ymin, double Ymax, double M, double& a, double& b,
                          bool& labelEnd) const {
    const TraceScaling& sc = traces_[t]->Scaling();
    const std::size_t n = traces_.size();
    labelEnd = false;
    if (m_bAbsoluteMode && M != 0.0) {
        if (n == 1) {
            a = sc.percentMin;
            b = sc.percentMax;
        } else if (m_bCommonRange) {
            a = Ymin;
            b = Ymax;
        } else {
            a = sc.yMin;
            b = sc.yMax;
            labelEnd = m_nHeadingMode != 2;
        }
        a = SnapToInteger(a);
        b = SnapToInteger(b);
    } else {
        a = m_bCommonRange ? Ymin : sc.yMin;
        b = m_bCommonRange ? Ymax : sc.yMax;
    }
    if (a == b) {
        a = 0.0;
        b = 100.0;
    }
}

void CPlotArea::drawTraces(PlotDC& dc, const Layout& l, bool measuring, CLabelOccupancyMap& profile,
                           COccupiedRectList& rects) {
    const int n = static_cast<int>(traces_.size());
    const int h = font_->measuredHeight;
    double Ymin = 0, Ymax = 0, M = 0;
    bool firstSeen = false;
    for (CTrace* t : traces_) {
        const TraceScaling& sc = t->Scaling();
        Ymin = firstSeen ? std::min(Ymin, sc.yMin) : sc.yMin;
        Ymax = firstSeen ? std::max(Ymax, sc.yMax) : sc.yMax;
        firstSeen = true;
        M = std::max(M, t->GetMaxIntensity());
    }
    longestYLabel_ = 0;
    if (!measuring) rows_.clear();
    for (int k = 0; k < n; ++k) {
        const int t = m_bTraceOrder ? k : n - 1 - k;
        CTrace* trace = traces_[static_cast<std::size_t>(t)];
        const int Rb0 = l.Db - static_cast<int>(k * l.s);
        const int dx = static_cast<int>(k * l.q);
        const int Rb = m_bEqualRows ? Rb0 - l.B : Rb0;
        const int Rt = Rb - l.P;
        int Yt = Rt + l.T;
        int Yb = Rb - l.B;
        if (m_bEqualRows) {
            Yt = Rt;
            Yb = k == 0 ? Rb : Rb;
        }
        const ElementRect data{l.Dl + dx, Yt, l.Dr + dx, Yb};
        const ElementRect label{data.left - l.L + 1, Rt, data.right + l.R + 1, Yb + 1};
        double ya = 0, yb = 100;
        bool labelEnd = false;
        rowYRange(static_cast<std::size_t>(t), Ymin, Ymax, M, ya, yb, labelEnd);
        if (l.yAxisShown && (!m_bDepthView || k == 0)) {
            yAxis_.SetEndpoints(l.Ax, Yb, l.Ax, Yt);
            yAxis_.SetRange(ya, yb, labelEnd);
            QString title = k < 8 ? m_yTitles[static_cast<std::size_t>(k)] : QString();
            if (m_bSingleYTitle && k != n / 2 && !m_bDepthView) title.clear();
            yAxis_.SetTitle(title);
            yAxis_.SetTitleDistance(m_dYLabelWidth + 1.3);
            yAxis_.SetTitleShareDivisor(m_bSingleYTitle ? 1 : n);
            yAxis_.SetMeasureOnly(measuring);
            yAxis_.Draw(dc);
            yAxis_.SetMeasureOnly(false);
            longestYLabel_ = std::max(longestYLabel_, yAxis_.LongestLabel());
        }
        trace->SetRect(data);
        trace->SetLabelRect(label);
        trace->SetCollision(&profile, &rects);
        trace->SetMagnification(magnification_);
        trace->SetTraceId(t);
        if (measuring) continue;
        rows_.push_back({t, data, label, ya, yb, labelEnd});
        if (k != 0 && l.H > h / 2 && m_bRowSeparator && !m_bDepthView)
            dc.Line(data.left, Rb + 1, data.right, Rb + 1);
        const bool overlapping = m_bDepthView && l.P >= l.s && k != 0;
        if (regions_ && !overlapping) {
            const TraceScaling& sc = trace->Scaling();
            const ElementRect hit{data.left, k == n - 1 ? rect_.top : Rt + 1, data.right,
                                  k == 0 ? rect_.bottom : Rb};
            const double yBottom = m_bCommonRange ? Ymin : sc.yMin;
            const double yTop = m_bCommonRange ? Ymax : sc.yMax;
            regions_->Add(PlotRegion(kValueKindPosition, kValueKindIntensity, hit, data, xStart_,
                                     xEnd_, yBottom, yTop, 0.0, 0, M > 0.0 ? 100.0 / M : 1.0,
                                     nullptr, t));
        }
    }
    if (measuring) return;
    if (!combiner_) {
        for (CTrace* t : traces_) t->Draw(dc);
        return;
    }
    std::vector<CSpecTrace*> specs;
    for (CTrace* t : traces_)
        if (auto* spec = dynamic_cast<CSpecTrace*>(t)) specs.push_back(spec);
    if (combinerMode_ == 0) {
        combiner_->Draw(dc, specs);
    } else if (combinerMode_ == 1) {
        const double step = m_bEqualRows ? l.s : l.s - (l.B + l.T);
        const int g = CombinerGroupSize(combinerGroupHeight_, step);
        for (std::size_t first = 0; g > 0 && first < specs.size();
             first += static_cast<std::size_t>(g)) {
            const auto end =
                specs.begin() + static_cast<std::ptrdiff_t>(
                                    std::min(specs.size(), first + static_cast<std::size_t>(g)));
            combiner_->Draw(dc, std::vector<CSpecTrace*>(
                                    specs.begin() + static_cast<std::ptrdiff_t>(first), end));
        }
    }
}

void CPlotArea::drawHeadingColumn(PlotDC& dc, int left, int width, int dataBottom) {
    const int n = static_cast<int>(traces_.size());
    const int h = font_->measuredHeight;
    if (n == 0 || h <= 0) return;
    const QString nl = QStringLiteral("NL:");
    const double per = (double(dataBottom - rect_.top) / h) / n;
    bool split = false;
    const double scale = HeadingFontScale(per, std::max(m_nLinesPerTrace, 1), m_nHeadingMode,
                                          m_dHeadingWidth, static_cast<int>(nl.size()), split);
    FontSpec headingFont = *font_;
    headingFont.height = static_cast<int>(font_->height * scale);
    if (headingFont.height == 0) headingFont.height = -1;
    const DCFont previousFont = headingFont.CreateFontForDC(dc);
    const int hh = std::max(headingFont.measuredHeight, 1);
    const COLORREF previousColor = dc.GetTextColor();
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    auto measure = [&dc](const QString& text) { return dc.GetTextExtent(text).width(); };
    int y = 0;
    for (int k = n - 1; k >= 0; --k) {
        const int t = m_bTraceOrder ? k : n - 1 - k;
        const CTrace& trace = *traces_[static_cast<std::size_t>(t)];
        HeadingBlockOut block{t, 0, {}};
        y = std::max(y, trace.LabelRect().top);
        block.top = y;
        dc.SetTextColor(trace.LineColor());
        auto write = [&](const QString& text) {
            dc.TextOut(left, y, text);
            block.lines << text;
        };
        if (m_nHeadingMode == 2) {
            const QString value = FormatExponent(trace.Scaling().normalisationValue);
            if (split) {
                write(nl);
                y += hh;
                write(value);
            } else {
                write(nl + QLatin1Char(' ') + value);
            }
            y += static_cast<int>(hh * 1.2);
        } else if (m_nHeadingMode == 4) {
            write(QCFormat("Scan: %d", trace.m_nHeadingScan));
            y += static_cast<int>(hh * 1.2);
        }
        for (const QString& line :
             WrapHeadingTitle(trace.Title(), m_breakCharacters, width, measure)) {
            write(line);
            y += hh;
        }
        y += static_cast<int>(hh * 0.25);
        headingBlocks_.push_back(block);
    }
    dc.SetTextColor(previousColor);
    dc.SelectFont(previousFont);
}

int CPlotArea::CombinerGroupSize(int groupHeight, double step) {
    if (step < 0.0) return 0;
    if (step == 0.0) return 1;  // rows on top of each other: one trace a group
    return std::max(1, static_cast<int>(groupHeight / step));
}

void CPlotArea::DrawImpl(PlotDC& dc) {
    layout_ = Layout{};
    rows_.clear();
    CLabelOccupancyMap profile(0, 0, 0);
    COccupiedRectList rects;
    if (traces_.empty() || !font_) {
        if (regions_) regions_->ClearRect(rect_);
        return;
    }
    const DCFont previousFont = font_->CreateFontForDC(dc);
    const int w = font_->measuredWidth;
    const int h = font_->measuredHeight;
    yAxis_.SetRange(0.0, 100.0, false);
    xAxis_.SetRect(rect_);
    yAxis_.SetRect(rect_);
    Layout l;
    l.L = static_cast<int>(w * marginLeft_);
    l.R = static_cast<int>(w * marginRight_);
    l.T = static_cast<int>(h * marginTop_);
    l.B = static_cast<int>(h * marginBottom_);
    headingBlocks_.clear();
    l.headingShown = m_nHeadingMode != 0;
    if ((m_nHeadingMode == 2 || m_nHeadingMode == 3) && m_dHeadingWidth == 0.0) {
        int longest = 0;
        for (const CTrace* t : traces_)
            longest = std::max(longest, static_cast<int>(t->Title().size()));
        const HeadingFit fit =
            FitHeadingColumn(rect_.right - rect_.left, rect_.bottom - rect_.top, w, h,
                             static_cast<int>(traces_.size()), m_nHeadingMode, longest,
                             m_dHeadingShare, m_dHeadingWidth);
        m_nLinesPerTrace = fit.linesPerTrace;
        if (fit.fits)
            m_dHeadingWidth = fit.widthChars;
        else
            l.headingShown = false;
    }
    l.Hw = l.headingShown ? static_cast<int>(w * m_dHeadingWidth) : 0;
    const int topReserve = magnification_ && magnification_->HasRanges() ? h : 0;
    l.yAxisShown = m_bShowYAxis;
    l.xAxisShown = m_bShowXAxis;
    layoutLeftAxis(l);
    const int xAxisHeight = l.xAxisShown ? 2 * h + (m_xTitle.isEmpty() ? 0 : h) : 0;
    l.Bl = rect_.bottom - xAxisHeight;
    l.Dt = rect_.top + topReserve;
    l.Db = l.Bl - 1;
    if (!layoutRows(l, h) || !layoutColumns(l, w, h)) {
        dc.SelectFont(previousFont);
        return;
    }
    // Measuring pass: the left axis is sized to its longest label, then everything again.
    drawTraces(dc, l, true, profile, rects);
    if (!m_bYLabelWidthFixed) {
        m_dYLabelWidth = longestYLabel_ + 0.1;
        const bool yShown = l.yAxisShown;
        layoutLeftAxis(l);
        if (!yShown) l.Ax = rect_.left, l.Yw = 0;
        if (!layoutRows(l, h) || !layoutColumns(l, w, h)) {
            dc.SelectFont(previousFont);
            return;
        }
    }
    l.valid = true;
    layout_ = l;
    dc.SetPen(0, dc.DevicePenWidth());
    if (l.xAxisShown) {
        xAxis_.SetEndpoints(l.Dl, l.Bl, l.Dr, l.Bl);
        xAxis_.SetRange(xStart_, xEnd_, false);
        xAxis_.SetTitle(m_xTitle);
        xAxis_.SetTitleDistance(4.0);
        xAxis_.SetLabelsLeft(false);
        xAxis_.Draw(dc);
    } else if (m_bShowXAxis) {
        dc.Line(l.Dl, l.Db + 1, l.Dr, l.Db + 1);  // a dropped axis leaves its line
    }
    drawTraces(dc, l, false, profile, rects);
    if (l.headingShown && m_nHeadingMode >= 2 && m_nHeadingMode <= 4)
        drawHeadingColumn(dc, rect_.right - l.Hw, l.Hw, l.Db);
    if (topReserve != 0 && magnification_) {
        magnification_->SetRect(l.Dl, rect_.top, l.Dr, rect_.bottom);
        magnification_->SetAxisRange(xStart_, xEnd_);
        magnification_->SetSlantAngle(0.0);
        magnification_->SetCollision(nullptr, nullptr);
        magnification_->SetFont(font_);
        magnification_->Draw(dc);
    }
    dc.SelectFont(previousFont);
}

}  // namespace zar::plot
