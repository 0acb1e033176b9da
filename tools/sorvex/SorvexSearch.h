#pragma once
// One run of the search program: the ".dta" spectra of a list are gathered into one MGF file,
// our parameters are translated into Comet's, Comet scores every spectrum in one run, and each
// spectrum gets its ".out" file beside its ".dta" file, with Comet's hits in the layout the
// result readers read.
//
// Progress: Comet searches all spectra in one pass; the percentage it prints is spread over the
// files in list order, from the start of the pass, and the last files are reported as their
// .out files are written, so that "file k of n", the seconds per file and the time left follow
// the work.

#include "tools/common/SearchSetup.h"

namespace zar {

SearchRunResult RunSorvexSearch(const SearchRunOptions& options,
                                const SearchRunEvents& events = {});

inline constexpr const char* kSorvexParamsName = "sorvex.params";
// Names a folder where Comet's input and output are kept.
inline constexpr const char* kCometWorkVariable = "ZAR_COMET_WORK_DIR";

}  // namespace zar
