#include "EnzymeGrid.h"

#include "GridValidation.h"
#include "ModificationGrid.h"
#include "document/EnzymeTable.h"

#include <algorithm>

namespace zar {

void CEnzymeGrid::SetToolTip(int row, int col, const QString& text) { SetGridToolTip(*this, row, col, text); }

bool CEnzymeGrid::OnValidateCell(int row, int col) {
    const QString text = GetCurrentText();
    if (text.isEmpty()) return true;
    // The table keeps each field as one blank-free word of limited length: a longer text or a
    // name with blanks would come back cut or split when the table is read again. Such an entry
    // is refused and the cell keeps what it held.
    const int longest =
        col == 1 ? EnzymeRecord::kNameCapacity - 1 : EnzymeRecord::kResiduesCapacity - 1;
    if (col != 2 && text.size() > longest) {
        SetWarningText(QStringLiteral("Please enter no more than %1 characters").arg(longest));
        return false;
    }
    if (col == 1) {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); })) {
            SetWarningText(QStringLiteral("Please enter the enzyme name without blanks"));
            return false;
        }
        return true;
    }
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
