#pragma once
// The "Filters" pages of the results options sheet, in three sets: the summary set (summary and
// consensus tables), the multiple-file consensus set and the peptide-mapping set, the last two
// reduced variants of the first. Each page keeps its values in plain fields: the sheet's setters
// push values in (the controls follow at once) and the sheet reads the fields when it closes.

#include "PageRadios.h"
#include "document/ResultsDisplayOptions.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace zar {

class CFilterGrid;
class CSearchResults;

class CSummaryFilterPage : public QWidget {
    Q_OBJECT
  public:
    // Filter modes and threshold kinds of the radio groups.
    static constexpr int kFilterModes = 6;
    static constexpr int kThresholdKinds = 7;
    // Grid menu commands.
    static constexpr int kCheckAll = 9242;
    static constexpr int kCheckNone = 9243;
    static constexpr int kCheckInvert = 9244;

    explicit CSummaryFilterPage(QWidget* parent = nullptr)
        : CSummaryFilterPage(ResultsPageSet::Summary, parent) {}
    ResultsPageSet PageSet() const { return set_; }

    // Setters of the sheet.
    void SetFilterMode(int mode);
    void SetThresholdKind(int kind);
    void SetThreshold(double value);
    void SetReferenceText(const QString& text);
    void SetSummaryRows(int rows);
    void SetConsensusRows(int rows);
    void SetSingleScore(int singleScore);

    // Fields.
    int filterMode = 0;
    int thresholdKind = 0;
    double singleThreshold = 1.0;
    QString referenceText;
    int summaryRows = 0;
    int consensusRows = 0;
    double xcorr = 1.0;
    double deltaCn = 0.085;
    double sp = 500.0;
    int rsp = 5;
    int criteria = 4;
    int ionsPercent = 30;
    int singleScore = 0;
    // Single thresholds remembered per kind (index = kind; 0 and any other kind unused).
    std::array<double, kThresholdKinds> remembered{0.0, 1.0, 0.085, 500.0, 5.0, 30.0, 10.0};

    // Data exchange: fields -> controls (show/hide first) and controls -> fields.
    void LoadControls();
    void StoreControls();
    // The OK/Apply step: in mode 4 writes every row's check into the hit's shown flag.
    void StoreStep();
    // Fills the dta grid from the document's search-engine result set.
    void FillGrid();
    // "&All", "&None", "&Invert" of the grid's menu; nothing outside mode 4.
    void OnGridCheckCommand(int command);

    CFilterGrid* Grid() const { return grid_; }
    QWidget* ThresholdEdit() const;  // the edit shown for the single threshold (8860 or 8861)
    QDoubleSpinBox* SingleThresholdEdit() const { return singleEdit_; }
    QLineEdit* ReferenceEdit() const { return referenceEdit_; }
    QButtonGroup* ModeGroup() const { return modeGroup_; }
    QButtonGroup* KindGroup() const { return kindGroup_; }
    QString SummaryCountText() const;
    QString ConsensusCountText() const;

  protected:
    CSummaryFilterPage(ResultsPageSet set, QWidget* parent);
    bool event(QEvent* e) override;

  private:
    // The result set and scans-or-times flag the dta grid shows.
    CSearchResults* GridSet() const;
    bool GridShowsTimes() const;
    bool Remembers(int kind) const;

    ResultsPageSet set_;
    void showHide();
    void onModeClicked(int mode);
    void onKindClicked(int kind);
    void applySingleScore();

    QButtonGroup* modeGroup_;
    QButtonGroup* kindGroup_;
    QWidget* rowsBox_;
    QWidget* singleBox_;
    QWidget* multipleBox_;
    QSpinBox* summaryRowsEdit_;
    QSpinBox* consensusRowsEdit_;
    QDoubleSpinBox* singleEdit_;
    QLineEdit* referenceEdit_;
    QDoubleSpinBox* xcorrEdit_;
    QDoubleSpinBox* deltaCnEdit_;
    QDoubleSpinBox* spEdit_;
    QSpinBox* rspEdit_;
    QSpinBox* criteriaEdit_;
    QSpinBox* ionsEdit_;
    QLabel* summaryCount_;
    QLabel* consensusCount_;
    CFilterGrid* grid_;
    bool gridFilled_ = false;
};

// The peptide-mapping Filters page: modes 0, 1, 2, 4 and 5, the kinds Sp, Percent Ions and
// Consensus, one row limit, the dta grid.
class CMassmapFilterPage : public CSummaryFilterPage {
    Q_OBJECT
  public:
    explicit CMassmapFilterPage(QWidget* parent = nullptr)
        : CSummaryFilterPage(ResultsPageSet::Massmap, parent) {}
};

// The multiple-file consensus Filters page: modes 0 to 3, one row limit, no dta grid.
class CConsensusFilterPage : public CSummaryFilterPage {
    Q_OBJECT
  public:
    explicit CConsensusFilterPage(QWidget* parent = nullptr)
        : CSummaryFilterPage(ResultsPageSet::Consensus, parent) {}
};

}  // namespace zar
