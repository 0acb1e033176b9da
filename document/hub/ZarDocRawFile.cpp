// The document's access to the run: opening it, times and scans, filters, MSn precursors,
// spectra and chromatograms.

#include "ZarDoc.h"

#include "core/MessageBox.h"
#include "rawfile/VRawfile.h"

namespace zar {

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

bool CZarDoc::ReadChromatograms(std::vector<CVXChro>& traces) {
    if (!rawFile_ || !rawFile_->isOpen()) return false;
    RawChroRequest tic;
    tic.traceType = kVXTICTrace;
    RawChroRequest basePeak;
    basePeak.traceType = kVXBasePeakTrace;
    if (!rawFile_->chromatograms({tic, basePeak}, 0.0, 0.0, traces)) {
        ZarMessageBox(QStringLiteral("Failed in call to GetChroData2Multi."));
        ResetContents();
        return false;
    }
    return true;
}

}  // namespace zar
