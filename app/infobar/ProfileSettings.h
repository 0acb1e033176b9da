#pragma once
// The program's profile: small values of the windows (bar sizes and the like) kept per section
// under the program's key of the current user, as the framework's profile keeps them.

#include <QString>

namespace zar {

// The profile's key below the current user's root.
inline constexpr const char* kProfileKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser";

// The stored integer, or the default when the section or the value is missing.
int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
bool WriteProfileInt(const QString& section, const QString& entry, int value);

}  // namespace zar
