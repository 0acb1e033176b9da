#pragma once
// The synthetic LC-MS/MS run of the demo data set: tryptic peptides of the demo proteins
// eluting as Gaussian chromatographic peaks, MS1 scans with their isotope envelopes, data-
// dependent MS2 scans with b/y ions and noise, MS3 scans of the largest y ions of some
// peptides, light/heavy pairs on cysteine peptides at known ratios, and one scan of an intact,
// multiply charged protein. Everything is made in memory
// from a fixed seed: the same settings give the same run.

#include "DemoProteins.h"

#include "rawfile/RunFileWriter.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace zar {

// Base name of the run and of its results files.
inline constexpr const char* kDemoRunName = "demo";
constexpr double kDemoProton = 1.00727646688;
// Spacing of peptide isotopes (13C - 12C) and the average spacing in a protein envelope.
constexpr double kDemoPeptideIsotopeSpacing = 1.0033548;
constexpr double kDemoProteinIsotopeSpacing = 1.00235;
// The heavy label's mass shift per labelled cysteine (the quantitation engine's difference).
constexpr double kDemoLabelShift = 8.0;
// Charges of the intact protein's envelope.
constexpr int kDemoIntactChargeLow = 12;
constexpr int kDemoIntactChargeHigh = 22;
// Peptides taken from the digest, in residues (no missed cleavages).
constexpr int kDemoMinPeptideLength = 6;
constexpr int kDemoMaxPeptideLength = 30;

struct DemoSettings {
    std::uint64_t seed = 5;
    double runMinutes = 30.0;
    double ms1Seconds = 1.1;
    double ms2Seconds = 0.5;
    int topN = 5;                     // MS2 scans after each MS1 scan, at most
    double exclusionMinutes = 0.12;   // a precursor picked is not picked again this long
    double triggerIntensity = 1.0e4;  // monoisotopic peak needed for an MS2 scan
    double firstElution = 3.0;        // retention times of the peptides, minutes
    double lastElution = 26.0;
    double intactMinutes = 28.5;  // the intact-protein scan: the first MS1 from here on
    double ms1Low = 400.0;
    double ms1High = 1800.0;
    double apexScale = 4.0e6;  // apex intensity of a peptide of a protein of abundance 1
    int ms3PeptideStride = 7;  // every 7th light peptide: MS3 scans after its first MS2 scan,
    int ms3Fragments = 2;      // one on each of its largest y ions
    // Scans of the run: 0 makes as many as runMinutes holds. A larger count stretches the
    // gradient (elution times, peak widths, the intact scan's time) so that peptides come as
    // densely as in the shorter run, and the run ends at exactly that many scans.
    int scanCount = 0;
    // Peaks of every scan: 0 keeps what each scan is made of; else noise fills a scan up to this
    // many peaks and a fuller scan keeps its strongest.
    int peaksPerScan = 0;
    // ".out" files of the results folder: 0 writes one per MS2 scan; a larger count repeats the
    // MS2 scans' results under later scan numbers (for load tests).
    int outFileCount = 0;
};

struct DemoPeptide {
    QString sequence;            // residues
    QString text;                // as hit lines write it, "K.LVNELTEFAK.T"; heavy: "C*"
    int protein = 0;             // index in the database (a target)
    int start = 0;               // first residue, 0-based
    double mass = 0.0;           // neutral monoisotopic, label included
    int labelCount = 0;          // cysteines carrying the heavy label (0: light)
    double retentionTime = 0.0;  // apex, minutes
    double peakWidth = 0.0;      // Gaussian sigma, minutes
    double apex = 0.0;           // summed over its charges
    std::vector<int> charges;
    std::vector<double> chargeShares;
};

// A light/heavy pair of one cysteine peptide.
struct DemoPair {
    int light = 0;  // peptide indices
    int heavy = 0;
    double ratio = 1.0;  // light : heavy amount
};

struct DemoMs2 {
    int scan = 0;
    int peptide = 0;
    int charge = 0;
    double precursorMz = 0.0;  // as measured
    double precursorMH = 0.0;  // (M+H)+ from the measured m/z
    double retentionTime = 0.0;
    int ionsMatched = 0;  // b/y ions put into the spectrum
    int ionsTotal = 0;
};

// An MS3 scan: a y ion of an MS2 scan's precursor, isolated and fragmented again.
struct DemoMs3 {
    int scan = 0;
    int ms2Scan = 0;
    int peptide = 0;
    int residues = 0;          // the y ion's length (its residues end the peptide)
    double firstMz = 0.0;      // the MS2 scan's precursor, as measured
    double secondMz = 0.0;     // the y ion (1+), as measured
    double retentionTime = 0.0;
};

struct DemoRun {
    DemoSettings settings;
    std::vector<DemoProtein> database;
    std::vector<DemoPeptide> peptides;
    std::vector<DemoPair> pairs;
    std::vector<RunSpectrum> scans;  // scans[i].scanNumber == i + 1
    std::vector<DemoMs2> ms2;        // in scan order
    std::vector<DemoMs3> ms3;        // in scan order
    int intactScan = 0;
    int intactProtein = 0;    // database index
    double intactMass = 0.0;  // average neutral mass

    // The intensity of all isotope peaks of one charge of a peptide at a time (no noise).
    double ionIntensity(int peptide, int chargeIndex, double time) const;
};

DemoRun MakeDemoRun(const DemoSettings& settings = DemoSettings());

// m/z of a neutral mass at a charge (protons added).
inline double DemoMz(double neutralMass, int charge) {
    return (neutralMass + charge * kDemoProton) / charge;
}

// A peptide as hit lines write it: the residues (as given, marks included) between the
// protein's residues before and after the stretch start..start+length-1, '-' at its ends.
QString DemoHitText(const QString& protein, int start, int length, const QString& residues);

// Fractions of the isotope peaks 0, 1, 2, ... of a molecule of that mass (an averagine-like
// Poisson model), down to minFraction of the total.
std::vector<double> DemoIsotopeFractions(double mass, double minFraction);

}  // namespace zar
