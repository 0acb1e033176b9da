#pragma once
// Grids whose clicks go to their owner: de novo candidates, Pepmap peptides, MSn scans and
// the .dta files of a search.

#include "grid/GridWnd.h"

namespace zar {

class CDenovoGridOwner {
public:
    virtual ~CDenovoGridOwner() = default;
    virtual void ParseCandidateCell(int row) = 0;
};

class CDenovoGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CDenovoGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) override;

private:
    CDenovoGridOwner* owner_ = nullptr;
};

class CPepmapGridOwner {
public:
    virtual ~CPepmapGridOwner() = default;
    // Number of peptides of the document's digest; 0 when there is no digest.
    virtual int PeptideCount() const = 0;
    virtual void SortPeptides(int mode) = 0;
};

class CPepmapGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CPepmapGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }
    // The sort mode a title column stands for; -1 for none.
    static int SortModeForColumn(int col);

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) override;

private:
    CPepmapGridOwner* owner_ = nullptr;
};

class CMSnListGridOwner {
public:
    virtual ~CMSnListGridOwner() = default;
    virtual void ShowExperimentScans(int row) = 0;
};

class CMSnListGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CMSnListGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) override;

private:
    CMSnListGridOwner* owner_ = nullptr;
};

class CDtaListGridOwner {
public:
    virtual ~CDtaListGridOwner() = default;
    // Shows the output file named in column 0 of a row.
    virtual void ShowOutputFile(const QString& outputName) = 0;
};

class CDtaListGrid : public CGXGridWnd {
public:
    using CGXGridWnd::CGXGridWnd;
    void SetGridOwner(CDtaListGridOwner* owner) { owner_ = owner; CGXGridWnd::SetGridOwner(reinterpret_cast<std::uintptr_t>(owner)); }

protected:
    bool CanEditCell(int, int) override { return false; }
    bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers, const QPoint&) override;

private:
    CDtaListGridOwner* owner_ = nullptr;
};

}  // namespace zar
