#pragma once
// Differential modifications (residues and mass) and terminal modifications (mass) of the
// search-parameter pages and the database indexer.

#include "grid/GridWnd.h"

namespace zar {

// Gives a cell range the tool tip: row 0 the whole column, else column 0 the whole row, else the cell.
void SetGridToolTip(CGXGridWnd& grid, int row, int col, const QString& text);

class CModificationGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetToolTip(int row, int col, const QString& text) { SetGridToolTip(*this, row, col, text); }

protected:
    bool CanEditCell(int, int) override { return true; }
    bool OnValidateCell(int row, int col) override;
};

class CTerminalModificationGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetToolTip(int row, int col, const QString& text) { SetGridToolTip(*this, row, col, text); }

protected:
    bool CanEditCell(int, int col) override { return col > 1; }
    bool OnValidateCell(int row, int col) override;
};

// The mass check both modification grids apply; false with the warning and 0 in the cell.
bool ValidateModificationMass(CGXGridWnd& grid, int row, int col, const QString& text);

}  // namespace zar
