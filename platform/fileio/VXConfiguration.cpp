#include "fileio/VXConfiguration.h"

namespace zar {

CVXAxesDefaults* CVXConfiguration::GetAxesDefaults(int detectorType) {
    if (detectorType < 0 || detectorType >= kVXDetectorTypeCount) return nullptr;
    if (detectorType >= static_cast<int>(axesDefaults_.size()))
        axesDefaults_.resize(detectorType + 1);
    return &axesDefaults_[detectorType];
}

const CVXAxesDefaults* CVXConfiguration::GetAxesDefaults(int detectorType) const {
    static const CVXAxesDefaults kInitial;
    if (detectorType < 0 || detectorType >= kVXDetectorTypeCount) return nullptr;
    if (detectorType >= static_cast<int>(axesDefaults_.size())) return &kInitial;
    return &axesDefaults_[detectorType];
}

bool CVXConfiguration::is_equal(const CVXConfiguration& other) const {
    if (!(axesPositions == other.axesPositions)) return false;
    for (int type = 0; type < kVXDetectorTypeCount; ++type) {
        if (!(*GetAxesDefaults(type) == *other.GetAxesDefaults(type))) return false;
    }
    return true;
}

}  // namespace zar
