#pragma once
// The "XPRESS Parameters" dialog of Actions > XPRESS: the labelled residue and the mass
// tolerance of the XPRESS quantitation for the rest of this run of the program. OK takes them
// and recalculates the ratio of every hit of the loaded search-engine results on a worker,
// whose progress the main window's status bar shows.

#include "controls/DialogBase.h"

#include <QString>

class QLineEdit;

namespace zar {

class CDoubleEditCtrl;

class CXpressParamsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9137;
    static constexpr int kResidueEditId = 9138;
    static constexpr int kToleranceEditId = 9062;
    static constexpr double kMinTolerance = 0.0;
    static constexpr double kMaxTolerance = 25.0;
    static constexpr double kDefaultTolerance = 1.5;

    explicit CXpressParamsDlg(QWidget* parent);

    QString Residue() const { return residue_; }
    double Tolerance() const { return tolerance_; }
    QLineEdit* ResidueEdit() const { return residueEdit_; }
    CDoubleEditCtrl* ToleranceEdit() const { return toleranceEdit_; }

    void OnHelp();
    void OnOK() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    CDoubleEditCtrl* toleranceEdit_;
    QLineEdit* residueEdit_;
    double tolerance_ = kDefaultTolerance;
    QString residue_;
};

}  // namespace zar
