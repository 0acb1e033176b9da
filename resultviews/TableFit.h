#pragma once
// The result tables give the width their grid has to spare to their text columns, never
// narrowing one below its default.

#include <initializer_list>
#include <utility>

namespace zar {

class CGXGridWnd;

// Spare width = visible width - all column widths - 1, shared equally (truncated) by the given
// columns; each becomes its width + its share, but at least its minimum. {column, minimum}.
void SpreadSpareWidth(CGXGridWnd& grid, std::initializer_list<std::pair<int, int>> columns);

}  // namespace zar
