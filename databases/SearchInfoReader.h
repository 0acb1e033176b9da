#pragma once
// The search settings in the header of a hit's ".out" file, as text lines for the
// search-information view.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zar {

constexpr int kMaxOutHeaderLineLength = 1000;

// Where the lines stand in a header that has no labels to find them by: a peptide-mapping
// ".out" header of that kind has two lines fewer before its search line.
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

// The header is read by its labels (either program's files); false when the file cannot be
// opened.
bool ReadSearchInfoText(const QString& outPath, OutHeaderLayout layout, SearchInfoText& info);
// The same from the bytes of a ".out" file.
void ReadSearchInfoBytes(const QByteArray& bytes, OutHeaderLayout layout, SearchInfoText& info);

// The database names of a ".out" header as written (the searched database, then the second one
// when there is one); empty when the file cannot be read or names none.
QStringList ReadOutDatabaseNames(const QString& outPath);

}  // namespace zar
