#pragma once
// A page of the display settings sheet that shows the settings of one detector type at a time:
// the detector combo, "Set same" (the shown detector's values go to the other four types) and
// the spectrum controls, which only the mass spectrometer and PDA detectors have.

#include "controls/DialogBase.h"

#include <vector>

class QComboBox;
class QPushButton;

namespace zar {

class CDisplaySettingsPropertySheet;
class CVXAxesDefaults;
class CVXConfiguration;

class CDetectorSettingsPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kDetectorComboId = 8553;
    static constexpr int kSetSameId = 8591;

    CDetectorSettingsPage(int templateId, const QString& title, CDisplaySettingsPropertySheet* sheet);

    bool OnInitDialog() override;
    void OnDetectorChanged(int index);
    void OnSetSame();

    int DetectorShown() const { return detectorShown_; }
    QComboBox* DetectorCombo() const { return combo_; }
    // Whether a detector type has spectra (mass spectrometer and PDA).
    static bool HasSpectra(int detectorType);

  protected:
    CVXConfiguration* Configuration() const;
    // The record of the detector shown (made with its initial values on first use).
    CVXAxesDefaults* Shown() const;
    // Copies what "Set same" shares from one record to another.
    virtual void CopySame(const CVXAxesDefaults& from, CVXAxesDefaults& to) const = 0;
    // Shows or hides the controls of spectra for the detector shown.
    void ShowSpectrumControls();
    // Whether the spectrum controls follow the detector before its values are shown (else after).
    virtual bool ShowsSpectrumControlsFirst() const { return false; }
    void ExchangeDetector(CDataExchange& dx);

    std::vector<QWidget*> spectrumControls_;
    QPushButton* setSame_;

  private:
    CDisplaySettingsPropertySheet* sheet_;
    QComboBox* combo_;
    int detectorShown_ = 0;
};

}  // namespace zar
