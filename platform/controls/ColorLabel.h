#pragma once
// A static text whose colour the dialog sets (a COLORREF, 0x00BBGGRR).

#include <QLabel>

#include <cstdint>

namespace zar {

class CColorLabel : public QLabel {
    Q_OBJECT
  public:
    explicit CColorLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    explicit CColorLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}
    void SetTextColor(std::uint32_t colorref);
    std::uint32_t TextColor() const { return color_; }

  private:
    std::uint32_t color_ = 0;
};

// A COLORREF as a colour; the palette-relative flag (top byte) is ignored.
QColor ColorFromColorref(std::uint32_t colorref);

}  // namespace zar
