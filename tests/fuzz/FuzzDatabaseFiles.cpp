// Protein databases: FASTA files (reading, indexing, selecting), ".idx" indexes and ".hdr"
// descriptions, from memory and from files.

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

void ReadEntries(zar::CIndexedDatabase& db) {
    zar::FastaEntry entry;
    for (int n = 1; n <= std::min(db.proteinCount(), kMaxEntriesRead); ++n) db.readEntry(n, entry);
}

void ReadEveryEntry(const QString& name) {
    zar::CIndexedDatabase db;
    if (db.open(name) == zar::CIndexedDatabase::OpenResult::Ok) ReadEntries(db);
}

void ReadFasta(zar::CFastaReader& reader) {
    zar::FastaEntryStart entry;
    std::string residues;
    while (reader.nextEntry(entry)) {
        zar::FastaHeaderText(entry.header);
        residues.clear();
        reader.readResidues(residues);
    }
}

zar::CFastaIndexBuilder Builder() {
    // Small blocks: entries cross block ends.
    return zar::CFastaIndexBuilder(false, zar::SequenceMassTable::For(true), 64);
}

// The index of kFasta, made once.
const QByteArray& FastaIndex() {
    static const QByteArray index = [] {
        QByteArray bytes;
        Builder().buildBytes(kFasta, bytes);
        return bytes;
    }();
    return index;
}

void ReadHeader(const zar::IndexedDatabaseHeader& header) {
    zar::ModificationTables tables;
    zar::ApplyHeaderStaticModifications(header.staticModifications, tables);
    std::array<zar::DifferentialModification, zar::ModificationTables::kDifferentialCount>
        differential;
    zar::ParseHeaderDifferentialModifications(header.differentialModifications, differential);
}

}  // namespace

int FuzzFasta(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray fasta = InputBytes(data, size);
    zar::CFastaReader reader(64);  // small blocks: entries cross block ends
    reader.openBytes(fasta);
    ReadFasta(reader);
    QByteArray index;
    if (Builder().buildBytes(fasta, index).status == zar::FastaIndexBuildResult::Status::Done) {
        zar::CIndexedDatabase db;
        if (db.openBytes(fasta, index) == zar::CIndexedDatabase::OpenResult::Ok) ReadEntries(db);
    }
    return 0;
}

int FuzzFastaOnDisk(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QString path = WriteInput(QStringLiteral("input.fasta"), data, size);
    // The blocks the program reads files in: entries crossing small blocks are the in-memory
    // target's, and a file read in small blocks is a system call for every few bytes.
    {
        zar::CFastaReader reader;
        if (reader.open(path)) ReadFasta(reader);
    }
    if (zar::CFastaIndexBuilder(false, zar::SequenceMassTable::For(true)).build(path, {}).status ==
        zar::FastaIndexBuildResult::Status::Done)
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
    zar::CIndexedDatabase db;
    if (db.openBytes(kFasta, InputBytes(data, size)) == zar::CIndexedDatabase::OpenResult::Ok)
        ReadEntries(db);
    return 0;
}

int FuzzDatabaseHeader(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray bytes = InputBytes(data, size);
    zar::IsValidDatabaseBytes(bytes);
    zar::IndexedDatabaseHeader header;
    if (zar::ReadIndexedDatabaseHeaderBytes(bytes, header)) {
        ReadHeader(header);
        // The database it describes, with the count it gives.
        zar::CIndexedDatabase db;
        if (db.openBytes(kFasta, FastaIndex(), header.numberOfProteins) ==
            zar::CIndexedDatabase::OpenResult::Ok)
            ReadEntries(db);
    }
    double low = 0.0;
    double high = 0.0;
    zar::ReadHeaderMassRangeBytes(bytes, low, high);
    return 0;
}

int FuzzDatabaseHeaderOnDisk(const std::uint8_t* data, std::size_t size) {
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
    if (zar::ReadIndexedDatabaseHeader(path, header)) ReadHeader(header);
    double low = 0.0;
    double high = 0.0;
    zar::ReadHeaderMassRange(path, low, high);
    ReadEveryEntry(path);
    return 0;
}

}  // namespace zarfuzz
