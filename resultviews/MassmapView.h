#pragma once
// The table of a loaded peptide-mapping search, the lower pane of the peptide-mapping layout:
// one bold grey row per protein, each followed by its matches that pass the peptide-mapping
// options. A click on a title sorts the matches of every protein; a click on a cell opens the
// results window on the view of its column.

#include "ProteinTableView.h"

namespace zar {

class CMassmapResults;

class CMassmapView : public CProteinTableView {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CMassmapView";
    static constexpr int kColumns = 7;

    explicit CMassmapView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return kClassName; }
    QString PrintTitle() const override { return QStringLiteral("Peptide Mapping"); }

    void SortByColumn(int row, int col) override;
    void OnDisplayOptions() override;

  protected:
    CSearchResults* DocumentSet() const override;
    ResultsDisplayOptions& DocumentOptions() const override;
    ProteinTableSelection Select(CSearchResults& set, const ResultsDisplayOptions& o) override;
    Layout TableLayout(const ResultsDisplayOptions& o) const override;
    QString ScanTitle(bool showTimes) const override;
    double ProteinScore(const CProteinRecord& protein,
                        const ResultsDisplayOptions& o) const override;
    void WriteMatchRow(int row, const CConsensusRow& match,
                       const ResultsDisplayOptions& o) override;
    QString ExportTemplate() const override { return QStringLiteral("PeptideMapping.xlt"); }
    QString ExportReport() const override { return QStringLiteral("PeptideMapping"); }
};

// Sort key of a click on a title of the peptide-mapping table, -1 for a title that does not
// sort. Row 0 holds the protein titles, row 1 the match titles.
int MassmapTitleToSortKey(int row, int col);

}  // namespace zar
