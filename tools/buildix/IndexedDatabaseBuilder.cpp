#include "IndexedDatabaseBuilder.h"

#include "databases/FastaIndexBuilder.h"
#include "databases/FastaIndexRecord.h"
#include "databases/FastaReader.h"
#include "databases/FastaUtilities.h"
#include "databases/NucleotideTranslation.h"
#include "databases/PepmapRules.h"
#include "databases/SequenceMasses.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/IndexedDatabaseHeader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace zar {
namespace {

constexpr int kDiffCount = ModificationTables::kDifferentialCount;
// Progress is reported once per this many proteins.
constexpr int kProgressProteins = 100;
// The protein's reference in a peptide header is cut to this many characters.
constexpr int kMaxReferenceChars = 100;
// The most residues one differential modification may carry in a peptide, whatever the file
// says: it bounds the variants of a peptide.
constexpr int kMaxModifiedPerMod = 20;
// While the peptides are written, a stop is looked for once per this many.
constexpr std::int32_t kProgressRows = 100000;
// Output is written in batches of this many bytes.
constexpr qsizetype kWriteBatchBytes = 1 << 20;
// Progress runs from 0 to this; the digest takes the first half.
constexpr qint64 kPercentSpan = 100;

struct SequenceSource {
    std::string residues;  // upper-case letters, or the translated frame
    int protein = 0;       // entry number in the original database, from 1
    int frame = 0;         // 0 for a protein database, 1 to 6 for a nucleotide one
};

struct PeptideRow {
    double mass = 0.0;
    std::int32_t source = 0;
    std::int32_t start = 0;  // 0-based in the source's residues
    std::int32_t length = 0;
    std::array<std::uint8_t, kDiffCount> counts{};
};

struct ActiveModification {
    double mass = 0.0;
    bool eligible[256] = {};
};

class Digester {
  public:
    Digester(const IndexedDatabaseBuildOptions& options, std::vector<SequenceSource>& sources,
             std::vector<PeptideRow>& rows)
        : options_(options), sources_(sources), rows_(rows) {
        const BuildixSettings& s = options.settings;
        const SequenceMassTable plain = SequenceMassTable::For(s.massType == 1);
        residueOf_ = plain.residue;
        masses_ = plain.residue;
        // Static modifications change the residue masses; the terminal ones every peptide.
        for (int i = ModificationTables::kFirstResidueEntry; i < ModificationTables::kStaticCount;
             ++i) {
            const StaticModification& m = s.staticMods[static_cast<std::size_t>(i)];
            // "add_G_Glycine" names the residue by its fifth character.
            if (m.name.size() < 5 || m.mass == 0.0) continue;
            const char letter = m.name[4].toLatin1();
            masses_[static_cast<unsigned char>(letter)] += m.mass;
            masses_[static_cast<unsigned char>(letter - 'A' + 'a')] += m.mass;
        }
        terminal_ = 2.0 * plain.h + plain.oh +
                    s.staticMods[ModificationTables::kCtermPeptideEntry].mass +
                    s.staticMods[ModificationTables::kNtermPeptideEntry].mass;
        for (int i = 0; i < kDiffCount; ++i) {
            const DifferentialModification& d = s.diffMods[static_cast<std::size_t>(i)];
            if (d.mass == 0.0 || d.residues.trimmed().isEmpty()) continue;
            ActiveModification a;
            a.mass = d.mass;
            for (QChar c : d.residues.toUpper()) {
                const char l = c.toLatin1();
                if (l >= 'A' && l <= 'Z') a.eligible[static_cast<unsigned char>(l)] = true;
            }
            mods_[static_cast<std::size_t>(i)] = a;
            active_[static_cast<std::size_t>(i)] = true;
        }
        perMod_ = std::clamp(s.maxDifferentialPerMod, 0, kMaxModifiedPerMod);
        if (options.useEnzyme) {
            rule_ = MakePepmapRule(options.enzyme.sense, options.enzyme.cleavage,
                                   options.enzyme.blocking);
        }
    }

