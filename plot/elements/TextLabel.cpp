#include "TextLabel.h"

#include <algorithm>
#include <cmath>

namespace zar::plot {

CTextLabel::CTextLabel(bool rotate, int offset, bool alwaysLeader, double spacingFactor,
                       PlotFont* font)
    : rotate_(rotate),
      offset_(std::max(offset, 0)),
      alwaysLeader_(alwaysLeader),
      spacing_(spacingFactor),
      font_(font) {}

void CTextLabel::AddLabel(const TextLabelNode& label) {
    auto it = std::find_if(labels_.begin(), labels_.end(),
                           [&](const TextLabelNode& n) { return n.priority <= label.priority; });
    labels_.insert(it, label);
}

void CTextLabel::RemoveLabelsInRange(double start, double end, std::int32_t traceId) {
    labels_.remove_if([&](const TextLabelNode& n) {
        return n.dataX >= start && n.dataX <= end && (traceId == -1 || n.traceId == traceId);
    });
}

void CTextLabel::RemoveLabels(std::int32_t traceId) {
    if (traceId == -1)
        labels_.clear();
    else
        labels_.remove_if([&](const TextLabelNode& n) { return n.traceId == traceId; });
}

int CTextLabel::GetMaxAboveGraphLines() const {
    int most = 0;
    for (const TextLabelNode& n : labels_)
        if (n.aboveGraph) most = std::max(most, static_cast<int>(n.lines.size()));
    return most;
}

int CTextLabel::GetLongestLine() const {
    int longest = 0;
    for (const TextLabelNode& n : labels_)
        for (const QString& line : n.lines)
            longest = std::max(longest, static_cast<int>(line.size()));
    return longest;
}

void CTextLabel::MapPositions(double yScale, double yMin, int bottom, double xScale, double xStart,
                              int left, const CZoomFactorLabel* magnification) {
    const bool magnify = magnification && magnification->HasRanges();
    for (TextLabelNode& n : labels_) {
        const double f = magnify ? magnification->FactorAt(n.dataX) : 1.0;
        n.x = static_cast<int>((n.dataX - xStart) * xScale) + left;
        n.y = static_cast<int>((n.dataY * f - yMin) * yScale) + bottom;
        if (n.pointer) {
            const double pf = magnify ? magnification->FactorAt(n.pointerDataX) : 1.0;
            n.pointerX = static_cast<int>((n.pointerDataX - xStart) * xScale) + left;
            n.pointerY = static_cast<int>((n.pointerDataY * pf - yMin) * yScale) + bottom;
        }
    }
}

bool CTextLabel::FitIntoBounds(const ElementRect& b, int& left, int& right, int& top, int& bottom) {
    if (right - left + 1 > b.right - b.left + 1 || bottom - top + 1 > b.bottom - b.top + 1)
        return false;
    if (left < b.left) {
        right += b.left - left;
        left = b.left;
    } else if (right > b.right) {
        left -= right - b.right;
        right = b.right;
    }
    if (top < b.top) {
        bottom += b.top - top;
        top = b.top;
    } else if (bottom > b.bottom) {
        top -= bottom - b.bottom;
        bottom = b.bottom;
    }
    return true;
}

void CTextLabel::DrawImpl(PlotDC& dc) {
    placed_.clear();
    if (labels_.empty()) return;
    dc.SaveState();
    dc.SetPen(leaderColor_, dc.DevicePenWidth(), PS_DOT);
    if (font_) font_->CreateFontForDC(dc);
    const int cw = font_ ? font_->measuredWidth : dc.GetTextExtent(QStringLiteral("O")).width();
    const int ch = font_ ? font_->measuredHeight : dc.GetTextExtent(QStringLiteral("O")).height();
    const int gap = offset_ != 0 ? static_cast<int>(ch * 0.25) : static_cast<int>(ch * 0.2);
    const int tick = std::max(1, ch / 15);
    const int third = ch / 3;
    const int step = std::max(3, cw / 3);
    const int raise = std::max(5, ch / 2);

    COccupiedRectList ownRects;
    COccupiedRectList* rects = rects_ ? rects_ : &ownRects;
    const bool useProfile = useProfile_ && profile_;
    DCFont horizontal = dc.Font();
    DCFont vertical = horizontal;
    vertical.escapement += 900;
    if (rotate_) dc.SelectFont(vertical);

    for (const TextLabelNode& label : labels_) {
        if (label.traceId != traceFilter_) continue;
        int maxW = 0;
        for (const QString& line : label.lines)
            maxW = std::max(maxW, dc.GetTextExtent(line).width());
        const int n = static_cast<int>(label.lines.size());
        if (n == 0 || maxW == 0) continue;
        const bool isVertical = rotate_ || (font_ && label.rotated);
        if (isVertical && !rotate_) dc.SelectFont(vertical);
        int w, h;
        if (!isVertical) {
            h = ch * n;
            w = static_cast<int>(2 * cw * spacing_) + maxW;
        } else {
            w = ch * n;
            h = maxW + 2 * gap;
        }
        const int x = label.x;
        const int y = label.y;
        auto finishLabel = [&]() {
            if (isVertical && !rotate_) dc.SelectFont(horizontal);
        };
        if (offset_ != 0 || alwaysLeader_) {
            const bool insideColumns = useProfile ? (x > profile_->First() && x < profile_->Last())
                                                  : (x > rect_.left && x < rect_.right);
            if (!insideColumns || y < rect_.top || y > rect_.bottom) {
                finishLabel();
                continue;
            }
        }
        int left = label.xAnchor == 0 ? x : label.xAnchor == 1 ? x - w / 2 : x - w;
        int right = left + w;
        int top = label.yAnchor == 0 ? y : label.yAnchor == 1 ? y - h / 2 : y - h;
        int bottom = top + h;
        // A user's label (a layer that keeps its labels inside) at its position stands just
        // above the data at its anchor (the marked peak), inside the bounds; the data beside it
        // do not push it away, or it would never be drawn there.
        const bool atPosition = keepInside_ && !label.aboveGraph;
        if (atPosition && useProfile) {
            const int clearance = profile_->GetClearance(x, x);
            if (bottom > clearance) {
                top -= bottom - clearance;
                bottom = clearance;
            }
        }
        const bool anchorInside =
            x >= rect_.left && x <= rect_.right && y >= rect_.top && y <= rect_.bottom;
        if (keepInside_ && anchorInside && !FitIntoBounds(rect_, left, right, top, bottom)) {
            finishLabel();
            continue;
        }
        int dataTop = bottom;
        int worst = 0;
        bool raisable = false;
        if (label.aboveGraph && useProfile) {
            dataTop = profile_->GetClearance(x, x);
            int best = profile_->GetClearance(left, right);
            worst = best;
            if (offset_ != 0) {
                for (int s = step;; s += step) {
                    const int c = profile_->GetClearance(left + s, right + s);
                    best = std::max(best, c);
                    worst = std::min(worst, c);
                    if (s >= offset_) break;
                }
                for (int s = -step;; s -= step) {
                    const int c = profile_->GetClearance(left + s, right + s);
                    best = std::max(best, c);
                    worst = std::min(worst, c);
                    if (s <= -offset_) break;
                }
            }
            bottom = std::min(dataTop, best);
            if (bottom <= rect_.top) {
                finishLabel();
                continue;
            }
            top = bottom - h;
            raisable = bottom != worst;
        }

        // Search sideways, then upwards, for a free place.
        int s = 0;
        bool movingRight = true;
        const bool searching = offset_ != 0;
        bool accepted = false;
        int mid = 0;
        for (int guard = 0; guard < 10000; ++guard) {
            const int cl = left + s, cr = right + s;
            mid = (cl + cr) / 2;
            bool blocked =
                cl < rect_.left || cr > rect_.right || top < rect_.top || bottom > rect_.bottom;
            if (!blocked && useProfile && !atPosition)
                blocked = profile_->IsBlocked(cl, cr, bottom);
            if (!blocked && useRects_) blocked = rects->Overlaps(cl, cr, top, bottom);
            if (!blocked) {
                const bool noLeader =
                    !alwaysLeader_ && s == 0 && (bottom == dataTop || offset_ == 0);
                if (noLeader) {
                    accepted = true;
                } else {
                    const int ly1 = y - tick, ly2 = bottom - gap + tick;
                    bool leaderBlocked = false;
                    if (useProfile) {
                        const int a = std::min(x, mid), b = std::max(x, mid);
                        leaderBlocked = b - a <= 1
                                            ? profile_->IsBlocked(a, b, (ly1 + ly2) / 2)
                                            : profile_->IsBlocked(a + 1, b - 1, (ly1 + ly2) / 2);
                    }
                    if (!leaderBlocked && useRects_)
                        leaderBlocked = rects->Overlaps(std::min(x, mid), std::max(x, mid),
                                                        std::min(ly1, ly2), std::max(ly1, ly2));
                    accepted = !leaderBlocked;
                }
            }
            if (accepted) break;
            if (!searching) break;
            if (movingRight) {
                if (s < offset_) {
                    s += step;
                    continue;
                }
                movingRight = false;
                s = -step;
                continue;
            }
            if (s > -offset_) {
                s -= step;
                continue;
            }
            if (!raisable) break;
            bottom -= raise;
            if (bottom <= worst) {
                bottom = worst;
                raisable = false;
            }
            top = bottom - h;
            s = 0;
            movingRight = true;
        }
        if (!accepted) {
            finishLabel();
            continue;
        }
        left += s;
        right += s;
        rects->Add(left, right, top, bottom);

        if (!isVertical) {
            dc.SetTextAlign(TA_BASELINE | (label.alignment == 0   ? TA_LEFT
                                           : label.alignment == 1 ? TA_CENTER
                                                                  : TA_RIGHT));
            const int startX = label.alignment == 0   ? mid - maxW / 2
                               : label.alignment == 1 ? mid
                                                      : mid + maxW / 2;
            for (int i = 0; i < n; ++i)
                dc.TextOut(startX, bottom - (n - i - 1) * ch - gap, label.lines[i]);
        } else {
            dc.SetTextAlign(TA_BASELINE | TA_LEFT);
            for (int i = 0; i < n; ++i) {
                const int lx = i * ch - ((n - 1) * ch) / 2 + mid + third;
                const int lw = dc.GetTextExtent(label.lines[i]).width();
                int ly = bottom - gap;
                if (label.alignment == 1)
                    ly -= (maxW - lw) / 2;
                else if (label.alignment == 2)
                    ly -= maxW - lw;
                dc.TextOut(lx, ly, label.lines[i]);
            }
        }
        finishLabel();

        const bool leader = alwaysLeader_ || s != 0 || (offset_ != 0 && bottom != dataTop);
        if (leader) {
            dc.Line(x, y - tick, mid, bottom - gap + tick);
            if (s != 0)
                rects->Add(std::min(x, mid), std::max(x, mid),
                           std::min(y - tick, bottom - gap + tick),
                           std::max(y - tick, bottom - gap + tick));
        }
        if (label.boxed || boxAll_) {
            const int b = offset_ != 0 ? bottom - gap + tick : bottom;
            dc.MoveTo(left + 1, top);
            dc.LineTo(right - 1, top);
            dc.LineTo(right - 1, b);
            dc.LineTo(left + 1, b);
            dc.LineTo(left + 1, top);
        }
        if (label.pointer && !leader) {
            const int pl = std::min(x, label.pointerX), pr = std::max(x, label.pointerX);
            const int pt = std::min(y, label.pointerY), pb = std::max(y, label.pointerY);
            const bool free = !(useProfile && profile_->IsBlocked(pl, pr, pb)) &&
                              !(useRects_ && rects->Overlaps(pl, pr, pt, pb));
            if (free) {
                dc.Line(x, y, label.pointerX, label.pointerY);
                rects->Add(pl, pr, pt, pb);
            }
        }
        placed_.push_back({{left, top, right, bottom}, label.lines, leader});
    }
    dc.RestoreState();
}

}  // namespace zar::plot
