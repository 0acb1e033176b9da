#pragma once
// The digest limits of the Pepmap options: one row per limit (names in the row headers), the
// minimum in column 1 and the maximum in column 2.

#include "grid/GridWnd.h"

namespace zar {

class CPepmapOptionsGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    static constexpr double kMaxRow2Value = 10000.0;

protected:
    // Both limits of a row are the user's to set.
    bool CanEditCell(int, int col) override { return col >= 1; }
    bool OnValidateCell(int row, int col) override;
    bool HasContextMenu() const override { return false; }
};

}  // namespace zar
