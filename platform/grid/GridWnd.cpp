#include "grid/GridWnd.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "grid/GridDelegate.h"
#include "grid/GridHeaderView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <set>

namespace zar {

bool ReadGridNumber(const QString& text, double& value) {
    double v = 0;
    if (!ParseDouble(text, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

CGXGridWnd::CGXGridWnd(QWidget* parent) : QTableView(parent), model_(new CGXGridModel(this)) {
    header_ = new CGXGridHeaderView(model_, this);
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(new CGXGridDelegate(this));
    model_->SetEditPolicy([this](int row, int col) { return CanEditCell(row, col); });
    // Fixed row heights: a table of 100,000 rows must not measure each row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(header_, &QHeaderView::sectionClicked, this, [this](int section) { onTitleClicked(section + 1); });
}

CGXGridWnd::~CGXGridWnd() = default;

void CGXGridWnd::SetColCount(int cols) { model_->SetColCount(cols); }

void CGXGridWnd::ClearCells(const CGXRange& range) {
    int top = range.top, bottom = range.bottom, left = range.left, right = range.right;
    if (range.kind == CGXRange::Kind::Rows || range.kind == CGXRange::Kind::Table) {
        left = 1;
        right = GetColCount();
    }
    if (range.kind == CGXRange::Kind::Cols || range.kind == CGXRange::Kind::Table) {
        top = 1;
        bottom = GetRowCount();
    }
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) model_->ClearValue(r, c);
}

void CGXGridWnd::SetCoveredCellsRowCol(int top, int left, int bottom, int right) {
    model_->SetCoveredCells(top, left, bottom, right);
    if (top >= 1 && left >= 1) setSpan(top - 1, left - 1, bottom - top + 1, right - left + 1);
}

void CGXGridWnd::ClearCoveredCells() {
    model_->ClearCoveredCells();
    clearSpans();
}

void CGXGridWnd::SetColWidth(int col, int width) {
    if (col == 0) {
        verticalHeader()->setFixedWidth(width);
        return;
    }
    horizontalHeader()->resizeSection(col - 1, width);
}

int CGXGridWnd::GetColWidth(int col) const {
    if (col == 0) return verticalHeader()->width();
    return horizontalHeader()->sectionSize(col - 1);
}

void CGXGridWnd::HideCols(int from, int to, bool hide) {
    for (int c = std::max(1, from); c <= std::min(to, GetColCount()); ++c) setColumnHidden(c - 1, hide);
}

bool CGXGridWnd::IsColHidden(int col) const { return col >= 1 && isColumnHidden(col - 1); }

void CGXGridWnd::SetRowHeight(int height) { verticalHeader()->setDefaultSectionSize(height); }

void CGXGridWnd::Redraw() {
    viewport()->update();
    header_->viewport()->update();
}

bool CGXGridWnd::GetCurrentCell(int& row, int& col) const {
    const QModelIndex i = currentIndex();
    if (!i.isValid()) return false;
    row = i.row() + 1;
    col = i.column() + 1;
    return true;
}

void CGXGridWnd::SetCurrentCell(int row, int col) {
    if (row < 1 || col < 1 || row > GetRowCount() || col > GetColCount()) return;
    setCurrentIndex(model_->index(row - 1, col - 1));
}

std::vector<int> CGXGridWnd::GetSelectedRows() const {
    std::set<int> rows;
    if (selectionModel())
        for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.insert(i.row() + 1);
    return {rows.begin(), rows.end()};
}

bool CGXGridWnd::HitTest(const QPoint& viewportPoint, int& row, int& col) const {
    const QModelIndex i = indexAt(viewportPoint);
    if (!i.isValid()) return false;
    row = i.row() + 1;
    col = i.column() + 1;
    return true;
}

bool CGXGridWnd::StoreEditedText(int row, int col, const QString& text) {
    currentText_ = text;
    warning_.clear();
    bool ok = OnValidateCell(row, col);
    if (ok && !text.isEmpty()) ok = defaultValidate(row, col, text);
    if (!ok) {
        if (!warning_.isEmpty()) ZarMessageBox(warning_, MB_OK | MB_ICONEXCLAMATION);
        currentText_.clear();
        return false;
    }
    const CGXStyle st = model_->GetStyle(row, col);
    double number = 0;
    if (st.valueType == GridValueType::Number && ReadGridNumber(text, number)) model_->SetNumber(row, col, number);
    else model_->SetValue(row, col, text);
    currentText_.clear();
    OnModifyCell(row, col);
    OnCellChanged(row, col);
    return true;
}

bool CGXGridWnd::defaultValidate(int row, int col, const QString& text) {
    // A number cell takes only a finite number; anything else leaves it empty.
    if (model_->GetStyle(row, col).valueType != GridValueType::Number) return true;
    double v = 0;
    if (ReadGridNumber(text, v)) return true;
    warning_ = QStringLiteral("Please enter a number.");
    model_->ClearValue(row, col);
    return false;
}

void CGXGridWnd::DeleteSelectedCells() {
    if (!selectionModel()) return;
    for (const QModelIndex& i : selectionModel()->selectedIndexes()) {
        const int row = i.row() + 1;
        const int col = i.column() + 1;
        if (!CanEditCell(row, col) || model_->GetStyle(row, col).readOnly.value_or(false)) continue;
        model_->ClearValue(row, col);
    }
}

bool CGXGridWnd::OnLButtonClickedRowCol(int, int, Qt::KeyboardModifiers, const QPoint&) { return false; }
bool CGXGridWnd::CanEditCell(int, int) { return true; }
bool CGXGridWnd::OnValidateCell(int, int) { return true; }
void CGXGridWnd::OnModifyCell(int, int) {}
void CGXGridWnd::OnCellChanged(int, int) {}
bool CGXGridWnd::OnGridKeyDown(int, Qt::KeyboardModifiers) { return false; }
void CGXGridWnd::OnLButtonDownRowCol(int, int) {}

void CGXGridWnd::onTitleClicked(int col) {
    const QPoint pt = header_->mapFromGlobal(QCursor::pos());
    OnLButtonClickedRowCol(0, col, Qt::NoModifier, pt);
}

void CGXGridWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (HasContextMenu() && parentWidget()) {
            const QPoint g = event->globalPosition().toPoint();
            const LPARAM packed = static_cast<LPARAM>((static_cast<unsigned>(g.y() & 0xFFFF) << 16) |
                                                      static_cast<unsigned>(g.x() & 0xFFFF));
            PostMessage(parentWidget(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(this), packed);
        }
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressPos_ = event->position().toPoint();
        int row = 0, col = 0;
        if (HitTest(pressPos_, row, col)) OnLButtonDownRowCol(row, col);
    }
}

void CGXGridWnd::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    int row = 0, col = 0, row2 = 0, col2 = 0;
    // A click is a press and a release on the same cell.
    if (!HitTest(pressPos_, row, col) || !HitTest(event->position().toPoint(), row2, col2)) return;
    if (row != row2 || col != col2) return;
    OnLButtonClickedRowCol(row, col, event->modifiers(), event->position().toPoint());
}

void CGXGridWnd::keyPressEvent(QKeyEvent* event) {
    if (OnGridKeyDown(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        DeleteSelectedCells();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace zar
