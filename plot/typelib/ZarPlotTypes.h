#pragma once
// The type library ZAR_PLOTLib: the whole contract between the program and the plotting server
// ZAR_Plot. Both sides compile this one header, so record layouts, enumeration values, the
// member order of every dual interface and every dispatch id are the same on both sides.
//
// Records are plain data with natural alignment (8 for records that hold a double); `long` of
// the library is std::int32_t. Fields named b... are BOOL flags (0 false, anything else true).
// Arrays of records pass as a pointer to the first record and a count; the pointer is only valid
// during the call and a control copies what it keeps.
//
// Draw(phDC, phAttribDC, bIsPrinting, pcRect, bShowBorder): *phDC holds the address of the
// caller's QPainter, already begun on a widget, image, printer or SVG generator; the control draws
// into pcRect (right and bottom exclusive). phAttribDC may be the same handle or null.

#include "com/ComTypes.h"

#include <cstddef>
#include <cstdint>

namespace ZAR_PLOTLib {

using zar::BSTR;
using zar::CLSID;
using zar::DISPID;
using zar::GUID;
using zar::HRESULT;
using zar::IDispatch;
using zar::IID;
using zar::LPCWSTR;
using zar::VARIANT;

// A COLORREF (0x00BBGGRR), or 0x02000000 plus one for a palette-relative colour.
using OLE_COLOR = std::uint32_t;

inline constexpr char kLibraryName[] = "ZAR_PLOTLib";
inline constexpr char kLibraryHelpString[] = "ZAR_Plot 1.0 Type Library";
inline constexpr char kLibraryVersion[] = "1.0";
inline constexpr std::uint32_t kLibraryLocale = 0x0409;

inline constexpr GUID LIBID_ZAR_PLOTLib = {
    0x626ACEFF, 0x563A, 0x4A39, {0x9B, 0x29, 0xAF, 0x12, 0x77, 0xA4, 0xD2, 0x0D}};
inline constexpr GUID CLSID_Chro = {
    0x63029EF0, 0x0199, 0x4050, {0xA5, 0xD1, 0xD2, 0xFF, 0x79, 0xEB, 0x93, 0xAD}};
inline constexpr GUID CLSID_Spec = {
    0x6DF62BD7, 0x5265, 0x44BA, {0xA2, 0xA6, 0x36, 0xAC, 0x91, 0x4D, 0x8B, 0x02}};
inline constexpr GUID CLSID_CaliCurve = {
    0x93CF7510, 0x52B6, 0x446C, {0xA9, 0xCB, 0x66, 0x22, 0x47, 0x06, 0x64, 0xA9}};
inline constexpr GUID CLSID_XAxis = {
    0x5995C670, 0x08EC, 0x4855, {0xAF, 0xE2, 0x00, 0x6B, 0x67, 0x0D, 0x92, 0xFA}};
inline constexpr GUID CLSID_DenovoPlot = {
    0xFE37FE1B, 0x984A, 0x48A4, {0xA0, 0x72, 0x6B, 0x69, 0xCB, 0x2F, 0xEE, 0x1B}};

// ---- Enumerations ----

enum VXPlot_YAxisScaleType : std::int32_t {
    VXPlot_YAxisScaleType_Relative = 0,
    VXPlot_YAxisScaleType_Absolute = 1,
};

enum VXPlot_ScanData : std::int32_t {
    VXPlot_Centroid = 0,
    VXPlot_Profile = 1,
    VXPlot_AcceptAnyScanData = 2,
};

enum VXPlot_Polarity : std::int32_t {
    VXPlot_Negative = 0,
    VXPlot_Positive = 1,
    VXPlot_AnyPolarity = 2,
};

enum VXPlot_MSOrder : std::int32_t {
    VXPlot_ng = -3,
    VXPlot_nl = -2,
    VXPlot_par = -1,
    VXPlot_AcceptAnyMSorder = 0,
    VXPlot_ms = 1,
    VXPlot_ms2 = 2,
    VXPlot_ms3 = 3,
    VXPlot_ms4 = 4,
    VXPlot_ms5 = 5,
    VXPlot_ms6 = 6,
    VXPlot_ms7 = 7,
    VXPlot_ms8 = 8,
    VXPlot_ms9 = 9,
    VXPlot_ms10 = 10,
};

enum VXPlot_Dep : std::int32_t {
    VXPlot_NotDependent = 0,
    VXPlot_Dependent = 1,
    VXPlot_AcceptAnyDep = 2,
};

enum VXPlot_Wideband : std::int32_t {
    VXPlot_WidebandOff = 0,
    VXPlot_WidebandOn = 1,
    VXPlot_AcceptAnyWideband = 2,
};

enum VXPlot_SourceCID : std::int32_t {
    VXPlot_SourceCIDon = 0,
    VXPlot_SourceCIDoff = 1,
    VXPlot_AcceptAnySourceCID = 2,
};

enum VXPlot_SourceCIDType : std::int32_t {
    VXPlot_SourceCIDTypeNoValue = 0,
    VXPlot_SourceCIDTypeSingleValue = 1,
    VXPlot_SourceCIDTypeRamp = 2,
    VXPlot_SourceCIDTypeSIM = 3,
    VXPlot_AcceptAnySourceCIDType = 4,
};

enum VXPlot_SourceCIDValid : std::int32_t {
    VXPlot_SourceCIDEnergyValid = 0,
    VXPlot_AcceptAnySourceCIDEnergy = 1,
};

enum VXPlot_ScanType : std::int32_t {
    VXPlot_Fullsc = 0,
    VXPlot_Zoomsc = 1,
    VXPlot_SIMsc = 2,
    VXPlot_SRMsc = 3,
    VXPlot_CRMsc = 4,
    VXPlot_AcceptAnyScanType = 5,
    VXPlot_Q1MSsc = 6,
    VXPlot_Q3MSsc = 7,
};

enum VXPlot_TurboScan : std::int32_t {
    VXPlot_TurboScanOn = 0,
    VXPlot_TurboScanOff = 1,
    VXPlot_AcceptAnyTurboScan = 2,
};

enum VXPlot_IonizationMode : std::int32_t {
    VXPlot_ElectronImpact = 0,
    VXPlot_ChemicalIonization = 1,
    VXPlot_FastAtomBombardment = 2,
    VXPlot_Electrospray = 3,
    VXPlot_AtmosphericPressureChemicalIonization = 4,
    VXPlot_Nanospray = 5,
    VXPlot_Thermospray = 6,
    VXPlot_FieldDesorption = 7,
    VXPlot_MatrixAssistedLaserDesorptionIonization = 8,
    VXPlot_GlowDischarge = 9,
    VXPlot_AcceptAnyIonizationMode = 10,
};

enum VXPlot_Corona : std::int32_t {
    VXPlot_CoronaOn = 0,
    VXPlot_CoronaOff = 1,
    VXPlot_AcceptAnyCorona = 2,
};

enum VXPlot_Detector : std::int32_t {
    VXPlot_DetectorValid = 0,
    VXPlot_AcceptAnyDetector = 1,
};

enum VXPlot_PrecursorEnergy : std::int32_t {
    VXPlot_PrecursorEnergyValid = 0,
    VXPlot_AcceptAnyPrecursorEnergy = 1,
};

enum VXPlot_DetectorTypes : std::int32_t {
    VXPlot_DetectorTypes_NO_Device = -1,
    VXPlot_DetectorTypes_MS_Device = 0,
    VXPlot_DetectorTypes_MS_Analog_Device = 1,
    VXPlot_DetectorTypes_Analog_Device = 2,
    VXPlot_DetectorTypes_PDA_Device = 3,
    VXPlot_DetectorTypes_UV_Device = 4,
};

enum VXPlot_ChroTraceTypes : std::int32_t {
    VXPlot_StartMSTraces = -1,
    VXPlot_ChroMassRangeTrace = 0,
    VXPlot_ChroTICTrace = 1,
    VXPlot_ChroBasePeakTrace = 2,
    VXPlot_ChroFragmentTrace = 3,
    VXPlot_EndMSTraces = 4,
    VXPlot_StartAnalogTraces = 10,
    VXPlot_ChroAnalog1Trace = 11,
    VXPlot_ChroAnalog2Trace = 12,
    VXPlot_ChroAnalog3Trace = 13,
    VXPlot_ChroAnalog4Trace = 14,
    VXPlot_EndAnalogTraces = 15,
    VXPlot_StartPDATraces = 20,
    VXPlot_ChroWavelengthRangeTrace = 21,
    VXPlot_ChroTotalAbsorbanceTrace = 22,
    VXPlot_ChroSpectrumMaxTrace = 23,
    VXPlot_EndPDATraces = 24,
    VXPlot_StartUVTraces = 30,
    VXPlot_ChroChannelATrace = 31,
    VXPlot_ChroChannelBTrace = 32,
    VXPlot_ChroChannelCTrace = 33,
    VXPlot_ChroChannelDTrace = 34,
    VXPlot_EndUVTraces = 35,
    VXPlot_StartPCA2DTraces = 40,
    VXPlot_ChroA2DChannel1Trace = 41,
    VXPlot_ChroA2DChannel2Trace = 42,
    VXPlot_ChroA2DChannel3Trace = 43,
    VXPlot_ChroA2DChannel4Trace = 44,
    VXPlot_EndPCA2DTraces = 45,
    VXPlot_StartArtificialTraces = 100,
    VXPlot_ArtificialMSnCorrelationTrace = 101,
    VXPlot_EndArtificialTraces = 102,
    VXPlot_EndAllTraces = 103,
};

enum VXPlot_Smooth_Type : std::int32_t {
    VXPlot_Boxcar = 0,
    VXPlot_Gaussian = 1,
};

enum VXPlot_ChroTraceOperator : std::int32_t {
    VXPlot_Blank = 0,
    VXPlot_Plus = 1,
    VXPlot_Minus = 2,
};

enum VXPlot_PeakType : std::int32_t {
    VXPlot_PeakType_Auto = 0,
    VXPlot_PeakType_User = 1,
};

enum VXPlot_EdgeType : std::int32_t {
    VXPlot_BASE = 0,
    VXPlot_VALLEY = 1,
    VXPlot_MANUAL = 2,
    VXPlot_STRIPE = 3,
    VXPlot_TAIL = 4,
    VXPlot_TILT = 5,
};

enum VXPlot_ChroStyle : std::int32_t {
    VXPlot_ChroStyle_PointToPoint = 0,
    VXPlot_ChroStyle_Stick = 1,
};

enum VXPlot_SpecPlotStyle : std::int32_t {
    VXPlot_SpecStyle_ProfileStyle = 1,
    VXPlot_SpecStyle_StickStyle = 2,
    VXPlot_SpecStyle_ShadeStyle = 3,
};

enum VXPlot_MarkerStyle : std::int32_t {
    VXPlot_MarkerStyle_Line = 0,
    VXPlot_MarkerStyle_Rectangle = 1,
};

enum VXPlot_MarkerScale : std::int32_t {
    VXPlot_MarkerScale_Absolute = 0,
    VXPlot_MarkerScale_Percent = 1,
};

enum VXPlot_MarkerSymbolType : std::int32_t {
    VXPlot_MarkerSymbolType_Asterisk = 0,
    VXPlot_MarkerSymbolType_Box = 1,
    VXPlot_MarkerSymbolType_FilledBox = 2,
    VXPlot_MarkerSymbolType_Circle = 3,
    VXPlot_MarkerSymbolType_Cross = 4,
    VXPlot_MarkerSymbolType_Diamond = 5,
    VXPlot_MarkerSymbolType_Ex = 6,
    VXPlot_MarkerSymbolType_Hash = 7,
    VXPlot_MarkerSymbolType_Triangle = 8,
    VXPlot_MarkerSymbolType_Line = 9,
    VXPlot_MarkerSymbolType_None = 10,
};

enum VXXAnchor : std::int32_t {
    LeftX = 0,
    CentreX = 1,
    RightX = 2,
};

enum VXYAnchor : std::int32_t {
    TopY = 0,
    CentreY = 1,
    BottomY = 2,
};

enum VXTextAlign : std::int32_t {
    AlignLeft = 0,
    AlignCentre = 1,
    AlignRight = 2,
};

enum VXPlot_CaliCurveTraceIDs : std::int32_t {
    VXPlot_CaliCurveTraceIDs_Curve = 0,
    VXPlot_CaliCurveTraceIDs_Included = 1,
    VXPlot_CaliCurveTraceIDs_Excluded = 2,
};

// ---- Records ----

struct VXPlot_DataPeak {
    double dPosition;
    double dIntensity;
    float fBasePeakMass;
    std::int32_t nScanPosition;
};
static_assert(sizeof(VXPlot_DataPeak) == 24);
static_assert(offsetof(VXPlot_DataPeak, dPosition) == 0);
static_assert(offsetof(VXPlot_DataPeak, dIntensity) == 8);
static_assert(offsetof(VXPlot_DataPeak, fBasePeakMass) == 16);
static_assert(offsetof(VXPlot_DataPeak, nScanPosition) == 20);

struct VXPlot_MassRange {
    double dLowMass;
    double dHighMass;
};
static_assert(sizeof(VXPlot_MassRange) == 16);
static_assert(offsetof(VXPlot_MassRange, dLowMass) == 0);
static_assert(offsetof(VXPlot_MassRange, dHighMass) == 8);

struct VXPlot_Filter {
    std::int32_t bIsComplete;
    VXPlot_ScanData eScanData;
    VXPlot_Polarity ePolarity;
    VXPlot_MSOrder eMSOrder;
    VXPlot_Dep eDependent;
    VXPlot_Wideband eWideband;
    VXPlot_SourceCID eSourceCID;
    VXPlot_ScanType eScanType;
    VXPlot_TurboScan eTurboScan;
    VXPlot_IonizationMode eIonizationMode;
    VXPlot_Corona eCorona;
    VXPlot_Detector eDetector;
    double dDetectorValue;
    VXPlot_SourceCIDType eSourceCIDType;
    std::int32_t nlScanTypeIndex;
    std::int32_t nNumMassRanges;
    VXPlot_MassRange arrMassRanges[50];
    std::int32_t nNumPrecursorMasses;
    double arrPrecursorMasses[10];
    double arrPrecursorEnergies[10];
    std::int32_t arrPrecursorEnergiesValid[10];
    std::int32_t nNumSourceFragmentationEnergies;
    double arrSourceFragmentationEnergies[50];
    std::int32_t arrSourceFragmentationEnergiesValid[50];
};
static_assert(sizeof(VXPlot_Filter) == 1688);
static_assert(offsetof(VXPlot_Filter, bIsComplete) == 0);
static_assert(offsetof(VXPlot_Filter, eScanData) == 4);
static_assert(offsetof(VXPlot_Filter, ePolarity) == 8);
static_assert(offsetof(VXPlot_Filter, eMSOrder) == 12);
static_assert(offsetof(VXPlot_Filter, eDependent) == 16);
static_assert(offsetof(VXPlot_Filter, eWideband) == 20);
static_assert(offsetof(VXPlot_Filter, eSourceCID) == 24);
static_assert(offsetof(VXPlot_Filter, eScanType) == 28);
static_assert(offsetof(VXPlot_Filter, eTurboScan) == 32);
static_assert(offsetof(VXPlot_Filter, eIonizationMode) == 36);
static_assert(offsetof(VXPlot_Filter, eCorona) == 40);
static_assert(offsetof(VXPlot_Filter, eDetector) == 44);
static_assert(offsetof(VXPlot_Filter, dDetectorValue) == 48);
static_assert(offsetof(VXPlot_Filter, eSourceCIDType) == 56);
static_assert(offsetof(VXPlot_Filter, nlScanTypeIndex) == 60);
static_assert(offsetof(VXPlot_Filter, nNumMassRanges) == 64);
static_assert(offsetof(VXPlot_Filter, arrMassRanges) == 72);
static_assert(offsetof(VXPlot_Filter, nNumPrecursorMasses) == 872);
static_assert(offsetof(VXPlot_Filter, arrPrecursorMasses) == 880);
static_assert(offsetof(VXPlot_Filter, arrPrecursorEnergies) == 960);
static_assert(offsetof(VXPlot_Filter, arrPrecursorEnergiesValid) == 1040);
static_assert(offsetof(VXPlot_Filter, nNumSourceFragmentationEnergies) == 1080);
static_assert(offsetof(VXPlot_Filter, arrSourceFragmentationEnergies) == 1088);
static_assert(offsetof(VXPlot_Filter, arrSourceFragmentationEnergiesValid) == 1488);

struct VXPlot_ChroInfo {
    VXPlot_DetectorTypes eDetectorType;
    VXPlot_ChroTraceTypes eTraceType;
    std::int32_t nSmoothingPoints;
    VXPlot_Smooth_Type eSmoothingType;
    std::int32_t bMassRange1IsValid;
    VXPlot_MassRange MassRange1;
    VXPlot_ChroTraceOperator eTraceOperator;
    std::int32_t bMassRange2IsValid;
    VXPlot_MassRange MassRange2;
};
static_assert(sizeof(VXPlot_ChroInfo) == 64);
static_assert(offsetof(VXPlot_ChroInfo, eDetectorType) == 0);
static_assert(offsetof(VXPlot_ChroInfo, eTraceType) == 4);
static_assert(offsetof(VXPlot_ChroInfo, nSmoothingPoints) == 8);
static_assert(offsetof(VXPlot_ChroInfo, eSmoothingType) == 12);
static_assert(offsetof(VXPlot_ChroInfo, bMassRange1IsValid) == 16);
static_assert(offsetof(VXPlot_ChroInfo, MassRange1) == 24);
static_assert(offsetof(VXPlot_ChroInfo, eTraceOperator) == 40);
static_assert(offsetof(VXPlot_ChroInfo, bMassRange2IsValid) == 44);
static_assert(offsetof(VXPlot_ChroInfo, MassRange2) == 48);

struct VXPlot_PeakPoint {
    double dRT;
    double dHeight;
    double dBase;
};
static_assert(sizeof(VXPlot_PeakPoint) == 24);
static_assert(offsetof(VXPlot_PeakPoint, dRT) == 0);
static_assert(offsetof(VXPlot_PeakPoint, dHeight) == 8);
static_assert(offsetof(VXPlot_PeakPoint, dBase) == 16);

struct VXPlot_ChroPeak {
    VXPlot_PeakPoint left;
    VXPlot_PeakPoint apex;
    VXPlot_PeakPoint right;
    VXPlot_PeakType eType;
    VXPlot_EdgeType left_edge;
    VXPlot_EdgeType right_edge;
    double dArea;
    double dPercentArea;
    double dNoise;
    double dBasePeak;
    std::int32_t nPeakIndex;
};
static_assert(sizeof(VXPlot_ChroPeak) == 128);
static_assert(offsetof(VXPlot_ChroPeak, left) == 0);
static_assert(offsetof(VXPlot_ChroPeak, apex) == 24);
static_assert(offsetof(VXPlot_ChroPeak, right) == 48);
static_assert(offsetof(VXPlot_ChroPeak, eType) == 72);
static_assert(offsetof(VXPlot_ChroPeak, left_edge) == 76);
static_assert(offsetof(VXPlot_ChroPeak, right_edge) == 80);
static_assert(offsetof(VXPlot_ChroPeak, dArea) == 88);
static_assert(offsetof(VXPlot_ChroPeak, dPercentArea) == 96);
static_assert(offsetof(VXPlot_ChroPeak, dNoise) == 104);
static_assert(offsetof(VXPlot_ChroPeak, dBasePeak) == 112);
static_assert(offsetof(VXPlot_ChroPeak, nPeakIndex) == 120);

struct VXPlot_ChroLabels {
    std::int32_t bLabelPeakNumber;
    std::int32_t bLabelRT;
    std::int32_t bLabelScanNumber;
    std::int32_t bLabelBasePeak;
    std::int32_t bLabelSignalToNoise;
    std::int32_t bLabelFlags;
    std::int32_t bLabelArea;
    std::int32_t bLabelHeight;
    std::int32_t nLabelDecimals;
    double dLabelThreshold;
};
static_assert(sizeof(VXPlot_ChroLabels) == 48);
static_assert(offsetof(VXPlot_ChroLabels, bLabelPeakNumber) == 0);
static_assert(offsetof(VXPlot_ChroLabels, bLabelRT) == 4);
static_assert(offsetof(VXPlot_ChroLabels, bLabelScanNumber) == 8);
static_assert(offsetof(VXPlot_ChroLabels, bLabelBasePeak) == 12);
static_assert(offsetof(VXPlot_ChroLabels, bLabelSignalToNoise) == 16);
static_assert(offsetof(VXPlot_ChroLabels, bLabelFlags) == 20);
static_assert(offsetof(VXPlot_ChroLabels, bLabelArea) == 24);
static_assert(offsetof(VXPlot_ChroLabels, bLabelHeight) == 28);
static_assert(offsetof(VXPlot_ChroLabels, nLabelDecimals) == 32);
static_assert(offsetof(VXPlot_ChroLabels, dLabelThreshold) == 40);

struct VXPlot_LabelParams {
    VXXAnchor eTextXAnchor;
    VXYAnchor eTextYAnchor;
    VXTextAlign eTextAlign;
    OLE_COLOR crTextColor;
    double dTextPriority;
    std::int32_t bAboveGraph;
    std::int32_t bBoxed;
    std::int32_t bRotate;
    std::int32_t bPointer;
};
static_assert(sizeof(VXPlot_LabelParams) == 40);
static_assert(offsetof(VXPlot_LabelParams, eTextXAnchor) == 0);
static_assert(offsetof(VXPlot_LabelParams, eTextYAnchor) == 4);
static_assert(offsetof(VXPlot_LabelParams, eTextAlign) == 8);
static_assert(offsetof(VXPlot_LabelParams, crTextColor) == 12);
static_assert(offsetof(VXPlot_LabelParams, dTextPriority) == 16);
static_assert(offsetof(VXPlot_LabelParams, bAboveGraph) == 24);
static_assert(offsetof(VXPlot_LabelParams, bBoxed) == 28);
static_assert(offsetof(VXPlot_LabelParams, bRotate) == 32);
static_assert(offsetof(VXPlot_LabelParams, bPointer) == 36);

struct VXPlot_Marker {
    VXPlot_MarkerStyle style;
    VXPlot_MarkerScale IntensityScale;
    std::int32_t bBehind;
    std::int32_t bOutline;
    std::int32_t bFill;
    std::int32_t bDrawDrop;
    OLE_COLOR lineColor;
    OLE_COLOR fillColor;
    double dStartIntensity;
    double dEndIntensity;
    double dStartPosition;
    double dEndPosition;
    double dDropStartIntensity;
    double dDropEndIntensity;
    VXPlot_MarkerSymbolType symbol;
};
static_assert(sizeof(VXPlot_Marker) == 88);
static_assert(offsetof(VXPlot_Marker, style) == 0);
static_assert(offsetof(VXPlot_Marker, IntensityScale) == 4);
static_assert(offsetof(VXPlot_Marker, bBehind) == 8);
static_assert(offsetof(VXPlot_Marker, bOutline) == 12);
static_assert(offsetof(VXPlot_Marker, bFill) == 16);
static_assert(offsetof(VXPlot_Marker, bDrawDrop) == 20);
static_assert(offsetof(VXPlot_Marker, lineColor) == 24);
static_assert(offsetof(VXPlot_Marker, fillColor) == 28);
static_assert(offsetof(VXPlot_Marker, dStartIntensity) == 32);
static_assert(offsetof(VXPlot_Marker, dEndIntensity) == 40);
static_assert(offsetof(VXPlot_Marker, dStartPosition) == 48);
static_assert(offsetof(VXPlot_Marker, dEndPosition) == 56);
static_assert(offsetof(VXPlot_Marker, dDropStartIntensity) == 64);
static_assert(offsetof(VXPlot_Marker, dDropEndIntensity) == 72);
static_assert(offsetof(VXPlot_Marker, symbol) == 80);

struct VXPlot_SpectrumHeader {
    std::int32_t nScanNumber;
    std::int32_t bIsCentroid;
    double dRT;
    double dTIC;
    double dMinPeakIntensity;
    double dMinPeakMass;
    double dBasePeakIntensity;
    double dBasePeakMass;
    double dLowMass;
    double dHighMass;
    std::int32_t bScanRangeValid;
    std::int32_t nFirstScanNumber;
    std::int32_t nLastScanNumber;
    double dStartRT;
    double dEndRT;
    std::int32_t nNumScansAveraged;
    std::int32_t bSubRange1Valid;
    std::int32_t bSubRange2Valid;
    std::int32_t nNumScansSubtracted;
    double dStartBkg1RT;
    double dEndBkg1RT;
    double dStartBkg2RT;
    double dEndBkg2RT;
};
static_assert(sizeof(VXPlot_SpectrumHeader) == 152);
static_assert(offsetof(VXPlot_SpectrumHeader, nScanNumber) == 0);
static_assert(offsetof(VXPlot_SpectrumHeader, bIsCentroid) == 4);
static_assert(offsetof(VXPlot_SpectrumHeader, dRT) == 8);
static_assert(offsetof(VXPlot_SpectrumHeader, dTIC) == 16);
static_assert(offsetof(VXPlot_SpectrumHeader, dMinPeakIntensity) == 24);
static_assert(offsetof(VXPlot_SpectrumHeader, dMinPeakMass) == 32);
static_assert(offsetof(VXPlot_SpectrumHeader, dBasePeakIntensity) == 40);
static_assert(offsetof(VXPlot_SpectrumHeader, dBasePeakMass) == 48);
static_assert(offsetof(VXPlot_SpectrumHeader, dLowMass) == 56);
static_assert(offsetof(VXPlot_SpectrumHeader, dHighMass) == 64);
static_assert(offsetof(VXPlot_SpectrumHeader, bScanRangeValid) == 72);
static_assert(offsetof(VXPlot_SpectrumHeader, nFirstScanNumber) == 76);
static_assert(offsetof(VXPlot_SpectrumHeader, nLastScanNumber) == 80);
static_assert(offsetof(VXPlot_SpectrumHeader, dStartRT) == 88);
static_assert(offsetof(VXPlot_SpectrumHeader, dEndRT) == 96);
static_assert(offsetof(VXPlot_SpectrumHeader, nNumScansAveraged) == 104);
static_assert(offsetof(VXPlot_SpectrumHeader, bSubRange1Valid) == 108);
static_assert(offsetof(VXPlot_SpectrumHeader, bSubRange2Valid) == 112);
static_assert(offsetof(VXPlot_SpectrumHeader, nNumScansSubtracted) == 116);
static_assert(offsetof(VXPlot_SpectrumHeader, dStartBkg1RT) == 120);
static_assert(offsetof(VXPlot_SpectrumHeader, dEndBkg1RT) == 128);
static_assert(offsetof(VXPlot_SpectrumHeader, dStartBkg2RT) == 136);
static_assert(offsetof(VXPlot_SpectrumHeader, dEndBkg2RT) == 144);

struct VXPlot_SpecStyle {
    VXPlot_SpecPlotStyle eStyle;
    std::int32_t bShowLabels;
    double dLabelThreshold;
    std::int32_t bOffsetLabels;
    float fLabelOffset;
    std::int32_t bRotateLabels;
};
static_assert(sizeof(VXPlot_SpecStyle) == 32);
static_assert(offsetof(VXPlot_SpecStyle, eStyle) == 0);
static_assert(offsetof(VXPlot_SpecStyle, bShowLabels) == 4);
static_assert(offsetof(VXPlot_SpecStyle, dLabelThreshold) == 8);
static_assert(offsetof(VXPlot_SpecStyle, bOffsetLabels) == 16);
static_assert(offsetof(VXPlot_SpecStyle, fLabelOffset) == 20);
static_assert(offsetof(VXPlot_SpecStyle, bRotateLabels) == 24);

struct VXPlot_PeakInfoPoint {
    double dMass;
    double dIntensity;
    double dBase;
};
static_assert(sizeof(VXPlot_PeakInfoPoint) == 24);
static_assert(offsetof(VXPlot_PeakInfoPoint, dMass) == 0);
static_assert(offsetof(VXPlot_PeakInfoPoint, dIntensity) == 8);
static_assert(offsetof(VXPlot_PeakInfoPoint, dBase) == 16);

struct VXPlot_PeakInfo {
    VXPlot_PeakInfoPoint left;
    VXPlot_PeakInfoPoint apex;
    VXPlot_PeakInfoPoint right;
    std::int32_t iPenIndex;
    std::int32_t iChargeState;
    std::int32_t bShowCharge;
    std::int32_t bShowColor;
    std::int32_t bShowText;
    std::int16_t cLabelText[16];
};
static_assert(sizeof(VXPlot_PeakInfo) == 128);
static_assert(offsetof(VXPlot_PeakInfo, left) == 0);
static_assert(offsetof(VXPlot_PeakInfo, apex) == 24);
static_assert(offsetof(VXPlot_PeakInfo, right) == 48);
static_assert(offsetof(VXPlot_PeakInfo, iPenIndex) == 72);
static_assert(offsetof(VXPlot_PeakInfo, iChargeState) == 76);
static_assert(offsetof(VXPlot_PeakInfo, bShowCharge) == 80);
static_assert(offsetof(VXPlot_PeakInfo, bShowColor) == 84);
static_assert(offsetof(VXPlot_PeakInfo, bShowText) == 88);
static_assert(offsetof(VXPlot_PeakInfo, cLabelText) == 92);

struct tagRECT {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};
static_assert(sizeof(tagRECT) == 16);
static_assert(offsetof(tagRECT, left) == 0);
static_assert(offsetof(tagRECT, top) == 4);
static_assert(offsetof(tagRECT, right) == 8);
static_assert(offsetof(tagRECT, bottom) == 12);

// Room of the filter record's arrays and of a peak label.
inline constexpr int kMaxFilterMassRanges = 50;
inline constexpr int kMaxFilterPrecursors = 10;
inline constexpr int kMaxFilterSourceFragmentationEnergies = 50;
inline constexpr int kMaxPeakLabelText = 16;

// ---- Dual interfaces (members in virtual-table order from slot 7) ----
//
// LPWSTR inputs are declared const: the controls never write into the caller's text. Draw's
// device-context handles point at the address of the drawing target (a zar::PlotDC, see the
// graph engine) and of the attribute target.

class IChro : public IDispatch {
  public:
    static constexpr IID kIID = {
        0x7BF221DE, 0x4D00, 0x44A0, {0x8D, 0xD0, 0x8E, 0xAE, 0xD5, 0x04, 0x48, 0x76}};

