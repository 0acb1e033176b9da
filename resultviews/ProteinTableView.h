#pragma once
// Base of the two protein tables with match rows: the peptide-mapping table and the
// multiple-file consensus table. Two title rows (row 0 for the protein rows, row 1 for the
// match rows), then one bold grey row per protein followed by one row per match that passes
// the filter. The base owns the grid, the row map and everything the twins share (set-up,
// growing, fitting, the protein rows, the context menu, export, printing); each twin says
// which set, options and columns it shows and writes its match rows.

#include "ConsensusView.h"
#include "ProteinTableFilter.h"
#include "ZarViewWidget.h"
#include "grids/ResultGrids.h"

#include <vector>

namespace zar {

class CProteinTableView : public CZarViewWidget, public CProteinTableGridOwner {
    Q_OBJECT
  public:
    // First grid row of the table's data; rows 0 and 1 hold the titles.
    static constexpr int kFirstDataRow = 2;
    static constexpr int kSequenceColumn = 4;
    static constexpr int kScoreColumn = 5;
    static constexpr int kHitsColumn = 6;
    static const QColor kProteinRowColour;

    void OnInitialUpdate() override;
    // Refills on the document-wide hints and this table's layout and sort hints; hint 5 redraws.
    void OnUpdate(CZarView* sender, int hint) override;

    // CProteinTableGridOwner: false for the title rows and rows past the table.
    bool GetRowInfo(int row, ConsensusRowEntry& entry) const override;

    void FillTable();
    // Commands of the context menu; the export returns the exporter's code.
    virtual void OnDisplayOptions() = 0;
    int OnExportExcel(QString* outputPath = nullptr);

    CMassmapGrid* Grid() const { return grid_; }
    CGXGridWnd* PrintableGrid() const override { return grid_; }
    int RowEntryCount() const { return static_cast<int>(entries_.size()); }
    const std::vector<ConsensusRowEntry>& RowEntries() const { return entries_; }

  protected:
    struct Column {
        const char* title;  // of the match title row
        int width;
        bool numeric;  // right-aligned
        int decimals;  // fixed-point places of numbers; -1 for none
    };
    struct Layout {
        std::vector<Column> columns;
        int sequenceMinimum;  // the Sequence column never narrows below this
        int scoreDecimals;    // of the protein rows' score
    };

    // layoutHint refills the table when its results are loaded or its options change,
    // sortedHint after a title click.
    CProteinTableView(CMassmapGrid* grid, long layoutHint, long sortedHint, QWidget* parent);

    // The document's set of this table.
    virtual CSearchResults* DocumentSet() const = 0;
    // That set when it is loaded and no load is running; null otherwise.
    CSearchResults* ReadySet() const;
    // The document's options record of this table.
    virtual ResultsDisplayOptions& DocumentOptions() const = 0;
    virtual ProteinTableSelection Select(CSearchResults& set, const ResultsDisplayOptions& o) = 0;
    virtual Layout TableLayout(const ResultsDisplayOptions& o) const = 0;
    virtual QString ScanTitle(bool showTimes) const = 0;
    virtual double ProteinScore(const CProteinRecord& protein,
                                const ResultsDisplayOptions& o) const = 0;
    virtual void WriteMatchRow(int row, const CConsensusRow& match,
                               const ResultsDisplayOptions& o) = 0;
    virtual QString ExportTemplate() const = 0;
    virtual QString ExportReport() const = 0;

    // The hit record of a match row, found by its hit number; null when the set has none.
    const SearchHitRecord* HitOf(const CConsensusRow& match) const;
    // A number cell, or an empty text for a count of 0 or less.
    void SetCountCell(int row, int col, int count);

    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void SetupTable(int count, const Layout& layout);
    void WriteTitles(const Layout& layout);
    void AddRows(int n);
    // Data rows from..to: white, normal weight, the columns' alignments and number formats.
    void AddRowStyles(int from, int to);
    void WriteProteinRow(int row, int ordinal, const CProteinRecord& protein, double score,
                         int scoreDecimals);
    void ClearTable();
    void FitColumns();
    void WidenScoreColumn(const ProteinTableSelection& selection, const CSearchResults& set,
                          const ResultsDisplayOptions& o, int decimals);

    CMassmapGrid* grid_;
    long layoutHint_;
    long sortedHint_;
    std::vector<ConsensusRowEntry> entries_;
    Layout layout_;
    int rows_ = 50;
    bool initialised_ = false;
};

}  // namespace zar
