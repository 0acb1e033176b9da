#include "rawfile/VRawfile.h"

#include "RawSource.h"

#include "core/Log.h"
#include "core/Numbers.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>

#include <unistd.h>

namespace zar {

using rawfile::RawScanRecord;
using rawfile::RawSource;

namespace {

// Times come from seconds divided by 60; differences this small are ties.
constexpr double kTimeTieTolerance = 1e-9;
constexpr double kMiB = 1024.0 * 1024.0;

enum class PeakCacheState { NotRead, InMemory, TooBig };

const char* const kIonizationCodes[] = {"EI",  "CI",  "FAB", "ESI",   "APCI",
                                        "NSI", "TSP", "FD",  "MALDI", "GD"};

// One scan of the open run.
struct ScanEntry {
    int number = 0;
    std::size_t index = 0;  // in the file
    RawScanRecord record;
    QString filterText;
    CVXFilter filter;
    double tic = 0.0;
    double basePeakMass = 0.0;
    double basePeakIntensity = 0.0;
    double lowPeak = 0.0;
    double highPeak = 0.0;
    int peakCount = 0;
};

CVXFilter ComposeFilter(const RawScanRecord& record) {
    CVXFilter filter;
    if (record.polarity == 0) filter.polarity = CVXFilter::kNegative;
    if (record.polarity == 1) filter.polarity = CVXFilter::kPositive;
    if (record.centroid == 1) filter.scanData = CVXFilter::kCentroid;
    if (record.centroid == 0) filter.scanData = CVXFilter::kProfile;
    for (int i = 0; i < 10; ++i) {
        if (record.ionization == QLatin1String(kIonizationCodes[i])) filter.ionizationMode = i;
    }
    filter.scanType = CVXFilter::kFull;
    filter.msOrder = std::clamp(record.msLevel, 1, int{CVXFilter::kMaxMsOrderValue});
    if (filter.msOrder >= 2) {
        for (const rawfile::RawPrecursor& p : record.precursors) {
            if (static_cast<int>(filter.precursors.size()) >= CVXFilter::kMaxPrecursors) break;
            CVXFilter::Precursor precursor;
            precursor.mass = p.mz;
            precursor.energyValid = p.hasEnergy;
            precursor.energy = p.energy;
            precursor.activation = p.hasEnergy ? p.activation : QString();
            filter.precursors.push_back(precursor);
        }
    }
    if (record.windowHigh > record.windowLow && record.windowLow >= 0.0)
        filter.massRanges.emplace_back(record.windowLow, record.windowHigh);
    return filter;
}

QString RequestKey(const RawChroRequest& request, const CVXFilter& filter, double start,
                   double end) {
    QString key = QString::number(request.traceType) + u'|' + filter.FilterString(6, -1, 6);
    for (const CVX_MassRange& range : request.massRanges)
        key += QCFormat("|%.9g-%.9g", range.low, range.high);
    key += QCFormat("|%.9g|%.9g", start, end);
    return key;
}

}  // namespace

struct VRawfile::Impl {
    QString path;
    QString error;
    std::unique_ptr<RawSource> source;
    std::vector<ScanEntry> scans;     // file order
    std::vector<std::size_t> byTime;  // indices into scans, ascending time (stable)
    std::unordered_map<int, std::size_t> byNumber;
    QStringList filterTexts;
    double runLowMass = 0.0;
    double runHighMass = 0.0;
    double runTic = 0.0;
    bool controllerSelected = false;

    // Peaks of every scan, read when a chromatogram first needs them and kept while the run
    // fits the limit: scan i spans [offsets[i], offsets[i + 1]). No limit set: automatic.
    std::optional<std::size_t> cacheLimit;
    PeakCacheState peakCache = PeakCacheState::NotRead;
    std::vector<std::size_t> offsets;
    std::unique_ptr<double[]> cachedMz;
    std::unique_ptr<float[]> cachedIntensity;

    std::map<QString, CVXChro> chroCache;
    long long diskReads = 0;
    long long chroComputed = 0;

