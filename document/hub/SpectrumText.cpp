#include "SpectrumText.h"

#include "core/Numbers.h"
#include "fileio/VXCore.h"
#include "registry/RegKey.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QThread>

#include <cmath>

namespace zar {
namespace {
const char* const kPallisadeKey = "SOFTWARE\\Tessarin\\Pallisade 2.0\\2.0.1.2";
constexpr int kClipboardAttempts = 5;
constexpr int kClipboardRetryMs = 250;
}  // namespace

QString ReplaceChars(QString text, const QString& set, QChar by) {
    for (QChar& c : text)
        if (set.contains(c)) c = by;
    return text;
}

bool IsPallisadeInstalled() { return RegKey(RegRoot::LocalMachine, QString::fromLatin1(kPallisadeKey), false).isValid(); }

QString GetPallisadePath() {
    QString path;
    RegKey(RegRoot::LocalMachine, QString::fromLatin1(kPallisadeKey), false).readString(QStringLiteral("Path"), path);
    return path;
}

bool CopyTextToClipboard(const QString& text) {
    for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::clipboard()) {
            QGuiApplication::clipboard()->setText(text);
            return true;
        }
        QThread::msleep(kClipboardRetryMs);
    }
    return false;
}

QString FormatRangeList(const std::vector<CVX_MassRange>& ranges, int precision, QChar listSeparator) {
    QString out;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i > 0) out += listSeparator + QLatin1Char(' ');
        const CVX_MassRange& r = ranges[i];
        if (r.low == r.high) out += QCFormat("%.*f", precision, r.low);
        else out += QCFormat("%.*f-%.*f", precision, r.low, precision, r.high);
    }
    return out;
}

QString SpectrumText(const QString& title, const QString& sample, const CVXFilter* filter,
                     const SpectrumTextHeader& header, const std::vector<CVXDataPeak>& peaks, bool accurate,
                     const CVXMassDefect& defect) {
    QString t = QStringLiteral("SPECTRUM - %1\n").arg(title.isEmpty() ? QStringLiteral("MS") : title);
    if (!sample.isEmpty()) t += sample + QLatin1Char('\n');
    if (filter) t += filter->FilterString(2, -1, 2);
    t += QLatin1Char('\n');
    if (header.averaged)
        t += QCFormat("Scan #: %d-%d\nRT: %.2f-%.2f\nAV: %d\n", header.firstScan, header.lastScan, header.firstTime,
                      header.lastTime, header.scansAveraged);
    else
        t += QCFormat("Scan #: %d\nRT: %.2f\n", header.scan, header.retentionTime);
    if (accurate) {
        t += QCFormat("Data points: %d\n", static_cast<int>(peaks.size()));
        t += QStringLiteral("Mass\tIntensity\n");
        for (const CVXDataPeak& p : peaks) t += QCFormat("%f\t%.6f\n", p.dPosition, p.dIntensity);
        return t;
    }
    t += QCFormat("Mass defect: %.2f @ %.2f, %.2f @ %.2f\n", defect.defect1, defect.mass1, defect.defect2, defect.mass2);
    // A defect line through the two points; equal masses give no slope rather than a division by zero.
    const double dm = defect.mass2 - defect.mass1;
    const double k = dm != 0.0 ? (defect.defect2 - defect.defect1) / dm * 0.001 : 0.0;
    const double c = defect.defect2 * 0.001 - defect.mass2 * k;
    std::vector<std::pair<long long, double>> entries;
    for (const CVXDataPeak& p : peaks) {
        const double m = p.dPosition;
        const long long nominal = static_cast<long long>(std::trunc(m + (m * k + c) + 0.5));
        if (!entries.empty() && entries.back().first == nominal) entries.back().second += p.dIntensity;
        else entries.emplace_back(nominal, p.dIntensity);
    }
    t += QCFormat("Data points: %d\n", static_cast<int>(entries.size()));
    t += QStringLiteral("Mass\tIntensity\n");
    for (const auto& [mass, intensity] : entries) t += QCFormat("%lld\t%.6f\n", mass, intensity);
    return t;
}

bool SpectrumToText(const QString& title, const QString& sample, const CVXFilter* filter,
                    const SpectrumTextHeader& header, const std::vector<CVXDataPeak>& peaks, bool accurate,
                    const CVXMassDefect& defect) {
    return CopyTextToClipboard(SpectrumText(title, sample, filter, header, peaks, accurate, defect));
}

QString ChromatogramText(const QString& title, const CVXChro& chro, double shownStart, double shownEnd,
                         QChar listSeparator) {
    QString t = QStringLiteral("CHROMATOGRAM\nTitle:\t") + title + QLatin1Char('\n');
    t += QCFormat("RT:\t%.2f-%.2f\nSM:\t%d\nNL:\t%.2e\n", shownStart, shownEnd, chro.smoothingPoints, chro.normalizationLevel);
    QString detector;
    TranslateDetectorTypeToString(chro.detectorType, detector);
    t += QStringLiteral("Detector:\t") + detector + QLatin1Char('\n');
    if (chro.detectorType == 0) t += QStringLiteral("Scan Filter:\t") + chro.filter.FilterString(2) + QLatin1Char('\n');
    QString trace;
    TranslateTraceTypeToString(chro.traceType, trace);
    t += QStringLiteral("Trace Type:\t") + trace + QLatin1Char('\n');
    if (chro.detectorType == 0 && (chro.traceType == 0 || chro.traceType == 2 || chro.traceType == 3))
        t += QStringLiteral("Mass Ranges:\t") + FormatRangeList(chro.massRanges, 2, listSeparator) + QLatin1Char('\n');
    if (chro.detectorType == 3 && (chro.traceType == 21 || chro.traceType == 23))
        t += QStringLiteral("Wavelength Ranges:\t") + FormatRangeList(chro.massRanges, 2, listSeparator) + QLatin1Char('\n');
    t += QCFormat("Number of data peaks:\t%d\n\n", static_cast<int>(chro.points.size()));
    t += QStringLiteral("Time (min)\tIntensity\n");
    if (chro.points.empty()) t += QStringLiteral("no data present\n");
    for (const auto& p : chro.points) t += QCFormat("%.6f\t%.6f\n", p.dPosition, p.dIntensity);
    return t;
}

bool ChromatogramToText(QString& text, const QString& title, const CVXChro* chro, double shownStart, double shownEnd,
                        QChar listSeparator) {
    if (!chro) return false;
    text = ChromatogramText(title, *chro, shownStart, shownEnd, listSeparator);
    return CopyTextToClipboard(text);
}

}  // namespace zar
