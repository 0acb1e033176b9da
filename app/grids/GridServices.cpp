#include "GridServices.h"

namespace zar {

GridServices& GetGridServices() {
    static GridServices services;
    return services;
}

void RequestResultsWindow(const SelectedResult& result) {
    if (GetGridServices().showResultsWindow) GetGridServices().showResultsWindow(result);
}

}  // namespace zar
