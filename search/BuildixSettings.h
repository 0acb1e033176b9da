#pragma once
// The settings of the indexed-database builder as "buildix.params" holds them: the database,
// the digest (enzyme or length range), mass type and range, and the modifications. The database
// indexer dialog edits them; the builder reads the same file.

#include "ModificationTables.h"

#include <QString>
#include <QStringList>

#include <array>

namespace zar {

class CParamFile;
struct EnzymeRecord;

struct BuildixSettings {
    static constexpr int kEnzymeSlots = 25;
    static constexpr int kDefaultMinLength = 6;
    static constexpr int kDefaultMaxLength = 15;
    static constexpr double kDefaultLowMass = 700.0;
    static constexpr double kDefaultHighMass = 3500.0;
    static constexpr int kDefaultCleavageSites = 2;
    static constexpr int kDefaultDifferentialPerMod = 4;
    // The reading frames the dialog writes for a nucleotide database (all six).
    static constexpr int kAllReadingFrames = 3;

    QString databaseName;   // "database_name": the FASTA file
    QString sortDirectory;  // "sort_directory"
    QString sortProgram;    // "sort_program"
    int enzymeNumber = 1;   // 0: no enzyme
    int databaseType = 0;   // 0 protein, 1 nucleotide
    int readingFrames = 0;  // 0 none, 1 three forward, 2 three reverse, 3 all six
    int massType = 0;       // 0 average, 1 monoisotopic
    double lowMass = kDefaultLowMass;
    double highMass = kDefaultHighMass;
    int maxCleavageSites = kDefaultCleavageSites;
    int maxDifferentialPerMod = kDefaultDifferentialPerMod;
    std::array<DifferentialModification, ModificationTables::kDifferentialCount> diffMods;
    // The 28 entries of the static table; the two protein-terminus entries (1 and 3) have no
    // name, as the builder has no such modification.
    std::array<StaticModification, ModificationTables::kStaticCount> staticMods =
        BuildixStaticModifications();

    // Names from the string table, every mass 0.
    static std::array<StaticModification, ModificationTables::kStaticCount>
    BuildixStaticModifications();
};

// What reading the file found wrong.
struct BuildixReadResult {
    bool hasDatabaseName = false;   // no "database_name" entry: the file is not usable
    bool diffOutOfRange = false;    // a differential mass outside -57.0 to 1500.0
    bool staticOutOfRange = false;  // a static mass outside -57.0 to 1500.0 (not taken)
};

// Reads every entry the file holds into the settings; missing entries keep their values.
BuildixReadResult ReadBuildixSettings(const CParamFile& file, BuildixSettings& settings);

// "Error in buildix.params file. ..." naming what was out of range.
QString BuildixOutOfRangeMessage(const BuildixReadResult& result);

// Writes the settings and the enzyme section (25 records) into the store; false when an entry
// could not be written (its message has been shown). The store is not saved.
bool WriteBuildixSettings(CParamFile& file, const BuildixSettings& settings,
                          const EnzymeRecord* enzymes);

// The enzyme of a number as the file's enzyme section lists it ("1.  Trypsin  1  KR  -");
// false when the section has no such line.
bool ReadBuildixEnzyme(const CParamFile& file, int number, EnzymeRecord& enzyme);
// The same for the enzyme section that begins with sectionHeader ("[MASSMAP_ENZYME_INFO]").
bool ReadEnzymeRow(const CParamFile& file, const QString& sectionHeader, int number,
                   EnzymeRecord& enzyme);

// The builder's arguments: -U ("-" keeps duplicate peptides, "+" drops them), -D the FASTA
// file, -O the indexed database, and with no enzyme -E and -S the shortest and longest
// sub-sequence.
QStringList BuildixArguments(bool includeDuplicates, const QString& fastaName,
                             const QString& indexedName, bool useEnzyme, int minLength,
                             int maxLength);

}  // namespace zar
