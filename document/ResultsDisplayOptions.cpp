#include "ResultsDisplayOptions.h"

namespace zar {

ResultsDisplayOptions DefaultDisplayOptions(DisplayOptionsKind kind, int summaryDisplayMode,
                                            int consensusDisplayMode, int consensusDisplayEntries) {
    ResultsDisplayOptions o;
    o.showTimes = summaryDisplayMode ? 1 : 0;
    o.filterMode = consensusDisplayMode ? 1 : 0;
    o.consensusRowLimit = consensusDisplayMode ? consensusDisplayEntries : 0;
    o.singleThreshold = -1.0;
    if (kind == DisplayOptionsKind::PeptideMapping) {
        o.thresholdKind = 3;
        o.consensusThreshold = 0.0;
        o.deltaCnMin = 0.0;
        o.rspMax = 0.0;
        o.xcorrMin = 0.0;
    }
    return o;
}

}  // namespace zar
