#include "com/ComTypes.h"

#include <QRegularExpression>

#include <cstdlib>
#include <cstring>

namespace zar {

QString GuidToString(const GUID& g) {
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                             g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                             g.Data4[5], g.Data4[6], g.Data4[7]);
}

bool GuidFromString(const QString& text, GUID& guid) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\{([0-9A-Fa-f]{8})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-(["
                       "0-9A-Fa-f]{12})\\}$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) return false;
    GUID g;
    g.Data1 = m.captured(1).toUInt(nullptr, 16);
    g.Data2 = static_cast<std::uint16_t>(m.captured(2).toUInt(nullptr, 16));
    g.Data3 = static_cast<std::uint16_t>(m.captured(3).toUInt(nullptr, 16));
    const QString tail = m.captured(4) + m.captured(5);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = static_cast<std::uint8_t>(tail.mid(2 * i, 2).toUInt(nullptr, 16));
    guid = g;
    return true;
}

// A BSTR points just past a 32-bit byte count; the text is followed by a null.
BSTR SysAllocStringLen(LPCWSTR text, std::uint32_t length) {
    const std::size_t bytes = sizeof(std::uint32_t) + (std::size_t(length) + 1) * sizeof(char16_t);
    auto* block = static_cast<unsigned char*>(std::malloc(bytes));
    if (!block) return nullptr;
    const std::uint32_t byteCount = length * sizeof(char16_t);
    std::memcpy(block, &byteCount, sizeof byteCount);
    auto* chars = reinterpret_cast<char16_t*>(block + sizeof(std::uint32_t));
    if (text && length)
        std::memcpy(chars, text, length * sizeof(char16_t));
    else if (length)
        std::memset(chars, 0, length * sizeof(char16_t));
    chars[length] = u'\0';
    return chars;
}

BSTR SysAllocString(LPCWSTR text) {
    if (!text) return nullptr;
    std::uint32_t n = 0;
    while (text[n]) ++n;
    return SysAllocStringLen(text, n);
}

BSTR SysAllocQString(const QString& text) {
    return SysAllocStringLen(reinterpret_cast<LPCWSTR>(text.utf16()),
                             static_cast<std::uint32_t>(text.size()));
}

void SysFreeString(BSTR text) {
    if (text) std::free(reinterpret_cast<unsigned char*>(text) - sizeof(std::uint32_t));
}

std::uint32_t SysStringLen(BSTR text) {
    if (!text) return 0;
    std::uint32_t byteCount = 0;
    std::memcpy(&byteCount, reinterpret_cast<unsigned char*>(text) - sizeof(std::uint32_t),
                sizeof byteCount);
    return byteCount / sizeof(char16_t);
}

QString FromWide(LPCWSTR text) {
    return text ? QString::fromUtf16(text) : QString();
}

QString FromBstr(BSTR text) {
    return text ? QString::fromUtf16(text, static_cast<qsizetype>(SysStringLen(text))) : QString();
}

VARIANT VariantLong(std::int32_t value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT VariantDouble(double value) {
    VARIANT v;
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

VARIANT VariantBstr(BSTR value) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
}

VARIANT VariantByRef(VARIANT* value) {
    VARIANT v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = value;
    return v;
}

VARIANT VariantPointer(void* value) {
    VARIANT v;
    v.vt = VT_BYREF | VT_PTR;
    v.byref = value;
    return v;
}

}  // namespace zar
