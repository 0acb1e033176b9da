#pragma once
// Traces: one array of data points drawn as a profile line, sticks or a shade band inside a
// plot's data rectangle, with peak labels for local maxima and the markers of the trace.
// Drawing cost is bounded by the pixel width: all points of one pixel column are reduced to at
// most two line ends (profile) or one stick.

#include "PlotFont.h"
#include "GraphElement.h"
#include "LabelOccupancyMap.h"
#include "MarkerList.h"
#include "PeakInfoPens.h"
#include "TextLabel.h"
#include "ZoomFactorLabel.h"
#include "plot/graph/ScanFilter.h"

#include <memory>
#include <optional>
#include <vector>

namespace zar::plot {

struct TracePoint {
    double position = 0.0;  // m/z or retention time; sorted increasing
    double intensity = 0.0;
    float basePeakMass = 0.f;
    std::int32_t scanNumber = 0;
    std::uint32_t flags = 0;  // 0x01 "S", 0x10 "R", 0x08 "E"
    std::int32_t reserved = 0;
};
static_assert(sizeof(TracePoint) == 32);

inline constexpr std::uint32_t kFlagFirst = 0x01;
inline constexpr std::uint32_t kFlagSecond = 0x10;
inline constexpr std::uint32_t kFlagThird = 0x08;

struct TraceScaling {
    int firstMode = 0;
    int normalisationMode = 0;  // 0 displayed range, 1 all points, 2 normalisation range
    double normalisationValue = 0.0;
    double yMin = 0.0;
    double yMax = 1.0;
    double percentMin = 0.0;
    double percentMax = 100.0;
};

// A local maximum that may get a peak label.
struct PeakLabelCandidate {
    double intensity;
    double position;
    float basePeakMass;
    std::int32_t scanNumber;
    int px;
    int py;
};

class CTrace : public CGraphElement {
  public:
    CTrace();

    // The points stay the caller's; they must outlive the drawing.
    void SetPoints(const TracePoint* points, std::size_t count);
    void SetRange(double start, double end);
    void SetScaling(const TraceScaling& scaling) { scaling_ = scaling; }
    const TraceScaling& Scaling() const { return scaling_; }
    double RangeStart() const { return start_; }
    double RangeEnd() const { return end_; }
    std::size_t PointCount() const { return count_; }
    const TracePoint* Points() const { return points_; }

    void SetLabelRect(const ElementRect& r) { labelRect_ = r; }
    const ElementRect& LabelRect() const { return labelRect_; }
    void SetFont(PlotFont* font) { font_ = font; }
    void SetMarkerLists(const CMarkerList* first, const CMarkerList* second) {
        markers1_ = first;
        markers2_ = second;
    }
    void SetCollision(CLabelOccupancyMap* profile, COccupiedRectList* rects) {
        profile_ = profile;
        rects_ = rects;
    }
    void SetMagnification(CZoomFactorLabel* magnification) { magnification_ = magnification; }
    void SetLabelLayers(CTextLabel* user, CTextLabel* graph) {
        userLayer_ = user;
        graphLayer_ = graph;
    }
    void SetTraceId(std::int32_t id) { traceId_ = id; }
    void SetUserLabelColor(COLORREF color) { userLabelColor_ = color; }
    // Peak-information records that colour the peaks (the caller's copy; completed in place).
    void SetPeakInfo(ZAR_PLOTLib::VXPlot_PeakInfo* records, int count) {
        peakInfo_ = records;
        peakInfoCount_ = count;
    }
    // False when the index is outside 0 .. 15.
    bool SetPeakInfoColour(int index, COLORREF color);
    std::int32_t TraceId() const { return traceId_; }
    void SetTitle(const QString& title) { title_ = title; }
    // The colour the trace's line and heading are drawn in.
    virtual COLORREF LineColor() const { return 0; }
    // The scan number a heading column shows in its scan mode (0 for most traces).
    std::int32_t m_nHeadingScan = 0;
    const QString& Title() const { return title_; }

    // Label switches.
    bool m_bPositionLabels = true;
    bool m_bDifferenceLabels = false;
    int m_nDifferenceMode = 0;
    double m_dReferencePosition = 0.0;
    bool m_bScanNumberLabels = false;
    bool m_bBasePeakLabels = false;
    bool m_bFlagTags = false;
    bool m_bLabelsBesideGraphLabels = false;
    bool m_bRotateLabels = false;
    bool m_bBoxLabels = false;
    double m_dLabelThreshold = 0.0;
    void SetDecimals(int decimals) { decimals_ = std::clamp(decimals, 0, 10); }
    void SetLabelOffsetFactor(double f) { offsetFactor_ = std::max(f, 0.0); }

