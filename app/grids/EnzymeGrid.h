#pragma once
// The enzyme editor's table: name, offset, cleavage residues and blocking residues.

#include "grid/GridWnd.h"

namespace zar {

class CEnzymeGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetToolTip(int row, int col, const QString& text);

protected:
    // Row 1, "No_Enzyme", stays as it is.
    bool CanEditCell(int row, int) override { return row != 1; }
    bool OnValidateCell(int row, int col) override;
    bool HasContextMenu() const override { return false; }
};

}  // namespace zar
