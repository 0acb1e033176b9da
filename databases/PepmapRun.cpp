#include "PepmapRun.h"

namespace zar {

std::optional<PepmapRunResult> RunPepmapJob(const PepmapRunRequest& request,
                                            PepmapSpectrumSource& source,
                                            const PepmapCancelFlag& cancel,
                                            PepmapProgress& progress) {
    if (!OpenPepmapSource(source, request.rawFilePath, progress)) return std::nullopt;
    const PepmapDigestInput& in = request.digest;
    const PepmapOptions& options = in.options;
    PepmapRunResult result;
    result.digestStatus = DigestSequence(in, &result.peptides, cancel, progress);
    switch (result.digestStatus) {
        case PepmapDigestStatus::kEmptySequence:
            result.keepsList = true;
            break;
        case PepmapDigestStatus::kNoMemory:
            result.hasDigest = true;
            result.peptideCount = -1;
            break;
        case PepmapDigestStatus::kDone:
        case PepmapDigestStatus::kCancelled:
            result.hasDigest = true;
            result.peptideCount = static_cast<int>(result.peptides.size());
            break;
    }
    if (cancel) return std::nullopt;
    const bool mono = options.monoisotopic != 0;
    const PepmapMatchSettings settings =
        PepmapMatchSettings::From(options, in.masses.hydrogen(mono));
    result.matchStatus =
        RunPepmapMatching(in.sequence, result.peptides, source, settings, cancel, progress);
    if (cancel) return std::nullopt;
    SortPepmapPeptides(result.peptides, options.sortMode, options.descending != 0, mono);
    return result;
}

}  // namespace zar
