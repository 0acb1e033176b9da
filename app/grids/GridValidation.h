#pragma once
// The entry checks the editable grids share.

#include <QString>

namespace zar {

// The residues a modification may name: the 20 amino acids and B, O, X, Z (J and U are refused).
extern const char* const kResidueAlphabet;
// The residues of an enzyme's cleavage or blocking set: the residue alphabet and "-" (none).
extern const char* const kEnzymeResidueAlphabet;

// True when every character of the upper-cased text is in the alphabet.
bool OnlyResidues(const QString& text, const char* alphabet);

// The range of a modification's mass.
constexpr double kMinModificationMass = -57.0;
constexpr double kMaxModificationMass = 1500.0;

}  // namespace zar
