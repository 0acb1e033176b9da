#pragma once
// The Invalid Parameters dialog: shown when a search sheet finds its parameter file unusable,
// it lets the user copy the installed default file, use the built-in defaults, or leave the
// file to be edited by hand.

#include "search/ParamFileRestore.h"

#include "controls/DialogBase.h"

class QButtonGroup;
class QLabel;

namespace zar {

class CInvalidParamsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kIntroId = 8786;
    static constexpr int kCopyDefaultId = 8788;  // option 0
    static constexpr int kUseDefaultsId = 8787;  // option 1
    static constexpr int kLeaveFileId = 8789;    // option 2
    static constexpr int kOkId = 1;
    static constexpr int kHelpId = 9;

    // stem names the file ("sorvex"), label the search ("Sorvex search").
    CInvalidParamsDlg(const QString& stem, const QString& label, QWidget* parent);

    // The option chosen: 0 unless another one was chosen and OK pressed.
    int GetOption() const { return option_; }
    // Whether the dialog was closed with OK.
    bool WasAccepted() const { return accepted_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

  private:
    QString stem_;
    QString label_;
    int option_ = 0;
    bool accepted_ = false;
    QLabel* intro_;
    QButtonGroup* options_;
};

// The prompt of the restore procedure, answered by the dialog. A dialog closed without OK
// leaves the file as it is.
class CInvalidParamsDlgPrompt : public InvalidParamsPrompt {
  public:
    explicit CInvalidParamsDlgPrompt(QWidget* parent) : parent_(parent) {}
    InvalidParamsOption ChooseOption(const QString& stem, const QString& label) override;

  private:
    QWidget* parent_;
};

}  // namespace zar
