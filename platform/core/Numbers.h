#pragma once
// Numbers in files, parameters, clipboard text and settings always use the "C" format (a
// decimal point, no grouping), whatever the user's locale says.

#include <QString>

#include <string>
#include <string_view>

namespace zar {

// printf-style formatting in the "C" locale. The format is the program's own, never the user's.
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
QString QCFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Shortest text that reads back as the same double ("%.17g" trimmed).
std::string DoubleToText(double value);

// Parses a whole text as a number (surrounding blanks allowed); false when it is not one.
bool ParseDouble(std::string_view text, double& value);
bool ParseDouble(const QString& text, double& value);
bool ParseInt(std::string_view text, long long& value, int base = 10);
bool ParseInt(const QString& text, long long& value, int base = 10);

// atof/atoi/strtol semantics in the "C" locale: the leading number of a text, 0 when none.
// base 0 detects "0x" hexadecimal and a leading-0 octal like strtol.
double LeadingDouble(std::string_view text, std::size_t* used = nullptr);
long long LeadingInt(std::string_view text, int base = 10, std::size_t* used = nullptr);
double LeadingDouble(const QString& text);
long long LeadingInt(const QString& text, int base = 10);

// A number read from a file taken as a whole number ("%d" of a value scanned as a double): its
// whole part when it is finite and fits an int; false (result untouched) otherwise, since the
// conversion of anything else is undefined.
bool WholeIntOf(double value, int& result);

// Sets the process's numeric locale to "C" (called once at start-up, after Qt set the user's).
void UseCNumericLocale();

}  // namespace zar
