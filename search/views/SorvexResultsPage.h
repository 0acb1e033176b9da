#pragma once
// The "TurboSORVEX Results" page of the Configuration sheet: how the summary table shows scans,
// how many entries the consensus table shows by default, and the XPRESS residue, tolerance and
// automatic calculation. Saving also hands the values to the document.

#include "controls/DialogBase.h"

#include <QString>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace zar {

class CDoubleEditCtrl;
class CIntEditCtrl;

class CSorvexResultsPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kMinEntries = 1;
    static constexpr int kMaxEntries = 10000;
    static constexpr double kMinTolerance = 0.0;
    static constexpr double kMaxTolerance = 25.0;

    // Reads the six values from the settings.
    explicit CSorvexResultsPage(QWidget* sheet = nullptr);

    bool OnInitDialog() override;
    // Writes the six values and gives the document its display flags and XPRESS settings.
    void SaveSettings();
    // "&All" and "&Limited number": the entries edit shows only for a limited number.
    void OnConsensusAll();
    void OnConsensusLimited();

    int SummaryMode() const { return summaryMode_; }
    int ConsensusMode() const { return consensusMode_; }
    int ConsensusEntries() const { return consensusEntries_; }
    QString XpressResidue() const { return xpressResidue_; }
    double XpressTolerance() const { return xpressTolerance_; }
    int XpressAutoCalculate() const { return xpressAuto_; }

    QButtonGroup* SummaryGroup() const { return summaryGroup_; }
    QButtonGroup* ConsensusGroup() const { return consensusGroup_; }
    CIntEditCtrl* EntriesEdit() const { return entriesEdit_; }
    QLineEdit* ResidueEdit() const { return residueEdit_; }
    CDoubleEditCtrl* ToleranceEdit() const { return toleranceEdit_; }
    QCheckBox* AutoBox() const { return autoBox_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    int summaryMode_ = 0;
    int consensusMode_ = 0;
    int consensusEntries_ = 10;
    int xpressAuto_ = 0;
    QString xpressResidue_ = QStringLiteral("C");
    double xpressTolerance_ = 1.5;
    QButtonGroup* summaryGroup_;
    QButtonGroup* consensusGroup_;
    CIntEditCtrl* entriesEdit_;
    QLineEdit* residueEdit_;
    CDoubleEditCtrl* toleranceEdit_;
    QCheckBox* autoBox_;
};

}  // namespace zar