    virtual HRESULT put_NoDataText(LPCWSTR newVal) = 0;          // slot 7, dispid 1
    virtual HRESULT get_ShowFocusRect(std::int32_t* pVal) = 0;   // slot 8, dispid 2
    virtual HRESULT put_ShowFocusRect(std::int32_t newVal) = 0;  // slot 9, dispid 2
    virtual HRESULT get_IndexNumber(std::int32_t* pVal) = 0;     // slot 10, dispid 3
    virtual HRESULT put_IndexNumber(std::int32_t newVal) = 0;    // slot 11, dispid 3
    virtual HRESULT SetPeakData(VXPlot_DataPeak* pVXDataPeaks,
                                std::int32_t nNumVXDataPeaks) = 0;  // slot 12, dispid 4
    virtual HRESULT get_Filter(BSTR* pVal) = 0;                     // slot 13, dispid 5
    virtual HRESULT SetTraceInfo(VXPlot_ChroInfo* ChroInfo, VXPlot_Filter* Filter,
                                 std::int32_t nMassRanges,
                                 VXPlot_MassRange* pMassRanges) = 0;  // slot 14, dispid 6
    virtual HRESULT SetChroPeakData(VXPlot_ChroPeak* pVXChroPeaks,
                                    std::int32_t nNumVXChroPeaks) = 0;         // slot 15, dispid 7
    virtual HRESULT Initialize() = 0;                                          // slot 16, dispid 8
    virtual HRESULT ShowPositionMarker(std::int32_t bShow, double dTime) = 0;  // slot 17, dispid 9
    virtual HRESULT ShowMSnScans(std::int32_t bShow) = 0;                      // slot 18, dispid 10
    virtual HRESULT get_InfoID(std::int32_t* pVal) = 0;                        // slot 19, dispid 11
    virtual HRESULT put_InfoID(std::int32_t newVal) = 0;                       // slot 20, dispid 11
    virtual HRESULT get_EnableManualZoom(std::int32_t* pVal) = 0;              // slot 21, dispid 12
    virtual HRESULT put_EnableManualZoom(std::int32_t newVal) = 0;             // slot 22, dispid 12
    virtual HRESULT ShowFocusRectImmediate(std::int32_t bShow) = 0;            // slot 23, dispid 13
    virtual HRESULT get_EnableManualBaselineDrag(std::int32_t* pVal) = 0;      // slot 24, dispid 14
    virtual HRESULT put_EnableManualBaselineDrag(std::int32_t newVal) = 0;     // slot 25, dispid 14
    virtual HRESULT get_EnableManualAddPeakMode(std::int32_t* pVal) = 0;       // slot 26, dispid 15
    virtual HRESULT put_EnableManualAddPeakMode(std::int32_t newVal) = 0;      // slot 27, dispid 15
    virtual HRESULT CopyToClipboard() = 0;                                     // slot 28, dispid 16
    virtual HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                         tagRECT* pcRect, std::int32_t bShowBorder) = 0;      // slot 29, dispid 17
    virtual HRESULT get_ShowBorder(std::int32_t* pVal) = 0;                   // slot 30, dispid 18
    virtual HRESULT put_ShowBorder(std::int32_t newVal) = 0;                  // slot 31, dispid 18
    virtual HRESULT get_FileName(BSTR* pVal) = 0;                             // slot 32, dispid 19
    virtual HRESULT put_FileName(BSTR newVal) = 0;                            // slot 33, dispid 19
    virtual HRESULT InitializeFilter(VXPlot_Filter* pFilter) = 0;             // slot 34, dispid 20
    virtual HRESULT InitializeChroInfo(VXPlot_ChroInfo* pChroInfo) = 0;       // slot 35, dispid 21
    virtual HRESULT SetStyle(VXPlot_ChroStyle eStyle) = 0;                    // slot 36, dispid 22
    virtual HRESULT SetLabelling(VXPlot_ChroLabels* pLabelInfo) = 0;          // slot 37, dispid 23
    virtual HRESULT get_EnableManualDeletePeakMode(std::int32_t* pVal) = 0;   // slot 38, dispid 24
    virtual HRESULT put_EnableManualDeletePeakMode(std::int32_t newVal) = 0;  // slot 39, dispid 24
    virtual HRESULT SetMarkerPeakData(VXPlot_DataPeak* pVXDataPeaks,
                                      std::int32_t nNumVXDataPeaks) = 0;  // slot 40, dispid 25
    virtual HRESULT SetAxisLabels(BSTR bstrXAxis, BSTR bstrYAxisAbsolute, BSTR bstrYAxisRelative,
                                  BSTR bstrZAxisAbsolute,
                                  BSTR bstrZAxisRelative) = 0;     // slot 41, dispid 26
    virtual HRESULT SetDetectorLabel(BSTR bstrDetectorLabel) = 0;  // slot 42, dispid 27
    virtual HRESULT SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                   double dAbsoluteMax, double dRelativeMin,
                                   double dRelativeMax) = 0;                  // slot 43, dispid 28
    virtual HRESULT SetLeftRightAxesWidths(double dLeft, double dRight) = 0;  // slot 44, dispid 29
    virtual HRESULT SetXAxisLimits(double dStart, double dEnd) = 0;           // slot 45, dispid 30
    virtual HRESULT SetYAxisScaleType(
        VXPlot_YAxisScaleType eYAxisScaleType) = 0;  // slot 46, dispid 31
    virtual HRESULT AddTextLabel(LPCWSTR slinetext, double x, double y,
                                 VXPlot_LabelParams* pParams) = 0;            // slot 47, dispid 32
    virtual HRESULT ClearTextLabel() = 0;                                     // slot 48, dispid 33
    virtual HRESULT SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) = 0;  // slot 49, dispid 34
    virtual HRESULT SetTextAboveGraph(std::int32_t bAboveGraph) = 0;          // slot 50, dispid 35
    virtual HRESULT SetTextAlign(VXTextAlign eTextAlign) = 0;                 // slot 51, dispid 36
    virtual HRESULT SetTextPointer(std::int32_t bPointer, double dEndPosition,
                                   double dEndIntensity) = 0;           // slot 52, dispid 37
    virtual HRESULT SetTextPriority(double dPriority) = 0;              // slot 53, dispid 38
    virtual HRESULT SetTextRotate(std::int32_t bRotate) = 0;            // slot 54, dispid 39
    virtual HRESULT SetTextBoxed(std::int32_t bBoxed) = 0;              // slot 55, dispid 40
    virtual HRESULT SetHeading(LPCWSTR bstrHeading) = 0;                // slot 56, dispid 41
    virtual HRESULT SetForcedHeading(std::int32_t bForcedHeading) = 0;  // slot 57, dispid 42
    virtual HRESULT put_ShowTextAtRight(std::int32_t newVal) = 0;       // slot 58, dispid 43
    virtual HRESULT put_ShowTextAtLeft(std::int32_t newVal) = 0;        // slot 59, dispid 44
    virtual HRESULT put_ShowAxisAtLeft(std::int32_t newVal) = 0;        // slot 60, dispid 45
    virtual HRESULT put_ShowXAxis(std::int32_t newVal) = 0;             // slot 61, dispid 46
    virtual HRESULT put_ShowXAxisLabel(std::int32_t newVal) = 0;        // slot 62, dispid 47
    virtual HRESULT put_ShowHeaderText(std::int32_t newVal) = 0;        // slot 63, dispid 48
    virtual HRESULT SetMarkerList(VXPlot_Marker* pMarkers,
                                  std::int32_t nNumMarkers) = 0;          // slot 64, dispid 49
    virtual HRESULT ClearMarkerList() = 0;                                // slot 65, dispid 50
    virtual HRESULT InitializeMarker(VXPlot_Marker* pMarker) = 0;         // slot 66, dispid 51
    virtual HRESULT GetTextLabelParams(VXPlot_LabelParams* pParams) = 0;  // slot 67, dispid 52

  protected:
    ~IChro() = default;
};

