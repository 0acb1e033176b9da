#include "ZarmassDeconvolution.h"

#include "ZarmassPeakSearch.h"

#include "core/MessageBox.h"
#include "messages/Messages.h"

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

// A charge ratio counts as a whole charge when it is this close to one.
constexpr double kChargeTolerance = 0.3;
// A generated m/z is moved onto a peak found within this many u of it.
constexpr double kRefineWindow = 1.0;
// Series ends weaker than this fraction of the base peak are trimmed.
constexpr double kTrimFraction = 0.01;
// Labels whose apex masses lie this close are one ion.
constexpr double kSameApex = 0.01;
// Labels at or below this mass are never merged.
constexpr double kLowestMergedMass = 100.0;

const QString kUnableToCalculate = QStringLiteral("Unable to calculate the molecular weight");

bool IsMarked(const CPeakLabel& label) {
    return std::abs(label.apex.mass - kZarmassNoApexMass) <= kSameApex;
}

// Index of the greatest value, the first of equals.
int ArgMax(const std::vector<double>& values) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(values.size()); ++i)
        if (values[i] > values[best]) best = i;
    return best;
}

}  // namespace

CZarmassDeconvolution::CZarmassDeconvolution(QObject* owner)
    : colours_{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x008080, 0x800080,
               0x808000, 0,        0,        0,        0,        0,        0,        0},
      owner_(owner) {}

bool CZarmassDeconvolution::SetInputPeaks(const ZarmassParams& params,
                                          std::span<const PeakRecord> peaks,
                                          const ZarmassScanInfo& scan) {
    workPeaks_ = CopyAscendingPeaks(peaks);
    // Whatever happens, nothing of an earlier spectrum or fit is reported from here on.
    ResetMW();
    selectedCount_ = 0;
    entries_.clear();
    labels_.fill(CPeakLabel());
    labelCount_ = 0;
    if (workPeaks_.empty()) return false;

    basePeak_ = workPeaks_[BasePeakIndex(workPeaks_)];
    TakeParams(params);
    TakeSelected(params);
    TakeScan(scan);
    return true;
}

void CZarmassDeconvolution::TakeParams(const ZarmassParams& params) {
    adduct_ = params.adduct;
    massLow_ = params.massLow;
    massHigh_ = params.massHigh;
    massStep_ = params.massStep;
    mzLow_ = params.mzLow;
    mzHigh_ = params.mzHigh;
    peakWidth_ = params.peakWidth;
    overwriteLabels_ = params.overwriteLabels;
}

void CZarmassDeconvolution::TakeSelected(const ZarmassParams& params) {
    const int count = std::clamp(params.count, 0, kZarmassMaxParamValues);
    std::copy_n(params.mz.begin(), count, selected_.begin());
    selectedCount_ = count;
}

void CZarmassDeconvolution::TakeScan(const ZarmassScanInfo& scan) {
    scanTime_ = scan.retentionTime;
    scanNumber_ = scan.scanNumber;
    polarity_ = scan.positive ? 1 : -1;
    directIndex_ = scan.isCentroid == 0 ? 1 : 0;
    filterText_ = scan.filter.left(kZarmassMaxFilterText);
}

bool CZarmassDeconvolution::CalculateMW(int mode) {
    mode_ = mode;
    switch (mode) {
        case kZarmassModeAutomatic: {
            ResetMW();
            bool ok = HasSpectrum() && selectedCount_ >= 2 && CalculateCore(true);
            if (ok) {
                GenerateSeries(averageMW_);
                RefineSeries();
                ok = CalculateCore(false);
                if (ok) BuildLabels();
            }
            if (!ok) {
                ResetMW();
                ZarMessageBox(kUnableToCalculate);
            }
            return ok;
        }
        case kZarmassModeManual: {
            ResetMW();
            if (!HasSpectrum()) {
                ZarMessageBox(kUnableToCalculate);
                return false;
            }
            const bool ok = CalculateCore(true);
            BuildLabels();
            if (!ok) {
                ResetMW();
                ZarMessageBox(kUnableToCalculate);
            }
            return ok;
        }
        case kZarmassModeConvolute:
            if (!HasSpectrum() || selectedCount_ < 1) return false;
            GenerateSeries(selected_[0]);
            RefineSeries();
            AssignFromSeries();
            BuildLabels();
            return true;
        default:
            return false;
    }
}

void CZarmassDeconvolution::ResetMW() {
    averageMW_ = 0.0;
    stdDevMW_ = 0.0;
    mwValid_ = false;
}

