#pragma once
// Writes the demo data set into a folder: the run ("demo.mzML"), its database ("demo.fasta"),
// the results folders ("results/" and a second search of the run in "results2/", ".out" and
// ".dta" files; "peptide-mapping/": a peptide-mapping search of the same spectra) and a
// "README.txt" that records what was put into the run (light/heavy ratios, the intact
// protein's scan and mass).

#include "DemoRun.h"

#include <QString>

namespace zar {

inline constexpr const char* kDemoResultsFolder = "results";
inline constexpr const char* kDemoSecondResultsFolder = "results2";
inline constexpr const char* kDemoPeptideMappingFolder = "peptide-mapping";

// Writes the run's files into folder (made when missing). A folder that already exists is
// refused unless force is set; then the demo's own files in it are replaced. False with a
// text for the user on any failure.
bool WriteDemoFolder(const QString& folder, const DemoRun& run, bool force, QString& error);

// What README.txt says about the run.
QString DemoReadmeText(const DemoRun& run);

}  // namespace zar
