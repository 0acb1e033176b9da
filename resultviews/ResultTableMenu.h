#pragma once
// The context menu of the result tables, which their grids ask for by posting WM_CONTEXTMENU to
// the view: "&Display Options...", a separator, "&Export" > "&Excel" and, where the table
// offers it, "&Sequence (to Clipboard)".

#include <QEvent>

#include <functional>

class QWidget;

namespace zar {

// Whether the event is the grid's request for the menu.
bool IsContextMenuRequest(QEvent* event);

// Shows the menu at the mouse pointer and runs what the user picks.
void ShowResultTableMenu(QWidget* view, const std::function<void()>& displayOptions,
                         const std::function<void()>& exportExcel,
                         const std::function<void()>& exportSequence = {});

}  // namespace zar