void CZarmassDeconvolution::GetMW(double& average, double& stdDev) const {
    average = averageMW_;
    stdDev = stdDevMW_;
}

std::span<const CPeakLabel> CZarmassDeconvolution::GetIdentifiedPeaks() const {
    return std::span<const CPeakLabel>(labels_.data(), labelCount_);
}

std::span<const ChargeStateEntry> CZarmassDeconvolution::GetChargeStates() const {
    const auto n = std::min<std::size_t>(entries_.size(), static_cast<std::size_t>(selectedCount_));
    return std::span<const ChargeStateEntry>(entries_.data(), n);
}

std::span<const double> CZarmassDeconvolution::GetSelected() const {
    return std::span<const double>(selected_.data(), selectedCount_);
}

void CZarmassDeconvolution::ClearSelection() {
    selected_.fill(0.0);
}

void CZarmassDeconvolution::SetComponentColour(std::uint32_t colour, bool append) {
    currentComponent_ = append ? std::min(componentCount_, kZarmassColourCount - 1) : 0;
    colours_[currentComponent_] = colour;
    currentColour_ = colour;
    componentCount_ = std::min(componentCount_ + 1, kZarmassColourCount);
}

void CZarmassDeconvolution::FreeBuffers() {
    inputPeaks_.clear();
    outputPeaks_.clear();
    workPeaks_.clear();
    entries_.clear();
    labels_.fill(CPeakLabel());
    labelCount_ = 0;
}

void CZarmassDeconvolution::Clear() {
    FreeBuffers();
    ClearSelection();
    ResetMW();
    selectedCount_ = 0;
    componentCount_ = 1;
    currentComponent_ = 0;
    labelsBuilt_ = 0;
    scanNumber_ = 0;
    scanTime_ = 0.0;
    filterText_.clear();
}

void CZarmassDeconvolution::PostToOwner(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) const {
    if (owner_) PostMessage(owner_, message, wParam, lParam);
}

void CZarmassDeconvolution::GenerateSeries(double mass) {
    selectedCount_ = 0;
    const int n = static_cast<int>(workPeaks_.size());
    if (n == 0 || !std::isfinite(mass)) return;
    const double first = workPeaks_.front().mass;
    const double last = workPeaks_.back().mass;
    // No charge beyond one less than the number of peaks, nor beyond the charge limit.
    const int zCap = std::min(n - 1, kZarmassMaxChargeState);

    int z = 1;
    double x = mass + adduct_;
    while (std::abs(x) > last) {
        ++z;
        x = mass / z + adduct_;
        if (z >= zCap) break;
    }
    int count = 0;
    while (count < kZarmassMaxSelected) {
        if (std::abs(x) <= first) break;
        selected_[count++] = std::abs(x);
        ++z;
        if (z >= zCap) break;
        x = mass / z + adduct_;
    }
    selectedCount_ = count;
}

void CZarmassDeconvolution::RefineSeries() {
    const int n = selectedCount_;
    const int wc = static_cast<int>(workPeaks_.size());
    if (n == 0 || wc == 0) return;
    const std::span<const PeakRecord> peaks(workPeaks_);

    std::vector<double> height(n, 0.0);
    for (int k = 0; k < n; ++k) {
        const double x = std::abs(selected_[k]);
        const int idx = FindPeakIndex(peaks, 0, wc - 1, x);
        height[k] = std::trunc(InterpolateIntensity(peaks, idx, x));
        if (std::abs(x - peaks[idx].mass) > kRefineWindow) continue;

        int winner = -1;
        for (int i = idx; i < wc && peaks[i].mass < x + kRefineWindow; ++i)
            if (winner < 0 || peaks[i].intensity > peaks[winner].intensity) winner = i;
        for (int i = idx - 1; i >= 0 && peaks[i].mass >= x - kRefineWindow; --i)
            if (winner < 0 || peaks[i].intensity > peaks[winner].intensity) winner = i;
        if (winner < 0) continue;
        const double wi = peaks[winner].intensity;
        const bool localMax = (winner == 0 || wi >= peaks[winner - 1].intensity) &&
                              (winner == wc - 1 || wi >= peaks[winner + 1].intensity);
        if (!localMax) continue;

        const double mw = peaks[winner].mass;
        bool accept = k == 0;
        if (!accept) {
            // The winner must sit one charge away from the value refined before it.
            const double spacing = std::abs(mw - selected_[k - 1]);
            if (spacing > 0.0) {
                const double z = (mw - adduct_) / spacing;
                accept = std::abs(z - std::trunc(z + 0.5)) <= kChargeTolerance;
            }
        }
        if (accept) {
            selected_[k] = mw;
            height[k] = std::trunc(wi);
        }
    }

    // The strongest ion, but never one of the first two, so both ends keep a few ions; a
    // series of one or two values keeps its own last index.
    int p = ArgMax(height);
    p = std::min(std::max(p, 2), n - 1);

    const double threshold = kTrimFraction * basePeak_.intensity;
    std::vector<bool> drop(n, false);
    bool found = false;
    for (int j = p + 1; j < n && !found; ++j) {
        if (height[j] < threshold && height[j - 1] < threshold) {
            std::fill(drop.begin() + (j - 1), drop.end(), true);
            found = true;
        }
    }
    if (!found && n - 1 > p && height[n - 1] < threshold) drop[n - 1] = true;
    found = false;
    for (int j = p - 1; j >= 1 && !found; --j) {
        if (height[j] < threshold && height[j - 1] < threshold) {
            std::fill(drop.begin(), drop.begin() + (j + 1), true);
            found = true;
        }
    }
    if (!found && p > 0 && height[0] < threshold) drop[0] = true;

    int kept = 0;
    for (int k = 0; k < n; ++k)
        if (!drop[k] && selected_[k] > 0.0) selected_[kept++] = selected_[k];
    std::fill(selected_.begin() + kept, selected_.begin() + n, 0.0);
    selectedCount_ = kept;
}

