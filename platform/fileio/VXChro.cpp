#include "fileio/VXChro.h"

#include <algorithm>

namespace zar {

void CVXChro::UpdateDataRanges() {
    if (points.empty()) {
        dataTimeStart = dataTimeEnd = dataIntensityLow = dataIntensityHigh = 0.0;
        return;
    }
    dataTimeStart = points.front().dPosition;
    dataTimeEnd = points.back().dPosition;
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(),
        [](const CVXDataPeak& a, const CVXDataPeak& b) { return a.dIntensity < b.dIntensity; });
    dataIntensityLow = low->dIntensity;
    dataIntensityHigh = high->dIntensity;
}

CVXUserTraceDef* CVXUserTraceDefWrapper::GetAt(int i) {
    if (i < 0) return nullptr;
    if (i >= GetSize()) defs_.resize(i + 1);
    return &defs_[i];
}

const CVXUserTraceDef* CVXUserTraceDefWrapper::GetAt(int i) const {
    return i >= 0 && i < GetSize() ? &defs_[i] : nullptr;
}

int CVXUserTraceDefWrapper::CountEnabled() const {
    return static_cast<int>(std::count_if(defs_.begin(), defs_.end(), [](const CVXUserTraceDef& d) {
        return !d.IsEmpty() && d.enabled != 0;
    }));
}

}  // namespace zar
