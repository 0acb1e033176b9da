#pragma once
// Synthetic protein spectra, small fixture spectra and a message recorder for the Zarmass
// tests.

#include "ZarmassTransform.h"
#include "ZarmassTypes.h"

#include "messages/Messages.h"

#include <QString>

#include <vector>

namespace zarmasstest {

constexpr double kMyoglobinMass = 16951.5;
constexpr double kProtonAdduct = 1.008;

// m/z of the ion of charge z of a neutral mass.
inline double IonMz(double mass, int z, double adduct) {
    return mass / z + adduct;
}

// One centroid peak per charge state zLow..zHigh, ascending m/z, with an envelope of
// intensities that peaks in the middle of the charge range.
std::vector<zar::PeakRecord> CentroidSeries(double mass, int zLow, int zHigh, double adduct);

struct ProfileComponent {
    double mass;
    int zLow;
    int zHigh;
    double height;  // apex intensity of the strongest ion
};

// A profile spectrum sampled every step u over [mzLow, mzHigh]: Gaussian peaks of the given
// full width at half maximum at every ion of every component, plus uniform noise of up to
// noise (fixed seed, so every run sees the same spectrum).
std::vector<zar::PeakRecord> ProfileSpectrum(const std::vector<ProfileComponent>& components,
                                             double adduct, double mzLow, double mzHigh,
                                             double step, double fwhm, double noise,
                                             unsigned seed = 12345);

// Reads a fixture of "m/z intensity" lines ('#' starts a comment) from tests/data.
std::vector<zar::PeakRecord> ReadFixtureSpectrum(const QString& name);

zar::ZarmassParams ParamsWith(const std::vector<double>& values, double adduct);

// Transform limits around the myoglobin ions: m/z 700-1300, the given mass grid, proton adduct
// and a peak width of 1 u.
zar::ZarmassParams TransformParams(double massLow, double massHigh, double step = 1.0);
// Profile myoglobin, charges 13 to 24, over m/z 600-1400 every 0.02 u, with noise.
const std::vector<zar::PeakRecord>& MyoglobinProfile();

zar::ZarmassScanInfo CentroidScan();
zar::ZarmassScanInfo ProfileScan();

// Records the messages the transform posts, with the results they carry.
struct PostedMessage {
    unsigned message;
    zar::WPARAM wParam;
    zar::LPARAM lParam;
};

class MessageRecorder {
  public:
    MessageRecorder();
    QObject* target() { return &receiver_; }
    // Delivers what was posted so far.
    void Drain();
    const std::vector<PostedMessage>& seen() const { return seen_; }
    const std::vector<zar::ZarmassTransformResult>& results() const { return results_; }

  private:
    zar::MessageReceiver receiver_;
    std::vector<PostedMessage> seen_;
    std::vector<zar::ZarmassTransformResult> results_;
};

}  // namespace zarmasstest
