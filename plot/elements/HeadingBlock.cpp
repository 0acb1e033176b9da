#include "HeadingBlock.h"

#include <cmath>

namespace zar::plot {

namespace {
constexpr double kCharWidthRatio = 0.7142857142857143;
constexpr int kHeadingTextColor = 0x02646464;
}  // namespace

void CHeadingBlock::AddItem(const QString& text, double column, double line, COLORREF color,
                            bool truncate) {
    items_.push_back({text, column, line, 0.0, truncate, color});
}

void CHeadingBlock::AddFollowingItem(const QString& text, double gap, COLORREF color,
                                     bool truncate) {
    if (items_.empty())
        items_.push_back({text, 0.0, 0.0, gap, truncate, color});
    else
        items_.push_back({text, kFollowPrevious, items_.back().line, gap, truncate, color});
}

void CHeadingBlock::DrawImpl(PlotDC& dc) {
    written_.clear();
    const int cw = font_ ? font_->measuredWidth : dc.GetTextExtent(QStringLiteral("O")).width();
    const int ch = font_ ? font_->measuredHeight : dc.GetTextExtent(QStringLiteral("O")).height();
    const COLORREF previousColor = dc.GetTextColor();
    dc.SetTextColor(kHeadingTextColor);
    if (fill_ && !measureOnly_)
        dc.FillRect(rect_.left, rect_.top, rect_.right + 1, rect_.bottom + 1,
                    RGBRef(255, 255, 255));
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    int runningEnd = rect_.left;
    for (const Item& item : items_) {
        const int w = dc.GetTextExtent(item.text).width();
        int x;
        if (item.column == kFollowPrevious) {
            x = runningEnd + static_cast<int>(cw * item.gap);
            runningEnd = x + w;
        } else if (item.column == kRightAligned) {
            x = rect_.right - w;
        } else if (item.column < 0) {
            x = (rect_.left + rect_.right - w) / 2;
        } else {
            x = rect_.left + static_cast<int>(cw * item.column);
            runningEnd = x + static_cast<int>(cw * item.gap) + w;
        }
        const int y = rect_.top + static_cast<int>(ch * item.line);
        const bool fitsVertically = y + ch - 1 <= rect_.bottom;
        QString text;
        if (fitsVertically && x + w - 1 <= rect_.right) {
            text = item.text;
        } else if (fitsVertically && item.truncate) {
            // Shorten to n characters and " ..." until it fits; an item too short to shorten
            // is left out rather than looping.
            for (qsizetype n = item.text.size() - 5; n >= 1; --n) {
                const QString candidate = item.text.left(n) + QStringLiteral(" ...");
                if (x + dc.GetTextExtent(candidate).width() - 1 <=
                    rect_.right - kHeadingBitmapWidth) {
                    text = candidate;
                    break;
                }
            }
        }
        if (text.isEmpty()) continue;
        dc.SetTextColor(item.color ? item.color : kHeadingTextColor);
        if (!measureOnly_) dc.TextOut(x, y, text);
        written_.push_back({text, x, y});
    }
    dc.SetTextColor(previousColor);
    if (bottomRule_ && !measureOnly_) dc.Line(rect_.left, rect_.bottom, rect_.right, rect_.bottom);
}

CProporPitchFont::CProporPitchFont(int columns, int rows, int minPlotColumns, int minPlotRows,
                                   double minHeight, double maxHeight, PlotFont* font)
    : font_(font) {
    SetGrid(columns, rows);
    SetMinimumPlot(minPlotColumns, minPlotRows);
    SetSizeLimits(minHeight, maxHeight);
}

int CProporPitchFont::ChooseFontHeight(const PlotDC& dc) const {
    // A font is at least a pixel high, which also keeps the width test below from dividing by 0.
    int minH = std::max(static_cast<int>(dc.LogPixelsY() * minHeight_), 1);
    int maxH = static_cast<int>(dc.LogPixelsY() * maxHeight_);
    maxH = std::max(maxH, minH);
    const int areaWidth = rect_.right - rect_.left;
    const int areaHeight = rect_.bottom - rect_.top;
    int h = std::max(areaHeight / rows_, minH);
    const int charWidth = std::max(static_cast<int>(h * kCharWidthRatio), 1);
    if (areaWidth / charWidth < columns_)
        h = std::max(static_cast<int>((areaWidth / columns_) * 1.4), minH);
    return std::min(h, maxH);
}

void CProporPitchFont::Layout(PlotDC& dc, const ElementRect* update) {
    const int h = ChooseFontHeight(dc);
    DCFont previous = dc.Font();
    if (font_) {
        font_->height = -h;
        previous = font_->CreateFontForDC(dc);
    }
    const int cw = font_ ? font_->measuredWidth : static_cast<int>(h * kCharWidthRatio);
    const int ch = font_ ? font_->measuredHeight : h;
    const int areaWidth = rect_.right - rect_.left;
    const int areaHeight = rect_.bottom - rect_.top;
    int topH = top_.element ? static_cast<int>(ch * top_.lines) : 0;
    int bottomH = bottom_.element ? static_cast<int>(ch * bottom_.lines) : 0;
    int leftW = left_.element ? static_cast<int>(cw * left_.chars) : 0;
    int rightW = right_.element ? static_cast<int>(cw * right_.chars) : 0;
    bool keepTopBottom = true, keepSides = true;
    if (!keepBands_ && topH + bottomH >= areaHeight - ch * minPlotRows_) {
        topH = bottomH = 0;
        keepTopBottom = false;
    }
    if (leftW + rightW >= areaWidth - cw * minPlotColumns_) {
        leftW = rightW = 0;
        keepSides = false;
    }
    const ElementRect& r = rect_;
    topRect_ = {r.left, r.top, std::max(r.right, 0), r.top + topH - 1};
    const ElementRect bottomRect{r.left, r.bottom - bottomH + 1, r.right, r.bottom};
    const ElementRect leftRect{r.left, r.top + topH - 1, r.left + leftW - 1,
                               r.bottom - bottomH + 1};
    const ElementRect rightRect{r.right - rightW + 1, r.top + topH - 1, r.right,
                                r.bottom - bottomH + 1};
    centreRect_ = {r.left + leftW, r.top + topH, r.right - rightW, r.bottom - bottomH};
    topKept_ = keepTopBottom && top_.element;
    auto drawChild = [&](CGraphElement* child, const ElementRect& rect) {
        if (!child) return;
        child->SetRect(rect);
        if (update && !child->IntersectsRect(*update)) return;
        child->Draw(dc);
    };
    if (keepTopBottom) {
        drawChild(top_.element, topRect_);
        drawChild(bottom_.element, bottomRect);
    }
    if (keepSides) {
        drawChild(left_.element, leftRect);
        drawChild(right_.element, rightRect);
    }
    drawChild(centre_, centreRect_);
    dc.SelectFont(previous);
}

}  // namespace zar::plot
