#pragma once
// An indexed FASTA database: the FASTA file with its ".idx" index (opened by the FASTA name or by
// the ".hdr" description that the database builder writes), read entry by entry.

#include "databases/FastaIndexRecord.h"
#include "document/IndexedDatabaseHeader.h"

#include <QFile>
#include <QString>

#include <string>

namespace zar {

struct FastaEntry {
    QString header;        // as shown: without "[MASS" annotation or line end
    std::string residues;  // letters only
    double mass = 0.0;     // the index record's mass
};

class CIndexedDatabase {
  public:
    enum class OpenResult {
        Ok,
        EmptyName,          // nothing to open, no message
        HdrUnreadable,      // "Unable to open the indexed database"
        MissingParameters,  // "Unable to access the indexed database parameters"
        IndexUnreadable,    // "Unable to access the database index"
        MappingFailed,      // no message
        FastaUnreadable,    // "Unable to open the fasta database"
    };

    CIndexedDatabase() = default;
    ~CIndexedDatabase();
    CIndexedDatabase(const CIndexedDatabase&) = delete;
    CIndexedDatabase& operator=(const CIndexedDatabase&) = delete;

    // name: a ".hdr" description, or the FASTA file whose index lies beside it.
    OpenResult open(const QString& name);
    void close();
    static QString messageFor(OpenResult result);

    int proteinCount() const { return proteins_; }
    // Records in the index, the closing record included.
    qint64 recordCount() const { return records_; }
    QString fastaPath() const { return fasta_.fileName(); }
    QString indexPath() const { return index_.fileName(); }

    // Entry n (from 1); false when n is out of range, the index is inconsistent with the FASTA
    // file or the file cannot be read. Letters keep their case.
    bool readEntry(int n, FastaEntry& entry);

  private:
    QFile index_;
    QFile fasta_;
    const uchar* map_ = nullptr;
    qint64 records_ = 0;
    int proteins_ = 0;
};

}  // namespace zar
