#pragma once
// Styles of grid cells: every attribute is optional, so a cell's look is its own attributes laid
// over its row's, its column's and the grid's.

#include <QColor>
#include <QString>

#include <cstdint>
#include <optional>

namespace zar {

enum class GridValueType : std::uint8_t { Text, Number };
// A RichEdit cell holds rich text (Qt's HTML subset) and shows its plain text wherever text is
// asked for; a ComboBox cell edits with a drop-down list of its style's choices.
enum class GridControl : std::uint8_t { Edit, Static, Header, CheckBox, RichEdit, BrowseEdit, ComboBox };
enum class GridNumberFormat : std::uint8_t { General, Fixed, Scientific };

struct CGXStyle {
    std::optional<GridValueType> valueType;
    std::optional<GridNumberFormat> format;
    std::optional<int> decimals;
    std::optional<Qt::Alignment> alignment;
    std::optional<bool> bold;
    std::optional<bool> italic;
    QString fontFamily;  // null: not set
    std::optional<int> fontPointSize;
    std::optional<QColor> textColor;
    std::optional<QColor> interior;
    std::optional<GridControl> control;
    std::optional<bool> readOnly;
    QString toolTip;  // null: not set (an empty text clears an inherited tip)
    std::optional<bool> wrapText;
    // The items of a ComboBox cell, one a line (null: not set).
    QString choiceList;

    // Attributes set in `over` replace ours.
    void mergeFrom(const CGXStyle& over);
    bool operator==(const CGXStyle& o) const;

    // Builders, for readable call sites: CGXStyle().setBold(true).setDecimals(2)
    CGXStyle& setValueType(GridValueType v) { valueType = v; return *this; }
    CGXStyle& setFormat(GridNumberFormat f, int places) { format = f; decimals = places; return *this; }
    CGXStyle& setAlignment(Qt::Alignment a) { alignment = a; return *this; }
    CGXStyle& setBold(bool b) { bold = b; return *this; }
    CGXStyle& setItalic(bool b) { italic = b; return *this; }
    CGXStyle& setTextColor(const QColor& c) { textColor = c; return *this; }
    CGXStyle& setInterior(const QColor& c) { interior = c; return *this; }
    CGXStyle& setControl(GridControl c) { control = c; return *this; }
    CGXStyle& setReadOnly(bool r) { readOnly = r; return *this; }
    CGXStyle& setToolTip(const QString& t) {
        toolTip = t.isNull() ? QString(QLatin1String("")) : t;
        return *this;
    }
    CGXStyle& setWrapText(bool w) { wrapText = w; return *this; }
    CGXStyle& setChoiceList(const QString& items) {
        choiceList = items.isNull() ? QString(QLatin1String("")) : items;
        return *this;
    }
};

// A block of cells in grid numbering (row 0 the titles, column 0 the row headers). A range can
// also stand for whole rows, whole columns or the whole table.
struct CGXRange {
    enum class Kind { Cells, Rows, Cols, Table };
    Kind kind = Kind::Cells;
    int top = 0, left = 0, bottom = 0, right = 0;

    static CGXRange cell(int row, int col) { return {Kind::Cells, row, col, row, col}; }
    static CGXRange cells(int top, int left, int bottom, int right) { return {Kind::Cells, top, left, bottom, right}; }
    static CGXRange rows(int from, int to) { return {Kind::Rows, from, 0, to, 0}; }
    static CGXRange cols(int from, int to) { return {Kind::Cols, 0, from, 0, to}; }
    static CGXRange table() { return {Kind::Table, 0, 0, 0, 0}; }
};

// The text a number shows under a style: fixed with its decimals, scientific, or "%.13g".
QString FormatGridNumber(double value, const CGXStyle& style);

}  // namespace zar
