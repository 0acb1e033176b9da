#pragma once
// The cell store behind a grid: values (text or number) and styles of rows 0..R and
// columns 0..C in grid numbering, kept compact so that a table of 100,000 rows stays small.
// Row 0 holds the titles and column 0 the row headers; the table model shows rows 1..R and
// columns 1..C, and formats each cell only when the view asks for it.

#include "grid/GridStyle.h"

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zar {

class CGXGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CGXGridModel(QObject* parent = nullptr);

    // Grid numbering: rows 1..rowCount() and columns 1..colCount() hold data.
    int GetRowCount() const { return rows_; }
    int GetColCount() const { return cols_; }
    void SetRowCount(int rows);
    void SetColCount(int cols);
    void InsertRows(int before, int count);
    void RemoveRows(int from, int to);

    void SetValue(int row, int col, const QString& text);
    void SetNumber(int row, int col, double value);
    void ClearValue(int row, int col);
    // The value's text as stored (numbers as "%.13g"); empty outside the table.
    QString GetValue(int row, int col) const;
    // The text the cell shows (numbers through the cell's number format).
    QString GetDisplayText(int row, int col) const;
    bool IsNumber(int row, int col) const;
    bool IsEmpty(int row, int col) const;
    double GetNumber(int row, int col) const;

    void SetStyle(const CGXRange& range, const CGXStyle& style);
    // The cell's effective style: grid, column, row and cell attributes laid over each other.
    CGXStyle GetStyle(int row, int col) const;
    void SetDefaultStyle(const CGXStyle& style) { defaultStyle_ = style; }

    // While locked, changes are not announced; unlocking announces them with one reset.
    void LockUpdate(bool lock);
    bool IsUpdateLocked() const { return locked_ > 0; }

    // Covered cells (spans), in grid numbering.
    struct Span {
        int top, left, bottom, right;
    };
    void SetCoveredCells(int top, int left, int bottom, int right);
    void ClearCoveredCells();
    const std::vector<Span>& GetCoveredCells() const { return spans_; }
    // The span a cell lies in, or nullptr.
    const Span* CoveredCellAt(int row, int col) const;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Whether a cell may enter editing; the grid window decides.
    using EditPolicy = std::function<bool(int row, int col)>;
    void SetEditPolicy(EditPolicy policy) { editPolicy_ = std::move(policy); }

signals:
    // A title cell changed (the header repaints).
    void titlesChanged();

private:
    enum class Kind : std::uint8_t { Empty, Text, Number };
    struct Cell {
        union {
            double number;
            std::int32_t text;  // index into texts_
        };
        Kind kind = Kind::Empty;
        std::uint16_t style = 0;  // 0: no style of its own
        Cell() : number(0) {}
    };

    bool inTable(int row, int col) const { return row >= 0 && col >= 0 && row <= rows_ && col <= cols_; }
    Cell& at(int row, int col) { return cells_[static_cast<std::size_t>(row) * (cols_ + 1) + col]; }
    const Cell& at(int row, int col) const { return cells_[static_cast<std::size_t>(row) * (cols_ + 1) + col]; }
    std::uint16_t internStyle(const CGXStyle& style);
    void cellChanged(int row, int col);
    void storeText(Cell& cell, const QString& text);

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Cell> cells_;
    std::vector<QString> texts_;
    std::vector<std::int32_t> freeTexts_;
    std::vector<CGXStyle> styles_;  // index 0 unused
    std::unordered_map<int, CGXStyle> colStyles_;
    std::unordered_map<int, CGXStyle> rowStyles_;
    CGXStyle defaultStyle_;
    std::vector<Span> spans_;
    int locked_ = 0;
    bool dirty_ = false;
    EditPolicy editPolicy_;
};

}  // namespace zar
