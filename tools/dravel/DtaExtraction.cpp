#include "DtaExtraction.h"

#include "tools/common/SpectrumFiles.h"
#include "tools/common/StopSignal.h"
#include "tools/common/ToolArguments.h"
#include "tools/common/ToolReporter.h"

#include "core/Paths.h"
#include "core/TextFile.h"
#include "databases/SequenceMasses.h"
#include "rawfile/VRawfile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

constexpr double kProton = 1.00727646688;

double MHOf(double mz, int charge) {
    return (mz - kProton) * charge + kProton;
}

// One spectrum to write: a scan, or a group of scans of one precursor.
struct PlannedSpectrum {
    std::vector<int> scans;
    double precursorMz = 0.0;  // mean of the scans'
    int charge = 0;            // the precursor's; 0 unknown
};

bool SamePrecursor(const PlannedSpectrum& group, double mz, int charge, double tolerance) {
    if (group.charge != charge) return false;
    const double mean = group.precursorMz;
    if (charge > 0) return std::fabs(MHOf(mean, charge) - MHOf(mz, charge)) <= tolerance;
    return std::fabs(mean - mz) <= tolerance;
}

// The MS/MS scans of the range in groups of one precursor, in order of their first scan.
std::vector<PlannedSpectrum> GroupScans(VRawfile& raw, int first, int last,
                                        const DtaExtractionOptions& o) {
    std::vector<PlannedSpectrum> groups;
    std::vector<size_t> open;  // groups that a later scan may still join
    for (int scan = first; scan <= last; ++scan) {
        RawScanHeader header;
        if (!raw.scanHeader(scan, header) || header.msLevel != 2 || header.precursorMass <= 0.0)
            continue;
        std::erase_if(open, [&](size_t g) {
            return scan - groups[g].scans.back() - 1 > std::max(o.groupScan, 0);
        });
        auto joined = std::find_if(open.begin(), open.end(), [&](size_t g) {
            return SamePrecursor(groups[g], header.precursorMass, header.precursorCharge,
                                 o.precursorTolerance);
        });
        if (joined != open.end()) {
            PlannedSpectrum& group = groups[*joined];
            const double n = static_cast<double>(group.scans.size());
            group.precursorMz = (group.precursorMz * n + header.precursorMass) / (n + 1.0);
            group.scans.push_back(scan);
        } else {
            groups.push_back({{scan}, header.precursorMass, header.precursorCharge});
            open.push_back(groups.size() - 1);
        }
    }
    // Groups too small to be merged are written scan by scan.
    std::vector<PlannedSpectrum> planned;
    for (const PlannedSpectrum& group : groups) {
        if (static_cast<int>(group.scans.size()) >= std::max(o.minGroupCount, 1)) {
            planned.push_back(group);
            continue;
        }
        for (int scan : group.scans) {
            RawScanHeader header;
            raw.scanHeader(scan, header);
            planned.push_back({{scan}, header.precursorMass, header.precursorCharge});
        }
    }
    std::stable_sort(planned.begin(), planned.end(),
                     [](const PlannedSpectrum& a, const PlannedSpectrum& b) {
                         return a.scans.front() < b.scans.front();
                     });
    return planned;
}

struct Peaks {
    std::vector<double> mz;
    std::vector<double> intensity;
    double total = 0.0;
};

// The peaks above 0, within [low, high] when those are above 0.
Peaks KeepPeaks(const std::vector<CVXDataPeak>& raw, double low, double high) {
    Peaks peaks;
    peaks.mz.reserve(raw.size());
    peaks.intensity.reserve(raw.size());
    for (const CVXDataPeak& p : raw) {
        if (p.dIntensity <= 0.0 || p.dPosition <= 0.0) continue;
        if ((low > 0.0 && p.dPosition < low) || (high > 0.0 && p.dPosition > high)) continue;
        peaks.mz.push_back(p.dPosition);
        peaks.intensity.push_back(p.dIntensity);
        peaks.total += p.dIntensity;
    }
    return peaks;
}

DtaExtractionResult Stopped() {
    DtaExtractionResult result;
    result.exitCode = kToolStopped;
    result.message = QStringLiteral("stopped");
    return result;
}

bool PassesCounts(const Peaks& peaks, const DtaExtractionOptions& o) {
    return static_cast<int>(peaks.mz.size()) >= o.minIonCount && peaks.total >= o.threshold &&
           !peaks.mz.empty();
}

class Extraction {
  public:
    Extraction(const DtaExtractionOptions& o, const DtaExtractionEvents& e, QString folder,
               QString base)
        : o_(o), events_(e), folder_(std::move(folder)), base_(std::move(base)) {}

