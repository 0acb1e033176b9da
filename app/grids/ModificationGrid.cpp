#include "ModificationGrid.h"

#include "GridValidation.h"
#include "core/Numbers.h"

namespace zar {

void SetGridToolTip(CGXGridWnd& grid, int row, int col, const QString& text) {
    const CGXStyle tip = CGXStyle().setToolTip(text);
    if (row == 0) grid.SetStyleRange(CGXRange::cols(col, col), tip);
    else if (col == 0) grid.SetStyleRange(CGXRange::rows(row, row), tip);
    else grid.SetStyleRange(CGXRange::cell(row, col), tip);
}

bool ValidateModificationMass(CGXGridWnd& grid, int row, int col, const QString& text) {
    double value = 0;
    if (!ReadGridNumber(text, value)) {
        grid.SetWarningText(QStringLiteral("Please enter only numeric values for the modification"));
        grid.SetValueRange(row, col, 0.0);
        return false;
    }
    if (value < kMinModificationMass || value > kMaxModificationMass) {
        grid.SetWarningText(QCFormat("Please enter a value between %.1lf - %.1lf!", kMinModificationMass, kMaxModificationMass));
        grid.SetValueRange(row, col, 0.0);
        return false;
    }
    return true;
}

bool CModificationGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty()) return true;
    if (col == 1) {
        if (OnlyResidues(text, kResidueAlphabet)) return true;
        SetWarningText(QStringLiteral("Please enter only amino acid residues"));
        SetValueRange(row, col, QString());
        return false;
    }
    if (col == 2) return ValidateModificationMass(*this, row, col, text);
    return true;
}

bool CTerminalModificationGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty() || col != 2) return true;
    return ValidateModificationMass(*this, row, col, text);
}

}  // namespace zar