    // Digests one source: every stretch of letters that have a residue mass on its own.
    void digest(std::int32_t source) {
        const std::string& s = sources_[static_cast<std::size_t>(source)].residues;
        std::size_t a = 0;
        while (a < s.size()) {
            while (a < s.size() && !isResidue(s[a])) ++a;
            std::size_t b = a;
            while (b < s.size() && isResidue(s[b])) ++b;
            if (b > a) digestStretch(source, s, static_cast<int>(a), static_cast<int>(b));
            a = b;
        }
    }

  private:
    bool isResidue(char c) const { return residueOf_[static_cast<unsigned char>(c)] != 0.0; }

    void digestStretch(std::int32_t source, const std::string& s, int a, int b) {
        if (!options_.useEnzyme) {
            const int minLength = std::max(1, options_.minLength);
            for (int start = a; start < b; ++start)
                for (int length = minLength; length <= options_.maxLength && start + length <= b;
                     ++length)
                    addPeptide(source, s, start, length);
            return;
        }
        const QString stretch = QString::fromLatin1(s.data() + a, b - a);
        const std::vector<int> sites = FindCleavageSites(rule_, stretch);
        const int pieces = static_cast<int>(sites.size()) - 1;
        const int missed = std::max(0, options_.settings.maxCleavageSites);
        for (int i = 0; i < pieces; ++i)
            for (int j = i; j < pieces && j - i <= missed; ++j)
                addPeptide(
                    source, s, a + sites[static_cast<std::size_t>(i)],
                    sites[static_cast<std::size_t>(j) + 1] - sites[static_cast<std::size_t>(i)]);
    }

    void addPeptide(std::int32_t source, const std::string& s, int start, int length) {
        double base = terminal_;
        // Residues that may carry each set of modifications (bit i: modification i).
        std::array<int, 1 << kDiffCount> byMask{};
        for (int k = start; k < start + length; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[static_cast<std::size_t>(k)]);
            base += masses_[c];
            unsigned mask = 0;
            for (int m = 0; m < kDiffCount; ++m)
                if (active_[static_cast<std::size_t>(m)] &&
                    mods_[static_cast<std::size_t>(m)].eligible[c])
                    mask |= 1u << m;
            ++byMask[mask];
        }
        // Residues available to each group of modifications.
        std::array<int, 1 << kDiffCount> available{};
        for (unsigned group = 1; group < byMask.size(); ++group)
            for (unsigned mask = 1; mask < byMask.size(); ++mask)
                if (mask & group) available[group] += byMask[mask];
        std::array<int, kDiffCount> most{};
        for (int m = 0; m < kDiffCount; ++m)
            most[static_cast<std::size_t>(m)] =
                active_[static_cast<std::size_t>(m)] ? std::min(perMod_, available[1u << m]) : 0;

        std::array<int, kDiffCount> k{};
        for (k[0] = 0; k[0] <= most[0]; ++k[0])
            for (k[1] = 0; k[1] <= most[1]; ++k[1])
                for (k[2] = 0; k[2] <= most[2]; ++k[2]) {
                    // Each modified residue is a residue of its own: every group of
                    // modifications must find enough residues (Hall's condition).
                    bool fits = true;
                    for (unsigned group = 1; group < available.size() && fits; ++group) {
                        int wanted = 0;
                        for (int m = 0; m < kDiffCount; ++m)
                            if (group & (1u << m)) wanted += k[static_cast<std::size_t>(m)];
                        fits = wanted <= available[group];
                    }
                    if (!fits) continue;
                    double mass = base;
                    for (int m = 0; m < kDiffCount; ++m)
                        mass += k[static_cast<std::size_t>(m)] *
                                mods_[static_cast<std::size_t>(m)].mass;
                    if (options_.useEnzyme &&
                        (mass < options_.settings.lowMass || mass > options_.settings.highMass))
                        continue;
                    PeptideRow row;
                    row.mass = mass;
                    row.source = source;
                    row.start = start;
                    row.length = length;
                    for (int m = 0; m < kDiffCount; ++m)
                        row.counts[static_cast<std::size_t>(m)] =
                            static_cast<std::uint8_t>(k[static_cast<std::size_t>(m)]);
                    rows_.push_back(row);
                }
    }

