#pragma once
// Grids that only show values: no cell may be edited, clicks go to the grid's own handling.

#include "grid/GridWnd.h"

namespace zar {

class CDisplayOnlyGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;

protected:
    bool CanEditCell(int, int) override { return false; }
};

// ZARMASS results of the Info Bar.
class CZarmassResultsGrid : public CDisplayOnlyGrid {
public:
    using CDisplayOnlyGrid::CDisplayOnlyGrid;
};

// Proteins of the protein report (first grid).
class CProteinGrid : public CDisplayOnlyGrid {
public:
    using CDisplayOnlyGrid::CDisplayOnlyGrid;
};

// Fragment ions of the display-ions view.
class CDisplayIonsGrid : public CDisplayOnlyGrid {
public:
    using CDisplayOnlyGrid::CDisplayOnlyGrid;
};

// Protein sequences of the protein report (second grid) and the retrieve view.
class CSequenceGrid : public CDisplayOnlyGrid {
public:
    using CDisplayOnlyGrid::CDisplayOnlyGrid;
};

// Ion lists of the Pepmatch and select-ions views.
class CIonListGrid : public CDisplayOnlyGrid {
public:
    using CDisplayOnlyGrid::CDisplayOnlyGrid;
};

}  // namespace zar
