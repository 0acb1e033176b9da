#pragma once
// Theoretical fragment ions of a peptide: sixteen series per residue, singly charged, computed
// from the residue-mass table of one mass type. Shared by the Pepmatch engine, the select-ions
// table and the benchmarks.

#include "document/AminoAcidMasses.h"

#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace zar {

// Series slots: a residue's block of ions and the grid column (slot + 3) follow this order.
enum IonSlot : int {
    kIonA = 0,
    kIonAStar,
    kIonAo,
    kIonB,
    kIonBStar,
    kIonBo,
    kIonC,
    kIonX,
    kIonY,
    kIonYStar,
    kIonYo,
    kIonZStar,
    kIonW,
    kIonD,
    kIonHInternal,
    kIonPInternal,
};
constexpr int kFragmentSeriesCount = 16;

using IonSlotMask = std::array<bool, kFragmentSeriesCount>;

inline IonSlotMask AllIonSlots() {
    IonSlotMask all;
    all.fill(true);
    return all;
}

// The constants of one mass type.
struct FragmentConstants {
    double hydrogen = 0.0;
    double hydroxyl = 0.0;
    double co = 0.0;
    double nh3 = 0.0;
    double h2o = 0.0;
    double nitrogen = 0.0;
    double aStarLoss = 0.0;
    double aoLoss = 0.0;
};

// Masses that static modifications add to residues: (upper-case letter, mass added).
using ResidueMassShifts = std::vector<std::pair<char, double>>;

// Masses that static modifications add to a peptide's N and C terminus.
struct TerminalMassShifts {
    double nTerminal = 0.0;
    double cTerminal = 0.0;
};

// Residue masses and constants of one mass type; letters without a mass and character codes
// beyond the table count 0.0. Static modifications shift their residues (either case) and the
// peptide's termini: the N-terminal shift is in every ion that holds the first residue, the
// C-terminal one in every ion that holds the last.
class FragmentMassModel {
  public:
    explicit FragmentMassModel(bool monoisotopic, const ResidueMassShifts& shifts = {},
                               const TerminalMassShifts& terminals = {});

    bool monoisotopic() const { return monoisotopic_; }
    const FragmentConstants& constants() const { return k_; }
    const TerminalMassShifts& terminals() const { return terminals_; }
    double residueMass(QChar residue) const {
        const unsigned code = residue.unicode();
        return code < masses_.size() ? masses_[code] : 0.0;
    }

  private:
    bool monoisotopic_;
    ResidueMassTable masses_;
    FragmentConstants k_;
    TerminalMassShifts terminals_;
};

// One peptide's ions. ions[i][slot] is the ion of residue i (0-based) or 0.0 when that series
// has none there (or was not asked for).
struct FragmentIonTable {
    int residueCount = 0;
    std::vector<double> prefix;  // P(i): mass of residues 1..i, at index i - 1
    std::vector<double> mh;      // the "M + H" column: [M+H]+ of residues 1..i, P(i) + OH + 2 H
    std::vector<std::array<double, kFragmentSeriesCount>> ions;
    int hPosition = 0;  // 1-based position of the first "H", 0 when none
    int pPosition = 0;  // the same for "P"

    double ion(int residue1, int slot) const {
        return ions[static_cast<size_t>(residue1 - 1)][static_cast<size_t>(slot)];
    }
};

// Computes the requested series of a sequence. Internal ions start at the first upper-case
// "H" (or "P") and run to the end, each a running sum from H.
FragmentIonTable ComputeFragmentIons(const QString& sequence, const FragmentMassModel& model,
                                     const IonSlotMask& wanted = AllIonSlots());
// The same into a table that is reused (no allocation once it is large enough).
void ComputeFragmentIons(const QString& sequence, const FragmentMassModel& model,
                         const IonSlotMask& wanted, FragmentIonTable& table);

// Whether a series has an ion at residue i (1-based) of n; internal series are not covered.
bool IonSlotProducedAt(int slot, int residue1, int residueCount);

// The number written into an ion's label ("B%d"): i for N-terminal series, n - i + 1 for
// C-terminal ones, the start position for internal ones.
int IonLabelNumber(int slot, int residue1, int residueCount, int internalStart);

// The label's prefix: "A", "A*", "Ao", "B", "B*", "Bo", "C", "X", "Y'", "Y*", "Yo", "Z*", "W'",
// "D'", "H", "P".
const char* IonLabelPrefix(int slot);

}  // namespace zar
