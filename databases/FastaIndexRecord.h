#pragma once
// One record of the ".idx" FASTA index: 32 bytes, little-endian, one per entry in file order and
// a closing record whose offset is the size of the FASTA file.

#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zar {

struct FastaIndexRecord {
    std::int32_t entryNumber = 0;  // 1 for the first entry
    std::int32_t padding1 = 0;
    std::int64_t offset = 0;        // first header byte, the byte after '>'
    std::int32_t headerLength = 0;  // header bytes up to and including its line feed
    std::int32_t padding2 = 0;
    double mass = 0.0;  // H + OH + residue sum (neutral), H + OH for nucleotides
};
static_assert(sizeof(FastaIndexRecord) == 32, "the index record is 32 bytes on disk");
static_assert(std::endian::native == std::endian::little, "records are read as stored");
static_assert(offsetof(FastaIndexRecord, offset) == 8);
static_assert(offsetof(FastaIndexRecord, headerLength) == 16);
static_assert(offsetof(FastaIndexRecord, mass) == 24);

constexpr int kFastaIndexRecordSize = 32;

// The record at `bytes` (32 bytes, possibly unaligned); the host is little-endian like the file.
inline FastaIndexRecord ReadFastaIndexRecord(const unsigned char* bytes) {
    FastaIndexRecord r;
    std::memcpy(&r, bytes, sizeof r);
    return r;
}

// The index file of a FASTA file: ".idx" appended to the whole name (human.fasta.idx).
inline QString FastaIndexPathFor(const QString& fastaPath) {
    return fastaPath + QStringLiteral(".idx");
}

}  // namespace zar
