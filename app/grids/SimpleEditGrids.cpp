#include "SimpleEditGrids.h"

namespace zar {

void CFilterGrid::OnModifyCell(int row, int col) {
    // A changed selection is drawn at once.
    if (col == 1) update(visualRect(GetModel()->index(row - 1, col - 1)));
}

void CDisulfideGrid::OnModifyCell(int row, int col) {
    if (col == 2) update(visualRect(GetModel()->index(row - 1, col - 1)));
}

}  // namespace zar