    bool fail(const QString& text) {
        error = text;
        return false;
    }
    bool requireOpen() {
        if (!source) return fail(QStringLiteral("No run file is open."));
        return true;
    }
    const ScanEntry* findScan(int number) {
        if (!requireOpen()) return nullptr;
        const auto it = byNumber.find(number);
        if (it == byNumber.end()) {
            if (scans.empty()) {
                fail(QStringLiteral("The run holds no scans."));
            } else {
                fail(QStringLiteral("Scan %1 is not in the run (scans %2 to %3).")
                         .arg(number)
                         .arg(scans.front().number)
                         .arg(scans.back().number));
            }
            return nullptr;
        }
        return &scans[it->second];
    }

    bool load(const QString& file);
    bool fillPeakCache();
    bool readPeaks(const ScanEntry& scan, std::vector<double>& mz, std::vector<double>& intensity);
    RawScanHeader headerOf(const ScanEntry& scan) const;
    bool computeTrace(const RawChroRequest& request, const CVXFilter& filter, double start,
                      double end, CVXChro& trace);
};

bool VRawfile::Impl::load(const QString& file) {
    const std::size_t count = source->size();
    scans.reserve(count);
    bool numbersValid = true;
    QSet<int> numbersSeen;
    QSet<QString> filtersSeen;
    double lowWindow = std::numeric_limits<double>::max();
    double highWindow = 0.0;
    double lowPeak = std::numeric_limits<double>::max();
    double highPeak = 0.0;

    // Each scan's peaks are summed as they come from the decoder, without a copy.
    ScanEntry scan;
    double peakSum = 0.0;
    const rawfile::PeakSink sink = [&](const double* mz, const double* intensity, std::size_t n) {
        scan.peakCount = static_cast<int>(n);
        peakSum = 0.0;
        for (std::size_t k = 0; k < n; ++k) {
            peakSum += intensity[k];
            if (k == 0 || intensity[k] > scan.basePeakIntensity) {
                scan.basePeakIntensity = intensity[k];
                scan.basePeakMass = mz[k];
            }
        }
        if (n > 0) {
            scan.lowPeak = mz[0];
            scan.highPeak = mz[n - 1];
            lowPeak = std::min(lowPeak, mz[0]);
            highPeak = std::max(highPeak, mz[n - 1]);
        }
    };

    for (std::size_t i = 0; i < count; ++i) {
        scan = ScanEntry();
        scan.index = i;
        peakSum = 0.0;
        QString readError;
        if (!source->read(i, scan.record, &sink, readError)) {
            return fail(QStringLiteral("The file \"%1\" is damaged: spectrum %2 of %3 cannot be "
                                       "read (%4).")
                            .arg(file)
                            .arg(i + 1)
                            .arg(count)
                            .arg(readError));
        }
        ++diskReads;
        const RawScanRecord& record = scan.record;
        scan.tic = record.totalIonCurrent >= 0.0 ? record.totalIonCurrent : peakSum;
        if (record.windowHigh > record.windowLow) {
            lowWindow = std::min(lowWindow, record.windowLow);
            highWindow = std::max(highWindow, record.windowHigh);
        }
        runTic += scan.tic;

        scan.filterText = record.filterString.trimmed();
        if (scan.filterText.isEmpty() || !scan.filter.FilterString(scan.filterText)) {
            scan.filter = ComposeFilter(record);
            if (scan.filterText.isEmpty()) scan.filterText = scan.filter.FilterString(2, -1, 2);
        }
        if (!filtersSeen.contains(scan.filterText)) {
            filtersSeen.insert(scan.filterText);
            filterTexts.append(scan.filterText);
        }

        if (record.scanNumber <= 0 || numbersSeen.contains(record.scanNumber)) numbersValid = false;
        numbersSeen.insert(record.scanNumber);
        scans.push_back(std::move(scan));
    }

    for (std::size_t i = 0; i < scans.size(); ++i) {
        scans[i].number = numbersValid ? scans[i].record.scanNumber : static_cast<int>(i) + 1;
        byNumber.emplace(scans[i].number, i);
    }
    byTime.resize(scans.size());
    for (std::size_t i = 0; i < byTime.size(); ++i) byTime[i] = i;
    std::stable_sort(byTime.begin(), byTime.end(), [this](std::size_t a, std::size_t b) {
        return scans[a].record.retentionTime < scans[b].record.retentionTime;
    });
    if (highWindow > 0.0) {
        runLowMass = lowWindow;
        runHighMass = highWindow;
    } else if (highPeak > 0.0) {
        runLowMass = lowPeak;
        runHighMass = highPeak;
    }
    return true;
}

bool VRawfile::Impl::fillPeakCache() {
    if (peakCache != PeakCacheState::NotRead) return true;
    // The scan table knows every scan's peak count: the cache is made to the run's size and
    // filled in place.
    offsets.assign(scans.size() + 1, 0);
    for (std::size_t i = 0; i < scans.size(); ++i)
        offsets[i + 1] = offsets[i] + static_cast<std::size_t>(scans[i].peakCount);
    const std::size_t peaks = offsets.back();
    const std::size_t bytes =
        peaks * (sizeof(double) + sizeof(float)) + offsets.size() * sizeof(std::size_t);
    const std::size_t limit = cacheLimit ? *cacheLimit : AutomaticPeakCacheLimit();
    if (bytes > limit) {
        std::vector<std::size_t>().swap(offsets);
        peakCache = PeakCacheState::TooBig;
        LogLine(QStringLiteral("The run \"%1\" holds %2 peaks (%3 MiB), more than the peak cache "
                               "may take (%4 MiB): chromatograms read the run's peaks from the "
                               "file each time.")
                    .arg(path)
                    .arg(peaks)
                    .arg(static_cast<double>(bytes) / kMiB, 0, 'f', 1)
                    .arg(static_cast<double>(limit) / kMiB, 0, 'f', 1));
        return true;
    }
    cachedMz.reset(new double[peaks]);
    cachedIntensity.reset(new float[peaks]);
    std::size_t at = 0;
    std::size_t expected = 0;
    bool sameCounts = true;
    const rawfile::PeakSink sink = [&](const double* mz, const double* intensity, std::size_t n) {
        if (n != expected) {
            sameCounts = false;
            return;
        }
        std::copy(mz, mz + n, cachedMz.get() + at);
        float* kept = cachedIntensity.get() + at;
        for (std::size_t k = 0; k < n; ++k) kept[k] = static_cast<float>(intensity[k]);
    };
    for (std::size_t i = 0; i < scans.size() && sameCounts; ++i) {
        at = offsets[i];
        expected = offsets[i + 1] - offsets[i];
        RawScanRecord record;
        QString readError;
        const bool read = source->read(scans[i].index, record, &sink, readError);
        ++diskReads;
        if (!read || !sameCounts) {
            std::vector<std::size_t>().swap(offsets);
            cachedMz.reset();
            cachedIntensity.reset();
            if (!read)
                return fail(QStringLiteral("Scan %1 cannot be read from \"%2\" (%3).")
                                .arg(scans[i].number)
                                .arg(path, readError));
            return fail(QStringLiteral("The file \"%1\" has changed since it was opened; open "
                                       "it again.")
                            .arg(path));
        }
    }
    peakCache = PeakCacheState::InMemory;
    return true;
}

bool VRawfile::Impl::readPeaks(const ScanEntry& scan, std::vector<double>& mz,
                               std::vector<double>& intensity) {
    RawScanRecord record;
    QString readError;
    std::vector<double> readMz;
    std::vector<double> readIntensity;
    const rawfile::PeakSink sink = [&](const double* m, const double* y, std::size_t n) {
        readMz.assign(m, m + n);
        readIntensity.assign(y, y + n);
    };
    if (!source->read(scan.index, record, &sink, readError)) {
        return fail(QStringLiteral("Scan %1 cannot be read from \"%2\" (%3).")
                        .arg(scan.number)
                        .arg(path, readError));
    }
    ++diskReads;
    mz.swap(readMz);
    intensity.swap(readIntensity);
    return true;
}

RawScanHeader VRawfile::Impl::headerOf(const ScanEntry& scan) const {
    RawScanHeader header;
    header.scanNumber = scan.number;
    header.isCentroid = scan.record.centroid == 0 ? 0 : 1;
    header.retentionTime = scan.record.retentionTime;
    if (scan.record.windowHigh > scan.record.windowLow) {
        header.lowMass = scan.record.windowLow;
        header.highMass = scan.record.windowHigh;
    } else {
        header.lowMass = scan.lowPeak;
        header.highMass = scan.highPeak;
    }
    header.totalIonCurrent = scan.tic;
    header.basePeakMass = scan.basePeakMass;
    header.basePeakIntensity = scan.basePeakIntensity;
    header.peakCount = scan.peakCount;
    header.msLevel = scan.record.msLevel;
    if (!scan.record.precursors.empty()) {
        header.precursorMass = scan.record.precursors.front().mz;
        header.precursorCharge = scan.record.precursors.front().charge;
    }
    return header;
}

bool VRawfile::Impl::computeTrace(const RawChroRequest& request, const CVXFilter& filter,
                                  double start, double end, CVXChro& trace) {
    const int type = request.traceType;
    if (type != kVXMassRangeTrace && type != kVXTICTrace && type != kVXBasePeakTrace &&
        type != kVXNeutralFragmentTrace) {
        return fail(QStringLiteral("Trace type %1 is not available in a run file; only mass "
                                   "range, TIC, base peak and neutral fragment traces are.")
                        .arg(type));
    }
    if (type == kVXMassRangeTrace && request.massRanges.empty())
        return fail(QStringLiteral("A mass range trace needs at least one mass range."));
    if (type == kVXNeutralFragmentTrace && request.massRanges.empty())
        return fail(QStringLiteral("A neutral fragment trace needs at least one mass."));

    trace = CVXChro();
    trace.detectorType = kVXMSDevice;
    trace.traceType = type;
    trace.filter = filter;
    trace.massRanges = request.massRanges;
    const bool wholeRun = !(start < end);
    // TIC and an unrestricted base peak come from the scan table; the rest needs peaks.
    const bool needsPeaks = type == kVXMassRangeTrace || type == kVXNeutralFragmentTrace ||
                            (type == kVXBasePeakTrace && !request.massRanges.empty());
    if (needsPeaks && !fillPeakCache()) return false;
    const bool peaksCached = peakCache == PeakCacheState::InMemory;
    std::vector<double> mz;
    std::vector<double> intensity;

    for (std::size_t order : byTime) {
        const ScanEntry& scan = scans[order];
        const double time = scan.record.retentionTime;
        if (!wholeRun && (time < start || time > end)) continue;
        if (!filter.IsAcceptAll() && !filter.Matches(scan.filter)) continue;

        CVXDataPeak point;
        point.dPosition = time;
        point.nScanPosition = scan.number;
        point.fBasePeakMass = static_cast<float>(scan.basePeakMass);
        if (!needsPeaks) {
            point.dIntensity = type == kVXTICTrace ? scan.tic : scan.basePeakIntensity;
            trace.points.push_back(point);
            continue;
        }

        const double* peakMz = nullptr;
        std::size_t peakCount = 0;
        auto intensityAt = [&](std::size_t k) -> double {
            return peaksCached ? cachedIntensity[offsets[order] + k] : intensity[k];
        };
        if (peaksCached) {
            peakMz = cachedMz.get() + offsets[order];
            peakCount = offsets[order + 1] - offsets[order];
        } else {
            if (!readPeaks(scan, mz, intensity)) return false;
            peakMz = mz.data();
            peakCount = mz.size();
        }
        auto sumIn = [&](double low, double high, double& best, double& bestMass) {
            double total = 0.0;
            const double* first = std::lower_bound(peakMz, peakMz + peakCount, low);
            for (const double* p = first; p != peakMz + peakCount && *p <= high; ++p) {
                const double value = intensityAt(static_cast<std::size_t>(p - peakMz));
                total += value;
                if (value > best) {
                    best = value;
                    bestMass = *p;
                }
            }
            return total;
        };

        double total = 0.0;
        double best = 0.0;
        double bestMass = 0.0;
        if (type == kVXNeutralFragmentTrace) {
            if (scan.record.precursors.empty()) continue;
            const double precursor = scan.record.precursors.back().mz;
            for (const CVX_MassRange& loss : request.massRanges) {
                const double target = precursor - loss.low;
                total +=
                    sumIn(target - kFragmentTolerance, target + kFragmentTolerance, best, bestMass);
            }
        } else {
            for (const CVX_MassRange& range : request.massRanges)
                total += sumIn(range.low, range.high, best, bestMass);
        }
        point.dIntensity = type == kVXBasePeakTrace ? best : total;
        if (best > 0.0) point.fBasePeakMass = static_cast<float>(bestMass);
        trace.points.push_back(point);
    }
    trace.UpdateDataRanges();
    trace.normalizationLevel = trace.dataIntensityHigh;
    ++chroComputed;
    return true;
}

VRawfile::VRawfile() : d_(std::make_unique<Impl>()) {}

VRawfile::~VRawfile() = default;

bool VRawfile::open(const QString& path) {
    close();
    Impl& d = *d_;
    if (path.trimmed().isEmpty()) return d.fail(QStringLiteral("No file name was given."));
    const QFileInfo info(path);
    if (!info.exists()) return d.fail(QStringLiteral("The file \"%1\" does not exist.").arg(path));
    if (info.isDir())
        return d.fail(QStringLiteral("\"%1\" is a folder, not a run file.").arg(path));
    if (!info.isReadable())
        return d.fail(QStringLiteral("The file \"%1\" cannot be read.").arg(path));

    QString error;
    return take(rawfile::OpenRunFile(info.absoluteFilePath(), error), path, error);
}

bool VRawfile::openBytes(const QByteArray& bytes, const QString& name) {
    close();
    QString error;
    return take(rawfile::OpenRunBytes(bytes, name, error), name, error);
}

bool VRawfile::take(std::unique_ptr<rawfile::RawSource> source, const QString& path,
                    const QString& error) {
    Impl& d = *d_;
    if (!source) {
        return d.fail(QStringLiteral("The file \"%1\" is not a run file that can be read (mzML, "
                                     "mzXML or MGF), or it is damaged: %2")
                          .arg(path, error));
    }
    d.source = std::move(source);
    d.path = path;
    if (!d.load(path)) {
        const QString loadError = d.error;
        close();  // replaces the state: `d` is gone from here on
        d_->error = loadError;
        return false;
    }
    d.error.clear();
    return true;
}

void VRawfile::close() {
    const std::optional<std::size_t> limit = d_->cacheLimit;
    d_ = std::make_unique<Impl>();
    d_->cacheLimit = limit;
}

bool VRawfile::isOpen() const {
    return d_->source != nullptr;
}

QString VRawfile::fileName() const {
    return d_->path;
}

QString VRawfile::lastError() const {
    return d_->error;
}

int VRawfile::controllerCount(int type) const {
    return type == 0 && d_->source && !d_->scans.empty() ? 1 : 0;
}

bool VRawfile::setCurrentController(int type, int number) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    if (type != 0 || number != 1) {
        return d.fail(QStringLiteral("The run has no controller of type %1 number %2; only the "
                                     "mass spectrometer (0, 1).")
                          .arg(type)
                          .arg(number));
    }
    if (d.scans.empty())
        return d.fail(QStringLiteral("The file \"%1\" holds no mass spectra.").arg(d.path));
    d.controllerSelected = true;
    return true;
}

