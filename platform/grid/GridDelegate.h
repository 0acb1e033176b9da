#pragma once
// Edits grid cells: the grid decides whether a cell may edit and checks the entry before it is
// stored. Rich-edit cells are drawn from their rich text (coloured runs in the text's font, or
// HTML); drop-down cells edit with a list of their choices.

#include <QStyledItemDelegate>

namespace zar {

class CGXGridWnd;

class CGXGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CGXGridDelegate(CGXGridWnd* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    // A rich-edit cell that holds HTML.
    void paintHtml(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    CGXGridWnd* grid_;
};

}  // namespace zar
