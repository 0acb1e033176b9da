#pragma once
// The modeless "Pepmap Options" dialog: enzyme, kinds of digest, disulfide handling, display
// and sort, fragment limits and the matching parameters of the Pepmap engine. The Pepmap view's
// Options button opens the one dialog (ShowOptionsDialog); OK and Apply hand the options to the
// engine and refresh the views; while Track is checked the trace view's zoomed range becomes
// the scan limits. OK and Close delete the dialog.

#include "controls/DialogBase.h"
#include "databases/PepmapOptions.h"

#include <QPointer>

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace zar {

class CDoubleEditCtrl;
class CIntEditCtrl;
class CIntRangeEditCtrl;
class CPepmapOptionsGrid;
class CPepmapView;
struct EnzymeRecord;

class CPepmapOptionsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9084;
    static constexpr int kEnzymeId = 9085;
    static constexpr int kCompleteDigestId = 9086;
    static constexpr int kIncompleteDigestId = 9087;
    static constexpr int kNoDisulfidesId = 9088;  // .. 9091, one per disulfide mode
    static constexpr int kShowNeighboursId = 9092;
    static constexpr int kShowTimesId = 9093;
    static constexpr int kMonoisotopicId = 9094;
    static constexpr int kLimitFragmentsId = 9095;
    static constexpr int kGridId = 9096;
    static constexpr int kSortById = 9097;
    static constexpr int kDisplayOrderId = 9098;
    static constexpr int kScanLimitsId = 9099;
    static constexpr int kTrackId = 9100;
    static constexpr int kScanWidthId = 9101;
    static constexpr int kThresholdId = 9102;
    static constexpr int kLabelModeId = 9103;
    static constexpr int kApplyId = 12321;
    static constexpr int kLimitRows = 4;  // length, mass, site proximity, undigested sites

    explicit CPepmapOptionsDlg(QWidget* parent);
    ~CPepmapOptionsDlg() override;

    // The one dialog, made on first use with the main window as parent, for the view; it shows
    // the engine's options (choices not applied before are lost). Null without an engine.
    static CPepmapOptionsDlg* ShowOptionsDialog(CPepmapView* view);
    // The open dialog, null when none.
    static CPepmapOptionsDlg* Current();

    void SetView(CPepmapView* view) { view_ = view; }
    void SetOptions(const PepmapOptions& options);
    // Refills the enzyme list with the named records 1 to 24 (the table's 25 records).
    void SetEnzymeRecords(const EnzymeRecord* records);
    // While Track is checked: the scan limits become first-last (first-first when last < 1).
    void SetScanRange(int first, int last);
    // The trace view's new range, as scans of the run.
    void SetScanRangeFromTimes(double startTime, double endTime);
    // The run's scans and TIC from the document's run; false (the user told why) when it
    // cannot be read, leaving both as they were.
    bool CheckRawFile();

    // The options that OK and Apply hand on, from the controls; false when a control holds a
    // value out of range (the user was told).
    bool ReadOptions(PepmapOptions* options);
    void OnApply();
    void OnOK() override;
    void OnLimitFragments();

    QComboBox* EnzymeList() const { return enzymeList_; }
    QComboBox* SortByList() const { return sortBy_; }
    QComboBox* DisplayOrderList() const { return displayOrder_; }
    QComboBox* LabelModeList() const { return labelMode_; }
    CPepmapOptionsGrid* LimitsGrid() const { return grid_; }
    CIntRangeEditCtrl* ScanLimits() const { return scanLimits_; }
    double Tic() const { return tic_; }

  public slots:
    void reject() override;  // Close

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void showEvent(QShowEvent* event) override;

  private:
    void apply();
    void closeDialog();
    void enableViewButtons(bool enable);
    void styleLimitsGrid();
    void fillLimitsGrid();

    // Members in the dialog's own terms.
    double threshold_ = 5.0;
    int disulfideMode_ = 0;
    int scanWidth_ = 3;
    int track_ = 1;
    int completeDigest_ = 1;
    int incompleteDigest_ = 0;
    int limitFragments_ = 0;
    int showNeighbours_ = 0;
    int monoisotopic_ = 0;
    int showTimes_ = 1;
    int enzyme_ = 0;
    int orderItem_ = 0;  // 0 ascending, 1 descending
    int sortItem_ = 0;   // index in "Position", "Length", "Mass", "Scan/RT"
    int labelItem_ = 1;  // the label mode
    int firstScan_ = 1;
    int lastScan_ = 100;
    bool hasScanLimits_ = true;
    double tic_ = 0.0;
    double massMin_ = 0.0;
    double massMax_ = 0.0;
    int lengthMin_ = 0;
    int lengthMax_ = 0;
    int siteProximityMin_ = 0;
    int siteProximityMax_ = 0;
    int undigestedMin_ = 0;
    int undigestedMax_ = 0;
    const EnzymeRecord* records_ = nullptr;
    QPointer<CPepmapView> view_;
    bool gridReady_ = false;
    bool placed_ = false;

    QComboBox* enzymeList_;
    QCheckBox* completeDigestBox_;
    QCheckBox* incompleteDigestBox_;
    QButtonGroup* disulfideGroup_;
    QCheckBox* showNeighboursBox_;
    QCheckBox* showTimesBox_;
    QCheckBox* monoisotopicBox_;
    QComboBox* sortBy_;
    QComboBox* displayOrder_;
    QCheckBox* limitFragmentsBox_;
    CPepmapOptionsGrid* grid_;
    CIntRangeEditCtrl* scanLimits_;
    QCheckBox* trackBox_;
    CIntEditCtrl* scanWidthEdit_;
    CDoubleEditCtrl* thresholdEdit_;
    QComboBox* labelMode_;
};

}  // namespace zar