int VRawfile::numSpectra() const {
    return static_cast<int>(d_->scans.size());
}

int VRawfile::firstScan() const {
    int first = 0;
    for (const ScanEntry& scan : d_->scans)
        first = first == 0 ? scan.number : std::min(first, scan.number);
    return first;
}

int VRawfile::lastScan() const {
    int last = 0;
    for (const ScanEntry& scan : d_->scans) last = std::max(last, scan.number);
    return last;
}

double VRawfile::startTime() const {
    return d_->byTime.empty() ? 0.0 : d_->scans[d_->byTime.front()].record.retentionTime;
}

double VRawfile::endTime() const {
    return d_->byTime.empty() ? 0.0 : d_->scans[d_->byTime.back()].record.retentionTime;
}

double VRawfile::lowMass() const {
    return d_->runLowMass;
}

double VRawfile::highMass() const {
    return d_->runHighMass;
}

double VRawfile::totalIonCurrent() const {
    return d_->runTic;
}

QStringList VRawfile::filters() const {
    return d_->filterTexts;
}

bool VRawfile::scanToRetentionTime(int scan, double& time) {
    const ScanEntry* entry = d_->findScan(scan);
    if (!entry) return false;
    time = entry->record.retentionTime;
    return true;
}

bool VRawfile::retentionTimeToScan(double time, int& scan) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    if (d.byTime.empty()) return d.fail(QStringLiteral("The run holds no scans."));
    const auto timeOf = [&d](std::size_t order) { return d.scans[order].record.retentionTime; };
    const auto after =
        std::lower_bound(d.byTime.begin(), d.byTime.end(), time,
                         [&](std::size_t order, double t) { return timeOf(order) < t; });
    std::size_t chosen = 0;
    if (after == d.byTime.end()) {
        chosen = d.byTime.back();
    } else if (after == d.byTime.begin()) {
        chosen = *after;
    } else {
        const std::size_t before = *(after - 1);
        chosen =
            time - timeOf(before) <= timeOf(*after) - time + kTimeTieTolerance ? before : *after;
    }
    scan = d.scans[chosen].number;
    return true;
}

