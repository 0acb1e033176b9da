#pragma once
// An indexed FASTA database: the FASTA file with its ".idx" index (opened by the FASTA name or by
// the ".hdr" description that the database builder writes), read entry by entry.

#include "databases/FastaIndexRecord.h"
#include "document/IndexedDatabaseHeader.h"

#include <QBuffer>
#include <QByteArray>
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
    // The same over the bytes of a FASTA file and its index (shared, not copied); proteins is
    // the description's count, 0 when it gives none.
    OpenResult openBytes(const QByteArray& fasta, const QByteArray& index, qint64 proteins = 0);
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
    // Counts the entries once the index's records are at map_.
    void countEntries(qint64 described);

    QFile index_;
    QFile fasta_;
    QByteArray indexBytes_;
    QBuffer fastaBytes_;
    QIODevice* fastaDevice_ = nullptr;  // the file or the bytes
    const uchar* map_ = nullptr;
    qint64 records_ = 0;
    int proteins_ = 0;
};

}  // namespace zar
