#include "SpectrumFiles.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string>

namespace zar {

QString SpectrumFileBase(const QString& base, int firstScan, int lastScan, int charge) {
    return base + QCFormat(".%04d.%04d.%d", firstScan, lastScan, charge);
}

QString DtaText(double mh, int charge, const std::vector<double>& mz,
                const std::vector<double>& intensity) {
    // Intensities keep six significant digits: weak fragments of a normalised spectrum must not
    // round to 0.0, and strong ones need no more.
    std::string text = CFormat("%.4f %d\n", mh, charge);
    const size_t count = std::min(mz.size(), intensity.size());
    text.reserve(text.size() + count * 24);
    for (size_t i = 0; i < count; ++i) text += CFormat("%.4f %.6g\n", mz[i], intensity[i]);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool ReadSpectrumList(const QString& path, QStringList& names, QString& error) {
    TextLineReader reader;
    if (!reader.open(path)) {
        error = QStringLiteral("Cannot read the list file %1: %2")
                    .arg(QDir::toNativeSeparators(path), reader.errorString());
        return false;
    }
    names.clear();
    QString line;
    while (reader.readLine(line)) {
        const QString name = line.trimmed();
        if (!name.isEmpty()) names << name;
    }
    if (reader.hadError()) {
        error = QStringLiteral("Cannot read the list file %1: %2")
                    .arg(QDir::toNativeSeparators(path), reader.errorString());
        return false;
    }
    return true;
}

bool LoadListedSpectra(const QString& folder, const QString& listPath,
                       std::vector<ListedSpectrum>& spectra, QStringList& unusable,
                       QString& error) {
    QStringList names;
    if (listPath.isEmpty()) {
        names = QDir(folder).entryList({QStringLiteral("*.dta")}, QDir::Files, QDir::Name);
    } else if (!ReadSpectrumList(listPath, names, error)) {
        return false;
    }
    spectra.clear();
    spectra.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) {
        ListedSpectrum listed;
        listed.name = name;
        const QString portable = PortablePath(name);
        listed.path = QFileInfo(portable).isAbsolute() ? portable : JoinPath(folder, portable);
        const QString file = QFileInfo(listed.path).fileName();
        const QString base = file.endsWith(QLatin1String(".dta"), Qt::CaseInsensitive)
                                 ? file.chopped(4)
                                 : file;
        listed.outPath = JoinPath(QFileInfo(listed.path).path(), base + QStringLiteral(".out"));
        switch (listed.spectrum.read(listed.path)) {
            case CDtaSpectrum::ReadResult::CannotOpen:
                unusable << QStringLiteral("%1: cannot be opened").arg(name);
                continue;
            case CDtaSpectrum::ReadResult::CannotRead:
                unusable << QStringLiteral("%1: not a spectrum file").arg(name);
                continue;
            case CDtaSpectrum::ReadResult::Ok:
                break;
        }
        if (listed.spectrum.precursor() <= 0.0 || listed.spectrum.charge() < 1 ||
            listed.spectrum.peaks().empty()) {
            unusable << QStringLiteral("%1: no precursor, charge or peaks").arg(name);
            continue;
        }
        spectra.push_back(std::move(listed));
    }
    return true;
}

}  // namespace zar
