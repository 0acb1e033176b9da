#pragma once
// Masses and peptide positions of protein sequences held as upper-case letter text.

#include "document/AminoAcidMasses.h"

#include <optional>
#include <string_view>

namespace zar {

// The residue masses of one mass type with the masses of H and OH.
struct SequenceMassTable {
    ResidueMassTable residue = ZeroResidueMasses();
    double h = 0.0;
    double oh = 0.0;

    static SequenceMassTable For(bool monoisotopic);
};

// Sum of the residue masses of the letters (no water, no proton).
double ResidueSum(const SequenceMassTable& masses, std::string_view sequence);
// The protonated molecule, MH+: 2 H + OH + residue sum.
double ProtonatedMass(const SequenceMassTable& masses, std::string_view sequence);
// The neutral molecule: H + OH + residue sum (the index builder's record mass).
double NeutralMass(const SequenceMassTable& masses, std::string_view sequence);

// Where a peptide first occurs in a sequence, 1-based and inclusive.
struct PeptidePosition {
    int first = 0;
    int last = 0;
};
std::optional<PeptidePosition> FindPeptide(std::string_view sequence, std::string_view peptide);

// The stretch of the first occurrence, 0-based and inclusive, with its residue sum.
struct PeptideStretch {
    int first = 0;
    int last = 0;
    double mass = 0.0;
};
// Nothing when the peptide does not occur (an empty peptide never occurs).
std::optional<PeptideStretch> StretchMass(const SequenceMassTable& masses,
                                          std::string_view sequence, std::string_view peptide);

// First occurrence of a needle in a haystack, fast on long texts; npos when absent.
std::size_t FindText(std::string_view haystack, std::string_view needle);

}  // namespace zar
