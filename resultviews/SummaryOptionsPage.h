#pragma once
// The "Options" page of the results options sheet, in its three sets (see SummaryFilterPage.h).

#include "PageRadios.h"

#include <QWidget>

class QButtonGroup;

namespace zar {

class CSummaryOptionsPage : public QWidget {
    Q_OBJECT
  public:
    explicit CSummaryOptionsPage(QWidget* parent = nullptr)
        : CSummaryOptionsPage(ResultsPageSet::Summary, parent) {}
    void SetShowTimes(int showTimes);
    void SetScoreMethod(int method);
    void SetSingleScore(int singleScore) { this->singleScore = singleScore; }
    void LoadControls();
    void StoreControls();
    int showTimes = 0;
    int scoreMethod = 1;
    int singleScore = 0;
    QButtonGroup* DisplayGroup() const { return display_; }
    QButtonGroup* ScoreGroup() const { return score_; }

  protected:
    CSummaryOptionsPage(ResultsPageSet set, QWidget* parent);

  private:
    QButtonGroup* display_;
    QButtonGroup* score_ = nullptr;  // none on the peptide-mapping page
};

class CConsensusOptionsPage : public CSummaryOptionsPage {
    Q_OBJECT
  public:
    explicit CConsensusOptionsPage(QWidget* parent = nullptr)
        : CSummaryOptionsPage(ResultsPageSet::Consensus, parent) {}
};

class CMassmapOptionsPage : public CSummaryOptionsPage {
    Q_OBJECT
  public:
    explicit CMassmapOptionsPage(QWidget* parent = nullptr)
        : CSummaryOptionsPage(ResultsPageSet::Massmap, parent) {}
};

}  // namespace zar