void CZarmassDeconvolution::BuildEntries(bool fromList) {
    const int n = selectedCount_;
    entries_.assign(n, ChargeStateEntry());
    for (int i = 0; i < n; ++i) entries_[i].mz = fromList ? selected_[i] : selected_[n - 1 - i];
    labels_.fill(CPeakLabel());
    labelCount_ = 0;
}

int CZarmassDeconvolution::AssignCharges() {
    const int n = static_cast<int>(entries_.size());
    if (n < 2) return n;
    int z = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double spacing = entries_[i + 1].mz - entries_[i].mz;
        // Two equal m/z values have no charge ratio: the fit fails.
        if (spacing == 0.0) return 0;
        const double r = (entries_[i + 1].mz - adduct_) / spacing;
        if (!std::isfinite(r) || std::abs(r) > kZarmassMaxChargeState) return 0;
        z = static_cast<int>(std::trunc(r + 0.5));
        if (std::abs(r - z) > kChargeTolerance) return 0;
        if (i >= 1 && z != std::abs(entries_[i - 1].charge) - 1) return 0;
        if (z < 1) return i + 1;
        entries_[i].charge = polarity_ * z;
        labels_[i].chargeState = entries_[i].charge;
    }
    if (z < 2) return n - 1;
    entries_[n - 1].charge = polarity_ * (z - 1);
    labels_[n - 1].chargeState = entries_[n - 1].charge;
    return n;
}

void CZarmassDeconvolution::ComputeWeights() {
    const int n = selectedCount_;
    if (n == 0) return;
    std::vector<double> mass(n), s(n, 0.0);
    for (int j = 0; j < n; ++j) mass[j] = (entries_[j].mz - adduct_) * entries_[j].charge;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (j == i) continue;
            const double lo = mass[std::min(i, j)];
            const double hi = mass[std::max(i, j)];
            if (hi != 0.0) s[i] += std::pow(std::abs(1.0 - lo / hi), 4);
        }
        if (s[i] == 0.0) s[i] = 1.0;
    }
    double total = 0.0;
    for (double v : s) total += v;
    const double span = entries_.front().charge - entries_[n - 1].charge;
    for (int i = 0; i < n; ++i) {
        const double denominator = span * s[i] / total;
        entries_[i].weight = (total == 0.0 || denominator == 0.0) ? 1.0 : 1.0 / denominator;
    }
}

void CZarmassDeconvolution::ComputeAverage() {
    const int n = selectedCount_;
    double sumMw = 0.0, sumW = 0.0;
    for (int i = 0; i < n; ++i) {
        const double m = (entries_[i].mz - adduct_) * entries_[i].charge;
        sumMw += m * entries_[i].weight;
        sumW += entries_[i].weight;
    }
    averageMW_ = sumW != 0.0 ? sumMw / sumW : 0.0;
    double squares = 0.0, sumW2 = 0.0;
    for (int i = 0; i < n; ++i) {
        const double m = (entries_[i].mz - adduct_) * entries_[i].charge;
        squares += (m - averageMW_) * (m - averageMW_);
        sumW2 += entries_[i].weight * entries_[i].weight;
    }
    const double variance = n > 1 ? squares / (n - 1) : 0.0;
    stdDevMW_ = sumW != 0.0 ? std::sqrt(sumW2 * variance / (sumW * sumW)) : 0.0;
}

