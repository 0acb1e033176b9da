#pragma once
// The "Smoothing and Averaging" page of the deconvolution sheet: the scan range to average and
// the smoothing type and width. It only collects them; the Calculation and Deconvolution pages
// hand them to the document when one of their buttons is pressed.

#include "controls/DialogBase.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

namespace zar {

class CIntRangeEditCtrl;
class CZarmassPropertySheet;

class CZarmassSmoothPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9175;
    enum Control : int {
        IDC_ENABLE_AVERAGING = 9176,
        IDC_SCANS_LABEL = 9177,
        IDC_SCANS = 9178,
        IDC_TRACK = 9179,
        IDC_ENABLE_SMOOTHING = 9180,
        IDC_BOXCAR = 9181,
        IDC_GAUSSIAN = 9182,
        IDC_ORVO = 9183,
        IDC_SAVITSKY_GOLAY = 9184,
        IDC_POINTS = 9185,
        IDC_POINTS_LABEL = 9186,
    };

    explicit CZarmassSmoothPage(CZarmassPropertySheet* sheet);

    bool OnInitDialog() override;
    // The run's scans: the limits and the chosen range.
    void SetScanLimits(int first, int last);
    // A range from a trace, taken only while Track is checked.
    void SetScanRange(int first, int last);
    // The averaging range becomes the document's selection (0, 0 without averaging); the
    // smoothing goes into the document's record. False, with nothing stored and the failing
    // field shown and told, when the scans or the points hold no valid value.
    bool ApplySmoothingSettings();

    CIntRangeEditCtrl* ScansEdit() const { return scans_; }
    QComboBox* PointsCombo() const { return pointsCombo_; }
    QCheckBox* AveragingBox() const { return averaging_; }
    QCheckBox* SmoothingBox() const { return smoothing_; }
    QCheckBox* TrackBox() const { return track_; }
    QButtonGroup* TypeGroup() const { return type_; }
    int FirstScan() const { return firstScan_; }
    int LastScan() const { return lastScan_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    // The check boxes and the type, as a click changes them (the typed fields are checked
    // when the settings are used).
    void readChoices();
    void enableControls();
    // Fills the points list for the chosen type and selects its first entry.
    void fillPoints();

    CIntRangeEditCtrl* scans_;
    QLabel* scansLabel_;
    QComboBox* pointsCombo_;
    QLabel* pointsLabel_;
    QButtonGroup* type_;
    QCheckBox* averaging_;
    QCheckBox* smoothing_;
    QCheckBox* track_;
    int points_ = 0;
    int smoothingType_ = 0;
    int averagingEnabled_ = 0;
    int smoothingEnabled_ = 0;
    int trackOn_ = 1;
    int firstScanLimit_ = 1;
    int lastScanLimit_ = 1000;
    int firstScan_ = 1;
    int lastScan_ = 1000;
    bool initialised_ = false;
};

}  // namespace zar
