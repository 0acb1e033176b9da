#include "PepmapPeptide.h"

#include <algorithm>
#include <tuple>

namespace zar {

PepmapMassTables PepmapMassTables::Standard() {
    PepmapMassTables t;
    InitAminoAcidMasses(t.average, false, &t.averageOH, &t.averageH);
    InitAminoAcidMasses(t.mono, true, &t.monoOH, &t.monoH);
    return t;
}

PepmapStretch MeasureStretch(const QString& sequence, const PepmapMassTables& masses, int start,
                             int end) {
    PepmapStretch s;
    s.average = masses.averageH + masses.averageOH;
    s.mono = masses.monoH + masses.monoOH;
    const int last = std::min(end, static_cast<int>(sequence.size()) - 1);
    for (int k = std::max(start, 0); k <= last; ++k) {
        const QChar c = sequence.at(k);
        s.average += masses.residue(c, false);
        s.mono += masses.residue(c, true);
        if (c == u'P' || c == u'H' || c == u'K' || c == u'R') ++s.maxCharge;
        if (c == u'C') ++s.cysteines;
    }
    return s;
}

namespace {

QString SpanLabel(int first, int last) {
    return last > 0 ? QStringLiteral("%1-%2").arg(first).arg(last) : QString::number(first);
}

}  // namespace

QString CPepmapPeptide::label() const {
    switch (digestKind) {
        case kPepmapCompletePeptide:
            return QString::number(firstFragment);
        case kPepmapIncompletePeptide:
            return SpanLabel(firstFragment, lastFragment);
        default:
            break;
    }
    const QString first = SpanLabel(firstFragment, firstPeptideLastFragment);
    if (isSelfLinked()) return first + QStringLiteral("..");
    return first + QLatin1Char('.') + SpanLabel(lastFragment, secondPeptideLastFragment);
}

PepmapPeptideList::PepmapPeptideList(std::initializer_list<CPepmapPeptide> rows, QString sequence,
                                     const PepmapMassTables& masses)
    : rows_(rows), sequence_(std::move(sequence)), masses_(masses) {}

void PepmapPeptideList::swap(PepmapPeptideList& other) noexcept {
    rows_.swap(other.rows_);
    sequence_.swap(other.sequence_);
    std::swap(masses_, other.masses_);
}

void PepmapPeptideList::setProtein(const QString& sequence, const PepmapMassTables& masses) {
    sequence_ = sequence;
    masses_ = masses;
}

double PepmapPeptideList::mass(const CPepmapPeptide& row, bool monoisotopic) const {
    const auto weigh = [&](int start, int end) {
        const PepmapStretch s = MeasureStretch(sequence_, masses_, start, end);
        return monoisotopic ? s.mono : s.average;
    };
    const double first = weigh(row.start, row.end);
    if (!row.isLinked()) return first;
    const double h = masses_.hydrogen(monoisotopic);
    if (row.isSelfLinked()) return first - 2 * h;
    return first + weigh(row.secondStart, row.secondEnd) - 2 * h;
}

namespace {

int LengthKey(const CPepmapPeptide& p) {
    return (p.end - p.start) + (p.secondEnd - p.secondStart);
}

// Sorts by a key worked out once per row; rows with equal keys keep their order.
template <class Key>
void SortByKey(PepmapPeptideList& list, bool descending, Key keyOf) {
    std::vector<CPepmapPeptide>& rows = list.rows();
    using K = decltype(keyOf(rows.front()));
    std::vector<std::pair<K, std::size_t>> keys;
    keys.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) keys.emplace_back(keyOf(rows[k]), k);
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
    });
    std::vector<CPepmapPeptide> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys) sorted.push_back(rows[key.second]);
    rows.swap(sorted);
}

}  // namespace

void SortPepmapPeptides(PepmapPeptideList& rows, int mode, bool descending, bool monoisotopic) {
    if (rows.empty()) return;
    switch (mode) {
        case kPepmapSortPosition:
            SortByKey(rows, descending, [](const CPepmapPeptide& p) {
                return std::make_tuple(p.firstFragment, p.lastFragment, p.secondStart, p.secondEnd);
            });
            break;
        case kPepmapSortMass:
            SortByKey(rows, descending, [&rows, monoisotopic](const CPepmapPeptide& p) {
                return rows.mass(p, monoisotopic);
            });
            break;
        case kPepmapSortLength:
            SortByKey(rows, descending, [](const CPepmapPeptide& p) { return LengthKey(p); });
            break;
        case kPepmapSortScan:
            SortByKey(rows, descending, [](const CPepmapPeptide& p) { return p.matchedScan; });
            break;
        default:
            break;
    }
}

}  // namespace zar
