#pragma once
// How one result table is filtered, sorted and labelled. A plain value record, copied whole
// between the document, the views and the options sheet.

#include <QString>

#include <cstdint>

namespace zar {

struct ResultsDisplayOptions {
    // Longest reference text the filter takes.
    static constexpr int kMaxReferenceText = 100;

    std::int32_t scoreMethod = 1;    // 0 rankings only, 1 ranking + XCorr + Delta Cn
    std::int32_t showTimes = 0;      // 0 scan numbers, 1 retention times
    std::int32_t thresholdKind = 0;  // quantity of the single-threshold filter (0..7)
    std::int32_t filterMode =
        0;  // 0 none, 1 first N, 2 single, 3 multiple, 4 selected dta, 5 display range
    std::int32_t singleScore = 0;  // 1: the results carry one "Score" value
    std::int32_t sortKey = 0;      // sort key 0-12 of the hit records
    double retentionTimeMin = 0.0;
    double retentionTimeMax = 0.0;
    double consensusThreshold = 10.0;  // kept, read by no table
    double deltaCnMin = 0.085;
    double ionsPercentMin = 30.0;
    double rspMax = 5.0;
    double spMin = 500.0;
    double xcorrMin = 1.0;
    double singleThreshold = 0.0;  // -1.0: not set
    std::int32_t consensusRowLimit = 0;
    std::int32_t criteriaNeeded = 4;
    std::int32_t summaryRowLimit = 0;
    QString referenceText;

    // Stores the reference text, cut to what the filter takes.
    void SetReferenceText(const QString& text) { referenceText = text.left(kMaxReferenceText); }

    bool operator==(const ResultsDisplayOptions&) const = default;
};

// The records the document starts with, from the display settings.
enum class DisplayOptionsKind { Summary, PeptideMapping, MultiConsensus };
ResultsDisplayOptions DefaultDisplayOptions(DisplayOptionsKind kind, int summaryDisplayMode,
                                            int consensusDisplayMode, int consensusDisplayEntries);

}  // namespace zar
