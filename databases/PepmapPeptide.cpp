#include "PepmapPeptide.h"

#include <algorithm>
#include <tuple>

namespace zar {
namespace {

int LengthKey(const CPepmapPeptide& p) {
    return (p.end - p.start) + (p.secondEnd - p.secondStart);
}

template <class Less>
void SortBy(PepmapPeptideList& rows, bool descending, Less less) {
    if (descending)
        std::stable_sort(
            rows.begin(), rows.end(),
            [&](const CPepmapPeptide& a, const CPepmapPeptide& b) { return less(b, a); });
    else
        std::stable_sort(rows.begin(), rows.end(), less);
}

}  // namespace

void SortPepmapPeptides(PepmapPeptideList& rows, int mode, bool descending, bool monoisotopic) {
    switch (mode) {
        case kPepmapSortPosition:
            SortBy(rows, descending, [](const CPepmapPeptide& a, const CPepmapPeptide& b) {
                return std::tie(a.firstFragment, a.lastFragment, a.secondStart, a.secondEnd) <
                       std::tie(b.firstFragment, b.lastFragment, b.secondStart, b.secondEnd);
            });
            break;
        case kPepmapSortMass:
            SortBy(rows, descending,
                   [monoisotopic](const CPepmapPeptide& a, const CPepmapPeptide& b) {
                       return a.mass(monoisotopic) < b.mass(monoisotopic);
                   });
            break;
        case kPepmapSortLength:
            SortBy(rows, descending, [](const CPepmapPeptide& a, const CPepmapPeptide& b) {
                return LengthKey(a) < LengthKey(b);
            });
            break;
        case kPepmapSortScan:
            SortBy(rows, descending, [](const CPepmapPeptide& a, const CPepmapPeptide& b) {
                return a.matchedScan < b.matchedScan;
            });
            break;
        default:
            break;
    }
}

}  // namespace zar
