#pragma once
// Synthetic MSn scans of a known peptide for the de novo tests and benchmark: the b and y
// ladder of the MS2 scan (some ions left out, noise added) and MS3 scans of chosen y ions.

#include "interpretation/DenovoTypes.h"

#include "document/AminoAcidMasses.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace zartest {

constexpr double kSynthProton = 1.00727646688;
constexpr double kSynthWater = 18.0105646863;

struct SyntheticOptions {
    int charge = 1;                // precursor charge of the MS2 scan
    std::vector<int> missingB;     // b ions (1-based) left out
    std::vector<int> missingY;     // y ions (1-based) left out
    int noisePoints = 20;          // random points of low intensity
    double noiseIntensity = 60.0;  // largest noise intensity
    std::vector<int> ms3OfY;       // y ions that get an MS3 scan
    std::vector<int> ms3OfB;       // b ions that get an MS3 scan
    std::uint32_t seed = 12345;
    bool chargeStated = false;  // the MS2 scan names its charge
};

// A small deterministic generator, the same on every platform.
class SynthRandom {
  public:
    explicit SynthRandom(std::uint32_t seed) : state_(seed ? seed : 1) {}
    double Next() {  // in [0, 1)
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 16777216.0;
    }

  private:
    std::uint32_t state_;
};

inline std::vector<double> SynthResidueMasses(const std::string& peptide) {
    zar::ResidueMassTable table = zar::ZeroResidueMasses();
    zar::InitAminoAcidMasses(table, true);
    std::vector<double> masses;
    for (char c : peptide) masses.push_back(table[static_cast<unsigned char>(c)]);
    return masses;
}

inline double SynthMH(const std::string& peptide) {
    double sum = kSynthWater + kSynthProton;
    for (double m : SynthResidueMasses(peptide)) sum += m;
    return sum;
}

inline bool Listed(const std::vector<int>& list, int v) {
    return std::find(list.begin(), list.end(), v) != list.end();
}

// Fragments of one ion series stretch: the b and y ladder of residues[first..last).
inline void AddLadder(const std::vector<double>& residues, size_t first, size_t last,
                      bool cTerminal, double bIntensity, double yIntensity,
                      const std::vector<int>& missingB, const std::vector<int>& missingY,
                      std::vector<zar::DenovoPoint>& out) {
    const size_t n = last - first;
    double prefix = 0.0;
    for (size_t i = 1; i < n; ++i) {
        prefix += residues[first + i - 1];
        double suffix = 0.0;
        for (size_t k = first + i; k < last; ++k) suffix += residues[k];
        const int b = static_cast<int>(i);
        const int y = static_cast<int>(n - i);
        if (!Listed(missingB, b))
            out.push_back({prefix + kSynthProton, bIntensity * (0.6 + 0.4 * (i % 3) / 2.0)});
        if (!Listed(missingY, y))
            out.push_back({suffix + (cTerminal ? kSynthWater : 0.0) + kSynthProton,
                           yIntensity * (0.7 + 0.3 * (i % 2))});
    }
}

inline void AddNoise(SynthRandom& random, int count, double low, double high, double intensity,
                     std::vector<zar::DenovoPoint>& out) {
    for (int k = 0; k < count; ++k)
        out.push_back(
            {low + (high - low) * random.Next(), intensity * (0.2 + 0.8 * random.Next())});
}

inline void SortByMz(std::vector<zar::DenovoPoint>& points) {
    std::sort(points.begin(), points.end(),
              [](const zar::DenovoPoint& a, const zar::DenovoPoint& b) { return a.mz < b.mz; });
}

// The MS2 scan first, then the MS3 scans of the chosen y ions.
inline std::vector<zar::DenovoScan> SyntheticScans(const std::string& peptide,
                                                   const SyntheticOptions& options = {}) {
    const std::vector<double> residues = SynthResidueMasses(peptide);
    const double mh = SynthMH(peptide);
    SynthRandom random(options.seed);
    std::vector<zar::DenovoScan> scans;

    zar::DenovoScan ms2;
    ms2.kind = zar::kDenovoKindMS2;
    ms2.precursor = (mh + (options.charge - 1) * kSynthProton) / options.charge;
    if (options.chargeStated) ms2.charge = options.charge;
    AddLadder(residues, 0, residues.size(), true, 600.0, 1000.0, options.missingB, options.missingY,
              ms2.points);
    AddNoise(random, options.noisePoints, 60.0, mh, options.noiseIntensity, ms2.points);
    if (options.charge > 1) ms2.points.push_back({ms2.precursor, 3000.0});
    SortByMz(ms2.points);
    scans.push_back(ms2);

    for (int y : options.ms3OfY) {
        const size_t first = residues.size() - static_cast<size_t>(y);
        double mass = kSynthWater + kSynthProton;
        for (size_t k = first; k < residues.size(); ++k) mass += residues[k];
        zar::DenovoScan ms3;
        ms3.kind = zar::kDenovoKindMS3;
        ms3.precursor = mass;
        AddLadder(residues, first, residues.size(), true, 400.0, 800.0, {}, {}, ms3.points);
        AddNoise(random, options.noisePoints / 2, 60.0, mass, options.noiseIntensity, ms3.points);
        SortByMz(ms3.points);
        scans.push_back(ms3);
    }
    for (int b : options.ms3OfB) {
        double mass = kSynthProton;
        for (int k = 0; k < b; ++k) mass += residues[static_cast<size_t>(k)];
        zar::DenovoScan ms3;
        ms3.kind = zar::kDenovoKindMS3;
        ms3.precursor = mass;
        AddLadder(residues, 0, static_cast<size_t>(b), false, 800.0, 400.0, {}, {}, ms3.points);
        AddNoise(random, options.noisePoints / 2, 60.0, mass, options.noiseIntensity, ms3.points);
        SortByMz(ms3.points);
        scans.push_back(ms3);
    }
    return scans;
}

}  // namespace zartest
