#pragma once
// Reads the spectrum the Zarmass pages work on from the run: the scan of a retention time, or
// the average of a scan range, with what the engines need to know of the scan.

#include "ZarmassTypes.h"

#include "fileio/VXTypes.h"

#include <QString>

#include <vector>

namespace zar {

class VRawfile;

// The message of a failed read.
inline constexpr const char* kZarmassReadFailedText = "Failed to read spectrum from raw file.";

struct ZarmassSpectrum {
    std::vector<CVXDataPeak> peaks;  // ascending m/z
    ZarmassScanInfo scan;
    // Set for an average: the scans it was made of.
    bool averaged = false;
    int firstScan = 0;
    int lastScan = 0;
    double firstTime = 0.0;
    double lastTime = 0.0;
};

// Whether a filter text names a positive-polarity scan (a text without polarity counts as
// positive).
bool IsPositiveFilter(const QString& filter);

// The scan nearest the time: its peaks, number, centroid flag, polarity and filter text.
// False, with the spectrum emptied, when the run cannot answer.
bool ReadZarmassScan(VRawfile& run, double time, ZarmassSpectrum& out);

// The average of the scans first..last that are of the first scan's MS order (a survey scan's
// range in a run that interleaves fragment scans averages the survey scans only). The centroid
// flag is the first scan's, the filter text that of the averaged scan nearest the middle of the
// range in time. False, with the spectrum emptied, when the run cannot answer or the range holds
// no scan.
bool ReadZarmassAverage(VRawfile& run, int first, int last, ZarmassSpectrum& out);

// Peaks as the engines take them.
std::vector<PeakRecord> ToPeakRecords(const std::vector<CVXDataPeak>& peaks);

}  // namespace zar