bool VRawfile::scanRangeForTimes(double start, double end, int msLevel, int& first, int& last) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    if (end < start) std::swap(start, end);
    const auto timeOf = [&d](std::size_t order) { return d.scans[order].record.retentionTime; };
    const auto ofLevel = [&d, msLevel](std::size_t order) {
        return msLevel <= 0 || d.scans[order].record.msLevel == msLevel;
    };
    int low = 0;
    int high = 0;
    bool found = false;
    auto it = std::lower_bound(d.byTime.begin(), d.byTime.end(), start - kTimeTieTolerance,
                               [&](std::size_t order, double t) { return timeOf(order) < t; });
    for (; it != d.byTime.end() && timeOf(*it) <= end + kTimeTieTolerance; ++it) {
        if (!ofLevel(*it)) continue;
        const int number = d.scans[*it].number;
        low = found ? std::min(low, number) : number;
        high = found ? std::max(high, number) : number;
        found = true;
    }
    if (!found) {
        // Between two scans of the level: the one nearest to the middle (the earlier on a tie).
        const double middle = (start + end) / 2.0;
        double best = 0.0;
        for (std::size_t order : d.byTime) {
            if (!ofLevel(order)) continue;
            const double distance = std::fabs(timeOf(order) - middle);
            if (!found || distance < best - kTimeTieTolerance) {
                best = distance;
                low = high = d.scans[order].number;
                found = true;
            }
        }
        if (!found) return d.fail(QStringLiteral("The run holds no scans of MS level %1.").arg(msLevel));
    }
    first = low;
    last = high;
    return true;
}

