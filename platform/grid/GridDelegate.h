#pragma once
// Edits grid cells: the grid decides whether a cell may edit and checks the entry before it is stored.

#include <QStyledItemDelegate>

namespace zar {

class CGXGridWnd;

class CGXGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CGXGridDelegate(CGXGridWnd* grid);
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    CGXGridWnd* grid_;
};

}  // namespace zar
