#include "SpecGraph.h"

#include "core/Numbers.h"

#include <algorithm>

namespace zar::plot {

using namespace ZAR_PLOTLib;

namespace {

constexpr char kNoScans[] = "No scan(s) match the scan filter.";
// A profile or stick spectrum of 20 data sets or more is shaded.
constexpr int kShadeFromDataSets = 20;

}  // namespace

QString SmoothingLetters(int type) {
    switch (type) {
        case 0:
            return QStringLiteral("B");
        case 1:
            return QStringLiteral("G");
        case 2:
            return QStringLiteral("I");
        case 3:
            return QStringLiteral("SG");
        default:
            return QString();
    }
}

void CSpecSegmentData::Clear() {
    ++generation_;
    segments_.clear();
    summary_.reset();
}

void CSpecSegmentData::Reset(int count) {
    Clear();
    segments_.resize(static_cast<std::size_t>(std::max(count, 0)));
    summary_ = std::make_unique<SpecScanSummary>();
}

void CSpecSegmentData::SetSegment(int index, std::vector<SpecPeakRecord> peaks) {
    segments_.at(static_cast<std::size_t>(index)).peaks = std::move(peaks);
    ++generation_;
}

void CSpecSegmentData::SetRange(int index, double low, double high) {
    segments_.at(static_cast<std::size_t>(index)).range = {low, high};
    ++generation_;
}

bool CSpecHeaderInfo::SetFilter(const CScanFilter* newFilter) {
    if (newFilter) {
        if (filterValid && filter.Equals(*newFilter)) return false;
        filter = *newFilter;
        filterValid = true;
    } else {
        if (!filterValid && filter.Equals(CScanFilter())) return false;
        filter = CScanFilter();
        filterValid = false;
    }
    return true;
}

CSpecGraph::CSpecGraph() : handler_(*this, GraphFamily::Spectrum) {
    trace_.SetFont(&font_);
    trace_.m_stickColors[0] = 0;
    trace_.m_stickColors[1] = 0x800000;
    trace_.m_stickColors[2] = 0x6E3296;
    trace_.m_stickColors[3] = 0x1E78D2;
    trace_.m_profileColor = 0;
    trace_.m_shadeEmpty = 0xC0C0C0;
    trace_.m_shadeFull = 0;
    trace_.SetDecimals(2);
    SetTraces({&trace_});
    m_bLeftMargin = true;
    m_dLeftMargin = 1.0;
    m_axisTitles[0] = QStringLiteral("m/z");
    m_axisTitles[1] = QStringLiteral("Intensity");
    m_axisTitles[2] = QStringLiteral("Relative Abundance");
}

void CSpecGraph::SetData(const CSpecSegmentData* data, const CScanFilter* filter) {
    header_.SetFilter(filter);
    // The points are rebuilt only when the peaks changed (a repaint must stay cheap).
    if (data == data_ && data && data->Generation() == pointsGeneration_) return;
    data_ = data;
    pointsGeneration_ = data ? data->Generation() : ~std::uint64_t{0};
    points_.clear();
    trace_.ClearAddedDataSets();
    const int segments = data ? data->SegmentCount() : 0;
    points_.resize(static_cast<std::size_t>(std::max(segments, 1)));
    const auto byPosition = [](const TracePoint& a, const TracePoint& b) {
        return a.position < b.position;
    };
    for (int s = 0; s < segments; ++s) {
        std::vector<TracePoint>& points = points_[static_cast<std::size_t>(s)];
        for (const SpecPeakRecord& r : data->Peaks(s)) {
            TracePoint p;
            p.position = r.position;
            p.intensity = r.intensity;
            p.scanNumber = r.scanNumber;
            points.push_back(p);
        }
        // The trace wants increasing positions.
        if (!std::is_sorted(points.begin(), points.end(), byPosition))
            std::stable_sort(points.begin(), points.end(), byPosition);
    }
    // Each segment is a data set of the trace, shown side by side over its own mass range.
    trace_.SetPoints(points_[0].data(), points_[0].size());
    trace_.SetXExtent(0.0, 0.0);
    trace_.m_bSegmented = segments > 1;
    for (int s = 0; s < segments; ++s) {
        const auto [low, high] = data->Range(s);
        if (s == 0)
            trace_.SetXExtent(low, high);
        else
            trace_.AddDataSet(points_[static_cast<std::size_t>(s)].data(),
                              points_[static_cast<std::size_t>(s)].size(), low, high);
    }
}

void CSpecGraph::SetYAxisScaleType(VXPlot_YAxisScaleType type) {
    m_bYRange = type == VXPlot_YAxisScaleType_Relative;
    m_bAbsoluteMode = type != VXPlot_YAxisScaleType_Relative;
}

void CSpecGraph::SetPeakInfo(const VXPlot_PeakInfo* records, int count) {
    peakInfo_.assign(records, records + std::max(count, 0));
    peakLabels_.Clear();
    for (const VXPlot_PeakInfo& r : peakInfo_) {
        QString text;
        if (r.bShowText) {
            const auto* chars = reinterpret_cast<const char16_t*>(r.cLabelText);
            const auto n = std::find(chars, chars + 16, u'\0') - chars;
            text = QString::fromUtf16(chars, n) + QStringLiteral("\r\n");
        } else if (r.iChargeState != 0) {
            text = QCFormat("%+d\r\n", r.iChargeState);
        }
        text += QCFormat("%.1lf", r.apex.dMass);
        TextLabelNode node;
        node.lines = text.split(QStringLiteral("\r\n"));
        node.xAnchor = 1;
        node.yAnchor = 0;
        node.dataX = r.apex.dMass;
        node.dataY = r.apex.dIntensity;
        node.priority = r.apex.dIntensity;
        node.aboveGraph = true;
        peakLabels_.AddLabel(node);
    }
    trace_.SetPeakInfo(peakInfo_.empty() ? nullptr : peakInfo_.data(),
                       static_cast<int>(peakInfo_.size()));
}

void CSpecGraph::SetPeakInfoColors(const std::uint32_t* colors, int count) {
    peakInfoColors_.assign(colors, colors + std::max(count, 0));
    // Pens beyond the trace's table are left out (an unknown pen index draws black).
    for (int i = 0; i < count; ++i) trace_.SetPeakInfoColour(i, colors[i]);
}

int CSpecGraph::dataSetCount() const {
    return data_ ? 1 : 0;
}

bool CSpecGraph::isRange() const {
    return (header_.averaged && header_.scansAveraged > 1) || header_.firstScan != header_.lastScan;
}

QString CSpecGraph::scanText() const {
    const int n = dataSetCount();
    if (n <= 1 && !(header_.averaged && header_.scansAveraged > 1)) {
        if (n == 0) return QStringLiteral("none");
        return QCFormat("%d", header_.firstScan);
    }
    return QCFormat("%d-%d", header_.firstScan, header_.lastScan);
}

void CSpecGraph::ComposeHeading(double normalisationLevel) {
    const int n = dataSetCount();
    const CSpecHeaderInfo& h = header_;
    heading_.Reset(1, 1);
    bool firstLine = true;
    if (h.forcedHeading) {
        heading_.Reset(60, 1);
        heading_.AddItem(h.headingText, 0, 0, kHeadingTagColor, true);
        return;
    }
    heading_.Reset(60, 2);
    heading_.AddItem(h.fileName, 0, 0, kHeadingValueColor, false);
    heading_.AddFollowingItem(QStringLiteral(" "), 0, kHeadingTagColor, false);
    heading_.AddFollowingItem(QStringLiteral("#"), 0, kHeadingTagColor, false);
    heading_.AddFollowingItem(scanText(), 0, kHeadingValueColor, false);
    heading_.AddFollowingItem(QStringLiteral("RT:"), 1, kHeadingTagColor, false);
    QString time;
    if (n == 0)
        time = QStringLiteral("none");
    else if (isRange() && h.rtEnd != h.rtStart)
        time = QCFormat("%.2f-%.2f", h.rtStart + h.rtOffset, h.rtEnd + h.rtOffset);
    else
        time = QCFormat("%.2f", h.rtStart + h.rtOffset);
    heading_.AddFollowingItem(time, 0.5, kHeadingValueColor, false);
    if (h.averaged) {
        heading_.AddFollowingItem(QStringLiteral("AV:"), 1, kHeadingTagColor, false);
        heading_.AddFollowingItem(QCFormat("%d", h.scansAveraged), 0.5, kHeadingValueColor, false);
    }
    if (m_bSmooth) {
        if (!firstLine) heading_.Reset(60, 1);
        heading_.AddFollowingItem(QStringLiteral("SM:"), 1, kHeadingTagColor, false);
        heading_.AddFollowingItem(QCFormat("%d", m_nSmoothPoints) + SmoothingLetters(m_nSmoothType),
                                  0.5, kHeadingValueColor, false);
    }
    if (n > 0) {
        heading_.AddFollowingItem(QStringLiteral("NL:"), 1, kHeadingTagColor, false);
        heading_.AddFollowingItem(QCFormat("%9.2E", normalisationLevel).trimmed(), 0.5,
                                  kHeadingValueColor, false);
    }
    if (!h.extraText.isEmpty()) heading_.AddFollowingItem(h.extraText, 0, kHeadingTagColor, false);
    if (!h.filterValid) return;
    const QString filter = h.filter.Format(2);
    const bool single = !h.averaged && h.firstScan == h.lastScan;
    if (!h.averaged && !single) {
        if (filter.isEmpty()) return;
    }
    if (filter.isEmpty()) {
        heading_.AddItem(QStringLiteral("T:"), 0, 1, kHeadingTagColor, false);
        return;
    }
    heading_.AddItem(QStringLiteral("F:"), 0, 1, kHeadingTagColor, false);
    heading_.AddFollowingItem(filter, 0.5, kHeadingFilterColor, true);
}

QString CSpecGraph::HeadingText(double normalisationLevel) const {
    const int n = dataSetCount();
    const CSpecHeaderInfo& h = header_;
    QString text = h.fileName + QStringLiteral("#");
    const bool range = isRange();
    if (n == 0)
        text += QStringLiteral("none ");
    else if (!range)
        text += QCFormat("%d ", h.firstScan);
    else
        text += QCFormat("%d-%d ", h.firstScan, h.lastScan);
    text += QStringLiteral(" RT:");
    if (n == 0) return text + QStringLiteral(" none ");
    if (!h.averaged && !range) {
        text += QCFormat(" %.2f ", h.rtStart) + QStringLiteral("P:");
    } else if (!h.averaged) {
        text += QCFormat(" %.2f-%.2f ", h.rtStart, h.rtEnd);
    } else {
        text += h.scansAveraged <= 1 ? QCFormat(" %.2f ", h.rtStart)
                                     : QCFormat(" %.2f-%.2f ", h.rtStart, h.rtEnd);
        text += QStringLiteral(" AV:") + QCFormat(" %d ", h.scansAveraged);
    }
    text += QStringLiteral("NL: ") + QCFormat("%9.2E", normalisationLevel) + QStringLiteral(" ");
    if (h.filterValid) text += h.filter.Format(2);
    return text;
}

void CSpecGraph::DrawImpl(PlotDC& dc) {
    if (!data_) {
        ScopedFont font(dc, font_.ToDCFont(&dc));
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.SetTextColor(0);
        dc.TextOut(rect_.left + 10, rect_.top + 10, QString::fromLatin1(kNoScans));
        return;
    }
    // Style of the trace: shade for many data sets, else by the centroid flag of the scan.
    int style = m_nPlotStyle;
    if (style == 0 && dataSetCount() >= kShadeFromDataSets) style = VXPlot_SpecStyle_ShadeStyle;
    switch (style) {
        case VXPlot_SpecStyle_ProfileStyle:
            trace_.m_nStyle = 0;
            break;
        case VXPlot_SpecStyle_StickStyle:
            trace_.m_nStyle = 1;
            break;
        case VXPlot_SpecStyle_ShadeStyle:
            trace_.m_nStyle = 2;
            break;
        default: {
            const SpecScanSummary* summary = data_->ScanSummary();
            trace_.m_nStyle = summary && !summary->centroid ? 0 : 1;
            break;
        }
    }
    trace_.m_bPositionLabels = m_bShowLabels;
    trace_.m_dLabelThreshold = m_dLabelThreshold;
    trace_.m_bRotateLabels = m_bRotateLabels;
    trace_.SetLabelOffsetFactor(m_bOffsetLabels ? m_dLabelOffset : 2.0);
    peakLabels_.SetRotate(m_bRotateLabels);

    // Segments take their own ranges.
    PlotArea().SetVisibleXRange(m_dXLow, m_dXHigh);
    const double level = PrepareYLimits(trace_);
    const bool absolute = m_bAbsoluteMode;
    m_bAbsoluteMode = m_bYRange;
    PlotArea().m_xTitle = m_axisTitles[0];
    PlotArea().m_yTitles[0] = m_bYRange ? m_axisTitles[2] : m_axisTitles[1];

    ComposeHeading(level);
    sizer_.SetChildren({&heading_, heading_.HeightLines(), 0.0}, &splitter_, {});
    const int aboveLines = std::max(peakLabels_.GetMaxAboveGraphLines(), 1);
    m_dTopMargin = m_bShowLabels || peakLabels_.size() ? aboveLines + 0.6 : 0.6;
    m_dRightMargin = 1.0;
    CGraphDrawing::DrawImpl(dc);
    m_bAbsoluteMode = absolute;
}

}  // namespace zar::plot
