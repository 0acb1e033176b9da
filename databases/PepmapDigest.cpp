#include "PepmapDigest.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>

namespace zar {
namespace {

bool Within(double value, double low, double high) {
    return low <= value && value <= high;
}

// Counts are kept in 16 bits; a count beyond that stays at the largest.
std::int16_t Saturated(long long count) {
    return static_cast<std::int16_t>(std::min<long long>(count, INT16_MAX));
}

class Digester {
  public:
    Digester(const PepmapDigestInput& in, const PepmapCancelFlag& cancel, PepmapProgress& progress)
        : in_(in),
          opt_(in.options),
          cancel_(cancel),
          progress_(progress),
          markers_(in.markersSet ? &in.bondMarkers : nullptr) {}

    PepmapDigestStatus run(PepmapPeptideList& rows) {
        progress_.setStatusText(QStringLiteral("Performing enzyme digest ..."));
        progress_.setProgress(0);
        sites_ = FindCleavageSites(in_.rule, in_.sequence);
        rows.setProtein(in_.sequence, in_.masses);
        progress_.setProgress(20);
        if (cancel_) return PepmapDigestStatus::kCancelled;
        if (opt_.completeDigest) addComplete(rows);
        if (cancel_) return PepmapDigestStatus::kCancelled;
        progress_.setProgress(40);
        if (opt_.incompleteDigest) addIncomplete(rows);
        if (cancel_) return PepmapDigestStatus::kCancelled;
        progress_.setProgress(60);
        if (opt_.disulfideMode > kPepmapNoDisulfides) {
            addDisulfides(rows);
            if (cancel_) return PepmapDigestStatus::kCancelled;
        }
        progress_.setProgress(80);
        progress_.setStatusText(QStringLiteral("Enzyme digest finished"));
        progress_.setProgress(100);
        return PepmapDigestStatus::kDone;
    }

    // The rows run() would make, counted from the sites alone.
    PepmapDigestEstimate estimate() {
        PepmapDigestEstimate est;
        sites_ = FindCleavageSites(in_.rule, in_.sequence);
        const int n = static_cast<int>(sites_.size());
        const std::vector<double> prefix = averagePrefix();
        const int mode = opt_.disulfideMode;
        const bool links = mode == kPepmapSpecificDisulfides || mode == kPepmapAllDisulfides;
        const std::vector<int> bondable = links ? bondablePrefix() : std::vector<int>();
        // Rows that may join others, by the site they start at and the site they end at (a
        // row ends at site e when its last residue is sites[e] - 1), and rows that may be
        // bonded to themselves.
        std::vector<long long> starting(static_cast<std::size_t>(n) + 1, 0);
        std::vector<long long> endingDiff(static_cast<std::size_t>(n) + 2, 0);
        long long selfBonded = 0;
        const auto countLinkable = [&](int i, int lo, int hi) {
            if (!links || lo > hi) return;
            const int one = std::max(lo, firstEndHolding(bondable, i, 1));
            if (one <= hi) {
                starting[i] += hi - one + 1;
                ++endingDiff[one];
                --endingDiff[hi + 1];
            }
            const int two = std::max(lo, firstEndHolding(bondable, i, 2));
            if (two <= hi) selfBonded += hi - two + 1;
        };
        if (opt_.completeDigest) {
            const double terms = in_.masses.averageH + in_.masses.averageOH;
            for (int j = 1; j < n; ++j) {
                const double length = sites_[j] - sites_[j - 1];
                const double mass = terms + prefix[sites_[j]] - prefix[sites_[j - 1]];
                if (limits() && !(Within(length, opt_.lengthMin, opt_.lengthMax) &&
                                  Within(mass, opt_.massMin, opt_.massMax)))
                    continue;
                ++est.complete;
                countLinkable(j - 1, j, j);
            }
        }
        if (opt_.incompleteDigest) {
            for (int i = 0; i < n; ++i) {
                int lo = 0, hi = 0;
                endRange(i, prefix, &lo, &hi);
                if (lo > hi) continue;
                est.incomplete += hi - lo + 1;
                countLinkable(i, lo, hi);
            }
        }
        if (links) {
            // A pair joins a row ending at site e with one starting at site i >= e.
            long long ending = 0, endedBy = 0;
            for (int i = 0; i < n; ++i) {
                ending += endingDiff[i];
                endedBy += ending;
                est.linked += starting[i] * endedBy;
            }
            est.linked += selfBonded;
        }
        return est;
    }

