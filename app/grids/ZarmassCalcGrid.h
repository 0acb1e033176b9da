#pragma once
// The m/z values of the ZARMASS calculation and deconvolution pages.

#include "grid/GridWnd.h"

namespace zar {

// The property sheet that owns the grid.
class CZarmassCalcGridOwner {
public:
    virtual ~CZarmassCalcGridOwner() = default;
    virtual void EnableCalculation() = 0;
    virtual void SetCappedValue(int count) = 0;
};

class CZarmassCalcGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    static constexpr double kMinValue = 100.0;
    static constexpr double kMaxValue = 200000.0;

    void SetGridOwner(CZarmassCalcGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

    // Deletes the selected cells and moves the remaining values of column 1 up, in order.
    void DeleteAndCompact();

protected:
    bool CanEditCell(int, int) override { return true; }
    bool OnValidateCell(int row, int col) override;
    void OnCellChanged(int row, int col) override;
    bool OnLButtonClickedRowCol(int, int, Qt::KeyboardModifiers, const QPoint&) override { return true; }
    bool OnGridKeyDown(int key, Qt::KeyboardModifiers modifiers) override;

private:
    CZarmassCalcGridOwner* owner_ = nullptr;
};

}  // namespace zar
