#pragma once
// What the grids of the program reach outside themselves: the results window and the main
// window. The program connects these at start-up; tests connect recorders.

#include "document/SelectedResult.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace zar {

struct GridServices {
    // Shows the results window for a result (the document's ShowResultsWindow).
    std::function<void(const SelectedResult&)> showResultsWindow;
    // The main window, target of the grids' posted messages.
    QPointer<QObject> mainWindow;
};

GridServices& GetGridServices();

// Asks for the results window; nothing happens when nobody is connected.
void RequestResultsWindow(const SelectedResult& result);

}  // namespace zar
