#include "ListGrids.h"

#include "GridServices.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

namespace zar {

bool CDenovoGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (col != 2 || !owner_) return false;
    owner_->ParseCandidateCell(row);
    return true;
}

int CPepmapGrid::SortModeForColumn(int col) {
    switch (col) {
        case 1: return 0;
        case 2:
        case 3:
        case 6: return 2;
        case 4: return 1;
        case 5: return 3;
        default: return -1;
    }
}

bool CPepmapGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (row != 0) return false;
    if (!owner_ || owner_->PeptideCount() < 1) return true;
    const int mode = SortModeForColumn(col);
    if (mode < 0) return true;
    owner_->SortPeptides(mode);
    PostMessage(GetGridServices().mainWindow, kMsgPepmapChanged, 0, 0);
    return true;
}

bool CMSnListGrid::OnLButtonClickedRowCol(int row, int, Qt::KeyboardModifiers, const QPoint&) {
    if (row < 1 || !owner_) return false;
    owner_->ShowExperimentScans(row);
    return true;
}

bool CDtaListGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (row > 0 && col == 1 && owner_ && !GetValueRowCol(row, 2).isEmpty())
        owner_->ShowOutputFile(GetValueRowCol(row, 0));
    return true;  // never reaches the grid's own click handling
}

}  // namespace zar