    // Reports the scans of the range up to `scan` that are not reported yet.
    void reachScan(int scan) {
        for (; nextScan_ <= scan && nextScan_ <= lastScan_; ++nextScan_)
            if (events_.scanDone) events_.scanDone(nextScan_);
    }
    void setRange(int first, int last) {
        nextScan_ = first;
        lastScan_ = last;
    }

    bool write(int first, int last, int charge, double mh, const Peaks& peaks,
               DtaExtractionResult& result) {
        const QString name = SpectrumFileBase(base_, first, last, charge) + QStringLiteral(".dta");
        if (StopRequested()) {
            result.exitCode = kToolStopped;
            result.message = QStringLiteral("stopped");
            return false;
        }
        QString why;
        // A .dta file can be made again from the run: not waiting for the disk to hold each of
        // a thousand files keeps extraction short, and a reader still sees whole files.
        if (!WriteTextFileUnsynced(JoinPath(folder_, name),
                                   DtaText(mh, charge, peaks.mz, peaks.intensity), &why)) {
            result.exitCode = kToolFailed;
            result.message = QStringLiteral("Cannot write %1: %2")
                                 .arg(QDir::toNativeSeparators(JoinPath(folder_, name)), why);
            return false;
        }
        ++result.filesWritten;
        if (events_.fileWritten) events_.fileWritten(name);
        return true;
    }

    bool inMassRange(double mh) const {
        return !(o_.lowMass > 0.0 && mh < o_.lowMass) && !(o_.highMass > 0.0 && mh > o_.highMass);
    }

  private:
    const DtaExtractionOptions& o_;
    const DtaExtractionEvents& events_;
    QString folder_;
    QString base_;
    int nextScan_ = 0;
    int lastScan_ = -1;
};

DtaExtractionResult ReadFailure(VRawfile& raw, int scan, const QString& runPath) {
    DtaExtractionResult result;
    result.exitCode = kToolNoSpectra;
    result.message = QStringLiteral("Cannot read scan %1 of %2: %3")
                         .arg(scan)
                         .arg(QDir::toNativeSeparators(runPath), raw.lastError());
    return result;
}

}  // namespace

bool ReadDtaExtractionArguments(CToolArguments& a, DtaExtractionOptions& o, QString& runPath,
                                QString& error) {
    const bool numbers = a.number('F', o.firstScan) && a.number('L', o.lastScan) &&
                         a.number('E', o.threshold) && a.number('M', o.precursorTolerance) &&
                         a.number('S', o.groupScan) && a.number('G', o.minGroupCount) &&
                         a.number('I', o.minIonCount) && a.number('B', o.lowMass) &&
                         a.number('T', o.highMass) && a.number('C', o.charge) &&
                         a.number('P', o.proteinMass);
    if (!numbers) {
        error = a.error();
        return false;
    }
    if (a.has('D')) o.outputFolder = a.text('D');
    o.subsequence = a.text('Y').toUpper();
    if (o.charge < 0 || o.charge > 9) {
        error = QStringLiteral("-C needs a charge from 1 to 9 (0: from the precursor)");
        return false;
    }
    if (o.firstScan > 0 && o.lastScan > 0 && o.firstScan > o.lastScan) {
        error = QStringLiteral("The scan range %1 to %2 is empty").arg(o.firstScan).arg(o.lastScan);
        return false;
    }
    if (o.lowMass > 0.0 && o.highMass > 0.0 && o.lowMass > o.highMass) {
        error = QStringLiteral("The mass range %1 to %2 is empty").arg(o.lowMass).arg(o.highMass);
        return false;
    }
    const QStringList words = a.words();
    if (words.size() != 1) {
        error = words.isEmpty() ? QStringLiteral("No run file was given")
                                : QStringLiteral("One run file is expected, not %1: %2")
                                      .arg(words.size())
                                      .arg(words.join(QStringLiteral(", ")));
        return false;
    }
    runPath = words.front();
    return true;
}

