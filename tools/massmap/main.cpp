// massmap: matches the MS spectra of a list against the digest of the database's proteins and
// writes one peptide-mapping ".out" file per spectrum beside it, with the settings of
// "massmap.params".

#include "MassmapSearch.h"

#include "tools/common/SearchProgram.h"

#include "document/ZarMessages.h"

int main(int argc, char* argv[]) {
    static constexpr const char* kUsage =
        "Usage: massmap [-R<list file>] [-P<parameter file>]\n"
        "Matches the MS spectra (.dta files) named in the list file (one name a line, relative\n"
        "to the working folder; without -R every .dta file of the working folder) against the\n"
        "digest of every protein of the database and writes base.first.last.charge.out beside\n"
        "each .dta file: the proteins whose peptides explain more of the spectrum's ions than a\n"
        "random protein of their digest size would, the least likely by chance first.\n"
        "The settings come from massmap.params in the working folder, or from the file of -P.\n"
        "Exit codes: 0 done, 1 some files could not be searched or written, 2 bad command line,\n"
        "3 parameter file, 4 database, 6 no spectra to search, 7 stopped (SIGTERM).\n";
    return zar::RunSearchProgram(argc, argv,
                                 {"massmap", zar::kRegMassmapProgress, kUsage,
                                  zar::RunMassmapSearch, nullptr});
}
