#pragma once
// The protein consensus table of File > Open Multiple Results, shown by itself: one bold grey
// row per protein of the combined result folders, each followed by its matches that pass the
// multiple-file consensus options, with the file each came from. Full layout (XCorr, Delta Cn,
// Sp, RSp) or, with the options' score-only flag, the combined score alone.

#include "ProteinTableView.h"

namespace zar {

class CMultiConsensusView : public CProteinTableView {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CMultiConsensusView";
    static constexpr int kFullColumns = 10;
    static constexpr int kScoreOnlyColumns = 7;

    explicit CMultiConsensusView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return kClassName; }
    QString PrintTitle() const override { return QStringLiteral("Multiple File Consensus"); }

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
    QString ExportTemplate() const override { return QStringLiteral("MultiConsensus.xlt"); }
    QString ExportReport() const override { return QStringLiteral("MultipleFileConsensus"); }
};

// Sort key of a click on a title of the multiple-file consensus table in the full or the
// score-only layout, -1 for a title that does not sort.
int MultiConsensusTitleToSortKey(int row, int col, bool singleScore);

}  // namespace zar
