#pragma once
// The results window's "Consensus Report" view: one protein entry of a result set against its
// database protein: the sequence with the residues the entry's peptides cover in red, one row
// per peptide found in it (mass, share of the protein's mass, position, share of its residues)
// and four coverage totals, found by a look-up behind the Database Status dialog.

#include "SequenceFormView.h"

namespace zar {

class CDoubleEditCtrl;
class CSearchResults;
class CProteinGrid;

class CProteinView : public CSequenceFormView {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 6;
    static constexpr int kFormId = 8926;
    static constexpr int kPeptideGridId = 8928;
    static constexpr int kInitialRows = 15;
    static constexpr int kPeptideColumns = 5;
    // The totals edits: by Mass, % by Mass, by Position, % by AA's.
    static constexpr int kTotalsIds[4] = {9163, 9164, 9165, 9166};

    explicit CProteinView(CResultsWindow* owner, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void Display(const SelectedResult& item) override { ShowProtein(item); }
    void ReadingFrameChanged(const SelectedResult& item) override { ShowProtein(item); }
    // 0x40B7: the totals into their edits.
    void UpdateData() override;

    void ShowProtein(const SelectedResult& item);
    void StartCoverageSearch(int kind, int entryIndex);

    int GetEntryIndex() const { return entryIndex_; }
    // The protein entry that holds a hit (by its hit number, else by its reference); -1 when
    // none does.
    static int EntryOfHit(const CSearchResults& set, HitNumber hit);

    // CDatabaseLookupView
    int GetLookupProtein() const override { return entryIndex_; }
    QString GetLookupPeptide() const override { return firstPeptide_; }
    QString GetLookupReference() const override { return reference_; }

    int PrintReport(QPrinter& printer) override;
    std::vector<ReportLine> ReportLines(int residuesPerLine) const;

    CProteinGrid* PeptideGrid() const { return peptideGrid_; }
    CDoubleEditCtrl* TotalsEdit(int i) const { return totals_[i]; }
    // Covered mass, its percent of the protein's mass, covered residues, their percent.
    double Total(int i) const { return totalValues_[i]; }
    QString Reference() const { return reference_; }
    QString FirstPeptide() const { return firstPeptide_; }

  protected:
    QString BlastSequence() const override { return firstPeptide_; }
    QString SwissProtText() const override { return reference_; }
    void OnSearchResult(std::any& result) override;

  private:
    void PreparePeptideRows(int rows);

    CProteinGrid* peptideGrid_;
    CDoubleEditCtrl* totals_[4];
    double totalValues_[4] = {0.0, 0.0, 0.0, 0.0};
    QString reference_;
    QString firstPeptide_;
    int entryIndex_ = 0;
    int peptideRows_ = kInitialRows;
    bool initialised_ = false;
};

}  // namespace zar
