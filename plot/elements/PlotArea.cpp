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
                     CZoomFactorLabel* magnification, PlotFont* font)
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
    for (CTrace* t : traces_) {
        if (!t) continue;
        const bool segmented = t->GetSegmentedFlag();
        for (int j = 0; j < t->GetDataSetCount(); ++j) {
            CTrace* set = t->GetDataSet(j);
            if (!set) continue;
            if (segmented)
                set->SetRange(set->GetFirstX(), set->GetLastX());
            else
                set->SetRange(xStart, xEnd);
        }
    }
}

double CPlotArea::TraceMaxValue(CTrace& trace) {
    double m = 0.0;
    for (int j = 0; j < trace.GetDataSetCount(); ++j)
        if (CTrace* set = trace.GetDataSet(j)) m = std::max(m, set->GetMaxIntensity());
    return m;
}

double CPlotArea::GetMaxValue() const {
    double m = 0.0;
    for (CTrace* t : traces_)
        if (t) m = std::max(m, TraceMaxValue(*t));
    return m;
}

void CPlotArea::GetSegmentWidth(int dataLeft, int dataRight, int count, int charWidth,
                                int& segmentWidth, int& drawnWidth) {
    segmentWidth = (dataRight - dataLeft + 1) / std::max(count, 1);
    drawnWidth = segmentWidth - (5 * charWidth) / 2;
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
        // Equal rows, and combined rows in the depth view, share the whole height.
        const bool shared = m_bEqualRows || (m_bDepthView && combiner_);
        const int check = shared ? A - l.T - l.B : l.H;
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
    l.Ra = static_cast<int>(m_dDepthAxisWidth) * w;
    l.Dl = l.Ax + l.L;
    l.Dr = rect_.right - l.S - l.Hw - l.Ra - l.R;
    if (l.Dl < l.Dr - 2 * w) return true;
    l.S = 0;
    l.q = 0.0;
    l.Dr = rect_.right - l.Hw - l.Ra - l.R;
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

void CPlotArea::rowYRange(const TraceRecord& r, double Ymin, double Ymax, double M, double& a,
                          double& b, bool& labelEnd) const {
    const std::size_t n = traces_.size();
    labelEnd = false;
    if (m_bAbsoluteMode && M != 0.0) {
        if (n == 1) {
            a = r.last.percentMin;
            b = r.last.percentMax;
        } else if (m_bCommonRange) {
            a = Ymin;
            b = Ymax;
        } else {
            a = r.yMin;
            b = r.yMax;
            labelEnd = m_nHeadingMode != 2;
        }
        a = SnapToInteger(a);
        b = SnapToInteger(b);
    } else {
        a = m_bCommonRange ? Ymin : r.yMin;
        b = m_bCommonRange ? Ymax : r.yMax;
    }
    if (a == b) {
        a = 0.0;
        b = 100.0;
    }
}

void CPlotArea::drawTraces(PlotDC& dc, const Layout& l, bool measuring, CLabelOccupancyMap& profile,
                           COccupiedRectList& rects) {
    const int n = static_cast<int>(traces_.size());
    const int w = font_->measuredWidth;
    const int h = font_->measuredHeight;
    std::vector<TraceRecord> records;
    double Ymin = 0, Ymax = 0, M = 0;
    for (CTrace* t : traces_) {
        TraceRecord r{0.0, 0.0, 0.0, t->Scaling()};
        for (int j = 0; j < t->GetDataSetCount(); ++j) {
            CTrace* set = t->GetDataSet(j);
            if (!set) continue;
            const TraceScaling& sc = set->Scaling();
            r.yMin = j == 0 ? sc.yMin : std::min(r.yMin, sc.yMin);
            r.yMax = j == 0 ? sc.yMax : std::max(r.yMax, sc.yMax);
            r.maxValue = std::max(r.maxValue, set->GetMaxIntensity());
            r.last = sc;
        }
        Ymin = records.empty() ? r.yMin : std::min(Ymin, r.yMin);
        Ymax = records.empty() ? r.yMax : std::max(Ymax, r.yMax);
        M = std::max(M, r.maxValue);
        records.push_back(r);
    }
    const bool depthShift = m_bDepthView && n >= 2 && l.S != 0;
    longestYLabel_ = 0;
    if (!measuring) rows_.clear();
    int belowTop = 0;  // the top of the row below (equal rows)
    for (int k = 0; k < n; ++k) {
        const int t = m_bTraceOrder ? k : n - 1 - k;
        CTrace* trace = traces_[static_cast<std::size_t>(t)];
        const TraceRecord& record = records[static_cast<std::size_t>(t)];
        const int Rb0 = l.Db - static_cast<int>(k * l.s);
        const int dx = static_cast<int>(k * l.q);
        const int Rb = m_bEqualRows ? Rb0 - l.B : Rb0;
        const int Rt = Rb - l.P;
        int Yt = Rt + l.T;
        int Yb = Rb - l.B;
        if (m_bEqualRows) {
            // Rows tile without gaps: each ends one pixel above the row below.
            Yt = Rt;
            Yb = k == 0 ? Rb : belowTop - 1;
        }
        belowTop = Rt;
        const bool segmented = trace->GetSegmentedFlag();
        const int sets = trace->GetDataSetCount();
        int Sw = 0, Sd = 0;
        if (segmented) GetSegmentWidth(l.Dl, l.Dr, sets, w, Sw, Sd);
        double ya = 0, yb = 100;
        bool labelEnd = false;
        rowYRange(record, Ymin, Ymax, M, ya, yb, labelEnd);
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
        if (!measuring && k != 0 && l.H > h / 2 && m_bRowSeparator && !m_bDepthView)
            dc.Line(l.Dl + dx, Rb + 1, l.Dr + dx, Rb + 1);
        // In the depth view rows that overlap leave regions only at the front row; with a depth
        // axis the front row's regions map heights to the depth axis.
        const bool overlapping = m_bDepthView && l.P >= l.s && k != 0;
        const bool leaveRegions = !measuring && regions_ && (depthAxis_ ? k == 0 : !overlapping);
        for (int j = 0; j < sets; ++j) {
            CTrace* set = trace->GetDataSet(j);
            if (!set) continue;
            ElementRect data{l.Dl + dx, Yt, l.Dr + dx, Yb};
            if (segmented) {
                data.left = l.Dl + j * Sw + dx;
                data.right = data.left + Sd;
            }
            const ElementRect label{data.left - l.L + 1, Rt, data.right + l.R + 1, Yb + 1};
            set->SetRect(data);
            set->SetLabelRect(label);
            set->SetCollision(&profile, &rects);
            set->SetMagnification(magnification_);
            set->SetTraceId(t);
            if (measuring) continue;
            rows_.push_back({t, j, data, label, ya, yb, labelEnd});
            // A trace of several data sets that is not segmented leaves one region, at its last.
            if (!leaveRegions || (!segmented && j != sets - 1)) continue;
            ElementRect hit = rect_;
            if (segmented) {
                const int g = (Sw - Sd) / 2 - 2;
                hit.left = j == 0 ? rect_.left : data.left - std::max(g, 0);
                hit.right = j == sets - 1 ? rect_.right : data.right + std::max(g, 0);
            } else if (m_bDepthView && n > 1 && l.headingShown &&
                       (m_nHeadingMode == 2 || m_nHeadingMode == 3)) {
                hit.right -= static_cast<int>(w * m_dHeadingWidth);
            }
            const double x0 = segmented || sets > 1 ? set->GetFirstX() : xStart_;
            const double x1 = segmented || sets > 1 ? set->GetLastX() : xEnd_;
            if (depthAxis_) {
                ElementRect depthData = data;
                depthData.bottom = l.Db - l.B;
                depthData.top = depthData.bottom - l.O - (m_bDepthAxisOverFullRow ? l.H : 0);
                regions_->Add(PlotRegion(kValueKindPosition, m_nDepthRegionYKind, hit, depthData,
                                         x0, x1, depthAxis_->StartValue(), depthAxis_->EndValue(),
                                         depthShift ? m_dColumnAngle : 0.0, trace->m_nRegionIndex,
                                         1.0, trace->ScanFilter(), t));
                continue;
            }
            if (k != 0) hit.bottom = Yb;
            if (k != n - 1) hit.top = Rt;
            const double yBottom = m_bCommonRange ? Ymin : record.yMin;
            const double yTop = m_bCommonRange ? Ymax : record.yMax;
            regions_->Add(PlotRegion(kValueKindPosition, kValueKindIntensity, hit, data, x0, x1,
                                     yBottom, yTop, 0.0, trace->m_nRegionIndex,
                                     M > 0.0 ? 100.0 / M : 1.0, trace->ScanFilter(), t));
        }
    }
    if (measuring) return;
    if (m_bDepthWalls && depthShift) draw3DWalls(dc, l.Ax, l.Db - l.B, l.H, l.S, l.O, l.Dl, l.Dr);
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
    PlotFont headingFont = *font_;
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

void CPlotArea::drawXAxis(PlotDC& dc, const Layout& l) {
    auto axisOver = [&](int x1, int x2, double start, double end) {
        xAxes_.push_back({x1, x2, start, end});
        if (l.xAxisShown) {
            xAxis_.SetEndpoints(x1, l.Bl, x2, l.Bl);
            xAxis_.SetRange(start, end, false);
            xAxis_.SetTitle(m_xTitle);
            xAxis_.SetTitleDistance(4.0);
            xAxis_.SetTitleShareDivisor(1);
            xAxis_.SetLabelsLeft(false);
            xAxis_.Draw(dc);
        } else if (m_bShowXAxis) {
            dc.Line(x1, l.Db + 1, x2, l.Db + 1);  // a dropped axis leaves its line
        }
    };
    if (!segmentedFirst()) {
        if (l.xAxisShown || m_bShowXAxis) axisOver(l.Dl, l.Dr, xStart_, xEnd_);
        return;
    }
    // One axis under each segment, over that segment's own X extent.
    CTrace& first = *traces_[0];
    int Sw = 0, Sd = 0;
    GetSegmentWidth(l.Dl, l.Dr, first.GetDataSetCount(), font_->measuredWidth, Sw, Sd);
    for (int j = 0; j < first.GetDataSetCount(); ++j) {
        const CTrace* set = first.GetDataSet(j);
        if (!set || !(l.xAxisShown || m_bShowXAxis)) continue;
        axisOver(l.Dl + j * Sw, l.Dl + j * Sw + Sd, set->GetFirstX(), set->GetLastX());
    }
}

void CPlotArea::drawDepthAxis(PlotDC& dc, const Layout& l) {
    // The axis climbs from the front row's foot to the back row, along the rows' offset.
    const int Hl = rect_.right - l.Hw;
    depthFrom_ = {Hl - l.S, l.Db};
    depthTo_ = {Hl, l.Db - l.O - (m_bDepthAxisOverFullRow ? l.H : 0)};
    depthAxis_->SetEndpoints(depthFrom_.x(), depthFrom_.y(), depthTo_.x(), depthTo_.y());
    depthAxis_->SetRange(depthAxis_->StartValue(), depthAxis_->EndValue(), false);
    if (l.S != 0) depthAxis_->SetTitleAngle(true, m_dColumnAngle);
    depthAxis_->SetRect(rect_);
    depthAxis_->Draw(dc);
}

void CPlotArea::draw3DWalls(PlotDC& dc, int x, int y, int height, int dx, int dy, int x1, int x2) {
    const COLORREF wall = 0x02000000 | (m_wallColor & 0xFFFFFF);
    // The side wall along the depth axis, then the back wall behind the last row.
    sideWall_ = QPolygon({QPoint(x, y), QPoint(x, y - height), QPoint(x + dx, y - height - dy),
                          QPoint(x + dx, y - dy)});
    dc.FillPolygon(sideWall_, wall);
    const int top = y - height - dy, bottom = y - dy;
    if (x2 > x1 && bottom > top) {
        backWall_ = QPolygon({QPoint(x1 + dx, top), QPoint(x2 + dx - 1, top),
                              QPoint(x2 + dx - 1, bottom - 1), QPoint(x1 + dx, bottom - 1)});
        dc.FillPolygon(backWall_, wall);
    }
}

void CPlotArea::drawMagnification(PlotDC& dc, const Layout& l) {
    auto over = [&](int left, int right, double start, double end) {
        magnification_->SetRect(left, rect_.top, right, rect_.bottom);
        if (l.S != 0) {
            // Brackets lean with the rows and stand on the front row's data top.
            magnification_->SetSlantAngle(m_dColumnAngle);
            magnification_->SetRect(left, rect_.top, right, l.Db - l.P + l.T);
        } else {
            magnification_->SetSlantAngle(0.0);
        }
        magnification_->SetAxisRange(start, end);
        magnification_->SetCollision(nullptr, nullptr);
        magnification_->SetFont(font_);
        magnification_->Draw(dc);
    };
    if (!segmentedFirst()) {
        over(l.Dl, l.Dr, xStart_, xEnd_);
        return;
    }
    CTrace& first = *traces_[0];
    int Sw = 0, Sd = 0;
    GetSegmentWidth(l.Dl, l.Dr, first.GetDataSetCount(), font_->measuredWidth, Sw, Sd);
    for (int j = 0; j < first.GetDataSetCount(); ++j)
        if (const CTrace* set = first.GetDataSet(j))
            over(l.Dl + j * Sw, l.Dl + j * Sw + Sd, set->GetFirstX(), set->GetLastX());
}

int CPlotArea::CombinerGroupSize(int groupHeight, double step) {
    if (step < 0.0) return 0;
    if (step == 0.0) return 1;  // rows on top of each other: one trace a group
    return std::max(1, static_cast<int>(groupHeight / step));
}

void CPlotArea::DrawImpl(PlotDC& dc) {
    layout_ = Layout{};
    rows_.clear();
    xAxes_.clear();
    depthFrom_ = depthTo_ = QPoint();
    sideWall_.clear();
    backWall_.clear();
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
    drawXAxis(dc, l);
    if (l.headingShown && m_nHeadingMode == 1 && depthAxis_) drawDepthAxis(dc, l);
    drawTraces(dc, l, false, profile, rects);
    if (l.headingShown && m_nHeadingMode >= 2 && m_nHeadingMode <= 4)
        drawHeadingColumn(dc, rect_.right - l.Hw, l.Hw, l.Db);
    if (topReserve != 0 && magnification_) drawMagnification(dc, l);
    dc.SelectFont(previousFont);
}

}  // namespace zar::plot
