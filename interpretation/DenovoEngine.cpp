// Input spectra, their cleaning and the evidence slots built from them.

#include "DenovoEngine.h"

#include "DenovoIndexOrder.h"
#include "document/AminoAcidMasses.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zar {

namespace {

constexpr float kDoublyChargedSinglePeak = 0.2f;  // of the highest intensity
constexpr double kDoublyChargedSum = 0.5;
constexpr double kAboveParentWindow = 5.0;
constexpr int kMinFragmentMass = 58;
constexpr int kMinResidueMass = 57;

// Intensities above this are taken as this, so that evidence sums stay within 64 bits.
constexpr double kMaxIntensity = 1e15;

// trunc() as an int, held inside the int range (and NaN as a large negative number).
int TruncToInt(double value) {
    constexpr double kLimit = 1e9;
    const double t = std::trunc(value);
    if (!(t > -kLimit)) return -static_cast<int>(kLimit);
    if (t > kLimit) return static_cast<int>(kLimit);
    return static_cast<int>(t);
}

int NominalMS2(double mz) {
    return TruncToInt(mz * CDenovoEngine::kMS2NominalFactor + 0.5);
}

int NominalMS3(double mz) {
    return TruncToInt(mz * CDenovoEngine::kMS3NominalFactor + 0.5);
}

bool ByMz(const DenovoPoint& a, const DenovoPoint& b) {
    return a.mz < b.mz;
}

}  // namespace

std::vector<DenovoResidue> DenovoStandardResidues() {
    ResidueMassTable masses = ZeroResidueMasses();
    InitAminoAcidMasses(masses, true);
    std::vector<DenovoResidue> residues;
    for (const char* p = kDenovoStandardLetters; *p; ++p) {
        const double mass = masses[static_cast<unsigned char>(*p)];
        residues.push_back({*p, mass, static_cast<int>(mass)});
    }
    return residues;
}

