#include "ZarmassTransform.h"

#include "ZarmassPeakSearch.h"

#include "core/MessageBox.h"

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

// Bins of the m/z index: one per integer m/z, wider only for spectra that span more than this
// many u, so that the index never outgrows the data.
constexpr int kMaxIndexBins = 1'000'000;
// A chosen mass keeps the ions of candidate masses within this fraction of itself.
constexpr double kSeriesMassTolerance = 0.005;
// Grid points between two looks at the stop flag.
constexpr int kStopCheckInterval = 256;
constexpr int kProgressReports = 10;

// Lowest charge whose ion M / z + adduct is not above last, starting at first.
int FirstChargeWithin(double mass, double adduct, double last, int first, double& x) {
    int z = std::max(first, 1);
    x = mass / z + adduct;
    while (x > last && z < kZarmassMaxChargeState) {
        ++z;
        x = mass / z + adduct;
    }
    return z;
}

}  // namespace

// ---- m/z index ---------------------------------------------------------------------------

ZarmassMzIndex::ZarmassMzIndex(std::span<const PeakRecord> peaks) : peaks_(peaks) {
    const int n = static_cast<int>(peaks.size());
    if (n == 0) return;
    origin_ = std::floor(peaks.front().mass);
    const double span = peaks.back().mass - origin_;
    if (span / binWidth_ > kMaxIndexBins) binWidth_ = span / kMaxIndexBins;
    const int bins = static_cast<int>(span / binWidth_) + 1;
    first_.assign(bins + 1, n);
    int bin = 0;
    for (int i = 0; i < n; ++i) {
        const int b = std::min(static_cast<int>((peaks[i].mass - origin_) / binWidth_), bins - 1);
        while (bin <= b) first_[bin++] = i;
    }
}

int ZarmassMzIndex::Find(double x) const {
    const int n = static_cast<int>(peaks_.size());
    if (n == 0) return -1;
    const double position = (x - origin_) / binWidth_;
    const int bins = static_cast<int>(first_.size()) - 1;
    if (!(position >= 0.0)) return 0;
    if (position >= bins) return n - 1;
    const int b = static_cast<int>(position);
    // The first peak at or above x lies in its own bin or is the first peak of the next one.
    return FindPeakIndex(peaks_, first_[b], first_[b + 1], x);
}

double ZarmassMzIndex::IntensityAt(double x) const {
    return InterpolateIntensity(peaks_, Find(x), x);
}

// ---- series of chosen masses -------------------------------------------------------------

