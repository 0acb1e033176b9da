#pragma once
// Plain records and codes shared by the data-system classes and the raw-file reader. The
// records keep the byte layout that the plotting controls expect, so a caller can hand them
// over as they are.

#include <cstdint>

namespace zar {

// One data point: a spectrum peak (position = m/z) or a chromatogram point (position = time
// in minutes, with the base-peak mass and the number of the scan it came from).
struct CVXDataPeak {
    double dPosition = 0.0;
    double dIntensity = 0.0;
    float fBasePeakMass = 0.0f;
    std::int32_t nScanPosition = 0;
};
static_assert(sizeof(CVXDataPeak) == 24, "data peaks are 24-byte records");

// The header of a displayed scan, in the layout the spectrum control takes.
struct CVXSpectrumHeaderData {
    std::int32_t nScanNumber = 0;
    std::int32_t bIsCentroid = 0;
    double dRT = 0.0;
    double dTIC = 0.0;
    double dMinPeakIntensity = 0.0;
    double dMinPeakMass = 0.0;
    double dBasePeakIntensity = 0.0;
    double dBasePeakMass = 0.0;
    double dLowMass = 0.0;
    double dHighMass = 0.0;
    std::int32_t bScanRangeValid = 0;
    std::int32_t nFirstScanNumber = 0;
    std::int32_t nLastScanNumber = 0;
    double dStartRT = 0.0;
    double dEndRT = 0.0;
    std::int32_t nNumScansAveraged = 0;
    std::int32_t bSubRange1Valid = 0;
    std::int32_t bSubRange2Valid = 0;
    std::int32_t nNumScansSubtracted = 0;
    double dStartBkg1RT = 0.0;
    double dEndBkg1RT = 0.0;
    double dStartBkg2RT = 0.0;
    double dEndBkg2RT = 0.0;
};
static_assert(sizeof(CVXSpectrumHeaderData) == 152, "spectrum headers are 152-byte records");

// Detector types (the plotting controls' values).
enum VXDetectorType : int {
    kVXNoDevice = -1,
    kVXMSDevice = 0,
    kVXMSAnalogDevice = 1,
    kVXAnalogDevice = 2,
    kVXPDADevice = 3,
    kVXUVDevice = 4,
};
constexpr int kVXDetectorTypeCount = 5;

// Chromatogram trace types (the plotting controls' values).
enum VXTraceType : int {
    kVXMassRangeTrace = 0,
    kVXTICTrace = 1,
    kVXBasePeakTrace = 2,
    kVXNeutralFragmentTrace = 3,
    kVXAnalog1Trace = 11,
    kVXAnalog2Trace = 12,
    kVXAnalog3Trace = 13,
    kVXAnalog4Trace = 14,
    kVXWavelengthRangeTrace = 21,
    kVXTotalAbsorbanceTrace = 22,
    kVXSpectrumMaxTrace = 23,
    kVXChannelATrace = 31,
    kVXChannelBTrace = 32,
    kVXChannelCTrace = 33,
    kVXChannelDTrace = 34,
    kVXA2DChannel1Trace = 41,
    kVXA2DChannel2Trace = 42,
    kVXA2DChannel3Trace = 43,
    kVXA2DChannel4Trace = 44,
};

// Y-axis scale types.
enum VXYAxisScaleType : int { kVXScaleRelative = 0, kVXScaleAbsolute = 1 };

}  // namespace zar
