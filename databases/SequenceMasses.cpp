#include "databases/SequenceMasses.h"

#include <cstring>

namespace zar {

SequenceMassTable SequenceMassTable::For(bool monoisotopic) {
    SequenceMassTable t;
    InitAminoAcidMasses(t.residue, monoisotopic, &t.oh, &t.h);
    return t;
}

double ResidueSum(const SequenceMassTable& masses, std::string_view sequence) {
    double sum = 0.0;
    for (const char c : sequence) sum += masses.residue[static_cast<unsigned char>(c)];
    return sum;
}

double ProtonatedMass(const SequenceMassTable& masses, std::string_view sequence) {
    return 2.0 * masses.h + masses.oh + ResidueSum(masses, sequence);
}

double NeutralMass(const SequenceMassTable& masses, std::string_view sequence) {
    return masses.h + masses.oh + ResidueSum(masses, sequence);
}

std::size_t FindText(std::string_view haystack, std::string_view needle) {
    if (needle.empty() || needle.size() > haystack.size()) return std::string_view::npos;
    const void* at = memmem(haystack.data(), haystack.size(), needle.data(), needle.size());
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - haystack.data())
              : std::string_view::npos;
}

std::optional<PeptidePosition> FindPeptide(std::string_view sequence, std::string_view peptide) {
    const std::size_t at = FindText(sequence, peptide);
    if (at == std::string_view::npos) return std::nullopt;
    const int first = static_cast<int>(at) + 1;
    return PeptidePosition{first, first + static_cast<int>(peptide.size()) - 1};
}

std::optional<PeptideStretch> StretchMass(const SequenceMassTable& masses,
                                          std::string_view sequence, std::string_view peptide) {
    const std::size_t at = FindText(sequence, peptide);
    if (at == std::string_view::npos) return std::nullopt;
    PeptideStretch s;
    s.first = static_cast<int>(at);
    s.last = s.first + static_cast<int>(peptide.size()) - 1;
    s.mass = ResidueSum(masses, sequence.substr(at, peptide.size()));
    return s;
}

}  // namespace zar
