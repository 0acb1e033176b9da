#pragma once
// Grids whose only rule is which cells may be edited.

#include "grid/GridWnd.h"

namespace zar {

// Computers of the queue page: only column 1 may be edited.
class CSorvexQueueGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;

protected:
    bool CanEditCell(int, int col) override { return col == 1; }
};

// Result folders of the Select Results dialog: every cell may be edited.
class CSelectResultsGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;

protected:
    bool CanEditCell(int, int) override { return true; }
};

// Spectra of the filter pages: column 1 holds the selection check boxes.
class CFilterGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;

protected:
    bool CanEditCell(int, int col) override { return col == 1; }
    void OnModifyCell(int row, int col) override;
};

// Cysteine pairs of the disulfide-bond dialog: column 2 holds the link choice.
class CDisulfideGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;

protected:
    // In column 2 the cell decides: a read-only cell stays as it is.
    bool CanEditCell(int row, int col) override { return col == 2 && !GetStyleRowCol(row, col).readOnly.value_or(false); }
    void OnModifyCell(int row, int col) override;
};

}  // namespace zar
