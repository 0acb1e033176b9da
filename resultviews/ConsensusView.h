#pragma once
// The protein-level table of a loaded search, below the summary table: one row per protein with
// at least one peptide entry that passes the summary options, with its score, the sizes of its
// five entry groups and the entries that pass.

#include "ZarViewWidget.h"
#include "grids/ResultGrids.h"

#include <vector>

namespace zar {

class CConsensusView : public CZarViewWidget, public CConsensusGridOwner {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CConsensusView";

    explicit CConsensusView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return kClassName; }
    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // CConsensusGridOwner: false for a row without a protein, so that its click is ignored.
    bool GetRowEntry(int row, ConsensusRowEntry& entry) const override;

    void FillTable();
    void OnDisplayOptions();
    int OnExportExcel(QString* outputPath = nullptr);

    CConsensusGrid* Grid() const { return grid_; }
    // File > Print, Page Setup and Page Header and Footer print the table.
    CGXGridWnd* PrintableGrid() const override { return grid_; }
    QString PrintTitle() const override { return QStringLiteral("Consensus"); }
    int RowEntryCount() const { return static_cast<int>(entries_.size()); }

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void SetupRows(int kept, bool singleScore);
    void ClearTable();
    void FitColumns();

    CConsensusGrid* grid_;
    std::vector<ConsensusRowEntry> entries_;
    int rows_ = 50;
    bool initialised_ = false;
};

}  // namespace zar
