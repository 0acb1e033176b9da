#include "PepmapOptionsGrid.h"

namespace zar {

bool CPepmapOptionsGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty() || (col != 1 && col != 2)) return true;
    double value = 0;
    if (!ReadGridNumber(text, value)) {
        SetWarningText(QStringLiteral("Please enter only numeric values"));
        SetValueRange(row, col, 0.0);
        return false;
    }
    if ((row == 1 || row == 3 || row == 4) && value < 0) {
        SetWarningText(QStringLiteral("Please enter a value greater than or equal to zero"));
        SetValueRange(row, col, QStringLiteral("0"));
        return false;
    }
    if (row == 2 && (value < 0 || value > kMaxRow2Value)) {
        SetWarningText(QStringLiteral("Please enter a value between 0 - 10000.0"));
        SetValueRange(row, col, QStringLiteral("0"));
        return false;
    }
    return true;
}

}  // namespace zar
