#pragma once
// The "Select" page of the FASTA database utilities: writes a target database from the entries
// of an original one that pass up to six include strings, six exclude strings and a protein
// mass range. Build Database checks the choices and runs the selection under the Select Status
// dialog.

#include "databases/FastaSelection.h"

#include "controls/DialogBase.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace zar {

class CDoubleRangeEditCtrl;

class CUtilitySelectPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8792;
    static constexpr int kRangeId = 8707;
    static constexpr int kOriginalId = 8793;
    static constexpr int kOriginalBrowseId = 8794;
    static constexpr int kTargetId = 8795;
    static constexpr int kTargetBrowseId = 8796;
    static constexpr int kCreateId = 8797;
    static constexpr int kAppendId = 8798;
    static constexpr int kFirstIncludeCheckId = 8799;
    static constexpr int kFirstIncludeId = 8805;
    static constexpr int kFirstExcludeCheckId = 8811;
    static constexpr int kFirstExcludeId = 8817;
    static constexpr int kEnableRangeId = 8823;
    static constexpr int kMassInHeaderId = 8824;
    static constexpr int kBuildId = 8825;
    static constexpr double kHighestMassLimit = 2'000'000.0;

    explicit CUtilitySelectPage(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnBuildDatabase();
    void OnBrowseOriginal();
    void OnBrowseTarget();
    // A check box of a string row or of the range: its field follows it.
    void OnCheckChanged();

    QLineEdit* OriginalEdit() const { return originalEdit_; }
    QLineEdit* TargetEdit() const { return targetEdit_; }
    CDoubleRangeEditCtrl* RangeEdit() const { return rangeEdit_; }
    QCheckBox* IncludeCheck(int i) const { return includeChecks_[static_cast<std::size_t>(i)]; }
    QLineEdit* IncludeEdit(int i) const { return includeEdits_[static_cast<std::size_t>(i)]; }
    QCheckBox* ExcludeCheck(int i) const { return excludeChecks_[static_cast<std::size_t>(i)]; }
    QLineEdit* ExcludeEdit(int i) const { return excludeEdits_[static_cast<std::size_t>(i)]; }
    QCheckBox* EnableRangeCheck() const { return enableRange_; }
    QCheckBox* MassInHeaderCheck() const { return massInHeader_; }
    QButtonGroup* TargetModeGroup() const { return targetModes_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;
    // Runs the selection under the status dialog; returns when the dialog has closed.
    virtual void RunSelection(const SelectRequest& request);

  private:
    // The range field's pair; false (after its message) when it cannot be used.
    bool ReadMassRange();

    CDoubleRangeEditCtrl* rangeEdit_;
    QLineEdit* targetEdit_;
    QLineEdit* originalEdit_;
    QButtonGroup* targetModes_;
    QCheckBox* enableRange_;
    QCheckBox* massInHeader_;
    std::array<QCheckBox*, kSelectStrings> includeChecks_{};
    std::array<QLineEdit*, kSelectStrings> includeEdits_{};
    std::array<QCheckBox*, kSelectStrings> excludeChecks_{};
    std::array<QLineEdit*, kSelectStrings> excludeEdits_{};

    int targetMode_ = 0;
    QString originalPath_;
    QString targetPath_;
    int enableMassRange_ = 0;
    int includeMassInHeader_ = 0;
    QString initialDirectory_;
    std::array<QString, kSelectStrings> includeStrings_;
    std::array<QString, kSelectStrings> excludeStrings_;
    double lowestMass_ = 0.0;
    double highestMass_ = kHighestMassLimit;
    std::array<int, kSelectStrings> excludeChecked_{};
    std::array<int, kSelectStrings> includeChecked_{};
};

}  // namespace zar