    double GetMaxIntensity();
    double GetMinIntensity() const;

    // Data sets: a spectrum trace may hold several (separate mass segments of one spectrum, or
    // further spectra drawn in its row); every other trace is its own only data set.
    virtual int GetDataSetCount() const { return 1; }
    // Null when the index is outside 0 .. count - 1.
    virtual CTrace* GetDataSet(int index) { return index == 0 ? this : nullptr; }
    // Non-zero when the data sets are separate X segments drawn side by side.
    virtual bool GetSegmentedFlag() const { return false; }
    // The X extent of the data: the segment range when one was given, else the first and last
    // point's position (0.0 without points).
    double GetFirstX() const;
    double GetLastX() const;
    void SetXExtent(double first, double last) {
        extentGiven_ = last > first;
        extentFirst_ = first;
        extentLast_ = last;
    }

    // Read by the plot area: the filter and the trace index that the trace's hit regions carry.
    int m_nRegionIndex = 0;
    void SetScanFilter(const CScanFilter* filter) { scanFilter_ = filter; }
    const CScanFilter* ScanFilter() const { return scanFilter_; }
    // The first point at or after x (binary search); null when none.
    static const TracePoint* FindFirstPointAtOrAfter(const TracePoint* points, std::size_t count,
                                                     double x, std::size_t* index = nullptr);
    const TracePoint* FindNearestPoint(double x) const;

    void DrawProfile(PlotDC& dc, COLORREF color);
    // Shades the area between the curve and a baseline from the first to the last point.
    void FillPeakArea(PlotDC& dc, const TracePoint* first, const TracePoint* last, double baseStart,
                      double baseEnd);
    void DrawSticks(PlotDC& dc, COLORREF normal, COLORREF flag1, COLORREF flag2, COLORREF flag3);

    // The peak labels the last drawing placed (for the graphs' layout and for tests).
    const std::vector<PlacedLabel>& LastPeakLabels() const { return lastPeakLabels_; }
    const std::vector<PeakLabelCandidate>& LastCandidates() const { return lastCandidates_; }

  protected:
    // Gives a data set the graph links and label settings of the trace that holds it.
    void shareSettingsWith(CTrace& dataSet) const;
    bool peakLabelsWanted() const;
    double magnified(const TracePoint& p);
    void drawLabelLayers(PlotDC& dc, CLabelOccupancyMap* profile, double yScale, double xScale);
    void buildAndDrawPeakLabels(PlotDC& dc, std::vector<PeakLabelCandidate>& candidates,
                                CLabelOccupancyMap* profile);
    QString labelFormat() const { return QStringLiteral("%.%1f").arg(decimals_); }
    MarkerScales markerScales(double yScale, double xScale) const;

    // The points of one pixel column of a profile: its first point, the one after its last, its
    // highest, and the column's highest and lowest (magnified) intensity.
    struct ProfileColumn {
        int column;
        std::size_t first, end, highest;
        double hi, lo;
    };
    // The profile's columns over the points first .. (the range's end), worked out once for the
    // trace's points, range and width and kept for the drawings that follow: a redraw at the
    // same zoom does not pass over the points again. Magnified traces work them out each time.
    const std::vector<ProfileColumn>& profileColumns(std::size_t first, std::size_t inRange,
                                                     double xScale);

