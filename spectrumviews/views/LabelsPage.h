#pragma once
// "Axes Labels": the axis titles of one detector type at a time (chromatogram X, spectrum X,
// Y for relative and for absolute scaling).

#include "DetectorSettingsPage.h"

class QLineEdit;

namespace zar {

class CLabelsPage : public CDetectorSettingsPage {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8579;
    static constexpr int kMaxTitle = 32;

    explicit CLabelsPage(CDisplaySettingsPropertySheet* sheet);
    bool OnInitDialog() override;

    QLineEdit* ChromatogramTitle() const { return chroX_; }
    QLineEdit* SpectrumTitle() const { return specX_; }
    QLineEdit* RelativeTitle() const { return yRelative_; }
    QLineEdit* AbsoluteTitle() const { return yAbsolute_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;
    void CopySame(const CVXAxesDefaults& from, CVXAxesDefaults& to) const override;

  private:
    QLineEdit* chroX_;
    QLineEdit* specX_;
    QLineEdit* yRelative_;
    QLineEdit* yAbsolute_;
};

}  // namespace zar
