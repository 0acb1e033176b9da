#include "grid/GridDelegate.h"

#include "grid/GridWnd.h"

#include <QLineEdit>

namespace zar {

CGXGridDelegate::CGXGridDelegate(CGXGridWnd* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void CGXGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) text = line->text();
    else text = editor->property("text").toString();
    grid_->StoreEditedText(index.row() + 1, index.column() + 1, text);
}

}  // namespace zar