bool ParseDenovoScanFilter(const QString& filter, int* kind, double* precursor) {
    int found = 0;
    int at = filter.indexOf(QLatin1String("ms2"));
    if (at >= 0) {
        found = kDenovoKindMS2;
    } else {
        at = filter.indexOf(QLatin1String("ms3"));
        if (at < 0) return false;
        found = kDenovoKindMS3;
    }
    // The items after the order are "m/z@energy"; MS2 uses the first m/z, MS3 the second.
    const QStringList items = filter.mid(at + 3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int wanted = found == kDenovoKindMS2 ? 0 : 1;
    if (items.size() <= wanted) return false;
    const QString item = items[wanted].section(QLatin1Char('@'), 0, 0);
    bool ok = false;
    const double value = item.toDouble(&ok);  // QString::toDouble is locale-independent
    if (!ok) return false;
    *kind = found;
    *precursor = value;
    return true;
}

CDenovoEngine::CDenovoEngine()
    : spectra_(kMaxSlots),
      parents_(kMaxSlots, 0),
      evidence_(kMaxSlots, std::vector<Evidence>(1, 0)),
      signs_(kMaxSlots, 0),
      oneD_(1, 0),
      texts_(kMaxCandidates),
      s0_(kMaxCandidates, 0.0),
      cs1d_(kMaxCandidates, 0.0),
      table_(kMaxCandidates) {}

void CDenovoEngine::InitParameters(const DenovoParams& params) {
    daTolerance_ = params.daTolerance;
    minimumPrimaryScore_ = params.minimumPrimaryScore;
    ppmTolerance_ = params.ppmTolerance;
    noiseThreshold_ = params.noiseThreshold;
    maximumPartialSequences_ =
        std::clamp(params.maximumPartialSequences, kDenovoMinListLength, kDenovoMaxListLength);
    maximumCandidates_ =
        std::clamp(params.maximumCandidates, kDenovoMinListLength, kDenovoMaxListLength);
    percentOfHighestScore_ = std::clamp(params.percentOfHighestScore, 0, 100);
    expandPartialSequences_ = params.expandPartialSequences != 0 ? 1 : 0;
}

DenovoParams CDenovoEngine::Parameters() const {
    DenovoParams p;
    p.daTolerance = daTolerance_;
    p.minimumPrimaryScore = minimumPrimaryScore_;
    p.ppmTolerance = ppmTolerance_;
    p.noiseThreshold = noiseThreshold_;
    p.maximumPartialSequences = maximumPartialSequences_;
    p.maximumCandidates = maximumCandidates_;
    p.percentOfHighestScore = static_cast<std::int32_t>(percentOfHighestScore_);
    p.expandPartialSequences = expandPartialSequences_;
    return p;
}

void CDenovoEngine::SetParameters(const DenovoParams& params) {
    InitParameters(params);
    if (!Prepared()) return;
    workDone_ = 0;
    AssignSigns();
    if (Cancelled()) return;
    SequenceAllTypes();
    if (Cancelled()) return;
    if (s0_[0] < static_cast<double>(0.2f)) {
        BuildSpectrum(7);
        SequenceSpectrum(7);
    }
    if (Cancelled()) return;
    if (expandPartialSequences_) ExpandPartialSequences();
}

void CDenovoEngine::SetResidueTable(int count, const char* letters, const double* masses) {
    std::vector<DenovoResidue> residues;
    for (int i = 0; i < count && letters && letters[i]; ++i)
        residues.push_back({letters[i], masses[i], static_cast<int>(masses[i])});
    SetResidueTable(residues);
}

void CDenovoEngine::SetResidueTable(const std::vector<DenovoResidue>& residues) {
    residues_.clear();
    for (const DenovoResidue& r : residues) {
        // A letter must not read as part of a gap, and its mass must be a residue's.
        const bool gapCharacter = r.letter == '.' || (r.letter >= '0' && r.letter <= '9');
        if (r.letter == 0 || gapCharacter || !(r.mass > 0.0) || r.mass > kMaxParentMass) continue;
        residues_.push_back({r.letter, r.mass, static_cast<int>(r.mass)});
    }
    RebuildResidueIndex();
    cs1dMemo_.clear();
    if (Prepared()) FindResiduePairs();
}

void CDenovoEngine::RebuildResidueIndex() {
    int largest = 0;
    for (const DenovoResidue& r : residues_) largest = std::max(largest, r.nominal);
    residueOfNominal_.assign(static_cast<size_t>(largest) + 1, -1);
    for (size_t i = 0; i < residues_.size(); ++i) {
        int& first = residueOfNominal_[static_cast<size_t>(residues_[i].nominal)];
        if (first < 0) first = static_cast<int>(i);
    }
    residueOfLetter_.assign(256, -1);
    for (size_t i = residues_.size(); i-- > 0;)
        residueOfLetter_[static_cast<unsigned char>(residues_[i].letter)] = static_cast<int>(i);
}

const DenovoResidue* CDenovoEngine::ResidueOfNominal(int nominal) const {
    if (nominal < 0 || nominal >= static_cast<int>(residueOfNominal_.size())) return nullptr;
    const int i = residueOfNominal_[static_cast<size_t>(nominal)];
    return i < 0 ? nullptr : &residues_[static_cast<size_t>(i)];
}

const DenovoResidue* CDenovoEngine::ResidueOfLetter(char letter) const {
    if (residueOfLetter_.empty()) return nullptr;
    const int i = residueOfLetter_[static_cast<unsigned char>(letter)];
    return i < 0 ? nullptr : &residues_[static_cast<size_t>(i)];
}

int CDenovoEngine::LoadSpectra(const std::vector<DenovoScan>& scans, const DenovoParams& params,
                               const std::vector<DenovoResidue>& residues) {
    if (scans.empty()) return spectraLoaded_;
    // The alphabet first: the residue pairs of the preparation depend on it.
    SetResidueTable(residues);
    ClearSpectra();
    int slot = 0;
    for (const DenovoScan& scan : scans) {
        if (Cancelled()) return spectraLoaded_;
        if (scan.kind != kDenovoKindMS2 && scan.kind != kDenovoKindMS3) continue;
        SetSpectrum(slot, scan.precursor, scan.points, scan.charge);
        slot = AddSpectrum(slot, scan.kind);
        if (slot >= kMaxFilledSlots) break;
    }
    SetSpectraLoaded(slot);
    if (slot == 0) return 0;
    // The preparation matches peaks within the tolerances and drops noise below the threshold:
    // it takes the parameters of this load, not those of the load before.
    InitParameters(params);
    PrepareSpectra();
    if (Cancelled()) return spectraLoaded_;
    SetParameters(params);
    return spectraLoaded_;
}

void CDenovoEngine::ClearSpectra() {
    for (Spectrum& s : spectra_) s = Spectrum{};
    std::fill(parents_.begin(), parents_.end(), 0);
    for (auto& e : evidence_) e.assign(1, 0);
    std::fill(signs_.begin(), signs_.end(), 0);
    spectraLoaded_ = 0;
    massRangeStart_ = kMassRangeStart;
    massRangeEnd_ = 0;
    maximumEvidence_ = 0;
    yPairs_.clear();
    bPairs_.clear();
    oneD_.assign(1, 0);
    oneDCount_ = 0;
    oneDSum_ = 0;
    oneDMax_ = 0;
    foldedValid_ = false;
    cs1dMemo_.clear();
    for (auto& t : texts_) t.clear();
    std::fill(s0_.begin(), s0_.end(), 0.0);
    std::fill(cs1d_.begin(), cs1d_.end(), 0.0);
    candidateCount_ = 0;
}

void CDenovoEngine::KeepMostIntense(std::vector<DenovoPoint>& points, std::size_t count) const {
    if (points.size() <= count) return;
    std::stable_sort(points.begin(), points.end(), [](const DenovoPoint& a, const DenovoPoint& b) {
        return a.intensity > b.intensity;
    });
    points.resize(count);
    std::stable_sort(points.begin(), points.end(), ByMz);
}

void CDenovoEngine::SetSpectrum(int slot, double precursor, const std::vector<DenovoPoint>& points,
                                int charge) {
    if (slot < 0 || slot >= kMaxSlots) return;
    Spectrum& s = spectra_[static_cast<size_t>(slot)];
    s.precursor = precursor;
    s.charge = charge > 0 && charge <= kMaxPrecursorCharge ? charge : 0;
    s.points.clear();
    // Points that are no numbers are dropped; intensities are held within 0..kMaxIntensity.
    for (const DenovoPoint& p : points) {
        if (!std::isfinite(p.mz) || std::isnan(p.intensity)) continue;
        s.points.push_back({p.mz, std::clamp(p.intensity, 0.0, kMaxIntensity)});
    }
    std::stable_sort(s.points.begin(), s.points.end(), ByMz);
    KeepMostIntense(s.points, kMaxPoints);
}

void CDenovoEngine::SetSpectraLoaded(int count) {
    spectraLoaded_ = std::clamp(count, 0, kMaxFilledSlots);
}

int CDenovoEngine::AddSpectrum(int slot, int kind) {
    if (slot < 0 || slot >= kMaxFilledSlots) return slot;
    Spectrum& s = spectra_[static_cast<size_t>(slot)];
    double p = s.precursor;
    if (kind == kDenovoKindMS2 || p < 0.5 * spectra_[0].precursor) {
        // A stated charge is taken as it is (a singly charged precursor is [M+H]+ already);
        // only without one does the spectrum's shape decide.
        if (s.charge > 1)
            RemoveMultiplyChargedPrecursor(s, p, s.charge);
        else if (s.charge == 0 && LooksDoublyCharged(s, p))
            RemoveMultiplyChargedPrecursor(s, p, 2);
    }
    s.precursor = p;
    const int next =
        (kind == kDenovoKindMS2 || kind == kDenovoKindMS3) ? AcceptSpectrum(slot) : slot;
    spectraLoaded_ = next;
    return next;
}

// Strong signal above the precursor: the ion that was fragmented carried two charges.
bool CDenovoEngine::LooksDoublyCharged(const Spectrum& spectrum, double p) const {
    const std::vector<DenovoPoint>& pts = spectrum.points;
    double highest = 0.0;
    for (const DenovoPoint& pt : pts) highest = std::max(highest, pt.intensity);
    double sum = 0.0;
    for (size_t k = pts.size(); k-- > 0;) {
        if (pts[k].mz <= p + kAboveParentWindow) return false;
        sum += pts[k].intensity;
        if (pts[k].intensity > highest * static_cast<double>(kDoublyChargedSinglePeak) ||
            sum > kDoublyChargedSum * highest)
            return true;
    }
    return false;
}

// The precursor ion left unfragmented moves to its singly charged position, the region around
// it (its neutral losses) is damped and the precursor becomes [M+H]+.
void CDenovoEngine::RemoveMultiplyChargedPrecursor(Spectrum& spectrum, double& p, int charge) {
    std::vector<DenovoPoint>& pts = spectrum.points;
    const double z = charge;
    const double extraProtons = (charge - 1) * kProton;
    const double mh = z * p - extraProtons;
    // The m/z a singly charged point would have at the precursor's charge.
    const auto atCharge = [&](double mz) { return (mz + extraProtons) / z; };

    double removed = 0.0;
    size_t k = 0;
    for (; k < pts.size() && pts[k].mz < p + 1.0; ++k) {
        const double distance = std::fabs(pts[k].mz - p);
        if (distance < daTolerance_ || distance < p * ppmTolerance_ * 1e-6) {
            removed = pts[k].intensity;
            pts[k].intensity = 0.0;
        }
    }
    if (removed > 1.0) {
        size_t at = k;
        while (at < pts.size() && atCharge(pts[at].mz) < p) ++at;
        if (at < pts.size() && atCharge(pts[at].mz) - p < daTolerance_) {
            pts[at].intensity += removed;
        } else if (at > 0 && p - atCharge(pts[at - 1].mz) < daTolerance_) {
            pts[at - 1].intensity += removed;
        } else {
            const DenovoPoint moved{mh, removed};
            if (pts.size() >= static_cast<size_t>(kMaxPoints)) {
                // A full slot gives up its weakest point, if weaker than the moved one.
                auto weakest = std::min_element(pts.begin(), pts.end(),
                                                [](const DenovoPoint& a, const DenovoPoint& b) {
                                                    return a.intensity < b.intensity;
                                                });
                if (weakest->intensity < removed) {
                    if (static_cast<size_t>(weakest - pts.begin()) < at) --at;
                    pts.erase(weakest);
                }
            }
            if (pts.size() < static_cast<size_t>(kMaxPoints))
                pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(at), moved);
        }
    }
    for (DenovoPoint& pt : pts) {
        if (pt.mz >= p + 1.5) break;
        if (pt.mz > p - 9.5) pt.intensity *= 0.1;
    }
    p = mh;
}

