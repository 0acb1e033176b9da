#pragma once
// Scan filters: which scans of a run a trace or spectrum stands for, and their text form
// ("FTMS + p NSI Full ms2 445.35@cid35.00 [ 110.00-905.00]"). Every field has an accept-any
// value; a filter on accept-any everywhere (the empty text) stands for every scan. The field
// codes are those of the plotting controls' filter record, so a filter converts to it field by
// field.

#include <QString>
#include <QStringList>

#include <vector>

namespace zar {

// A closed range of masses (or wavelengths), low to high; a single mass has low == high.
class CVX_MassRange {
  public:
    CVX_MassRange() = default;
    CVX_MassRange(double low, double high) : low(low), high(high) {}
    bool operator==(const CVX_MassRange&) const = default;

    double low = 0.0;
    double high = 0.0;
};

class CVXFilter {
  public:
    // Field codes (values of the plotting controls' filter record).
    enum ScanData { kCentroid = 0, kProfile = 1, kAnyScanData = 2 };
    enum Polarity { kNegative = 0, kPositive = 1, kAnyPolarity = 2 };
    enum MSOrder { kNg = -3, kNl = -2, kPar = -1, kAnyMSOrder = 0, kMs = 1, kMaxMSOrder = 10 };
    enum OnOff { kOn = 0, kOff = 1, kAny = 2 };  // source CID, turbo scan, corona
    enum Dependent { kNotDependent = 0, kDependent = 1, kAnyDependent = 2 };
    enum Wideband { kWidebandOff = 0, kWidebandOn = 1, kAnyWideband = 2 };
    enum ScanType {
        kFull = 0,
        kZoom = 1,
        kSIM = 2,
        kSRM = 3,
        kCRM = 4,
        kAnyScanType = 5,
        kQ1MS = 6,
        kQ3MS = 7
    };
    enum Ionization { kAnyIonization = 10 };  // 0..9: EI CI FAB ESI APCI NSI TSP FD MALDI GD
    enum Detector { kDetectorValid = 0, kAnyDetector = 1 };
    enum SourceCIDType {
        kSidNoValue = 0,
        kSidSingleValue = 1,
        kSidRamp = 2,
        kSidSIM = 3,
        kAnySidType = 4
    };

    // Room of the plotting controls' filter record; longer lists are refused when parsed.
    static constexpr int kMaxMassRanges = 50;
    static constexpr int kMaxPrecursors = 10;
    static constexpr int kMaxSourceEnergies = 50;
    static constexpr int kMaxMsOrderValue = 10;

    struct Precursor {
        double mass = 0.0;
        double energy = 0.0;
        bool energyValid = false;  // false: the energy is not part of the filter
        QString activation;        // "cid", "hcd", "etd"...; empty when not known
        bool operator==(const Precursor&) const = default;
    };
    struct SourceEnergy {
        double energy = 0.0;
        bool valid = false;
        bool operator==(const SourceEnergy&) const = default;
    };

    CVXFilter() = default;

    // Sets the filter from a text; non-zero on success. On failure the filter is unchanged.
    int FilterString(const QString& text);
    // The filter as text with the given mass decimals, maximum length (-1: any) and energy
    // decimals; every caller uses (2, -1, 2).
    QString FilterString(int massDecimals = 2, int maxLength = -1, int energyDecimals = 2) const;

    // Back to accept-any in every field.
    void Reset() { *this = CVXFilter(); }
    // True when the filter accepts every scan.
    bool IsAcceptAll() const;
    // True when a scan with the (fully specified) filter `scan` passes this filter: every field
    // this filter sets must agree; precursor masses and mass ranges within massTolerance.
    bool Matches(const CVXFilter& scan, double massTolerance = 0.5) const;

    bool operator==(const CVXFilter&) const = default;

    // Fields, public like the record they mirror.
    int isComplete = 1;
    int scanData = kAnyScanData;
    int polarity = kAnyPolarity;
    int msOrder = kAnyMSOrder;
    int dependent = kAnyDependent;
    int wideband = kAnyWideband;
    int sourceCID = kAny;
    int scanType = kAnyScanType;
    int turboScan = kAny;
    int ionizationMode = kAnyIonization;
    int corona = kAny;
    int detector = kAnyDetector;
    double detectorValue = 0.0;
    int sourceCIDType = kAnySidType;
    int scanTypeIndex = -1;  // high 16 bits and low 16 bits are two numbers
    QString analyzer;        // "FTMS", "ITMS"...; empty: any
    QStringList flags;       // further instrument flags ("sa", "lock", "u", ...), in text order
    std::vector<CVX_MassRange> massRanges;
    std::vector<Precursor> precursors;
    std::vector<SourceEnergy> sourceEnergies;
};

// Parses filter texts for validation and for their mass ranges.
class CVX_FilterStruct {
  public:
    // maxMsOrder: the highest MS order accepted; massDecimals and energyDecimals: the
    // precision the filter is written back with. The program always builds it with (9, 2, 2).
    CVX_FilterStruct(int maxMsOrder = 9, int massDecimals = 2, int energyDecimals = 2);

    // Non-zero when the text is a valid filter whose mass ranges lie in the accepted range
    // (0 to kMaxAcceptedMass, low not above high); the parsed filter is kept.
    int FilterInRng(const QString& text);
    // The i-th mass range (0-based) of the last accepted text; false when there is none.
    bool GetMassRangeN(int i, double& low, double& high) const;
    int GetMassRangeCount() const { return static_cast<int>(filter_.massRanges.size()); }
    const CVXFilter& filter() const { return filter_; }
    QString text() const { return filter_.FilterString(massDecimals_, -1, energyDecimals_); }

    static constexpr double kMaxAcceptedMass = 999999.0;

  private:
    int maxMsOrder_;
    int massDecimals_;
    int energyDecimals_;
    CVXFilter filter_;
};

}  // namespace zar
