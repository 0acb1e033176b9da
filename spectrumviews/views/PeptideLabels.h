#pragma once
// Labels of the peptide map on the trace: the matched peptides in scan order, one label per
// matched scan ("#name,name,..."), cut short with "..." once it grows long.

#include "databases/PepmapPeptide.h"

#include <QString>

#include <vector>

namespace zar {

struct PeptideLabel {
    QString text;
    double time = 0.0;
    double intensity = 0.0;
};

// A label's text stays under this many characters; "..." marks the names left out.
constexpr int kMaxPeptideLabelChars = 15;

// Groups peptides sorted by scan: unmatched ones are skipped; every group (the last one too)
// becomes one label at its first peptide's time and intensity.
std::vector<PeptideLabel> GroupPeptideLabels(const PepmapPeptideList& byScan);

}  // namespace zar
