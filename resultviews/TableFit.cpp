#include "TableFit.h"

#include "grid/GridWnd.h"

#include <algorithm>

namespace zar {

void SpreadSpareWidth(CGXGridWnd& grid, std::initializer_list<std::pair<int, int>> columns) {
    if (columns.size() == 0) return;
    int total = 0;
    for (int c = 1; c <= grid.GetColCount(); ++c) total += grid.GetColWidth(c);
    const int spare = (grid.viewport()->width() - total - 1) / static_cast<int>(columns.size());
    for (const auto& [column, minimum] : columns)
        grid.SetColWidth(column, std::max(grid.GetColWidth(column) + spare, minimum));
}

}  // namespace zar