    const IndexedDatabaseBuildOptions& options_;
    std::vector<SequenceSource>& sources_;
    std::vector<PeptideRow>& rows_;
    ResidueMassTable residueOf_{};
    ResidueMassTable masses_{};
    double terminal_ = 0.0;
    std::array<ActiveModification, kDiffCount> mods_{};
    std::array<bool, kDiffCount> active_{};
    int perMod_ = 0;
    PepmapRule rule_;
};

std::string_view Letters(const std::vector<SequenceSource>& sources, const PeptideRow& r) {
    return std::string_view(sources[static_cast<std::size_t>(r.source)].residues)
        .substr(static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length));
}

// The first word of a header, blank-free, at most kMaxReferenceChars characters.
QByteArray ReferenceOf(const QByteArray& rawHeader) {
    const QString text = FastaHeaderText(rawHeader).trimmed();
    QString word = text.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
    if (word.isEmpty()) word = QStringLiteral("-");
    return word.left(kMaxReferenceChars).toUtf8();
}

void AppendRecord(QByteArray& out, const FastaIndexRecord& record) {
    char bytes[sizeof record];
    std::memcpy(bytes, &record, sizeof record);
    out.append(bytes, sizeof record);
}

IndexedDatabaseBuildResult Failure(const QString& message) {
    IndexedDatabaseBuildResult r;
    r.message = message;
    return r;
}

QString NumberText(double value) {
    return QString::fromStdString(DoubleToText(value));
}

// "Cterm=57.02 C=57.021": the static modifications that change a mass.
QString StaticText(const BuildixSettings& s) {
    QStringList tokens;
    const double cterm = s.staticMods[ModificationTables::kCtermPeptideEntry].mass;
    const double nterm = s.staticMods[ModificationTables::kNtermPeptideEntry].mass;
    if (cterm != 0.0) tokens << QStringLiteral("Cterm=") + NumberText(cterm);
    if (nterm != 0.0) tokens << QStringLiteral("Nterm=") + NumberText(nterm);
    for (int i = ModificationTables::kFirstResidueEntry; i < ModificationTables::kStaticCount;
         ++i) {
        const StaticModification& m = s.staticMods[static_cast<std::size_t>(i)];
        if (m.name.size() < 5 || m.mass == 0.0) continue;
        tokens << QString(m.name[4]) + QLatin1Char('=') + NumberText(m.mass);
    }
    return tokens.join(QLatin1Char(' '));
}

// "(M 15.9949) (STY 79.9663)".
QString DifferentialText(const BuildixSettings& s) {
    QStringList groups;
    for (const DifferentialModification& d : s.diffMods) {
        if (d.mass == 0.0 || d.residues.trimmed().isEmpty()) continue;
        groups << QStringLiteral("(%1 %2)").arg(d.residues.trimmed().toUpper(), NumberText(d.mass));
    }
    return groups.join(QLatin1Char(' '));
}

QString EnzymeNameOf(const IndexedDatabaseBuildOptions& o) {
    if (!o.useEnzyme || o.enzyme.name.isEmpty()) return QStringLiteral("No_Enzyme");
    return o.enzyme.name;
}

}  // namespace

