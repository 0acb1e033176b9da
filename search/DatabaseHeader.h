#pragma once
// Search databases: telling a usable database file from anything else, and reading the ".hdr"
// description of an indexed database, whose settings (enzyme, mass type, modifications, mass
// range) the search set-up takes over.

#include "ModificationTables.h"

#include <QString>

#include <array>
#include <optional>

namespace zar {

inline constexpr const char* kIndexedDatabaseMagic = "SORVEX_INDEXED_DATABASE - HEADER";
inline constexpr const char* kIndexedDatabaseExtension = ".hdr";
// The longest residue set of a differential modification in a header.
inline constexpr int kMaxHeaderResidues = 9;

// True for an indexed-database header (first line begins with the magic text), a FASTA file
// (first byte '>') or a file whose first byte is a control or non-ASCII byte. A file that cannot
// be opened or is empty is not usable.
bool IsValidDatabaseFile(const QString& path);

// The lines of a header that the search set-up uses; absent lines leave their field empty.
struct IndexedDatabaseHeader {
    QString origDatabaseType;  // word after "OrigDatabaseType:"
    QString enzymeName;        // word after "EnzymeName:"
    QString massType;          // word after "MassType:"
    int numIntCleavageSites = 0;
    QString staticModifications;        // "Cterm=57.0 C=57.02 ..."
    QString differentialModifications;  // "(M* 16.0) (STY 80.0)"
    std::optional<double> minimumMass;
    std::optional<double> maximumMass;
};

// Reads the header; false (and a line on the standard error stream) when it cannot be opened.
bool ReadIndexedDatabaseHeader(const QString& path, IndexedDatabaseHeader& header);

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

}  // namespace zar
