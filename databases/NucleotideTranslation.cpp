#include "databases/NucleotideTranslation.h"

namespace zar {

namespace {

// Index of a nucleotide in the order T, C, A, G of the standard code table; -1 for others.
int BaseIndex(char c) {
    switch (c) {
        case 'T':
            return 0;
        case 'C':
            return 1;
        case 'A':
            return 2;
        case 'G':
            return 3;
        default:
            return -1;
    }
}

// NCBI translation table 1, first base major, bases in the order T, C, A, G; '*' is a stop.
constexpr char kCode[] = "FFLLSSSSYY**CC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG";

bool IsFourFoldBox(int first, int second) {
    // TC*, CT*, CC*, CG*, AC*, GT*, GC*, GG* code one amino acid whatever the third base.
    const char box[] = {"TCAG"[first], "TCAG"[second], 0};
    static const char* const kBoxes[] = {"TC", "CT", "CC", "CG", "AC", "GT", "GC", "GG"};
    for (const char* b : kBoxes)
        if (b[0] == box[0] && b[1] == box[1]) return true;
    return false;
}

}  // namespace

char TranslateCodon(std::string_view s, std::ptrdiff_t i, int step) {
    const auto at = [&](std::ptrdiff_t k) -> char {
        return k >= 0 && k < static_cast<std::ptrdiff_t>(s.size()) ? s[static_cast<std::size_t>(k)]
                                                                   : '\0';
    };
    const int b1 = BaseIndex(at(i));
    const int b2 = BaseIndex(at(i + step));
    if (b1 < 0 || b2 < 0) return kStopOrUnknown;
    if (IsFourFoldBox(b1, b2)) return kCode[b1 * 16 + b2 * 4];
    const int b3 = BaseIndex(at(i + 2 * step));
    if (b3 < 0) return kStopOrUnknown;
    const char aa = kCode[b1 * 16 + b2 * 4 + b3];
    return aa == '*' ? kStopOrUnknown : aa;
}

std::string Complement(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        switch (c) {
            case 'A':
                c = 'T';
                break;
            case 'T':
                c = 'A';
                break;
            case 'C':
                c = 'G';
                break;
            case 'G':
                c = 'C';
                break;
            default:
                break;
        }
    }
    return out;
}

std::string TranslateFrame(std::string_view s, int frame) {
    std::string protein;
    const auto length = static_cast<std::ptrdiff_t>(s.size());
    if (frame >= 1 && frame <= 3) {
        protein.reserve(s.size() / 3);
        for (std::ptrdiff_t i = frame - 1; i + 2 < length; i += 3)
            protein.push_back(TranslateCodon(s, i, 1));
    } else if (frame >= 4 && frame <= 6) {
        const std::string complement = Complement(s);
        protein.reserve(s.size() / 3);
        for (std::ptrdiff_t i = length - (frame - 3); i >= 2; i -= 3)
            protein.push_back(TranslateCodon(complement, i, -1));
    }
    return protein;
}

}  // namespace zar
