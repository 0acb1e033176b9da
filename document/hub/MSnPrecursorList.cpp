#include "MSnPrecursorList.h"

#include "core/Numbers.h"

#include <cmath>
#include <cstdio>

namespace zar {

int CMSnPrecursorList::ParseFilter(const QString& filter, std::vector<double>& masses, std::vector<double>& energies) {
    masses.clear();
    energies.clear();
    const QByteArray text = filter.toLatin1();
    // The precursor text starts four characters after the match: "ms2 " / "ms3 ".
    int at = text.indexOf("ms2");
    if (at >= 0) {
        std::size_t used = 0;
        const double m = LeadingDouble(std::string_view(text.constData() + at + 3), &used);
        if (used == 0) return 0;
        masses.push_back(m);
        return 2;
    }
    at = text.indexOf("ms3");
    if (at < 0) return 0;
    std::string_view rest(text.constData() + at + 3);
    for (int i = 0; i < 2; ++i) {
        std::size_t used = 0;
        const double m = LeadingDouble(rest, &used);
        if (used == 0 || used >= rest.size() || rest[used] != '@') return 0;
        rest.remove_prefix(used + 1);
        // The energy may follow an activation code ("cid35.00").
        std::size_t skip = 0;
        while (skip < rest.size() && std::isalpha(static_cast<unsigned char>(rest[skip]))) ++skip;
        rest.remove_prefix(skip);
        const double e = LeadingDouble(rest, &used);
        if (used == 0) return 0;
        rest.remove_prefix(used);
        masses.push_back(m);
        energies.push_back(e);
    }
    return 3;
}

bool CMSnPrecursorList::AddScan(const QString& filter, int scan, double retentionTime) {
    std::vector<double> masses, energies;
    const int level = ParseFilter(filter, masses, energies);
    if (level == 0) return false;
    const MSnScanEntry entry{retentionTime, scan};
    for (MSnPrecursorGroup& g : groups_) {
        if (g.level != level || g.precursors.size() != masses.size()) continue;
        bool within = true;
        for (std::size_t i = 0; i < masses.size(); ++i)
            if (std::fabs(g.precursors[i] - masses[i]) > kPrecursorTolerance + 1e-9) within = false;  // bounds included
        if (!within) continue;
        for (const MSnScanEntry& e : g.scans)
            if (e == entry) return true;
        g.scans.push_back(entry);
        return true;
    }
    groups_.push_back({level, masses, energies, {entry}});
    return true;
}

}  // namespace zar
