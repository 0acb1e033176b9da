#pragma once
// "Axes Scaling": whether the intensity axes of chromatograms and spectra of one detector type
// at a time are scaled relative (per cent) or absolute.

#include "DetectorSettingsPage.h"

class QButtonGroup;

namespace zar {

class CScalingPage : public CDetectorSettingsPage {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8562;

    explicit CScalingPage(CDisplaySettingsPropertySheet* sheet);

    QButtonGroup* ChromatogramScale() const { return chro_; }
    QButtonGroup* SpectrumScale() const { return spec_; }
    QWidget* SpectrumGroup() const { return specGroup_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;
    void CopySame(const CVXAxesDefaults& from, CVXAxesDefaults& to) const override;
    bool ShowsSpectrumControlsFirst() const override { return true; }

  private:
    QButtonGroup* chro_;
    QButtonGroup* spec_;
    QWidget* specGroup_;
};

}  // namespace zar
