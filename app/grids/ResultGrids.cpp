#include "ResultGrids.h"

#include "BlastLookup.h"
#include "GridServices.h"
#include "document/TextHelpers.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

namespace zar {
namespace {

SelectedResult resultFor(int kind, int viewType, HitNumber hit, int row, int col) {
    SelectedResult r;
    r.kind = kind;
    r.viewType = viewType;
    r.hit = hit;
    r.row = row;
    r.column = col;
    return r;
}

// A cell that reads as a number greater than zero.
bool positiveNumber(const CGXGridWnd& grid, int row, int col, int& value) {
    double v = 0;
    if (!ReadGridNumber(grid.GetValueRowCol(row, col).trimmed(), v) || v <= 0) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

bool CSummaryGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (!owner_) return false;
    if (row == 0) {
        owner_->SortByColumn(col);
        return true;
    }
    const HitNumber hit = owner_->GetRowHit(row);
    if (!hit.isValid()) return false;
    const bool full = GetColCount() == kFullLayoutColumns;
    const QString cell = GetValueRowCol(row, col);
    SelectedResult r = resultFor(1, 0, hit, row, col);
    int number = 0;
    switch (col) {
        case 1: r.viewType = 7; break;
        case 2: r.viewType = 3; break;
        case 4: BlastPeptide(ExtractPeptideSequence(owner_->GetHitSequence(hit))); return true;
        case 5:
            if (cell.isEmpty()) return true;
            r.viewType = 2;
            r.reference = cell;
            break;
        case 8:
            if (full) return false;
            r.viewType = 5;
            r.peptide = GetValueRowCol(row, 4);
            break;
        case 9:
            if (full) return false;
            if (!positiveNumber(*this, row, 9, number)) return true;
            r.viewType = 1;
            r.furtherReferences = number;
            break;
        case 11:
            if (full) {
                r.viewType = 5;
            } else {
                if (cell.isEmpty()) return true;
                r.viewType = 9;
            }
            break;
        case 12:
            if (!positiveNumber(*this, row, 12, number)) return true;
            r.viewType = 1;
            r.furtherReferences = number;
            break;
        case 14:
            if (cell.isEmpty()) return true;
            r.viewType = 9;
            break;
        default: return false;
    }
    if (r.peptide.isEmpty()) r.peptide = owner_->GetHitSequence(hit);
    RequestResultsWindow(r);
    return true;
}

void CSummaryGrid::OnLButtonDownRowCol(int row, int col) {
    pressedRow_ = row;
    pressedCol_ = col;
    if (!owner_) return;
    const HitNumber hit = owner_->GetRowHit(row);
    if (hit.isValid())
        PostMessage(GetGridServices().mainWindow, kMsgSummaryCellSelected, static_cast<WPARAM>(hit.value()), col);
}

bool CMassmapGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (!owner_) return false;
    if (row == 0 || row == 1) {
        owner_->SortByColumn(row, col);
        return true;
    }
    ConsensusRowEntry entry;
    if (!owner_->GetRowInfo(row, entry)) return false;
    SelectedResult r = resultFor(ResultKind(), 0, entry.hit, row, col);
    int number = 0;
    if (entry.kind == ConsensusRowEntry::kMatchRow) {
        if (col == 1) r.viewType = 7;
        else if (col == 2) r.viewType = 3;
        else if (col == 4) {
            // A match of any rank: the peptide the row shows, not the hit's top one.
            BlastPeptide(ExtractPeptideSequence(GetValueRowCol(row, 4)));
            return true;
        } else if (col == IonsColumn()) {
            r.viewType = 5;
            r.peptide = GetValueRowCol(row, 4);
        } else if (col == BlastResultsColumn()) {
            if (!positiveNumber(*this, row, col, number)) return true;
            r.viewType = 1;
            r.peptide = GetValueRowCol(row, 4);
            r.furtherReferences = number;
        } else {
            return false;
        }
    } else if (entry.kind == ConsensusRowEntry::kProteinRow) {
        r.entryIndex = entry.protein;
        if (col >= 1 && col <= LastCoverageColumn()) r.viewType = 6;
        else if (col == 4) r.viewType = 4;
        else return false;
    } else {
        return false;
    }
    RequestResultsWindow(r);
    return true;
}

void CMassmapGrid::OnLButtonDownRowCol(int row, int col) {
    pressedRow_ = row;
    pressedCol_ = col;
    // The peptide-mapping layout's trace marks the pressed match: the frame is told its hit
    // number, which names the hit however the set is sorted.
    ConsensusRowEntry entry;
    if (!owner_ || ResultKind() != 2 || !owner_->GetRowInfo(row, entry) ||
        entry.kind != ConsensusRowEntry::kMatchRow)
        return;
    PostMessage(GetGridServices().mainWindow, kMsgMassmapCellSelected, static_cast<WPARAM>(entry.hit.value()), col);
}

bool CShowOutGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (!owner_) return false;
    SelectedResult r = resultFor(owner_->GetResultKind(), 0, owner_->GetShownHit(), row, col);
    int number = 0;
    switch (col) {
        case 2: BlastPeptide(GetValueRowCol(row, 2)); return true;
        case 3:
            if (GetValueRowCol(row, 3).isEmpty()) return true;
            r.viewType = 2;
            r.reference = GetValueRowCol(row, 3);
            r.peptide = GetValueRowCol(row, 2);
            break;
        case 9:
            r.viewType = 5;
            r.peptide = GetValueRowCol(row, 2);
            r.reference = GetValueRowCol(row, 3);
            break;
        case 10:
            if (!positiveNumber(*this, row, 10, number)) return true;
            r.viewType = 1;
            r.peptide = GetValueRowCol(row, 2);
            r.reference = GetValueRowCol(row, 3);
            r.furtherReferences = number;
            break;
        default: return false;
    }
    RequestResultsWindow(r);
    return true;
}

bool CConsensusGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (row == 0) return true;
    if (!owner_) return false;
    ConsensusRowEntry entry;
    if (!owner_->GetRowEntry(row, entry)) return false;
    SelectedResult r = resultFor(1, 0, entry.hit, row, col);
    r.entryIndex = entry.protein;
    if (col == 1) r.viewType = 6;
    else if (col == 4) r.viewType = 4;
    else return false;
    RequestResultsWindow(r);
    return true;
}

void CBlastGrid::AddHit(int rows) {
    if (rows <= 0) return;
    const int first = GetRowCount() + 1;
    InsertRows(first, rows);
    const int last = GetRowCount();
    SetStyleRange(CGXRange::cells(first, 1, last, 2),
                  CGXStyle().setValueType(GridValueType::Text).setAlignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (GetColCount() > 2)
        SetStyleRange(CGXRange::cells(first, 3, last, GetColCount()),
                      CGXStyle().setValueType(GridValueType::Number).setFormat(GridNumberFormat::Fixed, 2));
}

bool CBlastGrid::OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) {
    if (row == 0) return true;
    if (col < 1 || col > 5 || GetValueRowCol(row, col).isEmpty() || !owner_) return false;
    SelectedResult r = resultFor(owner_->GetResultKind(), 2, owner_->GetShownHit(), row, col);
    r.reference = GetValueRowCol(row, 1);
    RequestResultsWindow(r);
    return true;
}

void CBlastGrid::OnLButtonDownRowCol(int row, int) {
    if (owner_) pressedText_ = GetValueRowCol(row, 2);
}

}  // namespace zar
