#pragma once
// The options of a Pepmap run, as the engine and its options dialog exchange them.

namespace zar {

// Sort keys of the digest list.
enum PepmapSortMode : int {
    kPepmapSortStored = -1,  // the mode held in the options
    kPepmapSortPosition = 0,
    kPepmapSortMass = 1,
    kPepmapSortLength = 2,
    kPepmapSortScan = 3,
};

// Disulfide handling of the digest.
enum PepmapDisulfideMode : int {
    kPepmapNoDisulfides = 0,
    kPepmapReducedDisulfides = 1,
    kPepmapSpecificDisulfides = 2,
    kPepmapAllDisulfides = 3,
};

// Chromatogram labels that the trace view draws from the matched peptides.
enum PepmapLabelMode : int {
    kPepmapLabelNone = 0,
    kPepmapLabelOverwrite = 1,
    kPepmapLabelAppend = 2,
};

struct PepmapOptions {
    int labelMode = kPepmapLabelOverwrite;
    int descending = 0;
    int sortMode = kPepmapSortPosition;
    int disulfideMode = kPepmapNoDisulfides;
    double lengthMin = 0.0;  // residues
    double lengthMax = 0.0;
    double massMin = 0.0;  // average mass
    double massMax = 0.0;
    // Held and exchanged with the dialog; the digest does not read them.
    double siteProximityMin = 0.0;
    double siteProximityMax = 0.0;
    // Missed cleavages of an incomplete-digest peptide; a maximum of 0 or less sets no bound.
    double undigestedSitesMin = 0.0;
    double undigestedSitesMax = 0.0;
    double threshold = 5.0;  // per cent of the TIC
    double tic = 0.0;        // the run's total ion current the threshold refers to
    int enzyme = 0;          // index of the rule
    int firstScan = 1;
    int lastScan = 100;
    int scanWidth = 3;  // consecutive scans a match needs
    int completeDigest = 1;
    int incompleteDigest = 0;
    int showNeighbours = 0;
    int showTimes = 1;
    int limitFragments = 0;  // apply the length, mass and undigested-site limits
    int monoisotopic = 0;
};

// The limits that stand for "no limit" when limit fragments is set.
constexpr double kPepmapWideLength = 100000.0;
constexpr double kPepmapWideMass = 1000000.0;
constexpr double kPepmapWideSites = 100000.0;

// A pair of limits both at 0 becomes the wide pair (length, mass); the others stay.
void WidenUnsetLimits(PepmapOptions& options);
// The options with limit fragments set and incomplete-digest peptides bounded to at most
// `sites` undigested sites; limits never set become wide, so nothing else is dropped.
PepmapOptions WithUndigestedSitesCap(PepmapOptions options, int sites);

}  // namespace zar
