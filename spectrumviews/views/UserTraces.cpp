#include "UserTraces.h"

#include "PlotFeeding.h"
#include "core/Numbers.h"
#include "document/hub/ZarDoc.h"
#include "fileio/VXCore.h"
#include "rawfile/VRawfile.h"

#include <algorithm>

namespace zar {

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

namespace {

QString TraceName(const CVXUserTraceDef& def) {
    if (!def.Title().isEmpty()) return def.Title();
    QString name;
    TranslateTraceTypeToString(def.traceType, name);
    return name;
}

}  // namespace

bool ReadUserTraces(CZarDoc& doc) {
    CVXResults* results = doc.GetCurrentResults();
    VRawfile* raw = doc.GetRawFile();
    if (!results || !raw || !raw->isOpen()) return false;

    std::vector<CVXUserTraceDef> defs;
    for (int i = 0; i < results->userTraceDefs.GetSize(); ++i) {
        const CVXUserTraceDef* d = results->userTraceDefs.GetAt(i);
        if (d && !d->IsEmpty() && d->enabled) defs.push_back(*d);
    }
    if (defs.empty()) {
        const CVXUserTraceDefWrapper fallback = DefaultTraceDefinitions();
        for (int i = 0; i < fallback.GetSize(); ++i) defs.push_back(*fallback.GetAt(i));
    }

    // Only the mass spectrometer's traces come from the run; one request for all of them.
    std::vector<RawChroRequest> requests;
    std::vector<int> requestOf(defs.size(), -1);
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (defs[i].detectorType != kVXMSDevice) continue;
        RawChroRequest r;
        r.traceType = defs[i].traceType;
        if (!defs[i].filter.IsAcceptAll()) r.filter = defs[i].filter.FilterString(2, -1, 2);
        r.massRanges = defs[i].ranges;
        requestOf[i] = static_cast<int>(requests.size());
        requests.push_back(std::move(r));
    }
    std::vector<CVXChro> read;
    if (!requests.empty() && !raw->chromatograms(requests, 0.0, 0.0, read)) read.clear();

    results->userResults.clear();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        CVXUserResult* u = results->GetUserResultAt(static_cast<int>(i));
        u->Name(TraceName(defs[i]));
        if (requestOf[i] >= 0 && requestOf[i] < static_cast<int>(read.size()))
            u->chro = read[requestOf[i]];
        u->chro.detectorType = defs[i].detectorType;
        u->chro.traceType = defs[i].traceType;
        u->chro.delay = defs[i].detectorType == kVXMSDevice ? 0.0 : defs[i].delay;
        u->chro.smoothingPoints = defs[i].smoothingPoints;
        u->chro.filter = defs[i].filter;
        u->chro.massRanges = defs[i].ranges;
        u->chro.UpdateDataRanges();
        u->currentScanPosition = -1.0;
    }
    const int count = static_cast<int>(defs.size());
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

double TraceScanTime(const CVXChro& chro, double clickedTime) {
    const int i = NearestPointIndex(chro.points, clickedTime);
    if (i < 0) return -1.0;
    double t = chro.points[i].dPosition;
    if (chro.detectorType != kVXMSDevice) t -= chro.delay;
    return t;
}

double TraceMarkerTime(const CVXChro& chro, double scanTime) {
    return chro.detectorType != kVXMSDevice ? scanTime + chro.delay : scanTime;
}

std::vector<int> TraceTypesOfDetector(int detectorType) {
    switch (detectorType) {
        case kVXMSDevice:
            return {kVXMassRangeTrace, kVXTICTrace, kVXBasePeakTrace, kVXNeutralFragmentTrace};
        case kVXMSAnalogDevice:
            return {kVXAnalog1Trace, kVXAnalog2Trace, kVXAnalog3Trace, kVXAnalog4Trace};
        case kVXAnalogDevice:
            return {kVXA2DChannel1Trace, kVXA2DChannel2Trace, kVXA2DChannel3Trace,
                    kVXA2DChannel4Trace};
        case kVXPDADevice:
            return {kVXWavelengthRangeTrace, kVXTotalAbsorbanceTrace, kVXSpectrumMaxTrace};
        case kVXUVDevice:
            return {kVXChannelATrace, kVXChannelBTrace, kVXChannelCTrace, kVXChannelDTrace};
        default:
            return {};
    }
}

int DefaultTraceTypeOfDetector(int detectorType) {
    switch (detectorType) {
        case kVXMSDevice:
            return kVXTICTrace;
        case kVXMSAnalogDevice:
            return kVXAnalog1Trace;
        case kVXAnalogDevice:
            return kVXA2DChannel1Trace;
        case kVXPDADevice:
            return kVXTotalAbsorbanceTrace;
        case kVXUVDevice:
            return kVXChannelATrace;
        default:
            return -1;
    }
}

int TraceTypeAt(int detectorType, int index) {
    const std::vector<int> types = TraceTypesOfDetector(detectorType);
    if (index < 0 || index >= static_cast<int>(types.size())) return -1;
    return types[index];
}

bool TraceTypeTakesRanges(int t) {
    return t == kVXMassRangeTrace || t == kVXBasePeakTrace || t == kVXNeutralFragmentTrace ||
           t == kVXWavelengthRangeTrace || t == kVXSpectrumMaxTrace;
}

}  // namespace zar
