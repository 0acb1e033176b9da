#pragma once
// One run of the peptide-mapping program. Every protein of the database is digested once with
// the Pepmap digest (the search's enzyme, up to its number of missed cleavages, its mass type
// and static modifications). Each listed MS spectrum's peaks above the noise floor (0.5 % of its
// intensity) are decharged: an isotope envelope becomes one singly charged ion. Ions below
// kMassmapSmallestIon and ions that most spectra of the run show (background) are left out;
// every database peptide whose (M+H)+ lies within the peptide tolerance of an ion is found. A
// protein scores -10 log10 of the chance that a random protein of its digest size explains as
// many distinct ions, each ion weighed by how many database peptides have its mass; the best
// proteins are written with one hit line per found peptide (strongest ion first), so that all
// lines of a protein share its score and rank.

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
// Smaller ions ((M+H)+) are matched by too many short peptides of any protein to tell one.
constexpr double kMassmapSmallestIon = 500.0;
// Background: an ion within this distance ((M+H)+) of an ion in more than this share of the
// listed spectra, judged only in lists of at least kMassmapBackgroundLeastSpectra spectra.
constexpr double kMassmapBackgroundTolerance = 0.02;
constexpr double kMassmapBackgroundShare = 0.5;
constexpr int kMassmapBackgroundLeastSpectra = 10;

}  // namespace zar
