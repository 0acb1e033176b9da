#pragma once
// The source-spectrum pane of the Zarmass layout: the scan (or averaged scans) the last
// deconvolution read, with the identified ions labelled in their component's colour. A click
// hands the nearest peak's m/z to the Calculation page of the deconvolution sheet.

#include "ZarmassPlotView.h"

namespace zar {

class CZarmassSpecView : public CZarmassPlotView {
    Q_OBJECT
  public:
    static constexpr double kPickHalfWidth = 3.0;

    explicit CZarmassSpecView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return "CZarmassSpecView"; }
    QString PrintTitle() const override { return QStringLiteral("ZARMASS Spectrum"); }

    void OnSpecLButtonUp(bool valid, double mass, double intensity) override;

  signals:
    // A peak was picked (its m/z and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  protected:
    bool RebuildsOn(int hint) const override;
    bool FillSpectrum(CVXSpec& spectrum) override;
    void SendLabels(CSpec& control) override;
    void OnMassRangeShown(double low, double high) override;
};

}  // namespace zar
