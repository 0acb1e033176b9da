#pragma once
// The deconvoluted-spectrum pane of the Zarmass layout: the neutral-mass spectrum of the last
// transform (or of the re-transform without the chosen components). A click hands the nearest
// component mass to the deconvolution sheet's active page.

#include "ZarmassPlotView.h"

namespace zar {

class CZarmassDeconvView : public CZarmassPlotView {
    Q_OBJECT
  public:
    // Half-width of the window a click searches: a share of the mass span shown, at least
    // this many u.
    static constexpr double kZoomedShare = 0.1;
    static constexpr double kZoomedMinimum = 3.0;
    static constexpr double kFullShare = 0.0025;
    static constexpr double kFullMinimum = 10.0;

    explicit CZarmassDeconvView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return "CZarmassDeconvView"; }
    QString PrintTitle() const override { return QStringLiteral("ZARMASS Deconvolution"); }

    void OnSpecLButtonUp(bool valid, double mass, double intensity) override;
    // The half-width of the window a click at the current zoom searches.
    double PickHalfWidth() const;

  protected:
    bool RebuildsOn(int hint) const override;
    bool FillSpectrum(CVXSpec& spectrum) override;
};

}  // namespace zar