class ISpec : public IDispatch {
  public:
    static constexpr IID kIID = {
        0x25B0E463, 0xAFED, 0x4962, {0xBF, 0x81, 0xB2, 0xE4, 0x78, 0x79, 0x9E, 0xFE}};

    virtual HRESULT put_NoDataText(LPCWSTR newVal) = 0;      // slot 7, dispid 1
    virtual HRESULT get_DataValid(std::int32_t* pVal) = 0;   // slot 8, dispid 2
    virtual HRESULT put_DataValid(std::int32_t newVal) = 0;  // slot 9, dispid 2
    virtual HRESULT put_Filter(VXPlot_Filter* newVal) = 0;   // slot 10, dispid 3
    virtual HRESULT SetPeakData(std::int32_t* pnSegmentSizes, VXPlot_MassRange* pMassRanges,
                                std::int32_t nMassRanges, VXPlot_DataPeak* pVXDataPeaks,
                                std::int32_t nNumVXDataPeaks) = 0;  // slot 11, dispid 4
    virtual HRESULT SetScanHeader(VXPlot_SpectrumHeader* pSpectrumHeader,
                                  std::int32_t bSetSegmentMassRange) = 0;  // slot 12, dispid 5
    virtual HRESULT Initialize() = 0;                                      // slot 13, dispid 6
    virtual HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                         tagRECT* pcRect, std::int32_t bShowBorder) = 0;      // slot 14, dispid 7
    virtual HRESULT get_ShowBorder(std::int32_t* pVal) = 0;                   // slot 15, dispid 8
    virtual HRESULT put_ShowBorder(std::int32_t newVal) = 0;                  // slot 16, dispid 8
    virtual HRESULT CopyToClipboard() = 0;                                    // slot 17, dispid 9
    virtual HRESULT get_EnableManualZoom(std::int32_t* pVal) = 0;             // slot 18, dispid 10
    virtual HRESULT put_EnableManualZoom(std::int32_t newVal) = 0;            // slot 19, dispid 10
    virtual HRESULT put_FileName(LPCWSTR newVal) = 0;                         // slot 20, dispid 11
    virtual HRESULT InitializeFilter(VXPlot_Filter* pFilter) = 0;             // slot 21, dispid 12
    virtual HRESULT SetDetectorType(VXPlot_DetectorTypes eDetectorType) = 0;  // slot 22, dispid 13
    virtual HRESULT SetStyle(VXPlot_SpecStyle* pStyle) = 0;                   // slot 23, dispid 14
    virtual HRESULT SetAxisLabels(LPCWSTR szXAxis, LPCWSTR szYAxisAbsolute, LPCWSTR szYAxisRelative,
                                  LPCWSTR szZAxisAbsolute,
                                  LPCWSTR szZAxisRelative) = 0;  // slot 24, dispid 15
    virtual HRESULT SetYAxisLimits(double dNormalizationLevel, double dAbsoluteMin,
                                   double dAbsoluteMax, double dRelativeMin,
                                   double dRelativeMax) = 0;         // slot 25, dispid 16
    virtual HRESULT SetXAxisLimits(double dStart, double dEnd) = 0;  // slot 26, dispid 17
    virtual HRESULT SetYAxisScaleType(
        VXPlot_YAxisScaleType eYAxisScaleType) = 0;      // slot 27, dispid 18
    virtual HRESULT SetHeaderExtra(LPCWSTR newVal) = 0;  // slot 28, dispid 19
    virtual HRESULT AddTextLabel(LPCWSTR slinetext, double x, double y,
                                 VXPlot_LabelParams* pParams) = 0;            // slot 29, dispid 20
    virtual HRESULT ClearTextLabel() = 0;                                     // slot 30, dispid 21
    virtual HRESULT SetTextPriority(double dPriority) = 0;                    // slot 31, dispid 22
    virtual HRESULT SetTextAnchor(VXXAnchor xAnchor, VXYAnchor yAnchor) = 0;  // slot 32, dispid 23
    virtual HRESULT SetTextAboveGraph(std::int32_t bAboveGraph) = 0;          // slot 33, dispid 24
    virtual HRESULT SetTextAlign(VXTextAlign eTextAlign) = 0;                 // slot 34, dispid 25
    virtual HRESULT SetTextPointer(std::int32_t bPointer, double dEndPosition,
                                   double dEndIntensity) = 0;           // slot 35, dispid 26
    virtual HRESULT SetTextRotate(std::int32_t bRotate) = 0;            // slot 36, dispid 27
    virtual HRESULT SetTextBoxed(std::int32_t bBoxed) = 0;              // slot 37, dispid 28
    virtual HRESULT SetHeading(LPCWSTR bstrHeading) = 0;                // slot 38, dispid 29
    virtual HRESULT SetForcedHeading(std::int32_t bForcedHeading) = 0;  // slot 39, dispid 30
    virtual HRESULT SetPeakInfo(VXPlot_PeakInfo* pPeakInfo,
                                std::int32_t nNumber) = 0;  // slot 40, dispid 31
    virtual HRESULT SetPeakInfoColors(std::uint32_t* pColors,
                                      std::int32_t nNumber) = 0;          // slot 41, dispid 32
    virtual HRESULT GetTextLabelParams(VXPlot_LabelParams* pParams) = 0;  // slot 42, dispid 33
    virtual HRESULT SetSmoothingParams(std::int32_t bSmooth, std::int32_t nMode,
                                       std::int32_t nPoints) = 0;  // slot 43, dispid 34

  protected:
    ~ISpec() = default;
};

