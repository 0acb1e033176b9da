#pragma once
// The modeless "Select Peak(s)" dialog that the Deconvolution page shows after each transform:
// the user lists the true component masses on the page (clicked in the deconvoluted spectrum)
// and OK runs the transform again without their ions, so that other components stand out.

#include "controls/DialogBase.h"

#include <QPointer>

class QPushButton;

namespace zar {

class CZarmassPropertySheet;

class CSelectPeaksDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8972;

    explicit CSelectPeaksDlg(CZarmassPropertySheet* sheet);

    void EnableOK(bool enable);
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CloseButton() const { return close_; }

  protected:
    bool OnInitDialog() override;
    // Hides the dialog and has the sheet run the re-transform.
    void OnOK() override;
    void showEvent(QShowEvent* event) override;

  private:
    // Half its width right of the owner window's left edge, level with the owner's top but
    // inside the desktop.
    void place();

    QPointer<CZarmassPropertySheet> sheet_;
    QPushButton* ok_;
    QPushButton* close_;
    bool placementPending_ = true;
};

}  // namespace zar