std::vector<ZarmassSeriesBlock> BuildSeriesBlocks(std::span<const PeakRecord> peaks,
                                                  std::span<const double> masses, double adduct) {
    std::vector<ZarmassSeriesBlock> blocks;
    const int n = static_cast<int>(peaks.size());
    if (n == 0) return blocks;
    const double first = peaks.front().mass;
    const double last = peaks.back().mass;
    const int count = std::min(static_cast<int>(masses.size()), kZarmassMaxSeriesBlocks);
    for (int i = 0; i < count; ++i) {
        const double mass = masses[i];
        if (!std::isfinite(mass) || mass <= 0.0) continue;
        ZarmassSeriesBlock block;
        block.mass = mass;
        block.tolerance = mass * kSeriesMassTolerance;
        double x = 0.0;
        // Start one charge below the highest ion that fits, never below charge 1.
        const double z0 = std::trunc(mass / last) - 1.0;
        int z = FirstChargeWithin(
            mass, adduct, last, static_cast<int>(std::clamp(z0, 1.0, 1.0 * kZarmassMaxChargeState)),
            x);
        int hi = n - 1;
        while (static_cast<int>(block.mz.size()) < kZarmassMaxSeriesIons && x > first &&
               z <= kZarmassMaxChargeState) {
            hi = FindPeakIndex(peaks, 0, hi, x);
            block.mz.push_back(x);
            block.intensity.push_back(InterpolateIntensity(peaks, hi, x));
            ++z;
            x = mass / z + adduct;
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

bool FindInSeries(double x, std::span<const double> list, double tolerance) {
    int lo = 0;
    int hi = static_cast<int>(list.size()) - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (x - tolerance <= list[mid] && list[mid] <= x + tolerance) return true;
        if (x >= list[mid])
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return false;
}

bool IsInSelectedSeries(std::span<const ZarmassSeriesBlock> blocks, double x, double mass,
                        double width) {
    for (const ZarmassSeriesBlock& block : blocks) {
        if (mass >= block.mass - block.tolerance && mass <= block.mass + block.tolerance)
            return false;
        if (FindInSeries(x, block.mz, width)) return true;
    }
    return false;
}

// ---- the transform -----------------------------------------------------------------------

ZarmassTransformResult RunZarmassTransform(const ZarmassTransformJob& job,
                                           const std::atomic<bool>* stop,
                                           const std::function<void(int)>& progress) {
    ZarmassTransformResult result;
    result.kind = job.kind;
    result.serial = job.serial;
    if (job.peaks.empty() || job.gridSize < 1) return result;

    const std::span<const PeakRecord> peaks(job.peaks);
    const ZarmassMzIndex index(peaks);
    const double first = peaks.front().mass;
    const double last = peaks.back().mass;
    const std::vector<ZarmassSeriesBlock> blocks =
        BuildSeriesBlocks(peaks, job.excludedMasses, job.adduct);
    const int progressStep = std::max(1, job.gridSize / kProgressReports);

    result.points.reserve(job.gridSize);
    for (int s = 0; s < job.gridSize; ++s) {
        if (stop && s % kStopCheckInterval == 0 && stop->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            result.points.clear();
            return result;
        }
        const double mass = job.massLow + s * job.massStep;
        double x = 0.0;
        const double z0 = std::trunc(mass / last);
        int z = FirstChargeWithin(
            mass, job.adduct, last,
            static_cast<int>(std::clamp(z0, 1.0, 1.0 * kZarmassMaxChargeState)), x);
        double sum = 0.0;
        double minimum = 0.0;
        bool haveMinimum = false;
        int included = 0;
        // Ions fall towards the adduct as the charge rises; the charge limit ends the walk when
        // the lowest peak lies at or below the adduct.
        while (x >= first && z <= kZarmassMaxChargeState) {
            const double intensity = index.IntensityAt(x);
            if (!haveMinimum || intensity < minimum) {
                minimum = intensity;
                haveMinimum = true;
            }
            if (blocks.empty()) {
                sum += intensity;
            } else if (!IsInSelectedSeries(blocks, x, mass, job.peakWidth)) {
                ++included;
                sum += intensity;
            }
            ++z;
            x = mass / z + job.adduct;
        }
        if (included > 1) sum += included * minimum;

        PeakRecord point;
        point.mass = mass;
        point.intensity = sum;
        result.points.push_back(point);
        result.totalIntensity += sum;
        if (sum > result.basePeak.intensity) result.basePeak = point;
        if (progress && s % progressStep == 0) progress(static_cast<int>(s * 100.0 / job.gridSize));
    }
    return result;
}

// ---- the engine --------------------------------------------------------------------------

CZarmassTransform::CZarmassTransform(QObject* owner) : CZarmassDeconvolution(owner) {}

bool CZarmassTransform::PrepareTransform(const ZarmassParams& params,
                                         std::span<const PeakRecord> peaks,
                                         const ZarmassScanInfo& scan) {
    // A failed preparation leaves nothing that a re-transform could run on.
    prepared_ = false;
    gridSize_ = 0;
    inRangePeaks_.clear();
    belowRangeCount_ = 0;
    outputPeaks_.clear();
    workPeaks_.clear();
    retransformed_.clear();
    ResetMW();
    ++serial_;

    inputPeaks_ = CopyAscendingPeaks(peaks);
    if (inputPeaks_.empty()) return false;
    basePeak_ = inputPeaks_[BasePeakIndex(inputPeaks_)];

    TakeParams(params);
    TakeScan(scan);

    const double threshold = relativeThreshold_ * basePeak_.intensity;
    for (const PeakRecord& p : inputPeaks_) {
        if (p.mass < mzLow_) {
            ++belowRangeCount_;
            continue;
        }
        if (p.mass > mzHigh_) break;
        if (p.intensity < threshold) continue;
        inRangePeaks_.push_back(p);
        if (static_cast<int>(inRangePeaks_.size()) >= kZarmassMaxInRangePeaks) break;
    }
    if (inRangePeaks_.empty()) {
        PostToOwner(kMsgZarmassNoPeaksInRange, 1, 0);
        return false;
    }

    const double points = (massHigh_ - massLow_) / massStep_ + 0.5;
    if (!(massStep_ > 0.0) || !std::isfinite(points) || points < 1.0 ||
        points > kZarmassMaxGridPoints) {
        inRangePeaks_.clear();
        ZarMessageBox(
            QStringLiteral("The mass range and step give no transform grid: the step "
                           "must be greater than 0 and smaller than the mass range."));
        return false;
    }
    gridSize_ = static_cast<int>(points);
    gridLow_ = massLow_;
    gridStep_ = massStep_;
    prepared_ = true;
    return true;
}

ZarmassTransformJob CZarmassTransform::MakeTransformJob() const {
    ZarmassTransformJob job;
    job.kind = ZarmassTransformKind::Spectrum;
    job.serial = serial_;
    if (!prepared_) return job;
    job.peaks = inRangePeaks_;
    job.massLow = gridLow_;
    job.massStep = gridStep_;
    job.gridSize = gridSize_;
    job.adduct = adduct_;
    job.peakWidth = peakWidth_;
    return job;
}

std::optional<ZarmassTransformJob> CZarmassTransform::MakeSelectedJob(const ZarmassParams& params) {
    if (!prepared_) return std::nullopt;
    TakeSelected(params);

    ZarmassTransformJob job = MakeTransformJob();
    job.kind = ZarmassTransformKind::Selected;
    // The m/z limits may have been narrowed since the preparation.
    const auto end =
        std::upper_bound(job.peaks.begin(), job.peaks.end(), mzHigh_,
                         [](double limit, const PeakRecord& p) { return limit < p.mass; });
    job.peaks.erase(end, job.peaks.end());
    job.excludedMasses.assign(
        selected_.begin(), selected_.begin() + std::min(selectedCount_, kZarmassMaxSeriesBlocks));
    return job;
}

void CZarmassTransform::Clear() {
    CZarmassDeconvolution::Clear();
    inRangePeaks_.clear();
    retransformed_.clear();
    belowRangeCount_ = 0;
    gridSize_ = 0;
    prepared_ = false;
    transformDone_ = false;
    ++serial_;
}

bool CZarmassTransform::AcceptTransform(const ZarmassTransformResult& result) {
    if (result.cancelled || result.serial != serial_ || !prepared_) return false;
    if (result.kind == ZarmassTransformKind::Spectrum) {
        outputPeaks_ = result.points;
        retransformed_.clear();
    } else {
        retransformed_ = result.points;
    }
    workPeaks_ = result.points;
    basePeak_ = result.basePeak;
    totalIntensity_ = result.totalIntensity;
    return true;
}

bool CZarmassTransform::AdoptTransform(const CZarmassTransform& staged,
                                       const ZarmassTransformResult& result) {
    if (&staged == this) return AcceptTransform(result);
    if (result.cancelled || result.serial != staged.serial_ || !staged.prepared_) return false;
    inputPeaks_ = staged.inputPeaks_;
    inRangePeaks_ = staged.inRangePeaks_;
    belowRangeCount_ = staged.belowRangeCount_;
    gridSize_ = staged.gridSize_;
    gridLow_ = staged.gridLow_;
    gridStep_ = staged.gridStep_;
    adduct_ = staged.adduct_;
    massLow_ = staged.massLow_;
    massHigh_ = staged.massHigh_;
    massStep_ = staged.massStep_;
    mzLow_ = staged.mzLow_;
    mzHigh_ = staged.mzHigh_;
    peakWidth_ = staged.peakWidth_;
    overwriteLabels_ = staged.overwriteLabels_;
    scanTime_ = staged.scanTime_;
    scanNumber_ = staged.scanNumber_;
    polarity_ = staged.polarity_;
    directIndex_ = staged.directIndex_;
    filterText_ = staged.filterText_;
    ResetMW();
    ClearSelection();
    prepared_ = true;
    // Results of a run started on this engine's own earlier preparation no longer apply.
    ++serial_;
    ZarmassTransformResult own = result;
    own.serial = serial_;
    return AcceptTransform(own);
}

std::span<const PeakRecord> CZarmassTransform::GetDeconvolutedPeaks() const {
    if (transformDone_ && !retransformed_.empty()) return retransformed_;
    return outputPeaks_;
}

bool CZarmassTransform::SetInputFromTransform(const ZarmassParams& params) {
    ResetMW();
    if (!prepared_ || inputPeaks_.empty()) {
        workPeaks_.clear();
        selectedCount_ = 0;
        return false;
    }
    workPeaks_ = inputPeaks_;
    basePeak_ = inputPeaks_[BasePeakIndex(inputPeaks_)];
    TakeSelected(params);
    TakeParams(params);
    if (overwriteLabels_) labelsBuilt_ = 0;
    return true;
}

bool CZarmassTransform::CalculateFromSelectedMass() {
    mode_ = kZarmassModeSelectedMass;
    ResetMW();
    if (!HasSpectrum() || selectedCount_ < 1) return false;
    GenerateSeries(selected_[0]);
    RefineSeries();
    const bool ok = CalculateCore(false);
    if (ok)
        BuildLabels();
    else
        ResetMW();
    return ok;
}

bool CZarmassTransform::IdentifyFromSelectedMass() {
    mode_ = kZarmassModeConvolute;
    if (!HasSpectrum() || selectedCount_ < 1) return false;
    GenerateSeries(selected_[0]);
    AssignFromSeries();
    BuildLabels();
    return true;
}

}  // namespace zar