class ICaliCurve : public IDispatch {
  public:
    static constexpr IID kIID = {
        0x1BDF953A, 0x48F3, 0x4781, {0x8F, 0x30, 0x48, 0x31, 0x6A, 0x9D, 0xB2, 0x69}};

    virtual HRESULT SetYAxisLabel(LPCWSTR szYAxisLabel) = 0;  // slot 7, dispid 1
    virtual HRESULT SetXAxisLabel(LPCWSTR szXAxisLabel) = 0;  // slot 8, dispid 2
    virtual HRESULT SetHeading(LPCWSTR szHeadingLine1,
                               LPCWSTR szHeadingLine2) = 0;  // slot 9, dispid 3
    virtual HRESULT put_NoDataText(LPCWSTR newVal) = 0;      // slot 10, dispid 4
    virtual HRESULT get_DataValid(std::int32_t* pVal) = 0;   // slot 11, dispid 5
    virtual HRESULT put_DataValid(std::int32_t newVal) = 0;  // slot 12, dispid 5
    virtual HRESULT Initialize() = 0;                        // slot 13, dispid 6
    virtual HRESULT SetTraceData(VXPlot_CaliCurveTraceIDs eTraceID, VXPlot_DataPeak* pVXDataPeaks,
                                 std::int32_t nNumVXDataPeaks) = 0;  // slot 14, dispid 7
    virtual HRESULT SetYAxisLimits(double dStart, double dEnd) = 0;  // slot 15, dispid 8
    virtual HRESULT SetXAxisLimits(double dStart, double dEnd) = 0;  // slot 16, dispid 9
    virtual HRESULT SetLeftAxisWidth(double dVal) = 0;               // slot 17, dispid 10
    virtual HRESULT CopyToClipboard() = 0;                           // slot 18, dispid 11
    virtual HRESULT SetCalculatedAmountMarker(std::int32_t bShow, double dXVal,
                                              double dYVal) = 0;  // slot 19, dispid 12
    virtual HRESULT get_ShowBorder(std::int32_t* pVal) = 0;       // slot 20, dispid 13
    virtual HRESULT put_ShowBorder(std::int32_t newVal) = 0;      // slot 21, dispid 13
    virtual HRESULT Draw(std::uintptr_t* phDC, std::uintptr_t* phAttribDC, std::int32_t bIsPrinting,
                         tagRECT* pcRect, std::int32_t bShowBorder) = 0;  // slot 22, dispid 14
    virtual HRESULT get_ShowFocusRect(std::int32_t* pVal) = 0;            // slot 23, dispid 15
    virtual HRESULT put_ShowFocusRect(std::int32_t newVal) = 0;           // slot 24, dispid 15
    virtual HRESULT get_EnableManualZoom(std::int32_t* pVal) = 0;         // slot 25, dispid 16
    virtual HRESULT put_EnableManualZoom(std::int32_t newVal) = 0;        // slot 26, dispid 16

