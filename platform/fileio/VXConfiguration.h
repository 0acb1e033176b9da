#pragma once
// Display settings of every plot: room beside the axes and, per detector type, the axis
// titles and whether intensities are shown relative or absolute.

#include "fileio/VXChro.h"

#include <QString>

#include <vector>

namespace zar {

class CVXAxesDefaults {
  public:
    bool operator==(const CVXAxesDefaults&) const = default;

    QString XAxisChromatograms() const { return xAxisChromatograms_; }
    QString XAxisSpectra() const { return xAxisSpectra_; }
    QString YAxisRelative() const { return yAxisRelative_; }
    QString YAxisAbsolute() const { return yAxisAbsolute_; }
    void XAxisChromatograms(const QString& text) { xAxisChromatograms_ = text; }
    void XAxisSpectra(const QString& text) { xAxisSpectra_ = text; }
    void YAxisRelative(const QString& text) { yAxisRelative_ = text; }
    void YAxisAbsolute(const QString& text) { yAxisAbsolute_ = text; }

    int chroYScaleType = kVXScaleRelative;
    int specYScaleType = kVXScaleRelative;

  private:
    QString xAxisChromatograms_ = kDefaultXAxisChromatograms;
    QString xAxisSpectra_ = kDefaultXAxisSpectra;
    QString yAxisRelative_ = kDefaultYAxisRelative;
    QString yAxisAbsolute_ = kDefaultYAxisAbsolute;
};

// Room left beside a graph's axes: mode 0 automatic, 1 custom (the spacing is used).
struct CVXAxesPositions {
    bool operator==(const CVXAxesPositions&) const = default;
    int leftMode = 0;
    int rightMode = 0;
    double leftSpacing = 6.0;
    double rightSpacing = 12.0;
};

class CVXConfiguration {
  public:
    void copy_object(const CVXConfiguration& other) { *this = other; }
    // True when both configurations hold the same settings (a record never touched equals
    // one created with its initial values).
    bool is_equal(const CVXConfiguration& other) const;
    bool operator==(const CVXConfiguration& other) const { return is_equal(other); }

    // The record of a detector type (0..4), created with its initial values on first access;
    // nullptr for a type outside 0..4.
    CVXAxesDefaults* GetAxesDefaults(int detectorType);
    const CVXAxesDefaults* GetAxesDefaults(int detectorType) const;

    CVXAxesPositions axesPositions;

  private:
    std::vector<CVXAxesDefaults> axesDefaults_;
};

}  // namespace zar
