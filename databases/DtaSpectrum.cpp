#include "databases/DtaSpectrum.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace zar {

int ScanNumbers(const QString& text, double* values, int count) {
    const std::string bytes = text.toStdString();
    std::string_view rest(bytes);
    int read = 0;
    while (read < count) {
        const std::size_t start = rest.find_first_not_of(" \t\r\n");
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        std::size_t used = 0;
        const double v = LeadingDouble(rest, &used);
        if (used == 0) break;
        values[read++] = v;
        rest.remove_prefix(used);
    }
    return read;
}

CDtaSpectrum::ReadResult CDtaSpectrum::read(const QString& path) {
    precursor_ = 0.0;
    charge_ = 0;
    lines_ = 0;
    peaks_.clear();
    TextLineReader reader;
    if (!reader.open(path, kMaxDtaLineLength)) return ReadResult::CannotOpen;
    return parse(reader);
}

CDtaSpectrum::ReadResult CDtaSpectrum::readBytes(const QByteArray& bytes) {
    precursor_ = 0.0;
    charge_ = 0;
    lines_ = 0;
    peaks_.clear();
    TextLineReader reader = TextLineReader::fromBytes(bytes, kMaxDtaLineLength);
    return parse(reader);
}

CDtaSpectrum::ReadResult CDtaSpectrum::parse(TextLineReader& reader) {
    QString line;
    if (!reader.readLine(line)) return ReadResult::CannotRead;
    double head[2];
    // A first line without MH+ and charge is no spectrum file.
    if (ScanNumbers(line, head, 2) < 2) return ReadResult::CannotRead;
    if (!std::isfinite(head[0]) || !WholeIntOf(head[1], charge_)) return ReadResult::CannotRead;
    precursor_ = head[0];
    bool continuation = reader.lastLineWasCut();
    while (reader.readLine(line)) {
        // The rest of an over-long line is not a peak line of its own.
        const bool piece = continuation;
        continuation = reader.lastLineWasCut();
        if (piece) continue;
        ++lines_;
        double pair[2];
        if (ScanNumbers(line, pair, 2) == 2 && pair[0] > 0.0 && pair[1] > 0.0)
            peaks_.push_back({pair[0], pair[1]});
    }
    if (reader.hadError() || lines_ == 0) return ReadResult::CannotRead;
    return ReadResult::Ok;
}

bool CDtaSpectrum::prepare(double binWidth) {
    used_ = 0;
    bins_.clear();
    if (!(precursor_ <= kMaxDtaPrecursor) || charge_ < 1 || charge_ > kMaxDtaCharge) return false;
    binWidth_ = binWidth;
    int n = kMinSpectrumBins;
    while (n < precursor_) n *= 2;
    std::vector<double> b(static_cast<std::size_t>(n), 0.0);

    for (const DtaPeak& p : peaks_) {
        if (!(p.mz > 0.0 && p.mz < precursor_ + kPeakMarginAbovePrecursor)) continue;
        const double value = std::sqrt(p.intensity);
        ++used_;
        const int bin = binOf(p.mz);
        if (bin >= 0 && bin < n) b[std::size_t(bin)] = std::max(b[std::size_t(bin)], value);
    }

    // Smoothing with the weights 1 4 6 4 1.
    std::vector<double> s(b.size(), 0.0);
    for (int i = 2; i <= n - 3; ++i)
        s[std::size_t(i)] =
            (b[std::size_t(i - 2)] + 4 * b[std::size_t(i - 1)] + 6 * b[std::size_t(i)] +
             4 * b[std::size_t(i + 1)] + b[std::size_t(i + 2)]) /
            16.0;
    b.swap(s);

    // Peaks stand out of their neighbourhood by one deviation (pass 1, taken out at once) or,
    // among what is left, by two (pass 2).
    const auto window = [&](int i, double& mean, double& deviation) {
        const int lo = std::max(0, i - kFilterHalfWindow);
        const int hi = std::min(n - 1, i + kFilterHalfWindow);
        const int count = hi - lo + 1;
        double sum = 0.0;
        for (int j = lo; j <= hi; ++j) sum += b[std::size_t(j)];
        mean = sum / (count - 1);
        double squares = 0.0;
        for (int j = lo; j <= hi; ++j)
            squares += (b[std::size_t(j)] - mean) * (b[std::size_t(j)] - mean);
        deviation = std::sqrt(squares / count);
    };
    // Mean and deviation are never below 0: an empty bin stands out of nothing, and its window
    // is not summed.
    std::vector<double> result(b.size(), 0.0);
    for (int i = 1; i <= n - 2; ++i) {
        const double v = b[std::size_t(i)];
        if (v <= 0.0) continue;
        double mean, deviation;
        window(i, mean, deviation);
        if (v > mean + deviation) {
            result[std::size_t(i)] = v - mean + deviation;
            b[std::size_t(i)] = 0.0;
        }
    }
    for (int i = 1; i <= n - 2; ++i) {
        const double v = b[std::size_t(i)];
        if (v <= 0.0) continue;
        double mean, deviation;
        window(i, mean, deviation);
        if (v > mean + 2.0 * deviation) result[std::size_t(i)] = v - mean + deviation;
    }

    // The largest peaks, scaled to 100.
    struct Slot {
        int bin = 0;
        double value = 0.0;
    };
    std::array<Slot, kTopPeakSlots> topSlots{};
    const auto smallestSlot = [&topSlots] {
        return std::min_element(topSlots.begin(), topSlots.end(),
                                [](const Slot& x, const Slot& y) { return x.value < y.value; });
    };
    // The smallest slot changes only when it is taken.
    auto smallest = smallestSlot();
    for (int i = 0; i < n; ++i) {
        const double v = result[std::size_t(i)];
        if (v > smallest->value) {
            *smallest = {i, v};
            smallest = smallestSlot();
        }
    }
    double largest = 0.0;
    for (const Slot& slot : topSlots) largest = std::max(largest, slot.value);
    if (largest > 0.0)
        for (Slot& slot : topSlots) slot.value = slot.value * 100.0 / largest;

    // Neighbouring bins of one peak all take the peak's height. Empty topSlots add nothing.
    std::vector<Slot> kept;
    for (const Slot& slot : topSlots)
        if (slot.value > 0.0) kept.push_back(slot);
    std::sort(kept.begin(), kept.end(), [](const Slot& x, const Slot& y) { return x.bin < y.bin; });
    for (std::size_t start = 0; start < kept.size();) {
        std::size_t end = start + 1;
        double top = kept[start].value;
        while (end < kept.size() && kept[end].bin - kept[end - 1].bin <= 1) {
            top = std::max(top, kept[end].value);
            ++end;
        }
        for (std::size_t k = start; k < end; ++k) kept[k].value = top;
        start = end;
    }
    bins_.assign(std::size_t(n), 0.0);
    for (const Slot& slot : kept) bins_[std::size_t(slot.bin)] = slot.value;
    return true;
}

int CDtaSpectrum::binOf(double mz) const {
    const double bin = mz / binWidth_ + 0.5;
    if (!(bin >= 0.0 && bin < 1e9)) return -1;
    return static_cast<int>(bin);
}

bool CDtaSpectrum::findPeak(double mz) const {
    const int bin = binOf(mz);
    return bin >= 0 && bin < static_cast<int>(bins_.size()) && bins_[std::size_t(bin)] > 0.0;
}

}  // namespace zar
