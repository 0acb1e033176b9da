#pragma once
// The "Fasta Database Indexer" dialog (Tools > Fasta Database Indexer...): edits
// "buildix.params" in the database folder and starts the builder buildix4 on a FASTA database
// (digest by an enzyme, or all sub-sequences of a length range, with the modifications of the
// two grids). The dialog stays open while the builder runs, follows it and tells how it ended:
// the counts of the new database, or the builder's error. Closing the dialog during a build asks
// whether to stop it; a stopped builder takes away what it has written. Files are handled
// in-process and the builder gets its arguments as a list; the program's current folder is
// never changed.

#include "search/BuildixSettings.h"
#include "search/ModificationTables.h"
#include "search/ParamFile.h"

#include "controls/DialogBase.h"
#include "messages/Messages.h"

#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProcess;
class QPushButton;

namespace zar {

class CDoubleRangeEditCtrl;
class CGXGridWnd;
class CIntEditCtrl;
class CModificationGrid;
class CTerminalModificationGrid;
class InvalidParamsPrompt;
struct EnzymeRecord;

class CFastaDbIndexerDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8722;
    static constexpr int kMassRangeId = 8707;
    static constexpr int kFastaNameId = 8723;
    static constexpr int kBrowseFastaId = 8724;
    static constexpr int kIndexedNameId = 8725;
    static constexpr int kBrowseIndexedId = 8726;
    static constexpr int kProteinId = 8727;
    static constexpr int kNucleotideId = 8728;
    static constexpr int kAverageId = 8729;
    static constexpr int kMonoisotopicId = 8730;
    static constexpr int kDuplicatesId = 8731;
    static constexpr int kNoEnzymeId = 8732;
    static constexpr int kEnzymeId = 8733;
    static constexpr int kLengthLabelId = 8734;
    static constexpr int kLengthRangeId = 8735;
    static constexpr int kMassRangeLabelId = 8736;
    static constexpr int kEnzymeLabelId = 8737;
    static constexpr int kEnzymeListId = 8738;
    static constexpr int kCleavageSitesLabelId = 8739;
    static constexpr int kCleavageSitesId = 8740;
    static constexpr int kTempDirId = 8741;
    static constexpr int kBrowseTempDirId = 8742;
    static constexpr int kDefaultsId = 8743;
    static constexpr int kStaticGridId = 8767;
    static constexpr int kDiffGridId = 8768;
    static constexpr int kMaxCleavageSites = 5;
    // The builder needs free space of this many times the FASTA file's size.
    static constexpr int kSpaceFactor = 3;

    // Reads "buildix.params" of the database folder; an unusable file is restored through the
    // prompt (none: left as it is).
    explicit CFastaDbIndexerDlg(QWidget* parent = nullptr, InvalidParamsPrompt* prompt = nullptr);
    // A build still running is stopped.
    ~CFastaDbIndexerDlg() override;

    // The 25 records of the enzyme table; the list shows the named ones from record 1 on.
    void SetEnzymeList(const EnzymeRecord* records);

    // Build: checks the choices, saves the parameter file and starts the builder.
    void OnOK() override;
    // Close: during a build the user is asked whether to stop it.
    void reject() override;
    void OnDefaults();
    void OnDatabaseType();
    void OnDigestMode();
    // What the FASTA browse button does with the chosen file.
    void SetFastaPath(const QString& path);
    void OnBrowseFasta();
    void OnBrowseIndexed();
    void OnBrowseTempDir();

    // The presets and Reset All of a grid's context menu; row counts from 1 in the grid.
    bool ApplyPreset(CGXGridWnd* grid, int row, ModificationPreset preset);
    void ResetAll(CGXGridWnd* grid);
    // The context menu of a grid, owned by the caller.
    QMenu* MakeContextMenu(CGXGridWnd* grid);

    const BuildixSettings& Settings() const { return settings_; }
    const CParamFile& ParamFile() const { return paramFile_; }
    QString ParamPath() const { return paramPath_; }
    bool UsesEnzyme() const { return useEnzyme_ != 0; }
    // Whether a builder started by Build is still running.
    bool IsBuilding() const;
    // What the user is told when the builder of the indexed database ends: the database and
    // its counts, or what went wrong (the builder's error lines, else its exit).
    static QString BuilderOutcomeMessage(const QString& indexedPath, int exitCode, bool crashed,
                                         const QString& output, const QString& errors);
    QLabel* StatusLabel() const { return statusLabel_; }

