#pragma once
// The table of all scored peptide matches of a loaded search: one row per hit that passes the
// summary filter. A click on a cell opens the results window on the view of its column, on a
// title sorts the hits. Its filter writes the hits' shown flags, which the consensus table reads.

#include "ZarViewWidget.h"
#include "grids/ResultGrids.h"

#include <vector>

namespace zar {

class CSorvexResults;

class CSummaryView : public CZarViewWidget, public CSummaryGridOwner {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CSummaryView";
    static constexpr int kMenuDisplayOptions = 9221;
    static constexpr int kMenuExportExcel = 9230;
    static constexpr int kMenuExportSequence = 9231;

    explicit CSummaryView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return kClassName; }
    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // CSummaryGridOwner: the own record index (hit number - 1) of the hit in a 1-based row; -1
    // for a row without a hit.
    HitNumber GetRowHit(int row) const override;
    QString GetHitSequence(HitNumber hit) const override;
    void SortByColumn(int col) override;

    void FillTable();
    void RefreshXpressColumn();
    // Commands of the context menu; the export returns the exporter's code.
    void OnDisplayOptions();
    int OnExportExcel(QString* outputPath = nullptr);
    void OnExportSequence();

    CSummaryGrid* Grid() const { return grid_; }
    // File > Print, Page Setup and Page Header and Footer print the table.
    CGXGridWnd* PrintableGrid() const override { return grid_; }
    QString PrintTitle() const override { return QStringLiteral("Summary"); }
    int RowMapLength() const { return static_cast<int>(rowMap_.size()); }

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void SetupTable(int kept, int columns);
    void WriteRow(int row, const struct SearchHitRecord& hit, bool singleScore, bool showTimes);
    void FitColumns();
    CSorvexResults* ReadySet() const;

    CSummaryGrid* grid_;
    std::vector<HitNumber> rowMap_;  // the hit of each row
    int columns_ = 14;
    int rows_ = 50;
    bool initialised_ = false;
};

}  // namespace zar
