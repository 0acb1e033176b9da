#include "grid/GridModel.h"

#include "grid/GridRichText.h"

#include <QBrush>
#include <QFont>

#include <algorithm>
#include <sys/mman.h>
#include <unistd.h>
#include <optional>

namespace zar {

namespace {
// Texts a column stores before it decides whether they repeat enough to be looked up.
constexpr std::int32_t kInternProbe = 256;
// Blocks smaller than this are left to fault in as they are written.
constexpr std::size_t kPrefaultBytes = std::size_t{1} << 18;
}  // namespace

void CGXGridModel::Prefault::Allocated(void* block, std::size_t bytes) {
    if (bytes < kPrefaultBytes) return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    // Where the system cannot, the pages fault in as before.
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

CGXGridModel::CGXGridModel(QObject* parent) : QAbstractTableModel(parent) {
    styles_.emplace_back();  // index 0: no style
    columns_.resize(1);
    resizeColumn(columns_[0], 0);
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

void CGXGridModel::resizeColumn(Column& c, int rows) {
    const auto n = static_cast<std::size_t>(rows) + 1;
    c.kinds.resize(n, Kind::Empty);
    c.values.resize(n);
    if (!c.styles.empty()) c.styles.resize(n, 0);
}

void CGXGridModel::releaseText(std::int32_t id) {
    const auto i = static_cast<std::size_t>(id);
    if (--textUses_[i] > 0) return;
    if (auto it = textIndex_.constFind(texts_[i]); it != textIndex_.cend() && *it == id) textIndex_.erase(it);
    texts_[i] = QString();
    freeTexts_.push_back(id);
}

void CGXGridModel::dropValue(Column& c, int row) {
    Kind& kind = c.kinds[static_cast<std::size_t>(row)];
    if (kind == Kind::Text) releaseText(c.values[static_cast<std::size_t>(row)].text);
    kind = Kind::Empty;
}

void CGXGridModel::dropValues(Column& c, int fromRow, int toRow) {
    for (int r = fromRow; r <= toRow; ++r)
        if (c.kinds[static_cast<std::size_t>(r)] == Kind::Text) releaseText(c.values[static_cast<std::size_t>(r)].text);
}

void CGXGridModel::SetRowCount(int rows) {
    rows = std::max(0, rows);
    if (rows == rows_) return;
    const bool announce = locked_ == 0;
    const bool growing = rows > rows_;
    if (announce) {
        if (growing) beginInsertRows(QModelIndex(), rows_, rows - 1);
        else beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    }
    for (Column& c : columns_) {
        if (!growing) dropValues(c, rows + 1, rows_);
        resizeColumn(c, rows);
    }
    rows_ = rows;
    if (!growing) {
        std::erase_if(spans_, [&](const Span& s) { return s.bottom > rows_; });
        std::erase_if(rowStyles_, [&](const auto& p) { return p.first > rows_; });
    }
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
    for (int c = cols + 1; c <= cols_; ++c) dropValues(column(c), 0, rows_);
    columns_.resize(static_cast<std::size_t>(cols) + 1);
    for (int c = cols_ + 1; c <= cols; ++c) resizeColumn(column(c), rows_);
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
    const auto n = static_cast<std::size_t>(count);
    for (Column& c : columns_) {
        c.kinds.insert(c.kinds.begin() + before, n, Kind::Empty);
        c.values.insert(c.values.begin() + before, n, Value{});
        if (!c.styles.empty()) c.styles.insert(c.styles.begin() + before, n, 0);
    }
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
    for (Column& c : columns_) {
        dropValues(c, from, to);
        c.kinds.erase(c.kinds.begin() + from, c.kinds.begin() + to + 1);
        c.values.erase(c.values.begin() + from, c.values.begin() + to + 1);
        if (!c.styles.empty()) c.styles.erase(c.styles.begin() + from, c.styles.begin() + to + 1);
    }
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

std::int32_t CGXGridModel::addText(Column& c, const QString& text) {
    if (c.intern) {
        ++c.textsStored;
        if (auto it = textIndex_.constFind(text); it != textIndex_.cend()) {
            ++textUses_[static_cast<std::size_t>(*it)];
            return *it;
        }
        ++c.textsNew;
        if (c.textsStored >= kInternProbe && 2 * c.textsNew > c.textsStored) {
            // Mostly new texts: the rest of this column goes straight to the pool, which makes
            // room for a text a row once.
            c.intern = false;
            texts_.reserve(texts_.size() + static_cast<std::size_t>(rows_));
            textUses_.reserve(texts_.capacity());
        }
    }
    std::int32_t id = 0;
    if (!freeTexts_.empty()) {
        id = freeTexts_.back();
        freeTexts_.pop_back();
        texts_[static_cast<std::size_t>(id)] = text;
        textUses_[static_cast<std::size_t>(id)] = 1;
    } else {
        id = static_cast<std::int32_t>(texts_.size());
        texts_.push_back(text);
        textUses_.push_back(1);
    }
    if (c.intern) textIndex_.insert(text, id);
    return id;
}

void CGXGridModel::storeText(int row, int col, const QString& text) {
    Column& c = column(col);
    const auto r = static_cast<std::size_t>(row);
    const std::int32_t id = addText(c, text);
    if (c.kinds[r] == Kind::Text) releaseText(c.values[r].text);
    c.kinds[r] = Kind::Text;
    c.values[r].text = id;
}

void CGXGridModel::SetValue(int row, int col, const QString& text) {
    if (!inTable(row, col)) return;
    if (text.isEmpty()) {
        ClearValue(row, col);
        return;
    }
    storeText(row, col, text);
    cellChanged(row, col);
}

void CGXGridModel::SetNumber(int row, int col, double value) {
    if (!inTable(row, col)) return;
    Column& c = column(col);
    dropValue(c, row);
    c.kinds[static_cast<std::size_t>(row)] = Kind::Number;
    c.values[static_cast<std::size_t>(row)].number = value;
    cellChanged(row, col);
}

void CGXGridModel::ClearValue(int row, int col) {
    if (!inTable(row, col) || kindAt(row, col) == Kind::Empty) return;
    dropValue(column(col), row);
    cellChanged(row, col);
}

QString CGXGridModel::GetValue(int row, int col) const {
    if (!inTable(row, col)) return QString();
    const Value& v = column(col).values[static_cast<std::size_t>(row)];
    switch (kindAt(row, col)) {
        case Kind::Text: return texts_[static_cast<std::size_t>(v.text)];
        case Kind::Number: return FormatGridNumber(v.number, CGXStyle());
        case Kind::Empty: break;
    }
    return QString();
}

QString CGXGridModel::GetDisplayText(int row, int col) const {
    std::optional<CGXStyle> style;
    return displayText(row, col, style);
}

const CGXStyle& CGXGridModel::styleOnce(int row, int col, std::optional<CGXStyle>& style) const {
    if (!style) style = GetStyle(row, col);
    return *style;
}

QString CGXGridModel::displayText(int row, int col, std::optional<CGXStyle>& style) const {
    if (!inTable(row, col)) return QString();
    if (kindAt(row, col) == Kind::Number) return FormatGridNumber(GetNumber(row, col), styleOnce(row, col, style));
    const QString text = GetValue(row, col);
    // A rich-edit cell shows (and prints) its letters, not its markup.
    if (IsRichText(text) && styleOnce(row, col, style).control == GridControl::RichEdit)
        return ParseRichText(text).plainText();
    return text;
}

bool CGXGridModel::IsNumber(int row, int col) const { return inTable(row, col) && kindAt(row, col) == Kind::Number; }
bool CGXGridModel::IsEmpty(int row, int col) const { return !inTable(row, col) || kindAt(row, col) == Kind::Empty; }
double CGXGridModel::GetNumber(int row, int col) const {
    return IsNumber(row, col) ? column(col).values[static_cast<std::size_t>(row)].number : 0.0;
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
            for (int c = std::max(0, range.left); c <= std::min(range.right, cols_); ++c) {
                Column& column = this->column(c);
                if (column.styles.empty()) column.styles.resize(static_cast<std::size_t>(rows_) + 1, 0);
                for (int r = std::max(0, range.top); r <= std::min(range.bottom, rows_); ++r) {
                    std::uint16_t& cellStyle = column.styles[static_cast<std::size_t>(r)];
                    CGXStyle merged = cellStyle ? styles_[cellStyle] : CGXStyle();
                    merged.mergeFrom(style);
                    cellStyle = internStyle(merged);
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
    if (inTable(row, col)) {
        if (const std::uint16_t own = styleAt(row, col)) s.mergeFrom(styles_[own]);
    }
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
    std::optional<CGXStyle> style;
    return roleData(index.row() + 1, index.column() + 1, role, style);
}

void CGXGridModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const {
    // A delegate asks for all its roles at once: the cell's style is laid together once.
    std::optional<CGXStyle> style;
    for (QModelRoleData& roleData : roleDataSpan)
        roleData.setData(index.isValid() ? this->roleData(index.row() + 1, index.column() + 1, roleData.role(), style)
                                         : QVariant());
}

QVariant CGXGridModel::roleData(int row, int col, int role, std::optional<CGXStyle>& style) const {
    switch (role) {
        case Qt::DisplayRole: return displayText(row, col, style);
        case Qt::EditRole: return GetValue(row, col);
        case Qt::TextAlignmentRole: {
            const CGXStyle& s = styleOnce(row, col, style);
            if (s.alignment) return QVariant::fromValue(*s.alignment);
            return QVariant::fromValue(IsNumber(row, col) ? Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)
                                                          : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        case Qt::FontRole: {
            const CGXStyle& s = styleOnce(row, col, style);
            if (!s.bold && !s.italic && s.fontFamily.isNull() && !s.fontPointSize) return QVariant();
            QFont f;
            if (!s.fontFamily.isNull()) f.setFamily(s.fontFamily);
            if (s.fontPointSize) f.setPointSize(*s.fontPointSize);
            f.setBold(s.bold.value_or(false));
            f.setItalic(s.italic.value_or(false));
            return f;
        }
        case Qt::ForegroundRole: {
            const CGXStyle& s = styleOnce(row, col, style);
            return s.textColor ? QVariant(QBrush(*s.textColor)) : QVariant();
        }
        case Qt::BackgroundRole: {
            const CGXStyle& s = styleOnce(row, col, style);
            return s.interior ? QVariant(QBrush(*s.interior)) : QVariant();
        }
        case Qt::ToolTipRole: {
            const CGXStyle& s = styleOnce(row, col, style);
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
