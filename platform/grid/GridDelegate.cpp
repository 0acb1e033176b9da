#include "grid/GridDelegate.h"

#include "grid/GridRichText.h"
#include "grid/GridWnd.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

namespace zar {

namespace {

GridControl ControlOf(const CGXGridWnd* grid, const QModelIndex& index) {
    return grid->GetStyleRowCol(index.row() + 1, index.column() + 1).control.value_or(GridControl::Edit);
}

}  // namespace

CGXGridDelegate::CGXGridDelegate(CGXGridWnd* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* CGXGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    if (ControlOf(grid_, index) != GridControl::ComboBox) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    const QString choices = grid_->GetStyleRowCol(index.row() + 1, index.column() + 1).choiceList;
    for (const QString& item : choices.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) combo->addItem(item);
    // A choice is taken as soon as it is made.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        auto* self = const_cast<CGXGridDelegate*>(this);
        emit self->commitData(combo);
        emit self->closeEditor(combo);
    });
    return combo;
}

void CGXGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int at = combo->findText(grid_->GetValueRowCol(index.row() + 1, index.column() + 1));
        if (at >= 0) combo->setCurrentIndex(at);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void CGXGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) text = line->text();
    else if (auto* combo = qobject_cast<QComboBox*>(editor)) text = combo->currentText();
    else text = editor->property("text").toString();
    grid_->StoreEditedText(index.row() + 1, index.column() + 1, text);
}

void CGXGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    // Only a text can be rich text (a number is not formatted for the test).
    const QString value = grid_->GetModel()->IsNumber(row, col) ? QString() : grid_->GetValueRowCol(row, col);
    if (!IsRichText(value) || grid_->GetStyleRowCol(row, col).control != GridControl::RichEdit) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell's frame and background as the style draws them, then the runs.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const RichText rich = ParseRichText(value);
    QFont font = opt.font;
    if (!rich.fontFamily.isEmpty()) {
        font.setFamily(rich.fontFamily);
        font.setStyleHint(QFont::TypeWriter);
    }
    if (rich.pointSize > 0) font.setPointSizeF(rich.pointSize);
    painter->save();
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    int x = text.left() + 2;
    const int baseline = text.top() + (text.height() + metrics.ascent() - metrics.descent()) / 2;
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QColor plain = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter->setClipRect(text);
    for (const RichTextRun& run : rich.runs) {
        painter->setPen(run.color.isValid() ? run.color : plain);
        painter->drawText(x, baseline, run.text);
        x += metrics.horizontalAdvance(run.text);
    }
    painter->restore();
}

}  // namespace zar
