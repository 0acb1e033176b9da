#include "ToolArguments.h"

#include "core/Numbers.h"

#include <cstring>

namespace zar {

CToolArguments::CToolArguments(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help") ||
            argument == QLatin1String("-?")) {
            help_ = true;
        } else if (argument.size() >= 2 && argument[0] == QLatin1Char('-') &&
                   argument[1].unicode() < 0x80 && argument[1] != QLatin1Char('-')) {
            items_.push_back({static_cast<char>(argument[1].unicode()), argument.mid(2)});
        } else {
            words_ << argument;
        }
    }
}

const CToolArguments::Item* CToolArguments::last(char flag) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->flag == flag) return &*it;
    return nullptr;
}

bool CToolArguments::has(char flag) const {
    return last(flag) != nullptr;
}

QString CToolArguments::text(char flag) const {
    const Item* item = last(flag);
    return item ? item->value : QString();
}

bool CToolArguments::number(char flag, int& value) {
    const Item* item = last(flag);
    if (!item) return true;
    long long read = 0;
    if (!ParseInt(item->value, read) || read < INT32_MIN || read > INT32_MAX) {
        error_ = QStringLiteral("-%1 needs a whole number, not \"%2\"")
                     .arg(QLatin1Char(flag))
                     .arg(item->value);
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

bool CToolArguments::number(char flag, double& value) {
    const Item* item = last(flag);
    if (!item) return true;
    double read = 0.0;
    if (!ParseDouble(item->value, read)) {
        error_ = QStringLiteral("-%1 needs a number, not \"%2\"")
                     .arg(QLatin1Char(flag))
                     .arg(item->value);
        return false;
    }
    value = read;
    return true;
}

QString CToolArguments::unknownFlags(const char* known) const {
    QStringList unknown;
    for (const Item& item : items_) {
        const QString text = QStringLiteral("-") + QLatin1Char(item.flag);
        if (!std::strchr(known, item.flag) && !unknown.contains(text)) unknown << text;
    }
    return unknown.join(QLatin1Char(' '));
}

}  // namespace zar
