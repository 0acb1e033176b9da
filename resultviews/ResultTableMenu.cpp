#include "ResultTableMenu.h"

#include "grid/GridWnd.h"
#include "messages/Messages.h"

#include <QCursor>
#include <QMenu>

namespace zar {

bool IsContextMenuRequest(QEvent* event) {
    return event->type() == MessageEvent::eventType() &&
           static_cast<MessageEvent*>(event)->message() == WM_CONTEXTMENU;
}

void ShowResultTableMenu(QWidget* view, const std::function<void()>& displayOptions,
                         const std::function<void()>& exportExcel,
                         const std::function<void()>& exportSequence) {
    QMenu menu(view);
    menu.addAction(QStringLiteral("&Display Options..."), view, displayOptions);
    menu.addSeparator();
    QMenu* exportMenu = menu.addMenu(QStringLiteral("&Export"));
    exportMenu->addAction(QStringLiteral("&Excel"), view, exportExcel);
    if (exportSequence)
        exportMenu->addAction(QStringLiteral("&Sequence (to Clipboard)"), view, exportSequence);
    menu.exec(QCursor::pos());
}

}  // namespace zar
