#pragma once
// Plain records of the de novo engine: the user's settings, one input scan, one residue of the
// alphabet and one row of the ranked candidate table.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace zar {

// The user's de novo settings, in the order the document, the dialog and the engine exchange
// them (four doubles, then four ints).
struct DenovoParams {
    double daTolerance = 0.3;
    double minimumPrimaryScore = 0.0;
    double ppmTolerance = 200.0;
    double noiseThreshold = 10.0;
    std::int32_t maximumPartialSequences = 256;
    std::int32_t maximumCandidates = 16;
    std::int32_t percentOfHighestScore = 50;
    std::int32_t expandPartialSequences = 0;
};
static_assert(sizeof(DenovoParams) == 48, "DenovoParams is a 48-byte record");

// Limits of the settings (the dialog's ranges; the engine clamps to them).
constexpr std::int32_t kDenovoMinListLength = 1;
constexpr std::int32_t kDenovoMaxListLength = 512;

// Kinds of input scan.
constexpr int kDenovoKindMS2 = 2;
constexpr int kDenovoKindMS3 = 3;

struct DenovoPoint {
    double mz = 0.0;
    double intensity = 0.0;
};

// One MSn scan of the run as the document hands it over: its kind (2 or 3), the precursor m/z
// read from its filter text, the charge of that precursor when the run states it (0 when
// unknown) and its points.
struct DenovoScan {
    int kind = kDenovoKindMS2;
    double precursor = 0.0;
    int charge = 0;
    std::vector<DenovoPoint> points;
};

// Reads the de novo kind and precursor from a scan's filter text: "ms2" followed by the
// precursor m/z, or "ms3" followed by two "m/z@energy" items of which the second is the
// precursor. False (nothing written) for any other scan.
bool ParseDenovoScanFilter(const QString& filter, int* kind, double* precursor);

// One letter of the residue alphabet; the nominal mass is the integer part of the mass.
struct DenovoResidue {
    char letter = 0;
    double mass = 0.0;
    int nominal = 0;
};

// The alphabet the program sequences with: "ARNDCGEHLKMFPSTWYV" with their monoisotopic masses
// (I and Q have the masses of L and K and are not listed).
std::vector<DenovoResidue> DenovoStandardResidues();
constexpr const char* kDenovoStandardLetters = "ARNDCGEHLKMFPSTWYV";

// The candidate a view selected (message 0x40AD carries a copy): the leading and trailing gaps
// (nominal mass, 0 when there is none) and the residue letters between them.
struct DenovoSelectionRecord {
    int first = 0;
    int second = 0;
    QString text;
};

// One row of the ranked candidate table.
struct DenovoCandidate {
    QString sequence;
    double mh = 0.0;  // [M+H]+
    double s0 = 0.0;
    double cs1d = 0.0;
    double csMS2 = 0.0;
    double cs2d = 0.0;
};

}  // namespace zar
