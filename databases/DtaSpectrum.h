#pragma once
// A ".dta" spectrum file (line 1: MH+ and charge; then one "m/z intensity" line per peak) and
// the binned, filtered form in which fragment ions are looked up.

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace zar {

class TextLineReader;

constexpr int kMaxDtaLineLength = 2000;
constexpr double kMaxDtaPrecursor = 8191.0;
constexpr int kMaxDtaCharge = 5;
constexpr int kMinSpectrumBins = 512;
constexpr int kTopPeakSlots = 200;
// Peaks up to this far above MH+ are binned.
constexpr double kPeakMarginAbovePrecursor = 100.0;
// Half width of the filter windows, in bins.
constexpr int kFilterHalfWindow = 50;
constexpr double kBinWidthMonoisotopic = 1.0005079;
constexpr double kBinWidthAverage = 1.0011413;

inline double BinWidthFor(bool monoisotopic) {
    return monoisotopic ? kBinWidthMonoisotopic : kBinWidthAverage;
}

struct DtaPeak {
    double mz = 0.0;
    double intensity = 0.0;
};

class CDtaSpectrum {
  public:
    enum class ReadResult { Ok, CannotOpen, CannotRead };

    ReadResult read(const QString& path);
    // The same from the bytes of a file.
    ReadResult readBytes(const QByteArray& bytes);
    double precursor() const { return precursor_; }
    int charge() const { return charge_; }
    // The peaks kept (m/z and intensity both above 0), in file order.
    const std::vector<DtaPeak>& peaks() const { return peaks_; }
    // Peak lines of the file, dropped ones included.
    int lineCount() const { return lines_; }

    // Bins, smooths and filters the spectrum and keeps its largest peaks; false when MH+ is
    // above kMaxDtaPrecursor or the charge is not 1 to 5.
    bool prepare(double binWidth);
    int peaksUsed() const { return used_; }
    double binWidth() const { return binWidth_; }
    const std::vector<double>& bins() const { return bins_; }
    // The bin of an m/z; -1 for m/z values no bin can hold.
    int binOf(double mz) const;
    // A peak lies in the bin of the m/z.
    bool findPeak(double mz) const;

  private:
    ReadResult parse(TextLineReader& reader);

    double precursor_ = 0.0;
    int charge_ = 0;
    int lines_ = 0;
    std::vector<DtaPeak> peaks_;
    double binWidth_ = kBinWidthAverage;
    int used_ = 0;
    std::vector<double> bins_;
};

// Reads up to `count` numbers from the start of a text as a "%lf %lf ..." scan would; returns
// how many were read.
int ScanNumbers(const QString& text, double* values, int count);

}  // namespace zar
