#pragma once
// The MSn scans of a run grouped by precursor: one group per MSn level and precursor mass(es).

#include <QString>

#include <vector>

namespace zar {

struct MSnScanEntry {
    double retentionTime = 0.0;
    int scan = 0;
    bool operator==(const MSnScanEntry&) const = default;
};

struct MSnPrecursorGroup {
    int level = 2;                      // 2 or 3
    std::vector<double> precursors;     // one mass for level 2, two for level 3
    std::vector<double> energies;       // level 3: the energy of each precursor
    std::vector<MSnScanEntry> scans;
};

class CMSnPrecursorList {
public:
    static constexpr double kPrecursorTolerance = 0.5;

    // Adds a scan from its filter text; false when the text names no MS2 or MS3 precursor.
    bool AddScan(const QString& filter, int scan, double retentionTime);
    const std::vector<MSnPrecursorGroup>& Groups() const { return groups_; }
    bool IsEmpty() const { return groups_.empty(); }

    // Reads the precursor(s) of a filter text: level 2 "ms2 <mass>", level 3
    // "ms3 <mass>@<energy> <mass>@<energy>"; 0 when neither.
    static int ParseFilter(const QString& filter, std::vector<double>& masses, std::vector<double>& energies);

private:
    std::vector<MSnPrecursorGroup> groups_;
};

}  // namespace zar
