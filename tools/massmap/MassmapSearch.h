#pragma once
// One run of the peptide-mapping program. Every protein of the database is digested once with
// the Pepmap digest (the search's enzyme, up to its number of missed cleavages, its mass type
// and static modifications). Each listed MS spectrum's peaks above the noise floor (0.5 % of its
// intensity) are decharged: an isotope envelope becomes one singly charged ion. The Pepmap
// matcher then finds every peptide whose (M+H)+ lies within the peptide tolerance of one. A
// protein scores the share of the spectrum's intensity its found peptides take (per cent); the
// best proteins are written with one hit line per found peptide, so that all lines of a
// protein share its score and rank.

#include "tools/common/SearchSetup.h"

namespace zar {

SearchRunResult RunMassmapSearch(const SearchRunOptions& options,
                                 const SearchRunEvents& events = {});

inline constexpr const char* kMassmapParamsName = "massmap.params";
// Peaks at or below this share of a spectrum's intensity are noise.
constexpr double kMassmapNoiseShare = 0.005;
// Isotope envelopes: spacing of 13C isotopes, how far a peak may lie from its place (m/z), and
// the highest charge looked for.
constexpr double kMassmapIsotopeSpacing = 1.0033548;
constexpr double kMassmapIsotopeTolerance = 0.02;
constexpr int kMassmapMaxCharge = 6;

}  // namespace zar
