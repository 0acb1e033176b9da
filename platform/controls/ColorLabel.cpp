#include "ColorLabel.h"

#include <QPalette>

namespace zar {

QColor ColorFromColorref(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

void CColorLabel::SetTextColor(std::uint32_t colorref) {
    color_ = colorref;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColorFromColorref(colorref));
    setPalette(p);
    update();
}

}  // namespace zar
