#pragma once
// Colouring of spectrum peaks by the peak-information ranges that the spectrum control was
// given: a point inside a record's left .. right mass is drawn with that record's pen.

#include "PlotDC.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <array>

namespace zar::plot {

inline constexpr int kPeakInfoPens = 16;
inline constexpr int kMaxPeakInfoRecords = 200;
inline constexpr double kDefaultPeakInfoWindow = 10.0;
inline constexpr COLORREF kUnsetPenColor = 0xFFFFFFFF;

class CPeakInfoPens {
  public:
    explicit CPeakInfoPens(const std::array<COLORREF, kPeakInfoPens>& table);

    // Finds the valid records (up to the first with no apex, at most 200) and gives records
    // without edges a window around their apex (the records are completed in place).
    void Init(ZAR_PLOTLib::VXPlot_PeakInfo* records, int count, double window);
    bool Active() const { return validCount_ > 0; }
    int ValidCount() const { return validCount_; }

    // The pen for a point (called with increasing positions): the colour to draw with, or the
    // normal colour when the point lies in no record.
    COLORREF SelectFor(double position, COLORREF normal);
    static COLORREF DefaultPenColor(int i);

  private:
    std::array<COLORREF, kPeakInfoPens> colors_;
    ZAR_PLOTLib::VXPlot_PeakInfo* records_ = nullptr;
    int validCount_ = 0;
    int current_ = 0;
    int index_ = -1;
};

}  // namespace zar::plot
