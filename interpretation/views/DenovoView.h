#pragma once
// The middle pane of the de novo layout: the ranked candidates of the de novo engine in a grid.
// A click on a sequence tells the main window which candidate to mark in the spectra; the grid
// prints with its page set-up and header and footer, and its context menu opens the de novo
// settings.

#include "HighlightedPane.h"
#include "grids/ListGrids.h"
#include "interpretation/DenovoTypes.h"

#include <memory>

class QMenu;

namespace zar {

class CDenovoView : public CHighlightedPane, public CDenovoGridOwner {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CDenovoView";
    static constexpr int kFormId = 8603;
    static constexpr int kGridId = 8602;
    static constexpr int kContextMenuId = 9335;
    static constexpr int kInitialRows = 50;
    static constexpr int kColumns = 6;
    static constexpr int kSequenceColumn = 2;
    static constexpr int kSequenceWidth = 400;

    explicit CDenovoView(QWidget* parent = nullptr);
    const char* ViewClassName() const override { return kClassName; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // Fills the grid from the engine's ranked candidates; returns their count.
    int FillGrid();
    void RedrawGrid();
    // CDenovoGridOwner: the sequence cell of a row was clicked.
    void ParseCandidateCell(int row) override;
    // Actions > DeNovo...: the main window shows the settings dialog.
    void OnDeNovo();
    // The context menu as it would be shown now.
    std::unique_ptr<QMenu> BuildContextMenu();

    // File > Print, Page Setup and Page Header and Footer act on the grid.
    CGXGridWnd* PrintableGrid() const override { return grid_; }
    QString PrintTitle() const override { return QStringLiteral("Denovo"); }

    CDenovoGrid* Grid() const { return grid_; }
    int RowCount() const { return rows_; }
    const DenovoSelectionRecord& Selection() const { return selection_; }
    bool IsFilling() const { return filling_; }

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void FitColumns();

    CDenovoGrid* grid_;
    int rows_ = kInitialRows;
    bool filling_ = false;
    bool initialised_ = false;
    DenovoSelectionRecord selection_;
};

}  // namespace zar
