#pragma once
// "Spectrum Display Options": the plotting style and peak labels of one spectrum display
// record. The caller copies the record into the dialog before DoModal and reads it (and the
// "Apply to all plots" choice) back after OK.

#include "controls/DialogBase.h"
#include "fileio/VXSpectrum.h"

class QButtonGroup;
class QCheckBox;

namespace zar {

class CDoubleEditCtrl;
class CVXResults;

class CSpecDisplayOptionsDialog : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8581;
    static constexpr int kThresholdId = 8582;
    static constexpr int kStyleId = 8583;
    static constexpr int kShowLabelsId = 8586;
    static constexpr int kOffsetId = 8587;
    static constexpr int kOffsetEditId = 8588;
    static constexpr int kRotatedId = 8589;
    static constexpr int kApplyToAllId = 8592;
    static constexpr int kThresholdChars = 6;
    static constexpr int kOffsetChars = 3;

    explicit CSpecDisplayOptionsDialog(QWidget* parent = nullptr);

    int offsetLabels = 0;
    float labelOffset = 0.0f;
    int style = -1;
    int rotated = 0;
    int showLabels = 0;
    double threshold = 0.0;
    int applyToAll = 0;
    // The record edited: the caller fills it before DoModal and reads it after OK.
    CVXSpecDisplay display;

    void OnOffset();
    CDoubleEditCtrl* ThresholdEdit() const { return threshold_; }
    CDoubleEditCtrl* OffsetEdit() const { return offset_; }
    QCheckBox* OffsetBox() const { return offsetBox_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    CDoubleEditCtrl* threshold_;
    CDoubleEditCtrl* offset_;
    QButtonGroup* styleGroup_;
    QCheckBox* offsetBox_;
    QCheckBox* rotatedBox_;
    QCheckBox* showLabelsBox_;
    QCheckBox* applyAllBox_;
};

// After OK: the edited record becomes the current one, and with "Apply to all plots" its style
// and label settings go to the display of every user result of the results too.
void ApplySpecDisplayOptions(const CSpecDisplayOptionsDialog& dialog, CVXSpecDisplay& current,
                             CVXResults* results);

}  // namespace zar
