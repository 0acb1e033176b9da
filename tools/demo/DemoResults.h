#pragma once
// The results folder of the demo run, as the search engine would have written it: one ".out"
// file per MS2 spectrum with ranked hits (the spectrum's true peptide first, decoy and
// background peptides of about the same mass below) and the ".dta" spectrum it was searched
// with.

#include "DemoRun.h"

#include <QString>

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
    QString baseName;           // "demo.0123.0123.2"
    int ms2 = 0;                // index into DemoRun::ms2
    std::vector<DemoHit> hits;  // by XCorr, highest first
};

// One file per MS2 scan of the run, in scan order; the run's settings may ask for fewer or more
// (see DemoSettings::outFileCount).
std::vector<DemoOutFile> MakeDemoResults(const DemoRun& run);

// The ".out" text of a file.
QString DemoOutText(const DemoRun& run, const DemoOutFile& file);
// The ".dta" text of the file's spectrum: MH+ and charge, then the peaks.
QString DemoDtaText(const DemoRun& run, const DemoOutFile& file);

}  // namespace zar
