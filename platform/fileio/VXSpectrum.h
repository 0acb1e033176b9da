#pragma once
// Spectrum records of the data system: the scan header, the spectrum with its filter, mass
// ranges, segments and peaks, and the display state of a spectrum plot.

#include "fileio/VXFilter.h"
#include "fileio/VXTypes.h"

#include <vector>

namespace zar {

// Base of the data system's stored objects. OnCreate prepares a fresh object (an empty
// working range list of the current version); OnSave has nothing to do in memory.
class CVX_FMObject {
  public:
    static constexpr int kCurrentVersion = 4;
    virtual ~CVX_FMObject() = default;
    virtual void OnCreate();
    virtual void OnSave() {}
    int version() const { return version_; }
    std::vector<CVX_MassRange>& workingRanges() { return workingRanges_; }

  private:
    int version_ = 0;
    std::vector<CVX_MassRange> workingRanges_;
};

class CVXScanHeader {
  public:
    void Initialize() { data = CVXSpectrumHeaderData(); }
    void copy_object(const CVXScanHeader& other) { *this = other; }

    CVXSpectrumHeaderData data;
};

class CVXSpec {
  public:
    void copy_object(const CVXSpec& other) { *this = other; }
    // Drops everything: header, filter, ranges, segments and peaks.
    void Empty() { *this = CVXSpec(); }

    // Mass range i, created (as 0-0) when the list is shorter; nullptr for a negative index.
    CVX_MassRange* GetMassRange(int i);
    void SetMassRangeCount(int count) { massRanges.resize(count < 0 ? 0 : count); }
    int GetMassRangeCount() const { return static_cast<int>(massRanges.size()); }
    // Peak i, created empty when the list is shorter; nullptr for a negative index.
    CVXDataPeak* GetPeakAt(int i);
    int GetPeakCount() const { return static_cast<int>(peaks.size()); }

    CVXScanHeader header;
    CVXFilter filter;
    std::vector<CVX_MassRange> massRanges;
    std::vector<int> segmentSizes;   // peaks per segment, in peak order
    std::vector<CVXDataPeak> peaks;  // ascending mass
};

// Zoom and style of a spectrum plot.
class CVXSpecDisplay {
  public:
    enum Style { kAutomatic = 0, kProfile = 1, kStick = 2 };
    void copy_object(const CVXSpecDisplay& other) { *this = other; }
    bool operator==(const CVXSpecDisplay&) const = default;

    int xZoomed = 0;
    int yZoomed = 0;
    double xStart = 0.0;
    double xEnd = 0.0;
    double yStart = 0.0;
    double yEnd = 0.0;
    int selectedSegment = -1;
    int yAxisScaleType = kVXScaleRelative;
    int style = kAutomatic;
    int showLabels = 1;
    double labelThreshold = 5.0;  // per cent
    int offsetLabels = 0;
    int rotateLabels = 0;
    float labelOffset = 0.0f;
};

}  // namespace zar
