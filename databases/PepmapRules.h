#pragma once
// Cleavage rules of the Pepmap digest, made from the enzyme table, and the cleavage sites they
// give in a sequence.

#include <QChar>
#include <QString>

#include <vector>

namespace zar {

struct EnzymeRecord;

// Rules are kept one per enzyme slot; the named enzymes are packed from rule 0 on.
constexpr int kPepmapRuleCount = 25;

struct PepmapCleavage {
    int sense = 0;  // 1 cuts after the residue, 0 before it
    QChar residue;
};

struct PepmapBlocking {
    int offset = 0;  // where the blocking residue sits, relative to the cleavage residue
    QChar residue;
};

struct PepmapRule {
    std::vector<PepmapCleavage> cleavages;
    std::vector<PepmapBlocking> blockings;
};

// One rule from an enzyme's texts; a text starting with '-' means none. Any sense above 0 cuts
// after the residue. A blocking residue sits on the far side of the cut: after the residue for
// enzymes that cut after it, before the residue for those that cut before it.
PepmapRule MakePepmapRule(int sense, const QString& cleavageResidues,
                          const QString& blockingResidues);

// The kPepmapRuleCount rules of a table of enzyme records: record 0 ("No_Enzyme") is skipped,
// unnamed records are skipped, and the n-th named record of 1.. gives rule n. Unused rules are
// empty (no cleavage: the whole sequence is one piece).
std::vector<PepmapRule> BuildPepmapRules(const EnzymeRecord* records, int count);

// Whether the rule cuts at residue i; *boundary receives the index of the first residue of the
// piece that follows the cut.
bool IsCleavageSite(const PepmapRule& rule, const QString& sequence, int i, int* boundary);

// The piece boundaries of the sequence: 0, every cut in increasing order, then the length.
// Every piece holds at least one residue.
std::vector<int> FindCleavageSites(const PepmapRule& rule, const QString& sequence);

}  // namespace zar