  protected:
    ~ICaliCurve() = default;
};

class IXAxis : public IDispatch {
  public:
    static constexpr IID kIID = {
        0xB7BC09F8, 0x8B0A, 0x44FE, {0x9C, 0x9C, 0x46, 0x1E, 0xCD, 0x14, 0x6C, 0x62}};

    virtual HRESULT Initialize() = 0;                                  // slot 7, dispid 1
    virtual HRESULT SetRange(double dStartTime, double dEndTime) = 0;  // slot 8, dispid 2
    virtual HRESULT SetClientRange(std::int32_t nLeft,
                                   std::int32_t nRight) = 0;  // slot 9, dispid 3

  protected:
    ~IXAxis() = default;
};

class IDenovoPlot : public IDispatch {
  public:
    static constexpr IID kIID = {
        0xA9A73DA4, 0xF1E2, 0x4DB0, {0xA2, 0x28, 0x35, 0xB4, 0x21, 0x4C, 0x53, 0x15}};

    virtual HRESULT Initialize() = 0;    // slot 7, dispid 1
    virtual HRESULT ClearDataSet() = 0;  // slot 8, dispid 6
    virtual HRESULT SetXMassRange(std::int32_t nXStart,
                                  std::int32_t nXEnd) = 0;        // slot 9, dispid 7
    virtual HRESULT SetNumScans(std::int32_t nNumScans) = 0;      // slot 10, dispid 8
    virtual HRESULT SetYParentMasses(std::int32_t* nMasses) = 0;  // slot 11, dispid 9
    virtual HRESULT SetZIntensities(std::int32_t** pZIntensity,
                                    std::int32_t* pYParentMasses) = 0;  // slot 12, dispid 10
    virtual HRESULT SetSign(std::int16_t* pSign) = 0;                   // slot 13, dispid 11
    virtual HRESULT SetZMaxIntensity(std::int32_t nZMaxIntensity) = 0;  // slot 14, dispid 12
    virtual HRESULT SetZDisplayRangeIntensity(
        std::int32_t nZDisplayRange) = 0;                              // slot 15, dispid 13
    virtual HRESULT SetNumber1DregenPoints(std::int32_t nPoints) = 0;  // slot 16, dispid 14
    virtual HRESULT get_DataValid(std::int32_t* pVal) = 0;             // slot 17, dispid 15
    virtual HRESULT put_DataValid(std::int32_t newVal) = 0;            // slot 18, dispid 15
    virtual HRESULT put_NoDataText(LPCWSTR newVal) = 0;                // slot 19, dispid 16

