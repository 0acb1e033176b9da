#pragma once
// The ion grid of a view as the fragment-ion engine writes it: residue cells as read-only
// centred text, ion masses as numbers, matched ions in their label colour.

#include "spectrumviews/PepmatchData.h"

class QContextMenuEvent;
class QEvent;
class QWidget;

namespace zar {

class CGXGridWnd;

class CIonGridSink : public IIonGridSink {
  public:
    explicit CIonGridSink(CGXGridWnd& grid) : grid_(grid) {}

    int rowCount() const override;
    int columnCount() const override;
    void clearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) override;
    void setTextCell(int row, int column, const QString& text) override;
    void setNumberCell(int row, int column, const QString& text, bool coloured,
                       ColorRef color) override;

  private:
    CGXGridWnd& grid_;
};

// Decimals the ion grids show.
constexpr int kIonGridDecimals = 2;

// The ion grids' columns and titles (row 0, columns 1 to 18).
void SetUpIonGridColumns(CGXGridWnd& grid);
// Width of an ion grid's mass column: `least`, or more where a mass of five digits needs it in
// the grid's font.
int IonMassColumnWidth(const CGXGridWnd& grid, int least);
// The ion grids' printed margins, in points: 72 at the top, 48 at the left and bottom, 24 at
// the right, on the program printer's paper.
void SetIonGridPrintMargins(CGXGridWnd& grid);
// Whether an event is the right click a grid posts to its parent.
bool IsGridContextMenu(QEvent* event);
// Whether a context-menu event of the grid's parent is the one that follows a right click on the
// grid: the grid has asked for the menu already (IsGridContextMenu), so it is not shown again.
bool FollowsGridRightClick(const QContextMenuEvent* event, const QWidget* grid);

}  // namespace zar
