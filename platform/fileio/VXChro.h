#pragma once
// Chromatogram records of the data system: a trace with its definition and points, its
// display state, and the user's trace definitions.

#include "fileio/VXFilter.h"
#include "fileio/VXTypes.h"

#include <QString>

#include <vector>

namespace zar {

// Default axis titles of new display records.
inline constexpr const char* kDefaultXAxisChromatograms = "Time (min)";
inline constexpr const char* kDefaultXAxisSpectra = "m/z";
inline constexpr const char* kDefaultYAxisRelative = "Relative Abundance";
inline constexpr const char* kDefaultYAxisAbsolute = "Intensity";

// One trace: what it is and its points (time in minutes, intensity, base-peak mass, scan).
class CVXChro {
  public:
    void copy_object(const CVXChro& other) { *this = other; }
    void Empty() { *this = CVXChro(); }
    // Sets the data time and intensity ranges from the points (all 0 without points).
    void UpdateDataRanges();

    int detectorType = kVXMSDevice;
    int traceType = kVXTICTrace;
    double delay = 0.0;  // minutes
    int smoothingPoints = 1;
    double normalizationLevel = 0.0;
    CVXFilter filter;
    std::vector<CVX_MassRange> massRanges;
    double dataTimeStart = 0.0;
    double dataTimeEnd = 0.0;
    double dataIntensityLow = 0.0;
    double dataIntensityHigh = 0.0;
    std::vector<CVXDataPeak> points;
};

// How a trace is shown: labels, style, zoom and axis titles.
class CVXChroDisplay {
  public:
    void copy_object(const CVXChroDisplay& other) { *this = other; }
    bool operator==(const CVXChroDisplay&) const = default;

    void XAxisChromatogramLabel(const QString& text) { xAxisChromatogramLabel_ = text; }
    void XAxisSpectraLabel(const QString& text) { xAxisSpectraLabel_ = text; }
    void YAxisRelativeLabel(const QString& text) { yAxisRelativeLabel_ = text; }
    void YAxisAbsoluteLabel(const QString& text) { yAxisAbsoluteLabel_ = text; }
    QString XAxisChromatogramLabel() const { return xAxisChromatogramLabel_; }
    QString XAxisSpectraLabel() const { return xAxisSpectraLabel_; }
    QString YAxisRelativeLabel() const { return yAxisRelativeLabel_; }
    QString YAxisAbsoluteLabel() const { return yAxisAbsoluteLabel_; }

    int labelRetentionTime = 1;
    int labelScanNumber = 0;
    int labelBasePeak = 0;
    int labelSignalToNoise = 0;
    int labelFlags = 0;
    int labelDecimals = 2;
    double labelThreshold = 5.0;  // per cent
    int plotStyle = 0;            // 0 point to point, 1 stick
    int xZoomed = 0;
    int yZoomed = 0;
    double xStart = 0.0;
    double xEnd = 0.0;
    double yLow = 0.0;
    double yHigh = 0.0;
    int yAxisScaleType = kVXScaleRelative;

  private:
    QString xAxisChromatogramLabel_ = kDefaultXAxisChromatograms;
    QString xAxisSpectraLabel_ = kDefaultXAxisSpectra;
    QString yAxisRelativeLabel_ = kDefaultYAxisRelative;
    QString yAxisAbsoluteLabel_ = kDefaultYAxisAbsolute;
};

// A trace the user asked for. Detector type -1 marks an empty definition.
class CVXUserTraceDef {
  public:
    static constexpr int kMaxTitleLength = 60;

    void copy_object(const CVXUserTraceDef& other) { *this = other; }
    bool operator==(const CVXUserTraceDef&) const = default;
    bool IsEmpty() const { return detectorType == kVXNoDevice; }

    QString Title() const { return title_; }
    // Longer titles are cut to kMaxTitleLength characters.
    void Title(const QString& title) { title_ = title.left(kMaxTitleLength); }

    int enabled = 0;
    int detectorType = kVXNoDevice;
    int traceType = kVXTICTrace;
    double delay = 0.0;  // minutes; only for detectors other than the mass spectrometer
    int smoothingPoints = 1;
    CVXFilter filter;
    std::vector<CVX_MassRange> ranges;

  private:
    QString title_;
};

// An owning array of trace definitions; GetAt creates empty definitions up to the index.
class CVXUserTraceDefWrapper {
  public:
    // The most traces one chromatogram request carries.
    static constexpr int kMaxTraces = 10;

    int GetSize() const { return static_cast<int>(defs_.size()); }
    // Dropped definitions are destroyed; new ones are empty.
    void SetSize(int size) { defs_.resize(size < 0 ? 0 : size); }
    // Definition i, created when missing; nullptr for a negative index.
    CVXUserTraceDef* GetAt(int i);
    const CVXUserTraceDef* GetAt(int i) const;
    void RemoveAll() { defs_.clear(); }
    int CountEnabled() const;
    bool operator==(const CVXUserTraceDefWrapper&) const = default;

  private:
    std::vector<CVXUserTraceDef> defs_;
};

}  // namespace zar
