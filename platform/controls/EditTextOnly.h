#pragma once
// An edit that takes letters only: one-letter residue codes of a sequence. Anything else typed
// or pasted is refused.

#include <QLineEdit>

namespace zar {

class CEditTextOnly : public QLineEdit {
    Q_OBJECT
  public:
    explicit CEditTextOnly(QWidget* parent = nullptr);
};

}  // namespace zar
