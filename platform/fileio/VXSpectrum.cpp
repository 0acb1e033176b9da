#include "fileio/VXSpectrum.h"

namespace zar {

void CVX_FMObject::OnCreate() {
    version_ = kCurrentVersion;
    workingRanges_.clear();
}

CVX_MassRange* CVXSpec::GetMassRange(int i) {
    if (i < 0) return nullptr;
    if (i >= GetMassRangeCount()) massRanges.resize(i + 1);
    return &massRanges[i];
}

CVXDataPeak* CVXSpec::GetPeakAt(int i) {
    if (i < 0) return nullptr;
    if (i >= GetPeakCount()) peaks.resize(i + 1);
    return &peaks[i];
}

}  // namespace zar
