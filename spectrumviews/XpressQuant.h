#pragma once
// XPRESS quantitation of light/heavy labelled peptide pairs: rebuilds the ion chromatogram of
// each form from the full-MS scans around an identification, smooths both, finds the limits of
// each elution peak, integrates the raw intensities and stores the signed ratio in the hit.
// One engine per thread; it opens its own reader on the run.

#include "document/SearchHitRecord.h"
#include "document/SorvexResults.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zar {

class VRawfile;

constexpr double kXpressProtonMass = 1.008;
constexpr double kDefaultXpressTolerance = 1.5;
constexpr double kDefaultXpressMassDifference = 8.0;
constexpr int kDefaultXpressScanWindow = 6;
// How far before the identified first (last) scan the nearest full-MS scan may lie.
constexpr int kMaxFullScanDistanceFirst = 10;
constexpr int kMaxFullScanDistanceLast = 15;
// Peaks of full-MS scans kept for the hits of one pass that share scans.
constexpr std::size_t kXpressPeakCacheBytes = std::size_t{128} << 20;

// One form's part of a hit's XPRESS block.
struct XpressSide {
    double mass = 0.0;
    double area = 0.0;
    std::int32_t firstScan = 0;
    std::int32_t lastScan = 0;
};

XpressSide LightSideOf(const SearchHitRecord& hit);
XpressSide HeavySideOf(const SearchHitRecord& hit);
void SetLightSide(SearchHitRecord& hit, const XpressSide& side);
void SetHeavySide(SearchHitRecord& hit, const XpressSide& side);
// Copies the XPRESS block (both sides and the ratio) from one record to another.
void CopyXpressBlock(const SearchHitRecord& from, SearchHitRecord& to);

// What a pass needs of the settings, read on the user-interface thread before it starts.
struct XpressSettings {
    QString residue = QStringLiteral("C");
    double tolerance = kDefaultXpressTolerance;
    double massDifference = kDefaultXpressMassDifference;
    int scanWindow = kDefaultXpressScanWindow;

    static XpressSettings FromSettings();
};

// Whether a scan filter text names a full-MS (survey) scan, the scans the traces are read from.
bool IsFullScanFilter(const QString& filter);

// Light or heavy form of a peptide and its number of labelled residues.
enum class XpressForm { kNone, kLight, kHeavy };
struct XpressLabelling {
    XpressForm form = XpressForm::kNone;
    int labelCount = 0;
};

// The text between the flanking residues of "X.PEPTIDE.Y" with its modification symbols kept;
// any other text whole.
QString PeptideCore(const QString& peptideText);
// Decides the form on the core text: the residue followed by a letter (or the end) is light,
// followed by a symbol heavy; every occurrence must agree, else kNone.
XpressLabelling ClassifyXpressLabel(const QString& peptideText, QChar residue);
// First scan, last scan and charge of a spectrum name "base.first.last.charge[.ext]"; the base
// name may itself contain dots.
bool ParseSpectrumScans(const QString& fileInformation, int& firstScan, int& lastScan, int& charge);
// m/z of an (M+H)+ mass at charge 1 to 3; false for any other charge.
bool XpressMassToMz(double mh, int charge, double& mz);
// Signed light/heavy ratio of two areas (0.0 when both are 0).
double XpressRatio(double lightArea, double heavyArea);
// "%.2lf : 1", "1 : %.2lf" or empty; the number before the colon belongs to the light form.
QString XpressRatioText(double ratio);

class CXpressQuant {
  public:
    explicit CXpressQuant(double massDifference = kDefaultXpressMassDifference,
                          const QString& residue = QStringLiteral("C"),
                          int scanWindow = kDefaultXpressScanWindow);
    ~CXpressQuant();
    CXpressQuant(const CXpressQuant&) = delete;
    CXpressQuant& operator=(const CXpressQuant&) = delete;

    // Opens a reader of the engine's own on the run and sizes the traces; false after a
    // message. A run whose scan range is empty opens but quantifies nothing.
    bool OpenRawFile(const QString& path);

    // The first letter of the text is the label residue; an empty text labels nothing.
    void SetLabelResidue(const QString& residue);
    QChar GetLabelResidue() const { return residue_; }
    void SetMassTolerance(double tolerance) { tolerance_ = tolerance; }
    double GetMassTolerance() const { return tolerance_; }
    double GetMassDifference() const { return massDifference_; }
    int GetScanWindow() const { return scanWindow_; }

