#pragma once
// The ".hdr" description that the database builder writes beside an indexed database: the FASTA
// file and index it describes, and the settings (enzyme, mass type, modifications, mass range)
// the index was built with. Read by the results loader, the database look-ups and the search
// set-up alike.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zar {

inline constexpr const char* kIndexedDatabaseMagic = "SORVEX_INDEXED_DATABASE - HEADER";
inline constexpr const char* kIndexedDatabaseExtension = ".hdr";
// Lines of a ".hdr" file are read up to this many characters; the rest of a longer line is
// dropped.
inline constexpr int kMaxHdrLineLength = 2000;

// Absent lines leave their field empty (or 0).
struct IndexedDatabaseHeader {
    // The first line begins "SORVEX_INDEXED_DATABASE".
    bool hasMagic = false;
    QString origDatabaseName;     // "OrigDatabaseName:": the FASTA file
    QString indexName;            // "IndexName:": the index file, relative to the ".hdr" folder
    QString peptideTableName;     // "PeptideTableName:": the builder's peptide table, likewise
    qint64 numberOfProteins = 0;  // "NumberOfProteins:"
    QString origDatabaseType;     // word after "OrigDatabaseType:"
    QString enzymeName;           // word after "EnzymeName:"
    QString massType;             // word after "MassType:"
    int numIntCleavageSites = 0;
    QString staticModifications;        // "Cterm=57.0 C=57.02 ..."
    QString differentialModifications;  // "(M* 16.0) (STY 80.0)"
    std::optional<double> minimumMass;
    std::optional<double> maximumMass;
};

// Reads the lines after the first; false (and a line on the standard error stream) when the
// file cannot be opened or read.
bool ReadIndexedDatabaseHeader(const QString& path, IndexedDatabaseHeader& header);
// The same from the bytes of a ".hdr" file.
bool ReadIndexedDatabaseHeaderBytes(const QByteArray& bytes, IndexedDatabaseHeader& header);

}  // namespace zar
