#pragma once
// Small helpers for the database tests: temporary FASTA files and index records.

#include "databases/FastaIndexRecord.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <vector>

namespace dbtest {

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(bytes);
    return path;
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline std::vector<zar::FastaIndexRecord> ReadIndex(const QString& path) {
    const QByteArray bytes = ReadFile(path);
    std::vector<zar::FastaIndexRecord> records;
    for (qsizetype at = 0; at + zar::kFastaIndexRecordSize <= bytes.size();
         at += zar::kFastaIndexRecordSize)
        records.push_back(
            zar::ReadFastaIndexRecord(reinterpret_cast<const unsigned char*>(bytes.data() + at)));
    return records;
}

}  // namespace dbtest
