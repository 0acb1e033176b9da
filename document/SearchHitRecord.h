#pragma once
// One scored peptide match of one spectrum: the top-ranked hit of one search-engine ".out" file.

#include "document/HitNumber.h"

#include <QString>

#include <cstdint>

namespace zar {

// Capacities of the record's texts as the files and views know them; a reader copies at most
// capacity - 1 characters.
constexpr int kDatabaseFileCapacity = 200;
constexpr int kFileInformationCapacity = 200;
constexpr int kReferenceCapacity = 100;
constexpr int kSecondDatabaseCapacity = 200;
constexpr int kPeptideCapacity = 200;

// Replaces field with at most capacity - 1 characters of text.
void SetLimitedText(QString& field, QStringView text, int capacity);

struct SearchHitRecord {
    // Bits of ionSeriesFlags.
    static constexpr std::uint16_t kIonSeriesFirst = 0x1;
    static constexpr std::uint16_t kIonSeriesSecond = 0x2;
    static constexpr std::uint16_t kIonSeriesThird = 0x4;

    QString path;  // results folder + file name without ".out" ("...base.first.last.charge")

    // XPRESS block, written by the quantitation engine.
    double lightMass = 0.0;
    double lightArea = 0.0;
    std::int32_t lightPeakStart = 0;
    std::int32_t lightPeakEnd = 0;
    double heavyMass = 0.0;
    double heavyArea = 0.0;
    std::int32_t heavyPeakStart = 0;
    std::int32_t heavyPeakEnd = 0;

    double hitMass = 0.0;            // (M+H)+ of the top hit; the precursor when there is none
    double quantitationRatio = 0.0;  // signed XPRESS ratio, 0 until quantified
    double precursorMass = 0.0;      // measured (M+H)+ from the header
    double deltaCorrelation = 0.0;   // delta Cn after the similar-peptide rule
    double proteinMass = 0.0;        // from the database; 0 when not found
    double preliminaryScore = 0.0;   // Sp (peptide mapping: the score column)
    double combinedScore = 0.0;      // XCorr * (Sp + 10000 * (1 - delta Cn)^2)
    double correlation = 0.0;        // XCorr
    std::int32_t proteinNumber = 0;  // entry number in the searched database, 0 when absent
    std::int32_t recordIndex = 0;    // the record's own index; its hit number is this + 1
    std::int32_t furtherReferences = 0;
    std::int32_t ionsMatched = 0;
    std::int32_t ionsTotal = 0;
    std::int32_t preliminaryRank = 0;
    std::int32_t correlationRank = 0;
    std::uint16_t ionSeriesFlags = 0;
    std::int32_t shown = 0;      // rewritten by the summary filter
    std::int32_t displayed = 0;  // set in the records of the show-output block
    std::int32_t monoisotopicPrecursor = 0;

    QString databaseFile;     // file-name part of the searched database, extension removed
    QString fileInformation;  // line 2 of the file; the failing path when it cannot be opened
    QString reference;        // protein reference of the top hit
    QString secondDatabase;
    QString peptide;  // as written in the hit line, "X.PEPTIDE.Y"

    HitNumber hitNumber() const { return HitNumber::OfRecordIndex(recordIndex); }

    // Clears every number and text; the path is kept.
    void reset();

    void setDatabaseFile(QStringView t) { SetLimitedText(databaseFile, t, kDatabaseFileCapacity); }
    void setFileInformation(QStringView t) {
        SetLimitedText(fileInformation, t, kFileInformationCapacity);
    }
    void setReference(QStringView t) { SetLimitedText(reference, t, kReferenceCapacity); }
    void setSecondDatabase(QStringView t) {
        SetLimitedText(secondDatabase, t, kSecondDatabaseCapacity);
    }
    void setPeptide(QStringView t) { SetLimitedText(peptide, t, kPeptideCapacity); }
};

}  // namespace zar
