#pragma once
// The size of a protein database as the search programs report it: its entries and residues.

#include <QByteArray>
#include <QString>

#include <functional>

namespace zar {

struct DatabaseTally {
    int proteins = 0;
    qint64 residues = 0;
    QString fastaPath;  // the FASTA file counted
};

// Counts a FASTA file; an indexed database (".hdr") is counted through its FASTA file. Each
// entry's header line (without its '>') goes to onHeader when given. False with a text for the
// user when the database cannot be read.
bool TallyDatabase(const QString& path, DatabaseTally& tally, QString& error,
                   const std::function<void(const QByteArray& header)>& onHeader = {});

// The FASTA file a database path names: the path itself, or an indexed database's FASTA file.
// False with a text when an indexed database cannot be opened.
bool DatabaseFastaPath(const QString& path, QString& fasta, QString& error);

}  // namespace zar
