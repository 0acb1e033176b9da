#pragma once
// Helpers of the Pepmap tests: a progress sink that records what a run reports, the default
// enzyme rules, and runs of hand-made spectra.

#include "PepmapEngine.h"
#include "PepmapMatcher.h"
#include "PepmapProgress.h"
#include "PepmapRules.h"

#include "document/EnzymeTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pepmaptest {

class RecordingProgress : public zar::PepmapProgress {
  public:
    void setStatusText(const QString& text) override { statusTexts << text; }
    void setProgress(int position) override { positions.push_back(position); }
    void showMessage(const QString& text) override { messages << text; }

    QStringList statusTexts;
    std::vector<int> positions;
    QStringList messages;
};

// Rule indices of the built-in enzyme table (the named records after "No_Enzyme", packed).
enum DefaultRule : int {
    kTrypsin = 0,
    kChymotrypsin = 2,
    kTrypsinK = 9,
    kAspN = 13,
    kUnusedRule = 20,  // no record: no cleavage at all
};

inline std::vector<zar::PepmapRule> DefaultRules() {
    zar::CEnzymeTable table;
    table.ResetToDefaults();
    const auto& records = table.GetRecords();
    return zar::BuildPepmapRules(records.data(), static_cast<int>(records.size()));
}

inline const char* kUbiquitin =
    "MQIFVKTLTGKTITLEVEPSDTIENVKAKIQDKEGIPPDQQRLIFAGKQLEDGRTLSDYNIQKESTLHLVLRLRGG";

// The m/z of a neutral mass at charge z.
inline double MzOf(double mass, int z, double proton) {
    return (mass + z * proton) / z;
}

}  // namespace pepmaptest
