#include "PepmapProgress.h"

#include "core/MessageBox.h"

namespace zar {

void PepmapMessageBoxProgress::showMessage(const QString& text) {
    ZarMessageBox(text);
}

}  // namespace zar
