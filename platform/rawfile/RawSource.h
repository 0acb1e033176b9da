#pragma once
// Inside the raw-file reader: one run file as a list of spectra. The reading library stays
// behind this interface, so only one source file includes its headers.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zar::rawfile {

struct RawPrecursor {
    double mz = 0.0;
    double energy = 0.0;
    bool hasEnergy = false;
    QString activation;  // "cid", "hcd", "etd", "ecd", "pqd", "irmpd"; empty when not given
    int charge = 0;
};

// What the file says of one spectrum; unknown values stay at their defaults.
struct RawScanRecord {
    int scanNumber = 0;  // "scan=N" of the native id, else a peak list's SCANS= or title; 0: none
    double retentionTime = 0.0;  // minutes
    int msLevel = 1;
    int polarity = -1;       // 0 negative, 1 positive, -1 unknown
    int centroid = -1;       // 1 centroid, 0 profile, -1 unknown
    QString filterString;    // the file's own filter text, empty when none
    QString ionization;      // "ESI", "NSI", "MALDI", "APCI"; empty when unknown
    double windowLow = 0.0;  // scan window; both 0 when the file gives none
    double windowHigh = 0.0;
    double totalIonCurrent = -1.0;  // -1: not given
    std::vector<RawPrecursor> precursors;
};

// Receives a spectrum's peaks, ascending m/z, straight from where they were decoded.
using PeakSink = std::function<void(const double* mz, const double* intensity, std::size_t n)>;

class RawSource {
  public:
    virtual ~RawSource() = default;
    virtual std::size_t size() const = 0;
    // Reads spectrum `index`; with a sink, hands it the peaks. False with a text when the
    // spectrum cannot be read; never throws.
    virtual bool read(std::size_t index, RawScanRecord& record, const PeakSink* sink,
                      QString& error) const = 0;
};

// Opens a run file (mzML, mzXML, MGF); nullptr with a text when it cannot be read.
std::unique_ptr<RawSource> OpenRunFile(const QString& path, QString& error);
// The same over the bytes of a run file; the name's extension tells its format.
std::unique_ptr<RawSource> OpenRunBytes(const QByteArray& bytes, const QString& name,
                                        QString& error);

}  // namespace zar::rawfile
