#pragma once
// The results window's list of every candidate peptide of one spectrum's ".out" file: one row
// per hit line, in file order, up to the show-output buffer's 500. Shows either one hit's file
// or, for a protein entry, one of the entry's files picked in the window's combo.

#include "ResultsFormView.h"
#include "grids/ResultGrids.h"

namespace zar {

class CSearchResults;

class CShowOutView : public CResultsFormView, public CShowOutGridOwner {
    Q_OBJECT
  public:
    static constexpr int kColumns = 10;
    static constexpr int kMinSequenceWidth = 120;

    CShowOutView(CResultsWindow* owner, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void ShowOut(const SelectedResult& item);
    void ShowOutForEntry(int kind, int entryIndex);
    // Shows the file of a hit, wherever a sort has moved it; keepList 0 empties the window's
    // file combo first.
    void FillFromOutFile(int kind, HitNumber hit, int keepList);

    // CShowOutGridOwner
    HitNumber GetShownHit() const override { return hit_; }
    int GetResultKind() const override { return kind_; }

    // File > Print: the table, always offered.
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;

    CShowOutGrid* Grid() const { return grid_; }
    int RowCount() const { return rowCount_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void PrepareRows(int count);
    void FitSequenceColumn();
    static CSearchResults* SetOfKind(int kind);
    static void ParseForDisplay(CSearchResults* set, int kind, const QString& path);

    CShowOutGrid* grid_;
    int kind_ = 0;
    HitNumber hit_;
    int rowCount_ = 50;
    bool initialised_ = false;
};

}  // namespace zar
