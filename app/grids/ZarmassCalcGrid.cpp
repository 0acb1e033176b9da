#include "ZarmassCalcGrid.h"

namespace zar {

bool CZarmassCalcGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty()) return true;
    double value = 0;
    if (!ReadGridNumber(text, value)) {
        SetWarningText(QStringLiteral("Please enter only numeric values for the modification"));
        SetValueRange(row, col, 0.0);
        return false;
    }
    if (value < kMinValue || value > kMaxValue) {
        SetWarningText(QStringLiteral("Please enter a value between 100.0 - 200000.0!"));
        SetValueRange(row, col, 0.0);
        return false;
    }
    return true;
}

void CZarmassCalcGrid::OnCellChanged(int, int) {
    if (owner_) owner_->EnableCalculation();
}

bool CZarmassCalcGrid::OnGridKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_Delete || (modifiers & Qt::ShiftModifier)) return false;
    if (state() == QAbstractItemView::EditingState) return false;
    int row = 0, col = 0;
    if (!GetCurrentCell(row, col)) return false;
    DeleteAndCompact();
    return true;
}

void CZarmassCalcGrid::DeleteAndCompact() {
    DeleteSelectedCells();
    viewport()->update();
    QStringList values;
    for (int r = 1; r <= GetRowCount(); ++r) {
        const QString v = GetValueRowCol(r, 1);
        if (!v.isEmpty()) values.append(v);
    }
    ClearCells(CGXRange::cells(1, 1, GetRowCount(), GetColCount()));
    for (int i = 0; i < values.size() && i < GetRowCount(); ++i) {
        double number = 0;
        if (ReadGridNumber(values[i], number)) SetValueRange(i + 1, 1, number);
        else SetValueRange(i + 1, 1, values[i]);
    }
    if (owner_) {
        owner_->EnableCalculation();
        owner_->SetCappedValue(static_cast<int>(values.size()) + 1);
    }
}

}  // namespace zar
