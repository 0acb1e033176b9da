#pragma once
// The modeless "Sequence Calculator" (Tools > Sequence Calculator): for a typed peptide it shows
// the [M+H]+ weight, the length and the mass per residue, and draws the peptide's theoretical
// fragment spectrum (the ion series chosen, average or monoisotopic) in a Spec plotting control.
// The main window makes it once and keeps it; Close hides it.

#include "controls/DialogBase.h"
#include "databases/SequenceIonSpectrum.h"
#include "fileio/VXSpectrum.h"

#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace zar {

class CSpec;

class CSequenceCalcDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8976;
    static constexpr int kSequenceId = 8977;
    static constexpr int kWeightId = 8978;
    static constexpr int kLengthId = 8979;
    static constexpr int kAverageMassId = 8980;
    static constexpr int kShowAId = 8981;
    static constexpr int kShowBId = 8982;
    static constexpr int kShowYId = 8983;
    static constexpr int kAverageId = 8984;
    static constexpr int kMonoisotopicId = 8985;
    static constexpr int kMaxSequence = 200;
    // The plot's place in the dialog's client area, as first laid out.
    static constexpr int kPlotLeft = 10;
    static constexpr int kPlotTop = 75;
    static constexpr int kPlotRight = 664;
    static constexpr int kPlotBottom = 350;

    explicit CSequenceCalcDlg(QWidget* parent);
    ~CSequenceCalcDlg() override;

    // Modeless set-up: the plotting control is made here, once.
    void Create(QWidget* parent);
    // "&Update": the texts and the plot from the sequence and the choices.
    void OnUpdate();

    const SequenceIonSpectrum& Spectrum() const { return ions_; }
    // The spectrum as the plot was last given it (header, one mass range, the peaks).
    const CVXSpec& PlottedSpectrum() const { return spectrum_; }
    CSpec* Control() const { return control_.get(); }
    QLineEdit* SequenceEdit() const { return sequenceEdit_; }
    QLabel* WeightLabel() const { return weight_; }
    QLabel* LengthLabel() const { return length_; }
    QLabel* AverageMassLabel() const { return averageMass_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override { OnUpdate(); }

  private:
    void showPeaks();
    void applyAxisLimits();

    int massType_ = 0;  // 0 average, 1 monoisotopic
    QString sequence_;
    int showA_ = 0;
    int showB_ = 1;
    int showY_ = 1;
    SequenceIonSpectrum ions_;
    CVXSpec spectrum_;
    CVXSpecDisplay display_;
    std::unique_ptr<CSpec> control_;
    bool controlCreated_ = false;

    QLineEdit* sequenceEdit_;
    QLabel* weight_;
    QLabel* length_;
    QLabel* averageMass_;
    QCheckBox* checkA_;
    QCheckBox* checkB_;
    QCheckBox* checkY_;
    QButtonGroup* massGroup_;
    QWidget* plotArea_;
};

}  // namespace zar
