#pragma once
// Translation of nucleotide text into protein letters by the standard genetic code.

#include <string>
#include <string_view>

namespace zar {

// The letter that stop codons and codons that cannot be read translate to.
constexpr char kStopOrUnknown = '@';

// The amino acid of the codon whose characters stand at i, i + step, i + 2 * step (step +1
// forward, -1 backward). Only upper-case A, C, G, T are nucleotides; in the four-fold boxes the
// third character is not examined.
char TranslateCodon(std::string_view nucleotides, std::ptrdiff_t i, int step);

// A↔T, C↔G letter by letter; every other character unchanged.
std::string Complement(std::string_view nucleotides);

// Reading frames 1 to 3 read forward from the first, second and third nucleotide; frames 4 to 6
// read the complementary strand backward from the last, second-last and third-last nucleotide.
// Any other frame translates nothing.
std::string TranslateFrame(std::string_view nucleotides, int frame);

}  // namespace zar