int CDenovoEngine::AcceptSpectrum(int slot) {
    if (slot <= 0) return 1;
    const Spectrum& s = spectra_[static_cast<size_t>(slot)];
    const double p = s.precursor;
    if (s.points.empty() || !(p > 0.0)) return slot;
    if (s.points.size() == 1 && s.points[0].mz > p - 56.0) return slot;
    const int d = TruncToInt((spectra_[0].precursor - p) * kMS3NominalFactor + 0.5);
    if (d != 0 && d < kMinResidueMass) return slot;
    const int nominal = NominalMS3(p);
    for (int j = 0; j < slot; ++j)
        if (NominalMS3(spectra_[static_cast<size_t>(j)].precursor) == nominal - 1) return slot;
    for (int j = 0; j < slot; ++j) {
        if (NominalMS3(spectra_[static_cast<size_t>(j)].precursor) == nominal) {
            MergeSpectra(j, slot);
            return slot;
        }
    }
    return slot + 1;
}

void CDenovoEngine::MergeSpectra(int target, int source) {
    std::vector<DenovoPoint>& into = spectra_[static_cast<size_t>(target)].points;
    const std::vector<DenovoPoint>& from = spectra_[static_cast<size_t>(source)].points;
    if (from.empty()) return;
    if (into.empty() || from.front().mz >= into.back().mz) {
        into.insert(into.end(), from.begin(), from.end());
        KeepMostIntense(into, kMaxPoints);
        return;
    }
    // Points of the target below the first source point stay; the rest merge in m/z order,
    // points within the tolerance becoming one.
    size_t keep = 0;
    while (keep < into.size() && into[keep].mz < from.front().mz) ++keep;
    if (keep > 0) --keep;  // from the last point below the source's first
    std::vector<DenovoPoint> merged(into.begin(), into.begin() + static_cast<std::ptrdiff_t>(keep));
    size_t a = keep;
    size_t b = 0;
    while (a < into.size() || b < from.size()) {
        if (a < into.size() && b < from.size() &&
            std::fabs(into[a].mz - from[b].mz) <= daTolerance_) {
            const double sum = into[a].intensity + from[b].intensity;
            const double mz =
                sum > 0.0 ? (into[a].mz * into[a].intensity + from[b].mz * from[b].intensity) / sum
                          : 0.5 * (into[a].mz + from[b].mz);
            merged.push_back({mz, sum});
            ++a;
            ++b;
        } else if (b >= from.size() || (a < into.size() && into[a].mz < from[b].mz)) {
            merged.push_back(into[a++]);
        } else {
            merged.push_back(from[b++]);
        }
    }
    KeepMostIntense(merged, kMaxPoints);
    into = std::move(merged);
}

