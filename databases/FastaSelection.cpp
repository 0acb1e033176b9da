#include "databases/FastaSelection.h"

#include "databases/FastaUtilities.h"
#include "databases/SequenceMasses.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <optional>

namespace zar {

namespace {

struct Entry {
    QString header;  // without '>' and line end
    QByteArray sequence;
};

// Reads entries line by line; a '>' inside a line starts the next header there.
class EntryReader {
  public:
    explicit EntryReader(TextLineReader& reader) : reader_(reader) {}

    bool nextLine(QString& line) {
        if (pending_) {
            line = *pending_;
            pending_.reset();
            return true;
        }
        return reader_.readLine(line);
    }
    void putBack(const QString& line) { pending_ = line; }

  private:
    TextLineReader& reader_;
    std::optional<QString> pending_;
};

enum class ReadResult { Entry, End, Error };

}  // namespace

std::optional<QString> PrepareSelectTarget(const QString& target, int targetMode) {
    if (target.isEmpty()) return target;
    const QFileInfo info(target);
    if (info.exists()) {
        if (targetMode == 1 && !IsValidProteinDatabase(target)) return std::nullopt;
        return target;
    }
    return info.suffix().isEmpty() ? target + QStringLiteral(".fasta") : target;
}

QString PrepareSelectString(const QString& text) {
    QString s = text.left(kMaxSelectStringChars).toUpper();
    s.replace(QLatin1Char('~'), QLatin1Char(' '));
    return s;
}

bool AnnotatedMass(const QString& header, double& mass) {
    const qsizetype at = header.indexOf(QLatin1String("[MASS="));
    if (at < 0) return false;
    QString value = header.mid(at + 6);
    const qsizetype blank = value.indexOf(QLatin1Char(' '));
    if (blank >= 0) value.truncate(blank);
    value.replace(QLatin1Char(']'), QLatin1Char(' '));
    return ParseDouble(value, mass);
}

SelectResult SelectDatabaseEntries(const SelectRequest& request, const WorkProgress& progress) {
    QStringList includes, excludes;
    for (int i = 0; i < kSelectStrings; ++i) {
        if (request.includeEnabled[std::size_t(i)] &&
            !request.includeStrings[std::size_t(i)].isEmpty())
            includes << PrepareSelectString(request.includeStrings[std::size_t(i)]);
        if (request.excludeEnabled[std::size_t(i)] &&
            !request.excludeStrings[std::size_t(i)].isEmpty())
            excludes << PrepareSelectString(request.excludeStrings[std::size_t(i)]);
    }
    const bool noMass = !request.includeMassInHeader;
    const QString targetPath = request.targetPath.isEmpty()
                                   ? QDir::current().filePath(QLatin1String(kDefaultSelectTarget))
                                   : request.targetPath;

    TextLineReader reader;
    if (request.originalPath.isEmpty() || !reader.open(request.originalPath)) {
        progress.listLine(
            QStringLiteral("ERROR -- cannot open database %1").arg(request.originalPath));
        return SelectResult::Failed;
    }
    const double lowest = std::max(0.0, request.lowestMass);
    const double highest = request.highestMass;
    if (highest < lowest) {
        progress.listLine(QCFormat(
            " ERROR - highest protein mass %0.0f is less than lowest protein mass %0.0f\n\n",
            highest, lowest));
        return SelectResult::Failed;
    }
    // Writing the original over itself would destroy it.
    if (IsSameFile(request.originalPath, targetPath)) {
        progress.listLine(QStringLiteral("Original and Target files must be different."));
        return SelectResult::Failed;
    }
    const SequenceMassTable masses = SequenceMassTable::For(false);

    AtomicTextWriter writer(targetPath);
    if (!writer.open() || (request.targetMode == 1 && !CopyForAppend(targetPath, writer))) {
        progress.listLine(
            QStringLiteral(" ERROR -- Cannot open output file %1\n\n").arg(targetPath));
        return SelectResult::Failed;
    }
    progress.listLine(QString());
    progress.listLine(QStringLiteral("Input db = %1").arg(request.originalPath));
    progress.listLine(QStringLiteral("Output db = %1").arg(targetPath));

    const auto showProgress = [&](int count) {
        progress.status(QStringLiteral("processed  %1 entries, continuing on ...").arg(count));
    };
    EntryReader entries(reader);
    int entriesRead = 0, entriesAdded = 0;
    QString line;
    bool haveLine = entries.nextLine(line);
    while (haveLine) {
        if (progress.cancelled()) {
            progress.listLine(QStringLiteral("Cancelled"));
            return SelectResult::Cancelled;
        }
        if (!line.startsWith(QLatin1Char('>'))) {
            progress.listLine(QStringLiteral("Error in file."));
            progress.listLine(line);
            for (int i = 0; i < 2; ++i) {
                QString next;
                progress.listLine(entries.nextLine(next) ? next : QString());
            }
            progress.listLine(QString());
            return SelectResult::Failed;
        }
        Entry entry;
        entry.header = line.mid(1);
        haveLine = false;
        while (entries.nextLine(line)) {
            const qsizetype gt = line.indexOf(QLatin1Char('>'));
            const QString part = gt < 0 ? line : line.left(gt);
            for (const QChar c : part) {
                if (c == QLatin1Char(' ')) continue;
                if (entry.sequence.size() == kMaxSelectSequenceChars) {
                    progress.listLine(QCFormat(" ERROR-- input sequence length=%d too long",
                                               kMaxSelectSequenceChars));
                    progress.listLine(QStringLiteral(" %1").arg(entry.header));
                    progress.listLine(QString());
                    progress.listLine(QString());
                    return SelectResult::Failed;
                }
                entry.sequence.append(c.unicode() < 256 ? char(c.unicode()) : '?');
            }
            if (gt >= 0) {
                line = line.mid(gt);
                haveLine = true;
                break;
            }
        }
        ++entriesRead;

        // The full mass is tested even when it is not written.
        double mass = masses.h + masses.oh;
        for (const char c : entry.sequence) mass += masses.residue[static_cast<unsigned char>(c)];
        bool keep = true;
        if (lowest != 0.0 || highest != 0.0) {
            double tested = mass;
            AnnotatedMass(entry.header, tested);
            keep = tested >= lowest && tested <= highest;
        }
        const QString upper = entry.header.toUpper();
        for (const QString& s : excludes)
            if (keep && upper.contains(s)) keep = false;
        if (keep && !includes.isEmpty()) {
            keep = false;
            for (const QString& s : includes)
                if (upper.contains(s)) keep = true;
        }
        if (keep) {
            const QString header =
                noMass ? entry.header
                       : WithoutMassAnnotation(entry.header) + QCFormat(" [MASS=%0.0f]", mass);
            writer.writeBytes('>' + header.toUtf8() + '\n');
            writer.writeBytes(SequenceLines(entry.sequence));
            ++entriesAdded;
        }
        if (entriesRead % kSelectProgressEntries == 0) showProgress(entriesRead);
    }
    if (reader.hadError()) {
        progress.listLine(
            QStringLiteral("ERROR -- cannot read database %1").arg(request.originalPath));
        return SelectResult::Failed;
    }
    showProgress(entriesRead);
    progress.listLine(
        QStringLiteral("Number of proteins in original database = %1").arg(entriesRead));
    progress.listLine(
        QStringLiteral("Number of proteins added to new database = %1").arg(entriesAdded));
    if (!writer.commit()) {
        progress.listLine(QStringLiteral(" ERROR -- %1\n\n").arg(writer.errorString()));
        return SelectResult::Failed;
    }
    progress.listLine(QStringLiteral("Done"));
    return SelectResult::Completed;
}

}  // namespace zar
