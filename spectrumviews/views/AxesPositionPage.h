#pragma once
// "Axes Positions": the room left beside the graphs' axes, automatic or a custom spacing for
// the left and the right side.

#include "controls/DialogBase.h"

class QButtonGroup;

namespace zar {

class CDisplaySettingsPropertySheet;
class CDoubleEditCtrl;

class CAxesPositionPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8570;
    static constexpr int kSpacingChars = 4;
    static constexpr double kMaxSpacing = 50.0;

    explicit CAxesPositionPage(CDisplaySettingsPropertySheet* sheet);
    bool OnInitDialog() override;
    // A mode button was clicked: the fields are read and the edits follow their side's mode.
    void OnModeClicked();

    int leftMode = 0;
    int rightMode = 0;
    double leftSpacing = 6.0;
    double rightSpacing = 12.0;

    CDoubleEditCtrl* LeftSpacingEdit() const { return left_; }
    CDoubleEditCtrl* RightSpacingEdit() const { return right_; }
    QButtonGroup* LeftMode() const { return leftGroup_; }
    QButtonGroup* RightMode() const { return rightGroup_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void enableEdits();

    CDisplaySettingsPropertySheet* sheet_;
    QButtonGroup* leftGroup_;
    QButtonGroup* rightGroup_;
    CDoubleEditCtrl* left_;
    CDoubleEditCtrl* right_;
};

}  // namespace zar