void CDenovoEngine::FilterPeaks() {
    for (int i = 0; i < spectraLoaded_; ++i) {
        std::vector<DenovoPoint>& pts = spectra_[static_cast<size_t>(i)].points;
        for (size_t k = pts.size(); k-- > 0;) {
            if (pts[k].intensity < noiseThreshold_) pts[k].intensity = 0.0;
            if (k > 0 && pts[k].mz - pts[k - 1].mz < 1.3 &&
                pts[k].intensity < 0.5 * pts[k - 1].intensity)
                pts[k].intensity = 0.0;
        }
    }
    // The MS2 spectrum keeps about one point per 10 Da of precursor.
    Spectrum& ms2 = spectra_[0];
    const int q = TruncToInt(ms2.precursor);
    const int count = static_cast<int>(ms2.points.size());
    if (count > q / 10 + 1) {
        const int keep = std::clamp(TruncToInt(ms2.precursor * 0.1), 0, count);
        std::vector<double> intensities(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k)
            intensities[static_cast<size_t>(k)] = ms2.points[static_cast<size_t>(k)].intensity;
        const std::vector<int> order = DenovoAscendingOrder(intensities);
        for (int r = 0; r < count - keep; ++r)
            ms2.points[static_cast<size_t>(order[static_cast<size_t>(r)])].intensity = 0.0;
    }
}