bool HasSequenceLadder(const std::vector<double>& mz, const QString& subsequence,
                       double tolerance) {
    if (subsequence.isEmpty()) return true;
    const SequenceMassTable table = SequenceMassTable::For(true);
    std::vector<double> steps;
    for (QChar c : subsequence) {
        const double mass = c.unicode() < 128 ? table.residue[c.toUpper().toLatin1()] : 0.0;
        if (mass <= 0.0) return false;
        steps.push_back(mass);
    }
    const auto follows = [&](const std::vector<double>& order) {
        // Depth-first along the steps from every peak.
        std::function<bool(size_t, size_t)> extend = [&](size_t peak, size_t step) {
            if (step == order.size()) return true;
            const double target = mz[peak] + order[step];
            auto it = std::lower_bound(mz.begin(), mz.end(), target - tolerance);
            for (; it != mz.end() && *it <= target + tolerance; ++it)
                if (extend(static_cast<size_t>(it - mz.begin()), step + 1)) return true;
            return false;
        };
        for (size_t i = 0; i < mz.size(); ++i)
            if (extend(i, 0)) return true;
        return false;
    };
    if (follows(steps)) return true;
    std::reverse(steps.begin(), steps.end());
    return follows(steps);
}

DtaExtractionResult ExtractDtaFiles(const QString& runPath, const DtaExtractionOptions& o,
                                    const DtaExtractionEvents& events) {
    DtaExtractionResult result;
    const QString folder = o.outputFolder.isEmpty() ? QDir::currentPath()
                                                    : PortablePath(o.outputFolder);
    if (!QFileInfo(folder).isDir()) {
        result.exitCode = kToolFailed;
        result.message = QStringLiteral("The output folder %1 does not exist")
                             .arg(QDir::toNativeSeparators(folder));
        return result;
    }
    VRawfile raw;
    if (!raw.open(runPath)) {
        result.exitCode = kToolNoSpectra;
        result.message = QStringLiteral("Cannot open the run %1: %2")
                             .arg(QDir::toNativeSeparators(runPath), raw.lastError());
        return result;
    }
    if (!raw.setCurrentController(0, 1)) {
        result.exitCode = kToolNoSpectra;
        result.message =
            QStringLiteral("The run %1 holds no spectra").arg(QDir::toNativeSeparators(runPath));
        return result;
    }
    const int first = o.firstScan > 0 ? std::max(o.firstScan, raw.firstScan()) : raw.firstScan();
    const int last = o.lastScan > 0 ? std::min(o.lastScan, raw.lastScan()) : raw.lastScan();
    Extraction extraction(o, events, folder, QFileInfo(runPath).baseName());
    extraction.setRange(first, last);

    std::vector<CVXDataPeak> read;
    if (o.msLevel == 1) {
        for (int scan = first; scan <= last; ++scan) {
            RawScanHeader header;
            if (raw.scanHeader(scan, header) && header.msLevel == 1) {
                if (!raw.spectrum(scan, read)) return ReadFailure(raw, scan, runPath);
                const Peaks peaks = KeepPeaks(read, o.lowMass, o.highMass);
                if (PassesCounts(peaks, o)) {
                    const int charge = o.charge > 0 ? o.charge : 1;
                    const auto base = std::max_element(peaks.intensity.begin(), peaks.intensity.end());
                    const double mh =
                        o.proteinMass > 0.0
                            ? o.proteinMass
                            : MHOf(peaks.mz[static_cast<size_t>(base - peaks.intensity.begin())],
                                   charge);
                    if (!extraction.write(scan, scan, charge, mh, peaks, result)) return result;
                }
            }
            extraction.reachScan(scan);
            if (StopRequested()) return Stopped();
        }
        return result;
    }

    for (const PlannedSpectrum& planned : GroupScans(raw, first, last, o)) {
        extraction.reachScan(planned.scans.front() - 1);
        if (StopRequested()) return Stopped();
        const bool read1 = planned.scans.size() == 1 ? raw.spectrum(planned.scans.front(), read)
                                                     : raw.averageSpectrum(planned.scans, read);
        if (!read1) return ReadFailure(raw, planned.scans.front(), runPath);
        // The precursor mass range decides which charges are written, not which peaks.
        const Peaks peaks = KeepPeaks(read, 0.0, 0.0);
        if (PassesCounts(peaks, o) && HasSequenceLadder(peaks.mz, o.subsequence)) {
            std::vector<int> charges;
            if (o.charge > 0)
                charges = {o.charge};
            else if (planned.charge > 0)
                charges = {planned.charge};
            else
                charges = {2, 3};
            for (int charge : charges) {
                const double mh = MHOf(planned.precursorMz, charge);
                if (!extraction.inMassRange(mh)) continue;
                if (!extraction.write(planned.scans.front(), planned.scans.back(), charge, mh,
                                      peaks, result))
                    return result;
            }
        }
        extraction.reachScan(planned.scans.front());
    }
    extraction.reachScan(last);
    return result;
}

}  // namespace zar
