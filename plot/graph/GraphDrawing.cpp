#include "GraphDrawing.h"

#include "RegSetting.h"

#include <mutex>
#include <optional>

namespace zar::plot {

namespace {

constexpr char kFontKey[] = "Global";
constexpr char kFontName[] = "KorPlt_ProporPitchFontName";
constexpr char kFontMin[] = "KorPlt_ProporPitchFontMinSize";
constexpr char kFontMax[] = "KorPlt_ProporPitchFontMaxSize";

std::mutex gFontMutex;
std::optional<PlotFontSettings> gFontSettings;

PlotFontSettings readFontSettings() {
    PlotFontSettings s{QStringLiteral("Arial"), kDefaultFontMinSize, kDefaultFontMaxSize};
    CRegSetting key(RegRoot::CurrentUser, QString::fromLatin1(kFontKey), true);
    if (!key.IsValid()) return s;  // the defaults, not written
    if (!key.ReadString(QString::fromLatin1(kFontName), s.name) || s.name.isEmpty()) {
        s.name = QStringLiteral("Arial");
        key.WriteString(QString::fromLatin1(kFontName), s.name);
    }
    if (!key.ReadDouble(QString::fromLatin1(kFontMin), s.minSize)) {
        s.minSize = kDefaultFontMinSize;
        key.WriteDouble(QString::fromLatin1(kFontMin), s.minSize);
    }
    if (!key.ReadDouble(QString::fromLatin1(kFontMax), s.maxSize)) {
        s.maxSize = kDefaultFontMaxSize;
        key.WriteDouble(QString::fromLatin1(kFontMax), s.maxSize);
    }
    if (s.maxSize < s.minSize || s.maxSize > 5.0 / 9.0 || s.minSize < 1.0 / 18.0) {
        s.minSize = kDefaultFontMinSize;
        s.maxSize = kDefaultFontMaxSize;
        key.WriteDouble(QString::fromLatin1(kFontMin), s.minSize);
        key.WriteDouble(QString::fromLatin1(kFontMax), s.maxSize);
    }
    return s;
}

}  // namespace

const PlotFontSettings& GetPlotFontSettings() {
    std::lock_guard lock(gFontMutex);
    if (!gFontSettings) gFontSettings = readFontSettings();
    return *gFontSettings;
}

void ResetPlotFontSettings() {
    std::lock_guard lock(gFontMutex);
    gFontSettings.reset();
}

COLORREF ColorForOutput(const PlotDC& dc, int mode, COLORREF color) {
    if (mode == 0) return 0;
    if (mode == 1) return dc.IsPrinting() || dc.IsMetafile() ? color : 0;
    return color;
}

CGraphDrawing::CGraphDrawing()
    : userLabels_(false, 0, false, 0.4, &font_),
      peakLabels_(false, 0, false, 0.4, &font_),
      heading_(60, 0, &font_),
      splitter_(*this),
      sizer_(60, 20, 50, 12, kDefaultFontMinSize, kDefaultFontMaxSize, &font_) {
    const PlotFontSettings& settings = GetPlotFontSettings();
    font_.faceName = settings.name;
    font_.height = -10;
    font_.weight = 400;
    sizer_.SetSizeLimits(settings.minSize, settings.maxSize);
    plotArea_ =
        std::make_unique<CPlotArea>(std::vector<CTrace*>{}, nullptr, &magnification_, &font_);
    sizer_.SetChildren({&heading_, 0.0, 0.0}, &splitter_, {});
}

void CGraphDrawing::SetRegions(PlotRegionList* regions) {
    regions_ = regions;
    // The plot area keeps its settings: only where it leaves its regions changes.
    plotArea_->SetRegions(regions_);
}

void CGraphDrawing::SetTraces(std::vector<CTrace*> traces) {
    traces_ = std::move(traces);
    plotArea_->SetTraces(traces_);
}

void CGraphDrawing::SetDepthView(bool on, double rowAngle, double columnAngle) {
    plotArea_->m_bDepthView = on;
    plotArea_->m_dRowAngle = std::clamp(rowAngle, 0.0, 90.0);
    plotArea_->m_dColumnAngle = std::clamp(columnAngle, 0.0, 90.0);
}

int CGraphDrawing::rowCount() const {
    // A trace of several segments is always drawn in one row.
    for (const CTrace* t : traces_)
        if (t->GetDataSetCount() > 1) return 1;
    if (m_bRowsRequested) return std::max(m_nRequestedRows, 1);
    return 1;
}

void CGraphDrawing::scaleSegments() {
    // Within each trace, every segment's limits scale by (its own maximum) / (the trace's largest
    // segment maximum), so each segment fills its height. (The inverse factor would shrink the
    // smaller segments below even a common scale.)
    for (CTrace* t : traces_) {
        std::vector<double> maxima;
        double largest = 0.0;
        for (int j = 0; j < t->GetDataSetCount(); ++j) {
            CTrace* set = t->GetDataSet(j);
            maxima.push_back(set ? set->GetMaxIntensity() : 0.0);
            largest = std::max(largest, maxima.back());
        }
        for (int j = 0; j < t->GetDataSetCount(); ++j) {
            CTrace* set = t->GetDataSet(j);
            if (!set) continue;
            const double m = maxima[static_cast<std::size_t>(j)];
            const double factor = m_bScaleToLargest && m > 0.0 ? m / largest : 1.0;
            TraceScaling s = set->Scaling();
            s.normalisationValue = m_YLimits[kNormalization];
            s.yMin = m_YLimits[kAbsoluteMin] * factor;
            s.yMax = m_YLimits[kAbsoluteMax] * factor;
            s.percentMin = m_YLimits[kRelativeMin] * factor;
            s.percentMax = m_YLimits[kRelativeMax] * factor;
            set->SetScaling(s);
        }
    }
}

void CGraphDrawing::DrawImpl(PlotDC& dc) {
    if (m_bSuspendDrawing) return;
    strips_.clear();
    plotArea_->SetMargins(m_bBottomMargin ? m_dBottomMargin : 0.0,
                          m_bLeftMargin ? m_dLeftMargin : 0.0, m_dTopMargin, m_dRightMargin);
    plotArea_->m_bAbsoluteMode = m_bAbsoluteMode;
    if (!m_bSelectionMarkerOff) {
        markers_.RemoveBySymbol(ZAR_PLOTLib::VXPlot_MarkerSymbolType_None);
        MarkerNode selection;
        selection.style = ZAR_PLOTLib::VXPlot_MarkerStyle_Rectangle;
        selection.outline = true;
        selection.fill = false;
        selection.lineColor = 255;
        selection.startPosition = m_dSelectionStart;
        selection.endPosition = m_dSelectionEnd;
        selection.startIntensity = 0.0;
        selection.endIntensity = m_YLimits[kAbsoluteMax];
        markers_.Add(selection);
    }
    for (CTrace* t : traces_) {
        t->SetMarkerLists(&markers_, &peakMarkers_);
        t->SetLabelLayers(&userLabels_, &peakLabels_);
        t->SetUserLabelColor(m_userLabelColor);
    }
    sizer_.SetRect(rect_);
    sizer_.Draw(dc);
}

double CGraphDrawing::PrepareYLimits(CTrace& trace) {
    const double shown = CPlotArea::TraceMaxValue(trace);  // over every segment
    const double level = m_YLimits[kNormalization] > 0.0 ? m_YLimits[kNormalization] : shown;
    auto& y = m_YLimits;
    if (m_bYRange) {
        y[kAbsoluteMin] = y[kRelativeMin] * level / 100.0;
        y[kAbsoluteMax] = y[kRelativeMax] * level / 100.0;
        if (y[kAbsoluteMax] <= y[kAbsoluteMin]) y[kAbsoluteMax] = y[kAbsoluteMin] + 1.0;
    } else if (y[kAbsoluteMax] <= y[kAbsoluteMin]) {
        y[kAbsoluteMax] = y[kAbsoluteMin] + (shown > 0.0 ? shown : 1.0);
    }
    return level;
}

void CGraphDrawing::RowSplitter::DrawImpl(PlotDC& dc) {
    CGraphDrawing& g = owner_;
    const int rows = g.rowCount();
    const double low = g.m_dXLow, high = g.m_dXHigh;
    const ElementRect whole = rect_;
    const double part = (high - low) / rows;
    const int stripHeight = (whole.bottom - whole.top) / rows;
    for (int i = 0; i < rows; ++i) {
        const double a = low + i * part;
        const double b = rows == 1 ? high : a + part;
        g.strips_.emplace_back(a, b);
        g.plotArea_->SetVisibleXRange(a, b);
        g.scaleSegments();
        const int top = whole.top + i * stripHeight;
        const int bottom = rows == 1 ? whole.bottom : top + stripHeight;
        g.plotArea_->SetRect(whole.left, top, whole.right, bottom);
        g.plotArea_->Draw(dc);
    }
}

}  // namespace zar::plot
