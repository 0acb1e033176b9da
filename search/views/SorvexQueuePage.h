#pragma once
// "SORVEX Queue" of the Sorvex sheet: run the search directly or through the queue, with a
// priority. The queue can be chosen only when the launcher reaches the search daemon.

#include "SearchPageBase.h"

class QButtonGroup;

namespace zar {

class CSorvexQueueGrid;

class CSorvexQueuePage : public CSearchPageBase {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 9073;
    static constexpr int kDirectlyId = 9074;
    static constexpr int kThroughQueueId = 9075;
    static constexpr int kPriorityLabelId = 9079;
    static constexpr int kHighId = 9080;
    static constexpr int kNormalId = 9081;
    static constexpr int kLowId = 9082;
    static constexpr int kGridId = 9083;
    static constexpr int kMinimumLastColumn = 50;
    static constexpr QRgb kGreyInterior = 0xFFC8C8C8;  // (200, 200, 200)

    explicit CSorvexQueuePage(CSearchPropertySheet* sheet);
    CSorvexQueueGrid* Grid() const { return grid_; }

    // Enables what the current run choice allows.
    void ShowControls();
    // The last column takes the width the others leave.
    void LayoutGrid();
    void OnRunChoiceClicked(int choice);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QButtonGroup* runChoice_;
    QButtonGroup* priority_;
    CSorvexQueueGrid* grid_;
};

}  // namespace zar
