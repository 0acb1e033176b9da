#pragma once
// The settings of a search as the search programs read them from "sorvex.params" or
// "massmap.params": the database, tolerances, enzyme, modifications, mass types, ion series and
// output sizes. Keys are found as the program's sheets write them.

#include "document/EnzymeTable.h"

#include <QString>

#include <array>

namespace zar {

// The widest values a search accepts.
inline constexpr double kMaxPeptideTolerance = 100.0;   // (M+H)+ units
inline constexpr double kMaxFragmentTolerance = 10.0;
inline constexpr double kMaxOutputLines = 500.0;        // the readers' display block
inline constexpr double kMaxNumResults = 5000.0;
inline constexpr double kMaxCleavageSites = 10.0;
inline constexpr double kMaxDifferentialPerMod = 10.0;
inline constexpr double kMaxModification = 1000.0;      // Da, either sign

struct SearchDifferentialMod {
    QString residues;  // upper case
    double mass = 0.0;
    QChar symbol;      // '*', '#', '@' in order
};

struct SearchParamsFile {
    QString database;        // first_database_name (else database_name), portable form
    double peptideTolerance = 1.0;  // (M+H)+ units
    // ion_series: three neutral-loss switches (a, b, y) and the weights of a b c d v w x y z.
    std::array<int, 3> neutralLoss = {0, 1, 1};
    std::array<double, 9> ionWeights = {0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0};
    double fragmentTolerance = 0.0;  // 0: the engine's own for the data
    int outputLines = 10;
    int numResults = 500;
    int descriptionLines = 3;
    bool printDuplicateReferences = false;
    int enzymeNumber = 0;
    EnzymeRecord enzyme;  // the row of enzymeNumber; empty for none
    int maxDifferentialPerMod = 4;
    std::vector<SearchDifferentialMod> differential;  // those with a mass and residues
    int readingFrame = 0;
    bool monoParent = false;
    bool monoFragment = false;
    bool removePrecursorPeak = false;
    double ionCutoff = 0.0;
    int cleavageSites = 2;
    double proteinMassLow = 0.0;  // protein_mass_filter; both 0: unused
    double proteinMassHigh = 0.0;
    QString partialSequence;
    // Static additions by residue letter ('A'..'Z') and at the termini.
    std::array<double, 26> staticResidue{};
    double nTermPeptide = 0.0;
    double cTermPeptide = 0.0;
    double nTermProtein = 0.0;
    double cTermProtein = 0.0;

    // The ion-series values as a ".out" header writes them: "0 1 1 0.0 1.0 ...".
    QString IonSeriesText() const;
};

// Reads the parameter file; false with a text naming the file and what is wrong with it (it
// cannot be read, it names no database, a value is not a number or out of range, the enzyme
// number is not listed).
bool ReadSearchParamsFile(const QString& path, SearchParamsFile& params, QString& error);

}  // namespace zar
