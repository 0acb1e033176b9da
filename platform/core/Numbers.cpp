#include "core/Numbers.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace zar {
namespace {

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches this thread to the "C" locale for the life of the object.
class ScopedCLocale {
public:
    ScopedCLocale() : previous_(uselocale(cLocale())) {}
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

std::string vformat(const char* format, va_list args) {
    ScopedCLocale c;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string CFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = vformat(format, args);
    va_end(args);
    return out;
}

QString QCFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = vformat(format, args);
    va_end(args);
    return QString::fromStdString(out);
}

std::string DoubleToText(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return CFormat("%.17g", value);
    return std::string(buf, end);
}

bool ParseDouble(std::string_view text, double& value) {
    text = trimmed(text);
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    value = v;
    return true;
}

bool ParseDouble(const QString& text, double& value) {
    return ParseDouble(std::string_view(text.toLatin1().constData()), value);
}

bool ParseInt(std::string_view text, long long& value, int base) {
    text = trimmed(text);
    if (text.empty()) return false;
    std::size_t used = 0;
    const long long v = LeadingInt(text, base, &used);
    if (used != text.size() || used == 0) return false;
    value = v;
    return true;
}

bool ParseInt(const QString& text, long long& value, int base) {
    const QByteArray bytes = text.toLatin1();
    return ParseInt(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), value, base);
}

double LeadingDouble(std::string_view text, std::size_t* used) {
    const std::string copy(text);  // strtod needs a terminated string
    char* end = nullptr;
    const double v = strtod_l(copy.c_str(), &end, cLocale());
    if (used) *used = static_cast<std::size_t>(end - copy.c_str());
    return v;
}

long long LeadingInt(std::string_view text, int base, std::size_t* used) {
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const long long v = strtoll_l(copy.c_str(), &end, base, cLocale());
    if (used) *used = static_cast<std::size_t>(end - copy.c_str());
    return v;
}

double LeadingDouble(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return LeadingDouble(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

long long LeadingInt(const QString& text, int base) {
    const QByteArray bytes = text.toLatin1();
    return LeadingInt(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), base);
}

bool WholeIntOf(double value, int& result) {
    // Strictly between INT_MIN - 1 and INT_MAX + 1: truncation toward zero then fits.
    if (!(value > static_cast<double>(INT_MIN) - 1.0 && value < static_cast<double>(INT_MAX) + 1.0))
        return false;
    result = static_cast<int>(value);
    return true;
}

void UseCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace zar
