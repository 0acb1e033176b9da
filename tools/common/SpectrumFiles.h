#pragma once
// The files of one search folder: ".dta" spectra named base.first.last.charge.dta, and the list
// file that names the ones to search.

#include "databases/DtaSpectrum.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zar {

// "base.first.last.charge", the scans with four digits at least ("run.0100.0100.2").
QString SpectrumFileBase(const QString& base, int firstScan, int lastScan, int charge);

// A ".dta" text: "MH+ charge", then one "m/z intensity" line per peak.
QString DtaText(double mh, int charge, const std::vector<double>& mz,
                const std::vector<double>& intensity);

// The names of a list file, one a line (UTF-16 with a byte-order mark, UTF-8 or Latin-1);
// blank lines are skipped and blanks around a name dropped. False with a text when the file
// cannot be read.
bool ReadSpectrumList(const QString& path, QStringList& names, QString& error);

// One spectrum a search program works on.
struct ListedSpectrum {
    QString name;     // as listed: "run.0100.0100.2.dta"
    QString path;     // the file
    QString outPath;  // its ".out" file, beside it
    CDtaSpectrum spectrum;
};

// The spectra of a search: the list's names (taken in folder unless absolute), or with no list
// every ".dta" file of the folder in name order. A name that cannot be read as a spectrum (no
// file, no MH+ and charge, no peaks) is put into `unusable` with the reason. False with a text
// when the list cannot be read.
bool LoadListedSpectra(const QString& folder, const QString& listPath,
                       std::vector<ListedSpectrum>& spectra, QStringList& unusable,
                       QString& error);

}  // namespace zar