    // The pass's step for one hit: clears the block, derives the masses, stores the ratio.
    // 1 when a ratio was computed (it may still be 0.0), 0 when the hit cannot be quantified.
    int QuantifyHit(SearchHitRecord& hit);
    double CalculateRatio(int charge, int firstScan, int lastScan, XpressSide& light,
                          XpressSide& heavy);
    // Builds the two traces of a hit for display; stores nothing but a 0.0 ratio when the
    // peptide is empty. 0 when the peptide, its sequence or its charge is unusable.
    int QuantifyPeptide(SearchHitRecord& hit);
    void BuildTraces(int firstScan, int lastScan, double lightMz, double heavyMz);
    // Quantifies within the scans the hit's sides carry on entry: each side's area is the sum of
    // its raw trace between its first and last scan, so that unchanged scans give the stored
    // ratio again.
    int QuantifyInRanges(SearchHitRecord& hit);
    double CalculateRatioInRanges(int charge, int firstScan, int lastScan, XpressSide& light,
                                  XpressSide& heavy);

    void FindPeakLimits(const std::vector<double>& trace, int& start, int& end) const;
    void SmoothTrace(const std::vector<double>& input, std::vector<double>& output);

    // The run's scan range and the traces of the last quantification (index = scan number).
    int GetFirstScan() const { return firstScan_; }
    int GetLastScan() const { return lastScan_; }
    int GetScanCount() const { return scanCount_; }
    const std::vector<double>& LightTrace() const { return lightRaw_; }
    const std::vector<double>& HeavyTrace() const { return heavyRaw_; }
    const std::vector<double>& LightSmoothed() const { return lightSmoothed_; }
    const std::vector<double>& HeavySmoothed() const { return heavySmoothed_; }

    // Counters for checks: peak lists read from the reader, filter texts read.
    long long PeakListsRead() const { return peakListsRead_; }
    long long FilterTextsRead() const { return filterTextsRead_; }

  private:
    using PeakList = std::vector<std::pair<double, double>>;  // m/z ascending, intensity

    struct Masses {
        int firstScan = 0;
        int lastScan = 0;
        int charge = 0;
        double light = 0.0;
        double heavy = 0.0;
    };
    // Steps shared by the three ways in: false when the hit is not a labelled peptide.
    bool deriveMasses(const SearchHitRecord& hit, Masses& masses) const;
    bool hasTraces() const { return !lightRaw_.empty(); }
    // SmoothTrace of both raw traces into the smoothed ones.
    void smoothBothTraces();
    bool isFullScan(int scan);
    const PeakList* peaksOf(int scan);
    int nearestFullScanAtOrBefore(int scan, int maxDistance);
    // Moves start and end to the peak's limits on the smoothed trace and sums the raw trace
    // between them.
    double peakArea(const std::vector<double>& smoothed, const std::vector<double>& raw, int& start,
                    int& end) const;
    // Sum of the raw trace from start to end inclusive, within the trace (0.0 when start > end).
    double rangeArea(const std::vector<double>& raw, int start, int end) const;

    std::unique_ptr<VRawfile> reader_;
    double proton_ = kXpressProtonMass;
    double tolerance_ = kDefaultXpressTolerance;
    double massDifference_;
    std::vector<double> work_;
    std::vector<double> heavyWork_;
    std::vector<double> lightRaw_;
    std::vector<double> lightSmoothed_;
    std::vector<double> heavyRaw_;
    std::vector<double> heavySmoothed_;
    int firstScan_ = 0;
    int lastScan_ = 0;
    int scanCount_ = 0;
    int scanWindow_;
    QChar residue_;

    // Per scan: 0 not yet known, 1 full MS, 2 anything else (or no such scan).
    std::vector<std::uint8_t> scanKind_;
    std::unordered_map<int, PeakList> peakCache_;
    std::size_t peakCacheBytes_ = 0;
    long long peakListsRead_ = 0;
    long long filterTextsRead_ = 0;
};

// The engine as the Sorvex result set calls it during a load: one engine per pass, built with
// this mass difference and scan window and the set's residue and tolerance.
XpressEngineHook MakeXpressEngineHook(double massDifference, int scanWindow);

// Gives the result set the engine and the residue and tolerance of one settings snapshot, so
// that its passes use the configured residue, tolerance and mass difference together. Called
// on the user-interface thread when the set is made and whenever the XPRESS settings change.
void InstallXpressEngine(CSorvexResults& results,
                         const XpressSettings& settings = XpressSettings::FromSettings());

}  // namespace zar
