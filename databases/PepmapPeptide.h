#pragma once
// One row of the Pepmap digest: a peptide of the protein (or two joined by a disulfide bond)
// with the best match found for it in the run, and the list that holds the rows of one digest
// with the protein they come from.
//
// A row keeps where its residues lie in the protein and which pieces it spans, not copies of
// its text, and no masses: those follow from the protein's residues, which the list keeps once
// (shared with the engine, not copied). 64 bytes a peptide.

#include "PepmapOptions.h"

#include "document/AminoAcidMasses.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace zar {

enum PepmapDigestKind : int {
    kPepmapLinkedPeptide = 0,  // two pieces (or one bonded to itself) joined by a disulfide bond
    kPepmapCompletePeptide = 1,
    kPepmapIncompletePeptide = 2,
};

// Residue masses of both kinds with their hydrogen and hydroxyl terms.
struct PepmapMassTables {
    ResidueMassTable average = ZeroResidueMasses();
    ResidueMassTable mono = ZeroResidueMasses();
    double averageH = 0.0;
    double averageOH = 0.0;
    double monoH = 0.0;
    double monoOH = 0.0;

    // Zeroed tables filled with the residue masses of the letters.
    static PepmapMassTables Standard();
    // Characters outside the table (codes 256 and above) weigh nothing.
    double residue(QChar c, bool monoisotopic) const {
        const char16_t code = c.unicode();
        if (code >= 256) return 0.0;
        return monoisotopic ? mono[code] : average[code];
    }
    double hydrogen(bool monoisotopic) const { return monoisotopic ? monoH : averageH; }
};

// What the residues start..end of a sequence weigh and hold (end past the sequence: up to its
// last residue).
struct PepmapStretch {
    double average = 0.0;  // neutral: H + OH + residues
    double mono = 0.0;
    long long maxCharge = 1;  // 1 + residues that can carry a proton (P, H, K, R)
    long long cysteines = 0;
};
PepmapStretch MeasureStretch(const QString& sequence, const PepmapMassTables& masses, int start,
                             int end);

class CPepmapPeptide {
  public:
    double matchedIntensity = 0.0;
    double matchedTime = 0.0;
    int start = 0;          // 0-based, first residue
    int end = 0;            // 0-based, last residue (inclusive)
    int secondStart = 0;    // the second peptide of a linked pair (the first again when bonded
    int secondEnd = 0;      // to itself); else 0
    int firstFragment = 0;  // 1-based number of the first piece between cleavage sites
    int lastFragment = 0;   // last piece (incomplete), the second peptide's first piece (linked)
    // Linked pairs: the last piece of each of the two peptides, 0 for a peptide of one piece.
    int firstPeptideLastFragment = 0;
    int secondPeptideLastFragment = 0;
    int serial = 0;
    int matchedScan = 0;  // 0 when unmatched
    // 16-bit, as the record has them; the digest stops them at the largest value.
    std::int16_t maxCharge = 0;
    std::int16_t cysteines = 0;
    std::int8_t disulfideKind = 0;
    std::int8_t digestKind = 0;

    bool isLinked() const { return digestKind == kPepmapLinkedPeptide; }
    bool isSelfLinked() const { return isLinked() && secondStart == start && secondEnd == end; }
    bool isMatched() const { return matchedScan > 0; }
    // "%d" of the fragment, "%d-%d" of the first and last fragment, or the two labels of a
    // linked pair joined by "." (".." for a peptide bonded to itself).
    QString label() const;
};

static_assert(sizeof(CPepmapPeptide) <= 64, "a digest row takes at most 64 bytes");

class PepmapPeptideList {
  public:
    using Rows = std::vector<CPepmapPeptide>;

    PepmapPeptideList() = default;
    // Rows of a digest of the sequence, weighed with the tables.
    PepmapPeptideList(std::initializer_list<CPepmapPeptide> rows, QString sequence = QString(),
                      const PepmapMassTables& masses = PepmapMassTables::Standard());

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    CPepmapPeptide& operator[](std::size_t k) { return rows_[k]; }
    const CPepmapPeptide& operator[](std::size_t k) const { return rows_[k]; }
    Rows::iterator begin() { return rows_.begin(); }
    Rows::iterator end() { return rows_.end(); }
    Rows::const_iterator begin() const { return rows_.begin(); }
    Rows::const_iterator end() const { return rows_.end(); }
    const CPepmapPeptide& front() const { return rows_.front(); }
    const CPepmapPeptide& back() const { return rows_.back(); }
    void push_back(const CPepmapPeptide& row) { rows_.push_back(row); }
    void reserve(std::size_t rows) { rows_.reserve(rows); }
    // Gives back room that the rows do not use.
    void shrinkToFit() { rows_.shrink_to_fit(); }
    // Drops the rows (the protein stays).
    void clear() { rows_.clear(); }
    void swap(PepmapPeptideList& other) noexcept;
    Rows& rows() { return rows_; }
    const Rows& rows() const { return rows_; }

    // The protein the rows lie in, and the masses its residues weigh.
    void setProtein(const QString& sequence, const PepmapMassTables& masses);
    const QString& sequence() const { return sequence_; }

    // Neutral masses: H + OH + the residues; a linked pair: both peptides less 2 H.
    double averageMass(const CPepmapPeptide& row) const { return mass(row, false); }
    double monoMass(const CPepmapPeptide& row) const { return mass(row, true); }
    double mass(const CPepmapPeptide& row, bool monoisotopic) const;

    // Bytes the rows take, their room included.
    std::size_t memoryBytes() const { return rows_.capacity() * sizeof(CPepmapPeptide); }

  private:
    Rows rows_;
    QString sequence_;
    PepmapMassTables masses_ = PepmapMassTables::Standard();
};

// Sorts the rows by the key (an unknown key keeps the order); descending reverses every key.
void SortPepmapPeptides(PepmapPeptideList& rows, int mode, bool descending, bool monoisotopic);

}  // namespace zar
