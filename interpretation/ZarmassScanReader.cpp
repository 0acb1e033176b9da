#include "ZarmassScanReader.h"

#include "fileio/VXFilter.h"
#include "rawfile/VRawfile.h"

#include <algorithm>
#include <cmath>

namespace zar {

bool IsPositiveFilter(const QString& filter) {
    CVXFilter parsed;
    if (!parsed.FilterString(filter)) return true;
    return parsed.polarity != CVXFilter::kNegative;
}

namespace {

void TakeFilter(ZarmassScanInfo& scan, const QString& filter) {
    scan.filter = filter.left(kZarmassMaxFilterText);
    scan.positive = IsPositiveFilter(filter) ? 1 : 0;
}

bool Fail(ZarmassSpectrum& out) {
    out = ZarmassSpectrum();
    return false;
}

}  // namespace

bool ReadZarmassScan(VRawfile& run, double time, ZarmassSpectrum& out) {
    out = ZarmassSpectrum();
    int number = 0;
    RawScanHeader header;
    QString filter;
    if (!run.retentionTimeToScan(time, number) || !run.spectrum(number, out.peaks, &header) ||
        !run.filterForScan(number, filter))
        return Fail(out);
    out.scan.retentionTime = header.retentionTime;
    out.scan.scanNumber = number;
    out.scan.isCentroid = header.isCentroid != 0 ? 1 : 0;
    TakeFilter(out.scan, filter);
    return true;
}

bool ReadZarmassAverage(VRawfile& run, int first, int last, ZarmassSpectrum& out) {
    out = ZarmassSpectrum();
    if (first > last) std::swap(first, last);
    RawScanHeader firstHeader;
    if (!run.scanHeader(first, firstHeader)) return Fail(out);
    std::vector<int> scans;
    for (int number = first; number <= last; ++number) {
        RawScanHeader header;
        // Numbers may have gaps: a number the run does not hold is no scan of the range.
        if (run.scanHeader(number, header) && header.msLevel == firstHeader.msLevel)
            scans.push_back(number);
    }
    RawAverageInfo info;
    if (scans.empty() || !run.averageSpectrum(scans, out.peaks, &info)) return Fail(out);
    double firstTime = 0.0, lastTime = 0.0;
    if (!run.scanToRetentionTime(first, firstTime) || !run.scanToRetentionTime(last, lastTime))
        return Fail(out);
    // The filter of the averaged scan nearest the middle of the range in time: the scan at that
    // time itself may be of another order.
    const double middleTime = 0.5 * (firstTime + lastTime);
    int middle = scans.front();
    double nearest = -1.0;
    for (int number : scans) {
        double time = 0.0;
        if (!run.scanToRetentionTime(number, time)) return Fail(out);
        if (nearest < 0.0 || std::abs(time - middleTime) < nearest) {
            nearest = std::abs(time - middleTime);
            middle = number;
        }
    }
    QString filter;
    if (!run.filterForScan(middle, filter)) return Fail(out);
    out.averaged = true;
    out.firstScan = info.firstScan;
    out.lastScan = info.lastScan;
    out.firstTime = info.firstTime;
    out.lastTime = info.lastTime;
    out.scan.retentionTime = middleTime;
    out.scan.scanNumber = first;
    out.scan.isCentroid = firstHeader.isCentroid != 0 ? 1 : 0;
    TakeFilter(out.scan, filter);
    return true;
}

std::vector<PeakRecord> ToPeakRecords(const std::vector<CVXDataPeak>& peaks) {
    std::vector<PeakRecord> records;
    records.reserve(peaks.size());
    for (const CVXDataPeak& p : peaks)
        records.push_back({p.dPosition, p.dIntensity, p.fBasePeakMass, p.nScanPosition});
    return records;
}

}  // namespace zar