namespace {

IndexedDatabaseFiles FilesOf(const QString& indexedName, const QString& setTag) {
    QString header = indexedName;
    if (!header.contains(QLatin1String(kIndexedDatabaseExtension)))
        header += QLatin1String(kIndexedDatabaseExtension);
    QString base = header;
    if (base.endsWith(QLatin1String(kIndexedDatabaseExtension)))
        base.chop(static_cast<qsizetype>(qstrlen(kIndexedDatabaseExtension)));
    base += setTag;
    return {header, base + QStringLiteral(".proteins.idx"), base + QStringLiteral(".peptides"),
            base + QStringLiteral(".peptides.idx")};
}

// Whether the description names a file of the set.
bool NamesSet(const IndexedDatabaseHeader& header, const IndexedDatabaseFiles& set) {
    return header.indexName == QFileInfo(set.proteinIndex).fileName() ||
           header.peptideTableName == QFileInfo(set.peptideTable).fileName();
}

bool HeaderNamesSet(const IndexedDatabaseFiles& set) {
    if (!QFileInfo::exists(set.header)) return false;
    IndexedDatabaseHeader header;
    return ReadIndexedDatabaseHeader(set.header, header) && NamesSet(header, set);
}

}  // namespace

IndexedDatabaseFiles IndexedDatabaseFiles::For(const QString& indexedName) {
    return FilesOf(indexedName, QString());
}

IndexedDatabaseFiles IndexedDatabaseFiles::AlternateFor(const QString& indexedName) {
    return FilesOf(indexedName, QStringLiteral(".alt"));
}

IndexedDatabaseFiles IndexedDatabaseFiles::InUse(const QString& indexedName) {
    const IndexedDatabaseFiles alternate = AlternateFor(indexedName);
    return HeaderNamesSet(alternate) ? alternate : For(indexedName);
}

IndexedDatabaseFiles IndexedDatabaseFiles::ForNewBuild(const QString& indexedName) {
    const IndexedDatabaseFiles first = For(indexedName);
    return HeaderNamesSet(first) ? AlternateFor(indexedName) : first;
}

