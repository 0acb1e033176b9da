#pragma once
// The "ZARMASS Results" page of the Info Bar: the charge states the protein-mass deconvolution
// identified, one row per peak with its m/z and charge, as the deconvolution posts them. The
// grid can be sent to Excel.

#include "SheetPage.h"

class QLabel;

namespace zar {

class CZarmassResultsGrid;

class CZarmassPage : public CSheetPage {
    Q_OBJECT
  public:
    static constexpr int kRows = 250;
    static constexpr int kMzColumnWidth = 90;
    static constexpr int kChargeColumnWidth = 80;

    explicit CZarmassPage(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;

    // Rows 1..250 take values; others, and calls before the page has its window, change nothing.
    void SetMz(int row, double mz);
    void SetCharge(int row, int charge);
    void ClearList();
    // The Info Bar's refresh: now when the page has its window, else on its next activation.
    void Refresh();
    // Exports the grid to a workbook next to the run; the exporter's code.
    int OnExportExcel(QString* outputPath = nullptr);

    CZarmassResultsGrid* Grid() const { return grid_; }
    // "Average MW:", whose text the deconvolution sheet sets; null before the page has its window.
    QLabel* AverageMwText() const { return averageMw_; }
    bool RefreshPending() const { return refreshPending_; }

    void FitColumns() override;

  protected:
    // "&Export" > "&Excel".
    void OnContextMenu(const QPoint& global) override;

  private:

    CZarmassResultsGrid* grid_ = nullptr;
    QLabel* averageMw_ = nullptr;
    QLabel* chargeInfo_ = nullptr;
    int rowCount_ = kRows;
    bool initialised_ = false;
    bool refreshPending_ = false;
};

}  // namespace zar
