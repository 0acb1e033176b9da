#pragma once
// Our search settings in Comet's terms. Comet writes its own parameter template ("comet-ms -p");
// the values we set replace those of the template's lines (their comments kept), and the
// enzyme section becomes "no enzyme" and the enzyme of the search.

#include "tools/common/SearchParamsFile.h"

#include <QString>

namespace zar {

// Fragment bin width Comet uses for a fragment tolerance of 0 (low-resolution spectra).
constexpr double kCometDefaultFragmentBin = 1.0005;

// The fragment bin width that a search's fragment tolerance gives.
double CometFragmentBin(const SearchParamsFile& params);

// Differential modification slots Comet offers.
constexpr int kCometVariableMods = 9;

// The template with our values put in. Keys the template lacks are added before the enzyme
// section.
QString CometParamsText(const QString& templateText, const SearchParamsFile& params);

}  // namespace zar
