#pragma once
// Shared pieces of the FASTA database utilities: the validity check of a database, adding one
// typed entry, and the layout in which entries are written.

#include <QByteArray>
#include <QString>

#include "databases/FastaSelection.h"

#include <limits>

namespace zar {

// Sequences are written this many characters a line.
constexpr int kFastaLineWidth = 80;
// The first line of a database is checked up to this many characters.
constexpr int kMaxValidityLineChars = 4095;
// The limit of an edit that holds a sequence: none that a protein could reach, so that a long
// one is never cut to an edit's usual 32,767 characters.
constexpr int kSequenceEditLimit = std::numeric_limits<int>::max();
// The longest sequence an added entry may have: the selection refuses a longer one.
constexpr int kMaxEntrySequenceChars = kMaxSelectSequenceChars;

// The sequence as lines of kFastaLineWidth, each ended by "\n"; an empty sequence gives one
// empty line.
QByteArray SequenceLines(const QByteArray& sequence);

// A header with any "[MASS=" annotation and the blank before it removed, so that a new one can
// take its place.
QString WithoutMassAnnotation(const QString& header);

// The database's first line begins with '>' and ends with a line end. Shows why not.
bool IsValidProteinDatabase(const QString& path);

// Whether two paths name the same file (the second may not exist yet).
bool IsSameFile(const QString& a, const QString& b);

// Copies an existing file into the writer's output, ending it with a line end if it had none.
class AtomicTextWriter;
bool CopyForAppend(const QString& path, AtomicTextWriter& writer);

struct AddEntryRequest {
    QString databasePath;
    QString description;
    QString sequence;
    bool nucleotide = false;
    int massOption = 0;  // 0 calculated, 1 the user's mass, 2 no mass
    double userMass = 0.0;
};

struct AddEntryResult {
    bool added = false;
    int badIndex = -1;  // the sequence character that has no mass, -1 when none
    // The field to put right: an empty description, an empty or too long sequence.
    enum class Field { None, Description, Sequence } field = Field::None;
};

// Appends the entry to the database (whole, or not at all) and tells the user the outcome.
AddEntryResult AddDatabaseEntry(const AddEntryRequest& request);

// The mass of a nucleotide letter for the Add page, 0 for other characters.
double NucleotideMass(char c);

}  // namespace zar