    CDoubleRangeEditCtrl* MassRangeEdit() const { return massRangeEdit_; }
    CDoubleRangeEditCtrl* LengthRangeEdit() const { return lengthRangeEdit_; }
    CIntEditCtrl* CleavageSitesEdit() const { return cleavageSitesEdit_; }
    CModificationGrid* DiffGrid() const { return diffGrid_; }
    CTerminalModificationGrid* StaticGrid() const { return staticGrid_; }
    QComboBox* EnzymeCombo() const { return enzymeCombo_; }
    QLineEdit* TempDirEdit() const { return tempDirEdit_; }
    QLineEdit* IndexedNameEdit() const { return indexedNameEdit_; }
    QLineEdit* FastaNameEdit() const { return fastaNameEdit_; }
    QCheckBox* DuplicatesCheck() const { return duplicatesCheck_; }
    QButtonGroup* MassTypeGroup() const { return massTypes_; }
    QButtonGroup* DatabaseTypeGroup() const { return databaseTypes_; }
    QButtonGroup* DigestModeGroup() const { return digestModes_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool event(QEvent* e) override;
    // Bytes free to the user on the volume of the folder; -1 when the volume does not tell
    // (a container or chroot whose mounts cannot be read).
    virtual qint64 FreeDiskSpace(const QString& folder) const;
    // Starts the builder and follows it to its end; false with the reason's text.
    virtual bool StartBuilder(const QString& program, const QStringList& arguments,
                              const QString& workingFolder, QString& error);

  private:
    void ReadParamFile();
    // The file's names, folders and modifications into the dialog's fields.
    void TakeParamFileValues();
    void LoadControls();
    bool SaveParamFile();
    // True when the store now holds other values (a copied default file or the defaults).
    bool RestoreDefaultParamFile();
    void FillEnzymeList();
    void FillGrids();
    void ReadGrids();
    void ShowDigestControls();
    int SelectedEnzymeRecord() const;
    QString InDatabaseFolder(const QString& name) const;
    void OnContextMenu(CGXGridWnd* grid, const QPoint& globalPos);
    void OnBuilderOutput();
    void OnBuilderFinished(int exitCode, bool crashed);
    // Asks the builder to stop and waits for it; nothing is reported.
    void StopBuilder();

    CDoubleRangeEditCtrl* massRangeEdit_;
    CDoubleRangeEditCtrl* lengthRangeEdit_;
    CIntEditCtrl* cleavageSitesEdit_;
    CModificationGrid* diffGrid_;
    CTerminalModificationGrid* staticGrid_;
    QComboBox* enzymeCombo_;
    QLineEdit* tempDirEdit_;
    QLineEdit* indexedNameEdit_;
    QLineEdit* fastaNameEdit_;
    QCheckBox* duplicatesCheck_;
    QButtonGroup* massTypes_;
    QButtonGroup* databaseTypes_;
    QButtonGroup* digestModes_;
    QLabel* statusLabel_;
    QPushButton* buildButton_ = nullptr;
    std::vector<QWidget*> enzymeControls_;
    std::vector<QWidget*> lengthControls_;

    InvalidParamsPrompt* prompt_;
    QString databaseDirectory_;
    QString paramPath_;
    QString programDirectory_;
    QString sortProgram_;
    CGXGridWnd* contextGrid_ = nullptr;
    CParamFile paramFile_;
    BuildixSettings settings_;
    // Static grid row r shows the named entry staticRows_[r - 1].
    std::vector<int> staticRows_;
    int includeDuplicates_ = 1;
    int useEnzyme_ = 1;
    int minLength_ = BuildixSettings::kDefaultMinLength;
    int maxLength_ = BuildixSettings::kDefaultMaxLength;
    const EnzymeRecord* enzymeRecords_ = nullptr;
    QString fastaName_;
    QString indexedName_;
    QString tempDirectory_;
    MessageMap messages_;
    std::unique_ptr<QProcess> builder_;
    QString builtPath_;  // the indexed database being built
    QString builderOutput_;
    QString builderErrors_;
};

}  // namespace zar
