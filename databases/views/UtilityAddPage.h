#pragma once
// The "Add" page of the FASTA database utilities: appends one typed entry (a description and a
// protein or nucleotide sequence) to a database, with its calculated mass, a mass the user gives
// or no mass in the header.

#include "controls/DialogBase.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRegularExpressionValidator;

namespace zar {

class CDoubleEditCtrl;

class CUtilityAddPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8826;
    static constexpr int kDatabaseId = 8828;
    static constexpr int kBrowseId = 8794;
    static constexpr int kDescriptionId = 8829;
    static constexpr int kProteinId = 8830;
    static constexpr int kNucleotideId = 8831;
    static constexpr int kSequenceId = 8832;
    static constexpr int kCalculatedMassId = 8833;
    static constexpr int kUserMassLabelId = 8834;
    static constexpr int kUserMassOptionId = 8835;
    static constexpr int kNoMassId = 8836;
    static constexpr int kUserMassId = 8837;
    static constexpr int kAddEntryId = 8838;

    explicit CUtilityAddPage(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnAddEntry();
    void OnBrowse();
    // The radio buttons: what they enable and which letters the sequence takes.
    void OnSequenceType();
    void OnMassOption();

    QLineEdit* DatabaseEdit() const { return databaseEdit_; }
    QLineEdit* DescriptionEdit() const { return descriptionEdit_; }
    QLineEdit* SequenceEdit() const { return sequenceEdit_; }
    CDoubleEditCtrl* UserMassEdit() const { return userMassEdit_; }
    QButtonGroup* MassOptionGroup() const { return massOptions_; }
    QButtonGroup* SequenceTypeGroup() const { return sequenceTypes_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    CDoubleEditCtrl* userMassEdit_;
    QLineEdit* sequenceEdit_;
    QLineEdit* databaseEdit_;
    QLineEdit* descriptionEdit_;
    QLabel* userMassLabel_;
    QButtonGroup* massOptions_;
    QButtonGroup* sequenceTypes_;
    QRegularExpressionValidator* letters_;

    double userMass_ = 0.0;
    QString description_;
    QString sequence_;
    QString databasePath_;
    int massOption_ = 0;    // 0 calculated, 1 the user's, 2 none
    int sequenceType_ = 0;  // 0 protein, 1 nucleotide
    QString initialDirectory_;
};

}  // namespace zar
