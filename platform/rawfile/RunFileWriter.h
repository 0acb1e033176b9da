#pragma once
// Writes run files (mzML, mzXML or MGF by the file's extension) from spectra made on demand,
// so that a run of any size is written without holding it in memory. Used to make test and
// benchmark runs.

#include "fileio/VXTypes.h"

#include <QString>

#include <functional>
#include <vector>

namespace zar {

struct RunPrecursor {
    double mz = 0.0;
    int charge = 0;
    QString activation = "cid";  // "cid", "hcd", "etd"
    double energy = 35.0;
};

struct RunSpectrum {
    int scanNumber = 0;  // written as "scan=N"
    int msLevel = 1;
    double retentionTime = 0.0;  // minutes
    bool positive = true;
    bool centroid = true;
    double windowLow = 0.0;  // scan window, left out when both are 0
    double windowHigh = 0.0;
    QString filterString;  // the instrument's filter text; empty: none written
    std::vector<RunPrecursor> precursors;
    std::vector<double> mz;  // ascending
    std::vector<double> intensity;
};

// Writes `count` spectra, asking `make` for each in turn (index 0..count-1). False with a text
// on failure.
bool WriteRunFile(const QString& path, int count, const std::function<RunSpectrum(int)>& make,
                  QString& error);

// Reads every spectrum of a run with its peaks through the run-file library alone, as a
// yardstick for the reader's speed; the number of peaks read, or -1 with a text.
long long ReadEveryPeakWithLibrary(const QString& path, QString& error);

}  // namespace zar
