#pragma once
// "Search Progress": the modeless window a launcher shows while .dta files are made and the
// search program runs: the .dta file just made, which file is searched out of how many, three
// bars, the time left and at the end the total time. Cancel asks the main window to stop the
// run. The window deletes itself when it is closed; launchers hold it by a guarded pointer.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

namespace zar {

class CSearchProgressDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8777;
    static constexpr int kDtaTextId = 8778;
    static constexpr int kDtaBarId = 8779;
    static constexpr int kSearchTextId = 8780;
    static constexpr int kDatabaseBarId = 8781;
    static constexpr int kTotalTextId = 8782;
    static constexpr int kFilesBarId = 8783;
    static constexpr int kRemainingTextId = 8784;

    // owner receives Cancel's message (0x408D for peptide mapping, else 0x408E) and is the parent.
    CSearchProgressDlg(QWidget* owner, bool peptideMapping);

    // Makes the window; true on success (the launchers show it only then).
    bool Create();

    // name loses its last three characters here when it holds a "." (the caller sees the cut).
    void SetDtaName(QString& name);
    void SetDtaRange(int n);
    void SetDtaProgress(int position);
    void SetDatabaseScale(int n) { databaseScale_ = n; }
    void SetFileCount(int n);
    void SetSearchFile(int index);
    void SetDatabaseProgress(int n);
    // The seconds one file took; -1 ends the run and shows the total time.
    void FileDone(double seconds);

    // What the window shows, for the launchers' checks.
    QString Text(int id) const;
    int BarValue(int id) const;
    int BarMaximum(int id) const;
    int FileCount() const { return fileCount_; }
    int DatabaseScale() const { return databaseScale_; }
    bool IsPeptideMapping() const { return peptideMapping_; }

    void OnCancel();

  protected:
    void reject() override { OnCancel(); }

  private:
    void SetText(int id, const QString& text);
    QProgressBar* Bar(int id) const;
    // Seconds the search has taken: the reported times, or the clock's once it counts more.
    double searchSeconds() const;

    QWidget* owner_;
    bool peptideMapping_;
    QLabel* dtaText_;
    QLabel* searchText_;
    QLabel* totalText_;
    QLabel* remainingText_;
    QProgressBar* dtaBar_;
    QProgressBar* databaseBar_;
    QProgressBar* filesBar_;
    int databaseRange_ = 100;
    int filesRange_ = 100;
    int dtaRange_ = 100;
    int filesStarted_ = 0;
    int fileCount_ = 0;
    int databasePosition_ = 0;
    int databaseScale_ = 0;
    double averageSeconds_ = 0.0;
    double totalSeconds_ = 0.0;
    // Time since the first file's search started: the search program reports whole seconds
    // per file, so files of under a second would otherwise add up to nothing.
    QElapsedTimer searchClock_;
};

}  // namespace zar
