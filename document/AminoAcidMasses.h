#pragma once
// Residue masses indexed by character code, shared by the result sets, the digest, fragment-ion
// and de novo code.

#include <array>

namespace zar {

// One entry per character code; letters hold residue masses, every other entry is left alone.
using ResidueMassTable = std::array<double, 256>;

constexpr double kHydrogenMono = 1.007825;
constexpr double kHydrogenAverage = 1.00794;
constexpr double kOxygenMono = 15.9949146;
constexpr double kOxygenAverage = 15.9994;

// Sets the residue letters (upper and lower case; J and U stay untouched) for the mass type.
// hydrogen receives the hydrogen mass, hydroxyl hydrogen + oxygen, each when given.
void InitAminoAcidMasses(ResidueMassTable& table, bool monoisotopic, double* hydroxyl = nullptr,
                         double* hydrogen = nullptr);

// A table of zeros, as the result sets start with.
inline ResidueMassTable ZeroResidueMasses() {
    ResidueMassTable t;
    t.fill(0.0);
    return t;
}

}  // namespace zar
