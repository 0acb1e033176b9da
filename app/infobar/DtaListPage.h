#pragma once
// The "Dta files" page of the Info Bar: the spectra of the search being run or loaded, one row
// per spectrum file with its scan range and charge and its search time. Rows arrive one by one
// through the main window's messages; a click on a row's scan cell shows that spectrum's output
// file.

#include "SheetPage.h"
#include "grids/ListGrids.h"

class QLabel;

namespace zar {

class CDtaListPage : public CSheetPage, public CDtaListGridOwner {
    Q_OBJECT
  public:
    static constexpr int kInitialRows = 500;
    static constexpr int kRowGrowth = 10;
    static constexpr int kScanColumnWidth = 100;
    static constexpr int kTimeColumnWidth = 70;

    explicit CDtaListPage(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;

    // The number of files to come: the list is cleared (and grown when it is shorter).
    void SetCount(int count);
    // Row (1-based) gets a spectrum file's scan text and output-file name.
    void SetEntry(int row, const QString& name);
    // Row gets its search time in seconds.
    void SetTime(int row, double seconds);
    // Clears every row; the titles stay.
    void ClearList();
    // The Info Bar's refresh: now when the page has its window, else on its next activation.
    void Refresh();
    void FitColumns() override;

    // "first - last, +charge" (or "first, +charge") of a spectrum file name; the name itself when
    // it holds no scan range and charge.
    static QString ScanText(const QString& name);
    // The output file of a spectrum file name: blanks removed, ".out" in place of ".dta".
    static QString OutputName(const QString& name);
    // The results folder whose output files a click shows; empty when there are no results.
    static QString CurrentResultsFolder();

    // CDtaListGridOwner
    void ShowOutputFile(const QString& outputName) override;

    CDtaListGrid* Grid() const { return grid_; }
    int RowCount() const { return rowCount_; }
    bool RefreshPending() const { return refreshPending_; }

  private:
    void growTo(int row);

    CDtaListGrid* grid_ = nullptr;
    QLabel* info_ = nullptr;
    int rowCount_ = kInitialRows;
    bool initialised_ = false;
    bool refreshPending_ = false;
};

}  // namespace zar
