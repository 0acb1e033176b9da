#pragma once
// Edits grid cells: the grid decides whether a cell may edit and checks the entry before it is
// stored. Rich-edit cells are drawn from their rich text (coloured runs in the text's font).

#include <QStyledItemDelegate>

namespace zar {

class CGXGridWnd;

class CGXGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CGXGridDelegate(CGXGridWnd* grid);
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CGXGridWnd* grid_;
};

}  // namespace zar
