#pragma once
// The parent-ion transform: an electrospray spectrum (m/z) becomes a spectrum of neutral
// masses, each candidate mass on a regular grid summing the intensity at all of its m/z values
// M/z + adduct. A re-transform leaves out the ions of chosen masses so that the other
// components stand out.
//
// The engine prepares a self-contained job on the user-interface thread; the job runs on a
// worker (CZarmassTransformWorker) and its result comes back by a posted message, which the
// UI thread hands to AcceptTransform.

#include "ZarmassDeconvolution.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace zar {

// Most grid points one transform makes.
constexpr int kZarmassMaxGridPoints = 10'000'000;

// Ions of one chosen mass, in descending m/z.
struct ZarmassSeriesBlock {
    double mass = 0.0;
    double tolerance = 0.0;  // candidate masses this close to the chosen one keep their ions
    std::vector<double> mz;
    std::vector<double> intensity;
};

// For each integer m/z bin, the first peak at or above it: it narrows every bisection to the
// peaks of one bin. Sized from the data.
class ZarmassMzIndex {
  public:
    explicit ZarmassMzIndex(std::span<const PeakRecord> peaks);
    // Intensity at x, interpolated as everywhere in the engine.
    double IntensityAt(double x) const;
    // Index of the first peak at or above x (the last peak when none is), as FindPeakIndex.
    int Find(double x) const;

  private:
    std::span<const PeakRecord> peaks_;
    double origin_ = 0.0;
    double binWidth_ = 1.0;
    std::vector<int> first_;  // first_[k]: first peak of bin k or above; last entry = count
};

enum class ZarmassTransformKind { Spectrum, Selected };

// Everything one transform reads, owned, so that it runs on any thread.
struct ZarmassTransformJob {
    ZarmassTransformKind kind = ZarmassTransformKind::Spectrum;
    std::uint64_t serial = 0;       // the preparation it belongs to
    std::vector<PeakRecord> peaks;  // the in-range peaks, ascending
    double massLow = 0.0;
    double massStep = 1.0;
    int gridSize = 0;
    double adduct = 1.0;
    double peakWidth = 0.0;
    std::vector<double> excludedMasses;  // masses whose ions are left out
};

struct ZarmassTransformResult {
    ZarmassTransformKind kind = ZarmassTransformKind::Spectrum;
    std::uint64_t serial = 0;
    bool cancelled = false;
    std::vector<PeakRecord> points;  // (candidate mass, summed intensity) in grid order
    PeakRecord basePeak;
    double totalIntensity = 0.0;
};

// Runs a job. The stop flag, when given, ends it early (the result is then marked cancelled);
// progress, when given, receives the per cent done ten times per transform.
ZarmassTransformResult RunZarmassTransform(const ZarmassTransformJob& job,
                                           const std::atomic<bool>* stop = nullptr,
                                           const std::function<void(int)>& progress = {});

// The ion series of each mass within the peaks (at most kZarmassMaxSeriesBlocks masses and
// kZarmassMaxSeriesIons ions each).
std::vector<ZarmassSeriesBlock> BuildSeriesBlocks(std::span<const PeakRecord> peaks,
                                                  std::span<const double> masses, double adduct);
// True when list (descending) holds a value within tolerance of x.
bool FindInSeries(double x, std::span<const double> list, double tolerance);
// True when x is an ion of one of the blocks' masses, unless mass is itself one of them.
bool IsInSelectedSeries(std::span<const ZarmassSeriesBlock> blocks, double x, double mass,
                        double width);

class CZarmassTransform : public CZarmassDeconvolution {
  public:
    explicit CZarmassTransform(QObject* owner = nullptr);

    // Copies the spectrum, takes the page's limits and sets up the grid. False when there are
    // no peaks, when the mass range and step give no grid (a message says so), or when no peak
    // lies within the m/z limits (kMsgZarmassNoPeaksInRange is posted).
    bool PrepareTransform(const ZarmassParams& params, std::span<const PeakRecord> peaks,
                          const ZarmassScanInfo& scan);
    bool IsPrepared() const { return prepared_; }

    // The job of the plain transform of the prepared spectrum.
    ZarmassTransformJob MakeTransformJob() const;
    // The job of a re-transform that leaves out the ions of the masses in params (Select
    // Peak(s)); none before a successful PrepareTransform.
    std::optional<ZarmassTransformJob> MakeSelectedJob(const ZarmassParams& params);
    // Takes a finished result: a plain transform fills the output and work spectra, a
    // re-transform the work spectrum only. Results of a cancelled run or of an earlier
    // preparation are refused (false).
    bool AcceptTransform(const ZarmassTransformResult& result);
    // Takes the finished transform of another engine's preparation: its spectrum, limits and
    // scan, then the result as AcceptTransform does; the selection is cleared. A page prepares
    // on a staged engine so that a cancelled run leaves this one's spectrum and result as they
    // were. False, with nothing changed, for a cancelled result or one of an earlier
    // preparation of the staged engine.
    bool AdoptTransform(const CZarmassTransform& staged, const ZarmassTransformResult& result);
    // The deconvoluted spectrum to show: the latest re-transform once one has been accepted
    // and the transform is marked done, else the transform's output. (The work spectrum holds
    // the input spectrum again after a calculation.)
    std::span<const PeakRecord> GetDeconvolutedPeaks() const;

    // Puts the input spectrum back as the work spectrum before a calculation; false when no
    // spectrum was prepared.
    bool SetInputFromTransform(const ZarmassParams& params);
    // Mode 2: fits the series of the selected mass; no message on failure.
    bool CalculateFromSelectedMass();
    // Mode 5 without refinement: labels the series of the selected mass.
    bool IdentifyFromSelectedMass();

    int GetGridSize() const { return gridSize_; }
    int GetInRangeCount() const { return static_cast<int>(inRangePeaks_.size()); }
    int GetBelowRangeCount() const { return belowRangeCount_; }
    std::span<const PeakRecord> GetInRangePeaks() const { return inRangePeaks_; }
    bool IsTransformDone() const { return transformDone_; }
    void SetTransformDone(bool done) { transformDone_ = done; }
    // Forgets the spectrum, its preparation and every result (another run is open); a result of
    // an earlier preparation is refused afterwards.
    void Clear();

  private:
    std::vector<PeakRecord> inRangePeaks_;
    std::vector<PeakRecord> retransformed_;  // the latest accepted re-transform
    int belowRangeCount_ = 0;
    int gridSize_ = 0;
    double gridLow_ = 0.0;
    double gridStep_ = 1.0;
    bool prepared_ = false;
    bool transformDone_ = false;
    std::uint64_t serial_ = 0;
};

}  // namespace zar