double CDenovoEngine::LookupIntensity(int spectrum, int nominal) const {
    const std::vector<DenovoPoint>& pts = spectra_[static_cast<size_t>(spectrum)].points;
    if (pts.empty() || nominal < pts.front().mz - 0.4) return 0.0;
    const double x = nominal * kNominalToMz;
    auto it = std::lower_bound(pts.begin(), pts.end(), x - 0.5,
                               [](const DenovoPoint& p, double v) { return p.mz < v; });
    const DenovoPoint* best = nullptr;
    double bestDistance = 0.5;
    for (; it != pts.end() && it->mz < x + 0.5; ++it) {
        const double distance = std::fabs(it->mz - x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &*it;
        }
    }
    if (!best) return 0.0;
    if (bestDistance < daTolerance_ || bestDistance < ppmTolerance_ * 1e-6 * x)
        return best->intensity;
    return 0.0;
}

void CDenovoEngine::PrepareSpectra() {
    if (spectraLoaded_ <= 0) return;
    FilterPeaks();
    const int inputs = spectraLoaded_;
    const double p0 = spectra_[0].precursor;
    const int P = NominalMS2(p0);
    if (P <= kMassRangeStart || P > kMaxParentMass) {
        massRangeEnd_ = 0;
        return;
    }
    massRangeStart_ = kMassRangeStart;
    massRangeEnd_ = P;
    const size_t size = static_cast<size_t>(P) + 2;
    for (auto& e : evidence_) e.assign(size, 0);
    std::fill(signs_.begin(), signs_.end(), 0);
    parents_[0] = P;

    // Slot 0: the MS2 evidence, the upper half also at its complementary mass.
    std::vector<Evidence>& ms2 = evidence_[0];
    for (const DenovoPoint& pt : spectra_[0].points) {
        const int m = NominalMS2(pt.mz);
        if (m > P) break;
        if (m < 0) continue;
        const Evidence value = static_cast<Evidence>(pt.intensity);
        ms2[static_cast<size_t>(m)] += value;
        if (pt.mz > (p0 + 4.0) * 0.5) ms2[static_cast<size_t>(P - m + 1)] += value;
    }

    // Fragment slots in descending order of precursor.
    std::vector<double> precursors(static_cast<size_t>(inputs));
    for (int i = 0; i < inputs; ++i)
        precursors[static_cast<size_t>(i)] = spectra_[static_cast<size_t>(i)].precursor;
    const std::vector<int> ascending = DenovoAscendingOrder(precursors);
    int slot = 1;
    for (size_t r = ascending.size(); r-- > 0;) {
        const int s = ascending[r];
        if (s == 0) continue;
        std::vector<Evidence>& ev = evidence_[static_cast<size_t>(slot)];
        const int Q = std::clamp(NominalMS3(spectra_[static_cast<size_t>(s)].precursor), 0, P);
        parents_[static_cast<size_t>(slot)] = Q;
        for (int m = kMassRangeStart; m <= Q; ++m) {
            const double a = LookupIntensity(s, Q - m + 1) + LookupIntensity(s, m);
            if (a <= 0.0) continue;
            const double c = (P - m + 1 > (P + 5) / 2)
                                 ? LookupIntensity(0, P - m + 1) + LookupIntensity(0, m)
                                 : LookupIntensity(0, m);
            if (c > 0.0) ev[static_cast<size_t>(m)] = static_cast<Evidence>(std::sqrt(a * c));
        }
        for (int m = 0; m <= P + 1; ++m)
            if (m < kMinFragmentMass || std::abs(m - Q) < kMinResidueMass)
                ev[static_cast<size_t>(m)] = 0;
        ++slot;
    }

    // Masses that several fragment spectra agree on become slots of their own.
    std::vector<double> sums(size, 0.0);
    for (int k = 1; k < inputs; ++k)
        for (int m = 0; m < parents_[static_cast<size_t>(k)]; ++m)
            sums[static_cast<size_t>(m)] +=
                static_cast<double>(evidence_[static_cast<size_t>(k)][static_cast<size_t>(m)]);
    for (int k = 0; k < inputs; ++k)
        sums[static_cast<size_t>(parents_[static_cast<size_t>(k)])] = 0.0;
    const std::vector<int> bySum = DenovoAscendingOrder(sums);
    int filled = inputs;
    for (size_t r = bySum.size(); r-- > 0 && filled < kMaxFilledSlots;) {
        const int m = bySum[r];
        if (sums[static_cast<size_t>(m)] <= noiseThreshold_) break;
        parents_[static_cast<size_t>(filled)] = m;
        ++filled;
    }
    spectraLoaded_ = filled;
    const int n = filled;

    // Each slot learns what every other slot says about its parent.
    for (int a = 2; a < n; ++a)
        for (int b = 1; b < a; ++b)
            evidence_[static_cast<size_t>(a)]
                     [static_cast<size_t>(parents_[static_cast<size_t>(b)])] =
                         evidence_[static_cast<size_t>(b)]
                                  [static_cast<size_t>(parents_[static_cast<size_t>(a)])];

    for (int m = std::max(0, P - 56); m <= P; ++m) ms2[static_cast<size_t>(m)] = 0;

    Evidence largest = 0;
    for (int k = 1; k < n; ++k) {
        std::vector<Evidence>& ev = evidence_[static_cast<size_t>(k)];
        Evidence& own = ev[static_cast<size_t>(parents_[static_cast<size_t>(k)])];
        for (int m = kMassRangeStart; m <= P; ++m) own = std::max(own, ev[static_cast<size_t>(m)]);
        largest = std::max(largest, own);
    }
    if (n == 1)
        for (Evidence v : ms2) largest = std::max(largest, v);
    if (largest > kMaxEvidence) {
        // Round the divisor up so that no value stays above the stated maximum.
        const Evidence divisor = (largest + kMaxEvidence - 1) / kMaxEvidence;
        for (int k = 0; k < n; ++k)
            for (Evidence& v : evidence_[static_cast<size_t>(k)]) v /= divisor;
        largest = 0;
        for (int k = 1; k < n; ++k)
            largest =
                std::max(largest, evidence_[static_cast<size_t>(k)]
                                           [static_cast<size_t>(parents_[static_cast<size_t>(k)])]);
        if (n == 1)
            for (Evidence v : ms2) largest = std::max(largest, v);
    }
    maximumEvidence_ = static_cast<int>(largest);

    parents_[static_cast<size_t>(RedSlot())] = P;
    parents_[static_cast<size_t>(BlueSlot())] = P;
    ClearScores();
    FindResiduePairs();
}

