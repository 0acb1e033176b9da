#include "databases/FastaUtilities.h"

#include "databases/SequenceMasses.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace zar {

QByteArray SequenceLines(const QByteArray& sequence) {
    QByteArray out;
    out.reserve(sequence.size() + sequence.size() / kFastaLineWidth + 2);
    if (sequence.isEmpty()) return QByteArrayLiteral("\n");
    for (qsizetype at = 0; at < sequence.size(); at += kFastaLineWidth) {
        out += sequence.mid(at, kFastaLineWidth);
        out += '\n';
    }
    return out;
}

QString WithoutMassAnnotation(const QString& header) {
    const qsizetype at = header.indexOf(QLatin1String("[MASS="));
    if (at < 0) return header;
    QString before = header.left(at);
    if (before.endsWith(QLatin1Char(' '))) before.chop(1);
    const qsizetype close = header.indexOf(QLatin1Char(']'), at);
    return close < 0 ? before : before + header.mid(close + 1);
}

bool IsValidProteinDatabase(const QString& path) {
    if (path.isEmpty()) {
        ZarMessageBox(QStringLiteral("Please select a database"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ZarMessageBox(QStringLiteral("Problem opening database."));
        return false;
    }
    const QByteArray first = file.readLine(kMaxValidityLineChars + 1);
    // Valid when the first line starts an entry and the file goes on after it.
    if (!first.startsWith('>') || (!first.endsWith('\n') && file.atEnd())) {
        ZarMessageBox(QStringLiteral(
            "The database is not a valid Protein database.\nPlease select another file."));
        return false;
    }
    return true;
}

bool IsSameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.exists() ? fa.canonicalFilePath() : fa.absoluteFilePath();
    const QString cb = fb.exists() ? fb.canonicalFilePath() : fb.absoluteFilePath();
    return ca == cb;
}

bool CopyForAppend(const QString& path, AtomicTextWriter& writer) {
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray last;
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 20);
        if (block.isEmpty()) return false;
        writer.writeBytes(block);
        last = block;
    }
    if (!last.isEmpty() && !last.endsWith('\n')) writer.writeBytes(QByteArrayLiteral("\n"));
    return true;
}

double NucleotideMass(char c) {
    switch (c) {
        case 'A':
            return 313.21;
        case 'C':
            return 289.18;
        case 'G':
            return 329.21;
        case 'T':
            return 304.196;
        case 'U':
            return 290.17;
        case 'X':
            return 1.0;
        default:
            return 0.0;
    }
}

AddEntryResult AddDatabaseEntry(const AddEntryRequest& request) {
    AddEntryResult result;
    const SequenceMassTable masses = SequenceMassTable::For(false);
    double mass = request.nucleotide ? 0.0 : masses.h + masses.oh;
    if (!IsValidProteinDatabase(request.databasePath)) return result;
    // An entry needs both: a header without a name or an entry without residues is of no use to
    // a search and spoils the database for the tools that read it.
    QStringView name = request.description;
    if (name.startsWith(QLatin1Char('>'))) name = name.mid(1);
    if (name.trimmed().isEmpty()) {
        result.field = AddEntryResult::Field::Description;
        ZarMessageBox(QStringLiteral("Please enter a description for the new entry."));
        return result;
    }
    if (request.sequence.trimmed().isEmpty()) {
        result.field = AddEntryResult::Field::Sequence;
        ZarMessageBox(QStringLiteral("Please enter the sequence of the new entry."));
        return result;
    }
    if (request.sequence.size() > kMaxEntrySequenceChars) {
        result.field = AddEntryResult::Field::Sequence;
        ZarMessageBox(QStringLiteral("The sequence is %1 characters long; an entry may hold at "
                                     "most %2.")
                          .arg(request.sequence.size())
                          .arg(kMaxEntrySequenceChars));
        return result;
    }

    const QString upper = request.sequence.toUpper();
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const char16_t u = upper[i].unicode();
        const char c = u < 128 ? static_cast<char>(u) : '\0';
        const double m =
            request.nucleotide ? NucleotideMass(c) : masses.residue[static_cast<unsigned char>(c)];
        if (m == 0.0) {
            result.badIndex = static_cast<int>(i);
            result.field = AddEntryResult::Field::Sequence;
            ZarMessageBox(request.nucleotide
                              ? QStringLiteral("Nucleotide sequence contains character that does "
                                               "not correspond to a base group.\nPlease change "
                                               "highlighted entry.")
                              : QStringLiteral("Protein sequence contains character that does not "
                                               "correspond to an amino acid.\nPlease change "
                                               "highlighted entry."));
            return result;
        }
        if (!request.nucleotide || m > 1.0) mass += m;
    }

    QString header = request.description.startsWith(QLatin1Char('>'))
                         ? request.description
                         : QStringLiteral(">") + request.description;
    if (request.massOption == 0)
        header += QCFormat(" [MASS=%0.0f]", mass);
    else if (request.massOption == 1 && !request.nucleotide)
        header += QCFormat(" [MASS=%0.0lf]", request.userMass);

    // The database is rewritten whole through a temporary file, so a failure leaves it as it was.
    AtomicTextWriter writer(request.databasePath);
    if (!writer.open() || !CopyForAppend(request.databasePath, writer)) {
        ZarMessageBox(
            QStringLiteral(" ERROR -- Cannot open database file %1\n\n").arg(request.databasePath));
        return result;
    }
    writer.writeBytes(header.toLocal8Bit() + '\n');
    writer.writeBytes(SequenceLines(upper.toLatin1()));
    if (!writer.commit()) {
        ZarMessageBox(QStringLiteral(" ERROR -- %1\n\n").arg(writer.errorString()));
        return result;
    }
    result.added = true;
    ZarMessageBox(QStringLiteral("Entry added successfully."), MB_OK | MB_ICONINFORMATION);
    return result;
}

}  // namespace zar