  private:
    bool limits() const { return opt_.limitFragments != 0; }

    // Whether the limits keep a peptide of these residues and this average mass.
    bool keep(const CPepmapPeptide& row, double averageMass) const {
        if (!limits()) return true;
        const double length = row.end - row.start + 1;
        return Within(length, opt_.lengthMin, opt_.lengthMax) &&
               Within(averageMass, opt_.massMin, opt_.massMax);
    }

    // The row of pieces first..last; nothing when the limits drop it.
    std::optional<CPepmapPeptide> makeRow(int kind, int first, int last, int count) const {
        CPepmapPeptide row;
        row.digestKind = static_cast<std::int8_t>(kind);
        row.firstFragment = first;
        row.lastFragment = kind == kPepmapIncompletePeptide ? last : 0;
        row.start = sites_[first - 1];
        row.end = sites_[last] - 1;
        const PepmapStretch s = MeasureStretch(in_.sequence, in_.masses, row.start, row.end);
        if (!keep(row, s.average)) return std::nullopt;
        row.maxCharge = Saturated(s.maxCharge);
        row.cysteines = Saturated(s.cysteines);
        row.serial = count + 1;
        return row;
    }

    void addComplete(PepmapPeptideList& rows) {
        const int n = static_cast<int>(sites_.size());
        rows.reserve(rows.size() + static_cast<std::size_t>(std::max(n - 1, 0)));
        for (int j = 1; j < n; ++j) {
            std::optional<CPepmapPeptide> row =
                makeRow(kPepmapCompletePeptide, j, j, static_cast<int>(rows.size()));
            if (!row) continue;
            row->disulfideKind = static_cast<std::int8_t>(opt_.disulfideMode);
            rows.push_back(*row);
        }
    }

    // Cysteines of residues [0, k) that may bond, for every k: every cysteine, or with specific
    // bonds only the marked ones.
    std::vector<int> bondablePrefix() const {
        const bool specific = opt_.disulfideMode == kPepmapSpecificDisulfides;
        std::vector<int> prefix(in_.sequence.size() + 1, 0);
        for (qsizetype k = 0; k < in_.sequence.size(); ++k) {
            bool counts = in_.sequence.at(k) == u'C';
            if (specific)
                counts = counts && markers_ && k < static_cast<qsizetype>(markers_->size()) &&
                         (*markers_)[static_cast<std::size_t>(k)] == 1;
            prefix[k + 1] = prefix[k] + (counts ? 1 : 0);
        }
        return prefix;
    }

    // The first end site e > i whose row from site i holds `count` bondable cysteines; the
    // number of sites when none does.
    int firstEndHolding(const std::vector<int>& bondable, int i, int count) const {
        const int n = static_cast<int>(sites_.size());
        const int base = bondable[sites_[i]];
        int a = i + 1, b = n;
        while (a < b) {
            const int m = a + (b - a) / 2;
            if (bondable[sites_[m]] - base >= count)
                b = m;
            else
                a = m + 1;
        }
        return a;
    }

    // Average mass of residues [0, k) for every k, to bound the end sites by mass.
    std::vector<double> averagePrefix() const {
        std::vector<double> prefix(in_.sequence.size() + 1, 0.0);
        for (qsizetype k = 0; k < in_.sequence.size(); ++k)
            prefix[k + 1] = prefix[k] + in_.masses.residue(in_.sequence.at(k), false);
        return prefix;
    }

