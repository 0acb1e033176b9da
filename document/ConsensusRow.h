#pragma once
// One hit line of rank 1 to 5 as the consensus and peptide-mapping tables show it.

#include "document/HitNumber.h"

#include <QString>

#include <cstdint>

namespace zar {

struct CConsensusRow {
    QString peptide;  // "X.PEPTIDE.Y" as in the file
    double deltaCorrelation = 0.0;
    double hitMass = 0.0;  // (M+H)+ of the line; 0 in the search-engine set
    double preliminaryScore = 0.0;
    double combinedScore = 0.0;
    double correlation = 0.0;
    std::int32_t proteinNumber = 0;
    std::int32_t charge = 0;
    std::int32_t furtherReferences = 0;
    HitNumber hitNumber;  // the hit of the file's hit record
    std::int32_t ionsMatched = 0;
    std::int32_t ionsTotal = 0;
    std::int32_t rank = 0;  // correlation rank, 1 to 5
    std::int32_t firstScan = 0;
    std::int32_t lastScan = 0;
    std::int32_t kept = 0;  // rewritten by the consensus filters; only kept rows score
};

}  // namespace zar
