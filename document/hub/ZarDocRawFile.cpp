// The document's access to the run: opening it, times and scans, filters, MSn precursors,
// spectra and chromatograms.

#include "ZarDoc.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "fileio/VXCore.h"
#include "rawfile/VRawfile.h"

#include <algorithm>

namespace zar {

namespace {

constexpr char kControllerFailed[] = "Failed in call to SetCurrentController.";
constexpr char kChromatogramFailed[] = "Failed in call to GetChroData2Multi.";
constexpr char kSpectrumFailed[] = "Failed to read spectrum from raw file.";

QString TraceName(const CVXUserTraceDef& def) {
    if (!def.Title().isEmpty()) return def.Title();
    QString name;
    TranslateTraceTypeToString(def.traceType, name);
    return name;
}

}  // namespace

CVXUserTraceDefWrapper DefaultTraceDefinitions() {
    CVXUserTraceDefWrapper defs;
    for (int type : {int(kVXTICTrace), int(kVXBasePeakTrace)}) {
        CVXUserTraceDef* d = defs.GetAt(defs.GetSize());
        d->enabled = 1;
        d->detectorType = kVXMSDevice;
        d->traceType = type;
    }
    return defs;
}

bool CZarDoc::OpenRawFile(bool readTraces, bool readAll) {
    CVXResults* results = GetCurrentResults();
    if (!results) return false;
    QString path = rawFilePath_.isEmpty() ? results->RawFilePath() : rawFilePath_;
    if (!rawFile_) {
        ZarMessageBox(QStringLiteral("Error - failed to open raw file.\nThe raw file may be a newer revision or damaged."));
        return false;
    }
    if (rawFile_->isOpen() && rawFile_->fileName().compare(path, Qt::CaseInsensitive) == 0 &&
        results->RawFilePath().compare(path, Qt::CaseInsensitive) == 0)
        return true;
    results->SetRawFilePath(path);
    if (readTraces) results->scanFilters.clear();
    if (!rawFile_->open(path)) {
        const QString why = rawFile_->lastError();
        results->SetRawFilePath(QString());
        ZarMessageBox(QStringLiteral("Error - failed to open raw file.\nThe raw file may be a newer revision or damaged.") +
                      (why.isEmpty() ? QString() : QStringLiteral("\n\n") + why));
        return false;
    }
    if (rawFile_->isAcquiring()) {
        ZarMessageBox(QStringLiteral("Zarvik Browser cannot use files as they are being acquired."));
        return false;
    }
    if (!rawFile_->setCurrentController(0, 1)) {
        ZarMessageBox(QStringLiteral(
            "Error - this raw file does not contain any MS data.\n\nRaw files used within Zarvik Browser must contain MS data."));
        results->SetRawFilePath(QString());
        rawFile_->close();
        ResetContents();
        return false;
    }
    results->fileValue = rawFile_->totalIonCurrent();
    if (readAll) {
        LoadScanFilterList();
        // The user's traces (or the run's TIC and base peak) are read with the run.
        if (ReadChromatogram(true, true) && ReadChromatogramsRange(true, true, true))
            ReadChromatograms(true, true, true);
        ParseMSnFilter();
    }
    const double start = GetStartTime();
    const double end = GetEndTime();
    for (ResultsDisplayOptions* o : {&summaryOptions_, &massmapOptions_}) {
        o->retentionTimeMin = start;
        o->retentionTimeMax = end;
    }
    return true;
}

void CZarDoc::ResetContents() {
    CVXResults* results = GetCurrentResults();
    if (!results) return;
    // Keep what describes the run and the user's traces; drop what was read.
    const QString path = results->RawFilePath();
    const double fileValue = results->fileValue;
    const CVXUserTraceDefWrapper traces = results->userTraceDefs;
    CVXGeneralChroResult chro = results->generalChro;
    const QStringList filters = results->scanFilters;
    results->Empty();
    results->SetRawFilePath(path);
    results->fileValue = fileValue;
    results->userTraceDefs = traces;
    results->scanFilters = filters;
    if (path.compare(rawFilePath_, Qt::CaseInsensitive) != 0) {
        chro.EmptyResult();
        if (rawFile_) rawFile_->close();
    }
    results->generalChro = chro;
}

double CZarDoc::ScanToRetentionTime(int scan) const {
    double t = 0.0;
    if (!rawFile_ || !rawFile_->scanToRetentionTime(scan, t)) return 0.0;
    return t;
}

int CZarDoc::RetentionTimeToScan(double time) const {
    int scan = 0;
    if (!rawFile_ || !rawFile_->retentionTimeToScan(time, scan)) return 0;
    return scan;
}

double CZarDoc::GetStartTime() const { return rawFile_ ? rawFile_->startTime() : 0.0; }
double CZarDoc::GetEndTime() const { return rawFile_ ? rawFile_->endTime() : 0.0; }

int CZarDoc::FindScanIndex(double time, const std::vector<double>& times, int mode) {
    if (times.empty()) return -1;
    int low = 0;
    int high = static_cast<int>(times.size()) - 1;
    if (high == 0) return 0;
    int probe = high / 2;
    while (high > low + 1) {
        if (times[probe] == time) return probe;
        if (times[probe] < time) {
            low = probe;
            probe += (high - low) / 2;
        } else {
            high = probe;
            probe = low + (probe - low) / 2;
        }
        if (probe == low || probe == high) break;
    }
    if (times[low] == time) return low;
    if (times[high] == time) return high;
    switch (mode) {
        case 0: return times[low] >= time ? low : high;
        case 1: return times[high] <= time ? high : low;
        default: break;
    }
    // Nearer of the two; a tie goes to the earlier scan.
    return (time - times[low]) <= (times[high] - time) ? low : high;
}

int CZarDoc::FindNearestScan(const std::vector<double>& times) const {
    const double t = GetCurrentRetentionTime();
    if (t <= 0.0) return -1;
    return FindScanIndex(t, times, 2);
}

QStringList CZarDoc::GetScanFilterList() {
    CVXResults* results = GetCurrentResults();
    if (!results) return {};
    if (results->scanFilters.isEmpty()) LoadScanFilterList();
    return results->scanFilters;
}

void CZarDoc::LoadScanFilterList() {
    CVXResults* results = GetCurrentResults();
    if (!results) return;
    results->scanFilters.clear();
    if (rawFile_ && rawFile_->isOpen()) results->scanFilters = rawFile_->filters();
}

void CZarDoc::ParseMSnFilter() {
    auto list = std::make_unique<CMSnPrecursorList>();
    if (rawFile_ && rawFile_->isOpen()) {
        for (int scan = rawFile_->firstScan(); scan <= rawFile_->lastScan() && scan > 0; ++scan) {
            QString filter;
            if (!rawFile_->filterForScan(scan, filter)) continue;  // a gap in the numbering
            list->AddScan(filter, scan, ScanToRetentionTime(scan));
        }
    }
    if (list->IsEmpty()) msnList_.reset();
    else msnList_ = std::move(list);
    if (frame_) frame_->MSnListChanged();
}

bool CZarDoc::ReadScan(int scan, std::vector<CVXDataPeak>& peaks, RawScanHeader* header) {
    if (!rawFile_ || !rawFile_->isOpen()) return false;
    // Only scans of the run are read.
    if (scan < rawFile_->firstScan() || scan > rawFile_->lastScan()) return false;
    if (!rawFile_->spectrum(scan, peaks, header)) {
        ZarMessageBox(QStringLiteral("Failed to read spectrum from raw file."));
        return false;
    }
    return true;
}

bool CZarDoc::ReadSpectrum(int type, int number, const CVXFilter* filterObject, double time,
                           CVXSpec* spectrum, CVXFilter* filter) {
    if (!rawFile_ || !rawFile_->isOpen()) return false;
    // Only a controller the run holds is read (numbers count from 1).
    const int controllers = rawFile_->controllerCount(type);
    if (controllers < 1 || number < 1 || number > controllers) return false;
    if (type != 0 && !rawFile_->setCurrentController(type, number)) {
        ZarMessageBox(QString::fromLatin1(kControllerFailed));
        return false;
    }
    std::vector<CVXDataPeak> peaks;
    RawScanHeader read;
    const bool ok = rawFile_->spectrumAtTime(time, filterObject, peaks, &read);
    if (type != 0) rawFile_->setCurrentController(0, 1);
    if (!ok) {
        ZarMessageBox(QString::fromLatin1(kSpectrumFailed));
        return false;
    }
    if (!spectrum) return true;
    spectrum->peaks = std::move(peaks);
    // The header of the scan that was read (its time is that scan's, not the one asked for).
    ReadScanHeader(read.scanNumber, spectrum, filter ? filter : &spectrum->filter);
    if (filter && filter != &spectrum->filter) spectrum->filter = *filter;
    CVXSpectrumHeaderData& h = spectrum->header.data;
    if (type == 3) {
        TakeIntensityExtremes(spectrum->peaks, h);
    } else if (!spectrum->peaks.empty()) {
        const auto smallest = std::min_element(
            spectrum->peaks.begin(), spectrum->peaks.end(),
            [](const CVXDataPeak& a, const CVXDataPeak& b) { return a.dIntensity < b.dIntensity; });
        h.dMinPeakIntensity = smallest->dIntensity;
        h.dMinPeakMass = smallest->dPosition;
    }
    spectrum->massRanges = {CVX_MassRange(h.dLowMass, h.dHighMass)};
    spectrum->segmentSizes = {static_cast<int>(spectrum->peaks.size())};
    return true;
}

bool CZarDoc::ReadSpectrumHeader(double time, CVXSpec* spectrum, CVXFilter* filter) {
    const int scan = RetentionTimeToScan(time);
    if (scan <= 0) return false;
    return ReadScanHeader(scan, spectrum, filter);
}

bool CZarDoc::ReadScanHeader(int scan, CVXSpec* spectrum, CVXFilter* filter) {
    if (!rawFile_ || !rawFile_->isOpen() || !spectrum) return false;
    RawScanHeader h;
    if (!rawFile_->scanHeader(scan, h)) return false;
    CVXSpectrumHeaderData& d = spectrum->header.data;
    d.nScanNumber = h.scanNumber;
    d.bIsCentroid = h.isCentroid;
    // Times keep six decimals, as the run's header texts give them.
    double rounded = h.retentionTime;
    ParseDouble(QCFormat("%.6lf", h.retentionTime), rounded);
    d.dRT = rounded;
    d.dTIC = h.totalIonCurrent;
    d.dBasePeakIntensity = h.basePeakIntensity;
    d.dBasePeakMass = h.basePeakMass;
    d.dLowMass = h.lowMass;
    d.dHighMass = h.highMass;
    if (filter) {
        QString text;
        if (rawFile_->filterForScan(scan, text)) filter->FilterString(text);
    }
    return true;
}

void CZarDoc::TakeIntensityExtremes(const std::vector<CVXDataPeak>& peaks,
                                    CVXSpectrumHeaderData& header) {
    if (peaks.empty()) return;
    double smallest = std::numeric_limits<double>::max();
    double largest = -1.0;
    double smallestAt = -1.0;
    double largestAt = -1.0;
    for (const CVXDataPeak& p : peaks) {
        if (p.dIntensity < smallest) {
            smallest = p.dIntensity;
            smallestAt = p.dPosition;
        }
        if (p.dIntensity > largest) {
            largest = p.dIntensity;
            largestAt = p.dPosition;
        }
    }
    if (smallestAt < 0.0 || largestAt < 0.0) return;
    header.dMinPeakIntensity = smallest;
    header.dMinPeakMass = smallestAt;
    header.dBasePeakIntensity = largest;
    header.dBasePeakMass = largestAt;
}

std::vector<CVX_MassRange> CZarDoc::WidenedRanges(const std::vector<CVX_MassRange>& ranges,
                                                  double tolerance, int unit) {
    std::vector<CVX_MassRange> widened = ranges;
    for (CVX_MassRange& r : widened) {
        if (r.low != r.high) continue;
        double half = tolerance;
        if (unit == CVXGeneralChroResult::kMmu)
            half = tolerance * 0.001;
        else if (unit == CVXGeneralChroResult::kPpm)
            half = tolerance * r.low * 1e-6;
        r.low -= half;
        r.high += half;
    }
    return widened;
}

bool CZarDoc::ReadChromatogram(bool resetTraces, bool build) {
    if (!resetTraces && !build) return true;
    CVXResults* results = GetCurrentResults();
    if (!results) return false;
    CVXGeneralChroResult& general = results->generalChro;
    general.request.clear();
    general.EmptyResult();
    CVXUserTraceDefWrapper& defs = results->userTraceDefs;
    if (resetTraces && defs.CountEnabled() == 0) defs = DefaultTraceDefinitions();
    general.massTolerance = 0.5;
    general.toleranceUnit = CVXGeneralChroResult::kAmu;
    for (int i = 0; i < defs.GetSize(); ++i) {
        const CVXUserTraceDef* d = defs.GetAt(i);
        if (!d || d->IsEmpty() || !d->enabled) continue;
        if (static_cast<int>(general.request.size()) >= CVXUserTraceDefWrapper::kMaxTraces) break;
        CVXUserTraceDef entry = *d;
        entry.Title(TraceName(*d));
        // A neutral fragment's range names the neutral mass itself.
        if (d->traceType != kVXNeutralFragmentTrace)
            entry.ranges = WidenedRanges(d->ranges, general.massTolerance, general.toleranceUnit);
        general.request.push_back(std::move(entry));
    }
    return true;
}

bool CZarDoc::ReadChromatogramsRange(bool, bool, bool) {
    CVXResults* results = GetCurrentResults();
    if (!results || !rawFile_ || !rawFile_->isOpen()) return false;
    CVXGeneralChroResult& general = results->generalChro;
    // Only the mass spectrometer's traces come from the run; one read for all of them.
    std::vector<RawChroRequest> requests;
    std::vector<int> requestOf(general.request.size(), -1);
    for (std::size_t i = 0; i < general.request.size(); ++i) {
        const CVXUserTraceDef& d = general.request[i];
        if (d.detectorType != kVXMSDevice) continue;
        RawChroRequest r;
        r.traceType = d.traceType;
        if (!d.filter.IsAcceptAll()) r.filter = d.filter.FilterString(2, -1, 2);
        r.massRanges = d.ranges;
        requestOf[i] = static_cast<int>(requests.size());
        requests.push_back(std::move(r));
    }
    std::vector<CVXChro> read;
    if (!requests.empty() &&
        !rawFile_->chromatograms(requests, general.startTime, general.endTime, read)) {
        ZarMessageBox(QString::fromLatin1(kChromatogramFailed) + QStringLiteral("\n\n") +
                      rawFile_->lastError());
        ResetContents();
        return false;
    }
    general.traces.assign(general.request.size(), CVXChro());
    for (std::size_t i = 0; i < general.request.size(); ++i) {
        if (requestOf[i] >= 0 && requestOf[i] < static_cast<int>(read.size()))
            general.traces[i] = read[static_cast<std::size_t>(requestOf[i])];
    }
    return true;
}

bool CZarDoc::ReadChromatograms(bool, bool, bool) {
    CVXResults* results = GetCurrentResults();
    if (!results || !rawFile_ || !rawFile_->isOpen()) return false;
    if (!rawFile_->setCurrentController(0, 1)) {
        ZarMessageBox(QString::fromLatin1(kControllerFailed));
        ResetContents();
        return false;
    }
    const CVXGeneralChroResult& general = results->generalChro;
    results->userResults.clear();
    for (std::size_t i = 0; i < general.request.size(); ++i) {
        const CVXUserTraceDef& d = general.request[i];
        CVXUserResult* u = results->GetUserResultAt(static_cast<int>(i));
        u->Name(d.Title());
        if (i < general.traces.size()) u->chro = general.traces[i];
        u->chro.detectorType = d.detectorType;
        u->chro.traceType = d.traceType;
        u->chro.delay = d.detectorType == kVXMSDevice ? 0.0 : d.delay;
        u->chro.smoothingPoints = d.smoothingPoints;
        u->chro.filter = d.filter;
        u->chro.massRanges = d.ranges;
        u->chro.UpdateDataRanges();
        u->currentScanPosition = -1.0;
    }
    ApplyDisplaySettings();
    const int count = static_cast<int>(general.request.size());
    results->tracesDefined = count;
    results->displaySlotCount =
        std::min({count, kDefaultTracesPerPage, int(CVXResults::kMaxDisplaySlots)});
    results->tracesPerPage = std::max(1, results->displaySlotCount);
    results->slotArray.clear();
    for (int k = 0; k < results->displaySlotCount; ++k) results->slotArray.push_back(k);
    results->currentTraceNumber = count > 0 ? 0 : -1;
    results->currentTraceSlot = count > 0 ? 0 : -1;
    results->currentUserResult = results->currentTraceNumber;
    return true;
}

double CZarDoc::GetRangeValue(const std::vector<CVXDataPeak>* list, double time) {
    if (!list || list->empty()) return -1.0;
    std::vector<double> times;
    times.reserve(list->size());
    for (const CVXDataPeak& p : *list) times.push_back(p.dPosition);
    const int i = FindScanIndex(time, times, 2);
    return i < 0 ? -1.0 : (*list)[static_cast<std::size_t>(i)].dIntensity;
}

void CZarDoc::GetChroTraceInfo(double& left, double& right) const {
    const CVXAxesPositions& p = configuration_.axesPositions;
    left = p.leftMode == 1 ? p.leftSpacing : 0.0;
    right = p.rightMode == 1 ? p.rightSpacing : 0.0;
}

int CZarDoc::GetSpectrumDisplay(int index, bool byIndex, bool current) const {
    CVXResults* results = GetCurrentResults();
    if (byIndex && results && index >= 0 && index < static_cast<int>(results->userResults.size()))
        return results->userResults[static_cast<std::size_t>(index)].specDisplay.yAxisScaleType;
    if (current && results) {
        if (const CVXUserResult* u = results->GetCurrentUserResult())
            return u->specDisplay.yAxisScaleType;
    }
    const CVXAxesDefaults* defaults = configuration_.GetAxesDefaults(index);
    return defaults ? defaults->specYScaleType : kVXScaleRelative;
}

void CZarDoc::ApplyDisplaySettings(const QString& xChromatogram, const QString& xSpectrum,
                                   const QString& yRelative, const QString& yAbsolute) {
    CVXResults* results = GetCurrentResults();
    if (!results) return;
    // Every trace the results define gets a display, made when missing.
    const int count = std::max(results->tracesDefined, static_cast<int>(results->userResults.size()));
    for (int i = 0; i < count; ++i) {
        CVXChroDisplay& d = results->GetUserResultAt(i)->chroDisplay;
        d.XAxisChromatogramLabel(xChromatogram);
        d.XAxisSpectraLabel(xSpectrum);
        d.YAxisRelativeLabel(yRelative);
        d.YAxisAbsoluteLabel(yAbsolute);
    }
}

void CZarDoc::ApplyDisplaySettings() {
    CVXResults* results = GetCurrentResults();
    if (!results) return;
    for (CVXUserResult& u : results->userResults) {
        const CVXAxesDefaults* a = configuration_.GetAxesDefaults(u.chro.detectorType);
        if (!a) continue;
        CVXChroDisplay& d = u.chroDisplay;
        d.XAxisChromatogramLabel(a->XAxisChromatograms());
        d.XAxisSpectraLabel(a->XAxisSpectra());
        d.YAxisRelativeLabel(a->YAxisRelative());
        d.YAxisAbsoluteLabel(a->YAxisAbsolute());
        // Relative or absolute intensities, as the settings say for the detector type.
        d.yAxisScaleType = a->chroYScaleType;
        u.specDisplay.yAxisScaleType = a->specYScaleType;
    }
}

}  // namespace zar
