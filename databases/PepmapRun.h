#pragma once
// One Pepmap run (open the run's spectra, digest, match, sort) on copies of the engine's data,
// so that it can run on a worker while the views keep reading the engine's own list.

#include "PepmapDigest.h"
#include "PepmapMatcher.h"
#include "PepmapPeptide.h"
#include "PepmapProgress.h"

#include <QString>

#include <optional>

namespace zar {

// What a run starts from, copied from the engine on the user-interface thread.
struct PepmapRunRequest {
    PepmapDigestInput digest;  // sequence, rule, options, masses, bond markers
    QString rawFilePath;
};

// What a finished run hands back to the engine.
struct PepmapRunResult {
    // An empty sequence digests nothing: the engine keeps its list and only sorts it again.
    bool keepsList = false;
    PepmapPeptideList peptides;
    int peptideCount = 0;  // -1 after a digest that ran out of memory
    bool hasDigest = false;
    PepmapDigestStatus digestStatus = PepmapDigestStatus::kDone;
    PepmapMatchStatus matchStatus = PepmapMatchStatus::kDone;
};

// Runs the request against its own source of spectra. No result when the run could not be
// opened (the message has been shown) or was cancelled.
std::optional<PepmapRunResult> RunPepmapJob(const PepmapRunRequest& request,
                                            PepmapSpectrumSource& source,
                                            const PepmapCancelFlag& cancel,
                                            PepmapProgress& progress);

}  // namespace zar
