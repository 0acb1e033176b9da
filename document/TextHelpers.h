#pragma once
// Small text, path and number helpers shared by the result sets and the views.

#include <QString>

#include <string>

namespace zar {

// x rounded to two decimals, halves away from zero.
double RoundTo001(double x);

// Upper-cases a narrow text in place (ASCII letters only).
void StrUpper(std::string& text);

// The text after the last '\' or '/' (whichever comes later); the whole text without either.
QString GetFileNamePart(const QString& path);

// The text up to its first '.'.
QString StripAtDot(const QString& source);

// The text after the first '.', leading blanks skipped; empty when there is no '.'.
QString GetTextAfterDot(const QString& source);

// Cuts path at its last '\' or '/'; false (path unchanged) when there is none after the first
// character.
bool StripLastPathComponent(QString& path);

// "X.PEPTIDE.Y" gives "PEPTIDE" (letters only, so modification symbols drop out); a text that
// does not have '.' as its second character is returned whole; empty for an empty text.
QString ExtractPeptideSequence(const QString& text);
// The same into `letters`, reusing its storage.
void ExtractPeptideSequenceInto(QStringView text, QString& letters);

}  // namespace zar
