#include "FragmentIons.h"

namespace zar {

namespace {

// Neutral losses and additions, monoisotopic / average.
constexpr double kCOMono = 27.994915;
constexpr double kCOAverage = 28.01055;
constexpr double kNH3Mono = 17.02647;
constexpr double kNH3Average = 17.028;
constexpr double kH2OMono = 18.0106;
constexpr double kH2OAverage = 18.018;
constexpr double kNitrogenMono = 14.003074;
constexpr double kNitrogenAverage = 14.00607;
constexpr double kAStarLossMono = 45.021385;
constexpr double kAStarLossAverage = 45.03855;
constexpr double kAoLossMono = 46.005515;
constexpr double kAoLossAverage = 46.02855;

constexpr const char* kLabelPrefixes[kFragmentSeriesCount] = {
    "A", "A*", "Ao", "B", "B*", "Bo", "C", "X", "Y'", "Y*", "Yo", "Z*", "W'", "D'", "H", "P"};

int FirstPosition(const QString& sequence, QChar letter) {
    const qsizetype at = sequence.indexOf(letter);
    return at < 0 ? 0 : static_cast<int>(at) + 1;
}

}  // namespace

FragmentMassModel::FragmentMassModel(bool monoisotopic, const ResidueMassShifts& shifts,
                                     const TerminalMassShifts& terminals)
    : monoisotopic_(monoisotopic), terminals_(terminals) {
    masses_ = ZeroResidueMasses();
    InitAminoAcidMasses(masses_, monoisotopic, &k_.hydroxyl, &k_.hydrogen);
    for (const auto& [letter, mass] : shifts) {
        const auto upper = static_cast<unsigned char>(letter & ~0x20);
        if (upper < 'A' || upper > 'Z') continue;
        masses_[upper] += mass;
        masses_[upper | 0x20u] += mass;
    }
    k_.co = monoisotopic ? kCOMono : kCOAverage;
    k_.nh3 = monoisotopic ? kNH3Mono : kNH3Average;
    k_.h2o = monoisotopic ? kH2OMono : kH2OAverage;
    k_.nitrogen = monoisotopic ? kNitrogenMono : kNitrogenAverage;
    k_.aStarLoss = monoisotopic ? kAStarLossMono : kAStarLossAverage;
    k_.aoLoss = monoisotopic ? kAoLossMono : kAoLossAverage;
}

bool IonSlotProducedAt(int slot, int residue1, int residueCount) {
    switch (slot) {
        case kIonC:
            return residue1 < residueCount;
        case kIonX:
            return residue1 > 1;
        case kIonHInternal:
        case kIonPInternal:
            return false;
        default:
            return slot >= 0 && slot < kFragmentSeriesCount;
    }
}

int IonLabelNumber(int slot, int residue1, int residueCount, int internalStart) {
    switch (slot) {
        case kIonX:
        case kIonY:
        case kIonYStar:
        case kIonYo:
        case kIonZStar:
        case kIonW:
            return residueCount - residue1 + 1;
        case kIonHInternal:
        case kIonPInternal:
            return internalStart;
        default:
            return residue1;
    }
}

const char* IonLabelPrefix(int slot) {
    return slot >= 0 && slot < kFragmentSeriesCount ? kLabelPrefixes[slot] : "";
}

void ComputeFragmentIons(const QString& sequence, const FragmentMassModel& model,
                         const IonSlotMask& wanted, FragmentIonTable& table) {
    const FragmentConstants& k = model.constants();
    const int n = static_cast<int>(sequence.size());
    table.residueCount = n;
    table.prefix.resize(static_cast<size_t>(n));
    table.mh.resize(static_cast<size_t>(n));
    table.ions.resize(static_cast<size_t>(n));
    table.hPosition = FirstPosition(sequence, QLatin1Char('H'));
    table.pPosition = FirstPosition(sequence, QLatin1Char('P'));

    // The termini's modifications ride on the first and the last residue.
    const TerminalMassShifts& terminals = model.terminals();
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        sum += model.residueMass(sequence[i]);
        if (i == 0) sum += terminals.nTerminal;
        if (i == n - 1) sum += terminals.cTerminal;
        table.prefix[static_cast<size_t>(i)] = sum;
    }
    const double total = sum;

    for (int i = 1; i <= n; ++i) {
        const double p = table.prefix[static_cast<size_t>(i - 1)];
        const double m = model.residueMass(sequence[i - 1]) +
                         (i == 1 ? terminals.nTerminal : 0.0) + (i == n ? terminals.cTerminal : 0.0);
        const double s = total - p + m;  // residues i..n
        // [M+H]+ of the prefix peptide 1..i: its residues, the water of its termini and the
        // charge, counted as every other ion here counts it (a hydrogen atom).
        table.mh[static_cast<size_t>(i - 1)] = p + k.hydroxyl + 2.0 * k.hydrogen;

        std::array<double, kFragmentSeriesCount>& row = table.ions[static_cast<size_t>(i - 1)];
        row.fill(0.0);
        const double b = p + k.hydrogen;
        const double y = s + k.hydroxyl + 2.0 * k.hydrogen;
        const std::array<double, kFragmentSeriesCount> mass = {
            b - k.co,
            b - k.aStarLoss,
            b - k.aoLoss,
            b,
            b - k.nh3,
            b - k.h2o,
            b + k.nh3,
            s + k.hydroxyl + k.co,
            y,
            y - k.nh3,
            y - k.h2o,
            s + k.hydroxyl + k.hydrogen - k.nitrogen,
            s + k.hydroxyl - k.co,
            b - k.nh3,
            0.0,
            0.0,
        };
        for (int slot = 0; slot < kIonHInternal; ++slot) {
            if (wanted[static_cast<size_t>(slot)] && IonSlotProducedAt(slot, i, n))
                row[static_cast<size_t>(slot)] = mass[static_cast<size_t>(slot)];
        }
    }

    const int internalSlots[2] = {kIonHInternal, kIonPInternal};
    const int starts[2] = {table.hPosition, table.pPosition};
    for (int which = 0; which < 2; ++which) {
        const int slot = internalSlots[which];
        if (!wanted[static_cast<size_t>(slot)] || starts[which] == 0) continue;
        double running = k.hydrogen;
        for (int i = starts[which]; i <= n; ++i) {
            running += model.residueMass(sequence[i - 1]);
            table.ions[static_cast<size_t>(i - 1)][static_cast<size_t>(slot)] = running;
        }
    }
}

FragmentIonTable ComputeFragmentIons(const QString& sequence, const FragmentMassModel& model,
                                     const IonSlotMask& wanted) {
    FragmentIonTable table;
    ComputeFragmentIons(sequence, model, wanted, table);
    return table;
}

}  // namespace zar
