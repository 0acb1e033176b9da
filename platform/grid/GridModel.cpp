#include "grid/GridModel.h"

#include "grid/GridRichText.h"

#include <QBrush>
#include <QFont>
#include <QTextDocumentFragment>

#include <algorithm>

namespace zar {

CGXGridModel::CGXGridModel(QObject* parent) : QAbstractTableModel(parent) {
    styles_.emplace_back();  // index 0: no style
    cells_.resize(1);
}

void CGXGridModel::LockUpdate(bool lock) {
    if (lock) {
        if (locked_++ == 0) {
            beginResetModel();
            dirty_ = false;
        }
        return;
    }
    if (locked_ == 0) return;
    if (--locked_ == 0) {
        endResetModel();
        emit titlesChanged();
    }
}

void CGXGridModel::SetRowCount(int rows) {
    rows = std::max(0, rows);
    if (rows == rows_) return;
    const bool announce = locked_ == 0;
    if (announce) {
        if (rows > rows_) beginInsertRows(QModelIndex(), rows_, rows - 1);
        else beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    }
    // Free the texts of the rows that go.
    for (int r = rows + 1; r <= rows_; ++r)
        for (int c = 0; c <= cols_; ++c)
            if (at(r, c).kind == Kind::Text) freeTexts_.push_back(at(r, c).text);
    const bool growing = rows > rows_;
    const int oldRows = rows_;
    rows_ = rows;
    cells_.resize(static_cast<std::size_t>(rows_ + 1) * (cols_ + 1));
    if (!growing) {
        std::erase_if(spans_, [&](const Span& s) { return s.bottom > rows_; });
        std::erase_if(rowStyles_, [&](const auto& p) { return p.first > rows_; });
    }
    (void)oldRows;
    if (announce) {
        if (growing) endInsertRows();
        else endRemoveRows();
    }
}

void CGXGridModel::SetColCount(int cols) {
    cols = std::max(0, cols);
    if (cols == cols_) return;
    const bool announce = locked_ == 0;
    if (announce) beginResetModel();
    std::vector<Cell> next(static_cast<std::size_t>(rows_ + 1) * (cols + 1));
    for (int r = 0; r <= rows_; ++r) {
        for (int c = 0; c <= cols_; ++c) {
            if (c <= cols) next[static_cast<std::size_t>(r) * (cols + 1) + c] = at(r, c);
            else if (at(r, c).kind == Kind::Text) freeTexts_.push_back(at(r, c).text);
        }
    }
    cells_ = std::move(next);
    cols_ = cols;
    std::erase_if(spans_, [&](const Span& s) { return s.right > cols_; });
    std::erase_if(colStyles_, [&](const auto& p) { return p.first > cols_; });
    if (announce) {
        endResetModel();
        emit titlesChanged();
    }
}

void CGXGridModel::InsertRows(int before, int count) {
    if (count <= 0) return;
    before = std::clamp(before, 1, rows_ + 1);
    const bool announce = locked_ == 0;
    if (announce) beginInsertRows(QModelIndex(), before - 1, before - 1 + count - 1);
    const auto width = static_cast<std::ptrdiff_t>(cols_ + 1);
    cells_.insert(cells_.begin() + before * width, static_cast<std::size_t>(count * width), Cell());
    rows_ += count;
    for (Span& s : spans_) {
        if (s.top >= before) s.top += count;
        if (s.bottom >= before) s.bottom += count;
    }
    std::unordered_map<int, CGXStyle> moved;
    for (auto& [r, st] : rowStyles_) moved[r >= before ? r + count : r] = st;
    rowStyles_ = std::move(moved);
    if (announce) endInsertRows();
}

void CGXGridModel::RemoveRows(int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, rows_);
    if (from > to) return;
    const int count = to - from + 1;
    const bool announce = locked_ == 0;
    if (announce) beginRemoveRows(QModelIndex(), from - 1, to - 1);
    for (int r = from; r <= to; ++r)
        for (int c = 0; c <= cols_; ++c)
            if (at(r, c).kind == Kind::Text) freeTexts_.push_back(at(r, c).text);
    const auto width = static_cast<std::ptrdiff_t>(cols_ + 1);
    cells_.erase(cells_.begin() + from * width, cells_.begin() + (to + 1) * width);
    rows_ -= count;
    std::erase_if(spans_, [&](const Span& s) { return s.bottom >= from && s.top <= to; });
    for (Span& s : spans_) {
        if (s.top > to) s.top -= count;
        if (s.bottom > to) s.bottom -= count;
    }
    std::unordered_map<int, CGXStyle> moved;
    for (auto& [r, st] : rowStyles_) {
        if (r < from) moved[r] = st;
        else if (r > to) moved[r - count] = st;
    }
    rowStyles_ = std::move(moved);
    if (announce) endRemoveRows();
}

