#include "SequenceIonSpectrum.h"

#include "document/AminoAcidMasses.h"

#include <algorithm>

namespace zar {
namespace {

// CO, which an a ion has lost from its b ion.
constexpr double kCOMono = 27.994915;
constexpr double kCOAverage = 28.01055;

}  // namespace

SequenceIonSpectrum BuildSequenceIonSpectrum(const QString& sequence,
                                             const SequenceIonChoice& choice) {
    SequenceIonSpectrum out;
    const int n = static_cast<int>(sequence.size());
    out.length = n;
    if (n == 0) return out;
    ResidueMassTable table = ZeroResidueMasses();
    double h = 0.0, oh = 0.0;
    InitAminoAcidMasses(table, choice.monoisotopic, &oh, &h);
    const auto residue = [&table](QChar c) {
        return c.unicode() < table.size() ? table[c.unicode()] : 0.0;
    };
    // prefix[i]: H + residues 0..i, the b ion of residue i.
    std::vector<double> prefix(static_cast<std::size_t>(n));
    double running = h;
    for (int i = 0; i < n; ++i) {
        running += residue(sequence[i]);
        prefix[static_cast<std::size_t>(i)] = running;
    }
    const double residues = running - h;
    out.weight = residues + oh + 2 * h;  // water (H + OH) and a proton
    out.residueAverage = residues / n;

    const double co = choice.monoisotopic ? kCOMono : kCOAverage;
    out.peaks.reserve(static_cast<std::size_t>(4 * n));
    for (int i = 0; i < n; ++i) {
        const double b = prefix[static_cast<std::size_t>(i)];
        // Residues i..n-1: the C-terminal stretch that starts at this residue.
        const double suffix = residues - (b - h) + residue(sequence[i]);
        if (choice.b) {
            out.peaks.push_back({b, kSequenceLadderIntensity});
            out.peaks.push_back({b - kSequenceCompanionOffset, kSequenceCompanionIntensity});
        }
        if (choice.a) out.peaks.push_back({b - co, kSequenceIonIntensity});
        if (choice.y) out.peaks.push_back({suffix + oh + 2 * h, kSequenceIonIntensity});
    }
    // No series chosen: texts only, nothing to draw.
    if (out.peaks.empty()) return out;
    std::stable_sort(
        out.peaks.begin(), out.peaks.end(),
        [](const SequenceIonPeak& l, const SequenceIonPeak& r) { return l.mz < r.mz; });
    out.xMin = out.peaks.front().mz - kSequencePlotMargin;
    out.xMax = out.peaks.back().mz + kSequencePlotMargin;
    out.baseIntensity = out.peaks.front().intensity;
    out.baseMz = out.peaks.front().mz;
    for (const SequenceIonPeak& p : out.peaks) {
        out.intensitySum += p.intensity;
        if (p.intensity > out.baseIntensity) {
            out.baseIntensity = p.intensity;
            out.baseMz = p.mz;
        }
    }
    return out;
}

}  // namespace zar
