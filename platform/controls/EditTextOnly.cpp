#include "EditTextOnly.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace zar {

CEditTextOnly::CEditTextOnly(QWidget* parent) : QLineEdit(parent) {
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[A-Za-z]*$")), this));
}

}  // namespace zar
