#pragma once
// The interaction interface of the interactive graphs: the controls reach the view state of a
// graph through it (ranges, Y limits, text labels, markers, magnified ranges, hit tests). There
// are two families: the chromatogram family (X is time) and the spectrum family (X is mass); an
// operation of the other family's variant does nothing and reports failure.

#include "GraphDrawing.h"

#include <optional>

namespace zar::plot {

enum class GraphFamily { Chromatogram, Spectrum };

inline constexpr int kMaxLabelLines = 20;

// The lines of a label's text: split at carriage returns (a line feed after one is skipped),
// the first kMaxLabelLines of them.
QStringList LabelLines(const QString& text);

// The label record of AddTextLabel: anchor, alignment and switches of one free text label.
struct HandlerLabel {
    int xAnchor = 1;
    int yAnchor = 2;  // the vertical anchor code: 0, 1, 2 or other (see AddTextLabelMass)
    int alignment = 1;
    QString text;  // lines separated by carriage returns
    bool boxed = false;
    bool rotated = false;
    double priority = 0.0;
};

// The marker record of AddMarker: kind 0-2 line, 3 outlined rectangle, 4 filled rectangle.
struct HandlerMarker {
    int kind = 0;
    int intensityScale = 0;
    COLORREF lineColor = 0;
    COLORREF fillColor = 0;
    bool behind = false;
    int symbol = ZAR_PLOTLib::VXPlot_MarkerSymbolType_None;
};

class CGraphHandler {
  public:
    CGraphHandler(CGraphDrawing& graph, GraphFamily family) : graph_(graph), family_(family) {}

    // The data X range of the loaded trace (chromatogram family); none: the operations that
    // need it fail and change nothing.
    void SetDataRange(std::optional<std::pair<double, double>> range) { dataRange_ = range; }

    bool ScrollRight();
    bool ScrollLeft();
    bool ZoomFull();
    bool ZoomOut();
    bool ZoomIn();
    bool ResetYScale();
    bool SetYAxisLimits(double relMin, double relMax, double absMin, double absMax, double norm);
    void GetYAxisLimits(double* relMin, double* relMax, double* absMin, double* absMax,
                        double* norm) const;
    void GetDataXRange(double& start, double& end) const;
    // The vertical anchor code places the label: 0 bottom edge at the point and above the data,
    // 1 bottom edge at the point, 2 top edge at the point; any other code is taken for both
    // placement numbers as the line count.
    bool AddTextLabelMass(const HandlerLabel& label, double x, double y, double endX, double endY,
                          bool pointer);
    bool AddTextLabelTime(const HandlerLabel& label, double x, double y, double endX, double endY,
                          bool pointer);
    void RemoveTextLabel(double start, double end, int index);
    bool AddMarkerTime(const HandlerMarker& m, double startPos, double startInt, double endPos,
                       double endInt, int traceId, int markerId);
    bool AddMarkerMass(const HandlerMarker& m, double startPos, double startInt, double endPos,
                       double endInt, int traceId);
    void ClearMagnifiedRanges() { graph_.Magnification().ClearRanges(); }
    void ClearTextLabels();
    bool AddMagnifiedRangeMass(double factor, double start, double end);
    bool AddMagnifiedRangeTime(double factor, double start, double end);
    bool RemoveMagnifiedRangeMass(double start, double end);
    bool RemoveMagnifiedRangeTime(double start, double end);
    // The position of the most intense peak in start .. end (spectrum family).
    bool FindTallestPeak(double start, double end, double& position) const;

  private:
    bool addTextLabel(const HandlerLabel& label, double x, double y, double endX, double endY,
                      bool pointer);
    bool addMarker(const HandlerMarker& m, double startPos, double startInt, double endPos,
                   double endInt, int traceId, int markerId);
    std::optional<std::pair<double, double>> dataRange() const;

    CGraphDrawing& graph_;
    GraphFamily family_;
    std::optional<std::pair<double, double>> dataRange_;
};

}  // namespace zar::plot