  protected:
    ~IDenovoPlot() = default;
};

// ---- Event interfaces (dispinterfaces) ----

// Events of _IChroEvents (dispatch ids; arguments in declaration order).
namespace ChroEvents {
constexpr IID kIID = {0x7301FDA5, 0x2A56, 0x4380, {0xB2, 0x87, 0x42, 0xE8, 0xB7, 0xDB, 0x8E, 0x08}};
constexpr DISPID kChroLButtonDown = 1;  // long `lTraceIndex`, long `lInfoID`
constexpr DISPID kChroRButtonDown = 2;  // long `lTraceIndex`, long `lInfoID`
constexpr DISPID kChroLButtonUp =
    3;  // long `lTraceIndex`, long `lInfoID`, long `bValid`, double `dTime`, double `dIntensity`
constexpr DISPID kChroZoom =
    4;  // long `lTraceIndex`, long `lInfoID`, long `bValid`, double `dStartTime`, double
        // `dStartIntensity`, double `dEndTime`, double `dEndIntensity`
constexpr DISPID kChroBaselineDrag =
    5;  // long `lTraceIndex`, long `lInfoID`, long `bValid`, double `dInitX1`, double `dInitX2`,
        // long `lModifiedEdge`, double `dFinalX1`, double `dFinalY1`, double `dFinalX2`, double
        // `dFinalY2`
constexpr DISPID kChroAddPeak =
    6;  // long `lTraceIndex`, long `lInfoID`, long `bValid`, double `dStartTime`, double
        // `dStartIntensity`, double `dEndTime`, double `dEndIntensity`
constexpr DISPID kChroDeletePeak =
    7;  // long `lTraceIndex`, long `lInfoID`, long `bValid`, double `dTime`
constexpr DISPID kChroLeftKeyPressed = 8;   // long `lTraceIndex`, long `lInfoID`, long `bValid`
constexpr DISPID kChroRightKeyPressed = 9;  // long `lTraceIndex`, long `lInfoID`, long `bValid`
}  // namespace ChroEvents

