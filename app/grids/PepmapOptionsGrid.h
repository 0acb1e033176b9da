#pragma once
// The digest limits of the Pepmap options: names in column 1, values in column 2.

#include "grid/GridWnd.h"

namespace zar {

class CPepmapOptionsGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    static constexpr double kMaxRow2Value = 10000.0;

protected:
    bool CanEditCell(int, int col) override { return col != 1; }
    bool OnValidateCell(int row, int col) override;
    bool HasContextMenu() const override { return false; }
};

}  // namespace zar
