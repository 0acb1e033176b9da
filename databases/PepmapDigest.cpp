#include "PepmapDigest.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zar {
namespace {

// Residues that can carry a proton.
bool IsChargeSite(QChar c) {
    return c == u'P' || c == u'H' || c == u'K' || c == u'R';
}

bool Within(double value, double low, double high) {
    return low <= value && value <= high;
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

  private:
    bool limits() const { return opt_.limitFragments != 0; }

    bool keep(const CPepmapPeptide& row) const {
        if (!limits()) return true;
        const double length = row.end - row.start + 1;
        return Within(length, opt_.lengthMin, opt_.lengthMax) &&
               Within(row.averageMass, opt_.massMin, opt_.massMax);
    }

    CPepmapPeptide makeRow(int kind, int first, int last, int begin, int end, int count) const {
        CPepmapPeptide row;
        row.digestKind = kind;
        row.firstFragment = first;
        row.lastFragment = last;
        row.start = begin;
        row.end = end;
        ComputePeptideMasses(in_.sequence, in_.masses, markers_, row);
        row.serial = count + 1;
        return row;
    }

    void addComplete(PepmapPeptideList& rows) {
        const int n = static_cast<int>(sites_.size());
        for (int j = 0; j + 1 < n; ++j) {
            CPepmapPeptide row = makeRow(kPepmapCompletePeptide, j + 1, 0, sites_[j],
                                         sites_[j + 1] - 1, static_cast<int>(rows.size()));
            if (!keep(row)) continue;
            row.disulfideKind = opt_.disulfideMode;
            row.label = QString::number(j + 1);
            rows.push_back(std::move(row));
        }
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
        for (int i = 0; i < n; ++i) {
            int lo = 0, hi = 0;
            endRange(i, prefix, &lo, &hi);
            for (int e = lo; e <= hi; ++e) {
                CPepmapPeptide row = makeRow(kPepmapIncompletePeptide, i + 1, e, sites_[i],
                                             sites_[e] - 1, static_cast<int>(rows.size()));
                if (!keep(row)) continue;
                row.label = QStringLiteral("%1-%2").arg(i + 1).arg(e);
                rows.push_back(std::move(row));
            }
            if (cancel_) return;
        }
    }

    // A pair of rows may be joined when the specific bonds allow it: each row must hold a
    // marked cysteine (a row bonded to itself two of them).
    bool specificPairAllowed(const CPepmapPeptide& a, const CPepmapPeptide& b, bool self) const {
        if (self) return a.bondedCysteines >= 2;
        return a.bondedCysteines >= 1 && b.bondedCysteines >= 1;
    }

    void addDisulfides(PepmapPeptideList& rows) {
        const int mode = opt_.disulfideMode;
        if (mode != kPepmapSpecificDisulfides && mode != kPepmapAllDisulfides) return;
        const double hAvg = in_.masses.averageH;
        const double hMono = in_.masses.monoH;
        // Rows added here are not paired again.
        const int n = static_cast<int>(rows.size());
        std::vector<int> withCys;
        for (int k = 0; k < n; ++k)
            if (rows[k].cysteines > 0) withCys.push_back(k);
        for (size_t ia = 0; ia < withCys.size(); ++ia) {
            for (size_t ib = ia; ib < withCys.size(); ++ib) {
                const CPepmapPeptide& a = rows[withCys[ia]];
                const CPepmapPeptide& b = rows[withCys[ib]];
                const bool self = ia == ib;
                if (!self && !(a.end < b.start)) continue;
                if (self && a.cysteines < 2) continue;
                if (mode == kPepmapSpecificDisulfides && !specificPairAllowed(a, b, self)) continue;
                CPepmapPeptide row;
                row.digestKind = kPepmapLinkedPeptide;
                row.disulfideKind = mode;
                row.serial = a.serial;
                row.firstFragment = a.firstFragment;
                row.start = a.start;
                row.end = a.end;
                row.secondStart = b.start;
                row.secondEnd = b.end;
                row.lastFragment = b.firstFragment;
                if (self) {
                    row.maxCharge = a.maxCharge;
                    row.cysteines = a.cysteines;
                    row.bondedCysteines = a.bondedCysteines;
                    row.freeCysteines = a.freeCysteines;
                    row.averageMass = a.averageMass - 2 * hAvg;
                    row.monoMass = a.monoMass - 2 * hMono;
                    row.label = a.label + QStringLiteral("..");
                } else {
                    row.maxCharge = a.maxCharge + b.maxCharge;
                    row.cysteines = a.cysteines + b.cysteines;
                    row.bondedCysteines = a.bondedCysteines + b.bondedCysteines;
                    row.freeCysteines = a.freeCysteines + b.freeCysteines;
                    row.averageMass = a.averageMass + b.averageMass - 2 * hAvg;
                    row.monoMass = a.monoMass + b.monoMass - 2 * hMono;
                    row.label = a.label + u'.' + b.label;
                }
                rows.push_back(std::move(row));
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

PepmapMassTables PepmapMassTables::Standard() {
    PepmapMassTables t;
    InitAminoAcidMasses(t.average, false, &t.averageOH, &t.averageH);
    InitAminoAcidMasses(t.mono, true, &t.monoOH, &t.monoH);
    return t;
}

void ComputePeptideMasses(const QString& sequence, const PepmapMassTables& masses,
                          const std::vector<int>* bondMarkers, CPepmapPeptide& row) {
    const int last = std::min(row.end, static_cast<int>(sequence.size()) - 1);
    double average = masses.averageH + masses.averageOH;
    double mono = masses.monoH + masses.monoOH;
    int charge = 1;
    int cysteines = 0, bonded = 0, free = 0;
    for (int k = std::max(row.start, 0); k <= last; ++k) {
        const QChar c = sequence.at(k);
        average += masses.residue(c, false);
        mono += masses.residue(c, true);
        if (IsChargeSite(c)) ++charge;
        if (c == u'C') {
            ++cysteines;
            if (bondMarkers) {
                if (k < static_cast<int>(bondMarkers->size()) && (*bondMarkers)[k] == 1)
                    ++bonded;
                else
                    ++free;
            }
        }
    }
    row.averageMass = average;
    row.monoMass = mono;
    row.maxCharge = charge;
    row.cysteines = cysteines;
    row.bondedCysteines = bonded;
    row.freeCysteines = free;
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
        return digester.run(*rows);
    } catch (const std::bad_alloc&) {
        PepmapPeptideList().swap(*rows);
        progress.showMessage(QStringLiteral("Unable to allocate the required memory"));
        return PepmapDigestStatus::kNoMemory;
    }
}

}  // namespace zar