    const TracePoint* points_ = nullptr;
    std::size_t count_ = 0;
    double start_ = 0.0;
    double end_ = 1000.0;
    TraceScaling scaling_;
    ElementRect labelRect_;
    PlotFont* font_ = nullptr;
    const CMarkerList* markers1_ = nullptr;
    const CMarkerList* markers2_ = nullptr;
    CLabelOccupancyMap* profile_ = nullptr;
    COccupiedRectList* rects_ = nullptr;
    CZoomFactorLabel* magnification_ = nullptr;
    bool magnify_ = false;
    CTextLabel* userLayer_ = nullptr;
    COLORREF userLabelColor_ = 0;
    CTextLabel* graphLayer_ = nullptr;
    std::int32_t traceId_ = 0;
    QString title_;
    int decimals_ = 1;
    double offsetFactor_ = 2.0;
    double maxAll_ = 0.0, maxRange_ = 0.0;
    bool maxAllValid_ = false, maxRangeValid_ = false;
    ZAR_PLOTLib::VXPlot_PeakInfo* peakInfo_ = nullptr;
    int peakInfoCount_ = 0;
    std::array<COLORREF, kPeakInfoPens> peakInfoColors_{
        0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x008080, 0x800080,
        0x808000, 0,        0,        0,        0,        0,        0,        0};
    std::vector<PlacedLabel> lastPeakLabels_;
    std::vector<PeakLabelCandidate> lastCandidates_;
    const CScanFilter* scanFilter_ = nullptr;
    bool extentGiven_ = false;
    double extentFirst_ = 0.0, extentLast_ = 0.0;
    std::uint64_t pointsGeneration_ = 0;
    struct ColumnsKey {
        const TracePoint* points;
        std::size_t count;
        std::uint64_t generation;
        double start, end;
        int left, right;
        bool operator==(const ColumnsKey&) const = default;
    };
    std::optional<ColumnsKey> columnsKey_;
    std::vector<ProfileColumn> columns_;
};

// A chromatogram or calibration trace: one colour, profile or sticks.
class CChroTrace : public CTrace {
  public:
    COLORREF m_lineColor = 0;
    int m_nStyle = 0;  // 0 profile, otherwise sticks
    void DrawImpl(PlotDC& dc) override;
};

class CSpecAddedTrace;

// A spectrum trace: profile, sticks or a shade band. Its own points are its first data set;
// further data sets are drawn with its style and colours.
class CSpecTrace : public CTrace {
  public:
    CSpecTrace();
    ~CSpecTrace() override;
    // Appends a data set over the caller's points (which must outlive the drawing); the segment
    // range (first < last) is the X extent a segmented trace shows it over.
    CSpecAddedTrace& AddDataSet(const TracePoint* points, std::size_t count, double first = 0.0,
                                double last = 0.0);
    // Drops the added data sets (the trace's own points stay).
    void ClearAddedDataSets() { added_.clear(); }
    int GetDataSetCount() const override { return 1 + static_cast<int>(added_.size()); }
    CTrace* GetDataSet(int index) override;
    bool GetSegmentedFlag() const override { return m_bSegmented && !added_.empty(); }
    bool m_bSegmented = false;

    int m_nStyle = 1;  // 0 profile, 1 sticks, 2 shade
    COLORREF m_profileColor = 0x02000000;
    COLORREF LineColor() const override { return m_profileColor; }
    COLORREF m_shadeEmpty = 0x02C8C8C8;
    COLORREF m_shadeFull = 0x02000000;
    COLORREF m_stickColors[4] = {0x02000000, 0x02C04040, 0x026E3296, 0x021E78D2};
    void DrawImpl(PlotDC& dc) override;
    // A band of one colour cell per unit of position over the whole data rectangle.
    void DrawShade(PlotDC& dc);
    // The colour of a cell whose largest intensity is m.
    COLORREF ShadeColor(double m) const;

  protected:
    // Draws this data set's points in the given trace's style and colours.
    void drawDataSet(PlotDC& dc, const CSpecTrace& style);

  private:
    std::vector<std::unique_ptr<CSpecAddedTrace>> added_;
};

// One further data set of a spectrum trace; the trace that holds it draws it.
class CSpecAddedTrace : public CSpecTrace {
  public:
    void DrawImpl(PlotDC&) override {}
    int GetDataSetCount() const override { return 1; }
    CTrace* GetDataSet(int index) override { return index == 0 ? this : nullptr; }
    bool GetSegmentedFlag() const override { return false; }

  private:
    friend class CSpecTrace;
};

// A set of points drawn as marker symbols (the calibration curve's included and excluded points).
class CTraceKind3 : public CTrace {
  public:
    int m_nSymbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_Circle;
    COLORREF m_color = 0;
    double m_dSymbolSize = 0.0834;  // inches
    void DrawImpl(PlotDC& dc) override;
    // The first point from `index` on whose symbol square holds the client point.
    bool HitTestPoint(const PlotDC& dc, int x, int y, double yMin, double yMax, double& position,
                      double& intensity, std::size_t& index);

  private:
    int symbolSize(const PlotDC& dc) const {
        return static_cast<int>(dc.LogPixelsY() * m_dSymbolSize);
    }
};

}  // namespace zar::plot
