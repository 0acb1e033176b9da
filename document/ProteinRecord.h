#pragma once
// One protein reference with the consensus rows of the hits that name it.

#include "document/ConsensusRow.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zar {

constexpr int kConsensusRanks = 5;

class CProteinRecord {
  public:
    CProteinRecord() = default;
    CProteinRecord(const CProteinRecord&) = delete;
    CProteinRecord& operator=(const CProteinRecord&) = delete;
    virtual ~CProteinRecord() = default;

    // Rows of rank r (1 to 5) at index r - 1, in reading order; owned here.
    std::array<std::vector<std::unique_ptr<CConsensusRow>>, kConsensusRanks> rowsByRank;
    // Distinct peptide sequences (letters only) in order of first appearance.
    QStringList peptides;
    // Protein numbers of the hits that brought a new peptide (those above 0).
    std::vector<std::int32_t> proteinNumbers;
    // Hits of rank r at index r - 1, in the order of rowsByRank.
    std::array<std::vector<HitNumber>, kConsensusRanks> hitNumbersByRank;

    QString reference;
    double score = 0.0;
    double deltaCorrelation = 0.0;
    double summedCombinedScore = 0.0;
    double preliminaryScore = 0.0;
    double correlation = 0.0;
    std::int32_t giNumber = 0;
    std::int32_t rank = 0;
    std::int32_t valid = 0;

    // Appends a row of rank 1 to 5 with its hit; other ranks are ignored.
    CConsensusRow* addRow(std::unique_ptr<CConsensusRow> row, HitNumber hit);
    int rowCount() const;
    // Number of kept rows of rank r (1 to 5).
    int keptRows(int rank) const;
};

// "gi|12345|..." gives 12345; any other reference 0.
std::int32_t GiNumberOf(QStringView reference);

}  // namespace zar
