#pragma once
// The "Fasta Index" dialog (Tools > Fasta Index...): the user picks a FASTA file, protein or
// nucleotide and the mass type, and OK builds the file's ".idx" on a worker while the dialog
// shows the status text and progress. The dialog stays open; while a build runs, Close becomes
// Cancel and stops it (the old index stays as it was). Closing the window cancels a running
// build and waits for the worker.

#include "databases/DatabaseToolWorker.h"

#include "controls/DialogBase.h"
#include "messages/Messages.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zar {

class CFastaIndexDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9160;
    static constexpr int kProgressId = 9161;
    static constexpr int kStatusId = 9162;
    static constexpr int kDatabaseNameId = 8723;
    static constexpr int kBrowseId = 8724;
    static constexpr int kProteinId = 8727;
    static constexpr int kNucleotideId = 8728;
    static constexpr int kAverageId = 8729;
    static constexpr int kMonoisotopicId = 8730;

    explicit CFastaIndexDlg(QWidget* parent = nullptr);
    ~CFastaIndexDlg() override;

    // What Browse does with the chosen file.
    void SetDatabaseName(const QString& path);
    QString GetDatabaseName() const { return databaseName_; }
    void OnBrowse();
    void OnOK() override;

    bool IsBuilding() const { return worker_.isBusy() || building_; }
    // Waits for a running build and delivers what it posted (for callers without an event loop
    // of their own).
    void WaitForBuild();

    QLabel* StatusText() const { return status_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CloseButton() const { return close_; }

  public slots:
    void reject() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool event(QEvent* e) override;

  private:
    void EndBuild();

    int massType_ = 0;      // 0 average, 1 monoisotopic
    int databaseType_ = 0;  // 0 protein, 1 nucleotide
    QString databaseName_;
    QString indexName_;
    QString databaseDirectory_;
    bool building_ = false;

    QProgressBar* progress_;
    QLabel* status_;
    QLineEdit* databaseEdit_;
    QButtonGroup* massTypes_;
    QButtonGroup* databaseTypes_;
    QPushButton* ok_ = nullptr;
    QPushButton* close_ = nullptr;
    MessageMap messages_;
    // Declared last: destroyed first, so the worker is joined before the widgets go.
    CDatabaseToolWorker worker_;
};

}  // namespace zar