// Events of _ISpecEvents (dispatch ids; arguments in declaration order).
namespace SpecEvents {
constexpr IID kIID = {0x0EF2AB4E, 0x9377, 0x44B5, {0x85, 0x8B, 0xA4, 0x62, 0x8B, 0xFD, 0xF7, 0x19}};
constexpr DISPID kSpecLButtonDown = 1;  // (none)
constexpr DISPID kSpecRButtonDown = 2;  // (none)
constexpr DISPID kSpecLButtonUp = 3;    // long `bValid`, double `dMass`, double `dIntensity`
constexpr DISPID kSpecZoom = 4;  // long `bValid`, double `dStartMass`, double `dStartIntensity`,
                                 // double `dEndMass`, double `dEndIntensity`
constexpr DISPID kSpecLeftKeyPressed = 5;   // (none)
constexpr DISPID kSpecRightKeyPressed = 6;  // (none)
}  // namespace SpecEvents

// Events of _ICaliCurveEvents (dispatch ids; arguments in declaration order).
namespace CaliCurveEvents {
constexpr IID kIID = {0xFA793FA2, 0xD82C, 0x465E, {0x8E, 0x46, 0x97, 0x13, 0x80, 0xE4, 0x08, 0x49}};
constexpr DISPID kCaliCurveLButtonDown = 1;  // (none)
constexpr DISPID kCaliCurveLButtonUp = 2;  // long `bValid`, double `dPosition`, double `dIntensity`
constexpr DISPID kCaliCurveRButtonDown = 3;  // (none)
constexpr DISPID kCaliCurveRButtonUp = 4;  // long `bValid`, double `dPosition`, double `dIntensity`
constexpr DISPID kCaliCurveHit =
    5;  // long `bValid`, double `dPosition`, double `dIntensity`, VARIANT* `pvarCount`, VARIANT*
        // `pvarIndex`, VARIANT* `pvarTraceIndex`
constexpr DISPID kCaliCurveZoom =
    6;  // long `bValid`, double `dStartX`, double `dStartY`, double `dEndX`, double `dEndY`
}  // namespace CaliCurveEvents

