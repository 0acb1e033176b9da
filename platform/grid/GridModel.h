#pragma once
// The cell store behind a grid: values (text or number) and styles of rows 0..R and
// columns 0..C in grid numbering, kept compact so that a table of 100,000 rows stays small and
// fills fast: cells are stored column by column, numbers as numbers, a text that repeats once.
// Row 0 holds the titles and column 0 the row headers; the table model shows rows 1..R and
// columns 1..C, and formats each cell only when the view asks for it.

#include "core/UninitializedAllocator.h"
#include "grid/GridStyle.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
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
    // A number, or the index of a text in the text pool; which one the cell's kind says.
    union Value {
        double number;
        std::int32_t text;
    };
    // Maps the pages of a large new block at once, which costs a fraction of taking the page
    // faults one by one as the cells are first written.
    struct Prefault {
        static void Allocated(void* block, std::size_t bytes);
    };
    // The cells of one column, rows 0..rows_, stored by type: a kind byte per cell, and numbers as
    // numbers and texts as pool indexes side by side.
    struct Column {
        std::vector<Kind> kinds;
        // Left uninitialised: a value is read only where its cell's kind says it holds one, so
        // growing a column to 100,000 rows writes nothing.
        std::vector<Value, UninitializedAllocator<Value, Prefault>> values;
        std::vector<std::uint16_t> styles;  // empty until a cell of the column gets a style of its own
        // Texts are looked up in the pool while the column's texts repeat; a column of unique texts
        // (scan numbers, file names) stops looking.
        bool intern = true;
        std::int32_t textsStored = 0;
        std::int32_t textsNew = 0;
    };

    bool inTable(int row, int col) const { return row >= 0 && col >= 0 && row <= rows_ && col <= cols_; }
    Column& column(int col) { return columns_[static_cast<std::size_t>(col)]; }
    const Column& column(int col) const { return columns_[static_cast<std::size_t>(col)]; }
    Kind kindAt(int row, int col) const { return column(col).kinds[static_cast<std::size_t>(row)]; }
    std::uint16_t styleAt(int row, int col) const {
        const Column& c = column(col);
        return c.styles.empty() ? 0 : c.styles[static_cast<std::size_t>(row)];
    }
    void resizeColumn(Column& c, int rows);
    // The cell's effective style, worked out on the first call for a cell and kept in `style`.
    const CGXStyle& styleOnce(int row, int col, std::optional<CGXStyle>& style) const;
    QString displayText(int row, int col, std::optional<CGXStyle>& style) const;
    QVariant roleData(int row, int col, int role, std::optional<CGXStyle>& style) const;
    std::uint16_t internStyle(const CGXStyle& style);
    void cellChanged(int row, int col);
    void storeText(int row, int col, const QString& text);
    // Empties a cell, giving its text back to the pool.
    void dropValue(Column& c, int row);
    void dropValues(Column& c, int fromRow, int toRow);
    std::int32_t addText(Column& c, const QString& text);
    void releaseText(std::int32_t id);

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Column> columns_;
    // Every cell text once per distinct text where the columns repeat them, with the number of
    // cells that hold it; freed slots are reused.
    std::vector<QString> texts_;
    std::vector<std::uint32_t> textUses_;
    std::vector<std::int32_t> freeTexts_;
    QHash<QString, std::int32_t> textIndex_;
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