bool CZarmassDeconvolution::CalculateCore(bool fromList) {
    BuildEntries(fromList);
    const int n = AssignCharges();
    // The series from here on is what was fitted, in the entries' (ascending) order, so the
    // labels built from it carry the charges of their own values.
    for (int i = 0; i < n; ++i) selected_[i] = entries_[i].mz;
    selectedCount_ = n;
    if (n < 2) return false;
    ComputeWeights();
    ComputeAverage();
    mwValid_ = std::isfinite(averageMW_) && averageMW_ > 0.0;
    return mwValid_;
}

void CZarmassDeconvolution::AssignFromSeries() {
    BuildEntries(false);
    AssignCharges();
    // Entries hold the series in ascending order; labels follow the same order.
    for (int i = 0; i < selectedCount_; ++i) selected_[i] = entries_[i].mz;
}

void CZarmassDeconvolution::BuildLabels() {
    const int n = std::min(selectedCount_, kZarmassLabelSlots);
    const double half = peakWidth_ * 0.5;
    const bool descending = n > 1 && selected_[1] <= selected_[0];
    const std::span<const PeakRecord> peaks(workPeaks_);
    const int wc = static_cast<int>(peaks.size());

    for (int k = 0; k < n; ++k) {
        const double value = descending ? selected_[n - 1 - k] : selected_[k];
        CPeakLabel& label = labels_[k];
        label.apex.mass = value;
        label.left.mass = value - half;
        label.right.mass = value + half;
        label.penIndex = currentComponent_;
        if (overwriteLabels_) label.showText = 0;
        if (wc == 0) continue;

        if (directIndex_) {
            // Profile data: the points are close to evenly spaced.
            const double span = peaks[wc - 1].mass - peaks[0].mass;
            if (span > 0.0) {
                const double position = (value - peaks[0].mass) * (wc - 1) / span;
                if (position >= 1.0 && position < wc) {
                    label.apex.intensity = peaks[static_cast<int>(position)].intensity;
                }
            }
            continue;
        }
        const int i = FindPeakIndex(peaks, 0, wc - 1, value);
        if (i < 1 || i >= wc - 1) continue;
        label.apex.intensity = peaks[i].intensity;
        label.apex.mass =
            std::abs(peaks[i].mass - value) <= 1.0 ? peaks[i].mass : kZarmassNoApexMass;
        for (int j = i - 1; j >= 0 && std::abs(peaks[j].mass - value) < half; --j) {
            if (peaks[j].intensity > label.apex.intensity)
                label.apex = LabelPoint{0.0, peaks[j].intensity, peaks[j].mass};
        }
        for (int j = i + 1; j < wc && std::abs(peaks[j].mass - value) < half; ++j) {
            if (peaks[j].intensity > label.apex.intensity)
                label.apex = LabelPoint{0.0, peaks[j].intensity, peaks[j].mass};
        }
    }
    labelsBuilt_ = n;

    const auto byApex = [](const CPeakLabel& a, const CPeakLabel& b) {
        return a.apex.mass < b.apex.mass;
    };
    const auto dropTrailingMarked = [this](int count) {
        while (count > 0 && IsMarked(labels_[count - 1])) labels_[--count] = CPeakLabel();
        return count;
    };
    std::stable_sort(labels_.begin(), labels_.begin() + n, byApex);
    int count = dropTrailingMarked(n);

    int merged = 0;
    for (int i = 0; i + 1 < count; ++i) {
        CPeakLabel& lower = labels_[i];
        CPeakLabel& upper = labels_[i + 1];
        if (std::abs(upper.apex.mass - lower.apex.mass) > kSameApex) continue;
        if (lower.apex.mass <= kLowestMergedMass || lower.apex.mass >= kZarmassNoApexMass) continue;
        const int formerPen = upper.penIndex;
        if (lower.chargeState != upper.chargeState) {
            upper.penIndex = currentComponent_;
            upper.showText = 1;
            const QString text = QString::asprintf("%+d,%+d", lower.chargeState, upper.chargeState);
            if (text.size() < kZarmassLabelTextLength) upper.text = text;
        }
        lower.apex.mass = kZarmassNoApexMass;
        if (lower.penIndex > formerPen) upper.chargeState = lower.chargeState;
        ++merged;
    }
    if (merged > 0) {
        std::stable_sort(labels_.begin(), labels_.begin() + count, byApex);
        count = dropTrailingMarked(count);
    }
    labelCount_ = count;
}

}  // namespace zar
