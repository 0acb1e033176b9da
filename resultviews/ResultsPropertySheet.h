#pragma once
// The modal "Search Results Options" sheet: the Filters, Sort and Options pages through which
// the user edits one ResultsDisplayOptions record. The views push the record in through the
// setters (filter mode before kind before threshold), run the sheet, and on OK take Options().

#include "SummaryFilterPage.h"
#include "SummaryOptionsPage.h"
#include "SummarySortPage.h"
#include "document/ResultsDisplayOptions.h"

#include <QDialog>

class QTabWidget;
class QPushButton;

namespace zar {

class CResultsPropertySheet : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCaptionId = 8412;
    static constexpr int kApplyResult = 12321;
    // Modes: 1 peptide mapping, 2 multiple-file consensus, any other the summary pages.
    static constexpr int kSummaryMode = 0;
    static constexpr int kMassmapMode = 1;
    static constexpr int kConsensusMode = 2;

    CResultsPropertySheet(int captionId, QWidget* parent, int mode, int selectPage = 0);

    void SetFilterMode(int mode) { filter_->SetFilterMode(mode); }
    void SetReferenceText(const QString& text) { filter_->SetReferenceText(text); }
    void SetThresholdKind(int kind) { filter_->SetThresholdKind(kind); }
    void SetThreshold(double value) { filter_->SetThreshold(value); }
    void SetSortKey(int key) { sort_->SetSortKey(key); }
    void SetScoreMethod(int method) { options_->SetScoreMethod(method); }
    void SetShowTimes(int showTimes) { options_->SetShowTimes(showTimes); }
    void SetSingleScore(int singleScore);
    void SetConsensusRowLimit(int rows) { filter_->SetConsensusRows(rows); }
    void SetSummaryRowLimit(int rows);
    void SetRetentionRange(double low, double high);

    // Fills the sheet's record from the pages; fromApply first stores every page's controls.
    void CollectOptions(bool fromApply);
    const ResultsDisplayOptions& Options() const { return record_; }

    CSummaryFilterPage* FilterPage() const { return filter_; }
    CSummarySortPage* SortPage() const { return sort_; }
    CSummaryOptionsPage* OptionsPage() const { return options_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CloseButton() const { return close_; }
    QPushButton* HelpButton() const { return help_; }
    // The help topic of the sheet, whichever page is shown: the Filters page's of the mode.
    int HelpContext() const;

    // The sheet's starting record: what the document receives for every field the pages do not
    // give.
    static ResultsDisplayOptions StartingRecord();

  public slots:
    void accept() override;

  private:
    void OnApplyNow();

    int mode_;
    ResultsDisplayOptions record_;
    QTabWidget* tabs_;
    CSummaryFilterPage* filter_;
    CSummarySortPage* sort_;
    CSummaryOptionsPage* options_;
    QPushButton* ok_;
    QPushButton* close_;
    QPushButton* help_;
};

// Runs the options sheet over a copy of the document's summary record the way the summary and
// consensus views do; on OK the record replaces the document's, the hits are sorted by its key
// and every view gets hint 52. Returns whether the document changed.
bool RunSummaryOptionsSheet(QWidget* parent, bool passSingleScore);
// The same for the peptide-mapping table (mode 1; the hits go back to file order, hint 58) and
// the multiple-file consensus table (mode 2; the hits sorted by the chosen key, hint 59). Nothing
// happens while that result set is not loaded.
bool RunMassmapOptionsSheet(QWidget* parent);
bool RunMultiConsensusOptionsSheet(QWidget* parent);

}  // namespace zar
