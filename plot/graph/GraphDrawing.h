#pragma once
// The drawing base of every graph: the elements a plot is made of (plot area with its axes,
// text-label layers, markers, magnified ranges, fonts, the proportional font sizer), the view
// state that the interaction handler and the controls change, and the common drawing order.

#include "plot/elements/PlotFont.h"
#include "plot/elements/HeadingBlock.h"
#include "plot/elements/MarkerList.h"
#include "plot/elements/PlotArea.h"
#include "plot/elements/TextLabel.h"
#include "plot/elements/Trace.h"
#include "plot/elements/ZoomFactorLabel.h"

#include <array>
#include <memory>
#include <vector>

namespace zar::plot {

// The proportional font settings of the plotting controls (current user, key "Global").
struct PlotFontSettings {
    QString name;
    double minSize;  // fractions of the plot size
    double maxSize;
};
inline constexpr double kDefaultFontMinSize = 0.084;
inline constexpr double kDefaultFontMaxSize = 0.133;
// Read once per process (missing or out-of-range values are replaced and written back).
const PlotFontSettings& GetPlotFontSettings();
// Forgets the settings read (the settings folder changed).
void ResetPlotFontSettings();

// Colour modes: 0 black, 1 the colour only on paper and in metafiles, otherwise the colour.
COLORREF ColorForOutput(const PlotDC& dc, int mode, COLORREF color);

enum YLimit {
    kRelativeMin = 0,
    kRelativeMax = 1,
    kAbsoluteMin = 2,
    kAbsoluteMax = 3,
    kNormalization = 4
};

class CGraphDrawing : public CGraphElement {
  public:
    CGraphDrawing();
    ~CGraphDrawing() override = default;

    // View state.
    double m_dXLow = 0.0;
    double m_dXHigh = 1.0;
    bool m_bLowAuto = true;
    bool m_bHighAuto = true;
    std::array<double, 5> m_YLimits{0.0, 100.0, 0.0, 0.0, 0.0};
    bool m_bYRange = false;
    bool m_bAbsoluteMode = true;

    CTextLabel& UserLabels() { return userLabels_; }
    CTextLabel& PeakLabels() { return peakLabels_; }
    CMarkerList& Markers() { return markers_; }
    CMarkerList& PeakMarkers() { return peakMarkers_; }
    CZoomFactorLabel& Magnification() { return magnification_; }
    PlotFont& Font() { return font_; }
    CPlotArea& PlotArea() { return *plotArea_; }
    CProporPitchFont& FontSizer() { return sizer_; }
    PlotRegionList* Regions() const { return regions_; }
    void SetRegions(PlotRegionList* regions);

    std::array<QString, 5> m_axisTitles;  // X, Y absolute, Y relative, Z absolute, Z relative
    int m_nAxisColorMode = 2;
    int m_nTraceColorMode = 2;
    bool m_bBottomMargin = true;
    double m_dBottomMargin = 0.2;
    bool m_bLeftMargin = false;
    double m_dLeftMargin = 1.0;
    // Room above the data for labels and at the right, in character units.
    double m_dTopMargin = 0.0;
    double m_dRightMargin = 0.0;
    bool m_bRowsRequested = false;
    int m_nRequestedRows = 1;
    bool m_bSelectionMarkerOff = true;
    double m_dSelectionStart = 0.0, m_dSelectionEnd = 0.0;
    bool m_bSuspendDrawing = false;
    // The colour the user's text labels are written in.
    COLORREF m_userLabelColor = 0;
    // Each segment of a trace gets limits scaled by (its maximum) / (the largest segment maximum)
    // so that it fills its height; off: all segments share the limits.
    bool m_bScaleToLargest = true;

    // Each angle limited to 0 .. 90 degrees.
    void SetDepthView(bool on, double rowAngle, double columnAngle);

    // The traces of the derived graph (not owned).
    void SetTraces(std::vector<CTrace*> traces);
    const std::vector<CTrace*>& Traces() const { return traces_; }

    void DrawImpl(PlotDC& dc) override;
    // The Y limits of a drawing from the tallest point the trace shows: a percentage of it (or
    // of the normalisation level) when the Y range is relative, else the absolute limits (an
    // empty absolute range becomes 0 .. tallest). Returns the level.
    double PrepareYLimits(CTrace& trace);
    // The X parts drawn by the last drawing, one per row strip (top strip first).
    const std::vector<std::pair<double, double>>& LastStrips() const { return strips_; }

  protected:
    // The element drawn in the sizer's centre: the plot area, once per row strip.
    class RowSplitter : public CGraphElement {
      public:
        explicit RowSplitter(CGraphDrawing& owner) : owner_(owner) {}
        void DrawImpl(PlotDC& dc) override;

      private:
        CGraphDrawing& owner_;
    };

    int rowCount() const;
    void scaleSegments();

    CTextLabel userLabels_;
    CTextLabel peakLabels_;
    CMarkerList markers_;
    CMarkerList peakMarkers_;
    CZoomFactorLabel magnification_;
    PlotFont font_;
    CHeadingBlock heading_;
    std::unique_ptr<CPlotArea> plotArea_;
    RowSplitter splitter_;
    CProporPitchFont sizer_;
    PlotRegionList* regions_ = nullptr;
    std::vector<CTrace*> traces_;
    std::vector<std::pair<double, double>> strips_;
};

}  // namespace zar::plot
