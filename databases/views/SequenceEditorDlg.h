#pragma once
// The "Sequence Editor": edits the document's protein or peptide sequence (the text that .pep
// files hold and that the Pepmap digest and the Pepmatch view work on), showing its length and
// monoisotopic [M+H]+ weight while it is typed, with one button per residue.
//
// It has three modes. Tools > Sequence Editor runs it modally with no view. The Pepmap view and
// the Pepmatch view each make one modeless editor, keep it and show it again on later requests
// (ShowDisulfideButton, UpdateLengthWeight, show); OK tells the view through
// CSequenceEditorView. Only the Pepmap view shows "&Disulfide Bonds...".

#include "controls/DialogBase.h"

#include <QString>

#include <memory>

class QLabel;
class QPushButton;

namespace zar {

class CDisulfideBondsDlg;
class CEditTextOnly;

// A view that opens the editor modelessly, told when OK has stored the sequence in the document.
class CSequenceEditorView {
  public:
    virtual ~CSequenceEditorView() = default;
    // The document's sequence changed: the view takes it (the Pepmap view as its sequence text,
    // the Pepmatch view by refilling its select-ions grid).
    virtual void TakeDocumentSequence() = 0;
    // Enables or disables the view's Options and Update buttons.
    virtual void EnableButtons(bool enable) = 0;
};

enum class SequenceEditorMode { kMainWindow, kPepmap, kPepmatch };

class CSequenceEditorDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9111;
    static constexpr int kFirstResidueId = 9112;
    static constexpr int kLastResidueId = 9132;
    static constexpr int kDisulfideBondsId = 9133;
    static constexpr int kSequenceId = 9134;
    static constexpr int kLengthId = 9135;
    static constexpr int kWeightId = 9136;
    // The residue letters of the buttons kFirstResidueId.., and what the edit accepts.
    static constexpr const char* kResidueLetters = "ACDEFGHIKLMNOPQRSTVWY";
    static constexpr const char* kAcceptedLetters = "ABCDEFGHIKLMNOPQRSTVWXZY";

    // Tools > Sequence Editor: run with DoModal.
    explicit CSequenceEditorDlg(QWidget* parent);
    // The editor of a Pepmap or Pepmatch view: made once by the view with the main window as
    // parent, then Create(view).
    CSequenceEditorDlg(CSequenceEditorView* view, SequenceEditorMode mode, QWidget* parent);
    ~CSequenceEditorDlg() override;

    // Modeless set-up: the controls take the document's sequence now, before the view loads its
    // own with UpdateLengthWeight.
    void Create(QWidget* view);
    void ShowDisulfideButton(bool show);
    // The sequence and its labels; the edit shows it and gets the focus.
    void UpdateLengthWeight(const QString& sequence);
    // The monoisotopic [M+H]+: 2 H + OH + the residues (letters of either case; J, U and other
    // characters weigh nothing); 0.0 for an empty sequence.
    static double ComputeSequenceWeight(const QString& sequence);

    SequenceEditorMode Mode() const { return mode_; }
    QString Sequence() const { return sequence_; }
    CEditTextOnly* SequenceEdit() const { return edit_; }
    QLabel* LengthLabel() const { return lengthLabel_; }
    QLabel* WeightLabel() const { return weightLabel_; }
    QPushButton* DisulfideBondsButton() const { return disulfideButton_; }
    QPushButton* ResidueButton(QChar letter) const;
    CDisulfideBondsDlg* DisulfideBondsDialog() const { return bonds_.get(); }

    void OnResidueButton(int id);
    void OnDisulfideBonds();
    void OnOK() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void build();
    void setLabels(const QString& text);

    CSequenceEditorView* view_ = nullptr;
    SequenceEditorMode mode_ = SequenceEditorMode::kMainWindow;
    QString sequence_;
    CEditTextOnly* edit_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QLabel* weightLabel_ = nullptr;
    QPushButton* disulfideButton_ = nullptr;
    std::unique_ptr<CDisulfideBondsDlg> bonds_;
    bool showDisulfideButton_ = false;
};

}  // namespace zar