    // The end sites e (peptide = sites[i] .. sites[e] - 1) worth trying for start site i. The
    // limits bound them by binary search so that a bounded digest stays linear in the sites.
    void endRange(int i, const std::vector<double>& prefix, int* lo, int* hi) const {
        const int n = static_cast<int>(sites_.size());
        *lo = i + 2;
        *hi = n - 1;
        if (!limits()) return;
        // Missed cleavages of the peptide: e - i - 1.
        if (opt_.undigestedSitesMin > 0)
            *lo = static_cast<int>(std::min<double>(
                n, std::max<double>(*lo, std::ceil(i + 1 + opt_.undigestedSitesMin))));
        if (opt_.undigestedSitesMax > 0)
            *hi = static_cast<int>(std::max<double>(
                -1, std::min<double>(*hi, std::floor(i + 1 + opt_.undigestedSitesMax))));
        const auto first = sites_.begin();
        const double base = sites_[i];
        // Length: sites[e] - sites[i] within [lengthMin, lengthMax].
        *lo = std::max(
            *lo,
            static_cast<int>(std::lower_bound(first, sites_.end(), base + opt_.lengthMin) - first));
        *hi = std::min(
            *hi,
            static_cast<int>(std::upper_bound(first, sites_.end(), base + opt_.lengthMax) - first) -
                1);
        // Mass grows with the end site; a little slack leaves the exact test to keep().
        const double terms = in_.masses.averageH + in_.masses.averageOH;
        const double slack = 1e-6 * std::max(1.0, std::fabs(opt_.massMax));
        const double startMass = prefix[sites_[i]];
        auto massOf = [&](int e) { return terms + prefix[sites_[e]] - startMass; };
        int a = *lo, b = *hi + 1;
        while (a < b) {  // first e with mass >= massMin - slack
            const int m = a + (b - a) / 2;
            if (massOf(m) < opt_.massMin - slack)
                a = m + 1;
            else
                b = m;
        }
        *lo = a;
        a = *lo;
        b = *hi + 1;
        while (a < b) {  // first e with mass > massMax + slack
            const int m = a + (b - a) / 2;
            if (massOf(m) <= opt_.massMax + slack)
                a = m + 1;
            else
                b = m;
        }
        *hi = a - 1;
    }

    void addIncomplete(PepmapPeptideList& rows) {
        const int n = static_cast<int>(sites_.size());
        const std::vector<double> prefix = limits() ? averagePrefix() : std::vector<double>();
        // Room for every candidate at once: the limits drop only a few of them.
        std::size_t candidates = 0;
        for (int i = 0; i < n; ++i) {
            int lo = 0, hi = 0;
            endRange(i, prefix, &lo, &hi);
            candidates += static_cast<std::size_t>(std::max(hi - lo + 1, 0));
        }
        rows.reserve(rows.size() + candidates);
        for (int i = 0; i < n; ++i) {
            int lo = 0, hi = 0;
            endRange(i, prefix, &lo, &hi);
            for (int e = lo; e <= hi; ++e) {
                const std::optional<CPepmapPeptide> row =
                    makeRow(kPepmapIncompletePeptide, i + 1, e, static_cast<int>(rows.size()));
                if (row) rows.push_back(*row);
            }
            if (cancel_) return;
        }
    }

    // A pair of rows may be joined when the specific bonds allow it: each row must hold a
    // marked cysteine (a row bonded to itself two of them).
    static bool SpecificPairAllowed(int bondedA, int bondedB, bool self) {
        if (self) return bondedA >= 2;
        return bondedA >= 1 && bondedB >= 1;
    }

