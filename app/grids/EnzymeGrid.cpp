#include "EnzymeGrid.h"

#include "GridValidation.h"
#include "ModificationGrid.h"

namespace zar {

void CEnzymeGrid::SetToolTip(int row, int col, const QString& text) { SetGridToolTip(*this, row, col, text); }

bool CEnzymeGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty()) return true;
    if (col == 2) {
        double value = 0;
        if (!ReadGridNumber(text, value)) {
            SetWarningText(QStringLiteral("Please enter only numeric values for the offset"));
            SetValueRange(row, col, 0.0);
            return false;
        }
        if (value < 0) {
            SetWarningText(QStringLiteral("Please enter a value greater than or equal to zero"));
            SetValueRange(row, col, 0.0);
            return false;
        }
        return true;
    }
    if (col >= 3 && !OnlyResidues(text, kEnzymeResidueAlphabet)) {
        SetWarningText(QStringLiteral("Please enter only amino acid residues"));
        SetValueRange(row, col, QStringLiteral("-"));
        return false;
    }
    return true;
}

}  // namespace zar
