#pragma once
// The first page of both search-parameter sheets ("Basic Parameters"): which spectra are made
// (results folder, scan limits, mass range, threshold) and which database is searched (FASTA
// or indexed, protein or nucleotide, mass type, enzyme, cleavage sites). An indexed database's
// header settles the settings the index was built with; those controls are then locked. The
// Sorvex General page and the Massmap Basic page differ only in a few fields.

#include "SearchPageBase.h"

#include <QString>

#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;

namespace zar {

class CSearchBasicPage : public CSearchPageBase {
    Q_OBJECT
  public:
    // Control ids.
    static constexpr int kResultsEditId = 8704;
    static constexpr int kResultsBrowseId = 8705;
    static constexpr int kScanLimitsId = 8706;
    static constexpr int kThresholdId = 8708;
    static constexpr int kChargeId = 8713;
    static constexpr int kProteinId = 8727;
    static constexpr int kNucleotideId = 8728;
    static constexpr int kAverageId = 8729;
    static constexpr int kMonoisotopicId = 8730;
    static constexpr int kEnzymeId = 8738;
    static constexpr int kCleavageSitesId = 8740;
    static constexpr int kTrackId = 8745;
    static constexpr int kIndexedRangeId = 8746;
    static constexpr int kFastaRangeId = 8747;
    static constexpr int kRemoveDtaId = 8749;
    static constexpr int kRemoveOutId = 8751;
    static constexpr int kDatabaseEditId = 8752;
    static constexpr int kDatabaseBrowseId = 8753;
    static constexpr int kFastaId = 8754;
    static constexpr int kIndexedId = 8755;
    static constexpr int kSearchCheckId = 9144;
    static constexpr int kGenerationCheckId = 9145;
    static constexpr int kBasePeakId = 9150;
    static constexpr int kSelectedPeakId = 9151;
    static constexpr int kSuppliedMassId = 9152;
    static constexpr int kMaxDatabaseName = 260;

    // Ask for a folder or a file; an empty text when cancelled. Tests put their own in.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& title)>;
    using FilePicker =
        std::function<QString(QWidget* parent, const QString& start, const QString& filter)>;
    void SetFolderPicker(FolderPicker picker) { folderPicker_ = std::move(picker); }
    void SetFilePicker(FilePicker picker) { filePicker_ = std::move(picker); }

    // The sheet's enzyme table changed: the enzyme list is filled again.
    void FillEnzymeList();
    // The database's size is recorded and an indexed database's mass range taken from its
    // header (a search is starting). True when the database was recorded before.
    bool PrepareSearchDatabase();
    // The results folder exists or was made with the user's consent.
    bool CheckResultsDirectory();
    // Takes an indexed database's settings from its header and locks what the index fixes; a
    // FASTA database unlocks them.
    void ReadIndexedDatabaseHeader();
    // Shows the indexed database's mass range (Sorvex) or the FASTA one.
    void ShowIndexedMassRange(bool indexed);
    void EnableScanLimits(bool enable);
    // The database filter text of the database field (the database type changed).
    QString DatabaseFilter() const;

    // What the user does.
    void OnBrowseResults();
    void OnResultsDirectoryChosen(const QString& folder);
    void OnBrowseDatabase();
    void OnDatabaseChosen(const QString& path);
    void OnDatabaseTypeClicked(int type);
    void OnSequenceTypeClicked(int type);
    void OnMassTypeClicked(int type);
    void OnProteinMassChoiceClicked(int choice);
    void OnGenerationClicked();
    void OnSearchClicked();
    // Leaving the database field, a mass-range edit or the scan edit.
    void OnDatabaseChanged();
    void OnMassRangeFocusLost(int id);
    void OnScanLimitsFocusLost();

    void ApplyEnableFlags(const SearchEnableFlags& flags) override;

  protected:
    CSearchBasicPage(SearchKind kind, int templateId, CSearchPropertySheet* sheet);
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsSorvex() const { return kind_ == SearchKind::Sorvex; }
    QWidget* BuildGenerationGroup();
    QWidget* BuildSearchGroup();
    void ShowSuppliedMass();

    SearchKind kind_;
    FolderPicker folderPicker_;
    FilePicker filePicker_;
    bool scanLimitsEnabled_ = true;
    SearchEnableFlags flags_;

    QLineEdit* resultsEdit_ = nullptr;
    QCheckBox* generation_ = nullptr;
    QCheckBox* search_ = nullptr;
    QCheckBox* removeDta_ = nullptr;
    QCheckBox* removeOut_ = nullptr;
    CIntRangeEditCtrl* scanEdit_ = nullptr;
    QCheckBox* track_ = nullptr;
    CDoubleRangeEditCtrl* indexedRange_ = nullptr;
    CDoubleRangeEditCtrl* fastaRange_ = nullptr;
    CDoubleEditCtrl* threshold_ = nullptr;
    QButtonGroup* databaseType_ = nullptr;
    QLineEdit* databaseEdit_ = nullptr;
    QButtonGroup* sequenceType_ = nullptr;
    QButtonGroup* massType_ = nullptr;
    QComboBox* enzyme_ = nullptr;
    CIntEditCtrl* cleavageSites_ = nullptr;
    QButtonGroup* proteinMass_ = nullptr;
    CDoubleEditCtrl* suppliedMass_ = nullptr;
    CIntEditCtrl* charge_ = nullptr;
};

}  // namespace zar
