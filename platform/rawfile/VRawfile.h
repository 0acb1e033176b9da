#pragma once
// The raw-file reader ("Zar_Support.VRawfile.1"): reads an LC-MS run from mzML, mzXML or MGF
// and answers what the program asks of a run: scans and their times, filter texts, headers,
// spectra and chromatograms.
//
// - Scan numbers are 1-based: "scan=N" of the spectrum's native id when every spectrum has a
//   distinct one, else the spectrum's index + 1. Numbers may have gaps.
// - Retention times are in minutes.
// - A scan's filter text is the file's own filter string when it has one; otherwise it is
//   composed in the same syntax (CVXFilter): polarity, centroid/profile, ionisation, "Full",
//   "ms"/"ms2"/"ms3", each precursor as mass@<activation><energy>, and "[ low-high]" from the
//   scan window.
// - Opening reads every spectrum once for the scan table: each scan's total ion current, base
//   peak and peak count, so that TIC and base-peak chromatograms need no further reading. The
//   first chromatogram that needs peaks (mass ranges, neutral fragments, a base peak within
//   ranges) reads the peaks of every scan once into the peak cache, made to the run's size,
//   when the run fits its limit; further chromatograms then never read the file again. A run
//   too big for the cache is said in the log, and its chromatograms read the file each time.
//   Each chromatogram is computed once per file and kept.
//
// Every failure is a false return with lastError() telling why; nothing throws. One reader is
// used by one thread at a time; a worker opens its own.

#include "fileio/VXChro.h"
#include "fileio/VXFilter.h"
#include "fileio/VXTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <vector>

namespace zar {

namespace rawfile {
class RawSource;
}

// The values of one scan's header.
struct RawScanHeader {
    int scanNumber = 0;
    int isCentroid = 1;
    double retentionTime = 0.0;  // minutes
    double lowMass = 0.0;        // scan window, else the lowest and highest peak
    double highMass = 0.0;
    double totalIonCurrent = 0.0;
    double basePeakMass = 0.0;
    double basePeakIntensity = 0.0;
    int peakCount = 0;
    int msLevel = 1;
    double precursorMass = 0.0;  // first precursor; 0 for MS1 scans
    int precursorCharge = 0;
};

// What an averaged spectrum was made of.
struct RawAverageInfo {
    int firstScan = 0;
    int lastScan = 0;
    double firstTime = 0.0;
    double lastTime = 0.0;
    int scansAveraged = 0;
};

// One trace of a chromatogram request.
struct RawChroRequest {
    int traceType = kVXTICTrace;  // mass range, TIC, base peak or neutral fragment
    QString filter;               // scan-filter text; empty: every scan
    // Mass range: summed ranges; base peak: where to look (none: everywhere); neutral
    // fragment: neutral masses (low) lost from the precursor.
    std::vector<CVX_MassRange> massRanges;
};

class VRawfile {
  public:
    static constexpr const char* kProgId = "Zar_Support.VRawfile.1";
    // Window around a neutral-loss fragment's mass (mass units).
    static constexpr double kFragmentTolerance = 0.5;
    // Peaks of averaged scans closer than this (m/z) are one peak.
    static constexpr double kAverageMergeTolerance = 0.005;

    VRawfile();
    ~VRawfile();
    VRawfile(const VRawfile&) = delete;
    VRawfile& operator=(const VRawfile&) = delete;

    // Opens a run file, closing the one open before. False (nothing open) with lastError().
    bool open(const QString& path);
    // The same over the bytes of a run file (copied); the name's extension tells the format,
    // as a file's would, and the name stands for the file's.
    bool openBytes(const QByteArray& bytes, const QString& name);
    void close();
    bool isOpen() const;
    // Path of the open file; empty when none.
    QString fileName() const;
    // Why the last failing call failed.
    QString lastError() const;

    // Files on disk are never being acquired: always 0.
    int isAcquiring() const { return 0; }
    // Controllers of a type (0 = mass spectrometer): 1 for the MS of a run with spectra, else 0.
    int controllerCount(int type) const;
    // Selects a controller; only (0, 1) exists, and only in a run with spectra.
    bool setCurrentController(int type, int number);

    // Run values; 0 when nothing is open.
    int numSpectra() const;
    int firstScan() const;
    int lastScan() const;
    double startTime() const;
    double endTime() const;
    double lowMass() const;
    double highMass() const;
    double totalIonCurrent() const;  // of the whole run
    // The distinct filter texts of the run, in order of first appearance.
    QStringList filters() const;

    bool scanToRetentionTime(int scan, double& time);
    // The scan nearest to the time; halfway between two goes to the earlier.
    bool retentionTimeToScan(double time, int& scan);
    // The scans of a time range as a range of scan numbers, by time whatever order the run
    // stores its scans in: the lowest and the highest number among the scans of the MS level
    // (0: every level) timed start..end. A run that keeps its MS1 scans before its MS/MS scans
    // has, for one time range, one range of each level and none of both: callers name the level
    // they work on. A range that holds no scan of the level gives that level's scan nearest to
    // its middle. False when the run has no scan of the level.
    bool scanRangeForTimes(double start, double end, int msLevel, int& first, int& last);
    bool filterForScan(int scan, QString& filter);
    bool scanHeader(int scan, RawScanHeader& header);
    // The peaks of a scan (m/z ascending, nScanPosition = the scan), read from the file.
    bool spectrum(int scan, std::vector<CVXDataPeak>& peaks, RawScanHeader* header = nullptr);
    // The spectrum of the scan nearest to the time among the scans that pass the filter
    // (nullptr or an accept-all filter: every scan).
    bool spectrumAtTime(double time, const CVXFilter* filter, std::vector<CVXDataPeak>& peaks,
                        RawScanHeader* header = nullptr);
    // The average of several scans' spectra: peaks of all of them closer than
    // kAverageMergeTolerance are merged (intensity-weighted mass), intensities are summed and
    // divided by the number of scans. Fails when a scan is missing or the list is empty.
    bool averageSpectrum(const std::vector<int>& scans, std::vector<CVXDataPeak>& peaks,
                         RawAverageInfo* info = nullptr);
    // Several traces at once over the time range (start >= end: the whole run). Each trace gets
    // one point per passing scan: time, intensity, base-peak mass, scan number.
    bool chromatograms(const std::vector<RawChroRequest>& requests, double startTime,
                       double endTime, std::vector<CVXChro>& traces);
    // Whether a scan of first..last is an MS/MS (or higher) scan.
    bool hasMSMS(int firstScan, int lastScan, bool& result);

    // Peak cache: the peaks of all scans are kept when they fit in this many bytes (0: never).
    // Without a limit set, a quarter of the machine's memory.
    void setPeakCacheLimit(std::size_t bytes);
    static std::size_t AutomaticPeakCacheLimit();
    bool peaksInMemory() const;
    // Counters for checks: spectra read from the file, chromatograms computed (not cached).
    long long spectraReadFromDisk() const;
    long long chromatogramsComputed() const;

  private:
    struct Impl;
    // Takes an opened source as the open run; false, with the error, when there is none.
    bool take(std::unique_ptr<rawfile::RawSource> source, const QString& path,
              const QString& error);
    std::unique_ptr<Impl> d_;
};

}  // namespace zar
