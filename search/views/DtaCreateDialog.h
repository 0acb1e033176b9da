#pragma once
// "TurboSORVEX Dta": makes the .dta files of the current raw file without a search. The user
// sets the extraction parameters; OK saves five of them and the folder as the defaults (the
// dialog comes back with them, kept or made anew), removes old .dta files when asked and starts
// the extraction program, which nobody waits for. The main window makes it once and shows it
// again with each run and range; while Track is checked the trace view's
// ranges reach it. The three pages of the search engine's local web program are not provided:
// their choices stay greyed.

#include "controls/DialogBase.h"

#include "search/DtaCreateOptions.h"

#include <QString>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace zar {

class CDoubleEditCtrl;
class CDoubleRangeEditCtrl;
class CIntEditCtrl;
class CIntRangeEditCtrl;
class VRawfile;

class CDtaCreateDialog : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8703;
    static constexpr int kDirectoryId = 8704;
    static constexpr int kBrowseId = 8705;
    static constexpr int kScanLimitsId = 8706;
    static constexpr int kMassRangeId = 8707;
    static constexpr int kThresholdId = 8708;
    static constexpr int kPrecursorToleranceId = 8709;
    static constexpr int kGroupScanId = 8710;
    static constexpr int kMinGroupCountId = 8711;
    static constexpr int kMinIonCountId = 8712;
    static constexpr int kChargeStateId = 8713;
    static constexpr int kFirstActionId = 8715;  // to 8718: create only, and the three pages
    static constexpr int kDefaultsId = 8721;
    static constexpr int kTrackId = 8745;
    static constexpr int kRemoveDtaId = 8749;
    static constexpr int kHelpId = 9;

    // Defaults button values.
    static constexpr double kDefaultPrecursorTolerance = 1.4;
    static constexpr double kDefaultThreshold = 100000.0;
    static constexpr int kDefaultGroupScan = 1;
    static constexpr int kDefaultMinGroupCount = 2;
    static constexpr int kDefaultMinIonCount = 35;

    using FolderPicker = std::function<QString(QWidget* parent, const QString& title)>;

    // webActions 0 disables all four action choices.
    CDtaCreateDialog(QWidget* owner, bool webActions);
    ~CDtaCreateDialog() override;

    // Makes the modeless window.
    bool Create();
    void SetRawFile(const QString& path, bool read);
    void SetScanFromTime(double time);
    void SetScanRangeFromTimes(double start, double end);
    void SetScanRangeIfTracking(int first, int last);
    void SetFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }

    void OnOK() override;
    void OnDefaults();
    void OnBrowse();
    void OnHelp();

    QString RawFile() const { return rawFile_; }
    QString ResultsDirectory() const { return resultsDirectory_; }
    // The extraction options of the values held now (after the lists set the scans and masses).
    DtaCreateOptions Options() const;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void reject() override { hide(); }

  private:
    bool ReadRawFileInfo();
    void RefreshControls();
    bool CheckDirectory(const QString& directory);
    void StartExtraction(const QString& directory);

    CDoubleRangeEditCtrl* massRangeEdit_;
    CIntRangeEditCtrl* scanLimitsEdit_;
    CDoubleEditCtrl* precursorToleranceEdit_;
    CDoubleEditCtrl* thresholdEdit_;
    CIntEditCtrl* groupScanEdit_;
    CIntEditCtrl* minGroupCountEdit_;
    CIntEditCtrl* minIonCountEdit_;
    CIntEditCtrl* chargeStateEdit_;
    QLineEdit* directoryEdit_;
    QButtonGroup* actions_;
    QCheckBox* trackBox_;
    QCheckBox* removeDtaBox_;
    QWidget* owner_;
    bool webActions_;
    FolderPicker picker_;
    std::unique_ptr<VRawfile> ownReader_;

    double threshold_;
    int groupScan_;
    int minIonCount_;
    int minGroupCount_;
    int chargeState_ = 0;
    int action_ = 0;
    double precursorTolerance_;
    int track_ = 1;
    int removeDta_ = 1;
    QString rawFile_;
    QString resultsDirectory_;
    QString extractOptions_ = QStringLiteral("-Z -V");
    double lowMass_ = 700.0;
    double highMass_ = 3500.0;
    double lowMassLimit_ = 700.0;
    double highMassLimit_ = 3500.0;
    int firstScan_ = 1;
    int lastScan_ = 100;
    // The range lists of the two range edits: one entry each, or none.
    bool haveScanRange_ = false;
    int scanRangeFirst_ = 0;
    int scanRangeLast_ = 0;
    bool haveMassRange_ = false;
    double massRangeLow_ = 0.0;
    double massRangeHigh_ = 0.0;
};

}  // namespace zar
