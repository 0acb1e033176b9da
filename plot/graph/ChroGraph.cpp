#include "ChroGraph.h"

#include "SpecGraph.h"
#include "core/Numbers.h"

#include <cmath>

namespace zar::plot {

using namespace ZAR_PLOTLib;

namespace {

constexpr COLORREF kBaselineColor = 0xFF0000;

QString MassRangeText(const std::vector<VXPlot_MassRange>& ranges, bool prefix) {
    QStringList parts;
    for (const VXPlot_MassRange& r : ranges) {
        QString t = QCFormat("%.1f", r.dLowMass);
        if (r.dHighMass != r.dLowMass) t += QCFormat("-%.1f", r.dHighMass);
        parts << t;
    }
    return (prefix ? QStringLiteral("m/z= ") : QString()) + parts.join(QLatin1Char('+'));
}

}  // namespace

QString DetectorName(int type) {
    switch (type) {
        case 0:
            return QStringLiteral("Mass Range");
        case 1:
            return QStringLiteral("TIC");
        case 2:
            return QStringLiteral("Base Peak");
        case 3:
            return QStringLiteral("Analog 1");
        case 11:
            return QStringLiteral("Analog 2");
        case 12:
            return QStringLiteral("Analog 3");
        case 13:
            return QStringLiteral("Analog 4");
        case 14:
            return QStringLiteral("Digital 1");
        case 21:
            return QStringLiteral("Wavelength Range");
        case 22:
            return QStringLiteral("Total Scan");
        case 23:
            return QStringLiteral("Spectrum Maximum");
        case 31:
            return QStringLiteral("Channel A");
        case 32:
            return QStringLiteral("Channel B");
        case 33:
            return QStringLiteral("Channel C");
        case 34:
            return QStringLiteral("Channel D");
        case 41:
            return QStringLiteral("A/D Card Ch. 1");
        case 42:
            return QStringLiteral("A/D Card Ch. 2");
        case 43:
            return QStringLiteral("A/D Card Ch. 3");
        case 44:
            return QStringLiteral("A/D Card Ch. 4");
        default:
            return type >= -1 && type <= 103 ? QString() : QStringLiteral("invalid");
    }
}

QStringList PeakLabelLines(const VXPlot_ChroPeak& p, bool manual, const ChroLabelSwitches& on,
                           std::int32_t apexScan, double noiseThreshold) {
    QStringList lines;
    if (on.retentionTime) lines << QCFormat("RT: %.2f", p.apex.dRT);
    if (on.scanNumber) lines << QCFormat("S#: %d", apexScan);
    if (on.peakNumber && p.nPeakIndex != -1) lines << QCFormat("%d", p.nPeakIndex + 1);
    if (on.area)
        lines << QCFormat(manual ? "MA: %.*f" : "AA: %.*f", p.dArea >= 100.0 ? 0 : 2, p.dArea);
    if (on.height)
        lines << QCFormat(manual ? "MH: %.*f" : "AH: %.*f", p.apex.dHeight >= 100.0 ? 0 : 2,
                          p.apex.dHeight);
    if (on.signalToNoise) {
        // A negative height has no square root: no signal.
        const double sn = p.dNoise > noiseThreshold ? p.apex.dHeight / p.dNoise
                          : p.apex.dHeight > 0.0    ? std::sqrt(p.apex.dHeight)
                                                    : 0.0;
        lines << QCFormat("SN: %.0f", sn);
    }
    if (on.basePeak) lines << QCFormat("BP: %.2f", p.dBasePeak);
    return lines;
}

CChroGraph::CChroGraph() : handler_(*this, GraphFamily::Chromatogram) {
    trace_.SetFont(&font_);
    trace_.m_lineColor = 0;
    trace_.m_bPositionLabels = false;
    SetTraces({&trace_});
    m_axisTitles[0] = QStringLiteral("Time (min)");
    m_axisTitles[1] = QStringLiteral("Intensity");
    m_axisTitles[2] = QStringLiteral("Relative Abundance");
    m_bLeftMargin = true;
    m_dLeftMargin = 1.0;
    PlotArea().m_breakCharacters = QString::fromLatin1(kHeadingBreakCharacters);
}

void CChroGraph::SetLabelling(const ChroLabelSwitches& labels, double threshold) {
    m_labels = labels;
    m_dLabelThreshold = threshold;
    m_bRotatedLabels = false;
    m_bBoxedLabels = false;
    m_bDifferenceLabels = false;
    m_dLabelOffset = 0.0;
}

void CChroGraph::SetTrace(const TracePoint* points, std::size_t count) {
    trace_.SetPoints(points, count);
    if (count > 0)
        handler_.SetDataRange(std::make_pair(points[0].position, points[count - 1].position));
    else
        handler_.SetDataRange(std::nullopt);
}

void CChroGraph::SetTraceInfo(const VXPlot_ChroInfo* info,
                              const std::vector<VXPlot_MassRange>& ranges,
                              const CScanFilter* filter) {
    hasInfo_ = info != nullptr;
    if (info) {
        info_ = *info;
        m_bSmooth = info->nSmoothingPoints != 0 && info->nSmoothingPoints != 1;
        m_nSmoothPoints = info->nSmoothingPoints;
        m_nSmoothType = info->eSmoothingType;
    }
    ranges_ = ranges;
    hasFilter_ = filter != nullptr;
    if (filter) filter_ = *filter;
}

void CChroGraph::SetPeaks(const VXPlot_ChroPeak* peaks, int count) {
    peakMarkers_.RemoveBySymbol(VXPlot_MarkerSymbolType_Box, 0);
    peakLabels_.RemoveLabels(0);
    peaks_.user.clear();
    peaks_.automatic.clear();
    for (int i = 0; i < count; ++i) {
        if (peaks[i].eType == VXPlot_PeakType_User)
            peaks_.user.push_back(peaks[i]);
        else if (peaks[i].eType == VXPlot_PeakType_Auto)
            peaks_.automatic.push_back(peaks[i]);
    }
}

void CChroGraph::SetStyle(VXPlot_ChroStyle style) {
    trace_.m_nStyle = style == VXPlot_ChroStyle_Stick ? 1 : 0;
}

QString CChroGraph::ComposeTitle(const QString& suffix) const {
    if (!hasInfo_) return suffix;
    const int type = info_.eTraceType;
    const bool haveRanges = !ranges_.empty();
    QString t;
    switch (type) {
        case 0:
            t = MassRangeText(ranges_, true);
            break;
        case 1:
            t = QStringLiteral("TIC");
            break;
        case 2:
            t = QStringLiteral("Base Peak");
            if (haveRanges) t += QStringLiteral(" ") + MassRangeText(ranges_, true);
            break;
        case 3:
            t = QStringLiteral("Neutral Fragment");
            if (haveRanges) t += QStringLiteral(" ") + MassRangeText(ranges_, false);
            break;
        case 21:
            t = haveRanges ? MassRangeText(ranges_, true) : DetectorName(21);
            break;
        case 23:
            t = DetectorName(23);
            if (haveRanges) t += QStringLiteral(" ") + MassRangeText(ranges_, true);
            break;
        default:
            t = DetectorName(type);
            break;
    }
    if (type >= 0 && type <= 3 && hasFilter_ && !filter_.IsAcceptAll())
        t += QStringLiteral(" F: ") + filter_.Format(2);
    if (!m_detectorLabel.isEmpty()) t += QStringLiteral(" ") + m_detectorLabel;
    if (!suffix.isEmpty()) t += QStringLiteral(" ") + suffix;
    return t;
}

QString CChroGraph::NoDataText() const {
    QString text = m_noDataText;
    const qsizetype at = text.indexOf(QStringLiteral("%s"));
    if (at >= 0) text.replace(at, 2, m_detectorLabel);
    return text;
}

void CChroGraph::addPeakMarkers() {
    peakMarkers_.RemoveBySymbol(VXPlot_MarkerSymbolType_Box, 0);
    peakLabels_.RemoveLabels(0);
    const double noiseThreshold =
        (info_.eTraceType == 1 || info_.eTraceType == 2 || info_.eTraceType == 4) ? 1e-9 : 1.0;
    auto add = [&](const VXPlot_ChroPeak& p, bool manual) {
        MarkerNode m;
        m.lineColor = kBaselineColor;
        m.startPosition = p.left.dRT;
        m.startIntensity = p.left.dBase;
        m.endPosition = p.right.dRT;
        m.endIntensity = p.right.dBase;
        m.symbol = VXPlot_MarkerSymbolType_Box;
        m.dropLines = true;
        m.dropStartIntensity = p.left.dBase + p.left.dHeight;
        m.dropEndIntensity = p.right.dBase + p.right.dHeight;
        m.markerId = kBaselineMarkerId;
        peakMarkers_.Add(m);
        const TracePoint* apex = trace_.FindNearestPoint(p.apex.dRT);
        const QStringList lines =
            PeakLabelLines(p, manual, m_labels, apex ? apex->scanNumber : 0, noiseThreshold);
        if (lines.isEmpty()) return;
        TextLabelNode label;
        label.lines = lines;
        label.dataX = p.apex.dRT;
        label.dataY = p.apex.dHeight + p.apex.dBase;
        label.priority = p.apex.dHeight;
        label.rotated = m_bRotatedLabels;
        label.yAnchor = 2;
        // Placed above the data in its columns, as high as the profile there demands.
        label.aboveGraph = true;
        peakLabels_.AddLabel(label);
    };
    for (const VXPlot_ChroPeak& p : peaks_.user) add(p, true);
    for (const VXPlot_ChroPeak& p : peaks_.automatic) add(p, false);
}

double CChroGraph::headroom() const {
    // In label-line units; no extra lines are asked for, so the base is 0.
    const double base = 0.0;
    double room = base;
    if (peakLabels_.size() == 0) {
        const int on = int(m_labels.retentionTime) + int(m_labels.scanNumber) + int(m_labels.basePeak);
        if (!m_bRotatedLabels) {
            room = base + (on > 0 ? 0.15 + on : 0.0);
        } else if (m_labels.retentionTime) {
            double w = QString::number(static_cast<long long>(std::fabs(m_dXHigh))).size() + 0.5;
            if (m_labels.decimals != 0) w += m_labels.decimals + 0.5;
            room = 0.6 * std::max(w, 0.0) + base;
        }
    } else if (!m_bRotatedLabels) {
        int n = 0;
        for (const TextLabelNode& l : peakLabels_.labels())
            if (l.aboveGraph) n = std::max(n, static_cast<int>(l.lines.size()));
        room = n > 0 ? n + base + 0.15 : base;
    } else {
        const int longest = peakLabels_.GetLongestLine();
        room = longest > 0 ? ((longest - 1) + 0.5) * 0.6 + base + 0.15 : base;
    }
    room = std::max(room, 0.6);
    if (userLabels_.size() > 0) room = std::max(room, userLabels_.GetMaxAboveGraphLines() + 0.15);
    return room;
}

int CChroGraph::HitTestBaseline(const PlotDC& dc, int x, int y, double& x1, double& y1, double& x2,
                                double& y2) const {
    if (!regions_) return 0;
    const PlotRegion* region = regions_->Find(x, y);
    if (!region) return 0;
    MarkerNode hit;
    int end = 0;
    if (!peakMarkers_.HitTest(dc, x, y, &magnification_, *region, hit, end, 0)) return 0;
    x1 = hit.startPosition;
    y1 = hit.startIntensity;
    x2 = hit.endPosition;
    y2 = hit.endIntensity;
    return end;
}

void CChroGraph::DrawImpl(PlotDC& dc) {
    if (trace_.PointCount() == 0) {
        ScopedFont font(dc, font_.ToDCFont(&dc));
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.SetTextColor(0);
        dc.TextOut(rect_.left + 10, rect_.top + 10, NoDataText());
        return;
    }
    heading_.Reset(60, m_bShowHeaderText ? 1 : 0);
    if (m_bShowHeaderText) {
        const QString title = m_bForcedHeading ? m_headingTitle : ComposeTitle(m_fileName);
        heading_.AddItem(title, 0, 0, kHeadingTagColor, true);
        heading_.AddFollowingItem(QStringLiteral("RT:"), 0.5, kHeadingTagColor, false);
        heading_.AddFollowingItem(QCFormat("%.2f - %.2f", m_dXLow, m_dXHigh), 0.5,
                                  kHeadingValueColor, false);
        if (m_bSmooth) {
            heading_.AddFollowingItem(QStringLiteral("SM:"), 1.0, kHeadingTagColor, false);
            heading_.AddFollowingItem(
                QCFormat("%d", m_nSmoothPoints) +
                    (m_nSmoothType == 0 ? QStringLiteral("B") : QStringLiteral("G")),
                0.5, kHeadingValueColor, false);
        }
    }
    sizer_.SetChildren({&heading_, heading_.HeightLines(), 0.0}, &splitter_, {});
    addPeakMarkers();
    trace_.SetRange(m_dXLow, m_dXHigh);
    trace_.SetTitle(ComposeTitle(QString()));
    // The trace's own maxima are labelled by the same switches as the integrated peaks.
    trace_.m_bPositionLabels = m_labels.retentionTime;
    trace_.m_bScanNumberLabels = m_labels.scanNumber;
    trace_.m_bBasePeakLabels = m_labels.basePeak;
    trace_.m_bFlagTags = m_labels.flags;
    trace_.m_bDifferenceLabels = m_bDifferenceLabels;
    trace_.m_bRotateLabels = m_bRotatedLabels;
    trace_.m_bBoxLabels = m_bBoxedLabels;
    trace_.SetDecimals(m_labels.decimals);
    trace_.SetLabelOffsetFactor(m_dLabelOffset);

    const double level = PrepareYLimits(trace_);
    trace_.m_dLabelThreshold = m_dLabelThreshold * level / 100.0;
    const bool absolute = m_bAbsoluteMode;
    m_bAbsoluteMode = m_bYRange;
    CPlotArea& area = PlotArea();
    area.m_xTitle = m_bShowXAxisLabel ? m_axisTitles[0] : QString();
    area.m_yTitles[0] = m_bYRange ? m_axisTitles[2] : m_axisTitles[1];
    // The flags keep the names the host knows: "axis at left" is the time axis at the bottom.
    area.m_bShowXAxis = m_bShowAxisAtLeft;
    area.m_bShowYAxis = m_bShowXAxis;
    // The heading column at the right names the trace under its normalisation level.
    if (m_bShowTextAtRight) {
        area.m_nHeadingMode = 2;
        area.m_dHeadingWidth = m_dRightWidth;
        area.m_dDepthAxisWidth = 0.5;
    } else {
        area.m_nHeadingMode = 0;
        area.m_dHeadingWidth = 0.0;
        area.m_dDepthAxisWidth = 0.0;
    }
    if (m_bShowTextAtLeft && m_dLeftWidth >= 0.5) {
        area.m_bYLabelWidthFixed = true;
        area.m_dYLabelWidth = std::max(m_dLeftWidth, 1.0);
    } else {
        area.m_bYLabelWidthFixed = false;
    }
    m_dTopMargin = headroom();
    m_dRightMargin = 1.0;
    CGraphDrawing::DrawImpl(dc);
    m_bAbsoluteMode = absolute;
}

}  // namespace zar::plot
