#pragma once
// The search parameters of one opened result, read from the header of its first ".out" file.

#include "document/AminoAcidMasses.h"

#include <QString>

#include <array>

namespace zar {

constexpr int kIonSeriesCount = 9;

struct SearchParameters {
    ResidueMassTable residueMasses = ZeroResidueMasses();  // static modifications overwrite it
    double hydrogen = 0.0;
    double hydroxyl = 0.0;
    double minimumCorrelation = 0.0;  // hit lines with a lower XCorr add no consensus row
    std::array<double, 3> differentialMasses{};  // the third is unused
    std::array<QChar, 3> differentialSymbols{QLatin1Char(' '), QLatin1Char(' '), QLatin1Char(' ')};
    double fragmentTolerance = 0.0;
    double precursorTolerance = 0.0;
    double cTermPeptide = 0.0;
    double cTermProtein = 0.0;
    double nTermPeptide = 0.0;
    double nTermProtein = 0.0;
    int numberOfProteins = 0;  // of the indexed database
    int revision = 0;          // program-line revision of the last file read
    int proteinMassesWanted = 1;
    int nucleotide = 0;              // 0 for a protein database
    std::array<int, 3> ionSeries{};  // the three integers of the ion-series line
    int monoisotopicPrecursor = 0;
    int monoisotopicFragments = 0;
    QString databaseFile;  // file-name part of the database name
    QString databaseName;  // as read (extension cut)
    QString secondDatabaseName;
    QString ionSeriesText = QStringLiteral("000000000");
    QString modificationText;
};

}  // namespace zar
