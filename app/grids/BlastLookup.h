#pragma once
// The BLAST look-up of a peptide in the user's web browser.

#include <QString>
#include <QUrl>

namespace zar {

// The fixed query of every BLAST look-up.
extern const char* const kBlastQuery;

// base?SEQUENCE=peptide&PROGRAM=blastp&..., every part percent-encoded.
QUrl MakeBlastUrl(const QString& base, const QString& peptide);

// Opens the BLAST page of the peptide at the address of the settings; nothing for an empty peptide.
bool BlastPeptide(const QString& peptide);

}  // namespace zar
