#pragma once
// The result tables whose cells open the results window, a BLAST look-up or a sort.

#include "document/HitNumber.h"
#include "grid/GridWnd.h"

#include <QString>

namespace zar {

// What the summary grid asks of the summary view.
class CSummaryGridOwner {
public:
    virtual ~CSummaryGridOwner() = default;
    virtual HitNumber GetRowHit(int row) const = 0;         // none for a row without a hit
    virtual QString GetHitSequence(HitNumber hit) const = 0;  // the hit's sequence text
    virtual void SortByColumn(int col) = 0;                  // a click on a title
};

class CSummaryGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    static constexpr int kFullLayoutColumns = 14;
    void SetGridOwner(CSummaryGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }
    int PressedRow() const { return pressedRow_; }
    int PressedCol() const { return pressedCol_; }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt) override;
    void OnLButtonDownRowCol(int row, int col) override;

private:
    CSummaryGridOwner* owner_ = nullptr;
    int pressedRow_ = 0;
    int pressedCol_ = 0;
};

// One data row of a protein table: a protein row names its protein, a match row its hit.
struct ConsensusRowEntry {
    static constexpr int kMatchRow = 1;
    static constexpr int kProteinRow = 2;
    int kind = kProteinRow;
    int protein = 0;  // a protein row's index among the set's proteins
    HitNumber hit;    // a match row's hit

    static ConsensusRowEntry Protein(int index) { return {kProteinRow, index, HitNumber()}; }
    static ConsensusRowEntry Match(HitNumber hit) { return {kMatchRow, 0, hit}; }
};

// What the peptide-mapping and multiple-file consensus grids ask of their views.
class CProteinTableGridOwner {
public:
    virtual ~CProteinTableGridOwner() = default;
    // The row's entry; false for none.
    virtual bool GetRowInfo(int row, ConsensusRowEntry& entry) const = 0;
    // A click on a title: row 0 the protein titles, row 1 the match titles.
    virtual void SortByColumn(int row, int col) = 0;
};

class CMassmapGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CProteinTableGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }
    int PressedRow() const { return pressedRow_; }
    int PressedCol() const { return pressedCol_; }

protected:
    // Result-set kind of the table's hits, and the columns of its display-ions and BLAST cells.
    virtual int ResultKind() const { return 2; }
    virtual int IonsColumn() const { return 6; }
    virtual int BlastResultsColumn() const { return 7; }
    virtual int LastCoverageColumn() const { return 3; }
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt) override;
    void OnLButtonDownRowCol(int row, int col) override;
    CProteinTableGridOwner* owner_ = nullptr;

private:
    int pressedRow_ = 0;
    int pressedCol_ = 0;
};

class CMultiConsensusGrid : public CMassmapGrid {
public:
    using CMassmapGrid::CMassmapGrid;

protected:
    int ResultKind() const override { return 3; }
    int IonsColumn() const override { return 9; }
    int BlastResultsColumn() const override { return 10; }
    int LastCoverageColumn() const override { return 2; }
};

// What the show-output grid asks of its view.
class CShowOutGridOwner {
public:
    virtual ~CShowOutGridOwner() = default;
    virtual HitNumber GetShownHit() const = 0;
    virtual int GetResultKind() const = 0;
};

class CShowOutGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CShowOutGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt) override;

private:
    CShowOutGridOwner* owner_ = nullptr;
};

// What the consensus grid asks of the consensus view.
class CConsensusGridOwner {
public:
    virtual ~CConsensusGridOwner() = default;
    // The row's entry; false for none.
    virtual bool GetRowEntry(int row, ConsensusRowEntry& entry) const = 0;
};

class CConsensusGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CConsensusGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt) override;

private:
    CConsensusGridOwner* owner_ = nullptr;
};

// What the BLAST grid asks of the BLAST view.
class CBlastGridOwner {
public:
    virtual ~CBlastGridOwner() = default;
    virtual int GetResultKind() const = 0;
    // The hit whose peptide the grid's proteins contain.
    virtual HitNumber GetShownHit() const = 0;
};

class CBlastGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CBlastGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }
    // Appends rows for hits that arrive; their cells get the columns' styles.
    void AddHit(int rows);
    QString PressedText() const { return pressedText_; }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt) override;
    void OnLButtonDownRowCol(int row, int col) override;

private:
    CBlastGridOwner* owner_ = nullptr;
    QString pressedText_;
};

}  // namespace zar
