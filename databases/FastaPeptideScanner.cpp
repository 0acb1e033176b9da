#include "databases/FastaPeptideScanner.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zar {

namespace {

// Raw header bytes kept, as the sequential reader keeps them.
constexpr qsizetype kMaxHeaderBytes = 4 * kMaxHeaderChars;

// The first occurrence of the needle in [from, end), or end. Sixteen places at a time are
// tested on the needle's first and last letter; the rare places that pass are compared whole.
const char* FindNeedle(const char* from, const char* end, const std::string& needle) {
    const std::size_t m = needle.size();
    if (m == 0 || end - from < static_cast<std::ptrdiff_t>(m)) return end;
    if (m == 1) {
        const void* at = std::memchr(from, needle[0], static_cast<std::size_t>(end - from));
        return at ? static_cast<const char*>(at) : end;
    }
    const char head = needle[0];
    const char tail = needle[m - 1];
    const char* p = from;
#ifdef __SSE2__
    const __m128i heads = _mm_set1_epi8(head);
    const __m128i tails = _mm_set1_epi8(tail);
    for (; end - p >= static_cast<std::ptrdiff_t>(m + 15); p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, heads), _mm_cmpeq_epi8(b, tails))));
        while (mask != 0) {
            const char* at = p + __builtin_ctz(mask);
            if (std::memcmp(at + 1, needle.data() + 1, m - 2) == 0) return at;
            mask &= mask - 1;
        }
    }
#endif
    for (; end - p >= static_cast<std::ptrdiff_t>(m); ++p) {
        if (p[0] == head && p[m - 1] == tail && std::memcmp(p + 1, needle.data() + 1, m - 2) == 0)
            return p;
    }
    return end;
}

// Packs the letters of [p, end), upper-cased, into out until a '>' (everything else is
// dropped); the place it stopped at: the '>' or end. Sixteen bytes at a time: a run of
// upper-case letters is stored as it is, so out needs 16 bytes of room beyond the letters.
const char* PackLetters(const char* p, const char* end, char* out, qsizetype& written) {
    char* o = out;
#ifdef __SSE2__
    // 'A'..'Z' moved to -128..-103: one signed comparison tells an upper-case letter.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(128 - 'A'));
    const __m128i pastZ = _mm_set1_epi8(static_cast<char>(-128 + 26));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned upper =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(_mm_add_epi8(v, shift), pastZ)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
        if (upper == 0xFFFFu) {
            p += 16;
            o += 16;
            continue;
        }
        const unsigned run = static_cast<unsigned>(__builtin_ctz(~upper));
        p += run;
        o += run;
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '>') break;
        if (static_cast<unsigned char>((c | 0x20u) - 'a') < 26)
            *o++ = static_cast<char>(c & ~0x20u);
        ++p;
    }
#endif
    for (; p < end && *p != '>'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (static_cast<unsigned char>((c | 0x20u) - 'a') < 26)
            *o++ = static_cast<char>(c & ~0x20u);
    }
    written = o - out;
    return p;
}

}  // namespace

CFastaPeptideScanner::CFastaPeptideScanner(std::string peptide, qint64 blockSize)
    : peptide_(std::move(peptide)), blockSize_(std::max<qint64>(blockSize, 1)) {}

bool CFastaPeptideScanner::open(const QString& path) {
    file_.close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    size_ = file_.size();
    return true;
}