bool VRawfile::filterForScan(int scan, QString& filter) {
    const ScanEntry* entry = d_->findScan(scan);
    if (!entry) return false;
    filter = entry->filterText;
    return true;
}

bool VRawfile::scanHeader(int scan, RawScanHeader& header) {
    const ScanEntry* entry = d_->findScan(scan);
    if (!entry) return false;
    header = d_->headerOf(*entry);
    return true;
}

bool VRawfile::spectrum(int scan, std::vector<CVXDataPeak>& peaks, RawScanHeader* header) {
    const ScanEntry* entry = d_->findScan(scan);
    if (!entry) return false;
    std::vector<double> mz;
    std::vector<double> intensity;
    if (!d_->readPeaks(*entry, mz, intensity)) return false;
    peaks.resize(mz.size());
    for (std::size_t i = 0; i < mz.size(); ++i)
        peaks[i] = CVXDataPeak{mz[i], intensity[i], 0.0f, entry->number};
    if (header) *header = d_->headerOf(*entry);
    return true;
}

bool VRawfile::spectrumAtTime(double time, const CVXFilter* filter, std::vector<CVXDataPeak>& peaks,
                              RawScanHeader* header) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    const ScanEntry* best = nullptr;
    double bestDistance = 0.0;
    for (std::size_t order : d.byTime) {
        const ScanEntry& scan = d.scans[order];
        if (filter && !filter->IsAcceptAll() && !filter->Matches(scan.filter)) continue;
        const double distance = std::fabs(scan.record.retentionTime - time);
        if (!best || distance < bestDistance - kTimeTieTolerance) {  // ties keep the earlier
            best = &scan;
            bestDistance = distance;
        }
    }
    if (!best) {
        if (d.scans.empty()) return d.fail(QStringLiteral("The run holds no scans."));
        return d.fail(QStringLiteral("No scan of the run passes the filter \"%1\".")
                          .arg(filter ? filter->FilterString() : QString()));
    }
    return spectrum(best->number, peaks, header);
}