// Events of _IDenovoPlotEvents (dispatch ids; arguments in declaration order).
namespace DenovoPlotEvents {
constexpr IID kIID = {0xF4B59D82, 0x3EC8, 0x4D85, {0x90, 0x24, 0xCA, 0x19, 0xA7, 0xA3, 0x54, 0x6A}};
}

// ---- Coclasses ----

struct CoclassInfo {
    const char* name;
    const char* description;  // "Chro Class"
    const char16_t* progId;   // "Zar_Plot.Chro.1"
    const char16_t* versionIndependentProgId;
    CLSID clsid;
    IID defaultInterface;
    IID eventInterface;  // IID_NULL when the class fires no events
    int toolboxBitmap;
};

inline constexpr CoclassInfo kCoclasses[] = {
    {"Chro", "Chro Class", u"Zar_Plot.Chro.1", u"Zar_Plot.Chro", CLSID_Chro, IChro::kIID,
     ChroEvents::kIID, 102},
    {"Spec", "Spec Class", u"Zar_Plot.Spec.1", u"Zar_Plot.Spec", CLSID_Spec, ISpec::kIID,
     SpecEvents::kIID, 104},
    {"CaliCurve", "CaliCurve Class", u"Zar_Plot.CaliCurve.1", u"Zar_Plot.CaliCurve",
     CLSID_CaliCurve, ICaliCurve::kIID, CaliCurveEvents::kIID, 108},
    {"XAxis", "XAxis Class", u"Zar_Plot.XAxis.1", u"Zar_Plot.XAxis", CLSID_XAxis, IXAxis::kIID,
     zar::IID_NULL, 110},
    {"DenovoPlot", "DenovoPlot Class", u"Zar_Plot.DenovoPlot.1", u"Zar_Plot.DenovoPlot",
     CLSID_DenovoPlot, IDenovoPlot::kIID, DenovoPlotEvents::kIID, 112},
};

}  // namespace ZAR_PLOTLib
