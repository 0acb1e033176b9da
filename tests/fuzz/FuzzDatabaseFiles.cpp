// Protein databases: FASTA files (reading, indexing, selecting), ".idx" indexes and ".hdr"
// descriptions.

#include "FuzzSupport.h"

#include "databases/FastaIndexBuilder.h"
#include "databases/FastaReader.h"
#include "databases/FastaSelection.h"
#include "databases/IndexedDatabase.h"
#include "search/DatabaseHeader.h"

#include <QFile>

#include <algorithm>

namespace zarfuzz {
namespace {

// Entries read back from an index, at most.
constexpr int kMaxEntriesRead = 200;

// The FASTA file of the stored index seeds (tests/data/databases/fasta/three.fasta).
const QByteArray kFasta =
    "; a comment line before the first entry\n>sp|P1|ONE first protein\nPEPTIDEK\nACDEF\n"
    ">sp|P2|TWO second [MASS=1234]\n\n>sp|P3|THREE third\r\nmkwvTF";

void ReadEveryEntry(const QString& name) {
    zar::CIndexedDatabase db;
    if (db.open(name) != zar::CIndexedDatabase::OpenResult::Ok) return;
    zar::FastaEntry entry;
    for (int n = 1; n <= std::min(db.proteinCount(), kMaxEntriesRead); ++n) db.readEntry(n, entry);
}

}  // namespace

int FuzzFasta(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString path = WriteInput(QStringLiteral("input.fasta"), data, size);
    {
        zar::CFastaReader reader(64);  // small blocks: entries cross block ends
        if (reader.open(path)) {
            zar::FastaEntryStart entry;
            std::string residues;
            while (reader.nextEntry(entry)) {
                zar::FastaHeaderText(entry.header);
                residues.clear();
                reader.readResidues(residues);
            }
        }
    }
    const zar::CFastaIndexBuilder builder(false, zar::SequenceMassTable::For(true), 64);
    if (builder.build(path, {}).status == zar::FastaIndexBuildResult::Status::Done)
        ReadEveryEntry(path);

    zar::SelectRequest request;
    request.originalPath = path;
    request.targetPath = WorkFolder() + QStringLiteral("/selected.fasta");
    request.includeStrings[0] = QStringLiteral("p");
    request.includeEnabled[0] = true;
    request.lowestMass = 100.0;
    request.highestMass = 100000.0;
    request.includeMassInHeader = true;
    zar::SelectDatabaseEntries(request, {});
    return 0;
}

int FuzzFastaIndex(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString fasta = WriteInput(QStringLiteral("indexed.fasta"), kFasta);
    WriteInput(QStringLiteral("indexed.fasta.idx"), data, size);
    ReadEveryEntry(fasta);
    return 0;
}

int FuzzDatabaseHeader(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    // The database it may name, with a good index.
    static const bool prepared = [] {
        const QString fasta = WriteInput(QStringLiteral("three.fasta"), kFasta);
        return zar::CFastaIndexBuilder(false, zar::SequenceMassTable::For(true))
                   .build(fasta, {})
                   .status == zar::FastaIndexBuildResult::Status::Done;
    }();
    (void)prepared;
    const QString path = WriteInput(QStringLiteral("three.fasta.hdr"), data, size);
    zar::IsValidDatabaseFile(path);
    zar::IndexedDatabaseHeader header;
    if (zar::ReadIndexedDatabaseHeader(path, header)) {
        zar::ModificationTables tables;
        zar::ApplyHeaderStaticModifications(header.staticModifications, tables);
        std::array<zar::DifferentialModification, zar::ModificationTables::kDifferentialCount>
            differential;
        zar::ParseHeaderDifferentialModifications(header.differentialModifications, differential);
    }
    double low = 0.0;
    double high = 0.0;
    zar::ReadHeaderMassRange(path, low, high);
    ReadEveryEntry(path);
    return 0;
}

}  // namespace zarfuzz
