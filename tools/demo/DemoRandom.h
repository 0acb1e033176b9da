#pragma once
// The demo data's random numbers: a fixed-seed generator whose sequence is the same on every
// machine and library (the standard distributions are not), so that the data set is
// reproducible byte for byte.

#include <cmath>
#include <cstdint>

namespace zar {

class DemoRandom {
  public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    // splitmix64: small, fast and well mixed.
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // In [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // 0 .. n-1 (n > 0).
    int below(int n) { return static_cast<int>(uniform() * n); }
    // Standard normal (Box-Muller, one value per call).
    double normal() {
        const double u1 = 1.0 - uniform();  // (0, 1]: log is finite
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
    }
    double exponential(double mean) { return -mean * std::log(1.0 - uniform()); }

  private:
    std::uint64_t state_;
};

}  // namespace zar
