#pragma once
// How trace peaks are labelled: threshold and what the labels show, for the current trace or
// all traces. The caller sets the members before DoModal and reads them after OK.

#include "controls/DialogBase.h"

class QCheckBox;
class QGroupBox;

namespace zar {

class CDoubleEditCtrl;

class CChroDisplayOptionsDialog : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8550;
    static constexpr int kThresholdChars = 6;

    explicit CChroDisplayOptionsDialog(QWidget* parent = nullptr);

    double labelThreshold = 0.0;
    int labelBasePeak = 0;
    int labelFlags = 0;
    int labelRetentionTime = 0;
    int labelSignalToNoise = 0;
    int labelScanNumber = 0;
    int applyToAll = 0;
    int offerSignalToNoise = 1;

    CDoubleEditCtrl* ThresholdEdit() const { return threshold_; }
    QCheckBox* SignalToNoiseBox() const { return signalToNoise_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    CDoubleEditCtrl* threshold_;
    QCheckBox* basePeak_;
    QCheckBox* flags_;
    QCheckBox* retentionTime_;
    QCheckBox* signalToNoise_;
    QCheckBox* scanNumber_;
    QCheckBox* applyAll_;
    QGroupBox* group_;
};

}  // namespace zar
