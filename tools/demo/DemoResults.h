#pragma once
// The results folders of the demo run. A search as the search engine would have written it:
// one ".out" file per MS2 spectrum with ranked hits (the spectrum's true peptide first, decoy
// and background peptides of about the same mass below) and the ".dta" spectrum it was
// searched with; the run is searched twice, the second time with a wider precursor window. And
// a peptide-mapping search of the same spectra in the peptide-mapping program's layout.

#include "DemoRun.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace zar {

// Hits written per file: the true peptide and this many others.
constexpr int kDemoDecoyHits = 4;
// Precursor tolerance of the search, (M+H)+ units.
constexpr double kDemoPrecursorTolerance = 1.5;
// The database as the ".out" files name it, relative to the results folder.
inline constexpr const char* kDemoDatabaseName = "../demo.fasta";

struct DemoHit {
    QString reference;
    QString peptide;  // "K.PEPTIDEK.R"
    double mh = 0.0;  // (M+H)+ of the peptide
    double xcorr = 0.0;
    double deltaCn = 0.0;
    double sp = 0.0;
    int spRank = 0;
    int ionsMatched = 0;
    int ionsTotal = 0;
};

struct DemoOutFile {
    QString baseName;  // "demo.0123.0123.2"
    int ms2 = 0;       // index into DemoRun::ms2
    double precursorTolerance = kDemoPrecursorTolerance;
    std::vector<DemoHit> hits;  // by XCorr, highest first
};

// One search of the run: its own random numbers and precursor window.
struct DemoSearch {
    std::uint64_t seedOffset = 0x5EA5C4;
    double precursorTolerance = kDemoPrecursorTolerance;
    // The run's settings may ask for fewer or more files (DemoSettings::outFileCount).
    bool followsFileCount = true;
};
// The second search of the run: a wider window, one file per MS2 scan.
DemoSearch DemoSecondSearch();

// One file per MS2 scan of the run, in scan order.
std::vector<DemoOutFile> MakeDemoResults(const DemoRun& run,
                                         const DemoSearch& search = DemoSearch());

// The ".out" text of a file.
QString DemoOutText(const DemoRun& run, const DemoOutFile& file);
// The ".dta" text of an MS2 spectrum (index into DemoRun::ms2): MH+ and charge, then the peaks.
QString DemoDtaText(const DemoRun& run, int ms2);
inline QString DemoDtaText(const DemoRun& run, const DemoOutFile& file) {
    return DemoDtaText(run, file.ms2);
}

// Peptide mapping: candidates of the database within the precursor window, scored by the
// share of their fragments found; the true peptide scores best. Equal scores share a rank.
constexpr double kDemoMappingTolerance = 2.0;
constexpr int kDemoMappingCandidates = 5;

struct DemoMappingHit {
    QString reference;
    QString peptide;  // "K.PEPTIDEK.R"
    double mh = 0.0;
    double score = 0.0;  // whole points
    int ionsMatched = 0;
    int ionsTotal = 0;
};

struct DemoMappingFile {
    QString baseName;  // as the search's files
    int ms2 = 0;
    std::vector<DemoMappingHit> hits;  // by score, highest first
};

// One file per MS2 scan of the run, in scan order.
std::vector<DemoMappingFile> MakeDemoPeptideMapping(const DemoRun& run);
// The ".out" text of a peptide-mapping file.
QString DemoMappingOutText(const DemoRun& run, const DemoMappingFile& file);
// The rank the readers give each hit line of a file (1 for the best, equal scores alike).
std::vector<int> DemoMappingRanks(const DemoMappingFile& file);

}  // namespace zar
