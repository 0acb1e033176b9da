#pragma once
// The amino-acid modifications of a search: 28 static modifications (terminal and per residue,
// named by their parameter-file keys) and up to three differential modifications. The
// modification grids show these tables; the sheets load and save them.

#include <QString>

#include <array>

namespace zar {

// Context-menu presets of the modification grids.
enum class ModificationPreset {
    Acetylation,
    Carboxymethylation,
    Formylation,
    Hydroxylation,
    IcatReagent,
    Methylation,
    Oxidation,
    Phosphorylation,
    Sulphation,
};

struct StaticModification {
    QString name;  // parameter-file key, "add_G_Glycine"
    double mass = 0.0;
};

struct DifferentialModification {
    QString residues;
    double mass = 0.0;
};

class ModificationTables {
  public:
    static constexpr int kStaticCount = 28;
    static constexpr int kDifferentialCount = 3;
    // The first residue entry; the four before it are the terminal modifications.
    static constexpr int kFirstResidueEntry = 4;
    static constexpr int kCtermPeptideEntry = 0;
    static constexpr int kNtermPeptideEntry = 2;
    // Masses accepted in a parameter file or typed into a grid.
    static constexpr double kMinimumMass = -57.0;
    static constexpr double kMaximumMass = 1500.0;

    ModificationTables();

    // Index 0..27; other indices are ignored.
    void SetStaticModification(int index, double mass);
    void SetStaticModificationEntry(int index, const QString& name, double mass);
    double GetStaticModification(int index) const;
    QString GetStaticName(int index) const;
    const std::array<StaticModification, kStaticCount>& StaticEntries() const { return static_; }

    // Index 0..2: the entry takes both only when the residues are not empty and the mass is
    // not 0.0, else it becomes empty with 0.0.
    void SetDifferentialModification(int index, const QString& residues, double mass);
    // The residues in capitals and the mass; an empty set and 0.0 outside 0..2.
    void GetDifferentialModification(int index, QString& residues, double& mass) const;
    const std::array<DifferentialModification, kDifferentialCount>& DifferentialEntries() const {
        return differential_;
    }

    // What the grids hand back when they are read: taken as typed (an empty residue set keeps
    // its mass until the entry is set again).
    void SetDifferentialFromGrid(int index, const QString& residues, double mass);

    // "Reset All" of each grid, and both for the sheet's Defaults.
    void ResetStatic();
    void ResetDifferential();
    void ResetAll();

    // Puts a preset's mass into a grid row (1-based as the grids count them): static rows 5..28
    // only (the terminal rows are left alone), differential rows 1..3. massType 0 average,
    // 1 monoisotopic. False when the row takes no preset.
    bool ApplyStaticPreset(int row, ModificationPreset preset, int massType);
    bool ApplyDifferentialPreset(int row, ModificationPreset preset, int massType);

    // Static entry of a residue letter (G, A, ... W), or -1 for J, U and anything else.
    static int StaticEntryOfResidue(QChar letter);
    static double PresetMass(ModificationPreset preset, int massType);
    static bool IsMassInRange(double mass) { return mass >= kMinimumMass && mass <= kMaximumMass; }
    // The grids show masses with "%.13g".
    static QString FormatMass(double mass);
    // Grid name of an entry: the key without "add_".
    static QString DisplayName(const QString& key);

    // True when no differential entry with residues has a mass and every static mass is 0.0.
    bool IsAtDefaults() const;

  private:
    std::array<StaticModification, kStaticCount> static_;
    std::array<DifferentialModification, kDifferentialCount> differential_;
};

}  // namespace zar
