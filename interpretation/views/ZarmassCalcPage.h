#pragma once
// The "Calculation" page of the deconvolution sheet: m/z values of one ion series (typed, or
// picked in a spectrum) give a molecular weight on the document's calculation engine.
// Automatic fits the values and then the whole series, Manual the values alone, Convolute
// marks the ions of one parent mass.

#include "ZarmassPageBase.h"

class QPushButton;

namespace zar {

class CZarmassCalcPage : public CZarmassPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8947;

    explicit CZarmassCalcPage(CZarmassPropertySheet* sheet);

    bool OnInitDialog() override;
    // 0 values: no calculation; 1: Convolute (the value is the parent mass); 2 or more:
    // Automatic and Manual.
    void EnableCalculation(int n) override;

    void OnAutomatic();
    void OnManual();
    void OnConvolute();

    QPushButton* AutomaticButton() const { return automatic_; }
    QPushButton* ManualButton() const { return manual_; }
    QPushButton* ConvoluteButton() const { return convolute_; }

  private:
    // Reads the current scan and runs the mode; false when the scan could not be read.
    bool calculate(int mode);
    void finish(int mode);

    QPushButton* automatic_;
    QPushButton* manual_;
    QPushButton* convolute_;
};

}  // namespace zar
