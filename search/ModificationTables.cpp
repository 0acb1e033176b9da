#include "ModificationTables.h"

#include "DefaultParamTexts.h"

#include "core/Numbers.h"

namespace zar {
namespace {

struct PresetMasses {
    double average;
    double mono;
};

PresetMasses MassesOf(ModificationPreset preset) {
    switch (preset) {
        case ModificationPreset::Acetylation:
            return {42.0373, 42.0106};
        case ModificationPreset::Carboxymethylation:
            return {58.0133, 58.0054};
        case ModificationPreset::Formylation:
            return {28.0104, 27.9949};
        case ModificationPreset::Hydroxylation:
            return {17.0073, 17.0027};
        case ModificationPreset::IcatReagent:
            return {442.2, 442.2249};
        case ModificationPreset::Methylation:
            return {14.0269, 14.0157};
        case ModificationPreset::Oxidation:
            return {15.9994, 15.9949};
        case ModificationPreset::Phosphorylation:
            return {79.9799, 79.9663};
        case ModificationPreset::Sulphation:
            return {80.0642, 79.9568};
    }
    return {0.0, 0.0};
}

// Residue letters in the order of the static entries 4..27.
constexpr char kResidueOrder[] = "GASPVTCLIXNOBDQKZEMHFRYW";

}  // namespace

ModificationTables::ModificationTables() {
    ResetAll();
}

void ModificationTables::SetStaticModification(int index, double mass) {
    if (index < 0 || index >= kStaticCount) return;
    static_[static_cast<std::size_t>(index)].mass = mass;
}

void ModificationTables::SetStaticModificationEntry(int index, const QString& name, double mass) {
    if (index < 0 || index >= kStaticCount) return;
    static_[static_cast<std::size_t>(index)] = {name, mass};
}

double ModificationTables::GetStaticModification(int index) const {
    if (index < 0 || index >= kStaticCount) return 0.0;
    return static_[static_cast<std::size_t>(index)].mass;
}

QString ModificationTables::GetStaticName(int index) const {
    if (index < 0 || index >= kStaticCount) return QString();
    return static_[static_cast<std::size_t>(index)].name;
}

void ModificationTables::SetDifferentialModification(int index, const QString& residues,
                                                     double mass) {
    if (index < 0 || index >= kDifferentialCount) return;
    DifferentialModification& entry = differential_[static_cast<std::size_t>(index)];
    entry = {};
    if (!residues.isEmpty() && mass != 0.0) entry = {residues, mass};
}

void ModificationTables::SetDifferentialFromGrid(int index, const QString& residues, double mass) {
    if (index < 0 || index >= kDifferentialCount) return;
    differential_[static_cast<std::size_t>(index)] = {residues, mass};
}

void ModificationTables::GetDifferentialModification(int index, QString& residues,
                                                     double& mass) const {
    if (index < 0 || index >= kDifferentialCount) {
        residues.clear();
        mass = 0.0;
        return;
    }
    const DifferentialModification& entry = differential_[static_cast<std::size_t>(index)];
    residues = entry.residues.toUpper();
    mass = entry.mass;
}

void ModificationTables::ResetStatic() {
    for (int i = 0; i < kStaticCount; ++i) {
        static_[static_cast<std::size_t>(i)] = {ParamDefaultText(kStaticModificationNamesFirst + i),
                                                0.0};
    }
}

void ModificationTables::ResetDifferential() {
    differential_.fill({});
}

void ModificationTables::ResetAll() {
    ResetStatic();
    ResetDifferential();
}

bool ModificationTables::ApplyStaticPreset(int row, ModificationPreset preset, int massType) {
    if (row <= kFirstResidueEntry || row > kStaticCount) return false;
    static_[static_cast<std::size_t>(row - 1)].mass = PresetMass(preset, massType);
    return true;
}

bool ModificationTables::ApplyDifferentialPreset(int row, ModificationPreset preset, int massType) {
    if (row < 1 || row > kDifferentialCount) return false;
    differential_[static_cast<std::size_t>(row - 1)].mass = PresetMass(preset, massType);
    return true;
}

int ModificationTables::StaticEntryOfResidue(QChar letter) {
    for (int i = 0; kResidueOrder[i] != '\0'; ++i) {
        if (letter == QLatin1Char(kResidueOrder[i])) return kFirstResidueEntry + i;
    }
    return -1;
}

double ModificationTables::PresetMass(ModificationPreset preset, int massType) {
    const PresetMasses masses = MassesOf(preset);
    return massType == 1 ? masses.mono : masses.average;
}

QString ModificationTables::FormatMass(double mass) {
    return QCFormat("%.13g", mass);
}

QString ModificationTables::DisplayName(const QString& key) {
    return key.startsWith(QLatin1String("add_")) ? key.mid(4) : key;
}

bool ModificationTables::IsAtDefaults() const {
    for (const DifferentialModification& d : differential_) {
        if (!d.residues.isEmpty() && d.mass != 0.0) return false;
    }
    for (const StaticModification& s : static_) {
        if (s.mass != 0.0) return false;
    }
    return true;
}

}  // namespace zar