CFastaPeptideScanner::Status CFastaPeptideScanner::scan(const Hit& hit, const EntryEnd& entryEnd) {
    enum class State { BeforeFirstEntry, InHeader, InSequence };
    State state = State::BeforeFirstEntry;
    block_.resize(static_cast<std::size_t>(std::min(blockSize_, std::max<qint64>(size_, 1))));
    packed_.resize(block_.size() + peptide_.size() + 16);
    carried_.clear();
    carriedHeader_.clear();
    carriedFound_ = false;
    const qsizetype carryLetters = std::max<qsizetype>(qsizetype(peptide_.size()) - 1, 0);

    for (qint64 blockStart = 0; blockStart < size_;) {
        const qint64 want = std::min<qint64>(qint64(block_.size()), size_ - blockStart);
        const qint64 got = file_.read(block_.data(), want);
        if (got <= 0) return Status::ReadFailed;
        const char* block = block_.data();
        const qsizetype n = static_cast<qsizetype>(got);
        const bool lastBlock = blockStart + got >= size_;

        packedSize_ = 0;
        pieces_.clear();
        if (state != State::BeforeFirstEntry) {
            // The entry that goes on: its last letters come first, so that a peptide across
            // the blocks' boundary is found.
            Piece piece;
            piece.continued = true;
            const qsizetype carry = std::min<qsizetype>(carryLetters, qsizetype(carried_.size()));
            std::memcpy(packed_.data(), carried_.data() + carried_.size() - std::size_t(carry),
                        std::size_t(carry));
            packedSize_ = carry;
            pieces_.push_back(piece);
        }
        for (qsizetype pos = 0; pos < n;) {
            const char* here = block + pos;
            const std::size_t left = static_cast<std::size_t>(n - pos);
            if (state == State::InHeader) {
                const char* lf = static_cast<const char*>(std::memchr(here, '\n', left));
                const qsizetype take = lf ? lf - here : qsizetype(left);
                Piece& piece = pieces_.back();
                if (piece.headerAt >= 0) {
                    piece.headerSize += take;
                } else {
                    const qsizetype room = kMaxHeaderBytes - carriedHeader_.size();
                    if (room > 0) carriedHeader_.append(here, std::min(take, room));
                }
                pos += take;
                if (lf) {
                    ++pos;
                    state = State::InSequence;
                    piece.begin = packedSize_;
                }
                continue;
            }
            const char* gt = nullptr;
            if (state == State::InSequence) {
                qsizetype written = 0;
                const char* stop =
                    PackLetters(here, block + n, packed_.data() + packedSize_, written);
                packedSize_ += written;
                pos = stop - block;
                if (pos == n) continue;
                gt = stop;
                Piece& piece = pieces_.back();
                piece.end = packedSize_;
                piece.finished = true;
                if (!entryEnd(blockStart + pos)) return Status::Cancelled;
            } else {
                gt = static_cast<const char*>(std::memchr(here, '>', left));
                if (!gt) break;  // text before the first entry
            }
            // A new entry: its header follows the '>'.
            pos = gt - block + 1;
            if (packedSize_ > 0) packed_[std::size_t(packedSize_++)] = '\n';
            Piece piece;
            piece.begin = packedSize_;
            piece.headerAt = pos;
            pieces_.push_back(piece);
            state = State::InHeader;
        }
        if (!pieces_.empty() && !pieces_.back().finished) {
            Piece& piece = pieces_.back();
            piece.end = packedSize_;
            if (piece.headerAt >= 0 && state == State::InHeader) piece.begin = piece.end;
            if (lastBlock) {
                // The last entry ends with the file.
                piece.finished = true;
                if (!entryEnd(size_)) return Status::Cancelled;
            }
        }
        searchBlock(block, hit);
        keepUnfinished(block);
        blockStart += got;
    }
    return Status::Done;
}

void CFastaPeptideScanner::searchBlock(const char* block, const Hit& hit) {
    const char* packed = packed_.data();
    const char* end = packed + packedSize_;
    const qsizetype carry =
        pieces_.empty() || !pieces_.front().continued
            ? 0
            : std::min<qsizetype>(qsizetype(peptide_.size()) - 1, qsizetype(carried_.size()));
    const char* from = packed;
    std::size_t k = 0;
    newFound_ = false;
    for (;;) {
        const char* at = FindNeedle(from, end, peptide_);
        // Entries without a match before it; a continued entry may have one from before.
        while (k < pieces_.size() && (at == end || packed + pieces_[k].end <= at)) {
            const Piece& piece = pieces_[k];
            if (piece.continued && piece.finished && carriedFound_)
                reportCarried(piece, carry, hit);
            ++k;
        }
        if (at == end || k == pieces_.size()) return;
        const Piece& piece = pieces_[k];
        const std::size_t index = static_cast<std::size_t>(at - packed - piece.begin);
        if (piece.continued) {
            if (!carriedFound_) {
                carriedFound_ = true;
                carriedAt_ = carried_.size() - std::size_t(carry) + index;
            }
            if (piece.finished) reportCarried(piece, carry, hit);
        } else if (piece.finished) {
            FastaPeptideHit found;
            found.header =
                QByteArray(block + piece.headerAt, std::min(piece.headerSize, kMaxHeaderBytes));
            found.residues.assign(packed + piece.begin, packed + piece.end);
            found.at = index;
            hit(found);
        } else {
            newFound_ = true;
            newAt_ = index;
        }
        // Only the first occurrence counts: go on after the entry.
        from = packed + piece.end;
        ++k;
    }
}

void CFastaPeptideScanner::reportCarried(const Piece& piece, qsizetype carry, const Hit& hit) {
    const char* packed = packed_.data();
    FastaPeptideHit found;
    found.header = carriedHeader_;
    found.residues = carried_;
    found.residues.append(packed + piece.begin + carry, packed + piece.end);
    found.at = carriedAt_;
    hit(found);
}

void CFastaPeptideScanner::keepUnfinished(const char* block) {
    if (pieces_.empty()) return;
    const Piece& last = pieces_.back();
    if (last.finished) {
        carried_.clear();
        carriedHeader_.clear();
        carriedFound_ = false;
        return;
    }
    const char* packed = packed_.data();
    if (last.continued) {
        // The one entry of the block goes on still.
        const qsizetype carry =
            std::min<qsizetype>(qsizetype(peptide_.size()) - 1, qsizetype(carried_.size()));
        carried_.append(packed + last.begin + carry, packed + last.end);
        return;
    }
    carried_.assign(packed + last.begin, packed + last.end);
    carriedHeader_ = QByteArray(block + last.headerAt, std::min(last.headerSize, kMaxHeaderBytes));
    carriedFound_ = newFound_;
    carriedAt_ = newAt_;
}

}  // namespace zar
