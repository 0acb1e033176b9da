// Ion types of the fragment slots (red and blue) and the one-dimensional spectra.

#include "DenovoEngine.h"

#include <algorithm>

namespace zar {

namespace {

constexpr double kBackgroundFactor = 0.03333333333333333;  // 1/30 of the 30 offsets
constexpr double kGroupSimilarity = 0.6;
constexpr double kGroupMargin = 0.3;
constexpr double kFirstBlueSimilarity = 0.2;
constexpr double kFirstRedSimilarity = 0.5;
constexpr double kPairSimilarity = 0.2;
constexpr double kFloorSimilarity = 0.1;
// Held in single precision, as the classification has always compared them.
constexpr double kRemainingMargin = static_cast<double>(0.2f);
constexpr double kRemainingSimilarity = static_cast<double>(0.4f);

}  // namespace

bool CDenovoEngine::Intense(int slot, int factor) const {
    const std::vector<Evidence>& ev = evidence_[static_cast<size_t>(slot)];
    return ev[static_cast<size_t>(parents_[static_cast<size_t>(slot)])] >
           factor * maximumEvidence_ / kDisplayRange;
}

CDenovoEngine::Evidence CDenovoEngine::SumSlot(int slot) const {
    const std::vector<Evidence>& ev = evidence_[static_cast<size_t>(slot)];
    Evidence sum = 0;
    for (int j = 0; j <= massRangeEnd_ && j < static_cast<int>(ev.size()); ++j)
        sum += ev[static_cast<size_t>(j)];
    return sum;
}

void CDenovoEngine::AddSlot(int target, int source) {
    std::vector<Evidence>& to = evidence_[static_cast<size_t>(target)];
    const std::vector<Evidence>& from = evidence_[static_cast<size_t>(source)];
    for (int j = 1; j <= massRangeEnd_; ++j)
        to[static_cast<size_t>(j)] += from[static_cast<size_t>(j)];
}

void CDenovoEngine::AddSign(int slot, int sign) {
    signs_[static_cast<size_t>(slot)] = static_cast<std::int16_t>(sign);
    AddSlot(sign > 0 ? RedSlot() : BlueSlot(), slot);
}

double CDenovoEngine::Background(const std::vector<Evidence>& a,
                                 const std::vector<Evidence>& b) const {
    const int L = massRangeStart_;
    const int P = massRangeEnd_;
    double background = 0.0;
    for (int j = L; j <= P - 17; ++j) {
        const Evidence av = a[static_cast<size_t>(j)];
        if (av == 0) continue;
        for (int d = 2; d <= 16; ++d) {
            background +=
                static_cast<double>(av) *
                static_cast<double>(b[static_cast<size_t>(j - d)] + b[static_cast<size_t>(j + d)]);
        }
    }
    return background;
}

// A cosine-like agreement of two evidence arrays above the agreement of shifted copies.
double CDenovoEngine::SimilarityOf(const std::vector<Evidence>& a,
                                   const std::vector<Evidence>& b) const {
    const int L = massRangeStart_;
    const int P = massRangeEnd_;
    double dot = 0.0;
    for (int j = L; j < P; ++j) {
        const Evidence av = a[static_cast<size_t>(j)];
        if (av != 0)
            dot += static_cast<double>(av) * static_cast<double>(b[static_cast<size_t>(j)]);
    }
    if (dot == 0.0) return 0.0;
    const double background = Background(a, b) * kBackgroundFactor;
    if (dot <= background) return 0.0;
    double sa = 0.0, sa2 = 0.0, sb = 0.0, sb2 = 0.0;
    for (int j = L; j < P; ++j) {
        const double av = static_cast<double>(a[static_cast<size_t>(j)]);
        const double bv = static_cast<double>(b[static_cast<size_t>(j)]);
        sa += av;
        sa2 += av * av;
        sb += bv;
        sb2 += bv * bv;
    }
    const double denominator = sa * sb * (sa2 / (sa * sa) + sb2 / (sb * sb));
    if (denominator == 0.0) return 0.0;
    return 2.0 * (dot - background) / denominator;
}

double CDenovoEngine::Similarity(int slotA, int slotB) const {
    if (massRangeEnd_ <= 0) return 0.0;
    return SimilarityOf(evidence_[static_cast<size_t>(slotA)],
                        evidence_[static_cast<size_t>(slotB)]);
}

void CDenovoEngine::AssignSigns() {
    ClearScores();
    if (!Prepared()) return;
    const int n = spectraLoaded_;
    bool anySigned = false;
    for (int k = 1; k < n; ++k) anySigned = anySigned || signs_[static_cast<size_t>(k)] != 0;
    if (anySigned) {
        for (int k = 1; k < n; ++k)
            if (signs_[static_cast<size_t>(k)] != 0)
                AddSlot(signs_[static_cast<size_t>(k)] > 0 ? RedSlot() : BlueSlot(), k);
        AssignSignsIteratively();
        AssignRemainingSigns();
        return;
    }

    // A y-type and a b-type slot of the same residue that look unalike start the two groups.
    double bestValue = 0.0;
    int bestY = -1;
    int bestB = -1;
    const Evidence pairFloor = 4 * maximumEvidence_ / kDisplayRange;
    for (const ResiduePair& y : yPairs_) {
        for (const ResiduePair& b : bPairs_) {
            if (evidence_[static_cast<size_t>(y.slot)][static_cast<size_t>(y.parent)] < pairFloor ||
                evidence_[static_cast<size_t>(b.slot)][static_cast<size_t>(b.parent)] < pairFloor)
                continue;
            double s = Similarity(y.slot, b.slot);
            if (s > kPairSimilarity) continue;
            s = std::max(s, kFloorSimilarity);
            const double value =
                static_cast<double>(SumSlot(y.slot)) * static_cast<double>(SumSlot(b.slot)) / s;
            if (bestY < 0 || value > bestValue) {
                bestValue = value;
                bestY = y.slot;
                bestB = b.slot;
            }
        }
    }
    const double squared = static_cast<double>(maximumEvidence_) * maximumEvidence_;
    if (bestY >= 0 && bestValue > squared) {
        AddSign(bestY, +1);
        AddSign(bestB, -1);
    } else {
        // Else the two fragment slots that agree most start the red group; when no two agree
        // at all, no group is started here.
        std::fill(signs_.begin(), signs_.end(), 0);
        double best = 0.0;
        int first = -1;
        int second = -1;
        for (int a = 1; a < n; ++a) {
            const std::vector<Evidence>& ea = evidence_[static_cast<size_t>(a)];
            for (int b = a + 1; b < n; ++b) {
                const std::vector<Evidence>& eb = evidence_[static_cast<size_t>(b)];
                double c = 0.0;
                for (int j = massRangeStart_; j < massRangeEnd_; ++j)
                    c += static_cast<double>(ea[static_cast<size_t>(j)]) *
                         static_cast<double>(eb[static_cast<size_t>(j)]);
                if (c <= 0.0) continue;
                c -= Background(ea, eb) * kBackgroundFactor;
                if (c > best) {
                    best = c;
                    first = a;
                    second = b;
                }
            }
        }
        if (first > 0) {
            AddSign(first, +1);
            AddSign(second, +1);
        }
    }
    AssignSignsIteratively();
    AssignRemainingSigns();
}

void CDenovoEngine::AssignSignsIteratively() {
    const int n = spectraLoaded_;
    for (;;) {
        if (Cancelled()) return;
        int reds = 0;
        int blues = 0;
        for (int k = 1; k < n; ++k) {
            reds += signs_[static_cast<size_t>(k)] > 0;
            blues += signs_[static_cast<size_t>(k)] < 0;
        }
        if (reds + blues == n - 1) return;
        bool changed = false;

        // One group only: take in the slots most like it.
        const auto growOne = [&](int group, int sign) {
            for (;;) {
                double best = 0.0;
                int chosen = -1;
                for (int k = 1; k < n; ++k) {
                    if (signs_[static_cast<size_t>(k)] != 0 || !Intense(k, 2)) continue;
                    const double s = Similarity(group, k);
                    if (chosen < 0 || s > best) {
                        best = s;
                        chosen = k;
                    }
                }
                if (chosen < 0 || best <= kGroupSimilarity) return;
                AddSign(chosen, sign);
                changed = true;
            }
        };
        if (blues > 0 && reds == 0) growOne(BlueSlot(), -1);
        if (reds > 0 && blues == 0) growOne(RedSlot(), +1);

        if (reds > 0 && blues > 0) {
            for (;;) {
                double bestRed = 0.0;
                double bestBlue = 0.0;
                int redChoice = -1;
                int blueChoice = -1;
                for (int k = 1; k < n; ++k) {
                    if (signs_[static_cast<size_t>(k)] != 0 || !Intense(k, 2)) continue;
                    const double r = Similarity(RedSlot(), k);
                    const double b = Similarity(BlueSlot(), k);
                    if (r > kGroupSimilarity && r - b > bestRed) {
                        bestRed = r - b;
                        redChoice = k;
                    }
                    if (b > kGroupSimilarity && b - r > bestBlue) {
                        bestBlue = b - r;
                        blueChoice = k;
                    }
                }
                if (redChoice > 0 && bestRed > kGroupMargin) {
                    AddSign(redChoice, +1);
                    changed = true;
                }
                if (blueChoice > 0 && blueChoice != redChoice && bestBlue > kGroupMargin) {
                    AddSign(blueChoice, -1);
                    changed = true;
                }
                if (bestRed <= kGroupSimilarity && bestBlue <= kGroupSimilarity) break;
            }
        }

        // A missing group is started by the strongest slot unlike the other group.
        double lastValue = 0.0;
        bool seeded = false;
        const auto seed = [&](int otherGroup, double limit, int sign) {
            seeded = true;
            double best = 0.0;
            int chosen = -1;
            for (int k = 1; k < n; ++k) {
                if (signs_[static_cast<size_t>(k)] != 0) continue;
                double value = 0.0;
                const double s = Similarity(otherGroup, k);
                if (!(evidence_[static_cast<size_t>(k)]
                               [static_cast<size_t>(parents_[static_cast<size_t>(k)])] <
                      2 * maximumEvidence_ / kDisplayRange) &&
                    s <= limit)
                    value = static_cast<double>(SumSlot(k)) / std::max(s, kFloorSimilarity);
                lastValue = value;
                if (value > best) {
                    best = value;
                    chosen = k;
                }
            }
            if (chosen > 0) {
                AddSign(chosen, sign);
                changed = true;
            }
        };
        if (blues == 0) seed(RedSlot(), kFirstBlueSimilarity, -1);
        if (reds == 0) seed(BlueSlot(), kFirstRedSimilarity, +1);

        // Cycles end once no slot changes colour.
        if (!changed) return;
        if (seeded && !(lastValue > 0.0)) return;
    }
}

void CDenovoEngine::AssignRemainingSigns() {
    for (int k = 1; k < spectraLoaded_; ++k) {
        if (signs_[static_cast<size_t>(k)] != 0) continue;
        const double r = Similarity(k, RedSlot());
        const double b = Similarity(k, BlueSlot());
        if (r - b > kRemainingMargin && r > kRemainingSimilarity)
            signs_[static_cast<size_t>(k)] = 1;
        else if (b - r > kRemainingMargin && b > kRemainingSimilarity)
            signs_[static_cast<size_t>(k)] = -1;
    }
}

int CDenovoEngine::BuildSpectrum(int type) {
    if (type < 1 || type > 9 || !Prepared()) return 0;
    const int P = massRangeEnd_;
    const size_t size = static_cast<size_t>(P) + 1;
    std::vector<Evidence> red(size, 0);
    std::vector<Evidence> blue(size, 0);
    for (int k = 1; k < spectraLoaded_; ++k) {
        const int sign = signs_[static_cast<size_t>(k)];
        if (sign == 0) continue;
        std::vector<Evidence>& to = sign > 0 ? red : blue;
        const std::vector<Evidence>& ev = evidence_[static_cast<size_t>(k)];
        for (size_t j = 0; j < size; ++j) to[j] += ev[j];
    }
    const std::vector<Evidence>& ms2 = evidence_[0];
    oneD_.assign(size, 0);
    oneDCount_ = P + 1;
    for (int j = 1; j < P; ++j) {
        const size_t u = static_cast<size_t>(j);
        const size_t mirror = static_cast<size_t>(P - j + 1);
        Evidence v = 0;
        switch (type) {
            case 1:
            case 6:
                v = red[u] - blue[u];
                break;
            case 2:
                v = red[u];
                break;
            case 3:
                v = blue[u];
                break;
            case 4:
                v = red[u] + blue[mirror];
                break;
            case 5:
                v = red[u] + ms2[u] + blue[mirror];
                break;
            case 7:
                v = ms2[u];
                break;
            case 8:
                v = blue[u] >= 2 ? ms2[u] / blue[u] : ms2[u];
                break;
            case 9:
                v = red[u] >= 2 ? ms2[u] / red[u] : ms2[u];
                break;
        }
        oneD_[u] = v;
    }
    if (type == 1) {
        // Negative evidence belongs to the complementary ion.
        for (int j = massRangeStart_; j < P; ++j) {
            const Evidence v = oneD_[static_cast<size_t>(j)];
            if (v >= 0) continue;
            oneD_[static_cast<size_t>(P - j + 1)] -= v;
            oneD_[static_cast<size_t>(j)] = 0;
        }
    }
    massRangeStart_ = kMassRangeStart;
    oneDSum_ = 0;
    oneDMax_ = 0;
    for (int j = kMassRangeStart; j < P; ++j) {
        oneDSum_ += oneD_[static_cast<size_t>(j)];
        oneDMax_ = std::max(oneDMax_, oneD_[static_cast<size_t>(j)]);
    }
    oneD_[static_cast<size_t>(P)] = oneDMax_ / 2;
    return oneDCount_;
}

const std::vector<CDenovoEngine::Evidence>& CDenovoEngine::GetOneDimensionalSpectrum(
    int* count) const {
    if (count) *count = oneDCount_;
    return oneD_;
}

QString CDenovoEngine::GetSpectrumTypeName(int type) {
    switch (type) {
        case 2:
            return QStringLiteral("Y-B Spectrum (Red)");
        case 3:
            return QStringLiteral("Y-B Spectrum (Blue)");
        case 4:
            return QStringLiteral("Y-B Spectrum (Red + Blue)");
        case 6:
            return QStringLiteral("Y-B Spectrum (Red - Blue)");
        case 7:
            return QStringLiteral("MS2 Spectrum");
        case 8:
            return QStringLiteral("MS2 Spectrum - Red");
        case 9:
            return QStringLiteral("MS2 Spectrum - Blue");
        default:
            return QString();
    }
}

}  // namespace zar
