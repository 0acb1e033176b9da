#include "BitmapButtonEdit.h"

#include "core/Paths.h"
#include "document/Settings.h"
#include "grid/GridWnd.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace zar {

CBitmapButtonEdit::CBitmapButtonEdit(CGXGridWnd* grid) : CGXGridDelegate(grid), grid_(grid) {
    picker_ = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    };
}

QRect CBitmapButtonEdit::TextArea(const QRect& cell) {
    QRect r = cell;
    r.setLeft(cell.left() + kButtonWidth + kButtonGap);
    if (r.width() <= 0) return QRect();
    return r;
}

QRect CBitmapButtonEdit::ButtonArea(const QRect& cell, int buttonHeight) {
    const QRect r(cell.left() + kButtonGap, cell.top() + std::max(0, cell.height() - buttonHeight) / 2, kButtonWidth,
                  buttonHeight);
    return r.intersected(cell);
}

int CBitmapButtonEdit::buttonHeight(const QRect& cell) const { return std::min(cell.height(), 16); }

void CBitmapButtonEdit::Browse(int row, int col) {
    const QString start = PortablePath(GetSorvexResultsDirectory());
    const QString folder = picker_(grid_, QStringLiteral("TurboSORVEX Results Directory"), start);
    if (folder.isEmpty()) return;  // Cancel changes nothing
    grid_->SetValueRange(row, col, folder);
}

namespace {
// The editor: the browse button beside a line edit.
class BrowseEditor : public QWidget {
public:
    BrowseEditor(QWidget* parent, std::function<void()> onBrowse) : QWidget(parent) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(CBitmapButtonEdit::kButtonGap, 0, 0, 0);
        layout->setSpacing(CBitmapButtonEdit::kButtonGap);
        button = new QToolButton(this);
        button->setText(QStringLiteral("…"));
        button->setFixedWidth(CBitmapButtonEdit::kButtonWidth);
        edit = new QLineEdit(this);
        edit->setFrame(false);
        layout->addWidget(button);
        layout->addWidget(edit);
        setFocusProxy(edit);
        QObject::connect(button, &QToolButton::clicked, this, [onBrowse] { onBrowse(); });
    }
    QToolButton* button;
    QLineEdit* edit;
};
}  // namespace

QWidget* CBitmapButtonEdit::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    auto* self = const_cast<CBitmapButtonEdit*>(this);
    auto* editor = new BrowseEditor(parent, [self, row, col] { self->Browse(row, col); });
    editor->setObjectName(QStringLiteral("BrowseEditor"));
    return editor;
}

void CBitmapButtonEdit::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const {
    editor->setGeometry(option.rect);
    if (auto* e = dynamic_cast<BrowseEditor*>(editor)) e->edit->setVisible(!TextArea(option.rect).isEmpty());
}

void CBitmapButtonEdit::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* e = dynamic_cast<BrowseEditor*>(editor)) e->edit->setText(index.data(Qt::EditRole).toString());
}

void CBitmapButtonEdit::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    auto* e = dynamic_cast<BrowseEditor*>(editor);
    if (!e) return;
    grid_->StoreEditedText(index.row() + 1, index.column() + 1, e->edit->text());
}

void CBitmapButtonEdit::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QRect cell = option.rect;
    // The cell's background, then the button, then the text in what is left.
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    QStyleOptionViewItem background = opt;
    background.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, opt.widget);
    QStyleOptionButton button;
    button.rect = ButtonArea(cell, buttonHeight(cell));
    button.text = QStringLiteral("…");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    style->drawControl(QStyle::CE_PushButton, &button, painter, opt.widget);
    const QRect text = TextArea(cell);
    if (text.isEmpty()) return;
    painter->save();
    painter->setClipRect(text);
    painter->drawText(text.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      opt.fontMetrics.elidedText(opt.text, Qt::ElideMiddle, text.width() - 4));
    painter->restore();
}

bool CBitmapButtonEdit::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton &&
            ButtonArea(option.rect, buttonHeight(option.rect)).contains(me->position().toPoint())) {
            Browse(index.row() + 1, index.column() + 1);
            return true;
        }
    }
    return CGXGridDelegate::editorEvent(event, model, option, index);
}

}  // namespace zar
