#pragma once
// A folder cell: a text cell with a small browse button at its left edge. The button opens a
// folder picker that starts at the results folder of the settings and writes the chosen folder
// into the cell.

#include "grid/GridDelegate.h"

#include <QString>

#include <functional>

namespace zar {

class CBitmapButtonEdit : public CGXGridDelegate {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 16;
    static constexpr int kButtonGap = 3;

    explicit CBitmapButtonEdit(CGXGridWnd* grid);

    // The folder picker; the default is the desktop's folder dialog. Returns an empty text on Cancel.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
    void SetFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }

    // Where the text and the button go in a cell.
    static QRect TextArea(const QRect& cell);
    static QRect ButtonArea(const QRect& cell, int buttonHeight);

    // The button was pressed for a cell: asks for a folder and stores it.
    void Browse(int row, int col);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    int buttonHeight(const QRect& cell) const;
    CGXGridWnd* grid_;
    FolderPicker picker_;
};

}  // namespace zar
