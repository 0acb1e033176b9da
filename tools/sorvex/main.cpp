// sorvex27: searches the ".dta" spectra of a list with Comet and writes one ".out" file per
// spectrum beside it, with the settings of "sorvex.params".

#include "SorvexSearch.h"

#include "tools/common/SearchProgram.h"

#include "document/ZarMessages.h"

int main(int argc, char* argv[]) {
    static constexpr const char* kUsage =
        "Usage: sorvex27 [-R<list file>] [-P<parameter file>]\n"
        "Searches the .dta spectra named in the list file (one name a line, relative to the\n"
        "working folder; without -R every .dta file of the working folder) with Comet (the\n"
        "Debian program comet-ms) and writes base.first.last.charge.out beside each .dta file.\n"
        "The settings come from sorvex.params in the working folder, or from the file of -P.\n"
        "ZAR_COMET_WORK_DIR=<folder> keeps Comet's input and output there.\n"
        "Started by the program, it reports which file it searches and how far it has gone.\n"
        "Exit codes: 0 done, 1 some files could not be searched or written, 2 bad command line,\n"
        "3 parameter file, 4 database, 5 Comet missing or failed, 6 no spectra to search,\n"
        "7 stopped (SIGTERM) before the search was done.\n";
    return zar::RunSearchProgram(argc, argv,
                                 {"sorvex27", zar::kRegSorvexProgress, kUsage,
                                  zar::RunSorvexSearch, zar::kCometWorkVariable});
}
