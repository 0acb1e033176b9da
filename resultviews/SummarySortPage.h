#pragma once
// The "Sort" page of the results options sheet, in its three sets (see SummaryFilterPage.h).

#include "PageRadios.h"

#include <QWidget>

class QButtonGroup;

namespace zar {

class CSummarySortPage : public QWidget {
    Q_OBJECT
  public:
    explicit CSummarySortPage(QWidget* parent = nullptr)
        : CSummarySortPage(ResultsPageSet::Summary, parent) {}
    void SetSortKey(int key);
    void SetSingleScore(int singleScore);
    void LoadControls();
    void StoreControls();
    int sortKey = 0;
    int singleScore = 0;
    QButtonGroup* Group() const { return group_; }

  protected:
    CSummarySortPage(ResultsPageSet set, QWidget* parent);

  private:
    QButtonGroup* group_;
};

class CConsensusSortPage : public CSummarySortPage {
    Q_OBJECT
  public:
    explicit CConsensusSortPage(QWidget* parent = nullptr)
        : CSummarySortPage(ResultsPageSet::Consensus, parent) {}
};

class CMassmapSortPage : public CSummarySortPage {
    Q_OBJECT
  public:
    explicit CMassmapSortPage(QWidget* parent = nullptr)
        : CSummarySortPage(ResultsPageSet::Massmap, parent) {}
};

}  // namespace zar