// Slots whose parent lies one residue (y type) or one residue and water (b type) below the
// precursor.
void CDenovoEngine::FindResiduePairs() {
    yPairs_.clear();
    bPairs_.clear();
    const int P = massRangeEnd_;
    for (const DenovoResidue& r : residues_) {
        for (int k = 1; k < spectraLoaded_; ++k) {
            const int parent = parents_[static_cast<size_t>(k)];
            if (parent < P - r.nominal - 18) break;
            if (evidence_[static_cast<size_t>(k)][static_cast<size_t>(parent)] <=
                maximumEvidence_ / kDisplayRange)
                continue;
            if (parent == P - r.nominal && yPairs_.size() < static_cast<size_t>(kMaxResiduePairs))
                yPairs_.push_back({parent, k});
            else if (parent == P - r.nominal - 18 &&
                     bPairs_.size() < static_cast<size_t>(kMaxResiduePairs))
                bPairs_.push_back({parent, k});
        }
    }
}

void CDenovoEngine::ClearScores() {
    if (massRangeEnd_ > 0 && BlueSlot() < kMaxSlots) {
        std::fill(evidence_[static_cast<size_t>(RedSlot())].begin(),
                  evidence_[static_cast<size_t>(RedSlot())].end(), 0);
        std::fill(evidence_[static_cast<size_t>(BlueSlot())].begin(),
                  evidence_[static_cast<size_t>(BlueSlot())].end(), 0);
    }
    for (auto& t : texts_) t.clear();
    std::fill(s0_.begin(), s0_.end(), 0.0);
    std::fill(cs1d_.begin(), cs1d_.end(), 0.0);
    oneDCount_ = 0;
    foldedValid_ = false;
    cs1dMemo_.clear();
}

}  // namespace zar