void CGXGridModel::storeText(Cell& cell, const QString& text) {
    if (cell.kind == Kind::Text) {
        texts_[static_cast<std::size_t>(cell.text)] = text;
        return;
    }
    if (!freeTexts_.empty()) {
        cell.text = freeTexts_.back();
        freeTexts_.pop_back();
        texts_[static_cast<std::size_t>(cell.text)] = text;
    } else {
        cell.text = static_cast<std::int32_t>(texts_.size());
        texts_.push_back(text);
    }
    cell.kind = Kind::Text;
}

void CGXGridModel::SetValue(int row, int col, const QString& text) {
    if (!inTable(row, col)) return;
    Cell& cell = at(row, col);
    if (text.isEmpty()) {
        ClearValue(row, col);
        return;
    }
    storeText(cell, text);
    cellChanged(row, col);
}

void CGXGridModel::SetNumber(int row, int col, double value) {
    if (!inTable(row, col)) return;
    Cell& cell = at(row, col);
    if (cell.kind == Kind::Text) {
        texts_[static_cast<std::size_t>(cell.text)].clear();
        freeTexts_.push_back(cell.text);
    }
    cell.kind = Kind::Number;
    cell.number = value;
    cellChanged(row, col);
}

void CGXGridModel::ClearValue(int row, int col) {
    if (!inTable(row, col)) return;
    Cell& cell = at(row, col);
    if (cell.kind == Kind::Empty) return;
    if (cell.kind == Kind::Text) {
        texts_[static_cast<std::size_t>(cell.text)].clear();
        freeTexts_.push_back(cell.text);
    }
    cell.kind = Kind::Empty;
    cell.number = 0;
    cellChanged(row, col);
}

QString CGXGridModel::GetValue(int row, int col) const {
    if (!inTable(row, col)) return QString();
    const Cell& cell = at(row, col);
    switch (cell.kind) {
        case Kind::Text: return texts_[static_cast<std::size_t>(cell.text)];
        case Kind::Number: return FormatGridNumber(cell.number, CGXStyle());
        case Kind::Empty: break;
    }
    return QString();
}

