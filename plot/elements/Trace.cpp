#include "Trace.h"

#include "core/Numbers.h"

#include <cmath>
#include <limits>
#include <optional>

namespace zar::plot {

namespace {
// Width estimates of peak labels grow a character per decade; no value has more decades.
constexpr int kMaxLabelDecades = 40;
constexpr double kTagHeightFactor = -0.75;

QString formatNumber(const QString& format, double v) {
    const QByteArray f = format.toLatin1();
    return QCFormat(f.constData(), v);
}
}  // namespace

CTrace::CTrace() {
    rect_ = {1, 1, 2, 2};
}

void CTrace::SetPoints(const TracePoint* points, std::size_t count) {
    points_ = count ? points : nullptr;
    count_ = points ? count : 0;
    maxAllValid_ = maxRangeValid_ = false;
    ++pointsGeneration_;  // the same array may hold other points now
}

bool CTrace::SetPeakInfoColour(int index, COLORREF color) {
    if (index < 0 || index >= kPeakInfoPens) return false;
    peakInfoColors_[static_cast<std::size_t>(index)] = color;
    return true;
}

void CTrace::SetRange(double start, double end) {
    start_ = start;
    end_ = end;
    maxRangeValid_ = false;
}

const TracePoint* CTrace::FindFirstPointAtOrAfter(const TracePoint* points, std::size_t count,
                                                  double x, std::size_t* index) {
    if (index) *index = 0;
    if (!points || count == 0 || points[count - 1].position < x) return nullptr;
    if (points[0].position >= x) return points;
    std::size_t low = 0, high = count - 1;
    while (high > low + 1) {
        const std::size_t middle = (low + high) / 2;
        if (points[middle].position < x)
            low = middle;
        else
            high = middle;
    }
    if (index) *index = high;
    return points + high;
}

const TracePoint* CTrace::FindNearestPoint(double x) const {
    if (!points_ || count_ == 0) return nullptr;
    std::size_t i = 0;
    const TracePoint* p = FindFirstPointAtOrAfter(points_, count_, x, &i);
    if (!p) {
        p = points_ + count_ - 1;
        i = count_ - 1;
    }
    if (i > 0 && count_ != 1 && std::fabs(points_[i - 1].position - x) < std::fabs(p->position - x))
        return points_ + i - 1;
    return p;
}

double CTrace::GetMaxIntensity() {
    if (!points_) return 0.0;
    auto rangeMax = [&](double a, double b) -> std::optional<double> {
        std::size_t i = 0;
        if (!FindFirstPointAtOrAfter(points_, count_, a, &i)) return std::nullopt;
        double m = 0.0;
        for (; i < count_ && points_[i].position <= b; ++i) m = std::max(m, points_[i].intensity);
        return m;
    };
    switch (scaling_.normalisationMode) {
        case 1:
            if (!maxAllValid_) {
                maxAll_ = 0.0;
                for (std::size_t i = 0; i < count_; ++i)
                    maxAll_ = std::max(maxAll_, points_[i].intensity);
                maxAllValid_ = true;
            }
            return maxAll_;
        case 0:
        case 2:
            if (!maxRangeValid_) {
                const auto m = rangeMax(start_, end_);
                if (!m) return 0.0;
                maxRange_ = *m;
                maxRangeValid_ = true;
            }
            return maxRange_;
        default:
            return 0.0;
    }
}

double CTrace::GetFirstX() const {
    if (extentGiven_) return extentFirst_;
    return points_ ? points_[0].position : 0.0;
}

double CTrace::GetLastX() const {
    if (extentGiven_) return extentLast_;
    return points_ ? points_[count_ - 1].position : 0.0;
}

void CTrace::shareSettingsWith(CTrace& d) const {
    d.font_ = font_;
    d.markers1_ = markers1_;
    d.markers2_ = markers2_;
    d.userLayer_ = userLayer_;
    d.userLabelColor_ = userLabelColor_;
    d.graphLayer_ = graphLayer_;
    d.peakInfo_ = peakInfo_;
    d.peakInfoCount_ = peakInfoCount_;
    d.peakInfoColors_ = peakInfoColors_;
    d.m_bPositionLabels = m_bPositionLabels;
    d.m_bDifferenceLabels = m_bDifferenceLabels;
    d.m_nDifferenceMode = m_nDifferenceMode;
    d.m_dReferencePosition = m_dReferencePosition;
    d.m_bScanNumberLabels = m_bScanNumberLabels;
    d.m_bBasePeakLabels = m_bBasePeakLabels;
    d.m_bFlagTags = m_bFlagTags;
    d.m_bLabelsBesideGraphLabels = m_bLabelsBesideGraphLabels;
    d.m_bRotateLabels = m_bRotateLabels;
    d.m_bBoxLabels = m_bBoxLabels;
    d.m_dLabelThreshold = m_dLabelThreshold;
    d.decimals_ = decimals_;
    d.offsetFactor_ = offsetFactor_;
}

double CTrace::GetMinIntensity() const {
    std::size_t i = 0;
    if (!FindFirstPointAtOrAfter(points_, count_, start_, &i)) return 0.0;
    double m = 1e50;
    for (; i < count_ && points_[i].position < end_; ++i) m = std::min(m, points_[i].intensity);
    return m;
}

bool CTrace::peakLabelsWanted() const {
    if (graphLayer_ && graphLayer_->size() > 0) return m_bLabelsBesideGraphLabels;
    return m_bPositionLabels || (m_bDifferenceLabels && m_nDifferenceMode != 0) ||
           m_bScanNumberLabels || m_bBasePeakLabels;
}

double CTrace::magnified(const TracePoint& p) {
    return magnify_ ? p.intensity * magnification_->GetFactorAt(p.position) : p.intensity;
}

MarkerScales CTrace::markerScales(double yScale, double xScale) const {
    MarkerScales s;
    s.yMin = scaling_.yMin;
    s.yMax = scaling_.yMax;
    s.yScale = yScale;
    s.bottom = rect_.bottom;
    s.xStart = start_;
    s.xEnd = end_;
    s.xScale = xScale;
    s.left = rect_.left;
    return s;
}

void CTrace::drawLabelLayers(PlotDC& dc, CLabelOccupancyMap* profile, double yScale,
                             double xScale) {
    const int cw = font_ ? font_->measuredWidth : 0;
    if (userLayer_) {
        userLayer_->MapPositions(yScale, scaling_.yMin, rect_.bottom, xScale, start_, rect_.left,
                                 magnification_);
        userLayer_->SetRect(labelRect_);
        userLayer_->SetCollision(profile, rects_, profile != nullptr, rects_ != nullptr);
        userLayer_->SetRotate(false);
        userLayer_->SetFont(font_);
        userLayer_->SetKeepInside(true);
        userLayer_->SetTraceFilter(traceId_);
        const COLORREF previous = dc.GetTextColor();
        dc.SetTextColor(userLabelColor_);
        userLayer_->Draw(dc);
        dc.SetTextColor(previous);
    }
    if (graphLayer_) {
        graphLayer_->MapPositions(yScale, scaling_.yMin, rect_.bottom, xScale, start_, rect_.left,
                                  magnification_);
        graphLayer_->SetRect(labelRect_);
        graphLayer_->SetCollision(profile, rects_, true, true);
        graphLayer_->SetOffset(static_cast<int>(cw * offsetFactor_));
        graphLayer_->SetRotate(m_bRotateLabels);
        graphLayer_->SetFont(font_);
        graphLayer_->SetBoxAll(m_bBoxLabels);
        graphLayer_->SetTraceFilter(traceId_);
        graphLayer_->Draw(dc);
    }
}

void CTrace::buildAndDrawPeakLabels(PlotDC& dc, std::vector<PeakLabelCandidate>& candidates,
                                    CLabelOccupancyMap* profile) {
    lastCandidates_ = candidates;
    lastPeakLabels_.clear();
    if (candidates.empty()) return;
    const int cw = font_ ? font_->measuredWidth : dc.GetTextExtent(QStringLiteral("O")).width();
    CTextLabel layer(m_bRotateLabels, static_cast<int>(cw * offsetFactor_), false, 0.4, font_);
    layer.SetRect(labelRect_);
    layer.SetCollision(profile, rects_, true, true);
    layer.SetTraceFilter(0);
    const QString format = labelFormat();
    int positionWidth = dc.GetTextExtent(formatNumber(format, 2.0)).width();
    double positionThreshold = 10.0;
    int scanWidth = dc.GetTextExtent(QStringLiteral("2")).width();
    double scanThreshold = 10.0;
    int differenceWidth = dc.GetTextExtent(formatNumber(format, 2.0)).width() + 2 * cw;
    double differenceThreshold = 10.0;
    // Each part grows a character per decade of its value; infinite values stop at the bound.
    auto grow = [cw](double value, double& threshold, int& width) {
        for (int d = 0; d < kMaxLabelDecades && std::fabs(value) >= threshold; ++d) {
            threshold *= 10;
            width += cw;
        }
    };
    const bool difference = m_bDifferenceLabels && m_nDifferenceMode != 0;
    for (const PeakLabelCandidate& c : candidates) {
        QStringList lines;
        const double diff = m_nDifferenceMode == 1 ? m_dReferencePosition - c.position
                                                   : c.position - m_dReferencePosition;
        if (m_bScanNumberLabels) lines << QString::number(c.scanNumber);
        if (m_bPositionLabels) lines << formatNumber(format, c.position);
        if (difference) lines << QStringLiteral("(%1)").arg(formatNumber(format, diff));
        if (m_bBasePeakLabels) lines << formatNumber(format, c.basePeakMass);
        grow(c.position, positionThreshold, positionWidth);
        grow(c.scanNumber, scanThreshold, scanWidth);
        grow(diff, differenceThreshold, differenceWidth);
        int width = 0;
        if (m_bPositionLabels || m_bBasePeakLabels) width = std::max(width, positionWidth);
        if (m_bScanNumberLabels) width = std::max(width, scanWidth);
        if (difference) width = std::max(width, differenceWidth);
        const int half = width / 2;
        if (profile) {
            const bool blocked = offsetFactor_ != 0.0
                                     ? profile->IsBlocked(c.px - half, c.px, c.py) &&
                                           profile->IsBlocked(c.px, c.px + half, c.py)
                                     : profile->IsBlocked(c.px - half, c.px + half, c.py);
            if (blocked) continue;
        }
        TextLabelNode node;
        node.lines = lines;
        node.x = c.px;
        node.y = c.py;
        node.priority = c.intensity;
        node.xAnchor = 1;
        node.yAnchor = 2;
        node.alignment = 1;
        node.boxed = m_bBoxLabels;
        layer.AddLabel(node);
    }
    layer.Draw(dc);
    lastPeakLabels_ = layer.Placed();
}

void CTrace::DrawProfile(PlotDC& dc, COLORREF color) {
    lastPeakLabels_.clear();
    lastCandidates_.clear();
    std::size_t first = 0;
    if (!points_ || !FindFirstPointAtOrAfter(points_, count_, start_, &first) || end_ - start_ <= 0)
        return;
    const bool metafile = dc.IsMetafile();
    const double yMin = scaling_.yMin, yMax = scaling_.yMax;
    const int left = rect_.left, right = rect_.right, top = rect_.top, bottom = rect_.bottom;
    // The points in range end at the first at or after the range's end (positions ascend).
    // (The search writes 0 when it finds nothing: no point at or after the end means all of
    // them to the last are in range.)
    std::size_t inRange = count_;
    std::size_t after = 0;
    if (FindFirstPointAtOrAfter(points_ + first, count_ - first, end_, &after))
        inRange = first + after;
    const std::size_t n = inRange - first;
    const bool wanted = peakLabelsWanted();
    std::vector<PeakLabelCandidate> candidates;
    std::size_t room = 0;
    if (wanted) {
        room = std::max<std::size_t>(10, std::min<std::size_t>(n, std::max(right - left, 0)));
        candidates.reserve(room);
    }
    // A profile of our own when none was lent, so labels always have one to test against.
    std::optional<CLabelOccupancyMap> ownProfile;
    CLabelOccupancyMap* profile = profile_;
    if (!profile && (userLayer_ || graphLayer_ || wanted)) profile = &ownProfile.emplace();
    if (profile) profile->Reset(left, right, bottom);
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    const double xScale = (right - left) / (end_ - start_);
    const double yScale = yMax != yMin ? (top - bottom) / (yMax - yMin) : 0.0;
    auto pixelY = [&](double y) {
        int py = static_cast<int>((y - yMin) * yScale) + bottom;
        if (metafile) py = std::clamp(py, top, bottom);
        return py;
    };
    if (markers1_)
        markers1_->Draw(dc, true, markerScales(yScale, xScale), magnification_, traceId_);
    if (markers2_)
        markers2_->Draw(dc, true, markerScales(yScale, xScale), magnification_, traceId_);

    CPeakInfoPens infoPens(peakInfoColors_);
    infoPens.Init(peakInfo_, peakInfoCount_, kDefaultPeakInfoWindow);
    COLORREF penInUse = color;
    dc.SaveState();
    dc.SetPen(color, dc.DevicePenWidth());
    const int margin =
        (dc.IsPrinting() || metafile) ? std::max(1, static_cast<int>(0.02 * dc.LogPixelsY())) : 1;
    if (!metafile)
        dc.IntersectClipRect(left - margin, top - margin, right + margin + 1, bottom + margin + 1);

    // Peak areas under the baselines of line markers with symbols.
    for (const CMarkerList* list : {markers1_, markers2_}) {
        if (!list) continue;
        for (const MarkerNode& m : list->markers()) {
            if (m.style != ZAR_PLOTLib::VXPlot_MarkerStyle_Line || m.traceId != traceId_ ||
                m.symbol == ZAR_PLOTLib::VXPlot_MarkerSymbolType_None)
                continue;
            const TracePoint* a = FindNearestPoint(m.startPosition);
            const TracePoint* b = FindNearestPoint(m.endPosition);
            if (a && b) FillPeakArea(dc, a, b, m.startIntensity, m.endIntensity);
        }
    }
    dc.SetPen(color, dc.DevicePenWidth());
    if (magnify_) magnification_->Rewind();

    bool firstColumn = true;
    bool rising = false;
    const TracePoint* prevPoint = nullptr;
    int prevPx = 0, prevPy = 0;
    dc.BeginLineBatch();
    for (const ProfileColumn& column : profileColumns(first, inRange, xScale)) {
        const TracePoint& opener = points_[column.first];
        const TracePoint& last = points_[column.end - 1];
        const TracePoint* hiPoint = &points_[column.highest];
        if (infoPens.Active()) {
            const COLORREF pen = infoPens.SelectFor(last.position, color);
            if (pen != penInUse) {
                dc.SetPen(pen, dc.DevicePenWidth());
                penInUse = pen;
            }
        }
        const int px = left + column.column;
        const int pyMax = pixelY(column.hi);
        const int pyMin = pixelY(column.lo);
        int a = pyMax, b = pyMax;
        const bool several = column.end - column.first > 1;
        if (several) {
            if (last.intensity > opener.intensity) {
                a = pyMin;
                b = pyMax;
            } else {
                a = pyMax;
                b = pyMin;
            }
        }
        if (firstColumn) {
            dc.MoveTo(px, a);
            firstColumn = false;
        } else {
            if (profile) profile->RaiseSpan(prevPx, px, std::min(pyMax, prevPy));
            dc.LineTo(px, a);
        }
        if (several) dc.LineTo(px, b);
        if (profile && firstColumn == false && prevPoint == nullptr)
            profile->RaiseColumn(px, pyMax);

        if (wanted || m_bFlagTags) {
            if (prevPoint && hiPoint->intensity > prevPoint->intensity) {
                rising = true;
            } else if (prevPoint && rising) {
                if (prevPoint->intensity >= m_dLabelThreshold && wanted &&
                    candidates.size() < room) {
                    candidates.push_back({prevPoint->intensity, prevPoint->position,
                                          prevPoint->basePeakMass, prevPoint->scanNumber, prevPx,
                                          prevPy - 1});
                }
                rising = false;
            } else if (!prevPoint) {
                rising = true;  // the first column counts as rising from nothing
            }
        }
        prevPoint = hiPoint;
        prevPx = px;
        prevPy = pyMax;
    }
    dc.EndLineBatch();
    dc.RestoreState();
    if (markers1_)
        markers1_->Draw(dc, false, markerScales(yScale, xScale), magnification_, traceId_);
    if (markers2_)
        markers2_->Draw(dc, false, markerScales(yScale, xScale), magnification_, traceId_);
    drawLabelLayers(dc, profile, yScale, xScale);
    if (wanted) buildAndDrawPeakLabels(dc, candidates, profile);
}

const std::vector<CTrace::ProfileColumn>& CTrace::profileColumns(std::size_t first,
                                                                  std::size_t inRange,
                                                                  double xScale) {
    const ColumnsKey key{points_, count_, pointsGeneration_, start_, end_, rect_.left, rect_.right};
    // Magnified intensities follow the magnification's ranges, which may change unseen.
    if (!magnify_ && columnsKey_ == key) return columns_;
    columnsKey_.reset();
    columns_.clear();
    const auto columnOf = [&](std::size_t k) {
        return static_cast<int>((points_[k].position - start_) * xScale);
    };
    std::size_t i = first;
    while (i < count_ && points_[i].position <= end_) {
        const int column = columnOf(i);
        // The column's points: found by halving between the column's first point and the
        // range's end (the column number never falls as the positions rise), so the column
        // numbers of its inner points are never worked out one by one.
        std::size_t j = i + 1;
        if (j < inRange && columnOf(j) == column) {
            std::size_t step = 1;
            std::size_t inside = j;  // its column is `column`
            std::size_t outside = inRange;
            while (inside + step < inRange && columnOf(inside + step) == column) {
                inside += step;
                step *= 2;
            }
            outside = std::min(inside + step, inRange);
            while (outside - inside > 1) {
                const std::size_t middle = inside + (outside - inside) / 2;
                if (columnOf(middle) == column)
                    inside = middle;
                else
                    outside = middle;
            }
            j = outside;
        }
        std::size_t highest = i;
        double hi = magnified(points_[i]), lo = hi;
        if (magnify_) {
            for (std::size_t k = i + 1; k < j; ++k) {
                const double v = magnified(points_[k]);
                if (v > hi) {
                    hi = v;
                    highest = k;
                }
                lo = std::min(lo, v);
            }
        } else {
            for (std::size_t k = i + 1; k < j; ++k) {
                const double v = points_[k].intensity;
                if (v > hi) {
                    hi = v;
                    highest = k;
                }
                lo = std::min(lo, v);
            }
        }
        columns_.push_back({column, i, j, highest, hi, lo});
        i = j;
    }
    if (!magnify_) columnsKey_ = key;
    return columns_;
}

void CTrace::FillPeakArea(PlotDC& dc, const TracePoint* first, const TracePoint* last,
                          double baseStart, double baseEnd) {
    if (!first || !last || end_ - start_ <= 0.0) return;
    const double yMin = scaling_.yMin, yMax = scaling_.yMax;
    const int left = rect_.left, top = rect_.top, bottom = rect_.bottom;
    const double xScale = (rect_.right - left) / (end_ - start_);
    const double yScale = yMax != yMin ? (top - bottom) / (yMax - yMin) : 0.0;
    auto pixelX = [&](double x) { return left + static_cast<int>((x - start_) * xScale); };
    auto pixelY = [&](double y) { return static_cast<int>((y - yMin) * yScale) + bottom; };
    const int x1 = pixelX(first->position), x2 = pixelX(last->position);
    const int y1 = pixelY(baseStart), y2 = pixelY(baseEnd);
    if (first->position > end_ || last->position < start_ || x2 - x1 <= 1) return;
    const double slope = double(y2 - y1) / (x2 - x1);
    const double b = y1 - x1 * slope;
    auto base = [&](int x) { return static_cast<int>(x * slope + b); };
    QPainterPath path;
    QPointF current(x1, y1);
    path.moveTo(current);
    auto crossing = [&](int px, int py) -> QPointF {
        if (current.x() == px) return QPointF(px, base(px));
        const double ts = (py - current.y()) / (px - current.x());
        const double tb = py - px * ts;
        if (slope == ts) return QPointF(px, base(px));  // parallel: no crossing of its own
        const double xr = (tb - b) / (slope - ts);
        return QPointF(static_cast<int>(xr + 0.5), static_cast<int>(xr * ts + tb + 0.5));
    };
    std::optional<bool> inside;
    auto visit = [&](int px, int py) {
        if (!inside) inside = y1 >= py;
        const bool below = py > base(px);
        if (*inside && !below) {
            path.lineTo(px, py);
        } else if (*inside) {
            path.lineTo(crossing(px, py));
            path.moveTo(px, py);
            inside = false;
        } else if (py >= base(px)) {
            path.moveTo(px, py);
        } else {
            path.moveTo(crossing(px, py));
            path.lineTo(px, py);
            inside = true;
        }
        current = QPointF(px, py);
    };
    const std::size_t endIndex = static_cast<std::size_t>(last - points_);
    std::size_t i = static_cast<std::size_t>(first - points_);
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    while (i <= endIndex && i < count_ && points_[i].position <= end_) {
        const int column = static_cast<int>((points_[i].position - start_) * xScale);
        double hi = magnified(points_[i]), lo = hi;
        std::size_t j = i + 1;
        while (j <= endIndex && j < count_ && points_[j].position < end_ &&
               static_cast<int>((points_[j].position - start_) * xScale) == column) {
            const double v = magnified(points_[j]);
            hi = std::max(hi, v);
            lo = std::min(lo, v);
            ++j;
        }
        const int px = left + column;
        if (j - i > 1 && points_[j - 1].intensity > points_[i].intensity) {
            visit(px, pixelY(lo));
            visit(px, pixelY(hi));
        } else if (j - i > 1) {
            visit(px, pixelY(hi));
            visit(px, pixelY(lo));
        } else {
            visit(px, pixelY(hi));
        }
        i = j;
    }
    path.lineTo(x2, y2);
    path.closeSubpath();
    dc.SaveState();
    dc.IntersectClipRect(left - 2, top - 2, rect_.right + 3, bottom + 3);
    dc.FillPath(path, 0x02C0C0C0);
    dc.RestoreState();
}

void CTrace::DrawSticks(PlotDC& dc, COLORREF normal, COLORREF flag1, COLORREF flag2,
                        COLORREF flag3) {
    lastPeakLabels_.clear();
    lastCandidates_.clear();
    std::size_t first = 0;
    if (!points_ || !FindFirstPointAtOrAfter(points_, count_, start_, &first)) return;
    std::size_t n = 0;
    for (std::size_t i = first; i < count_ && points_[i].position < end_; ++i) ++n;
    const double yMin = scaling_.yMin, yMax = scaling_.yMax;
    if (n == 0 || yMax - yMin <= 0 || end_ - start_ <= 0) return;
    const int left = rect_.left, right = rect_.right, top = rect_.top, bottom = rect_.bottom;
    // Sticks always test their labels against a profile: a local one when none was lent.
    std::optional<CLabelOccupancyMap> ownProfile;
    CLabelOccupancyMap* profile = profile_ ? profile_ : &ownProfile.emplace();
    profile->Reset(left, right, bottom);
    const bool wanted = peakLabelsWanted();
    std::vector<PeakLabelCandidate> candidates;
    const std::size_t room =
        wanted ? std::max<std::size_t>(10, std::min<std::size_t>(n, std::max(right - left, 0))) : 0;
    candidates.reserve(room);
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    const double xScale = (right - left) / (end_ - start_);
    const double yScale = (top - bottom) / (yMax - yMin);
    if (markers1_)
        markers1_->Draw(dc, true, markerScales(yScale, xScale), magnification_, traceId_);
    if (markers2_)
        markers2_->Draw(dc, true, markerScales(yScale, xScale), magnification_, traceId_);

    CTextLabel tags(false, 0, false, 0.1, font_);
    CPeakInfoPens infoPens(peakInfoColors_);
    infoPens.Init(peakInfo_, peakInfoCount_, kDefaultPeakInfoWindow);
    const int penWidth = dc.DevicePenWidth();
    COLORREF current = normal;
    dc.SaveState();
    dc.SetPen(normal, penWidth);
    const int tagRaise = font_ ? static_cast<int>(font_->measuredHeight * kTagHeightFactor) : 0;
    std::size_t i = first;
    while (i < count_ && points_[i].position < end_) {
        if (points_[i].intensity == 0.0) {
            ++i;
            continue;
        }
        const int column = static_cast<int>((points_[i].position - start_) * xScale);
        const TracePoint* best = &points_[i];
        double hi = magnified(points_[i]);
        std::size_t j = i + 1;
        while (j < count_ && points_[j].position < end_ &&
               static_cast<int>((points_[j].position - start_) * xScale) == column) {
            const double v = magnified(points_[j]);
            if (v > hi) {
                hi = v;
                best = &points_[j];
            }
            ++j;
        }
        i = j;
        const int px = left + column;
        int py = static_cast<int>((hi - yMin) * yScale) + bottom;
        if (py < top) py = top;
        if (py > bottom) continue;
        profile->RaiseColumn(px, py);
        COLORREF pen = normal;
        QString tag;
        if (best->flags & kFlagFirst) {
            pen = flag1;
            tag = QStringLiteral("S");
        } else if (best->flags & kFlagSecond) {
            pen = flag2;
            tag = QStringLiteral("R");
        } else if (best->flags & kFlagThird) {
            pen = flag3;
            tag = QStringLiteral("E");
        }
        if (infoPens.Active()) pen = infoPens.SelectFor(points_[j - 1].position, pen);
        if (pen != current) {
            dc.SetPen(pen, penWidth);
            current = pen;
        }
        dc.Line(px, bottom, px, py - 1);
        if (!tag.isEmpty() && m_bFlagTags) {
            TextLabelNode node;
            node.lines = {tag};
            node.x = px;
            node.y = py - 1;
            node.priority = hi;
            tags.AddLabel(node);
            py += tagRaise;
        }
        if (wanted && hi >= m_dLabelThreshold && candidates.size() < room)
            candidates.push_back(
                {hi, best->position, best->basePeakMass, best->scanNumber, px, py - 1});
    }
    dc.RestoreState();
    if (markers1_)
        markers1_->Draw(dc, false, markerScales(yScale, xScale), magnification_, traceId_);
    if (markers2_)
        markers2_->Draw(dc, false, markerScales(yScale, xScale), magnification_, traceId_);
    drawLabelLayers(dc, profile, yScale, xScale);
    if (m_bFlagTags && tags.size() > 0) {
        tags.SetRect(labelRect_);
        tags.SetCollision(profile, rects_, true, rects_ != nullptr);
        tags.Draw(dc);
    }
    if (wanted) buildAndDrawPeakLabels(dc, candidates, profile);
}

void CChroTrace::DrawImpl(PlotDC& dc) {
    // A single point cannot make a line: it is drawn as a stick.
    if (m_nStyle == 0 && count_ != 1)
        DrawProfile(dc, m_lineColor);
    else
        DrawSticks(dc, m_lineColor, m_lineColor, 0x02000000, 0x02000000);
}

CSpecTrace::CSpecTrace() = default;
CSpecTrace::~CSpecTrace() = default;

CSpecAddedTrace& CSpecTrace::AddDataSet(const TracePoint* points, std::size_t count, double first,
                                        double last) {
    added_.push_back(std::make_unique<CSpecAddedTrace>());
    CSpecAddedTrace& set = *added_.back();
    set.SetPoints(points, count);
    set.SetXExtent(first, last);
    set.SetRange(start_, end_);
    set.SetScaling(scaling_);
    return set;
}

CTrace* CSpecTrace::GetDataSet(int index) {
    if (index == 0) return this;
    if (index < 1 || index > static_cast<int>(added_.size())) return nullptr;
    return added_[static_cast<std::size_t>(index - 1)].get();
}

void CSpecTrace::DrawImpl(PlotDC& dc) {
    drawDataSet(dc, *this);
    for (const auto& set : added_) {
        shareSettingsWith(*set);
        set->drawDataSet(dc, *this);
    }
}

void CSpecTrace::drawDataSet(PlotDC& dc, const CSpecTrace& style) {
    switch (style.m_nStyle) {
        case 0:
            // A spectrum of one point is a stick even in profile style.
            if (style.count_ == 1)
                DrawSticks(dc, style.m_stickColors[0], style.m_stickColors[1],
                           style.m_stickColors[2], style.m_stickColors[3]);
            else
                DrawProfile(dc, style.m_profileColor);
            break;
        case 1:
            DrawSticks(dc, style.m_stickColors[0], style.m_stickColors[1], style.m_stickColors[2],
                       style.m_stickColors[3]);
            break;
        case 2:
            m_shadeEmpty = style.m_shadeEmpty;
            m_shadeFull = style.m_shadeFull;
            DrawShade(dc);
            break;
        default:
            break;
    }
}

void CTraceKind3::DrawImpl(PlotDC& dc) {
    std::size_t i = 0;
    if (!points_ || !FindFirstPointAtOrAfter(points_, count_, start_, &i) || end_ - start_ <= 0.0)
        return;
    const double yMin = scaling_.yMin, yMax = scaling_.yMax;
    const double xScale = (rect_.right - rect_.left) / (end_ - start_);
    const double yScale = yMax != yMin ? (rect_.top - rect_.bottom) / (yMax - yMin) : 0.0;
    const int size = symbolSize(dc);
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    dc.SaveState();
    dc.SetPen(m_color, dc.DevicePenWidth());
    dc.SetBrush(RGBRef(255, 255, 255));
    for (; i < count_ && points_[i].position <= end_; ++i) {
        const int px = rect_.left + static_cast<int>((points_[i].position - start_) * xScale);
        const int py = static_cast<int>((magnified(points_[i]) - yMin) * yScale) + rect_.bottom;
        if (px < rect_.left || px > rect_.right || py < rect_.top || py > rect_.bottom) continue;
        DrawMarkerSymbol(m_nSymbol, dc, px, py, size);
    }
    dc.RestoreState();
}

bool CTraceKind3::HitTestPoint(const PlotDC& dc, int x, int y, double yMin, double yMax,
                               double& position, double& intensity, std::size_t& index) {
    position = intensity = 0.0;
    if (!points_ || end_ - start_ <= 0.0 || index > count_) return false;
    std::size_t first = 0;
    if (!FindFirstPointAtOrAfter(points_, count_, start_, &first)) return false;
    const double xScale = (rect_.right - rect_.left) / (end_ - start_);
    const double yScale = yMax != yMin ? (rect_.top - rect_.bottom) / (yMax - yMin) : 0.0;
    const int half = symbolSize(dc) / 2;
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    for (std::size_t i = std::max(first, index); i < count_ && points_[i].position <= end_; ++i) {
        const int px = rect_.left + static_cast<int>((points_[i].position - start_) * xScale);
        const int py = static_cast<int>((magnified(points_[i]) - yMin) * yScale) + rect_.bottom;
        if (std::abs(x - px) <= half && std::abs(y - py) <= half) {
            position = points_[i].position;
            intensity = points_[i].intensity;
            index = i;
            return true;
        }
    }
    return false;
}

COLORREF CSpecTrace::ShadeColor(double m) const {
    const double span = scaling_.yMax - scaling_.yMin;
    const double f = span > 0.0 ? std::min(m / span, 1.0) : 0.0;
    auto mix = [f](int e, int u) { return static_cast<int>(e + f * (u - e)) & 0xFF; };
    return PaletteRGB(mix(GetRValue(m_shadeEmpty), GetRValue(m_shadeFull)),
                      mix(GetGValue(m_shadeEmpty), GetGValue(m_shadeFull)),
                      mix(GetBValue(m_shadeEmpty), GetBValue(m_shadeFull)));
}

void CSpecTrace::DrawShade(PlotDC& dc) {
    const int left = rect_.left, right = rect_.right, top = rect_.top, bottom = rect_.bottom;
    std::size_t i = 0;
    const bool hasPoint = FindFirstPointAtOrAfter(points_, count_, start_, &i) != nullptr;
    // No scale (an empty intensity or position span) or no data: one empty band.
    if (!hasPoint || scaling_.yMax - scaling_.yMin <= 0.0 || end_ - start_ <= 0.0) {
        dc.FillRect(left, top, right + 1, bottom + 1, m_shadeEmpty);
        return;
    }
    const double x0 = static_cast<int>(start_ + 0.5);
    if (x0 - 0.5 >= end_) return;
    magnify_ = magnification_ && magnification_->HasRanges();
    if (magnify_) magnification_->Rewind();
    const double xScale = (right - left) / (end_ - start_);
    int cellLeft = left;
    double upper = x0 + 0.5;
    while (i < count_) {
        double m = 0.0;
        while (i < count_ && points_[i].position < upper) {
            m = std::max(m, magnified(points_[i]));
            ++i;
        }
        const int cellRight =
            std::min(static_cast<int>((upper - start_) * xScale + left) + 1, right + 1);
        dc.FillRect(cellLeft, top, cellRight, bottom + 1, ShadeColor(m));
        cellLeft = cellRight;
        if (upper >= end_) return;
        upper += 1.0;
    }
    if (cellLeft < right + 1) dc.FillRect(cellLeft, top, right + 1, bottom + 1, m_shadeEmpty);
}

}  // namespace zar::plot
