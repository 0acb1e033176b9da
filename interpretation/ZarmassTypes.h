#pragma once
// Records shared by the Zarmass engines, their pages and their views: peaks, the page record,
// the scan record, charge-state entries and ion labels. Plain data, no Qt widgets.

#include "document/ZarMessages.h"

#include <QString>

#include <array>
#include <cstdint>

namespace zar {

// Capacities of the Zarmass engines.
constexpr int kZarmassMaxParamValues = 20;      // m/z values or masses a page hands over
constexpr int kZarmassMaxSelected = 100;        // m/z values of one series
constexpr int kZarmassLabelSlots = 250;         // ion labels the views may read
constexpr int kZarmassLabelTextLength = 16;     // characters of a label text, terminator included
constexpr int kZarmassColourCount = 16;         // pen colours, one per component
constexpr int kZarmassMaxFilterText = 200;      // characters of a scan's filter text
constexpr int kZarmassMaxSeriesBlocks = 20;     // masses left out by a re-transform
constexpr int kZarmassMaxSeriesIons = 100;      // ions remembered per left-out mass
constexpr int kZarmassMaxInRangePeaks = 50000;  // peaks the transform searches
// Highest charge state any loop visits: without it a series whose m/z never falls below the
// lowest peak (lowest peak at or below the adduct) would be walked for ever.
constexpr int kZarmassMaxChargeState = 1000;
// Apex mass that marks a label with no ion found (and one merged into its neighbour).
constexpr double kZarmassNoApexMass = 1000000.0;

// Private messages the parent-ion transform posts to its owner.
constexpr unsigned kMsgZarmassNoPeaksInRange = kMsgZarmassBroadcast;  // (1, 0)
// (1, percent) while it runs, (1, 100) when finished, then (0, 0).
constexpr unsigned kMsgZarmassProgress = kMsgZarmassOwnerFirst;
// (0, 0) with a ZarmassTransformResult payload: re-transform done.
constexpr unsigned kMsgZarmassSelectedDone = kMsgZarmassOwnerFirst + 1;
// (0, 0) with a ZarmassTransformResult payload: transform done.
constexpr unsigned kMsgZarmassTransformDone = kMsgZarmassOwnerLast;
static_assert(kMsgZarmassTransformDone == kMsgZarmassSelectedDone + 1);

// One peak: m/z (or neutral mass in a deconvoluted spectrum) and intensity. The last two
// fields travel with the peak and are never read here; the layout matches the plot's data peak.
struct PeakRecord {
    double mass = 0.0;
    double intensity = 0.0;
    float extra = 0.0f;
    std::int32_t flags = 0;
};
static_assert(sizeof(PeakRecord) == 24, "a peak record is 24 bytes");

// What the Calculation and Deconvolution pages hand to the engines.
struct ZarmassParams {
    std::array<double, kZarmassMaxParamValues> mz{};  // entry 0: the parent mass where one is used
    double mzLow = 0.0;
    double mzHigh = 2000.0;
    double massLow = 5000.0;
    double massHigh = 30000.0;
    double adduct = 1.0;
    double peakWidth = 16.008;
    double massStep = 1.0;
    int count = 0;            // valid entries of mz
    int overwriteLabels = 0;  // 1: new labels replace the shown ones
};

// The scan the spectrum came from.
struct ZarmassScanInfo {
    double retentionTime = 0.0;
    int scanNumber = 0;
    int isCentroid = 0;
    int positive = 1;
    QString filter;  // at most kZarmassMaxFilterText characters are kept
};

// The smoothing the Smoothing and Averaging page keeps in the document for the pages'
// calculations: type -1 none, 0 boxcar, 1 Gaussian, 2 Orvo, 3 Savitsky-Golay.
struct SmoothingRecord {
    int type = -1;
    int points = 0;
    int enabled = 0;
    bool IsOn() const { return enabled != 0 && type >= 0; }
};

// One m/z of the series being fitted.
struct ChargeStateEntry {
    double mz = 0.0;
    double weight = 0.0;
    int charge = 0;  // charge state times polarity
};

// One point of a label: the first value is never set by the engine.
struct LabelPoint {
    double x = 0.0;
    double intensity = 0.0;
    double mass = 0.0;
};

// One identified ion as the spectrum views draw it (also used by the de novo spectrum view).
struct CPeakLabel {
    LabelPoint left;
    LabelPoint apex;  // apex mass 0.0 or below: an empty slot
    LabelPoint right;
    int penIndex = 0;  // component number, an index into the colour table
    int chargeState = 0;
    QString text;  // shown instead of the charge when showText is set; < kZarmassLabelTextLength
    int showCharge = 1;
    int showColor = 1;
    int showText = 0;
};

}  // namespace zar
