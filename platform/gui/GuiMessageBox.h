#pragma once
// Shows the program's message boxes as windows. Installed once by the program at start-up.

namespace zar {

// Routes ZarMessageBox to a modal QMessageBox on the user-interface thread; a call from a
// worker thread waits there for the user's answer. Each box is owned by the window the user
// works in (the active one, else the one last active) and raised in front of it.
void InstallGuiMessageBox();

}  // namespace zar
