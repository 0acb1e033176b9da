#include "PeakInfoPens.h"

namespace zar::plot {

namespace {
constexpr double kNoMass = 0.0001;
}

COLORREF CPeakInfoPens::DefaultPenColor(int i) {
    return RGBRef(15 * i, 255 - 15 * i, (15 * i + 128) % 256);
}

CPeakInfoPens::CPeakInfoPens(const std::array<COLORREF, kPeakInfoPens>& table) {
    for (int i = 0; i < kPeakInfoPens; ++i)
        colors_[i] = table[i] != kUnsetPenColor ? table[i] : DefaultPenColor(i);
}

void CPeakInfoPens::Init(ZAR_PLOTLib::VXPlot_PeakInfo* records, int count, double window) {
    records_ = records;
    validCount_ = 0;
    current_ = 0;
    index_ = -1;
    if (!records || count <= 0) return;
    if (!(window > 0.0 && window < 100.0)) window = kDefaultPeakInfoWindow;
    const int limit = std::min(count, kMaxPeakInfoRecords);
    for (int i = 0; i < limit; ++i) {
        ZAR_PLOTLib::VXPlot_PeakInfo& r = records[i];
        if (r.apex.dMass <= kNoMass) break;
        if (r.left.dMass <= kNoMass) r.left.dMass = r.apex.dMass - window / 2;
        if (r.right.dMass <= kNoMass) r.right.dMass = r.apex.dMass + window / 2;
        ++validCount_;
    }
}

COLORREF CPeakInfoPens::SelectFor(double position, COLORREF normal) {
    bool firstLooked = true;
    int index = index_;
    for (;;) {
        if (current_ >= validCount_) {
            index = -1;
            break;
        }
        const ZAR_PLOTLib::VXPlot_PeakInfo& r = records_[current_];
        if (position > r.left.dMass && position < r.right.dMass) {
            index = r.iPenIndex;
            break;
        }
        if (position >= r.right.dMass) {
            ++current_;
            firstLooked = false;
            continue;
        }
        if (!firstLooked) index = -1;  // before a later record: no pen
        break;                         // before the first record looked at: unchanged
    }
    index_ = index;
    return index >= 0 && index < kPeakInfoPens ? colors_[index] : normal;
}

}  // namespace zar::plot
