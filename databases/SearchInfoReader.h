#pragma once
// The search settings in the header of a hit's ".out" file, as text lines for the
// search-information view.

#include <QString>

namespace zar {

constexpr int kMaxOutHeaderLineLength = 1000;

// A peptide-mapping ".out" header has two lines fewer before its search line.
enum class OutHeaderLayout { PeptideMapping, SearchEngine };

struct SearchInfoText {
    QString search;     // "Search information: %s"
    QString precursor;  // "Precursor mass:  %.3lf +/- %.2lf"
    QString charge;     // "Charge:  %d"
    QString fragment;   // "Fragment tolerance:  %.2lf"
    QString massType;   // "Mass type:  Monoisotopic" / "Mass type:  Average"
    QString database;   // "Database:  %s"
    QString enzyme;     // "Enzyme:  %s"
};

// False when the file cannot be opened.
bool ReadSearchInfoText(const QString& outPath, OutHeaderLayout layout, SearchInfoText& info);

}  // namespace zar
