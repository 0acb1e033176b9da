#include "NumericEditCtrl.h"

#include "core/Numbers.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <cmath>

namespace zar {

namespace {

// "-", "1.", ".5", "12.25": the shapes a number takes while it is typed. A point only where the
// field takes fractions.
bool LooksNumeric(const QString& text, int decimals) {
    static const QRegularExpression shape(QStringLiteral("^-?[0-9]*(\\.[0-9]*)?$"));
    if (!shape.match(text).hasMatch()) return false;
    return decimals > 0 || !text.contains(QLatin1Char('.'));
}

bool ParseNumber(const QString& text, double& value) {
    return ParseDouble(text.trimmed(), value);
}

}  // namespace

// Typing is held to the characters of a number. A number outside the limits (or a sign the
// limits do not allow) is kept as typed, so that the check on the way in names the limits:
// refusing the keystroke would silently leave another number in the field ("20" as "2").
QValidator::State CNumberValidator::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (!LooksNumeric(text, decimals_)) return Invalid;
    double value = 0.0;
    if (!ParseNumber(text, value)) return Intermediate;
    return value >= lower_ && value <= upper_ ? Acceptable : Intermediate;
}

QString NumberRangeMessage(double lower, double upper) {
    return QStringLiteral("Please enter a number between %1 and %2.")
        .arg(QCFormat("%g", lower), QCFormat("%g", upper));
}

QString RangeMessage(double lower, double upper) {
    return QStringLiteral("Please enter a range as two numbers first-last between %1 and %2, the "
                          "first not above the last.")
        .arg(QCFormat("%g", lower), QCFormat("%g", upper));
}

CDoubleEditCtrl::CDoubleEditCtrl(QWidget* parent)
    : QLineEdit(parent), validator_(new CNumberValidator(lower_, upper_, decimals_, this)) {
    setValidator(validator_);
}

void CDoubleEditCtrl::Initialize(double value, double lower, double upper, unsigned width,
                                 unsigned decimals, int, unsigned) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    decimals_ = static_cast<int>(decimals);
    validator_->setLimits(lower_, upper_, decimals_);
    if (width > 0) setMaxLength(static_cast<int>(width) + 2);
    SetValue(value);
}

void CDoubleEditCtrl::SetValue(double value) {
    setText(QCFormat("%.*f", decimals_, value));
}

bool CDoubleEditCtrl::GetValue(double& value) const {
    double v = 0.0;
    if (!ParseNumber(text(), v) || !std::isfinite(v) || v < lower_ || v > upper_) return false;
    value = v;
    return true;
}

CIntEditCtrl::CIntEditCtrl(QWidget* parent)
    : QLineEdit(parent), validator_(new CNumberValidator(lower_, upper_, 0, this)) {
    setValidator(validator_);
}

void CIntEditCtrl::Initialize(int value, int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    validator_->setLimits(lower_, upper_, 0);
    SetValue(value);
}

void CIntEditCtrl::SetValue(int value) {
    setText(QString::number(value));
}

bool CIntEditCtrl::GetValue(int& value) const {
    long long v = 0;
    if (!ParseInt(text().trimmed(), v) || v < lower_ || v > upper_) return false;
    value = static_cast<int>(v);
    return true;
}

CDoubleRangeEditCtrl::CDoubleRangeEditCtrl(QWidget* parent) : QLineEdit(parent) {}

void CDoubleRangeEditCtrl::Initialize(double low, double high, double lower, double upper,
                                      unsigned decimals) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    decimals_ = static_cast<int>(decimals);
    SetRange(low, high);
}

void CDoubleRangeEditCtrl::SetRange(double low, double high) {
    setText(QCFormat("%.*f-%.*f", decimals_, low, decimals_, high));
}

bool CDoubleRangeEditCtrl::GetRange(double& low, double& high) const {
    const QString t = text().trimmed();
    // The separating '-' is the first one after the first character (the low end may be
    // negative).
    const qsizetype dash = t.indexOf(QLatin1Char('-'), 1);
    if (dash < 0) return false;
    double a = 0.0;
    double b = 0.0;
    if (!ParseNumber(t.left(dash), a) || !ParseNumber(t.mid(dash + 1), b)) return false;
    if (a < lower_ || a > upper_ || b < lower_ || b > upper_ || a > b) return false;
    low = a;
    high = b;
    return true;
}

void CDoubleRangeEditCtrl::SetLimits(double lower, double upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
}

CIntRangeEditCtrl::CIntRangeEditCtrl(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^ *[0-9]* *(- *[0-9]* *)?$")), this));
}

void CIntRangeEditCtrl::Initialize(int first, int last, int lower, int upper) {
    SetLimits(lower, upper);
    SetRange(first, last);
}

void CIntRangeEditCtrl::SetLimits(int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
}

void CIntRangeEditCtrl::SetRange(int first, int last) {
    setText(QStringLiteral("%1-%2").arg(first).arg(last));
}

bool CIntRangeEditCtrl::GetRange(int& first, int& last) const {
    const QString t = text().trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'));
    if (dash < 0) return false;
    long long a = 0;
    long long b = 0;
    if (!ParseInt(t.left(dash).trimmed(), a) || !ParseInt(t.mid(dash + 1).trimmed(), b))
        return false;
    if (a < lower_ || a > upper_ || b < lower_ || b > upper_ || a > b) return false;
    first = static_cast<int>(a);
    last = static_cast<int>(b);
    return true;
}

}  // namespace zar
