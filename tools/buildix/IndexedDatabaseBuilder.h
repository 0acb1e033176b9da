#pragma once
// Builds an indexed database from a FASTA file: every protein (or every translated reading
// frame of a nucleotide entry) is digested by an enzyme, or cut into all sub-sequences of a
// length range; static modifications change the residue masses, differential modifications
// add variants carrying 1, 2, ... modified residues; the peptides are sorted by mass.
//
// Files, for the indexed name "db.fasta.hdr":
//   db.fasta.hdr           the description the program's readers read ("SORVEX_INDEXED_DATABASE")
//   db.fasta.proteins.idx  the FASTA index of the original database (its "IndexName:")
//   db.fasta.peptides      the peptide table: one FASTA entry per peptide, in ascending mass
//   db.fasta.peptides.idx  its FASTA index; each record's mass is the peptide's MH+
// A peptide entry's header reads
//   "<protein> <first>-<last> <frame> <k1>/<k2>/<k3> <MH+> <reference>"
// with the protein's entry number in the original database, the residue positions (from 1) in
// the protein or in its translated frame, the frame (0 for a protein database), the number of
// residues carrying each differential modification, the mass with five decimals and the first
// word of the protein's header; its sequence is the peptide's letters.
// Every file is written through a temporary file. A database holds two sets of these files
// under its name: the one above and "db.fasta.alt.proteins.idx", "db.fasta.alt.peptides",
// "db.fasta.alt.peptides.idx". The description names the set it belongs to; a new build writes
// the set that the present description does not name and replaces the description last, then
// removes the other set. So a build that fails or is stopped at any point leaves the database
// that was there before, whole, and a finished one replaces it as one.

#include "databases/WorkProgress.h"
#include "document/EnzymeTable.h"
#include "search/BuildixSettings.h"

#include <QString>

namespace zar {

struct IndexedDatabaseFiles {
    QString header;
    QString proteinIndex;
    QString peptideTable;
    QString peptideIndex;

    // The files of an indexed name; a name without ".hdr" gets it appended.
    static IndexedDatabaseFiles For(const QString& indexedName);
    // The second set of files of an indexed name.
    static IndexedDatabaseFiles AlternateFor(const QString& indexedName);
    // The set that the description of an indexed name names (For when it names neither).
    static IndexedDatabaseFiles InUse(const QString& indexedName);
    // The set that a new build of an indexed name writes: the one not in use.
    static IndexedDatabaseFiles ForNewBuild(const QString& indexedName);
};

struct IndexedDatabaseBuildOptions {
    QString fastaPath;
    QString indexedName;
    bool keepDuplicates = true;  // false: each peptide (with its modifications) once
    bool useEnzyme = true;       // false: all sub-sequences of minLength to maxLength
    int minLength = BuildixSettings::kDefaultMinLength;
    int maxLength = BuildixSettings::kDefaultMaxLength;
    EnzymeRecord enzyme;  // the cleavage rule with an enzyme
    BuildixSettings settings;
};

struct IndexedDatabaseBuildResult {
    bool ok = false;
    QString message;  // what failed, or the summary
    int proteins = 0;
    qint64 peptides = 0;
};

IndexedDatabaseBuildResult BuildIndexedDatabase(const IndexedDatabaseBuildOptions& options,
                                                const WorkProgress& progress = WorkProgress());

}  // namespace zar
