#include "SequenceFile.h"

#include "core/TextFile.h"

namespace zar {

QString SequenceResidues(QStringView text) {
    QString residues;
    residues.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace()) residues.append(c);
    return residues;
}

bool ReadSequenceFile(const QString& path, QString& sequence) {
    TextLineReader reader;
    if (path.isEmpty() || !reader.open(path)) return false;
    QString residues;
    QString line;
    while (reader.readLine(line)) residues += SequenceResidues(line);
    if (reader.hadError()) return false;
    sequence = residues;
    return true;
}

}  // namespace zar