bool VRawfile::averageSpectrum(const std::vector<int>& scans, std::vector<CVXDataPeak>& peaks,
                               RawAverageInfo* info) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    if (scans.empty()) return d.fail(QStringLiteral("No scans were given to average."));
    std::vector<std::pair<double, double>> all;
    RawAverageInfo made;
    std::vector<double> mz;
    std::vector<double> intensity;
    for (int number : scans) {
        const ScanEntry* scan = d.findScan(number);
        if (!scan || !d.readPeaks(*scan, mz, intensity)) return false;
        for (std::size_t k = 0; k < mz.size(); ++k) all.emplace_back(mz[k], intensity[k]);
        if (made.scansAveraged == 0 || number < made.firstScan) {
            made.firstScan = number;
            made.firstTime = scan->record.retentionTime;
        }
        if (made.scansAveraged == 0 || number > made.lastScan) {
            made.lastScan = number;
            made.lastTime = scan->record.retentionTime;
        }
        ++made.scansAveraged;
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CVXDataPeak> merged;
    const double count = made.scansAveraged;
    for (std::size_t i = 0; i < all.size();) {
        double weighted = 0.0;
        double sum = 0.0;
        std::size_t j = i;
        for (; j < all.size() && all[j].first - all[i].first < kAverageMergeTolerance; ++j) {
            weighted += all[j].first * all[j].second;
            sum += all[j].second;
        }
        const double mass = sum > 0.0 ? weighted / sum : all[i].first;
        merged.push_back(CVXDataPeak{mass, sum / count, 0.0f, made.firstScan});
        i = j;
    }
    peaks = std::move(merged);
    if (info) *info = made;
    return true;
}

