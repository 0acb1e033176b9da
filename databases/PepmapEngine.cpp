#include "PepmapEngine.h"

#include <algorithm>
#include <limits>

namespace zar {

CPepmapEngine::CPepmapEngine() : rules_(kPepmapRuleCount), masses_(PepmapMassTables::Standard()) {}

CPepmapEngine::~CPepmapEngine() = default;

void CPepmapEngine::FreePeptides() {
    PepmapPeptideList().swap(peptides_);
    hasDigest_ = false;
    peptideCount_ = 0;
    std::vector<int>().swap(markers_);
    markersSet_ = false;
    options_.firstScan = 1;
    options_.lastScan = std::numeric_limits<int>::max();
}

void CPepmapEngine::BuildEnzymeRules(const CEnzymeTable::Records& records) {
    rules_ = BuildPepmapRules(records.data(), static_cast<int>(records.size()));
}

const PepmapRule& CPepmapEngine::SelectedRule() const {
    static const PepmapRule kNoRule;
    const int index = options_.enzyme;
    if (index < 0 || index >= static_cast<int>(rules_.size())) return kNoRule;
    return rules_[static_cast<size_t>(index)];
}

void CPepmapEngine::GetOptions(PepmapOptions& options) const {
    const double tic = options.tic;
    options = options_;
    options.tic = tic;
}

void CPepmapEngine::SetSpecificBonds(const int* markers, int count) {
    if (!markers) return;
    markers_.assign(markers, markers + std::max(count, 0));
    markersSet_ = true;
}

PepmapDigestInput CPepmapEngine::digestInput() const {
    PepmapDigestInput in;
    in.sequence = sequence_;
    in.rule = SelectedRule();
    in.options = options_;
    in.masses = masses_;
    in.bondMarkers = markers_;
    in.markersSet = markersSet_;
    return in;
}

void CPepmapEngine::Digest() {
    PepmapMessageBoxProgress progress;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    switch (DigestSequence(digestInput(), &rows, cancel, progress)) {
        case PepmapDigestStatus::kEmptySequence:
            return;
        case PepmapDigestStatus::kNoMemory:
            peptides_.swap(rows);
            hasDigest_ = true;
            peptideCount_ = -1;
            return;
        case PepmapDigestStatus::kDone:
        case PepmapDigestStatus::kCancelled:
            peptides_.swap(rows);
            hasDigest_ = true;
            peptideCount_ = static_cast<int>(peptides_.size());
            return;
    }
}

void CPepmapEngine::RunPepmap(PepmapSpectrumSource& source) {
    PepmapMessageBoxProgress progress;
    PepmapCancelFlag cancel{false};
    const bool mono = options_.monoisotopic != 0;
    RunPepmapMatching(sequence_, peptides_, source,
                      PepmapMatchSettings::From(options_, masses_.hydrogen(mono)), cancel,
                      progress);
}

void CPepmapEngine::SortPeptides(int mode) {
    if (mode == kPepmapSortStored) mode = options_.sortMode;
    SortPepmapPeptides(peptides_, mode, options_.descending != 0, options_.monoisotopic != 0);
}

PepmapRunRequest CPepmapEngine::MakeRunRequest(const QString& sequence,
                                               const QString& rawFilePath) {
    sequence_ = sequence;
    PepmapRunRequest request;
    request.digest = digestInput();
    request.rawFilePath = rawFilePath;
    return request;
}

void CPepmapEngine::AdoptRunResult(PepmapRunResult&& result) {
    if (result.keepsList) {
        SortPeptides(kPepmapSortStored);
        return;
    }
    peptides_.swap(result.peptides);
    hasDigest_ = result.hasDigest;
    peptideCount_ = result.peptideCount;
}

void CPepmapEngine::GetNTermMasses(double out[2]) const {
    out[0] = masses_.averageH;
    out[1] = masses_.monoH;
}

void CPepmapEngine::GetCTermMasses(double out[2]) const {
    out[0] = masses_.averageOH;
    out[1] = masses_.monoOH;
}

void CPepmapEngine::SetScanRangeFromTimes(double startTime, double endTime) {
    if (scanRangeListener_) scanRangeListener_(startTime, endTime);
}

}  // namespace zar
