#pragma once
// What both search programs do before they search: read the parameter file, find the database,
// read the listed spectra; and the header values their ".out" files share.

#include "OutFileText.h"
#include "SearchParamsFile.h"
#include "SpectrumFiles.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zar {

struct DatabaseTally;

// A run of a search program: where, on what, with which settings.
struct SearchRunOptions {
    QString folder;      // the results folder: ".dta" names are relative to it
    QString listPath;    // empty: every ".dta" file of the folder
    QString paramsPath;  // empty: the program's parameter file in the folder
    // Where the scoring engine's files go; empty: a temporary folder, removed at the end. A
    // given folder is kept.
    QString workFolder;
};

struct SearchRunEvents {
    std::function<void(int file, int percent)> searching;  // file from 1, database percent
    std::function<void(int file, int seconds)> fileDone;
};

struct SearchRunResult {
    int exitCode = 0;   // ToolExitCode
    QString message;    // why it failed
    QStringList notes;  // spectra that could not be used
    int outFiles = 0;
};

struct SearchSetup {
    QString folder;  // the results folder
    SearchParamsFile params;
    QString fasta;  // the FASTA file searched
    std::vector<ListedSpectrum> spectra;
    QStringList notes;  // listed spectra that cannot be used
};

// Fills the setup; on failure returns the exit code (ToolExitCode) with a text, else 0.
// paramsPath empty: paramsName in the folder. listPath empty: every ".dta" of the folder.
int PrepareSearch(const QString& folder, const QString& listPath, const QString& paramsPath,
                  const char* paramsName, SearchSetup& setup, QString& error);

// Header values of every ".out" file of the search (the per-spectrum ones are left out).
OutFileHeader SearchOutHeader(const SearchSetup& setup, const DatabaseTally& tally);

// The date and time of a search as line 6 writes them: "01/15/2026, 10:00 AM".
QString SearchDateText();

// The static modifications of the search as the modifications line writes them, the
// differential ones with them when withDifferential.
QString SearchModificationsLine(const SearchParamsFile& params, bool withDifferential);

// The spectrum's summed intensity.
double TotalIntensity(const CDtaSpectrum& spectrum);

}  // namespace zar
