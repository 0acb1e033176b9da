#pragma once
// The modeless "DeNovo Parameters" dialog: the de novo settings of the document. The main
// window makes it once and shows it filled from the document; OK stores the values and has the
// MSn Browser hand its scans to the de novo loader again, so the panes show the new result.

#include "controls/DialogBase.h"
#include "interpretation/DenovoTypes.h"

#include <QPointer>
#include <QRect>

class QCheckBox;

namespace zar {

class CDoubleEditCtrl;
class CIntEditCtrl;

class CDenovoParamsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9036;
    static constexpr int kDaltonsId = 9037;
    static constexpr int kPpmId = 9038;
    static constexpr int kThresholdId = 9039;
    static constexpr int kMaxCandidatesId = 9040;
    static constexpr int kMaxPartialSequencesId = 9041;
    static constexpr int kMinPrimaryScoreId = 9042;
    static constexpr int kPercentOfHighestId = 9043;
    static constexpr int kExpandId = 9044;

    explicit CDenovoParamsDlg(QWidget* owner);

    // Makes the window (modeless, owned by the owner); it is shown by the caller.
    void Create(QWidget* owner);
    // The eight settings in the record's order; the fields show them.
    void SetParameters(double daTolerance, double minimumPrimaryScore, double ppmTolerance,
                       double noiseThreshold, int maximumPartialSequences, int maximumCandidates,
                       int percentOfHighestScore, int expand);
    DenovoParams Parameters() const { return values_; }
    void OnOK() override;
    void OnHelp();

    // Where a dialog of the given size goes: its left edge at the owner's right edge and its top
    // at the owner's top, held inside the desktop.
    static QPoint Placement(const QRect& owner, const QSize& size, const QRect& desktop);
    // Puts the dialog beside its owner.
    void PlaceBesideOwner();

    CDoubleEditCtrl* DaltonsEdit() const { return daltons_; }
    CDoubleEditCtrl* PpmEdit() const { return ppm_; }
    CDoubleEditCtrl* ThresholdEdit() const { return threshold_; }
    CIntEditCtrl* MaxCandidatesEdit() const { return maxCandidates_; }
    CIntEditCtrl* MaxPartialSequencesEdit() const { return maxPartials_; }
    CDoubleEditCtrl* MinPrimaryScoreEdit() const { return minScore_; }
    CIntEditCtrl* PercentOfHighestEdit() const { return percent_; }
    QCheckBox* ExpandBox() const { return expandBox_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void showEvent(QShowEvent* event) override;

  private:
    CDoubleEditCtrl* daltons_;
    CDoubleEditCtrl* ppm_;
    CDoubleEditCtrl* threshold_;
    CIntEditCtrl* maxCandidates_;
    CIntEditCtrl* maxPartials_;
    CDoubleEditCtrl* minScore_;
    CIntEditCtrl* percent_;
    QCheckBox* expandBox_;

    // The values the fields exchange; the record's defaults are the dialog's first values.
    DenovoParams values_;
    QPointer<QWidget> owner_;
    bool firstShow_ = true;
};

}  // namespace zar
