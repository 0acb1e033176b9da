#pragma once
// Command ids of the de novo panes' menus, their status-bar prompts, and the wiring that shows a
// prompt in the main window's status bar while its menu item is highlighted.

#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace zar {

enum DenovoCommand : int {
    ID_DENOVO_MS2_SPECTRUM = 9254,
    ID_DENOVO_MS2_RED = 9255,
    ID_DENOVO_MS2_BLUE = 9256,
    ID_DENOVO_YB_RED = 9257,
    ID_DENOVO_YB_BLUE = 9258,
    ID_DENOVO_YB_RED_PLUS_BLUE = 9259,
    ID_DENOVO_YB_RED_MINUS_BLUE = 9260,
    ID_DENOVO_RAW_SPECTRUM = 9261,
};

// The prompt of a command: the text before its tool tip; empty when it has none.
QString DenovoCommandPrompt(int id);

// Adds a command item with its prompt; its trigger runs run(id).
QAction* AddDenovoCommandItem(QMenu* menu, int id, const QString& text,
                              const std::function<void(int)>& run);

// While the menu is open, the main window's status bar shows the prompt of the highlighted item
// (its first line); once it closes, "Ready".
void ShowMenuPrompts(QMenu* menu);

}  // namespace zar
