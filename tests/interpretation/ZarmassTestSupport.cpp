#include "ZarmassTestSupport.h"

#include "TestSupport.h"
#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

namespace zarmasstest {

using zar::PeakRecord;

std::vector<PeakRecord> CentroidSeries(double mass, int zLow, int zHigh, double adduct) {
    std::vector<PeakRecord> peaks;
    const double middle = 0.5 * (zLow + zHigh);
    for (int z = zHigh; z >= zLow; --z) {
        PeakRecord p;
        p.mass = IonMz(mass, z, adduct);
        p.intensity = 1000.0 * std::exp(-0.1 * (z - middle) * (z - middle));
        peaks.push_back(p);
    }
    return peaks;
}

std::vector<PeakRecord> ProfileSpectrum(const std::vector<ProfileComponent>& components,
                                        double adduct, double mzLow, double mzHigh, double step,
                                        double fwhm, double noise, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const double sigma = fwhm / 2.3548;
    struct Ion {
        double mz, height;
    };
    std::vector<Ion> ions;
    for (const ProfileComponent& c : components) {
        const double middle = 0.5 * (c.zLow + c.zHigh);
        for (int z = c.zLow; z <= c.zHigh; ++z) {
            const double envelope = std::exp(-0.08 * (z - middle) * (z - middle));
            ions.push_back({IonMz(c.mass, z, adduct), c.height * envelope});
        }
    }
    std::vector<PeakRecord> peaks;
    const int count = static_cast<int>(std::floor((mzHigh - mzLow) / step)) + 1;
    peaks.reserve(count);
    for (int i = 0; i < count; ++i) {
        PeakRecord p;
        p.mass = mzLow + i * step;
        double intensity = noise * uniform(random);
        for (const Ion& ion : ions) {
            const double d = (p.mass - ion.mz) / sigma;
            if (std::abs(d) < 8.0) intensity += ion.height * std::exp(-0.5 * d * d);
        }
        p.intensity = intensity;
        peaks.push_back(p);
    }
    return peaks;
}

std::vector<PeakRecord> ReadFixtureSpectrum(const QString& name) {
    QStringList lines;
    if (!zar::ReadTextLines(zartest::DataPath(QStringLiteral("interpretation/zarmass/") + name),
                            lines))
        throw std::runtime_error("missing fixture " + name.toStdString());
    std::vector<PeakRecord> peaks;
    for (const QString& raw : lines) {
        const QString line = raw.section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty()) continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        PeakRecord p;
        if (fields.size() < 2 || !zar::ParseDouble(fields[0], p.mass) ||
            !zar::ParseDouble(fields[1], p.intensity))
            throw std::runtime_error("bad fixture line in " + name.toStdString());
        peaks.push_back(p);
    }
    return peaks;
}

zar::ZarmassParams ParamsWith(const std::vector<double>& values, double adduct) {
    zar::ZarmassParams params;
    params.count = static_cast<int>(std::min<std::size_t>(values.size(), params.mz.size()));
    std::copy_n(values.begin(), params.count, params.mz.begin());
    params.adduct = adduct;
    params.peakWidth = 2.0;
    return params;
}

zar::ZarmassParams TransformParams(double massLow, double massHigh, double step) {
    zar::ZarmassParams params;
    params.mzLow = 700.0;
    params.mzHigh = 1300.0;
    params.massLow = massLow;
    params.massHigh = massHigh;
    params.massStep = step;
    params.adduct = kProtonAdduct;
    params.peakWidth = 1.0;
    return params;
}

const std::vector<PeakRecord>& MyoglobinProfile() {
    static const auto peaks = ProfileSpectrum({{kMyoglobinMass, 13, 24, 1000.0}}, kProtonAdduct,
                                              600.0, 1400.0, 0.02, 0.3, 5.0);
    return peaks;
}

zar::ZarmassScanInfo CentroidScan() {
    zar::ZarmassScanInfo scan;
    scan.retentionTime = 12.5;
    scan.scanNumber = 321;
    scan.isCentroid = 1;
    scan.positive = 1;
    scan.filter = QStringLiteral("FTMS + p ESI Full ms [600.00-2000.00]");
    return scan;
}

zar::ZarmassScanInfo ProfileScan() {
    zar::ZarmassScanInfo scan = CentroidScan();
    scan.isCentroid = 0;
    return scan;
}

MessageRecorder::MessageRecorder() {
    for (unsigned message : {zar::kMsgZarmassNoPeaksInRange, zar::kMsgZarmassProgress,
                             zar::kMsgZarmassSelectedDone, zar::kMsgZarmassTransformDone}) {
        receiver_.messageMap().on(message, [this](const zar::Message& m) -> zar::LRESULT {
            seen_.push_back({m.message, m.wParam, m.lParam});
            if (const auto* result = m.payloadAs<zar::ZarmassTransformResult>())
                results_.push_back(*result);
            return 0;
        });
    }
}

void MessageRecorder::Drain() {
    QCoreApplication::sendPostedEvents(&receiver_);
}

}  // namespace zarmasstest
