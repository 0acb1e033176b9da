#pragma once
// Search databases: telling a usable database file from anything else, and taking over the
// settings (enzyme, mass type, modifications, mass range) of an indexed database's ".hdr"
// description into the search set-up.

#include "ModificationTables.h"

#include "document/IndexedDatabaseHeader.h"

#include <QString>

#include <array>

namespace zar {

// The longest residue set of a differential modification in a header.
inline constexpr int kMaxHeaderResidues = 9;

// True for an indexed-database header (first line begins with the magic text), a FASTA file
// (first byte '>') or a file whose first byte is a control or non-ASCII byte. A file that cannot
// be opened or is empty is not usable.
bool IsValidDatabaseFile(const QString& path);
// The same for the first bytes of a file.
bool IsValidDatabaseBytes(const QByteArray& bytes);

// Sets the static modifications named by a header's text: "Cterm=" and "Nterm=" tokens set the
// peptide-terminal entries, a residue token ("C=57.02") its residue's entry; other entries are
// left as they were. A text of one character or none sets all 28 to 0.0.
void ApplyHeaderStaticModifications(const QString& text, ModificationTables& tables);

// Reads up to three "(residues mass)" groups; a residue set loses a final "*". Entries not read
// are empty with 0.0. More than three groups, or none, read nothing. Returns the groups read.
int ParseHeaderDifferentialModifications(
    const QString& text,
    std::array<DifferentialModification, ModificationTables::kDifferentialCount>& out);

// The whole-number "MinimumMass:" and "MaximumMass:" of a header, read up to the "EnzymeName:"
// line; true when both are found and not zero.
bool ReadHeaderMassRange(const QString& path, double& minimum, double& maximum);
// The same from the bytes of a header.
bool ReadHeaderMassRangeBytes(const QByteArray& bytes, double& minimum, double& maximum);

}  // namespace zar
