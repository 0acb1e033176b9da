#include "PepmapRules.h"

#include "document/EnzymeTable.h"

namespace zar {

PepmapRule MakePepmapRule(int sense, const QString& cleavageResidues,
                          const QString& blockingResidues) {
    PepmapRule rule;
    // The table only knows "before" (0) and "after" (1); a stored sense beyond that must not
    // move a cut past the residue it belongs to.
    const int cutSense = sense > 0 ? 1 : 0;
    const QString cleave = cleavageResidues.trimmed();
    const QString block = blockingResidues.trimmed();
    if (!cleave.isEmpty() && !cleave.startsWith(u'-')) {
        for (QChar c : cleave)
            if (!c.isSpace()) rule.cleavages.push_back({cutSense, c});
    }
    if (!block.isEmpty() && !block.startsWith(u'-')) {
        const int offset = cutSense == 1 ? 1 : -1;
        for (QChar c : block)
            if (!c.isSpace()) rule.blockings.push_back({offset, c});
    }
    return rule;
}

bool IsCleavageSite(const PepmapRule& rule, const QString& sequence, int i, int* boundary) {
    const int length = static_cast<int>(sequence.size());
    if (i < 0 || i >= length) return false;
    const QChar residue = sequence.at(i);
    const PepmapCleavage* hit = nullptr;
    for (const PepmapCleavage& c : rule.cleavages) {
        if (c.residue == residue) {
            hit = &c;
            break;
        }
    }
    if (!hit) return false;
    if (hit->sense == 0 && i == 0) return false;
    if (hit->sense == 1 && i == length - 1) return false;
    for (const PepmapBlocking& b : rule.blockings) {
        const int q = i + b.offset;
        if (q >= 0 && q < length && sequence.at(q) == b.residue) return false;
    }
    if (boundary) *boundary = i + hit->sense;
    return true;
}

std::vector<int> FindCleavageSites(const PepmapRule& rule, const QString& sequence) {
    const int length = static_cast<int>(sequence.size());
    std::vector<int> sites;
    sites.push_back(0);
    if (!rule.cleavages.empty()) {
        for (int i = 0; i < length; ++i) {
            int boundary = 0;
            // Only cuts that leave a residue on both sides and move forward become sites.
            if (IsCleavageSite(rule, sequence, i, &boundary) && boundary > sites.back() &&
                boundary < length)
                sites.push_back(boundary);
        }
    }
    if (length > 0) sites.push_back(length);
    return sites;
}

std::vector<PepmapRule> BuildPepmapRules(const EnzymeRecord* records, int count) {
    std::vector<PepmapRule> rules(kPepmapRuleCount);
    if (!records) return rules;
    int packed = 0;
    // Record 0 is "No_Enzyme"; the options' enzyme index counts the named records after it.
    for (int r = 1; r < count && packed < kPepmapRuleCount; ++r) {
        const EnzymeRecord& record = records[r];
        if (record.name.isEmpty()) continue;
        rules[packed++] = MakePepmapRule(record.sense, record.cleavage, record.blocking);
    }
    return rules;
}

}  // namespace zar