    void addDisulfides(PepmapPeptideList& rows) {
        const int mode = opt_.disulfideMode;
        if (mode != kPepmapSpecificDisulfides && mode != kPepmapAllDisulfides) return;
        const bool specific = mode == kPepmapSpecificDisulfides;
        // Rows added here are not paired again.
        const int n = static_cast<int>(rows.size());
        std::vector<int> withCys;
        std::vector<int> bonded;
        for (int k = 0; k < n; ++k) {
            if (rows[k].cysteines <= 0) continue;
            withCys.push_back(k);
            if (specific)
                bonded.push_back(markers_ ? CountBondedCysteines(in_.sequence, *markers_,
                                                                 rows[k].start, rows[k].end)
                                          : 0);
        }
        for (size_t ia = 0; ia < withCys.size(); ++ia) {
            for (size_t ib = ia; ib < withCys.size(); ++ib) {
                const bool self = ia == ib;
                // The pair is joined whatever the order the two rows were made in (an
                // incomplete peptide comes after the pieces that follow it in the protein);
                // the peptide nearer the N-terminus comes first.
                const bool inOrder = rows[withCys[ia]].end < rows[withCys[ib]].start;
                const bool reversed = rows[withCys[ib]].end < rows[withCys[ia]].start;
                if (!self && !inOrder && !reversed) continue;
                const CPepmapPeptide& a = rows[withCys[reversed ? ib : ia]];
                const CPepmapPeptide& b = rows[withCys[reversed ? ia : ib]];
                if (self && a.cysteines < 2) continue;
                if (specific && !SpecificPairAllowed(bonded[ia], bonded[ib], self)) continue;
                CPepmapPeptide row;
                row.digestKind = kPepmapLinkedPeptide;
                row.disulfideKind = static_cast<std::int8_t>(mode);
                row.serial = a.serial;
                row.firstFragment = a.firstFragment;
                row.firstPeptideLastFragment = a.lastFragment;
                row.lastFragment = b.firstFragment;
                row.secondPeptideLastFragment = b.lastFragment;
                row.start = a.start;
                row.end = a.end;
                row.secondStart = b.start;
                row.secondEnd = b.end;
                row.maxCharge = self ? a.maxCharge : Saturated(a.maxCharge + b.maxCharge);
                row.cysteines = self ? a.cysteines : Saturated(a.cysteines + b.cysteines);
                rows.push_back(row);
            }
            if (cancel_) return;
        }
    }

    const PepmapDigestInput& in_;
    const PepmapOptions& opt_;
    const PepmapCancelFlag& cancel_;
    PepmapProgress& progress_;
    const std::vector<int>* markers_;
    std::vector<int> sites_;
};

}  // namespace

int CountBondedCysteines(const QString& sequence, const std::vector<int>& markers, int start,
                         int end) {
    const int last = std::min(end, static_cast<int>(sequence.size()) - 1);
    int bonded = 0;
    for (int k = std::max(start, 0); k <= last; ++k)
        if (sequence.at(k) == u'C' && k < static_cast<int>(markers.size()) && markers[k] == 1)
            ++bonded;
    return bonded;
}

PepmapDigestEstimate EstimatePepmapDigest(const PepmapDigestInput& input) {
    if (input.sequence.isEmpty()) return {};
    PepmapCancelFlag never{false};
    PepmapMessageBoxProgress silent;
    return Digester(input, never, silent).estimate();
}

PepmapDigestStatus DigestSequence(const PepmapDigestInput& input, PepmapPeptideList* rows,
                                  const PepmapCancelFlag& cancel, PepmapProgress& progress) {
    if (input.sequence.isEmpty()) {
        progress.showMessage(QStringLiteral("Please enter a sequence"));
        return PepmapDigestStatus::kEmptySequence;
    }
    rows->clear();
    try {
        Digester digester(input, cancel, progress);
        const PepmapDigestStatus status = digester.run(*rows);
        // Room reserved for candidates the limits dropped, or grown for the links, is given
        // back: a row takes no more than its 64 bytes.
        if (rows->rows().capacity() > rows->size()) rows->shrinkToFit();
        return status;
    } catch (const std::bad_alloc&) {
        PepmapPeptideList().swap(*rows);
        progress.showMessage(QStringLiteral("Unable to allocate the required memory"));
        return PepmapDigestStatus::kNoMemory;
    }
}

}  // namespace zar