QString CGXGridModel::GetDisplayText(int row, int col) const {
    if (!inTable(row, col)) return QString();
    const Cell& cell = at(row, col);
    if (cell.kind == Kind::Number) return FormatGridNumber(cell.number, GetStyle(row, col));
    const QString text = GetValue(row, col);
    // A rich-edit cell shows (and prints) its letters, not its markup (rich text or HTML).
    if (cell.kind == Kind::Text && GetStyle(row, col).control == GridControl::RichEdit)
        return IsRichText(text) ? ParseRichText(text).plainText()
                                : QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

bool CGXGridModel::IsNumber(int row, int col) const { return inTable(row, col) && at(row, col).kind == Kind::Number; }
bool CGXGridModel::IsEmpty(int row, int col) const { return !inTable(row, col) || at(row, col).kind == Kind::Empty; }
double CGXGridModel::GetNumber(int row, int col) const {
    return inTable(row, col) && at(row, col).kind == Kind::Number ? at(row, col).number : 0.0;
}

std::uint16_t CGXGridModel::internStyle(const CGXStyle& style) {
    for (std::size_t i = 1; i < styles_.size(); ++i)
        if (styles_[i] == style) return static_cast<std::uint16_t>(i);
    if (styles_.size() >= 0xFFFF) return 0;  // out of style slots: the cell keeps no style of its own
    styles_.push_back(style);
    return static_cast<std::uint16_t>(styles_.size() - 1);
}

void CGXGridModel::SetStyle(const CGXRange& range, const CGXStyle& style) {
    switch (range.kind) {
        case CGXRange::Kind::Table: defaultStyle_.mergeFrom(style); break;
        case CGXRange::Kind::Cols:
            for (int c = std::max(0, range.left); c <= std::min(range.right, cols_); ++c) colStyles_[c].mergeFrom(style);
            break;
        case CGXRange::Kind::Rows:
            for (int r = std::max(0, range.top); r <= std::min(range.bottom, rows_); ++r) rowStyles_[r].mergeFrom(style);
            break;
        case CGXRange::Kind::Cells:
            for (int r = std::max(0, range.top); r <= std::min(range.bottom, rows_); ++r) {
                for (int c = std::max(0, range.left); c <= std::min(range.right, cols_); ++c) {
                    Cell& cell = at(r, c);
                    CGXStyle merged = cell.style ? styles_[cell.style] : CGXStyle();
                    merged.mergeFrom(style);
                    cell.style = internStyle(merged);
                }
            }
            break;
    }
    if (locked_ == 0) {
        if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        emit titlesChanged();
    }
}

CGXStyle CGXGridModel::GetStyle(int row, int col) const {
    CGXStyle s = defaultStyle_;
    if (auto it = colStyles_.find(col); it != colStyles_.end()) s.mergeFrom(it->second);
    if (auto it = rowStyles_.find(row); it != rowStyles_.end()) s.mergeFrom(it->second);
    if (inTable(row, col) && at(row, col).style) s.mergeFrom(styles_[at(row, col).style]);
    return s;
}

void CGXGridModel::SetCoveredCells(int top, int left, int bottom, int right) {
    if (bottom < top || right < left || !inTable(top, left) || !inTable(bottom, right)) return;
    std::erase_if(spans_, [&](const Span& s) {
        return !(s.bottom < top || s.top > bottom || s.right < left || s.left > right);
    });
    spans_.push_back({top, left, bottom, right});
    if (top == 0) emit titlesChanged();
}

void CGXGridModel::ClearCoveredCells() {
    spans_.clear();
    emit titlesChanged();
}

const CGXGridModel::Span* CGXGridModel::CoveredCellAt(int row, int col) const {
    for (const Span& s : spans_)
        if (row >= s.top && row <= s.bottom && col >= s.left && col <= s.right) return &s;
    return nullptr;
}

void CGXGridModel::cellChanged(int row, int col) {
    if (locked_ > 0) return;
    if (row == 0) {
        emit titlesChanged();
        if (col > 0) emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    if (col == 0) {
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
        return;
    }
    const QModelIndex i = index(row - 1, col - 1);
    emit dataChanged(i, i);
}

int CGXGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int CGXGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant CGXGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    switch (role) {
        case Qt::DisplayRole: return GetDisplayText(row, col);
        case Qt::EditRole: return GetValue(row, col);
        case Qt::TextAlignmentRole: {
            const CGXStyle s = GetStyle(row, col);
            if (s.alignment) return QVariant::fromValue(*s.alignment);
            return QVariant::fromValue(IsNumber(row, col) ? Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)
                                                          : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        case Qt::FontRole: {
            const CGXStyle s = GetStyle(row, col);
            if (!s.bold && !s.italic && s.fontFamily.isNull() && !s.fontPointSize) return QVariant();
            QFont f;
            if (!s.fontFamily.isNull()) f.setFamily(s.fontFamily);
            if (s.fontPointSize) f.setPointSize(*s.fontPointSize);
            f.setBold(s.bold.value_or(false));
            f.setItalic(s.italic.value_or(false));
            return f;
        }
        case Qt::ForegroundRole: {
            const CGXStyle s = GetStyle(row, col);
            return s.textColor ? QVariant(QBrush(*s.textColor)) : QVariant();
        }
        case Qt::BackgroundRole: {
            const CGXStyle s = GetStyle(row, col);
            return s.interior ? QVariant(QBrush(*s.interior)) : QVariant();
        }
        case Qt::ToolTipRole: {
            const CGXStyle s = GetStyle(row, col);
            return s.toolTip.isEmpty() ? QVariant() : QVariant(s.toolTip);
        }
        default: break;
    }
    return QVariant();
}

QVariant CGXGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        const int col = section + 1;
        if (role == Qt::DisplayRole) return GetDisplayText(0, col);
        if (role == Qt::ToolTipRole) {
            const CGXStyle s = GetStyle(0, col);
            return s.toolTip.isEmpty() ? QVariant() : QVariant(s.toolTip);
        }
        return QVariant();
    }
    const int row = section + 1;
    if (role == Qt::DisplayRole) {
        const QString text = GetDisplayText(row, 0);
        return text.isEmpty() ? QString::number(row) : text;
    }
    return QVariant();
}

Qt::ItemFlags CGXGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    if (GetStyle(row, col).readOnly.value_or(false)) return f;
    if (editPolicy_ && editPolicy_(row, col)) f |= Qt::ItemIsEditable;
    return f;
}

}  // namespace zar