IndexedDatabaseBuildResult BuildIndexedDatabase(const IndexedDatabaseBuildOptions& options,
                                                const WorkProgress& progress) {
    const BuildixSettings& s = options.settings;
    const bool nucleotide = s.databaseType == 1;
    const IndexedDatabaseFiles files = IndexedDatabaseFiles::ForNewBuild(options.indexedName);
    const IndexedDatabaseFiles previous =
        files.peptideTable == IndexedDatabaseFiles::For(options.indexedName).peptideTable
            ? IndexedDatabaseFiles::AlternateFor(options.indexedName)
            : IndexedDatabaseFiles::For(options.indexedName);
    if (!options.useEnzyme && (options.minLength < 1 || options.maxLength < options.minLength))
        return Failure(QStringLiteral("The sequence length range %1-%2 is not valid")
                           .arg(options.minLength)
                           .arg(options.maxLength));

    // The description stores the names as blank-free words: the FASTA file by its name when it
    // lies beside the description, else by its whole path.
    const QFileInfo fastaInfo(options.fastaPath);
    const QFileInfo headerInfo(files.header);
    const QString origName = fastaInfo.absoluteDir() == headerInfo.absoluteDir()
                                 ? fastaInfo.fileName()
                                 : fastaInfo.absoluteFilePath();
    const QString indexName = QFileInfo(files.proteinIndex).fileName();
    const QString tableName = QFileInfo(files.peptideTable).fileName();
    for (const QString& word : {origName, indexName, tableName}) {
        if (word.contains(QLatin1Char(' ')) || word.contains(QLatin1Char('\t')))
            return Failure(QStringLiteral("The name %1 contains a blank, which the indexed "
                                          "database cannot record")
                               .arg(word));
    }

    CFastaReader reader;
    if (!reader.open(options.fastaPath))
        return Failure(
            QStringLiteral("Unable to open the fasta database %1").arg(options.fastaPath));
    const qint64 size = reader.fileSize();

    std::vector<SequenceSource> sources;
    std::vector<QByteArray> references;
    std::vector<PeptideRow> rows;
    int proteins = 0;
    try {
        Digester digester(options, sources, rows);
        progress.status(QStringLiteral("Digesting %1").arg(options.fastaPath));
        FastaEntryStart entry;
        std::string residues;
        while (reader.nextEntry(entry)) {
            if (progress.cancelled()) return Failure(QStringLiteral("Cancelled"));
            ++proteins;
            references.push_back(ReferenceOf(entry.header));
            residues.clear();
            reader.readResidues(residues);
            if (!nucleotide) {
                sources.push_back({residues, proteins, 0});
                digester.digest(static_cast<std::int32_t>(sources.size() - 1));
            } else {
                const int first = s.readingFrames == 2 ? 4 : 1;
                const int last = s.readingFrames == 1 ? 3 : 6;
                for (int frame = first; frame <= last; ++frame) {
                    sources.push_back({TranslateFrame(residues, frame), proteins, frame});
                    digester.digest(static_cast<std::int32_t>(sources.size() - 1));
                }
            }
            if (proteins % kProgressProteins == 0 && size > 0)
                progress.percent(static_cast<int>(reader.position() * kPercentSpan / size / 2));
        }
        if (reader.readFailed())
            return Failure(
                QStringLiteral("Problem reading the database %1").arg(options.fastaPath));
        // Nothing to index: no files are written, and a database that was there stays.
        if (proteins == 0)
            return Failure(
                QStringLiteral("The fasta database %1 holds no entries").arg(options.fastaPath));

        progress.status(QStringLiteral("Sorting %1 peptides").arg(rows.size()));
        std::sort(rows.begin(), rows.end(), [&sources](const PeptideRow& a, const PeptideRow& b) {
            if (a.mass != b.mass) return a.mass < b.mass;
            const int text = Letters(sources, a).compare(Letters(sources, b));
            if (text != 0) return text < 0;
            if (a.counts != b.counts) return a.counts < b.counts;
            if (a.source != b.source) return a.source < b.source;
            return a.start < b.start;
        });
        if (!options.keepDuplicates) {
            // Equal letters with equal modifications have equal masses, so they are neighbours.
            const auto same = [&sources](const PeptideRow& a, const PeptideRow& b) {
                return a.counts == b.counts && Letters(sources, a) == Letters(sources, b);
            };
            rows.erase(std::unique(rows.begin(), rows.end(), same), rows.end());
        }
    } catch (const std::bad_alloc&) {
        return Failure(QStringLiteral("Not enough memory to build the indexed database"));
    }
    progress.percent(static_cast<int>(kPercentSpan / 2));

    // The peptide table and its index.
    progress.status(QStringLiteral("Writing %1 peptides").arg(rows.size()));
    AtomicTextWriter table(files.peptideTable);
    AtomicTextWriter tableIndex(files.peptideIndex);
    if (!table.open() || !tableIndex.open())
        return Failure(QStringLiteral("Unable to write the indexed database %1").arg(files.header));
    QByteArray text;
    QByteArray records;
    qint64 offset = 0;
    std::int32_t number = 0;
    for (const PeptideRow& r : rows) {
        if (number % kProgressRows == 0 && progress.cancelled())
            return Failure(QStringLiteral("Cancelled"));
        const SequenceSource& src = sources[static_cast<std::size_t>(r.source)];
        const std::string header =
            CFormat("%d %d-%d %d %d/%d/%d %.5f ", src.protein, r.start + 1, r.start + r.length,
                    src.frame, r.counts[0], r.counts[1], r.counts[2], r.mass) +
            references[static_cast<std::size_t>(src.protein - 1)].toStdString();
        FastaIndexRecord record;
        record.entryNumber = ++number;
        record.offset = offset + 1;
        record.headerLength = static_cast<std::int32_t>(header.size() + 1);
        record.mass = r.mass;
        AppendRecord(records, record);
        const std::string_view letters = Letters(sources, r);
        const QByteArray lines =
            SequenceLines(QByteArray(letters.data(), static_cast<qsizetype>(letters.size())));
        text += '>';
        text += QByteArray(header.data(), static_cast<qsizetype>(header.size()));
        text += '\n';
        text += lines;
        offset += 1 + static_cast<qint64>(header.size()) + 1 + lines.size();
        if (text.size() >= kWriteBatchBytes) {
            table.writeBytes(text);
            text.clear();
        }
        if (records.size() >= kWriteBatchBytes) {
            tableIndex.writeBytes(records);
            records.clear();
        }
    }
    FastaIndexRecord closing;
    closing.entryNumber = number + 1;
    closing.offset = offset;
    AppendRecord(records, closing);
    table.writeBytes(text);
    tableIndex.writeBytes(records);

    // The description, written last.
    double low = s.lowMass;
    double high = s.highMass;
    if (!options.useEnzyme) {
        low = rows.empty() ? 0.0 : std::floor(rows.front().mass);
        high = rows.empty() ? 0.0 : std::ceil(rows.back().mass);
    }
    QStringList lines = {
        QString::fromLatin1(kIndexedDatabaseMagic),
        QStringLiteral("OrigDatabaseName: ") + origName,
        QStringLiteral("IndexName: ") + indexName,
        QStringLiteral("NumberOfProteins: %1").arg(proteins),
        QStringLiteral("OrigDatabaseType: ") +
            (nucleotide ? QStringLiteral("Nucleotide") : QStringLiteral("Protein")),
        QStringLiteral("MinimumMass: ") + NumberText(low),
        QStringLiteral("MaximumMass: ") + NumberText(high),
        QStringLiteral("EnzymeName: ") + EnzymeNameOf(options),
        QStringLiteral("MassType: ") +
            (s.massType == 1 ? QStringLiteral("monoisotopic") : QStringLiteral("average")),
        QStringLiteral("NumIntCleavageSites: %1").arg(options.useEnzyme ? s.maxCleavageSites : 0),
        QStringLiteral("StaticModifications: ") + StaticText(s),
        QStringLiteral("DifferentialModifications: ") + DifferentialText(s),
        QStringLiteral("PeptideTableName: ") + tableName,
        QStringLiteral("NumberOfPeptides: %1").arg(rows.size()),
    };
    AtomicTextWriter header(files.header);
    if (!header.open())
        return Failure(QStringLiteral("Unable to write the indexed database %1").arg(files.header));
    for (const QString& line : lines) header.writeLine(line);

    // From the first file made to the description, a failure takes away what this build made:
    // no description names it.
    const auto unfinished = [&files](const QString& message) {
        for (const QString& made : {files.peptideTable, files.peptideIndex, files.proteinIndex})
            QFile::remove(made);
        return Failure(message);
    };
    const QString writeFailure =
        QStringLiteral("Unable to write the indexed database %1").arg(files.header);
    if (!table.commit() || !tableIndex.commit()) return unfinished(writeFailure);
    progress.status(QStringLiteral("Indexing the proteins of %1").arg(options.fastaPath));
    WorkProgress quiet;
    quiet.cancelFlag = progress.cancelFlag;
    const CFastaIndexBuilder proteinIndexer(nucleotide, SequenceMassTable::For(s.massType == 1));
    const FastaIndexBuildResult indexed =
        proteinIndexer.build(options.fastaPath, quiet, files.proteinIndex);
    if (indexed.status != FastaIndexBuildResult::Status::Done)
        return unfinished(indexed.statusText);
    if (progress.cancelled()) return unfinished(QStringLiteral("Cancelled"));
    // The new description takes the place of the old in one step; from here on the set the old
    // one named is no longer in use.
    if (!header.commit()) return unfinished(writeFailure);
    for (const QString& old : {previous.proteinIndex, previous.peptideTable, previous.peptideIndex})
        QFile::remove(old);

    IndexedDatabaseBuildResult result;
    result.ok = true;
    result.proteins = proteins;
    result.peptides = static_cast<qint64>(rows.size());
    result.message = QStringLiteral("Processed %1 proteins; %2 peptides written to %3")
                         .arg(proteins)
                         .arg(result.peptides)
                         .arg(files.header);
    progress.percent(static_cast<int>(kPercentSpan));
    progress.status(result.message);
    return result;
}

}  // namespace zar