bool VRawfile::chromatograms(const std::vector<RawChroRequest>& requests, double startTime,
                             double endTime, std::vector<CVXChro>& traces) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    std::vector<CVXChro> result(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const RawChroRequest& request = requests[i];
        CVXFilter filter;
        if (!filter.FilterString(request.filter)) {
            return d.fail(QStringLiteral("The scan filter \"%1\" of trace %2 is invalid.")
                              .arg(request.filter)
                              .arg(i + 1));
        }
        const QString key = RequestKey(request, filter, startTime, endTime);
        const auto cached = d.chroCache.find(key);
        if (cached != d.chroCache.end()) {
            result[i] = cached->second;
            continue;
        }
        if (!d.computeTrace(request, filter, startTime, endTime, result[i])) return false;
        d.chroCache.emplace(key, result[i]);
    }
    traces = std::move(result);
    return true;
}

bool VRawfile::hasMSMS(int firstScan, int lastScan, bool& result) {
    Impl& d = *d_;
    if (!d.requireOpen()) return false;
    if (firstScan > lastScan)
        return d.fail(
            QStringLiteral("The scan range %1 to %2 is empty.").arg(firstScan).arg(lastScan));
    result = std::any_of(d.scans.begin(), d.scans.end(), [&](const ScanEntry& scan) {
        return scan.number >= firstScan && scan.number <= lastScan && scan.record.msLevel >= 2;
    });
    return true;
}

void VRawfile::setPeakCacheLimit(std::size_t bytes) {
    d_->cacheLimit = bytes;
}

bool VRawfile::peaksInMemory() const {
    return d_->peakCache == PeakCacheState::InMemory;
}

std::size_t VRawfile::AutomaticPeakCacheLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return std::size_t{1} << 30;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 4;
}

long long VRawfile::spectraReadFromDisk() const {
    return d_->diskReads;
}

long long VRawfile::chromatogramsComputed() const {
    return d_->chroComputed;
}

}  // namespace zar
