#include "PeptideLabels.h"

namespace zar {

std::vector<PeptideLabel> GroupPeptideLabels(const PepmapPeptideList& byScan) {
    std::vector<PeptideLabel> labels;
    int key = 0;
    bool cut = false;
    for (const CPepmapPeptide& p : byScan) {
        if (!p.isMatched()) continue;
        if (labels.empty() || p.matchedScan != key) {
            key = p.matchedScan;
            cut = false;
            labels.push_back({QStringLiteral("#") + p.label(), p.matchedTime, p.matchedIntensity});
            continue;
        }
        QString& text = labels.back().text;
        if (cut) continue;
        const QString label = p.label();
        if (text.size() + 1 + label.size() < kMaxPeptideLabelChars) {
            text += QLatin1Char(',') + label;
        } else {
            // One mark for all the names that do not fit.
            text += QStringLiteral("...");
            cut = true;
        }
    }
    return labels;
}

}  // namespace zar
