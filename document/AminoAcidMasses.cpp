#include "document/AminoAcidMasses.h"

#include <cctype>

namespace zar {

namespace {

struct ResidueMass {
    char letter;
    double mono;
    double average;
};

constexpr ResidueMass kResidues[] = {
    {'A', 71.0371136, 71.0788},    {'B', 114.534935, 114.59622},  {'C', 103.0091854, 103.1388},
    {'D', 115.0269428, 115.0886},  {'E', 129.0425928, 129.11548}, {'F', 147.0684136, 147.17656},
    {'G', 57.0214636, 57.05192},   {'H', 137.0589116, 137.14108}, {'I', 113.0840636, 113.15944},
    {'K', 128.0949626, 128.17408}, {'L', 113.0840636, 113.15944}, {'M', 131.0404854, 131.19256},
    {'N', 114.0429272, 114.10384}, {'O', 114.0793126, 114.1472},  {'P', 97.0527636, 97.11668},
    {'Q', 128.0585772, 128.13072}, {'R', 156.1011106, 156.18748}, {'S', 87.0320282, 87.0782},
    {'T', 101.0476782, 101.10508}, {'V', 99.0684136, 99.13256},   {'W', 186.0793126, 186.2132},
    {'X', 113.0840636, 113.15944}, {'Y', 163.0633282, 163.17596}, {'Z', 128.550585, 128.6231},
};

}  // namespace

void InitAminoAcidMasses(ResidueMassTable& table, bool monoisotopic, double* hydroxyl,
                         double* hydrogen) {
    for (const ResidueMass& r : kResidues) {
        const double m = monoisotopic ? r.mono : r.average;
        table[static_cast<unsigned char>(r.letter)] = m;
        table[static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(r.letter)))] = m;
    }
    const double h = monoisotopic ? kHydrogenMono : kHydrogenAverage;
    if (hydrogen) *hydrogen = h;
    if (hydroxyl) *hydroxyl = h + (monoisotopic ? kOxygenMono : kOxygenAverage);
}

}  // namespace zar
