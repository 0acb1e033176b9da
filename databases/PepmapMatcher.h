#pragma once
// Matching the digest against the MS spectra of a run: for every scan the intensities at each
// peptide's m/z (charges 1 up to its highest) are summed, and the strongest sum of a run of
// consecutive matching scans is kept as the peptide's match.

#include "PepmapOptions.h"
#include "PepmapPeptide.h"
#include "PepmapProgress.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace zar {

// Half-width of the m/z window a peak must fall in.
constexpr double kPepmapMatchTolerance = 0.5;

struct PepmapPeak {
    double mz = 0.0;
    double intensity = 0.0;
};

struct PepmapScan {
    double retentionTime = 0.0;     // minutes
    std::vector<PepmapPeak> peaks;  // ascending m/z
};

// Where the spectra of a run come from. A worker gets a source of its own, so that no reader is
// shared between threads.
class PepmapSpectrumSource {
  public:
    enum class OpenResult { kOpened, kOpenFailed, kNoMsData };

    virtual ~PepmapSpectrumSource() = default;
    virtual OpenResult open(const QString& path) = 0;
    // The run's scan numbers, valid after a successful open.
    virtual int firstScan() const = 0;
    virtual int lastScan() const = 0;
    // The scan's time and peaks (ascending m/z); false when it cannot be read.
    virtual bool readScan(int scanNumber, PepmapScan* scan) = 0;
};

// A run held in memory: scans numbered from firstScanNumber on; the peaks are put in m/z order.
class PepmapScanList : public PepmapSpectrumSource {
  public:
    PepmapScanList() = default;
    PepmapScanList(int firstScanNumber, std::vector<PepmapScan> scans);

    OpenResult open(const QString& path) override;
    int firstScan() const override { return first_; }
    int lastScan() const override { return first_ + static_cast<int>(scans_.size()) - 1; }
    bool readScan(int scanNumber, PepmapScan* scan) override;

  private:
    int first_ = 1;
    std::vector<PepmapScan> scans_;
};

// Opens the run, showing "Error - failed to open raw file. ..." or "Error - this raw file does
// not contain any MS data. ..." when it cannot be used.
bool OpenPepmapSource(PepmapSpectrumSource& source, const QString& path, PepmapProgress& progress);
// Shows the message of a failed open; false (nothing shown) when the run was opened.
bool ShowPepmapOpenFailure(PepmapSpectrumSource::OpenResult result, PepmapProgress& progress);

// Sum of the intensities above floor of the peaks (ascending m/z) within the tolerance of the
// peptide's m/z (mass + z * proton) / z for z = 1 .. maxCharge. A peak lying in the windows of
// two charges counts once, for the lower charge.
double SumMatchedIntensity(const PepmapPeak* peaks, std::size_t count, double mass, int maxCharge,
                           double proton, double floor, double tolerance = kPepmapMatchTolerance);

// The per-peptide state of the scan walk.
struct PepmapMatchEntry {
    double mass = 0.0;  // neutral mass of the kind the options select
    double bestIntensity = 0.0;
    double runIntensity = 0.0;
    double bestTime = 0.0;
    double runTime = 0.0;
    int maxCharge = 0;
    int bestScan = 0;
    int runScan = 0;
    int runLength = 0;  // consecutive matching scans so far
};

struct PepmapMatchSettings {
    int firstScan = 1;  // the user's limits; clamped to the run's scans
    int lastScan = 100;
    int scanWidth = 3;
    double threshold = 5.0;  // per cent of the TIC
    double tic = 0.0;
    bool monoisotopic = false;
    double proton = 0.0;  // hydrogen mass of the kind above
    double tolerance = kPepmapMatchTolerance;

    static PepmapMatchSettings From(const PepmapOptions& options, double proton);
};

enum class PepmapMatchStatus {
    kDone,
    kNoSequence,
    kNoDigest,
    kCancelled,  // the rows keep no results
    kReadFailed  // the scans read before the failure count
};

// The user's scan limits within the run's; an empty range has first > last.
void ClampPepmapScanRange(int fileFirst, int fileLast, int* first, int* last);

// Walks the scans first..last of the source and leaves the state in the entries.
// Reports "Failed to read spectrum from raw file." and stops at a scan it cannot read.
PepmapMatchStatus MatchSpectra(PepmapSpectrumSource& source, int first, int last,
                               const PepmapMatchSettings& settings,
                               std::vector<PepmapMatchEntry>& entries,
                               const PepmapCancelFlag& cancel, PepmapProgress& progress);

// The whole matching of the rows ("Performing pepmap ..." to "Pepmap finished"): results above
// threshold% of the TIC go into the rows, the others are cleared.
PepmapMatchStatus RunPepmapMatching(const QString& sequence, PepmapPeptideList& rows,
                                    PepmapSpectrumSource& source,
                                    const PepmapMatchSettings& settings,
                                    const PepmapCancelFlag& cancel, PepmapProgress& progress);

}  // namespace zar
