#include "UserTraces.h"

#include "PlotFeeding.h"
#include "core/Numbers.h"
#include "document/hub/ZarDoc.h"
#include "fileio/VXCore.h"
#include "rawfile/VRawfile.h"

#include <algorithm>

namespace zar {

bool ReadUserTraces(CZarDoc& doc) {
    VRawfile* raw = doc.GetRawFile();
    if (!doc.GetCurrentResults() || !raw || !raw->isOpen()) return false;
    return doc.ReadChromatogram(true, true) && doc.ReadChromatogramsRange(true, true, true) &&
           doc.ReadChromatograms(true, true, true);
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
